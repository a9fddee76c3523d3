// Build step: the empty records database of the build's EmptyDatabase/ folder, made
// from data/schema/empty_database.sql by the program's own routine. The new file is
// built beside the target and moved in only when complete.
//   orvek_make_empty_database <schema.sql> <program folder> <target folder>

#include "core/common_vars.h"
#include "database/empty_database.h"
#include "database/table_set.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
#endif

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: orvek_make_empty_database <schema.sql> <program folder> <target folder>\n");
        return 2;
    }
    // Folder names come from the string table in the edition's language.
    orvek::AppDir = orvek::WithTrailingSeparator(args[2]);
    orvek::LanguageID = orvek::EditionFlag;
    const QString target = args[3];
    const QString staging = QDir(target).filePath(QStringLiteral(".building"));
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging)) {
        std::fprintf(stderr, "cannot create %s\n", qUtf8Printable(staging));
        return 1;
    }
    QString error;
    if (!orvek::BuildEmptyDatabase(args[1], staging, orvek::DefaultMainStringEntries(), &error)) {
        std::fprintf(stderr, "empty database: %s\n", qUtf8Printable(error));
        QDir(staging).removeRecursively();
        return 1;
    }
    const QString built = orvek::FolderDatabasePath(staging), final = orvek::FolderDatabasePath(target);
    QFile::remove(final);
    const bool moved = QFile::rename(built, final);
    QDir(staging).removeRecursively();
    if (!moved) {
        std::fprintf(stderr, "cannot move the database to %s\n", qUtf8Printable(final));
        return 1;
    }
    return 0;
}
