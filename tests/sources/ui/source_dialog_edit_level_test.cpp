// The source dialog's edit levels and locks, its reading grids (keys, copy, the "@"
// refusal) and the paste of readings through the auxiliary table window, driven as a
// user drives them.

#include "core/clipboard_text.h"
#include "core/drawing.h"
#include "core/string_table.h"
#include "platform/ui/f1_book.h"
#include "sources/pasted_readings.h"
#include "sources/source_owner.h"
#include "sources/ui/edit_uncertainty_condition.h"
#include "sources/ui/import_list.h"
#include "sources/ui/reading_grid.h"
#include "tests/sources/ui/source_dialog_fixture.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
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

class SourceDialogEditLevel : public SourceDialogFixture {
protected:
    void SetUp() override
    {
        SourceDialogFixture::SetUp();
        DialogScript::Instance().Reset();
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        SourceDialogFixture::TearDown();
    }
    static QStringList Shown() { return DialogScript::Instance().Shown(); }

    // Page 3 with Readings in rows 1.. of its grid.
    TfOrvek6& OpenSeries(const QStringList& readings)
    {
        TVstupStandardnejNeistoty rec = Method(6);
        for (const QString& r : readings)
            rec.VM_3.Text += r + QLatin1Char('@');
        rec.PM_3 = int(readings.size());
        return OpenExisting(rec);
    }

    // Answers the auxiliary table window, when it shows, by choosing Column and pressing
    // Button (by name).
    void ChooseInImportList(int column, const char* button)
    {
        QTimer::singleShot(0, [this, column, button] {
            TfImportList* list = dialog->findChild<TfImportList*>();
            ASSERT_NE(list, nullptr);
            ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }, 3000));
            QTableWidget* grid = list->StringGrid;
            const QRect heading = grid->visualItemRect(grid->item(0, column));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, heading.center());
            EXPECT_EQ(list->FSelectedColumn, column);
            list->findChild<QPushButton*>(QLatin1String(button))->click();
        });
    }
};

QStringList Column(const QTableWidget& grid, int col, int rows)
{
    return GridColumn(grid, col, rows);
}

TEST_F(SourceDialogEditLevel, LevelsAndLocksDecideWhatMayChange)
{
    struct Case {
        const char* name;
        int level;
        int method;
        std::function<void(TVstupStandardnejNeistoty&)> lock;
        std::function<bool(TfOrvek6&)> editable;
        bool expected;
    };
    auto none = [](TVstupStandardnejNeistoty&) {};
    const Case cases[] = {
        { "view: method list", 0, 1, none, [](TfOrvek6& d) { return d.ComboBox_VstupStandardnejNeistoty->isEnabled(); },
            false },
        { "view: reading grid", 0, 6, none,
            [](TfOrvek6& d) { return GridEditing(*d.Page3.StringGrid_VlastneMeranie_3); }, false },
        { "view: both point tables protected", 0, 11, none,
            [](TfOrvek6& d) {
                return !d.Page7.Table_7->EnableProtection() || !d.Page8.Table_8->EnableProtection()
                    || !d.ChartShared.SpeedButton_PasteToTable->isHidden();
            },
            false },
        { "view: date check boxes", 0, 11, none,
            [](TfOrvek6& d) {
                return d.Page7.CheckBox_ShowDateMeasurement_7->isEnabled()
                    && d.Page8.CheckBox_DeleniePodlaDatumu_8->isEnabled();
            },
            true },
        { "view: condition editor", 0, 0, none,
            [](TfOrvek6& d) { return d.Page1.SpeedButton_EditConditions->isEnabled(); }, false },
        { "full: subgroup table", 2, 12, none, [](TfOrvek6& d) { return !d.Page8.Table_8->EnableProtection(); }, true },
        { "template: locked method", 1, 1, [](TVstupStandardnejNeistoty& r) { r.TSNLock = 1; },
            [](TfOrvek6& d) { return d.ComboBox_VstupStandardnejNeistoty->isEnabled(); }, false },
        { "template: locked estimate and its condition editor", 1, 0,
            [](TVstupStandardnejNeistoty& r) { r.KO.Lock = 1; },
            [](TfOrvek6& d) {
                return !d.Page1.Edit_KvalifikovanyOdhad->isReadOnly()
                    || d.Page1.SpeedButton_EditConditions->isEnabled();
            },
            false },
        { "template: free estimate", 1, 0, none,
            [](TfOrvek6& d) {
                return !d.Page1.Edit_KvalifikovanyOdhad->isReadOnly()
                    && d.Page1.SpeedButton_EditConditions->isEnabled();
            },
            true },
        { "template: locked individuals table", 1, 11, [](TVstupStandardnejNeistoty& r) { r.VM_7.Lock = 1; },
            [](TfOrvek6& d) { return !d.Page7.Table_7->EnableProtection(); }, false },
        { "template: locked subgroup table", 1, 12, [](TVstupStandardnejNeistoty& r) { r.VM_8.Lock = 1; },
            [](TfOrvek6& d) { return !d.Page8.Table_8->EnableProtection(); }, false },
        { "template: free subgroup table", 1, 12, none,
            [](TfOrvek6& d) { return !d.Page8.Table_8->EnableProtection(); }, true },
        { "template: locked variances and their paste button", 1, 13,
            [](TVstupStandardnejNeistoty& r) { r.VM_9.Lock = 1; },
            [](TfOrvek6& d) {
                return GridEditing(*d.Page9.StringGrid_VlastneMeranie_9)
                    || !d.Page9.SpeedButton_Paste_VlastneMeranie_9->isHidden();
            },
            false },
        { "template: locked degrees of freedom of the variances", 1, 13,
            [](TVstupStandardnejNeistoty& r) { r.PSV_9.Lock = 1; },
            [](TfOrvek6& d) { return !d.Page9.Edit_PocetstupnovVolnosti_9->isReadOnly(); }, false },
        { "template: chart settings stay editable", 1, 11, [](TVstupStandardnejNeistoty& r) { r.VM_7.Lock = 1; },
            [](TfOrvek6& d) { return d.Page7.Edit_CentralnaLinia_7->isEnabled(); }, true },
    };
    for (const Case& c : cases) {
        EditMode = quint8(c.level);
        TVstupStandardnejNeistoty rec = Method(c.method);
        c.lock(rec);
        TfOrvek6& d = OpenExisting(rec);
        EXPECT_EQ(c.editable(d), c.expected) << c.name;
    }
}

TEST_F(SourceDialogEditLevel, ALockedMethodListIsDrawnInTheButtonFaceColour)
{
    EditMode = 1;
    TVstupStandardnejNeistoty rec = Method(0);
    rec.TSNLock = 1;
    TfOrvek6& d = OpenExisting(rec);
    EXPECT_FALSE(d.Page2.ComboBox_Rozdelenie->isEnabled());
    EXPECT_EQ(d.ComboBox_VstupStandardnejNeistoty->palette().color(QPalette::Base), ReadOnlyColor(true));
    EXPECT_EQ(d.Page1.Edit_KvalifikovanyOdhad->palette().color(QPalette::Base), ReadOnlyColor(false));
}

TEST_F(SourceDialogEditLevel, DeleteEmptiesAReadingOnlyWhereEditingIsAllowedAndEnterMovesDown)
{
    for (int level : { 0, 2 }) {
        EditMode = quint8(level);
        TfOrvek6& d = OpenSeries({ QStringLiteral("1,5"), QStringLiteral("2,5") });
        d.Edit_HodnotaNeistoty->setText(QStringLiteral("0,5"));
        QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
        grid->setCurrentCell(1, 1);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(GridCell(*grid, 1, 1), level == 0 ? QStringLiteral("1,5") : QString()) << level;
        EXPECT_EQ(d.Edit_HodnotaNeistoty->text().isEmpty(), level == 2) << level;
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(grid->currentRow(), level == 0 ? 1 : 2) << level;
    }
}

TEST_F(SourceDialogEditLevel, ReadingCellsRefuseTheListMark)
{
    EditMode = 2;
    TfOrvek6& d = OpenSeries({ QStringLiteral("1,5") });
    QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
    QLineEdit editor;
    editor.setText(QStringLiteral("A@B"));
    DialogScript::Instance().AnswerMessage(mrRetry);
    grid->itemDelegate()->setModelData(&editor, grid->model(), grid->model()->index(1, 1));
    EXPECT_EQ(Shown(), QStringList { GetString(22555, { 1 }) });
    EXPECT_EQ(GridCell(*grid, 1, 1), QStringLiteral("1,5"));
    editor.setText(QStringLiteral("2,5"));
    grid->itemDelegate()->setModelData(&editor, grid->model(), grid->model()->index(1, 1));
    EXPECT_EQ(GridCell(*grid, 1, 1), QStringLiteral("2,5"));
}

TEST_F(SourceDialogEditLevel, CopyTakesTheValidReadingsAndLeavesTheClipboardWhenThereAreNone)
{
    EditMode = 2;
    TfOrvek6& d = OpenSeries({ QStringLiteral("1.5"), QStringLiteral("2.5") });
    QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
    SetGridCell(*grid, 1, 2, QString());
    SetGridCell(*grid, 1, 3, QStringLiteral("2.5"));
    SetGridCell(*grid, 1, 4, QStringLiteral("abc"));
    d.Page3.SpeedButton_Copy_VlastneMeranie_3->click();
    EXPECT_EQ(GetClipboardText(), QStringLiteral("1.5\r\n2.5\r\n"));

    ClearGridData(*grid);
    SetGridCell(*grid, 1, 1, QStringLiteral("abc"));
    SetClipboardText(QStringLiteral("kept"));
    d.Page3.SpeedButton_Copy_VlastneMeranie_3->click();
    EXPECT_EQ(GetClipboardText(), QStringLiteral("kept"));
}

TEST_F(SourceDialogEditLevel, OneValueIsPastedIntoTheCurrentCellAskingBeforeItReplaces)
{
    EditMode = 2;
    TfOrvek6& d = OpenSeries({ QStringLiteral("7") });
    QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
    d.Edit_HodnotaNeistoty->setText(QStringLiteral("0,5"));

    SetClipboardText(QStringLiteral(" 1,5 \r\n"));
    grid->setCurrentCell(2, 1);
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(GridCell(*grid, 1, 2), QStringLiteral("1,5"));
    EXPECT_TRUE(d.Edit_HodnotaNeistoty->text().isEmpty());
    EXPECT_TRUE(Shown().isEmpty());

    grid->setCurrentCell(1, 1);
    DialogScript::Instance().AnswerMessage(mrNo);
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(GridCell(*grid, 1, 1), QStringLiteral("7"));
    DialogScript::Instance().AnswerMessage(mrYes);
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(GridCell(*grid, 1, 1), QStringLiteral("1,5"));
    EXPECT_EQ(Shown().last(), GetString(660, { QStringLiteral("7"), QStringLiteral("1,5") }));

    SetClipboardText(QStringLiteral("word"));
    DialogScript::Instance().AnswerMessage(mrCancel);
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(Shown().last(), GetString(661, { QStringLiteral("word") }));
    EXPECT_EQ(GridCell(*grid, 1, 1), QStringLiteral("1,5"));
}

TEST_F(SourceDialogEditLevel, AChosenColumnIsInsertedBeforeTheCurrentRowInOrder)
{
    EditMode = 2;
    TfOrvek6& d = OpenSeries({ QStringLiteral("5") });
    QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
    grid->setCurrentCell(1, 1);
    SetClipboardText(QStringLiteral("10  20\r\n30  40\r\n"));
    ChooseInImportList(2, "Button_Insert");
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(Column(*grid, 1, 4),
        (QStringList { QStringLiteral("20"), QStringLiteral("40"), QStringLiteral("5"), QString() }));
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_TRUE(grid->isVisibleTo(&d));
}

TEST_F(SourceDialogEditLevel, APairPasteTakesTheColumnToTheRightAsTheUncertainty)
{
    EditMode = 2;
    TfOrvek6& d = OpenExisting(Method(14));
    QTableWidget* grid = d.Page10.StringGrid_VlastneMeranie_10;
    grid->setCurrentCell(1, 1);
    SetClipboardText(QStringLiteral("1\t0,1\n2\t0,2\n"));
    ChooseInImportList(1, "Button_Overwrite");
    d.PasteReadingPairs(grid, QStringLiteral("paste"));
    EXPECT_EQ(Column(*grid, 1, 2), (QStringList { QStringLiteral("1"), QStringLiteral("2") }));
    EXPECT_EQ(Column(*grid, 2, 2), (QStringList { QStringLiteral("0,1"), QStringLiteral("0,2") }));
}

TEST_F(SourceDialogEditLevel, APasteThatWouldPassTheLastReadRowIsRefusedWhole)
{
    EditMode = 2;
    TfOrvek6& d = OpenSeries({ QStringLiteral("5") });
    QTableWidget* grid = d.Page3.StringGrid_VlastneMeranie_3;
    SetClipboardText(QStringLiteral("1\n2\n3"));

    // Overwrite from row 498 fills the last three rows.
    grid->setCurrentCell(498, 1);
    ChooseInImportList(1, "Button_Overwrite");
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(Column(*grid, 1, 500).mid(497),
        (QStringList { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3") }));
    EXPECT_EQ(grid->rowCount(), 501);

    // One row lower it would reach row 501: nothing changes.
    const QStringList before = Column(*grid, 1, 500);
    grid->setCurrentCell(499, 1);
    DialogScript::Instance().AnswerMessage(mrRetry);
    ChooseInImportList(1, "Button_Overwrite");
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(Shown().last(), GetString(22556, { 500, 501 }));
    EXPECT_EQ(Column(*grid, 1, 500), before);
    EXPECT_EQ(grid->rowCount(), 501);

    // Inserting would push the readings of rows 498 to 500 down: refused as well.
    grid->setCurrentCell(2, 1);
    DialogScript::Instance().AnswerMessage(mrRetry);
    ChooseInImportList(1, "Button_Insert");
    d.PasteReadings(grid, QStringLiteral("paste"));
    EXPECT_EQ(Column(*grid, 1, 500), before);
}

TEST_F(SourceDialogEditLevel, TheImportListKeepsItsWindowOpenUntilTheChosenColumnIsValid)
{
    TfImportList list;
    TPastedTable table;
    table.Rows = { { QStringLiteral("1"), QStringLiteral("x") }, { QStringLiteral("2"), QString() } };
    table.ColumnCount = 2;
    list.FillTable(table);

    list.FSelectedColumn = 0;
    DialogScript::Instance().AnswerMessage(mrRetry);
    EXPECT_FALSE(list.ConfirmChoice());
    EXPECT_EQ(Shown().last(), GetString(653));

    list.FSelectedColumn = 2;
    DialogScript::Instance().AnswerMessage(mrRetry);
    EXPECT_FALSE(list.ConfirmChoice());
    EXPECT_EQ(Shown().last(), GetString(22550, { 1, 2 }));
    EXPECT_EQ(list.FSelectedColumn, 0);
    EXPECT_EQ(list.StringGrid->currentRow(), 1);

    list.StringGrid->item(1, 2)->setText(QStringLiteral("3"));
    list.FSelectedColumn = 2;
    DialogScript::Instance().AnswerMessage(mrOk);
    EXPECT_FALSE(list.ConfirmChoice());
    EXPECT_EQ(Shown().last(), GetString(655, { 2, 2 }));

    list.FSelectedColumn = 1;
    EXPECT_TRUE(list.ConfirmChoice());
    list.Timer1Timer();
    EXPECT_TRUE(list.Button_Insert->isEnabled());
    // Selecting a data cell drops the choice and with it both buttons.
    list.show();
    const QRect cell = list.StringGrid->visualItemRect(list.StringGrid->item(2, 1));
    QTest::mouseClick(list.StringGrid->viewport(), Qt::LeftButton, {}, cell.center());
    list.Timer1Timer();
    EXPECT_EQ(list.FSelectedColumn, 0);
    EXPECT_FALSE(list.Button_Insert->isEnabled());
    EXPECT_FALSE(list.Button_Overwrite->isEnabled());
}

} // namespace
} // namespace orvek::test

namespace orvek::test {
namespace {

// Pictures for looking at the windows: written only when ORVEK_SHOTS names a folder.
TEST_F(SourceDialogEditLevel, Screens)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS names no folder";
    QDir().mkpath(folder);

    EditMode = 1;
    TVstupStandardnejNeistoty rec = Method(6);
    rec.VM_3.Text = QStringLiteral("10.01@10.03@9.98@");
    rec.PM_3 = 3;
    rec.VM_3.Lock = 1;
    rec.TSNLock = 1;
    TfOrvek6& d = OpenExisting(rec);
    d.show();
    QTest::qWait(50);
    d.grab().save(folder + QStringLiteral("/readings_locked.png"));

    TfImportList list;
    list.FillTable(SplitPastedReadings(QStringLiteral("1\t10,01\t0,2\n2\t10,03\t0,2\n3\t9,98\t0,3")));
    list.FSelectedColumn = 2;
    list.Prepare(QStringLiteral("Paste readings"));
    list.show();
    QTest::qWait(50);
    list.grab().save(folder + QStringLiteral("/import_list.png"));

    SourceQuantitySymbol = QStringLiteral("L");
    TfEditUncertaintyContition editor;
    editor.LoadCondition(QStringLiteral("CONDITION(if x<[2] then u=[0,1] else if x>=[2] and x<[5] then u=[VAR*0,05])"));
    editor.ApplyTexts();
    editor.show();
    QTest::qWait(50);
    editor.grab().save(folder + QStringLiteral("/condition_editor.png"));
    SourceQuantitySymbol.clear();
}

} // namespace
} // namespace orvek::test
