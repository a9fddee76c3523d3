#pragma once
// A canonical text picture of a QTextDocument for comparisons in tests: blocks with
// their alignment and margins, runs with their text and the attributes our RTF carries,
// tables with their geometry, pictures with their size.

#include "platform/rtf_reader.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace orvek::test {

inline QString DumpCharFormat(const QTextCharFormat& f, const QTextDocument* doc)
{
    QString s;
    const QStringList fam = f.fontFamilies().toStringList();
    s += "font=" + (fam.isEmpty() ? doc->defaultFont().family() : fam.front());
    const double pt = f.fontPointSize() > 0 ? f.fontPointSize() : doc->defaultFont().pointSizeF();
    s += QString(" pt=%1").arg(std::round(pt * 2) / 2);
    if (f.fontWeight() > QFont::Medium)
        s += " b";
    if (f.fontItalic())
        s += " i";
    if (f.fontUnderline())
        s += " u";
    if (f.fontStrikeOut())
        s += " s";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s += " sup";
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s += " sub";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        s += " fg=" + f.foreground().color().name();
    if (f.isAnchor())
        s += " href=" + f.anchorHref();
    return s;
}

inline void DumpFrame(const QTextFrame* frame, const QTextDocument* doc, QString& out, const QString& indent);

inline void DumpBlock(const QTextBlock& block, const QTextDocument* doc, QString& out, const QString& indent)
{
    const QTextBlockFormat bf = block.blockFormat();
    const int align = (bf.alignment() & Qt::AlignRight) ? 1
        : (bf.alignment() & Qt::AlignHCenter)           ? 2
        : (bf.alignment() & Qt::AlignJustify)           ? 3
                                                        : 0;
    out += indent
        + QString("P align=%1 li=%2 fi=%3%4\n")
              .arg(align)
              .arg(std::lround(bf.leftMargin() / PixelsPerTwip))
              .arg(std::lround(bf.textIndent() / PixelsPerTwip))
              .arg(bf.boolProperty(rtfprop::KeepWithNext) ? " keepn" : "");
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        if (fr.charFormat().isImageFormat()) {
            const QTextImageFormat img = fr.charFormat().toImageFormat();
            const QImage image = doc->resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
            out += indent
                + QString("  IMG %1x%2 shown %3x%4 pixel0=%5\n")
                      .arg(image.width())
                      .arg(image.height())
                      .arg(std::lround(img.width()))
                      .arg(std::lround(img.height()))
                      .arg(image.isNull() ? 0 : image.pixel(0, 0), 0, 16);
            continue;
        }
        out += indent + "  [" + fr.text() + "] " + DumpCharFormat(fr.charFormat(), doc) + "\n";
    }
}

inline void DumpFrame(const QTextFrame* frame, const QTextDocument* doc, QString& out, const QString& indent)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                const QTextTableFormat tf = table->format();
                QStringList edges;
                for (int e : tf.property(rtfprop::CellRightEdges).value<QList<int>>())
                    edges << QString::number(e);
                out += indent
                    + QString("TABLE %1x%2 header=%3 left=%4 edges=%5\n")
                          .arg(table->rows())
                          .arg(table->columns())
                          .arg(tf.headerRowCount())
                          .arg(tf.intProperty(rtfprop::RowLeft))
                          .arg(edges.join(','));
                for (int r = 0; r < table->rows(); ++r)
                    for (int c = 0; c < table->columns(); ++c) {
                        out += indent + QString(" CELL %1,%2\n").arg(r).arg(c);
                        const QTextTableCell cell = table->cellAt(r, c);
                        for (auto ci = cell.begin(); !ci.atEnd(); ++ci)
                            if (ci.currentBlock().isValid())
                                DumpBlock(ci.currentBlock(), doc, out, indent + "  ");
                    }
            } else {
                DumpFrame(child, doc, out, indent);
            }
            continue;
        }
        if (it.currentBlock().isValid())
            DumpBlock(it.currentBlock(), doc, out, indent);
    }
}

inline QString DumpDocument(const QTextDocument* doc)
{
    QString out;
    DumpFrame(doc->rootFrame(), doc, out, "");
    return out;
}

} // namespace orvek::test

#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
