#pragma once
// Where the program's windows appear: every top-level window and dialog fits the
// available area of its screen when it is shown, and a dialog opens over the window
// that asked for it.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QDialog;
class QWidget;

namespace orvek {

// The room a window may take on its screen: the screen's available area, less the
// frame the window manager draws around the window.
QRect WindowRoom(const QWidget* window);

// Makes Window fit WindowRoom: a window whose smallest layout is larger than the room
// gets its contents in a scroll area, with its row of buttons (OK, Cancel ...) kept
// below it, outside the scrolled part; then the window is shrunk to the room if it is
// larger and moved onto it if any part of it is off the screen.
void FitToScreen(QWidget* window);

// Places Tool (a small floating window serving Owner's window) beside Owner's window,
// on the screen and covering none of it: below it, else above, right or left of it;
// where none has room, at the bottom right corner of the screen's available area.
void PlaceBeside(QWidget* tool, const QWidget* owner);

// Makes the OK button of Dialog (the accepting button of its button box, else the push
// button its window names as OK) its default button, the one Enter presses, unless the
// dialog has a default button already; a window that only shows something and has no
// OK gets its Close button as default.
void ChooseDefaultButton(QDialog* dialog);

// What every window gets as it is shown: a top-level window (a tool window too) fits
// the screen (FitToScreen), a dialog has its default button (ChooseDefaultButton), the
// labels of its fields their buddies and access keys (SetLabelAccessKeys). Every menu
// bar, menu and context menu gives the items whose texts the program sets access keys
// (SetMenuAccessKeys), once the texts of one change are all set, and at the latest
// when the menu opens. Installed on the application once by the program.
class WindowConventions : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeyPendingMenus();

    QList<QPointer<QWidget>> pendingMenus_;
};

// While it lives, Dialog is a window of Opener's window, so that it opens in front of
// the window it was opened from and that window, when modal, stays usable around it;
// at the end Dialog goes back to its own parent. For the dialogs the program keeps
// for its whole run (parented to the main window) and opens from several windows.
class OpenedFrom {
public:
    OpenedFrom(QWidget* dialog, QWidget* opener);
    ~OpenedFrom();
    OpenedFrom(const OpenedFrom&) = delete;
    OpenedFrom& operator=(const OpenedFrom&) = delete;

private:
    QPointer<QWidget> dialog_;
    QPointer<QWidget> ownParent_;
    bool moved_ = false;
};

} // namespace orvek
