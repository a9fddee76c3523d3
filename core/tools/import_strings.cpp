// Build step: brings data/strings.tsv into the string-table database of the build's
// Strings/ folder with the program's own import routine.
//   orvek_import_strings <source.tsv> <folder>

#include "core/string_table.h"

#include <QCoreApplication>
#include <QDir>
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
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: orvek_import_strings <source.tsv> <folder>\n");
        return 2;
    }
    if (!QDir().mkpath(args[2])) {
        std::fprintf(stderr, "cannot create %s\n", qUtf8Printable(args[2]));
        return 1;
    }
    QString error;
    if (!orvek::ImportStringTable(args[1], args[2], &error)) {
        std::fprintf(stderr, "string table import failed: %s\n", qUtf8Printable(error));
        return 1;
    }
    return 0;
}
