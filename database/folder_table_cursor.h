#pragma once
// A cursor over one folder table of a session's alias database: its rows in key order,
// held in memory, a current row, and an edit buffer for one row at a time (append, edit,
// post, cancel, delete). Each post is one committed write transaction. The before and
// after events of every change are plain handlers that a data link may chain to; a
// before handler stops its change with Abort. Reading the rows again (Refresh) brings in
// what other workstations changed.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

namespace orvek {

class DatabaseSession;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class FolderTableCursor;
using TDataSetNotifyEvent = std::function<void(FolderTableCursor& dataSet)>;

class FolderTableCursor : public QObject {
    Q_OBJECT
public:
    explicit FolderTableCursor(DatabaseSession* session = nullptr, QObject* parent = nullptr);
    ~FolderTableCursor() override;

    QString DatabaseName; // alias
    QString TableName;
    // The table's unique key: it orders the rows, FindKey searches it, and posts and
    // deletes address a row by it.
    QString KeyField = QStringLiteral("ID");
    bool ReadOnly = false;

    void SetSession(DatabaseSession* session) { session_ = session; }
    DatabaseSession* Session() const { return session_; }
    // The connection the cursor reads through; empty while closed.
    QString ConnectionName() const;

    // Opening reads the rows and stands on the first. Closing drops a pending edit.
    bool Open(QString* error = nullptr);
    void Close();
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    TDataSetState State() const { return state_; }
    bool Editing() const { return state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert; }
    bool CanModify() const { return Active() && !ReadOnly; }

    // Reads the rows again. The current row stays by its key (else the row now at its
    // position); a pending edit or insert is kept. Emits DataSetChanged.
    bool Refresh(QString* error = nullptr);

    int RecordCount() const { return int(rows_.size()); }
    bool IsEmpty() const { return rows_.isEmpty(); }
    // 1-based; 0 when there is no row or while a new row is being inserted.
    int RecNo() const;
    void First() { MoveTo(1); }
    void Last() { MoveTo(RecordCount()); }
    void Next() { MoveTo(RecNo() + 1); }
    void Prior() { MoveTo(RecNo() - 1); }
    // Makes row RecNo (1-based, clamped to the rows) current; a pending edit is posted
    // first, as moving off a changed row does. False when there is no row or the post
    // failed.
    bool MoveTo(int recNo);
    // Makes the row whose key is Key current; False (nothing moves) when there is none.
    bool FindKey(const QString& key);
    // The first row whose Field equals Value as text.
    bool Locate(const QString& field, const QVariant& value);

    QStringList FieldNames() const { return fields_; }
    int FieldIndex(const QString& field) const;
    // The size declared for the field in the schema; -1 when none.
    int FieldSize(const QString& field) const;
    // Field of the current row (of the edit buffer while editing); null when none.
    QVariant FieldValue(const QString& field) const;
    QString FieldText(const QString& field) const { return FieldValue(field).toString(); }
    // Field FieldIndex of row Row (0-based, key order): for reading every row without
    // moving the cursor.
    QVariant RowValue(int row, int fieldIndex) const { return rows_[row][fieldIndex]; }
    // Only while editing or inserting: changes the buffer and emits FieldChanged.
    bool SetFieldValue(const QString& field, const QVariant& value);

    // Each returns False when the table cannot be modified, a before handler aborted or
    // the database refused (Error says why; the state is then unchanged).
    bool Append(QString* error = nullptr);
    bool Edit(QString* error = nullptr);
    bool Post(QString* error = nullptr);
    void Cancel();
    bool Delete(QString* error = nullptr);

    // Called by a before handler: its change does not happen and returns False with
    // Reason as its error. Outside a before handler it does nothing.
    void Abort(const QString& reason = QString());

    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit, BeforePost, AfterPost, BeforeCancel,
        AfterCancel, BeforeDelete, AfterDelete;
    // An appended row whose key another workstation took in the meantime: the rows have
    // been read again, and the handler gives the key to try instead (empty gives up).
    std::function<QString(FolderTableCursor&)> OnKeyTaken;

Q_SIGNALS:
    void ActiveChanged(bool active);
    void StateChanged(orvek::TDataSetState state);
    // The current row is another one.
    void Scrolled();
    // The rows were read again (after a refresh, a post or a delete).
    void DataSetChanged();
    // A field of the edit buffer changed.
    void FieldChanged(const QString& field);

private:
    bool ReadRows(QString* error);
    bool RunBefore(const TDataSetNotifyEvent& handler, QString* error);
    static void RunAfter(const TDataSetNotifyEvent& handler, FolderTableCursor& self);
    void SetState(TDataSetState state);
    int RowOfKey(const QString& key) const;
    bool WriteBuffer(bool* keyTaken, QString* error);

    DatabaseSession* session_ = nullptr;
    TDataSetState state_ = TDataSetState::dsInactive;
    QStringList fields_;
    int keyIndex_ = -1;
    QVector<QVector<QVariant>> rows_;
    int current_ = -1; // index into rows_; -1 when there is no row
    QVector<QVariant> buffer_; // the row being edited or inserted
    QString editKey_; // key of the row being edited, as read
    int beforeDepth_ = 0;
    bool aborted_ = false;
    QString abortReason_;
};

} // namespace orvek
