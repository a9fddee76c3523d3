#include "platform/workbook_parts.h"
#include "platform/workbook_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
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

// ---------------------------------------------------------------------------------
// ".xls": BIFF records in a compound file

namespace {

QByteArray Le16(quint32 v)
{
    QByteArray out(2, 0);
    out[0] = char(v & 0xFF);
    out[1] = char((v >> 8) & 0xFF);
    return out;
}
QByteArray Le32(quint32 v)
{
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}
QByteArray Float64Bytes(double v)
{
    quint64 raw = 0;
    std::memcpy(&raw, &v, sizeof raw);
    return Le32(quint32(raw)) + Le32(quint32(raw >> 32));
}
QByteArray Rec(quint16 type, const QByteArray& data)
{
    return Le16(type) + Le16(quint32(data.size())) + data;
}
// Row, column (from 0) and cell style of a cell record.
QByteArray At(int row, int column, int style = 0)
{
    return Le16(quint32(row)) + Le16(quint32(column)) + Le16(quint32(style));
}
QByteArray Utf16(const QString& text)
{
    QByteArray out;
    for (QChar c : text)
        out += Le16(c.unicode());
    return out;
}

// A workbook stream of one sheet: the globals (BOF of Version, Globals, a BOUNDSHEET)
// and the sheet's BOF, Cells and EOF.
QByteArray BiffStream(quint16 version, const QByteArray& globals, const QByteArray& cells)
{
    const QByteArray bof = Rec(0x0809, Le16(version) + Le16(0x0005) + QByteArray(12, 0));
    const QByteArray head = bof + globals;
    const QByteArray boundSheet = Rec(0x0085, Le32(0) + QByteArray("\0\0\1\0S", 5));
    const qint64 sheetAt = head.size() + boundSheet.size() + 4;
    return head + Rec(0x0085, Le32(quint32(sheetAt)) + QByteArray("\0\0\1\0S", 5)) + Rec(0x000A, {})
        + Rec(0x0809, Le16(version) + Le16(0x0010) + QByteArray(12, 0)) + cells + Rec(0x000A, {});
}

// A compound file of 512-byte sectors holding one stream: FatSectors FAT sectors
// (those past the header's 109 listed by DIFAT sectors), the directory, then either
// the stream's sectors or, for a stream under 4096 bytes, the mini FAT and the mini
// stream. The sectors of each part are recorded so that tests can damage the chains.
struct Compound {
    QByteArray bytes;
    quint32 fatSectors = 0, directory = 0, stream = 0, miniFat = 0, miniStream = 0;
    std::vector<quint32> difat;

    void Put(qint64 at, quint32 value) { bytes.replace(at, 4, Le32(value)); }
    // The FAT sectors are the file's first sectors.
    void SetFat(quint32 sector, quint32 next) { Put(qint64(sector / 128 + 1) * 512 + 4 * (sector % 128), next); }
    void SetMiniFat(quint32 mini, quint32 next) { Put(qint64(miniFat + 1) * 512 + 4 * mini, next); }
};

Compound MakeCompound(const QString& name, const QByteArray& stream, quint32 fatSectors = 1)
{
    constexpr quint32 kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;
    Compound c;
    c.fatSectors = fatSectors;
    std::vector<quint32> fat(fatSectors, 0xFFFFFFFD);
    auto chain = [&fat](qint64 bytes) {
        const quint32 first = quint32(fat.size());
        const qint64 n = std::max<qint64>(1, (bytes + 511) / 512);
        for (qint64 i = 0; i < n; ++i)
            fat.push_back(i + 1 < n ? quint32(fat.size()) + 1 : kEnd);
        return first;
    };
    for (quint32 i = 109; i < fatSectors; i += 127) {
        c.difat.push_back(quint32(fat.size()));
        fat.push_back(0xFFFFFFFC);
    }
    c.directory = chain(512);
    const bool mini = stream.size() < 4096;
    QByteArray miniFatBytes, container;
    if (mini) {
        const int miniSectors = int((stream.size() + 63) / 64);
        for (int i = 0; i < 128; ++i)
            miniFatBytes += Le32(i + 1 < miniSectors ? quint32(i + 1) : i + 1 == miniSectors ? kEnd : kFree);
        container = stream + QByteArray(miniSectors * 64 - stream.size(), 0);
        c.miniFat = chain(512);
        c.miniStream = chain(container.size());
    } else
        c.stream = chain(stream.size());
    while (fat.size() < size_t(fatSectors) * 128)
        fat.push_back(kFree);

    auto entry = [](const QString& entryName, int type, quint32 start, quint32 size, quint32 child) {
        QByteArray e = Utf16(entryName) + Le16(0);
        e += QByteArray(64 - e.size(), 0) + Le16(quint32(2 * entryName.size() + 2)) + char(type) + char(1) + Le32(kFree)
            + Le32(kFree) + Le32(child);
        e += QByteArray(116 - e.size(), 0) + Le32(start) + Le32(size) + Le32(0);
        return e;
    };
    QByteArray directory = entry("Root Entry", 5, mini ? c.miniStream : kEnd, quint32(container.size()), 1)
        + entry(name, 2, mini ? 0 : c.stream, quint32(stream.size()), kFree);
    directory += QByteArray(512 - directory.size(), 0);

    QByteArray header = QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(16, 0) + Le16(0x3E) + Le16(3)
        + Le16(0xFFFE) + Le16(9) + Le16(6) + QByteArray(10, 0) + Le32(fatSectors) + Le32(c.directory) + Le32(0)
        + Le32(4096) + Le32(mini ? c.miniFat : kEnd) + Le32(mini ? 1 : 0) + Le32(c.difat.empty() ? kEnd : c.difat[0])
        + Le32(quint32(c.difat.size()));
    for (quint32 i = 0; i < 109; ++i)
        header += Le32(i < fatSectors ? i : kFree);
    c.bytes = header;
    QByteArray fatBytes;
    for (quint32 v : fat)
        fatBytes += Le32(v);
    c.bytes += fatBytes;
    for (size_t d = 0; d < c.difat.size(); ++d) {
        QByteArray sector;
        for (quint32 i = 0; i < 127; ++i) {
            const quint32 listed = 109 + quint32(d) * 127 + i;
            sector += Le32(listed < fatSectors ? listed : kFree);
        }
        c.bytes += sector + Le32(d + 1 < c.difat.size() ? c.difat[d + 1] : kEnd);
    }
    c.bytes += directory;
    if (mini)
        c.bytes += miniFatBytes + container + QByteArray((512 - container.size() % 512) % 512, 0);
    else
        c.bytes += stream + QByteArray((512 - stream.size() % 512) % 512, 0);
    // Free sectors up to what the FAT covers, so that the file holds every FAT sector.
    if (c.bytes.size() < qint64(fatSectors + 1) * 512)
        c.bytes += QByteArray(qint64(fatSectors + 1) * 512 - c.bytes.size(), 0);
    return c;
}

// A BIFF8 workbook with records Calc does not write: texts of the shared-string table
// that change from one to two bytes per character in a CONTINUE record or carry
// formatting runs and phonetic data, inline and formatted texts, Booleans and error
// values, numbers in RK form, a date through a custom format, a cell written twice,
// and a chart embedded in the sheet.
QByteArray Biff8Kinds()
{
    const QByteArray sst = Rec(0x00FC, Le32(5) + Le32(4) + Le16(5) + char(0) + "ZLATO" + Le16(10) + char(0) + "abcde")
        + Rec(0x003C,
            char(1) + Utf16(QString::fromUtf8("ščťžý")) + Le16(2) + char(0x0C) + Le16(1) + Le32(4) + "ok"
                + Le32(0x00010000) + Le32(0x12345678) + Le16(3) + char(0) + "end");
    const QByteArray format = Rec(0x041E, Le16(170) + Le16(8) + char(0) + "d.m.yyyy");
    const QByteArray xfs
        = Rec(0x00E0, Le16(0) + Le16(0) + QByteArray(16, 0)) + Rec(0x00E0, Le16(0) + Le16(170) + QByteArray(16, 0));
    const QByteArray padding = Rec(0x00EB, QByteArray(4200, 'x')); // keeps the stream out of the mini stream
    const QByteArray cells = Rec(0x00FD, At(0, 0) + Le32(0)) + Rec(0x00FD, At(0, 1) + Le32(1))
        + Rec(0x00FD, At(0, 2) + Le32(2)) + Rec(0x00FD, At(0, 3) + Le32(3)) + Rec(0x00FD, At(0, 4) + Le32(99))
        + Rec(0x0204, At(1, 0) + Le16(3) + char(1) + Utf16(QString::fromUtf8("Čaj")))
        + Rec(0x00D6, At(1, 1) + Le16(2) + char(0) + "rs" + Le16(1) + Le32(0))
        + Rec(0x0205, At(1, 2) + char(1) + char(0)) + Rec(0x0205, At(1, 3) + char(0x2A) + char(1))
        + Rec(0x0205, At(1, 4) + char(0) + char(0))
        + Rec(0x00BD,
            At(2, 0).left(4) + Le16(0) + Le32((5 << 2) | 2) + Le16(0) + Le32((1234 << 2) | 3) + Le16(0)
                + Le32(0x3FE00000) + Le16(2))
        + Rec(0x0203, At(3, 0, 1) + Float64Bytes(45351)) + Rec(0x0203, At(3, 1) + Float64Bytes(1))
        + Rec(0x027E, At(3, 1) + Le32((2 << 2) | 2)) + Rec(0x0201, At(3, 2))
        + Rec(0x0809, Le16(0x0600) + Le16(0x0020) + QByteArray(12, 0)) + Rec(0x0203, At(9, 9) + Float64Bytes(9))
        + Rec(0x000A, {}) + Rec(0x0203, At(3, 3) + Float64Bytes(-0.5));
    return BiffStream(0x0600, sst + format + xfs + padding, cells);
}

// A BIFF5 workbook ("Book"): texts in the workbook's code page, formats with a one-byte
// length. Small enough for the mini stream.
QByteArray Biff5Book()
{
    const QByteArray globals = Rec(0x0042, Le16(1250)) + Rec(0x041E, Le16(170) + char(6) + "d/m/yy")
        + Rec(0x00E0, Le16(0) + Le16(0) + QByteArray(12, 0)) + Rec(0x00E0, Le16(0) + Le16(170) + QByteArray(12, 0));
    const QByteArray cells = Rec(0x0204, At(0, 2) + Le16(8) + "STRIEBRO")
        + Rec(0x0204, At(5, 1) + Le16(4) + QByteArray::fromHex("c8e1f96e")) // "Čáůn" in code page 1250
        + Rec(0x027E, At(5, 0, 1) + Le32((45351 << 2) | 2)) + Rec(0x0203, At(5, 4) + Float64Bytes(925.25));
    return BiffStream(0x0500, globals, cells);
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
{
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    return f.fileName();
}

} // namespace

// Every kind of cell LibreOffice Calc writes to an ".xls" workbook, an empty text cell
// among them: numbers in each of their records, formula results of each kind (a text
// result longer than a record), dates by their style, and a shared text longer than a
// record.
TEST(WorkbookReader, XlsCellKindsFromCalc)
{
    WorkbookFileReader reader;
    WorkbookError error = WorkbookError::None;
    ASSERT_TRUE(reader.Open(ORVEK_TEST_DATA_DIR "/workbooks/gold_empty_text.xls", &error)) << int(error);
    ASSERT_EQ(reader.SheetCount(), 2);
    ExpectCell(reader, 1, "A1", Kind::Text, QString::fromUtf8("Súhrn"));
    ExpectCell(reader, 1, "B1", Kind::Text, "");
    ExpectCell(reader, 1, "C1", Kind::Text, QString::fromUtf8("Prehľad"));
    const double numbers[] = { 42, -7, 0.25, 12.34, 1e300, 0.1, -123456789, 1073741824 };
    for (int c = 0; c < 8; ++c)
        ExpectCell(reader, 1, qPrintable(QChar('A' + c) + QString("2")), Kind::Number, {}, numbers[c]);
    ExpectCell(reader, 1, "C3", Kind::Error, "#DIV/0!");
    ExpectCell(reader, 1, "D3", Kind::Text, "TRUE");
    ExpectCell(reader, 1, "E3", Kind::Empty); // a formula giving an empty text
    ExpectCell(reader, 1, "F3", Kind::Text, "ababab");
    ExpectCell(reader, 1, "G3", Kind::Text, QString::fromUtf8("Dlhý výsledok ").repeated(800));
    ExpectCell(reader, 1, "H3", Kind::Number, {}, 5.25);
    ExpectCell(reader, 1, "A4", Kind::Date, {}, 0, QDate(2024, 2, 29));
    ExpectCell(reader, 1, "B4", Kind::Date, {}, 0, QDate(2024, 3, 1));
    ExpectCell(reader, 1, "C4", Kind::Number, {}, 0.125);
    ExpectCell(reader, 1, "A5", Kind::Text, QString::fromUtf8("Dlhý text číslo ").repeated(600));
    for (int c = 0; c < 8; ++c)
        ExpectCell(reader, 1, qPrintable(QChar('A' + c) + QString("6")), Kind::Number, {}, c + 1);
    ExpectCell(reader, 1, "A7", Kind::Text, "a\nb");
    ExpectCell(reader, 2, "C1", Kind::Text, "ZLATO");
    ExpectCell(reader, 2, "A6", Kind::Date, {}, 0, QDate(2024, 3, 1));
    ExpectCell(reader, 2, "B6", Kind::Text, "");
    ExpectCell(reader, 2, "G7", Kind::Number, {}, 1.9);
    ExpectCell(reader, 2, "A8", Kind::Empty);
}

TEST(WorkbookReader, XlsRecordsOtherProgramsWrite)
{
    QTemporaryDir dir;
    WorkbookFileReader reader;
    WorkbookError error = WorkbookError::None;
    ASSERT_TRUE(reader.Open(WriteFile(dir, "biff8.xls", MakeCompound("Workbook", Biff8Kinds()).bytes), &error))
        << int(error);
    ASSERT_EQ(reader.SheetCount(), 1);
    ExpectCell(reader, 1, "A1", Kind::Text, "ZLATO");
    ExpectCell(reader, 1, "B1", Kind::Text, QString::fromUtf8("abcdeščťžý"));
    ExpectCell(reader, 1, "C1", Kind::Text, "ok");
    ExpectCell(reader, 1, "D1", Kind::Text, "end");
    ExpectCell(reader, 1, "E1", Kind::Error, "#REF!");
    ExpectCell(reader, 1, "A2", Kind::Text, QString::fromUtf8("Čaj"));
    ExpectCell(reader, 1, "B2", Kind::Text, "rs");
    ExpectCell(reader, 1, "C2", Kind::Text, "TRUE");
    ExpectCell(reader, 1, "D2", Kind::Error, "#N/A");
    ExpectCell(reader, 1, "E2", Kind::Text, "FALSE");
    ExpectCell(reader, 1, "A3", Kind::Number, {}, 5);
    ExpectCell(reader, 1, "B3", Kind::Number, {}, 12.34);
    ExpectCell(reader, 1, "C3", Kind::Number, {}, 0.5);
    ExpectCell(reader, 1, "A4", Kind::Date, {}, 0, QDate(2024, 2, 29));
    ExpectCell(reader, 1, "B4", Kind::Number, {}, 2); // the later record of the cell
    ExpectCell(reader, 1, "C4", Kind::Empty);
    ExpectCell(reader, 1, "D4", Kind::Number, {}, -0.5); // after the embedded chart
    ExpectCell(reader, 1, "J10", Kind::Empty); // inside the embedded chart

    ASSERT_TRUE(reader.Open(WriteFile(dir, "biff5.xls", MakeCompound("Book", Biff5Book()).bytes), &error))
        << int(error);
    ExpectCell(reader, 1, "C1", Kind::Text, "STRIEBRO");
    ExpectCell(reader, 1, "A6", Kind::Date, {}, 0, QDate(2024, 2, 29));
    ExpectCell(reader, 1, "B6", Kind::Text, QString::fromUtf8("Čáůn"));
    ExpectCell(reader, 1, "E6", Kind::Number, {}, 925.25);
}

// A chain of the compound file that loops or leaves the file makes the workbook
// damaged; the read ends at once instead of running on.
TEST(WorkbookReader, XlsDamagedChainsAreRefused)
{
    QTemporaryDir dir;
    const Compound big = MakeCompound("Workbook", Biff8Kinds(), 240); // two DIFAT sectors
    const Compound small = MakeCompound("Book", Biff5Book());
    ASSERT_EQ(big.difat.size(), 2u);
    const struct {
        const char* name;
        const Compound& base;
        std::function<void(Compound&)> damage;
    } cases[] = {
        { "DIFAT chain points at itself", big,
            [](Compound& c) {
                c.Put(qint64(c.difat[0] + 1) * 512 + 508, c.difat[0]);
                c.Put(0x48, 0xFFFFFFFF);
            } },
        { "DIFAT chain leaves the file", big, [](Compound& c) { c.Put(0x44, 0x7FFFFFF0); } },
        { "more FAT sectors than the file has", small, [](Compound& c) { c.Put(0x2C, 0x7FFFFFFF); } },
        { "FAT sector outside the file", small, [](Compound& c) { c.Put(0x4C, 5000); } },
        { "directory chain loops", big, [](Compound& c) { c.SetFat(c.directory, c.directory); } },
        { "directory starts outside the file", small, [](Compound& c) { c.Put(0x30, 5000); } },
        { "stream chain loops", big, [](Compound& c) { c.SetFat(c.stream + 3, c.stream + 1); } },
        { "stream chain leaves the file", big, [](Compound& c) { c.SetFat(c.stream, 0xFFFFFFF0); } },
        { "mini FAT chain loops", small, [](Compound& c) { c.SetMiniFat(2, 1); } },
        { "mini stream chain loops", small, [](Compound& c) { c.SetFat(c.miniStream, c.miniStream); } },
        { "mini FAT chain loops in the FAT", small, [](Compound& c) { c.SetFat(c.miniFat, c.miniFat); } },
        { "stream longer than its chain", big,
            [](Compound& c) { c.Put(qint64(c.directory + 1) * 512 + 128 + 120, 60000); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Compound damaged = c.base;
        WorkbookFileReader reader;
        WorkbookError error = WorkbookError::None;
        ASSERT_TRUE(reader.Open(WriteFile(dir, "whole.xls", damaged.bytes), &error)) << int(error);
        c.damage(damaged);
        EXPECT_FALSE(reader.Open(WriteFile(dir, "damaged.xls", damaged.bytes), &error));
        EXPECT_EQ(error, WorkbookError::Unreadable);
        EXPECT_EQ(reader.SheetCount(), 0);
    }
}

// Rows and columns counted past the end of a sheet stay there: counting on never wraps
// round to the sheet's first rows or columns, and cells past the end are dropped rather
// than joining the row before.
TEST(WorkbookReader, CountsPastTheSheetEnd)
{
    QTemporaryDir dir;
    const QString ods = dir.filePath("far.ods");
    const QByteArray value = R"(<table:table-cell office:value-type="string"><text:p>late</text:p></table:table-cell>)";
    const QByteArray wideRow = R"(<table:table-cell table:number-columns-repeated="1048576"/>)";
    const QByteArray tallRow
        = R"(<table:table-row table:number-rows-repeated="2097152"><table:table-cell/></table:table-row>)";
    const QByteArray content
        = R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
        xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
        xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet><table:table>
        <table:table-row><table:table-cell office:value-type="string"><text:p>first</text:p></table:table-cell>)"
        + wideRow.repeated(4096) + value + "</table:table-row>" + tallRow.repeated(2047) + "<table:table-row>" + value
        + R"(</table:table-row><table:table-row table:number-rows-repeated="2147483647">)" + value
        + "</table:table-row><table:table-row>" + value
        + "</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>";
    ASSERT_TRUE(WriteZip(ods, { { "content.xml", content } }));
    WorkbookFileReader reader;
    ASSERT_TRUE(reader.Open(ods));
    ExpectCell(reader, 1, "A1", Kind::Text, "first");
    ExpectCell(reader, 1, "B1", Kind::Empty);
    ExpectCell(reader, 1, "A2", Kind::Empty);

    const QString xlsx = dir.filePath("far.xlsx");
    const QByteArray workbook = R"(<workbook xmlns:r="r"><sheets><sheet name="A" r:id="rId1"/></sheets></workbook>)";
    const QByteArray rels = R"(<Relationships><Relationship Id="rId1" Target="worksheets/a.xml"
        Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"/></Relationships>)";
    const QByteArray sheet = R"(<worksheet><sheetData><row r="1"><c t="inlineStr"><is><t>first</t></is></c></row>
        <row r="2147483647"><c r="B2147483647" t="inlineStr"><is><t>late</t></is></c></row>
        <row><c t="inlineStr"><is><t>later</t></is></c></row></sheetData></worksheet>)";
    ASSERT_TRUE(WriteZip(xlsx,
        { { "xl/workbook.xml", workbook }, { "xl/_rels/workbook.xml.rels", rels }, { "xl/worksheets/a.xml", sheet } }));
    ASSERT_TRUE(reader.Open(xlsx));
    ExpectCell(reader, 1, "A1", Kind::Text, "first");
    ExpectCell(reader, 1, "B1", Kind::Empty);
    ExpectCell(reader, 1, "XFD1048576", Kind::Empty);
}

// Text nested deeper than any stack would follow by recursion is read whole.
TEST(WorkbookReader, OdsDeeplyNestedText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("deep.ods");
    constexpr int depth = 200000;
    const QByteArray content
        = R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
        xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
        xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet><table:table>
        <table:table-row><table:table-cell office:value-type="string"><text:p>a)"
        + QByteArray("<text:span>").repeated(depth) + "b<text:tab/>c" + QByteArray("</text:span>").repeated(depth)
        + "d</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
          "</office:document-content>";
    ASSERT_TRUE(WriteZip(path, { { "content.xml", content } }));
    WorkbookFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    ExpectCell(reader, 1, "A1", Kind::Text, "ab\tcd");
}
