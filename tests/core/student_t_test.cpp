#include "core/number_text.h"
#include "core/student_t.h"
#include "tests/core/number_separators.h"

#include <gtest/gtest.h>

using namespace orvek;

namespace {

class StudentT : public test::SeparatorTest { };
INSTANTIATE_TEST_SUITE_P(Separators, StudentT, ::testing::Values('.', ','), test::SeparatorName);

// The coverage factors as printed for users, row by row.
const char* const kPrintedTable[28][4] = {
    { "1", "6.31", "12.71", "63.66" },
    { "2", "2.92", "4.3", "9.92" },
    { "3", "2.35", "3.18", "5.84" },
    { "4", "2.13", "2.78", "4.6" },
    { "5", "2.02", "2.57", "4.03" },
    { "6", "1.94", "2.45", "3.71" },
    { "7", "1.89", "2.36", "3.5" },
    { "8", "1.86", "2.31", "3.36" },
    { "9", "1.83", "2.26", "3.25" },
    { "10", "1.81", "2.23", "3.17" },
    { "11", "1.8", "2.2", "3.11" },
    { "12", "1.78", "2.18", "3.05" },
    { "13", "1.77", "2.16", "3.01" },
    { "14", "1.76", "2.14", "2.98" },
    { "15", "1.75", "2.13", "2.95" },
    { "16", "1.75", "2.12", "2.92" },
    { "17", "1.74", "2.11", "2.9" },
    { "18", "1.73", "2.1", "2.88" },
    { "19", "1.73", "2.09", "2.86" },
    { "20", "1.72", "2.09", "2.85" },
    { "25", "1.71", "2.06", "2.79" },
    { "30", "1.7", "2.04", "2.75" },
    { "35", "1.7", "2.03", "2.72" },
    { "40", "1.68", "2.02", "2.7" },
    { "45", "1.68", "2.01", "2.69" },
    { "50", "1.68", "2.01", "2.68" },
    { "100", "1.66", "1.984", "2.626" },
    { "101", "1.645", "1.96", "2.576" },
};

TEST_P(StudentT, EveryRowGivesItsPrintedFactors)
{
    for (const auto& row : kPrintedTable)
        for (quint8 level = 0; level < 3; ++level)
            EXPECT_EQ(StudentTFactorText(row[0], level), L(row[level + 1])) << row[0] << " level " << int(level);
}

TEST_P(StudentT, InterpolationAndSpecialTexts)
{
    const struct {
        const char* dof;
        int level;
        const char* factor;
    } cases[] = {
        { "14", 2, "2.98" },
        { "21", 1, "2.084" },
        { "22", 1, "2.078" },
        { "99", 2, "2.62708" },
        { "60", 0, "1.676" },
        { "100", 1, "1.984" },
        { "101", 1, "1.96" },
        { "150", 1, "1.96" },
        { "1E6", 1, "1.96" },
        { "Nekonecno", 1, "1.96" },
        { " Nekonecno ", 2, "2.576" },
        { "12.7", 1, "2.18" },
        { "12,7", 1, "2.18" },
        { " 20 ", 0, "1.72" },
        // no factor
        { "0", 1, "" },
        { "-3", 1, "" },
        { "abc", 1, "" },
        { "", 1, "" },
        { "5", 3, "" },
        { "1E5", 1, "" },
        { "Nekonecno", 3, "" },
        { "99999999999", 1, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StudentTFactorText(c.dof, quint8(c.level)), L(c.factor)) << c.dof << " level " << c.level;
}

} // namespace
