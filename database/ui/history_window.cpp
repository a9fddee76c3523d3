#include "database/ui/history_window.h"

#include "core/common_vars.h"
#include "core/logs.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/data_module.h"
#include "database/query_rows_model.h"
#include "database/ui/db_navigator.h"
#include "database/ui/vx_db_grid.h"
#include "platform/db_session.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/markup_rich_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QSqlDatabase>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

constexpr int kRenderFontSize = 8;
constexpr const char* kRenderFontName = "Arial";

} // namespace

TfHistory1::TfHistory1(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fHistory1"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    Q_History = new QueryRowsModel(this);
    Q_History->SetShownFields({ QStringLiteral("Datum"), QStringLiteral("Cas") });
    ShowStoredDatesShort(*Q_History);

    VxDBGrid = new TVxDBGrid(this);
    VxDBGrid->setObjectName(QStringLiteral("VxDBGrid"));
    VxDBGrid->setMinimumWidth(200);
    DBNavigator = SetUpBrowseGrid(VxDBGrid, Q_History, QStringLiteral("DBNavigator"));
    Panel_RecNo = NewRecNoPanel(this);

    Label_Pracovnik = new QLabel(this);
    Label_Meranie = new QLabel(this);
    Edit_Pracovnik = new QLineEdit(this);
    Edit_Pracovnik->setObjectName(QStringLiteral("Edit_Pracovnik"));
    Edit_Meranie = new QLineEdit(this);
    Edit_Meranie->setObjectName(QStringLiteral("Edit_Meranie"));
    for (QLineEdit* edit : { Edit_Pracovnik, Edit_Meranie })
        edit->setReadOnly(true);
    Label_Pracovnik->setBuddy(Edit_Pracovnik);
    Label_Meranie->setBuddy(Edit_Meranie);

    Panel_Original = new QGroupBox(this);
    Panel_Modified = new QGroupBox(this);
    RichEdit_Original = new TRichEdit98(Panel_Original);
    RichEdit_Original->setObjectName(QStringLiteral("RichEdit_Original"));
    RichEdit_Modified = new TRichEdit98(Panel_Modified);
    RichEdit_Modified->setObjectName(QStringLiteral("RichEdit_Modified"));
    for (auto [panel, edit] :
        { std::pair { Panel_Original, RichEdit_Original }, { Panel_Modified, RichEdit_Modified } }) {
        edit->setReadOnly(true);
        auto* box = new QVBoxLayout(panel);
        box->setContentsMargins(4, 4, 4, 4);
        box->addWidget(edit);
    }

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator);
    navigation->addWidget(Panel_RecNo, 1);
    leftLayout->addLayout(navigation);
    leftLayout->addWidget(VxDBGrid, 1);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* heads = new QGridLayout;
    heads->addWidget(Label_Pracovnik, 0, 0);
    heads->addWidget(Edit_Pracovnik, 0, 1);
    heads->addWidget(Label_Meranie, 1, 0);
    heads->addWidget(Edit_Meranie, 1, 1);
    rightLayout->addLayout(heads);
    auto* texts = new QSplitter(Qt::Vertical, right);
    texts->addWidget(Panel_Original);
    texts->addWidget(Panel_Modified);
    rightLayout->addWidget(texts, 1);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    resize(820, 560);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfHistory1::Timer1Timer);
    FormCreate();
}

TfHistory1::~TfHistory1() = default;

void TfHistory1::FormCreate()
{
    Timer1->stop();
    HistorySQL.clear();
    HistoryValues.clear();
    Edit_Pracovnik->clear();
    Edit_Meranie->clear();
    Panel_RecNo->clear();
    setWindowTitle(GetString(525));
    Label_Pracovnik->setText(GetString(662));
    Label_Meranie->setText(GetString(333));
    Panel_Original->setTitle(GetString(663));
    Panel_Modified->setTitle(GetString(664));
    Q_History->SetTitles({ GetString(332), GetString(665) });
    FitColumnsToTitles(*VxDBGrid);
    DBNavigator->ApplyHints();
}

int TfHistory1::CurrentRow() const
{
    return Q_History->RecordCount() > 0 ? VxDBGrid->currentIndex().row() : -1;
}

void TfHistory1::ShowHistory(int userID, int diagramID)
{
    FixedUserID = userID;
    FixedDiagramID = diagramID;
    if (!HistorySQL.isEmpty()) {
        Q_History->Close();
        QString error;
        QSqlDatabase db = DataModule1 ? DataModule1->SessionOrvek().Database(AliasDB, false, &error) : QSqlDatabase();
        if (!Q_History->Open(db, HistorySQL, HistoryValues, &error))
            AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("History: ") + error);
    }
    LastShownID = 0;
    Edit_Pracovnik->setText(Q_History->Value(0, QStringLiteral("PracovnikMeno")).toString());
    Edit_Meranie->setText(Q_History->Value(0, QStringLiteral("DiagramName")).toString());
    Panel_RecNo->clear();
    RichEdit_Original->clear();
    RichEdit_Modified->clear();
    DBNavigator->MoveTo(Q_History->RecordCount() - 1);
    Timer1->start();
}

void TfHistory1::Timer1Timer()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    const int id = Q_History->Value(row, QStringLiteral("ID")).toInt();
    if (id == LastShownID)
        return;
    Panel_RecNo->setText(QStringLiteral("%1/%2").arg(row + 1).arg(Q_History->RecordCount()));
    LastShownID = id;
    if (FixedUserID == 0) {
        const QString user = Q_History->Value(row, QStringLiteral("PracovnikMeno")).toString();
        if (Edit_Pracovnik->text() != user)
            Edit_Pracovnik->setText(user);
    }
    if (FixedDiagramID == 0) {
        const QString model = Q_History->Value(row, QStringLiteral("DiagramName")).toString();
        if (Edit_Meranie->text() != model)
            Edit_Meranie->setText(model);
    }
    RenderMarkupToRichEdit(kRenderFontSize, QString::fromLatin1(kRenderFontName), false, *RichEdit_Original,
        Q_History->Value(row, QStringLiteral("OriginalValues")).toString());
    RenderMarkupToRichEdit(kRenderFontSize, QString::fromLatin1(kRenderFontName), false, *RichEdit_Modified,
        Q_History->Value(row, QStringLiteral("NewValues")).toString());
}

void TfHistory1::hideEvent(QHideEvent* event)
{
    FormClose();
    QDialog::hideEvent(event);
}

void TfHistory1::FormClose()
{
    Timer1->stop();
    Q_History->Close();
    Edit_Pracovnik->clear();
    Edit_Meranie->clear();
    Panel_RecNo->clear();
    RichEdit_Original->clear();
    RichEdit_Modified->clear();
}

} // namespace orvek
