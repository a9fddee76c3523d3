#pragma once
// The program's language as the main window switches it, and the addresses that depend
// on it.

#include <QString>
#include <QUrl>

namespace orvek {

// LanguageID := LanguageId and Qt's own texts follow it (core/qt_translations.h). The
// window re-captions itself afterwards (RefreshTexts).
void SwitchProgramLanguage(int languageId);

// The distributor's product page: the Slovak page for language 1, the English page for
// every other language (a language without a page of its own reads the English one).
QUrl ProductPageAddress(int languageId);

} // namespace orvek
