#include "core/files.h"
#include "database/query_rows_model.h"
#include "database/ui/db_navigator.h"
#include "database/ui/history_window.h"
#include "database/ui/validation_history.h"
#include "database/ui/vx_db_grid.h"
#include "platform/ui/rich_edit98.h"
#include "tests/database/ui/folder_tree_fixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

using namespace orvek;

namespace {

class HistoryWindows : public test::FolderDatabase {
protected:
    static void AddHistory(
        int diagram, const char* date, const char* time, const char* user, const char* before, const char* after)
    {
        OtherExec("INSERT INTO History (GroupID, PracovnikID, DiagramID, Datum, Cas, OriginalValues, NewValues, "
                  "PracovnikMeno, DiagramName) VALUES (1, 2, ?, ?, ?, ?, ?, ?, ?)",
            { diagram, date, time, QString::fromUtf8(before), QString::fromUtf8(after), QString::fromUtf8(user),
                "Weighing" });
    }
    static bool IsBold(TRichEdit98* edit, const QString& word)
    {
        const QTextCursor found = edit->document()->find(word);
        return !found.isNull() && found.charFormat().fontWeight() == QFont::Bold;
    }
};

} // namespace

TEST_F(HistoryWindows, ListsARecordsChangesInDateOrderAndRendersTheCurrentRow)
{
    AddHistory(7, "2026-03-09", "10:00:00.000", "Eva Nová", "u = [cf3]0.5[cf1] g", "u = [cf3]0.6[cf1] g");
    AddHistory(8, "2026-01-01", "08:00:00.000", "Someone", "other record", "other record");
    AddHistory(7, "2026-02-01", "09:30:15.000", "Ján Kráľ", "[cf2]first[cf1]", "second");
    AddHistory(7, "2026-03-09", "08:00:00.000", "Eva Nová", "morning", "[cf3]noon[cf1]");
    TfHistory1 window;
    window.HistorySQL = "SELECT * FROM History WHERE DiagramID = ? ORDER BY Datum, Cas";
    window.HistoryValues = { 7 };
    window.show();
    window.ShowHistory(0, 7);

    // The last row (the newest change) is shown first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Panel_RecNo->text() == "3/3"; }, 5000));
    QStringList times;
    for (int row = 0; row < window.Q_History->RecordCount(); ++row)
        times << window.Q_History->Value(row, "Datum").toString() + " "
                + window.Q_History->Value(row, "Cas").toString();
    EXPECT_EQ(times, QStringList({ "2026-02-01 09:30:15.000", "2026-03-09 08:00:00.000", "2026-03-09 10:00:00.000" }));
    EXPECT_EQ(window.VxDBGrid->model()->index(0, 1).data().toString(), "09:30:15");
    EXPECT_EQ(window.RichEdit_Original->toPlainText(), "u = 0.5 g");
    EXPECT_TRUE(IsBold(window.RichEdit_Modified, "0.6"));
    EXPECT_EQ(window.Edit_Meranie->text(), "Weighing");

    // Moving to the first row brings its texts and, with no user fixed, its user.
    window.DBNavigator->ButtonFirst->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Panel_RecNo->text() == "1/3"; }, 5000));
    EXPECT_EQ(window.RichEdit_Original->toPlainText(), "first");
    EXPECT_EQ(window.RichEdit_Modified->toPlainText(), "second");
    EXPECT_EQ(window.Edit_Pracovnik->text(), QString::fromUtf8("Ján Kráľ"));

    // A user given by the caller stays in the edit for every row.
    window.ShowHistory(2, 7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Panel_RecNo->text() == "3/3"; }, 5000));
    window.DBNavigator->ButtonFirst->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Panel_RecNo->text() == "1/3"; }, 5000));
    EXPECT_EQ(window.Edit_Pracovnik->text(), QString::fromUtf8("Ján Kráľ")); // the first row's, read at the start
    window.DBNavigator->ButtonLast->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Panel_RecNo->text() == "3/3"; }, 5000));
    EXPECT_EQ(window.Edit_Pracovnik->text(), QString::fromUtf8("Ján Kráľ"));
}

TEST_F(HistoryWindows, AnEmptyOrFailingHistoryShowsNothingAndTheLogSaysWhy)
{
    TfHistory1 window;
    window.show();
    window.HistorySQL = "SELECT * FROM History WHERE DiagramID = ? ORDER BY Datum, Cas";
    window.HistoryValues = { 99 };
    window.ShowHistory(0, 99);
    QTest::qWait(120);
    EXPECT_TRUE(window.Panel_RecNo->text().isEmpty());
    EXPECT_TRUE(window.Edit_Pracovnik->text().isEmpty());
    EXPECT_TRUE(window.RichEdit_Original->toPlainText().isEmpty());

    window.HistorySQL = "SELECT * FROM NoSuchHistory";
    window.ShowHistory(0, 0);
    EXPECT_EQ(window.Q_History->RecordCount(), 0);
    QFile log(AppDir + kErrorLogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains("NoSuchHistory"));
}

TEST_F(HistoryWindows, ValidationRunsAreStoredAndTheNewestReportIsShown)
{
    SelfValidationHook = nullptr;
    QPointer<TfValidationHistory> window = new TfValidationHistory;
    EXPECT_FALSE(window->Button_Validation->isEnabled());
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000)); // it frees itself

    int runs = 0;
    SelfValidationHook = [&](QString& result, QString& report) {
        ++runs;
        result = QStringLiteral("OK %1").arg(runs);
        report += QStringLiteral("[cf3]run %1[cf1] passed").arg(runs);
        return true;
    };
    window = new TfValidationHistory;
    window->show();
    ASSERT_TRUE(window->Button_Validation->isEnabled());
    window->Button_Validation->click();
    window->Button_Validation->click();
    EXPECT_EQ(Query("SELECT ResultStr FROM ValidationHistory ORDER BY ID"), QStringList({ "OK 1", "OK 2" }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Panel_RecNo->text() == "2 / 2"; }, 5000));
    EXPECT_EQ(window->RichEdit981->toPlainText(), "run 2 passed");
    window->Button_Close->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000));
    SelfValidationHook = nullptr;
}
