#include "platform/rtf_writer.h"

#include "platform/code_pages.h"
#include "platform/rtf_reader.h"

#include <QBuffer>
#include <QColor>
#include <QIODevice>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace orvek {

namespace {

class Writer {
public:
    Writer(const QTextDocument* document, int from, int to)
        : document_(document)
        , from_(from)
        , to_(to)
    {
        defaultFamily_ = document->defaultFont().family();
        defaultPoints_ = document->defaultFont().pointSizeF();
        if (defaultPoints_ <= 0)
            defaultPoints_ = 12;
        FontIndex(defaultFamily_);
    }

    QByteArray Write()
    {
        WriteFrame(document_->rootFrame());
        // The whole document ends with its final paragraph mark; a range ends where it ends.
        if (to_ >= document_->characterCount() && pendingPar_)
            body_ += "\\par";
        QByteArray out;
        out.reserve(body_.size() + 512);
        out += "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl";
        for (int i = 0; i < fonts_.size(); ++i) {
            const bool symbol = fonts_[i].compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + (symbol ? "2 " : "238 ");
            out += EscapeName(fonts_[i]);
            out += ";}";
        }
        out += "}\r\n";
        if (!colors_.isEmpty()) {
            out += "{\\colortbl ;";
            for (const QColor& c : colors_)
                out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
                    + QByteArray::number(c.blue()) + ";";
            out += "}\r\n";
        }
        // A whole document states its page: paper size and margins.
        if (from_ <= 0 && to_ >= document_->characterCount()) {
            const TPageTwips page = DocumentPage(document_);
            out += "\\paperw" + QByteArray::number(page.paperWidth) + "\\paperh" + QByteArray::number(page.paperHeight)
                + "\\margl" + QByteArray::number(page.left) + "\\margr" + QByteArray::number(page.right) + "\\margt"
                + QByteArray::number(page.top) + "\\margb" + QByteArray::number(page.bottom) + "\r\n";
        }
        out += "\\viewkind4\\uc1 ";
        out += body_;
        out += "}\r\n";
        return out;
    }

private:
    static QByteArray EscapeName(const QString& name)
    {
        QByteArray out;
        for (QChar ch : name)
            AppendEscaped(out, ch, false);
        return out;
    }

    static void AppendEscaped(QByteArray& out, QChar ch, bool symbolFont)
    {
        const char16_t u = ch.unicode();
        switch (u) {
        case '\\':
            out += "\\\\";
            return;
        case '{':
            out += "\\{";
            return;
        case '}':
            out += "\\}";
            return;
        case '\t':
            out += "\\tab ";
            return;
        case 0x2028:
            out += "\\line ";
            return;
        case 0x00A0:
            out += "\\~";
            return;
        case 0x00AD:
            out += "\\-";
            return;
        case 0x2011:
            out += "\\_";
            return;
        default:
            break;
        }
        if (u >= 0x20 && u < 0x7F) {
            // A byte of a Symbol-font run reads as the font's own character: a Latin
            // letter or digit that the font shows as another goes as its Unicode value.
            if (symbolFont && SymbolByteFromRtf(uchar(u)) != ch)
                out += "\\u" + QByteArray::number(int(u)) + "?";
            else
                out += char(u);
            return;
        }
        if (u < 0x20)
            return; // control characters are not text
        const int byte = UnicodeToCodePage(symbolFont ? SymbolCodePage : CodePage1250, ch);
        if (byte >= 0x80 || (symbolFont && byte >= 0x20)) {
            static const char hex[] = "0123456789abcdef";
            out += "\\'";
            out += hex[byte >> 4];
            out += hex[byte & 15];
            return;
        }
        out += "\\u" + QByteArray::number(qint16(u)) + "?";
    }

    int FontIndex(const QString& family)
    {
        const qsizetype i = fonts_.indexOf(family);
        if (i >= 0)
            return int(i);
        fonts_.append(family);
        return int(fonts_.size() - 1);
    }

    int ColorIndex(const QColor& color)
    {
        const QColor c = color.toRgb();
        for (int i = 0; i < colors_.size(); ++i)
            if (colors_[i].rgb() == c.rgb())
                return i + 1;
        colors_.append(c);
        return int(colors_.size());
    }

    QString FamilyOf(const QTextCharFormat& f) const
    {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.front().isEmpty())
            return families.front();
        return defaultFamily_;
    }

    // "\plain" and the attributes of a character format, ending with a blank.
    QByteArray CharFormatWords(const QTextCharFormat& f, bool* symbolFont)
    {
        QByteArray out = "\\plain";
        const QString family = FamilyOf(f);
        *symbolFont = family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
        out += "\\f" + QByteArray::number(FontIndex(family));
        const double points
            = f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0 ? f.fontPointSize() : defaultPoints_;
        out += "\\fs" + QByteArray::number(std::lround(points * 2));
        if (f.fontWeight() > QFont::Medium)
            out += "\\b";
        if (f.fontItalic())
            out += "\\i";
        if (f.fontUnderline())
            out += "\\ul";
        if (f.fontStrikeOut())
            out += "\\strike";
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            out += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            out += "\\sub";
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            out += "\\cf" + QByteArray::number(ColorIndex(f.foreground().color()));
        if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
            out += "\\highlight" + QByteArray::number(ColorIndex(f.background().color()));
        out += ' ';
        return out;
    }

    static QByteArray Twips(double pixels) { return QByteArray::number(std::lround(pixels / PixelsPerTwip)); }

    void WriteBlockFormat(const QTextBlockFormat& f, bool inTable)
    {
        body_ += "\\pard";
        if (inTable)
            body_ += "\\intbl";
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignRight)
            body_ += "\\qr";
        else if (a & Qt::AlignHCenter)
            body_ += "\\qc";
        else if (a & Qt::AlignJustify)
            body_ += "\\qj";
        else
            body_ += "\\ql";
        if (f.leftMargin() != 0)
            body_ += "\\li" + Twips(f.leftMargin());
        if (f.rightMargin() != 0)
            body_ += "\\ri" + Twips(f.rightMargin());
        if (f.textIndent() != 0)
            body_ += "\\fi" + Twips(f.textIndent());
        if (f.topMargin() != 0)
            body_ += "\\sb" + Twips(f.topMargin());
        if (f.bottomMargin() != 0)
            body_ += "\\sa" + Twips(f.bottomMargin());
        if (f.boolProperty(rtfprop::KeepWithNext))
            body_ += "\\keepn";
    }

    void WriteImage(const QTextImageFormat& f)
    {
        const QVariant resource = document_->resource(QTextDocument::ImageResource, QUrl(f.name()));
        QImage image = resource.value<QImage>();
        if (image.isNull() && resource.canConvert<QPixmap>())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull())
            return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const double w = f.width() > 0 ? f.width() : image.width();
        const double h = f.height() > 0 ? f.height() : image.height();
        body_ += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich"
            + QByteArray::number(image.height()) + "\\picwgoal" + Twips(w) + "\\pichgoal" + Twips(h) + "\r\n";
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128) {
            body_ += hex.mid(i, 128);
            body_ += "\r\n";
        }
        body_ += "}";
    }

    void WriteBlock(const QTextBlock& block, bool inTable)
    {
        WriteBlockFormat(block.blockFormat(), inTable);
        bool symbol = false;
        bool wroteText = false;
        QString href;
        auto closeLink = [&] {
            if (!href.isEmpty())
                body_ += "}}}";
            href.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int fs = fragment.position(), fe = fs + fragment.length();
            const int s = std::max(fs, from_), e = std::min(fe, to_);
            if (s >= e)
                continue;
            const QTextCharFormat f = fragment.charFormat();
            const QString linkTarget = f.isAnchor() ? f.anchorHref() : QString();
            if (linkTarget != href) {
                closeLink();
                if (!linkTarget.isEmpty()) {
                    body_ += "{\\field{\\*\\fldinst{HYPERLINK \"";
                    for (QChar ch : linkTarget)
                        AppendEscaped(body_, ch, false);
                    body_ += "\"}}{\\fldrslt{";
                    href = linkTarget;
                }
            }
            body_ += CharFormatWords(f, &symbol);
            wroteText = true;
            const QString text = fragment.text().mid(s - fs, e - s);
            if (f.isImageFormat()) {
                for (QChar ch : text)
                    if (ch == QChar::ObjectReplacementCharacter)
                        WriteImage(f.toImageFormat());
                continue;
            }
            for (QChar ch : text)
                AppendEscaped(body_, ch, symbol);
        }
        closeLink();
        if (!wroteText)
            body_ += CharFormatWords(block.charFormat(), &symbol);
    }

    bool Intersects(int start, int end) const { return start <= to_ && end >= from_; }

    void WriteTable(const QTextTable* table)
    {
        const QTextTableFormat f = table->format();
        const int columns = table->columns();
        QList<int> edges = f.property(rtfprop::CellRightEdges).value<QList<int>>();
        const int left = f.hasProperty(rtfprop::RowLeft) ? f.intProperty(rtfprop::RowLeft)
                                                         : int(std::lround(f.leftMargin() / PixelsPerTwip));
        const int gap = f.hasProperty(rtfprop::CellGap) ? f.intProperty(rtfprop::CellGap)
                                                        : int(std::lround(f.cellPadding() / PixelsPerTwip));
        if (edges.size() < columns) {
            const QList<QTextLength> widths = f.columnWidthConstraints();
            int x = edges.isEmpty() ? left : edges.back();
            for (int c = int(edges.size()); c < columns; ++c) {
                int w = 1440;
                if (c < widths.size() && widths[c].type() == QTextLength::FixedLength)
                    w = int(std::lround(widths[c].rawValue() / PixelsPerTwip));
                x += std::max(1, w);
                edges.append(x);
            }
        }
        QByteArray cellWords;
        for (int c = 0; c < columns; ++c)
            cellWords += "\\clbrdrt\\brdrw15\\brdrs\\clbrdrl\\brdrw15\\brdrs\\clbrdrb\\brdrw15\\brdrs"
                         "\\clbrdrr\\brdrw15\\brdrs \\cellx"
                + QByteArray::number(edges[c]);
        for (int r = 0; r < table->rows(); ++r) {
            body_ += "\\trowd\\trgaph" + QByteArray::number(gap) + "\\trleft" + QByteArray::number(left);
            if (r < f.headerRowCount())
                body_ += "\\trhdr";
            body_ += "\\trkeep\\trbrdrt\\brdrs\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 \\trbrdrb\\brdrs\\brdrw10 "
                     "\\trbrdrr\\brdrs\\brdrw10 ";
            body_ += cellWords;
            body_ += "\r\n";
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.isValid() && cell.row() == r && cell.column() == c) {
                    bool first = true;
                    for (auto it = cell.begin(); !it.atEnd(); ++it) {
                        const QTextBlock block = it.currentBlock();
                        if (!block.isValid())
                            continue; // a frame nested in a cell: its text is not kept
                        if (!first)
                            body_ += "\\par\r\n";
                        WriteBlock(block, true);
                        first = false;
                    }
                    if (first)
                        body_ += "\\pard\\intbl";
                } else {
                    body_ += "\\pard\\intbl";
                }
                body_ += "\\cell ";
            }
            body_ += "\\row\r\n";
        }
    }

    // A table the range touches: whole, unless the range lies inside one of its cells;
    // then it is that cell's text, without the table.
    void WriteTouchedTable(const QTextTable* table)
    {
        const QTextTableCell first = table->cellAt(from_), last = table->cellAt(to_);
        if (first.isValid() && last.isValid() && first.row() == last.row() && first.column() == last.column()) {
            WriteCell(first);
            return;
        }
        if (pendingPar_)
            body_ += "\\par\r\n";
        pendingPar_ = false;
        WriteTable(table);
    }

    void WriteCell(const QTextTableCell& cell)
    {
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                if (const auto* table = qobject_cast<const QTextTable*>(child);
                    table && Intersects(child->firstPosition(), child->lastPosition()))
                    WriteTouchedTable(table);
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (!block.isValid() || !Intersects(block.position(), block.position() + block.length() - 1))
                continue;
            if (pendingPar_)
                body_ += "\\par\r\n";
            WriteBlock(block, false);
            pendingPar_ = true;
        }
    }

    void WriteFrame(const QTextFrame* frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                if (!Intersects(child->firstPosition(), child->lastPosition()))
                    continue;
                if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                    WriteTouchedTable(table);
                } else {
                    WriteFrame(child);
                }
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (!block.isValid())
                continue;
            if (!Intersects(block.position(), block.position() + block.length() - 1))
                continue;
            if (pendingPar_)
                body_ += "\\par\r\n";
            WriteBlock(block, false);
            pendingPar_ = true;
        }
    }

    const QTextDocument* document_;
    int from_, to_;
    QString defaultFamily_;
    double defaultPoints_ = 12;
    QStringList fonts_;
    QList<QColor> colors_;
    QByteArray body_;
    bool pendingPar_ = false;
};

} // namespace

QByteArray WriteRtf(const QTextDocument* document)
{
    return Writer(document, 0, document->characterCount()).Write();
}

QByteArray WriteRtf(const QTextDocument* document, int from, int to)
{
    if (to < from)
        std::swap(from, to);
    if (from == to)
        return Writer(document, 1, 0).Write();
    return Writer(document, from, to).Write();
}

QByteArray RtfBytesOfText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (ch.unicode() < 0x80)
            out += char(ch.unicode());
        else
            out += "\\u" + QByteArray::number(qint16(ch.unicode())) + "?";
    }
    return out;
}

bool WriteRtf(const QTextDocument* document, QIODevice* device, QString* error)
{
    const QByteArray rtf = WriteRtf(document);
    qint64 written = 0;
    while (written < rtf.size()) {
        const qint64 n = device->write(rtf.constData() + written, rtf.size() - written);
        if (n <= 0) {
            if (error)
                *error = device->errorString().isEmpty() ? QStringLiteral("The RTF could not be written.")
                                                         : device->errorString();
            return false;
        }
        written += n;
    }
    return true;
}

} // namespace orvek
