#pragma once
// Two locales: the program's language sets Qt's default locale (month and day names,
// calendars, the texts of Qt's own dialogs), while numbers and dates keep the user's
// regional settings as the program found them at start (decimal separator, short date
// form), whatever language the program speaks.

#include <QLocale>

namespace orvek {

// The regional settings: the default locale in force before the program first set its
// language (SetLanguageLocale), else the default locale.
QLocale RegionalLocale();

// Makes Language Qt's default locale; the first call keeps the default locale it
// replaces as the regional settings.
void SetLanguageLocale(const QLocale& language);

} // namespace orvek
