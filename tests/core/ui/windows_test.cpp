#include "core/common_vars.h"
#include "core/help.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/edit_strings.h"
#include "core/ui/help_window.h"
#include "core/ui/label_3d.h"
#include "core/ui/message_window.h"
#include "core/ui/splash_window.h"
#include "core/ui/string_browser.h"
#include "core/ui/wait_window.h"
#include "platform/desktop.h"
#include "platform/sql_database.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// Saves a picture of Widget when ORVEK_SHOTS names a folder, for looking at windows.
void Shot(QWidget& widget, const char* name)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (!folder.isEmpty())
        widget.grab().save(folder + "/" + name + ".png");
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
        ProgramName = "Orvek2010";
    }
    void TearDown() override { LanguageID = EditionFlag; }
};

} // namespace

TEST_F(WindowTest, WaitCaptionShowsThePercentageOnlyWhenActive)
{
    EXPECT_EQ(WaitProgressCaption(1, 3), "  (33 %)");
    EXPECT_EQ(WaitProgressCaption(3, 3), "  (100 %)");
    EXPECT_EQ(WaitProgressCaption(0, 7), "  (0 %)");
    EXPECT_EQ(WaitProgressCaption(5, 0), "");

    TfWait wait;
    wait.Panel1->setText("Working");
    wait.setWindowTitle("Caller's caption");
    WaitProgressActive = false;
    wait.Timer1Timer();
    EXPECT_EQ(wait.windowTitle(), "Caller's caption");
    WaitProgressActive = true;
    WaitProgressTotal = 0; // no division by zero: the caption stays
    wait.Timer1Timer();
    EXPECT_EQ(wait.windowTitle(), "Caller's caption");
    WaitProgressTotal = 3;
    WaitProgressPosition = 1;
    wait.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wait.windowTitle() == "  (33 %)"; }, 2000));
    WaitCancelled = false;
    QTest::keyClick(&wait, Qt::Key_Escape);
    EXPECT_TRUE(WaitCancelled);
    EXPECT_TRUE(wait.isVisible());
    Shot(wait, "wait");
    wait.hide();
    EXPECT_FALSE(wait.Timer1->isActive());
    WaitProgressActive = false;
    WaitCancelled = false;
}

TEST_F(WindowTest, MessageWindowProgressAndCancel)
{
    TfMessageWindow window;
    window.show();
    EXPECT_EQ(window.height(), 105);
    const int height = window.height();
    const QPoint button = window.ButtonCancel->pos();
    window.SetupProgress(true, 5, 5); // Min >= Max changes nothing
    EXPECT_EQ(window.height(), height);
    EXPECT_EQ(window.ButtonCancel->pos(), button);

    window.SetupProgress(true, 1, 10);
    EXPECT_EQ(window.ProgressBar->minimum(), 1);
    EXPECT_EQ(window.ProgressBar->value(), 1);
    const QRect panel = window.Panel2->geometry();
    EXPECT_EQ(window.ButtonCancel->y(), panel.bottom() + 1 + panel.height() / 4);
    EXPECT_EQ(window.height(), window.ButtonCancel->y() + 2 * window.ButtonCancel->height());
    EXPECT_FALSE(window.StepProgress(4));
    EXPECT_EQ(window.ProgressBar->value(), 4);

    QTest::mouseClick(window.ButtonCancel, Qt::LeftButton);
    EXPECT_TRUE(window.StepProgress(5));
    window.hide();
    // The next job starts with the flag cleared, here without the Cancel button.
    window.ShowBatch("Next job", false);
    EXPECT_FALSE(BatchAborted);
    EXPECT_FALSE(window.ButtonCancel->isVisible());
    EXPECT_EQ(window.height(), 74);
    EXPECT_EQ(window.windowTitle(), "Next job");
    window.SetupProgress(false, 1, 3);
    EXPECT_EQ(window.height(), panel.bottom() + 1 + panel.height() / 2);
    window.HideBatch();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, SplashAndAboutShowPictureAndTexts)
{
    TfOrvekLoad splash;
    splash.show();
    EXPECT_TRUE(splash.HasPicture());
    EXPECT_EQ(splash.windowTitle(), GetString(408) + " Orvek2010");
    EXPECT_EQ(splash.Label_Version->text(), GetString(583) + ": 5.32 (" + GetString(1116) + ")");
    EXPECT_FALSE(GetString(583).isEmpty());
    Shot(splash, "splash");

    TfOrvekAbout about;
    about.show();
    EXPECT_TRUE(about.HasPicture());
    EXPECT_EQ(about.windowTitle(), splash.windowTitle());
    EXPECT_EQ(about.Label_TechnicalSupport->text(), GetString(771));
    EXPECT_EQ(about.RichEdit_Brantel->isVisible(), EditionFlag == 0);
    EXPECT_EQ(about.RichEdit_Kestrava->isVisible(), EditionFlag != 0);
    Shot(about, "about");
    QTest::mouseClick(about.Button_Close, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(WindowTest, MakerTextsFollowTheLanguage)
{
    const struct {
        quint8 language;
        const char *maker, *distributor;
    } cases[] = {
        { 0, "maker of the program", "distributor of the program" },
        { 1, "výrobca programu", "distribútor programu" },
        { 2, "výrobce programu", "distributor programu" },
    };
    for (const auto& c : cases) {
        LanguageID = c.language;
        TfOrvekAbout about;
        EXPECT_TRUE(about.RichEdit_Kestrava->toPlainText().contains(QString::fromUtf8(c.maker)))
            << about.RichEdit_Kestrava->toPlainText().toStdString();
        EXPECT_TRUE(about.RichEdit_Brantel->toPlainText().contains(QString::fromUtf8(c.distributor)))
            << about.RichEdit_Brantel->toPlainText().toStdString();
        // The footer of every printed page: both lines in the language.
        UpdatePreviewFooterVersion();
        EXPECT_EQ(PreviewFooterNotice, GetString(23770));
        EXPECT_TRUE(PreviewFooterNotice.contains(QString::fromUtf8(c.maker).section(' ', 0, 0), Qt::CaseInsensitive))
            << PreviewFooterNotice.toStdString();
        EXPECT_TRUE(PreviewFooterVersion.contains(GetString(405)));
    }
}

TEST_F(WindowTest, DamagedOrMissingPictureLeavesTheWindowsWithoutIt)
{
    // A program folder of its own, whose pictures are damaged or absent.
    AppDir = test::TestRoot() + "/broken/";
    QDir().mkpath(AppDir + "Pictures");
    QFile source(QDir::cleanPath(QStringLiteral(ORVEK_TEST_DATA_DIR) + "/../../data/Pictures/splash.jpg"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QFile damaged(AppDir + "Pictures/splash.jpg");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(source.readAll().left(3000));
    damaged.close();
    TfOrvekLoad splash;
    splash.show();
    EXPECT_FALSE(splash.HasPicture());
    EXPECT_TRUE(splash.isVisible());
    TfOrvekAbout about; // about.jpg is missing altogether
    EXPECT_FALSE(about.HasPicture());
}

namespace {

class BrowserTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AppDir = test::TestRoot() + "/browser/";
        QDir().mkpath(StringTableFolder());
        Import({ "1\tS1\tzebra\tčaj\tčaj", "2\tS2\tapple\tcukor\tcukr", "3\tS3\tmoon\tchlieb\tchléb",
            "4\tS4\tboat\thrad\thrad", "5\tS5\tČapek\tŽaba\tžába" });
    }
    void Import(const QStringList& lines)
    {
        const QString path = test::TestRoot() + "/browser.tsv";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(("ID\tStringID\tEnglish\tSlovak\tCzech\n" + lines.join('\n') + "\n").toUtf8());
        file.close();
        QString error;
        ASSERT_TRUE(ImportStringTable(path, StringTableFolder(), &error)) << error.toStdString();
    }
    static QStringList Column(TfOrvek2& browser, int column)
    {
        QStringList out;
        for (int r = 0; r < browser.Q_Strings->rowCount(); ++r)
            out << browser.Q_Strings->index(r, column).data().toString();
        return out;
    }
    // Answers the edit dialog once it is open with the two texts and OK or Cancel.
    static void AnswerEdit(TfEditStrings& dialog, const QString& english, const QString& slovak, bool ok)
    {
        QTimer::singleShot(0, &dialog, [&dialog, english, slovak, ok] {
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.isVisible(); }, 3000));
            dialog.Edit_English->setText(english);
            dialog.Edit_Slovak->setText(slovak);
            QTest::mouseClick(ok ? dialog.Button_OK : dialog.Button_Cancel, Qt::LeftButton);
        });
    }
};

} // namespace

TEST_F(BrowserTest, SortedByTheFirstColumnAndReSortedWhenAColumnMoves)
{
    TfOrvek2 browser;
    browser.show();
    browser.OpenStringList(0);
    EXPECT_EQ(Column(browser, 0), QStringList({ "apple", "boat", "Čapek", "moon", "zebra" }));
    EXPECT_EQ(browser.CurrentID(), 2);
    EXPECT_EQ(browser.Panel_RecNo->text(), "1/5");
    EXPECT_EQ(browser.NavNext->toolTip(), GetString(338));
    Shot(browser, "browser_english");

    // The user drags the Slovak column in front: the list follows the Slovak alphabet.
    QHeaderView* header = browser.DBGrid1->horizontalHeader();
    header->moveSection(header->visualIndex(1), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.GridColumns().first() == "Slovak"; }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Column(browser, 0).first() == "cukor"; }, 2000));
    EXPECT_EQ(Column(browser, 0),
        QStringList({ "cukor", QString::fromUtf8("čaj"), "hrad", "chlieb", QString::fromUtf8("Žaba") }));
    EXPECT_EQ(Column(browser, 1).first(), "apple");
    EXPECT_EQ(header->visualIndex(0), 0); // shown as the model now orders it
    EXPECT_EQ(browser.CurrentID(), 2); // still on the row that was current
    Shot(browser, "browser_slovak");

    browser.OpenStringList(3);
    EXPECT_EQ(browser.CurrentID(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.Panel_RecNo->text() == "4/5"; }, 2000));

    // Keys cannot add or delete rows; Down on the last row stays there.
    browser.NavLast->click();
    QTest::keyClick(browser.DBGrid1, Qt::Key_Down);
    QTest::keyClick(browser.DBGrid1, Qt::Key_Insert);
    QTest::keyClick(browser.DBGrid1, Qt::Key_Delete);
    EXPECT_EQ(browser.Q_Strings->rowCount(), 5);
    EXPECT_EQ(browser.DBGrid1->currentIndex().row(), 4);
    browser.NavPrior->click();
    EXPECT_EQ(browser.DBGrid1->currentIndex().row(), 3);
}

TEST_F(BrowserTest, EditPostsChangedTextsThatSurviveAReimport)
{
    TfEditStrings dialog;
    fEditStrings = &dialog;
    TfOrvek2 browser;
    browser.show();
    browser.OpenStringList(4);

    // OK without a change posts nothing.
    AnswerEdit(dialog, "boat", "hrad", true);
    browser.EditCurrentRow();
    EXPECT_FALSE(browser.StringsChanged);
    EXPECT_EQ(dialog.windowTitle(), GetString(730));
    EXPECT_EQ(dialog.Button_Cancel->text(), GetString(4));

    // Cancel posts nothing either.
    AnswerEdit(dialog, "ship", "loď", false);
    browser.EditCurrentRow();
    EXPECT_FALSE(browser.StringsChanged);
    EXPECT_EQ(GetString(4), "boat");

    AnswerEdit(dialog, "ship", QString::fromUtf8("loď"), true);
    browser.EditCurrentRow();
    EXPECT_TRUE(browser.StringsChanged);
    EXPECT_EQ(browser.CurrentID(), 4);
    EXPECT_EQ(GetString(4), "ship");
    LanguageID = 2;
    EXPECT_EQ(GetString(4), "hrad"); // the Czech text is not edited here
    LanguageID = 1;
    EXPECT_EQ(GetString(4), QString::fromUtf8("loď"));

    // A later import with unchanged sources keeps the edit.
    Import({ "1\tS1\tzebra\tčaj\tčaj", "2\tS2\tapple\tcukor\tcukr", "3\tS3\tmoon\tchlieb\tchléb",
        "4\tS4\tboat\thrad\thrad", "5\tS5\tČapek\tŽaba\tžába" });
    EXPECT_EQ(GetString(4), QString::fromUtf8("loď"));
    fEditStrings = nullptr;
}

TEST_F(BrowserTest, FailedPostIsShown)
{
    TfEditStrings dialog;
    fEditStrings = &dialog;
    TfOrvek2 browser;
    browser.show();
    browser.OpenStringList(1);
    // Another instance removed the row meanwhile.
    QSqlDatabase db = OpenFolderDatabase(kStringsConnection, StringTableFolder(), false);
    ASSERT_TRUE(PostStatement(db, "DELETE FROM Strings WHERE ID = 1"));
    test::DialogScript::Instance().AnswerMessage(mrOk);
    AnswerEdit(dialog, "zebra!", "čaj", true);
    browser.EditCurrentRow();
    EXPECT_FALSE(browser.StringsChanged);
    ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(test::DialogScript::Instance().Shown()[0].contains("1"));
    fEditStrings = nullptr;
}

TEST_F(WindowTest, HelpWindowShowsPagesAndFollowsTheirLinks)
{
    TfHelp help;
    LanguageID = 1;
    HelpBaseName = "Orvek";
    SetHelpService(&help);
    ShowHelpContents();
    SetHelpService(nullptr);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.Browser->source(), QUrl::fromLocalFile(AppDir + "help/Orvek_SK/index.html"));
    EXPECT_EQ(help.windowTitle(), QString::fromUtf8("Pomocník programu Orvek"));
    Q_EMIT help.Browser->anchorClicked(QUrl("program_strings.html"));
    EXPECT_EQ(help.windowTitle(), "Texty programu");
    QUrl opened;
    SetDesktopOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    Q_EMIT help.Browser->anchorClicked(QUrl("mailto:x@example.org"));
    SetDesktopOpener({});
    EXPECT_EQ(opened, QUrl("mailto:x@example.org"));
}

TEST_F(WindowTest, StringExportSaysWhereTheFileIsWhenNoProgramOpensIt)
{
    TfOrvek2 browser;
    browser.show();
    SetDesktopOpener([](const QUrl&) { return false; });
    auto& script = test::DialogScript::Instance();
    script.AnswerMessage(mrOk);
    browser.findChild<QAction*>("ExportStringIDID1")->trigger();
    SetDesktopOpener({});
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_TRUE(script.Shown()[0].contains(AppDir + "StringID.txt")) << script.Shown()[0].toStdString();
    EXPECT_TRUE(QFile::exists(AppDir + "StringID.txt"));
}
