// ".xls" workbooks: the BIFF8 ("Workbook") or BIFF5 ("Book") stream taken out of the
// compound file and its records read. The globals give the sheets' offsets, the date
// system, the code page of 8-bit texts, the shared strings and the number formats of
// the cell styles; each sheet's records give its cells: numbers (NUMBER, RK, MULRK; a
// date when the cell's format is one), texts (LABELSST, LABEL, RSTRING), Booleans and
// error values (BOOLERR), and the stored results of formulas (FORMULA, with a text
// result in the STRING record after it). Every read is bounded by the record it
// belongs to, and the records walked in all sheets together never exceed the stream.

#include "platform/code_pages.h"
#include "platform/workbook_parts.h"
#include "platform/workbook_reader.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cstring>

namespace orvek {

namespace {

constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

enum RecordType : quint16 {
    kFormula = 0x0006,
    kEof = 0x000A,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kDateMode = 0x0022,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

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
double Float64(const QByteArray& d, qint64 at)
{
    const quint64 raw = Bytes(d, at, 8);
    double value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

// A number in RK form: bit 1 marks a 30-bit integer, else the top 30 bits of a double;
// bit 0 marks a value a hundred times too large.
double RkValue(quint32 rk)
{
    double value = 0;
    if (rk & 2)
        value = double(qint32(rk) >> 2);
    else {
        const quint64 raw = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &raw, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

struct Record {
    quint16 type;
    qint64 data, end; // offsets of the record's data and of the next record
};

bool NextRecord(const QByteArray& s, qint64& at, Record& r)
{
    if (at < 0 || at + 4 > s.size())
        return false;
    r.type = U16(s, at);
    r.data = at + 4;
    r.end = r.data + U16(s, at + 2);
    at = r.end;
    return r.end <= s.size();
}

// The data of a record and of the CONTINUE records after it, read as one: a text whose
// characters run into the next piece finds there a new flags byte saying whether they
// go on in one or two bytes.
class RecordReader {
public:
    RecordReader(const QByteArray& s, const Record& first, qint64& next)
        : s_(s)
    {
        pieces_.push_back({ first.data, first.end });
        Record r;
        for (qint64 at = next; NextRecord(s, at, r) && r.type == kContinue; next = at)
            pieces_.push_back({ r.data, r.end });
        at_ = first.data;
    }
    explicit RecordReader(const QByteArray& s, const Record& only)
        : s_(s)
    {
        pieces_.push_back({ only.data, only.end });
        at_ = only.data;
    }

    bool Skip(qint64 n)
    {
        while (n > 0) {
            if (!Available())
                return false;
            const qint64 step = std::min(n, pieces_[piece_].second - at_);
            at_ += step;
            n -= step;
        }
        return true;
    }
    bool Read(int count, quint32& value)
    {
        value = 0;
        for (int i = 0; i < count; ++i) {
            if (!Available())
                return false;
            value |= quint32(quint8(s_[at_++])) << (8 * i);
        }
        return true;
    }
    // A BIFF8 text of Chars characters: a flags byte (bit 0: two bytes per character,
    // bit 2: phonetic data, bit 3: formatting runs), the counts those bits announce,
    // the characters, then the runs and the phonetic data, which are skipped.
    bool Biff8Text(quint32 chars, QString& text)
    {
        quint32 flags = 0, runs = 0, phonetic = 0;
        if (!Read(1, flags) || ((flags & 8) && !Read(2, runs)) || ((flags & 4) && !Read(4, phonetic)))
            return false;
        text.clear();
        bool wide = flags & 1;
        while (chars > 0) {
            if (at_ == pieces_[piece_].second) {
                // The characters go on in the next piece, after a flags byte of their own.
                if (piece_ + 1 == pieces_.size())
                    return false;
                at_ = pieces_[++piece_].first;
                quint32 more = 0;
                if (!Read(1, more))
                    return false;
                wide = more & 1;
            }
            const qint64 width = wide ? 2 : 1;
            const qint64 n = std::min<qint64>(chars, (pieces_[piece_].second - at_) / width);
            if (n == 0)
                return false;
            const char* p = s_.constData() + at_;
            if (wide)
                for (qint64 i = 0; i < n; ++i)
                    text += QChar(char16_t(quint8(p[2 * i]) | quint8(p[2 * i + 1]) << 8));
            else
                text += QString::fromLatin1(p, n);
            at_ += n * width;
            chars -= quint32(n);
        }
        return Skip(qint64(runs) * 4) && Skip(phonetic);
    }

private:
    // True when a byte is left; moves into the next piece when this one is used up.
    bool Available()
    {
        while (at_ >= pieces_[piece_].second) {
            if (piece_ + 1 == pieces_.size())
                return false;
            at_ = pieces_[++piece_].first;
        }
        return true;
    }

    const QByteArray& s_;
    std::vector<std::pair<qint64, qint64>> pieces_;
    size_t piece_ = 0;
    qint64 at_ = 0;
};

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

struct Globals {
    bool biff8 = false;
    bool date1904 = false;
    int codePage = CodePage1252;
    std::vector<quint32> sheetOffsets;
    QStringList sharedStrings;
    std::vector<int> styleFormats; // number format of each cell style (XF)
    QSet<int> dateFormats;

    // A text whose character count takes CountBytes bytes: BIFF8 texts carry their own
    // flags, BIFF5 texts are bytes of the workbook's code page.
    QString Text(RecordReader& reader, int countBytes) const
    {
        quint32 chars = 0, byte = 0;
        QString text;
        if (!reader.Read(countBytes, chars))
            return text;
        if (biff8)
            reader.Biff8Text(chars, text);
        else
            for (quint32 i = 0; i < chars && reader.Read(1, byte); ++i)
                text += CodePageToUnicode(codePage, uchar(byte));
        return text;
    }

    // A number, shown as a date when the cell style's format is a date format.
    WorkbookCell Number(double value, int style) const
    {
        if (style >= 0 && size_t(style) < styleFormats.size() && dateFormats.contains(styleFormats[size_t(style)])) {
            const QDate date = SpreadsheetSerialToDate(value, date1904);
            if (date.isValid())
                return WorkbookCell::FromDate(date);
        }
        return WorkbookCell::FromNumber(value);
    }
};

void ReadSharedStrings(const QByteArray& s, const Record& r, qint64& next, Globals& g)
{
    RecordReader reader(s, r, next);
    quint32 total = 0, unique = 0;
    if (!reader.Read(4, total) || !reader.Read(4, unique))
        return;
    for (quint32 i = 0; i < unique; ++i) {
        quint32 chars = 0;
        QString text;
        if (!reader.Read(2, chars) || !reader.Biff8Text(chars, text))
            return;
        g.sharedStrings << text;
    }
}

Globals ReadGlobals(const QByteArray& s)
{
    Globals g;
    for (int id = 0; id < 164; ++id)
        if (IsBuiltInDateFormat(id))
            g.dateFormats.insert(id);
    Record r;
    for (qint64 at = 0; NextRecord(s, at, r) && r.type != kEof;) {
        switch (r.type) {
        case kBof:
            g.biff8 = U16(s, r.data) == 0x0600;
            break;
        case kCodePage:
            g.codePage = U16(s, r.data);
            break;
        case kBoundSheet:
            g.sheetOffsets.push_back(U32(s, r.data));
            break;
        case kDateMode:
            g.date1904 = U16(s, r.data) == 1;
            break;
        case kXf:
            g.styleFormats.push_back(U16(s, r.data + 2));
            break;
        case kSst:
            if (g.biff8)
                ReadSharedStrings(s, r, at, g);
            break;
        case kFormat: {
            const int id = U16(s, r.data);
            RecordReader reader(s, r);
            if (reader.Skip(2) && IsDateFormatCode(g.Text(reader, g.biff8 ? 2 : 1)))
                g.dateFormats.insert(id);
            else
                g.dateFormats.remove(id);
            break;
        }
        default:
            break;
        }
    }
    return g;
}

struct PlacedCell {
    int row, column;
    WorkbookCell cell;
};

// The cells of the sheet whose substream starts at At; Budget is what is left of the
// bytes the sheets may walk together. False when it runs out.
bool ReadSheetCells(const QByteArray& s, qint64 at, const Globals& g, qint64& budget, std::vector<PlacedCell>& cells)
{
    auto place = [&cells](const Record& r, const QByteArray& d, const WorkbookCell& cell) {
        cells.push_back({ U16(d, r.data) + 1, U16(d, r.data + 2) + 1, cell });
    };
    int depth = 0; // charts embedded in the sheet bring substreams of their own
    int pendingRow = -1, pendingColumn = -1; // a formula whose text result follows
    Record r;
    while (NextRecord(s, at, r)) {
        budget -= r.end - r.data + 4;
        if (budget < 0)
            return false;
        if (r.type == kBof)
            ++depth;
        else if (r.type == kEof && --depth <= 0)
            break;
        if (depth > 1)
            continue;
        const qint64 size = r.end - r.data;
        const int style = U16(s, r.data + 4);
        switch (r.type) {
        case kNumber:
            if (size >= 14)
                place(r, s, g.Number(Float64(s, r.data + 6), style));
            break;
        case kRk:
            if (size >= 10)
                place(r, s, g.Number(RkValue(U32(s, r.data + 6)), style));
            break;
        case kMulRk: {
            const int row = U16(s, r.data) + 1, first = U16(s, r.data + 2) + 1;
            for (qint64 i = 0; r.data + 4 + 6 * i + 6 <= r.end - 2; ++i)
                cells.push_back(
                    { row, first + int(i), g.Number(RkValue(U32(s, r.data + 6 + 6 * i)), U16(s, r.data + 4 + 6 * i)) });
            break;
        }
        case kLabelSst:
            if (size >= 10 && g.biff8) {
                const quint32 index = U32(s, r.data + 6);
                place(r, s,
                    index < quint32(g.sharedStrings.size()) ? WorkbookCell::FromText(g.sharedStrings[index])
                                                            : WorkbookCell::FromError("#REF!"));
            }
            break;
        case kLabel:
        case kRString:
            if (size >= 8) {
                RecordReader reader(s, r);
                reader.Skip(6);
                place(r, s, WorkbookCell::FromText(g.Text(reader, 2)));
            }
            break;
        case kBoolErr:
            if (size >= 8) {
                const quint8 value = quint8(s[r.data + 6]);
                place(r, s,
                    s[r.data + 7] ? WorkbookCell::FromError(ErrorText(value))
                                  : WorkbookCell::FromText(value ? "TRUE" : "FALSE"));
            }
            break;
        case kFormula:
            // The result: a number, or, marked by 0xFFFF in its last two bytes, a text
            // (in the STRING record after it), a Boolean, an error code or an empty text.
            pendingRow = -1;
            if (size < 20)
                break;
            if (U16(s, r.data + 12) != 0xFFFF)
                place(r, s, g.Number(Float64(s, r.data + 6), style));
            else if (s[r.data + 6] == 0) {
                pendingRow = U16(s, r.data) + 1;
                pendingColumn = U16(s, r.data + 2) + 1;
            } else if (s[r.data + 6] == 1)
                place(r, s, WorkbookCell::FromText(s[r.data + 8] ? "TRUE" : "FALSE"));
            else if (s[r.data + 6] == 2)
                place(r, s, WorkbookCell::FromError(ErrorText(quint8(s[r.data + 8]))));
            break;
        case kString:
            if (pendingRow >= 0) {
                qint64 next = at;
                RecordReader reader(s, r, next);
                cells.push_back({ pendingRow, pendingColumn, WorkbookCell::FromText(g.Text(reader, 2)) });
            }
            pendingRow = -1;
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace

bool ReadXlsWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets)
{
    sheets.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return false;
    QByteArray s;
    if (!ReadCompoundStream(file.readAll(), { "Workbook", "Book" }, s))
        return false;
    Record bof;
    qint64 at = 0;
    if (!NextRecord(s, at, bof) || bof.type != kBof || (U16(s, bof.data) != 0x0600 && U16(s, bof.data) != 0x0500))
        return false;
    const Globals g = ReadGlobals(s);
    qint64 budget = s.size();
    sheets.assign(g.sheetOffsets.size(), WorkbookSheet());
    for (size_t i = 0; i < g.sheetOffsets.size(); ++i) {
        std::vector<PlacedCell> cells;
        if (!ReadSheetCells(s, g.sheetOffsets[i], g, budget, cells)) {
            sheets.clear();
            return false;
        }
        // In row and column order; of two records for one cell the later wins.
        std::stable_sort(cells.begin(), cells.end(), [](const PlacedCell& a, const PlacedCell& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        for (size_t k = 0; k < cells.size(); ++k) {
            const PlacedCell& c = cells[k];
            if (k + 1 < cells.size() && cells[k + 1].row == c.row && cells[k + 1].column == c.column)
                continue;
            if (k == 0 || cells[k - 1].row != c.row)
                sheets[i].AddRows(c.row, 1);
            sheets[i].AddCells(c.column, 1, c.cell);
        }
    }
    return true;
}

} // namespace orvek
