#include "core/text_pieces.h"

namespace orvek {

QString LineBreaks(int count)
{
    return count > 0 ? LineEnd.repeated(count) : QString();
}

QString LockSuffix(quint8 lock)
{
    return lock == 0 ? QString() : QStringLiteral("~@#") + QString::number(lock);
}

quint8 StripLockSuffix(QString& text)
{
    const qsizetype n = text.size();
    if (n < 4 || text.mid(n - 4, 3) != QLatin1String("~@#"))
        return 0;
    const QChar digit = text.at(n - 1);
    text.chop(4);
    return digit.isDigit() ? quint8(digit.digitValue()) : 0;
}

int NextCounterValue(int& counter)
{
    return ++counter;
}

} // namespace orvek
