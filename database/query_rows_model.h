#pragma once
// The rows of one select statement, read whole, as a read-only table model: the history
// windows show some of its fields in a grid and read the others of the current row.

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <functional>

class QSqlDatabase;

namespace orvek {

class QueryRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryRowsModel(QObject* parent = nullptr);

    // Runs Sql with Values bound to its "?" placeholders and keeps every row. On a
    // failure the model is empty and closed, and Error says why.
    bool Open(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}, QString* error = nullptr);
    void Close();
    bool Active() const { return active_; }

    int RecordCount() const { return int(rows_.size()); }
    int FieldIndex(const QString& field) const;
    // Field of row Row (0-based); null when there is no such row or field.
    QVariant Value(int row, const QString& field) const;

    // The fields the grid shows, in order, and their column titles.
    void SetShownFields(const QStringList& fields);
    void SetTitles(const QStringList& titles);
    // How a shown value is written in the grid; without it, as text.
    std::function<QString(const QString& field, const QVariant& value)> DisplayText;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool active_ = false;
    QStringList fields_;
    QVector<QVector<QVariant>> rows_;
    QStringList shown_, titles_;
    QVector<int> shownIndex_;
};

// Makes the grid show stored dates ("yyyy-MM-dd") in the short date format and stored
// times ("HH:mm:ss.zzz") to the second.
void ShowStoredDatesShort(QueryRowsModel& model);

} // namespace orvek
