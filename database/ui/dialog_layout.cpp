#include "database/ui/dialog_layout.h"

#include "platform/ui/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvek {

void LayOutOkCancelDialog(QDialog* dialog, QGroupBox* content, QPushButton*& okButton, QPushButton*& cancelButton)
{
    QDialogButtonBox* buttons = OkCancelButtons(dialog, okButton, "OKBtn", cancelButton, "CancelBtn");
    okButton->setDefault(true);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace orvek
