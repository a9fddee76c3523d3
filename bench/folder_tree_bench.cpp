// Reading a folder table of 10,000 folders into the folder tree's record list and
// comparing it with the list of the previous build: after another workstation renamed
// one folder (only texts differ) and after it moved one (the tree is laid out again).
#include "database/folder_table_cursor.h"
#include "database/tv_record_list.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvek;

namespace {

constexpr int kFolders = 10000;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "folder_tree_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// 100 top-level folders of 10 sub-folders of 9 sub-sub-folders each, plus "0" and "1".
void FillFolders(QSqlDatabase& db)
{
    PostStatement(db,
        QStringLiteral("CREATE TABLE MeasureID1 (ID VARCHAR(5) NOT NULL PRIMARY KEY, OwnerID VARCHAR(5), "
                       "Description VARCHAR(100))"));
    Post(db, [&](QString* error) {
        QSqlQuery query(db);
        const QString insert = QStringLiteral("INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES (?, ?, ?)");
        int next = 2;
        bool ok
            = ExecBound(query, insert, { QStringLiteral("0"), QStringLiteral(""), QStringLiteral("Unassigned") }, error)
            && ExecBound(query, insert, { QStringLiteral("1"), QStringLiteral(""), QStringLiteral("Deleted") }, error);
        while (ok && next < kFolders) {
            const int top = next++;
            ok = ExecBound(
                query, insert, { QString::number(top), QStringLiteral("0"), QStringLiteral("Lab %1").arg(top) }, error);
            for (int i = 0; ok && i < 10 && next < kFolders; ++i) {
                const int middle = next++;
                ok = ExecBound(query, insert,
                    { QString::number(middle), QString::number(top), QStringLiteral("Room %1").arg(middle) }, error);
                for (int j = 0; ok && j < 9 && next < kFolders; ++j, ++next)
                    ok = ExecBound(query, insert,
                        { QString::number(next), QString::number(middle), QStringLiteral("Device %1").arg(next) },
                        error);
            }
        }
        return ok;
    });
}

TTVRecordList ReadList(FolderTableCursor& cursor)
{
    TTVRecordList list;
    const int id = cursor.FieldIndex(QStringLiteral("ID"));
    const int parent = cursor.FieldIndex(QStringLiteral("OwnerID"));
    const int text = cursor.FieldIndex(QStringLiteral("Description"));
    list.Reserve(cursor.RecordCount());
    for (int row = 0; row < cursor.RecordCount(); ++row)
        list.Add(cursor.RowValue(row, id).toString(), cursor.RowValue(row, parent).toString(),
            cursor.RowValue(row, text).toString());
    return list;
}

// Another workstation changes the table (untimed); then the tree's work is timed: read
// the rows again, make the record list, compare, and lay the rows out when the
// structure changed.
void RunChanges(benchmark::State& state, bool move)
{
    EnsureApplication();
    QTemporaryDir dir;
    {
        QSqlDatabase other = OpenFolderDatabase(QStringLiteral("bench-other"), dir.path(), true);
        FillFolders(other);
    }
    DatabaseSession session(QStringLiteral("FolderBench"));
    session.SetActive(true);
    session.SetAlias(QStringLiteral("BENCH"), dir.path());
    FolderTableCursor cursor(&session);
    cursor.DatabaseName = QStringLiteral("BENCH");
    cursor.TableName = QStringLiteral("MeasureID1");
    if (!cursor.Open()) {
        state.SkipWithError("the folder table does not open");
        return;
    }
    TTVRecordList previous = ReadList(cursor);
    QSqlDatabase other = OpenFolderDatabase(QStringLiteral("bench-other"), dir.path(), false);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        if (move)
            PostStatement(other, QStringLiteral("UPDATE MeasureID1 SET OwnerID = ? WHERE ID = '500'"),
                { QString::number(2 + (round % 2) * 100) });
        else
            PostStatement(other, QStringLiteral("UPDATE MeasureID1 SET Description = ? WHERE ID = '500'"),
                { QStringLiteral("Renamed %1").arg(round) });
        state.ResumeTiming();
        cursor.Refresh();
        TTVRecordList list = ReadList(cursor);
        const int code = list.Compare(&previous);
        if (code == tvcTextsOnly)
            benchmark::DoNotOptimize(list.ChangedTextItems(previous));
        else if (code != tvcEqual)
            benchmark::DoNotOptimize(LayOutRecords(list, QString(), true));
        previous = std::move(list);
    }
    state.counters["folders"] = cursor.RecordCount();
}

void BM_TextOnlyChange10000Folders(benchmark::State& state)
{
    RunChanges(state, false);
}

void BM_MovedFolder10000Folders(benchmark::State& state)
{
    RunChanges(state, true);
}

} // namespace

BENCHMARK(BM_TextOnlyChange10000Folders)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MovedFolder10000Folders)->Unit(benchmark::kMillisecond)->UseRealTime();
