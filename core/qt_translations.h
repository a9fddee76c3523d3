#pragma once
// Qt's own texts (the standard buttons of message boxes and button boxes, the print,
// page and file dialogs) in the program's language: Qt's translation catalogues for
// the language are installed in the application, and replaced on a language switch.
// Installing or removing a catalogue sends every window a language-change event, so
// windows that caption themselves on that event follow as well.

#include <QString>

namespace orvek {

// The locale name of Qt's catalogues for a LanguageID: "en", "sk" or "cs"; English for
// an unknown language.
QString QtTranslationLocale(int languageId);

// Installs Qt's catalogues for LanguageID in place of those installed before (English
// needs none), and the standard buttons' texts of the string table above them, and makes
// the language Qt's default locale (SetLanguageLocale). True when the language's
// catalogues are in place: for English always, else when the base catalogue was found
// in Qt's translations folder.
bool LoadQtTranslations(int languageId);

} // namespace orvek
