#pragma once
// The enabling and visibility of the main window's actions, menus and controls and of
// its record panel (UpdateActions), as data: the window computes the inputs, asks for
// the states and sets each named object. Nothing else enables these objects, apart
// from the steps of zoom, undo and redo, which set their own actions between two
// UpdateActions.

#include <QString>
#include <QVector>
#include <optional>

namespace orvek {

struct TMainActionInputs {
    int Rights = 0; // CurrentUserRights
    int Mode = 1; // 0 (a session closed), 1, or another value
    bool QueryOpen = false; // the record query
    int RowCount = 0;
    int SelectedCount = 0; // selected grid rows
    bool ShowAllRecords = false; // the record view shows all records
    bool MoreGroupsOfFolders = false;
    int FromTemplateID = 0; // of the current row
    bool OstrevinMode = false;
    bool UndoTableOpen = false;
    int UndoRowCount = 0; // N
    int UndoRecNo = 0;
};

// One object's state; an empty optional leaves that property as it is.
struct TActionState {
    const char* ObjectName;
    std::optional<bool> Enabled;
    std::optional<bool> Visible;
};

// The states of every object UpdateActions governs, in a fixed order.
QVector<TActionState> MainActionStates(const TMainActionInputs& in);

// The state of one object in States; nullptr when it is not governed.
const TActionState* FindActionState(const QVector<TActionState>& states, const QString& objectName);

} // namespace orvek
