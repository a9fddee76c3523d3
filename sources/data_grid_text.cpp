#include "sources/data_grid_text.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/number_format.h"
#include "core/number_text.h"

#include <QLocale>
#include <cmath>

namespace orvek {

namespace {

bool AllDigits(const QString& text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return !text.isEmpty();
}

// The mask with its quoted parts as literal runs: each element is either one mask
// character or a whole literal (marked by a leading quote).
QStringList MaskTokens(const QString& mask)
{
    QStringList tokens;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = mask.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? mask.size() : end;
            tokens << QString(u'"') + mask.mid(i + 1, stop - i - 1);
            i = stop;
        } else
            tokens << QString(c);
    }
    return tokens;
}

QString Literal(const QString& token)
{
    return token.startsWith(u'"') ? token.mid(1) : token;
}

} // namespace

bool NormalizeGridNumber(QString& text)
{
    double value = 0;
    if (!TryStrToFloatNeutral(text, value))
        return false;
    text = FloatToGeneralText(value);
    return true;
}

QString NormalizeGridDate(const QString& text)
{
    if (text.isEmpty())
        return {};
    if (QStringLiteral("NTHJD").contains(text[0].toUpper()))
        return DateToShortText(Today());
    QString t = text.trimmed();
    if (AllDigits(t)) {
        if (t.size() != 6 && t.size() != 8)
            return {};
        t = t.left(2) + u'.' + t.mid(2, 2) + u'.' + t.mid(4);
    }
    try {
        return DateToShortText(ParseDateAnySeparator(t));
    } catch (const EDateConversion&) {
        return {};
    }
}

QString CompleteFromPickList(const QString& text, const QStringList& pickList)
{
    if (text.isEmpty())
        return text;
    for (const QString& entry : pickList)
        if (!entry.isEmpty() && entry[0] == text[0])
            return entry;
    return text;
}

int PickListIndexOfFirstChar(QChar typed, const QStringList& pickList)
{
    for (qsizetype i = 0; i < pickList.size(); ++i)
        if (!pickList[i].isEmpty() && pickList[i][0].toLower() == typed.toLower())
            return int(i);
    return -1;
}

bool FormatGridNumber(const QString& text, const QString& mask, QString& shown)
{
    double value = 0;
    if (!TryStrToFloatNeutral(text, value) || !std::isfinite(value))
        return false;
    const QStringList tokens = MaskTokens(mask.section(u';', 0, 0));
    int first = -1, last = -1, point = -1;
    int minInt = 0, minDec = 0, maxDec = 0;
    bool grouping = false;
    for (int i = 0; i < tokens.size(); ++i) {
        const QString& t = tokens[i];
        if (t == "0" || t == "#") {
            if (first < 0)
                first = i;
            last = i;
            if (point < 0)
                minInt += t == "0";
            else {
                ++maxDec;
                if (t == "0")
                    minDec = maxDec;
            }
        } else if (t == "." && point < 0)
            point = i;
        else if (t == "," && point < 0)
            grouping = true;
    }
    if (first < 0)
        return false;
    QString prefix, suffix;
    for (int i = 0; i < first; ++i)
        prefix += Literal(tokens[i]);
    for (int i = last + 1; i < tokens.size(); ++i)
        if (i != point)
            suffix += Literal(tokens[i]);

    const QString digits = FloatToFixedText(0, quint8(maxDec), std::fabs(value)).trimmed();
    const QString plain = QString(digits).remove(u'.');
    const bool zero = plain.count(u'0') == plain.size();
    QString intPart = digits.section(u'.', 0, 0), decPart = digits.section(u'.', 1);
    while (decPart.size() > minDec && decPart.endsWith(u'0'))
        decPart.chop(1);
    if (intPart == "0" && minInt == 0)
        intPart.clear();
    while (intPart.size() < minInt)
        intPart.prepend(u'0');
    if (grouping)
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, OwnDecimalSeparator == u',' ? u' ' : u',');
    QString number = intPart;
    if (!decPart.isEmpty())
        number += OwnDecimalSeparator + decPart;
    if (number.isEmpty())
        number = "0";
    shown = prefix + (value < 0 && !zero ? "-" : "") + number + suffix;
    return true;
}

bool FormatGridDate(const QString& text, const QString& mask, QString& shown)
{
    QDate date;
    try {
        date = ShortTextToDate(text);
    } catch (const EDateConversion&) {
        return false;
    }
    const QDateTime moment(date, QTime(0, 0));
    const QLocale locale;
    const QStringList tokens = MaskTokens(mask);
    shown.clear();
    bool afterHour = false;
    for (int i = 0; i < tokens.size();) {
        const QString& t = tokens[i];
        const QChar l = t.size() == 1 ? t[0].toLower() : QChar();
        int run = 1;
        while (
            !l.isNull() && i + run < tokens.size() && tokens[i + run].size() == 1 && tokens[i + run][0].toLower() == l)
            ++run;
        QString qt;
        if (l == u'd')
            qt = QString(std::min(run, 4), u'd');
        else if (l == u'm')
            qt = afterHour && run <= 2 ? QString(run, u'm') : QString(std::min(run, 4), u'M');
        else if (l == u'n')
            qt = QString(std::min(run, 2), u'm');
        else if (l == u'y')
            qt = run <= 2 ? "yy" : "yyyy";
        else if (l == u'h')
            qt = QString(std::min(run, 2), u'h');
        else if (l == u's')
            qt = QString(std::min(run, 2), u's');
        if (!qt.isEmpty())
            shown += locale.toString(moment, qt);
        else if (t == "/")
            shown += DateSeparator;
        else
            shown += Literal(t).repeated(run);
        afterHour = l == u'h' || (afterHour && qt.isEmpty() && (t == ":" || t == " "));
        i += run;
    }
    return true;
}

} // namespace orvek
