#include "platform/workbook_reader.h"

#include "platform/workbook_parts.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace orvek {

namespace {

constexpr int kMaxRows = WorkbookSheet::MaxRows;
constexpr int kMaxColumns = WorkbookSheet::MaxColumns;

const WorkbookCell& EmptyCell()
{
    static const WorkbookCell empty;
    return empty;
}

enum class FileKind { Unknown, Xls, Xlsx, Ods };

FileKind KindOfFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Unknown;
    const QByteArray head = file.read(8);
    file.close();
    if (head == QByteArray::fromHex("d0cf11e0a1b11ae1"))
        return FileKind::Xls;
    if (!head.startsWith("PK\x03\x04"))
        return FileKind::Unknown;
    ZipArchive zip;
    if (!zip.Open(fileName))
        return FileKind::Unknown;
    if (zip.Contains("xl/workbook.xml"))
        return FileKind::Xlsx;
    if (zip.Contains("content.xml"))
        return FileKind::Ods;
    return FileKind::Unknown;
}

} // namespace

void WorkbookSheet::AddRows(int row, int count)
{
    lastRowsAdded_ = row >= 1 && row <= kMaxRows && count >= 1;
    if (!lastRowsAdded_)
        return;
    rows_.push_back({ row, std::min(count, kMaxRows - row + 1), {} });
}

void WorkbookSheet::AddCells(int column, int count, const WorkbookCell& cell)
{
    if (!lastRowsAdded_ || column < 1 || column > kMaxColumns || count < 1 || cell.kind == WorkbookCell::Kind::Empty)
        return;
    rows_.back().cells.push_back({ column, std::min(count, kMaxColumns - column + 1), cell });
}

void WorkbookSheet::Finish()
{
    auto byFirst = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(rows_.begin(), rows_.end(), byFirst);
    for (RowRun& row : rows_)
        std::stable_sort(row.cells.begin(), row.cells.end(), byFirst);
}

const WorkbookCell& WorkbookSheet::Cell(int row, int column) const
{
    // The last run starting at or before the row; a later run of the same row (a file
    // that lists a row twice) wins, as it would when the file is read in order.
    auto rowIt
        = std::upper_bound(rows_.begin(), rows_.end(), row, [](int r, const RowRun& run) { return r < run.first; });
    while (rowIt != rows_.begin()) {
        --rowIt;
        if (row >= rowIt->first + rowIt->count)
            return EmptyCell();
        const auto& cells = rowIt->cells;
        auto cellIt = std::upper_bound(
            cells.begin(), cells.end(), column, [](int c, const CellRun& run) { return c < run.first; });
        if (cellIt != cells.begin()) {
            --cellIt;
            if (column < cellIt->first + cellIt->count)
                return cellIt->cell;
        }
        if (rowIt->first != row)
            return EmptyCell();
    }
    return EmptyCell();
}

// A format code shows a date when it has d, m or y outside quoted text, brackets
// ("[Red]", "[$-41B]") and escaped or padding characters.
bool IsDateFormatCode(const QString& code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"') {
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                return false;
        } else if (c == u'[') {
            i = code.indexOf(u']', i + 1);
            if (i < 0)
                return false;
        } else if (c == u'\\' || c == u'_' || c == u'*')
            ++i;
        else {
            const QChar l = c.toLower();
            if (l == u'd' || l == u'm' || l == u'y')
                return true;
        }
    }
    return false;
}

bool IsBuiltInDateFormat(int id)
{
    return id >= 14 && id <= 22;
}

bool ParseCellAddress(const QString& address, int& row, int& column)
{
    const QString text = address.trimmed().toUpper();
    int i = 0;
    qint64 c = 0, r = 0;
    while (i < text.size() && text[i] >= u'A' && text[i] <= u'Z' && c <= kMaxColumns)
        c = c * 26 + (text[i++].unicode() - 'A' + 1);
    const int letters = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && r <= kMaxRows)
        r = r * 10 + (text[i++].unicode() - '0');
    if (letters == 0 || i == letters || i != text.size() || c > kMaxColumns || r < 1 || r > kMaxRows)
        return false;
    row = int(r);
    column = int(c);
    return true;
}

QDate SpreadsheetSerialToDate(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 3000000)
        return {};
    const qint64 days = qint64(std::floor(serial));
    if (date1904)
        return QDate(1904, 1, 1).addDays(days);
    // Serial 60 is the 29.2.1900 that the 1900 system counts; it reads as 28.2.
    if (days < 61)
        return QDate(1899, 12, 31).addDays(std::max<qint64>(days == 60 ? 59 : days, 0));
    return QDate(1899, 12, 30).addDays(days);
}

WorkbookFileReader::WorkbookFileReader() = default;
WorkbookFileReader::~WorkbookFileReader() = default;

bool WorkbookFileReader::Open(const QString& fileName, WorkbookError* error)
{
    Close();
    WorkbookError result = WorkbookError::None;
    if (!QFileInfo(fileName).isFile())
        result = WorkbookError::NotFound;
    else {
        bool read = false;
        switch (KindOfFile(fileName)) {
        case FileKind::Xls:
            read = ReadXlsWorkbook(fileName, sheets_);
            break;
        case FileKind::Xlsx:
            read = ReadXlsxWorkbook(fileName, sheets_);
            break;
        case FileKind::Ods:
            read = ReadOdsWorkbook(fileName, sheets_);
            break;
        case FileKind::Unknown:
            result = WorkbookError::UnknownFormat;
            break;
        }
        if (result == WorkbookError::None && !read)
            result = WorkbookError::Unreadable;
    }
    if (result != WorkbookError::None)
        sheets_.clear();
    for (WorkbookSheet& sheet : sheets_)
        sheet.Finish();
    if (error)
        *error = result;
    return result == WorkbookError::None;
}

WorkbookCell WorkbookFileReader::ReadCell(int sheet, const QString& address) const
{
    int row = 0, column = 0;
    if (sheet < 1 || sheet > int(sheets_.size()) || !ParseCellAddress(address, row, column))
        return {};
    return sheets_[size_t(sheet - 1)].Cell(row, column);
}

void WorkbookFileReader::Close()
{
    sheets_.clear();
}

} // namespace orvek
