#include "mainwindow/main_language.h"

#include "core/common_vars.h"
#include "core/qt_translations.h"

namespace orvek {

namespace {

// Configuration values: the product page per language.
constexpr const char* kProductPageEnglish = "https://www.example.org/orvek/en/";
constexpr const char* kProductPageSlovak = "https://www.example.org/orvek/sk/";

} // namespace

void SwitchProgramLanguage(int languageId)
{
    LanguageID = static_cast<quint8>(languageId);
    LoadQtTranslations(languageId);
}

QUrl ProductPageAddress(int languageId)
{
    return QUrl(QString::fromLatin1(languageId == 1 ? kProductPageSlovak : kProductPageEnglish));
}

} // namespace orvek
