#pragma once
// The layout the small database dialogs share: their group box above the OK/Cancel
// button box, the dialog sized to its contents.

class QDialog;
class QGroupBox;
class QPushButton;

namespace orvek {

// Creates OKBtn (the default button) and CancelBtn, named as the forms name them, and
// lays them out under Content.
void LayOutOkCancelDialog(QDialog* dialog, QGroupBox* content, QPushButton*& okButton, QPushButton*& cancelButton);

} // namespace orvek
