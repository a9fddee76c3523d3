#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/input_search_string.h"
#include "database/ui/one_line_edit.h"
#include "tests/support/dialog_script.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

class SmallDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommonInit();
        LanguageID = 0;
    }
    void TearDown() override { CommonDone(); }
};

} // namespace

TEST_F(SmallDialogs, ARecordHeadNeedsANameOrASampleID)
{
    TfEditRecordHead dialog;
    dialog.Label_Nazov->setText("Name of the measurement");
    dialog.Edit_Datum->setDate(QDate(2026, 3, 9));
    EXPECT_FALSE(dialog.Edit_Datum->isEnabled());
    EXPECT_EQ(dialog.Edit_SampleID->maxLength(), 30);
    EXPECT_EQ(dialog.Edit_NazovMerania->maxLength(), 100);
    bool refusedAndStillOpen = false;
    QTimer::singleShot(0, [&] {
        dialog.Edit_NazovMerania->setText("   ");
        DialogScript::Instance().AnswerMessage(mrRetry);
        dialog.Button2->click();
        refusedAndStillOpen = dialog.isVisible() && dialog.focusWidget() == dialog.Edit_NazovMerania;
        dialog.Edit_SampleID->setText("S-17");
        dialog.Button2->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(refusedAndStillOpen);
    EXPECT_EQ(DialogScript::Instance().Shown(),
        QStringList { GetString(763, { "Name of the measurement", GetString(765) }) });
    EXPECT_EQ(dialog.Label_SampleID->text(), GetString(765));
    EXPECT_EQ(dialog.Button1->text(), GetString(4));
}

TEST_F(SmallDialogs, OneLineEditsKeepThePastedFirstLine)
{
    TfEditRecordHead dialog;
    dialog.show();
    dialog.Edit_NazovMerania->setText("Kalibrácia ");
    dialog.Edit_NazovMerania->setFocus();
    QApplication::clipboard()->setText("váh\r\ndruhý riadok");
    dialog.Edit_NazovMerania->end(false);
    dialog.Edit_NazovMerania->paste();
    EXPECT_EQ(dialog.Edit_NazovMerania->text(), "Kalibrácia váh");
    // Pasted between two parts, the text after the caret stays.
    dialog.Edit_NazovMerania->setCursorPosition(0);
    QApplication::clipboard()->setText("Nová\nx");
    dialog.Edit_NazovMerania->paste();
    EXPECT_EQ(dialog.Edit_NazovMerania->text(), "NováKalibrácia váh");
    EXPECT_EQ(FirstLineOf("a\rb"), "a");
    EXPECT_EQ(FirstLineOf("ab"), "ab");
}

TEST_F(SmallDialogs, TheSearchDialogReturnsTheTrimmedTextAndTheTwoChoices)
{
    TfInputSearchString1 dialog;
    dialog.Label_SearchString->setText("Name");
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(dialog.RadioButton_Substring->isChecked());
        EXPECT_TRUE(dialog.RadioButton_AllFolders->isChecked());
        EXPECT_EQ(dialog.windowTitle(), GetString(851));
        QTest::keyClicks(dialog.Edit_SearchString, "  mass  ");
        dialog.RadioButton_BeginingString->setChecked(true);
        dialog.RadioButton_SelectedFolder->setChecked(true);
        dialog.Button_Search->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.Edit_SearchString->text(), "mass");
    EXPECT_TRUE(dialog.RadioButton_BeginingString->isChecked());
    EXPECT_TRUE(dialog.RadioButton_SelectedFolder->isChecked());

    QTimer::singleShot(0, [&] { dialog.Button_Cancel->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}
