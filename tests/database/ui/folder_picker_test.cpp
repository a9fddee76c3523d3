#include "database/ui/db_tree_view.h"
#include "database/ui/list_of_folders.h"
#include "tests/database/ui/folder_tree_fixture.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

class FolderPicker : public test::FolderDatabase {
protected:
    void SetUp() override
    {
        test::FolderDatabase::SetUp();
        CurrentUserRights = 2;
        CurrentGroupID = 1;
        OtherExec("ALTER TABLE TreeDB ADD COLUMN IDDB2 VARCHAR(5) NOT NULL DEFAULT '0'");
        // Lab (2) with Scales (3) and Thermometers (4) below it; Store (5) beside it.
        AddFolders(
            { { "2", "0", "Lab" }, { "3", "2", "Scales" }, { "4", "2", "Thermometers" }, { "5", "0", "Store" } });
        picker = std::make_unique<TfListOfFolders>();
        picker->IDTable->TableName = "MeasureID1";
    }
    void TearDown() override
    {
        picker.reset();
        test::FolderDatabase::TearDown();
    }
    void Open(const QString& folder = "3")
    {
        picker->show();
        picker->OpenFolders(0, "TreeDB", folder, "IDDB1");
    }
    // A record of Group filed in Folder (column IDDB1); returns its ID.
    static int AddRecord(int group, const char* folder)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query, "INSERT INTO TreeDB (GroupID, IDDB1) VALUES (?, ?)", { group, folder }));
        return query.lastInsertId().toInt();
    }
    QString Selected() { return picker->DBTemplateView->GetNodeID(picker->DBTemplateView->currentItem()); }
    std::unique_ptr<TfListOfFolders> picker;
};

} // namespace

TEST_F(FolderPicker, OpensOnTheFolderAndReturnsTheChosenOne)
{
    picker->OpenFolders(0, "TreeDB", "4", "IDDB1");
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(Selected(), "4");
        picker->DBTemplateView->SelectNodeByID("5");
        picker->ButtonSelect->click();
    });
    EXPECT_EQ(picker->exec(), QDialog::Accepted);
    EXPECT_EQ(picker->IDTable->FieldText("ID"), "5");
    EXPECT_FALSE(picker->FoldersChanged);
}

TEST_F(FolderPicker, DeletingAFolderRefilesTheItemsOfItsSubtreeInTheCurrentGroupOnly)
{
    const int inLab = AddRecord(1, "2"), inScales = AddRecord(1, "3"), inThermometers = AddRecord(1, "4");
    const int inStore = AddRecord(1, "5");
    // Another group's items that happen to lie in folders with the same IDs stay.
    const int otherGroup = AddRecord(2, "3");
    Open();
    picker->DBTemplateView->SelectNodeByID("2");
    DialogScript::Instance().AnswerMessage(mrYes);
    picker->ActionDeleteFolder->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(873, { "Lab" }) + "\r\r" + GetString(876) });
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "5:0" }));
    const auto folderOf = [](int id) { return Row("TreeDB", id).value("IDDB1").toString(); };
    for (int id : { inLab, inScales, inThermometers })
        EXPECT_EQ(folderOf(id), "0") << id;
    EXPECT_EQ(folderOf(inStore), "5");
    EXPECT_EQ(folderOf(otherGroup), "3");
    EXPECT_TRUE(picker->FoldersChanged);
    EXPECT_EQ(picker->DBTemplateView->NodeByID("3"), nullptr);
    EXPECT_EQ(Selected(), "0"); // the deleted folder's parent
}

TEST_F(FolderPicker, TheFixedFoldersKeepTheirNamesAndStay)
{
    Open("0");
    picker->DBTemplateView->setFocus();
    // The Delete key runs the window's action, which refuses.
    DialogScript::Instance().AnswerMessage(mrCancel);
    QTest::keyClick(picker->DBTemplateView, Qt::Key_Delete);
    DialogScript::Instance().AnswerMessage(mrCancel);
    picker->ActionRenameFolder->trigger();
    picker->DBTemplateView->SelectNodeByID("1");
    DialogScript::Instance().AnswerMessage(mrCancel);
    picker->ActionDeleteFolder->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList({ GetString(835), GetString(875), GetString(835) }));
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0", "3:2", "4:2", "5:0" }));
    EXPECT_EQ(Query("SELECT Description FROM MeasureID1 WHERE ID IN ('0', '1') ORDER BY ID"),
        QStringList({ QString::fromUtf8("Nezaradené"), QString::fromUtf8("Vymazané") }));
    EXPECT_FALSE(picker->FoldersChanged);
}

TEST_F(FolderPicker, NewFoldersAndRenamingTakeOneLineAndASubFolderNeedsAName)
{
    Open("5");
    // A new top-level folder may be nameless; the name is cut at its first line break.
    DialogScript::Instance().AnswerInput("");
    picker->ActionInsertNewFolder->trigger();
    DialogScript::Instance().AnswerInput("Archive\r\nsecond line");
    picker->ActionInsertNewSub_folder->trigger();
    EXPECT_EQ(Query("SELECT ID || ':' || OwnerID || ':' || Description FROM MeasureID1 WHERE ID > '5' ORDER BY ID"),
        QStringList({ "6:0:", "7:6:Archive" }));
    EXPECT_EQ(Selected(), "7");
    // A nameless sub-folder is refused, and so is an empty new name.
    DialogScript::Instance().AnswerInput("   ");
    DialogScript::Instance().AnswerMessage(mrOk);
    picker->ActionInsertNewSub_folder->trigger();
    DialogScript::Instance().AnswerInput("");
    DialogScript::Instance().AnswerMessage(mrOk);
    picker->ActionRenameFolder->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList({ GetString(21600), GetString(21600) }));
    DialogScript::Instance().AnswerInput("Old records\nx");
    picker->ActionRenameFolder->trigger();
    EXPECT_EQ(Query("SELECT Description FROM MeasureID1 WHERE ID = '7'"), QStringList { "Old records" });
    EXPECT_EQ(picker->DBTemplateView->NodeByID("7")->text(0), "Old records");
    EXPECT_EQ(Query("SELECT count(*) FROM MeasureID1"), QStringList { "8" });
    EXPECT_TRUE(picker->FoldersChanged);
}

TEST_F(FolderPicker, AUserWithoutFolderRightsOnlyChooses)
{
    CurrentUserRights = 3;
    Open();
    for (QAction* action : { picker->ActionInsertNewFolder, picker->ActionInsertNewSub_folder,
             picker->ActionRenameFolder, picker->ActionDeleteFolder })
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_TRUE(picker->ActionExpandFolderStructure->isEnabled());
    EXPECT_FALSE(picker->DBTemplateView->HasOption(dtAutoDragMove));
    // The keys say why nothing happens.
    picker->DBTemplateView->setFocus();
    DialogScript::Instance().AnswerMessage(mrOk);
    QTest::keyClick(picker->DBTemplateView, Qt::Key_Delete);
    DialogScript::Instance().AnswerMessage(mrOk);
    QTest::keyClick(picker->DBTemplateView, Qt::Key_Insert);
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList({ GetString(21604), GetString(21604) }));
    EXPECT_EQ(FolderRows(), QStringList({ "0:", "1:", "2:0", "3:2", "4:2", "5:0" }));
}
