#include "database/ui/db_tree_view.h"
#include "tests/database/ui/folder_tree_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

// Passes the boxes on to the test script and keeps the buttons each one offered.
class ButtonRecorder : public DialogHandler {
public:
    ButtonRecorder() { previous_ = SetDialogHandler(this); }
    ~ButtonRecorder() override { SetDialogHandler(previous_); }
    std::vector<TMsgDlgButtons> buttons;

    int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons b, int help) override
    {
        buttons.push_back(b);
        return DialogScript::Instance().MessageDlg(text, type, b, help);
    }
    bool OpenFileDialog(FileDialogRequest&) override { return false; }
    bool SaveFileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(std::uint32_t&) override { return false; }
    bool FontDialog(QString&, int&) override { return false; }
    bool InputQuery(const QString& c, const QString& p, QString& v) override
    {
        return DialogScript::Instance().InputQuery(c, p, v);
    }

private:
    DialogHandler* previous_ = nullptr;
};

class FolderTree : public test::FolderDatabase {
protected:
    void SetUp() override
    {
        test::FolderDatabase::SetUp();
        tree.SetOptions(kFolderWindowTreeOptions);
        tree.setSortingEnabled(true);
        tree.resize(300, 400);
        tree.show();
    }
    void Open()
    {
        tree.SetDataSource(&folders);
        ASSERT_TRUE(folders.Open());
    }
    TTreeIDNode* Node(const QString& id) { return tree.NodeByID(id); }
    // The label editor open now (a closed one lingers until it is deleted).
    QLineEdit* LabelEditor()
    {
        for (QLineEdit* edit : tree.findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    // The node's ID and, below it, its children in display order: "2(3,4)".
    QString Shape(QTreeWidgetItem* node)
    {
        QString text = tree.GetNodeID(node);
        if (node->childCount() == 0)
            return text;
        QStringList children;
        for (int i = 0; i < node->childCount(); ++i)
            children << Shape(node->child(i));
        return text + "(" + children.join(',') + ")";
    }
    QString Shape()
    {
        QStringList tops;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            tops << Shape(tree.topLevelItem(i));
        return tops.join(' ');
    }
    TDBTreeView tree;
};

} // namespace

TEST_F(FolderTree, BuildsRowsOwnersAndLoopsAndNumbersTheFirstNewFolder)
{
    // Only the fixed folders: two top-level nodes with root lines; the first new one is "2".
    Open();
    EXPECT_EQ(Shape(), "0 1");
    EXPECT_TRUE(tree.rootIsDecorated());
    tree.setCurrentItem(Node("0"));
    tree.DefaultNewName = "Lab";
    tree.InsertNode(true);
    ASSERT_TRUE(folders.Post());
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0" }));
    EXPECT_EQ(Shape(), "0(2) 1");
    EXPECT_EQ(tree.currentItem(), Node("2"));

    // A missing owner and a circle of owners: all shown, the circle at the top level.
    folders.Close();
    AddFolders({ { "5", "77", "orphan" }, { "6", "7", "six" }, { "7", "6", "seven" } });
    int loops = 0;
    tree.OnClosedLoop = [&](TDBTreeView*) { ++loops; };
    ASSERT_TRUE(folders.Open());
    EXPECT_EQ(Shape(), "0(2) 5 6(7) 1"); // by text: Nezaradené, orphan, six, Vymazané
    EXPECT_EQ(loops, 1);
}

TEST_F(FolderTree, RootIDAndAFlatList)
{
    AddFolders({ { "2", "0", "Lab" }, { "3", "2", "Váhy" }, { "4", "3", "Analytické" } });
    Open();
    int missing = 0;
    tree.OnRootNotFound = [&](TDBTreeView*) { ++missing; };
    tree.SetRootID("2");
    EXPECT_EQ(Shape(), "2(3(4))");
    tree.SetRootID("77"); // no such row: its children (none) are the top level
    EXPECT_EQ(Shape(), "");
    EXPECT_EQ(missing, 1);
    tree.SetRootID("");
    tree.SetTableParentField("");
    EXPECT_EQ(Shape(), "4 2 0 3 1"); // by text: Analytické, Lab, Nezaradené, Váhy, Vymazané
}

TEST_F(FolderTree, TwoWorkstationsAddingAtOnceGetDifferentIDs)
{
    Open();
    tree.setCurrentItem(Node("0"));
    tree.DefaultNewName = "Mine";
    tree.InsertNode(true);
    // Another workstation posts folder "2" before this one does.
    AddFolders({ { "2", "0", "Theirs" } });
    ASSERT_TRUE(folders.Post());
    EXPECT_EQ(Query("SELECT ID || '=' || Description FROM MeasureID1 WHERE ID > '1' ORDER BY ID"),
        QStringList({ "2=Theirs", "3=Mine" }));
    EXPECT_EQ(Shape(), "0(3,2) 1"); // by text: Mine, Theirs
    EXPECT_EQ(tree.GetNodeID(tree.currentItem()), "3");
}

TEST_F(FolderTree, PositioningTheTableSelectsTheNodeAndRunsTheChangeHandler)
{
    AddFolders({ { "2", "0", "Lab" }, { "3", "2", "Váhy" }, { "4", "2", "Teplomery" } });
    Open();
    QStringList changes;
    tree.OnChange = [&](QTreeWidgetItem* node) { changes << tree.GetNodeID(node); };
    ASSERT_TRUE(folders.FindKey("3"));
    EXPECT_EQ(tree.GetNodeID(tree.currentItem()), "3");
    EXPECT_EQ(changes, QStringList { "3" });
    // And back: selecting a node moves the table.
    tree.SelectNodeByID("4");
    EXPECT_EQ(folders.FieldText("ID"), "4");
    EXPECT_EQ(changes, QStringList({ "3", "4" }));
}

TEST_F(FolderTree, ARenameElsewhereChangesOnlyThatNodeAndAnAddKeepsTheExpansion)
{
    AddFolders({ { "2", "0", "Lab" }, { "3", "2", "Váhy" }, { "4", "1", "Staré" }, { "5", "4", "Archív" } });
    Open();
    Node("4")->setExpanded(false);
    tree.SelectNodeByID("3");
    QTreeWidgetItem* lab = Node("2");
    QTreeWidgetItem* scales = Node("3");

    OtherExec("UPDATE MeasureID1 SET Description = ? WHERE ID = '3'", { QString::fromUtf8("Váhy a závažia") });
    ASSERT_TRUE(QTest::qWaitFor([&] { return scales->text(0) == QString::fromUtf8("Váhy a závažia"); }, 5000));
    // The same nodes: no full build.
    EXPECT_EQ(Node("2"), lab);
    EXPECT_EQ(Node("3"), scales);
    EXPECT_FALSE(Node("4")->isExpanded());
    EXPECT_EQ(tree.currentItem(), scales);

    // A new folder elsewhere builds the tree again, keeping expansion and selection.
    AddFolders({ { "6", "2", "Tlakomery" } });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Node("6") != nullptr; }, 5000));
    EXPECT_EQ(Shape(), "0(2(6,3)) 1(4(5))");
    EXPECT_TRUE(Node("2")->isExpanded());
    EXPECT_FALSE(Node("4")->isExpanded());
    EXPECT_EQ(tree.GetNodeID(tree.currentItem()), "3");
}

TEST_F(FolderTree, AMoveOntoADescendantIsRefused)
{
    AddFolders({ { "2", "0", "Lab" }, { "3", "2", "Váhy" }, { "4", "3", "Analytické" }, { "5", "0", "Sklad" } });
    Open();
    DialogScript::Instance().AnswerMessage(mrOk);
    EXPECT_FALSE(tree.MoveNode(Node("2"), Node("4"), TNodeAttachMode::naAddChild));
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(21602) });
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0", "3:2", "4:3", "5:0" }));
    // Onto its own parent nothing happens; onto another folder the parent ID is written.
    EXPECT_FALSE(tree.MoveNode(Node("3"), Node("2"), TNodeAttachMode::naAddChild));
    EXPECT_TRUE(tree.MoveNode(Node("3"), Node("5"), TNodeAttachMode::naAddChild));
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0", "3:5", "4:3", "5:0" }));
    EXPECT_EQ(Shape(), "0(2,5(3(4))) 1");
    // To the top level: the parent is cleared.
    EXPECT_TRUE(tree.MoveNode(Node("3"), nullptr, TNodeAttachMode::naAddChild));
    EXPECT_EQ(Query("SELECT OwnerID FROM MeasureID1 WHERE ID = '3'"), QStringList { "" });
}

TEST_F(FolderTree, DeleteGoesDeepestFirstAndAllStopsTheAsking)
{
    struct Case {
        const char* name;
        std::vector<int> answers;
        QStringList deleted; // in order
        std::vector<TMsgDlgButtons> offered;
    };
    const Case cases[] = {
        { "All at the first box", { mrAll }, { "4", "3", "5", "2" }, { mbOK | mbAll | mbCancel } },
        { "OK three times, then Cancel", { mrOk, mrOk, mrOk, mrCancel }, { "4", "3" },
            { mbOK | mbAll | mbCancel, mbOK | mbAll | mbCancel, mbOKCancel, mbOKCancel } },
        { "Cancel at once", { mrCancel }, {}, { mbOK | mbAll | mbCancel } },
    };
    AddFolders({ { "2", "0", "A" }, { "3", "2", "B" }, { "4", "3", "C" }, { "5", "2", "D" } });
    QStringList deleted;
    folders.BeforeDelete = [&](FolderTableCursor& d) { deleted << d.FieldText("ID"); };
    tree.SetOption(dtConfirmDelete, true);
    Open();
    for (const Case& c : cases) {
        DialogScript::Instance().Reset();
        deleted.clear();
        ButtonRecorder recorder;
        for (int answer : c.answers)
            DialogScript::Instance().AnswerMessage(answer);
        tree.SelectNodeByID("2");
        tree.DeleteSelected();
        EXPECT_EQ(deleted, c.deleted) << c.name;
        EXPECT_EQ(recorder.buttons, c.offered) << c.name;
        EXPECT_TRUE(DialogScript::Instance().AllAnswered()) << c.name;
        for (const QString& text : DialogScript::Instance().Shown())
            EXPECT_EQ(text, "Do you want to Delete ?") << c.name;
        for (const QString& id : c.deleted)
            EXPECT_EQ(Node(id), nullptr) << c.name;
        EXPECT_EQ(folders.FieldText("ID"), tree.GetNodeID(tree.currentItem())) << c.name;
        // Put back what went.
        folders.Close();
        OtherExec("DELETE FROM MeasureID1 WHERE ID > '1'");
        AddFolders({ { "2", "0", "A" }, { "3", "2", "B" }, { "4", "3", "C" }, { "5", "2", "D" } });
        ASSERT_TRUE(folders.Open());
    }
}

TEST_F(FolderTree, KeysCallTheWindowsActionsAndWriteNothingThemselves)
{
    AddFolders({ { "2", "0", "Lab" } });
    Open();
    tree.setFocus();
    tree.SelectNodeByID("2");
    QTest::keyClick(&tree, Qt::Key_Delete);
    QTest::keyClick(&tree, Qt::Key_Insert);
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0" }));
    QStringList calls;
    tree.OnDeleteKey = [&] { calls << "delete"; };
    tree.OnInsertKey = [&](bool asChild) { calls << (asChild ? "insert child" : "insert"); };
    QTest::keyClick(&tree, Qt::Key_Delete);
    QTest::keyClick(&tree, Qt::Key_Insert);
    QTest::keyClick(&tree, Qt::Key_Insert, Qt::ShiftModifier);
    tree.SetOption(dtAllowDelete, false);
    QTest::keyClick(&tree, Qt::Key_Delete);
    EXPECT_EQ(calls, QStringList({ "delete", "insert", "insert child" }));
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0" }));
}

TEST_F(FolderTree, ALabelEditRenamesTheRowAndEscapeDropsANewNode)
{
    AddFolders({ { "2", "0", "Lab" } });
    Open();
    tree.activateWindow();
    tree.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.hasFocus(); }, 5000));
    tree.SelectNodeByID("2");
    tree.editItem(Node("2"));
    QLineEdit* editor = LabelEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText("Kalibrácia");
    QTest::keyClick(editor, Qt::Key_Return); // the editor closes after the key is handled
    ASSERT_TRUE(QTest::qWaitFor([&] { return folders.State() == TDataSetState::dsBrowse; }, 5000));
    EXPECT_EQ(Query("SELECT Description FROM MeasureID1 WHERE ID = '2'"), QStringList { "Kalibrácia" });
    EXPECT_EQ(folders.State(), TDataSetState::dsBrowse);

    // A new node whose label edit is cancelled goes with its row.
    tree.DefaultNewName = "New";
    tree.InsertNode(true);
    ASSERT_EQ(folders.State(), TDataSetState::dsInsert);
    editor = LabelEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return folders.State() == TDataSetState::dsBrowse; }, 5000));
    EXPECT_EQ(Node("3"), nullptr);
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0" }));

    // The windows refuse label editing.
    tree.OnEditing = [](QTreeWidgetItem*) { return false; };
    tree.editItem(Node("2"));
    EXPECT_EQ(folders.State(), TDataSetState::dsBrowse);
}
