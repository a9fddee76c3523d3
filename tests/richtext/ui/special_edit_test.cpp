#include "core/common_vars.h"
#include "core/special_edit.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/special_edit_target.h"
#include "richtext/ui/edit_text98.h"
#include "richtext/ui/special_characters_windows.h"
#include "richtext/ui/special_edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <gtest/gtest.h>

#include <memory>

using namespace orvek;

namespace {

// The program-wide palette, fresh for each test.
class SpecialEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        actions_ = std::make_unique<TActionListSpecialEdit>();
        ActionListSpecialEdit = actions_.get();
        ClearSpecialEditFlags();
        PendingCharCode = 0;
        SpecialEditPending = false;
        edit_.document()->setDefaultFont(QFont("Arial", 10));
    }
    void TearDown() override { ActionListSpecialEdit = nullptr; }

    // Triggers Action and serves the request in the rich edit, as an editor does.
    void Apply(QAction* action)
    {
        action->trigger();
        ASSERT_TRUE(SpecialEditPending);
        if (PendingCharCode > 100) {
            InsertSpecialCharCode(10, PendingCharCode, edit_);
            PendingCharCode = 0;
        }
        InsertPendingSpecialEdit(10, edit_);
        SpecialEditPending = false;
    }

    // Each character of the text with its script style (0 normal, 1 sub, 2 super).
    QString Styled() const
    {
        QString out;
        for (QTextBlock b = edit_.document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                const auto align = f.charFormat().verticalAlignment();
                const QString mark = align == QTextCharFormat::AlignSubScript ? "_"
                    : align == QTextCharFormat::AlignSuperScript              ? "^"
                                                                              : "";
                for (QChar c : f.text())
                    out += mark + c;
            }
        return out;
    }

    std::unique_ptr<TActionListSpecialEdit> actions_;
    TRichEdit98 edit_;
};

// Types Text as key presses carrying their characters.
void Type(QWidget* target, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

} // namespace

TEST(SpecialEditFlags, ClearedByUtilityInit)
{
    for (bool& f : InsertRequest)
        f = true;
    UtilityInit();
    for (bool f : InsertRequest)
        EXPECT_FALSE(f);
}

TEST_F(SpecialEdit, AccentedLettersInsertTheLetterTheyAreNamedFor)
{
    // Code-page-437 position → the letter (its Windows-1252 code).
    const std::pair<int, const char*> cases[] = { { 128, "Ç" }, { 129, "ü" }, { 130, "é" }, { 131, "â" }, { 132, "ä" },
        { 133, "à" }, { 134, "å" }, { 135, "ç" }, { 136, "ê" }, { 137, "ë" }, { 138, "è" }, { 139, "ï" }, { 140, "î" },
        { 141, "ì" }, { 142, "Ä" }, { 143, "Å" }, { 144, "É" }, { 147, "ô" }, { 148, "ö" }, { 149, "ò" }, { 150, "û" },
        { 151, "ù" }, { 153, "Ö" }, { 154, "Ü" }, { 160, "á" }, { 161, "í" }, { 162, "ó" }, { 163, "ú" }, { 164, "ñ" },
        { 165, "Ñ" } };
    QString expected;
    for (const auto& [position, letter] : cases) {
        QAction* a = actions_->aChar(position);
        ASSERT_NE(a, nullptr) << position;
        Apply(a);
        expected += QString::fromUtf8(letter);
    }
    EXPECT_EQ(edit_.toPlainText(), expected);
    EXPECT_EQ(PendingCharCode, 0);
    edit_.SetSelStart(0);
    edit_.SetSelLength(1);
    EXPECT_EQ(edit_.SelAttributes().Name(), "Arial");
    EXPECT_EQ(edit_.SelAttributes().Size(), 10);
}

TEST_F(SpecialEdit, GreekLettersAndSignsAreTheirUnicodeCharacters)
{
    const std::pair<QAction*, const char*> cases[] = { { actions_->aAlpha, "α" }, { actions_->aBeta, "β" },
        { actions_->aCapitalDelta, "Δ" }, { actions_->aRo, "ρ" }, { actions_->aNy, "ν" }, { actions_->aMi, "μ" },
        { actions_->aCapitalOmega, "Ω" }, { actions_->aCapitalPsi, "Ψ" }, { actions_->aPlusMinus, "±" },
        { actions_->aGreaterThanOrEqual, "≥" }, { actions_->aLessThanOrEqual, "≤" }, { actions_->aDegree, "°" },
        { actions_->aMultiplicity, "×" }, { actions_->aMinus, "-" }, { actions_->aDelenie, "/" } };
    for (const auto& [action, text] : cases) {
        edit_.Clear();
        Apply(action);
        EXPECT_EQ(edit_.toPlainText(), QString::fromUtf8(text)) << action->objectName().toStdString();
    }
}

TEST_F(SpecialEdit, LetterTakesTheScriptOfTheCaret)
{
    edit_.SetRTFText(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 x\\sub i}"));
    Apply(actions_->aAlpha);
    EXPECT_EQ(Styled(), "x_i_α");
}

TEST_F(SpecialEdit, TemplatesPlaceTheCaret)
{
    struct Case {
        QAction* TActionListSpecialEdit::*action;
        const char* styled;
        int caret;
    };
    const Case cases[] = {
        { &TActionListSpecialEdit::aDruhaMocnina, "()^2", 1 },
        { &TActionListSpecialEdit::aTretiaMocnina, "()^3", 1 },
        { &TActionListSpecialEdit::aLeftRightParentheses, "()", 1 },
        { &TActionListSpecialEdit::aDruhaOdmocnina, "√()", 2 },
        { &TActionListSpecialEdit::aExp, "e^(^)", 2 },
        { &TActionListSpecialEdit::a_x_na_y, "()^(^)", 1 },
        { &TActionListSpecialEdit::aFunction_Tan, "Tan()", 4 },
        { &TActionListSpecialEdit::aFunction_ArcTan, "ArcTan()", 7 },
        { &TActionListSpecialEdit::aFunction_log2, "log_2()", 5 },
        { &TActionListSpecialEdit::aFunction_logN, "log_(_)()", 4 },
        { &TActionListSpecialEdit::aFunction_ln, "ln()", 3 },
    };
    for (const Case& c : cases) {
        edit_.Clear();
        Apply(actions_.get()->*c.action);
        EXPECT_EQ(Styled(), QString::fromUtf8(c.styled)) << (actions_.get()->*c.action)->objectName().toStdString();
        EXPECT_EQ(edit_.SelStart(), c.caret) << (actions_.get()->*c.action)->objectName().toStdString();
        for (bool f : InsertRequest)
            EXPECT_FALSE(f);
    }
}

TEST_F(SpecialEdit, SuperscriptAndSubscriptExcludeEachOther)
{
    actions_->aSubScript->trigger();
    EXPECT_TRUE(SubScriptOn);
    actions_->aSuperScript->trigger();
    EXPECT_TRUE(SuperScriptOn);
    EXPECT_FALSE(SubScriptOn);
    EXPECT_FALSE(actions_->aSubScript->isChecked());
    EXPECT_TRUE(SpecialEditPending);
}

TEST_F(SpecialEdit, BoxInsertsWhileTargetAndReadOnlyBoxIgnores)
{
    QDialog dialog;
    QWidget panel(&dialog);
    QWidget panel2(&dialog);
    TEditText98 box(&dialog, "x", 0, 0, 0, 0, true, false, true, 8, "Arial", &panel);
    TEditText98 readOnly(&dialog, "y", 0, 0, 0, 0, true, true, true, 8, "Arial", &panel2);
    box.Edit->SetSelStart(1);
    ActiveTextEditor = &box;
    actions_->aAlpha->trigger();
    ASSERT_TRUE(QTest::qWaitFor([] { return !SpecialEditPending; }, 2000));
    EXPECT_EQ(box.Edit->toPlainText(), "xα");

    ActiveTextEditor = &readOnly;
    actions_->aBeta->trigger();
    QTest::qWait(150);
    EXPECT_TRUE(SpecialEditPending);
    EXPECT_EQ(readOnly.Edit->toPlainText(), "y");
    // Clicking into the read-only box leaves the actions' checked states alone.
    actions_->aBold->setChecked(true);
    readOnly.EditSelectionChange();
    EXPECT_TRUE(actions_->aBold->isChecked());
    SpecialEditPending = false;
}

TEST_F(SpecialEdit, PendingCharCodeIsInsertedBeforeTheOtherRequests)
{
    QDialog dialog;
    QWidget panel(&dialog);
    TEditText98 box(&dialog, QString(), 0, 0, 0, 0, true, false, false, 8, "Arial", &panel);
    PendingCharCode = 101;
    InsertRequested(TInsertAction::Beta) = true;
    box.ApplyFormatting();
    EXPECT_EQ(box.Edit->toPlainText(), "eβ");
    EXPECT_EQ(PendingCharCode, 0);
}

TEST_F(SpecialEdit, SuperscriptRequestKeepsTheSymbolFace)
{
    QDialog dialog;
    QWidget panel(&dialog);
    TEditText98 box(&dialog, QString(), 0, 0, 0, 0, true, false, false, 8, "Arial", &panel);
    box.Edit->SetRTFText(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0\\fs16 a}"));
    actions_->aSuperScript->setChecked(true);
    box.ApplyFormatting();
    EXPECT_EQ(box.Edit->SelAttributes().Name(), "Symbol");
    EXPECT_EQ(box.Edit->SelAttributes().SubscriptStyle(), 2);
}

TEST_F(SpecialEdit, ToolWindowServesItsBoxUntilClosed)
{
    QDialog dialog;
    QWidget panel(&dialog);
    auto box = std::make_unique<TEditText98>(&dialog, QString(), 0, 0, 0, 0, true, false, true, 8, "Arial", &panel);
    box->ShowToolWindow();
    ASSERT_TRUE(box->ToolWindow);
    EXPECT_EQ(ActiveTextEditor, box.get());
    EXPECT_TRUE(box->ToolWindow->isVisible());
    QPointer<TfSetSpecialCharactersVariable> window = box->ToolWindow;
    window->close();
    EXPECT_EQ(ActiveTextEditor, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 2000));

    box->ShowToolWindow();
    EXPECT_EQ(ActiveTextEditor, box.get());
    window = box->ToolWindow;
    box.reset(); // the box takes its tool window and its claim on the palette with it
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(ActiveTextEditor, nullptr);
}

TEST(EditText98, TypingIsPlainAndKeepsTheRest)
{
    QDialog dialog;
    QWidget panel(&dialog);
    TEditText98 box(&dialog, "[cf3]bold[cf1]", 0, 0, 0, 0, true, false, true, 8, "Arial", &panel);
    box.Edit->SetSelStart(4);
    Type(box.Edit, QString::fromUtf8("{a\\}é"));
    EXPECT_EQ(box.Edit->toPlainText(), "bold{a\\}é");
    box.Edit->SetSelStart(5);
    box.Edit->SetSelLength(1);
    EXPECT_FALSE(box.Edit->SelAttributes().Bold());
    EXPECT_EQ(box.Edit->SelAttributes().Size(), 8);
    box.Edit->SetSelStart(0);
    box.Edit->SetSelLength(1);
    EXPECT_TRUE(box.Edit->SelAttributes().Bold());

    // Enter in a single-line box changes nothing.
    QTest::keyClick(box.Edit, Qt::Key_Return);
    EXPECT_EQ(box.Edit->document()->blockCount(), 1);
}

TEST(EditText98, SingleLinePasteAppendsTheTrimmedFirstLine)
{
    QDialog dialog;
    QWidget panel(&dialog);
    TEditText98 box(&dialog, "[cf2]m[cf1]", 0, 0, 0, 0, true, false, true, 8, "Arial", &panel);
    QApplication::clipboard()->setText("  \tmass \r\nsecond line");
    box.Edit->SetSelStart(0);
    QTest::keyClick(box.Edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.Edit->toPlainText(), "mmass");
    box.Edit->SetSelStart(0);
    box.Edit->SetSelLength(1);
    EXPECT_TRUE(box.Edit->SelAttributes().Italic()); // the existing formatting stays

    QApplication::clipboard()->setText("   ");
    QTest::keyClick(box.Edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box.Edit->toPlainText(), "mmass");
}

TEST(EditText98, SingleLineReadsParagraphBreaksAsBlanks)
{
    QDialog dialog;
    QWidget panel(&dialog);
    TEditText98 box(&dialog, "one\rtwo", 0, 0, 0, 0, true, false, true, 8, "Arial", &panel);
    QString markup, plain;
    box.GetMarkupText(markup);
    box.GetPlainText(plain);
    EXPECT_FALSE(markup.contains('\r'));
    EXPECT_TRUE(markup.contains("one two")) << markup.toStdString();
    EXPECT_EQ(plain.trimmed(), "one two");
}

TEST_F(SpecialEdit, SelectionSetsTheCheckedStates)
{
    QDialog dialog;
    QWidget panel(&dialog);
    TEditText98 box(&dialog, "[cf3]b[cf1][cf11]s[cf1]", 0, 0, 0, 0, true, false, true, 8, "Arial", &panel);
    box.Edit->SetSelStart(0);
    box.Edit->SetSelLength(1);
    EXPECT_TRUE(actions_->aBold->isChecked());
    EXPECT_FALSE(actions_->aSuperScript->isChecked());
    box.Edit->SetSelStart(1);
    box.Edit->SetSelLength(1);
    EXPECT_FALSE(actions_->aBold->isChecked());
    EXPECT_TRUE(actions_->aSuperScript->isChecked());
}
