#include "database/record_writes.h"

#include "core/clock.h"
#include "core/services.h"
#include "core/string_table.h"
#include "database/diagram_row_counters.h"
#include "database/template_query.h"
#include "engine/model_file.h"
#include "platform/sql_database.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

namespace orvek {

namespace {

const QString kTreeTable = QStringLiteral("TreeDB");

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Shows the batch progress window for the life of a batch when it has more records
// than Threshold.
class BatchProgress {
public:
    BatchProgress(int count, int threshold, const QString& caption)
        : window_(count > threshold ? MessageWindow() : nullptr)
    {
        if (!window_)
            return;
        window_->ShowBatch(caption, false);
        window_->SetupProgress(true, 0, count);
    }
    ~BatchProgress()
    {
        if (window_)
            window_->HideBatch();
    }
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;
    void Step(int done)
    {
        if (window_)
            window_->StepProgress(done);
    }

private:
    MessageWindowService* window_;
};

// Runs Statement once per ID in one post, with the ID bound last. Skip, when given,
// decides per record before the statement whether it is kept.
TRecordBatch RunBatch(QSqlDatabase& db, const QVector<qint64>& ids, const QString& statement,
    const QVariantList& values, int progressAbove, const QString& caption,
    const std::function<bool(QSqlQuery&, qint64)>& keep = {})
{
    TRecordBatch batch;
    if (ids.isEmpty()) {
        batch.Posted = true;
        return batch;
    }
    BatchProgress progress(int(ids.size()), progressAbove, caption);
    batch.Posted = Post(
        db,
        [&](QString* error) {
            batch.Done = batch.Missing = batch.Locked = 0;
            QSqlQuery write(db), read(db);
            if (!PrepareQuery(write, statement)) {
                SetError(error, write.lastError().text());
                return false;
            }
            int step = 0;
            for (const qint64 id : ids) {
                progress.Step(++step);
                if (keep && keep(read, id))
                    continue;
                for (int i = 0; i < values.size(); ++i)
                    write.bindValue(i, values.at(i));
                write.bindValue(int(values.size()), id);
                if (!write.exec()) {
                    SetError(error, write.lastError().text());
                    return false;
                }
                if (write.numRowsAffected() > 0)
                    ++batch.Done;
                else
                    ++batch.Missing;
            }
            return true;
        },
        &batch.Error);
    if (!batch.Posted)
        batch.Done = batch.Missing = batch.Locked = 0;
    return batch;
}

} // namespace

qint64 AppendRecord(QSqlDatabase& db, const TNewRecord& record, QString* error)
{
    if (!IsFolderColumn(record.FolderColumn)) {
        SetError(error, QStringLiteral("%1 is not a folder column").arg(record.FolderColumn));
        return -1;
    }
    const QString sql = QStringLiteral("INSERT INTO TreeDB (GroupID, ") + QuoteName(record.FolderColumn)
        + QStringLiteral(", MenoPracovnika, PracovnikID, FromTemplateID, SampleID, Deleted, Datum, NazovMerania, "
                         "NazovVzoru, Strom) VALUES (?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?)");
    const QVariantList values { record.GroupID,
        record.FolderID.isEmpty() ? QString::fromLatin1(kUnassignedFolder) : record.FolderID, record.UserName,
        record.UserID, record.FromTemplateID, record.SampleID, Today().toString(QStringLiteral("yyyy-MM-dd")),
        record.RecordName, record.TemplateName, record.Diagram };
    qint64 id = -1;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query, sql, values, workError))
                return false;
            id = LastInsertId(db, query).toLongLong();
            return id > 0;
        },
        error);
    return ok ? id : -1;
}

qint64 AppendRecordFromFile(QSqlDatabase& db, const TNewRecord& record, const QString& fileName, QString* error)
{
    QString plainName;
    if (!UnscrambleModelFileToTemp(fileName, plainName, error))
        return -1;
    QFile plain(plainName);
    const bool read = plain.open(QIODevice::ReadOnly);
    TNewRecord withDiagram = record;
    if (read)
        withDiagram.Diagram = QString::fromUtf8(plain.readAll());
    else
        SetError(error, plain.errorString());
    plain.close();
    plain.remove();
    return read ? AppendRecord(db, withDiagram, error) : -1;
}

QString CopyRecordName(const QString& name)
{
    return name + QStringLiteral(" (") + GetString(880) + QLatin1Char(')');
}

bool ReadRecordHead(QSqlDatabase& db, qint64 id, TRecordHead& head)
{
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("SELECT Datum, NazovMerania, SampleID, MenoPracovnika FROM TreeDB WHERE ID = ?"), { id })
        || !query.next())
        return false;
    head.Datum = QDate::fromString(query.value(0).toString(), QStringLiteral("yyyy-MM-dd"));
    head.NazovMerania = query.value(1).toString();
    head.SampleID = query.value(2).toString();
    head.MenoPracovnika = query.value(3).toString();
    return true;
}

THeadWrite WriteRecordHead(QSqlDatabase& db, qint64 id, const TRecordHead& head, QString* error)
{
    TRecordHead stored;
    if (!ReadRecordHead(db, id, stored)) {
        SetError(error, QStringLiteral("TreeDB has no record %1").arg(id));
        return THeadWrite::Failed;
    }
    if (stored.Datum == head.Datum && stored.NazovMerania == head.NazovMerania && stored.SampleID == head.SampleID)
        return THeadWrite::Unchanged;
    int rows = 0;
    if (!PostStatement(db, QStringLiteral("UPDATE TreeDB SET Datum = ?, NazovMerania = ?, SampleID = ? WHERE ID = ?"),
            { head.Datum.toString(QStringLiteral("yyyy-MM-dd")), head.NazovMerania, head.SampleID, id }, error, &rows))
        return THeadWrite::Failed;
    if (rows != 1) {
        SetError(error, QStringLiteral("TreeDB has no record %1").arg(id));
        return THeadWrite::Failed;
    }
    return THeadWrite::Written;
}

TRecordBatch MoveRecordsToFolder(
    QSqlDatabase& db, const QVector<qint64>& ids, const QString& folderColumn, const QString& folder)
{
    if (!IsFolderColumn(folderColumn)) {
        TRecordBatch refused;
        refused.Error = QStringLiteral("%1 is not a folder column").arg(folderColumn);
        return refused;
    }
    return RunBatch(db, ids,
        QStringLiteral("UPDATE TreeDB SET ") + QuoteName(folderColumn) + QStringLiteral(" = ? WHERE ID = ?"),
        { folder }, ids.size(), QString());
}

TRecordBatch MoveRecordsToDeletedFolder(QSqlDatabase& db, const QVector<qint64>& ids, const QString& caption)
{
    QStringList sets;
    QVariantList values;
    for (const QString& column : ColumnNames(db, kTreeTable))
        if (IsFolderColumn(column)) {
            sets << QuoteName(column) + QStringLiteral(" = ?");
            values << QString::fromLatin1(kDeletedFolder);
        }
    if (sets.isEmpty()) {
        TRecordBatch refused;
        refused.Error = QStringLiteral("TreeDB has no folder column");
        return refused;
    }
    return RunBatch(db, ids,
        QStringLiteral("UPDATE TreeDB SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ID = ?"),
        values, kBinMoveProgressAbove, caption);
}

TRecordBatch DeleteRecordsForGood(
    QSqlDatabase& db, const QVector<qint64>& ids, int currentUserID, const QString& caption)
{
    int locked = 0;
    TRecordBatch batch = RunBatch(db, ids, QStringLiteral("DELETE FROM TreeDB WHERE ID = ?"), {}, kDeleteProgressAbove,
        caption, [&](QSqlQuery& read, qint64 id) {
            if (!ExecBound(read, QStringLiteral("SELECT OpenedByUserID FROM TreeDB WHERE ID = ?"), { id })
                || !read.next())
                return false;
            const int owner = read.value(0).toInt();
            read.finish();
            if (owner == 0 || owner == currentUserID)
                return false;
            ++locked;
            return true;
        });
    if (batch.Posted)
        batch.Locked = locked;
    return batch;
}

} // namespace orvek
