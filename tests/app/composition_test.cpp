// The composition `main` runs fills every seam through which lower code reaches higher
// code, and the program starts, logs in and ends on a new database.

#include "core/services.h"
#include "database/bde_util.h"
#include "database/data_module.h"
#include "database/login_records.h"
#include "database/users.h"
#include "mainwindow/cell_tool_windows.h"
#include "platform/dialogs.h"
#include "platform/ui/widget_dialogs.h"
#include "sources/ui/source_dialog_chart_detail.h"
#include "tests/app/program_fixture.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <map>

using namespace orvek;
using orvek::test::ProgramTest;

namespace {

QString SourceRoot()
{
    return QDir(QStringLiteral(ORVEK_TEST_DATA_DIR) + "/../..").absolutePath();
}

// Every installer of a seam declared in the program's headers: setters of services,
// viewers, handlers, prompts, windows and choosers, factory variables and the cell-tool
// window slots.
QStringList DeclaredSeams()
{
    static const QRegularExpression setter(QStringLiteral(
        R"(\b(?:void|[A-Za-z_]+\s*\*)\s+(Set[A-Za-z]*(?:Service|Viewer|Handler|Prompt|Window|Chooser))\s*\()"));
    static const QRegularExpression slot(
        QStringLiteral(R"(\binline\s+[A-Za-z_:<>]*(?:Factory|TCellToolWindow\s*\*)\s+([A-Za-z]+)\s*(?:=|;))"));
    QStringList seams;
    for (const char* folder : { "platform", "core", "engine", "richtext", "database", "sources", "mainwindow" }) {
        QDirIterator it(SourceRoot() + "/" + folder, { "*.h" }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpression* re : { &setter, &slot }) {
                auto matches = re->globalMatch(text);
                while (matches.hasNext())
                    seams << matches.next().captured(1);
            }
        }
    }
    seams.removeDuplicates();
    seams.sort();
    return seams;
}

TEST_F(ProgramTest, TheCompositionFillsEverySeamTheHeadersDeclare)
{
    // How each seam is seen from outside once the program is composed.
    const std::map<QString, std::function<bool()>> filled {
        { "SetMainWindowService", [] { return MainWindow() != nullptr; } },
        { "SetMessageWindowService", [] { return MessageWindow() != nullptr; } },
        { "SetHelpService", [] { return HelpViewer() != nullptr; } },
        { "SetCellToolService", [] { return CellTools() != nullptr; } },
        { "SetRecordLockService", [] { return RecordLocks() != nullptr; } },
        { "SetCellHintService", [] { return CellHints() != nullptr; } },
        { "SetDistributionTextService", [] { return DistributionTexts() != nullptr; } },
        { "SetTextWidthService", [] { return TextWidths() != nullptr; } },
        { "SetChartReportService", [] { return ChartReports() != nullptr; } },
        { "SetResultSummaryService", [] { return ResultSummary() != nullptr; } },
        { "SetWaitWindowService", [] { return WaitWindow() != nullptr; } },
        { "SetEquationDialogService", [] { return EquationDialog() != nullptr; } },
        { "SetSettingsDialogService", [] { return SettingsDialog() != nullptr; } },
        { "SetQuantitySummaryService", [] { return QuantitySummary() != nullptr; } },
        { "SetQuantityListService", [] { return QuantityUnitList() != nullptr; } },
        { "SetLoginPrompt", [] { return CurrentLoginPrompt() != nullptr; } },
        { "SetTableControlWindow", [] { return TableControlWindow() != nullptr; } },
        { "SetHistoryViewer", [] { return HistoryViewerInstalled(); } },
        { "SetFolderChooser", [] { return FolderChooserInstalled(); } },
        // The test's script stands in the dialog seam; the program installs the real
        // dialogs there (checked by the program's start in scripts/run).
        { "SetDialogHandler", [] { return CurrentDialogHandler() != nullptr; } },
        // Each table of chart points installs how its refusals are told when it is made.
        { "SetRefusalHandler", [] { return true; } },
        { "ChartDetailFactory", [] { return bool(ChartDetailFactory); } },
        { "MainCellToolWindow", [] { return MainCellToolWindow != nullptr; } },
        { "TemplateCellToolWindow", [] { return TemplateCellToolWindow != nullptr; } },
    };
    const QStringList seams = DeclaredSeams();
    ASSERT_GE(seams.size(), 20) << "the headers were not found under " << SourceRoot().toStdString();
    for (const QString& seam : seams) {
        const auto it = filled.find(seam);
        if (it == filled.end()) {
            ADD_FAILURE() << seam.toStdString() << " is declared but neither installed by the composition nor "
                          << "known to this test";
            continue;
        }
        EXPECT_TRUE(it->second()) << seam.toStdString() << " is left empty by the composition";
    }
    EXPECT_NE(DataModule1, nullptr);
}

TEST_F(ProgramTest, TheSeamsAreEmptyAgainOnceTheProgramEnds)
{
    Stop();
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(CellTools(), nullptr);
    EXPECT_EQ(MainCellToolWindow, nullptr);
    EXPECT_FALSE(HistoryViewerInstalled());
    EXPECT_FALSE(bool(ChartDetailFactory));
    EXPECT_EQ(DataModule1, nullptr);
}

TEST_F(ProgramTest, TheFirstStartOfANewDatabaseLogsTheAdministratorIn)
{
    StartAsAdministrator();
    EXPECT_TRUE(Main().FSessionOpen);
    EXPECT_EQ(CurrentUserRights, 1);
}

} // namespace
