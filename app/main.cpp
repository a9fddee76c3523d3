// The process frame: application object, program state, single instance, the
// windows, the message loop and the orderly end.

#include "app/installed.h"
#include "app/orvek_application.h"
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
#include "sources/ui/edit_uncertainty_condition.h"
#include "sources/ui/chart_detail_window.h"
#include "sources/ui/import_list.h"
#include "sources/ui/orvek_message.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>
#include <memory>

using namespace orvek;

int main(int argc, char** argv)
{
    // The display metrics need the screen, so the application object comes first.
    OrvekApplication app(argc, argv);
    if (QScreen* screen = app.primaryScreen())
        ScreenPixelsPerInch = screen->logicalDotsPerInchY();
    CommonInit();
    // Qt's own texts (standard buttons, file and print dialogs) in the program's language.
    LoadQtTranslations(LanguageID);

    // Its lock and socket live in TempDir, which CommonDone may remove: it goes first.
    auto guard = std::make_unique<SingleInstanceGuard>(ProgramName, TempDir);
    if (!guard->TryAcquire()) {
        guard->NotifyRunningInstance();
        guard.reset();
        CommonDone();
        return 0;
    }

    // No application display name: Qt would append it to every window title, and the
    // titles carry the program's name already.
    app.setApplicationName(ProgramName);
    int result = 0;
    {
        WidgetDialogHandler dialogs;
        dialogs.WindowTitle = ProgramTitle;
        const auto dialogsInstalled = InstallService(SetDialogHandler, &dialogs);
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

        // Services without windows of their own.
        WidgetLoginPrompt loginPrompt;
        const auto loginInstalled = InstallService(SetLoginPrompt, &loginPrompt);
        TableControlStatusWindow tableControl;
        const auto tableControlInstalled = InstallService(SetTableControlWindow, &tableControl);
        // The tooltips of the cell boxes, built from the cells' values.
        CellHintProvider cellHints;
        const auto cellHintsInstalled = InstallService(SetCellHintService, &cellHints);
        // The distribution column of the evaluation's source list.
        DistributionTextProvider distributionTexts;
        const auto distributionInstalled = InstallService(SetDistributionTextService, &distributionTexts);

        // The data module comes before any window: it opens the database.
        TDataModule1 dataModule;
        const auto dataModuleInstalled = InstallGlobal(DataModule1, &dataModule);
        DataModuleRecordLocks recordLocks;
        const auto locksInstalled = InstallService(SetRecordLockService, &recordLocks);
        // The report texts describe control-chart sources through the chart statistics,
        // with the factors the data module loaded.
        ChartReportProvider chartReports([] { return ChartFactors; });
        const auto chartReportsInstalled = InstallService(SetChartReportService, &chartReports);
        // The template window's new template from an equation opens the same dialog.
        EquationDialogProvider equationDialog;
        const auto equationDialogInstalled = InstallService(SetEquationDialogService, &equationDialog);

        // The splash shows until the main window's first activation closes it.
        fOrvekLoad = new TfOrvekLoad;
        const auto splashInstalled = TInstalled([] {
            delete fOrvekLoad;
            fOrvekLoad = nullptr;
        });
        fOrvekLoad->show();
        fOrvekLoad->repaint();
        app.processEvents();

        // The main window first; every other window is its child.
        TfOrvek1 mainWindow;
        const auto mainWindowInstalled = InstallGlobal(fOrvek1, &mainWindow);
        const auto mainServiceInstalled = InstallService(SetMainWindowService, &mainWindow);
        QObject::connect(
            guard.get(), &SingleInstanceGuard::ActivationRequested, &mainWindow, &TfOrvek1::RestoreAndActivate);

        // A click or double click on a cell box: the cell commands and the cell dialogs,
        // writing history through the main window, which then writes no second row.
        CellToolProvider cellTools(&mainWindow.ChangeHistory());
        cellTools.Dialogs().MakeSourceDialog = MakeSourceDialogAdapter;
        cellTools.Dialogs().MakeEquationDialog
            = [] { return std::make_unique<TfOrvek5>(QApplication::activeWindow()); };
        cellTools.Dialogs().MakeQuantityDialog
            = [] { return std::make_unique<TfOrvek9>(QApplication::activeWindow()); };
        cellTools.Dialogs().MakeUncertaintyCellDialog
            = [] { return std::make_unique<TfOrvek11>(QApplication::activeWindow()); };
        const auto cellToolsInstalled = InstallService(SetCellToolService, &cellTools);

        // Database: the template window and the record and user dialogs.
        TfOrvekDB orvekDB(&mainWindow);
        const auto orvekDBInstalled = InstallGlobal(fOrvekDB, &orvekDB);
        TfEditRecordHead editRecordHead(&mainWindow);
        const auto editRecordHeadInstalled = InstallGlobal(fEditRecordHead, &editRecordHead);
        TfInfoUser infoUser(&mainWindow);
        const auto infoUserInstalled = InstallGlobal(fInfoUser, &infoUser);
        TfInputSearchString1 inputSearchString1(&mainWindow);
        const auto inputSearchInstalled = InstallGlobal(fInputSearchString1, &inputSearchString1);

        // Rich text: the special characters, the preview printer, the editor, the
        // report sections.
        TActionListSpecialEdit specialEditActions(&mainWindow);
        const auto specialEditInstalled = InstallGlobal(ActionListSpecialEdit, &specialEditActions);
        const auto previewInstalled = InstallGlobal(MainPreviewPrinter, mainWindow.PreviewPrinter1);
        mainWindow.PreviewPrinter1->SetStoredDefaults();
        TfSetSpecialCharactersVariable setSpecialCharactersVariable(&mainWindow);
        const auto variableCharactersInstalled
            = InstallGlobal(fSetSpecialCharactersVariable, &setSpecialCharactersVariable);
        TfSetSpecialCharacters setSpecialCharacters(&mainWindow);
        const auto specialCharactersInstalled = InstallGlobal(fSetSpecialCharacters, &setSpecialCharacters);
        TfRichEdit98Editor richEdit98Editor(&mainWindow);
        const auto editorInstalled = InstallGlobal(fRichEdit98Editor, &richEdit98Editor);
        TfOrvekReportSelection reportSelection(&mainWindow);
        const auto reportSelectionInstalled = InstallGlobal(fOrvekReportSelection, &reportSelection);

        // Core: the string editor, the wait and batch windows, the help.
        TfEditStrings editStrings(&mainWindow);
        const auto editStringsInstalled = InstallGlobal(fEditStrings, &editStrings);
        TfWait wait(&mainWindow);
        const auto waitInstalled = InstallGlobal(fWait, &wait);
        TWaitWindowProvider waitWindow(wait);
        const auto waitServiceInstalled = InstallService(SetWaitWindowService, &waitWindow);
        TfMessageWindow messageWindow(&mainWindow);
        const auto messageWindowInstalled = InstallGlobal(fMessageWindow, &messageWindow);
        const auto messageServiceInstalled = InstallService(SetMessageWindowService, &messageWindow);
        TfHelp help(&mainWindow);
        const auto helpInstalled = InstallService(SetHelpService, &help);

        // Main window subsystem: the one-line editors of the cell dialogs.
        TfEditSpecialString editSpecialString(&mainWindow);
        const auto editSpecialStringInstalled = InstallGlobal(fEditSpecialString, &editSpecialString);
        TfEditString editString(&mainWindow);
        const auto editStringInstalled = InstallGlobal(fEditString, &editString);
        TfRenameVar renameVar(&mainWindow);
        const auto renameVarInstalled = InstallGlobal(fRenameVar, &renameVar);
        // The settings dialog, the summaries and the list of quantities and units.
        TfOrvekVlastnostiBunky cellProperties(&mainWindow);
        cellProperties.Hooks = { [&] { mainWindow.SwitchToEnglish(); }, [&] { mainWindow.SwitchToSlovak(); },
            [&] { mainWindow.ActionVypocetDerivacie_PresnyVypocet->trigger(); },
            [&] { mainWindow.ActionVypocetDerivacie_Diferencia->trigger(); },
            [&] {
                mainWindow.ApplyFolderGroupsSetting();
                if (orvekDB.isVisible())
                    orvekDB.ApplyFolderGroupsSetting();
            } };
        const auto cellPropertiesInstalled = InstallGlobal(fOrvekVlastnostiBunky, &cellProperties);
        const auto settingsServiceInstalled = InstallService(SetSettingsDialogService, &cellProperties);
        const auto textWidthsInstalled = InstallService(SetTextWidthService, &cellProperties);
        TfTableQuantites tableQuantities(&mainWindow);
        const auto tableQuantitiesInstalled = InstallGlobal(fTableQuantites, &tableQuantities);
        const auto quantitySummaryInstalled = InstallService(SetQuantitySummaryService, &tableQuantities);
        TfSummaryDesc summaryDesc(&mainWindow);
        const auto summaryDescInstalled = InstallGlobal(fSummaryDesc, &summaryDesc);
        const auto resultSummaryInstalled = InstallService(SetResultSummaryService, &summaryDesc);
        QuantityListProvider quantityList;
        const auto quantityListInstalled = InstallService(SetQuantityListService, &quantityList);
        // The folder chooser answers the program's folder questions (backup, restore).
        TfDirectorySelect directorySelect(&mainWindow);
        const auto directorySelectInstalled = InstallGlobal(fDirectorySelect, &directorySelect);
        SetFolderChooser(&ShowDirectorySelect);
        const auto folderChooserInstalled = TInstalled([] { SetFolderChooser(nullptr); });

        // Sources: the column choice of pasted tables and the condition editor.
        TfImportList importList(&mainWindow);
        const auto importListInstalled = InstallGlobal(fImportList, &importList);
        TfEditUncertaintyContition editCondition(&mainWindow);
        const auto editConditionInstalled = InstallGlobal(fEditUncertaintyContition, &editCondition);
        // Last: the message window of the chart windows' out-of-control report.
        TfOrvekMessage orvekMessage(&mainWindow);
        const auto orvekMessageInstalled = InstallGlobal(fOrvekMessage, &orvekMessage);
        ChartDetailFactory = &MakeChartDetailWindow;
        const auto chartDetailInstalled = TInstalled([] { ChartDetailFactory = nullptr; });

        mainWindow.show();
        std::printf("%s: main window created\n", qUtf8Printable(ProgramTitle));
        std::fflush(stdout);
        result = app.exec();
    }
    guard.reset();
    CommonDone();
    return result;
}
