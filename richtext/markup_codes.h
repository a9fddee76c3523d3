#pragma once
// The mark-up code table shared by every producer and consumer of mark-up text: format
// and alignment codes, Symbol-font character codes and accented-letter codes. The order
// of the entries is significant: of codes starting at one position, and of entries
// showing one character, the earlier entry wins.

#include <QChar>
#include <QColor>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>

namespace orvek {

struct TMarkupCode {
    const char* Code; // the code as written in mark-up
    const char* CloseCode; // "[cf1]" for format codes, empty otherwise
    qint16 Charset; // 1 format and alignment, 2 Symbol, 238 east-European, 0 ANSI
    const char* FontName; // the code's font; empty where the current font stays
    char16_t BaseChar; // plain-text substitute
    uchar CharCode; // the character drawn, in the code page of Charset
    uchar AltCode; // a second Symbol byte that maps back to the entry; 0 = none
};

constexpr int MarkupCodeCount = 112;
constexpr int FormatCodeCount = 17; // entries 1..17: format and alignment codes
constexpr int SymbolCodeFirst = 18, SymbolCodeLast = 61;
constexpr int LetterCodeFirst = 62, LetterCodeLast = 112;

// Entries numbered 1..112 as in the table; element 0 is entry 1.
extern const std::array<TMarkupCode, MarkupCodeCount> MarkupCodeTable;

// Entry numbers of the format and alignment codes.
enum MarkupFormatCode {
    mcItalic = 1,
    mcBold,
    mcSuperscript,
    mcSubscript,
    mcUnderline,
    mcSize,
    mcArial,
    mcTimes,
    mcCourier,
    mcColor,
    mcUrl,
    mcUrlExtended,
    mcUnderline2,
    mcPlain,
    mcRight,
    mcLeft,
    mcCenter
};

inline const QString CloseCode = QStringLiteral("[cf1]");

// The entry (1-based) as a QString code, cached.
const QString& MarkupCodeText(int entry);
// The character an entry shows (groups 2 and 3): its CharCode in the code page of its
// charset, as Unicode. Null for format codes.
QChar MarkupCodeGlyph(int entry);
// The entry whose code starts at Pos of Text (the earlier entry of codes starting
// there), searching entries First..Last; 0 when none does.
int MarkupCodeAt(QStringView text, qsizetype pos, int first = 1, int last = MarkupCodeCount);
// The first character-code entry (groups 2 and 3) that shows Ch; 0 when none does.
int MarkupEntryForChar(QChar ch);
// The plain-text substitute of Ch: the base letter of an accented letter, the entry's
// BaseChar of a Symbol character, else Ch itself.
QChar PlainBaseChar(QChar ch);
// The colour of a "[cfcolor" name (without regard to case); false when not in the list.
bool MarkupColorOfName(const QString& name, QColor* color);

// The code of a character given as a byte in a charset (2 Symbol, 0 or 238 letters,
// any other charset searches both groups ignoring the entries' charsets); empty when
// no entry shows it.
QString MarkupCodeForChar(qint16 charset, uchar charCode);

} // namespace orvek
