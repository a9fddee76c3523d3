#include "database/sortable_query.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "platform/collation.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QDir>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <vector>

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
    QSqlDatabase db = AnswerDatabase(true);
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

QSqlDatabase TSortableQuery::AnswerDatabase(bool createMissing, QString* error) const
{
    // The answers are thrown away with the list: written without syncs to disk.
    return OpenFolderDatabase(AnswerConnection(), AnswerDirectory, createMissing, error, TDurability::Scratch);
}

bool TSortableQuery::Open(QString* error)
{
    if (active_)
        return true;
    if (RequestLive) {
        SetError(error, QString::fromLatin1(kRequestLiveText));
        return false;
    }
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
    query.exec(QStringLiteral("PRAGMA answer.synchronous=OFF"));
    // The answer table is private to this process: writing it needs no lock on the
    // shared database, which is only read, and no sync to disk, since it is thrown
    // away with the list.
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
    return OpenCursor(error);
}

bool TSortableQuery::OpenCursor(QString* error)
{
    QSqlDatabase db = AnswerDatabase(true, error);
    if (!db.isOpen())
        return false;
    QSqlQuery cursor(db);
    cursor.setForwardOnly(true);
    if (!ExecBound(cursor,
            QStringLiteral("SELECT rowid, * FROM ") + QuoteName(AnswerTable()) + QStringLiteral(" ORDER BY rowid"), {},
            error))
        return false;
    columns_ = cursor.record();
    columns_.remove(0);
    rows_.clear();
    rowids_.clear();
    const int count = columns_.count();
    while (cursor.next()) {
        rowids_.push_back(cursor.value(0).toLongLong());
        QVector<QVariant> row(count);
        for (int field = 0; field < count; ++field)
            row[field] = cursor.value(field + 1);
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
    rowids_.clear();
    columns_ = QSqlRecord();
    active_ = false;
    if (AnswerDelete) {
        QSqlDatabase db = AnswerDatabase(false);
        if (db.isOpen())
            PostStatement(db, QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(AnswerTable()));
    }
}

namespace {

// A value's place in the answer's sort, as SQLite orders skcz_key(value): NULL first,
// then numbers by value (integers and reals compared exactly), then texts by their
// Slovak/Czech key, then blobs by their bytes.
struct SortValue {
    enum Rank { Null, Number, Bytes } rank = Null;
    bool integer = false;
    qint64 i = 0;
    double d = 0;
    QByteArray bytes; // a text: "\0" + its key; a blob: "\1" + its bytes
};

int CompareNumbers(const SortValue& a, const SortValue& b)
{
    if (a.integer && b.integer)
        return a.i < b.i ? -1 : (a.i > b.i ? 1 : 0);
    const long double x = a.integer ? (long double)a.i : (long double)a.d;
    const long double y = b.integer ? (long double)b.i : (long double)b.d;
    return x < y ? -1 : (x > y ? 1 : 0);
}

int CompareSortValues(const SortValue& a, const SortValue& b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.rank == SortValue::Number)
        return CompareNumbers(a, b);
    if (a.rank == SortValue::Bytes)
        return a.bytes.compare(b.bytes) < 0 ? -1 : (a.bytes == b.bytes ? 0 : 1);
    return 0;
}

} // namespace

bool TSortableQuery::SortAnswerTable(int fieldCount, const QVector<int>& fieldNumbers, const QVector<int>& sortOrders,
    const QVector<bool>& caseInsensitive, int& recordsSorted, QString* error)
{
    if (!active_) {
        SetError(error, QStringLiteral("The query is not open"));
        return false;
    }
    QVector<int> fields;
    for (int i = 0; i < fieldCount; ++i) {
        const int field = fieldNumbers.value(i) - 1;
        if (field < 0 || field >= columns_.count()) {
            SetError(error, QStringLiteral("No field %1 in the answer table").arg(field + 1));
            return false;
        }
        fields << field;
    }
    // The rows are in memory in the answer's order: each row's keys are computed once
    // (a text's key once per distinct text of its column), the rows are sorted stably
    // (ties keep the answer's order), and the answer table is written again in the new
    // order, as sorting it in place would leave it.
    const qsizetype count = rows_.size();
    std::vector<std::vector<SortValue>> keys(static_cast<size_t>(count), std::vector<SortValue>(static_cast<size_t>(fieldCount)));
    for (int k = 0; k < fieldCount; ++k) {
        const bool fold = caseInsensitive.value(k);
        QHash<QString, QByteArray> textKeys;
        for (qsizetype row = 0; row < count; ++row) {
            const QVariant& value = rows_[row][fields[k]];
            SortValue& key = keys[size_t(row)][size_t(k)];
            if (value.isNull())
                continue;
            switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                key.rank = SortValue::Number;
                key.integer = true;
                key.i = value.toLongLong();
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                key.rank = SortValue::Number;
                key.d = value.toDouble();
                break;
            case QMetaType::QByteArray:
                key.rank = SortValue::Bytes;
                key.bytes = QByteArray(1, '\1') + value.toByteArray();
                break;
            default: {
                key.rank = SortValue::Bytes;
                const QString text = value.toString();
                auto found = textKeys.constFind(text);
                if (found == textKeys.constEnd())
                    found = textKeys.insert(text, QByteArray(1, '\0') + SlovakSortKey(fold ? text.toUpper() : text));
                key.bytes = *found;
                break;
            }
            }
        }
    }
    std::vector<qsizetype> order(static_cast<size_t>(count));
    for (qsizetype row = 0; row < count; ++row)
        order[size_t(row)] = row;
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        for (int k = 0; k < fieldCount; ++k) {
            const int c = CompareSortValues(keys[size_t(a)][size_t(k)], keys[size_t(b)][size_t(k)]);
            if (c != 0)
                return sortOrders.value(k) == 1 ? c > 0 : c < 0;
        }
        return false;
    });
    // The rowids of the answer in the new order, as a JSON array for one statement.
    QByteArray rowids = "[";
    for (qsizetype row = 0; row < count; ++row) {
        if (row)
            rowids += ',';
        rowids += QByteArray::number(rowids_[order[size_t(row)]]);
    }
    rowids += ']';
    bool ok = false;
    {
        QSqlDatabase db = AnswerDatabase(false, error);
        const QString table = QuoteName(AnswerTable());
        const QString sorted = QuoteName(AnswerTable() + QStringLiteral("_sorted"));
        ok = db.isOpen()
            && Post(
                db,
                [&](QString* workError) {
                    QSqlQuery query(db);
                    return ExecBound(query, QStringLiteral("DROP TABLE IF EXISTS ") + sorted, {}, workError)
                        && ExecBound(query,
                            QStringLiteral("CREATE TABLE ") + sorted + QStringLiteral(" AS SELECT * FROM ") + table
                                + QStringLiteral(" WHERE 0"),
                            {}, workError)
                        && ExecBound(query,
                            QStringLiteral("INSERT INTO ") + sorted + QStringLiteral(" SELECT t.* FROM json_each(?) AS j ")
                                + QStringLiteral("JOIN ") + table
                                + QStringLiteral(" AS t ON t.rowid = j.value ORDER BY j.key"),
                            { QString::fromLatin1(rowids) }, workError)
                        && ExecBound(query, QStringLiteral("DROP TABLE ") + table, {}, workError)
                        && ExecBound(query,
                            QStringLiteral("ALTER TABLE ") + sorted + QStringLiteral(" RENAME TO ") + table, {},
                            workError);
                },
                error);
    }
    if (!ok)
        return false;
    // The new table numbers its rows from 1 in the new order.
    QVector<QVector<QVariant>> rows;
    rows.reserve(count);
    for (qsizetype row : order)
        rows.push_back(std::move(rows_[row]));
    rows_ = std::move(rows);
    for (qsizetype row = 0; row < count; ++row)
        rowids_[row] = row + 1;
    recordsSorted = int(count);
    return true;
}

} // namespace orvek
