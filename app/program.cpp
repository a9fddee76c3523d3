#include "app/program.h"

#include "core/common_vars.h"
#include "core/qt_translations.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/edit_strings.h"
#include "core/ui/help_window.h"
#include "core/ui/message_window.h"
#include "core/ui/splash_window.h"
#include "core/ui/wait_window.h"
#include "core/ui/wait_window_service.h"
#include "database/chart_factors.h"
#include "database/data_module.h"
#include "database/locks_history.h"
#include "database/login_records.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/history_window.h"
#include "database/ui/info_user_dialog.h"
#include "database/ui/input_search_string.h"
#include "database/ui/login_prompt.h"
#include "database/ui/table_control_window.h"
#include "database/ui/template_window.h"
#include "mainwindow/cell_tool_windows.h"
#include "mainwindow/main_change_history.h"
#include "mainwindow/ui/cell_properties_dialog.h"
#include "mainwindow/ui/cell_tool_provider.h"
#include "mainwindow/ui/directory_select.h"
#include "mainwindow/ui/equation_cell_dialog.h"
#include "mainwindow/ui/equation_dialog_provider.h"
#include "mainwindow/ui/list_of_variables_units.h"
#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "mainwindow/ui/quantity_cell_dialog.h"
#include "mainwindow/ui/source_dialog_adapter.h"
#include "mainwindow/ui/summary_windows.h"
#include "mainwindow/ui/table_quantities.h"
#include "mainwindow/ui/uncertainty_cell_dialog.h"
#include "platform/dialogs.h"
#include "platform/ui/widget_dialogs.h"
#include "platform/ui/window_placement.h"
#include "richtext/cell_hint.h"
#include "richtext/report_texts.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/report_selection.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "richtext/ui/special_characters_windows.h"
#include "richtext/ui/special_edit_actions.h"
#include "sources/chart_report.h"
#include "sources/ui/chart_detail_window.h"
#include "sources/ui/edit_uncertainty_condition.h"
#include "sources/ui/import_list.h"
#include "sources/ui/orvek_message.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace orvek {

namespace {

// A window with a tree of cells, as the cell commands see it: its timer and its own
// disarm routine.
template <typename Window> class TWindowCellTools : public TCellToolWindow {
public:
    explicit TWindowCellTools(Window& window)
        : window_(window)
    {
    }
    bool IsVisible() const override { return window_.isVisible(); }
    void SetTimerEnabled(bool enabled) override
    {
        if (enabled)
            window_.Timer1->start();
        else
            window_.Timer1->stop();
    }
    void ClearCellCommands() override { window_.ClearCellCommands(); }

private:
    Window& window_;
};

// The change-history browser over the rows a users window or the login records ask
// for, modal over the window that asked.
void ShowHistoryWindow(const QString& sql, const QVariantList& values, int userID)
{
    TfHistory1 history(QApplication::activeWindow());
    history.HistorySQL = sql;
    history.HistoryValues = values;
    history.ShowHistory(userID, 0);
    history.exec();
}

} // namespace

TOrvekProgram::TOrvekProgram(const Options& options)
{
    MakeServices(options);
    MakeWindows();
}

TOrvekProgram::~TOrvekProgram()
{
    for (auto it = cleanups_.rbegin(); it != cleanups_.rend(); ++it)
        (*it)();
}

void TOrvekProgram::Show()
{
    mainWindow_->show();
}

void TOrvekProgram::MakeServices(const Options& options)
{
    // Qt's own texts (standard buttons, file and print dialogs) in the program's language.
    LoadQtTranslations(LanguageID);

    // Every window and dialog fits the screen it opens on; Enter presses a dialog's OK.
    auto* fit = Keep(std::make_unique<WindowConventions>());
    qApp->installEventFilter(fit);
    OnEnd([fit] { qApp->removeEventFilter(fit); });

    if (options.Dialogs) {
        Install(SetDialogHandler, options.Dialogs);
    } else {
        auto* dialogs = Keep(std::make_unique<WidgetDialogHandler>());
        dialogs->WindowTitle = ProgramTitle;
        Install(SetDialogHandler, dialogs);
    }

    // A newer text source shipped beside the string table brings its changed texts in;
    // texts edited in the program stay until their source changes.
    const QString stringSource = StringTableFolder() + "strings.tsv";
    if (options.ImportStrings && QFileInfo::exists(stringSource)) {
        QString error;
        if (!ImportStringTable(stringSource, StringTableFolder(), &error))
            std::fprintf(stderr, "%s\n", qUtf8Printable(error));
    }

    // Services without windows of their own.
    Install(SetLoginPrompt, Keep(std::make_unique<WidgetLoginPrompt>()));
    Install(SetTableControlWindow, Keep(std::make_unique<TableControlStatusWindow>()));
    // The tooltips of the cell boxes, built from the cells' values.
    Install(SetCellHintService, Keep(std::make_unique<CellHintProvider>()));
    // The distribution column of the evaluation's source list.
    Install(SetDistributionTextService, Keep(std::make_unique<DistributionTextProvider>()));
    // The change-history browser of the users window and the login records.
    SetHistoryViewer(&ShowHistoryWindow);
    OnEnd([] { SetHistoryViewer({}); });

    // The data module comes before any window: it opens the database.
    InstallGlobal(DataModule1, Keep(std::make_unique<TDataModule1>()));
    Install(SetRecordLockService, Keep(std::make_unique<DataModuleRecordLocks>()));
    // The report texts describe control-chart sources through the chart statistics,
    // with the factors the data module loaded.
    Install(SetChartReportService, Keep(std::make_unique<ChartReportProvider>([] { return ChartFactors; })));
    // The template window's new template from an equation opens the same dialog.
    Install(SetEquationDialogService, Keep(std::make_unique<EquationDialogProvider>()));

    // The splash shows until the main window's first activation closes it.
    if (options.ShowSplash) {
        fOrvekLoad = new TfOrvekLoad;
        OnEnd([] {
            delete fOrvekLoad;
            fOrvekLoad = nullptr;
        });
        fOrvekLoad->show();
        fOrvekLoad->repaint();
        QApplication::processEvents();
    }
}

void TOrvekProgram::MakeWindows()
{
    // The main window first; every other window is its child.
    TfOrvek1* main = Keep(std::make_unique<TfOrvek1>());
    mainWindow_ = main;
    InstallGlobal(fOrvek1, main);
    Install(SetMainWindowService, main);
    Install(
        [](TCellToolWindow* w) { MainCellToolWindow = w; }, Keep(std::make_unique<TWindowCellTools<TfOrvek1>>(*main)));

    // A click or double click on a cell box: the cell commands and the cell dialogs,
    // writing history through the main window, which then writes no second row.
    auto* cellTools = Keep(std::make_unique<CellToolProvider>(&main->ChangeHistory()));
    cellTools->Dialogs().MakeSourceDialog = MakeSourceDialogAdapter;
    cellTools->Dialogs().MakeEquationDialog = [] { return std::make_unique<TfOrvek5>(QApplication::activeWindow()); };
    cellTools->Dialogs().MakeQuantityDialog = [] { return std::make_unique<TfOrvek9>(QApplication::activeWindow()); };
    cellTools->Dialogs().MakeUncertaintyCellDialog
        = [] { return std::make_unique<TfOrvek11>(QApplication::activeWindow()); };
    Install(SetCellToolService, cellTools);

    // Database: the template window and the record and user dialogs.
    TfOrvekDB* orvekDB = Keep(std::make_unique<TfOrvekDB>(main));
    templateWindow_ = orvekDB;
    InstallGlobal(fOrvekDB, orvekDB);
    Install([](TCellToolWindow* w) { TemplateCellToolWindow = w; },
        Keep(std::make_unique<TWindowCellTools<TfOrvekDB>>(*orvekDB)));
    InstallGlobal(fEditRecordHead, Keep(std::make_unique<TfEditRecordHead>(main)));
    InstallGlobal(fInfoUser, Keep(std::make_unique<TfInfoUser>(main)));
    InstallGlobal(fInputSearchString1, Keep(std::make_unique<TfInputSearchString1>(main)));

    // Rich text: the special characters, the preview printer, the editor, the report
    // sections.
    InstallGlobal(ActionListSpecialEdit, Keep(std::make_unique<TActionListSpecialEdit>(main)));
    InstallGlobal(MainPreviewPrinter, main->PreviewPrinter1);
    main->PreviewPrinter1->SetStoredDefaults();
    InstallGlobal(fSetSpecialCharactersVariable, Keep(std::make_unique<TfSetSpecialCharactersVariable>(main)));
    InstallGlobal(fSetSpecialCharacters, Keep(std::make_unique<TfSetSpecialCharacters>(main)));
    InstallGlobal(fRichEdit98Editor, Keep(std::make_unique<TfRichEdit98Editor>(main)));
    InstallGlobal(fOrvekReportSelection, Keep(std::make_unique<TfOrvekReportSelection>(main)));

    // Core: the string editor, the wait and batch windows, the help.
    InstallGlobal(fEditStrings, Keep(std::make_unique<TfEditStrings>(main)));
    TfWait* wait = Keep(std::make_unique<TfWait>(main));
    InstallGlobal(fWait, wait);
    Install(SetWaitWindowService, Keep(std::make_unique<TWaitWindowProvider>(*wait)));
    TfMessageWindow* messageWindow = Keep(std::make_unique<TfMessageWindow>(main));
    InstallGlobal(fMessageWindow, messageWindow);
    Install(SetMessageWindowService, messageWindow);
    Install(SetHelpService, Keep(std::make_unique<TfHelp>(main)));

    // Main window subsystem: the one-line editors of the cell dialogs.
    InstallGlobal(fEditSpecialString, Keep(std::make_unique<TfEditSpecialString>(main)));
    InstallGlobal(fEditString, Keep(std::make_unique<TfEditString>(main)));
    InstallGlobal(fRenameVar, Keep(std::make_unique<TfRenameVar>(main)));
    // The settings dialog, the summaries and the list of quantities and units.
    auto* cellProperties = Keep(std::make_unique<TfOrvekVlastnostiBunky>(main));
    cellProperties->Hooks = { [main] { main->SwitchToEnglish(); }, [main] { main->SwitchToSlovak(); },
        [main] { main->ActionVypocetDerivacie_PresnyVypocet->trigger(); },
        [main] { main->ActionVypocetDerivacie_Diferencia->trigger(); },
        [main, orvekDB] {
            main->ApplyFolderGroupsSetting();
            if (orvekDB->isVisible())
                orvekDB->ApplyFolderGroupsSetting();
        } };
    InstallGlobal(fOrvekVlastnostiBunky, cellProperties);
    Install(SetSettingsDialogService, cellProperties);
    Install(SetTextWidthService, cellProperties);
    auto* tableQuantities = Keep(std::make_unique<TfTableQuantites>(main));
    InstallGlobal(fTableQuantites, tableQuantities);
    Install(SetQuantitySummaryService, tableQuantities);
    auto* summaryDesc = Keep(std::make_unique<TfSummaryDesc>(main));
    InstallGlobal(fSummaryDesc, summaryDesc);
    Install(SetResultSummaryService, summaryDesc);
    Install(SetQuantityListService, Keep(std::make_unique<QuantityListProvider>()));
    // The folder chooser answers the program's folder questions (backup, restore).
    InstallGlobal(fDirectorySelect, Keep(std::make_unique<TfDirectorySelect>(main)));
    SetFolderChooser(&ShowDirectorySelect);
    OnEnd([] { SetFolderChooser(nullptr); });

    // Sources: the column choice of pasted tables and the condition editor.
    InstallGlobal(fImportList, Keep(std::make_unique<TfImportList>(main)));
    InstallGlobal(fEditUncertaintyContition, Keep(std::make_unique<TfEditUncertaintyContition>(main)));
    // Last: the message window of the chart windows' out-of-control report.
    InstallGlobal(fOrvekMessage, Keep(std::make_unique<TfOrvekMessage>(main)));
    ChartDetailFactory = &MakeChartDetailWindow;
    OnEnd([] { ChartDetailFactory = nullptr; });
}

} // namespace orvek
