#include "database/template_document.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/diagram_store.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"

#include <QBuffer>
#include <QSqlDatabase>

namespace orvek {

namespace {

const QString kTemplateTable = QStringLiteral("TemplateDB");

QSqlDatabase RecordsDatabase(QString* error = nullptr)
{
    if (!DataModule1) {
        if (error)
            *error = QStringLiteral("The data module does not exist");
        return QSqlDatabase();
    }
    return DataModule1->SessionOrvek().Database(AliasDB, false, error);
}

// Every serialisation and load of a template keeps comments and values, without asking.
void SetSerialisationSwitches()
{
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
}

// The template's diagram text as it is stored: the serialised tree and a line break.
QString StoredText(TCell& root)
{
    return root.SaveToText() + QStringLiteral("\r\n");
}

bool HasEditRights()
{
    return CurrentUserRights >= 1 && CurrentUserRights <= 3;
}

} // namespace

TTemplateDocument::TTemplateDocument(TDiagramHost* host, std::function<QSqlDatabase()> temporary)
    : host_(host)
    , undo_(TUndoPolicy::DropRedoTail, std::move(temporary))
{
}

TTemplateDocument::~TTemplateDocument()
{
    FreeCellTree(RootCell);
}

void NewDiagramRoot(TDiagramHost* host, TCell*& root)
{
    CellIdCounter = 1;
    ClearNewCellInfo();
    FreeCellTree(root);
    root = new TCell(host, NewCellInfo, DiagramOriginY, DiagramOriginX, nullptr);
}

bool LoadDiagramRoot(TDiagramHost* host, TCell*& root, const QString& text, QString* error)
{
    SetSerialisationSwitches();
    NewDiagramRoot(host, root);
    TSuspendedUpdates hidden(host, true);
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return root->LoadFromDevice(buffer, error);
}

void TTemplateDocument::NewRoot()
{
    NewDiagramRoot(host_, RootCell);
}

bool TTemplateDocument::LoadText(const QString& text, QString* error)
{
    return LoadDiagramRoot(host_, RootCell, text, error);
}

TTemplateLoadStatus TTemplateDocument::LoadCurrentTemplate(int templateId)
{
    // Locks and histories now address TemplateDB.
    CurrentDiagramKind = true;
    TakePendingChange();
    TreeLoadInProgress = true;
    SaveAndResetUndo();
    ReleaseOwnLock();
    CurrentTemplateID = templateId;

    storeRefused_ = failureReported_ = LoadFailed = false;
    LoadError.clear();
    TemplateModified = false;
    QString text, error;
    qint64 counter = -1;
    QSqlDatabase db = RecordsDatabase(&error);
    const bool read = db.isOpen() && ReadDiagramText(db, kTemplateTable, templateId, text, counter, &error);
    TemplateInUse = read && IsTemplateUsedByRecords(db, templateId);
    TemplateReadOnly = TemplateInUse;
    EditMode = HasEditRights() && !TemplateReadOnly ? 2 : 0;
    // The counter is read with the text it belongs to, so a later store can tell
    // whether another workstation stored the template since.
    loadedCounter_ = LoadedItemChangeCounter = read ? counter : -1;

    if (read && LoadText(text, &error)) {
        // A text that holds source keys of an older form is stored again in the current
        // form. Nothing was edited, so a refusal here stays quiet.
        if (SourceKeysLoaded && StoredText(*RootCell) != text)
            Store(true);
    } else {
        // A template that is missing, unreadable or only partly read is shown as far as
        // it was read and never stored back.
        if (!read)
            NewRoot();
        LoadFailed = true;
        LoadError = error;
        TemplateReadOnly = true;
        EditMode = 0;
    }
    SourceKeysLoaded = false;
    RootCell->SetEquationTemplateFlag(TemplateReadOnly ? 1 : 0);
    if (!LoadFailed) {
        try {
            RootCell->Calculate();
        } catch (const std::exception&) {
            // The evaluation reported its own errors; the tree shows what it computed.
        }
        if (HighlightMode != 0)
            HighlightRequest = true;
    }

    EmptyRedoUndo();
    TempSaveChanges();
    TemplateModified = false;
    CellTreeChanged = false;
    TreeLoadInProgress = !HasEditRights();

    TTemplateLoadStatus status;
    status.Loaded = !LoadFailed;
    if (LoadFailed) {
        status.Text = GetString(21710, { LoadError });
    } else if (TemplateInUse) {
        status.Text = GetString(1013);
        status.Bold = true;
    }
    return status;
}

bool TTemplateDocument::SaveTemplateDiagram()
{
    return Store(false);
}

bool TTemplateDocument::Store(bool quiet)
{
    if (CurrentTemplateID <= 0 || !RootCell || LoadFailed || storeRefused_)
        return false;
    SetSerialisationSwitches();
    const QString text = StoredText(*RootCell);
    TStoreResult result;
    QSqlDatabase db = RecordsDatabase(&result.Error);
    if (db.isOpen())
        result = StoreDiagramText(db, kTemplateTable, CurrentTemplateID, text, CurrentUserID, loadedCounter_);
    switch (result.Outcome) {
    case TStoreOutcome::Stored:
        loadedCounter_ = LoadedItemChangeCounter = result.ChangeCounter;
        TemplateModified = false;
        failureReported_ = false;
        return true;
    case TStoreOutcome::HeldByOther:
    case TStoreOutcome::ChangedSinceLoaded:
        if (quiet)
            return false;
        storeRefused_ = true;
        TemplateReadOnly = true;
        EditMode = 0;
        {
            QString reason;
            if (result.Outcome == TStoreOutcome::HeldByOther) {
                QString owner;
                if (DataModule1)
                    DataModule1->GetUserFullName(result.OwnerID, owner);
                reason = GetString(1102, { owner });
            } else {
                reason = GetString(21706);
            }
            MessageDlg(reason + QStringLiteral("\n\n") + GetString(21707), TMsgDlgType::mtWarning, mbOK);
        }
        return false;
    case TStoreOutcome::Missing:
    case TStoreOutcome::Failed:
        if (!quiet && !failureReported_) {
            failureReported_ = true;
            MessageDlg(GetString(21709, { result.Outcome == TStoreOutcome::Missing ? GetString(21708) : result.Error }),
                TMsgDlgType::mtError, mbOK);
        }
        return false;
    }
    return false;
}

void TTemplateDocument::TakePendingChange()
{
    // A change the tick has not served yet belongs to the shown template: leaving the
    // template must not drop it.
    if (CellTreeChanged && !TreeLoadInProgress && CurrentTemplateID > 0 && RootCell) {
        CellTreeChanged = false;
        TemplateModified = true;
    }
}

void TTemplateDocument::SaveAndResetUndo()
{
    if (CurrentTemplateID > 0 && TemplateModified && RootCell && RootCell->ChildCount() > 0)
        SaveTemplateDiagram();
    EmptyRedoUndo();
}

void TTemplateDocument::ReleaseOwnLock()
{
    if (CurrentTemplateID <= 0 || !DataModule1)
        return;
    const bool kind = CurrentDiagramKind;
    CurrentDiagramKind = true;
    if (DataModule1->IsItemLockedByMe())
        DataModule1->UnlockItem();
    CurrentDiagramKind = kind;
}

void TTemplateDocument::TreeChanged()
{
    if (CurrentTemplateID <= 0 || !RootCell)
        return;
    DataChangedSinceBackup = true;
    TemplateModified = true;
    TempSaveChanges();
    SaveTemplateDiagram();
}

void TTemplateDocument::EmptyRedoUndo()
{
    undo_.Reset();
}

void TTemplateDocument::TempSaveChanges()
{
    if (!RootCell)
        return;
    SetSerialisationSwitches();
    undo_.Push(RootCell->SaveToText());
}

bool TTemplateDocument::Undo()
{
    QString text;
    return undo_.Undo(text) && Rebuild(text);
}

bool TTemplateDocument::Redo()
{
    QString text;
    return undo_.Redo(text) && Rebuild(text);
}

bool TTemplateDocument::Rebuild(const QString& text)
{
    QString error;
    if (!LoadText(text, &error)) {
        LoadFailed = true;
        LoadError = error;
        TemplateReadOnly = true;
        EditMode = 0;
    }
    // The stored template still holds the state before the step: the shown one is
    // stored at the next store point, whichever state it is.
    TemplateModified = true;
    return true;
}

void TTemplateDocument::ClearDiagram()
{
    TakePendingChange();
    SaveAndResetUndo();
    ReleaseOwnLock();
    FreeCellTree(RootCell);
    CurrentTemplateID = 0;
    TemplateModified = false;
}

void TTemplateDocument::CloseTemplate()
{
    TakePendingChange();
    if (TemplateModified)
        SaveTemplateDiagram();
    ReleaseOwnLock();
    EmptyRedoUndo();
    if (RootCell)
        RootCell->DeleteAllChildren();
    TemplateModified = false;
}

} // namespace orvek
