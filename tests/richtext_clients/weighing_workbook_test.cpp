// Workbooks written by LibreOffice Calc, read through the program's workbook reader:
// the same cell texts from .xls, .xlsx and .ods, and a weighing import into a record
// of the database.

#include "../support/user_database_fixture.h"
#include "../sources/comma_locale.h"
#include "../sources/weighing_fixtures.h"
#include "core/dates.h"
#include "core/number_text.h"
#include "office_convert.h"
#include "platform/workbook_reader.h"
#include "sources/chart_data.h"
#include "sources/weighing_import.h"
#include "sources/weighing_import_command.h"
#include "sources/workbook_text.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <ostream>

using namespace orvek;
using namespace orvek::test;

namespace {

struct Format {
    const char* extension;
    const char* filter;
};
void PrintTo(const Format& format, std::ostream* os)
{
    *os << format.extension;
}

// A gold workbook of Rows complete rows from row 6 on, as flat XML.
QByteArray LargeGoldWorkbook(int rows)
{
    QString body;
    for (int i = 0; i < rows; ++i) {
        const QDate date = QDate(2020, 1, 1).addDays(i);
        body += QString("<table:table-row><table:table-cell table:style-name=\"ceDate\" office:value-type=\"date\" "
                        "office:date-value=\"%1\"/><table:table-cell/>"
                        "<table:table-cell office:value-type=\"float\" office:value=\"0.5\"/>"
                        "<table:table-cell office:value-type=\"float\" office:value=\"0.4%2\"/><table:table-cell/>"
                        "<table:table-cell office:value-type=\"float\" office:value=\"0.5\"/>"
                        "<table:table-cell office:value-type=\"float\" office:value=\"0.49\"/></table:table-row>")
                    .arg(date.toString(Qt::ISODate))
                    .arg(i % 1000, 3, 10, QChar('0'));
    }
    return QString(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles><number:date-style style:name="N1"><number:day/><number:text>.</number:text>
<number:month/><number:text>.</number:text><number:year number:style="long"/></number:date-style>
<style:style style:name="ceDate" style:family="table-cell" style:data-style-name="N1"/></office:automatic-styles>
<office:body><office:spreadsheet><table:table table:name="Zlato">
<table:table-row><table:table-cell/><table:table-cell/><table:table-cell office:value-type="string">
<text:p>ZLATO</text:p></table:table-cell></table:table-row>
<table:table-row table:number-rows-repeated="4"><table:table-cell/></table:table-row>)")
               .toUtf8()
        + body.toUtf8() + "</table:table></office:spreadsheet></office:body></office:document>";
}

// The main window's part of the import: the target record's diagram loaded from the
// database, the data applied, the diagram saved back.
class DatabaseHost : public TWeighingImportHost {
public:
    explicit DatabaseHost(QSqlDatabase db)
        : db_(db)
    {
    }
    void SetTimerEnabled(bool) override { }
    bool CurrentRecord(int& id, QString& name) override
    {
        id = currentId;
        name = currentName;
        return true;
    }
    void GoToRecord() override
    {
        QSqlQuery query(db_);
        ASSERT_TRUE(ExecBound(query, "SELECT Strom, NazovMerania FROM TreeDB WHERE ID = ?", { ImportTargetRecordID }));
        ASSERT_TRUE(query.next());
        if (query.value(1).toString() != ImportTargetRecordName)
            return;
        QByteArray text = query.value(0).toString().toUtf8();
        QBuffer buffer(&text);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        TPrenosInfoDoNovejBunky info;
        TCell root(nullptr, info, 0, 0, nullptr);
        QString error;
        ASSERT_TRUE(root.LoadFromDevice(buffer, &error)) << error.toStdString();
        if (!root.ApplyImportedChartData(AssayRowCount, AssaySizesText, AssayValuesText, AssayDatesText))
            return;
        ASSERT_TRUE(
            ExecBound(query, "UPDATE TreeDB SET Strom = ? WHERE ID = ?", { root.SaveToText(), ImportTargetRecordID }));
        ++applied;
    }

    int currentId = 0;
    QString currentName;
    int applied = 0;

private:
    QSqlDatabase db_;
};

class CalcWorkbooks : public UserDatabase, public ::testing::WithParamInterface<Format> {
protected:
    void SetUp() override
    {
        UserDatabase::SetUp();
        ASSERT_TRUE(folder.isValid());
        locale.emplace(); // after the start-up of the core, which takes the machine's separators
        OstrevinMode = true;
        WeighingOpenDialogFileName.clear();
        QFile::remove(AppDir + "ImportAu.ini");
    }
    void TearDown() override
    {
        QFile::remove(AppDir + "ImportAu.ini");
        OstrevinMode = false;
        locale.reset();
        UserDatabase::TearDown();
        // The next format starts from the empty database again.
        QFile::remove(FolderDatabasePath(DatabaseDir));
    }

    // The gold import into a record whose first source is a subgroup chart, and the
    // record as stored afterwards.
    void ImportIntoRecord(const QString& workbook)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (GroupID, NazovMerania, Strom, IDDB1) VALUES (1, ?, ?, '1')",
            { QString::fromUtf8("Zlato – regulačný diagram"), ChartModel(12)->SaveToText() }));
        DatabaseHost host(db);
        host.currentId = query.lastInsertId().toInt();
        host.currentName = QString::fromUtf8("Zlato – regulačný diagram");
        DialogScript& script = DialogScript::Instance();
        script.AnswerMessage(mrYes);
        script.AnswerMessage(mrYes);
        script.AnswerOpenFile(workbook);
        ImportWeighingData(kWeighingGold, host);
        EXPECT_TRUE(script.AllAnswered());
        ASSERT_EQ(host.applied, 1);

        ASSERT_TRUE(ExecBound(query, "SELECT Strom FROM TreeDB WHERE ID = ?", { host.currentId }));
        ASSERT_TRUE(query.next());
        QByteArray stored = query.value(0).toString().toUtf8();
        QBuffer buffer(&stored);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        ASSERT_TRUE(root.LoadFromDevice(buffer));
        const TVstupStandardnejNeistoty& rec = FirstSource(root);
        EXPECT_EQ(rec.PM_8, 3);
        EXPECT_EQ(rec.PBM_8, "2@2@2@");
        EXPECT_EQ(rec.VM_8.Text, "916.600@917.997@960.000@950.000@900.000@800.000@");
        EXPECT_EQ(rec.DM_8, "31.12.2007@2.1.2008@29.2.2008@");
        TChartData data;
        QString reason;
        EXPECT_TRUE(LoadChartDataFromInput(data, rec, reason)) << reason.toStdString();
        EXPECT_TRUE(data.ChartAllDated);
    }

    std::optional<CommaDecimalsPointDates> locale;
    QTemporaryDir folder;
};

TEST_P(CalcWorkbooks, ReadAndImported)
{
    const Format format = GetParam();
    const QString small = folder.filePath("gold_weighing.fods");
    const QString large = folder.filePath("gold_999.fods");
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEK_TEST_DATA_DIR "/workbooks/gold_weighing.fods"), small));
    QFile largeFile(large);
    ASSERT_TRUE(largeFile.open(QIODevice::WriteOnly));
    largeFile.write(LargeGoldWorkbook(999));
    largeFile.close();
    QString error;
    ASSERT_TRUE(ConvertWithOffice({ small, large }, format.filter, error)) << error.toStdString();
    const QString smallBook = folder.filePath(QString("gold_weighing.") + format.extension);
    const QString largeBook = folder.filePath(QString("gold_999.") + format.extension);
    ASSERT_TRUE(QFile::exists(smallBook) && QFile::exists(largeBook)) << error.toStdString();

    // The same texts from every format: dates, numbers with decimals, texts, empty
    // cells, formula results, two sheets.
    WorkbookFileReader reader;
    WorkbookError openError;
    ASSERT_TRUE(reader.Open(smallBook, &openError)) << int(openError);
    EXPECT_EQ(reader.SheetCount(), 2);
    const struct {
        int sheet;
        const char* address;
        const char* text;
    } cells[] = {
        { 1, "C1", "Súhrn váženia" },
        { 1, "A6", "" },
        { 2, "C1", "Skúška ZLATA: zlato" },
        { 2, "A6", "31.12.2007" },
        { 2, "B6", "vzorka 1" },
        { 2, "C6", "0,5" },
        { 2, "D6", "0,4583" },
        { 2, "E6", "" },
        { 2, "G6", "0,4601" },
        { 2, "A7", "2.1.2008" },
        { 2, "G7", "1,9" },
        { 2, "A8", "29.2.2008" }, // a formula giving a date
        { 2, "D8", "0,72" }, // a formula giving a number
        { 2, "A9", "" },
        { 3, "C1", "" },
    };
    for (const auto& c : cells)
        EXPECT_EQ(WorkbookCellText(reader.ReadCell(c.sheet, c.address)), QString::fromUtf8(c.text))
            << c.sheet << "!" << c.address;
    reader.Close();

    ImportIntoRecord(smallBook);

    // 999 rows, each sheet parsed once when the workbook opens.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(ReadWeighingWorkbook(kWeighingGold, largeBook));
    const qint64 ms = timer.elapsed();
    EXPECT_EQ(AssayRowCount, 999);
    EXPECT_EQ(AssayRows[998].ValueA, "999.600");
    EXPECT_EQ(AssayRows[998].TextA, DateToShortText(QDate(2020, 1, 1).addDays(998)));
    RecordProperty("read_999_rows_ms", int(ms));
    std::printf("ReadWeighingWorkbook, 999 rows, %s: %lld ms\n", format.extension, static_cast<long long>(ms));
}

INSTANTIATE_TEST_SUITE_P(Formats, CalcWorkbooks,
    ::testing::Values(
        Format { "xls", "xls:MS Excel 97" }, Format { "xlsx", "xlsx:Calc Office Open XML" }, Format { "ods", "ods" }),
    [](const ::testing::TestParamInfo<Format>& info) { return std::string(info.param.extension); });

} // namespace
