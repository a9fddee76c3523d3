#include "richtext/report_table.h"

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_codes.h"
#include "richtext/markup_read.h"
#include "richtext/markup_render.h"

#include <QTextCursor>
#include <QTextDocument>

#include <stdexcept>

namespace orvek {

namespace {
qsizetype CellIndex(int column, int row)
{
    if (column < 1 || column > TStringTable::MaxColumns || row < 1 || row > TStringTable::MaxRows)
        throw std::out_of_range("report table cell out of range");
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
