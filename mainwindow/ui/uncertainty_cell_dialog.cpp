#include "mainwindow/ui/uncertainty_cell_dialog.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/number_format.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/ui/one_line_edit.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "mainwindow/ui/cell_dialog_widgets.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "sources/ui/source_page_widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

TfOrvek11::TfOrvek11(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvek11"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Label3 = MakeLabel(this, "Label3");
    Edit_NazovBunky = MakeEdit(this, "Edit_NazovBunky");
    Edit_NazovBunky->setMaxLength(200);
    KeepOneLine(Edit_NazovBunky);
    Label1 = MakeLabel(this, "Label1");
    Edit_HodnotaNeistoty = MakeEdit(this, "Edit_HodnotaNeistoty", true);
    Panel_JednotkaVeliciny = new QWidget(this);
    Panel_JednotkaVeliciny->setObjectName(QStringLiteral("Panel_JednotkaVeliciny"));
    Panel_JednotkaVeliciny->setMinimumWidth(120);
    FUnitBox = new TEditText98(
        this, QString(), 0, 0, 0, 0, true, true, true, 8, QStringLiteral("MS Sans Serif"), Panel_JednotkaVeliciny);
    FUnitBox->Edit->setObjectName(QStringLiteral("FUnitBox"));
    FUnitBox->Edit->setFixedHeight(Edit_HodnotaNeistoty->sizeHint().height());
    Label12 = MakeLabel(this, "Label12");
    Edit_PocetStupnovVolnosti = MakeEdit(this, "Edit_PocetStupnovVolnosti", true);
    Panel_Nekonecno = MakeInfinityPanel(this, "Panel_Nekonecno");
    CheckBox_Aktivita = new QCheckBox(this);
    CheckBox_Aktivita->setObjectName(QStringLiteral("CheckBox_Aktivita"));
    Comment = new TCellCommentBox(this);
    Label8 = Comment->Label;
    Label8->setObjectName(QStringLiteral("Label8"));
    QDialogButtonBox* buttons = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    for (QPushButton* button : { Button_OK, Button_Cancel })
        button->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(Edit_NazovBunky, 0, 1, 1, 2);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Edit_HodnotaNeistoty, 1, 1);
    grid->addWidget(Panel_JednotkaVeliciny, 1, 2);
    grid->addWidget(Label12, 2, 0);
    grid->addWidget(Edit_PocetStupnovVolnosti, 2, 1);
    grid->addWidget(Panel_Nekonecno, 2, 1);
    grid->addWidget(CheckBox_Aktivita, 3, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Comment->Panel, 1);
    layout->addWidget(buttons);
    resize(460, 340);

    connect(Button_OK, &QPushButton::clicked, this, &TfOrvek11::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(Comment->SpeedButton_Editor, &QToolButton::clicked, this, &TfOrvek11::SpeedButton_EditorClick);
    connect(Comment->Fullwindow, &QAction::triggered, this, &TfOrvek11::SpeedButton_EditorClick);
    // The form sees the keys first, in the comment box too.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    RefreshTexts();
}

TfOrvek11::~TfOrvek11()
{
    delete FUnitBox;
}

void TfOrvek11::RefreshTexts()
{
    Button_Cancel->setText(GetString(4));
    Label1->setText(GetString(87));
    Label3->setText(GetString(158));
    Label8->setText(GetString(156));
    Label12->setText(GetString(289));
    Comment->Fullwindow->setText(GetString(730));
    Comment->SpeedButton_Editor->setToolTip(GetString(730));
    Comment->RichEdit_PopisBunky->setToolTip(GetString(160));
    CheckBox_Aktivita->setText(GetString(161));
}

void TfOrvek11::LoadCellData()
{
    setWindowTitle(GetString(261));
    FUnitBox->SetMarkupText(FUnit);
    Edit_NazovBunky->setText(FCellName);
    Edit_HodnotaNeistoty->setText(FormatSignificantText(SignificantDigits, FCombinedUncertainty));
    Edit_PocetStupnovVolnosti->setText(FDegreesOfFreedom);
    const bool infinite = FDegreesOfFreedom == QLatin1String("Nekonecno");
    Panel_Nekonecno->setVisible(infinite);
    Edit_PocetStupnovVolnosti->setVisible(!infinite);

    Comment->Load(FComment);
    FCommentChanged = false;

    const bool nameLocked = EditMode == 0 || (EditMode == 1 && FCellNameLock != 0);
    const bool commentLocked = EditMode == 0 || (EditMode == 1 && FCommentLock != 0);
    Button_Cancel->setVisible(EditMode != 0);
    Edit_NazovBunky->setReadOnly(nameLocked);
    Comment->SetLocked(commentLocked);
    if (EditMode == 0)
        CheckBox_Aktivita->setEnabled(false);
    ColourByReadOnly(Edit_NazovBunky, Edit_NazovBunky->isReadOnly());
    Comment->ApplyReadOnlyColor();
}

void TfOrvek11::Button_OKClick()
{
    if (!Comment->RichEdit_PopisBunky->isReadOnly()) {
        // Read back only a comment the user changed, so that a stored mark-up comment is
        // not turned into RTF by opening and closing the dialog.
        if (Comment->RichEdit_PopisBunky->Modified()) {
            FComment = Comment->ReadRtf();
            FCommentChanged = true;
        }
    }
    if (!Edit_NazovBunky->isReadOnly())
        FCellName = Edit_NazovBunky->text();
    QApplication::restoreOverrideCursor();
    done(1);
}

void TfOrvek11::SpeedButton_EditorClick()
{
    Comment->OpenEditor(WithoutAccessKey(Label8->text()) + QLatin1Char(' ') + GetString(303) + QLatin1Char(' ')
        + Edit_NazovBunky->text());
}

bool TfOrvek11::FormKeyPress(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && focusWidget() != Button_Cancel && Button_OK->isEnabled()) {
        Button_OKClick();
        return true;
    }
    if (key == Qt::Key_Escape) {
        done(2);
        return true;
    }
    return false;
}

bool TfOrvek11::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this
        && FormKeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TfOrvek11::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyPress(event))
        QDialog::keyPressEvent(event);
}

void TfOrvek11::Load(const TUncertaintyCellDialogData& data)
{
    FCellName = data.FCellName;
    FCellNameLock = data.FCellNameLock;
    FComment = data.FComment;
    FCommentLock = data.FCommentLock;
    FUnit = data.FUnit;
    FDegreesOfFreedom = data.FDegreesOfFreedom;
    FCombinedUncertainty = data.FCombinedUncertainty;
    CheckBox_Aktivita->setChecked(data.Active);
    CheckBox_Aktivita->setEnabled(data.ActiveEnabled);
    LoadCellData();
}

int TfOrvek11::ShowModal()
{
    return exec() == 1 ? 1 : 2;
}

void TfOrvek11::ReadBack(TUncertaintyCellDialogData& data)
{
    data.FCellName = FCellName;
    data.FComment = FComment;
    data.FCommentChanged = FCommentChanged;
    data.Active = CheckBox_Aktivita->isChecked();
}

} // namespace orvek
