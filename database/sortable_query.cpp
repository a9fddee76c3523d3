#include "database/sortable_query.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "platform/collation.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

TSortableQuery::~TSortableQuery()
{
    Close();
}

void TSortableQuery::UsePrivateAnswerFolder(const QString& folder)
{
    AnswerDirectory = QDir(TempDir).filePath(folder);
    QDir().mkpath(AnswerDirectory);
    QSqlDatabase db = OpenFolderDatabase(AnswerConnection(), AnswerDirectory, true);
    QString name;
    do
        name = UniqueFileName(TempDir, QStringLiteral("Answer"), QStringLiteral("db"));
    while (db.isOpen() && TableExists(db, name));
    AnswerTableName = name;
}

QString TSortableQuery::AnswerTable() const
{
    const qsizetype separator
        = std::max(AnswerTableName.lastIndexOf(QLatin1Char('\\')), AnswerTableName.lastIndexOf(QLatin1Char('/')));
    QString name = AnswerTableName.mid(separator + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString TSortableQuery::DriverName() const
{
    return AnswerTableType == TTableType::ttDBase ? QStringLiteral("DBASE") : QStringLiteral("PARADOX");
}

QString TSortableQuery::AnswerConnection() const
{
    return QStringLiteral("Answer:") + QDir(AnswerDirectory).absolutePath();
}

bool TSortableQuery::Open(QString* error)
{
    if (active_)
        return true;
    if (RequestLive) {
        SetError(error, QString::fromLatin1(kRequestLiveText));
        return false;
    }
    if (!sorting_) {
        if (!session_) {
            SetError(error, QStringLiteral("The query has no session"));
            return false;
        }
        QSqlDatabase source = session_->Database(DatabaseName, false, error);
        if (!source.isOpen())
            return false;
        QSqlQuery query(source);
        const QString answer = QuoteName(AnswerTable());
        if (!ExecBound(
                query, QStringLiteral("ATTACH DATABASE ? AS answer"), { FolderDatabasePath(AnswerDirectory) }, error))
            return false;
        // The answer table is private to this process: writing it needs no lock on the
        // shared database, which is only read.
        bool ok = true;
        if (!AnswerOverwrite
            && ExecBound(query, QStringLiteral("SELECT 1 FROM answer.sqlite_master WHERE type = 'table' AND name = ?"),
                { AnswerTable() })
            && query.next()) {
            SetError(error, QStringLiteral("The answer table %1 exists").arg(AnswerTable()));
            ok = false;
        }
        ok = ok && ExecBound(query, QStringLiteral("DROP TABLE IF EXISTS answer.") + answer, {}, error)
            && ExecBound(
                query, QStringLiteral("CREATE TABLE answer.") + answer + QStringLiteral(" AS ") + SQL, Params, error);
        query.finish();
        query.exec(QStringLiteral("DETACH DATABASE answer"));
        if (!ok)
            return false;
    }
    return OpenCursor(error);
}

bool TSortableQuery::OpenCursor(QString* error)
{
    QSqlDatabase db = OpenFolderDatabase(AnswerConnection(), AnswerDirectory, true, error);
    if (!db.isOpen())
        return false;
    QSqlQuery cursor(db);
    cursor.setForwardOnly(true);
    if (!ExecBound(cursor,
            QStringLiteral("SELECT * FROM ") + QuoteName(AnswerTable()) + QStringLiteral(" ORDER BY rowid"), {}, error))
        return false;
    columns_ = cursor.record();
    rows_.clear();
    const int count = columns_.count();
    while (cursor.next()) {
        QVector<QVariant> row(count);
        for (int field = 0; field < count; ++field)
            row[field] = cursor.value(field);
        rows_.push_back(std::move(row));
    }
    cursor.finish();
    active_ = true;
    return true;
}

QVariant TSortableQuery::Field(int row, int field) const
{
    if (!active_ || row < 0 || row >= rows_.size() || field < 1 || field > columns_.count())
        return QVariant();
    return rows_[row][field - 1];
}

void TSortableQuery::Close()
{
    if (!active_)
        return;
    rows_.clear();
    columns_ = QSqlRecord();
    active_ = false;
    if (!sorting_ && AnswerDelete) {
        QSqlDatabase db = OpenFolderDatabase(AnswerConnection(), AnswerDirectory, false);
        if (db.isOpen())
            PostStatement(db, QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(AnswerTable()));
    }
}

bool TSortableQuery::SortAnswerTable(int fieldCount, const QVector<int>& fieldNumbers, const QVector<int>& sortOrders,
    const QVector<bool>& caseInsensitive, int& recordsSorted, QString* error)
{
    if (!active_) {
        SetError(error, QStringLiteral("The query is not open"));
        return false;
    }
    const QSqlRecord record = columns_;
    QStringList keys;
    for (int i = 0; i < fieldCount; ++i) {
        const int field = fieldNumbers.value(i) - 1;
        if (field < 0 || field >= record.count()) {
            SetError(error, QStringLiteral("No field %1 in the answer table").arg(field + 1));
            return false;
        }
        const QString column = QuoteName(record.fieldName(field));
        // Texts sort in Slovak/Czech order; without regard to case when asked. The sort
        // key of each row is computed once, not at every comparison.
        const QString key = caseInsensitive.value(i)
            ? QStringLiteral("(CASE WHEN typeof(%1) = 'text' THEN upper(%1) ELSE %1 END)").arg(column)
            : column;
        keys << QLatin1String(kSlovakSortKeyFunction) + QLatin1Char('(') + key + QLatin1Char(')')
                + (sortOrders.value(i) == 1 ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    }
    keys << QStringLiteral("rowid");
    sorting_ = true;
    Close();
    bool ok = false;
    {
        QSqlDatabase db = OpenFolderDatabase(AnswerConnection(), AnswerDirectory, false, error);
        const QString table = QuoteName(AnswerTable());
        const QString sorted = QuoteName(AnswerTable() + QStringLiteral("_sorted"));
        ok = db.isOpen()
            && Post(
                db,
                [&](QString* workError) {
                    QSqlQuery query(db);
                    if (!ExecBound(query, QStringLiteral("DROP TABLE IF EXISTS ") + sorted, {}, workError)
                        || !ExecBound(query,
                            QStringLiteral("CREATE TABLE ") + sorted + QStringLiteral(" AS SELECT * FROM ") + table
                                + QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", ")),
                            {}, workError)
                        || !ExecBound(query, QStringLiteral("DROP TABLE ") + table, {}, workError)
                        || !ExecBound(query,
                            QStringLiteral("ALTER TABLE ") + sorted + QStringLiteral(" RENAME TO ") + table, {},
                            workError)
                        || !ExecBound(query, QStringLiteral("SELECT count(*) FROM ") + table, {}, workError)
                        || !query.next())
                        return false;
                    recordsSorted = query.value(0).toInt();
                    return true;
                },
                error);
    }
    const bool reopened = OpenCursor(ok ? error : nullptr);
    sorting_ = false;
    return ok && reopened;
}

} // namespace orvek
