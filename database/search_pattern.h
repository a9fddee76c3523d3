#pragma once
// The search of the database windows' lists: a text the user typed, matched literally
// against one column, without regard to case (the database's upper() and LIKE fold
// Slovak and Czech letters). The text is always a bound value.

#include <QString>
#include <QVariantList>

namespace orvek {

enum class TSearchKind {
    Substring, // the text anywhere in the column
    Beginning, // the column begins with the text
    Exact, // the column is the text
};

// The escape character of the LIKE patterns made here.
inline constexpr QChar kLikeEscape = u'\\';

// Text with "%", "_" and the escape character each preceded by the escape character,
// so that LIKE matches them as themselves.
QString EscapeLikeText(const QString& text);

// A piece of a WHERE clause and the values bound to its placeholders, in order.
struct TSqlCondition {
    QString Sql;
    QVariantList Values;
};

// upper(Column) LIKE pattern (Substring, Beginning) or upper(Column) = text (Exact),
// with the text upper-cased as the database's upper() does. Column goes through
// QuoteName; the caller passes only names of its own grid columns.
TSqlCondition SearchCondition(const QString& column, TSearchKind kind, const QString& text);

} // namespace orvek
