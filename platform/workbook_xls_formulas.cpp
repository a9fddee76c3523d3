// The stored results of formula cells in ".xls" workbooks. FreeXL leaves formula cells
// empty, so the workbook stream is taken out of the compound file here and its
// FORMULA records read: a number (a date when the cell's format is one), or, marked
// by 0xFFFF in the last two result bytes, a string (in the STRING record after it), a
// Boolean, an error code or an empty string.

#include "platform/workbook_parts.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cstring>

namespace orvek {

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

// Little-endian integers; 0 beyond the data.
quint64 Bytes(const QByteArray& d, qint64 at, int count)
{
    if (at < 0 || at + count > d.size())
        return 0;
    quint64 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | quint8(d.at(at + i));
    return value;
}
quint16 U16(const QByteArray& d, qint64 at)
{
    return quint16(Bytes(d, at, 2));
}
quint32 U32(const QByteArray& d, qint64 at)
{
    return quint32(Bytes(d, at, 4));
}

QString Utf16At(const QByteArray& d, qint64 at, qint64 chars)
{
    QString text;
    for (qint64 i = 0; i < chars && at + 2 * i + 2 <= d.size(); ++i)
        text += QChar(U16(d, at + 2 * i));
    return text;
}

// The streams of a compound file.
class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& file)
        : file_(file)
    {
    }

    bool ReadStream(const QStringList& names, QByteArray& out)
    {
        if (file_.size() < 512 || U16(file_, 0x1E) < 7 || U16(file_, 0x1E) > 16)
            return false;
        sectorSize_ = qint64(1) << U16(file_, 0x1E);
        if (!ReadFat())
            return false;
        QByteArray directory;
        if (!ReadChain(fat_, U32(file_, 0x30), directory))
            return false;
        QByteArray miniStream;
        for (qint64 at = 0; at + 128 <= directory.size(); at += 128) {
            const int nameBytes = std::min<int>(U16(directory, at + 64), 64);
            const QString name = Utf16At(directory, at, std::max(nameBytes / 2 - 1, 0));
            const quint8 type = quint8(directory[at + 66]);
            const quint32 start = U32(directory, at + 116);
            const quint32 size = U32(directory, at + 120);
            if (type == 5 && !ReadChain(fat_, start, miniStream))
                return false;
            if (type != 2 || !names.contains(name, Qt::CaseInsensitive))
                continue;
            if (size < U32(file_, 0x38)) {
                std::vector<quint32> miniFat;
                QByteArray miniFatBytes;
                if (!ReadChain(fat_, U32(file_, 0x3C), miniFatBytes))
                    return false;
                for (qint64 i = 0; i + 4 <= miniFatBytes.size(); i += 4)
                    miniFat.push_back(U32(miniFatBytes, i));
                if (!ReadChain(miniFat, start, out, &miniStream, 64))
                    return false;
            } else if (!ReadChain(fat_, start, out))
                return false;
            if (out.size() < qint64(size))
                return false;
            out.truncate(size);
            return true;
        }
        return false;
    }

private:
    bool ReadFat()
    {
        std::vector<quint32> fatSectors;
        for (int i = 0; i < 109; ++i)
            fatSectors.push_back(U32(file_, 0x4C + 4 * i));
        quint32 difat = U32(file_, 0x44);
        for (quint32 n = U32(file_, 0x48); n > 0 && difat < kEndOfChain; --n) {
            const qint64 at = (qint64(difat) + 1) * sectorSize_;
            if (at + sectorSize_ > file_.size())
                return false;
            for (qint64 i = 0; i < sectorSize_ / 4 - 1; ++i)
                fatSectors.push_back(U32(file_, at + 4 * i));
            difat = U32(file_, at + sectorSize_ - 4);
        }
        const quint32 count = U32(file_, 0x2C);
        for (quint32 i = 0; i < count && i < fatSectors.size(); ++i) {
            const qint64 at = (qint64(fatSectors[i]) + 1) * sectorSize_;
            if (fatSectors[i] >= kEndOfChain - 3 || at + sectorSize_ > file_.size())
                return false;
            for (qint64 j = 0; j < sectorSize_; j += 4)
                fat_.push_back(U32(file_, at + j));
        }
        return !fat_.empty();
    }

    // Follows a chain of sectors of Table through Data (the file, or the mini stream
    // with 64-byte sectors); a chain that loops or leaves the data fails.
    bool ReadChain(const std::vector<quint32>& table, quint32 start, QByteArray& out, const QByteArray* data = nullptr,
        qint64 sectorSize = 0) const
    {
        out.clear();
        const QByteArray& source = data ? *data : file_;
        const qint64 size = data ? sectorSize : sectorSize_;
        const qint64 offset = data ? 0 : sectorSize_;
        size_t steps = 0;
        for (quint32 s = start; s != kEndOfChain; s = table[s]) {
            if (s >= table.size() || ++steps > table.size())
                return false;
            const qint64 at = offset + qint64(s) * size;
            if (at + size > source.size())
                return false;
            out.append(source.constData() + at, size);
        }
        return true;
    }

    const QByteArray& file_;
    qint64 sectorSize_ = 512;
    std::vector<quint32> fat_;
};

// A BIFF string of Chars characters at At: a flags byte (bit 0: two bytes per
// character), then the characters.
QString BiffString(const QByteArray& d, qint64 at, qint64 end, int chars)
{
    if (at >= end)
        return {};
    const bool wide = d[at] & 1;
    ++at;
    const qint64 n = std::min<qint64>(chars, (end - at) / (wide ? 2 : 1));
    return wide ? Utf16At(d, at, n) : QString::fromLatin1(d.constData() + at, n);
}

QString ErrorText(quint8 code)
{
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    default:
        return "#N/A";
    }
}

struct Record {
    quint16 type;
    qint64 data, end; // offsets of the record's data and of the next record
};

bool NextRecord(const QByteArray& s, qint64& at, Record& r)
{
    if (at + 4 > s.size())
        return false;
    r.type = U16(s, at);
    r.data = at + 4;
    r.end = r.data + U16(s, at + 2);
    at = r.end;
    return r.end <= s.size();
}

} // namespace

quint64 FormulaCellKey(int row, int column)
{
    return (quint64(quint32(row)) << 32) | quint32(column);
}

bool ReadXlsFormulaResults(const QString& fileName, std::vector<QHash<quint64, WorkbookCell>>& sheets)
{
    sheets.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return false;
    const QByteArray bytes = file.readAll();
    QByteArray s;
    if (!CompoundFile(bytes).ReadStream({ "Workbook", "Book" }, s))
        return false;

    // Globals: the sheets' offsets, the date system and the formats of the cell styles.
    bool biff8 = false, date1904 = false;
    std::vector<quint32> sheetOffsets;
    std::vector<int> styleFormats;
    QSet<int> dateFormats;
    for (int id = 0; id < 164; ++id)
        if (IsBuiltInDateFormat(id))
            dateFormats.insert(id);
    Record r;
    for (qint64 at = 0; NextRecord(s, at, r) && r.type != 0x000A;) {
        switch (r.type) {
        case 0x0809: // BOF
            biff8 = U16(s, r.data) == 0x0600;
            break;
        case 0x0085: // BOUNDSHEET
            sheetOffsets.push_back(U32(s, r.data));
            break;
        case 0x0022: // DATEMODE
            date1904 = U16(s, r.data) == 1;
            break;
        case 0x00E0: // XF
            styleFormats.push_back(U16(s, r.data + 2));
            break;
        case 0x041E: { // FORMAT
            const int id = U16(s, r.data);
            const QString code = biff8 ? BiffString(s, r.data + 4, r.end, U16(s, r.data + 2))
                                       : QString::fromLatin1(s.constData() + r.data + 3,
                                           int(std::min<qint64>(quint8(s[r.data + 2]), r.end - r.data - 3)));
            if (IsDateFormatCode(code))
                dateFormats.insert(id);
            else
                dateFormats.remove(id);
            break;
        }
        default:
            break;
        }
    }

    sheets.resize(sheetOffsets.size());
    for (size_t i = 0; i < sheetOffsets.size(); ++i) {
        QHash<quint64, WorkbookCell>& cells = sheets[i];
        int pendingRow = -1, pendingColumn = -1;
        for (qint64 at = sheetOffsets[i]; NextRecord(s, at, r) && r.type != 0x000A;) {
            if (r.type == 0x0207 && pendingRow >= 0) { // STRING: the text result of the formula before it
                const int chars = U16(s, r.data);
                cells.insert(FormulaCellKey(pendingRow, pendingColumn),
                    WorkbookCell::FromText(biff8 ? BiffString(s, r.data + 2, r.end, chars)
                                                 : QString::fromLatin1(s.constData() + r.data + 2,
                                                     int(std::min<qint64>(chars, r.end - r.data - 2)))));
                pendingRow = -1;
                continue;
            }
            if (r.type != 0x0006 || r.end - r.data < 20)
                continue;
            const int row = U16(s, r.data) + 1, column = U16(s, r.data + 2) + 1;
            const int style = U16(s, r.data + 4);
            const qint64 result = r.data + 6;
            pendingRow = -1;
            if (U16(s, result + 6) == 0xFFFF) {
                switch (quint8(s[result])) {
                case 0:
                    pendingRow = row;
                    pendingColumn = column;
                    break;
                case 1:
                    cells.insert(FormulaCellKey(row, column), WorkbookCell::FromText(s[result + 2] ? "TRUE" : "FALSE"));
                    break;
                case 2:
                    cells.insert(
                        FormulaCellKey(row, column), WorkbookCell::FromError(ErrorText(quint8(s[result + 2]))));
                    break;
                default:
                    break; // an empty string
                }
                continue;
            }
            double value = 0;
            const quint64 raw = Bytes(s, result, 8);
            std::memcpy(&value, &raw, sizeof value);
            WorkbookCell cell = WorkbookCell::FromNumber(value);
            if (style >= 0 && size_t(style) < styleFormats.size()
                && dateFormats.contains(styleFormats[size_t(style)])) {
                const QDate date = SpreadsheetSerialToDate(value, date1904);
                if (date.isValid())
                    cell = WorkbookCell::FromDate(date);
            }
            cells.insert(FormulaCellKey(row, column), cell);
        }
    }
    return true;
}

} // namespace orvek
