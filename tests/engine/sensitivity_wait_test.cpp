#include "core/common_vars.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "tests/support/test_env.h"
#include "tests/support/window_service_doubles.h"

#include <gtest/gtest.h>
#include <memory>

using namespace orvek;

namespace {

// y = x1 + ... + xN, each input with a given standard uncertainty.
std::unique_ptr<TCell> SumOf(int n)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    QStringList terms;
    for (int i = 1; i <= n; ++i)
        terms << QString("x%1").arg(i);
    info.Equation = "y = " + terms.join(" + ");
    info.NormalizedEquation = "y=" + terms.join("+");
    info.Coverage = 1;
    auto root = std::make_unique<TCell>(nullptr, info, 0, 0, nullptr);
    for (const QString& symbol : terms) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = "2";
        TCell* quantity = root->AddChild(q);
        TPrenosInfoDoNovejBunky s;
        s.CellType = kUncertaintyCell;
        s.CellName = "source";
        s.Active = 1;
        s.UncertaintyInput.TSN = 3;
        s.UncertaintyInput.SO_2_3.Text = "0.1";
        s.UncertaintyInput.PSV_2_3.Text = "Nekonecno";
        s.UncertaintyInput.HSN = "0.1";
        quantity->AddChild(s);
    }
    return root;
}

TEST(SensitivityPass, ShowsTheWaitWindowFromSixteenQuantities)
{
    AppDir = test::TestProgramFolder();
    LanguageID = 0;
    SensitivityPassEnabled = true;
    for (int n : { 15, 16 }) {
        SCOPED_TRACE(n);
        test::WaitWindowDouble wait;
        auto root = SumOf(n);
        root->Calculate();
        root->ComputeSensitivityByDifference();
        EXPECT_FALSE(root->Child(0)->FNumSensitivity.isEmpty());
        EXPECT_FALSE(wait.Visible);
        EXPECT_FALSE(WaitProgressActive);
        if (n == 15) {
            EXPECT_TRUE(wait.Messages.isEmpty());
            EXPECT_EQ(wait.ProgressCalls, 0);
            continue;
        }
        EXPECT_EQ(wait.Messages, QStringList({ GetString(21711) }));
        EXPECT_EQ(wait.ProgressCalls, 2 * n);
        EXPECT_EQ(wait.LastPosition, 2 * n);
        EXPECT_EQ(wait.LastTotal, 2 * n);
        EXPECT_EQ(wait.Hides, 1);
    }
    LanguageID = EditionFlag;
}

} // namespace
