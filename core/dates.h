#pragma once
// Date texts for queries, stamps and the locale's short form. The date separator and
// the short date format are program-wide and set from the locale at first use; tests
// and settings may set them (the format uses Qt's letters: d, dd, M, MM, yy, yyyy).

#include <QDate>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace orvek {

inline QChar DateSeparator; // "." or "/" (or another character of the locale)
inline QString ShortDateFormat; // e.g. "d.M.yyyy" or "M/d/yyyy"
// Fills DateSeparator and ShortDateFormat from the locale where they are not set.
void InitDateFormats();

// A text that is not a date.
class EDateConversion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The date in the short format ("5.3.2009").
QString DateToShortText(const QDate& date);
// The short-format text back; throws EDateConversion.
QDate ShortTextToDate(const QString& text);
// Time as "HH:mm:ss".
QString TimeToText(const QTime& time);
// A stored value as the grids and windows show it: a date (a QDate, or a text that
// starts with a stored date "yyyy-MM-dd") in the short format, a stored time
// ("HH:mm:ss.zzz") to the second, any other value as its text.
QString StoredValueText(const QVariant& value);

// D.M.YYYY under a "." separator, M/D/YYYY under "/", else the short date text.
QString DateToQueryText(const QDate& date);
// A date written with "." (day.month.year) or "/" (month/day/year), whichever the
// locale uses; throws EDateConversion.
QDate ParseDateAnySeparator(const QString& text);
// "D 5M12Y2009": day and month padded to two characters with a blank; years below
// 100 are written plus 1000.
QString DateToDMYText(const QDate& date);
// The stamp back; throws EDateConversion.
QDate DMYTextToDate(const QString& text);

} // namespace orvek
