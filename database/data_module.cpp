#include "database/data_module.h"

#include "core/common_vars.h"
#include "platform/desktop.h"
#include "platform/sql_database.h"

#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>

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
    QSqlDatabase db = OpenFolderDatabase(QString::fromLatin1(kStringsConnection), StringTableFolder(), false, error);
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!ExecBound(query, QStringLiteral("SELECT ID, StringID FROM Strings ORDER BY StringID"), {}, error))
        return false;
    const QString path = AppDir + QStringLiteral("StringID.txt");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    while (query.next()) {
        const QString line = QStringLiteral("        %1 = %2;\n").arg(query.value(1).toString()).arg(query.value(0).toInt());
        file.write(line.toUtf8());
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    OpenWithDesktop(QUrl::fromLocalFile(path));
    return true;
}

}  // namespace orvek
