#include "database/ui/validation_history.h"

#include "core/common_vars.h"
#include "core/logs.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/data_module.h"
#include "database/query_rows_model.h"
#include "database/ui/db_navigator.h"
#include "database/ui/vx_db_grid.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/markup_rich_edit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

constexpr int kRenderFontSize = 10;
constexpr const char* kRenderFontName = "Arial";

} // namespace

TfValidationHistory::TfValidationHistory(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fValidationHistory"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_DeleteOnClose);
    T_ValidationHistory = new QueryRowsModel(this);
    T_ValidationHistory->SetShownFields(
        { QStringLiteral("ValidationDate"), QStringLiteral("ValidationTime"), QStringLiteral("ResultStr") });
    ShowStoredDatesShort(*T_ValidationHistory);

    VxDBGrid1 = new TVxDBGrid(this);
    VxDBGrid1->setObjectName(QStringLiteral("VxDBGrid1"));
    DBNavigator1 = SetUpBrowseGrid(VxDBGrid1, T_ValidationHistory, QStringLiteral("DBNavigator1"));
    Panel_RecNo = NewRecNoPanel(this);
    Panel_Description = new QLabel(this);
    Panel_Description->setObjectName(QStringLiteral("Panel_Description"));
    RichEdit981 = new TRichEdit98(this);
    RichEdit981->setObjectName(QStringLiteral("RichEdit981"));
    RichEdit981->setReadOnly(true);
    Button_Close = new QPushButton(this);
    Button_Close->setObjectName(QStringLiteral("Button_Close"));
    Button_Validation = new QPushButton(this);
    Button_Validation->setObjectName(QStringLiteral("Button_Validation"));

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addWidget(Panel_RecNo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button_Validation);
    buttons->addStretch();
    buttons->addWidget(Button_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(navigation);
    layout->addWidget(VxDBGrid1, 2);
    layout->addWidget(Panel_Description);
    layout->addWidget(RichEdit981, 3);
    layout->addLayout(buttons);
    resize(640, 560);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfValidationHistory::Timer1Timer);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button_Validation, &QPushButton::clicked, this, &TfValidationHistory::Button_ValidationClick);
    FormCreate();
}

TfValidationHistory::~TfValidationHistory()
{
    T_ValidationHistory->Close();
}

void TfValidationHistory::FormCreate()
{
    OpenTable();
    LastShownID = -1;
    DBNavigator1->ApplyHints();
    T_ValidationHistory->SetTitles({ GetString(889), GetString(890), GetString(891) });
    FitColumnsToTitles(*VxDBGrid1);
    setWindowTitle(GetString(899));
    Panel_Description->setText(GetString(892));
    Button_Close->setText(GetString(893));
    Button_Validation->setText(GetString(894));
    Button_Validation->setEnabled(bool(SelfValidationHook));
}

void TfValidationHistory::OpenTable()
{
    QString error;
    QSqlDatabase db = DataModule1 ? DataModule1->SessionOrvek().Database(AliasDB, false, &error) : QSqlDatabase();
    if (!T_ValidationHistory->Open(db, QStringLiteral("SELECT * FROM ValidationHistory ORDER BY ID"), {}, &error))
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("ValidationHistory: ") + error);
    DBNavigator1->MoveTo(T_ValidationHistory->RecordCount() - 1);
}

void TfValidationHistory::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Timer1->start();
}

void TfValidationHistory::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfValidationHistory::Timer1Timer()
{
    const int row = T_ValidationHistory->RecordCount() > 0 ? VxDBGrid1->currentIndex().row() : -1;
    if (row < 0)
        return;
    const int id = T_ValidationHistory->Value(row, QStringLiteral("ID")).toInt();
    if (id == LastShownID)
        return;
    Timer1->stop();
    LastShownID = id;
    Panel_RecNo->setText(QStringLiteral("%1 / %2").arg(row + 1).arg(T_ValidationHistory->RecordCount()));
    RichEdit981->hide();
    RichEdit981->clear();
    RenderMarkupToRichEdit(kRenderFontSize, QString::fromLatin1(kRenderFontName), false, *RichEdit981,
        T_ValidationHistory->Value(row, QStringLiteral("ResultMemo")).toString());
    RichEdit981->show();
    Timer1->start();
}

void TfValidationHistory::Button_ValidationClick()
{
    if (!SelfValidationHook)
        return;
    Timer1->stop();
    struct WaitCursor {
        WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
        ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    };
    QString result, report, error;
    bool stored = true;
    {
        WaitCursor wait;
        if (SelfValidationHook(result, report)) {
            stored = DataModule1 && DataModule1->WriteValidationHistory(result, report, &error);
            OpenTable();
        }
    }
    if (!stored)
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
    Timer1->start();
}

} // namespace orvek
