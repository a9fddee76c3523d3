#include "database/table_set.h"

namespace orvek {

const QStringList& RequiredTables()
{
    static const QStringList tables{
        QStringLiteral("Administration"), QStringLiteral("Logs"),           QStringLiteral("History"),
        QStringLiteral("HistoryTemplate"), QStringLiteral("ValidationHistory"), QStringLiteral("TreeDB"),
        QStringLiteral("TemplateDB"),     QStringLiteral("MeasureNameList"), QStringLiteral("MeasureID1"),
        QStringLiteral("TemplateID1"),    QStringLiteral("Veliciny"),        QStringLiteral("Jednotky"),
    };
    return tables;
}

QStringList DefaultMainStringEntries()
{
    static const char* const kMainTables[kMainTableCount] = {"Administration", "TreeDB",  "TemplateDB",
                                                             "History",        "HistoryTemplate", "MeasureNameList",
                                                             "Logs",           "ValidationHistory"};
    static const char* const kPasswords[kMainTableCount] = {"zLC9rMzFeuBdsNGQ", "YMvRdefxWZpFiTu0", "B14SAIA6wQkVP2F7",
                                                            "RpdvU7vHO7p4QOAw", "0FrnoKiAAVPjulOM", "og9VxUl0zrfXPjPt",
                                                            "T43opcm1tODhuB4w", "Nb9qUkJRVgn6srRs"};
    QStringList entries;
    for (int n = 1; n <= kMainTableCount; ++n)
        entries << QStringLiteral("TablePassword[%1]=%2").arg(n).arg(QLatin1String(kPasswords[n - 1]));
    for (int n = 1; n <= kMainTableCount; ++n)
        entries << QStringLiteral("MainTable[%1]=%2").arg(n).arg(QLatin1String(kMainTables[n - 1]));
    for (int n = 1; n <= RequiredTables().size(); ++n)
        entries << QStringLiteral("OtherTable[%1]=%2").arg(n).arg(RequiredTables().at(n - 1));
    entries << QStringLiteral("ServicePassword=DBOm6emhkC3hXxmD");
    return entries;
}

QString EntryValue(const QStringList& entries, const QString& name)
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString& entry : entries)
        if (entry.startsWith(prefix))
            return entry.mid(prefix.size());
    return QString();
}

}  // namespace orvek
