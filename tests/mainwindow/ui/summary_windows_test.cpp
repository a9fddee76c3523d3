// The result summary and the summary of quantities: which fields a cell fills, the
// infinity signs, the per-row locks of the quantity grid, its keys, and OK's check of
// the retyped values.

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "mainwindow/ui/summary_windows.h"
#include "mainwindow/ui/table_quantities.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace orvek {
namespace {

using test::DialogScript;
using test::WhenShown;

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name, const QString& symbol = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Symbol = symbol;
    info.Active = 1;
    return info;
}

class SummaryWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
        SignificantDigits = 2;
        SetDefaultDiagramSettings();
        QuantityList.Clear();
        DialogScript::Instance().Reset();
    }
    void TearDown() override
    {
        QuantityList.Clear();
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
    }

    TCell* NewCell(quint8 kind, const QString& name, const QString& symbol, const QString& value, quint8 lock = 0)
    {
        cells.push_back(std::make_unique<TCell>(nullptr, Info(kind, name, symbol), 20, 20, nullptr));
        TCell* cell = cells.back().get();
        cell->FValue.Text = value;
        cell->FValue.Lock = lock;
        cell->FUnit.Text = "m";
        return cell;
    }
    void AddToList(TCell* cell, const QString& u = "0.01")
    {
        QuantityEntry& e = QuantityList[++QuantityList.Count];
        e.Cell = cell;
        e.ValueText = cell->FValue.Text;
        e.UncertaintyText = u;
    }
    static QString Text(TEditText98* box)
    {
        QString text;
        box->GetPlainText(text);
        return text;
    }

    // The editor of the current cell, once it is open.
    static QLineEdit* Editor(QTableWidget* grid)
    {
        QLineEdit* editor = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
            return editor != nullptr;
        }));
        return editor;
    }
    static void Retype(QTableWidget* grid, int row, const QString& text)
    {
        grid->setCurrentCell(row, 2);
        QLineEdit* editor = Editor(grid);
        if (!editor)
            return;
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }

    std::vector<std::unique_ptr<TCell>> cells;
};

TEST_F(SummaryWindows, ResultSummaryShowsTheFieldsTheCellHas)
{
    TfSummaryDesc window;
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ((window.windowFlags() & Qt::WindowType_Mask), Qt::Tool);

    TCell* full = NewCell(kEquationCell, "Result cell", "y", "10.01234");
    full->FQuantityName.Text = "length";
    full->FCombinedUncertainty = "0.0228";
    full->FExpandedUncertainty = "0.0456";
    full->FRelativeUncertainty = "Nekonecno";
    full->FRelativeExpandedUncertainty = "0.4554";
    full->FDegreesOfFreedom = "57,8";
    full->FCoverageFactor.Text = "2.00123";
    window.ShowCellSummary(full);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Result cell");
    EXPECT_EQ(Text(window.FQuantityNameBox), "length");
    EXPECT_EQ(Text(window.FExpandedUnitBox), "m");
    EXPECT_EQ(window.Edit_Hodnota->text(), "10.012");
    EXPECT_EQ(window.Edit_RozsirenaStdNeistota->text(), "0.046");
    EXPECT_EQ(window.Edit_KombinovanaStdNeistota->text(), "0.023");
    EXPECT_TRUE(window.Panel_NekonecnoPreRel->isVisible());
    EXPECT_EQ(window.Edit_RelRozsirenaNeistota->text(), "0.46 %");
    EXPECT_EQ(window.Edit_PocetStupnovVolnosti->text(), "57");
    EXPECT_FALSE(window.Panel_Nekonecno->isVisible());
    EXPECT_EQ(window.Edit_ExpanznyKoeficient->text(), "2.001");

    // Only a standard uncertainty: nothing else is shown, and nothing of the last cell.
    TCell* onlyU = NewCell(kQuantityCell, "Scale", "s", "");
    onlyU->FCombinedUncertainty = "0.01234";
    onlyU->FDegreesOfFreedom = "Nekonecno";
    window.ShowCellSummary(onlyU);
    EXPECT_EQ(window.Edit_KombinovanaStdNeistota->text(), "0.012");
    for (QLineEdit* empty : { window.Edit_Hodnota, window.Edit_RozsirenaStdNeistota, window.Edit_RelStdNeistota,
             window.Edit_RelRozsirenaNeistota, window.Edit_ExpanznyKoeficient })
        EXPECT_EQ(empty->text(), QString()) << empty->objectName().toStdString();
    EXPECT_FALSE(window.Panel_NekonecnoPreRel->isVisible());
    EXPECT_TRUE(window.Panel_Nekonecno->isVisible());

    window.bOK->click();
    EXPECT_FALSE(window.IsVisible());
}

TEST_F(SummaryWindows, LockModeOneLeavesOnlyUnlockedNonEquationValuesEditable)
{
    TCell* locked = NewCell(kQuantityCell, "Locked", "l", "1", 1);
    TCell* equation = NewCell(kEquationCell, "Sub-result", "e", "");
    TCell* a = NewCell(kQuantityCell, "Length", "a", "2");
    TCell* b = NewCell(kQuantityCell, "Width", "b", "3");
    for (TCell* c : { locked, equation, a, b })
        AddToList(c);

    TfTableQuantites window;
    window.LoadQuantityTable(1);
    EXPECT_EQ(window.windowTitle(), GetString(735));
    EXPECT_FALSE(window.OkButton->isEnabled());
    EXPECT_EQ(window.FFirstEditableRow, 3);
    EXPECT_EQ(window.width(), 69 + 67 + 133 + 137 + 202 + 20);
    EXPECT_EQ(window.StringGrid_Quantities->horizontalHeaderItem(3)->text(), GetString(732, { "\n" }));

    DialogScript::Instance().AnswerMessage(mrRetry);
    WhenShown<TfTableQuantites>([&](TfTableQuantites& w) {
        QTableWidget* grid = w.StringGrid_Quantities;
        EXPECT_TRUE(QTest::qWaitFor([&] { return grid->currentRow() == 2; }));
        EXPECT_EQ(grid->currentColumn(), 2);
        // Neither a locked row nor another column can become current.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 2)).center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 4)).center());
        EXPECT_EQ(grid->currentRow(), 2);
        EXPECT_EQ(grid->currentColumn(), 2);
        // Down and Enter skip the locked rows and wrap.
        QTest::keyClick(Editor(grid), Qt::Key_Down);
        EXPECT_EQ(grid->currentRow(), 3);
        QTest::keyClick(Editor(grid), Qt::Key_Return);
        EXPECT_EQ(grid->currentRow(), 2);
        QTest::keyClick(Editor(grid), Qt::Key_Up);
        EXPECT_EQ(grid->currentRow(), 3);

        // Typed values: a comma decimal and letters; OK stops at the letters.
        Retype(grid, 2, "12,5");
        EXPECT_TRUE(w.OkButton->isEnabled());
        Retype(grid, 3, " abc ");
        grid->setCurrentCell(2, 2);
        w.OkButton->click();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(grid->currentRow(), 3);
        Retype(grid, 3, "7");
        w.OkButton->click();
    });
    EXPECT_TRUE(window.ShowModal());
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(179, { "abc" }) });
    EXPECT_EQ(QuantityList[1].ValueText, "1");
    // The equation's value is not computed yet: it is not a number, and not in the way.
    EXPECT_EQ(QuantityList[2].ValueText, "");
    EXPECT_EQ(QuantityList[3].ValueText, "12,5");
    EXPECT_EQ(QuantityList[4].ValueText, "7");
}

TEST_F(SummaryWindows, LockModesZeroAndTwo)
{
    TCell* a = NewCell(kQuantityCell, "Length", "a", "2", 1);
    TCell* b = NewCell(kQuantityCell, "Width", "b", "1\n2");
    AddToList(a);
    AddToList(b);
    TfTableQuantites window;

    // Mode 0: nothing can be edited and only Cancel leaves.
    window.LoadQuantityTable(0);
    WhenShown<TfTableQuantites>([](TfTableQuantites& w) {
        EXPECT_FALSE(w.OkButton->isEnabled());
        EXPECT_EQ(w.StringGrid_Quantities->editTriggers(), QAbstractItemView::NoEditTriggers);
        w.CancelButton->click();
    });
    EXPECT_FALSE(window.ShowModal());

    // Mode 2: even a template-locked value is editable; a value with a line break is
    // not a number.
    window.LoadQuantityTable(2);
    EXPECT_EQ(window.FFirstEditableRow, 1);
    DialogScript::Instance().AnswerMessage(mrRetry);
    WhenShown<TfTableQuantites>([](TfTableQuantites& w) {
        w.OkButtonClick();
        EXPECT_EQ(w.StringGrid_Quantities->currentRow(), 1);
        w.CancelButton->click();
    });
    EXPECT_FALSE(window.ShowModal());
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(179, { "1\n2" }) });
}

TEST_F(SummaryWindows, TwoThousandQuantities)
{
    TCell* a = NewCell(kQuantityCell, "Length", "a", "2");
    for (int i = 0; i < TInfo_o_bunkach_typu_velicina_2::Capacity; ++i)
        AddToList(a);
    TfTableQuantites window;
    QElapsedTimer timer;
    timer.start();
    window.LoadQuantityTable(2);
    WhenShown<TfTableQuantites>([](TfTableQuantites& w) {
        EXPECT_EQ(w.StringGrid_Quantities->rowCount(), 2000);
        w.CancelButton->click();
    });
    EXPECT_FALSE(window.ShowModal());
    // Measured for the record, not asserted.
    std::printf("summary of 2000 quantities loaded and shown in %lld ms\n", qint64(timer.elapsed()));
}

} // namespace
} // namespace orvek
