#pragma once
// The OK and Cancel buttons of the program's dialogs: one QDialogButtonBox, so that
// they stand in the platform's order with the platform's look (the same icons or none)
// in every dialog, and carry Qt's translated texts until a dialog sets its own.

class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace orvek {

// Creates a button box with an OK button (accepting) and a Cancel button (rejecting),
// named okName and cancelName, as the dialog's code and tests find them. The box only
// arranges them: the dialog connects their clicked signals itself, so OK runs its own
// checks before it closes.
QDialogButtonBox* OkCancelButtons(
    QWidget* parent, QPushButton*& ok, const char* okName, QPushButton*& cancel, const char* cancelName);

} // namespace orvek
