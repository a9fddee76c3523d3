// The source dialog as the program opens it from a record: the chart page's check keeps
// every point's date and operator with its value, the fields a template fixes say why
// and the dialog names the way to an editable copy, and infinite degrees of freedom are
// typed as people type them.

#include "core/number_text.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "platform/sql_database.h"
#include "platform/ui/f1_book.h"
#include "sources/ui/source_dialog.h"
#include "tests/app/program_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <functional>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

TVstupStandardnejNeistoty Source(int method)
{
    TVstupStandardnejNeistoty rec;
    ClearUncertaintyInput(rec);
    rec.TSN = quint8(method);
    return rec;
}

// The diagram text of y = a + b: a takes its u from the sources given, b is a value.
QString ModelText(const std::vector<TVstupStandardnejNeistoty>& sources)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = "y = a + b";
    info.NormalizedEquation = "y=a+b";
    TCell root(nullptr, info, 0, 0, nullptr);
    TPrenosInfoDoNovejBunky q;
    q.CellType = kQuantityCell;
    q.CellName = q.Symbol = q.QuantityName = "a";
    q.ValueType = 0;
    q.Value = "10";
    TCell* a = root.AddChild(q);
    for (size_t i = 0; i < sources.size(); ++i) {
        TPrenosInfoDoNovejBunky u;
        u.CellType = kUncertaintyCell;
        u.CellName = QStringLiteral("u%1").arg(i + 1);
        u.Active = 1;
        a->AddChild(u)->FUncertaintyInput = sources[i];
    }
    q.CellName = q.Symbol = q.QuantityName = "b";
    q.ValueType = 1;
    q.Value = "2";
    root.AddChild(q);
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

class SourceDialogPaths : public ProgramTest {
protected:
    void TearDown() override
    {
        ProgramTest::TearDown();
        CloseFolderDatabase("other");
        LanguageID = 0;
    }

    // A record written by another workstation before the log-in.
    static int AddRecord(const std::vector<TVstupStandardnejNeistoty>& sources)
    {
        QString error;
        QSqlDatabase db = OpenFolderDatabase("other", DatabaseDir, false, &error);
        EXPECT_TRUE(db.isOpen()) << error.toStdString();
        TNewRecord record;
        record.GroupID = 1;
        record.RecordName = "Sources";
        record.UserID = 1;
        record.Diagram = ModelText(sources);
        return int(AppendRecord(db, record, &error));
    }

    TCell* Root() { return Main().FRootCell(); }
    TCell* SourceCell(int i) { return Root()->Child(0)->Child(i); }

    // The record shown, as a click on its row shows it.
    void ShowRecord(int id)
    {
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
        RecordViewPanel& panel = *Main().RecordPanel;
        int row = -1;
        for (int r = 0; r < panel.View().RowCount(); ++r)
            if (panel.View().RowID(r) == id)
                row = r;
        ASSERT_GE(row, 0);
        panel.DBGrid_Tree->setCurrentIndex(panel.DBGrid_Tree->model()->index(row, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentRecordID == id && Root(); }, 5000));
    }

    // The dialog of source I opened by a double click on its box, driven by Drive.
    void EditSource(int i, const std::function<void(TfOrvek6&)>& drive)
    {
        TCellBoxWidget* box = Main().ScrollBox2->BoxOf(SourceCell(i));
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }, 5000));
        bool shown = false;
        WhenShown<TfOrvek6>([&](TfOrvek6& d) {
            shown = true;
            drive(d);
            // A drive that stopped on a failed assertion leaves the dialog, discarding.
            if (d.isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                DialogScript::Instance().AnswerMessage(mrYes);
                d.done(2);
            }
        });
        QTest::mouseDClick(box, Qt::LeftButton, {}, box->rect().center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown; }, 5000));
        Main().activateWindow();
    }

    // Types Text into a point-table cell as a user does: the editor opens, takes the
    // text, and the edit ends.
    static void Type(TF1Book& table, int row, int col, const QString& text)
    {
        table.setFocus();
        table.SetSelection(row, col, row, col);
        table.edit(table.model()->index(row - 1, col - 1));
        auto* editor = qobject_cast<QLineEdit*>(table.indexWidget(table.currentIndex()));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        table.EndEdit();
    }

    // OK as the user presses it, once the dialog's timer has enabled it.
    static void PressOk(TfOrvek6& d)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 3000));
        d.Button_OK->click();
    }

    // The record's diagram as the database holds it.
    QString StoredDiagram(int id) { return ColumnElsewhere("SELECT Strom FROM TreeDB WHERE ID = ?", { id }).value(0); }
};

TEST_F(SourceDialogPaths, TheChartPageClosesUpARowWithoutValueTakingItsDateAndOperatorAlong)
{
    const int id = AddRecord({ Source(11) });
    StartAsAdministrator();
    ShowRecord(id);

    // Five rows typed; the value of the third was deleted again, the fourth has no date.
    EditSource(0, [](TfOrvek6& d) {
        ASSERT_EQ(d.PageControl1->currentWidget(), d.Page7.TabSheet_7);
        d.Page7.PageControl_7->setCurrentWidget(d.Page7.TabSheet_7_1);
        TF1Book& table = *d.Page7.Table_7;
        const QStringList rows[] = { { "1.3.2026", "Eva", "10" }, { "2.3.2026", "Jan", "11" },
            { "3.3.2026", "Eva", "" }, { "", "", "12" }, { "5.3.2026", "Jan", "13" } };
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
                if (!rows[r][c].isEmpty())
                    Type(table, r + 1, c + 1, rows[r][c]);
        PressOk(d);
    });

    // The value of the fourth row keeps its own (empty) date and operator.
    const TVstupStandardnejNeistoty& rec = SourceCell(0)->FUncertaintyInput;
    EXPECT_EQ(rec.PM_7, 4);
    EXPECT_EQ(rec.VM_7.Text, "10@11@12@13@");
    EXPECT_EQ(rec.DM_7, "1.3.2026@2.3.2026@@5.3.2026@");
    EXPECT_EQ(rec.Meral_7, "Eva@Jan@@Jan@");
    EXPECT_FALSE(SourceCell(0)->FCombinedUncertainty.isEmpty());

    // And the record stores them so, once the main window's timer has saved it.
    QString stored;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            stored = StoredDiagram(id);
            return stored.contains("DM_7=");
        },
        10000));
    EXPECT_TRUE(stored.contains("DM_7=1.3.2026@2.3.2026@@5.3.2026@;")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("Meral_7=Eva@Jan@@Jan@;")) << stored.toStdString();
}

TEST_F(SourceDialogPaths, FieldsATemplateFixesSayWhyAndTheDialogNamesTheWayToAnEditableCopy)
{
    // A t-distribution source as a template leaves it: method, option, u and degrees of
    // freedom locked; and a free one.
    TVstupStandardnejNeistoty fixed = Source(3);
    fixed.SO_2_3.Text = "0.5";
    fixed.PSV_2_3.Text = "50";
    fixed.TSNLock = fixed.ZPSV_2_3Lock = fixed.SO_2_3.Lock = fixed.PSV_2_3.Lock = 1;
    TVstupStandardnejNeistoty free = Source(3);
    free.SO_2_3.Text = "0.5";
    free.PSV_2_3.Text = "50";
    const int id = AddRecord({ fixed, free });
    StartAsAdministrator();
    ShowRecord(id);

    const QString why = GetString(23751);
    EditSource(0, [&](TfOrvek6& d) {
        EXPECT_FALSE(d.ComboBox_VstupStandardnejNeistoty->isEnabled());
        for (QWidget* locked : std::initializer_list<QWidget*> { d.ComboBox_VstupStandardnejNeistoty,
                 d.Page2.ComboBox_Rozdelenie, d.Page2.ComboBox_Moznosti_2_3, d.Page2.Edit_StandardnaNeistota_2_3,
                 d.Page2.Edit_PocetStupnovVolnosti_2_3 })
            EXPECT_TRUE(locked->toolTip().contains(why)) << locked->objectName().toStdString();
        EXPECT_FALSE(d.Edit_NazovBunky->toolTip().contains(why));
        EXPECT_TRUE(d.TemplateLockStatus->isVisible());
        const QString status = d.TemplateLockText->text();
        EXPECT_TRUE(status.contains(GetString(709))) << status.toStdString();
        EXPECT_TRUE(status.contains(GetString(392))) << status.toStdString();
        if (const QString folder = qEnvironmentVariable("ORVEK_SHOTS"); !folder.isEmpty())
            d.grab().save(folder + "/source_template_locks.png");
        d.Button_Cancel->click();
    });
    // The same dialog on a source without locks says nothing of them.
    EditSource(1, [&](TfOrvek6& d) {
        EXPECT_TRUE(d.ComboBox_VstupStandardnejNeistoty->isEnabled());
        EXPECT_FALSE(d.ComboBox_VstupStandardnejNeistoty->toolTip().contains(why));
        EXPECT_FALSE(d.TemplateLockStatus->isVisible());
        d.Button_Cancel->click();
    });
}

TEST_F(SourceDialogPaths, InfiniteDegreesOfFreedomAreTypedAsPeopleTypeThemAndShownInTheLanguage)
{
    TVstupStandardnejNeistoty given = Source(8);
    given.SO_5.Text = "0.2";
    given.PSV_5.Text = "10";
    const int id = AddRecord({ given });
    StartAsAdministrator();
    ShowRecord(id);

    EditSource(0, [](TfOrvek6& d) {
        QLineEdit* dof = d.Page5.Edit_PocetStupnovVolnosti_5;
        dof->setFocus();
        dof->selectAll();
        QTest::keyClicks(dof, "inf");
        QTest::keyClick(dof, Qt::Key_Return);
        EXPECT_EQ(dof->text(), "Infinity");
        PressOk(d);
    });
    EXPECT_EQ(SourceCell(0)->FUncertaintyInput.PSV_5.Text, InfiniteDegreesOfFreedomText);
    EXPECT_EQ(SourceCell(0)->FDegreesOfFreedom, InfiniteDegreesOfFreedomText);

    // In Slovak the field shows the Slovak word, and takes the English one.
    LanguageID = 1;
    EditSource(0, [](TfOrvek6& d) {
        QLineEdit* dof = d.Page5.Edit_PocetStupnovVolnosti_5;
        EXPECT_EQ(dof->text(), QString::fromUtf8("Nekone\u010Dno"));
        dof->setFocus();
        dof->selectAll();
        dof->insert(QString::fromUtf8("\u221E")); // typed from a character map
        QTest::keyClick(dof, Qt::Key_Return);
        EXPECT_EQ(dof->text(), QString::fromUtf8("Nekone\u010Dno"));
        PressOk(d);
    });
    EXPECT_EQ(SourceCell(0)->FUncertaintyInput.PSV_5.Text, InfiniteDegreesOfFreedomText);
}

} // namespace
