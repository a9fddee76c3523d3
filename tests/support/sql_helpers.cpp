#include "tests/support/sql_helpers.h"

#include "platform/sql_database.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace orvek::test {

QStringList QueryColumn(QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    QString error;
    EXPECT_TRUE(ExecBound(query, sql, values, &error)) << error.toStdString();
    QStringList out;
    while (query.next())
        out << query.value(0).toString();
    return out;
}

} // namespace orvek::test
