#include "chart_fixtures.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "tests/support/test_env.h"

#include <QLocale>

#include <cmath>

namespace orvek {
namespace {

using test::IndividualsRecord;
using test::NumberTexts;
using test::SubgroupRecord;

// Eight readings of a check standard; expected values worked out by hand with the
// fixed constants 0.8865 and 3.268 and c4 = 1 - 1/(4k - 1).
const QStringList kReadings = NumberTexts({ 10.2, 10.5, 9.9, 10.1, 10.4, 9.8, 10.0, 10.3 });
constexpr double kMean = 10.15;
constexpr double kMRBar = 0.35714285714285715;
constexpr double kExperimentalSD = 0.24494897427831772;

struct Loaded {
    TChartData data;
    TVstupStandardnejNeistoty rec;
};

Loaded Load(const TVstupStandardnejNeistoty& rec, quint8 chartType = 0)
{
    Loaded l { TChartData(), rec };
    l.data.ChartType = chartType;
    l.data.ChartFactors = test::PublishedChartFactors();
    QString error;
    EXPECT_TRUE(LoadChartDataFromInput(l.data, l.rec, error)) << error.toStdString();
    return l;
}

bool ComputeIndividuals(Loaded& l, const QString& s = {}, const QString& cl = {})
{
    QString reason;
    return ComputeIndividualsChart(l.data, s, cl, l.rec, reason);
}

bool ComputeSubgroups(Loaded& l, const QString& s = {}, const QString& cl = {})
{
    QString reason;
    return ComputeSubgroupChart(l.data, s, cl, l.rec, reason);
}

TEST(IndividualsChart, EstimatesOfSByOption)
{
    struct Case {
        int option;
        double sd;
        double c4;
    } cases[] = {
        { 0, 0.8865 * kMRBar, 0 },
        { 1, kExperimentalSD / (1 - 1.0 / 31), 1 - 1.0 / 31 },
        { 2, kExperimentalSD, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        TVstupStandardnejNeistoty rec = IndividualsRecord(kReadings);
        rec.OSO_7 = c.option;
        Loaded l = Load(rec);
        ASSERT_TRUE(ComputeIndividuals(l));
        EXPECT_NUMBER_TEXT(l.rec.SO_7, c.sd);
        EXPECT_NUMBER_TEXT(l.rec.HSN, c.sd);
        EXPECT_NUMBER_TEXT(l.rec.RSO_7, 100 * c.sd / kMean);
        EXPECT_NUMBER_TEXT(l.rec.CLX_7, kMean);
        EXPECT_NUMBER_TEXT(l.rec.CLR_7, kMRBar);
        EXPECT_EQ(l.rec.PSV_7, "7");
        EXPECT_DOUBLE_EQ(l.data.ChartC4, c.c4);
        EXPECT_DOUBLE_EQ(l.data.ChartExperimentalSD, kExperimentalSD);
        EXPECT_DOUBLE_EQ(l.data.ChartCenterLine, kMean);
        EXPECT_DOUBLE_EQ(l.data.ChartUCL, kMean + 3 * c.sd);
        EXPECT_DOUBLE_EQ(l.data.ChartLCL, kMean - 3 * c.sd);
        EXPECT_DOUBLE_EQ(l.data.ChartPlus2Sigma, kMean + 2 * c.sd);
        EXPECT_DOUBLE_EQ(l.data.ChartMinus1Sigma, kMean - c.sd);
    }
}

TEST(IndividualsChart, MovingRangeChartHasUclOf3268TimesTheMeanAndLclZero)
{
    Loaded l = Load(IndividualsRecord(kReadings), 1);
    ASSERT_TRUE(ComputeIndividuals(l));
    EXPECT_DOUBLE_EQ(l.data.ChartCenterLine, kMRBar);
    EXPECT_DOUBLE_EQ(l.data.ChartUCL, 3.268 * kMRBar);
    EXPECT_EQ(l.data.ChartLCL, 0);
    const double sigma = (3.268 - 1) * kMRBar / 3;
    EXPECT_DOUBLE_EQ(l.data.ChartPlus2Sigma, kMRBar + 2 * sigma);
    EXPECT_DOUBLE_EQ(l.data.ChartMinus1Sigma, kMRBar - sigma);
    // The moving ranges are shown for every point; the first has none.
    EXPECT_EQ(l.data.ChartRangeSeries[1], 0);
    EXPECT_NEAR(l.data.ChartRangeSeries[2], 0.3, 1e-12);
}

TEST(IndividualsChart, RangeUsesOnlyTheMovingRangesInsideItAndIsClampedToTheData)
{
    TVstupStandardnejNeistoty rec = IndividualsRecord(kReadings);
    rec.UR_7 = 1;
    rec.R_OD_7 = 3;
    rec.R_DO_7 = 6;
    Loaded l = Load(rec);
    ASSERT_TRUE(ComputeIndividuals(l));
    EXPECT_DOUBLE_EQ(l.data.ChartMean, 10.05);
    EXPECT_NEAR(l.data.ChartMRBar, 1.1 / 3, 1e-12); // |0.2| + |0.3| + |0.6|, not the 0.6 from point 2
    EXPECT_EQ(l.rec.PSV_7, "3");
    EXPECT_EQ(l.data.ChartUsedCount, 4);

    l.rec.R_OD_7 = -5;
    l.rec.R_DO_7 = 9999;
    ASSERT_TRUE(ComputeIndividuals(l));
    EXPECT_EQ(l.data.ChartRangeFirst, 1);
    EXPECT_EQ(l.data.ChartRangeLast, 8);
    EXPECT_DOUBLE_EQ(l.data.ChartMean, kMean);
}

TEST(IndividualsChart, StandardUncertaintyByOutputOption)
{
    const double s = 0.8865 * kMRBar;
    struct Case {
        int option, meanCount;
        const char* quantityValue;
        double u;
    } cases[] = {
        { 0, 1, "", s },
        { 0, 4, "", s }, // N of the mean belongs to options 2 and 3 only
        { 2, 4, "", s / 2 },
        { 1, 1, "200", 200 * s / kMean },
        { 3, 4, "200,0", 100 * s / kMean },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option * 10 + c.meanCount);
        TVstupStandardnejNeistoty rec = IndividualsRecord(kReadings);
        rec.OV_7 = c.option;
        rec.NPP_7 = c.meanCount;
        Loaded l = Load(rec);
        l.data.SourceQuantityValue = c.quantityValue;
        ASSERT_TRUE(ComputeIndividuals(l));
        EXPECT_NUMBER_TEXT(l.rec.HSN, c.u);
        EXPECT_NUMBER_TEXT(l.rec.SO_7, s); // s of a single result
    }
}

TEST(IndividualsChart, RelativeUncertaintyWithoutValueOrWithZeroMeanGivesNoOldResult)
{
    TVstupStandardnejNeistoty rec = IndividualsRecord(NumberTexts({ -1, 1, -1, 1 }));
    rec.OV_7 = 1;
    rec.HSN = "0.5";
    Loaded l = Load(rec);
    l.data.SourceQuantityValue = "10";
    QString reason;
    EXPECT_FALSE(ComputeIndividualsChart(l.data, {}, {}, l.rec, reason));
    EXPECT_TRUE(l.rec.HSN.isEmpty());
    EXPECT_TRUE(l.rec.RSO_7.isEmpty());
    EXPECT_FALSE(l.rec.SO_7.isEmpty()); // the absolute s exists

    // A chart centred on 0 is computed as usual when u is absolute.
    l.rec.OV_7 = 0;
    EXPECT_TRUE(ComputeIndividuals(l));
    EXPECT_NUMBER_TEXT(l.rec.HSN, 0.8865 * 2);

    Loaded noValue = Load(IndividualsRecord(kReadings));
    noValue.rec.OV_7 = 3;
    noValue.rec.HSN = "0.5";
    EXPECT_FALSE(ComputeIndividuals(noValue));
    EXPECT_TRUE(noValue.rec.HSN.isEmpty());
}

TEST(IndividualsChart, GivenParameters)
{
    TVstupStandardnejNeistoty rec = IndividualsRecord(kReadings);
    rec.RPSS_7 = 1;
    rec.CLX_7 = "10";
    rec.SO_7 = "0.5";
    Loaded l = Load(rec);
    ASSERT_TRUE(ComputeIndividuals(l, "0,5", "10"));
    EXPECT_DOUBLE_EQ(l.data.ChartUCL, 11.5);
    EXPECT_DOUBLE_EQ(l.data.ChartMinus2Sigma, 9);
    EXPECT_NUMBER_TEXT(l.rec.HSN, 0.5);
    EXPECT_NUMBER_TEXT(l.rec.RSO_7, 5);
    EXPECT_EQ(l.rec.PSV_7, "7");

    // Missing parameters: nothing is computed and nothing written.
    l.rec.HSN = "keep";
    QString reason;
    EXPECT_FALSE(ComputeIndividualsChart(l.data, "", "10", l.rec, reason));
    EXPECT_EQ(l.rec.HSN, "keep");

    // Moving-range chart: the stored mean moving range, else 1.128 s.
    Loaded mr = Load(rec, 1);
    mr.rec.CLR_7 = "0.4";
    ASSERT_TRUE(ComputeIndividuals(mr, "0.5", "10"));
    EXPECT_DOUBLE_EQ(mr.data.ChartCenterLine, 0.4);
    EXPECT_DOUBLE_EQ(mr.data.ChartUCL, 3.268 * 0.4);
    EXPECT_EQ(mr.data.ChartLCL, 0);
    mr.rec.CLR_7.clear();
    ASSERT_TRUE(ComputeIndividuals(mr, "0.5", "10"));
    EXPECT_DOUBLE_EQ(mr.data.ChartCenterLine, 1.128 * 0.5);
    EXPECT_NUMBER_TEXT(mr.rec.CLR_7, 1.128 * 0.5);
}

TEST(IndividualsChart, FewerThanTwoPointsGiveNoResultAndClearTheOldOne)
{
    TVstupStandardnejNeistoty rec = IndividualsRecord(kReadings);
    rec.UR_7 = 1;
    rec.R_OD_7 = 8;
    rec.R_DO_7 = 20;
    rec.HSN = "0.3";
    rec.SO_7 = rec.RSO_7 = rec.PSV_7 = rec.CLX_7 = rec.CLR_7 = "1";
    Loaded l = Load(rec);
    QString reason;
    EXPECT_FALSE(ComputeIndividualsChart(l.data, {}, {}, l.rec, reason));
    for (const QString* field : { &l.rec.HSN, &l.rec.SO_7, &l.rec.RSO_7, &l.rec.PSV_7, &l.rec.CLX_7, &l.rec.CLR_7 })
        EXPECT_TRUE(field->isEmpty());
    EXPECT_EQ(l.data.ChartUsedCount, 0);

    // With given parameters the record keeps them; only the results go.
    Loaded given = Load(IndividualsRecord(NumberTexts({ 10.0 })));
    given.rec.RPSS_7 = 1;
    given.rec.SO_7 = "0.5";
    given.rec.CLX_7 = "10";
    given.rec.HSN = "0.5";
    EXPECT_FALSE(ComputeIndividuals(given, "0.5", "10"));
    EXPECT_TRUE(given.rec.HSN.isEmpty());
    EXPECT_EQ(given.rec.SO_7, "0.5");
    EXPECT_EQ(given.rec.CLX_7, "10");

    Loaded empty = Load(IndividualsRecord({}));
    EXPECT_EQ(empty.data.ChartPointCount, 0);
    EXPECT_FALSE(ComputeIndividuals(empty));
}

// Four subgroups of five readings; expected values worked out by hand with the
// published factors for n = 5.
const std::vector<QStringList> kSubgroups = {
    NumberTexts({ 5.02, 4.98, 5.01, 4.99, 5.03 }),
    NumberTexts({ 5.00, 5.04, 4.97, 5.02, 5.01 }),
    NumberTexts({ 4.99, 5.01, 5.03, 4.96, 5.00 }),
    NumberTexts({ 5.05, 5.00, 4.98, 5.02, 5.01 }),
};
constexpr double kGrandMean = 5.006;
constexpr double kRBar = 0.065;
constexpr double kSubgroupSD = kRBar / 2.326;
constexpr double kRelativeRangeBar = 1.2984433213328002;

TEST(SubgroupChart, XBarLimitsByOption)
{
    struct Case {
        int option;
        double distance;
    } cases[] = { { 0, 0.577 * kRBar }, { 1, 1.427 * kSubgroupSD }, { 2, 3 * kSubgroupSD } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        TVstupStandardnejNeistoty rec = SubgroupRecord(kSubgroups);
        rec.SV_UCL_LCL_8 = c.option;
        Loaded l = Load(rec);
        ASSERT_TRUE(ComputeSubgroups(l));
        EXPECT_NEAR(l.data.ChartMean, kGrandMean, 1e-12);
        EXPECT_NEAR(l.data.ChartMeanRange, kRBar, 1e-12);
        EXPECT_NEAR(l.data.ChartUCL, kGrandMean + c.distance, 1e-12);
        EXPECT_NEAR(l.data.ChartLCL, kGrandMean - c.distance, 1e-12);
        EXPECT_NEAR(l.data.ChartPlus2Sigma, kGrandMean + 2 * c.distance / 3, 1e-12);
        EXPECT_NEAR(l.data.ChartMinus1Sigma, kGrandMean - c.distance / 3, 1e-12);
        EXPECT_NUMBER_TEXT(l.rec.SO_8, kSubgroupSD);
        EXPECT_NUMBER_TEXT(l.rec.HSN, kSubgroupSD);
        EXPECT_NUMBER_TEXT(l.rec.RSO_8, 100 * kSubgroupSD / kGrandMean);
        EXPECT_NUMBER_TEXT(l.rec.CLX_8, kGrandMean);
        EXPECT_NUMBER_TEXT(l.rec.CLR_8, kRBar);
        EXPECT_EQ(l.rec.PSV_8, "16");
        EXPECT_EQ(l.data.ChartSubgroupSize, 5);
        EXPECT_EQ(l.data.ChartValueCount, 20);
    }
}

TEST(SubgroupChart, RangeChartAndSubgroupSeries)
{
    Loaded l = Load(SubgroupRecord(kSubgroups), 1);
    ASSERT_TRUE(ComputeSubgroups(l));
    EXPECT_NEAR(l.data.ChartCenterLine, kRBar, 1e-12);
    EXPECT_NEAR(l.data.ChartUCL, 2.114 * kRBar, 1e-12);
    EXPECT_EQ(l.data.ChartLCL, 0);
    EXPECT_EQ(l.data.ChartPlus1Sigma, 0);
    EXPECT_NUMBER_TEXT(l.rec.HSN, kSubgroupSD);
    EXPECT_NEAR(l.data.ChartXSeries[4], 5.012, 1e-12);
    EXPECT_NEAR(l.data.ChartRangeSeries[1], 0.05, 1e-12);
    EXPECT_NEAR(l.data.ChartSubgroupSD[1], 0.020736441353327535, 1e-12);
    EXPECT_NEAR(l.data.ChartRelativeRanges[1], 100 * 0.05 / 5.006, 1e-12);
}

TEST(SubgroupChart, RelativeOptionGivesSInPercentAndUFromTheQuantityValue)
{
    const double sRel = kRelativeRangeBar / 2.326;
    for (quint8 chartType : { quint8(0), quint8(1) }) {
        TVstupStandardnejNeistoty rec = SubgroupRecord(kSubgroups);
        rec.OV_8 = 1;
        rec.SV_UCL_LCL_8 = 2; // the limit distance needs s in the unit of the values
        Loaded l = Load(rec, chartType);
        l.data.SourceQuantityValue = "50";
        ASSERT_TRUE(ComputeSubgroups(l));
        EXPECT_NUMBER_TEXT(l.rec.SO_8, sRel);
        EXPECT_NUMBER_TEXT(l.rec.RSO_8, sRel);
        EXPECT_NUMBER_TEXT(l.rec.HSN, 50 * sRel / 100);
        if (chartType == 0) {
            EXPECT_NEAR(l.data.ChartUCL, kGrandMean + 3 * sRel * kGrandMean / 100, 1e-12);
        } else {
            EXPECT_NEAR(l.data.ChartCenterLine, kRelativeRangeBar, 1e-12);
            EXPECT_NEAR(l.data.ChartUCL, 2.114 * kRelativeRangeBar, 1e-12);
        }
    }
}

TEST(SubgroupChart, UnequalSizesUseTheFirstSubgroupsFactorsAndSumTheirDegreesOfFreedom)
{
    std::vector<QStringList> groups = kSubgroups;
    groups.resize(3);
    groups[2].removeLast(); // sizes 5, 5, 4
    Loaded l = Load(SubgroupRecord(groups));
    ASSERT_TRUE(ComputeSubgroups(l));
    EXPECT_EQ(l.rec.PSV_8, "11");
    EXPECT_EQ(l.data.ChartSubgroupSize, 5);
    EXPECT_NEAR(l.data.ChartMean, 5.004285714285714, 1e-12);
    EXPECT_NUMBER_TEXT(l.rec.SO_8, 0.06333333333333346 / 2.326);
    EXPECT_NEAR(l.data.ChartUCL, 5.040829047619047, 1e-12);
}

TEST(SubgroupChart, FactorsOfTheActualSizeUpToTwenty)
{
    QStringList big, big2;
    for (int i = 0; i < 20; ++i) {
        big << QString::number(10 + (i % 4) * 0.1);
        big2 << QString::number(10 + (i % 5) * 0.1);
    }
    Loaded l = Load(SubgroupRecord({ big, big2 }));
    ASSERT_TRUE(ComputeSubgroups(l));
    EXPECT_EQ(l.data.ChartSubgroupSize, 20);
    EXPECT_NUMBER_TEXT(l.rec.SO_8, (0.3 + 0.4) / 2 / 3.735);

    // A size whose factors the table lacks gives no result instead of a division by 0.
    l.data.ChartFactors[20] = {};
    l.rec.HSN = "1";
    EXPECT_FALSE(ComputeSubgroups(l));
    EXPECT_TRUE(l.rec.HSN.isEmpty());
}

TEST(SubgroupChart, ZeroSubgroupMeanBlocksOnlyARelativeResult)
{
    std::vector<QStringList> centred
        = { NumberTexts({ -0.1, 0.1 }), NumberTexts({ -0.2, 0.0, 0.2 }), NumberTexts({ 0.3, 0.1 }) };
    Loaded l = Load(SubgroupRecord(centred));
    ASSERT_TRUE(ComputeSubgroups(l));
    EXPECT_NEAR(test::NumberOf(l.rec.SO_8), (0.2 + 0.4 + 0.2) / 3 / 1.128, 1e-12);

    l.rec.OV_8 = 1;
    l.data.SourceQuantityValue = "1";
    EXPECT_FALSE(ComputeSubgroups(l));
    EXPECT_TRUE(l.rec.HSN.isEmpty());
    EXPECT_TRUE(l.rec.SO_8.isEmpty());
}

TEST(SubgroupChart, ZeroGrandMeanGivesNoRelativeResult)
{
    // Relative ranges of +66.7 % and -66.7 % cancel: a relative s of 0 would pass for
    // data that spread. Without a mean there is no relative s.
    AppDir = test::TestProgramFolder();
    LanguageID = 0;
    const std::vector<QStringList> centred = { NumberTexts({ 1, 2 }), NumberTexts({ -1, -2 }) };
    for (int option : { 1, 3 }) {
        SCOPED_TRACE(option);
        TVstupStandardnejNeistoty rec = SubgroupRecord(centred);
        rec.OV_8 = option;
        rec.HSN = "0.5";
        Loaded l = Load(rec);
        l.data.SourceQuantityValue = "10";
        QString reason;
        EXPECT_FALSE(ComputeSubgroupChart(l.data, {}, {}, l.rec, reason));
        EXPECT_EQ(reason, GetString(13011));
        EXPECT_TRUE(l.rec.HSN.isEmpty());
        EXPECT_TRUE(l.rec.RSO_8.isEmpty());
    }
    // The same data under an absolute s are a chart centred on 0.
    Loaded l = Load(SubgroupRecord(centred));
    ASSERT_TRUE(ComputeSubgroups(l));
    EXPECT_NUMBER_TEXT(l.rec.HSN, 1 / 1.128);
    EXPECT_TRUE(l.rec.RSO_8.isEmpty());
    LanguageID = EditionFlag;
}

TEST(SubgroupChart, GivenParametersComeFromTheRecord)
{
    TVstupStandardnejNeistoty rec = SubgroupRecord(kSubgroups);
    rec.RPSS_8 = 1;
    rec.CLX_8 = "5";
    rec.SO_8 = "0.02";
    rec.CLR_8 = "0.05";
    Loaded l = Load(rec);
    EXPECT_DOUBLE_EQ(l.data.ChartMean, 5);
    EXPECT_DOUBLE_EQ(l.data.ChartSD, 0.02);
    ASSERT_TRUE(ComputeSubgroups(l, l.rec.SO_8, l.rec.CLX_8));
    EXPECT_DOUBLE_EQ(l.data.ChartUCL, 5.06);
    EXPECT_DOUBLE_EQ(l.data.ChartPlus1Sigma, 5.02);
    EXPECT_NUMBER_TEXT(l.rec.HSN, 0.02);
    EXPECT_EQ(l.rec.PSV_8, "16");

    Loaded r = Load(rec, 1);
    ASSERT_TRUE(ComputeSubgroups(r, "0.02", "5"));
    EXPECT_DOUBLE_EQ(r.data.ChartCenterLine, 0.05);
    EXPECT_DOUBLE_EQ(r.data.ChartUCL, 2.114 * 0.05);
    r.rec.CLR_8.clear();
    ASSERT_TRUE(ComputeSubgroups(r, "0.02", "5"));
    EXPECT_DOUBLE_EQ(r.data.ChartCenterLine, 2.326 * 0.02);
}

TEST(ChartLoad, RefusesListsThatDoNotMatchOrHoldNoNumber)
{
    auto refused = [](TVstupStandardnejNeistoty rec) {
        TChartData data;
        QString error;
        const bool ok = LoadChartDataFromInput(data, rec, error);
        EXPECT_EQ(data.ChartPointCount, 0);
        return !ok;
    };
    TVstupStandardnejNeistoty rec = IndividualsRecord(kReadings);
    rec.PM_7 = 9;
    EXPECT_TRUE(refused(rec)) << "count above the list";
    rec = IndividualsRecord({ "1", "", "3" });
    EXPECT_TRUE(refused(rec)) << "empty value";
    rec = IndividualsRecord({ "1", "x", "3" });
    EXPECT_TRUE(refused(rec)) << "no number";
    rec = IndividualsRecord({ "1" });
    rec.PM_7 = 1001;
    EXPECT_TRUE(refused(rec)) << "too many points";

    for (const char* size : { "2.5", "21", "0", "-1", "a", "" }) {
        TVstupStandardnejNeistoty sub = SubgroupRecord({ { "1", "2" } });
        sub.PBM_8 = QString::fromLatin1(size) + "@";
        EXPECT_TRUE(refused(sub)) << size;
    }
    TVstupStandardnejNeistoty sub = SubgroupRecord({ { "1", "2" }, { "3", "4" } });
    sub.VM_8.Text = "1@2@3@";
    EXPECT_TRUE(refused(sub)) << "values fewer than the sizes";
    sub.PM_8 = 3;
    EXPECT_TRUE(refused(sub)) << "sizes fewer than the count";

    // Another method leaves the state alone.
    TChartData data;
    QString error;
    ASSERT_TRUE(LoadChartDataFromInput(data, IndividualsRecord(kReadings), error));
    TVstupStandardnejNeistoty other;
    other.TSN = 3;
    EXPECT_TRUE(LoadChartDataFromInput(data, other, error));
    EXPECT_EQ(data.ChartPointCount, 8);
}

TEST(ChartLoad, KeepsTheInputsAndReadsValuesTextsAndOperators)
{
    TChartData data;
    data.ChartType = 1;
    data.ChartNumberMask = "0.000";
    data.ChartFactors = test::PublishedChartFactors();
    TVstupStandardnejNeistoty rec = SubgroupRecord({ { "1,5", "2.5" }, { "3", "4", "5" } });
    rec.Meral_8 = "Ann@Bob@";
    QString error;
    ASSERT_TRUE(LoadChartDataFromInput(data, rec, error));
    EXPECT_EQ(data.ChartType, 1);
    EXPECT_EQ(data.ChartNumberMask, "0.000");
    EXPECT_EQ(data.ChartFactors[5][kA2], 0.577);
    EXPECT_EQ(data.ChartPointCount, 2);
    EXPECT_EQ(data.ChartSubgroupSizes[2], 3);
    EXPECT_EQ(data.ChartPointValues[1][0], 1.5);
    EXPECT_EQ(data.ChartPointValueTexts[1][0], "1,5");
    EXPECT_EQ(data.ChartPointValues[2][2], 5);
    EXPECT_EQ(data.ChartOperators[2], "Bob");

    data.ChartNumberMask = "0.0000";
    UpdateChartDecimals(data);
    EXPECT_EQ(data.ChartValueDecimals, 4);
    data.ChartNumberMask = "0";
    UpdateChartDecimals(data);
    EXPECT_EQ(data.ChartValueDecimals, 1);
}

TEST(ChartLoad, DatesInTheLocaleFormatOrDayMonthYearAcrossLocales)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TVstupStandardnejNeistoty rec = IndividualsRecord(NumberTexts({ 1, 2, 3 }));
    rec.FD_7.clear();
    rec.DM_7 = "3.11.2026@12/24/26@5.1.2027@"; // saved under two locales
    TChartData data;
    QString error;
    ASSERT_TRUE(LoadChartDataFromInput(data, rec, error));
    EXPECT_TRUE(data.ChartAllDated);
    EXPECT_TRUE(data.ChartDivideByDate);
    EXPECT_EQ(data.ChartDates[1], QDate(2026, 11, 3));
    EXPECT_EQ(data.ChartDates[2], QDate(2026, 12, 24));
    EXPECT_EQ(data.ChartDateTexts[2], "12/24/26");

    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    rec.DM_7 = "3. 11. 2026@31.2.2026@5.1.2027@";
    ASSERT_TRUE(LoadChartDataFromInput(data, rec, error));
    EXPECT_FALSE(data.ChartAllDated);
    EXPECT_EQ(data.ChartDates[1], QDate(2026, 11, 3));
    EXPECT_FALSE(data.ChartDates[2].isValid());
    EXPECT_EQ(data.ChartDates[3], QDate(2027, 1, 5));
    QLocale::setDefault(saved);
}

// The date options belong to the chart shown: loading another chart turns them off,
// a computation's reload of the chart shown keeps them, for both kinds of chart.
TEST(ChartLoad, AnotherChartStartsWithoutDateOptionsARecomputeKeepsThem)
{
    TVstupStandardnejNeistoty individuals = IndividualsRecord(NumberTexts({ 1, 2, 3 }));
    individuals.FD_7 = "d.M.yyyy";
    individuals.DM_7 = "1.3.2026@4.3.2026@5.3.2026@";
    TVstupStandardnejNeistoty subgroups = SubgroupRecord({ { "1", "2" }, { "3", "4" }, { "5", "6" } });
    subgroups.FD_8 = "d.M.yyyy";
    subgroups.DM_8 = "1.3.2026@4.3.2026@5.3.2026@";
    for (const TVstupStandardnejNeistoty* rec : { &individuals, &subgroups }) {
        TChartData data;
        data.ChartDateLabels = true;
        data.ChartDivideByDate = true;
        QString error;
        ASSERT_TRUE(LoadChartDataFromInput(data, *rec, error)) << error.toStdString();
        EXPECT_FALSE(data.ChartDateLabels) << rec->TSN << ": labels of the chart shown before";
        EXPECT_TRUE(data.ChartAllDated) << rec->TSN;

        data.ChartDateLabels = true;
        data.ChartDivideByDate = true;
        ASSERT_TRUE(ReloadChartDataFromInput(data, *rec, error)) << error.toStdString();
        EXPECT_TRUE(data.ChartDateLabels) << rec->TSN;
        EXPECT_TRUE(data.ChartDivideByDate) << rec->TSN << ": placing by date lost on a recompute";
        data.ChartDivideByDate = false;
        ASSERT_TRUE(ReloadChartDataFromInput(data, *rec, error));
        EXPECT_FALSE(data.ChartDivideByDate) << rec->TSN;
    }
}

} // namespace
} // namespace orvek
