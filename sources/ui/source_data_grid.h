#pragma once
// DataGrid1, the eight-column typed grid of page 11 of the uncertainty-source dialog.
// The dialog neither fills nor reads it; no control selects that page.

class QWidget;

namespace orvek {

class TDataGrid;

// Creates DataGrid1 filling Page: one title row and 99 data rows, rows 20 pixels high,
// no border; grid lines, column sizing, editing and thumb tracking; no row options.
// The titles are the same in every language.
TDataGrid* CreateSourceDialogDataGrid(QWidget* page);

} // namespace orvek
