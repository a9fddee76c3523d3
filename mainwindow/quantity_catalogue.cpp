#include "mainwindow/quantity_catalogue.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/query_rows_model.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVector>

namespace orvek {

namespace {

const QString kQuantities = QStringLiteral("Veliciny");
const QString kUnits = QStringLiteral("Jednotky");

void Say(QString* message, const QString& text)
{
    if (message)
        *message = text;
}

QString WriteFailed(const QString& error)
{
    return GetString(22705, { error });
}

// True when a quantity other than ExceptID has the sort text Plain (ignoring case and
// surrounding blanks); Name receives its mark-up.
bool FindDuplicate(QSqlDatabase& db, const QString& plain, qint64 exceptId, bool& found, QString& name, QString* error)
{
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("SELECT Velicina FROM Veliciny WHERE upper(trim(VelicinaSort)) = upper(?) AND ID <> ? "
                           "LIMIT 1"),
            { plain.trimmed(), exceptId }, error))
        return false;
    found = query.next();
    if (found)
        name = query.value(0).toString();
    return true;
}

// Reads the Original flag of row ID of Table inside the caller's post: False when the
// row is missing or delivered with the program (Message says which).
bool EditableRow(QSqlDatabase& db, const QString& table, qint64 id, QString* message, QString* error)
{
    QSqlQuery query(db);
    if (!ExecBound(query, QStringLiteral("SELECT Original FROM ") + QuoteName(table) + QStringLiteral(" WHERE ID = ?"),
            { id }, error))
        return false;
    if (!query.next()) {
        *error = QStringLiteral("no row %1 in %2").arg(id).arg(table);
        return false;
    }
    if (query.value(0).toInt() != 0) {
        Say(message, GetString(22704));
        return false;
    }
    return true;
}

} // namespace

QuantityCatalogue::QuantityCatalogue(TDataModule1& module)
    : module_(module)
{
    for (TVxTable* table : { &T_Veliciny, &T_Jednotky }) {
        table->SetSession(&module.SessionOrvek());
        table->DatabaseName = AliasDB;
    }
    T_Veliciny.TableName = kQuantities;
    T_Jednotky.TableName = kUnits;
}

bool QuantityCatalogue::Open(QString* error)
{
    return T_Veliciny.Open(error) && T_Jednotky.Open(error);
}

void QuantityCatalogue::Close()
{
    T_Veliciny.Close();
    T_Jednotky.Close();
}

bool QuantityCatalogue::Flush(QString* error)
{
    return FlushTable(T_Veliciny, error) && FlushTable(T_Jednotky, error);
}

QVariantMap QuantityCatalogue::Quantity(qint64 id)
{
    return T_Veliciny.Row(id);
}

QVariantMap QuantityCatalogue::Unit(qint64 id)
{
    return T_Jednotky.Row(id);
}

bool QuantityCatalogue::OpenQuantityList(QueryRowsModel& model, QString* error)
{
    QSqlDatabase db = T_Veliciny.Database(error);
    return model.Open(db, QString::fromLatin1(kQuantityListSql), {}, error);
}

bool QuantityCatalogue::OpenUnitList(QueryRowsModel& model, qint64 quantityId, QString* error)
{
    QSqlDatabase db = T_Jednotky.Database(error);
    return model.Open(
        db, QStringLiteral("select * from Jednotky where VelicinaID = ? order by ID"), { quantityId }, error);
}

QString QuantityCatalogue::TextProblem(const QString& table, const QString& column, const QString& markup)
{
    if (markup.contains(QLatin1Char('\n')) || markup.contains(QLatin1Char('\r')))
        return GetString(22702);
    // A name is stored whole or not at all: a cut could split a formatting code.
    QSqlDatabase db = T_Veliciny.Database();
    const int size = DeclaredFieldSize(db, table, column);
    if (size > 0 && markup.size() > size)
        return GetString(22701, { int(markup.size()), size });
    return QString();
}

qint64 QuantityCatalogue::AddQuantity(const QString& markup, const QString& plain, QString* message)
{
    Say(message, QString());
    if (markup.trimmed().isEmpty() || plain.trimmed().isEmpty()) {
        Say(message, GetString(22700));
        return 0;
    }
    if (const QString problem = TextProblem(kQuantities, QStringLiteral("Velicina"), markup); !problem.isEmpty()) {
        Say(message, problem);
        return 0;
    }
    QString error;
    QSqlDatabase db = T_Veliciny.Database(&error);
    qint64 id = 0;
    const bool ok = db.isOpen()
        && Post(
            db,
            [&](QString* workError) {
                bool found = false;
                QString name;
                if (!FindDuplicate(db, plain, 0, found, name, workError))
                    return false;
                if (found) {
                    Say(message, GetString(22703, { plain.trimmed() }));
                    return false;
                }
                QSqlQuery query(db);
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO Veliciny (Original, Velicina, VelicinaSort) VALUES (0, ?, ?)"),
                        { markup, plain.trimmed() }, workError))
                    return false;
                id = query.lastInsertId().toLongLong();
                return true;
            },
            &error);
    if (!ok) {
        if (message && message->isEmpty())
            *message = WriteFailed(error);
        return 0;
    }
    FlushTable(T_Veliciny);
    return id;
}

bool QuantityCatalogue::ChangeQuantity(qint64 id, const QString& markup, const QString& plain, QString* message)
{
    Say(message, QString());
    if (markup.trimmed().isEmpty() || plain.trimmed().isEmpty()) {
        Say(message, GetString(22700));
        return false;
    }
    if (const QString problem = TextProblem(kQuantities, QStringLiteral("Velicina"), markup); !problem.isEmpty()) {
        Say(message, problem);
        return false;
    }
    QString error;
    QSqlDatabase db = T_Veliciny.Database(&error);
    const bool ok = db.isOpen()
        && Post(
            db,
            [&](QString* workError) {
                if (!EditableRow(db, kQuantities, id, message, workError))
                    return false;
                bool found = false;
                QString name;
                if (!FindDuplicate(db, plain, id, found, name, workError))
                    return false;
                if (found) {
                    Say(message, GetString(22703, { plain.trimmed() }));
                    return false;
                }
                QSqlQuery query(db);
                return ExecBound(query,
                    QStringLiteral("UPDATE Veliciny SET Velicina = ?, VelicinaSort = ? WHERE ID = ? AND Original = 0"),
                    { markup, plain.trimmed(), id }, workError);
            },
            &error);
    if (!ok) {
        if (message && message->isEmpty())
            *message = WriteFailed(error);
        return false;
    }
    FlushTable(T_Veliciny);
    return true;
}

bool QuantityCatalogue::DeleteQuantity(qint64 id, QString* message)
{
    Say(message, QString());
    QString error;
    QSqlDatabase db = T_Veliciny.Database(&error);
    // The units go with their quantity: a later quantity must never find them.
    const bool ok = db.isOpen()
        && Post(
            db,
            [&](QString* workError) {
                if (!EditableRow(db, kQuantities, id, message, workError))
                    return false;
                QSqlQuery query(db);
                return ExecBound(query, QStringLiteral("DELETE FROM Jednotky WHERE VelicinaID = ?"), { id }, workError)
                    && ExecBound(
                        query, QStringLiteral("DELETE FROM Veliciny WHERE ID = ? AND Original = 0"), { id }, workError);
            },
            &error);
    if (!ok) {
        if (message && message->isEmpty())
            *message = WriteFailed(error);
        return false;
    }
    Flush();
    return true;
}

qint64 QuantityCatalogue::AddUnit(qint64 quantityId, const QString& markup, QString* message)
{
    Say(message, QString());
    if (markup.trimmed().isEmpty())
        return 0;
    if (const QString problem = TextProblem(kUnits, QStringLiteral("Jednotky"), markup); !problem.isEmpty()) {
        Say(message, problem);
        return 0;
    }
    QString error;
    QSqlDatabase db = T_Jednotky.Database(&error);
    qint64 id = 0;
    const bool ok = db.isOpen()
        && Post(
            db,
            [&](QString* workError) {
                // The quantity may have been deleted by another workstation meanwhile.
                QSqlQuery query(db);
                if (!ExecBound(
                        query, QStringLiteral("SELECT ID FROM Veliciny WHERE ID = ?"), { quantityId }, workError))
                    return false;
                if (!query.next()) {
                    *workError = QStringLiteral("no quantity %1").arg(quantityId);
                    return false;
                }
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO Jednotky (Original, VelicinaID, Jednotky) VALUES (0, ?, ?)"),
                        { quantityId, markup }, workError))
                    return false;
                id = query.lastInsertId().toLongLong();
                return true;
            },
            &error);
    if (!ok) {
        Say(message, WriteFailed(error));
        return 0;
    }
    FlushTable(T_Jednotky);
    return id;
}

bool QuantityCatalogue::ChangeUnit(qint64 id, const QString& markup, QString* message)
{
    Say(message, QString());
    if (markup.trimmed().isEmpty())
        return false;
    if (const QString problem = TextProblem(kUnits, QStringLiteral("Jednotky"), markup); !problem.isEmpty()) {
        Say(message, problem);
        return false;
    }
    const QVariantMap row = Unit(id);
    if (row.isEmpty())
        return false;
    if (row.value(QStringLiteral("Original")).toInt() != 0) {
        Say(message, GetString(22704));
        return false;
    }
    QString error;
    if (!module_.ExecSQL(
            QStringLiteral("UPDATE Jednotky SET Jednotky = ? WHERE ID = ? AND Original = 0"), { markup, id }, &error)) {
        Say(message, WriteFailed(error));
        return false;
    }
    return true;
}

bool QuantityCatalogue::DeleteUnit(qint64 id, QString* message)
{
    Say(message, QString());
    const QVariantMap row = Unit(id);
    if (row.isEmpty())
        return false;
    if (row.value(QStringLiteral("Original")).toInt() != 0) {
        Say(message, GetString(22704));
        return false;
    }
    QString error;
    if (!module_.ExecSQL(QStringLiteral("DELETE FROM Jednotky WHERE ID = ? AND Original = 0"), { id }, &error)) {
        Say(message, WriteFailed(error));
        return false;
    }
    return true;
}

bool QuantityCatalogue::LoadDeliveredCatalogue(const QString& emptyFolder, bool* loaded, QString* error)
{
    if (loaded)
        *loaded = false;
    QSqlDatabase db = T_Veliciny.Database(error);
    if (!db.isOpen())
        return false;
    QSqlQuery count(db);
    if (!ExecBound(count, QStringLiteral("SELECT count(*) FROM Veliciny"), {}, error) || !count.next())
        return false;
    if (count.value(0).toLongLong() > 0)
        return true;
    const QString source = FolderDatabasePath(emptyFolder);
    if (!QFileInfo::exists(source)
        || QFileInfo(source).canonicalFilePath() == QFileInfo(FolderDatabasePath(DatabaseDir)).canonicalFilePath())
        return true;

    struct Row {
        qint64 id = 0, quantityId = 0;
        QString text, sort;
    };
    QVector<Row> quantities, units;
    const QString connection = QStringLiteral("DeliveredCatalogue");
    bool read = false;
    {
        QSqlDatabase from = OpenFolderDatabase(connection, emptyFolder, false, error);
        QSqlQuery query(from);
        read = from.isOpen()
            && ExecBound(query,
                QStringLiteral("SELECT ID, Velicina, VelicinaSort FROM Veliciny WHERE Original <> 0 ORDER BY ID"), {},
                error);
        while (read && query.next())
            quantities.append({ query.value(0).toLongLong(), 0, query.value(1).toString(), query.value(2).toString() });
        read = read
            && ExecBound(query,
                QStringLiteral("SELECT VelicinaID, Jednotky FROM Jednotky WHERE Original <> 0 ORDER BY ID"), {}, error);
        while (read && query.next())
            units.append({ 0, query.value(0).toLongLong(), query.value(1).toString(), QString() });
    }
    CloseFolderDatabase(connection);
    if (!read)
        return false;
    if (quantities.isEmpty())
        return true;

    bool added = false;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            // Another workstation may have loaded the catalogue since the count above.
            QSqlQuery query(db);
            if (!ExecBound(query, QStringLiteral("SELECT count(*) FROM Veliciny"), {}, workError) || !query.next())
                return false;
            if (query.value(0).toLongLong() > 0)
                return true;
            // New keys come from this database's own sequence, so that no key is reused.
            QHash<qint64, qint64> newIds;
            for (const Row& row : quantities) {
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO Veliciny (Original, Velicina, VelicinaSort) VALUES (1, ?, ?)"),
                        { row.text, row.sort }, workError))
                    return false;
                newIds.insert(row.id, query.lastInsertId().toLongLong());
            }
            for (const Row& row : units) {
                if (!newIds.contains(row.quantityId))
                    continue;
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO Jednotky (Original, VelicinaID, Jednotky) VALUES (1, ?, ?)"),
                        { newIds.value(row.quantityId), row.text }, workError))
                    return false;
            }
            added = true;
            return true;
        },
        error);
    if (ok && loaded)
        *loaded = added;
    return ok;
}

} // namespace orvek
