#pragma once
// Numbered UI texts in the current language (LanguageID: 0 English, 1 Slovak,
// 2 Czech), formatted with their arguments. Code below the data module calls these;
// TDataModule1::GetString forwards here.

#include <QString>
#include <initializer_list>
#include <variant>

namespace orvek {

// One argument of a formatted text: a whole number, a floating-point number or a text.
struct FormatArg {
    FormatArg(int v) : value(qint64(v)) {}
    FormatArg(qint64 v) : value(v) {}
    FormatArg(double v) : value((long double)v) {}
    FormatArg(long double v) : value(v) {}
    FormatArg(const QString& v) : value(v) {}
    FormatArg(const char* v) : value(QString::fromUtf8(v)) {}
    std::variant<qint64, long double, QString> value;
};

// The text number ID, formatted with Args; empty when the table has no such text.
QString GetString(int id, std::initializer_list<FormatArg> args = {});

// Formats Pattern with %s, %d, %x, %f, %g, %e, %.Nf and widths; a pattern that does
// not match its arguments is returned unformatted.
QString Format(const QString& pattern, std::initializer_list<FormatArg> args);

}  // namespace orvek
