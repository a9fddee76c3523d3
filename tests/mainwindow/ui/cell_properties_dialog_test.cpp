// The settings dialog driven as a user drives it: colours from the preview, the size
// checks on OK and Enter, the buttons that act at once, and the width measurement the
// cell boxes fit their captions with.

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/valid_edit.h"
#include "engine/cell.h"
#include "mainwindow/ui/cell_properties_dialog.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace orvek {
namespace {

using test::DialogScript;
using test::WhenShown;

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        test::ClearSettingsStore();
        SetupKeyPath = "\\Software\\Kestrava\\Orvek\\Setup";
        Reset();
        DialogScript::Instance().Reset();
    }
    void TearDown() override
    {
        Reset();
        test::ClearSettingsStore();
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
    }
    static void Reset()
    {
        LanguageID = 0;
        SetDefaultDiagramSettings();
        ScaleLayoutToZoom();
        SignificantDigits = 2;
        ZeroToCalculations = false;
        DerivativeMode = 0;
        MoreGroupsOfFolders = false;
    }
    static QColor Shown(QWidget* w) { return w->palette().color(QPalette::Window); }
    static void Type(TIntegerEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(SettingsDialogTest, ARefusedOkStoresNothingAndCancelKeepsTheOldColours)
{
    CellColorChecked = 0x123456;
    TfOrvekVlastnostiBunky dialog;
    DialogScript::Instance().AnswerColor(0x0000FF);
    DialogScript::Instance().AnswerMessage(mrRetry);
    bool stayedOpen = false;
    WhenShown<TfOrvekVlastnostiBunky>([&](TfOrvekVlastnostiBunky& d) {
        d.Button2->click(); // every kind red
        Type(d.SizeEdits[sfCellHeight], "100");
        d.Button_OK->click();
        stayedOpen = d.isVisible() && d.focusWidget() == d.SizeEdits[sfCellHeight];
        d.Button_Cancel->click();
    });
    EXPECT_FALSE(dialog.ShowSettingsDialog());
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_EQ(DialogScript::Instance().Shown()[0], GetString(591, { GetString(196), "99" }));
    EXPECT_EQ(CellColorChecked, 0x123456u);
    EXPECT_EQ(CellColorFilledVal, 0x00FFFFu);
    EXPECT_EQ(CellHeight, 18);
    // FSameColor is kept for the next showing.
    EXPECT_EQ(dialog.FSameColor, 0x0000FFu);
}

TEST_F(SettingsDialogTest, OkStoresTheDialogAndSaysWhenToRecalculate)
{
    TfOrvekVlastnostiBunky dialog;
    DialogScript::Instance().AnswerColor(0xABCDEF); // the preview's not-computed box
    DialogScript::Instance().AnswerColor(0x010203); // double click on the background
    WhenShown<TfOrvekVlastnostiBunky>([&](TfOrvekVlastnostiBunky& d) {
        QTest::mouseClick(d.ChildBoxes[1], Qt::LeftButton);
        QTest::mouseDClick(d.PreviewCanvas, Qt::LeftButton, {}, QPoint(2, 2));
        d.Button_DefaultCellSizeClick();
        d.RadioButton_Left->click();
        d.RadioButton_Up->click();
        d.ComboBox_PocetPlatnychCislic->setCurrentIndex(7);
        d.ComboBox_Exponencial_Pod->setCurrentIndex(2);
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_TRUE(dialog.ShowSettingsDialog());
    EXPECT_TRUE(dialog.RecalculationNeeded());
    EXPECT_EQ(CellColorUnFilledVal, 0xABCDEFu);
    EXPECT_EQ(BackgroundColor, 0x010203u);
    EXPECT_EQ(CellSizeSettings(), DefaultCellSizes());
    EXPECT_EQ(HorizPlusMinus, 0);
    EXPECT_EQ(VertPlusMinus, 0);
    EXPECT_EQ(SignificantDigits, 8);
    EXPECT_DOUBLE_EQ(ExponentBelowLimit, 0.001);

    // Shown again with nothing changed: OK asks for no recalculation.
    WhenShown<TfOrvekVlastnostiBunky>([](TfOrvekVlastnostiBunky& d) { d.Button_OK->click(); });
    EXPECT_TRUE(dialog.ShowSettingsDialog());
    EXPECT_FALSE(dialog.RecalculationNeeded());
    EXPECT_EQ(SignificantDigits, 8);
}

TEST_F(SettingsDialogTest, PreviewFollowsTheSizesAndDefaultColoursRestoreEveryBox)
{
    CellColorFilledNeistota = 0x111111;
    TfOrvekVlastnostiBunky dialog;
    WhenShown<TfOrvekVlastnostiBunky>([](TfOrvekVlastnostiBunky& d) {
        d.Button_DefaultCellSizeClick();
        EXPECT_EQ(d.Panel_Bunka_1->geometry(), QRect(15, 20, 130, 18));
        // Connector indent 43, connector 18, vertical distance 3.
        EXPECT_EQ(d.VertBond_1->x(), 58);
        EXPECT_EQ(d.HorizBonds[0]->x(), 58);
        EXPECT_EQ(d.HorizBonds[0]->width(), 18);
        EXPECT_EQ(d.ChildBoxes[0]->geometry(), QRect(75, 41, 130, 18));
        EXPECT_EQ(d.ChildBoxes[4]->y(), 41 + 4 * 21);
        EXPECT_EQ(d.VertBond_1->geometry().bottom() + 1, d.HorizBonds[4]->y() + 3);
        // Expand button right and down, then left and up.
        EXPECT_EQ(d.PlusMinus->geometry(), QRect(119, 7, 9, 9));
        d.RadioButton_Left->click();
        d.RadioButton_Up->click();
        EXPECT_EQ(d.PlusMinus->geometry(), QRect(2, 2, 9, 9));
        // Typing a size offers the preview button, which lays out again.
        EXPECT_FALSE(d.Button_Preview->isEnabled());
        Type(d.SizeEdits[sfCellWidth], "200");
        EXPECT_TRUE(d.Button_Preview->isEnabled());
        d.Button_Preview->click();
        EXPECT_EQ(d.ChildBoxes[0]->width(), 200);

        EXPECT_EQ(Shown(d.ChildBoxes[2]), ColorFromBgr(0x111111));
        d.Button_DefaultColors->click();
        EXPECT_EQ(Shown(d.ChildBoxes[2]), ColorFromBgr(0xFFFFA8));
        EXPECT_EQ(Shown(d.ColorPanels[TfOrvekVlastnostiBunky::ckFilledNeistota]), ColorFromBgr(0xFFFFA8));
        EXPECT_EQ(Shown(d.Panel_Bunka_1), ColorFromBgr(0x00FF00));
        // Clicking a connector focuses the edit of its length.
        QTest::mouseClick(d.HorizBonds[2], Qt::LeftButton);
        EXPECT_EQ(d.focusWidget(), d.SizeEdits[sfHorizontalBond]);
        d.Button_OK->click();
    });
    EXPECT_TRUE(dialog.ShowSettingsDialog());
    EXPECT_EQ(CellColorSettings(), DefaultCellColors());
    EXPECT_EQ(CellWidth, 200);
}

TEST_F(SettingsDialogTest, EnterOnCancelCancelsAndABadSizeKeepsTheDialogOpen)
{
    TfOrvekVlastnostiBunky dialog;
    DialogScript::Instance().AnswerMessage(mrRetry);
    WhenShown<TfOrvekVlastnostiBunky>([](TfOrvekVlastnostiBunky& d) {
        Type(d.SizeEdits[sfPlusMinusWidth], "0");
        QTest::keyClick(&d, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        d.Button_Cancel->setFocus();
        QTest::keyClick(d.Button_Cancel, Qt::Key_Return);
    });
    EXPECT_FALSE(dialog.ShowSettingsDialog());
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(22750, { GetString(209), "1", "125" }));
    EXPECT_EQ(PlusMinusWidth, 9);
}

TEST_F(SettingsDialogTest, LanguageDerivativeAndFolderGroupButtonsActAtOnceAndSurviveCancel)
{
    LanguageID = 2;
    TfOrvekVlastnostiBunky dialog;
    QStringList calls;
    dialog.Hooks.SwitchToSlovak = [&] {
        calls << "slovak";
        LanguageID = 1;
    };
    dialog.Hooks.DerivativeDifference = [&] {
        calls << "difference";
        DerivativeMode = 1;
    };
    dialog.Hooks.ApplyFolderGroupsSetting = [&] { calls << "groups"; };

    // Neither language button shows a third language, and OK keeps it.
    WhenShown<TfOrvekVlastnostiBunky>([](TfOrvekVlastnostiBunky& d) {
        EXPECT_FALSE(d.RadioButton_AnglickaVerzia->isChecked());
        EXPECT_FALSE(d.RadioButton_SlovenskaVerzia->isChecked());
        d.Button_OK->click();
    });
    EXPECT_TRUE(dialog.ShowSettingsDialog());
    EXPECT_EQ(LanguageID, 2);

    WhenShown<TfOrvekVlastnostiBunky>([](TfOrvekVlastnostiBunky& d) {
        d.PageControl1->setCurrentIndex(1);
        EXPECT_FALSE(d.Button_Preview->isVisible());
        d.RadioButton_SlovenskaVerzia->click();
        d.RadioButton_Diferencia->click();
        d.CheckBox_MoreGroupsOfFolders->setEnabled(true);
        d.CheckBox_MoreGroupsOfFolders->click();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.ShowSettingsDialog());
    EXPECT_EQ(calls, QStringList({ "slovak", "difference", "groups" }));
    EXPECT_EQ(LanguageID, 1);
    EXPECT_EQ(DerivativeMode, 1);
    EXPECT_TRUE(MoreGroupsOfFolders);
}

TEST_F(SettingsDialogTest, CaptionsAreMeasuredInTheCellFontChosen)
{
    TfOrvekVlastnostiBunky dialog;
    SetTextWidthService(&dialog);
    QFont font(CellFontName);
    font.setPointSize(DefaultFontSize);
    const QString text = "alpha beta gamma";
    EXPECT_EQ(dialog.MeasureTextWidth(text), QFontMetrics(font).horizontalAdvance(text));

    // Another cell font, chosen and confirmed, is what the captions are fitted in.
    DialogScript::Instance().AnswerFont("DejaVu Sans Mono", 14);
    WhenShown<TfOrvekVlastnostiBunky>([](TfOrvekVlastnostiBunky& d) {
        d.PageControl1->setCurrentIndex(1);
        QTest::mouseClick(d.Label_FontName, Qt::LeftButton);
        EXPECT_EQ(d.Edit1->text(), "DejaVu Sans Mono");
        EXPECT_EQ(d.Edit2->text(), "14");
        d.Button_OK->click();
    });
    EXPECT_TRUE(dialog.ShowSettingsDialog());
    EXPECT_EQ(CellFontName, "DejaVu Sans Mono");
    EXPECT_EQ(CellFontSize, 14);
    QFont mono("DejaVu Sans Mono");
    mono.setPointSize(DefaultFontSize);
    EXPECT_EQ(dialog.MeasureTextWidth(text), QFontMetrics(mono).horizontalAdvance(text));

    TPrenosInfoDoNovejBunky info;
    info.CellType = kQuantityCell;
    info.CellName = "alpha beta gamma delta epsilon zeta eta theta";
    TCell cell(nullptr, info, 20, 20, nullptr);
    cell.FitCaption();
    ASSERT_TRUE(cell.FBox.Caption.endsWith("..."));
    const QString shown = cell.FBox.Caption.chopped(3).trimmed();
    EXPECT_LT(1.05 * dialog.MeasureTextWidth(shown), cell.FBox.Rect.width());
    EXPECT_GE(1.05 * dialog.MeasureTextWidth(info.CellName), cell.FBox.Rect.width());

    SetTextWidthService(nullptr);
}

} // namespace
} // namespace orvek
