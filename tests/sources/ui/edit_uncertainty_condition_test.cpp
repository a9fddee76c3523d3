// The condition editor opened from the estimate page: rows read from the estimate's
// text, the text written back on OK, and rows that would not read back refused.

#include "core/string_table.h"
#include "engine/source_uncertainty.h"
#include "sources/source_owner.h"
#include "sources/ui/edit_uncertainty_condition.h"
#include "tests/sources/ui/source_dialog_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace orvek::test {
namespace {

class ConditionEditor : public SourceDialogFixture {
protected:
    void SetUp() override
    {
        SourceDialogFixture::SetUp();
        DialogScript::Instance().Reset();
        EditMode = 2;
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        SourceDialogFixture::TearDown();
    }

    TfOrvek6& OpenEstimate(const QString& text)
    {
        TVstupStandardnejNeistoty rec;
        ClearUncertaintyInput(rec);
        rec.TSN = 0;
        rec.KO.Text = text;
        TfOrvek6& d = OpenExisting(rec);
        // Without the owner's value OK of the editor does not recalculate.
        SourceQuantityValue.clear();
        return d;
    }

    // Opens the editor from the estimate page and lets Act work in it while it shows.
    void InEditor(TfOrvek6& d, std::function<void(TfEditUncertaintyContition&)> act)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* editor = d.findChild<TfEditUncertaintyContition*>();
            ASSERT_NE(editor, nullptr);
            ASSERT_TRUE(QTest::qWaitFor([editor] { return editor->isVisible(); }, 3000));
            act(*editor);
            ran = true;
            if (editor->isVisible())
                editor->ButtonCancel->click();
        });
        d.Page1.SpeedButton_EditConditions->click();
        EXPECT_TRUE(ran);
    }
};

TEST_F(ConditionEditor, ARuleRoundTripsThroughTheEditor)
{
    const QString rule = QStringLiteral("CONDITION(if x<[2] then u=[0,1] else if x>=[2] and x<[5] then u=[5])");
    TfOrvek6& d = OpenEstimate(rule);
    d.Edit_HodnotaNeistoty->setText(QStringLiteral("0,1"));
    InEditor(d, [&](TfEditUncertaintyContition& e) {
        EXPECT_EQ(e.Rows[0].First->currentText(), QStringLiteral("<"));
        EXPECT_TRUE(e.Rows[0].Second->isHidden());
        EXPECT_EQ(e.Rows[1].First->currentText(), QStringLiteral(">="));
        EXPECT_FALSE(e.Rows[1].Second->isHidden());
        EXPECT_EQ(e.Rows[1].Bound2->text(), QStringLiteral("5"));
        EXPECT_EQ(e.Rows[2].First->currentText(), QString());
        e.ButtonOK->click();
    });
    EXPECT_EQ(d.Page1.Edit_KvalifikovanyOdhad->text(), rule);
    EXPECT_EQ(d.FInput.KO.Text, rule);
    EXPECT_EQ(d.FInput.USType, kInputCondition);
    // Confirming without a change still makes the shown u stale.
    EXPECT_TRUE(d.Edit_HodnotaNeistoty->text().isEmpty());

    // A plain number opens on the reset rows; a row typed there becomes the rule.
    TfOrvek6& plain = OpenEstimate(QStringLiteral("0,5"));
    plain.FOKAllowed = false;
    InEditor(plain, [](TfEditUncertaintyContition& e) {
        EXPECT_EQ(e.Rows[0].First->currentText(), QStringLiteral("="));
        EXPECT_TRUE(e.Rows[0].U->text().isEmpty());
        e.Rows[0].Bound1->setText(QStringLiteral("1"));
        e.Rows[0].U->setText(QStringLiteral("0,2"));
        e.ButtonOK->click();
    });
    EXPECT_EQ(plain.FInput.KO.Text, QStringLiteral("CONDITION(if x=[1] then u=[0,2])"));
    EXPECT_TRUE(plain.FOKAllowed);
}

TEST_F(ConditionEditor, RowsThatWouldNotReadBackAreRefusedAndTheEstimateKept)
{
    const QString rule = QStringLiteral("CONDITION(if x<[2] then u=[0,1])");
    TfOrvek6& d = OpenEstimate(rule);
    InEditor(d, [](TfEditUncertaintyContition& e) {
        e.Rows[1].First->setCurrentIndex(2);
        e.Rows[1].Bound1->setText(QStringLiteral("3"));
        e.Rows[1].U->setText(QStringLiteral("a]b"));
        DialogScript::Instance().AnswerMessage(mrRetry);
        e.ButtonOK->click();
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(22554, { 2 }));

        e.Rows[1].U->setText(QStringLiteral("0,3"));
        e.Rows[1].First->setCurrentIndex(0);
        DialogScript::Instance().AnswerMessage(mrRetry);
        e.ButtonOK->click();
        EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(22551, { 2 }));
    });
    EXPECT_EQ(d.FInput.KO.Text, rule);
}

TEST_F(ConditionEditor, TheEditorButtonFollowsTheEstimateLock)
{
    EditMode = 1;
    TVstupStandardnejNeistoty rec;
    ClearUncertaintyInput(rec);
    rec.TSN = 0;
    rec.KO.Text = QStringLiteral("CONDITION(if x<[2] then u=[0,1])");
    rec.KO.Lock = 1;
    TfOrvek6& d = OpenExisting(rec);
    EXPECT_FALSE(d.Page1.SpeedButton_EditConditions->isEnabled());
    d.SpeedButton_EditConditionsClick(); // refused without a window
    EXPECT_EQ(d.FInput.KO.Text, rec.KO.Text);
}

} // namespace
} // namespace orvek::test
