// The process frame: application object, program state, single instance, the
// windows, the message loop and the orderly end.

#include "app/orvek_application.h"
#include "app/placeholder_main_window.h"
#include "core/common_vars.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/edit_strings.h"
#include "core/ui/help_window.h"
#include "core/ui/message_window.h"
#include "core/ui/splash_window.h"
#include "core/ui/wait_window.h"
#include "core/ui/wait_window_service.h"
#include "core/ui/wheel_filter.h"
#include "database/chart_factors.h"
#include "database/data_module.h"
#include "database/locks_history.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/info_user_dialog.h"
#include "database/ui/input_search_string.h"
#include "database/ui/login_prompt.h"
#include "database/ui/table_control_window.h"
#include "database/ui/template_window.h"
#include "mainwindow/ui/cell_tool_provider.h"
#include "mainwindow/ui/equation_cell_dialog.h"
#include "mainwindow/ui/equation_dialog_provider.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "mainwindow/ui/quantity_cell_dialog.h"
#include "mainwindow/ui/source_dialog_adapter.h"
#include "mainwindow/ui/uncertainty_cell_dialog.h"
#include "platform/single_instance.h"
#include "platform/ui/widget_dialogs.h"
#include "richtext/cell_hint.h"
#include "richtext/report_texts.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/report_selection.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "richtext/ui/special_characters_windows.h"
#include "richtext/ui/special_edit_actions.h"
#include "sources/chart_report.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>

using namespace orvek;

int main(int argc, char** argv)
{
    // The display metrics need the screen, so the application object comes first.
    OrvekApplication app(argc, argv);
    if (QScreen* screen = app.primaryScreen())
        ScreenPixelsPerInch = screen->logicalDotsPerInchY();
    CommonInit();

    SingleInstanceGuard guard(ProgramName, TempDir);
    if (!guard.TryAcquire()) {
        guard.NotifyRunningInstance();
        CommonDone();
        return 0;
    }

    app.setApplicationName(ProgramName);
    app.setApplicationDisplayName(ProgramTitle);
    WidgetDialogHandler dialogs;
    SetDialogHandler(&dialogs);
    // The mouse wheel moves through lists and grids as the arrow keys do.
    TWheelToArrowKeys wheelToArrowKeys;
    app.installEventFilter(&wheelToArrowKeys);

    // A newer text source shipped beside the string table brings its changed texts in;
    // texts edited in the program stay until their source changes.
    const QString stringSource = StringTableFolder() + "strings.tsv";
    if (QFileInfo::exists(stringSource)) {
        QString error;
        if (!ImportStringTable(stringSource, StringTableFolder(), &error))
            std::fprintf(stderr, "%s\n", qUtf8Printable(error));
    }

    WidgetLoginPrompt loginPrompt;
    SetLoginPrompt(&loginPrompt);
    TableControlStatusWindow tableControl;
    SetTableControlWindow(&tableControl);

    // The tooltips of the cell boxes, built from the cells' values.
    CellHintProvider cellHints;
    SetCellHintService(&cellHints);
    // The distribution column of the evaluation's source list.
    DistributionTextProvider distributionTexts;
    SetDistributionTextService(&distributionTexts);

    int result = 0;
    {
        // The data module comes before any window: it opens the database.
        TDataModule1 dataModule;
        DataModule1 = &dataModule;
        DataModuleRecordLocks recordLocks;
        SetRecordLockService(&recordLocks);
        // The report texts describe control-chart sources through the chart statistics,
        // with the factors the data module loaded.
        ChartReportProvider chartReports([] { return ChartFactors; });
        SetChartReportService(&chartReports);
        // A click or double click on a cell box: the cell commands and the cell dialogs.
        CellToolProvider cellTools;
        cellTools.Dialogs().MakeSourceDialog = MakeSourceDialogAdapter;
        SetCellToolService(&cellTools);
        cellTools.Dialogs().MakeEquationDialog
            = [] { return std::make_unique<TfOrvek5>(QApplication::activeWindow()); };
        cellTools.Dialogs().MakeQuantityDialog
            = [] { return std::make_unique<TfOrvek9>(QApplication::activeWindow()); };
        cellTools.Dialogs().MakeUncertaintyCellDialog
            = [] { return std::make_unique<TfOrvek11>(QApplication::activeWindow()); };
        // The template window's new template from an equation opens the same dialog.
        EquationDialogProvider equationDialog;
        SetEquationDialogService(&equationDialog);

        fOrvekLoad = new TfOrvekLoad;
        fOrvekLoad->show();
        fOrvekLoad->repaint();
        app.processEvents();

        PlaceholderMainWindow mainWindow;
        SetMainWindowService(&mainWindow);
        // The template window comes right after the main window and lives as long.
        TfOrvekDB orvekDB(&mainWindow);
        fOrvekDB = &orvekDB;
        // The main window's palette of special characters and its preview printer.
        TActionListSpecialEdit specialEditActions(&mainWindow);
        ActionListSpecialEdit = &specialEditActions;
        TPreviewPrinter previewPrinter(&mainWindow);
        previewPrinter.SetStoredDefaults();
        MainPreviewPrinter = &previewPrinter;
        TfEditSpecialString editSpecialString(&mainWindow);
        fEditSpecialString = &editSpecialString;
        TfSetSpecialCharactersVariable setSpecialCharactersVariable(&mainWindow);
        fSetSpecialCharactersVariable = &setSpecialCharactersVariable;
        TfSetSpecialCharacters setSpecialCharacters(&mainWindow);
        fSetSpecialCharacters = &setSpecialCharacters;
        TfEditStrings editStrings(&mainWindow);
        fEditStrings = &editStrings;
        TfWait wait(&mainWindow);
        fWait = &wait;
        TWaitWindowProvider waitWindow(wait);
        SetWaitWindowService(&waitWindow);
        TfMessageWindow messageWindow(&mainWindow);
        fMessageWindow = &messageWindow;
        SetMessageWindowService(&messageWindow);
        TfOrvekReportSelection reportSelection(&mainWindow);
        fOrvekReportSelection = &reportSelection;
        TfHelp help(&mainWindow);
        SetHelpService(&help);
        TfEditRecordHead editRecordHead(&mainWindow);
        fEditRecordHead = &editRecordHead;
        TfRichEdit98Editor richEdit98Editor(&mainWindow);
        fRichEdit98Editor = &richEdit98Editor;
        TfInfoUser infoUser(&mainWindow);
        fInfoUser = &infoUser;
        TfEditString editString(&mainWindow);
        fEditString = &editString;
        TfInputSearchString1 inputSearchString1(&mainWindow);
        fInputSearchString1 = &inputSearchString1;
        TfRenameVar renameVar(&mainWindow);
        fRenameVar = &renameVar;
        QObject::connect(
            &guard, &SingleInstanceGuard::ActivationRequested, &mainWindow, &PlaceholderMainWindow::RestoreAndActivate);
        mainWindow.show();
        std::printf("%s: main window created\n", qUtf8Printable(ProgramTitle));
        std::fflush(stdout);
        result = app.exec();
        fRenameVar = nullptr;
        fInputSearchString1 = nullptr;
        fEditString = nullptr;
        fInfoUser = nullptr;
        fRichEdit98Editor = nullptr;
        fEditRecordHead = nullptr;
        SetHelpService(nullptr);
        SetChartReportService(nullptr);
        SetCellToolService(nullptr);
        SetEquationDialogService(nullptr);
        fOrvekReportSelection = nullptr;
        SetMessageWindowService(nullptr);
        fMessageWindow = nullptr;
        SetWaitWindowService(nullptr);
        fWait = nullptr;
        fEditStrings = nullptr;
        fSetSpecialCharacters = nullptr;
        fSetSpecialCharactersVariable = nullptr;
        fEditSpecialString = nullptr;
        MainPreviewPrinter = nullptr;
        ActionListSpecialEdit = nullptr;
        fOrvekDB = nullptr;
        SetMainWindowService(nullptr);
        SetRecordLockService(nullptr);
        delete fOrvekLoad;
        fOrvekLoad = nullptr;
        DataModule1 = nullptr;
    }
    SetTableControlWindow(nullptr);
    SetCellHintService(nullptr);
    SetDistributionTextService(nullptr);
    SetLoginPrompt(nullptr);
    SetDialogHandler(nullptr);
    CommonDone();
    return result;
}
