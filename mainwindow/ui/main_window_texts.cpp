// The main window's texts in the current language (the table of which control gets
// which text is MainWindowTexts), the record grid's titles and sort flags, the report
// tool buttons' binding, the caption with the zoom, and the refresh of every window's
// texts after a language or string change.

#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/record_query.h"
#include "database/record_view.h"
#include "database/template_zoom.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "mainwindow/ui/cell_properties_dialog.h"
#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "mainwindow/ui/summary_windows.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/report_output.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "richtext/ui/special_characters_windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

namespace orvek {

namespace {

constexpr int kPageNumberText = 609;
constexpr int kFormattingWindowCaptionText = 399;
// Texts of this window's range.
constexpr int kServiceText = 22110;
constexpr int kServiceQueryText = 22111;
constexpr int kServiceRefreshText = 22112;
constexpr int kLanguageMenuText = 22113;
constexpr int kMergeOldRecordsText = 23701;
constexpr int kMergeOldTemplatesText = 23702;

void SetTextOn(QObject* object, const TWindowText& entry, QTabWidget* pages)
{
    const QString caption = WindowTextCaption(entry);
    const QString hint = WindowTextHint(entry);
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        if (entry.Caption)
            menu->setTitle(caption);
        if (entry.Hint)
            menu->menuAction()->setToolTip(hint);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        if (entry.Caption)
            action->setText(caption);
        if (entry.Hint)
            action->setToolTip(hint);
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        const int page = pages->indexOf(widget);
        if (page >= 0 && entry.Caption)
            pages->setTabText(page, caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && entry.Caption)
            button->setText(caption);
        if (entry.Hint)
            widget->setToolTip(hint);
    }
}

} // namespace

void TfOrvek1::ApplyTextsOrvek1()
{
    FTitleText = GetString(kMainWindowCaptionText);
    UpdatePreviewFooterVersion();
    PreviewPrinter1->TextOptions.Footer = PreviewFooterText();
    PreviewPrinter1->TextOptions.PageNumText = GetString(kPageNumberText) + QStringLiteral(" %d");

    for (const TWindowText& entry : MainWindowTexts())
        if (QObject* object = findChild<QObject*>(QString::fromLatin1(entry.ObjectName)))
            SetTextOn(object, entry, PageControl1);
    for (const QString& name : MainWindowPictureButtons())
        if (auto* button = findChild<QToolButton*>(name))
            button->setText(QString());
    // The drop-down buttons show their menu's text as hint.
    const std::pair<QToolButton*, QMenu*> dropDowns[]
        = { { ToolButton_Copy, menuCopy }, { ToolButton_SaveToFile, menuSaveToFile },
              { ToolButton_PrintPreview, menuPrintPreview }, { ToolButton_Print, menuPrint } };
    for (const auto& [button, menu] : dropDowns)
        button->setToolTip(menu->title());
    // The service login's page and menu, and the language items' menu.
    menuService->setTitle(GetString(kServiceText));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet_Service), GetString(kServiceText));
    SpeedButton5->setText(GetString(kServiceQueryText));
    SpeedButton6->setText(GetString(kServiceRefreshText));
    menuLanguage->setTitle(GetString(kLanguageMenuText));
    ActionMergeOldTreeDB->setText(GetString(kMergeOldRecordsText));
    ActionMergeOldTemplateDB->setText(GetString(kMergeOldTemplatesText));
    DialogTexts = MainDialogTexts();
    if (ReportOutput)
        ReportOutput->SaveFilter = DialogTexts.ReportFilter;
    RecordPanel->ApplyTexts();
    UpdateCaptionZoom();
}

void TfOrvek1::RefreshTexts()
{
    ApplyTextsOrvek1();
    ShowStatusBar();
    SetGridColumnTitles();
    if (fSetSpecialCharactersVariable)
        fSetSpecialCharactersVariable->setWindowTitle(GetString(kFormattingWindowCaptionText));
    if (fOrvekDB)
        fOrvekDB->RefreshTexts();
    if (fEditSpecialString)
        fEditSpecialString->RefreshTexts();
    if (fRichEdit98Editor)
        fRichEdit98Editor->RefreshTexts();
    if (fOrvekVlastnostiBunky)
        fOrvekVlastnostiBunky->RefreshTexts();
    if (fSummaryDesc)
        fSummaryDesc->RefreshTexts();
}

void TfOrvek1::SetGridColumnTitles()
{
    TRecordView& view = RecordPanel->View();
    SetRecordGridTitles(view.RecordGridDescriptors);
    // The grid's header reads its titles from the descriptors.
    RecordPanel->DBGrid_Tree->horizontalHeader()->viewport()->update();
}

void TfOrvek1::BuildSortFlags()
{
    TRecordView& view = RecordPanel->View();
    const TRecordSortFlags flags = orvek::BuildSortFlags(
        view.RecordGridDescriptors, RecordSortFieldsFromColumnFields(view.RecordGridDescriptors, view.ColumnFields));
    SortDirections = flags.Directions;
    SortCaseFlags = flags.CaseFlags;
}

void TfOrvek1::BindShortReportButtons()
{
    const std::pair<QToolButton*, QAction*> bindings[] = { { ToolButton_Copy, ActionCopyShortReport },
        { ToolButton_SaveToFile, ActionShortReportSaveToFile },
        { ToolButton_PrintPreview, ActionShortReportPrintPreview }, { ToolButton_Print, ActionShortReportPrint } };
    for (const auto& [button, action] : bindings) {
        button->setDefaultAction(action);
        button->setFixedWidth(44);
    }
}

void TfOrvek1::UpdateCaptionZoom()
{
    setWindowTitle(ZoomCaption(FTitleText));
}

} // namespace orvek
