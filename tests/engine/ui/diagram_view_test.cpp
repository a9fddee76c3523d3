#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"

#include <QBuffer>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace orvek {
namespace {

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Active = 1;
    return info;
}

class ToolsDouble : public CellToolService {
public:
    void ClickAction(TCell* cell) override { clicked = cell; }
    void ViewProperties(TCell* cell) override { viewed = cell; }
    void EditProperties(TCell*) override { }
    TCell* clicked = nullptr;
    TCell* viewed = nullptr;
};

class DiagramView : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultDiagramSettings();
        ScaleLayoutToZoom();
        EditMode = 0;
        view.resize(520, 300);
        root = new TCell(&view, Info(kEquationCell, QString::fromUtf8("Hmotnosť vzorky po sušení")), DiagramOriginY,
            DiagramOriginX, nullptr);
        root->FValue.Text = "10";
        q = root->AddChild(Info(kQuantityCell, "Initial mass m0"));
        s1 = q->AddChild(Info(kUncertaintyCell, "Calibration of the balance"));
        s1->FUncertaintyInput.HSN = "0.1";
        s2 = q->AddChild(Info(kUncertaintyCell, "Repeatability of a very long series of readings taken daily"));
        inactive = q->AddChild(Info(kUncertaintyCell, "Drift (not used)"));
        inactive->FActive = false;
        k = root->AddChild(Info(kQuantityCell, "Factor k"));
        root->RelayoutTree();
        root->SetHighlightMode(0);
        view.show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        FreeCellTree(root);
        SetCellToolService(nullptr);
    }
    TDiagramView view;
    TCell* root = nullptr;
    TCell *q = nullptr, *s1 = nullptr, *s2 = nullptr, *inactive = nullptr, *k = nullptr;
};

TEST_F(DiagramView, BoxesMirrorTheCellsAndTheTreeDraws)
{
    ASSERT_EQ(view.Boxes().size(), 6u);
    TCellBoxWidget* box = view.BoxOf(s2);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->geometry(), s2->FBox.Rect);
    EXPECT_TRUE(s2->FBox.Caption.endsWith("..."));
    view.grab().save("/tmp/orvek_diagram.png");
}

void ExpectBoxesMirror(TDiagramView& view, TCell& cell)
{
    SCOPED_TRACE(cell.FCellName.Text.toStdString());
    TCellBoxWidget* box = view.BoxOf(&cell);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->geometry(), cell.FBox.Rect);
    EXPECT_EQ(box->isHidden(), !cell.FBox.Visible);
    EXPECT_EQ(box->toolTip(), cell.FBox.Hint);
    for (int i = 0; i < cell.ChildCount(); ++i)
        ExpectBoxesMirror(view, *cell.Child(i));
}

class HintsDouble : public CellHintService {
public:
    QString HintText(const TCell& cell) override { return cell.FCellName.Text + " = " + cell.FValue.Text; }
};

// A tree read from text tells the view of its cells once, when it has been read: each
// box then shows its cell's final state (the hint needs the fields read after the cell
// was made), and a cell pasted into a tree moves the boxes below it.
TEST_F(DiagramView, EveryBoxOfATreeReadFromTextTakesItsCellsFinalState)
{
    HintsDouble hints;
    SetCellHintService(&hints);
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    QByteArray text = root->SaveToText().toUtf8();
    FreeCellTree(root);
    CellIdCounter = 1;
    root = new TCell(&view, TPrenosInfoDoNovejBunky(), DiagramOriginY, DiagramOriginX, nullptr);
    QBuffer device(&text);
    device.open(QIODevice::ReadOnly);
    ASSERT_TRUE(root->LoadFromDevice(device));
    ASSERT_EQ(view.Boxes().size(), 6u);
    EXPECT_EQ(view.BoxOf(root)->toolTip(), QString::fromUtf8("Hmotnosť vzorky po sušení = 10"));
    ExpectBoxesMirror(view, *root);

    TCell* quantity = root->Child(0);
    TCell* below = root->Child(1);
    const int belowTop = below->FBox.Rect.top();
    QByteArray pasted = "BeginCell=9;\r\n  CellType=2;\r\n  CellName=pasted;\r\n  NrChildCells=0;\r\nEndCell=9;";
    QBuffer paste(&pasted);
    paste.open(QIODevice::ReadOnly);
    ASSERT_TRUE(quantity->LoadChildFromDevice(paste));
    EXPECT_GT(below->FBox.Rect.top(), belowTop);
    ExpectBoxesMirror(view, *root);
    SetCellHintService(nullptr);
}

TEST_F(DiagramView, ClicksReachTheCellAndTheButtonCollapses)
{
    ToolsDouble tools;
    SetCellToolService(&tools);
    TCellBoxWidget* box = view.BoxOf(s1);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(tools.clicked, s1);
    QTest::mouseDClick(view.BoxOf(k), Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(tools.viewed, k);

    const int kTop = k->FBox.Rect.top();
    TCellBoxWidget* qBox = view.BoxOf(q);
    QTest::mouseClick(qBox, Qt::LeftButton, {}, q->FExpandButton.Rect.center());
    EXPECT_FALSE(q->IsExpanded());
    EXPECT_FALSE(view.BoxOf(s1)->isVisible());
    EXPECT_EQ(view.BoxOf(k)->geometry().top(), kTop - 3 * (ZoomedCellHeight + ZoomedVertDistance));
    view.grab().save("/tmp/orvek_diagram_collapsed.png");
}

TEST_F(DiagramView, DestroyedCellsLeaveNoBoxesAndScrollPositionsStay)
{
    for (int i = 0; i < 40; ++i)
        k->AddChild(Info(kUncertaintyCell, QString("Source %1").arg(i)));
    QApplication::processEvents();
    view.verticalScrollBar()->setValue(200);
    root->RelayoutTree();
    EXPECT_EQ(view.verticalScrollBar()->value(), 200);
    k->DeleteAllChildren();
    QApplication::processEvents();
    EXPECT_EQ(view.Boxes().size(), 6u);
}

} // namespace
} // namespace orvek
