#include "richtext/markup_codes.h"

#include "platform/code_pages.h"

#include <QHash>

namespace orvek {

namespace {
constexpr TMarkupCode F(const char* code, const char* font = "", char16_t base = u' ', uchar ch = 0)
{
    return { code, "[cf1]", 1, font, base, ch, 0 };
}
constexpr TMarkupCode A(const char* code, char c)
{
    return { code, "", 1, "", char16_t(c), uchar(c), 0 };
}
constexpr TMarkupCode S(const char* code, uchar ch, char16_t base = u' ', uchar alt = 0)
{
    return { code, "", 2, "Symbol", base, ch, alt };
}
// A Greek code ";g" + the Latin letter whose Symbol glyph is the Greek letter.
constexpr TMarkupCode G(const char* code)
{
    return S(code, uchar(code[2]), char16_t(code[2]));
}
// A letter code ";a" + accent + base letter.
constexpr TMarkupCode L(const char* code, qint16 charset, uchar ch)
{
    return { code, "", charset, "Arial", char16_t(code[3]), ch, 0 };
}
} // namespace

// clang-format off
const std::array<TMarkupCode, MarkupCodeCount> MarkupCodeTable = {{
    // Group 1: format and alignment codes.
    F("[cf2]"), F("[cf3]"), F("[cf11]", "Arial"), F("[cf15]", "Arial"), F("[su1]"),
    F("[cfsize", "Arial"), F("[cfarial]", "Arial"), F("[cftimes]", "Times New Roman"),
    F("[cfcourier]", "Courier New"), F("[cfcolor", "Times New Roman"), F("[cfisurl]"), F("[cfisurlext]"),
    F("[cf88]"), F("[cf99]"), A("[cfright]", 'p'), A("[cfleft]", 'S'), A("[cfcenter]", 's'),
    // Group 2: Symbol-font characters.
    S(";NE", 0xA5), G(";gP"), G(";gr"), G(";gn"), G(";gj"), G(";gx"), G(";gX"), G(";gl"), G(";gW"),
    S(";ts", 0xB4), G(";gw"), G(";gY"), G(";gD"), G(";ge"), G(";gg"), G(";ga"), G(";gb"), G(";gG"),
    G(";gp"), G(";gS"), G(";gs"), G(";gm"), G(";gd"), G(";gL"), G(";gv"), G(";gu"), G(";gt"), G(";gq"),
    G(";gk"), G(";gi"), G(";gh"), G(";gf"), G(";gc"), G(";gV"), G(";gQ"), G(";gF"), G(";gz"), G(";gJ"),
    G(";gy"), S(";pm", 0xB1), S(";me", 0xB3, u' ', 0x33), S(";le", 0xA3, u' ', 0x4C), S(";eq", 0x3D, u'='),
    S(";dg", 0xB0, u'°'),
    // Group 3: accented letters.
    L(";alC", 238, 0xC7), L(";auu", 238, 0xFC), L(";aae", 238, 0xE9), L(";afa", 238, 0xE2),
    L(";aua", 238, 0xE4), L(";aga", 238, 0xE0), L(";ana", 0, 0xE5), L(";alc", 238, 0xE7),
    L(";afe", 238, 0xEA), L(";aue", 238, 0xEB), L(";age", 0, 0xE8), L(";aui", 238, 0xEF),
    L(";afi", 238, 0xEE), L(";agi", 238, 0xEC), L(";auA", 238, 0xC4), L(";anA", 0, 0xC5),
    L(";aaE", 238, 0xC9), L(";afo", 238, 0xF4), L(";auo", 238, 0xF6), L(";ago", 238, 0xF2),
    L(";afu", 238, 0xFB), L(";agu", 0, 0xF9), L(";auO", 238, 0xD6), L(";auU", 238, 0xDC),
    L(";aaa", 238, 0xE1), L(";aai", 238, 0xED), L(";aao", 238, 0xF3), L(";aau", 238, 0xFA),
    L(";atn", 238, 0xF1), L(";atN", 238, 0xD1), L(";akc", 238, 0xE8), L(";akC", 238, 0xC8),
    L(";aks", 238, 0x9A), L(";akS", 238, 0x8A), L(";akl", 238, 0xBE), L(";akL", 238, 0xBC),
    L(";akt", 238, 0x9D), L(";akT", 238, 0x8D), L(";akz", 238, 0x9E), L(";akZ", 238, 0x8E),
    L(";akd", 238, 0xEF), L(";akD", 238, 0xCF), L(";akr", 238, 0xF8), L(";akR", 238, 0xD8),
    L(";aky", 238, 0xFD), L(";akY", 238, 0xDD), L(";akA", 238, 0xC1), L(";aal", 238, 0xE5),
    L(";aaL", 238, 0xC5), L(";aku", 238, 0xF9), L(";akU", 238, 0xD9),
}};
// clang-format on

namespace {

struct Tables {
    std::array<QString, MarkupCodeCount> codes;
    std::array<QChar, MarkupCodeCount> glyphs;
    QHash<char16_t, int> entryOfGlyph;
    Tables()
    {
        for (int i = 0; i < MarkupCodeCount; ++i) {
            const TMarkupCode& e = MarkupCodeTable[i];
            codes[i] = QString::fromLatin1(e.Code);
            if (i + 1 >= SymbolCodeFirst) {
                const int cp = e.Charset == 2 ? SymbolCodePage : e.Charset == 238 ? CodePage1250 : CodePage1252;
                glyphs[i] = CodePageToUnicode(cp, e.CharCode);
                if (!entryOfGlyph.contains(glyphs[i].unicode()))
                    entryOfGlyph.insert(glyphs[i].unicode(), i + 1);
            }
        }
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

} // namespace

const QString& MarkupCodeText(int entry)
{
    return GetTables().codes[entry - 1];
}

QChar MarkupCodeGlyph(int entry)
{
    return GetTables().glyphs[entry - 1];
}

int MarkupCodeAt(QStringView text, qsizetype pos, int first, int last)
{
    if (pos < 0 || pos >= text.size())
        return 0;
    const QChar c = text[pos];
    if (c != u'[' && c != u';')
        return 0;
    const Tables& t = GetTables();
    const QStringView rest = text.mid(pos);
    for (int i = first; i <= last; ++i)
        if (rest.startsWith(t.codes[i - 1]))
            return i;
    return 0;
}

int MarkupEntryForChar(QChar ch)
{
    return GetTables().entryOfGlyph.value(ch.unicode(), 0);
}

QChar PlainBaseChar(QChar ch)
{
    if (ch.unicode() < 0x80)
        return ch;
    const int entry = MarkupEntryForChar(ch);
    if (entry >= SymbolCodeFirst && entry <= SymbolCodeLast)
        return QChar(MarkupCodeTable[entry - 1].BaseChar);
    // A letter with an accent: the letter its canonical decomposition starts with.
    const QString decomposed = ch.decomposition();
    if (ch.decompositionTag() == QChar::Canonical && !decomposed.isEmpty() && decomposed[0].unicode() < 0x80)
        return decomposed[0];
    if (entry >= LetterCodeFirst)
        return QChar(MarkupCodeTable[entry - 1].BaseChar);
    return ch;
}

bool MarkupColorOfName(const QString& name, QColor* color)
{
    struct Named {
        const char* name;
        quint32 bgr;
    };
    static const Named kNames[] = {
        { "RED", 0x0000FF },
        { "BLUE", 0xFF0000 },
        { "AQUA", 0xFFFF00 },
        { "FUCHSIA", 0xFF00FF },
        { "LIME", 0x00FF00 },
        { "SILVER", 0xC0C0C0 },
        { "GRAY", 0x808080 },
        { "MAROON", 0x000080 },
        { "GREEN", 0x008000 },
        { "OLIVE", 0x008080 },
        { "NAVY", 0x800000 },
        { "PURPLE", 0x800080 },
        { "TEAL", 0x808000 },
    };
    for (const Named& n : kNames)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            *color = QColor(n.bgr & 0xFF, (n.bgr >> 8) & 0xFF, (n.bgr >> 16) & 0xFF);
            return true;
        }
    return false;
}

QString MarkupCodeForChar(qint16 charset, uchar charCode)
{
    int first = SymbolCodeFirst, last = LetterCodeLast;
    bool matchCharset = false;
    if (charset == 2) {
        last = SymbolCodeLast;
        matchCharset = true;
    } else if (charset == 0 || charset == 238) {
        first = LetterCodeFirst;
        matchCharset = true;
    }
    for (int i = first; i <= last; ++i) {
        const TMarkupCode& e = MarkupCodeTable[i - 1];
        if (matchCharset && e.Charset != charset)
            continue;
        if (e.CharCode == charCode || (e.AltCode != 0 && e.AltCode == charCode))
            return MarkupCodeText(i);
    }
    return QString();
}

} // namespace orvek
