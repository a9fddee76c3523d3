// RTF saved by a word processor (small documents made once with LibreOffice Writer and
// kept under tests/data/rtf) loads with its formats.

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "tests/platform/rtf_document_dump.h"

#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;
using orvek::test::DumpDocument;

namespace {
QByteArray Fixture(const char* name)
{
    QFile file(QStringLiteral(ORVEK_TEST_DATA_DIR "/rtf/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}
} // namespace

TEST(RtfWordProcessor, FormatsTableAndLettersLoad)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtfDocument(Fixture("writer_formats.rtf"), &doc));
    const QString dump = DumpDocument(&doc);
    const std::string d = dump.toStdString();
    EXPECT_TRUE(dump.contains("[bold] font=Arial pt=12 b")) << d;
    EXPECT_TRUE(dump.contains("[italic] font=Arial pt=12 i")) << d;
    EXPECT_TRUE(dump.contains("[under] font=Arial pt=12 u")) << d;
    EXPECT_TRUE(dump.contains("[2] font=Arial pt=12 sup")) << d;
    EXPECT_TRUE(dump.contains("[2] font=Arial pt=12 sub")) << d;
    EXPECT_TRUE(dump.contains("[red] font=Arial pt=12 fg=#ff0000")) << d;
    EXPECT_TRUE(dump.contains(QString::fromUtf8("Šťastný ľad ďaleko — α β Ω ± ∞ € ő"))) << d;
    EXPECT_TRUE(dump.contains("P align=2")) << d;
    EXPECT_TRUE(dump.contains("P align=1")) << d;
    EXPECT_TRUE(dump.contains("TABLE 3x2")) << d;
    EXPECT_TRUE(dump.contains("[Nr.]")) << d;
    EXPECT_TRUE(dump.contains("[{y}\\z]")) << d;
    // No style sheet, generator or font-table text leaks into the document.
    EXPECT_FALSE(doc.toPlainText().contains("Normal")) << d;
    EXPECT_FALSE(doc.toPlainText().contains("LibreOffice")) << d;
    // What we write of it reads back the same.
    QTextDocument back;
    ASSERT_TRUE(ReadRtfDocument(WriteRtf(&doc), &back));
    EXPECT_EQ(DumpDocument(&back).toStdString(), d);
}

TEST(RtfWordProcessor, PictureLoadsAndSurvives)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtfDocument(Fixture("writer_picture.rtf"), &doc));
    const QString dump = DumpDocument(&doc);
    // One picture only: the metafile alternative is skipped.
    EXPECT_EQ(dump.count("IMG 16x8"), 1) << dump.toStdString();
    EXPECT_TRUE(dump.contains("shown 32x16 pixel0=ffc81e28")) << dump.toStdString();
    QTextDocument back;
    ASSERT_TRUE(ReadRtfDocument(WriteRtf(&doc), &back));
    EXPECT_EQ(DumpDocument(&back).toStdString(), dump.toStdString());
}
