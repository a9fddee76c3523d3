// Second process for the database reliability tests: posts records, each with its
// history row, in one durable commit, and prints "ack <label> <id>" after each commit.
//   database_post_probe FOLDER LABEL COUNT   COUNT records (forever when COUNT is 0);
//                                            prints "failed <error>" for a failed post
//                                            and "done <failures>" at the end
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
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
    if (argc < 4)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString label = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    QString error;
    QSqlDatabase db = orvek::OpenFolderDatabase(QStringLiteral("probe"), folder, false, &error);
    if (!db.isOpen()) {
        std::printf("failed %s\n", qPrintable(error));
        return 1;
    }
    const QString diagram = QString(2000, QLatin1Char('d'));
    int failures = 0;
    for (int i = 1; count == 0 || i <= count; ++i) {
        const QString name = QStringLiteral("%1-%2").arg(label).arg(i);
        qint64 id = 0;
        const bool ok = orvek::Post(
            db,
            [&](QString* workError) {
                QSqlQuery query(db);
                if (!orvek::ExecBound(query,
                        QStringLiteral("INSERT INTO TreeDB (NazovMerania, Strom, GroupID) VALUES (?, ?, 1)"),
                        { name, diagram }, workError))
                    return false;
                id = query.lastInsertId().toLongLong();
                return orvek::ExecBound(query,
                    QStringLiteral("INSERT INTO History (DiagramID, DiagramName, NewValues) VALUES (?, ?, ?)"),
                    { id, name, diagram }, workError);
            },
            &error);
        if (ok) {
            std::printf("ack %s %lld\n", qPrintable(name), static_cast<long long>(id));
        } else {
            ++failures;
            std::printf("failed %s\n", qPrintable(error));
        }
        std::fflush(stdout);
    }
    std::printf("done %d\n", failures);
    std::fflush(stdout);
    return 0;
}
