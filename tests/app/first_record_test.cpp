// A new user's first hour: a template made from an equation, a record made from it,
// values typed in the summary of quantities, the program closed with Yes to saving, and
// the values there after a restart.

#include "database/data_module.h"
#include "database/template_document.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/template_window.h"
#include "engine/cell.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/equation_cell_dialog.h"
#include "mainwindow/ui/table_quantities.h"
#include "platform/sql_database.h"
#include "platform/ui/rich_edit98.h"
#include "tests/app/first_hour_steps.h"
#include "tests/app/program_fixture.h"

#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>

#include <memory>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::HandOverAsRecord;
using orvek::test::NewTemplateFromEquation;
using orvek::test::ProgramTest;
using orvek::test::TypeQuantityValues;
using orvek::test::WhenShown;

namespace {

class FirstRecord : public ProgramTest {
protected:
    // In the template window opened for the pick: a new template from "y = a + b",
    // handed over as a record named Name.
    static void MakeTemplateAndHandOver(const QString& name)
    {
        WhenShown<TfOrvekDB>([name](TfOrvekDB& window) {
            NewTemplateFromEquation(window, "y", "a + b");
            HandOverAsRecord(window, name);
        });
    }
    // The summary of quantities answered with the values of a and b.
    static void TypeValues(const QString& a, const QString& b) { TypeQuantityValues({ { "a", a }, { "b", b } }); }
    TCell* Root() { return Main().Document().RootCell; }
};

TEST_F(FirstRecord, TheFirstRecordOfANewDatabaseSavesAndIsThereAfterARestart)
{
    StartAsAdministrator();
    MakeTemplateAndHandOver("first");
    TypeValues("2", "3");
    // The sources have no values yet: the question after the summary is answered No.
    DialogScript::Instance().AnswerMessage(mrNo);
    Action("ActionNewRecFromTemplateTree")->trigger();
    ASSERT_NE(Root(), nullptr);
    ASSERT_EQ(Root()->ChildCount(), 2);
    EXPECT_EQ(Root()->Child(0)->FValue.Text, "2");
    const int recordId = CurrentRecordID;
    ASSERT_GT(recordId, 0);

    // The timer stores the change with its history row; nothing is refused.
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().Document().FModified && !CellTreeChanged; }, 5000));
    EXPECT_EQ(Shown().size(), 2) << Shown().join(" | ").toStdString();

    // A later change, then the program is closed: Yes to ending it and to saving.
    Root()->Child(1)->FValue.Text = "4";
    Main().Document().FModified = true;
    DialogScript::Instance().AnswerMessage(mrYes);
    DialogScript::Instance().AnswerMessage(mrYes);
    EXPECT_TRUE(Main().close());
    Stop();

    // The next start shows the record with both values.
    Start();
    AnswerLogin("admin", "heslo1");
    ShowAndWaitForLogin();
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Root() && CurrentRecordID == recordId; }, 5000));
    ASSERT_EQ(Root()->ChildCount(), 2);
    EXPECT_EQ(Root()->Child(0)->FValue.Text, "2");
    EXPECT_EQ(Root()->Child(1)->FValue.Text, "4");
}

TEST_F(FirstRecord, ARecordSavesAfterTheTemplateWindowShowedATemplate)
{
    StartAsAdministrator();
    MakeTemplateAndHandOver("first");
    TypeValues("2", "3");
    DialogScript::Instance().AnswerMessage(mrNo);
    Action("ActionNewRecFromTemplateTree")->trigger();
    ASSERT_NE(Root(), nullptr);
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().Document().FModified && !CellTreeChanged; }, 5000));
    // A few more stored changes take the record's change counter past the template's.
    for (const char* value : { "6", "7", "8" }) {
        Root()->Child(1)->FValue.Text = value;
        CellTreeChanged = true;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().Document().FModified && !CellTreeChanged; }, 5000));
    }

    // The template window shows the template (its counter in the shared state) and is
    // cancelled; the record's next change is stored all the same.
    WhenShown<TfOrvekDB>([](TfOrvekDB& window) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window.Document().RootCell && window.Document().RootCell->ChildCount() > 0; }, 5000));
        window.reject();
    });
    Action("ActionNewRecFromTemplateTree")->trigger();
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Main(); }, 5000));
    Root()->Child(0)->FValue.Text = "5";
    CellTreeChanged = true;
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().Document().FModified && !CellTreeChanged; }, 5000));
    EXPECT_EQ(Shown().size(), 2) << Shown().join(" | ").toStdString();
}

TEST_F(FirstRecord, TheTemplateWindowKeepsItsUndoWhileAReaderHoldsTheTemporaryDatabase)
{
    StartAsAdministrator();
    WhenShown<TfOrvekDB>([](TfOrvekDB& window) {
        NewTemplateFromEquation(window, "y", "a + b");

        // Another cursor reads the temporary folder's shared database and keeps reading.
        QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
        reader.setDatabaseName(FolderDatabasePath(TempDir));
        ASSERT_TRUE(reader.open());
        {
            QSqlQuery hold(reader);
            ASSERT_TRUE(hold.exec("BEGIN"));
            ASSERT_TRUE(hold.exec("SELECT name FROM sqlite_master"));
            hold.next();

            // Two changes of the template: each is a state the history keeps.
            for (const char* value : { "1", "2" }) {
                window.Document().RootCell->Child(0)->FValue.Text = value;
                CellTreeChanged = true;
                ASSERT_TRUE(QTest::qWaitFor([] { return !CellTreeChanged; }, 5000));
            }
            EXPECT_TRUE(window.Document().CanUndo());
            EXPECT_GE(window.Document().UndoTable().RowCount(), 2);
            EXPECT_EQ(window.TemplateCount, 1);
        }
        reader.close();
        window.reject();
    });
    Action("ActionNewRecFromTemplateTree")->trigger();
    EXPECT_EQ(Shown().size(), 1) << Shown().join(" | ").toStdString();
    QSqlDatabase::removeDatabase("reader");
}

// A reader that holds the temporary folder's shared database: a cursor in an open read
// transaction on another connection, as another list or another process holds it.
class HeldTemporaryDatabase {
public:
    HeldTemporaryDatabase()
    {
        QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
        reader.setDatabaseName(FolderDatabasePath(TempDir));
        EXPECT_TRUE(reader.open());
        hold_ = std::make_unique<QSqlQuery>(reader);
        EXPECT_TRUE(hold_->exec("BEGIN"));
        EXPECT_TRUE(hold_->exec("SELECT name FROM sqlite_master"));
        hold_->next();
    }
    ~HeldTemporaryDatabase()
    {
        hold_.reset();
        QSqlDatabase::database("reader", false).close();
        QSqlDatabase::removeDatabase("reader");
    }

private:
    std::unique_ptr<QSqlQuery> hold_;
};

// Records in the list of the main window, a reader holding the temporary database: the
// template window still lists the template, keeps its undo, and after a restart (the
// reader still there) lists it again.
TEST_F(FirstRecord, TheTemplateListAndItsUndoSurviveAHeldTemporaryDatabaseAndARestart)
{
    StartAsAdministrator();
    MakeTemplateAndHandOver("first");
    TypeValues("2", "3");
    DialogScript::Instance().AnswerMessage(mrNo);
    Action("ActionNewRecFromTemplateTree")->trigger();
    ASSERT_NE(Root(), nullptr);
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().Document().FModified && !CellTreeChanged; }, 5000));

    HeldTemporaryDatabase held;
    const auto listsTheTemplate = [](bool changeIt) {
        WhenShown<TfOrvekDB>([changeIt](TfOrvekDB& window) {
            window.activateWindow();
            // The window shows an empty root until the listed template is loaded.
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return window.Document().RootCell && window.Document().RootCell->ChildCount() > 0; }, 10000));
            EXPECT_EQ(window.ListRowCount(), 1);
            EXPECT_EQ(window.Panel_Template_RecNo->text(), "1/1");
            if (changeIt) {
                for (const char* value : { "1", "2" }) {
                    window.Document().RootCell->Child(0)->FValue.Text = value;
                    CellTreeChanged = true;
                    ASSERT_TRUE(QTest::qWaitFor([] { return !CellTreeChanged; }, 10000));
                }
                EXPECT_TRUE(window.Document().CanUndo());
            }
            window.reject();
        });
    };
    listsTheTemplate(true);
    Action("ActionNewRecFromTemplateTree")->trigger();
    Main().activateWindow();

    // Yes to closing the program; it starts again with the reader still there.
    DialogScript::Instance().AnswerMessage(mrYes);
    EXPECT_TRUE(Main().close());
    Stop();
    Start();
    AnswerLogin("admin", "heslo1");
    ShowAndWaitForLogin();
    Main().activateWindow();
    listsTheTemplate(false);
    Action("ActionNewRecFromTemplateTree")->trigger();
}

} // namespace
