#include "mainwindow/ui/one_line_dialogs.h"

#include "core/string_table.h"
#include "database/ui/one_line_edit.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

// ---------------------------------------------------------------------------------
// TfEditSpecialString

TfEditSpecialString::TfEditSpecialString(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fEditSpecialString"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setMinimumWidth(301);

    EditName = new QLabel(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    QDialogButtonBox* box = OkCancelButtons(Panel2, sbAccept, "sbAccept", sbCancel, "sbCancel");
    sbSpecial = new QPushButton(Panel2);
    sbSpecial->setObjectName(QStringLiteral("sbSpecial"));
    for (QPushButton* button : { sbCancel, sbSpecial, sbAccept })
        button->setAutoDefault(false);

    FTextBox
        = new TEditText98(this, QString(), 0, 0, 0, 0, true, false, true, 8, QStringLiteral("MS Sans Serif"), Panel3);
    FTextBox->Edit->setObjectName(QStringLiteral("FTextBox"));
    FTextBox->Edit->setFixedHeight(FTextBox->Edit->fontMetrics().height() + 12);
    // The form sees the keys first: installed after the box's own filter, this one runs
    // before it.
    FTextBox->Edit->installEventFilter(this);

    auto* buttons = new QHBoxLayout(Panel2);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(sbSpecial);
    buttons->addWidget(box, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(EditName);
    layout->addWidget(Panel3);
    layout->addSpacing(3);
    layout->addWidget(Panel2);
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);

    connect(sbAccept, &QPushButton::clicked, this, &TfEditSpecialString::sbAcceptClick);
    connect(sbCancel, &QPushButton::clicked, this, &TfEditSpecialString::sbCancelClick);
    connect(sbSpecial, &QPushButton::clicked, this, &TfEditSpecialString::sbSpecialClick);
    RefreshTexts();
}

TfEditSpecialString::~TfEditSpecialString()
{
    delete FTextBox;
}

void TfEditSpecialString::ApplyButtonTexts()
{
    sbCancel->setText(GetString(4));
    sbSpecial->setText(GetString(388));
}

void TfEditSpecialString::RefreshTexts()
{
    setWindowTitle(GetString(387));
    ApplyButtonTexts();
}

void TfEditSpecialString::LoadText(const QString& Text)
{
    ApplyButtonTexts();
    FTextBox->SetMarkupText(FirstLineOf(Text));
    FTextBox->SetModified(false);
    FMarkupText = Text;
}

void TfEditSpecialString::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FTextBox->ShowToolWindow();
    FTextBox->Edit->setFocus();
}

void TfEditSpecialString::hideEvent(QHideEvent* event)
{
    FTextBox->HideToolWindow();
    QDialog::hideEvent(event);
}

void TfEditSpecialString::sbAcceptClick()
{
    FTextBox->GetMarkupText(FMarkupText);
    FMarkupText = FMarkupText.trimmed();
    FTextBox->GetPlainText(FPlainText);
    done(1);
}

void TfEditSpecialString::sbCancelClick()
{
    done(2);
}

void TfEditSpecialString::sbSpecialClick()
{
    FTextBox->ShowToolWindow();
}

bool TfEditSpecialString::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FTextBox->Edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnter(key) && sbAccept->isEnabled()) {
            sbAcceptClick();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            sbCancelClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfEditSpecialString::keyPressEvent(QKeyEvent* event)
{
    if (IsEnter(event) && sbAccept->isEnabled()) {
        sbAcceptClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        sbCancelClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------
// TfEditString

TfEditString::TfEditString(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fEditString"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(280);
    KeepOneLine(Edit1);
    Label1->setBuddy(Edit1);
    QDialogButtonBox* buttons
        = OkCancelButtons(this, SpeedButton_OK, "SpeedButton_OK", SpeedButton_Cancel, "SpeedButton_Cancel");
    // The form's own caption; it is not a string-table text.
    SpeedButton_Cancel->setText(QStringLiteral("Quit"));
    SpeedButton_OK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(SpeedButton_OK, &QPushButton::clicked, this, [this] { done(1); });
    connect(SpeedButton_Cancel, &QPushButton::clicked, this, [this] { done(2); });
    Edit1->clear();
}

void TfEditString::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    SpeedButton_OK->setEnabled(true);
    Edit1->setFocus();
}

// ---------------------------------------------------------------------------------
// TfRenameVar

TfRenameVar::TfRenameVar(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fRenameVar"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Edit_AktualnySymbol = new QLineEdit(this);
    Edit_AktualnySymbol->setObjectName(QStringLiteral("Edit_AktualnySymbol"));
    Edit_AktualnySymbol->setReadOnly(true);
    Edit_NovySymbol = new QLineEdit(this);
    Edit_NovySymbol->setObjectName(QStringLiteral("Edit_NovySymbol"));
    KeepOneLine(Edit_NovySymbol);
    Label1->setBuddy(Edit_AktualnySymbol);
    Label2->setBuddy(Edit_NovySymbol);
    QDialogButtonBox* buttons = OkCancelButtons(this, Button2, "Button2", Button1, "Button1");
    Button1->setAutoDefault(false);
    Button2->setDefault(true);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit_AktualnySymbol, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Edit_NovySymbol, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, [this] { done(2); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(1); });
    connect(Timer1, &QTimer::timeout, this, &TfRenameVar::Timer1Timer);
}

void TfRenameVar::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfRenameVar::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfRenameVar::FormActivate()
{
    setWindowTitle(GetString(361));
    Label1->setText(GetString(362));
    Label2->setText(GetString(363));
    Button1->setText(GetString(4));
    Timer1Timer();
    Timer1->start();
    Edit_NovySymbol->setFocus();
}

void TfRenameVar::Timer1Timer()
{
    const QString text = Edit_NovySymbol->text();
    Button2->setEnabled(!text.isEmpty() && text != Edit_AktualnySymbol->text());
}

} // namespace orvek
