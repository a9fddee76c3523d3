#include "core/drawing.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace orvek;

TEST(Drawing, RectAndLineUseTheirColoursAndRestoreTheBrush)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBrush(Qt::green);
    // $00BBGGRR: 0x0000FF is red, 0xFF0000 blue.
    DrawFilledRect(painter, 5, 5, 0x0000FF, 0xFF0000, 10, 20);
    EXPECT_EQ(painter.brush().color(), QColor(Qt::green));
    DrawColoredLine(painter, 0, 30, 0x00FF00, 30, 39);
    painter.end();
    EXPECT_EQ(image.pixelColor(15, 10), QColor(255, 0, 0)); // fill
    EXPECT_EQ(image.pixelColor(5, 10), QColor(0, 0, 255)); // outline, left edge
    EXPECT_EQ(image.pixelColor(25, 10), QColor(0, 0, 255)); // right edge at X + Width
    EXPECT_EQ(image.pixelColor(15, 20), QColor(Qt::white)); // below Y + Height
    EXPECT_EQ(image.pixelColor(20, 30), QColor(0, 255, 0)); // the line
    EXPECT_EQ(ColorFromBgr(0x123456), QColor(0x56, 0x34, 0x12));
    EXPECT_NE(ReadOnlyColor(true), ReadOnlyColor(false));
    EXPECT_EQ(EnabledColor(false), ReadOnlyColor(true));
}
