// The equation-cell dialog: opened through the cell tool on the small model, and on its
// own for a new template (no cell).

#include "cell_dialog_fixture.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "mainwindow/ui/equation_dialog_provider.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace orvek::test {
namespace {

using Dialog = TfOrvek5;

void TypeEquation(Dialog& d, const QString& text)
{
    d.RichEdit_PravaStranaRovnice->setFocus();
    d.RichEdit_PravaStranaRovnice->selectAll();
    QTest::keyClicks(d.RichEdit_PravaStranaRovnice, text);
}

QStringList GridColumn(QTableWidget* grid, int column)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << (grid->item(r, column) ? grid->item(r, column)->text() : QString());
    return texts;
}

double Number(const QString& text)
{
    double x = std::nan("");
    EXPECT_TRUE(TryStrToFloatNeutral(text, x)) << text.toStdString();
    return x;
}

class EquationDialogTest : public CellDialogTest {
protected:
    void SetUp() override
    {
        CellDialogTest::SetUp();
        root->FCorrelationMatrix.Text = "1.0#0.0@0.0#1.0@";
        EvaluateTree(*root);
    }
};

TEST_F(EquationDialogTest, ChangingAChildsValueTypeRecalculatesTheModel)
{
    const int aId = a->FId, bId = b->FId;
    WhenShown<Dialog>([](Dialog& d) {
        EXPECT_EQ(GridColumn(d.StringGrid_ZoznamVelicin_v_Rovnici, 0), QStringList({ "a", "b" }));
        QTableWidget* grid = d.StringGrid_ZoznamVelicin_v_Rovnici;
        grid->setCurrentCell(0, 1);
        grid->item(0, 1)->setText("m");
        // a becomes a value only.
        grid->setCurrentCell(0, 3);
        ASSERT_TRUE(d.ComboBox_TypHodnoty->isVisible());
        d.ComboBox_TypHodnoty->setCurrentIndex(1);
        Q_EMIT d.ComboBox_TypHodnoty->activated(1);
        EXPECT_EQ(grid->item(0, 3)->text(), GetString(305));
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
    });
    provider.EditProperties(root.get());
    EXPECT_EQ(a->FId, aId);
    EXPECT_EQ(b->FId, bId);
    EXPECT_EQ(a->FValueType, 1);
    EXPECT_EQ(a->FUnit.Text, "m");
    EXPECT_EQ(a->ChildCount(), 0);
    EXPECT_EQ(b->FValueType, 1);
    EvaluateTree(*root);
    // y = a*b with both values exact now.
    EXPECT_DOUBLE_EQ(Number(root->FValue.Text), 6.0);
    EXPECT_TRUE(root->FCombinedUncertainty.isEmpty() || Number(root->FCombinedUncertainty) == 0);
}

TEST_F(EquationDialogTest, CancelAfterAPreviewLeavesTheCellUnchanged)
{
    const QString value = root->FValue.Text, u = root->FCombinedUncertainty, equation = root->FNormalizedEquation;
    DialogScript::Instance().AnswerMessage(mrYes);
    WhenShown<Dialog>([](Dialog& d) {
        const QString before = d.Edit_HodnotaVeliciny->text();
        TypeEquation(d, "a/b");
        QTest::keyClick(d.RichEdit_PravaStranaRovnice, Qt::Key_Return);
        // The preview shows a/b; the grid is unchanged.
        EXPECT_NE(d.Edit_HodnotaVeliciny->text(), before);
        EXPECT_NEAR(Number(d.FValue), 2.0 / 3.0, 1e-12);
        EXPECT_EQ(GridColumn(d.StringGrid_ZoznamVelicin_v_Rovnici, 0), QStringList({ "a", "b" }));
        // Another set of symbols changes nothing and says nothing.
        TypeEquation(d, "a/c");
        QTest::keyClick(d.RichEdit_PravaStranaRovnice, Qt::Key_Return);
        EXPECT_NEAR(Number(d.FValue), 2.0 / 3.0, 1e-12);
        d.Button_Cancel->click();
    });
    provider.EditProperties(root.get());
    EXPECT_EQ(root->FValue.Text, value);
    EXPECT_EQ(root->FCombinedUncertainty, u);
    EXPECT_EQ(root->FNormalizedEquation, equation);
    EXPECT_EQ(root->FCorrelationMatrix.Text, "1.0#0.0@0.0#1.0@");
}

TEST_F(EquationDialogTest, OkRefusesAChangedSymbolSetAndAForeignCharacter)
{
    DialogScript::Instance().AnswerMessage(mrRetry);
    DialogScript::Instance().AnswerMessage(mrRetry);
    WhenShown<Dialog>([](Dialog& d) {
        TypeEquation(d, "a*c");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(150));
        TypeEquation(d, QString::fromUtf8("a\u00B7b"));
        d.Button_OK->click();
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.RichEdit_PravaStranaRovnice->toPlainText(), QString::fromUtf8("a\u00B7b"));
        DialogScript::Instance().AnswerMessage(mrYes);
        d.Button_Cancel->click();
    });
    provider.EditProperties(root.get());
    EXPECT_EQ(DialogScript::Instance().Shown().size(), 3);
    EXPECT_EQ(root->FNormalizedEquation, "y=a*b");
}

TEST_F(CellDialogTest, EquationWithoutMatrixIsAnalysedAndItsRowsFindTheirChildren)
{
    // The children are in the order b, a here, the new rows alphabetical.
    root->FNormalizedEquation = "y=b*a";
    root->FEquation = "y = b*a";
    const int aId = a->FId;
    b->FUnit.Text = "s";
    WhenShown<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.CountQuantityRows(), 0);
        d.Edit_NazovBunky->clear();
        QTest::keyClicks(d.Edit_NazovBunky, "Area");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
    });
    provider.EditProperties(root.get());
    EXPECT_EQ(root->FCellName.Text, "Area");
    EXPECT_EQ(a->FId, aId);
    EXPECT_EQ(a->FSymbol.Text, "a");
    EXPECT_EQ(b->FSymbol.Text, "b");
    EXPECT_EQ(root->FCorrelationMatrix.Text, "1.0#0.0@0.0#1.0@");
}

TEST_F(CellDialogTest, NewTemplateEquationWithoutACell)
{
    VariableCounter = 0;
    TEquationDialogData data;
    data.FIsNewCell = true;
    data.Editing = true;
    Dialog dialog;
    dialog.Load(data);
    WhenShown<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.ComboBox_Coverage->currentIndex(), 3);
        EXPECT_EQ(d.Edit_ExpanznyKoeficient->text(), "2.000");
        TypeEquation(d, "b*c + a");
        QTest::keyClick(d.RichEdit_PravaStranaRovnice, Qt::Key_Return);
        EXPECT_EQ(GridColumn(d.StringGrid_ZoznamVelicin_v_Rovnici, 0), QStringList({ "a", "b", "c" }));
        EXPECT_EQ(GridColumn(d.StringGrid_ZoznamVelicin_v_Rovnici, 3),
            QStringList({ GetString(22400), GetString(22400), GetString(22400) }));
        EXPECT_EQ(d.Edit_SymbolVeliciny->text(), "Var1");
        EXPECT_EQ(d.Edit_NazovBunky->text(), GetString(155, { "Var1" }));
        EXPECT_EQ(d.StringGrid_CorrelationMatrix->rowCount(), 3);
        EXPECT_EQ(d.StringGrid_CorrelationMatrix->item(1, 1)->text(), "1.0");
        EXPECT_EQ(d.StringGrid_CorrelationMatrix->item(1, 2)->text(), "0.0");
        // A coefficient is mirrored; the check names row and column of the first bad one.
        d.StringGrid_CorrelationMatrix->item(0, 2)->setText("0,5");
        EXPECT_EQ(d.StringGrid_CorrelationMatrix->item(2, 0)->text(), "0,5");
        d.StringGrid_CorrelationMatrix->item(1, 2)->setText("1.5");
        DialogScript::Instance().AnswerMessage(mrRetry);
        d.Button_OK->click();
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(746, { "2", "3" }));
        EXPECT_EQ(d.PageControl1->currentWidget(), d.TabSheet_CorrelationMatrix);
        d.StringGrid_CorrelationMatrix->item(1, 2)->setText("-0.2");
        d.Button_OK->click();
    });
    EXPECT_EQ(dialog.ShowModal(), 1);
    dialog.ReadBack(data);
    EXPECT_EQ(data.FSymbol, "Var1");
    EXPECT_EQ(data.FEquation, "Var1 = b*c+a");
    EXPECT_EQ(data.FCorrelationMatrix, "1.0#0.0#0,5@0.0#1.0#-0.2@0,5#-0.2#1.0@");
    ASSERT_EQ(data.Quantities.Count, 3);
    EXPECT_EQ(data.Quantities[1].Symbol, "a");
    EXPECT_EQ(data.Quantities[1].QuantityName, "a");
    EXPECT_EQ(data.FCoverageFactor, "2.000");
    EXPECT_TRUE(data.FValue.isEmpty());
}

TEST_F(EquationDialogTest, RenameToANameThatIsNoSymbolIsRefused)
{
    struct Case {
        const char* typed;
        int message;
    };
    const Case cases[] = { { "1x", 145 }, { "a-2", 147 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DialogScript::Instance().Reset();
        DialogScript::Instance().AnswerMessage(mrRetry);
        TfRenameVar rename;
        fRenameVar = &rename;
        WhenShown<Dialog>([&](Dialog& d) {
            d.FSymbolUnderButton = "a";
            WhenShown<TfRenameVar>([&](TfRenameVar& r) {
                QTest::keyClicks(r.Edit_NovySymbol, c.typed);
                r.Timer1Timer();
                r.Button2->click();
            });
            d.Button_RenameVariableClick();
            EXPECT_EQ(d.StringGrid_ZoznamVelicin_v_Rovnici->item(0, 0)->text(), "a");
            d.reject();
        });
        provider.EditProperties(root.get());
        fRenameVar = nullptr;
        EXPECT_EQ(DialogScript::Instance().Shown().value(0).left(10), GetString(c.message, { c.typed }).left(10));
    }
}

TEST_F(EquationDialogTest, RenameChangesTheEquationTheGridAndTheChild)
{
    TfRenameVar rename;
    fRenameVar = &rename;
    WhenShown<Dialog>([&](Dialog& d) {
        d.FSymbolUnderButton = "a";
        WhenShown<TfRenameVar>([&](TfRenameVar& r) {
            QTest::keyClicks(r.Edit_NovySymbol, "a2");
            r.Timer1Timer();
            r.Button2->click();
        });
        d.Button_RenameVariableClick();
        EXPECT_EQ(d.RichEdit_PravaStranaRovnice->toPlainText(), "a2*b");
        EXPECT_EQ(d.StringGrid_CorrelationMatrix->horizontalHeaderItem(0)->text(), "a2");
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
    });
    provider.EditProperties(root.get());
    fRenameVar = nullptr;
    EXPECT_EQ(a->FSymbol.Text, "a2");
    EXPECT_EQ(root->FNormalizedEquation, "y=a2*b");
    EvaluateTree(*root);
    EXPECT_DOUBLE_EQ(Number(root->FValue.Text), 6.0);
}

} // namespace
} // namespace orvek::test

namespace orvek::test {
namespace {

// The template window's service shows the same dialog for a new template and gives the
// typed fields and every quantity row back; Cancel gives nothing.
TEST_F(CellDialogTest, NewTemplateThroughTheEquationDialogService)
{
    VariableCounter = 0;
    EquationDialogProvider service;
    TNewEquationDialogData data;
    WhenShown<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "New template");
        TypeEquation(d, "m0 + dm");
        QTest::keyClick(d.RichEdit_PravaStranaRovnice, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
    });
    ASSERT_TRUE(service.RunNewEquationDialog("New template", data));
    EXPECT_EQ(data.Symbol, "Var1");
    EXPECT_EQ(data.Equation, "Var1 = m0+dm");
    ASSERT_EQ(data.Rows.size(), 2);
    EXPECT_EQ(data.Rows[0].Symbol, "dm");
    EXPECT_EQ(data.Rows[1].Symbol, "m0");
    EXPECT_EQ(data.CoverageFactor, "2.000");

    WhenShown<Dialog>([](Dialog& d) { d.reject(); });
    TNewEquationDialogData cancelled;
    EXPECT_FALSE(service.RunNewEquationDialog("New template", cancelled));
    EXPECT_TRUE(cancelled.Rows.isEmpty());
}

// OK refuses an empty equation, an unknown function and an operator without its operand,
// each with its message, and the dialog stays open; the mended equation is taken.
TEST_F(CellDialogTest, OkNamesWhatIsWrongWithTheEquationAndStaysOpen)
{
    VariableCounter = 0;
    EquationDialogProvider service;
    TNewEquationDialogData data;
    WhenShown<Dialog>([](Dialog& d) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        const struct {
            const char* equation;
            QString message;
        } refused[] = {
            { "", GetString(149) },
            { "a/b + foo(c)", GetString(666, { "\"foo\"" }) },
            { "a/b + c^", GetString(23700, { "Error parsing expression:\ra/b\rc^" }) },
        };
        for (const auto& c : refused) {
            SCOPED_TRACE(c.equation);
            if (*c.equation)
                TypeEquation(d, c.equation);
            else
                d.RichEdit_PravaStranaRovnice->clear();
            const int before = int(DialogScript::Instance().Shown().size());
            DialogScript::Instance().AnswerMessage(mrRetry);
            d.Button_OK->click();
            EXPECT_TRUE(d.isVisible());
            ASSERT_EQ(DialogScript::Instance().Shown().size(), before + 1);
            EXPECT_EQ(DialogScript::Instance().Shown().last(), c.message);
        }
        TypeEquation(d, "a/b + c^2");
        d.Button_OK->click();
    });
    ASSERT_TRUE(service.RunNewEquationDialog("New template", data));
    EXPECT_EQ(data.Equation, "Var1 = a/b+c^2");
}

// A sub-model among the inputs: y = a*b*s with s an equation cell of its own. Its
// row's value type cannot be changed in the grid (turning a sub-model into a quantity
// is a command of its own), while the quantities' rows still can.
TEST_F(EquationDialogTest, SubModelRowKeepsItsValueType)
{
    root->FEquation = "y = a*b*s";
    root->FNormalizedEquation = "y=a*b*s";
    root->FCorrelationMatrix.Text = "1.0#0.0#0.0@0.0#1.0#0.0@0.0#0.0#1.0@";
    TCell* s = root->AddChild(Info(kEquationCell, "Sub", "s"));
    s->FEquation = "s = c";
    s->FNormalizedEquation = "s=c";
    s->AddChild(Info(kQuantityCell, "C", "c"))->FValue.Text = "5";
    EvaluateTree(*root);

    WhenShown<Dialog>([](Dialog& d) {
        QTableWidget* grid = d.StringGrid_ZoznamVelicin_v_Rovnici;
        ASSERT_EQ(GridColumn(grid, 0), QStringList({ "a", "b", "s" }));
        const QString subType = grid->item(2, 3)->text();

        grid->setCurrentCell(2, 3);
        EXPECT_FALSE(d.ComboBox_TypHodnoty->isVisible());
        // Even a list change aimed at that row leaves it alone.
        Q_EMIT d.ComboBox_TypHodnoty->activated(1);
        EXPECT_EQ(grid->item(2, 3)->text(), subType);

        grid->setCurrentCell(0, 3);
        EXPECT_TRUE(d.ComboBox_TypHodnoty->isVisible());

        // The fixed cell is drawn as read-only (button face), a quantity's type cell
        // as editable (white).
        grid->setCurrentCell(0, 1);
        d.ComboBox_TypHodnoty->hide();
        QTest::qWait(50);
        const QImage shot = grid->viewport()->grab().toImage();
        auto ground = [&](int row) {
            const QRect cell = grid->visualItemRect(grid->item(row, 3));
            return shot.pixelColor(cell.right() - 4, cell.bottom() - 2);
        };
        EXPECT_EQ(ground(1), QColor(Qt::white));
        EXPECT_EQ(ground(2), QApplication::palette().color(QPalette::Button));
        d.Button_Cancel->click();
    });
    provider.EditProperties(root.get());
    EXPECT_EQ(s->FCellType, kEquationCell);
}

} // namespace
} // namespace orvek::test
