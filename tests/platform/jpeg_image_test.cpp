#include "platform/jpeg_image.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvek;

namespace {
QByteArray ShippedPicture()
{
    QFile file(QDir::cleanPath(QStringLiteral(ORVEK_TEST_DATA_DIR) + "/../../data/Pictures/splash.jpg"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}
} // namespace

TEST(JpegImage, DecodesTheShippedPicture)
{
    QString error;
    const QImage image = DecodeJpeg(ShippedPicture(), &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    EXPECT_EQ(image.size(), QSize(480, 300));
    // The top is dark blue, the bottom lighter.
    EXPECT_LT(image.pixelColor(5, 2).blue(), image.pixelColor(5, 297).blue() + 1);
    EXPECT_GT(image.pixelColor(5, 2).blue(), image.pixelColor(5, 2).red());
}

TEST(JpegImage, DamagedDataGivesNoPictureAndAReason)
{
    const QByteArray good = ShippedPicture();
    const QByteArray cases[] = {
        {},
        "not a picture at all",
        good.left(200), // header only
        good.left(good.size() / 2), // cut in the middle of the data
        QByteArray(good).replace(2, 1, "\x00"),
    };
    for (const QByteArray& data : cases) {
        QString error;
        EXPECT_TRUE(DecodeJpeg(data, &error).isNull()) << data.size();
        EXPECT_FALSE(error.isEmpty()) << data.size();
    }
    QString error;
    EXPECT_TRUE(LoadJpegFile("/nonexistent/x.jpg", &error).isNull());
    EXPECT_TRUE(error.contains("x.jpg"));
}
