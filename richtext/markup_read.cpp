#include "richtext/markup_read.h"

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_codes.h"
#include "richtext/markup_render.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

namespace orvek {

namespace {

int StateOf(const QTextCharFormat& f)
{
    int state = 0;
    if (f.fontWeight() > QFont::Medium)
        state |= 2;
    if (f.fontItalic())
        state |= 1;
    if (f.fontUnderline())
        state |= 0x10;
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        state |= 4;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        state |= 8;
    return state;
}

QString OpeningCodes(int state)
{
    QString s;
    if (state & 2)
        s += MarkupCodeText(mcBold);
    if (state & 1)
        s += MarkupCodeText(mcItalic);
    if (state & 0x10)
        s += MarkupCodeText(mcUnderline);
    if (state & 4)
        s += MarkupCodeText(mcSuperscript);
    else if (state & 8)
        s += MarkupCodeText(mcSubscript);
    return s;
}

// Calls Visit(char, format) for every character of the document in order, and
// Visit(CR, previous format) between paragraphs (table cells included).
template <typename Visit> void ForEachCharacter(const QTextDocument* doc, Visit visit)
{
    QTextCharFormat last;
    bool first = true;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (!first)
            visit(QChar(u'\r'), block.charFormat());
        first = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat())
                continue;
            const QString text = fragment.text();
            for (QChar ch : text) {
                if (ch == QChar::ObjectReplacementCharacter)
                    continue;
                visit(ch == QChar::LineSeparator ? QChar(u'\r') : ch, f);
            }
        }
    }
}

QTextDocument& ScratchDocument()
{
    static QTextDocument* scratch = new QTextDocument;
    scratch->clear();
    return *scratch;
}

} // namespace

void AppendCharAsMarkup(QChar Ch, QString& Text)
{
    if (Ch.isNull())
        return;
    if (Ch.unicode() >= 0x80) {
        if (const int entry = MarkupEntryForChar(Ch)) {
            Text += MarkupCodeText(entry);
            return;
        }
    }
    Text += Ch;
}

bool RichEditToMarkup(const QTextDocument* Edit, QString& Text)
{
    QString out;
    int previous = 0;
    int pendingBreaks = 0; // line ends wait for the next character: a run closes before them
    ForEachCharacter(Edit, [&](QChar ch, const QTextCharFormat& f) {
        if (ch == u'\r') {
            ++pendingBreaks;
            return;
        }
        const int state = StateOf(f);
        if (state != previous) {
            if (previous != 0)
                out += CloseCode;
            out += QString(pendingBreaks, QLatin1Char('\r'));
            out += OpeningCodes(state);
            previous = state;
        } else {
            out += QString(pendingBreaks, QLatin1Char('\r'));
        }
        pendingBreaks = 0;
        AppendCharAsMarkup(ch, out);
    });
    // Trailing line ends are dropped.
    if (previous != 0)
        out += CloseCode;
    Text = out;
    return Edit->isModified();
}

bool RichEditToPlainText(const QTextDocument* Edit, QString& Text)
{
    QString out;
    ForEachCharacter(Edit, [&](QChar ch, const QTextCharFormat&) { out += PlainBaseChar(ch); });
    Text = out;
    return Edit->isModified();
}

bool IsRtfText(const QString& Text)
{
    return Text.contains(QLatin1String("{\\rtf"));
}

QString WrapRtfBlock(const QString& Text)
{
    if (!IsRtfText(Text))
        return Text;
    return QStringLiteral(":RTF_BEGIN") + Text + QStringLiteral(":RTF_END");
}

QString ReplaceRtfDefaultFontSize(const QString& Text, int Size)
{
    if (!Text.contains(QLatin1String("\\rtf")))
        return Text;
    static const QString key = QStringLiteral("\\fs24");
    const QString replacement = QStringLiteral("\\fs") + QString::number(2 * Size);
    QString out;
    out.reserve(Text.size());
    qsizetype from = 0;
    for (qsizetype at = Text.indexOf(key); at >= 0; at = Text.indexOf(key, at + key.size())) {
        const qsizetype end = at + key.size();
        // only the keyword itself, not \fs240
        if (end < Text.size() && Text[end].isDigit())
            continue;
        out += QStringView(Text).mid(from, at - from);
        out += replacement;
        from = end;
    }
    out += QStringView(Text).mid(from);
    return out;
}

bool IsRtfComment(QString& Text)
{
    if (!IsRtfText(Text))
        return false;
    QTextDocument& scratch = ScratchDocument();
    ReadRtfDocument(RtfBytesOfText(Text), &scratch);
    const QString plain = scratch.toPlainText();
    scratch.clear();
    QSet<int> codes;
    for (int entry = 1; entry <= MarkupCodeCount && codes.size() < 2; ++entry)
        if (plain.contains(MarkupCodeText(entry)))
            codes.insert(entry);
    if (codes.size() >= 2) {
        Text = plain.trimmed();
        return false;
    }
    return true;
}

bool TrimRtfTrailingLines(QString& Text)
{
    if (Text.trimmed().isEmpty())
        return true;
    QTextDocument& scratch = ScratchDocument();
    if (!ReadRtfDocument(RtfBytesOfText(Text), &scratch))
        return Text.trimmed().isEmpty();
    const QString plain = scratch.toPlainText();
    if (plain.trimmed().isEmpty()) {
        scratch.clear();
        return true;
    }
    QTextCursor cursor(&scratch);
    cursor.movePosition(QTextCursor::End);
    while (cursor.position() > 0) {
        cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
        const QString s = cursor.selectedText();
        if (!s.isEmpty() && s[0].unicode() > 13 && s[0] != QChar::ParagraphSeparator && s[0] != QChar::LineSeparator)
            break;
        cursor.removeSelectedText();
    }
    Text = QString::fromLatin1(WriteRtf(&scratch));
    scratch.clear();
    return false;
}

void PrepareRichEditForSave(QTextDocument*) { }

void FillRectWithPen(QPainter& Canvas, int Flags, int Left, int Top, int Width, int Height)
{
    QBrush brush = Canvas.brush();
    brush.setStyle(Qt::SolidPattern);
    Canvas.setBrush(brush);
    const QPen saved = Canvas.pen();
    if (!(Flags & 4)) {
        QPen pen = saved;
        pen.setColor(brush.color());
        Canvas.setPen(pen);
    }
    Canvas.drawRect(Left, Top, Width, Height);
    Canvas.setPen(saved);
}

void DrawMarkupText(QPainter& Canvas, int Align, const QString& Text, const QRect& Rect)
{
    const QString text = Text.trimmed();
    if (text.isEmpty())
        return;
    // Each character with the codes open at it (a bit per entry) and its own entry.
    struct Drawn {
        QChar ch;
        quint32 open;
        int entry;
    };
    std::vector<Drawn> chars;
    chars.reserve(text.size());
    quint32 open = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'[' && QStringView(text).mid(i).startsWith(CloseCode)) {
            open = 0;
            i += CloseCode.size();
            continue;
        }
        const int entry = MarkupCodeAt(text, i);
        if (entry >= 1 && entry <= FormatCodeCount) {
            open |= FormatCodeBit(entry);
            i += MarkupCodeText(entry).size();
            continue;
        }
        if (entry > FormatCodeCount) {
            chars.push_back({ MarkupCodeGlyph(entry), open, entry });
            i += MarkupCodeText(entry).size();
            continue;
        }
        chars.push_back({ text[i], open, 0 });
        ++i;
    }
    if (chars.empty())
        return;
    const QFont baseFont = Canvas.font();
    const QFontMetricsF baseMetrics(baseFont, Canvas.device());
    // Text positions are the tops of character cells, as the cell height of "C" gives them.
    const double heightC = baseMetrics.height();
    const double normalBase = Rect.bottom() - heightC - 1;
    const double superBase = Rect.top();
    const double subBase = Rect.bottom() - std::round(0.3 * heightC);
    auto smaller = [&](QFont& f, double points) {
        if (baseFont.pointSizeF() > 0)
            f.setPointSizeF(std::max(1.0, baseFont.pointSizeF() - points));
        else
            f.setPixelSize(std::max(1, baseFont.pixelSize() - int(std::lround(points * 4 / 3))));
    };
    auto fontOf = [&](const Drawn& d, double* baselineTop) {
        QFont f = baseFont;
        *baselineTop = normalBase;
        if (d.open & FormatCodeBit(mcItalic))
            f.setItalic(true);
        if (d.open & FormatCodeBit(mcBold))
            f.setBold(true);
        if (d.open & FormatCodeBit(mcSuperscript)) {
            smaller(f, 2);
            *baselineTop = superBase;
        } else if (d.open & FormatCodeBit(mcSubscript)) {
            smaller(f, 2);
            *baselineTop = subBase;
        }
        if (d.entry > 0 && MarkupCodeText(d.entry) == QLatin1String(";ts"))
            smaller(f, 1);
        return f;
    };
    auto widthOf = [&](const Drawn& d) {
        double top;
        return QFontMetricsF(fontOf(d, &top), Canvas.device()).horizontalAdvance(d.ch);
    };
    double total = 0;
    for (const Drawn& d : chars)
        total += widthOf(d);
    const double firstWidth = widthOf(chars.front());
    Canvas.save();
    const bool rightToLeft = Align == 2;
    double x = Align == 0 ? Rect.left() + 2
        : Align == 1      ? Rect.left() + Rect.width() / 2.0 - total / 2
                          : Rect.right() - widthOf(chars.back()) - 2;
    for (size_t k = 0; k < chars.size(); ++k) {
        const Drawn& d = rightToLeft ? chars[chars.size() - 1 - k] : chars[k];
        double top;
        const QFont f = fontOf(d, &top);
        Canvas.setFont(f);
        const QFontMetricsF metrics(f, Canvas.device());
        Canvas.drawText(QPointF(x, top + metrics.ascent()), QString(d.ch));
        const double w = metrics.horizontalAdvance(d.ch);
        if (rightToLeft) {
            if (k + 1 < chars.size())
                x -= widthOf(chars[chars.size() - 2 - k]);
            if (x < Rect.left() + firstWidth)
                break;
        } else {
            x += w;
            if (x > Rect.right() - firstWidth || x >= Rect.right() - 13)
                break;
        }
    }
    Canvas.restore();
}

} // namespace orvek
