#include "../report_fixtures.h"
#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/cell_painter.h"
#include "richtext/ui/diagram_picture.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

class Picture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        ZoomCoefficient = 1.0;
        ScaleLayoutToZoom();
        DiagramPrintColors = 1;
        model = LoadReportModel("gum_h1_end_gauge.txt");
        model->RelayoutTree();
    }
    void TearDown() override
    {
        ZoomCoefficient = 1.0;
        ScaleLayoutToZoom();
        LanguageID = EditionFlag;
    }
    std::unique_ptr<TCell> model;
};

bool HasColor(const QImage& image, const QColor& color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

TEST_F(Picture, ZoomAboveOneDrawsAtOneAndIsRestored)
{
    const QImage atOne = ExportPicture(*model, 0, 1);
    ASSERT_FALSE(atOne.isNull());
    EXPECT_EQ(QApplication::clipboard()->image().size(), atOne.size());

    ZoomCoefficient = 1.5;
    ScaleLayoutToZoom();
    model->RelayoutTree();
    const QRect zoomedBox = model->Child(1)->FBox.Rect;
    const QImage atOneAndHalf = ExportPicture(*model, 0, 1);
    EXPECT_EQ(atOneAndHalf.size(), atOne.size());
    EXPECT_EQ(atOneAndHalf, atOne);
    EXPECT_DOUBLE_EQ(ZoomCoefficient, 1.5);
    EXPECT_EQ(model->Child(1)->FBox.Rect, zoomedBox);
    atOneAndHalf.save("/tmp/reports_work/diagram_picture.png");

    // Below 1.0 the picture is drawn at the zoom in use.
    ZoomCoefficient = 0.5;
    ScaleLayoutToZoom();
    model->RelayoutTree();
    EXPECT_LT(ExportPicture(*model, 0, 1).height(), atOne.height());
}

TEST_F(Picture, ExtentOffsetsAndCollapsedBranches)
{
    int right = 0, bottom = 0;
    PictureBounds(*model, right, bottom);
    int lowest = 0;
    for (auto& c : model->FChildren)
        for (auto& s : c->FChildren)
            lowest = std::max(lowest, s->FBox.Rect.top());
    EXPECT_EQ(bottom, lowest + 2 * CellHeight);

    // A collapsed branch is neither counted nor drawn.
    const QImage full = ExportPicture(*model, 0, 1);
    model->SetExpanded(false);
    int r2 = 0, b2 = 0;
    PictureBounds(*model, r2, b2);
    EXPECT_EQ(b2, model->FBox.Rect.top() + 2 * CellHeight);
    EXPECT_LT(ExportPicture(*model, 0, 1).height(), full.height());

    // A root left of and above the origin is shifted into view.
    model->SetExpanded(true);
    model->FBox.Rect.moveTo(DiagramOriginX - 30, DiagramOriginY - 7);
    PictureBounds(*model, r2, b2);
    EXPECT_EQ(PictureOffsetX, 30);
    EXPECT_EQ(PictureOffsetY, 7);
}

TEST_F(Picture, PrintColoursAndScaledPicture)
{
    const QColor boxColor = ColorFromBGR(model->FBox.Color);
    ASSERT_NE(boxColor, QColor(Qt::white));
    DiagramPrintColors = 1;
    const QImage coloured = ExportPicture(*model, 0, 1);
    EXPECT_TRUE(HasColor(coloured, boxColor));
    DiagramPrintColors = 0;
    const QImage white = ExportPicture(*model, 0, 1);
    EXPECT_FALSE(HasColor(white, boxColor));
    EXPECT_TRUE(HasColor(white, Qt::black));

    const QImage one = ExportPicture(*model, 1, 1);
    const QImage two = ExportPicture(*model, 1, 2);
    EXPECT_EQ(two.width(), 2 * one.width());
    EXPECT_EQ(two.height(), 2 * one.height());
    EXPECT_EQ(two.copy(0, 0, one.width(), one.height()), one); // same coordinates
    EXPECT_TRUE(ExportPicture(*model, 2, 1).isNull());
}

} // namespace
