// The one-line dialogs driven as a user drives them: typed text, Enter, Esc and the
// buttons, and what the caller reads afterwards.

#include "core/common_vars.h"
#include "core/string_table.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace orvek {
namespace {

using test::WhenShown;

class OneLineDialogs : public ::testing::Test {
protected:
    void SetUp() override { AppDir = test::TestProgramFolder(); }
};

TEST_F(OneLineDialogs, SpecialStringGivesTrimmedMarkupAndUntrimmedPlainText)
{
    TfEditSpecialString dialog;
    EXPECT_EQ(dialog.windowTitle(), GetString(387));

    // The caller's caption survives LoadText.
    dialog.setWindowTitle(GetString(360));
    dialog.EditName->setText(GetString(90));
    dialog.LoadText("[cf3]m[cf1]");
    EXPECT_EQ(dialog.windowTitle(), GetString(360));
    EXPECT_EQ(dialog.sbCancel->text(), GetString(4));

    // Unchanged and closed with Enter: the loaded mark-up comes back.
    WhenShown<TfEditSpecialString>([](TfEditSpecialString& d) { QTest::keyClick(d.FTextBox->Edit, Qt::Key_Return); });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.FMarkupText, "[cf3]m[cf1]");

    dialog.LoadText(QString());
    WhenShown<TfEditSpecialString>([](TfEditSpecialString& d) {
        QTest::keyClicks(d.FTextBox->Edit, "  mass ");
        d.sbAccept->click();
    });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.FMarkupText, "mass");
    EXPECT_EQ(dialog.FPlainText, "  mass ");

    // Esc cancels and keeps both results of the last OK.
    dialog.LoadText("x");
    WhenShown<TfEditSpecialString>([](TfEditSpecialString& d) {
        QTest::keyClicks(d.FTextBox->Edit, "yz");
        QTest::keyClick(d.FTextBox->Edit, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), 2);
    EXPECT_EQ(dialog.FMarkupText, "x");
    EXPECT_EQ(dialog.FPlainText, "  mass ");
}

TEST_F(OneLineDialogs, EditStringAcceptsAnEmptyTextAndEscCancels)
{
    TfEditString dialog;
    EXPECT_EQ(dialog.SpeedButton_Cancel->text(), "Quit");
    WhenShown<TfEditString>([](TfEditString& d) { QTest::keyClick(d.Edit1, Qt::Key_Return); });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.Edit1->text(), QString());

    WhenShown<TfEditString>([](TfEditString& d) {
        QTest::keyClicks(d.Edit1, "Folder");
        QTest::keyClick(d.Edit1, Qt::Key_Escape);
    });
    EXPECT_NE(dialog.exec(), 1);
}

TEST_F(OneLineDialogs, RenameVarAllowsOkOnlyForANewDifferentSymbol)
{
    TfRenameVar dialog;
    dialog.Edit_AktualnySymbol->setText("a");
    dialog.Edit_NovySymbol->clear();
    WhenShown<TfRenameVar>([](TfRenameVar& d) {
        EXPECT_EQ(d.windowTitle(), GetString(361));
        EXPECT_FALSE(d.Button2->isEnabled());
        QTest::keyClicks(d.Edit_NovySymbol, "a");
        d.Timer1Timer();
        EXPECT_FALSE(d.Button2->isEnabled());
        QTest::keyClicks(d.Edit_NovySymbol, "2");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button2->isEnabled(); }, 2000));
        d.Button2->click();
    });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.Edit_NovySymbol->text(), "a2");
    EXPECT_FALSE(dialog.Timer1->isActive());
}

} // namespace
} // namespace orvek
