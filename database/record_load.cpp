#include "database/record_load.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/diagram_store.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "platform/dialogs.h"

#include <QBuffer>
#include <QSqlDatabase>

namespace orvek {

namespace {

void FreeShownTree(MainWindowService* window)
{
    TCell* root = window->FRootCell();
    window->SetRootCell(nullptr);
    FreeCellTree(root);
}

} // namespace

TRecordLoad LoadRecordDiagram(QSqlDatabase& db, int recordID, QString* reason, QString* treeText)
{
    QString saved;
    MainWindowService* window = MainWindow();
    if (window)
        window->StopMainTimer();
    TreeLoadInProgress = true;
    TRecordLoad result = TRecordLoad::Loaded;
    QString text, error;
    qint64 counter = -1;
    if (!ReadDiagramText(db, QStringLiteral("TreeDB"), recordID, text, counter, &error)) {
        result = TRecordLoad::Missing;
        if (window)
            FreeShownTree(window);
    } else if (window) {
        StoreCellComments = true;
        CellIdCounter = 1;
        ClearNewCellInfo();
        FreeShownTree(window);
        auto* root = new TCell(window->DiagramHost(), NewCellInfo, DiagramOriginY, DiagramOriginX, nullptr);
        LoadValuesOnPaste = true;
        AskOnPaste = false;
        QByteArray bytes = text.toUtf8();
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        if (!root->LoadFromDevice(device, &error)) {
            // What was read before the error is no model: it is dropped, never stored.
            FreeCellTree(root);
            result = TRecordLoad::Unreadable;
            MessageDlg(GetString(21901, { error }), TMsgDlgType::mtError, mbOK);
        } else {
            root->SetEquationTemplateFlag(1);
            window->SetRootCell(root);
            // The record is now the current diagram, and the counter read with its text
            // is the one a later save must find. A template shown before must not keep
            // the diagram kind: a save would then leave the record's counter behind.
            CurrentDiagramKind = false;
            LoadedItemChangeCounter = counter;
            // Source keys of an older form are stored again in the current form.
            if (SourceKeysLoaded) {
                saved = root->SaveToText();
                if (saved + QStringLiteral("\r\n") != text)
                    window->SaveRecordDiagram();
            }
        }
    }
    if (window) {
        window->RefreshEquationsPage();
        window->RefreshReportPages();
        if (HighlightMode != 0 && window->FRootCell()) {
            // Calculated values change the tree's text.
            saved.clear();
            window->FRootCell()->Calculate();
            HighlightRequest = true;
        }
        window->SetModified(false);
    }
    TreeLoadInProgress = false;
    if (window)
        window->RestoreMainTimer(true);
    if (reason)
        *reason = error;
    if (treeText)
        *treeText = result == TRecordLoad::Loaded ? saved : QString();
    return result;
}

} // namespace orvek
