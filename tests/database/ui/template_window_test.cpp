// The template window driven as a user drives it, on a copy of the empty database:
// templates filed in a three-level folder tree, loaded and edited through the tick,
// stored or refused, searched, grouped, and its actions by rights.

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/template_document.h"
#include "database/template_list.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/input_search_string.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "richtext/report_texts.h"
#include "tests/database/ui/folder_tree_fixture.h"
#include "tests/support/template_service_doubles.h"
#include "tests/support/window_service_doubles.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace orvek;

namespace {

// y = a + b; A gives the value of a, and each input has one source of uncertainty.
QString ModelText(const QString& a)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = "y = a + b";
    info.NormalizedEquation = "y=a+b";
    info.Coverage = 1;
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const auto& [symbol, value] : { std::pair { QString("a"), a }, std::pair { QString("b"), QString("2") } }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = value;
        TCell* quantity = root.AddChild(q);
        TPrenosInfoDoNovejBunky s;
        s.CellType = kUncertaintyCell;
        s.CellName = "repeatability of " + symbol;
        s.Active = 1;
        s.UncertaintyInput.TSN = 3;
        s.UncertaintyInput.SO_2_3.Text = "0.1";
        s.UncertaintyInput.PSV_2_3.Text = "Nekonecno";
        s.UncertaintyInput.HSN = "0.1";
        quantity->AddChild(s);
    }
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

// The value of input a in a stored diagram text; "?" when the text does not read.
QString ValueOfA(const QString& text)
{
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!root.LoadFromDevice(buffer) || root.ChildCount() < 1)
        return "?";
    return root.Child(0)->FValue.Text;
}

class TemplateWindow : public test::FolderDatabase {
protected:
    void SetUp() override
    {
        test::FolderDatabase::SetUp();
        eva = AddUser("eva", "heslo1", 2, 1, 1, "Eva", QString::fromUtf8("Nová"));
        CurrentUserID = eva;
        CurrentUserRights = 2;
        CurrentGroupID = 1;
        CurrentUserName = QString::fromUtf8("Eva Nová");
        HighlightMode = 0;
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        MoreGroupsOfFolders = true;
        // Three levels below the fixed folders.
        for (const test::FolderRow& row : { test::FolderRow { "2", "", "Hmotnosť" }, { "3", "2", "Váhy" },
                 { "4", "3", "Analytické váhy" }, { "5", "", "Teplota" } })
            OtherExec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES (?, ?, ?)",
                { row.id, row.owner, QString::fromUtf8(row.text) });
        first = AddTemplate("Kalibrácia váh", "4", ModelText("1"));
        second = AddTemplate("50% č_roztok", "4", ModelText("10"));
        third = AddTemplate("500 g závažie", "2", ModelText("100"));
        window = std::make_unique<TfOrvekDB>();
        fOrvekDB = window.get();
    }
    void TearDown() override
    {
        window.reset();
        fOrvekDB = nullptr;
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
        test::DialogScript::Instance().Reset();
        TreeLoadInProgress = false;
        CellTreeChanged = false;
        EditMode = HighlightMode = 0;
        MoreGroupsOfFolders = false;
        ClearCellCommands();
        test::FolderDatabase::TearDown();
    }
    static int AddTemplate(const char* name, const char* folder, const QString& text)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query,
            "INSERT INTO TemplateDB (GroupID, TemplateName, CreatedBy, CreateDate, MainEquation, IDDB1, Strom) "
            "VALUES (1, ?, 'Eva Nová', '2026-03-09', 'y = a + b', ?, ?)",
            { QString::fromUtf8(name), folder, text }));
        return query.lastInsertId().toInt();
    }
    static QString StoredA(int id) { return ValueOfA(Row("TemplateDB", id)["Strom"].toString()); }

    // Prepares the pick on folder Folder, shows the window in front and waits until the
    // tick has loaded the list's current template.
    void Open(const QString& folder = "4")
    {
        window->PrepareTemplatePick(0, "Templates");
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->IDTable_Template->FindKey(folder);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return CurrentTemplateID > 0 && CurrentTemplateID == window->CurrentRowID(); }, 5000));
    }
    QStringList ListedNames()
    {
        QStringList names;
        const QAbstractItemModel* model = window->DBGrid_Template->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->data(model->index(row, 0)).toString(); // the first column shows the name
        names.sort();
        return names;
    }
    TCell* Root() { return window->Document().RootCell; }
    // The user changes input a of the shown tree, as a cell dialog does.
    void EditA(const QString& value)
    {
        Root()->Child(0)->FValue.Text = value;
        CellTreeChanged = true;
    }

    test::ResultSummaryDouble summary;
    test::WaitWindowDouble wait;
    std::unique_ptr<TfOrvekDB> window;
    int eva = 0, first = 0, second = 0, third = 0;
};

TEST_F(TemplateWindow, AnEditIsStoredAtTheTickAndUndoneStatesAreStoredToo)
{
    Open();
    const int shown = CurrentTemplateID;
    ASSERT_GT(shown, 0);
    EXPECT_EQ(window->Panel_Template_RecNo->text(), "1/2");
    EXPECT_TRUE(window->RichEdit_Rovnice_Template->toPlainText().contains("y = a+b"));
    EXPECT_FALSE(window->ActionUndo->isEnabled());

    EditA("7");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StoredA(shown) == "7"; }, 5000));
    EXPECT_TRUE(window->ActionUndo->isEnabled());
    EXPECT_FALSE(window->ActionRedo->isEnabled());

    EditA("8");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StoredA(shown) == "8"; }, 5000));
    window->ActionUndo->trigger();
    EXPECT_EQ(Root()->Child(0)->FValue.Text, "7");
    EXPECT_TRUE(window->ActionUndo->isEnabled());
    EXPECT_TRUE(window->ActionRedo->isEnabled());

    // A new change after an undo drops the undone state.
    EditA("9");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StoredA(shown) == "9"; }, 5000));
    EXPECT_FALSE(window->ActionRedo->isEnabled());
    window->ActionUndo->trigger();
    EXPECT_EQ(Root()->Child(0)->FValue.Text, "7");
    EXPECT_TRUE(window->ActionRedo->isEnabled());

    // The state an undo reached is stored when the window closes, though it is neither
    // the first nor the last.
    window->MenuExit->trigger();
    EXPECT_EQ(window->result(), kTemplateWindowCancel);
    EXPECT_EQ(StoredA(shown), "7");
    EXPECT_EQ(Row("TemplateDB", shown)["OpenedByUserID"].toInt(), 0);
}

TEST_F(TemplateWindow, AStoreRefusedAfterAnotherSaveWritesNothingAndKeepsTheEditReadOnly)
{
    Open();
    const int shown = CurrentTemplateID;
    ASSERT_TRUE(window->ActionEditovatObsahBunky->isEnabled());
    // Another workstation stores the template after it was loaded here.
    OtherExec("UPDATE TemplateDB SET Strom = ? WHERE ID = ?", { ModelText("55"), shown });

    test::DialogScript::Instance().AnswerMessage(mrOk);
    EditA("7");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Document().TemplateReadOnly; }, 5000));
    EXPECT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(test::DialogScript::Instance().Shown().value(0).contains(GetString(21706)));
    EXPECT_EQ(StoredA(shown), "55");
    EXPECT_EQ(Root()->Child(0)->FValue.Text, "7");
    EXPECT_FALSE(window->ActionEditovatObsahBunky->isEnabled());
    EXPECT_FALSE(window->ActionNeistotaNova->isEnabled());

    // Nothing is stored at close either, and no second box is shown.
    window->MenuExit->trigger();
    EXPECT_EQ(StoredA(shown), "55");
    EXPECT_EQ(test::DialogScript::Instance().Shown().size(), 1);
}

TEST_F(TemplateWindow, FolderTreeListsItsTemplatesAndTheSearchMatchesLiterally)
{
    Open("4");
    EXPECT_EQ(ListedNames(), QStringList({ QString::fromUtf8("50% č_roztok"), QString::fromUtf8("Kalibrácia váh") }));
    ASSERT_NE(window->DBTemplateView->NodeByID("4"), nullptr);
    EXPECT_EQ(window->DBTemplateView->NodeByID("4")->parent(), window->DBTemplateView->NodeByID("3"));

    // Choosing another folder in the tree lists its templates.
    window->DBTemplateView->SelectNodeByID("2");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ListedNames() == QStringList({ QString::fromUtf8("500 g závažie") }); }, 2000));

    // "50%" over all folders finds only the name that holds it as typed, in any case.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfInputSearchString1*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Edit_SearchString->setText(QString::fromUtf8("50% Č_"));
        dialog->RadioButton_Substring->setChecked(true);
        dialog->RadioButton_AllFolders->setChecked(true);
        dialog->Button_Search->click();
    });
    window->ActionSearchTemplates->trigger();
    EXPECT_TRUE(window->ActionSearchTemplates->isChecked());
    EXPECT_EQ(ListedNames(), QStringList({ QString::fromUtf8("50% č_roztok") }));
    EXPECT_FALSE(window->DBTemplateView->isEnabled());

    // Switched off, the list shows the folder of the template that was current.
    window->ActionSearchTemplates->trigger();
    EXPECT_FALSE(window->ActionSearchTemplates->isChecked());
    EXPECT_TRUE(window->DBTemplateView->isEnabled());
    EXPECT_EQ(ListedNames(), QStringList({ QString::fromUtf8("50% č_roztok"), QString::fromUtf8("Kalibrácia váh") }));
    EXPECT_EQ(window->CurrentRowID(), second);

    // All templates of the group, with the tree disabled meanwhile.
    window->ActionShowAllTemplates->trigger();
    EXPECT_EQ(ListedNames().size(), 3);
    EXPECT_FALSE(window->DBTemplateView->isEnabled());
    window->ActionShowAllTemplates->trigger();
    EXPECT_TRUE(window->DBTemplateView->isEnabled());

    // The search reads the first column: with the name moved away it is not offered, and
    // the moved column keeps its title.
    QHeaderView* header = window->DBGrid_Template->horizontalHeader();
    header->moveSection(0, 2);
    EXPECT_FALSE(window->ActionSearchTemplates->isEnabled());
    window->UpdateActions();
    EXPECT_FALSE(window->ActionSearchTemplates->isEnabled());
    window->RefreshTexts();
    EXPECT_EQ(window->DBGrid_Template->model()->headerData(header->logicalIndex(2), Qt::Horizontal).toString(),
        GetString(383));
    header->moveSection(2, 0);
    EXPECT_TRUE(window->ActionSearchTemplates->isEnabled());
}

// "+" and "-" open and close every folder, not only the current one; the fixed folders
// never move, also while moving is armed.
TEST_F(TemplateWindow, PlusAndMinusOpenAndCloseTheWholeTreeAndTheFixedFoldersStay)
{
    Open("4");
    TDBTreeView& tree = *window->DBTemplateView;
    tree.collapseAll();
    tree.setCurrentItem(tree.NodeByID("2"));
    tree.collapseAll();
    QTest::keyClick(&tree, Qt::Key_Plus);
    EXPECT_TRUE(tree.NodeByID("3")->isExpanded());
    tree.setCurrentItem(tree.NodeByID("4"));
    QTest::keyClick(&tree, Qt::Key_Minus);
    EXPECT_FALSE(tree.NodeByID("2")->isExpanded());
    EXPECT_FALSE(tree.NodeByID("3")->isExpanded());

    window->FormKeyDown(Qt::Key_Shift, Qt::ShiftModifier | Qt::ControlModifier, tree.mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(window->MovingEnabled);
    EXPECT_TRUE(tree.CanMoveNode(tree.NodeByID("5")));
    for (const char* fixed : { "0", "1" }) {
        EXPECT_FALSE(tree.CanMoveNode(tree.NodeByID(fixed))) << fixed;
        EXPECT_FALSE(tree.MoveNode(tree.NodeByID(fixed), tree.NodeByID("5"), TNodeAttachMode::naAddChild)) << fixed;
    }
    EXPECT_EQ(Query("SELECT ID FROM TemplateID1 WHERE OwnerID = '5'"), QStringList());
    // A folder may go to the top level while moving is armed.
    EXPECT_TRUE(tree.OnDragOver(&tree, nullptr));
    window->FormKeyUp(Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_FALSE(tree.OnDragOver(&tree, nullptr));
}

TEST_F(TemplateWindow, DeletingAFolderMovesItsSubtreesTemplatesToTheBin)
{
    Open("4");
    window->DBTemplateView->SelectNodeByID("2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->ListRowCount() == 1; }, 2000));
    test::DialogScript::Instance().AnswerMessage(mrYes);
    window->ActionDeleteFolder->trigger();
    for (int id : { first, second, third })
        EXPECT_EQ(Row("TemplateDB", id)["IDDB1"].toString(), "1") << id;
    EXPECT_EQ(Query("SELECT ID FROM TemplateID1 ORDER BY ID"), QStringList({ "0", "1", "5" }));

    // The fixed folders refuse.
    window->IDTable_Template->FindKey("1");
    test::DialogScript::Instance().AnswerMessage(mrCancel);
    window->ActionDeleteFolder->trigger();
    EXPECT_EQ(test::DialogScript::Instance().Shown().last(), GetString(835));
}

TEST_F(TemplateWindow, GroupsAreCreatedBesideTheCurrentOneAndProtected)
{
    Open();
    ASSERT_EQ(window->ComboBox_MainID->count(), 1);
    test::DialogScript::Instance().AnswerInput("Teplota");
    window->ActionNewGroupOfFolders->trigger();
    ASSERT_EQ(window->ComboBox_MainID->count(), 2);
    const int created = window->ComboBox_MainID->itemData(1).toInt();
    EXPECT_EQ(window->ComboBox_MainID->currentIndex(), 0);
    EXPECT_EQ(CurrentGroupID, 1);
    EXPECT_EQ(Count(TemplateFolderTable(created)), 2);

    // Group 1 holds the folder column of every template: refused, nothing changes.
    test::DialogScript::Instance().AnswerMessage(mrYes);
    test::DialogScript::Instance().AnswerMessage(mrOk);
    window->ActionDeleteGroupOfFolders->trigger();
    EXPECT_EQ(window->ComboBox_MainID->count(), 2);

    // Choosing the new group lists its (no) templates.
    window->ComboBox_MainID->setCurrentIndex(1);
    EXPECT_EQ(CurrentGroupID, created);
    EXPECT_EQ(window->ListRowCount(), 0);
    EXPECT_EQ(window->IDTable_Template->TableName, TemplateFolderTable(created));

    // An empty group goes, and the window returns to the first.
    test::DialogScript::Instance().AnswerMessage(mrYes);
    window->ActionDeleteGroupOfFolders->trigger();
    EXPECT_EQ(window->ComboBox_MainID->count(), 1);
    EXPECT_EQ(CurrentGroupID, 1);
    EXPECT_EQ(window->IDTable_Template->TableName, TemplateFolderTable(1));
}

TEST_F(TemplateWindow, ActionsFollowTheUsersRights)
{
    Open();
    const struct {
        int rights;
        bool folders, administrator, newTemplate, editCell;
    } cases[] = {
        { 1, true, true, true, true },
        { 2, true, true, true, true },
        { 3, false, false, true, true },
        { 0, false, false, false, false },
    };
    // A new template from an equation needs the equation dialog as well as the rights.
    test::EquationDialogDouble equations;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rights);
        CurrentUserRights = c.rights;
        window->UpdateActions();
        EXPECT_EQ(window->ActionInsertNewFolder->isEnabled(), c.folders);
        EXPECT_EQ(window->ActionDeleteFolder->isEnabled(), c.folders);
        EXPECT_EQ(window->menuAdministrator->menuAction()->isVisible(), c.administrator);
        EXPECT_EQ(window->ActionNewRecFromNewTree->isEnabled(), c.newTemplate);
        EXPECT_EQ(window->ActionEditovatObsahBunky->isEnabled(), c.editCell);
        EXPECT_TRUE(window->ActionStromZvacsit->isEnabled());
    }
    CurrentUserRights = 2;
    SetEquationDialogService(nullptr);
    window->UpdateActions();
    EXPECT_FALSE(window->ActionNewRecFromNewTree->isEnabled());
    EXPECT_TRUE(window->ActionNewRecFromFileTree->isEnabled());
    // The service page is the service login's only.
    EXPECT_FALSE(window->PageControl1->isTabVisible(window->PageControl1->indexOf(window->TabSheet_Service)));
    CurrentUserName = "Tulkarn";
    window->UpdateActions();
    EXPECT_TRUE(window->PageControl1->isTabVisible(window->PageControl1->indexOf(window->TabSheet_Service)));
}

TEST_F(TemplateWindow, OwnZoomComesBackOnActivationAndAPendingChangeIsStoredAtClose)
{
    Open();
    const int shown = CurrentTemplateID;
    window->ActionZoom_150->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ZoomCoefficient == 1.5; }, 2000));
    EXPECT_TRUE(window->windowTitle().endsWith("(150%)"));

    // The main window changes the shared zoom; the template window keeps its own.
    ZoomCoefficient = 0.5;
    ZoomPresetIndex = 1;
    window->FormActivate();
    EXPECT_EQ(ZoomCoefficient, 1.5);
    EXPECT_EQ(ZoomPresetIndex, 4);
    EXPECT_TRUE(window->ActionZoom_150->isChecked());

    // A change the tick has not served yet is stored before the tables close.
    window->Timer1->stop();
    Root()->Child(0)->FValue.Text = "12";
    CellTreeChanged = true;
    window->MenuExit->trigger();
    EXPECT_EQ(StoredA(shown), "12");
    EXPECT_FALSE(window->List().Active());
}

TEST_F(TemplateWindow, TextsFollowTheLanguageAndColumnTitlesTheirField)
{
    for (quint8 language : { 0, 1 }) {
        LanguageID = language;
        window->RefreshTexts();
        EXPECT_EQ(window->ActionUndo->text(), GetString(368));
        EXPECT_EQ(window->ActionZvyraznitLenNenaplnene->toolTip(), GetString(66));
        EXPECT_EQ(window->MenuFile->title(), GetString(79));
        EXPECT_EQ(window->PageControl1->tabText(0), GetString(345));
        EXPECT_EQ(window->ActionAboutProgram->text(), GetString(408) + " " + ProgramName);
        EXPECT_EQ(window->DBGrid_Template->model()->headerData(0, Qt::Horizontal).toString(), GetString(383));
    }
    LanguageID = 0;
}

TEST_F(TemplateWindow, Screenshots)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS is not set";
    for (quint8 language : { 0, 1 }) {
        LanguageID = language;
        window->RefreshTexts();
        Open();
        window->ActionExpandFolderStructure->trigger();
        ExpandTreeRequest = true;
        QTest::qWait(500);
        window->grab().save(folder + "/template-window" + (language == 0 ? "-en" : "-sk") + ".png");
        window->PageControl1->setCurrentWidget(window->TabSheet_Poznamky);
        QTest::qWait(300);
        window->grab().save(folder + "/template-short-report" + (language == 0 ? "-en" : "-sk") + ".png");
        window->MenuExit->trigger();
    }
    LanguageID = 0;
}

} // namespace
