#include "richtext/report_table.h"

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_codes.h"
#include "richtext/markup_read.h"
#include "richtext/markup_render.h"

#include "platform/paper.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace orvek {

EReportTableFull::EReportTableFull()
    : std::out_of_range("report table cell out of range")
{
}

namespace {
qsizetype CellIndex(int column, int row)
{
    if (column < 1 || column > TStringTable::MaxColumns || row < 1 || row > TStringTable::MaxRows)
        throw EReportTableFull();
    return qsizetype(column - 1) * TStringTable::MaxRows + (row - 1);
}
} // namespace

QString& TStringTable::Cells(int column, int row)
{
    return cells_[CellIndex(column, row)];
}

const QString& TStringTable::Cells(int column, int row) const
{
    return cells_[CellIndex(column, row)];
}

void TStringTable::Clear()
{
    RowCount = 0;
    ColCount = 0;
    ColWidths.fill(0);
    for (QString& cell : cells_)
        cell.clear();
}

ReportTableOwner::ReportTableOwner()
{
    if (!ReportTable) {
        owned_ = std::make_unique<TStringTable>();
        ReportTable = owned_.get();
    }
}

ReportTableOwner::~ReportTableOwner()
{
    if (owned_) {
        ReportTable = nullptr;
        owned_.reset();
    }
}

void StripFormatCodes(QString& Text)
{
    for (int entry = 1; entry <= FormatCodeCount; ++entry)
        Text.remove(MarkupCodeText(entry));
    Text.remove(CloseCode);
}

int ReportBodyWidth()
{
    return DefaultReportPage().BodyWidth();
}

QString PlainTextOfRtfBlock(const QString& Text)
{
    QString rtf = Text;
    const qsizetype begin = rtf.indexOf(QLatin1String(":RTF_BEGIN"));
    if (begin >= 0)
        rtf.remove(begin, 10);
    const qsizetype end = rtf.indexOf(QLatin1String(":RTF_END"));
    if (end >= 0)
        rtf.remove(end, 8);
    QTextDocument scratch;
    ReadRtfDocument(RtfBytesOfText(rtf), &scratch);
    return scratch.toPlainText();
}

void AutoSizeTableColumns(quint8 Mode, int FontSize)
{
    TStringTable& table = *ReportTable;
    auto widthOf = [&](int n, int O, int U, int S, int H) {
        return FontSize <= 8 ? 100 * (n + 2) - 10 * O + 5 * U - 40 * S - 50 * H
                             : 100 * (n + 4) - 10 * O + 5 * U - 40 * S - 30 * H;
    };
    for (int i = 1; i <= table.ColCount; ++i) {
        int widest = 0, headerWidth = 0, lastH = 0;
        for (int j = 1; j <= table.RowCount; ++j) {
            QString s = table.Cells(i, j);
            if (IsRtfMarkup(s)) {
                // Mark-up with RTF blocks in it counts by the text the cell shows.
                QTextDocument shown;
                QTextCursor cursor(&shown);
                InsertCellMarkup(cursor, s, FontSize);
                s = shown.toPlainText();
            } else if (IsRtfText(s)) {
                s = PlainTextOfRtfBlock(s);
            } else {
                StripFormatCodes(s);
            }
            const int n = int(std::min<qsizetype>(s.size(), 80));
            int S = 0, U = 0, O = 0;
            for (int k = 0; k < n; ++k) {
                const char16_t c = s[k].unicode();
                if (c == ' ')
                    ++S;
                else if (c >= 'A' && c <= 'Z')
                    ++U;
                else
                    ++O;
            }
            const int H = O > 30 ? O / 2 : 0;
            lastH = H;
            int w = widthOf(n, O, U, S, H);
            if (Mode == 1 && i == 1)
                w = int(std::lround(w * 1.3));
            if (j == 1)
                headerWidth = w;
            widest = std::max(widest, w);
        }
        table.ColWidths[i] = std::max(0, widest);
        if (Mode == 0) {
            const int capN = table.RowCount >= 1 && headerWidth >= widest ? 12 : 40;
            const int cap = widthOf(capN, capN, 0, 0, lastH);
            if (cap < table.ColWidths[i])
                table.ColWidths[i] = cap;
        }
    }
}

namespace {

// The text a cell shows, for measuring.
QString ShownText(const QString& cell, int fontSize)
{
    if (IsRtfMarkup(cell)) {
        QTextDocument shown;
        QTextCursor cursor(&shown);
        InsertCellMarkup(cursor, cell, fontSize);
        return shown.toPlainText();
    }
    if (IsRtfText(cell))
        return PlainTextOfRtfBlock(cell);
    QString s = cell;
    StripFormatCodes(s);
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size();) {
        const int entry = MarkupCodeAt(s, i, SymbolCodeFirst, LetterCodeLast);
        if (entry) {
            out += MarkupCodeGlyph(entry);
            i += MarkupCodeText(entry).size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

// A device of 1440 dots per inch: its pixels are twips.
const QPaintDevice& TwipDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        image.setDotsPerMeterX(56693);
        image.setDotsPerMeterY(56693);
        return image;
    }();
    return device;
}

// What a column needs, in twips with the cell's gaps and borders: the widest word of any
// cell (words are never broken, so numbers never wrap) and the widest data cell on one
// line.
struct ColumnNeeds {
    int word = 0;
    int line = 0;
};

ColumnNeeds MeasureColumn(const TStringTable& table, int column, int fontSize)
{
    // The gaps on both sides of a cell's text and its border, and a margin for the
    // word processors whose metrics differ a little from ours.
    const auto withGaps = [](double text) { return int(std::ceil(text * 1.08)) + 2 * 70 + 30; };
    QFont regular(QStringLiteral("Arial"));
    regular.setPointSize(std::max(1, fontSize));
    QFont bold = regular;
    bold.setBold(true);
    const QFontMetricsF regularMetrics(regular, &TwipDevice());
    const QFontMetricsF boldMetrics(bold, &TwipDevice());
    ColumnNeeds needs;
    for (int row = 1; row <= table.RowCount; ++row) {
        const QString& cell = table.Cells(column, row);
        if (cell.isEmpty())
            continue;
        const QFontMetricsF& metrics = cell.startsWith(QLatin1String("[cf3]")) ? boldMetrics : regularMetrics;
        const QString shown = ShownText(cell, fontSize);
        for (const QString& word : shown.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            needs.word = std::max(needs.word, withGaps(metrics.horizontalAdvance(word)));
        if (row > 1)
            needs.line = std::max(needs.line, withGaps(metrics.horizontalAdvance(shown.simplified())));
    }
    needs.line = std::max(needs.line, needs.word);
    return needs;
}

// Moves Amount twips out of (Sign -1) or into (Sign +1) the columns, in proportion to
// what each can take or give (Limit[i]), no column beyond its limit; returns the part of
// Amount that found no place.
int Spread(std::vector<int>& widths, const std::vector<int>& limit, int amount, int sign)
{
    long long total = 0;
    for (int l : limit)
        total += l;
    if (amount <= 0 || total <= 0)
        return std::max(0, amount);
    const long long moved = std::min<long long>(amount, total);
    std::vector<long long> share(widths.size());
    long long done = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        share[i] = limit[i] * moved / total;
        done += share[i];
    }
    // What the rounding left goes one twip at a time to the columns with room for it.
    for (size_t i = 0; done < moved; i = (i + 1) % widths.size())
        if (share[i] < limit[i]) {
            ++share[i];
            ++done;
        }
    for (size_t i = 0; i < widths.size(); ++i)
        widths[i] += sign * int(share[i]);
    return int(amount - moved);
}

std::vector<int> Excess(const std::vector<int>& widths, const std::vector<int>& floor)
{
    std::vector<int> out(widths.size());
    for (size_t i = 0; i < widths.size(); ++i)
        out[i] = std::max(0, widths[i] - floor[i]);
    return out;
}

long long Sum(const std::vector<int>& values)
{
    long long sum = 0;
    for (int v : values)
        sum += v;
    return sum;
}

} // namespace

void FitTableColumns(int FontSize, int MaxWidth)
{
    TStringTable& table = *ReportTable;
    const int n = table.ColCount;
    if (n <= 0 || n > TStringTable::MaxColumns)
        return;
    std::vector<int> widths(static_cast<size_t>(n)), word(static_cast<size_t>(n)), line(static_cast<size_t>(n));
    for (int c = 1; c <= n; ++c) {
        const ColumnNeeds needs = MeasureColumn(table, c, FontSize);
        word[size_t(c - 1)] = needs.word;
        line[size_t(c - 1)] = needs.line;
        // No word is broken: a column is at least as wide as its widest word.
        widths[size_t(c - 1)] = std::max(table.ColWidths[size_t(c)], needs.word);
    }
    if (MaxWidth > 0 && Sum(widths) > MaxWidth) {
        // Narrowed to the page: first the room no cell fills, then what wrapping text
        // gives; a column of numbers keeps the width its numbers need.
        int excess = int(Sum(widths) - MaxWidth);
        excess = Spread(widths, Excess(widths, line), excess, -1);
        excess = Spread(widths, Excess(widths, word), excess, -1);
        if (excess > 0) {
            // Not even the words fit: every column shrinks alike.
            const long long sum = Sum(widths);
            for (int& w : widths)
                w = int(w * static_cast<long long>(MaxWidth) / sum);
        }
    } else {
        // Columns whose cells wrap take the room left on the page, then the room other
        // columns hold beyond their widest cell.
        const std::vector<int> deficit = Excess(line, widths);
        const long long need = Sum(deficit);
        if (need > 0) {
            const std::vector<int> waste = Excess(widths, line);
            const long long room = MaxWidth > 0 ? MaxWidth - Sum(widths) : 0;
            const int gain = int(std::min(need, room + Sum(waste)));
            Spread(widths, waste, int(std::max<long long>(0, gain - room)), -1);
            Spread(widths, deficit, gain, +1);
        }
    }
    for (int c = 1; c <= n; ++c)
        table.ColWidths[size_t(c)] = widths[size_t(c - 1)];
}

namespace {
// Text ends with an RTF control word ("\par", "\fs20", "\li-120"), not with an
// escaped backslash followed by letters.
bool EndsWithControlWord(const QString& text)
{
    auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    qsizetype k = text.size();
    while (k > 0 && isDigit(text[k - 1]))
        --k;
    if (k < text.size() && k > 0 && text[k - 1] == u'-')
        --k;
    const qsizetype lettersEnd = k;
    while (k > 0 && isLetter(text[k - 1]))
        --k;
    if (k == lettersEnd || k == 0 || text[k - 1] != u'\\')
        return false;
    qsizetype backslashes = 0;
    while (k > 0 && text[k - 1] == u'\\') {
        ++backslashes;
        --k;
    }
    return backslashes % 2 == 1;
}

QString CellForBlock(const QString& cell)
{
    QString s = cell;
    if (IsRtfText(s)) {
        // Line ends are no text of RTF, but one ends a control word: there a blank takes
        // its place, so that the word does not run into what follows.
        QString rtf;
        rtf.reserve(s.size());
        for (QChar ch : s) {
            if (ch == u'\r' || ch == u'\n') {
                if (EndsWithControlWord(rtf))
                    rtf += QLatin1Char(' ');
                continue;
            }
            rtf += ch;
        }
        s = rtf;
        s.replace(QLatin1Char('\t'), QLatin1String("\\tab "));
    } else {
        s.replace(QLatin1String("\r\n"), QLatin1String(" "));
        s.replace(QLatin1Char('\r'), QLatin1Char(' '));
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
        s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    }
    return s;
}
} // namespace

void BuildTableMarkup(bool AutoWidths, quint8 WidthMode, int FontSize, QString& Text, int Left)
{
    if (AutoWidths)
        AutoSizeTableColumns(WidthMode, FontSize);
    FitTableColumns(FontSize, ReportBodyWidth() - Left);
    const TStringTable& table = *ReportTable;
    QString out
        = QStringLiteral("\r:TABLE_BEGIN[%1,%2]%3,%4,").arg(table.ColCount).arg(table.RowCount).arg(FontSize).arg(Left);
    int x = Left;
    for (int i = 1; i <= table.ColCount; ++i) {
        x += table.ColWidths[i];
        out += QString::number(x) + QLatin1Char(',');
    }
    for (int j = 1; j <= table.RowCount; ++j) {
        for (int i = 1; i <= table.ColCount; ++i) {
            out += CellForBlock(table.Cells(i, j));
            out += i < table.ColCount ? QLatin1Char('\t') : QLatin1Char('\r');
        }
    }
    out += QStringLiteral(":TABLE_END");
    Text = out;
}

} // namespace orvek
