#pragma once
// A query whose result is written to an answer table in a folder's database, so that
// it can be sorted again without running the query: the query's cursor reads the
// answer table in its stored order.

#include <QSqlQuery>
#include <QString>
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

    // The rows of the answer table, in its order (valid while open).
    QSqlQuery& Cursor() { return cursor_; }
    // The answer's row count, counted once per opening or sort; 0 while closed.
    int RowCount();
    // Field (1-based) of Row (0-based) of the answer; an empty value outside the rows.
    QVariant Field(int row, int field);

    static constexpr const char* kRequestLiveText
        = "Cannot have RequestLive set to True when using a TSortedQuery component.  For an updateable query, use "
          "TUpdateSQL in conjunction with TSortedQuery";

private:
    bool OpenCursor(QString* error);
    QString AnswerConnection() const;

    DatabaseSession* session_;
    QSqlQuery cursor_;
    int rowCount_ = -1; // -1 until counted
    bool active_ = false;
    bool sorting_ = false;
};

} // namespace orvek
