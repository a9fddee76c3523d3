#include "core/qt_translations.h"

#include "core/string_table.h"
#include "platform/regional_locale.h"

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

// The standard buttons of message boxes and button boxes, from the string table: Qt's
// catalogues lack them for some languages (Slovak), and the program's own words for
// them are the ones its users know. A text the table lacks falls through to Qt's
// catalogue.
class StandardButtonTexts : public QTranslator {
public:
    bool isEmpty() const override { return false; }

    QString translate(
        const char* context, const char* sourceText, const char* disambiguation = nullptr, int n = -1) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QPlatformTheme") != 0 || !sourceText)
            return QString();
        struct Button {
            const char* source;
            int id;
            bool accelerator;
        };
        static constexpr Button kButtons[]
            = { { "OK", 710, false }, { "&Yes", 22190, true }, { "&No", 22191, true }, { "Cancel", 4, false },
                  { "Close", 551, false }, { "Help", 81, false }, { "Abort", 22192, false }, { "Retry", 22193, false },
                  { "Ignore", 22194, false }, { "Yes to &All", 22195, true }, { "N&o to All", 22196, true } };
        for (const Button& button : kButtons) {
            if (qstrcmp(sourceText, button.source) != 0)
                continue;
            const QString text = GetString(button.id);
            if (text.isEmpty())
                return QString();
            return button.accelerator ? QLatin1Char('&') + text : text;
        }
        return QString();
    }
};

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
    // Month and day names, calendars and Qt's dialogs speak the program's language;
    // numbers and dates keep the regional settings.
    SetLanguageLocale(QLocale(locale));
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
    // Installed last, so asked first.
    auto buttons = std::make_unique<StandardButtonTexts>();
    QCoreApplication::installTranslator(buttons.get());
    installed.push_back(std::move(buttons));
    // Windows re-caption themselves on this event, also when no catalogue changed (a
    // switch between two languages without catalogues, or a missing catalogue).
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(app, &change);
    }
    return found;
}

} // namespace orvek
