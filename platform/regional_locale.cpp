#include "platform/regional_locale.h"

#include <optional>

namespace orvek {

namespace {
std::optional<QLocale>& Regional()
{
    static std::optional<QLocale> regional;
    return regional;
}
} // namespace

QLocale RegionalLocale()
{
    const std::optional<QLocale>& regional = Regional();
    return regional ? *regional : QLocale();
}

void SetLanguageLocale(const QLocale& language)
{
    std::optional<QLocale>& regional = Regional();
    if (!regional)
        regional = QLocale();
    QLocale::setDefault(language);
}

} // namespace orvek
