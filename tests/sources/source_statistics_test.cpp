// The statistics of the reading methods as the source dialog computes them on OK and
// Recalculate: mean, standard deviation, u and degrees of freedom of series, known
// sigma, relative series, variances and weighted pairs.

#include "core/number_text.h"
#include "engine/cell_records.h"
#include "engine/source_uncertainty.h"
#include "sources/source_computation.h"
#include "sources/source_record.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace orvek {
namespace {

double Number(const QString& text)
{
    double v = 0;
    EXPECT_TRUE(TryStrToFloatNeutral(text, v)) << text.toStdString();
    return v;
}

// A record of Method with the readings of its grid (and uncertainties for pairs).
TVstupStandardnejNeistoty Series(int method, const QStringList& readings, const QStringList& u = {})
{
    TVstupStandardnejNeistoty rec;
    ClearUncertaintyInput(rec);
    rec.TSN = quint8(method);
    switch (method) {
    case 6:
        SourceReadingsList(readings, rec.VM_3.Text, rec.PM_3);
        break;
    case 7:
        SourceReadingsList(readings, rec.VM_4.Text, rec.PM_4);
        break;
    case 9:
        SourceReadingsList(readings, rec.VM_6.Text, rec.PM_6);
        break;
    case 13:
        SourceReadingsList(readings, rec.VM_9.Text, rec.PM_9);
        break;
    case 14:
        SourcePairsList(readings, u, rec.VM_10.Text, rec.PM_10);
        break;
    }
    return rec;
}

TVstupStandardnejNeistoty Computed(TVstupStandardnejNeistoty rec, const QString& ownerValue = {})
{
    ComputeSourceRecord(rec, ownerValue, false);
    return rec;
}

TEST(SourceStatistics, SeriesOfReadingsGiveMeanDeviationUncertaintyAndDegreesOfFreedom)
{
    struct Case {
        const char* what;
        TVstupStandardnejNeistoty rec;
        QString owner;
        std::function<void(const TVstupStandardnejNeistoty&)> expect;
    };
    TVstupStandardnejNeistoty known = Series(7, { "10", "12" });
    known.SOP.Text = " 0.5 ";
    TVstupStandardnejNeistoty relative = Series(9, { "99", "101" });
    relative.OV_6 = 1;
    TVstupStandardnejNeistoty zeroMeanRelative = Series(9, { "-1", "1" });
    zeroMeanRelative.OV_6 = 1;
    TVstupStandardnejNeistoty tail = Series(6, QStringList(500, QString()));
    {
        QStringList cells(500, QString());
        cells[0] = "1";
        cells[499] = "3";
        tail = Series(6, cells);
    }
    const Case cases[] = {
        { "M6 1, 2, 3", Series(6, { "1", "2", "3" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.AP_3, "2");
                EXPECT_EQ(r.SO_3, "1");
                EXPECT_EQ(r.PSV_3, "2");
                EXPECT_EQ(r.SOPr_3, FloatToGeneralText(1 / std::sqrt(3.0L)));
                EXPECT_EQ(r.HSN, r.SOPr_3);
                EXPECT_NEAR(Number(r.RSOPr_3), 100 / (2 * std::sqrt(3.0)), 1e-12);
            } },
        { "M6 5, 5", Series(6, { "5", "5.0" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.SO_3, "0");
                EXPECT_EQ(r.HSN, "0");
                EXPECT_EQ(r.RSOPr_3, "0");
            } },
        { "M6 -1, 1: no relative value of a zero mean", Series(6, { "-1", "1" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.AP_3, "0");
                EXPECT_EQ(r.RSOPr_3, "0");
                EXPECT_NEAR(Number(r.HSN), 1, 1e-15);
            } },
        { "M6 readings near 1e-9 keep their spread", Series(6, { "1.01E-9", "1.02E-9", "1.03E-9" }), {},
            [](const auto& r) { EXPECT_NEAR(Number(r.SO_3) / 1e-11, 1, 1e-9); } },
        { "M6 equal readings near 1e-9 written differently", Series(6, { "1E-9", "1.000000000000001E-9" }), {},
            [](const auto& r) { EXPECT_EQ(r.SO_3, "0"); } },
        { "M6 rows 1 and 500", tail, {},
            [](const auto& r) {
                EXPECT_EQ(r.PM_3, 2);
                EXPECT_EQ(r.AP_3, "2");
            } },
        { "M7 10, 12 with sigma 0.5", known, {},
            [](const auto& r) {
                EXPECT_EQ(r.AP_4, "11");
                EXPECT_EQ(r.SOP.Text, "0.5");
                EXPECT_EQ(r.PSV_4.Text, "1");
                EXPECT_EQ(r.SOPr_4, FloatToGeneralText(0.5L / std::sqrt(2.0L)));
                EXPECT_EQ(r.HSN, r.SOPr_4);
            } },
        { "M9 relative s of the value 200", relative, "200",
            [](const auto& r) { EXPECT_NEAR(Number(r.HSN), 200 * std::sqrt(2.0) / 100, 1e-12); } },
        { "M9 zero mean hands on s", Series(9, { "-1", "1" }), "200", [](const auto& r) { EXPECT_EQ(r.HSN, r.SO_6); } },
        { "M9 zero mean has no relative u", zeroMeanRelative, "200",
            [](const auto& r) { EXPECT_TRUE(r.HSN.isEmpty()); } },
        { "M13 variances 4, 4", Series(13, { "4", "4" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.AP_9, "4");
                EXPECT_EQ(r.SO_9, "2");
                EXPECT_EQ(r.RSO_9, "50");
                EXPECT_EQ(r.PSV_9.Text, "1");
                EXPECT_EQ(r.HSN, "2");
            } },
        { "M13 a single variance", Series(13, { "4" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.PSV_9.Text, "50");
                EXPECT_EQ(r.HSN, "2");
            } },
        { "M14 10+-1 and 12+-1", Series(14, { "10", "12" }, { "1", "1" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.AP_10, "11");
                EXPECT_NEAR(Number(r.SO_10), 1, 1e-12);
                EXPECT_EQ(r.PSV_10, "1");
                EXPECT_EQ(r.HSN, r.SO_10);
            } },
        { "M14 10+-1 twice", Series(14, { "10", "10" }, { "1", "1" }), {},
            [](const auto& r) {
                EXPECT_EQ(r.AP_10, "10");
                EXPECT_NEAR(Number(r.SO_10), 1 / std::sqrt(2.0), 1e-12);
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TVstupStandardnejNeistoty r = Computed(c.rec, c.owner);
        c.expect(r);
    }
}

TEST(SourceStatistics, ZeroCutOffIsOffUnlessAsked)
{
    long double mean = 0, s = 0;
    const QString equalish = "1E-9@1.000000000000001E-9@";
    ASSERT_TRUE(SeriesStatistics(equalish, 2, mean, s, true));
    EXPECT_EQ(s, 0);
    ASSERT_TRUE(SeriesStatistics(equalish, 2, mean, s));
    EXPECT_GT(s, 0);
    // Readings that differ by less than 1e-10 in absolute terms keep their spread.
    ASSERT_TRUE(SeriesStatistics("1E-12@3E-12@", 2, mean, s, true));
    EXPECT_NEAR(double(s / std::sqrt(2.0L)), 1e-12, 1e-24);
    ASSERT_TRUE(SeriesStatistics("1@2@3@", 3, mean, s));
    EXPECT_EQ(s, 1);
}

} // namespace
} // namespace orvek
