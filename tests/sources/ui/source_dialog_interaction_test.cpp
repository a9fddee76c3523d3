// The source dialog's lists, options and checks driven as a user drives them: choosing
// the method and distribution, the degrees-of-freedom options, what a relative series
// hands on, and the messages of the checks with their focus.

#include "core/number_text.h"
#include "core/string_table.h"
#include "sources/ui/reading_grid.h"
#include "tests/sources/ui/source_dialog_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <cmath>

namespace orvek::test {
namespace {

TVstupStandardnejNeistoty Method(int method)
{
    TVstupStandardnejNeistoty rec;
    ClearUncertaintyInput(rec);
    rec.TSN = quint8(method);
    return rec;
}

class SourceDialogInteraction : public SourceDialogFixture {
protected:
    void SetUp() override
    {
        SourceDialogFixture::SetUp();
        DialogScript::Instance().Reset();
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        QuelvarMode = false;
        SourceDialogFixture::TearDown();
    }
    static QStringList Shown() { return DialogScript::Instance().Shown(); }
    static void Readings(QTableWidget* grid, const QStringList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            SetGridCell(*grid, 1, i + 1, values[i]);
    }
};

TEST_F(SourceDialogInteraction, MethodListShowsThePageOfTheMethodAndRefusesSeriesUnderAnEquation)
{
    // Under an equation cell own measurements I and II are refused; the list reverts.
    TfOrvek6& d = OpenExisting(Method(0), root.get());
    d.show();
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.ComboBox_VstupStandardnejNeistoty->setCurrentIndex(1);
    EXPECT_EQ(Shown(), QStringList { GetString(945) });
    EXPECT_EQ(d.ComboBox_VstupStandardnejNeistoty->currentIndex(), 8);
    EXPECT_EQ(d.FInput.TSN, 0);
    EXPECT_EQ(d.PageControl1->currentWidget(), d.Page1.TabSheet_1);
    QuelvarMode = true;
    d.ComboBox_VstupStandardnejNeistoty->setCurrentIndex(2);
    EXPECT_EQ(d.FInput.TSN, 7);

    // Under a quantity: the page follows the list; the limits start on the rectangular one.
    struct Step {
        int item, method;
        QWidget* page;
    };
    TfOrvek6& e = OpenExisting(Method(0));
    e.show();
    const Step steps[] = {
        { 1, 6, e.Page3.TabSheet_3 },
        { 0, 1, e.Page2.TabSheet_2 },
        { 4, 9, e.Page6.TabSheet_6 },
        { 7, 13, e.Page9.TabSheet_9 },
        { 9, 14, e.Page10.TabSheet_10 },
        { 3, 8, e.Page5.TabSheet_5 },
        { 8, 0, e.Page1.TabSheet_1 },
    };
    for (const Step& s : steps) {
        e.ComboBox_VstupStandardnejNeistoty->setCurrentIndex(s.item);
        EXPECT_EQ(e.FInput.TSN, s.method) << s.item;
        EXPECT_EQ(e.PageControl1->currentWidget(), s.page) << s.item;
    }
    EXPECT_EQ(e.Page2.ComboBox_Rozdelenie->currentIndex(), 0);
    EXPECT_TRUE(e.Button_Recalculate->isEnabled());
    EXPECT_TRUE(Shown().size() == 1);

    // The distribution list chooses the limit method; the infinite ones show their panel.
    e.ComboBox_VstupStandardnejNeistoty->setCurrentIndex(0);
    e.Page2.ComboBox_Rozdelenie->setCurrentIndex(5);
    EXPECT_EQ(e.FInput.TSN, 10);
    EXPECT_EQ(e.Page2.PageControl2->currentWidget(), e.Page2.TabSheet_2_6);
    EXPECT_TRUE(e.Page2.Panel_Nekonecno_2_6->isVisibleTo(&e));
    EXPECT_EQ(e.FInput.PSV_2_6.Text, "Nekonecno");
    e.Page2.ComboBox_Rozdelenie->setCurrentIndex(2);
    EXPECT_EQ(e.FInput.TSN, 3);
}

TEST_F(SourceDialogInteraction, FixedFiftyDegreesOfFreedomToggleAndTypedOnesBelowOneAreRefused)
{
    TVstupStandardnejNeistoty rec = Method(3);
    rec.SO_2_3.Text = "0.2";
    rec.ZPSV_2_3 = 2;
    TfOrvek6& d = OpenExisting(rec);
    d.show();
    QLineEdit* dof = d.Page2.Edit_PocetStupnovVolnosti_2_3;
    EXPECT_EQ(dof->text(), "50");
    d.Page2.ComboBox_Moznosti_2_3->setCurrentIndex(0);
    EXPECT_FALSE(dof->isReadOnly());
    EXPECT_EQ(dof->text(), "50");
    EXPECT_EQ(d.FInput.ZPSV_2_3, 0);

    for (const char* refused : { "0", "-3" }) {
        dof->setText(refused);
        DialogScript::Instance().AnswerMessage(mrRetry);
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
        EXPECT_TRUE(d.isVisible()) << refused;
        EXPECT_EQ(Shown().value(Shown().size() - 1), GetString(319)) << refused;
    }
    dof->setText("2.5");
    d.Button_OK->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.FInput.PSV_2_3.Text, "2.5");

    // Back on the fixed option the edit shows 50 again.
    TfOrvek6& e = OpenExisting(rec);
    e.Page2.ComboBox_Moznosti_2_3->setCurrentIndex(0);
    e.Page2.Edit_PocetStupnovVolnosti_2_3->setText("7");
    e.Page2.ComboBox_Moznosti_2_3->setCurrentIndex(1);
    EXPECT_EQ(e.Page2.Edit_PocetStupnovVolnosti_2_3->text(), "50");
    EXPECT_TRUE(e.Page2.Edit_PocetStupnovVolnosti_2_3->isReadOnly());
    EXPECT_EQ(e.FInput.PSV_2_3.Text, "50");
}

TEST_F(SourceDialogInteraction, RelativeSeriesUnderAGroupFallsBackToTheStandardDeviation)
{
    TVstupStandardnejNeistoty rec = Method(9);
    rec.PM_6 = 2;
    rec.VM_6.Text = "99@101@";
    TCell* group = quantity->AddChild(CellInfo(kUncertaintyCell, "group"));
    TfOrvek6& d = OpenExisting(rec, group);
    d.show();
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.Page6.RadioButton_Export_RelSD_6->click();
    EXPECT_EQ(Shown(), QStringList { GetString(772, { d.Page1.Label12->text() }) });
    EXPECT_TRUE(d.Page6.RadioButton_Export_SD_6->isChecked());
    EXPECT_EQ(d.FInput.OV_6, 0);
    EXPECT_EQ(d.FInput.HSN, d.FInput.SO_6);
    EXPECT_FALSE(d.FInput.HSN.isEmpty());

    // Under the quantity of value 50 the relative s applies to the value.
    TfOrvek6& e = OpenExisting(rec);
    e.Page6.RadioButton_Export_RelSD_6->click();
    EXPECT_EQ(e.FInput.OV_6, 1);
    double u = 0;
    ASSERT_TRUE(TryStrToFloatNeutral(e.FInput.HSN, u));
    EXPECT_NEAR(u, 50 * std::sqrt(2.0) / 100, 1e-12);
    EXPECT_TRUE(e.FOKAllowed);
}

TEST_F(SourceDialogInteraction, RecalculateReportsEveryBadReadingInTurnAndFocusesTheLast)
{
    TfOrvek6& d = OpenExisting(Method(6));
    d.show();
    QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
    Readings(grid, { "1", "x", "2", "y" });
    DialogScript::Instance().AnswerMessage(mrRetry);
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.Button_Recalculate->click();
    EXPECT_EQ(Shown(), (QStringList { GetString(179, { "x" }), GetString(179, { "y" }) }));
    EXPECT_EQ(grid->currentRow(), 4);
    EXPECT_EQ(grid->currentColumn(), 1);
    EXPECT_EQ(d.focusWidget(), grid);
    EXPECT_TRUE(d.FInput.HSN.isEmpty());
    // Nothing typed is lost.
    EXPECT_EQ(GridColumn(*grid, 1, 4), (QStringList { "1", "x", "2", "y" }));

    // Fixed, the page computes its statistics.
    SetGridCell(*grid, 1, 2, "3");
    SetGridCell(*grid, 1, 4, "");
    d.Button_Recalculate->click();
    EXPECT_EQ(Shown().size(), 2);
    EXPECT_EQ(d.Page3.Edit_PocetstupnovVolnosti_3->text(), "2");
    EXPECT_FALSE(d.Edit_HodnotaNeistoty->text().isEmpty());
    EXPECT_FALSE(d.Button_Recalculate->isEnabled());
}

TEST_F(SourceDialogInteraction, RequiredInputsNameTheirLabelAndTakeTheFocus)
{
    TVstupStandardnejNeistoty rec = Method(10);
    rec.TFa_2_6.Text = "1.2";
    TfOrvek6& d = OpenExisting(rec);
    d.show();
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.Button_RecalculateClick();
    EXPECT_EQ(Shown(), QStringList { GetString(267, { d.Page2.Label23->text() }) });
    EXPECT_EQ(d.focusWidget(), d.Page2.Edit_PolosirkaDistribucie);
    d.Page2.Edit_PolosirkaDistribucie->setText("2");
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.Button_Recalculate->click();
    EXPECT_EQ(Shown().value(1), GetString(946, { d.Page2.Label22->text() }));
    EXPECT_EQ(d.focusWidget(), d.Page2.Edit_TvarovyFaktor);
}

} // namespace
} // namespace orvek::test
