// Pictures of the cell tool's message boxes as the program shows them, in English and
// Slovak, for looking at: written only when ORVEK_SHOTS_DIR names a folder.

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "mainwindow/cell_tools.h"
#include "platform/ui/widget_dialogs.h"
#include "tests/support/cell_tool_doubles.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvek {
namespace {

TCell* Add(TCell& parent, quint8 kind, const QString& name, const QString& symbol = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Symbol = symbol;
    info.Active = 1;
    return parent.AddChild(info);
}

TEST(CellToolMessages, PicturesForLooking)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS_DIR to write the pictures";
    QDir().mkpath(folder);
    AppDir = test::TestProgramFolder();
    ProgramTitle = "Orvek2010";
    SetDefaultDiagramSettings();
    ScaleLayoutToZoom();
    WidgetDialogHandler widgets;
    DialogHandler* previous = SetDialogHandler(&widgets);
    test::ScriptedCellDialogs dialogs;
    test::ScriptedCellRecord record;
    record.lockTaken = false;
    record.changedSinceLoaded = true;
    TCellTools tools(dialogs, record);

    for (quint8 language : { quint8(0), quint8(1) }) {
        LanguageID = language;
        TPrenosInfoDoNovejBunky info;
        info.CellType = kEquationCell;
        info.CellName = "Result";
        auto root = std::make_unique<TCell>(nullptr, info, 20, 20, nullptr);
        TCell* a = Add(*root, kQuantityCell, "Length", "a");
        TCell* series = Add(*a, kUncertaintyCell, "Readings");
        series->FUncertaintyInput.TSN = 6;
        TCell* other = Add(*a, kUncertaintyCell, "Variances");
        other->FUncertaintyInput.TSN = 13;
        other->FActive = false;
        TCell* group = Add(*a, kUncertaintyCell, "Group");
        TCell* only = Add(*group, kUncertaintyCell, "Only");
        TCell* sub = Add(*root, kEquationCell, "Sub", "z");

        struct Shot {
            const char* name;
            bool* command;
            TCell* cell;
        };
        const Shot shots[] = { { "329", &CmdDeleteCell, only }, { "246", &CmdEquationToQuantity, sub },
            { "1066", &CmdToggleActive, other }, { "22250", &CmdEditCell, series } };
        for (const Shot& shot : shots) {
            const QString path = folder + QString("/message-%1-%2.png").arg(shot.name).arg(language);
            QTimer::singleShot(300, [path] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    box->grab().save(path);
                    box->reject();
                }
            });
            if (QString(shot.name) == "22250")
                dialogs.source.Answer([](TSourceDialogData&) { return 2; });
            ClearCellCommands();
            *shot.command = true;
            tools.ClickAction(shot.cell);
            EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        }
        ClearCellCommands();
    }
    SetDialogHandler(previous);
    LanguageID = EditionFlag;
}

} // namespace
} // namespace orvek
