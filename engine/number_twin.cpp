#include "engine/number_twin.h"

#include "core/decimal_digits.h"
#include "core/number_text.h"

#include <vector>
#include <cmath>
#include <cstdint>

namespace orvek {

namespace {

struct Twin {
    QString text; // shares the storage of the text it stands for
    long double value = 0;
    bool plain = false;
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

bool TwinNumber(const QString& Text, long double& Value)
{
    if (Text.isEmpty())
        return false;
    Twin& twin = SlotOf(Text);
    if (!SameStorage(twin.text, Text)) {
        twin.text = Text;
        twin.plain = ReadPlainNumber(Text, twin.value);
    }
    if (twin.plain)
        Value = twin.value;
    return twin.plain;
}

QString TwinText(long double X)
{
    long double rounded = 0;
    QString text = FloatToGeneralText(X, rounded);
    if (std::isfinite(rounded)) {
        Twin& twin = SlotOf(text);
        twin.text = text;
        twin.value = rounded;
        twin.plain = true;
    }
    return text;
}

} // namespace orvek
