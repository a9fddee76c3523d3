#include "database/ui/login_records_window.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/data_module.h"
#include "database/ui/db_navigator.h"
#include "database/ui/user_grid_delegate.h"
#include "database/ui/vx_db_grid.h"
#include "platform/db_session.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

QSqlDatabase RecordsDatabase()
{
    return DataModule1 ? DataModule1->SessionOrvek().Database(AliasDB, false) : QSqlDatabase();
}

TVxDBGrid* ReadOnlyGrid(const char* name, QStandardItemModel* model, QWidget* parent)
{
    auto* grid = new TVxDBGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    return grid;
}

} // namespace

TfEvidenciaPrihlasovania::TfEvidenciaPrihlasovania(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fEvidenciaPrihlasovania"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    users_ = new QStandardItemModel(0, 2, this);
    logIns_ = new QStandardItemModel(0, 4, this);

    GroupBox_Users = new QGroupBox(this);
    DBGrid1 = ReadOnlyGrid("DBGrid1", users_, GroupBox_Users);
    DBGrid1->setItemDelegate(new TUserGridDelegate(
        [this](int row, bool selected) {
            return LoginUserGridStyle(row >= 0 && row < Users.size() ? Users[row].Active : 1, selected);
        },
        DBGrid1));
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBNavigator1 = new TDBNavigator(GroupBox_Users);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->SetView(DBGrid1);
    auto* usersLayout = new QVBoxLayout(GroupBox_Users);
    usersLayout->addWidget(DBGrid1);
    usersLayout->addWidget(DBNavigator1);

    GroupBox_LogIns = new QGroupBox(this);
    Panel_LogIn = new QLabel(GroupBox_LogIns);
    Panel_LogOut = new QLabel(GroupBox_LogIns);
    for (QLabel* panel : { Panel_LogIn, Panel_LogOut }) {
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
    }
    Panel_LogIn->setObjectName(QStringLiteral("Panel_LogIn"));
    Panel_LogOut->setObjectName(QStringLiteral("Panel_LogOut"));
    VxDBGrid_LogIns = ReadOnlyGrid("VxDBGrid_LogIns", logIns_, GroupBox_LogIns);
    DBNavigator2 = new TDBNavigator(GroupBox_LogIns);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    DBNavigator2->SetView(VxDBGrid_LogIns);
    Label_Count = new QLabel(GroupBox_LogIns);
    IntegerEdit_PocetPristupov = new QLineEdit(GroupBox_LogIns);
    IntegerEdit_PocetPristupov->setObjectName(QStringLiteral("IntegerEdit_PocetPristupov"));
    IntegerEdit_PocetPristupov->setReadOnly(true);
    IntegerEdit_PocetPristupov->setAlignment(Qt::AlignRight);
    IntegerEdit_PocetPristupov->setMaximumWidth(90);
    auto* panels = new QHBoxLayout;
    panels->setSpacing(0);
    panels->addWidget(Panel_LogIn);
    panels->addWidget(Panel_LogOut);
    panels->addStretch();
    auto* count = new QHBoxLayout;
    count->addWidget(DBNavigator2);
    count->addStretch();
    count->addWidget(Label_Count);
    count->addWidget(IntegerEdit_PocetPristupov);
    auto* logInsLayout = new QVBoxLayout(GroupBox_LogIns);
    logInsLayout->setSpacing(0);
    logInsLayout->addLayout(panels);
    logInsLayout->addWidget(VxDBGrid_LogIns);
    logInsLayout->addLayout(count);

    Button_ZobrazitZmeny = new QPushButton(this);
    Button_ZobrazitZmeny->setObjectName(QStringLiteral("Button_ZobrazitZmeny"));
    Button_Close = new QPushButton(this);
    Button_Close->setObjectName(QStringLiteral("Button_Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button_ZobrazitZmeny);
    buttons->addStretch();
    buttons->addWidget(Button_Close);
    auto* grids = new QHBoxLayout;
    grids->addWidget(GroupBox_Users, 2);
    grids->addWidget(GroupBox_LogIns, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    menuVybranyUzivatel = PopupMenu1->addMenu(QString());
    menuVsetkyZmeny = menuVybranyUzivatel->addAction(QString());
    menuVsetkyZmeny->setObjectName(QStringLiteral("menuVsetkyZmeny"));
    Vovybranomdtumeprstupu1 = menuVybranyUzivatel->addAction(QString());
    Vovybranomdtumeprstupu1->setObjectName(QStringLiteral("Vovybranomdtumeprstupu1"));
    menuVsetciUzivatelia = PopupMenu1->addMenu(QString());
    menuVsetkyZmeny2 = menuVsetciUzivatelia->addAction(QString());
    menuVsetkyZmeny2->setObjectName(QStringLiteral("menuVsetkyZmeny2"));
    Zmenyvovybranomdtumeprstupu1 = menuVsetciUzivatelia->addAction(QString());
    Zmenyvovybranomdtumeprstupu1->setObjectName(QStringLiteral("Zmenyvovybranomdtumeprstupu1"));
    connect(menuVsetkyZmeny, &QAction::triggered, this, &TfEvidenciaPrihlasovania::menuVsetkyZmenyClick);
    connect(
        Vovybranomdtumeprstupu1, &QAction::triggered, this, &TfEvidenciaPrihlasovania::Vovybranomdtumeprstupu1Click);
    connect(menuVsetkyZmeny2, &QAction::triggered, this, &TfEvidenciaPrihlasovania::menuVsetkyZmeny2Click);
    connect(Zmenyvovybranomdtumeprstupu1, &QAction::triggered, this,
        &TfEvidenciaPrihlasovania::Zmenyvovybranomdtumeprstupu1Click);
    for (TVxDBGrid* grid : { DBGrid1, VxDBGrid_LogIns })
        connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& at) { PopupMenu1->popup(grid->viewport()->mapToGlobal(at)); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &TfEvidenciaPrihlasovania::ShowLogInsOfSelectedUser);
    connect(Button_ZobrazitZmeny, &QPushButton::clicked, this, &TfEvidenciaPrihlasovania::Button_ZobrazitZmenyClick);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::accept);

    Timer1 = new QTimer(this);
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &TfEvidenciaPrihlasovania::Timer1Timer);
    FormCreate();
    resize(760, 460);
}

void TfEvidenciaPrihlasovania::FormCreate()
{
    Timer1->stop();
}

void TfEvidenciaPrihlasovania::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfEvidenciaPrihlasovania::hideEvent(QHideEvent* event)
{
    FormClose();
    QDialog::hideEvent(event);
}

void TfEvidenciaPrihlasovania::FormActivate()
{
    setWindowTitle(GetString(524));
    GroupBox_Users->setTitle(GetString(523));
    GroupBox_LogIns->setTitle(GetString(546));
    Panel_LogIn->setText(GetString(547));
    Panel_LogOut->setText(GetString(548));
    Button_ZobrazitZmeny->setText(GetString(549));
    Label_Count->setText(GetString(550));
    Button_Close->setText(GetString(551));
    menuVybranyUzivatel->setTitle(GetString(552));
    menuVsetkyZmeny->setText(GetString(553));
    Vovybranomdtumeprstupu1->setText(GetString(554));
    menuVsetciUzivatelia->setTitle(GetString(555));
    menuVsetkyZmeny2->setText(GetString(553));
    Zmenyvovybranomdtumeprstupu1->setText(GetString(554));
    users_->setHorizontalHeaderLabels({ GetString(537), GetString(538) });
    logIns_->setHorizontalHeaderLabels({ GetString(332), GetString(545), GetString(332), GetString(545) });
    FitColumnsToTitles(*DBGrid1);
    FitColumnsToTitles(*VxDBGrid_LogIns);
    DBNavigator1->ApplyHints();
    DBNavigator2->ApplyHints();

    // The users in key order, as the users table holds them.
    QSqlDatabase db = RecordsDatabase();
    Users = db.isOpen() ? ReadUsers(db, QStringLiteral("SELECT * FROM Administration ORDER BY ID"), {})
                        : QVector<TUserRow>();
    users_->removeRows(0, users_->rowCount());
    for (const TUserRow& user : Users)
        users_->appendRow({ new QStandardItem(user.LastName), new QStandardItem(user.FirstName) });
    if (!Users.isEmpty())
        DBGrid1->selectRow(0);
    ShowLogInsOfSelectedUser();
    Timer1Timer();
    Timer1->start();
}

void TfEvidenciaPrihlasovania::FormClose()
{
    Timer1->stop();
}

int TfEvidenciaPrihlasovania::SelectedUserID() const
{
    const QModelIndex index = DBGrid1->currentIndex();
    return index.isValid() && index.row() < Users.size() ? Users[index.row()].ID : 0;
}

QString TfEvidenciaPrihlasovania::SelectedLoginDate() const
{
    const QModelIndex index = VxDBGrid_LogIns->currentIndex();
    return index.isValid() && index.row() < LogIns.size() ? LogIns[index.row()].LoginDate : QString();
}

void TfEvidenciaPrihlasovania::ShowLogInsOfSelectedUser()
{
    const int userID = SelectedUserID();
    QSqlDatabase db = RecordsDatabase();
    LogIns = userID > 0 && db.isOpen() ? ReadLoginRecords(db, userID) : QVector<TLoginRecord>();
    logIns_->removeRows(0, logIns_->rowCount());
    for (const TLoginRecord& record : LogIns)
        logIns_->appendRow(
            { new QStandardItem(StoredValueText(record.LoginDate)), new QStandardItem(record.LoginTime.left(8)),
                new QStandardItem(StoredValueText(record.LogoutDate)), new QStandardItem(record.LogoutTime.left(8)) });
    if (!LogIns.isEmpty())
        VxDBGrid_LogIns->selectRow(int(LogIns.size()) - 1);
    Timer1Timer();
}

void TfEvidenciaPrihlasovania::Timer1Timer()
{
    // The log-in panel stands over the first two login columns, the log-out panel over
    // the other two.
    const int logIn = VxDBGrid_LogIns->columnWidth(0) + VxDBGrid_LogIns->columnWidth(1);
    const int logOut = VxDBGrid_LogIns->columnWidth(2) + VxDBGrid_LogIns->columnWidth(3);
    if (Panel_LogIn->width() != logIn)
        Panel_LogIn->setFixedWidth(logIn);
    if (Panel_LogOut->width() != logOut)
        Panel_LogOut->setFixedWidth(logOut);
    if (shownCount_ != LogIns.size()) {
        shownCount_ = int(LogIns.size());
        IntegerEdit_PocetPristupov->setText(QString::number(shownCount_));
    }
}

void TfEvidenciaPrihlasovania::OpenHistory(THistoryScope scope)
{
    const bool ofUser = scope == THistoryScope::UserAll || scope == THistoryScope::UserOnDate;
    const int userID = ofUser ? SelectedUserID() : 0;
    QVariantList values;
    const QString sql = HistoryStatement(scope, userID, SelectedLoginDate(), values);
    ShowHistory(sql, values, userID);
}

void TfEvidenciaPrihlasovania::menuVsetkyZmenyClick()
{
    OpenHistory(THistoryScope::UserAll);
}

void TfEvidenciaPrihlasovania::Vovybranomdtumeprstupu1Click()
{
    OpenHistory(THistoryScope::UserOnDate);
}

void TfEvidenciaPrihlasovania::menuVsetkyZmeny2Click()
{
    OpenHistory(THistoryScope::AllUsersAll);
}

void TfEvidenciaPrihlasovania::Zmenyvovybranomdtumeprstupu1Click()
{
    OpenHistory(THistoryScope::AllUsersOnDate);
}

} // namespace orvek
