#pragma once
// The text of a workbook cell as the imports use it: empty for an empty cell, a text
// as it stands, a number in the general format (15 significant digits, the own
// decimal separator, no grouping) and a date in the short date format.

#include <QString>

namespace orvek {

struct WorkbookCell;

// An error cell ("#DIV/0!") has no text: the caller reports it.
QString WorkbookCellText(const WorkbookCell& cell);

} // namespace orvek
