#include "database/query_rows_model.h"

#include "core/dates.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvek {

QueryRowsModel::QueryRowsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

bool QueryRowsModel::Open(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error)
{
    beginResetModel();
    active_ = false;
    fields_.clear();
    rows_.clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const bool ok = db.isOpen() && ExecBound(query, sql, values, error);
    if (ok) {
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            fields_ << record.fieldName(i);
        while (query.next()) {
            QVector<QVariant> row(fields_.size());
            for (int i = 0; i < fields_.size(); ++i)
                row[i] = query.value(i);
            rows_.append(std::move(row));
        }
        active_ = true;
    } else if (error && !db.isOpen() && error->isEmpty()) {
        *error = QStringLiteral("The database is not open");
    }
    SetShownFields(shown_);
    endResetModel();
    return ok;
}

void QueryRowsModel::Close()
{
    beginResetModel();
    active_ = false;
    fields_.clear();
    rows_.clear();
    shownIndex_.clear();
    endResetModel();
}

int QueryRowsModel::FieldIndex(const QString& field) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant QueryRowsModel::Value(int row, const QString& field) const
{
    const int index = FieldIndex(field);
    if (row < 0 || row >= rows_.size() || index < 0)
        return QVariant();
    return rows_[row][index];
}

void QueryRowsModel::SetShownFields(const QStringList& fields)
{
    shown_ = fields;
    shownIndex_.clear();
    for (const QString& field : fields)
        shownIndex_ << FieldIndex(field);
}

void QueryRowsModel::SetTitles(const QStringList& titles)
{
    titles_ = titles;
    if (!shown_.isEmpty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(shown_.size()) - 1);
}

int QueryRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int QueryRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant QueryRowsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size()
        || index.column() >= shownIndex_.size())
        return QVariant();
    const int field = shownIndex_[index.column()];
    if (field < 0)
        return QVariant();
    const QVariant& value = rows_[index.row()][field];
    return DisplayText ? DisplayText(shown_[index.column()], value) : value.toString();
}

QVariant QueryRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < titles_.size() ? titles_[section] : (section < shown_.size() ? shown_[section] : QString());
}

void ShowStoredDatesShort(QueryRowsModel& model)
{
    InitDateFormats();
    model.DisplayText = [](const QString&, const QVariant& value) { return StoredValueText(value); };
}

} // namespace orvek
