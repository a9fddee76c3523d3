#include "platform/workbook_parts.h"
#include "platform/workbook_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

using namespace orvek;

namespace {

using Kind = WorkbookCell::Kind;

// Writes a zip archive with the given members.
bool WriteZip(const QString& path, const std::vector<std::pair<const char*, QByteArray>>& members)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& [name, data] : members) {
        zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        if (!source || zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) < 0)
            return false;
    }
    return zip_close(archive) == 0;
}

void ExpectCell(const WorkbookReader& reader, int sheet, const char* address, Kind kind, const QString& text = {},
    double number = 0, QDate date = {})
{
    SCOPED_TRACE(std::to_string(sheet) + "!" + address);
    const WorkbookCell cell = reader.ReadCell(sheet, address);
    EXPECT_EQ(cell.kind, kind);
    EXPECT_EQ(cell.text, text);
    EXPECT_EQ(cell.number, number);
    EXPECT_EQ(cell.date, date);
}

} // namespace

TEST(WorkbookReader, CellAddresses)
{
    const struct {
        const char* address;
        bool ok;
        int row, column;
    } cases[] = {
        { "C1", true, 1, 3 },
        { "a6", true, 6, 1 },
        { "AA10", true, 10, 27 },
        { "XFD1048576", true, 1048576, 16384 },
        { "XFE1", false, 0, 0 },
        { "A1048577", false, 0, 0 },
        { "A0", false, 0, 0 },
        { "1A", false, 0, 0 },
        { "A", false, 0, 0 },
        { "", false, 0, 0 },
        { "C1:D2", false, 0, 0 },
        { "ZZZZZZZZZZZZZ1", false, 0, 0 },
    };
    for (const auto& c : cases) {
        int row = 0, column = 0;
        EXPECT_EQ(ParseCellAddress(c.address, row, column), c.ok) << c.address;
        if (c.ok) {
            EXPECT_EQ(row, c.row) << c.address;
            EXPECT_EQ(column, c.column) << c.address;
        }
    }
}

TEST(WorkbookReader, SerialDatesInBothDateSystems)
{
    const struct {
        double serial;
        bool date1904;
        QDate date;
    } cases[] = {
        { 1, false, QDate(1900, 1, 1) },
        { 59, false, QDate(1900, 2, 28) },
        { 60, false, QDate(1900, 2, 28) }, // the 29.2.1900 that never was
        { 61, false, QDate(1900, 3, 1) },
        { 39447, false, QDate(2007, 12, 31) },
        { 39447.75, false, QDate(2007, 12, 31) }, // the time of day is dropped
        { 0, true, QDate(1904, 1, 1) },
        { 37985, true, QDate(2007, 12, 31) },
        { -1, false, QDate() },
        { 1e300, false, QDate() },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpreadsheetSerialToDate(c.serial, c.date1904), c.date) << c.serial << (c.date1904 ? " (1904)" : "");
}

TEST(WorkbookReader, DateFormatCodes)
{
    for (const char* code : { "d\\.m\\.yyyy", "DD/MM/YY", "[$-41B]d. mmmm yyyy;@", "mmm-yy", "h:mm" })
        EXPECT_TRUE(IsDateFormatCode(code)) << code;
    for (const char* code : { "General", "0.00", "#,##0.000", "0.00\" dní\"", "[Red]0.0", "0\\d", "_(0_)", "@" })
        EXPECT_FALSE(IsDateFormatCode(code)) << code;
    EXPECT_TRUE(IsBuiltInDateFormat(14));
    EXPECT_TRUE(IsBuiltInDateFormat(22));
    EXPECT_FALSE(IsBuiltInDateFormat(2));
    EXPECT_FALSE(IsBuiltInDateFormat(49));
}

// Runs of repeated rows and cells answer for every row and column they cover.
TEST(WorkbookReader, SheetRunsCoverTheirRowsAndColumns)
{
    WorkbookSheet sheet;
    sheet.AddRows(3, 4); // rows 3 to 6
    sheet.AddCells(2, 3, WorkbookCell::FromText("x")); // B to D
    sheet.AddCells(7, 1, WorkbookCell::FromNumber(5));
    sheet.AddRows(1, 1); // listed out of order
    sheet.AddCells(1, 1, WorkbookCell::FromText("first"));
    sheet.AddRows(10, 1048576); // cut at the last row of a sheet
    sheet.AddCells(1, 1, WorkbookCell::FromNumber(1));
    sheet.Finish();
    EXPECT_EQ(sheet.Cell(1, 1).text, "first");
    EXPECT_EQ(sheet.Cell(2, 2).kind, Kind::Empty);
    for (int row : { 3, 6 }) {
        EXPECT_EQ(sheet.Cell(row, 2).text, "x");
        EXPECT_EQ(sheet.Cell(row, 4).text, "x");
        EXPECT_EQ(sheet.Cell(row, 5).kind, Kind::Empty);
        EXPECT_EQ(sheet.Cell(row, 7).number, 5);
    }
    EXPECT_EQ(sheet.Cell(7, 2).kind, Kind::Empty);
    EXPECT_EQ(sheet.Cell(1048576, 1).number, 1);
}

TEST(WorkbookReader, FilesThatAreNoWorkbooksSayWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& data) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return dir.filePath(name);
    };
    QByteArray compound = QByteArray::fromHex("d0cf11e0a1b11ae1");
    compound.append(600, '\xff');
    ASSERT_TRUE(WriteZip(dir.filePath("other.zip"), { { "readme.txt", "hello" } }));
    ASSERT_TRUE(WriteZip(dir.filePath("broken.xlsx"), { { "xl/workbook.xml", "<workbook><sheets><sheet" } }));
    const struct {
        QString path;
        WorkbookError error;
    } cases[] = {
        { dir.filePath("missing.xls"), WorkbookError::NotFound },
        { dir.path(), WorkbookError::NotFound },
        { write("text.xls", "Datum;Hmotnost\r\n"), WorkbookError::UnknownFormat },
        { write("empty.xlsx", {}), WorkbookError::UnknownFormat },
        { dir.filePath("other.zip"), WorkbookError::UnknownFormat },
        { write("damaged.xls", compound), WorkbookError::Unreadable },
        { dir.filePath("broken.xlsx"), WorkbookError::Unreadable },
    };
    for (const auto& c : cases) {
        WorkbookFileReader reader;
        WorkbookError error = WorkbookError::None;
        EXPECT_FALSE(reader.Open(c.path, &error)) << c.path.toStdString();
        EXPECT_EQ(error, c.error) << c.path.toStdString();
        EXPECT_EQ(reader.SheetCount(), 0);
        EXPECT_EQ(reader.ReadCell(1, "A1").kind, Kind::Empty);
    }
}

// What Calc does not write but other programs do: inline and rich shared strings with
// phonetic runs, cells and rows without addresses, errors, Booleans, a custom date
// style beside a number style, and a chart sheet that still counts as a sheet.
TEST(WorkbookReader, XlsxCellKinds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.xlsx");
    const QByteArray workbook = R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
        xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>
        <sheet name="Graf" sheetId="1" r:id="rId9"/><sheet name="Data" sheetId="2" r:id="rId1"/></sheets></workbook>)";
    const QByteArray rels = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
        <Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"
          Target="/xl/worksheets/data.xml"/>
        <Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet"
          Target="chartsheets/sheet1.xml"/></Relationships>)";
    const QByteArray styles = R"(<styleSheet><numFmts><numFmt numFmtId="170" formatCode="[$-41B]d\.m\.yyyy;@"/>
        <numFmt numFmtId="171" formatCode="0.000"/></numFmts>
        <cellStyleXfs><xf numFmtId="170"/></cellStyleXfs>
        <cellXfs><xf numFmtId="0"/><xf numFmtId="170"/><xf numFmtId="171"/><xf numFmtId="14"/></cellXfs></styleSheet>)";
    const QByteArray strings = QString::fromUtf8(R"(<sst><si><t>ZLATO</t></si>
        <si><r><t>Váž</t></r><r><t xml:space="preserve">enie </t></r><rPh><t>x</t></rPh></si></sst>)")
                                   .toUtf8();
    const QByteArray sheet = R"(<worksheet><sheetData>
        <row r="1"><c r="A1" t="s"><v>1</v></c><c r="C1" t="s"><v>0</v></c></row>
        <row r="6"><c r="A6" s="1"><v>39447</v></c><c s="2"><v>0.4583</v></c><c t="inlineStr"><is><t>a</t></is></c>
          <c r="E6" t="e"><f>1/0</f><v>#DIV/0!</v></c><c r="F6" t="b"><v>1</v></c><c r="G6" t="str"><f>"x"</f><v>y</v></c>
          <c r="H6" s="3"><v>39448</v></c><c r="I6"/><c r="J6" t="s"><v>7</v></c></row>
        <row><c r="B7"><v>-1.5E-3</v></c></row></sheetData></worksheet>)";
    ASSERT_TRUE(WriteZip(path,
        { { "xl/workbook.xml", workbook }, { "xl/_rels/workbook.xml.rels", rels }, { "xl/styles.xml", styles },
            { "xl/sharedStrings.xml", strings }, { "xl/worksheets/data.xml", sheet } }));

    WorkbookFileReader reader;
    WorkbookError error;
    ASSERT_TRUE(reader.Open(path, &error)) << int(error);
    EXPECT_EQ(reader.SheetCount(), 2);
    ExpectCell(reader, 1, "A1", Kind::Empty);
    ExpectCell(reader, 2, "A1", Kind::Text, QString::fromUtf8("Váženie "));
    ExpectCell(reader, 2, "C1", Kind::Text, "ZLATO");
    ExpectCell(reader, 2, "A6", Kind::Date, {}, 0, QDate(2007, 12, 31));
    ExpectCell(reader, 2, "B6", Kind::Number, {}, 0.4583);
    ExpectCell(reader, 2, "C6", Kind::Text, "a");
    ExpectCell(reader, 2, "D6", Kind::Empty);
    ExpectCell(reader, 2, "E6", Kind::Error, "#DIV/0!");
    ExpectCell(reader, 2, "F6", Kind::Text, "TRUE");
    ExpectCell(reader, 2, "G6", Kind::Text, "y");
    ExpectCell(reader, 2, "H6", Kind::Date, {}, 0, QDate(2008, 1, 1));
    ExpectCell(reader, 2, "I6", Kind::Empty);
    ExpectCell(reader, 2, "J6", Kind::Error, "#REF!"); // a shared string that does not exist
    ExpectCell(reader, 2, "B7", Kind::Number, {}, -0.0015);
    ExpectCell(reader, 3, "A1", Kind::Empty);
    reader.Close();
    EXPECT_EQ(reader.SheetCount(), 0);
}

// Repeated rows and cells, paragraphs, blanks, comments and error results of a sheet.
TEST(WorkbookReader, OdsCellKinds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.ods");
    const QByteArray content = QString::fromUtf8(R"(<office:document-content
        xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
        xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
        xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
        xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0">
        <office:body><office:spreadsheet>
        <table:table table:name="Prvý"><table:table-row table:number-rows-repeated="1048576">
          <table:table-cell table:number-columns-repeated="1024"/></table:table-row></table:table>
        <table:table table:name="Druhý">
          <table:table-header-rows><table:table-row><table:table-cell table:number-columns-repeated="2"/>
            <table:table-cell office:value-type="string"><text:p>Striebro</text:p></table:table-cell></table:table-row>
          </table:table-header-rows>
          <table:table-row table:number-rows-repeated="3"><table:table-cell office:value-type="float"
            office:value="925.3" table:number-columns-repeated="2"><text:p>925,3</text:p></table:table-cell></table:table-row>
          <table:table-row-group><table:table-row>
            <table:table-cell office:value-type="date" office:date-value="2007-12-31T10:15:00"/>
            <table:covered-table-cell/>
            <table:table-cell office:value-type="string"><office:annotation><text:p>comment</text:p></office:annotation>
              <text:p>a<text:s text:c="2"/>b<text:tab/>c</text:p><text:p><text:span>d</text:span></text:p></table:table-cell>
            <table:table-cell table:formula="of:=1/0" office:value-type="float" office:value="0"
              calcext:value-type="error"><text:p>#DIV/0!</text:p></table:table-cell>
            <table:table-cell office:value-type="boolean" office:boolean-value="false"/>
            <table:table-cell office:value-type="percentage" office:value="0.125"/>
          </table:table-row></table:table-row-group>
        </table:table></office:spreadsheet></office:body></office:document-content>)")
                                   .toUtf8();
    ASSERT_TRUE(WriteZip(
        path, { { "mimetype", "application/vnd.oasis.opendocument.spreadsheet" }, { "content.xml", content } }));
    WorkbookFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(reader.SheetCount(), 2);
    ExpectCell(reader, 1, "A1", Kind::Empty);
    ExpectCell(reader, 1, "XFD1048576", Kind::Empty);
    ExpectCell(reader, 2, "C1", Kind::Text, "Striebro");
    for (const char* address : { "A2", "B2", "A4", "B4" })
        ExpectCell(reader, 2, address, Kind::Number, {}, 925.3);
    ExpectCell(reader, 2, "C2", Kind::Empty);
    ExpectCell(reader, 2, "A5", Kind::Date, {}, 0, QDate(2007, 12, 31));
    ExpectCell(reader, 2, "B5", Kind::Empty);
    ExpectCell(reader, 2, "C5", Kind::Text, "a  b\tc\nd");
    ExpectCell(reader, 2, "D5", Kind::Error, "#DIV/0!");
    ExpectCell(reader, 2, "E5", Kind::Text, "FALSE");
    ExpectCell(reader, 2, "F5", Kind::Number, {}, 0.125);
    ExpectCell(reader, 2, "A6", Kind::Empty);
}
