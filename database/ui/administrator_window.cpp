#include "database/ui/administrator_window.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/data_module.h"
#include "database/login_records.h"
#include "database/ui/info_user_dialog.h"
#include "database/ui/user_grid_delegate.h"
#include "database/ui/vx_db_grid.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_render.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSqlDatabase>
#include <QStandardItemModel>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

QSqlDatabase UsersDatabase()
{
    return DataModule1 ? DataModule1->SessionOrvek().Database(AliasDB, false) : QSqlDatabase();
}

QPushButton* NamedButton(const char* name, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TfAdministrator::TfAdministrator(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fAdministrator"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    DBGrid1 = new TVxDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    model_ = new QStandardItemModel(0, 3, this);
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setVisible(false);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setItemDelegate(new TUserGridDelegate(
        [this](int row, bool selected) {
            if (row < 0 || row >= Users.size())
                return UserGridStyle(3, 1, selected);
            return UserGridStyle(Users[row].Rights, Users[row].Active, selected);
        },
        DBGrid1));
    DBGrid1->setMinimumSize(460, 300);

    Button_Novy = NamedButton("Button_Novy", this);
    Button_Zmenit = NamedButton("Button_Zmenit", this);
    Button_Vymazat = NamedButton("Button_Vymazat", this);
    Button_Diagramy = NamedButton("Button_Diagramy", this);
    Button_Historia = NamedButton("Button_Historia", this);
    Button_CopyList = NamedButton("Button_CopyList", this);
    Button_OK = NamedButton("Button_OK", this);
    Button_OK->setText(QStringLiteral("OK"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button :
        { Button_Novy, Button_Zmenit, Button_Vymazat, Button_Diagramy, Button_Historia, Button_CopyList })
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(Button_OK);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfAdministrator::Timer1Timer);
    connect(Button_Novy, &QPushButton::clicked, this, &TfAdministrator::Button_NovyClick);
    connect(Button_Zmenit, &QPushButton::clicked, this, &TfAdministrator::Button_ZmenitClick);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TfAdministrator::Button_ZmenitClick);
    connect(Button_Vymazat, &QPushButton::clicked, this, &TfAdministrator::Button_VymazatClick);
    connect(Button_Diagramy, &QPushButton::clicked, this, &TfAdministrator::Button_DiagramyClick);
    connect(Button_Historia, &QPushButton::clicked, this, &TfAdministrator::Button_HistoriaClick);
    connect(Button_CopyList, &QPushButton::clicked, this, &TfAdministrator::Button_CopyListClick);
    connect(Button_OK, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 420);
}

TfAdministrator::~TfAdministrator() = default;

TfInfoUser& TfAdministrator::Dialog()
{
    if (fInfoUser)
        return *fInfoUser;
    if (!ownDialog_)
        ownDialog_ = new TfInfoUser(this);
    return *ownDialog_;
}

void TfAdministrator::FillGroupCombos()
{
    Dialog().FillGroups(0);
    // The records of one user are offered to main administrators only: the others see
    // every record of their group anyway.
    Button_Diagramy->setVisible(CurrentUserRights == 1);
    RefreshUserList();
}

void TfAdministrator::RefreshUserList(int selectID)
{
    QVariantList values;
    const QString sql = UserListStatement(CurrentUserRights, CurrentGroupID, values);
    QSqlDatabase db = UsersDatabase();
    Users = db.isOpen() ? ReadUsers(db, sql, values) : QVector<TUserRow>();
    model_->removeRows(0, model_->rowCount());
    int current = 0;
    for (int i = 0; i < Users.size(); ++i) {
        const TUserRow& user = Users[i];
        QString group;
        if (user.Rights == 2)
            GetGroupName(user.Group, group);
        model_->appendRow(
            { new QStandardItem(group), new QStandardItem(user.LastName), new QStandardItem(user.FirstName) });
        if (user.ID == selectID)
            current = i;
    }
    if (!Users.isEmpty())
        DBGrid1->selectRow(current);
    Timer1Timer();
}

const TUserRow* TfAdministrator::CurrentUser() const
{
    const QModelIndex index = DBGrid1->currentIndex();
    return index.isValid() && index.row() < Users.size() ? &Users[index.row()] : nullptr;
}

void TfAdministrator::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfAdministrator::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfAdministrator::FormActivate()
{
    setWindowTitle(GetString(535));
    Button_Vymazat->setText(GetString(526));
    Button_Vymazat->setToolTip(GetString(527));
    Button_Zmenit->setText(GetString(528));
    Button_Zmenit->setToolTip(GetString(529));
    Button_Novy->setText(GetString(530));
    Button_Novy->setToolTip(GetString(531));
    Button_Diagramy->setText(GetString(345));
    Button_Diagramy->setToolTip(GetString(532));
    Button_Historia->setText(GetString(533));
    Button_Historia->setToolTip(GetString(534));
    Button_CopyList->setText(GetString(370));
    Button_CopyList->setToolTip(GetString(1128));
    model_->setHorizontalHeaderLabels({ GetString(1120), GetString(537), GetString(538) });
    FitColumnsToTitles(*DBGrid1);
    Timer1Timer();
    Timer1->start();
}

void TfAdministrator::Timer1Timer()
{
    const TUserRow* user = CurrentUser();
    auto allowed = [&](TUserAction action) {
        return user && UserActionRefusal(*user, action, CurrentUserID, CurrentUserRights, CurrentGroupID) == 0;
    };
    Button_Vymazat->setEnabled(allowed(TUserAction::Delete));
    Button_Zmenit->setEnabled(allowed(TUserAction::Change));
    Button_Diagramy->setEnabled(user != nullptr);
    Button_Historia->setEnabled(user != nullptr);
    Button_CopyList->setEnabled(!Users.isEmpty());
}

bool TfAdministrator::Refused(TUserAction action)
{
    const TUserRow* user = CurrentUser();
    if (!user)
        return true;
    const int refusal = UserActionRefusal(*user, action, CurrentUserID, CurrentUserRights, CurrentGroupID);
    if (refusal == 0)
        return false;
    MessageDlg(GetString(refusal), TMsgDlgType::mtWarning, mbOK);
    return true;
}

void TfAdministrator::Button_NovyClick()
{
    if (CurrentUserRights != 1 && CurrentUserRights != 2)
        return;
    TfInfoUser& dialog = Dialog();
    dialog.NewUser = true;
    dialog.ClearFields();
    dialog.setWindowTitle(GetString(482));
    dialog.Edit_UserRights->setText(UserRightName(3));
    int group = CurrentUserRights == 2 ? CurrentGroupID : 0;
    if (group == 0) {
        const TUserRow* user = CurrentUser();
        group = user && user->Group > 0 ? user->Group : (GroupCount > 0 ? GroupList.at(0).ID : 0);
    }
    dialog.FillGroups(group);
    dialog.ShowGroupCombo(CurrentUserRights == 1);
    while (dialog.exec() == QDialog::Accepted) {
        const TUserDialogInput input = dialog.Input();
        QSqlDatabase db = UsersDatabase();
        if (LoginNameUsedByOther(db, input.UserName, 0)) {
            if (MessageDlg(GetString(481), TMsgDlgType::mtConfirmation, mbYesNo) == mrYes)
                continue;
            break;
        }
        QString error;
        const int id = AddUser(db, input, CurrentUserRights == 2 ? CurrentGroupID : dialog.ChosenGroupID(),
            dialog.CheckBox_DocasneZrusit->isChecked(), &error);
        if (id == 0) {
            MessageDlg(GetString(22006, { error }), TMsgDlgType::mtError, mbOK);
            continue;
        }
        RefreshUserList(id);
        break;
    }
    dialog.Edit_Password->clear();
}

void TfAdministrator::Button_ZmenitClick()
{
    if (Refused(TUserAction::Change))
        return;
    const TUserRow user = *CurrentUser();
    TfInfoUser& dialog = Dialog();
    dialog.NewUser = false;
    dialog.ClearFields();
    dialog.setWindowTitle(GetString(560));
    dialog.Edit_UserName->setText(user.UserName);
    dialog.Edit_FirstName->setText(user.FirstName);
    dialog.Edit_LastName->setText(user.LastName);
    dialog.Edit_UserID->setText(user.NumberID);
    dialog.Edit_UserRights->setText(UserRightName(user.Rights));
    if (CurrentUserRights == 1) {
        if (user.Rights == 1) {
            dialog.ShowGroupText(GetString(1119));
        } else {
            dialog.FillGroups(user.Group);
            dialog.ShowGroupCombo(user.Rights == 3);
        }
    } else {
        QString group;
        GetGroupName(user.Group, group);
        dialog.ShowGroupText(group);
    }
    const bool keepActive
        = UserActionRefusal(user, TUserAction::Deactivate, CurrentUserID, CurrentUserRights, CurrentGroupID) != 0;
    dialog.CheckBox_DocasneZrusit->setChecked(!keepActive && user.Active == 0);
    dialog.CheckBox_DocasneZrusit->setEnabled(!keepActive);
    while (dialog.exec() == QDialog::Accepted) {
        const TUserDialogInput input = dialog.Input();
        QSqlDatabase db = UsersDatabase();
        if (input.UserName != user.UserName && LoginNameUsedByOther(db, input.UserName, user.ID)) {
            if (MessageDlg(GetString(481), TMsgDlgType::mtConfirmation, mbYesNo) == mrYes)
                continue;
            break;
        }
        // The group changes only for users of a group, and only where the combo offered it.
        const int group = user.Group > 0 && CurrentUserRights == 1 && user.Rights == 3 ? dialog.ChosenGroupID() : -1;
        QString error;
        if (!UpdateUser(db, user.ID, input, group, dialog.CheckBox_DocasneZrusit->isChecked(), user.ID == CurrentUserID,
                &error)) {
            MessageDlg(GetString(22006, { error }), TMsgDlgType::mtError, mbOK);
            continue;
        }
        RefreshUserList(user.ID);
        break;
    }
    dialog.Edit_Password->clear();
}

void TfAdministrator::Button_VymazatClick()
{
    if (Refused(TUserAction::Delete))
        return;
    const TUserRow user = *CurrentUser();
    QSqlDatabase db = UsersDatabase();
    const int items = CountUserItems(db, user.ID);
    QString error;
    if (items > 0) {
        if (MessageDlg(GetString(479, { items, QStringLiteral("\n\n") }), TMsgDlgType::mtConfirmation, mbYesNo)
            != mrYes)
            return;
        if (!DeactivateUser(db, user.ID, &error))
            MessageDlg(GetString(22006, { error }), TMsgDlgType::mtError, mbOK);
        RefreshUserList(user.ID);
        return;
    }
    if (MessageDlg(GetString(480), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes)
        return;
    if (!DeleteUser(db, user.ID, &error))
        MessageDlg(GetString(22006, { error }), TMsgDlgType::mtError, mbOK);
    RefreshUserList();
}

void TfAdministrator::Button_DiagramyClick()
{
    const TUserRow* user = CurrentUser();
    if (!user)
        return;
    ChosenUserID = user->ID;
    accept();
}

void TfAdministrator::Button_HistoriaClick()
{
    const TUserRow* user = CurrentUser();
    if (!user)
        return;
    QVariantList values;
    const QString sql = HistoryStatement(THistoryScope::UserAll, user->ID, QString(), values);
    ShowHistory(sql, values, user->ID);
}

void TfAdministrator::Button_CopyListClick()
{
    QTextDocument document;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, false, &document, UserListMarkup(Users, Today()));
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), WriteRtf(&document));
    data->setText(document.toPlainText());
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace orvek
