#include "mainwindow/main_language.h"

#include "core/common_vars.h"
#include "core/qt_translations.h"
#include "database/template_window_texts.h"

namespace orvek {

void SwitchProgramLanguage(int languageId)
{
    LanguageID = static_cast<quint8>(languageId);
    LoadQtTranslations(languageId);
}

QUrl ProductPageAddress(int languageId)
{
    // One address list for both windows: the template window's.
    return QUrl(ProductWebPage(languageId));
}

} // namespace orvek
