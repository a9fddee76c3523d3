#pragma once
// The database tests run on both engines: on the embedded SQLite file of a folder, and,
// under the ctest label "postgresql", on a throwaway PostgreSQL cluster that the
// fixture test postgresql_cluster_start starts for the run (tests/support/
// postgres_cluster.sh). Such a run names the file that holds the cluster's location in
// ORVEK_TEST_POSTGRES_FILE; a test that cannot reach the cluster fails with the reason.

#include <QString>

namespace orvek::test {

// True when this test program runs against the PostgreSQL cluster.
bool OnPostgres();

// A new, empty database on the cluster for one test: its location
// (postgresql://127.0.0.1:port/name?user=orvek). Empty, with Error, when the cluster
// cannot be reached.
QString CreateServerDatabase(QString* error);
// Drops the database of Location (connections to it included).
void DropServerDatabase(const QString& location);

} // namespace orvek::test
