// One edit of a source end to end through the real source dialog: the program's cell
// tool on a database made from the empty database, the dialog driven as a user drives
// it, the model recalculated, and the record's lock and history.

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/source_uncertainty.h"
#include "mainwindow/cell_tool_rules.h"
#include "mainwindow/ui/cell_tool_provider.h"
#include "mainwindow/ui/source_dialog_adapter.h"
#include "sources/ui/source_dialog.h"
#include "tests/support/dialog_script.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/test_env.h"
#include "tests/support/user_database_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>

namespace orvek::test {
namespace {

// Runs Act on the source dialog as soon as it is shown modally.
void WhenSourceDialogShows(std::function<void(TfOrvek6&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TfOrvek6*>(w); d && d->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(*d);
                return;
            }
    });
    timer->start();
}

class SourceDialogRound : public UserDatabase {
protected:
    void SetUp() override
    {
        UserDatabase::SetUp();
        LanguageID = 0;
        SignificantDigits = 2;
        DataModule1 = module.get();
        EvaluateTreeHook = &EvaluateTree;
        ClearCellCommands();
        CellTreeChanged = false;
        EditMode = 1;
        DialogScript::Instance().Reset();
        provider.Dialogs().MakeSourceDialog = MakeSourceDialogAdapter;

        // y = 3*a: a = 2 with a rectangular source of half-width 0.3.
        TPrenosInfoDoNovejBunky info;
        info.CellType = kEquationCell;
        info.CellName = "Result";
        info.Symbol = "y";
        info.Equation = "y = 3*a";
        info.NormalizedEquation = "y=3*a";
        root = std::make_unique<TCell>(nullptr, info, 20, 20, nullptr);
        info = {};
        info.CellType = kQuantityCell;
        info.CellName = "Length";
        info.Symbol = "a";
        info.Active = 1;
        a = root->AddChild(info);
        a->FValue.Text = "2";
        info.CellType = kUncertaintyCell;
        info.CellName = "Scale";
        info.Symbol.clear();
        source = a->AddChild(info);
        source->FUncertaintyInput.TSN = 1;
        source->FUncertaintyInput.IS_2_1.Text = "0.3";
        EvaluateSourceRecord(source->FUncertaintyInput, "2");
        source->FCombinedUncertainty = source->FUncertaintyInput.HSN;
        EvaluateTree(*root);

        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (GroupID, NazovMerania, Strom) VALUES (1, ?, ?)",
            { "Round", root->SaveToText() }));
        CurrentRecordID = query.lastInsertId().toInt();
        CurrentUserID = 1;
        CurrentGroupID = 1;
        CurrentUserName = "Administrator";
        module->RememberLoadedChangeCounter();
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        root.reset();
        DataModule1 = nullptr;
        ClearCellCommands();
        EditMode = 0;
        LanguageID = EditionFlag;
        UserDatabase::TearDown();
    }
    // A double click with the edit tool on the source's box.
    void EditSource()
    {
        CmdEditCell = true;
        provider.ClickAction(source);
    }
    static void TypeHalfWidth(TfOrvek6& d, const QString& text)
    {
        QLineEdit* edit = d.Page2.Edit_IntervalSpolahlivosti_2_1;
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    CellToolProvider provider;
    std::unique_ptr<TCell> root;
    TCell* a = nullptr;
    TCell* source = nullptr;
};

TEST_F(SourceDialogRound, OkTakesTheEditedSourceRecalculatesTheModelAndWritesOneHistoryRow)
{
    ASSERT_NEAR(root->FCombinedUncertainty.toDouble(), 3 * 0.3 / std::sqrt(3.0), 1e-12);
    bool shown = false;
    WhenSourceDialogShows([&](TfOrvek6& d) {
        shown = true;
        EXPECT_EQ(d.Edit_NazovBunky->text(), "Scale");
        EXPECT_EQ(d.Page2.Edit_IntervalSpolahlivosti_2_1->text(), "0.3");
        EXPECT_FALSE(d.Page2.Edit_IntervalSpolahlivosti_2_1->isReadOnly());
        TypeHalfWidth(d, "0.6");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
    });
    EditSource();
    ASSERT_TRUE(shown);

    EXPECT_EQ(source->FUncertaintyInput.IS_2_1.Text, "0.6");
    EXPECT_NEAR(source->FCombinedUncertainty.toDouble(), 0.6 / std::sqrt(3.0), 1e-12);
    EXPECT_EQ(Row("TreeDB", CurrentRecordID)["OpenedByUserID"].toInt(), 1);
    // The request climbs one level a tick; the root evaluates the model.
    a->TimerTick();
    root->TimerTick();
    EXPECT_NEAR(root->FCombinedUncertainty.toDouble(), 3 * 0.6 / std::sqrt(3.0), 1e-12);

    ASSERT_EQ(Count("History"), 1);
    QSqlDatabase db = Other();
    QSqlQuery query(db);
    ASSERT_TRUE(ExecBound(query, "SELECT DiagramID, OriginalValues, NewValues FROM History"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), CurrentRecordID);
    EXPECT_TRUE(query.value(1).toString().startsWith("[cf3]" + GetString(83) + ":[cf1] Scale\r"));
    EXPECT_EQ(query.value(2).toString(), DescribeOneCell(*source));
}

TEST_F(SourceDialogRound, CancelAfterTypingChangesNothing)
{
    const QString model = root->SaveToText();
    const QString u = root->FCombinedUncertainty;
    WhenSourceDialogShows([&](TfOrvek6& d) {
        TypeHalfWidth(d, "0.9");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        DialogScript::Instance().AnswerMessage(mrYes); // discard the changes
        d.Button_Cancel->click();
    });
    EditSource();

    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(773) });
    EXPECT_EQ(source->FUncertaintyInput.IS_2_1.Text, "0.3");
    a->TimerTick();
    root->TimerTick();
    EXPECT_EQ(root->FCombinedUncertainty, u);
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_EQ(Count("History"), 0);
}

TEST_F(SourceDialogRound, RecordChangedOnAnotherWorkstationOpensTheDialogReadOnly)
{
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "UPDATE TreeDB SET Strom = ? WHERE ID = ?", { "changed", CurrentRecordID }));
    }
    const QString model = root->SaveToText();
    DialogScript::Instance().AnswerMessage(mrCancel);
    bool shown = false;
    WhenSourceDialogShows([&](TfOrvek6& d) {
        shown = true;
        EXPECT_FALSE(d.FEditable);
        EXPECT_TRUE(d.Page2.Edit_IntervalSpolahlivosti_2_1->isReadOnly());
        EXPECT_FALSE(d.CheckBox_Aktivita->isEnabled());
        QTest::qWait(250);
        EXPECT_FALSE(d.Button_OK->isEnabled());
        d.Button_Cancel->click();
    });
    EditSource();

    ASSERT_TRUE(shown);
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(22250) });
    EXPECT_EQ(Row("TreeDB", CurrentRecordID)["OpenedByUserID"].toInt(), 0);
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_EQ(Count("History"), 0);
}

} // namespace
} // namespace orvek::test
