#include "database/search_pattern.h"

#include "platform/sql_database.h"

namespace orvek {

QString EscapeLikeText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == kLikeEscape)
            escaped += kLikeEscape;
        escaped += c;
    }
    return escaped;
}

TSqlCondition SearchCondition(const QString& column, TSearchKind kind, const QString& text)
{
    // The registered upper() folds with QString::toUpper, so the text is folded the same way.
    const QString upper = text.toUpper();
    const QString target = QStringLiteral("upper(") + QuoteName(column) + QLatin1Char(')');
    if (kind == TSearchKind::Exact)
        return { target + QStringLiteral(" = ?"), { upper } };
    const QString pattern = (kind == TSearchKind::Substring ? QStringLiteral("%") : QString()) + EscapeLikeText(upper)
        + QStringLiteral("%");
    return { target + QStringLiteral(" LIKE ? ESCAPE '") + kLikeEscape + QLatin1Char('\''), { pattern } };
}

} // namespace orvek
