#pragma once
// A query whose result is written to an answer table in a folder's database, so that
// it can be sorted again without running the query: the query's cursor reads the
// answer table in its stored order.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVector>

namespace orvek {

class DatabaseSession;

enum class TTableType { ttDefault, ttParadox, ttDBase, ttASCII };

class TSortableQuery {
public:
    explicit TSortableQuery(DatabaseSession* session)
        : session_(session)
    {
    }
    ~TSortableQuery();
    TSortableQuery(const TSortableQuery&) = delete;
    TSortableQuery& operator=(const TSortableQuery&) = delete;

    QString DatabaseName; // alias of the database the statement reads
    QString SQL; // one SELECT; its values are bound from Params
    QVariantList Params;
    bool RequestLive = false;

    QString AnswerDirectory;
    QString AnswerTableName; // an extension after the last separator is cut off
    TTableType AnswerTableType = TTableType::ttDefault;
    bool AnswerOverwrite = true;
    bool AnswerDelete = true;

    // Places the answer in the database of folder Folder of the temporary folder, a file
    // that only this query's kind of list writes, under a table name that no table
    // there has yet. A reader of the temporary folder's shared database (another list,
    // another process) then never makes the answer's writes wait and fail.
    void UsePrivateAnswerFolder(const QString& folder);

    // Runs the statement into the answer table and opens the cursor on it. False with
    // Error (nothing left open) on a failure; a live result is refused.
    bool Open(QString* error = nullptr);
    // Closes the cursor and, when AnswerDelete, drops the answer table.
    void Close();
    bool Active() const { return active_; }

    // The answer table's name (without extension) and the driver of its type.
    QString AnswerTable() const;
    QString DriverName() const;

    // Sorts the answer table in place by the given fields (1-based numbers of the
    // answer's columns), orders (0 ascending, 1 descending) and case flags, then
    // reopens the cursor without running the statement. RecordsSorted receives the
    // row count.
    bool SortAnswerTable(int fieldCount, const QVector<int>& fieldNumbers, const QVector<int>& sortOrders,
        const QVector<bool>& caseInsensitive, int& recordsSorted, QString* error = nullptr);

    // The answer's columns (valid while open).
    const QSqlRecord& Columns() const { return columns_; }
    // The answer's row count; 0 while closed.
    int RowCount() const { return active_ ? int(rows_.size()) : 0; }
    // Field (1-based) of Row (0-based) of the answer; an empty value outside the rows.
    QVariant Field(int row, int field) const;

    static constexpr const char* kRequestLiveText
        = "Cannot have RequestLive set to True when using a TSortedQuery component.  For an updateable query, use "
          "TUpdateSQL in conjunction with TSortedQuery";

private:
    bool OpenCursor(QString* error);
    QString AnswerConnection() const;
    QSqlDatabase AnswerDatabase(bool createMissing, QString* error = nullptr) const;

    DatabaseSession* session_;
    // The answer is read whole when it opens or is sorted and its cursor is finished at
    // once: a cursor left inside the answer table would hold a read lock on the
    // temporary folder's database, and every other writer there (the other lists'
    // answers, the undo histories) would wait for it until its busy timeout and fail.
    QSqlRecord columns_;
    QVector<QVector<QVariant>> rows_;
    QVector<qint64> rowids_; // each row's rowid in the answer table
    bool active_ = false;
};

} // namespace orvek
