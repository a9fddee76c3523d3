// The main window's report half: the short-report and formula pages, the thirteen
// report and diagram outputs with their selection check, the report-section dialog,
// the report pages' pop-up, the about window and the two summaries.

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/splash_window.h"
#include "database/data_module.h"
#include "database/record_query.h"
#include "database/record_view.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/main_window.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_output.h"
#include "richtext/ui/report_output.h"

#include <QAction>
#include <QMenu>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

namespace orvek {

namespace {

// The records database of the session; closed without the data module.
QSqlDatabase RecordsDatabase()
{
    return DataModule1 ? DataModule1->SessionOrvek().Database(AliasDB, false) : QSqlDatabase();
}

// A field of the grid's current record; null without one.
QVariant CurrentRecordField(RecordViewPanel* panel, const char* field)
{
    if (!panel)
        return QVariant();
    TRecordView& view = panel->View();
    if (!view.Active() || view.CurrentRow() < 0)
        return QVariant();
    return view.Field(view.CurrentRow(), RecordAnswerFieldNumber(QString::fromLatin1(field)));
}

} // namespace

QList<TReportHeadLine> TfOrvek1::RecordReportHead(bool full)
{
    QList<TReportHeadLine> head { { 333, CurrentRecordField(RecordPanel, "NazovMerania").toString() },
        { 646, CurrentRecordField(RecordPanel, "SampleID").toString() },
        { 613, CurrentRecordField(RecordPanel, "MenoPracovnika").toString() },
        { 611, StoredValueText(CurrentRecordField(RecordPanel, "Datum")) } };
    const int templateId = CurrentRecordField(RecordPanel, "FromTemplateID").toInt();
    if (!full || templateId <= 0)
        return head;
    // A record made from a template names the template's author, date and name.
    QSqlDatabase db = RecordsDatabase();
    if (!db.isOpen())
        return head;
    QSqlQuery query(db);
    if (ExecBound(query, QStringLiteral("SELECT CreatedBy, CreateDate, TemplateName FROM TemplateDB WHERE ID = ?"),
            { templateId })
        && query.next())
        head << TReportHeadLine { 610, query.value(0).toString() }
             << TReportHeadLine { 611, StoredValueText(query.value(1)) }
             << TReportHeadLine { 612, query.value(2).toString() };
    return head;
}

void TfOrvek1::RunReportOutput(int kind, int mode, QAction* action)
{
    // The tool button of the mode repeats the report kind used last.
    QToolButton* buttons[]
        = { nullptr, ToolButton_Copy, ToolButton_Print, ToolButton_PrintPreview, ToolButton_SaveToFile };
    if (mode >= 1 && mode <= 4 && buttons[mode]) {
        buttons[mode]->setDefaultAction(action);
        buttons[mode]->setFixedWidth(44);
    }
    if (!document_->RootCell || !ReportOutput)
        return;
    RecordPanel->CollectSelectedRecordIds();
    if (!OutputSelectionAllows(mode, int(RecordPanel->SelectedRecordIDs.size())))
        return;
    MainTimerPause pause;
    const int editMode = EditMode;
    switch (kind) {
    case 0:
        ReportOutput->OutputFullReport(mode, WithoutAccessKey(action->text()));
        break;
    case 1:
        ReportOutput->OutputShortReport(WithoutAccessKey(action->text()), mode);
        break;
    default:
        ReportOutput->OutputDiagram(WithoutAccessKey(action->text()), mode);
        break;
    }
    // An output never changes whether the record may be edited.
    EditMode = editMode;
}

void TfOrvek1::RebuildReportPage()
{
    if (!ReportOutput || !document_->RootCell)
        return;
    QWidget* page = PageControl1->currentWidget();
    if (page == TabSheet_Poznamky && FShortReportStale) {
        MainTimerPause pause;
        ReportOutput->BuildShortReport(PageControl1->tabText(PageControl1->currentIndex()));
        FShortReportStale = false;
    } else if (page == TabSheet_VzorecPreNeistotu && FFormulaPageStale) {
        MainTimerPause pause;
        ReportOutput->BuildFormulaPage();
        FFormulaPageStale = false;
    }
}

void TfOrvek1::PageControl1Change()
{
    // A page chosen while it is stale (the record or its tree changed while another page
    // was shown) is rebuilt now.
    RebuildReportPage();
}

void TfOrvek1::SummaryOfQuantities()
{
    TCell* root = document_->RootCell;
    if (!root || !QuantitySummary())
        return;
    MainTimerPause pause;
    if (!RunQuantitySummary(*root))
        return;
    // A value changed (the tick stores the changed tree with its history row): the
    // pages follow, then the summary window or the question about the cells still
    // without values.
    FShortReportStale = FFormulaPageStale = true;
    RebuildReportPage();
    if (!root->HasUnfilledCells()) {
        if (!FSummaryShownFlag)
            ActionShowHideSummaryWindow->trigger();
    } else if (MessageDlg(GetString(883), TMsgDlgType::mtWarning, mbYesNo) == mrYes) {
        if (!ActionZvyraznitLenNenaplnene->isChecked())
            ActionZvyraznitLenNenaplnene->trigger();
    }
}

void TfOrvek1::ToggleSummaryWindow()
{
    ResultSummaryService* summary = ResultSummary();
    FSummaryShownFlag = !FSummaryShownFlag && summary;
    ActionShowHideSummaryWindow->setChecked(FSummaryShownFlag);
    if (!summary)
        return;
    if (!FSummaryShownFlag) {
        summary->Hide();
        return;
    }
    summary->ShowStayOnTop();
    if (document_->RootCell)
        summary->ShowCellSummary(document_->RootCell);
}

void TfOrvek1::ConnectReportActions()
{
    struct Output {
        QAction* action;
        int kind; // 0 full report, 1 short report, 2 diagram
        int mode;
    };
    const Output outputs[] = { { ActionReportPrintPreview, 0, kReportPreview }, { ActionReportPrint, 0, kReportPrint },
        { ActionCopyFullReport, 0, kReportCopy }, { ActionFullReportSaveToFile, 0, kReportSave },
        { ActionShortReportPrintPreview, 1, kReportPreview }, { ActionShortReportPrint, 1, kReportPrint },
        { ActionCopyShortReport, 1, kReportCopy }, { ActionShortReportSaveToFile, 1, kReportSave },
        { ActionCopyDiagram, 2, kReportCopy }, { ActionDiagramPrintPreview, 2, kReportPreview },
        { ActionDiagramPrint, 2, kReportPrint }, { ActionDiagramSaveToFile, 2, kReportSave } };
    for (const Output& output : outputs)
        connect(output.action, &QAction::triggered, this,
            [this, output] { RunReportOutput(output.kind, output.mode, output.action); });
    connect(ActionVyberPreReport, &QAction::triggered, this, [this] {
        if (!document_->RootCell || !ReportOutput)
            return;
        RecordPanel->CollectSelectedRecordIds();
        MainTimerPause pause;
        const int editMode = EditMode;
        ReportOutput->ReportSelection(WithoutAccessKey(ActionVyberPreReport->text()));
        EditMode = editMode;
    });

    TReportOutput::Hooks hooks;
    hooks.Root = [this] { return document_->RootCell; };
    hooks.ShortHead = [this] { return RecordReportHead(false); };
    hooks.FullHead = [this] { return RecordReportHead(true); };
    hooks.PreviewHeader = [this] { return CurrentRecordField(RecordPanel, "NazovMerania").toString(); };
    hooks.WriteHistory = [] {
        if (!DataModule1)
            return;
        HistoryOriginalValues = GetString(634);
        DataModule1->WriteHistory();
    };
    hooks.FirstEquationLine = [this] { return RichEdit_Rovnice->toPlainText().section(QLatin1Char('\n'), 0, 0); };
    ReportOutput = new TReportOutput(this, static_cast<TRichEdit98*>(RichEdit_ShortReport),
        static_cast<TRichEdit98*>(RichEdit981), PreviewPrinter1, hooks);
    ReportOutput->SaveFilter = DialogTexts.ReportFilter;
    RebuildShownReportPage = [this] { RebuildReportPage(); };
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfOrvek1::PageControl1Change);

    // The report pages' pop-up: copy, and the page in a window of its own.
    const auto shownPage = [this]() -> TRichEdit98* {
        QWidget* page = PageControl1->currentWidget();
        if (page == TabSheet_Poznamky)
            return static_cast<TRichEdit98*>(RichEdit_ShortReport);
        if (page == TabSheet_VzorecPreNeistotu)
            return static_cast<TRichEdit98*>(RichEdit981);
        return nullptr;
    };
    connect(PopupMenu_Report, &QMenu::aboutToShow, this, [this] {
        dosamostatnhookna1->setText(GetString(943, { PageControl1->tabText(PageControl1->currentIndex()) }));
    });
    connect(menuCopyToClipboard, &QAction::triggered, this, [this, shownPage] {
        if (TRichEdit98* page = shownPage())
            ReportOutput->CopyPage(*page);
    });
    connect(dosamostatnhookna1, &QAction::triggered, this, [this, shownPage] {
        if (TRichEdit98* page = shownPage())
            ReportOutput->ShowInSeparateWindow(*page, PageControl1->tabText(PageControl1->currentIndex()));
    });

    connect(ActionAboutProgram, &QAction::triggered, this, [this] {
        TfOrvekAbout about(this);
        about.exec();
    });
    connect(ActionSuhrnVelicin, &QAction::triggered, this, &TfOrvek1::SummaryOfQuantities);
    connect(ActionShowHideSummaryWindow, &QAction::triggered, this, &TfOrvek1::ToggleSummaryWindow);
}

} // namespace orvek
