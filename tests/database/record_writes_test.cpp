#include "database/record_writes.h"

#include "core/services.h"
#include "database/folder_groups.h"
#include "engine/model_file.h"
#include "platform/db_session.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/user_database_fixture.h"

#include <QSqlError>
#include <sqlite3.h>

namespace orvek {
namespace {

// Counts what the batch progress window was asked to show.
struct ProgressWindow : MessageWindowService {
    void ShowBatch(const QString& text, bool) override
    {
        ++shows;
        caption = text;
    }
    void SetupProgress(bool, int, int max) override { maximum = max; }
    bool StepProgress(int) override
    {
        ++steps;
        return false;
    }
    void HideBatch() override { ++hides; }
    int shows = 0, steps = 0, hides = 0, maximum = 0;
    QString caption;
};

class RecordWrites : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
        SetMessageWindowService(&progress);
    }
    void TearDown() override
    {
        SetMessageWindowService(nullptr);
        db = QSqlDatabase();
        test::UserDatabase::TearDown();
    }

    QVector<qint64> AddRecords(int count, int group = 1, const QString& folder = "2")
    {
        QVector<qint64> ids;
        for (int i = 0; i < count; ++i) {
            TNewRecord record;
            record.GroupID = group;
            record.FolderID = folder;
            record.RecordName = QString("r%1").arg(i);
            record.Diagram = "BeginCell=\r\nEndCell=\r\n";
            const qint64 id = AppendRecord(db, record);
            EXPECT_GT(id, 0);
            ids << id;
        }
        return ids;
    }
    QStringList Column(const QString& sql) { return test::QueryColumn(db, sql); }

    QSqlDatabase db;
    ProgressWindow progress;
};

TEST_F(RecordWrites, AppendTakesItsIdFromTheInsertAndFilesTheRecord)
{
    // Another workstation appends a later row meanwhile: the ID is still our own.
    TNewRecord record;
    record.GroupID = 1;
    record.FolderID = "4";
    record.UserName = "Eva Nová";
    record.UserID = 7;
    record.FromTemplateID = 12;
    record.SampleID = "S-1";
    record.RecordName = "Hmotnosť \"kalibrácia\"";
    record.TemplateName = "Váženie";
    record.Diagram = "BeginCell=\r\nEndCell=\r\n";
    const qint64 id = AppendRecord(db, record);
    {
        QSqlDatabase other = Other();
        QSqlQuery query(other);
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (GroupID, NazovMerania) VALUES (1, 'other')"));
    }
    const QVariantMap row = Row("TreeDB", id);
    EXPECT_EQ(row.value("NazovMerania").toString(), record.RecordName);
    EXPECT_EQ(row.value("IDDB1").toString(), "4");
    EXPECT_EQ(row.value("Datum").toString(), "2026-03-09");
    EXPECT_EQ(row.value("Deleted").toInt(), 0);
    EXPECT_EQ(row.value("PracovnikID").toInt(), 7);
    EXPECT_EQ(row.value("FromTemplateID").toInt(), 12);
    EXPECT_EQ(row.value("Strom").toString(), record.Diagram);

    // From a scrambled model file, the diagram is stored plain.
    const QString file = TempDir + "copy.STM";
    ASSERT_TRUE(WriteScrambledModelFile(file, "BeginCell=\r\nName=m;\r\nEndCell=\r\n"));
    record.RecordName = CopyRecordName("Hmotnosť");
    const qint64 copy = AppendRecordFromFile(db, record, file);
    ASSERT_GT(copy, id + 1);
    EXPECT_TRUE(Row("TreeDB", copy).value("Strom").toString().startsWith("BeginCell=\r\nName=m;\r\nEndCell=\r\n"));
    EXPECT_EQ(Row("TreeDB", copy).value("NazovMerania").toString(), "Hmotnosť (" + GetString(880) + ")");
    EXPECT_EQ(AppendRecordFromFile(db, record, TempDir + "missing.STM"), -1);

    record.FolderColumn = "NazovMerania";
    QString error;
    EXPECT_EQ(AppendRecord(db, record, &error), -1);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(RecordWrites, HeadEditWritesOnlyAChangedHeadAndKeepsTheCounter)
{
    const QVector<qint64> ids = AddRecords(2);
    TRecordHead head;
    ASSERT_TRUE(ReadRecordHead(db, ids[0], head));
    EXPECT_EQ(WriteRecordHead(db, ids[0], head), THeadWrite::Unchanged);

    const QStringList before = Column("SELECT Datum || NazovMerania || SampleID || ChangeCounter FROM TreeDB "
                                      "WHERE ID = "
        + QString::number(ids[1]));
    head.NazovMerania = "nový názov";
    head.SampleID = "X-9";
    head.Datum = QDate(2025, 12, 31);
    EXPECT_EQ(WriteRecordHead(db, ids[0], head), THeadWrite::Written);
    EXPECT_EQ(Column("SELECT Datum || '|' || NazovMerania || '|' || SampleID || '|' || ChangeCounter FROM TreeDB "
                     "WHERE ID = "
                  + QString::number(ids[0])),
        QStringList { "2025-12-31|nový názov|X-9|0" });
    EXPECT_EQ(Column("SELECT Datum || NazovMerania || SampleID || ChangeCounter FROM TreeDB WHERE ID = "
                  + QString::number(ids[1])),
        before);
    QString error;
    EXPECT_EQ(WriteRecordHead(db, 999, head, &error), THeadWrite::Failed);
    EXPECT_FALSE(error.isEmpty());
}

// Moves to the deleted-records folder reach every group's folder column; deletions for
// good keep what another user holds open. The progress window shows above 7 and above
// 1 records.
TEST_F(RecordWrites, BinMovesAndDeletionsFollowTheirThresholdsAndLocks)
{
    int second = 0;
    ASSERT_TRUE(CreateFolderGroup(db, "Second", second));
    struct Case {
        const char* what;
        bool forGood;
        int count;
        int lockedByOther; // the first records of the batch another user holds open
        int lockedByMe;
        bool missingOne;
        bool progressShown;
    };
    const Case cases[] = {
        { "move of 7", false, 7, 1, 0, false, false },
        { "move of 8", false, 8, 0, 0, true, true },
        { "delete one", true, 1, 0, 1, false, false },
        { "delete two", true, 2, 0, 0, false, true },
        { "delete with locks", true, 5, 2, 1, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        progress = ProgressWindow();
        QVector<qint64> ids = AddRecords(c.count);
        const qint64 bystander = AddRecords(1).first();
        for (int i = 0; i < c.lockedByOther; ++i)
            PostStatement(db, "UPDATE TreeDB SET OpenedByUserID = 9 WHERE ID = ?", { ids[i] });
        for (int i = 0; i < c.lockedByMe; ++i)
            PostStatement(db, "UPDATE TreeDB SET OpenedByUserID = 3 WHERE ID = ?", { ids[c.lockedByOther + i] });
        if (c.missingOne)
            ids << 999999;
        const TRecordBatch batch
            = c.forGood ? DeleteRecordsForGood(db, ids, 3, "Delete") : MoveRecordsToDeletedFolder(db, ids, "Delete");
        EXPECT_TRUE(batch.Posted) << batch.Error.toStdString();
        EXPECT_EQ(batch.Missing, c.missingOne ? 1 : 0);
        EXPECT_EQ(progress.shows, c.progressShown ? 1 : 0);
        EXPECT_EQ(progress.hides, progress.shows);
        if (c.progressShown) {
            EXPECT_EQ(progress.caption, "Delete");
            EXPECT_EQ(progress.steps, ids.size());
        }
        int present = 0;
        for (int i = 0; i < c.count; ++i) {
            const QVariantMap row = Row("TreeDB", ids[i]);
            if (c.forGood) {
                EXPECT_EQ(row.isEmpty(), i >= c.lockedByOther) << i;
                present += row.isEmpty() ? 0 : 1;
            } else {
                EXPECT_EQ(row.value("IDDB1").toString(), "1");
                EXPECT_EQ(row.value(GroupFolderColumn(second)).toString(), "1");
            }
        }
        if (c.forGood) {
            EXPECT_EQ(present, c.lockedByOther);
            EXPECT_EQ(batch.Locked, c.lockedByOther);
            EXPECT_EQ(batch.Done, c.count - c.lockedByOther);
        } else {
            EXPECT_EQ(batch.Done, c.count); // moves do not look at the lock
        }
        EXPECT_EQ(Row("TreeDB", bystander).value("IDDB1").toString(), "2");
    }
}

TEST_F(RecordWrites, FolderMovesWriteOnlyTheFolderColumnInOnePost)
{
    const QVector<qint64> ids = AddRecords(3);
    const QVector<qint64> others = AddRecords(1, 1, "5");
    PostStatement(db, "UPDATE TreeDB SET OpenedByUserID = 9 WHERE ID = ?", { ids[0] });
    TRecordBatch batch = MoveRecordsToFolder(db, { ids[0], ids[2], 424242 }, "IDDB1", "0");
    EXPECT_TRUE(batch.Posted) << batch.Error.toStdString();
    EXPECT_EQ(batch.Done, 2);
    EXPECT_EQ(batch.Missing, 1);
    EXPECT_EQ(
        Column("SELECT IDDB1 || ChangeCounter FROM TreeDB ORDER BY ID"), (QStringList { "00", "20", "00", "50" }));
    EXPECT_EQ(others.size(), 1);

    batch = MoveRecordsToFolder(db, ids, "NazovMerania", "0");
    EXPECT_FALSE(batch.Posted);
    EXPECT_EQ(batch.Done, 0);

    // A database that refuses the post changes nothing. (SQLite's own way of refusing
    // it; the server's is not written yet.)
    if (!test::OnPostgres()) {
        QSqlDatabase other = Other();
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        sqlite3_busy_timeout(SqliteHandleOf(db), 1);
        batch = MoveRecordsToFolder(db, ids, "IDDB1", "7");
        EXPECT_FALSE(batch.Posted);
        EXPECT_FALSE(batch.Error.isEmpty());
        ASSERT_TRUE(lock.exec("ROLLBACK"));
    }
    EXPECT_EQ(Column("SELECT count(*) FROM TreeDB WHERE IDDB1 = '7'"), QStringList { "0" });
}

} // namespace
} // namespace orvek
