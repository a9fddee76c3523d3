#include "../richtext/report_fixtures.h"
#include "../support/dialog_script.h"
#include "core/common_vars.h"
#include "core/number_format.h"
#include "office_convert.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_render.h"
#include "richtext/report_texts.h"
#include "richtext/spreadsheet_listing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

QString ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString Escaped(QString text)
{
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace("\"", "&quot;");
}

// A flat spreadsheet whose column B holds uc, Kor, eff and t(eff) of the listing, each
// a named cell, so that the formulas find the names they use.
QByteArray Spreadsheet(const QString& uc, const QString& kor, const QString& eff, const QString& teff)
{
    QString rows;
    const QString names[] = { "uc", "Kor", "eff", "teff" };
    const QString formulas[] = { uc, kor.isEmpty() ? "0" : kor, eff, teff };
    for (int i = 0; i < 4; ++i)
        rows += "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>" + names[i]
            + "</text:p></table:table-cell><table:table-cell table:formula=\"of:=" + Escaped(formulas[i])
            + "\" office:value-type=\"float\" office:value=\"0\"/></table:table-row>";
    QString ranges;
    for (int i = 0; i < 3; ++i)
        ranges += QString("<table:named-range table:name=\"%1\" table:base-cell-address=\"$Sheet1.$A$1\" "
                          "table:cell-range-address=\"$Sheet1.$B$%2\"/>")
                      .arg(names[i])
                      .arg(i + 1);
    return QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                   "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                   "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                   "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                   "xmlns:of=\"urn:oasis:names:tc:opendocument:xmlns:of:1.2\" "
                   "office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">"
                   "<office:body><office:spreadsheet><table:table table:name=\"Sheet1\">"
                   "<table:table-column table:number-columns-repeated=\"2\"/>"
        + rows + "</table:table><table:named-expressions>" + ranges
        + "</table:named-expressions></office:spreadsheet></office:body></office:document>")
        .toUtf8();
}

QString FormulaOf(const QString& line, const QString& name)
{
    for (const QString& part : line.split('\r'))
        if (part.startsWith(name + "\t="))
            return part.mid(name.size() + 2);
    return {};
}

class Office : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        test::DialogScript::Instance().Reset();
        ASSERT_TRUE(folder.isValid());
    }
    void TearDown() override { LanguageID = EditionFlag; }
    QTemporaryDir folder;
};

// The full report's RTF, read by Writer, holds every number of the budget.
TEST_F(Office, WriterReadsTheFullReport)
{
    auto l = LoadReportModel("gum_h1_end_gauge.txt");
    l->Calculate();
    ReportSections = 31;
    QTextDocument doc;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, &doc, FullReportText(*l));
    const QString rtf = folder.path() + "/report.rtf";
    QFile file(rtf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteRtf(&doc));
    file.close();
    if (qEnvironmentVariableIsSet("ORVEK_KEEP_REPORT"))
        QFile::copy(rtf, qEnvironmentVariable("ORVEK_KEEP_REPORT"));

    QString error;
    const QString text = Convert(rtf, "txt:Text (encoded):UTF8", "txt", error);
    ASSERT_FALSE(text.isEmpty()) << error.toStdString();
    const QString content = ReadAll(text);
    for (const char* number : { "50.000838", "50.000623", "0.000032", "0.000025", "0.0000097", "0.0000250",
             "0.00000968", "0.00000289", "-0.000575", "-0.0000166", "±0.000068", "2.12", "0.00000058", "0.029", "∞" })
        EXPECT_TRUE(content.contains(QString::fromUtf8(number))) << number;
    EXPECT_FALSE(content.contains("[cf")) << "mark-up codes on the page";
    EXPECT_FALSE(content.contains(":TABLE_"));
}

// The formula listing computed by Calc gives the program's combined uncertainty.
TEST_F(Office, CalcComputesTheListing)
{
    for (const char* name : { "listing_typed.txt", "listing_correlated.txt" }) {
        auto y = LoadReportModel(name);
        y->Calculate();
        QString symbolic, expanded, legend, lines, eff, teff;
        SpreadsheetFormulas(*y, symbolic, expanded, legend, lines, eff, teff);
        const QString sheet = folder.path() + "/" + QFileInfo(name).completeBaseName() + ".fods";
        QFile file(sheet);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Spreadsheet(
            FormulaOf(expanded, "uc"), FormulaOf(expanded, "Kor"), FormulaOf(eff, "eff"), FormulaOf(teff, "t(eff)")));
        file.close();
        QString error;
        const QString csv = Convert(sheet, "csv:Text - txt - csv (StarCalc):44,34,76", "csv", error);
        ASSERT_FALSE(csv.isEmpty()) << error.toStdString();
        const QStringList rows = ReadAll(csv).split('\n');
        ASSERT_GE(rows.size(), 4) << ReadAll(csv).toStdString();
        const QString uc = rows[0].section(',', 1, 1);
        EXPECT_EQ(FormatSignificantText(6, uc), FormatSignificantText(6, y->FCombinedUncertainty)) << name;
        QString printedValue, printedU, calcValue, calcU;
        FormatValueAndUncertainty(y->FValue.Text, y->FCombinedUncertainty, printedValue, printedU);
        FormatValueAndUncertainty(y->FValue.Text, uc, calcValue, calcU);
        EXPECT_EQ(calcU, printedU) << name;
        // The degrees of freedom are whole and positive, the Student factor above 1.96.
        EXPECT_GT(rows[2].section(',', 1, 1).toDouble(), 1) << rows[2].toStdString();
        EXPECT_GT(rows[3].section(',', 1, 1).toDouble(), 1.96) << rows[3].toStdString();
    }
}

} // namespace
