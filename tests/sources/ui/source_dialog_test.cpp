// The source dialog driven as the cell tool and a user drive it: loading, OK enabling,
// the edit levels, OK and its refusals, and the records OK hands back.

#include "core/clock.h"
#include "core/number_format.h"
#include "core/string_table.h"
#include "database/chart_factors.h"
#include "engine/source_uncertainty.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "sources/chart_data.h"
#include "sources/source_owner.h"
#include "sources/ui/data_grid.h"
#include "sources/ui/reading_grid.h"
#include "tests/sources/ui/source_dialog_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace orvek::test {
namespace {

TVstupStandardnejNeistoty Method(int method)
{
    TVstupStandardnejNeistoty rec;
    ClearUncertaintyInput(rec);
    rec.TSN = quint8(method);
    return rec;
}

class SourceDialog : public SourceDialogFixture {
protected:
    bool OkEnabledSoon(TfOrvek6& d)
    {
        return QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000);
    }
    // OK as the user presses it: the button must be enabled.
    void PressOk(TfOrvek6& d)
    {
        d.show();
        ASSERT_TRUE(OkEnabledSoon(d));
        d.Button_OK->click();
    }
};

TEST_F(SourceDialog, OpensANewSourceWithOkEnabledAndAnExistingOneWithout)
{
    TfOrvek6& fresh = OpenNew();
    EXPECT_EQ(fresh.windowTitle(), GetString(164));
    EXPECT_EQ(fresh.PageControl1->currentWidget(), fresh.Page2.TabSheet_2);
    EXPECT_EQ(fresh.Page2.PageControl2->currentWidget(), fresh.Page2.TabSheet_2_1);
    EXPECT_EQ(fresh.Edit_NazovBunky->text(), "Source x");
    // OK at once closes with an empty u: nothing was computed.
    PressOk(fresh);
    EXPECT_EQ(fresh.result(), 1);
    EXPECT_TRUE(fresh.FInput.HSN.isEmpty());
    EXPECT_FALSE(fresh.FComputed);

    TVstupStandardnejNeistoty rec = Method(1);
    rec.IS_2_1.Text = "1";
    TfOrvek6& d = OpenExisting(rec);
    d.show();
    EXPECT_EQ(d.windowTitle(), GetString(165));
    QTest::qWait(250);
    EXPECT_FALSE(d.Button_OK->isEnabled());
    EXPECT_FALSE(d.Button_Recalculate->isEnabled());
    // Typing enables Recalculate, and through the timer OK.
    d.Page2.Edit_IntervalSpolahlivosti_2_1->end(false);
    QTest::keyClicks(d.Page2.Edit_IntervalSpolahlivosti_2_1, "5");
    EXPECT_TRUE(d.Button_Recalculate->isEnabled());
    EXPECT_EQ(d.FInput.IS_2_1.Text, "15");
    EXPECT_TRUE(OkEnabledSoon(d));
}

TEST_F(SourceDialog, OtherChangesEnableOkWithoutRecalculate)
{
    TVstupStandardnejNeistoty rec = Method(1);
    rec.IS_2_1.Text = "1";
    const std::function<void(TfOrvek6&)> changes[] = {
        [](TfOrvek6& d) { QTest::keyClicks(d.Edit_NazovBunky, "a"); },
        [](TfOrvek6& d) { d.CheckBox_Aktivita->click(); },
        [](TfOrvek6& d) { d.Label_PlatnostDo->click(); },
        [](TfOrvek6& d) { QTest::keyClicks(d.RichEdit_PopisBunky, "note"); },
    };
    for (const auto& change : changes) {
        TfOrvek6& d = OpenExisting(rec);
        d.show();
        change(d);
        EXPECT_TRUE(OkEnabledSoon(d));
        EXPECT_FALSE(d.Button_Recalculate->isEnabled());
    }
}

TEST_F(SourceDialog, ViewLevelMakesEveryInputReadOnlyAndOkTakesNothing)
{
    EditMode = 0;
    TVstupStandardnejNeistoty rec = Method(9);
    rec.PM_6 = 2;
    rec.VM_6.Text = "1@2@";
    TfOrvek6& d = OpenExisting(rec);
    EXPECT_FALSE(d.FEditable);
    EXPECT_TRUE(d.Edit_NazovBunky->isReadOnly());
    EXPECT_TRUE(d.RichEdit_PopisBunky->isReadOnly());
    EXPECT_TRUE(d.Page6.Edit_PocetstupnovVolnosti_6->isReadOnly());
    EXPECT_TRUE(d.Page1.Edit_KvalifikovanyOdhad->isReadOnly());
    EXPECT_FALSE(GridEditing(*d.Page6.StringGrid_VlastneMeranie_6));
    for (QWidget* w : std::initializer_list<QWidget*> { d.ComboBox_VstupStandardnejNeistoty, d.CheckBox_Aktivita,
             d.Label_PlatnostDo, d.SpeedButton_Editor, d.Page2.ComboBox_Moznosti_2_3 })
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(d.Page3.SpeedButton_Paste_VlastneMeranie_3->isVisibleTo(&d));
    d.show();
    QTest::qWait(250);
    EXPECT_FALSE(d.Button_OK->isEnabled());
    // OK from code closes at once without checking, computing or writing anything.
    d.Button_OKClick();
    EXPECT_EQ(d.result(), 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
    EXPECT_EQ(d.FInput.VM_6.Text, "1@2@");
    EXPECT_FALSE(d.FComputed);
}

// For every method the evaluation recomputes, the record OK hands back gives the same
// u, degrees of freedom and results when the evaluation computes it again: no input of
// a page is left out of the record.
TEST_F(SourceDialog, RecordsHandedBackAreThoseTheEvaluationComputes)
{
    auto readings = [](QTableWidget* grid, QStringList values, int col = 1) {
        for (int i = 0; i < values.size(); ++i)
            SetGridCell(*grid, col, i + 1, values[i]);
    };
    struct Case {
        const char* what;
        std::function<void(TVstupStandardnejNeistoty&)> stored;
        std::function<void(TfOrvek6&)> typed;
    };
    const Case cases[] = {
        { "estimate", [](auto&) {},
            [](TfOrvek6& d) {
                d.Page1.Edit_KvalifikovanyOdhad->setText("0,5");
                d.Page1.Edit_PocetStupnovVolnosti_1->setText("12");
            } },
        { "estimate as a percentage", [](auto&) {},
            [](TfOrvek6& d) { d.Page1.Edit_KvalifikovanyOdhad->setText("2 %"); } },
        { "estimate as a condition", [](auto&) {},
            [](TfOrvek6& d) {
                d.Page1.Edit_KvalifikovanyOdhad->setText(
                    "CONDITION(if x<[10] then u=[0.1] else if x>=[10] then u=[VAR*0.01])");
            } },
        { "rectangular", [](auto&) {}, [](TfOrvek6& d) { d.Page2.Edit_IntervalSpolahlivosti_2_1->setText("0.3"); } },
        { "triangular", [](auto&) {}, [](TfOrvek6& d) { d.Page2.Edit_IntervalSpolahlivosti_2_2->setText("VAR/100"); } },
        { "t distribution with given degrees of freedom",
            [](auto& r) {
                r.ZPSV_2_3 = 0;
                r.PSV_2_3.Text = "8";
            },
            [](TfOrvek6& d) { d.Page2.Edit_StandardnaNeistota_2_3->setText("0.05"); } },
        { "normal at 90 %", [](auto& r) { r.HS = 1; },
            [](TfOrvek6& d) { d.Page2.Edit_RozsirenaNeistota_2_4->setText("=VAR*0.002"); } },
        { "U-shaped", [](auto&) {}, [](TfOrvek6& d) { d.Page2.Edit_IntervalSpolahlivosti_2_5->setText("1,2"); } },
        { "given s", [](auto&) {},
            [](TfOrvek6& d) {
                d.Page5.Edit_StandardnaOdchylka_5->setText("0.4");
                d.Page5.Edit_PocetStupnovVolnosti_5->setText("9");
            } },
        { "trapezoid", [](auto&) {},
            [](TfOrvek6& d) {
                d.Page2.Edit_TvarovyFaktor->setText("0.5");
                d.Page2.Edit_PolosirkaDistribucie->setText("2");
            } },
        { "readings, s handed on", [](auto&) {},
            [&](TfOrvek6& d) {
                readings(d.Page6.StringGrid_VlastneMeranie_6, { "1.01", "1.03", "", "0.99" });
            } },
        { "readings, relative s handed on", [](auto& r) { r.OV_6 = 1; },
            [&](TfOrvek6& d) {
                readings(d.Page6.StringGrid_VlastneMeranie_6, { "99.8", "100.1", "100.3" });
                d.Page6.Edit_PocetstupnovVolnosti_6->setText("5");
            } },
        { "variances", [](auto&) {},
            [&](TfOrvek6& d) {
                readings(d.Page9.StringGrid_VlastneMeranie_9, { "4", "4.4", "3.9" });
            } },
        { "weighted mean", [](auto&) {},
            [&](TfOrvek6& d) {
                readings(d.Page10.StringGrid_VlastneMeranie_10, { "10", "12", "11" });
                readings(d.Page10.StringGrid_VlastneMeranie_10, { "1", "1", "0.5" }, 2);
            } },
    };
    const int methods[] = { 0, 0, 0, 1, 2, 3, 4, 5, 8, 10, 9, 9, 13, 14 };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TVstupStandardnejNeistoty rec = Method(methods[i++]);
        c.stored(rec);
        TfOrvek6& d = OpenExisting(rec);
        c.typed(d);
        PressOk(d);
        ASSERT_EQ(d.result(), 1);
        const TVstupStandardnejNeistoty& handed = d.FInput;
        ASSERT_FALSE(handed.HSN.isEmpty());
        TVstupStandardnejNeistoty again = handed;
        ASSERT_TRUE(EvaluateSourceRecord(again, quantity->FValue.Text));
        EXPECT_EQ(again.HSN, handed.HSN);
        EXPECT_EQ(again.USType, handed.USType);
        EXPECT_EQ(GetDegreesOfFreedomText(again), GetDegreesOfFreedomText(handed));
        EXPECT_FALSE(GetDegreesOfFreedomText(handed).isEmpty());
        for (auto field : { &TVstupStandardnejNeistoty::AP_6, &TVstupStandardnejNeistoty::SO_6,
                 &TVstupStandardnejNeistoty::RSO_6, &TVstupStandardnejNeistoty::AP_9, &TVstupStandardnejNeistoty::SO_9,
                 &TVstupStandardnejNeistoty::RSO_9, &TVstupStandardnejNeistoty::AP_10,
                 &TVstupStandardnejNeistoty::SO_10, &TVstupStandardnejNeistoty::PSV_10 })
            EXPECT_EQ(again.*field, handed.*field);
    }
}

TEST_F(SourceDialog, ReadingMethodsHandTheirMeanToTheQuantity)
{
    TfOrvek6& d = OpenExisting(Method(14));
    SetGridCell(*d.Page10.StringGrid_VlastneMeranie_10, 1, 1, "10");
    SetGridCell(*d.Page10.StringGrid_VlastneMeranie_10, 2, 1, "1");
    SetGridCell(*d.Page10.StringGrid_VlastneMeranie_10, 1, 2, "12");
    SetGridCell(*d.Page10.StringGrid_VlastneMeranie_10, 2, 2, "1");
    PressOk(d);
    EXPECT_TRUE(d.FHandsMean);
    EXPECT_EQ(d.FMeanText, d.Page10.Edit_AritmetickyPriemer_10->text());
    EXPECT_EQ(d.FMeanText, "11.0");
    EXPECT_TRUE(d.FComputed);

    // A series whose s is handed on keeps the quantity's value.
    TfOrvek6& e = OpenExisting(Method(9));
    SetGridCell(*e.Page6.StringGrid_VlastneMeranie_6, 1, 1, "10");
    SetGridCell(*e.Page6.StringGrid_VlastneMeranie_6, 1, 2, "12");
    PressOk(e);
    EXPECT_FALSE(e.FHandsMean);
}

TEST_F(SourceDialog, ASecondSeriesSourceOfAQuantityIsRefusedWhileTheDialogStaysOpen)
{
    TCell* series = quantity->AddChild(CellInfo(kUncertaintyCell, "readings"));
    series->FUncertaintyInput = Method(6);
    // A new source of method 13, or one in a group under the same quantity.
    TCell* group = quantity->AddChild(CellInfo(kUncertaintyCell, "group"));
    group->AddChild(CellInfo(kUncertaintyCell, "limits"))->FUncertaintyInput = Method(1);
    for (TCell* owner : { quantity, group }) {
        TfOrvek6& d = Open(Method(13), true, owner, nullptr);
        SetGridCell(*d.Page9.StringGrid_VlastneMeranie_9, 1, 1, "4");
        DialogScript::Instance().AnswerMessage(mrCancel);
        PressOk(d);
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(1066, { GetEvaluationMethodName(13) }));
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(GridCell(*d.Page9.StringGrid_VlastneMeranie_9, 1, 1), "4");
        DialogScript::Instance().Reset();
    }
    // The weighted mean is no series method; and the series source may be edited.
    TfOrvek6& pairs = Open(Method(14), true, quantity, nullptr);
    SetGridCell(*pairs.Page10.StringGrid_VlastneMeranie_10, 1, 1, "1");
    SetGridCell(*pairs.Page10.StringGrid_VlastneMeranie_10, 2, 1, "0.1");
    SetGridCell(*pairs.Page10.StringGrid_VlastneMeranie_10, 1, 2, "2");
    SetGridCell(*pairs.Page10.StringGrid_VlastneMeranie_10, 2, 2, "0.1");
    PressOk(pairs);
    EXPECT_EQ(pairs.result(), 1);
    Open(series->FUncertaintyInput, false, quantity, series);
    SetGridCell(*dialog->Page3.StringGrid_VlastneMeranie_3, 1, 1, "1");
    SetGridCell(*dialog->Page3.StringGrid_VlastneMeranie_3, 1, 2, "2");
    PressOk(*dialog);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
}

TEST_F(SourceDialog, RefusalsKeepTheDialogOpen)
{
    struct Case {
        const char* what;
        int method;
        bool groupOwner;
        QString input;
        QString message;
    };
    const Case cases[] = {
        { "a RANGE text", 1, false, "RANGE(1;2)", GetString(179, { "RANGE(1;2)" }) },
        { "an unparsable formula", 0, false, "=2*(", GetString(179, { "=2*(" }) },
        { "a condition on a limit page", 2, false, "CONDITION(if x<[10] then u=[0.1])",
            GetString(179, { "CONDITION(if x<[10] then u=[0.1])" }) },
        { "another quantity's symbol", 1, false, "2*q", GetString(941, { "2*q", "\r\r" }) },
        { "a percentage under a group", 1, true, "2 %", GetString(772, { GetString(270) }) },
    };
    TCell* group = quantity->AddChild(CellInfo(kUncertaintyCell, "group"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogScript::Instance().Reset();
        TfOrvek6& d = OpenExisting(Method(c.method), c.groupOwner ? group : nullptr);
        QLineEdit* input = c.method == 0 ? d.Page1.Edit_KvalifikovanyOdhad
            : c.method == 1              ? d.Page2.Edit_IntervalSpolahlivosti_2_1
                                         : d.Page2.Edit_IntervalSpolahlivosti_2_2;
        input->setText(c.input);
        DialogScript::Instance().AnswerMessage(mrRetry);
        PressOk(d);
        ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
        EXPECT_EQ(DialogScript::Instance().Shown()[0], c.message);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(input->text(), c.input);
    }
}

TEST_F(SourceDialog, ZeroUncertaintyIsKeptOnlyWhenConfirmed)
{
    TfOrvek6& d = OpenExisting(Method(1));
    d.Page2.Edit_IntervalSpolahlivosti_2_1->setText("0");
    DialogScript::Instance().AnswerMessage(mrNo);
    PressOk(d);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(327));
    DialogScript::Instance().AnswerMessage(mrYes);
    d.Button_OK->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(d.FInput.HSN, "0");
}

TEST_F(SourceDialog, ClosingWithoutOkAsksOnlyAfterAChange)
{
    TfOrvek6& quiet = OpenExisting(Method(1));
    quiet.show();
    QTest::keyClick(&quiet, Qt::Key_Escape);
    EXPECT_FALSE(quiet.isVisible());
    EXPECT_EQ(quiet.result(), 2);

    TfOrvek6& d = OpenExisting(Method(1));
    d.show();
    QTest::keyClicks(d.Page2.Edit_IntervalSpolahlivosti_2_1, "1");
    ASSERT_TRUE(OkEnabledSoon(d));
    DialogScript::Instance().AnswerMessage(mrNo);
    QTest::keyClick(d.Page2.Edit_IntervalSpolahlivosti_2_1, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(773));
    DialogScript::Instance().AnswerMessage(mrYes);
    d.Button_Cancel->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), 2);
}

TEST_F(SourceDialog, OkWritesTheValidityDateAndTheComment)
{
    SetClock([] { return QDateTime(QDate(2024, 5, 17), QTime(9, 0)); });
    TVstupStandardnejNeistoty rec = Method(1);
    rec.IS_2_1.Text = "1";
    TfOrvek6& d = OpenExisting(rec);
    d.show();
    d.Label_PlatnostDo->click();
    EXPECT_TRUE(d.Edit_ExpirationDate->isVisibleTo(&d));
    EXPECT_EQ(d.Edit_ExpirationDate->date(), QDate(2024, 5, 17));
    QTest::keyClicks(d.RichEdit_PopisBunky, "checked daily");
    PressOk(d);
    SetClock({});
    EXPECT_EQ(d.FInput.EDate, "D17M 5Y2024");
    EXPECT_TRUE(d.FCommentChanged);
    EXPECT_TRUE(d.FComment.startsWith("{\\rtf1"));
    EXPECT_TRUE(d.FComment.contains("checked daily"));
    // Nothing was computed: the record keeps its inputs and empty u.
    EXPECT_FALSE(d.FComputed);
}

TEST_F(SourceDialog, LoadShowsTheStoredRecord)
{
    // A stored date that is no date opens as unlimited.
    TVstupStandardnejNeistoty rec = Method(1);
    rec.ZPSV_2_1 = 0;
    rec.EDate = "D31M 2Y2009";
    TfOrvek6& d = OpenExisting(rec);
    EXPECT_TRUE(d.FInput.EDate.isEmpty());
    EXPECT_FALSE(d.Label_PlatnostDo->isChecked());
    EXPECT_TRUE(d.Page2.Panel_Nekonecno_2_1->isVisibleTo(&d));
    EXPECT_EQ(d.FInput.PSV_2_1.Text, "Nekonecno");

    // A t distribution on its fixed option shows "50".
    rec = Method(3);
    rec.ZPSV_2_3 = 1;
    TfOrvek6& t = OpenExisting(rec);
    EXPECT_EQ(t.Page2.Edit_PocetStupnovVolnosti_2_3->text(), "50");
    EXPECT_EQ(t.Page2.ComboBox_Moznosti_2_3->currentIndex(), 1);

    // An estimate shows its text, distribution and degrees of freedom.
    rec = Method(0);
    rec.KO.Text = "0,02";
    rec.TR_1 = 2;
    rec.PSV_1.Text = "Nekonecno";
    TfOrvek6& e = OpenExisting(rec);
    EXPECT_EQ(e.PageControl1->currentWidget(), e.Page1.TabSheet_1);
    EXPECT_EQ(e.ComboBox_VstupStandardnejNeistoty->currentIndex(), 8);
    EXPECT_EQ(e.Page1.ComboBox_Rozdelenie_1->currentIndex(), 1);
    EXPECT_EQ(e.Page1.Edit_PocetStupnovVolnosti_1->text(), "100000");

    // A percentage whose quantity has no value opens without u.
    quantity->FValue.Text.clear();
    rec = Method(1);
    rec.IS_2_1.Text = "1 %";
    rec.USType = kInputPercent;
    rec.HSN = "0.3";
    TfOrvek6& p = OpenExisting(rec);
    EXPECT_TRUE(p.Edit_HodnotaNeistoty->text().isEmpty());
    EXPECT_TRUE(p.FInput.HSN.isEmpty());
}

TEST_F(SourceDialog, ListsBeyondTheGridsAreCutWithAMessage)
{
    TVstupStandardnejNeistoty rec = Method(6);
    rec.PM_3 = 503;
    for (int i = 1; i <= 503; ++i)
        rec.VM_3.Text += QString::number(i) + "@";
    DialogScript::Instance().AnswerMessage(mrOk);
    TfOrvek6& d = OpenExisting(rec);
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(22201, { 500, 3 }));
    EXPECT_EQ(GridCell(*d.Page3.StringGrid_VlastneMeranie_3, 1, 500), "500");
    EXPECT_EQ(d.FInput.PM_3, 500);

    // A chart of more than 1,000 points is refused once; its lists stay in the record.
    rec = Method(11);
    rec.PM_7 = 1001;
    for (int i = 1; i <= 1001; ++i)
        rec.VM_7.Text += "1@";
    DialogScript::Instance().Reset();
    DialogScript::Instance().AnswerMessage(mrOk);
    TfOrvek6& chart = OpenExisting(rec);
    EXPECT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_EQ(chart.FInput.PM_7, 1001);
    EXPECT_EQ(chart.FInput.VM_7.Text, rec.VM_7.Text);
    EXPECT_TRUE(chart.Page7.Table_7->TextRC(1, 3).isEmpty());
}

TEST_F(SourceDialog, ChartPointsLoadIntoTheTable)
{
    TVstupStandardnejNeistoty rec = Method(12);
    rec.PM_8 = 3;
    rec.PBM_8 = "3@3@3@";
    rec.VM_8.Text = "1.5@1.25@2@2.125@2.5@2.25@1.75@2@1.5@";
    rec.DM_8 = "@3.4.2024@@";
    rec.Meral_8 = "eva@jan@@";
    TfOrvek6& d = OpenExisting(rec);
    TF1Book& t = *d.Page8.Table_8;
    EXPECT_EQ(t.MaxCol(), 22);
    EXPECT_EQ(t.TextRC(2, 4), "2.5");
    EXPECT_EQ(t.TextRC(1, 1), "");
    EXPECT_EQ(t.TextRC(2, 1), "3.4.2024");
    EXPECT_EQ(t.TextRC(2, 2), "jan");
    // Every value shows with the most decimals typed.
    EXPECT_EQ(ChartData.ChartNumberMask, "0.000");
    EXPECT_EQ(t.FormattedTextRC(1, 3), "1.500");
    EXPECT_EQ(d.Page8.PageControl_8->currentWidget(), d.Page8.TabSheet_8_1);
    // The chart computes from the stored points.
    ChartFactors[3] = { 1.023, 1.023, 1.954, 0, 4.358, 0, 2.574, 1.693, 0.8862 };
    d.Button_RecalculateClick();
    EXPECT_FALSE(d.FInput.HSN.isEmpty()) << d.Page8.RichEdit_RD_Statistika_8->toPlainText().toStdString();
    EXPECT_EQ(d.Edit_HodnotaNeistoty->text(), FormatSignificantText(SignificantDigits, d.FInput.HSN));
}

TEST_F(SourceDialog, TheCallerDecidesWhetherTheActiveFlagMayChange)
{
    // The last active source of a quantity: the cell tool disables the box before the load.
    dialog = std::make_unique<TfOrvek6>();
    dialog->RefreshTexts();
    dialog->ClearInputs();
    dialog->FOwnerCell = quantity;
    dialog->FInput = Method(1);
    dialog->CheckBox_Aktivita->setChecked(true);
    dialog->CheckBox_Aktivita->setEnabled(false);
    dialog->LoadUncertaintyInput();
    EXPECT_FALSE(dialog->CheckBox_Aktivita->isEnabled());
    EXPECT_TRUE(dialog->CheckBox_Aktivita->isChecked());
    EXPECT_TRUE(OpenExisting(Method(1)).CheckBox_Aktivita->isEnabled());
}

TEST_F(SourceDialog, NameStaysOnOneLine)
{
    TfOrvek6& d = OpenExisting(Method(1));
    d.show();
    QApplication::clipboard()->setText("first line\nsecond line");
    d.Edit_NazovBunky->clear();
    d.Edit_NazovBunky->paste();
    EXPECT_EQ(d.Edit_NazovBunky->text(), "first line");
    EXPECT_EQ(d.FCellName, "first line");

    // Pasted into the middle, only the pasted text is cut: what followed the caret stays.
    d.Edit_NazovBunky->setText("Ab");
    d.Edit_NazovBunky->setCursorPosition(1);
    d.Edit_NazovBunky->paste();
    EXPECT_EQ(d.Edit_NazovBunky->text(), "Afirst lineb");
}

TEST_F(SourceDialog, LockedCommentOpensReadOnlyInTheEditor)
{
    EditMode = 1;
    TfRichEdit98Editor editor;
    fRichEdit98Editor = &editor;
    TVstupStandardnejNeistoty rec = Method(1);
    SourceDialogFixture::Open(rec, false, quantity, nullptr);
    dialog->FCommentLock = 1;
    dialog->FComment = "locked note";
    dialog->LoadUncertaintyInput();
    EXPECT_TRUE(dialog->RichEdit_PopisBunky->isReadOnly());
    EXPECT_FALSE(dialog->SpeedButton_Editor->isEnabled());
    bool readOnly = false;
    QTimer::singleShot(0, [&] {
        readOnly = editor.ReadOnlyMode;
        editor.reject();
    });
    dialog->SpeedButton_EditorClick();
    fRichEdit98Editor = nullptr;
    EXPECT_TRUE(readOnly);
}

// The typed grid lives on page 11 of the dialog, made and freed with it; no method of
// the list shows that page.
TEST_F(SourceDialog, PageElevenHoldsDataGrid1ForTheLifeOfTheDialog)
{
    TfOrvek6& d = OpenExisting(Method(0));
    ASSERT_NE(d.TabSheet_11, nullptr);
    EXPECT_EQ(d.PageControl1->indexOf(d.TabSheet_11), 10);
    EXPECT_EQ(d.findChild<TDataGrid*>("DataGrid1"), d.DataGrid1);
    ASSERT_NE(d.DataGrid1, nullptr);
    EXPECT_TRUE(d.TabSheet_11->isAncestorOf(d.DataGrid1));
    EXPECT_EQ(d.DataGrid1->ColCount(), 8);
    for (int method : { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 }) {
        TfOrvek6& e = OpenExisting(Method(method));
        EXPECT_NE(e.PageControl1->currentWidget(), e.TabSheet_11) << method;
    }
    QPointer<TDataGrid> grid = dialog->DataGrid1;
    dialog.reset();
    EXPECT_TRUE(grid.isNull());
}

// Page 11 as the dialog would show it, in English and Slovak, saved to look at.
TEST_F(SourceDialog, PageElevenPicture)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS names no folder";
    for (quint8 language : { 0, 1 }) {
        LanguageID = language;
        TfOrvek6& d = OpenExisting(Method(0));
        d.PageControl1->setCurrentWidget(d.TabSheet_11);
        d.ArrangeCommentPanel();
        d.resize(760, 560);
        d.show();
        QApplication::processEvents();
        d.grab().save(QStringLiteral("%1/source_page11_%2.png").arg(folder, language == 0 ? "en" : "sk"));
    }
    LanguageID = 0;
}

} // namespace
} // namespace orvek::test
