#pragma once
// Small reads for database tests.

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

namespace orvek::test {

// The first column of every row Sql returns, as text; a failing statement fails the test.
QStringList QueryColumn(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

} // namespace orvek::test
