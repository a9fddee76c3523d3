#include "database/data_module.h"


namespace orvek {

TDataModule1::TDataModule1(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DataModule1"));
}

QString TDataModule1::GetString(int id, std::initializer_list<FormatArg> args) const
{
    return orvek::GetString(id, args);
}

bool TDataModule1::ExportStringIDs(QString* error)
{
    return orvek::ExportStringIDs(error);
}

}  // namespace orvek
