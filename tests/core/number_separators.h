#pragma once
// Runs number-text suites under both own decimal separators: case tables write "."
// for the own separator and "," for the foreign one, and L() turns them into the
// texts of the separator under test.

#include "core/number_text.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace orvek::test {

class SeparatorTest : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override
    {
        OwnDecimalSeparator = QChar(GetParam());
        ForeignDecimalSeparator = QChar(GetParam() == '.' ? ',' : '.');
    }
    void TearDown() override
    {
        OwnDecimalSeparator = QChar('.');
        ForeignDecimalSeparator = QChar(',');
    }

    static QString L(const char* text)
    {
        QString s = QString::fromUtf8(text);
        for (QChar& c : s) {
            if (c == QChar('.'))
                c = OwnDecimalSeparator;
            else if (c == QChar(','))
                c = ForeignDecimalSeparator;
        }
        return s;
    }
};

inline std::string SeparatorName(const ::testing::TestParamInfo<char>& info)
{
    return info.param == '.' ? "Point" : "Comma";
}

} // namespace orvek::test
