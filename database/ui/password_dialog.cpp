#include "database/ui/password_dialog.h"

#include "core/identifier_text.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/password_hash.h"
#include "database/ui/dialog_layout.h"
#include "platform/dialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

// The shortest password accepted.
constexpr int kMinPasswordLength = 3;

} // namespace

TfZmenaHesla::TfZmenaHesla(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fZmenaHesla"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    GroupBox1 = new QGroupBox(this);
    LabelUser = new QLabel(GroupBox1);
    LabelUser->setObjectName(QStringLiteral("LabelUser"));
    LabelUser->hide();
    LabelOldPassword = new QLabel(GroupBox1);
    LabelNewPassword = new QLabel(GroupBox1);
    LabelConfirmPassword = new QLabel(GroupBox1);
    EditOldPassword = new QLineEdit(GroupBox1);
    EditOldPassword->setObjectName(QStringLiteral("EditOldPassword"));
    EditNewPassword = new QLineEdit(GroupBox1);
    EditNewPassword->setObjectName(QStringLiteral("EditNewPassword"));
    EditConfirmPassword = new QLineEdit(GroupBox1);
    EditConfirmPassword->setObjectName(QStringLiteral("EditConfirmPassword"));
    for (QLineEdit* edit : { EditOldPassword, EditNewPassword, EditConfirmPassword }) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        edit->setMinimumWidth(200);
    }
    LabelOldPassword->setBuddy(EditOldPassword);
    LabelNewPassword->setBuddy(EditNewPassword);
    LabelConfirmPassword->setBuddy(EditConfirmPassword);

    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(LabelUser, 0, 0, 1, 2);
    grid->addWidget(LabelOldPassword, 1, 0);
    grid->addWidget(EditOldPassword, 1, 1);
    grid->addWidget(LabelNewPassword, 2, 0);
    grid->addWidget(EditNewPassword, 2, 1);
    grid->addWidget(LabelConfirmPassword, 3, 0);
    grid->addWidget(EditConfirmPassword, 3, 1);

    LayOutOkCancelDialog(this, GroupBox1, OKBtn, CancelBtn);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfZmenaHesla::Timer1Timer);
    connect(OKBtn, &QPushButton::clicked, this, &TfZmenaHesla::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TfZmenaHesla::CancelBtnClick);
    FormCreate();
}

void TfZmenaHesla::FormCreate()
{
    EditOldPassword->clear();
    EditNewPassword->clear();
    EditConfirmPassword->clear();
}

void TfZmenaHesla::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfZmenaHesla::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfZmenaHesla::FormActivate()
{
    setWindowTitle(GetString(483));
    GroupBox1->setTitle(GetString(484));
    LabelOldPassword->setText(GetString(485));
    LabelNewPassword->setText(GetString(486));
    LabelConfirmPassword->setText(GetString(487));
    CancelBtn->setText(GetString(4));
    // The texts arrive after the first layout: grow the window to them.
    adjustSize();
    Timer1Timer();
    Timer1->start();
    EditOldPassword->setFocus();
}

void TfZmenaHesla::Timer1Timer()
{
    const bool newEnabled = !EditOldPassword->text().isEmpty();
    EditNewPassword->setEnabled(newEnabled);
    LabelNewPassword->setEnabled(newEnabled);
    const bool confirmEnabled = newEnabled && !EditNewPassword->text().trimmed().isEmpty();
    EditConfirmPassword->setEnabled(confirmEnabled);
    LabelConfirmPassword->setEnabled(confirmEnabled);
}

void TfZmenaHesla::OKBtnClick()
{
    if (!VerifyPassword(EditOldPassword->text(), OldPasswordToCheck)) {
        MessageDlg(GetString(488), TMsgDlgType::mtError, mbRetry);
        FormCreate();
        Timer1Timer();
        EditOldPassword->setFocus();
        return;
    }
    const QString newPassword = EditNewPassword->text();
    QString problem;
    if (!IsAlphanumeric(newPassword))
        problem = GetString(489);
    else if (UserPasswordSize > 0 && newPassword.size() > UserPasswordSize)
        problem = GetString(490, { UserPasswordSize });
    else if (newPassword.size() < kMinPasswordLength)
        problem = GetString(491, { kMinPasswordLength });
    else if (EditConfirmPassword->text() != newPassword)
        problem = GetString(492);
    if (!problem.isEmpty()) {
        MessageDlg(problem, TMsgDlgType::mtError, mbRetry);
        EditNewPassword->clear();
        EditConfirmPassword->clear();
        Timer1Timer();
        EditNewPassword->setFocus();
        return;
    }
    EditOldPassword->clear();
    EditConfirmPassword->clear();
    NewPassword = newPassword;
    EditNewPassword->clear();
    accept();
}

void TfZmenaHesla::CancelBtnClick()
{
    FormCreate();
    reject();
}

} // namespace orvek
