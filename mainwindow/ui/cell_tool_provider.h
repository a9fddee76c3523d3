#pragma once
// The cell tool of the program: the cell dialogs made by the window classes that fill
// the factory's slots, loaded under the busy cursor, on the data module's record.

#include "core/services.h"
#include "mainwindow/cell_dialogs.h"
#include "mainwindow/cell_record_access.h"
#include "mainwindow/cell_tools.h"

#include <functional>
#include <memory>

namespace orvek {

// The dialogs of the windows. Each slot makes one dialog for one opening; a slot left
// empty makes none, and opening that dialog does nothing.
class TWidgetCellDialogs : public TCellDialogFactory {
public:
    std::function<std::unique_ptr<TEquationDialog>()> MakeEquationDialog; // TfOrvek5
    std::function<std::unique_ptr<TQuantityDialog>()> MakeQuantityDialog; // TfOrvek9
    std::function<std::unique_ptr<TUncertaintyCellDialog>()> MakeUncertaintyCellDialog; // TfOrvek11
    std::function<std::unique_ptr<TSourceDialog>()> MakeSourceDialog; // TfOrvek6

    std::unique_ptr<TEquationDialog> CreateEquationDialog() override;
    std::unique_ptr<TQuantityDialog> CreateQuantityDialog() override;
    std::unique_ptr<TUncertaintyCellDialog> CreateUncertaintyCellDialog() override;
    std::unique_ptr<TSourceDialog> CreateSourceDialog() override;
    void LoadingStarted() override;
    void LoadingFinished() override;
};

class CellToolProvider : public CellToolService {
public:
    // Record: the record access the tool writes through (the main window's, which notes
    // the history rows the tool writes); by default the data module's own.
    explicit CellToolProvider(TCellRecordAccess* record = nullptr);
    TWidgetCellDialogs& Dialogs() { return dialogs_; }

    void ClickAction(TCell* cell) override;
    void ViewProperties(TCell* cell) override;
    void EditProperties(TCell* cell) override;

private:
    TWidgetCellDialogs dialogs_;
    DataModuleCellRecord record_;
    TCellTools tools_;
};

} // namespace orvek
