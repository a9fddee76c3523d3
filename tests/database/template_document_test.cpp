#include "database/template_document.h"

#include "core/string_table.h"
#include "database/locks_history.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "tests/support/user_database_fixture.h"

#include <QBuffer>

using namespace orvek;

namespace {

// y = a + b with a given standard uncertainty on each input.
QString ModelText(const QString& a = "1", const QString& b = "2")
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = "y = a + b";
    info.NormalizedEquation = "y=a+b";
    info.Coverage = 1;
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const auto& [symbol, value] : { std::pair { QString("a"), a }, std::pair { QString("b"), b } }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = value;
        TCell* quantity = root.AddChild(q);
        TPrenosInfoDoNovejBunky s;
        s.CellType = kUncertaintyCell;
        s.CellName = "source of " + symbol;
        s.Active = 1;
        s.UncertaintyInput.TSN = 3;
        s.UncertaintyInput.SO_2_3.Text = "0.1";
        s.UncertaintyInput.PSV_2_3.Text = "Nekonecno";
        s.UncertaintyInput.HSN = "0.1";
        quantity->AddChild(s);
    }
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

// The value of input a in a stored diagram text; "?" when the text does not read.
QString ValueOfA(const QString& text)
{
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!root.LoadFromDevice(buffer) || root.ChildCount() < 1)
        return "?";
    return root.Child(0)->FValue.Text;
}

class TemplateDocument : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        eva = AddUser("eva", "heslo1", 3);
        jan = AddUser("jan", "heslo2", 3, 1, 1, QString::fromUtf8("Ján"), QString::fromUtf8("Kráľ"));
        first = AddTemplate(ModelText("1"));
        second = AddTemplate(ModelText("10"));
        CurrentUserID = eva;
        CurrentUserRights = 3;
        CurrentGroupID = 1;
        HighlightMode = 0;
        SensitivityPassEnabled = true;
    }
    void TearDown() override
    {
        document.reset();
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
        DataModule1 = nullptr;
        TreeLoadInProgress = false;
        CellTreeChanged = false;
        EditMode = 0;
        test::UserDatabase::TearDown();
    }
    static int AddTemplate(const QString& text)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query, "INSERT INTO TemplateDB (GroupID, TemplateName, Strom) VALUES (1, ?, ?)",
            { QString::fromUtf8("Šablóna"), text }));
        return query.lastInsertId().toInt();
    }
    static QString Stored(int id) { return Row("TemplateDB", id)["Strom"].toString(); }
    static void Exec(const QString& sql, const QVariantList& values)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, sql, values));
    }
    // The user changes input a of the shown tree, and the tick serves the change.
    void Edit(const QString& value)
    {
        document->RootCell->Child(0)->FValue.Text = value;
        document->TreeChanged();
    }
    QString ShownA() const { return document->RootCell->Child(0)->FValue.Text; }

    std::unique_ptr<TTemplateDocument> document = std::make_unique<TTemplateDocument>();
    int eva = 0, jan = 0, first = 0, second = 0;
};

TEST_F(TemplateDocument, LoadSetsEditRightsAndTheInUseRule)
{
    const int used = AddTemplate(ModelText("3"));
    Exec("INSERT INTO TreeDB (FromTemplateID, NazovMerania) VALUES (?, 'm')", { used });
    const struct {
        int rights;
        int id;
        quint8 editMode;
        bool readOnly, loadInProgress;
    } cases[] = {
        { 3, first, 2, false, false },
        { 1, used, 0, true, false },
        { 0, first, 0, false, true }, // browsing only: no change is ever stored
        { 0, used, 0, true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "rights " << c.rights << ", template " << c.id);
        CurrentUserRights = c.rights;
        const TTemplateLoadStatus status = document->LoadCurrentTemplate(c.id);
        EXPECT_TRUE(status.Loaded);
        EXPECT_EQ(CurrentTemplateID, c.id);
        EXPECT_TRUE(CurrentDiagramKind);
        EXPECT_EQ(EditMode, c.editMode);
        EXPECT_EQ(document->TemplateReadOnly, c.readOnly);
        EXPECT_EQ(document->TemplateInUse, c.id == used);
        EXPECT_EQ(TreeLoadInProgress, c.loadInProgress);
        EXPECT_EQ(document->RootCell->FEquationLock, c.readOnly ? 1 : 0);
        EXPECT_EQ(status.Text, c.id == used ? GetString(1013) : QString());
        EXPECT_EQ(status.Bold, c.id == used);
        EXPECT_EQ(document->RootCell->FValue.Text, c.id == used ? "5" : "3"); // calculated
        EXPECT_EQ(document->UndoTable().RowCount(), 1); // the loaded state is the first snapshot
        EXPECT_FALSE(document->TemplateModified);
    }
}

TEST_F(TemplateDocument, UndoDropsTheRedoTailAndAnUndoneStateIsStored)
{
    document->LoadCurrentTemplate(first);
    Edit("5");
    Edit("7");
    EXPECT_EQ(ValueOfA(Stored(first)), "7");
    EXPECT_EQ(document->UndoTable().RowCount(), 3);

    // Two undos and a new change: the two undone states are gone.
    ASSERT_TRUE(document->Undo());
    ASSERT_TRUE(document->Undo());
    EXPECT_EQ(ShownA(), "1");
    EXPECT_TRUE(document->CanRedo());
    Edit("9");
    EXPECT_FALSE(document->CanRedo());
    EXPECT_EQ(document->UndoTable().RowCount(), 2);
    ASSERT_TRUE(document->Undo());
    EXPECT_EQ(ShownA(), "1");
    EXPECT_FALSE(document->CanUndo());

    // An undo to a middle state counts as a change: the next store point stores it.
    Edit("11");
    Edit("12");
    ASSERT_TRUE(document->Undo());
    EXPECT_EQ(ShownA(), "11");
    EXPECT_TRUE(document->TemplateModified);
    EXPECT_EQ(ValueOfA(Stored(first)), "12");
    document->LoadCurrentTemplate(second);
    EXPECT_EQ(ValueOfA(Stored(first)), "11");

    // So does a redo, stored when the window closes.
    Edit("20");
    ASSERT_TRUE(document->Undo());
    ASSERT_TRUE(document->Redo());
    Exec("UPDATE TemplateDB SET OpenedByUserID = 0 WHERE ID = ?", { second });
    document->Undo();
    document->CloseTemplate();
    EXPECT_EQ(ValueOfA(Stored(second)), "10");
    EXPECT_FALSE(document->CanUndo());
}

TEST_F(TemplateDocument, AStoreNeverOverwritesAnotherLockOrANewerSave)
{
    enum Other { Lock, Save };
    for (Other other : { Lock, Save }) {
        SCOPED_TRACE(other == Lock ? "another user's lock" : "another workstation's save");
        document = std::make_unique<TTemplateDocument>();
        const int id = AddTemplate(ModelText("1"));
        document->LoadCurrentTemplate(id);
        QString expectedText = Stored(id);
        QString expectedBox;
        if (other == Lock) {
            Exec("UPDATE TemplateDB SET OpenedByUserID = ? WHERE ID = ?", { jan, id });
            expectedBox = GetString(1102, { QString::fromUtf8("Ján Kráľ") });
        } else {
            expectedText = ModelText("4");
            Exec("UPDATE TemplateDB SET Strom = ? WHERE ID = ?", { expectedText, id });
            expectedBox = GetString(21706);
        }
        test::DialogScript::Instance().AnswerMessage(mrOk);
        Edit("5");
        ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
        EXPECT_EQ(test::DialogScript::Instance().Shown().first(), expectedBox + "\n\n" + GetString(21707));
        // Nothing written, the other lock kept, the edit still shown, the template read-only.
        EXPECT_EQ(Stored(id), expectedText);
        EXPECT_EQ(Row("TemplateDB", id)["OpenedByUserID"].toInt(), other == Lock ? jan : 0);
        EXPECT_EQ(ShownA(), "5");
        EXPECT_TRUE(document->TemplateReadOnly);
        EXPECT_EQ(EditMode, 0);
        // Said once: a further change and leaving the template write nothing and ask nothing.
        Edit("6");
        document->LoadCurrentTemplate(first);
        EXPECT_EQ(Stored(id), expectedText);
        EXPECT_EQ(test::DialogScript::Instance().Shown().size(), 1);
        test::DialogScript::Instance().Reset();
    }
}

TEST_F(TemplateDocument, AStoreFreesOnlyTheUsersOwnLockAndKeepsTheCounterCurrent)
{
    document->LoadCurrentTemplate(first);
    ASSERT_TRUE(module->LockItem()); // a cell edit takes the lock
    EXPECT_EQ(Row("TemplateDB", first)["OpenedByUserID"].toInt(), eva);
    Edit("5");
    EXPECT_EQ(Row("TemplateDB", first)["OpenedByUserID"].toInt(), 0);
    // The own store is no change of another workstation: the next lock and store pass.
    ASSERT_TRUE(module->LockItem());
    Edit("6");
    EXPECT_EQ(ValueOfA(Stored(first)), "6");
    EXPECT_TRUE(test::DialogScript::Instance().Shown().isEmpty());
}

TEST_F(TemplateDocument, AFailedStoreKeepsTheChangeAndIsReportedOnce)
{
    document->LoadCurrentTemplate(first);
    Exec("DELETE FROM TemplateDB WHERE ID = ?", { first });
    test::DialogScript::Instance().AnswerMessage(mrOk);
    Edit("5");
    Edit("6");
    ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_EQ(test::DialogScript::Instance().Shown().first(), GetString(21709, { GetString(21708) }));
    EXPECT_TRUE(document->TemplateModified);
    EXPECT_FALSE(document->TemplateReadOnly);
}

TEST_F(TemplateDocument, ATemplateThatFailedToLoadIsNeverStored)
{
    // A text that breaks off at a number that does not convert, after the method line
    // of the first source was read (which alone would store the template again).
    QString text = ModelText("1", "2");
    ASSERT_TRUE(text.contains("VarValue=2;"));
    text.replace("VarValue=2;", "VarValue=2;\r\n  ValueType=x;");
    const int broken = AddTemplate(text);
    const TTemplateLoadStatus status = document->LoadCurrentTemplate(broken);
    EXPECT_FALSE(status.Loaded);
    EXPECT_TRUE(document->LoadFailed);
    EXPECT_TRUE(status.Text.startsWith(GetString(21710, { document->LoadError }).left(20)));
    EXPECT_FALSE(document->LoadError.isEmpty());
    EXPECT_TRUE(document->TemplateReadOnly);
    EXPECT_EQ(EditMode, 0);

    CellTreeChanged = true; // a change waiting for the tick
    if (document->RootCell->ChildCount() > 0)
        Edit("5");
    document->TemplateModified = true;
    document->SaveAndResetUndo();
    document->LoadCurrentTemplate(first);
    document->LoadCurrentTemplate(broken);
    document->CloseTemplate();
    EXPECT_EQ(Stored(broken), text);
    EXPECT_TRUE(test::DialogScript::Instance().Shown().isEmpty());

    // A template whose row is gone loads nothing and stores nothing either.
    EXPECT_FALSE(document->LoadCurrentTemplate(9999).Loaded);
    EXPECT_EQ(document->RootCell->ChildCount(), 0);
    EXPECT_FALSE(document->SaveTemplateDiagram());
}

TEST_F(TemplateDocument, AChangeTheTickHasNotServedIsStoredWhenTheTemplateIsLeft)
{
    document->LoadCurrentTemplate(first);
    document->RootCell->Child(0)->FValue.Text = "8";
    CellTreeChanged = true;
    document->LoadCurrentTemplate(second);
    EXPECT_EQ(ValueOfA(Stored(first)), "8");
    EXPECT_FALSE(CellTreeChanged);

    document->RootCell->Child(0)->FValue.Text = "18";
    CellTreeChanged = true;
    document->ClearDiagram();
    EXPECT_EQ(ValueOfA(Stored(second)), "18");
    EXPECT_EQ(CurrentTemplateID, 0);
    EXPECT_EQ(document->RootCell, nullptr);
}

} // namespace
