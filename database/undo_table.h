#pragma once
// The undo history of a shown diagram: snapshots of its diagram text, one row each, in
// a table of the temporary folder's database under a name no other table there has.
// The current row (RecNo, 1-based) is the state shown. The window that owns the
// object owns the table: it is created when asked and dropped with the object.
//
// Two policies share it. The template window drops the undone states (the redo tail)
// when a new state is pushed and pushes every snapshot. The main window appends a new
// state after the last row, so that undo first passes back through the undone states,
// and never pushes a text of 20 characters or fewer (trimmed): an empty tree is no state.

#include <QString>
#include <QVector>
#include <functional>

class QSqlDatabase;

namespace orvek {

enum class TUndoPolicy { DropRedoTail, KeepUndone };

// The undo history's database of one window (Name, e.g. "MainUndo"): a file of its own
// in the temporary folder. Other code keeps read cursors open on the temporary folder's
// shared file, and the history is written after every change; in that file each write
// would wait for a reader until the busy timeout and then fail.
QSqlDatabase WindowUndoDatabase(const QString& name);

class TUndoTable {
public:
    // Database gives the connection of the temporary folder (TemporaryDatabase when
    // empty).
    explicit TUndoTable(TUndoPolicy policy, std::function<QSqlDatabase()> database = {});
    ~TUndoTable();
    TUndoTable(const TUndoTable&) = delete;
    TUndoTable& operator=(const TUndoTable&) = delete;

    TUndoPolicy Policy() const { return policy_; }

    // A new, empty table under a new unique name (the old one is dropped). False when it
    // could not be made: undo then stays disabled. Errors go to the error log.
    bool Create();
    // Removes the table; errors are ignored.
    void Drop();
    bool Exists() const { return !table_.isEmpty(); }
    QString TableName() const { return table_; }

    // Empties the history. The template window's policy creates the table when it is
    // missing; the main window's leaves a missing table missing.
    void Reset();

    // Appends Text as the new current state (by the policy). False when nothing was
    // written: a short text under the main window's policy, or a write that failed
    // (the error log says why; the history is as it was).
    bool Push(const QString& text);

    // Steps to the previous or next state; True with that state's text in Text. False
    // at either end, or when the text could not be read (the position is kept then).
    bool Undo(QString& text);
    bool Redo(QString& text);

    int RecNo() const { return recNo_; }
    int RowCount() const { return int(rows_.size()); }
    bool CanUndo() const { return RowCount() > 1 && recNo_ > 1; }
    bool CanRedo() const { return RowCount() > 1 && recNo_ < RowCount(); }

private:
    QSqlDatabase Database() const;
    bool ReadRow(int recNo, QString& text);
    void LogFailure(const QString& what, const QString& error) const;

    TUndoPolicy policy_;
    std::function<QSqlDatabase()> database_;
    QString table_;
    QVector<qint64> rows_; // row IDs in push order
    int recNo_ = 0;
};

} // namespace orvek
