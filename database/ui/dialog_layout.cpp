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
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addLayout(RightAlignedButtons({ okButton, cancelButton }));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QHBoxLayout* RightAlignedButtons(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace orvek
