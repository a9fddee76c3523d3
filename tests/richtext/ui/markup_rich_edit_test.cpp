#include "platform/ui/rich_edit98.h"
#include "richtext/markup_render.h"
#include "richtext/report_table.h"
#include "richtext/ui/markup_rich_edit.h"

#include <QDir>
#include <QImage>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;

namespace {
QString SampleReport()
{
    const QString CR = "\r";
    QString text = "[cfcenter][cf3][cfsize14]Uncertainty budget[cf1]" + CR
        + "Model: [cf2]m[cf1][cf15]x[cf1] = [cf2]m[cf1][cf15]r[cf1] + ;gd[cf2]m[cf1]" + CR
        + "Temperature 20 ;dgC ;pm 0,5 K, ;gn = ;NE, k ;me 2" + CR
        + "[cfcolorred]Warning:[cf1] ;aui;agi;ago;akl;aaL ;akS;akC" + CR;
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    t.Clear();
    t.ColCount = 4;
    t.RowCount = 1;
    const char* heads[] = { "Quantity", "Estimate", "u(x[cf1][cf3][cf15]i[cf1][cf3])", "Distribution" };
    for (int i = 1; i <= 4; ++i)
        t.Cells(i, 1) = QString("[cf3]%1[cf1]").arg(heads[i - 1]);
    const char* rows[][4] = { { "[cf2]m[cf1][cf15]r[cf1]", "10 000,005 g", "0,045 mg", "normal" },
        { ";gd[cf2]m[cf1]", "0,000 g", "0,029 mg", "rectangular" },
        { "10[cf11]-3[cf1] x", "1,2", "0,1 ;gm", "{\\rtf1 {\\i rtf} cell}" } };
    for (const auto& row : rows) {
        ++t.RowCount;
        for (int i = 1; i <= 4; ++i)
            t.Cells(i, t.RowCount) = row[i - 1];
    }
    QString table;
    BuildTableMarkup(true, 0, 10, table, 50);
    return text + table + CR + "[cfisurl]https://example.org/help[cf1]" + CR + "[cfright]end";
}
} // namespace

TEST(MarkupRichEdit, RendersAReportIntoTheControl)
{
    TRichEdit98 edit;
    edit.resize(640, 420);
    edit.setReadOnly(true);
    RenderMarkupToRichEdit(10, "Arial", true, edit, SampleReport());
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_FALSE(edit.Modified());
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.AutoURLDetect(), adDefault);
    const QString plain = edit.toPlainText();
    EXPECT_TRUE(plain.contains(QString::fromUtf8("20 °C ± 0,5 K, ν = ∞, k ≥ 2"))) << plain.toStdString();
    EXPECT_TRUE(plain.contains(QString::fromUtf8("ďěňľĹ ŠČ")));
    EXPECT_TRUE(plain.contains("rtf cell"));
    // Read back: the heading's codes are in the reader's normal form.
    QString markup;
    EXPECT_FALSE(RichEditToMarkup(edit, markup));
    EXPECT_TRUE(markup.startsWith("[cf3]Uncertainty budget[cf1]\r")) << markup.toStdString();
    EXPECT_TRUE(markup.contains("20 ;dgC ;pm 0,5 K, ;gn = ;NE, k ;me 2"));
    edit.show();
    const QImage picture = edit.grab().toImage();
    picture.save(QDir::tempPath() + "/richtext_report.png");
    EXPECT_FALSE(picture.isNull());
    // Some ink: the report is drawn.
    int dark = 0;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2)
            dark += qGray(picture.pixel(x, y)) < 100;
    EXPECT_GT(dark, 200);
}

TEST(MarkupRichEdit, ApplyAndPlainTextOnTheControl)
{
    TRichEdit98 edit;
    edit.setPlainText("x [cf3]y;ga[cf1]");
    ApplyMarkupInRichEdit(10, edit);
    QString plain;
    RichEditToPlainText(edit, plain);
    EXPECT_EQ(plain, "x ya");
    QString markup;
    RichEditToMarkup(edit, markup);
    EXPECT_EQ(markup, "x [cf3]y;ga[cf1]");
}
