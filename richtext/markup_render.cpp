#include "richtext/markup_render.h"

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_codes.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace orvek {

namespace {

// Stands for a block taken out of the text; a noncharacter, so it never occurs in text
// (any that does is replaced before rendering).
constexpr char16_t kBlockMark = 0xFDD0;

// One run of the renderer. Positions are 0-based in the text that remains after the
// codes are taken out; End is exclusive, -1 = to the end of the text.
struct TChangedArea {
    qsizetype StartPos = 0;
    qsizetype EndPos = -1;
    QString FontName;
    int SubscriptStyle = 0; // 0 normal, 1 subscript, 2 superscript
    bool Bold = false, Italic = false, Underline = false, Link = false;
    int Size = 0;
    QColor Color = Qt::black;
    int Alignment = 0; // 0 left, 1 right, 2 centre
    bool HasFormat = false; // a format code made the run: it sets every character attribute
    bool HasAlignment = false; // an alignment code made the run: it sets the paragraph alignment
};

struct Block {
    bool isTable = false;
    QString content;
};

QString NormalizeLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return text;
}

// Takes the RTF and table blocks out of Text, earliest first; each becomes kBlockMark.
QString ExtractBlocks(const QString& text, std::vector<Block>& blocks)
{
    static const QString rtfBegin = QStringLiteral(":RTF_BEGIN"), rtfEnd = QStringLiteral(":RTF_END");
    static const QString tableBegin = QStringLiteral(":TABLE_BEGIN"), tableEnd = QStringLiteral(":TABLE_END");
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    qsizetype nextRtf = text.indexOf(rtfBegin, from), nextTable = text.indexOf(tableBegin, from);
    bool noRtfEnd = false, noTableEnd = false;
    while (from < text.size()) {
        if (nextRtf >= 0 && nextRtf < from)
            nextRtf = noRtfEnd ? -1 : text.indexOf(rtfBegin, from);
        if (nextTable >= 0 && nextTable < from)
            nextTable = noTableEnd ? -1 : text.indexOf(tableBegin, from);
        if (nextRtf < 0 && nextTable < 0)
            break;
        const bool isTable = nextRtf < 0 || (nextTable >= 0 && nextTable < nextRtf);
        const qsizetype p = isTable ? nextTable : nextRtf;
        const QString& begin = isTable ? tableBegin : rtfBegin;
        const QString& end = isTable ? tableEnd : rtfEnd;
        const qsizetype q = text.indexOf(end, p + begin.size());
        if (q < 0) {
            // Without its end marker the block stays as text, and so does every later
            // block of its kind.
            out += QStringView(text).mid(from, p + begin.size() - from);
            from = p + begin.size();
            (isTable ? noTableEnd : noRtfEnd) = true;
            continue;
        }
        out += QStringView(text).mid(from, p - from);
        out += QChar(kBlockMark);
        Block block;
        block.isTable = isTable;
        block.content = isTable ? text.mid(p, q - p) : text.mid(p + begin.size(), q - p - begin.size());
        blocks.push_back(std::move(block));
        from = q + end.size();
    }
    out += QStringView(text).mid(from);
    return out;
}

QString AlignEveryLine(const QString& text)
{
    static const QString right = QStringLiteral("[cfright]"), left = QStringLiteral("[cfleft]"),
                         centre = QStringLiteral("[cfcenter]");
    const QStringList lines = text.split(QLatin1Char('\r'));
    QString out;
    out.reserve(text.size() + lines.size() * 8);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (i > 0)
            out += QLatin1Char('\r');
        if (!line.isEmpty() && !line.contains(right) && !line.contains(left) && !line.contains(centre))
            out += left;
        out += line;
    }
    return out;
}

// Disjoint-set "next unpainted position" over 0..n, for painting later runs first.
class Painter {
public:
    explicit Painter(qsizetype n)
        : next_(n + 1)
    {
        for (qsizetype i = 0; i <= n; ++i)
            next_[i] = i;
    }
    qsizetype Find(qsizetype i)
    {
        while (next_[i] != i) {
            next_[i] = next_[next_[i]];
            i = next_[i];
        }
        return i;
    }
    void Mark(qsizetype i) { next_[i] = i + 1; }

private:
    std::vector<qsizetype> next_;
};

QByteArray RtfOf(const QString& text)
{
    return RtfBytesOfText(text);
}

bool ReadNumber(QStringView& rest, QChar delimiter, int& value)
{
    const qsizetype d = rest.indexOf(delimiter);
    if (d < 0)
        return false;
    bool ok = false;
    const qint64 v = rest.left(d).trimmed().toLongLong(&ok);
    if (!ok || v < -1000000000LL || v > 1000000000LL)
        return false;
    value = int(v);
    rest = rest.mid(d + 1);
    return true;
}

// Tables of up to this many rows are kept on one page.
constexpr int kShortTableRows = 10;

// True when the text of Block is wholly bold (and there is some).
bool IsBoldText(const QTextBlock& block)
{
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid() || fragment.text().trimmed().isEmpty())
            continue;
        if (fragment.charFormat().fontWeight() < QFont::Bold)
            return false;
        any = true;
    }
    return any;
}

// Every cell of Row that holds text holds bold text only, and one does.
bool RowIsBold(QTextTable* table, int row)
{
    bool any = false;
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            const QTextBlock block = it.currentBlock();
            if (!block.isValid() || block.text().trimmed().isEmpty())
                continue;
            if (!IsBoldText(block))
                return false;
            any = true;
        }
    }
    return any;
}

void KeepWithNext(const QTextBlock& block)
{
    QTextCursor at(block);
    QTextBlockFormat format = block.blockFormat();
    format.setProperty(rtfprop::KeepWithNext, true);
    at.setBlockFormat(format);
}

void KeepRowWithNext(QTextTable* table, int row)
{
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (!cell.isValid() || cell.row() != row || cell.column() != c)
            continue;
        const QTextBlock last = cell.lastCursorPosition().block();
        for (QTextBlock b = cell.firstCursorPosition().block(); b.isValid(); b = b.next()) {
            KeepWithNext(b);
            if (b == last)
                break;
        }
    }
}

// Reads a table block and inserts it at Cursor. False when its header is not readable;
// then nothing was inserted.
bool InsertTableBlock(QTextCursor& cursor, const QString& content)
{
    static const QString head = QStringLiteral(":TABLE_BEGIN[");
    if (!content.startsWith(head))
        return false;
    const QString normalized = NormalizeLineBreaks(content);
    QStringView rest = QStringView(normalized).mid(head.size());
    int columns = 0, rows = 0, fontSize = 0, left = 0;
    if (!ReadNumber(rest, u',', columns) || !ReadNumber(rest, u']', rows) || !ReadNumber(rest, u',', fontSize)
        || !ReadNumber(rest, u',', left))
        return false;
    // Columns beyond what a page can hold are a broken header, not a table.
    if (columns < 1 || columns > 1000 || rows < 1)
        return false;
    fontSize = std::clamp(fontSize, 1, 1638);
    QList<int> edges;
    for (int c = 0; c < columns; ++c) {
        int edge = 0;
        if (!ReadNumber(rest, u',', edge))
            return false;
        edges.append(edge);
    }
    std::vector<QStringList> cells;
    while (int(cells.size()) < rows && !rest.isEmpty()) {
        qsizetype end = rest.indexOf(u'\r');
        const QStringView line = end < 0 ? rest : rest.left(end);
        QStringList row = line.toString().split(QLatin1Char('\t'));
        while (row.size() < columns)
            row.append(QString());
        row.resize(columns);
        cells.push_back(std::move(row));
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
    }
    if (cells.empty())
        return false;
    const QTextTableFormat format = RtfTableFormat(edges, left, 70, 0, true, columns);
    QTextTable* table = cursor.insertTable(int(cells.size()), columns, format);
    for (int r = 0; r < int(cells.size()); ++r)
        for (int c = 0; c < columns; ++c) {
            QTextCursor cellCursor = table->cellAt(r, c).firstCursorPosition();
            InsertCellMarkup(cellCursor, cells[r][c], fontSize);
        }
    // Only a first row of bold labels over other rows is a header, repeated on the
    // pages the table continues on; a table of label and value rows has none.
    if (table->rows() > 1 && RowIsBold(table, 0)) {
        QTextTableFormat withHeader = table->format();
        withHeader.setHeaderRowCount(1);
        table->setFormat(withHeader);
    }
    // A short table stays on one page: each row but the last keeps with the next.
    if (table->rows() <= kShortTableRows)
        for (int r = 0; r + 1 < table->rows(); ++r)
            KeepRowWithNext(table, r);
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter);
    return true;
}

QTextCharFormat BaseFormat(const QString& fontName, int fontSize)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList { fontName });
    f.setFontPointSize(fontSize);
    return f;
}

// Reads one or two digits at Pos of Text and removes them; -1 when none.
int TakeSizeDigits(QString& text, qsizetype pos)
{
    int digits = 0, value = 0;
    while (digits < 2 && pos < text.size() && text[pos].isDigit() && text[pos].unicode() < 0x80) {
        value = value * 10 + (text[pos].unicode() - '0');
        text.remove(pos, 1);
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

// One format run of a table cell: RunText starts with its format code and holds the
// text up to its close code. Every format code 1..10 in it adds its effect.
void ApplyCellRun(QString& runText, int& currentSize, QTextCharFormat& format, QColor& color)
{
    quint32 bits = 0;
    for (int k = mcItalic; k <= mcColor; ++k) {
        const QString& code = MarkupCodeText(k);
        const qsizetype at = runText.indexOf(code);
        if (at < 0)
            continue;
        bits |= FormatCodeBit(k);
        runText.remove(at, code.size());
        if (k == mcSize) {
            const int size = TakeSizeDigits(runText, at);
            if (size > 0)
                currentSize = size;
            if (at < runText.size() && runText[at] == u']')
                runText.remove(at, 1);
        } else if (k == mcColor) {
            const qsizetype close = runText.indexOf(u']', at);
            if (close >= 0) {
                MarkupColorOfName(runText.mid(at, close - at), &color);
                runText.remove(at, close - at + 1);
            }
        }
    }
    int size = currentSize;
    QString font;
    if (bits & FormatCodeBit(mcArial))
        font = QStringLiteral("Arial");
    if (bits & FormatCodeBit(mcTimes))
        font = QStringLiteral("Times New Roman");
    if (bits & FormatCodeBit(mcCourier))
        font = QStringLiteral("Courier");
    if (bits & FormatCodeBit(mcItalic))
        format.setFontItalic(true);
    if (bits & FormatCodeBit(mcBold))
        format.setFontWeight(QFont::Bold);
    if (bits & (FormatCodeBit(mcSuperscript) | FormatCodeBit(mcSubscript))) {
        format.setVerticalAlignment((bits & FormatCodeBit(mcSuperscript)) ? QTextCharFormat::AlignSuperScript
                                                                          : QTextCharFormat::AlignSubScript);
        size += 2;
        font = QStringLiteral("Courier");
    }
    if (bits & FormatCodeBit(mcUnderline))
        format.setFontUnderline(true);
    if (bits & FormatCodeBit(mcColor))
        format.setForeground(color);
    if (!font.isEmpty())
        format.setFontFamilies(QStringList { font });
    format.setFontPointSize(size);
}

// The cell rules over a text: character codes first, then format runs; Emit(text, format)
// receives the pieces in order.
template <typename EmitFn>
void ParseCellMarkup(const QString& cell, int fontSize, const QTextCharFormat& base, EmitFn emit)
{
    QString s;
    s.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size();) {
        const int entry = MarkupCodeAt(cell, i, SymbolCodeFirst, LetterCodeLast);
        if (entry) {
            s += MarkupCodeGlyph(entry);
            i += MarkupCodeText(entry).size();
        } else {
            s += cell[i++];
        }
    }
    int currentSize = fontSize;
    QColor color = Qt::black;
    qsizetype pos = 0;
    // The next occurrence of each format code, searched again only once passed, so that a
    // long cell is scanned a bounded number of times.
    std::array<qsizetype, mcColor + 1> next;
    next.fill(0);
    while (pos < s.size()) {
        const qsizetype bracket = s.indexOf(u'[', pos);
        if (bracket < 0)
            break;
        qsizetype runStart = -1;
        for (int k = mcItalic; k <= mcColor; ++k) {
            if (next[k] >= 0 && next[k] < bracket)
                next[k] = s.indexOf(MarkupCodeText(k), bracket);
            const qsizetype at = next[k];
            if (at >= 0 && (runStart < 0 || at < runStart))
                runStart = at;
        }
        if (runStart < 0)
            break;
        const qsizetype close = s.indexOf(CloseCode, runStart);
        if (close < 0)
            break;
        if (runStart > pos)
            emit(s.mid(pos, runStart - pos), base);
        QString runText = s.mid(runStart, close - runStart);
        QTextCharFormat format = base;
        ApplyCellRun(runText, currentSize, format, color);
        emit(runText, format);
        pos = close + CloseCode.size();
    }
    if (pos < s.size())
        emit(s.mid(pos), base);
}

} // namespace

bool IsTableMarkup(const QString& Text)
{
    return Text.contains(QLatin1String(":TABLE_BEGIN"));
}
bool IsRtfMarkup(const QString& Text)
{
    return Text.contains(QLatin1String(":RTF_BEGIN"));
}

bool IsFormatCodeAt(const QString& Text, qsizetype Pos)
{
    for (int k = 1; k <= FormatCodeCount; ++k)
        if (Text.indexOf(MarkupCodeText(k)) == Pos)
            return true;
    return false;
}

quint32 FormatCodeBit(int Index)
{
    return Index >= 1 && Index <= FormatCodeCount ? (1u << (Index - 1)) : 0u;
}

void InsertCellMarkup(QTextCursor& Cursor, const QString& Cell, int FontSize)
{
    const QTextCharFormat base = BaseFormat(QStringLiteral("Arial"), FontSize);
    Cursor.beginEditBlock();
    Cursor.setBlockCharFormat(base);
    if (IsRtfMarkup(Cell)) {
        // Mark-up with RTF blocks in it (a value with its unit kept as rich text): the cell
        // rules apply around the blocks, and each block is rich text at its place.
        QString input = Cell;
        input.replace(QChar(kBlockMark), QChar(QChar::ReplacementCharacter));
        std::vector<Block> blocks;
        const QString rest = ExtractBlocks(input, blocks);
        size_t nextBlock = 0;
        ParseCellMarkup(rest, FontSize, base, [&](const QString& text, const QTextCharFormat& format) {
            qsizetype from = 0;
            for (qsizetype at = text.indexOf(QChar(kBlockMark)); at >= 0; at = text.indexOf(QChar(kBlockMark), from)) {
                Cursor.insertText(text.mid(from, at - from), format);
                from = at + 1;
                if (nextBlock >= blocks.size())
                    continue;
                const Block& block = blocks[nextBlock++];
                if (block.isTable)
                    Cursor.insertText(block.content + QStringLiteral(":TABLE_END"), format);
                else if (!ReadRtf(RtfOf(block.content), Cursor))
                    Cursor.insertText(
                        QStringLiteral(":RTF_BEGIN") + block.content + QStringLiteral(":RTF_END"), format);
            }
            Cursor.insertText(text.mid(from), format);
        });
    } else if (!Cell.contains(QLatin1String("{\\rtf")) || !ReadRtf(RtfOf(Cell), Cursor)) {
        ParseCellMarkup(Cell, FontSize, base,
            [&](const QString& text, const QTextCharFormat& format) { Cursor.insertText(text, format); });
    }
    Cursor.endEditBlock();
}

void ApplyMarkupInRichEdit(int FontSize, QTextDocument* Edit)
{
    QTextCursor editBlock(Edit);
    editBlock.beginEditBlock();
    // Character codes, in table order.
    for (int entry = SymbolCodeFirst; entry <= LetterCodeLast; ++entry) {
        const QString& code = MarkupCodeText(entry);
        QTextCursor found = Edit->find(code, 0, QTextDocument::FindCaseSensitively);
        while (!found.isNull()) {
            found.insertText(QString(MarkupCodeGlyph(entry)));
            found = Edit->find(code, found.position(), QTextDocument::FindCaseSensitively);
        }
    }
    // Format runs: each from its code through its close code becomes one piece.
    int currentSize = FontSize;
    QColor color = Qt::black;
    int cursor = 0;
    for (;;) {
        const QTextCursor bracket = Edit->find(QStringLiteral("["), cursor, QTextDocument::FindCaseSensitively);
        if (bracket.isNull())
            break;
        cursor = bracket.selectionStart();
        int runStart = -1;
        for (int k = mcItalic; k <= mcColor; ++k) {
            const QTextCursor at = Edit->find(MarkupCodeText(k), cursor, QTextDocument::FindCaseSensitively);
            if (!at.isNull() && (runStart < 0 || at.selectionStart() < runStart))
                runStart = at.selectionStart();
            if (runStart == cursor)
                break;
        }
        if (runStart < 0)
            break;
        const QTextCursor close = Edit->find(CloseCode, runStart, QTextDocument::FindCaseSensitively);
        if (close.isNull())
            break;
        QTextCursor run(Edit);
        run.setPosition(runStart);
        run.setPosition(close.selectionStart(), QTextCursor::KeepAnchor);
        QString text = run.selectedText();
        QTextCharFormat format = run.charFormat();
        ApplyCellRun(text, currentSize, format, color);
        run.setPosition(runStart);
        run.setPosition(close.selectionEnd(), QTextCursor::KeepAnchor);
        run.insertText(text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')), format);
        cursor = run.position();
    }
    editBlock.endEditBlock();
}

void RenderMarkupToRichEdit(int FontSize, const QString& FontName, bool AlignLines, QTextDocument* Edit,
    const QString& Text, MarkupRenderOutcome* Outcome)
{
    MarkupRenderOutcome outcome;
    const bool undo = Edit->isUndoRedoEnabled();
    Edit->setUndoRedoEnabled(false);
    Edit->clear();
    Edit->setDefaultFont(QFont(FontName, FontSize));

    QString input = Text;
    input.replace(QChar(kBlockMark), QChar(QChar::ReplacementCharacter));
    std::vector<Block> blocks;
    QString work = NormalizeLineBreaks(ExtractBlocks(input, blocks));
    if (AlignLines)
        work = AlignEveryLine(work);

    // The code loop, left to right. A format code's run ends before the first close code
    // after it that no earlier run has taken; a close code no run takes is dropped.
    std::set<qsizetype> freeCloses;
    for (qsizetype at = work.indexOf(CloseCode); at >= 0; at = work.indexOf(CloseCode, at + CloseCode.size()))
        freeCloses.insert(at);
    std::map<qsizetype, size_t> closeOwner; // close position → run
    std::vector<TChangedArea> runs;
    QString out;
    out.reserve(work.size());
    QColor currentColor = Qt::black;
    int pendingSize = 0;
    auto newRun = [&](qsizetype start) {
        TChangedArea run;
        run.StartPos = start;
        run.FontName = FontName;
        run.Size = FontSize;
        runs.push_back(run);
    };
    for (qsizetype i = 0; i < work.size();) {
        const QChar ch = work[i];
        if (ch == u'[' && QStringView(work).mid(i).startsWith(CloseCode)) {
            const auto owner = closeOwner.find(i);
            if (owner != closeOwner.end()) {
                runs[owner->second].EndPos = out.size();
                closeOwner.erase(owner);
            }
            freeCloses.erase(i);
            i += CloseCode.size();
            continue;
        }
        const int entry = MarkupCodeAt(work, i);
        if (entry == 0) {
            out += ch;
            ++i;
            continue;
        }
        if (entry >= SymbolCodeFirst) {
            out += MarkupCodeGlyph(entry);
            i += MarkupCodeText(entry).size();
            continue;
        }
        const qsizetype p = out.size();
        if (runs.empty() || runs.back().StartPos != p)
            newRun(p);
        const size_t index = runs.size() - 1;
        i += MarkupCodeText(entry).size();
        if (entry == mcSize) {
            int value = 0, digits = 0;
            while (digits < 2 && i < work.size() && work[i].unicode() >= '0' && work[i].unicode() <= '9') {
                value = value * 10 + (work[i].unicode() - '0');
                ++i;
                ++digits;
            }
            if (i < work.size() && work[i] == u']')
                ++i;
            pendingSize = value;
        } else if (entry == mcColor) {
            qsizetype close = i;
            while (close < work.size() && work[close] != u']' && work[close] != u'\r' && work[close] != kBlockMark)
                ++close;
            if (close < work.size() && work[close] == u']') {
                MarkupColorOfName(work.mid(i, close - i), &currentColor);
                // A close code inside the name is gone with it.
                for (auto it = freeCloses.lower_bound(i); it != freeCloses.end() && *it < close;)
                    it = freeCloses.erase(it);
                i = close + 1;
            }
        }
        TChangedArea& run = runs[index];
        if (MarkupCodeAt(work, i, 1, FormatCodeCount) == 0) {
            // The last of stacked codes decides where the run ends.
            if (entry >= mcRight) {
                run.EndPos = -1;
            } else {
                const auto close = freeCloses.lower_bound(i);
                if (close != freeCloses.end()) {
                    closeOwner[*close] = index;
                    freeCloses.erase(close);
                } else {
                    run.EndPos = -1;
                }
            }
        }
        if (pendingSize > 0) {
            run.Size = pendingSize;
            pendingSize = 0;
        }
        if (entry < mcRight)
            run.HasFormat = true;
        switch (entry) {
        case mcItalic:
            run.Italic = true;
            break;
        case mcBold:
            run.Bold = true;
            break;
        case mcSuperscript:
        case mcSubscript:
            run.SubscriptStyle = entry == mcSuperscript ? 2 : 1;
            run.FontName = QStringLiteral("Arial");
            run.Size = FontSize;
            break;
        case mcUnderline:
        case mcUnderline2:
            run.Underline = true;
            break;
        case mcArial:
        case mcTimes:
        case mcCourier:
            run.FontName = QString::fromLatin1(MarkupCodeTable[entry - 1].FontName);
            break;
        case mcColor:
            run.Color = currentColor;
            break;
        case mcUrl:
            if (!outcome.urlDetectExtended)
                outcome.urlDetect = true;
            run.Link = true;
            run.Underline = true;
            run.Color = QColor(255, 0, 0);
            break;
        case mcUrlExtended:
            outcome.urlDetectExtended = true;
            break;
        case mcRight:
            run.Alignment = 1;
            run.HasAlignment = true;
            break;
        case mcLeft:
            run.Alignment = 0;
            run.HasAlignment = true;
            break;
        case mcCenter:
            run.Alignment = 2;
            run.HasAlignment = true;
            break;
        default:
            break;
        }
    }
    const qsizetype n = out.size();
    for (TChangedArea& run : runs)
        if (run.EndPos < 0 || run.EndPos > n)
            run.EndPos = n;

    // Later runs win over earlier ones on their overlap: paint from the last run back.
    std::vector<int> formatOf(n, -1);
    {
        Painter painter(n);
        for (int r = int(runs.size()) - 1; r >= 0; --r) {
            if (!runs[r].HasFormat)
                continue;
            for (qsizetype j = painter.Find(runs[r].StartPos); j < runs[r].EndPos; j = painter.Find(j)) {
                formatOf[j] = r;
                painter.Mark(j);
            }
        }
    }
    // Paragraphs and their alignment.
    std::vector<qsizetype> paragraphStart { 0 };
    for (qsizetype j = 0; j < n; ++j)
        if (out[j] == u'\r')
            paragraphStart.push_back(j + 1);
    const qsizetype paragraphs = qsizetype(paragraphStart.size());
    auto paragraphOf = [&](qsizetype pos) {
        return qsizetype(std::upper_bound(paragraphStart.begin(), paragraphStart.end(), pos) - paragraphStart.begin())
            - 1;
    };
    std::vector<int> alignmentOf(paragraphs, 0);
    {
        Painter painter(paragraphs);
        for (int r = int(runs.size()) - 1; r >= 0; --r) {
            if (!runs[r].HasAlignment)
                continue;
            const qsizetype first = paragraphOf(runs[r].StartPos);
            const qsizetype last = paragraphOf(std::max(runs[r].StartPos, runs[r].EndPos - 1));
            for (qsizetype k = painter.Find(first); k <= last; k = painter.Find(k)) {
                alignmentOf[k] = runs[r].Alignment;
                painter.Mark(k);
            }
        }
    }

    // The document.
    const QTextCharFormat base = BaseFormat(FontName, FontSize);
    std::vector<QTextCharFormat> formats(runs.size());
    for (size_t r = 0; r < runs.size(); ++r) {
        const TChangedArea& run = runs[r];
        if (!run.HasFormat)
            continue;
        QTextCharFormat f = BaseFormat(run.FontName, run.Size > 0 ? run.Size : FontSize);
        if (run.Bold)
            f.setFontWeight(QFont::Bold);
        if (run.Italic)
            f.setFontItalic(true);
        if (run.Underline)
            f.setFontUnderline(true);
        if (run.SubscriptStyle == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (run.SubscriptStyle == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        f.setForeground(run.Color);
        if (run.Link) {
            f.setAnchor(true);
            f.setAnchorHref(out.mid(run.StartPos, run.EndPos - run.StartPos).trimmed());
        }
        formats[r] = f;
    }
    auto blockFormatOf = [&](qsizetype paragraph) {
        QTextBlockFormat bf;
        const int a = alignmentOf[std::clamp<qsizetype>(paragraph, 0, paragraphs - 1)];
        bf.setAlignment(a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
        return bf;
    };

    QTextCursor cursor(Edit);
    // One edit block: inside it the cursor does not lay out the paragraph after every
    // insertion, which would make long paragraphs quadratic.
    cursor.beginEditBlock();
    cursor.setBlockFormat(blockFormatOf(0));
    cursor.setBlockCharFormat(base);
    size_t nextBlock = 0;
    qsizetype paragraph = 0;
    qsizetype segmentStart = 0;
    auto flush = [&](qsizetype end) {
        if (end > segmentStart) {
            const int r = formatOf[segmentStart];
            cursor.insertText(out.mid(segmentStart, end - segmentStart), r < 0 ? base : formats[r]);
        }
    };
    for (qsizetype j = 0; j < n; ++j) {
        const QChar ch = out[j];
        if (ch == u'\r') {
            flush(j);
            ++paragraph;
            cursor.insertBlock(blockFormatOf(paragraph), base);
            segmentStart = j + 1;
        } else if (ch == kBlockMark) {
            flush(j);
            segmentStart = j + 1;
            if (nextBlock < blocks.size()) {
                const Block& block = blocks[nextBlock++];
                if (block.isTable) {
                    const bool startsLine = cursor.atBlockStart();
                    const QTextBlock before = cursor.block();
                    if (!InsertTableBlock(cursor, block.content)) {
                        cursor.insertText(block.content + QStringLiteral(":TABLE_END"), base);
                    } else {
                        cursor.setBlockFormat(blockFormatOf(paragraph));
                        // A table that starts its line takes that line's place: the empty
                        // paragraph left above it joins the paragraph before.
                        const QTextBlock previous = before.previous();
                        if (startsLine && before.length() == 1 && previous.isValid()
                            && !QTextCursor(previous).currentTable() && !QTextCursor(before).currentTable()) {
                            QTextCursor join(previous);
                            join.movePosition(QTextCursor::EndOfBlock);
                            join.deleteChar();
                        }
                    }
                } else if (!ReadRtf(RtfOf(block.content), cursor)) {
                    cursor.insertText(QStringLiteral(":RTF_BEGIN") + block.content + QStringLiteral(":RTF_END"), base);
                }
            }
        } else if (j > segmentStart && formatOf[j] != formatOf[j - 1]) {
            flush(j);
            segmentStart = j;
        }
    }
    flush(n);
    cursor.endEditBlock();
    ShowEmptyLinesAfterTables(Edit);
    // A heading (a paragraph in bold only) stays on the page of what follows it.
    for (QTextFrame::iterator it = Edit->rootFrame()->begin(); !it.atEnd(); ++it) {
        const QTextBlock block = it.currentBlock();
        if (block.isValid() && block.next().isValid() && !QTextCursor(block).currentTable() && IsBoldText(block))
            KeepWithNext(block);
    }

    Edit->setUndoRedoEnabled(undo);
    Edit->setModified(false);
    if (Outcome)
        *Outcome = outcome;
}

} // namespace orvek
