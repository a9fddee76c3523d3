// The two checks of the source dialog's page, run on a snapshot of the page without a
// window: which messages come, in which order, with which arguments and where each
// puts the focus.

#include "sources/source_checks.h"

#include <QCoreApplication>
#include <functional>
#include <gtest/gtest.h>

namespace orvek {
namespace {

struct Expected {
    int text;
    QStringList args;
    TCheckFocus focus;
    int row = 0, col = 0;
};

struct Case {
    const char* what;
    bool required; // which check: the required inputs, or the values
    std::function<void(TSourcePageSnapshot&)> page;
    std::vector<Expected> messages; // none: the page passes
};

TSourcePageSnapshot Page(int method)
{
    TSourcePageSnapshot s;
    s.Method = method;
    s.MainLabel = "Main";
    s.DofLabel = "Dof";
    s.ShapeLabel = "Shape";
    s.ShapeRangeLabel = "Shape";
    s.HalfWidthLabel = "Half";
    s.SigmaLabel = "Sigma";
    s.ColumnHeader = "Measured value";
    s.Column2Header = "Standard uncertainty";
    s.MethodText = "Own measurement";
    return s;
}

// Point rows of a chart page: date, operator and one value.
QVector<QStringList> Points(const QStringList& values)
{
    QVector<QStringList> rows;
    for (const QString& v : values)
        rows << QStringList { QString(), QString(), v };
    return rows;
}

constexpr auto Main = TCheckFocus::MainInput;
constexpr auto Grid = TCheckFocus::Grid;

TEST(SourceChecks, PageByInputGivesItsMessagesInOrderWithTheirFocus)
{
    const Case cases[] = {
        // The required inputs.
        { "estimate empty", true, [](auto& s) { s.MainInput = "  "; }, { { 267, { "Main" }, Main } } },
        { "half-width given", true,
            [](auto& s) {
                s.Method = 1;
                s.MainInput = " 0.3 ";
            },
            {} },
        { "t: dof required only when given", true,
            [](auto& s) {
                s.Method = 3;
                s.MainInput = "1";
                s.DofOption = 0;
            },
            { { 267, { "Dof" }, TCheckFocus::DegreesOfFreedom } } },
        { "t: fixed dof", true,
            [](auto& s) {
                s.Method = 3;
                s.MainInput = "1";
                s.DofOption = 1;
            },
            {} },
        { "trapezoid: both missing are both reported", true, [](auto& s) { s.Method = 10; },
            { { 267, { "Shape" }, TCheckFocus::ShapeFactor }, { 267, { "Half" }, TCheckFocus::HalfWidth } } },
        { "given s without dof", true,
            [](auto& s) {
                s.Method = 8;
                s.MainInput = "0.2";
            },
            { { 267, { "Dof" }, TCheckFocus::DegreesOfFreedom } } },
        { "series: only texts that are no numbers", true,
            [](auto& s) {
                s.Method = 6;
                s.Column1 = { "x", "", "y" };
            },
            { { 317, {}, Grid, 1, 1 } } },
        { "known sigma: readings but no sigma", true,
            [](auto& s) {
                s.Method = 7;
                s.Column1 = { "1", "2" };
                s.Sigma = " ";
            },
            { { 267, { "Sigma" }, TCheckFocus::Sigma } } },
        { "known sigma: no readings", true,
            [](auto& s) {
                s.Method = 7;
                s.Sigma = "1";
            },
            { { 317, {}, Grid, 1, 1 } } },
        { "pairs: one value", true,
            [](auto& s) {
                s.Method = 14;
                s.Column1 = { "", "5" };
            },
            {} },
        { "chart without points", true, [](auto& s) { s.Method = 11; }, { { 317, {}, TCheckFocus::None } } },
        { "chart with two points", true,
            [](auto& s) {
                s.Method = 12;
                s.ChartPoints = 2;
            },
            { { 1000, { "2" }, TCheckFocus::None } } },
        { "chart with three points", true,
            [](auto& s) {
                s.Method = 11;
                s.ChartPoints = 3;
            },
            {} },

        // The values.
        { "estimate no number", false, [](auto& s) { s.MainInput = "1.2.3"; }, { { 179, { "1.2.3" }, Main } } },
        // Numbers as people type them, an exponent included, on every page that takes one.
        { "estimate with an exponent", false, [](auto& s) { s.MainInput = "2e-6"; }, {} },
        { "half-width with an exponent", false,
            [](auto& s) {
                s.Method = 1;
                s.MainInput = "2E-6";
            },
            {} },
        { "expanded uncertainty with an exponent", false,
            [](auto& s) {
                s.Method = 4;
                s.MainInput = " 1,15e-5 ";
            },
            {} },
        { "given s with an exponent", false,
            [](auto& s) {
                s.Method = 8;
                s.MainInput = "1E5";
            },
            {} },
        { "a lone E is no number", false,
            [](auto& s) {
                s.Method = 1;
                s.MainInput = "1E";
            },
            { { 179, { "1E" }, Main } } },
        { "estimate condition", false,
            [](auto& s) { s.MainInput = "CONDITION(if x<[1] then u=[0.1] else if x>=[1] then u=[0.2])"; }, {} },
        { "condition on a limit page", false,
            [](auto& s) {
                s.Method = 1;
                s.MainInput = "CONDITION(if x<[1] then u=[0.1])";
            },
            { { 179, { "CONDITION(if x<[1] then u=[0.1])" }, Main } } },
        { "zero percent", false,
            [](auto& s) {
                s.Method = 1;
                s.MainInput = "0 %";
            },
            { { 326, {}, Main } } },
        { "percent", false,
            [](auto& s) {
                s.Method = 2;
                s.MainInput = "0,5 %";
            },
            {} },
        { "another quantity named", false,
            [](auto& s) {
                s.Method = 1;
                s.MainInput = "L*2";
            },
            { { 941, { "L*2", "\r\r" }, Main } } },
        { "formula of the value", false,
            [](auto& s) {
                s.Method = 4;
                s.MainInput = "VAR*0.01";
            },
            {} },
        { "formula that does not parse", false,
            [](auto& s) {
                s.Method = 5;
                s.MainInput = "=2*(3";
            },
            { { 179, { "=2*(3" }, Main } } },
        { "RANGE text", false,
            [](auto& s) {
                s.Method = 8;
                s.MainInput = "RANGE(x)";
            },
            { { 179, { "RANGE(x)" }, Main } } },
        { "trapezoid: shape out of range", false,
            [](auto& s) {
                s.Method = 10;
                s.ShapeFactor = "1.2";
                s.HalfWidth = "2";
            },
            { { 946, { "Shape" }, TCheckFocus::ShapeFactor } } },
        { "trapezoid: neither a number", false,
            [](auto& s) {
                s.Method = 10;
                s.ShapeFactor = "b";
                s.HalfWidth = "a";
            },
            { { 179, { "b" }, TCheckFocus::ShapeFactor }, { 179, { "a" }, TCheckFocus::HalfWidth } } },
        { "series: every bad reading in turn", false,
            [](auto& s) {
                s.Method = 6;
                s.Column1 = { "1", "x", "2", " y " };
            },
            { { 179, { "x" }, Grid, 2, 1 }, { 179, { "y" }, Grid, 4, 1 } } },
        { "series: a single reading", false,
            [](auto& s) {
                s.Method = 9;
                s.Column1 = { "", "5" };
            },
            { { 950, { "Measured value", "Own measurement" }, Grid, 2, 1 } } },
        { "series: readings in rows 1 and 500", false,
            [](auto& s) {
                s.Method = 6;
                s.Column1 = QStringList(500, QString());
                s.Column1[0] = "1";
                s.Column1[499] = "2";
            },
            {} },
        { "known sigma no number stops at once", false,
            [](auto& s) {
                s.Method = 7;
                s.Sigma = "s";
                s.Column1 = { "x" };
            },
            { { 179, { "s" }, TCheckFocus::Sigma } } },
        { "known sigma: infinite dof as typed", false,
            [](auto& s) {
                s.Method = 7;
                s.Sigma = "1";
                s.Column1 = { "1", "2" };
                s.DegreesOfFreedom = "inf";
            },
            {} },
        { "known sigma: dof must be whole", false,
            [](auto& s) {
                s.Method = 7;
                s.Sigma = "1";
                s.Column1 = { "1", "2" };
                s.DegreesOfFreedom = "n";
            },
            { { 179, { "n" }, TCheckFocus::DegreesOfFreedom } } },
        { "variances: the first bad one only", false,
            [](auto& s) {
                s.Method = 13;
                s.Column1 = { "4", "a", "b" };
            },
            { { 179, { "a" }, Grid, 2, 1 } } },
        { "variances: a negative one", false,
            [](auto& s) {
                s.Method = 13;
                s.Column1 = { "4", "-1" };
            },
            { { 179, { "-1" }, Grid, 2, 1 } } },
        { "variances: one is enough", false,
            [](auto& s) {
                s.Method = 13;
                s.Column1 = { "4" };
            },
            {} },
        { "pairs: a value without its uncertainty", false,
            [](auto& s) {
                s.Method = 14;
                s.Column1 = { "10", "12" };
                s.Column2 = { "1", "" };
            },
            { { 267, { "Standard uncertainty" }, Grid, 2, 2 } } },
        { "pairs: an uncertainty that is no number", false,
            [](auto& s) {
                s.Method = 14;
                s.Column1 = { "10", "12" };
                s.Column2 = { "u", "1" };
            },
            { { 179, { "u" }, Grid, 1, 2 } } },
        { "pairs: a single pair", false,
            [](auto& s) {
                s.Method = 14;
                s.Column1 = { "10" };
                s.Column2 = { "1" };
            },
            { { 950, { "Measured value", "Own measurement" }, Grid, 2, 1 } } },
        { "points: a value that is no number", false,
            [](auto& s) {
                s.Method = 11;
                s.PointRows = Points({ "1", "a", "3" });
            },
            { { 179, { "a" }, TCheckFocus::PointGrid, 2, 3 } } },
        { "points: a single value", false,
            [](auto& s) {
                s.Method = 11;
                s.PointRows = Points({ "", "7" });
            },
            { { 950, { " ", "Own measurement" }, TCheckFocus::PointGrid, 2, 3 } } },
    };
    for (const Case& c : cases) {
        TSourcePageSnapshot s = Page(0);
        c.page(s);
        quint8 kind = 0;
        const TCheckResult r = c.required ? CheckRequiredInputs(s) : CheckInputValues(s, kind);
        EXPECT_EQ(r.Passed, c.messages.empty()) << c.what;
        ASSERT_EQ(r.Messages.size(), qsizetype(c.messages.size())) << c.what;
        for (size_t i = 0; i < c.messages.size(); ++i) {
            const TCheckMessage& m = r.Messages[qsizetype(i)];
            const Expected& e = c.messages[i];
            EXPECT_EQ(m.Text, e.text) << c.what;
            EXPECT_EQ(m.Args, e.args) << c.what;
            EXPECT_EQ(m.Focus, e.focus) << c.what;
            EXPECT_EQ(m.Row, e.row) << c.what;
            EXPECT_EQ(m.Col, e.col) << c.what;
        }
    }
}

TEST(SourceChecks, RequiredCheckTrimsTheEditsItTests)
{
    TSourcePageSnapshot s = Page(4);
    s.MainInput = " 0.4 ";
    s.DegreesOfFreedom = " 7\t";
    s.DofOption = 0;
    EXPECT_TRUE(CheckRequiredInputs(s).Passed);
    EXPECT_EQ(s.MainInput, "0.4");
    EXPECT_EQ(s.DegreesOfFreedom, "7");
}

// Rows without a value are closed up whole: every value keeps the date and operator of
// its own row, and a row whose value was deleted takes its date and operator with it.
TEST(SourceChecks, PointRowsWithoutValuesAreClosedUpWhole)
{
    using Rows = QVector<QStringList>;
    const struct {
        const char* what;
        Rows before, after;
    } cases[] = {
        { "values in the rows 1, 2 and 5, row 5 dated",
            { { "", "", "1" }, { "", "", "2" }, { "", "", "" }, { "", "", "" }, { "1.2.2026", "EN", " 5 " } },
            { { "", "", "1" }, { "", "", "2" }, { "1.2.2026", "EN", "5" }, { "", "", "" }, { "", "", "" } } },
        { "a deleted value's date and operator go with it",
            { { "1.2.2026", "EN", "1" }, { "2.2.2026", "EN", "2" }, { "3.2.2026", "JK", "" }, { "", "", "4" } },
            { { "1.2.2026", "EN", "1" }, { "2.2.2026", "EN", "2" }, { "", "", "4" }, { "", "", "" } } },
        { "a gap between dated rows",
            { { "1.2.2026", "EN", "1" }, { "", "", "" }, { "3.2.2026", "JK", "3" }, { "4.2.2026", "", "4" } },
            { { "1.2.2026", "EN", "1" }, { "3.2.2026", "JK", "3" }, { "4.2.2026", "", "4" }, { "", "", "" } } },
        { "subgroup rows move with all their values",
            { { "1.2.2026", "EN", "1", "2" }, { "2.2.2026", "JK", "", "" }, { "3.2.2026", "", "5", "6" } },
            { { "1.2.2026", "EN", "1", "2" }, { "3.2.2026", "", "5", "6" }, { "", "", "", "" } } },
    };
    for (const auto& c : cases) {
        TSourcePageSnapshot s = Page(11);
        s.PointRows = c.before;
        quint8 kind = 0;
        EXPECT_TRUE(CheckInputValues(s, kind).Passed) << c.what;
        EXPECT_EQ(s.PointRows, c.after) << c.what;
    }
}

TEST(SourceChecks, APointThatIsNoNumberIsNamedWhereItStandsAndNothingMoves)
{
    TSourcePageSnapshot s = Page(11);
    s.PointRows = Points({ "1", "", "x" });
    const QVector<QStringList> before = s.PointRows;
    quint8 kind = 0;
    const TCheckResult r = CheckInputValues(s, kind);
    ASSERT_EQ(r.Messages.size(), 1);
    EXPECT_EQ(r.Messages[0].Text, 179);
    EXPECT_EQ(r.Messages[0].Row, 3);
    EXPECT_EQ(r.Messages[0].Col, 3);
    EXPECT_EQ(s.PointRows, before);
}

TEST(SourceChecks, TypedDegreesOfFreedomAreANumberOfAtLeastOne)
{
    const std::pair<const char*, int> cases[] = {
        { "", 0 },
        { "Nekonecno", 0 },
        { "2.5", 0 },
        { "1", 0 },
        { " 12 ", 0 },
        { "0", 319 },
        { "-3", 319 },
        { "0,5", 319 },
        { "abc", 179 },
        { "inf", 0 },
        { "\u221E", 0 },
        { "Infinity", 0 },
        { "nekone\u010Dno", 0 },
    };
    for (auto [text, message] : cases) {
        TCheckMessage refusal;
        EXPECT_EQ(CheckTypedDegreesOfFreedom(text, refusal), message == 0) << text;
        if (message != 0) {
            EXPECT_EQ(refusal.Text, message) << text;
            EXPECT_EQ(refusal.Focus, TCheckFocus::DegreesOfFreedom);
        }
    }
}

TEST(SourceChecks, CountsValidReadingsOnly)
{
    EXPECT_EQ(CountValidReadings({ "1,5", "", " 2.5 ", "x", "1e3" }), 3);
    EXPECT_EQ(CountValidReadings({ "x", "y" }), 0);
}

} // namespace
} // namespace orvek
