// The quantity-cell dialog, opened through the cell tool as a user opens it, and on
// its own for the sum-formula grid.

#include "cell_dialog_fixture.h"

#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "tests/support/quantity_list_double.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace orvek::test {
namespace {

using Dialog = TfOrvek9;

QString Markup(TEditText98* box)
{
    QString text;
    box->GetMarkupText(text);
    return text;
}

void ClickOkWhenEnabled(Dialog& d)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
    d.Button_OK->click();
}

TEST_F(CellDialogTest, QuantityValueOnlyIsCheckedAndStoredAsTyped)
{
    DialogScript::Instance().AnswerMessage(mrRetry);
    WhenShown<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.ComboBox_TypHodnoty->currentIndex(), 1);
        EXPECT_FALSE(d.PageControl1->isVisible());
        d.Edit_HodnotaVeliciny->clear();
        QTest::keyClicks(d.Edit_HodnotaVeliciny, "abc");
        ClickOkWhenEnabled(d);
        // Refused: the dialog stays open with the text and the focus in the value edit.
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.Edit_HodnotaVeliciny->text(), "abc");
        d.Edit_HodnotaVeliciny->clear();
        QTest::keyClicks(d.Edit_HodnotaVeliciny, " 12,5 ");
        d.Button_OK->click();
    });
    provider.EditProperties(b);
    ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_EQ(DialogScript::Instance().Shown()[0], GetString(179, { "abc" }));
    EXPECT_EQ(b->FValue.Text, " 12,5 ");
    // The cell tool asked for a recalculation, which the window's timer runs.
    EXPECT_TRUE(root->FReloaded);
    EvaluateTree(*root);
    double y = 0;
    ASSERT_TRUE(TryStrToFloatNeutral(root->FValue.Text, y));
    EXPECT_DOUBLE_EQ(y, 25.0);
}

TEST_F(CellDialogTest, QuantityCommentOnlyKeepsTheUnroundedValue)
{
    a->FValue.Text = "2.123456789";
    const QString u = a->FCombinedUncertainty;
    ASSERT_FALSE(u.isEmpty());
    WhenShown<Dialog>([](Dialog& d) {
        // The edits show the value rounded to the digits of its uncertainty.
        EXPECT_NE(d.Edit_HodnotaVeliciny->text(), "2.123456789");
        QTest::keyClicks(d.Comment->RichEdit_PopisBunky, "calibrated");
        ClickOkWhenEnabled(d);
    });
    provider.EditProperties(a);
    EXPECT_EQ(a->FValue.Text, "2.123456789");
    EXPECT_EQ(a->FCombinedUncertainty, u);
    EXPECT_TRUE(a->FCellComment.Text.contains("calibrated"));
}

TEST_F(CellDialogTest, QuantityTypedZeroValueGivesAnInfiniteRelativeUncertainty)
{
    WhenShown<Dialog>([](Dialog& d) {
        d.Edit_HodnotaVeliciny->selectAll();
        QTest::keyClicks(d.Edit_HodnotaVeliciny, "0");
        ClickOkWhenEnabled(d);
    });
    provider.EditProperties(a);
    EXPECT_EQ(a->FValue.Text, "0");
    EXPECT_EQ(a->FRelativeUncertainty, "Nekonecno");
}

TEST_F(CellDialogTest, QuantityBecomesAMolarMassFromItsSumFormula)
{
    WhenShown<Dialog>([](Dialog& d) {
        d.ComboBox_TypHodnoty->setCurrentIndex(2);
        EXPECT_TRUE(d.Edit_HodnotaVeliciny->isReadOnly());
        EXPECT_EQ(Markup(d.FUnitBox), "g/mol");
        QTest::keyClicks(d.Edit_SumarnyVzorec, "H2O");
        d.Button_Vypocet->click();
        EXPECT_EQ(d.StringGrid_SumForm->rowCount(), 2);
        EXPECT_EQ(d.StringGrid_SumForm->item(0, 1)->text(), "H");
        EXPECT_EQ(d.StringGrid_SumForm->item(1, 1)->text(), "O");
        EXPECT_TRUE(d.Edit_HodnotaRelativnejStandardnejNeistoty->text().endsWith(" %"));
        ClickOkWhenEnabled(d);
    });
    provider.EditProperties(a);
    EXPECT_EQ(a->FValueType, 2);
    EXPECT_EQ(a->FSumFormula.Text, "H2O");
    EXPECT_EQ(a->FSumFormulaDetails.Text.count('@'), 2);
    EXPECT_EQ(a->ChildCount(), 0);
    EXPECT_EQ(a->FDegreesOfFreedom, "Nekonecno");
    double m = 0;
    ASSERT_TRUE(TryStrToFloatNeutral(a->FValue.Text, m));
    EXPECT_NEAR(m, 2 * 1.00794 + 15.9994, 1e-9);
}

TEST_F(CellDialogTest, QuantityValueTypeSwitchesBackAndForth)
{
    a->FQuantityName.Text = "length";
    a->FUnit.Text = "m";
    b->FQuantityName.Text = "width";
    b->FUnit.Text = "m";
    // Each switch away from the loaded type is a change, so closing asks.
    DialogScript::Instance().AnswerMessage(mrYes);
    DialogScript::Instance().AnswerMessage(mrYes);
    // Loaded type 0, to 2 and back: everything as loaded.
    WhenShown<Dialog>([](Dialog& d) {
        const QString value = d.Edit_HodnotaVeliciny->text();
        const QString u = d.Edit_HodnotaKombinovanejStandardnejNeistoty->text();
        const QString dof = d.Edit_PocetStupnovVolnosti->text();
        ASSERT_FALSE(u.isEmpty());
        d.ComboBox_TypHodnoty->setCurrentIndex(2);
        EXPECT_TRUE(d.Edit_HodnotaVeliciny->text().isEmpty());
        d.ComboBox_TypHodnoty->setCurrentIndex(0);
        EXPECT_EQ(d.Edit_HodnotaVeliciny->text(), value);
        EXPECT_FALSE(d.Edit_HodnotaVeliciny->isReadOnly());
        EXPECT_EQ(d.Edit_HodnotaKombinovanejStandardnejNeistoty->text(), u);
        EXPECT_EQ(d.Edit_PocetStupnovVolnosti->text(), dof);
        EXPECT_EQ(Markup(d.FQuantityNameBox), "length");
        EXPECT_EQ(Markup(d.FUnitBox), "m");
        d.reject();
    });
    provider.EditProperties(a);
    // Loaded type 1, to 2 and back: value and both boxes emptied.
    WhenShown<Dialog>([](Dialog& d) {
        d.ComboBox_TypHodnoty->setCurrentIndex(2);
        d.ComboBox_TypHodnoty->setCurrentIndex(1);
        EXPECT_TRUE(d.Edit_HodnotaVeliciny->text().isEmpty());
        EXPECT_TRUE(Markup(d.FQuantityNameBox).isEmpty());
        EXPECT_TRUE(Markup(d.FUnitBox).isEmpty());
        d.reject();
    });
    provider.EditProperties(b);
    EXPECT_EQ(b->FValue.Text, "3");
}

TEST_F(CellDialogTest, QuantityCancelAsksBeforeDroppingChanges)
{
    DialogScript::Instance().AnswerMessage(mrNo);
    DialogScript::Instance().AnswerMessage(mrYes);
    WhenShown<Dialog>([](Dialog& d) {
        d.Edit_NazovBunky->setText("Changed");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_Cancel->click();
        // No: the dialog stays open and keeps working.
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.Edit_NazovBunky->text(), "Changed");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    provider.EditProperties(b);
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList({ GetString(773), GetString(773) }));
    EXPECT_EQ(b->FCellName.Text, "Width");
}

TEST_F(CellDialogTest, QuantityEditLevelsAndThePickButton)
{
    struct Case {
        int level;
        quint8 valueLock, transferred, language;
        bool listInstalled;
        bool valueWritable, pickVisible, pickEnabled;
    };
    const Case cases[] = {
        { 2, 1, 0, 0, false, true, false, false }, // locks count only at level 1
        { 1, 1, 0, 1, false, false, true, false }, // no list yet: disabled
        { 2, 0, 1, 1, true, false, true, true },
        { 1, 0, 0, 2, true, true, false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level * 1000 + c.valueLock * 100 + c.transferred * 10 + c.language);
        EditMode = quint8(c.level);
        LanguageID = c.language;
        a->FValue.Lock = c.valueLock;
        a->FValueTransferred = c.transferred;
        std::unique_ptr<QuantityListDouble> list;
        if (c.listInstalled)
            list = std::make_unique<QuantityListDouble>();
        WhenShown<Dialog>([&](Dialog& d) {
            EXPECT_EQ(!d.Edit_HodnotaVeliciny->isReadOnly(), c.valueWritable);
            EXPECT_EQ(d.SpeedButton_EditVelicinaJednotka->isVisible(), c.pickVisible);
            EXPECT_EQ(d.SpeedButton_EditVelicinaJednotka->isEnabled(), c.pickEnabled);
            d.reject();
        });
        provider.EditProperties(a);
    }
    LanguageID = 0;
}

TEST_F(CellDialogTest, QuantityPickFromTheListTakesNameAndUnit)
{
    LanguageID = 1;
    QuantityListDouble list;
    list.AnswerPick("[cf2]m[cf1]ass", "kg");
    WhenShown<Dialog>([](Dialog& d) {
        d.Edit_NazovBunky->clear();
        d.SpeedButton_EditVelicinaJednotka->click();
        EXPECT_EQ(d.Edit_NazovBunky->text(), "mass");
        ClickOkWhenEnabled(d);
    });
    provider.EditProperties(b);
    LanguageID = 0;
    EXPECT_EQ(list.openings, 1);
    EXPECT_EQ(b->FQuantityName.Text, "[cf2]m[cf1]ass");
    EXPECT_EQ(b->FUnit.Text, "kg");
    EXPECT_EQ(b->FCellName.Text, "mass");
}

TEST_F(CellDialogTest, SumFormulaGridRefusesAnAtomicWeightOfZero)
{
    TQuantityDialogData data;
    data.FEditingAllowed = true;
    data.FValueType = 2;
    data.FSumFormula = "H2O";
    Dialog loader;
    loader.Load(data);
    loader.Edit_SumarnyVzorec->setText("H2O");
    ASSERT_EQ(loader.ComputeMolarMass(), 0);
    data.FSumFormulaDetails = loader.BuildSumFormulaDetails();
    ASSERT_EQ(data.FSumFormulaDetails.count('@'), 2);

    Dialog dialog;
    dialog.Load(data);
    // The details text gives the rows back as they were written.
    EXPECT_EQ(dialog.BuildSumFormulaDetails(), data.FSumFormulaDetails);
    DialogScript::Instance().AnswerMessage(mrRetry);
    WhenShown<Dialog>([](Dialog& d) {
        d.StringGrid_SumForm->item(1, 3)->setText("0");
        ClickOkWhenEnabled(d);
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.StringGrid_SumForm->currentRow(), 1);
        EXPECT_EQ(d.StringGrid_SumForm->currentColumn(), 3);
        EXPECT_TRUE(d.StringGrid_SumForm->item(1, 4)->text().isEmpty());
        DialogScript::Instance().AnswerMessage(mrYes);
        d.Button_Cancel->click();
    });
    EXPECT_EQ(dialog.ShowModal(), 2);
    EXPECT_EQ(DialogScript::Instance().Shown().first(), GetString(179, { "0" }));
}

} // namespace
} // namespace orvek::test
