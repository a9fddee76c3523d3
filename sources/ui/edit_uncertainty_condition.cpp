#include "sources/ui/edit_uncertainty_condition.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/uncertainty_condition.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"
#include "sources/source_owner.h"
#include "sources/ui/source_page_widgets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvek {

namespace {

constexpr int kCaptionText = 1070, kAndText = 1067, kThenText = 1068, kIfText = 1069;
// Refusals of rows that would not come back as typed.
constexpr int kNoOperatorText = 22551, kNoBoundText = 22552, kBoundNotNumberText = 22553, kNotReadBackText = 22554;
constexpr int kTop = 10, kRowHeight = 28, kLeft = 8;

// The label names of the twelve rows, as the window has always named them.
constexpr int kIfLabels[ConditionEditorRows] = { 1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31, 34 };
constexpr int kAndLabels[ConditionEditorRows] = { 3, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35 };
constexpr int kThenLabels[ConditionEditorRows] = { 2, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36 };

QLabel* NumberedLabel(QWidget* parent, int number)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    return label;
}

QComboBox* OperatorList(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    list->setFixedWidth(52);
    return list;
}

QLineEdit* RowEdit(QWidget* parent, const QString& name, int width)
{
    QLineEdit* edit = MakeEdit(parent, name.toLatin1().constData());
    edit->setFixedWidth(width);
    return edit;
}

void SelectItem(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    if (index >= 0)
        list->setCurrentIndex(index);
}

} // namespace

TfEditUncertaintyContition::TfEditUncertaintyContition(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fEditUncertaintyContition"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const QStringList first = { QString(), QStringLiteral("="), QStringLiteral("<"), QStringLiteral("<="),
        QStringLiteral(">"), QStringLiteral(">=") };
    const QStringList second = { QString(), QStringLiteral("<"), QStringLiteral("<=") };
    for (int k = 0; k < ConditionEditorRows; ++k) {
        const int n = k + 1;
        TRow& row = Rows[size_t(k)];
        row.IfLabel = NumberedLabel(this, kIfLabels[k]);
        row.First = OperatorList(this, QStringLiteral("IF%1a").arg(n), first);
        row.Bound1 = RowEdit(this, QStringLiteral("Num_%1_1").arg(n), 80);
        row.AndLabel = NumberedLabel(this, kAndLabels[k]);
        row.Second = OperatorList(this, QStringLiteral("IF%1b").arg(n), second);
        row.Bound2 = RowEdit(this, QStringLiteral("Num_%1_2").arg(n), 80);
        row.ThenLabel = NumberedLabel(this, kThenLabels[k]);
        row.U = RowEdit(this, QStringLiteral("u_%1").arg(n), 160);
        connect(row.First, &QComboBox::currentIndexChanged, this, &TfEditUncertaintyContition::UpdateSecondBounds);
    }
    Buttons = OkCancelButtons(this, ButtonOK, "ButtonOK", ButtonCancel, "ButtonCancel");
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &TfEditUncertaintyContition::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(2); });
    ApplyTexts();
    ResetRows();
}

void TfEditUncertaintyContition::LoadCondition(const QString& Text)
{
    ResetRows();
    ParseUncertaintyCondition(Text);
    ShowParsedRows();
}

void TfEditUncertaintyContition::ResetRows()
{
    for (int k = 0; k < ConditionEditorRows; ++k) {
        TRow& row = Rows[size_t(k)];
        row.First->setCurrentIndex(k == 0 ? 1 : 0);
        row.Second->setCurrentIndex(0);
        for (QLineEdit* edit : { row.Bound1, row.Bound2, row.U })
            edit->clear();
    }
    UpdateSecondBounds();
}

void TfEditUncertaintyContition::ShowParsedRows()
{
    const int count = std::min(ConditionRowCount, ConditionEditorRows);
    for (int i = 1; i <= count; ++i) {
        const T_u_conditionRecord& entry = ConditionRows[size_t(i)];
        TRow& row = Rows[size_t(i - 1)];
        SelectItem(row.First, entry.Op1);
        row.Bound1->setText(entry.Bound1Text);
        if (!entry.Op2.isEmpty() && !entry.Bound2Text.isEmpty()) {
            SelectItem(row.Second, entry.Op2);
            row.Bound2->setText(entry.Bound2Text);
        }
        row.U->setText(entry.UExpression);
    }
    UpdateSecondBounds();
}

void TfEditUncertaintyContition::ApplyTexts()
{
    setWindowTitle(GetString(kCaptionText));
    ButtonCancel->setText(GetString(4));
    const QString ifText = GetString(kIfText) + QLatin1Char(' ') + SourceQuantitySymbol;
    for (TRow& row : Rows) {
        row.IfLabel->setText(ifText);
        row.AndLabel->setText(GetString(kAndText));
        row.ThenLabel->setText(GetString(kThenText));
    }
    ArrangeRows();
}

void TfEditUncertaintyContition::ArrangeRows()
{
    // Row 1 sets the horizontal places from its labels' widths, which vary by language.
    for (TRow& row : Rows)
        for (QLabel* label : { row.IfLabel, row.AndLabel, row.ThenLabel })
            label->adjustSize();
    const TRow& first = Rows[0];
    const int ifWidth = first.IfLabel->width();
    const int xFirst = kLeft + ifWidth + 3;
    const int xBound1 = xFirst + first.First->width() + 1;
    const int xAnd = xBound1 + first.Bound1->width() + 4;
    const int xSecond = xAnd + first.AndLabel->width() + 3;
    const int xBound2 = xSecond + first.Second->width() + 1;
    const int xThen = xBound2 + first.Bound2->width() + 4;
    const int xU = xThen + first.ThenLabel->width() + 1;
    const int editHeight = first.U->sizeHint().height();
    for (int k = 0; k < ConditionEditorRows; ++k) {
        const TRow& row = Rows[size_t(k)];
        const int y = kTop + k * kRowHeight;
        auto place = [y, editHeight](QWidget* w, int x) {
            const int h = w->sizeHint().height();
            w->move(x, y + (editHeight - h) / 2);
            if (qobject_cast<QLabel*>(w) == nullptr)
                w->resize(w->width(), h);
        };
        place(row.IfLabel, kLeft);
        place(row.First, xFirst);
        place(row.Bound1, xBound1);
        place(row.AndLabel, xAnd);
        place(row.Second, xSecond);
        place(row.Bound2, xBound2);
        place(row.ThenLabel, xThen);
        place(row.U, xU);
    }
    const int width = xU + first.U->width() + 15;
    const int buttonsY = kTop + ConditionEditorRows * kRowHeight + 8;
    const QSize buttons = Buttons->sizeHint();
    Buttons->setGeometry(width - 15 - buttons.width(), buttonsY, buttons.width(), buttons.height());
    setFixedSize(width, buttonsY + buttons.height() + 10);
}

void TfEditUncertaintyContition::UpdateSecondBounds()
{
    for (TRow& row : Rows) {
        const int op = row.First->currentIndex();
        const bool two = op == 4 || op == 5;
        row.Second->setVisible(two);
        row.Bound2->setVisible(two);
        row.AndLabel->setVisible(two);
    }
}

TConditionRows TfEditUncertaintyContition::RowInputs() const
{
    TConditionRows inputs;
    for (int k = 0; k < ConditionEditorRows; ++k) {
        const TRow& row = Rows[size_t(k)];
        inputs[size_t(k)] = { row.First->currentText(), row.Bound1->text(), row.Second->currentText(),
            row.Bound2->text(), row.U->text() };
    }
    return inputs;
}

void TfEditUncertaintyContition::BuildConditionText(QString& Text) const
{
    Text = orvek::BuildConditionText(RowInputs());
}

void TfEditUncertaintyContition::ButtonOKClick()
{
    // Only a text that reads back into the rows typed is stored: a row lost on reading
    // would silently change the uncertainty of every value it covered.
    const TConditionRows inputs = RowInputs();
    int row = 0;
    const TConditionProblem problem = CheckConditionRows(inputs, row);
    if (problem != TConditionProblem::None) {
        const TRow& bad = Rows[size_t(row - 1)];
        QWidget* focus = bad.U;
        int text = kNotReadBackText;
        switch (problem) {
        case TConditionProblem::NoOperator:
            text = kNoOperatorText;
            focus = bad.First;
            break;
        case TConditionProblem::NoBound:
            text = kNoBoundText;
            focus = bad.Bound1;
            break;
        case TConditionProblem::BoundNotNumber: {
            text = kBoundNotNumberText;
            double value = 0;
            const bool firstBad = !TryStrToFloatNeutral(inputs[size_t(row - 1)].Bound1, value);
            focus = firstBad ? bad.Bound1 : bad.Bound2;
            break;
        }
        default:
            break;
        }
        MessageDlg(GetString(text, { row }), TMsgDlgType::mtError, mbRetry);
        focus->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(focus))
            edit->selectAll();
        return;
    }
    BuildConditionText(FConditionText);
    done(1);
}

void TfEditUncertaintyContition::done(int result)
{
    QDialog::done(result);
}

void TfEditUncertaintyContition::reject()
{
    done(2);
}

} // namespace orvek
