#include "mainwindow/main_document.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/diagram_store.h"
#include "database/template_document.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"

#include <QBuffer>
#include <QSqlDatabase>

namespace orvek {

namespace {

const QString kRecordTable = QStringLiteral("TreeDB");

// A diagram text of this many characters or fewer (trimmed) holds no model.
constexpr int kShortestStoredDiagram = 20;

// Texts of this window's range.
constexpr int kRecordStoredElsewhereText = 22100;
constexpr int kRecordMissingText = 22101;
constexpr int kRecordLoadFailedText = 22102;
constexpr int kRecordHeldText = 22103;
constexpr int kSaveFailedText = 648;
constexpr int kSaveQuestionText = 115;
constexpr int kCloseQuestionText = 605;

// Every serialisation and load of the shown record keeps comments and values, without
// asking.
void SetSerialisationSwitches()
{
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
}

} // namespace

TMainDocument::TMainDocument(TDiagramHost* host, std::function<QSqlDatabase()> temporary)
    : host_(host)
    , undo_(TUndoPolicy::KeepUndone, std::move(temporary))
{
}

TMainDocument::~TMainDocument()
{
    FreeCellTree(RootCell);
}

void TMainDocument::NewRoot()
{
    NewDiagramRoot(host_, RootCell);
}

bool TMainDocument::LoadText(const QString& text, QString* error)
{
    return LoadDiagramRoot(host_, RootCell, text, error);
}

void TMainDocument::RecordLoaded(bool loaded, const QString& error, const QString& treeText)
{
    LoadFailed = !loaded;
    LoadError = loaded ? QString() : error;
    loadedCounter_ = LoadedItemChangeCounter;
    failureReported_ = false;
    FModified = false;
    CellTreeChanged = false;
    ResetUndo();
    if (RootCell && !treeText.isEmpty())
        undo_.Push(treeText);
    else
        PushUndoSnapshot();
    storedRow_ = undo_.RecNo();
}

void TMainDocument::MakeCurrent()
{
    if (CurrentDiagramKind) {
        // The template window used the globals meanwhile: the record's counter goes back.
        CurrentDiagramKind = false;
        LoadedItemChangeCounter = loadedCounter_;
    } else {
        // Record-side code that stored the row itself (the head of the record) keeps
        // the global counter up to date.
        loadedCounter_ = LoadedItemChangeCounter;
    }
}

bool TMainDocument::SaveRecordDiagram(const TStoreStep& alsoStored)
{
    LastSaveReason.clear();
    LastSave = TRecordSaveOutcome::NothingToStore;
    if (!RootCell || CurrentRecordID <= 0)
        return false;
    SetSerialisationSwitches();
    const QString text = RootCell->SaveToText();
    if (text.trimmed().size() <= kShortestStoredDiagram)
        return false;
    if (LoadFailed) {
        LastSave = TRecordSaveOutcome::LoadFailed;
        LastSaveReason = GetString(kRecordLoadFailedText, { LoadError });
        return false;
    }

    TStoreResult result;
    QSqlDatabase db;
    if (DataModule1)
        db = DataModule1->SessionOrvek().Database(AliasDB, false, &result.Error);
    else
        result.Error = QStringLiteral("The data module does not exist");
    if (!CurrentDiagramKind)
        loadedCounter_ = LoadedItemChangeCounter;
    if (db.isOpen())
        result = StoreDiagramText(db, kRecordTable, CurrentRecordID, text + QStringLiteral("\r\n"), CurrentUserID,
            loadedCounter_, alsoStored);

    switch (result.Outcome) {
    case TStoreOutcome::Stored:
        LastSave = TRecordSaveOutcome::Stored;
        // The stored row's counter, read in the same transaction, is the one the next
        // store and lock expect.
        loadedCounter_ = result.ChangeCounter;
        if (!CurrentDiagramKind)
            LoadedItemChangeCounter = loadedCounter_;
        FModified = false;
        storedRow_ = undo_.RecNo();
        failureReported_ = false;
        return true;
    case TStoreOutcome::HeldByOther: {
        LastSave = TRecordSaveOutcome::HeldByOther;
        QString owner;
        if (DataModule1)
            DataModule1->GetUserFullName(result.OwnerID, owner);
        LastSaveReason = GetString(kRecordHeldText, { owner });
        return false;
    }
    case TStoreOutcome::ChangedSinceLoaded:
        LastSave = TRecordSaveOutcome::ChangedSinceLoaded;
        LastSaveReason = GetString(kRecordStoredElsewhereText);
        return false;
    case TStoreOutcome::Missing:
        LastSave = TRecordSaveOutcome::Missing;
        LastSaveReason = GetString(kRecordMissingText);
        return false;
    case TStoreOutcome::Failed:
        LastSave = TRecordSaveOutcome::Failed;
        LastSaveReason = result.Error;
        return false;
    }
    return false;
}

QString TMainDocument::SaveFailureText() const
{
    QString text = GetString(kSaveFailedText);
    if (!LastSaveReason.isEmpty())
        text += QStringLiteral("\n\n") + LastSaveReason;
    return text;
}

void TMainDocument::ReportSaveFailure(bool once)
{
    if (once && failureReported_)
        return;
    failureReported_ = true;
    MessageDlg(SaveFailureText(), TMsgDlgType::mtWarning, mbCancel);
}

bool TMainDocument::StoreTreeChange(const TStoreStep& alsoStored)
{
    if (CurrentRecordID <= 0 || !RootCell)
        return false;
    DataChangedSinceBackup = true;
    FModified = true;
    PushUndoSnapshot();
    return SaveRecordDiagram(alsoStored);
}

bool TMainDocument::TakePendingChange()
{
    if (!CellTreeChanged || TreeLoadInProgress || CurrentRecordID <= 0 || !RootCell)
        return false;
    CellTreeChanged = false;
    return true;
}

void TMainDocument::LeaveRecord()
{
    if (TakePendingChange() && !StoreTreeChange() && LastSave != TRecordSaveOutcome::NothingToStore)
        ReportSaveFailure(true);
    else if (CurrentRecordID > 0 && FModified && RootCell && RootCell->ChildCount() > 0 && !SaveRecordDiagram()
        && LastSave != TRecordSaveOutcome::NothingToStore)
        ReportSaveFailure(true);
    ReleaseOwnLock();
}

void TMainDocument::ClearDiagram()
{
    LeaveRecord();
    FreeCellTree(RootCell);
    ResetUndo();
    CurrentRecordID = 0;
    FModified = false;
    LoadFailed = false;
    LoadError.clear();
    storedRow_ = 0;
}

bool TMainDocument::ConfirmClose()
{
    // A change the tick has not served yet counts as modified: the question covers it.
    if (TakePendingChange())
        FModified = true;
    ReleaseOwnLock();
    if (MessageDlg(GetString(kCloseQuestionText), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes)
        return false;
    if (!FModified)
        return true;
    switch (MessageDlg(GetString(kSaveQuestionText), TMsgDlgType::mtConfirmation, mbYesNoCancel)) {
    case mrYes:
        if (SaveRecordDiagram() || LastSave == TRecordSaveOutcome::NothingToStore)
            return true;
        MessageDlg(SaveFailureText(), TMsgDlgType::mtWarning, mbCancel);
        return false;
    case mrNo:
        return true;
    default:
        return false;
    }
}

void TMainDocument::CloseRecord()
{
    if (RootCell)
        RootCell->DeleteAllChildren();
    ResetUndo();
    DropUndoTable();
}

void TMainDocument::ReleaseOwnLock()
{
    if (CurrentRecordID <= 0 || !DataModule1)
        return;
    const bool kind = CurrentDiagramKind;
    CurrentDiagramKind = false;
    if (DataModule1->IsItemLockedByMe())
        DataModule1->UnlockItem();
    CurrentDiagramKind = kind;
}

bool TMainDocument::CreateUndoTable()
{
    return undo_.Create();
}

void TMainDocument::DropUndoTable()
{
    undo_.Drop();
}

void TMainDocument::ResetUndo()
{
    undo_.Reset();
}

bool TMainDocument::PushUndoSnapshot()
{
    if (!RootCell)
        return false;
    SetSerialisationSwitches();
    return undo_.Push(RootCell->SaveToText());
}

bool TMainDocument::UndoStep()
{
    SetSerialisationSwitches();
    QString text;
    const bool moved = undo_.Undo(text) && Rebuild(text);
    UpdateModifiedFromUndo();
    return moved;
}

bool TMainDocument::RedoStep()
{
    SetSerialisationSwitches();
    QString text;
    const bool moved = undo_.Redo(text) && Rebuild(text);
    UpdateModifiedFromUndo();
    return moved;
}

bool TMainDocument::Rebuild(const QString& text)
{
    QString error;
    if (!LoadText(text, &error)) {
        // A snapshot that no longer reads whole is shown as far as it was read and is
        // never stored over the record.
        LoadFailed = true;
        LoadError = error;
    }
    // Loading the snapshot is no change of the user's: nothing is stored until the
    // next change or until the user asks for it.
    CellTreeChanged = false;
    return true;
}

void TMainDocument::UpdateModifiedFromUndo()
{
    if (undo_.Exists() && undo_.RecNo() > 0)
        FModified = undo_.RecNo() != storedRow_;
}

} // namespace orvek
