#pragma once
// The login-records window: the users, the logins of the selected user with their
// count, and the change histories of a user, of a login date or of everybody.

#include "database/login_records.h"
#include "database/user_admin.h"

#include <QDialog>
#include <QVector>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTimer;

namespace orvek {

class TDBNavigator;
class TVxDBGrid;

class TfEvidenciaPrihlasovania : public QDialog {
    Q_OBJECT
public:
    explicit TfEvidenciaPrihlasovania(QWidget* parent = nullptr);

    QGroupBox* GroupBox_Users = nullptr;
    QGroupBox* GroupBox_LogIns = nullptr;
    TVxDBGrid* DBGrid1 = nullptr;
    TVxDBGrid* VxDBGrid_LogIns = nullptr;
    QLabel* Panel_LogIn = nullptr;
    QLabel* Panel_LogOut = nullptr;
    QLabel* Label_Count = nullptr;
    QLineEdit* IntegerEdit_PocetPristupov = nullptr;
    TDBNavigator* DBNavigator1 = nullptr;
    TDBNavigator* DBNavigator2 = nullptr;
    QPushButton* Button_ZobrazitZmeny = nullptr;
    QPushButton* Button_Close = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* menuVybranyUzivatel = nullptr;
    QMenu* menuVsetciUzivatelia = nullptr;
    QAction* menuVsetkyZmeny = nullptr;
    QAction* Vovybranomdtumeprstupu1 = nullptr;
    QAction* menuVsetkyZmeny2 = nullptr;
    QAction* Zmenyvovybranomdtumeprstupu1 = nullptr;
    QTimer* Timer1 = nullptr;

    // The users and the selected user's logins, in grid order.
    QVector<TUserRow> Users;
    QVector<TLoginRecord> LogIns;

    int SelectedUserID() const;
    // The stored date of the selected login; empty without one.
    QString SelectedLoginDate() const;
    // Shows the logins of the selected user and their count.
    void ShowLogInsOfSelectedUser();

    void FormCreate();
    void FormActivate();
    void FormClose();
    void Timer1Timer();
    void menuVsetkyZmenyClick();
    void Vovybranomdtumeprstupu1Click();
    void menuVsetkyZmeny2Click();
    void Zmenyvovybranomdtumeprstupu1Click();
    void Button_ZobrazitZmenyClick() { Vovybranomdtumeprstupu1Click(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OpenHistory(THistoryScope scope);
    QStandardItemModel* users_ = nullptr;
    QStandardItemModel* logIns_ = nullptr;
    int shownCount_ = -1;
};

} // namespace orvek
