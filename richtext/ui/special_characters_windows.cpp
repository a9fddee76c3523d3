#include "richtext/ui/special_characters_windows.h"

#include "core/string_table.h"
#include "platform/ui/window_placement.h"
#include "richtext/special_edit_target.h"
#include "richtext/ui/special_edit_actions.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

// One row of buttons; a null action stands for a separator.
void AddRow(QVBoxLayout* rows, QWidget* owner, const QList<QAction*>& actions)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    for (QAction* a : actions) {
        if (!a) {
            row->addSpacing(8);
            continue;
        }
        auto* b = new QToolButton(owner);
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        b->setFixedSize(27, 26);
        b->setObjectName("Button_" + a->objectName());
        row->addWidget(b);
    }
    row->addStretch(1);
    rows->addLayout(row);
}

void PrepareToolWindow(QDialog* w, int width)
{
    w->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    w->setFixedSize(width, 105);
}

} // namespace

TfSetSpecialCharactersVariable::TfSetSpecialCharactersVariable(QWidget* owner)
    : QDialog(owner)
{
    setObjectName("fSetSpecialCharactersVariable");
    PrepareToolWindow(this, 361);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    if (TActionListSpecialEdit* l = ActionListSpecialEdit) {
        AddRow(rows, this,
            { l->aSuperScript, l->aSubScript, nullptr, l->aCapitalDelta, l->aGrecke_F_velke, l->aGrecke_G_velke,
                l->aGrecke_J_velke, l->aLambda_velke, l->aCapitalPi, l->aGrecke_Q_velke, l->aCapitalSigma,
                l->aGrecke_V_velke, l->aCapitalOmega, l->aGrecke_velke_x });
        AddRow(rows, this,
            { l->aNy, l->aPi, l->aGrecke_q_male, l->aRo, l->aSigma, l->aGrecke_t_male, l->aGrecke_u_male,
                l->aGrecke_v_male, l->aOmega, l->aGrecke_x, l->aGrecke_y_male, l->aGrecke_z_male });
        AddRow(rows, this,
            { l->aAlpha, l->aBeta, l->aGrecke_c_male, l->aDelta, l->aEpsilon, l->aGrecke_f_male, l->aGamma,
                l->aGrecke_h_male, l->aGrecke_i_male, l->aFy, l->aGrecke_k_male, l->aLambda, l->aMi });
        AddRow(rows, this,
            { l->aPlusMinus, l->aGreaterThanOrEqual, l->aLessThanOrEqual, l->aDegree, l->aMultiplicity,
                l->aChar(143) });
    }
}

void TfSetSpecialCharactersVariable::ApplyCaption()
{
    // A text that cannot be read leaves the caption as it is.
    const QString caption = GetString(742);
    if (!caption.isEmpty())
        setWindowTitle(caption);
}

void TfSetSpecialCharactersVariable::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ApplyCaption();
    QDialog::changeEvent(event);
}

void TfSetSpecialCharactersVariable::showEvent(QShowEvent* event)
{
    ApplyCaption();
    QDialog::showEvent(event);
    // Beside the window whose texts it serves, never over it.
    PlaceBeside(this, parentWidget());
}

void TfSetSpecialCharactersVariable::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfSetSpecialCharactersVariable::closeEvent(QCloseEvent* event)
{
    // The close box ends the window's service; its box opens a new one next time.
    ActiveTextEditor = nullptr;
    QDialog::closeEvent(event);
    if (event->isAccepted() && this != fSetSpecialCharactersVariable)
        deleteLater();
}

TfSetSpecialCharacters::TfSetSpecialCharacters(QWidget* owner)
    : QDialog(owner)
{
    setObjectName("fSetSpecialCharacters");
    PrepareToolWindow(this, 356);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    if (TActionListSpecialEdit* l = ActionListSpecialEdit) {
        AddRow(rows, this,
            { l->aBold, l->aItalic, l->aSuperScript, l->aSubScript, nullptr, l->aPlusMinus, l->aGreaterThanOrEqual,
                l->aLessThanOrEqual, l->aDegree, l->aMultiplicity, nullptr, l->aChar(143) });
        AddRow(rows, this,
            { l->aCapitalDelta, l->aGrecke_F_velke, l->aGrecke_G_velke, l->aGrecke_J_velke, l->aLambda_velke,
                l->aCapitalPi, l->aGrecke_Q_velke, l->aCapitalSigma, l->aGrecke_V_velke, l->aCapitalOmega,
                l->aGrecke_velke_x, l->aCapitalPsi });
        AddRow(rows, this,
            { l->aAlpha, l->aBeta, l->aGrecke_c_male, l->aDelta, l->aEpsilon, l->aGrecke_f_male, l->aGamma,
                l->aGrecke_h_male, l->aGrecke_i_male, l->aFy, l->aGrecke_k_male, l->aLambda, l->aMi });
        AddRow(rows, this,
            { l->aNy, l->aPi, l->aGrecke_q_male, l->aRo, l->aSigma, l->aGrecke_t_male, l->aGrecke_u_male,
                l->aGrecke_v_male, l->aOmega, l->aGrecke_x, l->aGrecke_y_male, l->aGrecke_z_male });
    }
}

void TfSetSpecialCharacters::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    PlaceBeside(this, parentWidget());
}

void TfSetSpecialCharacters::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvek
