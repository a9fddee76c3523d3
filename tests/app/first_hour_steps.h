#pragma once
// Steps of a new user's first hour, typed through the program's own windows: a new
// template from an equation in the template window, handed over as a record, and the
// values of its quantities typed into the summary of quantities.

#include "database/template_document.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/template_window.h"
#include "engine/cell.h"
#include "mainwindow/ui/equation_cell_dialog.h"
#include "mainwindow/ui/table_quantities.h"
#include "platform/ui/rich_edit98.h"
#include "tests/database/ui/when_shown.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace orvek::test {

// In the template window: a new template from "Symbol = RightSide", typed into the
// equation dialog; Coverage, when not negative, is the item of the coverage list.
inline void NewTemplateFromEquation(
    TfOrvekDB& window, const QString& symbol, const QString& rightSide, int coverage = -1)
{
    WhenShown<TfOrvek5>([symbol, rightSide, coverage](TfOrvek5& d) {
        d.Edit_SymbolVeliciny->setText(symbol);
        d.RichEdit_PravaStranaRovnice->setFocus();
        QTest::keyClicks(d.RichEdit_PravaStranaRovnice, rightSide);
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 5000));
        if (coverage >= 0)
            d.ComboBox_Coverage->setCurrentIndex(coverage);
        d.Button_OK->click();
    });
    window.ActionNewRecFromNewTree->trigger();
    // The window's timer loads the new template once the window is active again.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Document().RootCell && window.Document().RootCell->ChildCount() > 0; }, 5000));
}

// The template of the window handed over as a new record named Name.
inline void HandOverAsRecord(TfOrvekDB& window, const QString& name)
{
    WhenShown<TfEditRecordHead>([name](TfEditRecordHead& head) {
        head.Edit_NazovMerania->setText(name);
        head.Button2->click();
    });
    window.ActionCloseWindowandAddTemplateToDB->trigger();
}

// The summary of quantities, when it shows, answered with Values (symbol -> text), each
// typed as a user types it: the cell's editor, the text, Enter; then OK.
inline void TypeQuantityValues(const QMap<QString, QString>& values)
{
    WhenShown<TfTableQuantites>([values](TfTableQuantites& summary) {
        QTableWidget* grid = summary.StringGrid_Quantities;
        const int valueColumn = 2;
        for (int row = 0; row < grid->rowCount(); ++row) {
            const QString symbol = grid->item(row, 0) ? grid->item(row, 0)->text() : QString();
            if (!values.contains(symbol))
                continue;
            grid->setFocus();
            grid->setCurrentCell(row, valueColumn);
            // The value column opens its editor as soon as its cell is current.
            QWidget* editor = grid->indexWidget(grid->currentIndex());
            ASSERT_NE(editor, nullptr) << symbol.toStdString();
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(editor, values.value(symbol));
            QTest::keyClick(editor, Qt::Key_Return);
        }
        summary.OkButton->click();
    });
}

} // namespace orvek::test
