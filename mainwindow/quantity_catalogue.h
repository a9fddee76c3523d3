#pragma once
// The shared catalogue of quantities (Veliciny) and their units (Jednotky) in the records
// database: names and units are mark-up, VelicinaSort is a name's plain text and the
// list's sort key. Rows marked Original came with the program and are never changed or
// deleted. Every change is one committed post, flushed at once so that other
// workstations see it; a refused change writes nothing and says why in Message.

#include "database/vx_table.h"

#include <QString>
#include <QVariantMap>

namespace orvek {

class QueryRowsModel;
class TDataModule1;

// The list of quantities in Slovak/Czech order of their plain text.
inline constexpr const char* kQuantityListSql = "select * from Veliciny order by VelicinaSort COLLATE SKCZ, ID";

class QuantityCatalogue {
public:
    explicit QuantityCatalogue(TDataModule1& module);

    // Opens T_Veliciny and T_Jednotky; False with Error when a table cannot be opened.
    bool Open(QString* error = nullptr);
    void Close();
    // Makes both tables' changes durable; False at the first table that fails.
    bool Flush(QString* error = nullptr);

    // The rows with key ID (an empty map when there is none).
    QVariantMap Quantity(qint64 id);
    QVariantMap Unit(qint64 id);

    // Q_Veliciny: every quantity, sorted by kQuantityListSql.
    bool OpenQuantityList(QueryRowsModel& model, QString* error = nullptr);
    // The units of quantity QuantityID in the order they were added.
    bool OpenUnitList(QueryRowsModel& model, qint64 quantityId, QString* error = nullptr);

    // Adds a quantity named Markup with the sort text Plain. The name must not be empty,
    // hold a line break, exceed its field or match any quantity's VelicinaSort (ignoring
    // case and surrounding blanks). The new ID, or 0 when refused or failed.
    qint64 AddQuantity(const QString& markup, const QString& plain, QString* message = nullptr);
    // Renames a quantity that is not Original, by the rules of AddQuantity (its own
    // sort text excepted).
    bool ChangeQuantity(qint64 id, const QString& markup, const QString& plain, QString* message = nullptr);
    // Deletes a quantity that is not Original together with its units, in one post.
    bool DeleteQuantity(qint64 id, QString* message = nullptr);

    // Adds a unit to quantity QuantityID; an empty unit adds nothing (0, no message).
    qint64 AddUnit(qint64 quantityId, const QString& markup, QString* message = nullptr);
    bool ChangeUnit(qint64 id, const QString& markup, QString* message = nullptr);
    bool DeleteUnit(qint64 id, QString* message = nullptr);

    // A database whose catalogue holds no quantity gets the delivered rows of the
    // database in EmptyFolder, in one post; a catalogue with rows is kept. Loaded tells
    // whether rows were added. False with Error when reading or writing failed.
    bool LoadDeliveredCatalogue(const QString& emptyFolder, bool* loaded = nullptr, QString* error = nullptr);

    TVxTable T_Veliciny, T_Jednotky;

private:
    // The reason a name or unit text cannot be stored in Column of Table, or empty.
    QString TextProblem(const QString& table, const QString& column, const QString& markup);
    TDataModule1& module_;
};

} // namespace orvek
