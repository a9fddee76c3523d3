#pragma once
// The template shown in the template window: its tree of cells, its undo history and
// the rules by which it is loaded and stored. The window owns one and calls it; the
// document owns the tree (RootCell) and frees it.
//
// Storing rules: a store is the one conditional update of StoreDiagramText, so it
// never overwrites another workstation's save or clears another user's lock. A store
// refused for either reason writes nothing, says why once, and turns the template
// read-only as edited (the user can still copy it as a new template). A store that
// fails otherwise (a missing row included) keeps the template modified and is
// reported once until a store succeeds. A template whose diagram text failed to load
// is shown read-only and never stored back. After every undo or redo the template
// counts as modified and is stored at the next store point.

#include "database/undo_table.h"

#include <QString>
#include <functional>

class QSqlDatabase;

namespace orvek {

class TCell;
class TDiagramHost;

// What the window shows in its status bar after a load.
struct TTemplateLoadStatus {
    bool Loaded = false;
    QString Text; // text 1013 for a template in use, the reason of a failed load, or empty
    bool Bold = false;
};

// The shown tree of a window's document: Root is freed and replaced by an empty root
// cell on Host, with the cell numbering started afresh.
void NewDiagramRoot(TDiagramHost* host, TCell*& root);
// Reads a diagram text into a new root on Host (its boxes built while updates are
// suspended); False with the reader's reason, leaving what it could read.
bool LoadDiagramRoot(TDiagramHost* host, TCell*& root, const QString& text, QString* error);

class TTemplateDocument {
public:
    // Host shows the tree (null for a tree without a window). Temporary gives the
    // connection of the undo table's database (TemporaryDatabase when empty); the
    // templates are read and stored through DataModule1.
    explicit TTemplateDocument(TDiagramHost* host = nullptr, std::function<QSqlDatabase()> temporary = {});
    ~TTemplateDocument();
    TTemplateDocument(const TTemplateDocument&) = delete;
    TTemplateDocument& operator=(const TTemplateDocument&) = delete;

    // Makes template TemplateID the shown one (LoadCurrentTemplate): the previous
    // template is stored when modified and its lock, when this user holds it, is
    // released; CurrentTemplateID becomes TemplateID; the template is read
    // (NacitanieStromu_z_Databazy_Template); the undo history restarts with the loaded
    // state. TreeLoadInProgress stays set for a user without edit rights, so that no
    // change of theirs is ever stored.
    TTemplateLoadStatus LoadCurrentTemplate(int templateId);

    // Stores the tree into the shown template (SaveTemplateDiagram). False when nothing
    // was written; see the storing rules above.
    bool SaveTemplateDiagram();
    // The shown template is stored when it is modified and its tree has cells below the
    // root; then the undo history is emptied (SaveAndResetUndo).
    void SaveAndResetUndo();

    // A change of the tree (the window's tick): the template is modified, the new state
    // is pushed to the undo history and stored at once.
    void TreeChanged();

    // The undo history (EmptyRedoUndo, TempSaveChanges, Undo, Redo). Undo and Redo
    // rebuild the tree from the state they reach and leave the template modified.
    void EmptyRedoUndo();
    void TempSaveChanges();
    bool Undo();
    bool Redo();
    bool CanUndo() const { return undo_.CanUndo(); }
    bool CanRedo() const { return undo_.CanRedo(); }
    const TUndoTable& UndoTable() const { return undo_; }

    // No template is shown any more (ClearDiagram): a pending change is stored and this
    // user's lock released first; the tree is freed and CurrentTemplateID is 0.
    void ClearDiagram();
    // The window closes: a pending change is stored, this user's lock released, the
    // undo history emptied and the root's children deleted.
    void CloseTemplate();

    TCell* RootCell = nullptr;
    bool TemplateInUse = false;
    bool TemplateReadOnly = false;
    bool TemplateModified = false;
    // The diagram text of the shown template did not load whole; LoadError says why.
    bool LoadFailed = false;
    QString LoadError;

private:
    void NewRoot();
    bool LoadText(const QString& text, QString* error);
    bool Rebuild(const QString& text);
    void TakePendingChange();
    bool Store(bool quiet);
    void ReleaseOwnLock();

    TDiagramHost* host_;
    TUndoTable undo_;
    qint64 loadedCounter_ = -1;
    // A store was refused (lock or newer save): no further store is tried.
    bool storeRefused_ = false;
    // A failed store was reported; the next failure stays quiet until a store succeeds.
    bool failureReported_ = false;
};

} // namespace orvek
