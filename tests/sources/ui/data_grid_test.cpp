#include "../comma_locale.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/number_text.h"
#include "sources/ui/data_grid.h"
#include "sources/ui/data_grid_inplace_edit.h"
#include "sources/ui/source_data_grid.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

class DataGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClock([] { return QDateTime(QDate(2026, 3, 9), QTime(8, 0)); });
        grid.resize(500, 300);
        grid.SetColCount(3);
        grid.SetRowCount(6); // the title row and five data rows
        for (int row = 1; row <= 5; ++row)
            grid.SetCells(0, row, QString("r%1").arg(row));
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
    }
    void TearDown() override { SetClock({}); }
    QStringList FirstColumn() const
    {
        QStringList texts;
        for (int row = 1; row < grid.RowCount(); ++row)
            texts << grid.Cells(0, row);
        return texts;
    }
    // Types Text into the cell (Col, Row) through the editor and leaves it with Tab.
    TDataGridInplaceEdit* Edit(int col, int row)
    {
        grid.SetCurrentCell(col, row);
        grid.edit(grid.currentIndex());
        TDataGridInplaceEdit* editor = grid.InplaceEditor();
        EXPECT_NE(editor, nullptr);
        return editor;
    }
    void Type(int col, int row, const QString& text)
    {
        TDataGridInplaceEdit* editor = Edit(col, row);
        if (!editor)
            return;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Tab);
    }

    test::CommaDecimalsPointDates locale;
    TDataGrid grid;
};

TEST_F(DataGrid, RowKeysFollowTheirOptions)
{
    int inserts = 0, deletes = 0;
    grid.BeforeInsert = [&](TDataGrid*) { ++inserts; };
    grid.BeforeDelete = [&](TDataGrid*) { ++deletes; };

    grid.SetCurrentCell(0, 3);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(FirstColumn(), (QStringList { "r1", "r2", "r3", "r4", "r5" })) << "no options, no row keys";

    grid.SetDataGridOptions(dgoInsertRow | dgoDeleteRow);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(FirstColumn(), (QStringList { "r1", "r2", "", "r3", "r4", "r5" }));
    EXPECT_EQ(grid.Row(), 3);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(FirstColumn(), (QStringList { "r1", "r2", "r3", "r4", "r5" }));
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(deletes, 1);

    // At the minimum row count (the title row counts) the row is cleared, not removed.
    grid.SetRowCountMin(6);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(FirstColumn(), (QStringList { "r1", "r2", "", "r4", "r5" }));
    grid.SetRowCountMin(0);

    // The only data row is cleared too.
    grid.SetRowCount(2);
    grid.SetCurrentCell(0, 1);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(0, 1), "");

    // Setting the minimum raises the row count to it.
    grid.SetRowCountMin(4);
    EXPECT_EQ(grid.RowCount(), 4);
    grid.SetRowCountMin(-3);
    EXPECT_EQ(grid.RowCountMin(), 0);
}

TEST_F(DataGrid, DownAndTabAppendOnTheLastRowOnlyWhenAllowed)
{
    grid.SetCurrentCell(0, 5);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Row(), 5);

    grid.SetDataGridOptions(dgoAppendRow);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.RowCount(), 7);
    EXPECT_EQ(grid.Row(), 6);

    grid.SetCurrentCell(2, 6);
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(grid.Row(), 7);
    EXPECT_EQ(grid.Col(), 0);

    // From the editor: the text is kept and the grid moves onto the new row.
    TDataGridInplaceEdit* editor = Edit(1, 7);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(grid.Cells(1, 7), "x");
    EXPECT_EQ(grid.RowCount(), 9);
    EXPECT_EQ(grid.Row(), 8);

    grid.SetDataGridOptions(dgoDeleteRow);
    editor = Edit(0, 2);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.Cells(0, 2), "r3");
    EXPECT_EQ(grid.InplaceEditor(), nullptr);
}

TEST_F(DataGrid, LeavingACellNormalisesByTheColumnFormat)
{
    grid.Columns()[0]->SetFormat(TColumnFormat::cfNumber);
    grid.Columns()[1]->SetFormat(TColumnFormat::cfDate);
    QStringList changed;
    grid.OnUserChanged = [&](TDataGridInplaceEdit* editor) { changed << editor->text(); };

    const struct {
        int col;
        const char* typed;
        const char* stored;
    } cases[] = {
        { 0, "1,50", "1,5" },
        { 0, "abc", "1,5" }, // no number: the text the cell had
        { 1, "311207", "31.12.2007" },
        { 1, "31122007", "31.12.2007" },
        { 1, "3112", "" },
        { 1, "t", "9.3.2026" },
        { 1, "D", "9.3.2026" },
        { 2, "anything", "anything" },
    };
    for (const auto& c : cases) {
        Type(c.col, 1, c.typed);
        EXPECT_EQ(grid.Cells(c.col, 1), c.stored) << c.typed;
    }
    EXPECT_EQ(changed.size(), int(std::size(cases)));
    EXPECT_EQ(changed.value(1), "1,5");

    // Leaving a cell without typing changes nothing and tells nobody.
    Edit(0, 2);
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Tab);
    EXPECT_EQ(grid.Cells(0, 2), "r2");
    EXPECT_EQ(changed.size(), int(std::size(cases)));
}

TEST_F(DataGrid, PickListCompletionAndList)
{
    TColumn* free = grid.Columns()[1];
    free->SetPickList({ "Alpha", "Beta" });
    TColumn* limited = grid.Columns()[2];
    limited->SetPickList({ "Alpha", "Beta", "Gamma" });
    limited->SetLimitToList(true);

    Type(1, 1, "b");
    EXPECT_EQ(grid.Cells(1, 1), "b"); // case-sensitive: no entry begins with "b"
    Type(1, 2, "Bx");
    EXPECT_EQ(grid.Cells(1, 2), "Beta");

    TDataGridInplaceEdit* editor = Edit(2, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->EditStyle(), TDataGridInplaceEdit::TEditStyle::esPickList);
    EXPECT_TRUE(editor->isReadOnly());
    QTest::keyClick(editor, Qt::Key_B);
    EXPECT_EQ(editor->text(), "Beta");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(grid.Cells(2, 1), "Beta");

    // The list opens on the entry of the cell, searches as the user types, Enter takes it.
    editor = Edit(2, 1);
    QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    TPopupListbox* list = editor->PickList();
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_GE(list->width(), editor->width());
    QTest::keyClicks(editor, "ga");
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(list->SearchText(), "ga");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->text(), "Gamma");
    EXPECT_TRUE(editor->isModified());

    // Esc closes the list and keeps the text.
    QTest::keyClick(editor, Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->text(), "Gamma");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(grid.Cells(2, 1), "Gamma");

    // A read-only column gets no list.
    limited->SetReadOnly(true);
    editor = Edit(2, 2);
    EXPECT_EQ(editor->EditStyle(), TDataGridInplaceEdit::TEditStyle::esSimple);
}

TEST_F(DataGrid, EllipsisButtonCallsTheGrid)
{
    int clicks = 0;
    grid.OnEditButtonClick = [&](TDataGrid* sender) {
        EXPECT_EQ(sender, &grid);
        ++clicks;
    };
    grid.Columns()[0]->SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
    TDataGridInplaceEdit* editor = Edit(0, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->EditStyle(), TDataGridInplaceEdit::TEditStyle::esEllipsis);
    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(editor->text(), "r1");
    const QPoint button = editor->ButtonRect().center();
    QTest::mouseClick(editor, Qt::LeftButton, {}, button);
    EXPECT_EQ(clicks, 2);
    QTest::mouseClick(editor, Qt::LeftButton, {}, QPoint(5, button.y()));
    EXPECT_EQ(clicks, 2);
}

TEST_F(DataGrid, ColumnItemsFollowTheGridColumns)
{
    EXPECT_EQ(grid.Columns().Count(), 3);
    grid.SetColCount(5);
    EXPECT_EQ(grid.Columns().Count(), 5);
    grid.SetColCount(2);
    EXPECT_EQ(grid.Columns().Count(), 2);
    grid.Columns().Add();
    EXPECT_EQ(grid.ColCount(), 3);
    grid.Columns().Delete(0);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.Cells(0, 1), "");

    grid.SetColCount(3);
    grid.SetCells(0, 1, "a");
    grid.SetCells(2, 1, "c");
    TColumn* first = grid.Columns()[0];
    first->Title().SetCaption("A");
    grid.MoveColumn(0, 2);
    EXPECT_EQ(grid.Columns()[2], first);
    EXPECT_EQ(grid.Cells(2, 1), "a");
    EXPECT_EQ(grid.Cells(1, 1), "c");
    EXPECT_EQ(grid.horizontalHeaderItem(2)->text(), "A");
    // Moving a header section moves the column itself.
    grid.horizontalHeader()->moveSection(2, 0);
    EXPECT_EQ(grid.Columns()[0], first);
    EXPECT_EQ(grid.Cells(0, 1), "a");
    EXPECT_EQ(grid.horizontalHeader()->visualIndex(0), 0);

    // Unset values follow the grid; assigning copies only what was set.
    TColumn* a = grid.Columns()[0];
    TColumn* b = grid.Columns()[1];
    EXPECT_EQ(a->Color(), grid.GridColor());
    EXPECT_FALSE(a->ReadOnly());
    grid.SetOptions(grid.Options() & ~goEditing);
    EXPECT_TRUE(a->ReadOnly());
    a->SetColor(Qt::green);
    a->SetDropDownRows(3);
    a->SetDisplayMask("0.00");
    b->SetAlignment(Qt::AlignRight);
    b->Assign(*a);
    EXPECT_EQ(b->Color(), QColor(Qt::green));
    EXPECT_EQ(b->DropDownRows(), 3);
    EXPECT_EQ(b->Alignment(), Qt::AlignRight); // not set in A: B keeps its own
    a->SetFormat(TColumnFormat::cfDate);
    EXPECT_EQ(a->DisplayMask(), "");
    a->RestoreDefaults();
    EXPECT_EQ(a->Color(), grid.GridColor());
    EXPECT_EQ(a->Title().Caption(), "");
    EXPECT_EQ(a->ButtonStyle(), TColumnButtonStyle::cbsAuto);
    grid.SetVersion("9");
    EXPECT_EQ(grid.Version(), "2.0");
}

// The picture lies under the cells and fills the area beyond the last column.
TEST_F(DataGrid, BackgroundPictureIsTiledUnderTheCells)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 40));
    grid.SetBGImage(picture);
    grid.SetCurrentCell(0, 1);
    QApplication::processEvents();
    const QImage shown = grid.viewport()->grab().toImage();
    const QRect cell = grid.visualRect(grid.model()->index(2, 1));
    EXPECT_EQ(shown.pixelColor(cell.right() - 2, cell.bottom() - 2), QColor(200, 30, 40));
    const int beyond = grid.columnViewportPosition(2) + grid.columnWidth(2) + 5;
    ASSERT_LT(beyond, shown.width());
    EXPECT_EQ(shown.pixelColor(beyond, 5), QColor(200, 30, 40));
    // The selected cell shows the picture inverted.
    const QRect current = grid.visualRect(grid.currentIndex());
    EXPECT_EQ(shown.pixelColor(current.right() - 2, current.bottom() - 2), QColor(55, 225, 215));
}

TEST(SourceDataGrid, EightColumnsOnItsPage)
{
    QWidget page;
    TDataGrid* grid = CreateSourceDialogDataGrid(&page);
    EXPECT_EQ(page.findChild<TDataGrid*>("DataGrid1"), grid);
    EXPECT_EQ(grid->ColCount(), 8);
    EXPECT_EQ(grid->RowCount(), 100);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->DefaultRowHeight(), 20);
    const char* titles[]
        = { "MPS", "Nominálna hodnota", "Namerané", "Bias", "S(R) [mg/L]", "S(R) [%]", "", "Počet laboratórií" };
    const int widths[] = { 319, 97, 64, 64, 64, 64, 64, 93 };
    EXPECT_EQ(grid->columnWidth(0), 319);
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(grid->Columns()[c]->Title().Caption(), QString::fromUtf8(titles[c]));
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), QString::fromUtf8(titles[c]));
        EXPECT_GE(grid->columnWidth(c), widths[c]); // wider only where the title needs it
        EXPECT_GE(grid->columnWidth(c),
            grid->horizontalHeader()->fontMetrics().horizontalAdvance(QString::fromUtf8(titles[c])));
        EXPECT_EQ(grid->Columns()[c]->Title().Alignment(), Qt::AlignHCenter);
    }
    EXPECT_EQ(grid->Columns()[1]->Format(), TColumnFormat::cfNumber);
    EXPECT_EQ(grid->Columns()[1]->Color(), QColor(0, 164, 82));
    EXPECT_EQ(grid->Columns()[3]->Color(), QColor(218, 235, 150));
    EXPECT_EQ(grid->Columns()[0]->Color(), grid->GridColor());
    EXPECT_EQ(grid->DataGridOptions(), 0u);
    EXPECT_TRUE(grid->Options() & goEditing);
}

// ORVEK_SHOTS=<folder> saves a picture of the grid with its pick list open.
TEST(SourceDataGrid, Picture)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS to a folder to save the picture";
    QWidget page;
    page.resize(760, 330);
    TDataGrid* grid = CreateSourceDialogDataGrid(&page);
    grid->Columns()[0]->SetPickList({ "Zlato 999,9", "Zlato 916", "Striebro 925", "Platina", "Paládium" });
    grid->Columns()[7]->SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
    grid->Columns()[1]->SetDisplayMask("0.000");
    const char* rows[][8] = {
        { "Zlato 999,9", "999,9", "999,87", "-0,03", "0,05", "0,005", "", "12" },
        { "Striebro 925", "925", "925,3", "0,3", "0,4", "0,04", "", "9" },
        { "Zlato 916", "916,6", "916,2", "-0,4", "0,6", "0,07", "", "11" },
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 8; ++c)
            grid->SetCells(c, r + 1, QString::fromUtf8(rows[r][c]));
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    grid->setFocus();
    grid->SetCurrentCell(0, 4);
    grid->edit(grid->currentIndex());
    TDataGridInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    QTest::keyClicks(editor, "s");
    QApplication::processEvents();
    QPixmap picture = page.grab();
    QPainter painter(&picture);
    painter.drawPixmap(page.mapFromGlobal(editor->PickList()->pos()), editor->PickList()->grab());
    painter.end();
    QDir().mkpath(folder);
    EXPECT_TRUE(picture.save(folder + "/typed_grid_pick_list.png"));
}

} // namespace
