// One look for the program's dialogs: wherever a dialog offers OK and Cancel, the two
// stand in one button box, in the same order in every dialog.

#include "core/string_table.h"
#include "database/data_module.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/quantity_cell_dialog.h"
#include "platform/sql_database.h"
#include "tests/app/program_fixture.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLayout>
#include <QPushButton>
#include <optional>

using namespace orvek;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

// The diagram text of y = a + b with a = 1 and b = 2.
QString ModelText()
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = "y = a + b";
    info.NormalizedEquation = "y=a+b";
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const char* symbol : { "a", "b" }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.ValueType = 1;
        q.Value = "1";
        root.AddChild(q);
    }
    return root.SaveToText() + "\r\n";
}

QString Caption(const QPushButton* button)
{
    return button->text().remove(QLatin1Char('&'));
}

class DialogButtons : public ProgramTest {
protected:
    // Checks the OK/Cancel pairs of Dialog: both in one button box, OK before Cancel or
    // after it as the first pair seen. Returns the number of pairs found.
    int CheckPairs(QDialog& dialog)
    {
        const QStringList cancels { GetString(4), QStringLiteral("Quit"),
            QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text().remove(QLatin1Char('&')) };
        QPushButton *ok = nullptr, *cancel = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->window() != &dialog)
                continue;
            if (Caption(button) == QLatin1String("OK"))
                ok = button;
            else if (cancels.contains(Caption(button)))
                cancel = button;
        }
        if (!ok || !cancel)
            return 0;
        const std::string name = dialog.objectName().toStdString();
        auto* box = qobject_cast<QDialogButtonBox*>(ok->parentWidget());
        EXPECT_NE(box, nullptr) << name << ": OK is not in a button box";
        EXPECT_EQ(cancel->parentWidget(), box) << name << ": Cancel is not beside OK";
        if (!box || cancel->parentWidget() != box)
            return 0;
        EXPECT_EQ(box->buttonRole(ok), QDialogButtonBox::AcceptRole) << name;
        EXPECT_EQ(box->buttonRole(cancel), QDialogButtonBox::RejectRole) << name;
        const bool okFirst = box->layout()->indexOf(ok) < box->layout()->indexOf(cancel);
        if (!order_)
            order_ = okFirst;
        EXPECT_EQ(okFirst, *order_) << name << ": OK and Cancel in another order";
        return 1;
    }

    std::optional<bool> order_;
};

TEST_F(DialogButtons, OkAndCancelStandInOneBoxInOneOrderInEveryDialog)
{
    int id = 0;
    {
        QString error;
        QSqlDatabase db = OpenFolderDatabase("other", DatabaseDir, false, &error);
        ASSERT_TRUE(db.isOpen()) << error.toStdString();
        TNewRecord record;
        record.GroupID = 1;
        record.RecordName = "Meranie";
        record.UserID = 1;
        record.Diagram = ModelText();
        id = int(AppendRecord(db, record, &error));
    }
    CloseFolderDatabase("other");
    StartAsAdministrator();

    // The dialogs the program keeps for its whole run.
    int pairs = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window))
            pairs += CheckPairs(*dialog);
    // The folder picker, the one-line editors, the condition editor, the report
    // selection and the settings at least.
    EXPECT_GE(pairs, 8);

    // A cell dialog, made when it is opened.
    Main().activateWindow();
    Main().RecordPanel->DBGrid_Tree->setCurrentIndex(Main().RecordPanel->DBGrid_Tree->model()->index(0, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentRecordID == id && Main().FRootCell(); }, 5000));
    TCellBoxWidget* box = Main().ScrollBox2->BoxOf(Main().FRootCell()->Child(0));
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }, 5000));
    int quantityPairs = 0;
    WhenShown<TfOrvek9>([&](TfOrvek9& dialog) {
        quantityPairs = CheckPairs(dialog);
        dialog.Button_Cancel->click();
    });
    QTest::mouseDClick(box, Qt::LeftButton, {}, box->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return quantityPairs == 1; }, 5000));
}

} // namespace
