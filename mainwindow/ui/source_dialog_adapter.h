#pragma once
// The source dialog TfOrvek6 as the cell tool sees it: one dialog for one opening,
// loaded from the hand-over, shown modally and read back after OK.

#include "mainwindow/cell_dialogs.h"

#include <memory>

namespace orvek {

class TfOrvek6;

class TSourceDialogAdapter : public TSourceDialog {
public:
    TSourceDialogAdapter();
    ~TSourceDialogAdapter() override;

    void Load(const TSourceDialogData& data) override;
    int ShowModal() override;
    void ReadBack(TSourceDialogData& data) override;

    TfOrvek6& Dialog() { return *dialog_; }

private:
    std::unique_ptr<TfOrvek6> dialog_;
};

// The factory slot's maker: a fresh dialog for every opening.
std::unique_ptr<TSourceDialog> MakeSourceDialogAdapter();

} // namespace orvek
