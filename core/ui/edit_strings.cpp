#include "core/ui/edit_strings.h"

#include "core/string_table.h"
#include "platform/ui/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvek {

TfEditStrings::TfEditStrings(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fEditStrings"));
    auto* grid = new QGridLayout(this);
    Label_English = new QLabel(this);
    Edit_English = new QLineEdit(this);
    Edit_English->setObjectName(QStringLiteral("Edit_English"));
    Label_Slovak = new QLabel(this);
    Edit_Slovak = new QLineEdit(this);
    Edit_Slovak->setObjectName(QStringLiteral("Edit_Slovak"));
    Edit_English->setMinimumWidth(520);
    QDialogButtonBox* buttons = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    Button_OK->setDefault(true);
    connect(Button_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(Label_English, 0, 0);
    grid->addWidget(Edit_English, 1, 0);
    grid->addWidget(Label_Slovak, 2, 0);
    grid->addWidget(Edit_Slovak, 3, 0);
    grid->addWidget(buttons, 4, 0);
}

void TfEditStrings::FormActivate()
{
    setWindowTitle(GetString(730));
    Label_English->setText(GetString(221));
    Label_Slovak->setText(GetString(222));
    Button_OK->setText(GetString(710));
    Button_Cancel->setText(GetString(4));
}

void TfEditStrings::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

} // namespace orvek
