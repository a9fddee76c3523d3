#include "core/logs.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/dates.h"

#include <QFile>

namespace orvek {

namespace {
bool AppendText(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}
} // namespace

bool AppendErrFile(const QString& text)
{
    const QDateTime now = Now();
    return AppendText(AppDir + QString::fromLatin1(kTraceFileName),
        DateToShortText(now.date()) + QStringLiteral(" - ") + TimeToText(now.time()) + QStringLiteral(" - ") + text
            + QLatin1Char('\n'));
}

void AppendLogBlock(const QString& fileName, const QString& text)
{
    const QDateTime now = Now();
    AppendText(AppDir + fileName,
        DateToShortText(now.date()) + QStringLiteral("  ") + TimeToText(now.time()) + QStringLiteral("  ")
            + QString(41, QLatin1Char('-')) + QLatin1Char('\n') + text + QLatin1Char('\n')
            + QString(49, QLatin1Char('-')) + QLatin1Char('\n'));
}

} // namespace orvek
