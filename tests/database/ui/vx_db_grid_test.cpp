#include "database/ui/vx_db_grid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

struct GridFixture {
    GridFixture()
    {
        model.setRowCount(5);
        model.setColumnCount(3);
        grid.setModel(&model);
        grid.resize(400, 300);
        grid.show();
        grid.OnRowIndicatorClick = [this](int row) { rows << row; };
        grid.OnMainIndicatorClick = [this] { ++titleClicks; };
    }
    QPoint IndicatorOfRow(int row) const { return QPoint(5, grid.verticalHeader()->sectionViewportPosition(row) + 3); }
    QStandardItemModel model;
    TVxDBGrid grid;
    QList<int> rows;
    int titleClicks = 0;
};

} // namespace

TEST(VxDBGrid, IndicatorClicksReportTheirRowUnlessTheMouseMoved)
{
    GridFixture f;
    QWidget* indicators = f.grid.verticalHeader()->viewport();
    QTest::mouseClick(indicators, Qt::LeftButton, {}, f.IndicatorOfRow(2));
    EXPECT_EQ(f.rows, QList<int> { 3 });
    EXPECT_EQ(f.grid.PressedIndicatorRow, -1);

    QTest::mousePress(indicators, Qt::LeftButton, {}, f.IndicatorOfRow(0));
    EXPECT_TRUE(f.grid.RowIndicatorPressed());
    QMouseEvent move(QEvent::MouseMove, QPointF(f.IndicatorOfRow(1)),
        QPointF(indicators->mapToGlobal(f.IndicatorOfRow(1))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(indicators, &move);
    QTest::mouseRelease(indicators, Qt::LeftButton, {}, f.IndicatorOfRow(1));
    EXPECT_EQ(f.rows, QList<int> { 3 });

    auto* corner = f.grid.findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    QTest::mouseClick(corner, Qt::LeftButton);
    EXPECT_EQ(f.titleClicks, 1);
    EXPECT_EQ(f.rows, QList<int> { 3 });
}

TEST(VxDBGrid, ColumnMovingAndRowHeightFactor)
{
    GridFixture f;
    EXPECT_FALSE(f.grid.ColMovingEnabled());
    EXPECT_FALSE(f.grid.horizontalHeader()->sectionsMovable());
    f.grid.SetColMovingEnabled(true);
    EXPECT_TRUE(f.grid.horizontalHeader()->sectionsMovable());
    EXPECT_EQ(f.grid.RowHeightFactor(), 1);
    const int height = f.grid.verticalHeader()->defaultSectionSize();
    f.grid.SetRowHeightFactor(3);
    EXPECT_EQ(f.grid.verticalHeader()->defaultSectionSize(), 3 * height);
}
