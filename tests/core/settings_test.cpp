#include "core/common_vars.h"
#include "core/settings.h"
#include "platform/registry.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// Every value SaveSettings writes.
const char* const kSavedNames[] = { "PathForTrees", "DefaultDirToSave", "LastAdminBackupPath", "ZoomCoefficient",
    "CellHeight", "CellWidth", "HorizontalBondWidth", "BeginHorizontalBond", "VertDistanceBetweenCells",
    "HorizPlusMinus", "VertPlusMinus", "PlusMinusWidth", "PlusMinusHeight", "CellColorFilledVal",
    "CellColorUnFilledVal", "CellColorChecked", "DefaultFontSize", "CellFontSize", "CellColorFilledNeistota",
    "CellColorUnFilledNeistota", "CellColorNeaktivnaNeistota", "PovolenaZmenaFarbyOznacenejBunky", "BackgroundColor",
    "LanguageID", "CommentsPasteToTempates", "ZeroToCalculations", "PocetPlatnychCislic", "ExponencialnyTvarPod",
    "ExponencialnyTvarNad", "MoreGroupsOfFolders", "RelativeWindowSize_OrvekDB", "RelativeWindowSize_Orvek1",
    "Orvek1TableInfo", "OrvekDBTableInfo", "PreviewPrinter_FooterMargin", "CellFontName", "PocetStartov",
    "LastLoggedInUserID", "AutoObnovaPrihlasenychUsers" };

const QString kSetup = "\\Software\\Kestrava\\Orvek\\Setup";

// A complete key as a first start leaves it, then the given changes.
void StoreKey(const std::function<void(TRegistry&)>& change)
{
    test::ClearSettingsStore();
    CommonInit();
    CommonDone();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSetup, false));
    change(reg);
}

class SettingsTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (CommonInitCount != 0)
            CommonDone();
    }
};

} // namespace

TEST_F(SettingsTest, FirstStartWritesEveryValueWithItsDefault)
{
    test::ClearSettingsStore();
    CommonInit();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSetup, false));
    for (const char* name : kSavedNames)
        EXPECT_TRUE(reg.ValueExists(name)) << name;
    EXPECT_EQ(reg.ReadInteger("CellHeight"), 18);
    EXPECT_EQ(reg.ReadInteger("CellWidth"), 250);
    EXPECT_EQ(reg.ReadInteger("BeginHorizontalBond"), 83);
    EXPECT_EQ(reg.ReadInteger("VertDistanceBetweenCells"), 3);
    EXPECT_EQ(reg.ReadInteger("CellColorUnFilledVal"), 0x41BCFE);
    EXPECT_EQ(reg.ReadFloat("ZoomCoefficient"), 1.0);
    EXPECT_EQ(reg.ReadInteger("PreviewPrinter_FooterMargin"), 50);
    EXPECT_EQ(reg.ReadString("PathForTrees"), AppDir + "Examples");
    // The layouts reach the store with the tag and still empty; the default columns
    // are put in place in memory and stored by the next save.
    auto layout = TTableInfo::FromBytes(*reg.ReadBinary("Orvek1TableInfo", 52));
    EXPECT_TRUE(layout.HasCurrentTag());
    EXPECT_EQ(layout.order, (std::array<qint32, 5> { 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Orvek1TableInfo.order, (std::array<qint32, 5> { 6, 3, 5, 4, 7 }));
    EXPECT_EQ(Orvek1TableInfo.width, (std::array<qint32, 5> { 69, 45, 58, 70, 50 }));
    EXPECT_EQ(OrvekDBTableInfo.order[0], 3);
    EXPECT_EQ(OrvekDBTableInfo.width[3], 81);
}

TEST_F(SettingsTest, CorrectionRulesWhenRead)
{
    struct Case {
        const char* name;
        int stored;
        std::function<double()> read;
        double expected;
    } cases[] = {
        { "CellHeight", 0, [] { return CellHeight; }, 18 },
        { "CellWidth", 0, [] { return CellWidth; }, 90 },
        { "HorizontalBondWidth", 0, [] { return HorizontalBondWidth; }, 18 },
        { "BeginHorizontalBond", 0, [] { return BeginHorizontalBond; }, 83 },
        { "VertDistanceBetweenCells", 0, [] { return VertDistanceBetweenCells; }, 4 },
        { "PreviewPrinter_FooterMargin", 5, [] { return PreviewFooterMargin; }, 0.5 },
        { "PreviewPrinter_FooterMargin", 250, [] { return PreviewFooterMargin; }, 0.5 },
        { "PreviewPrinter_FooterMargin", 10, [] { return PreviewFooterMargin; }, 0.1f },
        { "PreviewPrinter_FooterMargin", 200, [] { return PreviewFooterMargin; }, 2.0 },
        { "AutoObnovaPrihlasenychUsers", 0, [] { return LoggedUsersRefreshSeconds; }, 5 },
        { "AutoObnovaPrihlasenychUsers", -3, [] { return LoggedUsersRefreshSeconds; }, 5 },
        { "AutoObnovaPrihlasenychUsers", 101, [] { return LoggedUsersRefreshSeconds; }, 5 },
        { "AutoObnovaPrihlasenychUsers", 100, [] { return LoggedUsersRefreshSeconds; }, 100 },
        { "PocetPlatnychCislic", 0, [] { return SignificantDigits; }, 2 },
        { "PocetPlatnychCislic", 9, [] { return SignificantDigits; }, 2 },
        { "PocetPlatnychCislic", 4, [] { return SignificantDigits; }, 4 },
        { "LanguageID", 7, [] { return LanguageID; }, EditionFlag },
        { "LanguageID", 2, [] { return LanguageID; }, 2 },
        { "ExponencialnyTvarPod", 2, [] { return ExponentBelowLimit; }, 0.001 },
        { "ExponencialnyTvarNad", 0, [] { return ExponentAboveLimit; }, 99 },
        { "ExponencialnyTvarNad", 9, [] { return ExponentAboveLimit; }, 9999999 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + std::to_string(c.stored));
        StoreKey([&](TRegistry& reg) { reg.WriteInteger(c.name, c.stored); });
        CommonInit();
        EXPECT_DOUBLE_EQ(c.read(), c.expected);
        CommonDone();
    }
}

TEST_F(SettingsTest, ZoomOutOfRangeReadsAsOne)
{
    for (const char* stored : { "0.4", "3.6", "nan", "inf" }) {
        StoreKey([&](TRegistry& reg) { reg.WriteString("ZoomCoefficient", stored); });
        CommonInit();
        EXPECT_EQ(ZoomCoefficient, 1.0) << stored;
        CommonDone();
    }
    StoreKey([](TRegistry& reg) { reg.WriteFloat("ZoomCoefficient", 0.85); });
    CommonInit();
    EXPECT_EQ(ZoomCoefficient, 0.85);
    EXPECT_EQ(ZoomPresetTexts[0], "  85%");
    EXPECT_FLOAT_EQ(ZoomPresetFactors[0], 0.85f);
    EXPECT_EQ(ZoomPresetIndex, 0);
}

TEST_F(SettingsTest, MissingValueLeavesTheOthersAsStored)
{
    StoreKey([](TRegistry& reg) {
        reg.WriteInteger("CellWidth", 300);
        reg.WriteInteger("PocetPlatnychCislic", 3);
        reg.WriteInteger("ExponencialnyTvarPod", 1);
        reg.WriteInteger("LanguageID", 2);
        reg.WriteString("CellFontName", "Tahoma");
        reg.WriteInteger("AutoObnovaPrihlasenychUsers", 42);
        reg.WriteBool("ZeroToCalculations", true);
        reg.DeleteValue("CommentsPasteToTempates");
        reg.WriteString("CellHeight", "tall"); // mistyped
    });
    CommonInit();
    EXPECT_EQ(CellHeight, 18);
    EXPECT_EQ(CellWidth, 300);
    EXPECT_TRUE(CommentsPasteToTempates);
    EXPECT_TRUE(ZeroToCalculations);
    EXPECT_EQ(SignificantDigits, 3);
    EXPECT_EQ(ExponentBelowLimit, 0.01);
    EXPECT_EQ(LanguageID, 2);
    EXPECT_EQ(CellFontName, "Tahoma");
    EXPECT_EQ(LoggedUsersRefreshSeconds, 42);
}

TEST_F(SettingsTest, OlderLayoutTagGivesDefaultColumnsAndIsStoredWithTheTag)
{
    StoreKey([](TRegistry& reg) {
        TTableInfo old;
        old.tag = "ver-1-2-29";
        old.order = { 7, 6, 5, 4, 3 };
        old.width = { 1, 2, 3, 4, 5 };
        reg.WriteBinary("Orvek1TableInfo", old.ToBytes());
    });
    CommonInit();
    EXPECT_EQ(Orvek1TableInfo.order, (std::array<qint32, 5> { 6, 3, 5, 4, 7 }));
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kSetup, false));
        auto stored = TTableInfo::FromBytes(*reg.ReadBinary("Orvek1TableInfo", 52));
        EXPECT_EQ(stored.order, (std::array<qint32, 5> { 0, 0, 0, 0, 0 }));
    }
    CommonDone();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSetup, false));
    auto stored = TTableInfo::FromBytes(*reg.ReadBinary("Orvek1TableInfo", 52));
    EXPECT_TRUE(stored.HasCurrentTag());
    EXPECT_EQ(stored.order, (std::array<qint32, 5> { 6, 3, 5, 4, 7 }));
}

TEST_F(SettingsTest, UnusableFolderFallsBackAndIsWrittenBackCorrected)
{
    const QString gone = test::TestRoot() + "/gone";
    QDir().mkpath(gone);
    StoreKey([&](TRegistry& reg) {
        reg.WriteString("PathForTrees", gone);
        reg.WriteString("DefaultDirToSave", "relative/folder");
        reg.WriteString("LastAdminBackupPath", test::TestRoot());
    });
    QDir(gone).removeRecursively();
    CommonInit();
    EXPECT_EQ(TreesDir, AppDir + "Examples");
    EXPECT_EQ(ReportsDir, AppDir + "Reports");
    EXPECT_EQ(AdminBackupDir, test::TestRoot());
    CommonDone();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSetup, false));
    EXPECT_EQ(reg.ReadString("PathForTrees"), AppDir + "Examples");
}

TEST_F(SettingsTest, FooterMarginIsStoredRounded)
{
    StoreKey([](TRegistry& reg) { reg.WriteInteger("PreviewPrinter_FooterMargin", 29); });
    CommonInit();
    EXPECT_FLOAT_EQ(PreviewFooterMargin, 0.29f);
    CommonDone();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSetup, false));
    EXPECT_EQ(reg.ReadInteger("PreviewPrinter_FooterMargin"), 29);
}

TEST(ZoomLayout, ScaledGeometryAndFontSize)
{
    SetDefaultDiagramSettings();
    EXPECT_EQ(MarkupFontSize, 8);
    struct Case {
        double zoom;
        int fontSize, cellHeight, plusMinus;
    } cases[] = {
        { 1.0, 9, 18, 9 }, { 0.5, 4, 9, 4 }, // 4.5 rounds to even
        { 3.0, 29, 54, 27 }, { 0.4, 0, 7, 4 }, { 0.3, 0, 5, 3 }, { 1.25, 11, 22, 11 }, // 22.5 -> 22, 11.25 -> 11
    };
    for (const auto& c : cases) {
        ZoomCoefficient = c.zoom;
        ScaleLayoutToZoom();
        SCOPED_TRACE(c.zoom);
        EXPECT_EQ(DefaultFontSize, c.fontSize);
        EXPECT_EQ(ZoomedCellHeight, c.cellHeight);
        EXPECT_EQ(ZoomedPlusMinusWidth, c.plusMinus);
        EXPECT_EQ(ZoomedPlusMinusSlot, c.plusMinus + 4);
    }
    for (auto [zoom, text] : { std::pair { 1.0, "100%" }, { 0.5, "  50%" }, { 2.0, "200%" }, { 0.07, "7%" } }) {
        ZoomCoefficient = zoom;
        UpdateZoomPresetText();
        EXPECT_EQ(ZoomPresetTexts[0], text);
    }
    SetDefaultDiagramSettings();
}

TEST(SettingsValues, LastRecordOfUserAndDatabaseState)
{
    test::ClearSettingsStore();
    SetupKeyPath = kSetup;
    int record = -1;
    LoadLastRecordOfUser(7, record);
    EXPECT_EQ(record, 0);
    SaveLastRecordOfUser(7, 1234);
    SaveLastRecordOfUser(0, 99); // ignored
    LoadLastRecordOfUser(7, record);
    EXPECT_EQ(record, 1234);
    record = -1;
    LoadLastRecordOfUser(0, record);
    EXPECT_EQ(record, -1);

    QString status = "x";
    ReadDBStatus(status);
    EXPECT_EQ(status, "");
    WriteDBStatus("Open");
    ReadDBStatus(status);
    EXPECT_EQ(status, "Open");
}
