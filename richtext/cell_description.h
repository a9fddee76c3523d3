#pragma once
// The description of a cell of the model and, when DescribeSubtree is set, of its whole
// subtree, as mark-up: one numbered chapter per equation cell with its result table,
// correlation matrix and comment, one paragraph per quantity cell and one numbered
// paragraph per active uncertainty source with the inputs and results of its method.
// Every number is read from the cell's texts. Describing never changes what the model
// holds: only the working fields FIndent and FSourceCounter are set.

#include <QString>
#include <QtGlobal>

namespace orvek {

class TCell;

// The kind of the cell described last; the report builders set it to 3 before they
// start, so that the first chapter starts with a line end.
inline quint8 LastDescribedCellType = 3;
// Whether the children are described too; the cell dialogs switch it off.
inline bool DescribeSubtree = true;

// The description of Cell. An uncertainty cell must have a parent.
QString DescribeCell(TCell& cell);

// The rows of a leaf uncertainty source by its method, appended to Text.
void DescribeSourceByMethod(const TCell& cell, QString& Text);

} // namespace orvek
