#include "database/folder_table_cursor.h"

#include "database/vx_table.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// How often an appended row tries another key before the post gives up.
constexpr int kKeyAttempts = 20;

} // namespace

FolderTableCursor::FolderTableCursor(DatabaseSession* session, QObject* parent)
    : QObject(parent)
    , session_(session)
{
}

FolderTableCursor::~FolderTableCursor() = default;

QString FolderTableCursor::ConnectionName() const
{
    if (!Active() || !session_)
        return QString();
    return session_->Database(DatabaseName).connectionName();
}

bool FolderTableCursor::Open(QString* error)
{
    if (Active())
        return true;
    // The table's own checks: session, table present, password known.
    TVxTable table(session_);
    table.DatabaseName = DatabaseName;
    table.TableName = TableName;
    if (!table.Open(error) || !ReadRows(error))
        return false;
    current_ = rows_.isEmpty() ? -1 : 0;
    SetState(TDataSetState::dsBrowse);
    Q_EMIT ActiveChanged(true);
    return true;
}

void FolderTableCursor::Close()
{
    if (!Active())
        return;
    buffer_.clear();
    rows_.clear();
    fields_.clear();
    current_ = -1;
    SetState(TDataSetState::dsInactive);
    Q_EMIT ActiveChanged(false);
}

bool FolderTableCursor::ReadRows(QString* error)
{
    QSqlDatabase db = session_->Database(DatabaseName, false, error);
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!ExecBound(query,
            QStringLiteral("SELECT * FROM ") + QuoteName(TableName) + QStringLiteral(" ORDER BY ")
                + QuoteName(KeyField),
            {}, error))
        return false;
    const QSqlRecord record = query.record();
    QStringList fields;
    for (int i = 0; i < record.count(); ++i)
        fields << record.fieldName(i);
    QVector<QVector<QVariant>> rows;
    while (query.next()) {
        QVector<QVariant> row(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row[i] = query.value(i);
        rows.append(std::move(row));
    }
    fields_ = fields;
    keyIndex_ = FieldIndex(KeyField);
    rows_ = std::move(rows);
    return true;
}

bool FolderTableCursor::Refresh(QString* error)
{
    if (!Active()) {
        SetError(error, QStringLiteral("Table %1 is not open").arg(TableName));
        return false;
    }
    const QString key = state_ == TDataSetState::dsEdit ? editKey_ : FieldText(KeyField);
    const int position = current_;
    if (!ReadRows(error))
        return false;
    current_ = RowOfKey(key);
    if (current_ < 0)
        current_ = rows_.isEmpty() ? -1 : std::clamp(position, 0, int(rows_.size()) - 1);
    Q_EMIT DataSetChanged();
    return true;
}

int FolderTableCursor::RowOfKey(const QString& key) const
{
    if (keyIndex_ < 0)
        return -1;
    // The rows are in key order, but the database's order of texts need not be ours.
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i][keyIndex_].toString() == key)
            return i;
    return -1;
}

int FolderTableCursor::RecNo() const
{
    return state_ == TDataSetState::dsInsert ? 0 : current_ + 1;
}

bool FolderTableCursor::MoveTo(int recNo)
{
    if (!Active() || rows_.isEmpty())
        return false;
    if (Editing() && !Post())
        return false;
    const int target = std::clamp(recNo, 1, int(rows_.size())) - 1;
    if (target != current_) {
        current_ = target;
        Q_EMIT Scrolled();
    }
    return true;
}

bool FolderTableCursor::FindKey(const QString& key)
{
    const int row = RowOfKey(key);
    return row >= 0 && MoveTo(row + 1);
}

bool FolderTableCursor::Locate(const QString& field, const QVariant& value)
{
    const int index = FieldIndex(field);
    if (index < 0)
        return false;
    const QString text = value.toString();
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i][index].toString() == text)
            return MoveTo(i + 1);
    return false;
}

int FolderTableCursor::FieldIndex(const QString& field) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int FolderTableCursor::FieldSize(const QString& field) const
{
    if (!Active())
        return -1;
    QSqlDatabase db = session_->Database(DatabaseName);
    return DeclaredFieldSize(db, TableName, field);
}

QVariant FolderTableCursor::FieldValue(const QString& field) const
{
    const int index = FieldIndex(field);
    if (index < 0)
        return QVariant();
    if (Editing())
        return buffer_[index];
    return current_ >= 0 ? rows_[current_][index] : QVariant();
}

bool FolderTableCursor::SetFieldValue(const QString& field, const QVariant& value)
{
    const int index = FieldIndex(field);
    if (!Editing() || index < 0)
        return false;
    if (buffer_[index] == value && buffer_[index].isNull() == value.isNull())
        return true;
    buffer_[index] = value;
    Q_EMIT FieldChanged(fields_[index]);
    return true;
}

void FolderTableCursor::Abort(const QString& reason)
{
    if (beforeDepth_ == 0)
        return;
    aborted_ = true;
    abortReason_ = reason;
}

bool FolderTableCursor::RunBefore(const TDataSetNotifyEvent& handler, QString* error)
{
    if (!handler)
        return true;
    const TDataSetNotifyEvent call = handler; // the handler may replace itself
    const bool outerAborted = aborted_;
    const QString outerReason = abortReason_;
    aborted_ = false;
    abortReason_.clear();
    ++beforeDepth_;
    call(*this);
    --beforeDepth_;
    const bool stop = aborted_;
    if (stop)
        SetError(error, abortReason_.isEmpty() ? QStringLiteral("Operation aborted") : abortReason_);
    aborted_ = outerAborted;
    abortReason_ = outerReason;
    return !stop;
}

void FolderTableCursor::RunAfter(const TDataSetNotifyEvent& handler, FolderTableCursor& self)
{
    if (handler) {
        const TDataSetNotifyEvent call = handler;
        call(self);
    }
}

void FolderTableCursor::SetState(TDataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    Q_EMIT StateChanged(state);
}

bool FolderTableCursor::Append(QString* error)
{
    if (!CanModify()) {
        SetError(error, QStringLiteral("Table %1 cannot be modified").arg(TableName));
        return false;
    }
    if (Editing() && !Post(error))
        return false;
    if (!RunBefore(BeforeInsert, error))
        return false;
    buffer_ = QVector<QVariant>(fields_.size());
    editKey_.clear();
    SetState(TDataSetState::dsInsert);
    RunAfter(AfterInsert, *this);
    return true;
}

bool FolderTableCursor::Edit(QString* error)
{
    if (!CanModify() || current_ < 0) {
        SetError(error, QStringLiteral("Table %1 has no row to edit").arg(TableName));
        return false;
    }
    if (Editing())
        return true;
    if (!RunBefore(BeforeEdit, error))
        return false;
    buffer_ = rows_[current_];
    editKey_ = keyIndex_ >= 0 ? buffer_[keyIndex_].toString() : QString();
    SetState(TDataSetState::dsEdit);
    RunAfter(AfterEdit, *this);
    return true;
}

bool FolderTableCursor::WriteBuffer(bool* keyTaken, QString* error)
{
    QSqlDatabase db = session_->Database(DatabaseName, false, error);
    if (!db.isOpen())
        return false;
    const QString table = QuoteName(TableName);
    const QString key = QuoteName(KeyField);
    if (state_ == TDataSetState::dsInsert) {
        QStringList columns, marks;
        QVariantList values;
        for (int i = 0; i < fields_.size(); ++i) {
            if (buffer_[i].isNull())
                continue;
            columns << QuoteName(fields_[i]);
            marks << QStringLiteral("?");
            values << buffer_[i];
        }
        const QVariant newKey = keyIndex_ >= 0 ? buffer_[keyIndex_] : QVariant();
        return orvek::Post(
            db,
            [&](QString* workError) {
                QSqlQuery query(db);
                if (!newKey.isNull()) {
                    if (!ExecBound(query,
                            QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ") + key
                                + QStringLiteral(" = ?"),
                            { newKey }, workError))
                        return false;
                    if (query.next()) {
                        *keyTaken = true;
                        SetError(workError,
                            QStringLiteral("The key %1 of table %2 is taken").arg(newKey.toString(), TableName));
                        return false;
                    }
                }
                return ExecBound(query,
                    QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(QStringLiteral(", "))
                        + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                    values, workError);
            },
            error);
    }
    // Only the fields that changed are written, so a change another workstation made to
    // another field of the row stays.
    const int row = RowOfKey(editKey_);
    QStringList sets;
    QVariantList values;
    for (int i = 0; i < fields_.size(); ++i) {
        const QVariant& was = row >= 0 ? rows_[row][i] : QVariant();
        if (row >= 0 && was == buffer_[i] && was.isNull() == buffer_[i].isNull())
            continue;
        sets << QuoteName(fields_[i]) + QStringLiteral(" = ?");
        values << buffer_[i];
    }
    if (sets.isEmpty())
        return true;
    values << editKey_;
    int affected = 0;
    if (!PostStatement(db,
            QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
                + QStringLiteral(" WHERE ") + key + QStringLiteral(" = ?"),
            values, error, &affected))
        return false;
    if (affected != 1) {
        SetError(error, QStringLiteral("The row %1 of table %2 no longer exists").arg(editKey_, TableName));
        return false;
    }
    return true;
}

bool FolderTableCursor::Post(QString* error)
{
    if (!Editing())
        return true;
    if (!RunBefore(BeforePost, error))
        return false;
    for (int attempt = 0;; ++attempt) {
        bool keyTaken = false;
        if (WriteBuffer(&keyTaken, error))
            break;
        if (!keyTaken || !OnKeyTaken || attempt + 1 >= kKeyAttempts)
            return false;
        // Another workstation took the key: read what it wrote and ask for another.
        if (!ReadRows(error))
            return false;
        const QString other = OnKeyTaken(*this);
        if (other.isEmpty() || keyIndex_ < 0)
            return false;
        SetFieldValue(KeyField, other);
    }
    const QString key = keyIndex_ >= 0 ? buffer_[keyIndex_].toString() : QString();
    buffer_.clear();
    SetState(TDataSetState::dsBrowse);
    ReadRows(nullptr);
    current_ = RowOfKey(key);
    if (current_ < 0)
        current_ = rows_.isEmpty() ? -1 : 0;
    Q_EMIT DataSetChanged();
    RunAfter(AfterPost, *this);
    return true;
}

void FolderTableCursor::Cancel()
{
    if (!Editing())
        return;
    if (!RunBefore(BeforeCancel, nullptr))
        return;
    const bool wasInsert = state_ == TDataSetState::dsInsert;
    buffer_.clear();
    SetState(TDataSetState::dsBrowse);
    if (wasInsert)
        Q_EMIT Scrolled();
    RunAfter(AfterCancel, *this);
}

bool FolderTableCursor::Delete(QString* error)
{
    if (!CanModify() || current_ < 0) {
        SetError(error, QStringLiteral("Table %1 has no row to delete").arg(TableName));
        return false;
    }
    if (state_ == TDataSetState::dsInsert) {
        Cancel();
        return true;
    }
    if (!RunBefore(BeforeDelete, error))
        return false;
    // The before handler may have moved the cursor or deleted rows itself.
    if (current_ < 0)
        return true;
    const QString key = keyIndex_ >= 0 ? rows_[current_][keyIndex_].toString() : QString();
    QSqlDatabase db = session_->Database(DatabaseName, false, error);
    if (!db.isOpen()
        || !PostStatement(db,
            QStringLiteral("DELETE FROM ") + QuoteName(TableName) + QStringLiteral(" WHERE ") + QuoteName(KeyField)
                + QStringLiteral(" = ?"),
            { key }, error))
        return false;
    buffer_.clear();
    if (state_ != TDataSetState::dsBrowse)
        SetState(TDataSetState::dsBrowse);
    const int position = current_;
    ReadRows(nullptr);
    current_ = rows_.isEmpty() ? -1 : std::min(position, int(rows_.size()) - 1);
    Q_EMIT DataSetChanged();
    RunAfter(AfterDelete, *this);
    return true;
}

} // namespace orvek
