#include "database/ui/dialog_layout.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvek {

void LayOutOkCancelDialog(QDialog* dialog, QGroupBox* content, QPushButton*& okButton, QPushButton*& cancelButton)
{
    okButton = new QPushButton(QStringLiteral("OK"), dialog);
    okButton->setObjectName(QStringLiteral("OKBtn"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(dialog);
    cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace orvek
