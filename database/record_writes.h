#pragma once
// The writes of the record list: appending a record (its ID comes from the insert),
// the head edit, moves between folders, the move to the deleted-records folder and the
// deletion for good. Each action is one post: all its rows are written, or, when the
// post fails, none. Rows that are missing (another workstation deleted them) are passed
// over and counted.

#include <QDate>
#include <QString>
#include <QVector>

class QSqlDatabase;

namespace orvek {

// The values of a record to append.
struct TNewRecord {
    int GroupID = 0;
    QString FolderColumn = QStringLiteral("IDDB1");
    QString FolderID; // empty means "0"
    QString UserName; // MenoPracovnika
    int UserID = 0; // PracovnikID
    int FromTemplateID = 0;
    QString SampleID;
    QString RecordName; // NazovMerania
    QString TemplateName; // NazovVzoru
    QString Diagram; // Strom: the plain diagram text
};

// Appends Record, dated today (Datum, the clock's date), with Deleted 0. Returns its ID
// as the insert gave it, or -1 with Error.
qint64 AppendRecord(QSqlDatabase& db, const TNewRecord& record, QString* error = nullptr);
// The same with the diagram of a model file (scrambled or plain).
qint64 AppendRecordFromFile(
    QSqlDatabase& db, const TNewRecord& record, const QString& fileName, QString* error = nullptr);

// The proposed name of a copy: Name + " (" + text 880 + ")".
QString CopyRecordName(const QString& name);

// The head of a record as the head dialog edits it.
struct TRecordHead {
    QDate Datum;
    QString NazovMerania;
    QString SampleID;
    QString MenoPracovnika; // shown, never written
};
// False when the record does not exist.
bool ReadRecordHead(QSqlDatabase& db, qint64 id, TRecordHead& head);

enum class THeadWrite { Written, Unchanged, Failed };
// Writes Datum, NazovMerania and SampleID of record ID when one of them differs from the
// stored row; nothing else is written, and the row's change counter stays (another
// user's save of the diagram is not made to look stale). Failed with Error when the
// record is missing or the database refused.
THeadWrite WriteRecordHead(QSqlDatabase& db, qint64 id, const TRecordHead& head, QString* error = nullptr);

// What a batch of records came to.
struct TRecordBatch {
    bool Posted = false; // False: the post failed and nothing changed (Error says why)
    int Done = 0; // records written or deleted
    int Missing = 0; // records no longer in the table
    int Locked = 0; // records kept because another user holds their lock
    QString Error;
};

// The batch progress window shows for a move to the deleted-records folder of more
// than 7 records and for a deletion for good of more than 1 record.
inline constexpr int kBinMoveProgressAbove = 7;
inline constexpr int kDeleteProgressAbove = 1;

// Files every record of Ids in Folder of FolderColumn (folder moves and drops).
TRecordBatch MoveRecordsToFolder(
    QSqlDatabase& db, const QVector<qint64>& ids, const QString& folderColumn, const QString& folder);
// Files every record of Ids in the deleted-records folder "1" of every group (every
// folder column). The batch progress window, with Caption, shows above the threshold.
TRecordBatch MoveRecordsToDeletedFolder(QSqlDatabase& db, const QVector<qint64>& ids, const QString& caption = {});
// Deletes the records of Ids for good, except those whose lock another user than
// CurrentUserID holds. The batch progress window shows above the threshold.
TRecordBatch DeleteRecordsForGood(
    QSqlDatabase& db, const QVector<qint64>& ids, int currentUserID, const QString& caption = {});

} // namespace orvek
