#include "mainwindow/ui/source_dialog_adapter.h"

#include "sources/ui/source_dialog.h"

#include <QApplication>
#include <QCheckBox>

namespace orvek {

TSourceDialogAdapter::TSourceDialogAdapter()
    : dialog_(std::make_unique<TfOrvek6>(QApplication::activeWindow()))
{
}

TSourceDialogAdapter::~TSourceDialogAdapter() = default;

void TSourceDialogAdapter::Load(const TSourceDialogData& data)
{
    TfOrvek6& d = *dialog_;
    // The texts follow the language in force at this opening.
    d.RefreshTexts();
    d.ClearInputs();
    d.FOwnerCell = data.FOwnerCell;
    d.FSourceCell = nullptr;
    d.FAcceptMethod = data.AcceptMethod;
    d.FIsNewSource = data.FIsNewSource;
    d.FCellName = data.FCellName;
    d.FCellNameLock = data.FCellNameLock;
    d.FComment = data.FComment;
    d.FCommentLock = data.FCommentLock;
    d.FUnit = data.FUnit;
    d.FInput = data.FInput;
    // The load keeps the caller's decision whether the active flag may change.
    d.CheckBox_Aktivita->setChecked(data.Active);
    d.CheckBox_Aktivita->setEnabled(data.ActiveEnabled);
    d.LoadUncertaintyInput();
}

int TSourceDialogAdapter::ShowModal()
{
    return dialog_->exec();
}

void TSourceDialogAdapter::ReadBack(TSourceDialogData& data)
{
    const TfOrvek6& d = *dialog_;
    data.FCellName = d.FCellName;
    data.FCommentChanged = d.FCommentChanged;
    if (d.FCommentChanged)
        data.FComment = d.FComment;
    data.FInput = d.FInput;
    data.Active = d.CheckBox_Aktivita->isChecked();
    data.FHandsMean = d.FHandsMean;
    data.FMeanText = d.FMeanText;
}

std::unique_ptr<TSourceDialog> MakeSourceDialogAdapter()
{
    return std::make_unique<TSourceDialogAdapter>();
}

} // namespace orvek
