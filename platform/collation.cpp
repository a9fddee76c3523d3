#include "platform/collation.h"

#include <sqlite3.h>

#include <QHash>
#include <QVector>

namespace orvek {

namespace {

// One collation element: the place in the alphabet, the accent rank and the case.
struct Element {
    int primary;
    int secondary;
    int tertiary;
};

// Letters that are letters of their own in Slovak or Czech, in alphabet order, each
// followed by the accented forms that sort with it (a secondary difference only).
// "ch" is handled as one letter after "h".
const char16_t* const kAlphabet[] = {
    u"aáàâãåą",
    u"ä",
    u"b",
    u"cćç",
    u"č",
    u"dď",
    u"eéěèêëę",
    u"f",
    u"g",
    u"h",
    u"ch",
    u"iíìîï",
    u"j",
    u"k",
    u"lĺľł",
    u"m",
    u"nňńñ",
    u"oóòõöő",
    u"ô",
    u"p",
    u"q",
    u"rŕ",
    u"ř",
    u"sś",
    u"š",
    u"tť",
    u"uúůùûüű",
    u"v",
    u"w",
    u"x",
    u"yý",
    u"zźż",
    u"ž",
};

constexpr int kLetterBase = 1000;
constexpr int kChPlace = 10; // index of "ch" in kAlphabet

struct LetterTable {
    QHash<char16_t, std::pair<int, int>> places; // lower-case letter -> (place, accent rank)
    LetterTable()
    {
        int place = 0;
        for (const char16_t* group : kAlphabet) {
            int rank = 0;
            if (place != kChPlace)
                for (const char16_t* c = group; *c; ++c)
                    places.insert(*c, { place, rank++ });
            ++place;
        }
    }
};

const LetterTable& Letters()
{
    static const LetterTable table;
    return table;
}

QVector<Element> Elements(const QString& text)
{
    const auto& places = Letters().places;
    QVector<Element> out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar lower = c.toLower();
        const int caseRank = (c != lower) ? 1 : 0;
        if (lower == u'c' && i + 1 < text.size() && text.at(i + 1).toLower() == u'h') {
            out.push_back({ kLetterBase + kChPlace, 0, caseRank });
            ++i;
            continue;
        }
        auto it = places.constFind(lower.unicode());
        if (it != places.constEnd()) {
            out.push_back({ kLetterBase + it->first, it->second, caseRank });
        } else if (c.isDigit()) {
            out.push_back({ 500 + c.digitValue(), 0, 0 });
        } else if (c.isLetter()) {
            // Letters of other alphabets follow the Latin ones in code order.
            out.push_back({ kLetterBase + 100 + lower.unicode(), 0, caseRank });
        } else {
            // Blanks and punctuation come before digits and letters.
            out.push_back({ c.unicode() < 500 ? int(c.unicode()) : 499, 0, 0 });
        }
    }
    return out;
}

int CompareLevel(const QVector<Element>& a, const QVector<Element>& b, int Element::*level)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i].*level != b[i].*level)
            return a[i].*level < b[i].*level ? -1 : 1;
    }
    if (level == &Element::primary && a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

QString ArgText(sqlite3_value* value)
{
    const void* data = sqlite3_value_text16(value);
    const int bytes = sqlite3_value_bytes16(value);
    return data ? QString(static_cast<const QChar*>(data), bytes / 2) : QString();
}

void ResultText(sqlite3_context* ctx, const QString& text)
{
    sqlite3_result_text16(ctx, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

int CollateSlovak(void*, int lenA, const void* a, int lenB, const void* b)
{
    return CompareSlovak(
        QString(static_cast<const QChar*>(a), lenA / 2), QString(static_cast<const QChar*>(b), lenB / 2));
}

void UpperFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    ResultText(ctx, ArgText(argv[0]).toUpper());
}

void LowerFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    ResultText(ctx, ArgText(argv[0]).toLower());
}

// SQL LIKE with "%" and "_", case-insensitive for every letter; Escape quotes the
// character after it.
bool LikeMatch(const QString& pattern, qsizetype p, const QString& text, qsizetype t, QChar escape)
{
    while (p < pattern.size()) {
        QChar pc = pattern.at(p);
        if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
            if (t >= text.size() || text.at(t).toUpper() != pattern.at(p + 1).toUpper())
                return false;
            p += 2;
            ++t;
            continue;
        }
        if (pc == u'%') {
            while (p < pattern.size() && pattern.at(p) == u'%')
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype k = t; k <= text.size(); ++k)
                if (LikeMatch(pattern, p, text, k, escape))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        if (pc != u'_' && pc.toUpper() != text.at(t).toUpper())
            return false;
        ++p;
        ++t;
    }
    return t == text.size();
}

void LikeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QChar escape;
    if (argc == 3) {
        const QString e = ArgText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    // like(pattern, text): "text LIKE pattern" calls it with the pattern first.
    sqlite3_result_int(ctx, LikeMatch(ArgText(argv[0]), 0, ArgText(argv[1]), 0, escape) ? 1 : 0);
}

// skcz_key(x): the sort key of a text as a blob (a zero byte, then SlovakSortKey), so
// that ORDER BY skcz_key(x) computes each row's key once where ORDER BY x COLLATE SKCZ
// takes every text apart again at each comparison. Numbers and NULL pass through, and
// a blob gets a one byte first: SQLite's order of the kinds (NULL, numbers, texts,
// blobs) stays.
void SortKeyFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_TEXT: {
        const QByteArray key = QByteArray(1, '\0') + SlovakSortKey(ArgText(argv[0]));
        sqlite3_result_blob(ctx, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        return;
    }
    case SQLITE_BLOB: {
        const int size = sqlite3_value_bytes(argv[0]);
        QByteArray key(1, '\1');
        if (size > 0)
            key.append(static_cast<const char*>(sqlite3_value_blob(argv[0])), size);
        sqlite3_result_blob(ctx, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        return;
    }
    default:
        sqlite3_result_value(ctx, argv[0]);
    }
}

} // namespace

int CompareSlovak(const QString& a, const QString& b)
{
    const QVector<Element> ea = Elements(a), eb = Elements(b);
    for (int Element::*level : { &Element::primary, &Element::secondary, &Element::tertiary })
        if (int r = CompareLevel(ea, eb, level))
            return r;
    return a.compare(b);
}

QByteArray SlovakSortKey(const QString& text)
{
    const QVector<Element> elements = Elements(text);
    QByteArray key;
    key.reserve(elements.size() * 5 + 3 + text.size() * 2);
    // Primary places, each as three bytes above zero, then a zero end: a text that is
    // the start of another sorts first, as the comparison's length rule says.
    for (const Element& e : elements) {
        const quint32 place = quint32(e.primary) + 1;
        key.append(char(place >> 16)).append(char((place >> 8) & 0xFF)).append(char(place & 0xFF));
    }
    key.append(3, '\0');
    // Equal primary places mean as many elements: the accent and case levels line up.
    for (const Element& e : elements)
        key.append(char(e.secondary));
    for (const Element& e : elements)
        key.append(char(e.tertiary));
    // Last the code units, as the final plain comparison orders them.
    for (QChar c : text)
        key.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    return key;
}

bool RegisterSlovakFunctions(sqlite3* db)
{
    if (!db)
        return false;
    const int textFlags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    bool ok
        = sqlite3_create_collation_v2(db, kSlovakCollation, SQLITE_UTF16, nullptr, CollateSlovak, nullptr) == SQLITE_OK;
    ok = ok
        && sqlite3_create_function_v2(db, "upper", 1, textFlags, nullptr, UpperFunction, nullptr, nullptr, nullptr)
            == SQLITE_OK;
    ok = ok
        && sqlite3_create_function_v2(db, "lower", 1, textFlags, nullptr, LowerFunction, nullptr, nullptr, nullptr)
            == SQLITE_OK;
    ok = ok
        && sqlite3_create_function_v2(db, "like", 2, textFlags, nullptr, LikeFunction, nullptr, nullptr, nullptr)
            == SQLITE_OK;
    ok = ok
        && sqlite3_create_function_v2(db, kSlovakSortKeyFunction, 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
               SortKeyFunction, nullptr, nullptr, nullptr)
            == SQLITE_OK;
    ok = ok
        && sqlite3_create_function_v2(db, "like", 3, textFlags, nullptr, LikeFunction, nullptr, nullptr, nullptr)
            == SQLITE_OK;
    return ok;
}

} // namespace orvek
