#pragma once
// A comma as the own decimal separator and dates written d.M.yyyy with a point, for as
// long as the object lives; the defaults of the test main come back afterwards.

#include "core/dates.h"
#include "core/number_text.h"

namespace orvek::test {

class CommaDecimalsPointDates {
public:
    CommaDecimalsPointDates()
    {
        OwnDecimalSeparator = ',';
        ForeignDecimalSeparator = '.';
        DateSeparator = '.';
        ShortDateFormat = "d.M.yyyy";
    }
    ~CommaDecimalsPointDates()
    {
        OwnDecimalSeparator = '.';
        ForeignDecimalSeparator = ',';
        DateSeparator = QChar();
        ShortDateFormat.clear();
    }
    CommaDecimalsPointDates(const CommaDecimalsPointDates&) = delete;
    CommaDecimalsPointDates& operator=(const CommaDecimalsPointDates&) = delete;
};

} // namespace orvek::test
