#include "database/ui/login_dialog.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/ui/dialog_layout.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orvek {

TfPrihlasenieDoProgramu::TfPrihlasenieDoProgramu(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fPrihlasenieDoProgramu"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    LabelUserName = new QLabel(GroupBox1);
    LabelPassword = new QLabel(GroupBox1);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(220);
    Password = new QLineEdit(GroupBox1);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*", whatever the style's own mark.
    Password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    LabelUserName->setBuddy(ComboBox1);
    LabelPassword->setBuddy(Password);
    UserName = new QLineEdit(GroupBox1);
    UserName->setObjectName(QStringLiteral("UserName"));
    UserName->setGeometry(-1000, -1000, 10, 10);
    UserName->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(LabelUserName, 0, 0);
    grid->addWidget(ComboBox1, 0, 1);
    grid->addWidget(LabelPassword, 1, 0);
    grid->addWidget(Password, 1, 1);

    LayOutOkCancelDialog(this, GroupBox1, OKBtn, CancelBtn);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, [this] { ComboBox1Change(); });
}

void TfPrihlasenieDoProgramu::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    adjustSize();
    if (QScreen* shownOn = screen())
        move(shownOn->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    FormActivate();
}

void TfPrihlasenieDoProgramu::FormActivate()
{
    setWindowTitle(ProgramName + QStringLiteral(" - ") + GetString(521));
    GroupBox1->setTitle(GetString(564));
    LabelUserName->setText(GetString(565));
    LabelPassword->setText(GetString(566));
    CancelBtn->setText(GetString(4));
    Password->setFocus();
    UserName->setText(PresetUserName);
    Password->setText(PresetPassword);
    PresetUserName.clear();
    PresetPassword.clear();
}

void TfPrihlasenieDoProgramu::ComboBox1Change()
{
    Password->setFocus();
    Password->clear();
}

} // namespace orvek
