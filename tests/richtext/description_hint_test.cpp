#include "core/common_vars.h"
#include "core/string_table.h"
#include "report_fixtures.h"
#include "richtext/cell_hint.h"

#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

TEST(CellHint, TextByKind)
{
    ResetReportSettings();
    auto y = NewRoot(kEquationCell, "y");
    y->FNormalizedEquation = "y=a+b";
    y->FValue.Text = "1.23456";
    y->FCombinedUncertainty = "0.0123";
    EXPECT_EQ(CellHintText(*y), "*** " + GetString(236) + " ***\ry=a+b\ry = 1.235\r" + GetString(238) + " = 0.012");
    y->FErrorText = "division by zero";
    EXPECT_TRUE(CellHintText(*y).endsWith("\rdivision by zero"));

    auto* a = AddCell(*y, kQuantityCell, "a");
    a->FValue.Text = "2.5";
    EXPECT_EQ(CellHintText(*a), "*** " + GetString(237) + " a ***\ra = 2.5\r" + GetString(238) + " = ");
    auto* s = AddCell(*a, kUncertaintyCell, "s");
    s->FCombinedUncertainty = "0.123456";
    EXPECT_EQ(CellHintText(*s), "*** " + GetString(238) + " ***\r" + GetString(239) + " = 0.12");

    // Installed as the service, the boxes take it.
    CellHintProvider provider;
    SetCellHintService(&provider);
    s->UpdateHint();
    SetCellHintService(nullptr);
    EXPECT_EQ(s->FBox.Hint, CellHintText(*s));
    LanguageID = EditionFlag;
}
