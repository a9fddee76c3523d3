#pragma once
// Small builders the source dialog's pages share: named labels, edits, lists and
// buttons, the infinity sign that stands in for infinite degrees of freedom, and the
// validator that keeps every single-line edit on one line.

#include <QString>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;
class QToolButton;
class QWidget;

namespace orvek {

QWidget* MakePage(const char* name);
QLabel* MakeLabel(QWidget* parent, const char* name);
QLineEdit* MakeEdit(QWidget* parent, const char* name, bool readOnly = false);
QComboBox* MakeList(QWidget* parent, const char* name);
QToolButton* MakeButton(QWidget* parent, const char* name, const QString& glyph, bool checkable = false);
// The buttons that copy to and paste from the clipboard, with small pictures of their own.
QToolButton* MakeCopyButton(QWidget* parent, const char* name);
QToolButton* MakePasteButton(QWidget* parent, const char* name);
// The panel with the infinity sign laid over a degrees-of-freedom edit.
QLabel* MakeInfinityPanel(QWidget* parent, const char* name);
QTableWidget* MakeReadingGrid(QWidget* parent, const char* name, int dataColumns);

// Adds Label and Field as the next row of Grid; Extra, when given, goes in a third column.
void AddRow(QGridLayout* grid, QLabel* label, QWidget* field, QWidget* extra = nullptr);
// The degrees-of-freedom row of a limit page: the option list, the label and the edit
// with the infinity panel (when given) in the same place.
void AddDofRow(QGridLayout* grid, QComboBox* options, QLabel* label, QLineEdit* edit, QLabel* infinity);

} // namespace orvek
