#include "core/services.h"

namespace orvek {

namespace {
MainWindowService* g_mainWindow = nullptr;
MessageWindowService* g_messageWindow = nullptr;
HelpService* g_help = nullptr;
CellToolService* g_cellTools = nullptr;
RecordLockService* g_recordLocks = nullptr;
CellHintService* g_cellHints = nullptr;
TextWidthService* g_textWidths = nullptr;
DistributionTextService* g_distributionTexts = nullptr;
ChartReportService* g_chartReports = nullptr;
ResultSummaryService* g_resultSummary = nullptr;
WaitWindowService* g_waitWindow = nullptr;
QuantityListService* g_quantityList = nullptr;
} // namespace

MainWindowService* MainWindow()
{
    return g_mainWindow;
}
void SetMainWindowService(MainWindowService* service)
{
    g_mainWindow = service;
}
MessageWindowService* MessageWindow()
{
    return g_messageWindow;
}
void SetMessageWindowService(MessageWindowService* service)
{
    g_messageWindow = service;
}
HelpService* HelpViewer()
{
    return g_help;
}
void SetHelpService(HelpService* service)
{
    g_help = service;
}

CellToolService* CellTools()
{
    return g_cellTools;
}
void SetCellToolService(CellToolService* service)
{
    g_cellTools = service;
}

RecordLockService* RecordLocks()
{
    return g_recordLocks;
}
void SetRecordLockService(RecordLockService* service)
{
    g_recordLocks = service;
}

CellHintService* CellHints()
{
    return g_cellHints;
}
void SetCellHintService(CellHintService* service)
{
    g_cellHints = service;
}

TextWidthService* TextWidths()
{
    return g_textWidths;
}
void SetTextWidthService(TextWidthService* service)
{
    g_textWidths = service;
}

DistributionTextService* DistributionTexts()
{
    return g_distributionTexts;
}
void SetDistributionTextService(DistributionTextService* service)
{
    g_distributionTexts = service;
}
ChartReportService* ChartReports()
{
    return g_chartReports;
}
void SetChartReportService(ChartReportService* service)
{
    g_chartReports = service;
}

ResultSummaryService* ResultSummary()
{
    return g_resultSummary;
}
void SetResultSummaryService(ResultSummaryService* service)
{
    g_resultSummary = service;
}

WaitWindowService* WaitWindow()
{
    return g_waitWindow;
}
void SetWaitWindowService(WaitWindowService* service)
{
    g_waitWindow = service;
}

namespace {
EquationDialogService* g_equationDialog = nullptr;
SettingsDialogService* g_settingsDialog = nullptr;
QuantitySummaryService* g_quantitySummary = nullptr;
} // namespace

EquationDialogService* EquationDialog()
{
    return g_equationDialog;
}
void SetEquationDialogService(EquationDialogService* service)
{
    g_equationDialog = service;
}

SettingsDialogService* SettingsDialog()
{
    return g_settingsDialog;
}
void SetSettingsDialogService(SettingsDialogService* service)
{
    g_settingsDialog = service;
}

QuantitySummaryService* QuantitySummary()
{
    return g_quantitySummary;
}
void SetQuantitySummaryService(QuantitySummaryService* service)
{
    g_quantitySummary = service;
}

QuantityListService* QuantityUnitList()
{
    return g_quantityList;
}
void SetQuantityListService(QuantityListService* service)
{
    g_quantityList = service;
}

} // namespace orvek
