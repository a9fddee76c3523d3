#include "database/ui/input_search_string.h"

#include "core/string_table.h"
#include "database/ui/one_line_edit.h"
#include "platform/ui/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvek {

TfInputSearchString1::TfInputSearchString1(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fInputSearchString1"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Label_SearchString = new QLabel(this);
    Label_SearchString->setObjectName(QStringLiteral("Label_SearchString"));
    Edit_SearchString = new QLineEdit(this);
    Edit_SearchString->setObjectName(QStringLiteral("Edit_SearchString"));
    Edit_SearchString->setMinimumWidth(320);
    KeepOneLine(Edit_SearchString);
    Label_SearchString->setBuddy(Edit_SearchString);

    GroupBox_Where = new QGroupBox(this);
    RadioButton_Substring = new QRadioButton(GroupBox_Where);
    RadioButton_Substring->setObjectName(QStringLiteral("RadioButton_Substring"));
    RadioButton_BeginingString = new QRadioButton(GroupBox_Where);
    RadioButton_BeginingString->setObjectName(QStringLiteral("RadioButton_BeginingString"));
    RadioButton_ExactString = new QRadioButton(GroupBox_Where);
    RadioButton_ExactString->setObjectName(QStringLiteral("RadioButton_ExactString"));
    RadioButton_Substring->setChecked(true);
    auto* where = new QVBoxLayout(GroupBox_Where);
    where->addWidget(RadioButton_Substring);
    where->addWidget(RadioButton_BeginingString);
    where->addWidget(RadioButton_ExactString);

    GroupBox_Folders = new QGroupBox(this);
    RadioButton_AllFolders = new QRadioButton(GroupBox_Folders);
    RadioButton_AllFolders->setObjectName(QStringLiteral("RadioButton_AllFolders"));
    RadioButton_SelectedFolder = new QRadioButton(GroupBox_Folders);
    RadioButton_SelectedFolder->setObjectName(QStringLiteral("RadioButton_SelectedFolder"));
    RadioButton_AllFolders->setChecked(true);
    auto* folders = new QVBoxLayout(GroupBox_Folders);
    folders->addWidget(RadioButton_AllFolders);
    folders->addWidget(RadioButton_SelectedFolder);

    QDialogButtonBox* buttons = OkCancelButtons(this, Button_Search, "Button_Search", Button_Cancel, "Button_Cancel");
    Button_Search->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_SearchString);
    layout->addWidget(Edit_SearchString);
    layout->addWidget(GroupBox_Where);
    layout->addWidget(GroupBox_Folders);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button_Search, &QPushButton::clicked, this, &TfInputSearchString1::Button_SearchClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfInputSearchString1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfInputSearchString1::FormActivate()
{
    setWindowTitle(GetString(851));
    RadioButton_Substring->setText(GetString(844));
    RadioButton_BeginingString->setText(GetString(845));
    RadioButton_ExactString->setText(GetString(846));
    RadioButton_AllFolders->setText(GetString(847));
    RadioButton_SelectedFolder->setText(GetString(848));
    Button_Cancel->setText(GetString(849));
    Button_Search->setText(GetString(850));
    Label_SearchString->setVisible(!Label_SearchString->text().isEmpty());
    Edit_SearchString->setFocus();
}

void TfInputSearchString1::Button_SearchClick()
{
    Edit_SearchString->setText(Edit_SearchString->text().trimmed());
    accept();
}

} // namespace orvek
