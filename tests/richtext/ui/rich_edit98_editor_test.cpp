#include "core/special_edit.h"
#include "platform/ui/printer.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/special_edit_target.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "richtext/ui/special_characters_windows.h"
#include "richtext/ui/special_edit_actions.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

using namespace orvek;

namespace {

class Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        actions_ = std::make_unique<TActionListSpecialEdit>();
        ActionListSpecialEdit = actions_.get();
        ClearSpecialEditFlags();
        SpecialEditPending = false;
        PendingCharCode = 0;
        editor_ = std::make_unique<TfRichEdit98Editor>();
    }
    void TearDown() override
    {
        editor_.reset();
        ActionListSpecialEdit = nullptr;
    }

    // The calling protocol of the windows that use the editor, without the modal loop.
    void Open(const QByteArray& rtf, bool readOnly)
    {
        editor_->setWindowTitle("Comment");
        editor_->Editor->Clear();
        editor_->Editor->SetRTFText(rtf);
        editor_->Editor->SetSelStart(0);
        editor_->Editor->SetSelLength(0);
        editor_->Editor->SetModified(false);
        editor_->Editor->document()->clearUndoRedoStacks();
        editor_->UndoCount = 0;
        editor_->SetReadOnly(readOnly);
        editor_->show();
    }

    std::unique_ptr<TActionListSpecialEdit> actions_;
    std::unique_ptr<TfRichEdit98Editor> editor_;
};

const QByteArray kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 alpha {\\b beta} alpha gamma}";

} // namespace

TEST_F(Editor, ReadOnlyAllowsCopyFindAndWrapButNoChange)
{
    Open(kRtf, true);
    for (QAction* a : { editor_->ActionPaste, editor_->ActionLoadFromFile, editor_->ActionUndo, editor_->ActionRedo,
             editor_->ActionBold, editor_->ActionApply, editor_->ActionSetFont, editor_->menuSpecialCharacters })
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(editor_->SizeList->isEnabled());
    EXPECT_FALSE(editor_->FontColor->isEnabled());
    EXPECT_TRUE(editor_->Editor->isReadOnly());
    for (QAction* a : { editor_->ActionCopy, editor_->ActionFindText, editor_->ActionPrint, editor_->ActionWordWrap })
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    QTest::qWait(450);
    EXPECT_FALSE(editor_->ActionApply->isEnabled());
    editor_->reject();
    EXPECT_FALSE(editor_->ReadOnlyMode);
    EXPECT_TRUE(editor_->Editor->toPlainText().isEmpty());
}

TEST_F(Editor, UndoAndRedoFollowTheHistory)
{
    Open(kRtf, false);
    QTest::qWait(250);
    EXPECT_FALSE(editor_->ActionRedo->isEnabled());
    EXPECT_FALSE(editor_->ActionApply->isEnabled());
    for (const char* word : { " one", " two", " three" }) {
        editor_->Editor->moveCursor(QTextCursor::End);
        editor_->Editor->insertPlainText(word);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor_->ActionApply->isEnabled(); }, 1000));
    for (int i = 0; i < 3; ++i)
        editor_->ActionUndo->trigger();
    EXPECT_EQ(editor_->UndoCount, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor_->ActionRedo->isEnabled(); }, 1000));
    const QString undone = editor_->Editor->toPlainText();
    editor_->ActionRedo->trigger();
    EXPECT_NE(editor_->Editor->toPlainText(), undone);
    EXPECT_TRUE(editor_->Editor->toPlainText().startsWith("alpha beta alpha gamma"));
}

TEST_F(Editor, ApplyGivesTheWholeContentAsRtf)
{
    Open(kRtf, false);
    editor_->Editor->moveCursor(QTextCursor::End);
    editor_->Editor->insertPlainText(" delta");
    editor_->ActionApply->trigger();
    EXPECT_EQ(editor_->result(), QDialog::Accepted);
    EXPECT_TRUE(editor_->ResultRtf.startsWith("{\\rtf1"));
    TRichEdit98 check;
    check.SetRTFText(editor_->ResultRtf.toLatin1());
    EXPECT_EQ(check.toPlainText(), "alpha beta alpha gamma delta");
}

TEST_F(Editor, ReplaceFindsFirstThenReplacesAndReportsNoMatch)
{
    Open(kRtf, false);
    editor_->ActionFindReplaceText->trigger();
    editor_->ReplaceDialog->FindText->setText("alpha");
    editor_->ReplaceDialog->ReplaceText->setText("omega");
    editor_->ReplaceDialog->ReplaceBut->click();
    EXPECT_EQ(editor_->Editor->toPlainText(), "omega beta alpha gamma");
    editor_->ReplaceDialog->ReplaceBut->click();
    EXPECT_EQ(editor_->Editor->toPlainText(), "omega beta omega gamma");

    test::DialogScript::Instance().AnswerMessage(mrOk);
    editor_->ReplaceDialog->ReplaceBut->click();
    ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_EQ(test::DialogScript::Instance().Shown().at(0), "Could not find \"alpha\" in Editor.");
    EXPECT_EQ(editor_->Editor->toPlainText(), "omega beta omega gamma");
}

TEST_F(Editor, FindSelectsTheNextMatch)
{
    Open(kRtf, false);
    editor_->ActionFindText->trigger();
    editor_->FindDialog->FindText->setText("alpha");
    editor_->FindDialog->FindNextBut->click();
    EXPECT_EQ(editor_->Editor->SelStart(), 0);
    editor_->FindDialog->FindNextBut->click();
    EXPECT_EQ(editor_->Editor->SelStart(), 11);
    EXPECT_EQ(editor_->Editor->SelLength(), 5);
}

TEST_F(Editor, LoadsRtfAndTextButNoOtherFile)
{
    Open(kRtf, false);
    const QString doc = test::TestRoot() + "/comment.doc";
    const QString txt = test::TestRoot() + "/comment.TXT";
    for (const QString& name : { doc, txt }) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("plain {text}\n");
    }
    test::DialogScript::Instance().AnswerOpenFile(doc);
    editor_->ActionLoadFromFile->trigger();
    EXPECT_EQ(editor_->Editor->toPlainText(), "alpha beta alpha gamma");
    EXPECT_FALSE(editor_->Editor->Modified());

    test::DialogScript::Instance().AnswerOpenFile(txt);
    editor_->ActionLoadFromFile->trigger();
    EXPECT_EQ(editor_->Editor->toPlainText().trimmed(), "plain {text}");
    EXPECT_TRUE(editor_->Editor->Modified());

    // Saved as RTF and read back the same.
    const QString rtf = test::TestRoot() + "/saved.rtf";
    test::DialogScript::Instance().AnswerSaveFile(rtf);
    editor_->ActionSaveToFile->trigger();
    QFile saved(rtf);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    TRichEdit98 check;
    check.SetRTFText(saved.readAll());
    EXPECT_EQ(check.toPlainText().trimmed(), "plain {text}");
}

TEST_F(Editor, GreekLetterFromTheToolWindowArrivesAtTheCaret)
{
    Open(kRtf, false);
    editor_->Editor->SetSelStart(5);
    editor_->ToolButtonSpecialCharacters->click();
    ASSERT_TRUE(editor_->SpecialCharsWindow);
    EXPECT_EQ(ActiveTextEditor, editor_.get());
    auto* button = editor_->SpecialCharsWindow->findChild<QToolButton*>("Button_aLambda");
    ASSERT_NE(button, nullptr);
    button->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return !SpecialEditPending; }, 400));
    EXPECT_EQ(editor_->Editor->toPlainText(), "alphaλ beta alpha gamma");

    // Closing the editor hides the tool window; destroying it frees the palette.
    editor_->reject();
    EXPECT_FALSE(editor_->SpecialCharsWindow->isVisible());
    editor_.reset();
    EXPECT_EQ(ActiveTextEditor, nullptr);
}

TEST_F(Editor, PrintsThroughTheSharedPrinter)
{
    TPreviewPrinter printer;
    MainPreviewPrinter = &printer;
    Open(kRtf, true);
    const QString pdf = test::TestRoot() + "/editor.pdf";
    SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    SharedPrinter().setOutputFileName(pdf);
    test::DialogScript::Instance().AnswerPrint(0, 0, 1, pdf);
    editor_->ActionPrint->trigger();
    EXPECT_EQ(printer.PageCount(), 1);
    EXPECT_TRUE(QFile::exists(pdf));
    // A cancelled print dialog prints nothing.
    QFile::remove(pdf);
    test::DialogScript::Instance().AnswerPrint(0, 0, 1, QString(), false);
    editor_->ActionPrint->trigger();
    EXPECT_FALSE(QFile::exists(pdf));
    MainPreviewPrinter = nullptr;
}
