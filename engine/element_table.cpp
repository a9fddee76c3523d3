#include "engine/element_table.h"

#include "core/string_table.h"

#include <algorithm>
#include <cstring>

namespace orvek {

const std::array<TElementRec, ElementCount + 1> ElementTable = { {
    { "LP", "1.00794", "0.00000" }, { "H", "1.00794", "0.00007" }, // 1
    { "He", "4.002602", "0.000002" }, // 2
    { "Li", "6.941", "0.002" }, // 3
    { "Be", "9.012182", "0.000003" }, // 4
    { "B", "10.811", "0.007" }, // 5
    { "C", "12.0107", "0.0008" }, // 6
    { "N", "14.00674", "0.00007" }, // 7
    { "O", "15.9994", "0.0003" }, // 8
    { "F", "18.9984032", "0.0000005" }, // 9
    { "Ne", "20.1797", "0.0006" }, // 10
    { "Na", "22.989770", "0.000002" }, // 11
    { "Mg", "24.3050", "0.0006" }, // 12
    { "Al", "26.981538", "0.000002" }, // 13
    { "Si", "28.0855", "0.0003" }, // 14
    { "P", "30.973761", "0.000002" }, // 15
    { "S", "32.066", "0.006" }, // 16
    { "Cl", "35.4527", "0.0009" }, // 17
    { "Ar", "39.948", "0.001" }, // 18
    { "K", "39.0983", "0.0001" }, // 19
    { "Ca", "40.078", "0.004" }, // 20
    { "Sc", "44.955910", "0.000008" }, // 21
    { "Ti", "47.867", "0.001" }, // 22
    { "V", "50.9415", "0.0001" }, // 23
    { "Cr", "51.9961", "0.0006" }, // 24
    { "Mn", "54.938049", "0.000009" }, // 25
    { "Fe", "55.845", "0.002" }, // 26
    { "Co", "58.933200", "0.000009" }, // 27
    { "Ni", "58.6934", "0.0002" }, // 28
    { "Cu", "63.546", "0.003" }, // 29
    { "Zn", "65.39", "0.02" }, // 30
    { "Ga", "69.723", "0.001" }, // 31
    { "Ge", "72.61", "0.02" }, // 32
    { "As", "74.92160", "0.00002" }, // 33
    { "Se", "78.96", "0.03" }, // 34
    { "Br", "79.904", "0.001" }, // 35
    { "Kr", "83.80", "0.01" }, // 36
    { "Rb", "85.4678", "0.0003" }, // 37
    { "Sr", "87.62", "0.01" }, // 38
    { "Y", "88.90585", "0.00002" }, // 39
    { "Zr", "91.224", "0.002" }, // 40
    { "Nb", "92.90638", "0.00002" }, // 41
    { "Mo", "95.94", "0.01" }, // 42
    { "Tc", "98.90630", "0.00000" }, // 43
    { "Ru", "101.07", "0.02" }, // 44
    { "Rh", "102.90550", "0.00002" }, // 45
    { "Pd", "106.42", "0.01" }, // 46
    { "Ag", "107.8682", "0.0002" }, // 47
    { "Cd", "112.411", "0.008" }, // 48
    { "In", "114.818", "0.003" }, // 49
    { "Sn", "118.710", "0.007" }, // 50
    { "Sb", "121.760", "0.001" }, // 51
    { "Te", "127.60", "0.03" }, // 52
    { "I", "126.90447", "0.00003" }, // 53
    { "Xe", "131.29", "0.02" }, // 54
    { "Cs", "132.90545", "0.00002" }, // 55
    { "Ba", "137.327", "0.007" }, // 56
    { "La", "138.9055", "0.0002" }, // 57
    { "Ce", "140.116", "0.001" }, // 58
    { "Pr", "140.90765", "0.00002" }, // 59
    { "Nd", "144.24", "0.03" }, // 60
    { "Pm", "146.91510", "0.00000" }, // 61
    { "Sm", "150.36", "0.03" }, // 62
    { "Eu", "151.964", "0.001" }, // 63
    { "Gd", "157.25", "0.03" }, // 64
    { "Tb", "158.92534", "0.00002" }, // 65
    { "Dy", "162.50", "0.03" }, // 66
    { "Ho", "164.93032", "0.00002" }, // 67
    { "Er", "167.26", "0.03" }, // 68
    { "Tm", "168.93421", "0.00002" }, // 69
    { "Yb", "173.04", "0.03" }, // 70
    { "Lu", "174.967", "0.001" }, // 71
    { "Hf", "178.49", "0.02" }, // 72
    { "Ta", "180.9479", "0.0001" }, // 73
    { "W", "183.84", "0.01" }, // 74
    { "Re", "186.207", "0.001" }, // 75
    { "Os", "190.23", "0.03" }, // 76
    { "Ir", "192.217", "0.003" }, // 77
    { "Pt", "195.078", "0.002" }, // 78
    { "Au", "196.96655", "0.00002" }, // 79
    { "Hg", "200.59", "0.02" }, // 80
    { "Tl", "204.3833", "0.0002" }, // 81
    { "Pb", "207.2", "0.1" }, // 82
    { "Bi", "208.98038", "0.00002" }, // 83
    { "Po", "208.98240", "0.00000" }, // 84
    { "At", "209.98710", "0.00000" }, // 85
    { "Rn", "222.01760", "0.00000" }, // 86
    { "Fr", "223.01970", "0.00000" }, // 87
    { "Ra", "226.02540", "0.00000" }, // 88
    { "Ac", "227.02780", "0.00000" }, // 89
    { "Th", "232.0381", "0.0001" }, // 90
    { "Pa", "231.03588", "0.00002" }, // 91
    { "U", "238.0289", "0.0001" }, // 92
    { "Np", "237.04820", "0.00000" }, // 93
    { "Pu", "244.06420", "0.00000" }, // 94
    { "Am", "243.06140", "0.00000" }, // 95
    { "Cm", "247.07040", "0.00000" }, // 96
    { "Bk", "247.07030", "0.00000" }, // 97
    { "Cf", "251.07960", "0.00000" }, // 98
    { "Es", "252.08290", "0.00000" }, // 99
    { "Fm", "257.09510", "0.00000" }, // 100
    { "Md", "258.09860", "0.00000" }, // 101
    { "No", "259.10090", "0.00000" }, // 102
    { "Lr", "260.10530", "0.00000" }, // 103
    { "Rf", "261.10870", "0.00000" }, // 104
} };

namespace {

bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

constexpr int kMaxCountDigits = 4;

} // namespace

int FindElement(const QString& Symbol)
{
    for (int i = 1; i <= ElementCount; ++i)
        if (Symbol == QLatin1String(ElementTable[size_t(i)].Symbol))
            return i;
    return 0;
}

void SortElementsBySymbol(int Count)
{
    Count = std::clamp(Count, 0, ElementCount);
    std::sort(ElementOrder.begin() + 1, ElementOrder.begin() + 1 + Count,
        [](int a, int b) { return std::strcmp(ElementTable[size_t(a)].Symbol, ElementTable[size_t(b)].Symbol) < 0; });
}

void CountText(int Count, QString& Text)
{
    Text = Count == 1 ? QString() : QString::number(Count);
}

void ParseSumFormula(QString& Formula, bool& Invalid, QString& Message)
{
    Invalid = false;
    Message.clear();
    ElementCounts.fill(0);
    for (int i = 1; i <= ElementCount; ++i)
        ElementOrder[size_t(i)] = i;
    SortElementsBySymbol(ElementCount);

    QString text;
    for (QChar c : Formula) {
        if (c == QLatin1Char(' '))
            continue;
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) {
            Invalid = true;
            return;
        }
        text += c;
    }
    if (text.isEmpty()) {
        Formula.clear();
        return;
    }

    const qsizetype L = text.size();
    qsizetype p = 0;
    while (p < L) {
        int element = 0;
        if (p + 1 < L && IsAsciiLetter(text[p + 1]))
            element = FindElement(text.mid(p, 2));
        if (element != 0) {
            p += 2;
        } else {
            element = FindElement(text.mid(p, 1));
            if (element == 0) {
                Invalid = true;
                return;
            }
            p += 1;
        }
        qsizetype digits = 0;
        while (p + digits < L && IsAsciiDigit(text[p + digits]))
            ++digits;
        int number = 1;
        if (digits > 0) {
            if (digits > kMaxCountDigits) {
                Message = GetString(307) + " : " + QLatin1String(ElementTable[size_t(element)].Symbol);
                break;
            }
            number = text.mid(p, digits).toInt();
            p += digits;
        }
        if (ElementCounts[size_t(element)] + number > MaxElementCount) {
            Message = GetString(307) + " : " + QLatin1String(ElementTable[size_t(element)].Symbol);
            break;
        }
        ElementCounts[size_t(element)] += number;
    }

    constexpr int kCarbon = 6, kHydrogen = 1;
    QString normal, count;
    for (int e : { kCarbon, kHydrogen }) {
        if (ElementCounts[size_t(e)] > 0) {
            CountText(ElementCounts[size_t(e)], count);
            normal += QLatin1String(ElementTable[size_t(e)].Symbol) + count;
        }
    }
    for (int i = 1; i <= ElementCount; ++i) {
        const int e = ElementOrder[size_t(i)];
        if (e == kCarbon || e == kHydrogen || ElementCounts[size_t(e)] <= 0)
            continue;
        CountText(ElementCounts[size_t(e)], count);
        normal += QLatin1String(ElementTable[size_t(e)].Symbol) + count;
    }
    Formula = normal;
}

void AnalyseSumFormula(const QString& Formula, QString& Message, QString& Normalised)
{
    Normalised.clear();
    QString copy = Formula;
    bool invalid = false;
    ParseSumFormula(copy, invalid, Message);
    if (!invalid)
        Normalised = copy;
}

void TagFormulaSubscripts(const QString& Formula, QString& Text)
{
    Text.clear();
    qsizetype i = 0;
    while (i < Formula.size()) {
        const QChar c = Formula[i];
        if (IsAsciiDigit(c) && i > 0 && IsAsciiLetter(Formula[i - 1])) {
            qsizetype end = i;
            while (end < Formula.size() && IsAsciiDigit(Formula[end]))
                ++end;
            Text += QStringLiteral("[cf15]") + Formula.mid(i, end - i) + QStringLiteral("[cf1]");
            i = end;
        } else {
            Text += c;
            ++i;
        }
    }
}

} // namespace orvek
