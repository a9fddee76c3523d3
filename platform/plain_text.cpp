#include "platform/plain_text.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace orvek {

namespace {

// The characters QTextDocument::toPlainText changes too: paragraph and line separators
// become line breaks, no-break spaces spaces.
QString Cleaned(QString text)
{
    for (QChar& ch : text) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = QLatin1Char('\n');
        else if (ch == QChar::Nbsp)
            ch = QLatin1Char(' ');
    }
    return text;
}

// Where a block stands: its table and cell, or none.
struct Place {
    const QTextTable* table = nullptr;
    int row = -1;
    int column = -1;
};

Place PlaceOf(const QTextDocument& document, const QTextBlock& block)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(block.position());
    Place place;
    if (const QTextTable* table = cursor.currentTable()) {
        const QTextTableCell cell = table->cellAt(block.position());
        place = { table, cell.row(), cell.column() };
    }
    return place;
}

} // namespace

QString PlainTextOf(const QTextDocument& document, int from, int to)
{
    const int end = to < 0 ? document.characterCount() - 1 : to;
    QString text;
    bool first = true;
    Place previous;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int blockStart = block.position();
        const int blockEnd = blockStart + block.length() - 1; // without its break
        if (blockEnd < from)
            continue;
        if (blockStart > end || (blockStart == end && !first))
            break;
        const Place place = PlaceOf(document, block);
        if (!first) {
            const bool sameRow = place.table && place.table == previous.table && place.row == previous.row;
            if (!sameRow)
                text += QLatin1Char('\n');
            else if (place.column != previous.column)
                text += QLatin1Char('\t');
            else
                text += QLatin1Char(' ');
        }
        first = false;
        previous = place;
        bool raised = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int stop = std::min(fragment.position() + fragment.length(), end);
            if (start >= stop)
                continue;
            const QString piece = fragment.text().mid(start - fragment.position(), stop - start);
            const bool raise = fragment.charFormat().verticalAlignment() == QTextCharFormat::AlignSuperScript
                && !piece.trimmed().isEmpty();
            if (raise && !raised)
                text += QLatin1Char('^');
            raised = raise;
            text += Cleaned(piece);
        }
    }
    return text;
}

} // namespace orvek
