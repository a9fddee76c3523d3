#include "engine/number_twin.h"

#include "core/decimal_digits.h"
#include "core/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace orvek {

namespace {

struct Twin {
    QString text; // shares the storage of the text it stands for
    long double value = 0;
    bool plain = false;
    // The double reading, once asked for.
    double doubleValue = 0;
    bool doubleKnown = false;
    bool doublePlain = false;
};

// Direct-mapped by the address of the text's storage; room for the texts of a few
// thousand cells, so that the texts of one evaluation rarely push each other out.
constexpr int kSlotBits = 15;
constexpr size_t kSlots = size_t(1) << kSlotBits;
std::vector<Twin>& Twins()
{
    static std::vector<Twin> twins(kSlots);
    return twins;
}

Twin& SlotOf(const QString& text)
{
    const auto address = reinterpret_cast<std::uintptr_t>(text.constData());
    return Twins()[(address * 0x9E3779B97F4A7C15ULL) >> (64 - kSlotBits)];
}

bool SameStorage(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

namespace {

// The twin of Text, read again when its slot held another text.
Twin& TwinOf(const QString& Text)
{
    Twin& twin = SlotOf(Text);
    if (!SameStorage(twin.text, Text)) {
        twin.text = Text;
        twin.plain = ReadPlainNumber(Text, twin.value);
        twin.doubleKnown = false;
    }
    return twin;
}

} // namespace

bool TwinNumber(const QString& Text, long double& Value)
{
    if (Text.isEmpty())
        return false;
    Twin& twin = TwinOf(Text);
    if (twin.plain)
        Value = twin.value;
    return twin.plain;
}

bool TwinDouble(const QString& Text, double& Value)
{
    if (Text.isEmpty())
        return false;
    Twin& twin = TwinOf(Text);
    if (!twin.doubleKnown) {
        twin.doublePlain = ReadPlainNumber(Text, twin.doubleValue);
        twin.doubleKnown = true;
    }
    if (twin.doublePlain)
        Value = twin.doubleValue;
    return twin.doublePlain;
}

namespace {

// The texts last written for numbers, by the number they stand for: a number
// written again (the evaluation writes most results unchanged after an edit) gets
// the same text without formatting or a new string. The text of a number depends
// only on its 15 digits and the decimal separator, and different digits never
// stand for the same long double.
struct WrittenText {
    long double value = 0;
    QChar separator;
    QString text;
};

constexpr int kWrittenBits = 13;

WrittenText& WrittenSlotOf(long double value)
{
    static std::vector<WrittenText> written(size_t(1) << kWrittenBits);
    // The 64-bit significand and the sign and exponent; the padding bytes of the
    // type hold nothing.
    unsigned long long significand = 0;
    unsigned short exponent = 0;
    std::memcpy(&significand, &value, sizeof significand);
    std::memcpy(&exponent, reinterpret_cast<const char*>(&value) + sizeof significand, sizeof exponent);
    const unsigned long long key = significand ^ (static_cast<unsigned long long>(exponent) << 48);
    return written[size_t((key * 0x9E3779B97F4A7C15ULL) >> (64 - kWrittenBits))];
}

} // namespace

QString TwinText(long double X)
{
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
        const long double rounded = std::isfinite(X) ? RoundToGeneralDigits(X) : X;
        if (std::isfinite(rounded)) {
            WrittenText& w = WrittenSlotOf(rounded);
            if (w.value == rounded && w.separator == OwnDecimalSeparator && !w.text.isEmpty())
                return w.text;
            QString text = FloatToGeneralText(X);
            w.value = rounded;
            w.separator = OwnDecimalSeparator;
            w.text = text;
            Twin& twin = SlotOf(text);
            twin.text = text;
            twin.value = rounded;
            twin.plain = true;
            twin.doubleKnown = false;
            return text;
        }
    }
    long double rounded = 0;
    QString text = FloatToGeneralText(X, rounded);
    if (std::isfinite(rounded)) {
        Twin& twin = SlotOf(text);
        twin.text = text;
        twin.value = rounded;
        twin.plain = true;
        twin.doubleKnown = false;
    }
    return text;
}

} // namespace orvek
