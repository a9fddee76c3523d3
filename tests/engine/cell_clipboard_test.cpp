#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/cell_clipboard.h"
#include "engine/diagram_text.h"
#include "engine/model_file.h"
#include "tests/support/dialog_script.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace orvek {
namespace {

using test::DialogScript;

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Active = 1;
    return info;
}

class CellClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        StoreCellComments = true;
        LoadValuesOnPaste = false;
        AskOnPaste = false;
        CommentsPasteToTempates = true;
        CellIdCounter = 1;
        root = std::make_unique<TCell>(nullptr, Info(kEquationCell, "Y"), 0, 0, nullptr);
        TCell* q = root->AddChild(Info(kQuantityCell, "X"));
        q->FValue.Text = "5";
        q->FCellComment.Text = "about X";
        TCell* s = q->AddChild(Info(kUncertaintyCell, "u"));
        s->FUncertaintyInput.TSN = 1;
        s->FUncertaintyInput.IS_2_1.Text = "0.5";
        copied = q;
    }
    std::unique_ptr<TCell> root;
    TCell* copied = nullptr;
};

TEST_F(CellClipboard, CopiedTextStartsWithMarkerKindAndTag)
{
    ASSERT_TRUE(CopyCellTreeToClipboard(kTagDiagramFromMainDB, *copied));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Orvek2000Info 1 DiagramFromMainDB \r\n  BeginCell="));
    ASSERT_TRUE(CopyCellTreeToClipboard(QString(), *copied));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Orvek2000Info 1 \r\n  BeginCell="));
}

TEST_F(CellClipboard, PasteAsChildTakesValuesWithoutAskingAndRestoresTheSwitches)
{
    ASSERT_TRUE(CopyCellTreeToClipboard(kTagDiagramFromMainDB, *copied));
    root->PasteAsChild();
    ASSERT_EQ(root->ChildCount(), 2);
    TCell* pasted = root->Child(1);
    EXPECT_EQ(pasted->FCellName.Text, "X");
    EXPECT_EQ(pasted->FValue.Text, "5");
    ASSERT_EQ(pasted->ChildCount(), 1);
    EXPECT_EQ(pasted->Child(0)->FUncertaintyInput.IS_2_1.Text, "0.5");
    EXPECT_TRUE(root->FReloaded);
    EXPECT_FALSE(LoadValuesOnPaste);
    EXPECT_FALSE(AskOnPaste);
    EXPECT_TRUE(QDir(TemporaryFolder()).entryList({ "*.STM" }, QDir::Files).isEmpty());
}

TEST_F(CellClipboard, PasteReplaceEmptiesTheCellAndAsksOnceForMainWindowCopies)
{
    ASSERT_TRUE(CopyCellTreeToClipboard(kTagDiagramFromMainDB, *copied));
    TCell* target = root->AddChild(Info(kQuantityCell, "Old"));
    target->AddChild(Info(kUncertaintyCell, "old 1"));
    target->AddChild(Info(kUncertaintyCell, "old 2"));
    const int top = target->FBox.Rect.top();
    DialogScript::Instance().AnswerMessage(mrYes);
    target->PasteReplace();
    EXPECT_EQ(target->FBox.Rect.top(), top); // the cell keeps its row in the tree
    EXPECT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_EQ(target->FCellName.Text, "X");
    EXPECT_EQ(target->FValue.Text, "5");
    ASSERT_EQ(target->ChildCount(), 1);
    EXPECT_EQ(target->Child(0)->FCellName.Text, "u");
    EXPECT_FALSE(LoadValuesOnPaste);
    EXPECT_FALSE(AskOnPaste);
}

TEST_F(CellClipboard, TemplateCopiesTakeValuesAndTheCommentSwitchOnlyAppliesToPastes)
{
    ASSERT_TRUE(CopyCellTreeToClipboard(kTagDiagramFromTemplates, *copied));
    CommentsPasteToTempates = false;
    root->PasteAsChild();
    ASSERT_EQ(root->ChildCount(), 2);
    EXPECT_TRUE(root->Child(1)->FCellComment.Text.isEmpty());
    EXPECT_EQ(root->Child(1)->FValue.Text, "5");

    // Loading a stored diagram always reads comments.
    const QString text = root->SaveToText();
    TCell loaded(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    LoadValuesOnPaste = true;
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(loaded.LoadFromDevice(buffer));
    EXPECT_EQ(loaded.Child(0)->FCellComment.Text, "about X");
}

TEST_F(CellClipboard, TextWithoutMarkerPastesNothingAndAFailingLoadRestoresTheSwitches)
{
    QGuiApplication::clipboard()->setText("BeginCell=1;");
    root->PasteAsChild();
    EXPECT_EQ(root->ChildCount(), 1);
    EXPECT_FALSE(root->FReloaded);

    QGuiApplication::clipboard()->setText("Orvek2000Info 1 DiagramFromMainDB \r\nBeginCell=5;\r\n  CellType=1;\r\n  "
                                          "PM_3=lots;\r\n  NrChildCells=0;\r\nEndCell=5;");
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    DialogScript::Instance().AnswerMessage(mrOk); // the error is shown
    root->PasteAsChild();
    EXPECT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().first().contains("lots"));
    EXPECT_TRUE(LoadValuesOnPaste);
    EXPECT_FALSE(AskOnPaste);
    EXPECT_FALSE(ReadingClipboardPaste);
    EXPECT_TRUE(QDir(TemporaryFolder()).entryList({ "*.STM" }, QDir::Files).isEmpty());
}

TEST_F(CellClipboard, PasteReplaceOfADamagedTextKeepsTheCellAsItWas)
{
    struct Case {
        const char* text;
        bool reported; // a conversion error is shown; a text that is no diagram is silent
    };
    const Case cases[] = {
        { "Orvek2000Info 1 \r\nnot a diagram", false },
        { "Orvek2000Info 1 DiagramFromTemplates \r\nBeginCell=5;\r\n  CellType=1;\r\n  CellName=new;\r\n"
          "  NrChildCells=1;\r\n  BeginCell=6;\r\n    CellType=2;\r\n    PM_3=lots;\r\n    NrChildCells=0;\r\n"
          "  EndCell=6;\r\nEndCell=5;",
            true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TCell* target = root->AddChild(Info(kQuantityCell, "Old"));
        target->AddChild(Info(kUncertaintyCell, "old 1"));
        target->AddChild(Info(kUncertaintyCell, "old 2"));
        const QString before = target->SaveToText();
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.text));
        if (c.reported)
            DialogScript::Instance().AnswerMessage(mrOk);
        target->PasteReplace();
        EXPECT_EQ(DialogScript::Instance().Shown().size(), c.reported ? 1 : 0);
        DialogScript::Instance().Reset();
        EXPECT_EQ(target->SaveToText().toStdString(), before.toStdString());
    }
}

} // namespace
} // namespace orvek
