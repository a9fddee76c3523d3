#include "sources/pasted_readings.h"

#include "core/number_text.h"
#include "engine/expression.h"

#include <algorithm>

namespace orvek {

namespace {

// Shortens runs of Mark: five, four, three and then two in a row become one TAB.
void RunsToTab(QString& text, QChar mark)
{
    const QString tab(QLatin1Char('\t'));
    for (int length : { 5, 4, 3, 2 })
        ReplaceAll(QString(length, mark), tab, text);
}

} // namespace

TPastedTable SplitPastedReadings(const QString& clipboardText)
{
    TPastedTable table;
    QString text = clipboardText.trimmed();
    if (text.isEmpty())
        return table;
    RunsToTab(text, QLatin1Char(' '));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    if (!text.endsWith(QLatin1Char('\r')))
        text += QLatin1Char('\r');

    bool tabSeparated = text.contains(QLatin1Char('\t'));
    QStringList lines = text.split(QLatin1Char('\r'));
    lines.removeLast(); // after the final CR
    for (QString line : lines) {
        line = line.trimmed();
        RunsToTab(line, QLatin1Char('\t'));
        if (!tabSeparated && !line.isEmpty() && !line.contains(QLatin1Char(' ')))
            tabSeparated = true;
        QStringList cells;
        if (tabSeparated) {
            cells = line.split(QLatin1Char('\t'));
        } else {
            cells << line;
        }
        table.ColumnCount = std::max(table.ColumnCount, int(cells.size()));
        table.Rows << cells;
    }
    return table;
}

int LastRowAfterPaste(bool insert, int current, int count, int lastFilled)
{
    const int lastPasted = current + count - 1;
    if (insert && lastFilled >= current)
        return std::max(lastPasted, lastFilled + count);
    return std::max(lastPasted, lastFilled);
}

bool FitsReadingList(const QString& text)
{
    return !text.contains(QLatin1Char('@')) && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
}

QString ReadingsCopyText(const QStringList& cells, bool canonical)
{
    QString text;
    for (const QString& cell : cells) {
        const QString local = ToLocalDecimalSeparator(cell.trimmed());
        double value = 0;
        if (local.isEmpty() || !TryStrToFloatNeutral(local, value))
            continue;
        text += (canonical ? CheckedNumberText(local) : local) + QLatin1String("\r\n");
    }
    return text;
}

} // namespace orvek
