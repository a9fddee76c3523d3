#include "core/identifier_text.h"

namespace orvek {

bool IsAlphanumeric(const QString& Text)
{
    for (QChar c : Text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')))
            return false;
    }
    return true;
}

} // namespace orvek
