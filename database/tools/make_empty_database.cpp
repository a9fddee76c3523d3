// Build step: the empty records database of the build's EmptyDatabase/ folder, made
// from data/schema/empty_database.sql by the program's own routine. The new file is
// built beside the target and moved in only when complete. A catalogue script, when
// given, adds the delivered quantities and units in the same build.
//   orvek_make_empty_database <schema.sql> <program folder> <target folder> [catalogue.sql]

#include "core/common_vars.h"
#include "database/empty_database.h"
#include "database/table_set.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
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
    if (args.size() != 4 && args.size() != 5) {
        std::fprintf(
            stderr, "usage: orvek_make_empty_database <schema.sql> <program folder> <target folder> [catalogue.sql]\n");
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
    bool built = orvek::BuildEmptyDatabase(args[1], staging, orvek::DefaultMainStringEntries(), &error);
    if (built && args.size() == 5) {
        QFile catalogue(args[4]);
        if (!catalogue.open(QIODevice::ReadOnly | QIODevice::Text)) {
            error = args[4] + QStringLiteral(": ") + catalogue.errorString();
            built = false;
        } else {
            QSqlDatabase db = orvek::OpenFolderDatabase(QStringLiteral("CatalogueBuild"), staging, false, &error);
            built = db.isOpen() && orvek::ExecScript(db, QString::fromUtf8(catalogue.readAll()), &error);
        }
        orvek::CloseFolderDatabase(QStringLiteral("CatalogueBuild"));
    }
    if (!built) {
        std::fprintf(stderr, "empty database: %s\n", qUtf8Printable(error));
        QDir(staging).removeRecursively();
        return 1;
    }
    const QString made = orvek::FolderDatabasePath(staging), final = orvek::FolderDatabasePath(target);
    QFile::remove(final);
    const bool moved = QFile::rename(made, final);
    QDir(staging).removeRecursively();
    if (!moved) {
        std::fprintf(stderr, "cannot move the database to %s\n", qUtf8Printable(final));
        return 1;
    }
    return 0;
}
