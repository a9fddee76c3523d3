#include "richtext/report_output.h"

#include "core/string_table.h"
#include "report_fixtures.h"
#include "richtext/report_texts.h"
#include "tests/support/dialog_script.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace orvek;
using namespace orvek::test;

namespace {

int ImageCount(const QTextDocument& doc)
{
    int images = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                ++images;
    return images;
}

class ReportOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        PreviewFooterVersion = "Orvek2010 (version 5.32)";
        PreviewFooterNotice = "Orvek - notice";
    }
};

TEST_F(ReportOutput, HeadLinesEndWithAnEmptyLine)
{
    const QString head = ReportHeadText(TemplateShortReportHead("Gauge", "Eva", "9.3.2026"));
    EXPECT_EQ(head,
        HeadingMarkup + GetString(333) + ":[cf1] Gauge\r" + HeadingMarkup + GetString(610) + ":[cf1] Eva\r"
            + HeadingMarkup + GetString(611) + ":[cf1] 9.3.2026\r\r");
    EXPECT_TRUE(ReportHeadText({}).isEmpty());
    const auto full = TemplateFullReportHead("Eva", "9.3.2026", "Gauge");
    EXPECT_EQ(full.size(), 3);
    EXPECT_EQ(full[2].Label, 612);
}

TEST_F(ReportOutput, SelectionCheckOfTheOutputActions)
{
    const struct {
        int mode, selected;
        bool allowed, warned;
    } cases[] = {
        { kReportCopy, 0, true, false },
        { kReportCopy, 3, true, false },
        { kReportPrint, 1, true, false },
        { kReportPrint, 2, false, false },
        { kReportPreview, 0, false, false },
        { kReportSave, 1, true, false },
        { kReportSave, 2, false, true },
        { kReportSave, 0, false, true },
    };
    auto& script = DialogScript::Instance();
    for (const auto& c : cases) {
        if (c.warned)
            script.AnswerMessage(mrCancel);
        EXPECT_EQ(OutputSelectionAllows(c.mode, c.selected), c.allowed) << c.mode << " " << c.selected;
        EXPECT_TRUE(script.AllAnswered()) << c.mode << " " << c.selected;
    }
}

TEST_F(ReportOutput, TheDiagramReplacesThePlaceholderAnywhereInTheReport)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const int before : { 10, 15000 }) {
        QTextDocument doc;
        doc.setPlainText(QString(before, 'x') + "\n" + DiagramPlaceholder + "\nend");
        ASSERT_TRUE(ReplaceDiagramPlaceholder(doc, picture)) << before;
        EXPECT_FALSE(doc.toPlainText().contains(DiagramPlaceholder)) << before;
        EXPECT_EQ(ImageCount(doc), 1) << before;
    }
    QTextDocument none;
    none.setPlainText("no placeholder");
    EXPECT_FALSE(ReplaceDiagramPlaceholder(none, picture));
    EXPECT_EQ(ImageCount(none), 0);
}

TEST_F(ReportOutput, FullReportWithTheDiagramSection)
{
    auto gauge = LoadReportModel("gum_h1_end_gauge.txt");
    gauge->Calculate();
    ReportSections = 27 | 32;
    QTextDocument doc;
    RenderReport(doc, FullReportMarkup(TemplateFullReportHead("Eva", "9.3.2026", "Gauge"), *gauge));
    EXPECT_EQ(ReportFontOption, 1);
    EXPECT_TRUE(doc.toPlainText().startsWith(GetString(610) + ": Eva"));
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    EXPECT_TRUE(ReplaceDiagramPlaceholder(doc, picture));
}

TEST_F(ReportOutput, FormulaPage)
{
    auto gauge = LoadReportModel("gum_h1_end_gauge.txt");
    gauge->Calculate();
    const QStringList lines = FormulaPageLines(*gauge, "l = first equation");
    ASSERT_EQ(lines.size(), 26);
    EXPECT_EQ(lines[0], "*******************************  MS Excel  *******************************");
    EXPECT_EQ(lines[2], GetString(1143));
    EXPECT_EQ(lines[8], "U\t=t(eff)*uc");
    EXPECT_EQ(lines[14], "*******************************  " + ProgramName + "  *******************************");
    EXPECT_EQ(lines[18], "l = first equation");

    QTextDocument doc;
    SetFormulaPage(doc, lines);
    EXPECT_EQ(doc.begin().charFormat().font().family(), "Arial");
    EXPECT_TRUE(doc.toPlainText().startsWith(lines[0] + "\n \n"));

    // A model with a quantity lacking its value lists only the legend.
    gauge->Child(0)->FValue.Text.clear();
    const QStringList missing = FormulaPageLines(*gauge, "l = first equation");
    ASSERT_EQ(missing.size(), 1);
    EXPECT_FALSE(missing[0].isEmpty());
}

TEST_F(ReportOutput, FooterLinesCloseTheDocument)
{
    QTextDocument doc;
    doc.setHtml("<b>bold report</b>");
    QFont small("Arial", 8);
    small.setItalic(true);
    AppendFooterLines(doc, &small);
    const QTextBlock last = doc.lastBlock();
    EXPECT_EQ(last.text(), PreviewFooterNotice);
    EXPECT_EQ(last.previous().text(), PreviewFooterVersion);
    QTextCursor end(last);
    end.movePosition(QTextCursor::EndOfBlock);
    const QTextCharFormat format = end.charFormat();
    EXPECT_TRUE(format.fontItalic());
    EXPECT_EQ(format.fontPointSize(), 8);
    EXPECT_NE(format.fontWeight(), QFont::Bold);
}

} // namespace
