#include "core/dates.h"
#include "platform/regional_locale.h"

#include <QLocale>
#include <QStringList>

namespace orvek {

namespace {

[[noreturn]] void NotADate(const QString& text)
{
    throw EDateConversion(QStringLiteral("'%1' is not a valid date").arg(text).toStdString());
}

int StrictInt(const QString& text, const QString& whole)
{
    bool ok = false;
    const QString t = text.trimmed();
    const int v = t.toInt(&ok);
    if (!ok || t.isEmpty() || t.startsWith(QLatin1Char('+')) || t.startsWith(QLatin1Char('-')))
        NotADate(whole);
    return v;
}

} // namespace

void InitDateFormats()
{
    if (!DateSeparator.isNull() && !ShortDateFormat.isEmpty())
        return;
    QString format = RegionalLocale().dateFormat(QLocale::ShortFormat);
    QChar separator;
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace()) {
            separator = c;
            break;
        }
    // Only numeric day-month-year formats can be read back; others fall back to d.M.yyyy.
    if (separator.isNull() || format.contains(QLatin1String("MMM")) || format.count(separator) != 2) {
        separator = QLatin1Char('.');
        format = QStringLiteral("d.M.yyyy");
    }
    if (DateSeparator.isNull())
        DateSeparator = separator;
    if (ShortDateFormat.isEmpty())
        ShortDateFormat = format;
}

QString DateToShortText(const QDate& date)
{
    InitDateFormats();
    QString format = ShortDateFormat;
    // The format's own separator character stands for DateSeparator.
    for (QChar& c : format)
        if (!c.isLetter() && !c.isSpace())
            c = DateSeparator;
    return date.toString(format);
}

QDate ShortTextToDate(const QString& text)
{
    InitDateFormats();
    const QStringList parts = text.trimmed().split(DateSeparator);
    if (parts.size() != 3)
        NotADate(text);
    // The order of day, month and year follows the short format.
    QString order;
    for (QChar c : ShortDateFormat) {
        const QChar l = c.toLower();
        if ((l == u'd' || l == u'm' || l == u'y') && !order.contains(l))
            order += l;
    }
    if (order.size() != 3)
        order = QStringLiteral("dmy");
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const int v = StrictInt(parts[i], text);
        switch (order.at(i).unicode()) {
        case 'd':
            day = v;
            break;
        case 'm':
            month = v;
            break;
        default:
            year = v;
            if (parts[i].trimmed().size() <= 2)
                year += v < 50 ? 2000 : 1900;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        NotADate(text);
    return date;
}

QString TimeToText(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString StoredValueText(const QVariant& value)
{
    const int type = value.metaType().id();
    if (type == QMetaType::QDate || type == QMetaType::QDateTime)
        return DateToShortText(value.toDate());
    const QString text = value.toString();
    // A stored date, alone or with its time after a blank or a "T".
    if (text.size() == 10 || (text.size() > 10 && (text[10] == u' ' || text[10] == u'T'))) {
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        if (date.isValid())
            return DateToShortText(date);
    }
    const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss.zzz"));
    if (time.isValid())
        return TimeToText(time);
    return text;
}

QString DateToQueryText(const QDate& date)
{
    InitDateFormats();
    if (DateSeparator == u'.')
        return QStringLiteral("%1.%2.%3").arg(date.day()).arg(date.month()).arg(date.year());
    if (DateSeparator == u'/')
        return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    return DateToShortText(date);
}

QDate ParseDateAnySeparator(const QString& input)
{
    InitDateFormats();
    QString text = input.trimmed();
    const QChar written = text.indexOf(QLatin1Char('.')) >= 1 ? QLatin1Char('.') : QLatin1Char('/');
    if (written != DateSeparator) {
        const QStringList parts = text.split(written);
        if (parts.size() == 3) {
            if (written == u'.' && DateSeparator == u'/')
                text = parts[1] + DateSeparator + parts[0] + DateSeparator + parts[2];
            else if (written == u'/' && DateSeparator == u'.')
                text = parts[1] + DateSeparator + parts[0] + DateSeparator + parts[2];
        }
    }
    return ShortTextToDate(text);
}

QString DateToDMYText(const QDate& date)
{
    const int year = date.year() < 100 ? date.year() + 1000 : date.year();
    return QStringLiteral("D%1M%2Y%3")
        .arg(date.day(), 2, 10, QLatin1Char(' '))
        .arg(date.month(), 2, 10, QLatin1Char(' '))
        .arg(year);
}

QDate DMYTextToDate(const QString& text)
{
    if (text.size() < 8)
        NotADate(text);
    const QDate date(StrictInt(text.mid(7, 4), text), StrictInt(text.mid(4, 2), text), StrictInt(text.mid(1, 2), text));
    if (!date.isValid())
        NotADate(text);
    return date;
}

} // namespace orvek
