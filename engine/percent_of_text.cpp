#include "engine/percent_of_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orvek {

namespace {

// A plain decimal number: optional sign, digits with one "," or ".", optional exponent.
bool ParseNumber(const QString& text, long double& value)
{
    std::string s = text.trimmed().toStdString();
    for (char& c : s)
        if (c == ',')
            c = '.';
    if (s.empty())
        return false;
    if (s.front() == '+')
        s.erase(0, 1);
    double parsed = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), parsed, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

}  // namespace

QString PercentOfText(const QString& a, const QString& b)
{
    long double x = 0, y = 0;
    if (!ParseNumber(a, x) || !ParseNumber(b, y) || y == 0)
        return QString();
    const long double r = 100.0L * x / y;
    if (!std::isfinite(r))
        return QString();
    return QString::number(double(r), 'g', 15).toUpper().replace("E+", "E");
}

}  // namespace orvek
