// The folder chooser driven as a user would: OK with the trailing separator, a new
// folder, a new folder that cannot be made, and the chooser shown for the program's
// folder routine. ORVEK_SHOTS=<folder> also saves a picture.

#include "core/common_vars.h"
#include "core/string_table.h"
#include "mainwindow/ui/directory_select.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/dialogs.h"
#include "platform/ui/widget_dialogs.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace orvek {
namespace {

using test::DialogScript;
using test::WhenShown;

class DirectorySelect : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        DialogScript::Instance().Reset();
        ASSERT_TRUE(temp.isValid());
        root = QDir(temp.path()).canonicalPath();
        ASSERT_TRUE(QDir(root).mkpath("backups"));
        QFile file(root + "/plain.txt");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void TearDown() override { EXPECT_TRUE(DialogScript::Instance().AllAnswered()); }

    static void AnswerNewFolder(const QString& name)
    {
        WhenShown<TfEditString>([name](TfEditString& d) {
            EXPECT_EQ(d.windowTitle(), GetString(495));
            QTest::keyClicks(d.Edit1, name);
            d.SpeedButton_OK->click();
        });
    }

    QTemporaryDir temp;
    QString root;
};

TEST_F(DirectorySelect, OkReturnsTheSelectedFolderWithATrailingSeparator)
{
    TfDirectorySelect w;
    w.FFolder = root + "/backups";
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) {
        EXPECT_EQ(d.windowTitle(), GetString(497));
        EXPECT_EQ(d.SpeedButton_Cancel->text(), GetString(4));
        EXPECT_EQ(d.PanelMask->text(), d.FFolder + " *.*");
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_EQ(w.exec(), 1);
    EXPECT_EQ(w.FFolder, root + "/backups/");

    // A folder that does not exist leaves the tree where it was.
    w.FFolder = root + "/missing";
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) { d.SpeedButton3->click(); });
    EXPECT_EQ(w.exec(), 1);
    EXPECT_EQ(w.FFolder, root + "/backups/");

    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(w.exec(), 2);
}

TEST_F(DirectorySelect, NewFolderIsMadeWithItsParentsAndSelected)
{
    TfDirectorySelect w;
    w.FFolder = root;
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) {
        AnswerNewFolder("year/month");
        d.SpeedButton2->click();
        d.SpeedButton3->click();
    });
    EXPECT_EQ(w.exec(), 1);
    EXPECT_TRUE(QDir(root + "/year/month").exists());
    EXPECT_EQ(w.FFolder, root + "/year/month/");

    // An empty name leaves the parent, which exists: no message.
    w.FFolder = root;
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) {
        AnswerNewFolder(QString());
        d.SpeedButton2->click();
        EXPECT_EQ(d.FFolder, d.CurrentPath() + "/");
        d.done(2);
    });
    w.exec();
    EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
}

TEST_F(DirectorySelect, AFolderThatCannotBeMadeShowsItsMessage)
{
    TfDirectorySelect w;
    w.FFolder = root;
    DialogScript::Instance().AnswerMessage(mrCancel);
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) {
        // The parent is a regular file.
        AnswerNewFolder("plain.txt/sub");
        d.SpeedButton2->click();
        d.done(2);
    });
    w.exec();
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(496) });
    EXPECT_EQ(w.FFolder, root);
}

TEST_F(DirectorySelect, IsWhatTheProgramsFolderRoutineShows)
{
    TfDirectorySelect w;
    fDirectorySelect = &w;
    WidgetDialogHandler widgets;
    DialogHandler* previous = SetDialogHandler(&widgets);
    SetFolderChooser(&ShowDirectorySelect);

    QString folder = root + "/backups";
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) { d.SpeedButton3->click(); });
    const bool chosen = SelectFolderDialog("Backup", folder);
    WhenShown<TfDirectorySelect>([](TfDirectorySelect& d) { d.SpeedButton_Cancel->click(); });
    QString cancelled = root;
    const bool cancelledChosen = SelectFolderDialog("Backup", cancelled);

    SetFolderChooser({});
    SetDialogHandler(previous);
    fDirectorySelect = nullptr;
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder, root + "/backups/");
    EXPECT_FALSE(cancelledChosen);
    EXPECT_EQ(cancelled, root);
}

TEST_F(DirectorySelect, Picture)
{
    const QString shots = qEnvironmentVariable("ORVEK_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS to a folder to save pictures";
    for (int i = 0; i < 3; ++i)
        QFile(root + QStringLiteral("/backups/Orvek_%1.zip").arg(i)).open(QIODevice::WriteOnly);
    TfDirectorySelect w;
    w.FFolder = root + "/backups";
    w.show();
    QTest::qWait(300);
    w.grab().save(shots + "/directory_select.png");
}

} // namespace
} // namespace orvek
