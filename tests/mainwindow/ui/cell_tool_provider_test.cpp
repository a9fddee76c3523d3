// The program's cell tool: a double click on a cell box opens the dialog its slot makes,
// with the busy cursor while the dialog loads.

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "mainwindow/ui/cell_tool_provider.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace orvek {
namespace {

class CursorProbe : public TSourceDialog {
public:
    CursorProbe(bool& busyWhileLoading, bool& normalWhileShown)
        : busyWhileLoading_(busyWhileLoading)
        , normalWhileShown_(normalWhileShown)
    {
    }
    void Load(const TSourceDialogData& data) override
    {
        const QCursor* cursor = QApplication::overrideCursor();
        busyWhileLoading_ = data.Editing && cursor && cursor->shape() == Qt::WaitCursor;
    }
    int ShowModal() override
    {
        normalWhileShown_ = QApplication::overrideCursor() == nullptr;
        return 2;
    }
    void ReadBack(TSourceDialogData&) override { }

private:
    bool& busyWhileLoading_;
    bool& normalWhileShown_;
};

TEST(CellToolProvider, DoubleClickOpensTheSlotsDialogUnderTheBusyCursorWhileItLoads)
{
    AppDir = test::TestProgramFolder();
    SetDefaultDiagramSettings();
    ScaleLayoutToZoom();
    ClearCellCommands();
    EditMode = 1;
    CellToolProvider provider;
    SetCellToolService(&provider);

    TPrenosInfoDoNovejBunky info;
    info.CellType = kQuantityCell;
    info.CellName = "Length";
    auto quantity = std::make_unique<TCell>(nullptr, info, 20, 20, nullptr);
    info.CellType = kUncertaintyCell;
    info.Active = 1;
    TCell* source = quantity->AddChild(info);

    // No dialog in the slot: nothing opens and nothing changes.
    source->BoxDblClick();

    bool busyWhileLoading = false, normalWhileShown = false;
    provider.Dialogs().MakeSourceDialog
        = [&] { return std::make_unique<CursorProbe>(busyWhileLoading, normalWhileShown); };
    source->BoxDblClick();
    EXPECT_TRUE(busyWhileLoading);
    EXPECT_TRUE(normalWhileShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    SetCellToolService(nullptr);
    EditMode = 0;
}

} // namespace
} // namespace orvek
