#pragma once
// The display order of cells by the top of their boxes.

#include <QtGlobal>
#include <vector>

namespace orvek {

class TCell;

// Sorts Cells by box top, keeping the list order on ties (a stable sort, so that laying
// out thousands of children stays n log n). Counts the comparisons when asked.
void SortChildrenByTop(std::vector<TCell*>& cells, quint64* comparisons = nullptr);

} // namespace orvek
