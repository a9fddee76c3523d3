#include "tests/support/server_database.h"

#include "platform/sql_database.h"
#include "platform/sql_engine.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace orvek::test {

namespace {

QString ClusterFile()
{
    return qEnvironmentVariable("ORVEK_TEST_POSTGRES_FILE");
}

// The cluster's maintenance database, or an empty text with Error.
QString ClusterLocation(QString* error)
{
    QFile file(ClusterFile());
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The PostgreSQL test cluster was not started (%1: %2); the fixture test "
                                "postgresql_cluster_start says why")
                     .arg(ClusterFile(), file.errorString());
        return QString();
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

int g_databases = 0;

} // namespace

bool OnPostgres()
{
    return !ClusterFile().isEmpty();
}

QString CreateServerDatabase(QString* error)
{
    const QString maintenance = ClusterLocation(error);
    if (maintenance.isEmpty())
        return QString();
    const QString name = QStringLiteral("orvek_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_databases);
    {
        QSqlDatabase db = OpenFolderDatabase(QStringLiteral("ServerMaintenance"), maintenance, false, error);
        if (!db.isOpen())
            return QString();
        QSqlQuery query(db);
        query.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name + QStringLiteral(" WITH (FORCE)"));
        if (!query.exec(QStringLiteral("CREATE DATABASE ") + name)) {
            *error = query.lastError().text();
            return QString();
        }
    }
    QString location = maintenance;
    location.replace(QStringLiteral("/postgres?"), QLatin1Char('/') + name + QLatin1Char('?'));
    return location;
}

void DropServerDatabase(const QString& location)
{
    TServerDatabase server;
    QString error;
    if (!ParseServerLocation(location, server, &error))
        return;
    const QString maintenance = ClusterLocation(&error);
    if (maintenance.isEmpty())
        return;
    {
        QSqlDatabase db = OpenFolderDatabase(QStringLiteral("ServerMaintenance"), maintenance, false, &error);
        QSqlQuery query(db);
        query.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + server.Database + QStringLiteral(" WITH (FORCE)"));
    }
    CloseFolderDatabase(QStringLiteral("ServerMaintenance"));
}

} // namespace orvek::test
