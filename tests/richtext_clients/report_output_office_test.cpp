#include "../richtext/report_fixtures.h"
#include "core/string_table.h"
#include "office_convert.h"
#include "platform/rtf_writer.h"
#include "richtext/report_output.h"
#include "richtext/report_texts.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

QString ReadText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A saved full report as the report windows write it (head, diagram picture, footer
// lines), read by Writer.
TEST(OfficeReportOutput, WriterReadsASavedFullReport)
{
    ResetReportSettings();
    PreviewFooterVersion = "Orvek2010 (version 5.32)";
    PreviewFooterNotice = "Orvek - notice";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto gauge = LoadReportModel("gum_h1_end_gauge.txt");
    gauge->Calculate();
    ReportSections = 31 | 32;
    QTextDocument doc;
    RenderReport(doc, FullReportMarkup(TemplateFullReportHead("Eva Nová", "9.3.2026", "Gauge block"), *gauge));
    QImage picture(120, 60, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(ReplaceDiagramPlaceholder(doc, picture));
    AppendFooterLines(doc);
    const QString rtf = folder.path() + "/saved.rtf";
    QFile file(rtf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteRtf(&doc));
    file.close();

    QString error;
    const QString text = Convert(rtf, "txt:Text (encoded):UTF8", "txt", error);
    ASSERT_FALSE(text.isEmpty()) << error.toStdString();
    QStringList lines;
    for (const QString& line : ReadText(text).split('\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.first(), GetString(610) + ": Eva Nová");
    EXPECT_EQ(lines.last(), PreviewFooterNotice);
    EXPECT_EQ(lines[lines.size() - 2], PreviewFooterVersion);
    EXPECT_FALSE(lines.join('\n').contains(DiagramPlaceholder));

    const QString html = Convert(rtf, "html:XHTML Writer File:UTF8", "html", error);
    ASSERT_FALSE(html.isEmpty()) << error.toStdString();
    EXPECT_TRUE(ReadText(html).contains("<img")) << "the picture of the diagram is on the page";
}

} // namespace
