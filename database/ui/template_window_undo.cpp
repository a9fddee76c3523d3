// The template window's undo history: the document keeps the snapshots and rebuilds the
// tree; the window refreshes what shows the tree and the enabling of Undo and Redo.

#include "database/template_document.h"
#include "database/ui/template_window.h"
#include "engine/ui/diagram_view.h"

#include <QAction>
#include <QTimer>

namespace orvek {

void TfOrvekDB::EmptyRedoUndo()
{
    document_->EmptyRedoUndo();
    UpdateUndoActions();
}

void TfOrvekDB::TempSaveChanges()
{
    document_->TempSaveChanges();
    UpdateUndoActions();
}

void TfOrvekDB::Undo()
{
    if (!document_->CanUndo())
        return;
    Timer1->stop();
    const bool wasReadOnly = document_->TemplateReadOnly;
    // The state reached counts as modified and is stored at the next store point.
    if (document_->Undo()) {
        RefreshEquationsPage();
        ScrollBox_Template->setVisible(true);
        ShortReportStale = FormulaPageStale = true;
        RefreshSummary();
    }
    UpdateUndoActions();
    if (document_->TemplateReadOnly != wasReadOnly)
        UpdateActions();
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::Redo()
{
    if (!document_->CanRedo())
        return;
    Timer1->stop();
    const bool wasReadOnly = document_->TemplateReadOnly;
    if (document_->Redo()) {
        RefreshEquationsPage();
        ScrollBox_Template->setVisible(true);
        ShortReportStale = FormulaPageStale = true;
        RefreshSummary();
    }
    UpdateUndoActions();
    if (document_->TemplateReadOnly != wasReadOnly)
        UpdateActions();
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::UpdateUndoActions()
{
    ActionUndo->setEnabled(document_ && document_->CanUndo());
    ActionRedo->setEnabled(document_ && document_->CanRedo());
}

} // namespace orvek
