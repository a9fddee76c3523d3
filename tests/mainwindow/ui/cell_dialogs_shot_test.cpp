// Pictures of the cell dialogs for looking at: written only when ORVEK_SHOTS_DIR names a
// folder. The equation dialog with its quantity grid and its 4 x 4 correlation matrix, the quantity dialog with
// a sum formula, and the one-line dialog with its tool window.

#include "cell_dialog_fixture.h"

#include "core/string_table.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "richtext/ui/special_characters_windows.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace orvek::test {
namespace {

TEST_F(CellDialogTest, Pictures)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS_DIR to write the pictures";
    QDir().mkpath(folder);

    TEquationDialogData equation;
    equation.FIsNewCell = true;
    equation.Editing = true;
    TfOrvek5 five;
    five.Load(equation);
    WhenShown<TfOrvek5>([&](TfOrvek5& d) {
        d.RichEdit_PravaStranaRovnice->setPlainText("m*g*h/t");
        d.AnalyseEquation();
        // Units and names as mark-up: a superscript, a subscript and a Greek letter.
        // The rows come in alphabetical order: g, h, m, t.
        const char* units[] = { "m/s[cf11]2[cf1]", "m", "kg", "s" };
        const char* names[]
            = { "acceleration due to gravity", "height", "mass of the ;ga-sample", "time of fall t[cf15]f[cf1]" };
        for (int r = 0; r < 4; ++r) {
            d.StringGrid_ZoznamVelicin_v_Rovnici->item(r, 1)->setText(units[r]);
            d.StringGrid_ZoznamVelicin_v_Rovnici->item(r, 2)->setText(names[r]);
        }
        d.StringGrid_ZoznamVelicin_v_Rovnici->setCurrentCell(1, 2);
        QTest::qWait(200);
        d.grab().save(folder + "/equation_dialog_quantities.png");
        d.StringGrid_CorrelationMatrix->item(0, 1)->setText("0.25");
        d.StringGrid_CorrelationMatrix->item(2, 3)->setText("-0.5");
        d.PageControl1->setCurrentWidget(d.TabSheet_CorrelationMatrix);
        QTest::qWait(200);
        d.grab().save(folder + "/equation_dialog.png");
        DialogScript::Instance().AnswerMessage(mrYes);
        d.reject();
    });
    five.exec();

    TQuantityDialogData quantity;
    quantity.FEditingAllowed = true;
    quantity.FCellName = "Acetic acid";
    quantity.FSymbol = "M";
    quantity.FValueType = 2;
    quantity.FSumFormula = "CH3COOH";
    TfOrvek9 nine;
    nine.Load(quantity);
    WhenShown<TfOrvek9>([&](TfOrvek9& d) {
        d.Button_Vypocet->setEnabled(true);
        d.ComputeMolarMass();
        QTest::qWait(200);
        d.grab().save(folder + "/quantity_dialog.png");
        DialogScript::Instance().AnswerMessage(mrYes);
        d.reject();
    });
    nine.exec();

    TfEditSpecialString special;
    special.setWindowTitle(GetString(387));
    special.EditName->setText(GetString(89));
    special.LoadText("m[cf11]3[cf1]/s");
    WhenShown<TfEditSpecialString>([&](TfEditSpecialString& d) {
        QTest::qWait(200);
        d.grab().save(folder + "/special_string.png");
        if (d.FTextBox->ToolWindow)
            d.FTextBox->ToolWindow->grab().save(folder + "/special_string_tools.png");
        d.sbCancelClick();
    });
    special.exec();
    // The close questions depend on what the pictures changed; they are not the point here.
    DialogScript::Instance().Reset();
}

} // namespace
} // namespace orvek::test
