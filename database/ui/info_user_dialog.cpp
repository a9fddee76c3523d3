#include "database/ui/info_user_dialog.h"

#include "core/string_table.h"
#include "database/data_module.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

QLineEdit* NamedEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(220);
    return edit;
}

} // namespace

TfInfoUser::TfInfoUser(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fInfoUser"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    GroupBox1 = new QGroupBox(this);
    GroupBox2 = new QGroupBox(this);
    Edit_FirstName = NamedEdit("Edit_FirstName", GroupBox1);
    Edit_LastName = NamedEdit("Edit_LastName", GroupBox1);
    Edit_UserID = NamedEdit("Edit_UserID", GroupBox1);
    Edit_UserName = NamedEdit("Edit_UserName", GroupBox2);
    Edit_Password = NamedEdit("Edit_Password", GroupBox2);
    Edit_Password->setEchoMode(QLineEdit::Password);
    Edit_UserRights = NamedEdit("Edit_UserRights", GroupBox2);
    Edit_UserRights->setReadOnly(true);
    ComboBox_GroupList = new QComboBox(GroupBox2);
    ComboBox_GroupList->setObjectName(QStringLiteral("ComboBox_GroupList"));
    Edit_Skupina = NamedEdit("Edit_Skupina", GroupBox2);
    Edit_Skupina->setReadOnly(true);
    CheckBox_DocasneZrusit = new QCheckBox(GroupBox2);
    CheckBox_DocasneZrusit->setObjectName(QStringLiteral("CheckBox_DocasneZrusit"));

    Label_FirstName = new QLabel(GroupBox1);
    Label_LastName = new QLabel(GroupBox1);
    Label_UserID = new QLabel(GroupBox1);
    Label_UserName = new QLabel(GroupBox2);
    Label_Password = new QLabel(GroupBox2);
    Label_Rights = new QLabel(GroupBox2);
    Label_Group = new QLabel(GroupBox2);
    Label_FirstName->setBuddy(Edit_FirstName);
    Label_LastName->setBuddy(Edit_LastName);
    Label_UserID->setBuddy(Edit_UserID);
    Label_UserName->setBuddy(Edit_UserName);
    Label_Password->setBuddy(Edit_Password);

    auto* person = new QFormLayout(GroupBox1);
    person->addRow(Label_FirstName, Edit_FirstName);
    person->addRow(Label_LastName, Edit_LastName);
    person->addRow(Label_UserID, Edit_UserID);
    auto* group = new QHBoxLayout;
    group->addWidget(ComboBox_GroupList, 1);
    group->addWidget(Edit_Skupina, 1);
    auto* login = new QFormLayout(GroupBox2);
    login->addRow(Label_UserName, Edit_UserName);
    login->addRow(Label_Password, Edit_Password);
    login->addRow(Label_Rights, Edit_UserRights);
    login->addRow(Label_Group, group);
    login->addRow(QString(), CheckBox_DocasneZrusit);

    QDialogButtonBox* buttons = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    Button_OK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Edit_FirstName, Edit_LastName);
    setTabOrder(Edit_LastName, Edit_UserID);
    setTabOrder(Edit_UserID, Edit_UserName);
    setTabOrder(Edit_UserName, Edit_Password);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfInfoUser::Timer1Timer);
    connect(Button_OK, &QPushButton::clicked, this, &TfInfoUser::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowGroupText(QString());
}

void TfInfoUser::ClearFields()
{
    for (QLineEdit* edit :
        { Edit_FirstName, Edit_LastName, Edit_UserID, Edit_UserName, Edit_Password, Edit_UserRights, Edit_Skupina })
        edit->clear();
    CheckBox_DocasneZrusit->setChecked(false);
    CheckBox_DocasneZrusit->setEnabled(true);
}

void TfInfoUser::FillGroups(int groupID)
{
    ComboBox_GroupList->clear();
    int current = 0;
    for (int i = 0; i < GroupCount && i < GroupList.size(); ++i) {
        ComboBox_GroupList->addItem(GroupList.at(i).Description, GroupList.at(i).ID);
        if (GroupList.at(i).ID == groupID)
            current = i;
    }
    ComboBox_GroupList->setCurrentIndex(ComboBox_GroupList->count() > 0 ? current : -1);
}

void TfInfoUser::ShowGroupCombo(bool enabled)
{
    ComboBox_GroupList->setVisible(true);
    ComboBox_GroupList->setEnabled(enabled);
    Edit_Skupina->setVisible(false);
}

void TfInfoUser::ShowGroupText(const QString& text)
{
    ComboBox_GroupList->setVisible(false);
    Edit_Skupina->setVisible(true);
    Edit_Skupina->setText(text);
}

int TfInfoUser::ChosenGroupID() const
{
    return ComboBox_GroupList->currentIndex() >= 0 ? ComboBox_GroupList->currentData().toInt() : 0;
}

TUserDialogInput TfInfoUser::Input() const
{
    return { Edit_UserName->text(), Edit_Password->text(), Edit_FirstName->text(), Edit_LastName->text(),
        Edit_UserID->text() };
}

void TfInfoUser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfInfoUser::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfInfoUser::FormActivate()
{
    GroupBox1->setTitle(GetString(561));
    GroupBox2->setTitle(GetString(564));
    Label_FirstName->setText(GetString(427));
    Label_LastName->setText(GetString(428));
    Label_UserID->setText(GetString(562));
    Label_UserName->setText(GetString(565));
    Label_Password->setText(GetString(566));
    Label_Rights->setText(GetString(1129) + QLatin1Char(':'));
    Label_Group->setText(GetString(1120) + QLatin1Char(':'));
    Edit_UserName->setToolTip(GetString(563));
    Edit_Password->setToolTip(NewUser ? GetString(563) : GetString(22007));
    Edit_Password->setPlaceholderText(NewUser ? QString() : GetString(22007));
    CheckBox_DocasneZrusit->setText(GetString(567));
    Button_Cancel->setText(GetString(4));
    Timer1Timer();
    Timer1->start();
    Edit_FirstName->setFocus();
}

void TfInfoUser::Timer1Timer()
{
    Button_OK->setEnabled(!Edit_UserName->text().isEmpty() && (!NewUser || !Edit_Password->text().isEmpty())
        && !Edit_FirstName->text().isEmpty() && !Edit_LastName->text().isEmpty());
}

void TfInfoUser::Button_OKClick()
{
    const TUserCheck check = CheckUserDialog(Input(), NewUser);
    if (check.TextID == 0) {
        accept();
        return;
    }
    MessageDlg(check.Argument ? GetString(check.TextID, { check.Argument }) : GetString(check.TextID),
        TMsgDlgType::mtError, mbRetry);
    switch (check.Field) {
    case TUserField::FirstName:
        Edit_FirstName->setFocus();
        break;
    case TUserField::LastName:
        Edit_LastName->setFocus();
        break;
    case TUserField::UserName:
        Edit_UserName->setFocus();
        break;
    case TUserField::Password:
        Edit_Password->setFocus();
        break;
    case TUserField::None:
        break;
    }
}

} // namespace orvek
