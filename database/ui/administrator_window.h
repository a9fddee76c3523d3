#pragma once
// The users window: the users of the administrator's reach, coloured by rights and
// active state, and the commands new, change, delete (deactivate for a user with
// records), records, history and copy of the list.

#include "database/user_admin.h"

#include <QDialog>
#include <QVector>

class QPushButton;
class QStandardItemModel;
class QTimer;

namespace orvek {

class TVxDBGrid;
class TfInfoUser;

class TfAdministrator : public QDialog {
    Q_OBJECT
public:
    explicit TfAdministrator(QWidget* parent = nullptr);
    ~TfAdministrator() override;

    TVxDBGrid* DBGrid1 = nullptr;
    QPushButton* Button_Novy = nullptr;
    QPushButton* Button_Zmenit = nullptr;
    QPushButton* Button_Vymazat = nullptr;
    QPushButton* Button_Diagramy = nullptr;
    QPushButton* Button_Historia = nullptr;
    QPushButton* Button_CopyList = nullptr;
    QPushButton* Button_OK = nullptr;
    QTimer* Timer1 = nullptr;

    // The rows of the list, in grid order.
    QVector<TUserRow> Users;
    // The user whose records the main window is to show: set when the window closes
    // through the Records button, 0 otherwise.
    int ChosenUserID = 0;

    // Fills the dialog's group list and the users list; call before showing.
    void FillGroupCombos();
    // Reads the list again and makes the user SelectID current (the first row when
    // absent).
    void RefreshUserList(int selectID = 0);
    // The current row's user, or null.
    const TUserRow* CurrentUser() const;

    void FormActivate();
    void Timer1Timer();
    void Button_NovyClick();
    void Button_ZmenitClick();
    void Button_VymazatClick();
    void Button_DiagramyClick();
    void Button_HistoriaClick();
    void Button_CopyListClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TfInfoUser& Dialog();
    // Shows a refusal of Action on the current user; True when it was refused.
    bool Refused(TUserAction action);
    QStandardItemModel* model_ = nullptr;
    TfInfoUser* ownDialog_ = nullptr;
};

} // namespace orvek
