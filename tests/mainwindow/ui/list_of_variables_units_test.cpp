// The list of quantities and units driven as a user would, on a copy of the empty
// database with its delivered catalogue. ORVEK_SHOTS=<folder> also saves a picture.

#include "core/string_table.h"
#include "database/query_rows_model.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "mainwindow/ui/list_of_variables_units.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/collation.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/user_database_fixture.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace orvek {
namespace {

using test::DialogScript;
using test::WhenShown;

class QuantityList : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        DialogScript::Instance().Reset();
    }
    void TearDown() override
    {
        DataModule1 = nullptr;
        test::UserDatabase::TearDown();
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
    }
    // Types Text into the one-line formatted-text dialog when it shows, then OK.
    static void TypeInTextDialog(const QString& text)
    {
        WhenShown<TfEditSpecialString>([text](TfEditSpecialString& d) {
            // Typed as one key press that carries the text (keyClicks knows only ASCII).
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(d.FTextBox->Edit, &key);
            d.sbAccept->click();
        });
    }
    static QString Field(const QueryRowsModel* model, int row, const char* field)
    {
        return model->Value(row, field).toString();
    }
    static int RowOfSort(const TfListOfVariablesUnits& w, const QString& sort)
    {
        for (int row = 0; row < w.Q_Veliciny->RecordCount(); ++row)
            if (Field(w.Q_Veliciny, row, "VelicinaSort") == sort)
                return row;
        return -1;
    }
    static void Select(TVxDBGrid* grid, int row) { grid->setCurrentIndex(grid->model()->index(row, 0)); }
};

TEST_F(QuantityList, OpensOnTheFirstQuantityWithOriginalRowsLocked)
{
    TfListOfVariablesUnits w;
    EXPECT_EQ(w.windowTitle(), GetString(224));
    EXPECT_EQ(w.VxDBGrid_Velicina->model()->headerData(0, Qt::Horizontal).toString(), GetString(228));
    w.OpenQuantityList();
    ASSERT_GT(w.Q_Veliciny->RecordCount(), 40);
    EXPECT_EQ(w.CurrentQuantityRow(), 0);
    EXPECT_EQ(w.FCurrentQuantityID, w.Q_Veliciny->Value(0, "ID").toLongLong());
    ASSERT_GT(w.T_Jednotky->RecordCount(), 0);
    EXPECT_EQ(w.CurrentUnitRow(), 0);

    for (QPushButton* b : { w.SpeedButton_EditovatVelicinu, w.SpeedButton_VymazatVelicinu,
             w.SpeedButton_EditovatJednotku, w.SpeedButton_VymazatJednotku })
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(w.SpeedButton4->isEnabled());
    EXPECT_TRUE(w.SpeedButton6->isEnabled());
    // A double click on a delivered row opens nothing (no dialog is driven here).
    w.VxDBGrid_VelicinaDblClick();
    w.VxDBGrid_JednotkyDblClick();

    // The list is in Slovak order of the plain text.
    for (int row = 1; row < w.Q_Veliciny->RecordCount(); ++row)
        EXPECT_LE(
            CompareSlovak(Field(w.Q_Veliciny, row - 1, "VelicinaSort"), Field(w.Q_Veliciny, row, "VelicinaSort")), 0)
            << row;
}

TEST_F(QuantityList, ANewQuantityIsSelectedAtItsSlovakPlaceAndDuplicatesAddNothing)
{
    TfListOfVariablesUnits w;
    w.OpenQuantityList();
    const int before = w.Q_Veliciny->RecordCount();

    TypeInTextDialog(QString::fromUtf8("chemický potenciál"));
    w.SpeedButton4->click();
    ASSERT_EQ(w.Q_Veliciny->RecordCount(), before + 1);
    const int row = w.CurrentQuantityRow();
    EXPECT_EQ(Field(w.Q_Veliciny, row, "VelicinaSort"), "chemicky potencial");
    EXPECT_EQ(Field(w.Q_Veliciny, row, "Velicina"), "chemick;aky potenci;aaal");
    EXPECT_GT(row, RowOfSort(w, "hustota"));
    EXPECT_LT(row, RowOfSort(w, "indukcnost"));
    // A quantity of the user's may be edited and deleted; it has no units yet.
    EXPECT_TRUE(w.SpeedButton_EditovatVelicinu->isEnabled());
    EXPECT_TRUE(w.SpeedButton_VymazatVelicinu->isEnabled());
    EXPECT_EQ(w.T_Jednotky->RecordCount(), 0);

    // The selected quantity's own name again adds nothing; a delivered name in capitals
    // is refused with a message.
    TypeInTextDialog(QString::fromUtf8("chemický potenciál"));
    w.SpeedButton4->click();
    EXPECT_EQ(w.Q_Veliciny->RecordCount(), before + 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
    DialogScript::Instance().AnswerMessage(mrOk);
    TypeInTextDialog("TLAK");
    w.SpeedButton4->click();
    EXPECT_EQ(w.Q_Veliciny->RecordCount(), before + 1);
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(22703, { "TLAK" }) });
    EXPECT_EQ(w.CurrentQuantityRow(), row);

    // An empty unit adds nothing; a unit typed with the quantity selected is added to it.
    TypeInTextDialog(QString());
    w.SpeedButton6->click();
    EXPECT_EQ(w.T_Jednotky->RecordCount(), 0);
    TypeInTextDialog("J/mol");
    w.SpeedButton6->click();
    ASSERT_EQ(w.T_Jednotky->RecordCount(), 1);
    EXPECT_EQ(Field(w.T_Jednotky, 0, "Jednotky"), "J/mol");
    EXPECT_TRUE(w.SpeedButton_VymazatJednotku->isEnabled());

    // Deleting the quantity after Yes takes its unit along.
    const qint64 id = w.FCurrentQuantityID;
    DialogScript::Instance().AnswerMessage(mrNo);
    w.SpeedButton_VymazatVelicinu->click();
    EXPECT_EQ(w.Q_Veliciny->RecordCount(), before + 1);
    DialogScript::Instance().AnswerMessage(mrYes);
    w.SpeedButton_VymazatVelicinu->click();
    EXPECT_EQ(w.Q_Veliciny->RecordCount(), before);
    EXPECT_TRUE(Row("Veliciny", id).isEmpty());
    QSqlQuery query(Other());
    ASSERT_TRUE(ExecBound(query, "SELECT count(*) FROM Jednotky WHERE VelicinaID = ?", { id }) && query.next());
    EXPECT_EQ(query.value(0).toInt(), 0);
}

TEST_F(QuantityList, PickingGivesTheChosenQuantityAndUnit)
{
    QuantityListProvider provider;
    const int pressure = [&] {
        TfListOfVariablesUnits w;
        w.OpenQuantityList();
        return RowOfSort(w, "tlak");
    }();
    ASSERT_GE(pressure, 0);

    WhenShown<TfListOfVariablesUnits>([pressure](TfListOfVariablesUnits& w) {
        EXPECT_TRUE(w.SpeedButton_Cancel->isVisibleTo(&w));
        Select(w.VxDBGrid_Velicina, pressure);
        w.Timer1Timer();
        Select(w.VxDBGrid_Jednotky, 1);
        QTest::keyClick(w.VxDBGrid_Jednotky, Qt::Key_Return);
    });
    QString name, unit;
    ASSERT_TRUE(provider.PickQuantity(name, unit));
    EXPECT_EQ(name, "tlak");
    EXPECT_EQ(unit, "hPa");

    // OK on a quantity without units gives an empty unit, even before the timer ran.
    {
        TfListOfVariablesUnits w;
        w.OpenQuantityList();
        TypeInTextDialog("zzz");
        w.SpeedButton4->click();
    }
    WhenShown<TfListOfVariablesUnits>([](TfListOfVariablesUnits& w) {
        Select(w.VxDBGrid_Velicina, w.Q_Veliciny->RecordCount() - 1);
        w.SpeedButton_OK->click();
    });
    ASSERT_TRUE(provider.PickQuantity(name, unit));
    EXPECT_EQ(name, "zzz");
    EXPECT_EQ(unit, QString());

    // Esc cancels, also while maintaining without a Cancel button.
    WhenShown<TfListOfVariablesUnits>([](TfListOfVariablesUnits& w) { QTest::keyClick(&w, Qt::Key_Escape); });
    EXPECT_FALSE(provider.PickQuantity(name, unit));
    bool closed = false;
    WhenShown<TfListOfVariablesUnits>([&closed](TfListOfVariablesUnits& w) {
        EXPECT_FALSE(w.SpeedButton_Cancel->isVisibleTo(&w));
        QTest::keyClick(w.VxDBGrid_Velicina, Qt::Key_Escape);
        closed = true;
    });
    provider.MaintainQuantityList();
    EXPECT_TRUE(closed);
}

TEST_F(QuantityList, TheTemplateWindowsToolsMenuOpensTheListForMaintenance)
{
    CurrentUserID = CurrentUserRights = CurrentGroupID = 1;
    TfOrvekDB window;
    auto* item = window.findChild<QAction*>("ActionListOfQuantities");
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(window.MenuNastroje->actions().contains(item));
    Q_EMIT window.MenuNastroje->aboutToShow();
    EXPECT_EQ(item->text(), GetString(224));
    EXPECT_FALSE(item->isEnabled());

    QuantityListProvider provider;
    SetQuantityListService(&provider);
    Q_EMIT window.MenuNastroje->aboutToShow();
    EXPECT_TRUE(item->isEnabled());
    bool shown = false;
    WhenShown<TfListOfVariablesUnits>([&shown](TfListOfVariablesUnits& w) {
        shown = true;
        EXPECT_FALSE(w.SpeedButton_Cancel->isVisibleTo(&w));
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    item->trigger();
    SetQuantityListService(nullptr);
    EXPECT_TRUE(shown);
}

TEST_F(QuantityList, Picture)
{
    const QString shots = qEnvironmentVariable("ORVEK_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS to a folder to save pictures";
    for (const quint8 language : { quint8(0), quint8(1) }) {
        LanguageID = language;
        TfListOfVariablesUnits w;
        w.OpenQuantityList();
        w.show();
        Select(w.VxDBGrid_Velicina, RowOfSort(w, "elektricky odpor"));
        w.Timer1Timer();
        QTest::qWait(100);
        w.grab().save(shots + QStringLiteral("/list_of_quantities_%1.png").arg(language));
    }
}

} // namespace
} // namespace orvek
