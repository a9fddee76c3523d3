#include "core/qt_translations.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

namespace orvek {

namespace {

// The catalogues installed now; owned here for the program's lifetime.
std::vector<std::unique_ptr<QTranslator>>& Installed()
{
    static std::vector<std::unique_ptr<QTranslator>> installed;
    return installed;
}

} // namespace

QString QtTranslationLocale(int languageId)
{
    switch (languageId) {
    case 1:
        return QStringLiteral("sk");
    case 2:
        return QStringLiteral("cs");
    default:
        return QStringLiteral("en");
    }
}

bool LoadQtTranslations(int languageId)
{
    auto& installed = Installed();
    for (auto& translator : installed)
        QCoreApplication::removeTranslator(translator.get());
    installed.clear();

    const QString locale = QtTranslationLocale(languageId);
    bool found = locale == QLatin1String("en");
    if (!found) {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        // qtbase holds the texts of the widgets and the standard dialogs.
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral("qtbase_") + locale, folder)) {
            QCoreApplication::installTranslator(translator.get());
            installed.push_back(std::move(translator));
            found = true;
        }
    }
    // Windows re-caption themselves on this event, also when no catalogue changed (a
    // switch between two languages without catalogues, or a missing catalogue).
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(app, &change);
    }
    return found;
}

} // namespace orvek
