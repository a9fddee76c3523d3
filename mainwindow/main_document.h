#pragma once
// The record shown in the main window: its tree of cells, its undo history and the
// rules by which it is stored. The window owns one and calls it; the document owns the
// tree (RootCell) and frees it. The record itself is read by the record view, which
// hands the text to LoadText and then calls RecordLoaded.
//
// Storing rules: the shown record is CurrentRecordID (the grid may already stand on
// the next row). A store is the one conditional update of StoreDiagramText: it writes
// only Strom and OpenedByUserID, never over another user's lock, and never over a row
// that another workstation stored since this one loaded or last stored it. A diagram
// text of 20 characters or fewer (trimmed) is no model and is never stored ("nothing
// to store", which is no failure). A record whose diagram text failed to load is never
// stored back.
//
// Modified rule: FModified is set while the shown state is not the state the record
// holds, that is, while the current undo row is not the row last stored.

#include "database/undo_table.h"

#include <QString>
#include <functional>

class QSqlDatabase;

namespace orvek {

class TCell;
class TDiagramHost;

enum class TRecordSaveOutcome {
    Stored,
    NothingToStore, // no tree, no shown record, or a text of 20 characters or fewer
    LoadFailed, // the shown diagram was not read whole; it is never written back
    HeldByOther, // another user holds the record's lock
    ChangedSinceLoaded, // another workstation stored the record since it was loaded here
    Missing, // the record no longer exists
    Failed, // a database error
};

class TMainDocument {
public:
    // Host shows the tree (null for a tree without a window). Temporary gives the
    // connection of the undo table's database (TemporaryDatabase when empty); records
    // are stored through DataModule1.
    explicit TMainDocument(TDiagramHost* host = nullptr, std::function<QSqlDatabase()> temporary = {});
    ~TMainDocument();
    TMainDocument(const TMainDocument&) = delete;
    TMainDocument& operator=(const TMainDocument&) = delete;

    // A new tree read from a diagram text; the old tree is freed. False with Error when
    // the text did not read whole (the tree then holds what was read).
    bool LoadText(const QString& text, QString* error = nullptr);
    // The record CurrentRecordID was read into the tree (Loaded False: not whole, with
    // the reader's Error). The undo history restarts with the loaded state; the change
    // counter the loader remembered (LoadedItemChangeCounter) is the one the next store
    // expects.
    // TreeText, when not empty, is the loaded tree's text as SaveToText writes it.
    void RecordLoaded(bool loaded, const QString& error = QString(), const QString& treeText = QString());
    // Locks and histories act on the record again, with this record's change counter
    // (the template window uses the same globals for its template). While they act on
    // the record, LoadedItemChangeCounter is the counter a store expects.
    void MakeCurrent();

    // Stores the tree into record CurrentRecordID (SaveRecordDiagram). True when
    // written; otherwise LastSave and LastSaveReason say why. AlsoStored, when given,
    // runs in the store's transaction (the history row of the change): the two are
    // written together or not at all.
    using TStoreStep = std::function<bool(QSqlDatabase& db, QString* error)>;
    bool SaveRecordDiagram(const TStoreStep& alsoStored = {});
    TRecordSaveOutcome LastSave = TRecordSaveOutcome::NothingToStore;
    QString LastSaveReason;
    // Message 648 with the reason of the last failed store.
    QString SaveFailureText() const;
    // Shows SaveFailureText. With Once, a failure already shown since the last
    // successful store is not shown again.
    void ReportSaveFailure(bool once);

    // A change of the tree (the tick): the record is modified, the state is pushed as
    // an undo snapshot and stored at once (with AlsoStored, as SaveRecordDiagram). True
    // when stored.
    bool StoreTreeChange(const TStoreStep& alsoStored = {});
    // A change the tick has not served yet (CellTreeChanged) is served now: used before
    // the shown record is left, so that leaving never drops a change. True when there
    // was one.
    bool TakePendingChange();

    // The shown record is left: a pending change is served, a modified diagram with
    // cells below the root is stored (648 once when that fails), and this user's lock
    // is released.
    void LeaveRecord();
    // No record is shown any more: the record is left, the tree freed, the undo history
    // emptied and CurrentRecordID is 0.
    void ClearDiagram();

    // The questions of closing the window: this user's lock is released, message 605
    // asks whether to close and, when the diagram is modified, message 115 whether to
    // save it. True when the window closes. A save that fails shows message 648 and
    // keeps the window open; nothing to store is no failure.
    bool ConfirmClose();
    // The window closes: the root's children are deleted and the undo table dropped.
    void CloseRecord();

    // The undo history (CreateUndoTable, DropUndoTable, ResetUndo, PushUndoSnapshot,
    // UndoStep, RedoStep). Undo and redo rebuild the tree from the state they reach and
    // store nothing; the rebuilt tree raises no change.
    bool CreateUndoTable();
    void DropUndoTable();
    void ResetUndo();
    bool PushUndoSnapshot();
    bool UndoStep();
    bool RedoStep();
    bool CanUndo() const { return undo_.CanUndo(); }
    bool CanRedo() const { return undo_.CanRedo(); }
    const TUndoTable& UndoTable() const { return undo_; }

    // Releases the lock of the shown record when this user holds it.
    void ReleaseOwnLock();

    TCell* RootCell = nullptr;
    bool FModified = false;
    // The shown record was just made from a template or an example: its changes are
    // stored without a history row until the next record load.
    bool FLoadedFromTemplate = false;
    bool LoadFailed = false;
    QString LoadError;

private:
    void NewRoot();
    bool Rebuild(const QString& text);
    void UpdateModifiedFromUndo();

    TDiagramHost* host_;
    TUndoTable undo_;
    qint64 loadedCounter_ = -1;
    // The undo row that holds the state the record holds; 0 when unknown.
    int storedRow_ = 0;
    bool failureReported_ = false;
};

} // namespace orvek
