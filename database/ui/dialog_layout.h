#pragma once
// The layout the small database dialogs share: their group box above a right-aligned
// OK/Cancel row, the dialog sized to its contents.

#include <initializer_list>

class QDialog;
class QGroupBox;
class QHBoxLayout;
class QPushButton;

namespace orvek {

// Creates OKBtn (the default button) and CancelBtn, named as the forms name them, and
// lays them out under Content.
void LayOutOkCancelDialog(QDialog* dialog, QGroupBox* content, QPushButton*& okButton, QPushButton*& cancelButton);

// The buttons in a row aligned to the right, as the database dialogs put them under
// their contents.
QHBoxLayout* RightAlignedButtons(std::initializer_list<QPushButton*> buttons);

} // namespace orvek
