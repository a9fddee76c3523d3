// The main window's undo history: every stored state of the shown record in the
// session's undo table (TMainDocument with the main window's policy), the undo and
// redo steps that rebuild the tree from a state, and the equations page that follows
// the tree.

#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/main_window.h"
#include "richtext/report_texts.h"

#include <QAction>
#include <QTextEdit>
#include <QTimer>

namespace orvek {

bool TfOrvek1::CreateUndoTable()
{
    const bool created = document_->CreateUndoTable();
    UpdateUndoActions();
    return created;
}

void TfOrvek1::DropUndoTable()
{
    document_->DropUndoTable();
    UpdateUndoActions();
}

void TfOrvek1::ResetUndo()
{
    document_->ResetUndo();
    UpdateUndoActions();
}

void TfOrvek1::PushUndoSnapshot()
{
    document_->PushUndoSnapshot();
    UpdateUndoActions();
}

void TfOrvek1::UndoStep()
{
    Step(false);
}

void TfOrvek1::RedoStep()
{
    Step(true);
}

void TfOrvek1::Step(bool redo)
{
    // The tick must not store or push while the tree is rebuilt.
    const bool running = StopMainTimer();
    ScrollBox2->setVisible(false);
    const bool moved = redo ? document_->RedoStep() : document_->UndoStep();
    ScrollBox2->setVisible(true);
    if (moved) {
        RefreshEquationsPage();
        FShortReportStale = true;
        FFormulaPageStale = true;
    }
    UpdateUndoActions();
    RestoreMainTimer(running);
}

void TfOrvek1::UpdateUndoActions()
{
    ActionUndo->setEnabled(document_->CanUndo());
    ActionRedo->setEnabled(document_->CanRedo());
}

void TfOrvek1::RefreshEquationsPage()
{
    RichEdit_Rovnice->clear();
    if (document_->RootCell)
        RichEdit_Rovnice->setPlainText(EquationsText(*document_->RootCell));
}

} // namespace orvek
