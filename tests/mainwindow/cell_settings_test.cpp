// The size checks of the settings dialog and what OK stores: which size is refused
// with which message, and when the stored settings ask for a recalculation.

#include "mainwindow/cell_settings.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "platform/registry.h"
#include "tests/support/test_env.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace orvek {
namespace {

class CellSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        test::ClearSettingsStore();
        SetupKeyPath = "\\Software\\Kestrava\\Orvek\\Setup";
        LanguageID = 0;
        SetDefaultDiagramSettings();
        SignificantDigits = 2;
        ZeroToCalculations = false;
        DerivativeMode = 0;
        ExponentBelowIndex = 6;
        ExponentAboveIndex = 5;
        DeriveExponentLimits();
    }
    void TearDown() override
    {
        LanguageID = 0;
        SetDefaultDiagramSettings();
        SignificantDigits = 2;
        ZeroToCalculations = false;
        DerivativeMode = 0;
        ExponentBelowIndex = 6;
        ExponentAboveIndex = 5;
        DeriveExponentLimits();
        test::ClearSettingsStore();
    }

    // The values the dialog shows for the current settings.
    static TSettingsDialogValues Current()
    {
        TSettingsDialogValues v;
        v.Colors = CellColorSettings();
        v.Sizes = CellSizeSettings();
        v.FontName = CellFontName;
        v.FontSize = DefaultFontSize;
        v.Language = LanguageID;
        v.SignificantDigits = SignificantDigits;
        return v;
    }
};

TCellSizeTexts Texts(std::initializer_list<const char*> values)
{
    TCellSizeTexts texts;
    int i = 0;
    for (const char* v : values)
        texts[size_t(i++)] = QString::fromUtf8(v);
    return texts;
}

TEST_F(CellSettings, SizesAreCheckedFieldByFieldAgainstTheirRanges)
{
    const QString tooLarge = "%1 must not be greater than %2.";
    const QString outOfRange = "%1: enter a whole number from %2 to %3.";
    struct Case {
        TCellSizeTexts texts;
        std::optional<TCellSizeField> field;
        QString message;
    };
    const Case cases[] = {
        { Texts({ "99", "130", "3", "18", "43", "9", "9" }), std::nullopt, {} },
        { Texts({ "100", "130", "3", "18", "43", "9", "9" }), sfCellHeight, tooLarge.arg(GetString(196), "99") },
        { Texts({ "18", "1000", "3", "18", "43", "9", "9" }), sfCellWidth, tooLarge.arg(GetString(198), "999") },
        { Texts({ "18", "130", "100", "18", "43", "9", "9" }), sfVertDistance, tooLarge.arg(GetString(197), "99") },
        { Texts({ "18", "130", "3", "1000", "43", "9", "9" }), sfHorizontalBond, tooLarge.arg(GetString(200), "999") },
        { Texts({ "18", "130", "3", "18", "1000", "9", "9" }), sfBeginHorizontalBond,
            tooLarge.arg(GetString(199), "999") },
        { Texts({ "18", "130", "3", "18", "43", "19", "9" }), sfPlusMinusHeight, tooLarge.arg(GetString(210), "18") },
        { Texts({ "18", "130", "3", "18", "43", "9", "66" }), sfPlusMinusWidth, tooLarge.arg(GetString(209), "65") },
        { Texts({ "18", "130", "3", "18", "43", "18", "65" }), std::nullopt, {} },
        // Not whole, negative, or zero where a box would vanish.
        { Texts({ "1.5", "130", "3", "18", "43", "9", "9" }), sfCellHeight, outOfRange.arg(GetString(196), "1", "99") },
        { Texts({ "18", "", "3", "18", "43", "9", "9" }), sfCellWidth, outOfRange.arg(GetString(198), "1", "999") },
        { Texts({ "0", "130", "3", "18", "43", "9", "9" }), sfCellHeight, outOfRange.arg(GetString(196), "1", "99") },
        { Texts({ "18", "130", "-1", "18", "43", "9", "9" }), sfVertDistance,
            outOfRange.arg(GetString(197), "0", "99") },
        { Texts({ "18", "130", "0", "0", "0", "9", "9" }), std::nullopt, {} },
        { Texts({ "18", "130", "3", "18", "43", "0", "9" }), sfPlusMinusHeight,
            outOfRange.arg(GetString(210), "1", "18") },
        { Texts({ "18", "130", "3", "18", "43", "9", "x" }), sfPlusMinusWidth,
            outOfRange.arg(GetString(209), "1", "65") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringList(c.texts.begin(), c.texts.end()).join(' ').toStdString());
        TCellSizes sizes {};
        const auto refusal = CheckCellSizes(c.texts, sizes);
        ASSERT_EQ(refusal.has_value(), c.field.has_value());
        if (refusal) {
            EXPECT_EQ(refusal->Field, *c.field);
            EXPECT_EQ(refusal->Message, c.message);
        } else {
            for (int f = 0; f < sfCount; ++f)
                EXPECT_EQ(QString::number(sizes[size_t(f)]), c.texts[size_t(f)]);
        }
    }
}

TEST_F(CellSettings, DefaultSizesAndColours)
{
    EXPECT_EQ(DefaultCellSizes(), (TCellSizes { 18, 130, 3, 18, 43, 9, 9 }));
    TSettingsDialogValues v = Current();
    v.Colors = DefaultCellColors();
    CellColorChecked = 0x123456;
    BackgroundColor = 0x000000;
    ApplySettingsDialogValues(v);
    EXPECT_EQ(
        CellColorSettings(), (TCellColors { 0x00FF00, 0x00FFFF, 0x41BCFE, 0xFFFFA8, 0xFEBC8B, 0xFFA4FF, 0xFFFFFF }));
}

TEST_F(CellSettings, ApplyStoresTheValuesAndSaysWhenResultsChange)
{
    // Nothing that affects results changes: no recalculation.
    EXPECT_FALSE(ApplySettingsDialogValues(Current()));

    struct Case {
        const char* what;
        std::function<void(TSettingsDialogValues&)> change;
        bool recalculate;
    };
    const Case cases[] = {
        { "eight digits", [](TSettingsDialogValues& v) { v.SignificantDigits = 8; }, true },
        { "difference derivatives", [](TSettingsDialogValues& v) { v.DerivativeMode = 1; }, true },
        { "zero values", [](TSettingsDialogValues& v) { v.ZeroToCalculations = true; }, true },
        { "exponent limits",
            [](TSettingsDialogValues& v) {
                v.ExponentBelowIndex = 0;
                v.ExponentAboveIndex = 0;
            },
            false },
        { "sizes and font",
            [](TSettingsDialogValues& v) {
                v.Sizes = DefaultCellSizes();
                v.FontName = "Courier";
                v.FontSize = 12;
            },
            false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        TSettingsDialogValues v = Current();
        c.change(v);
        EXPECT_EQ(ApplySettingsDialogValues(v), c.recalculate);
        // The same values again change nothing that needs a recalculation.
        EXPECT_FALSE(ApplySettingsDialogValues(v));
    }

    EXPECT_EQ(CellWidth, 130);
    EXPECT_EQ(ZoomedCellWidth, 130);
    EXPECT_EQ(CellFontName, "Courier");
    EXPECT_EQ(CellFontSize, 12);
    // The size boxes are drawn in follows the zoom.
    EXPECT_EQ(DefaultFontSize, 9);

    SetUp();
    TSettingsDialogValues v = Current();
    v.ExponentBelowIndex = 0;
    v.ExponentAboveIndex = 2;
    ApplySettingsDialogValues(v);
    EXPECT_DOUBLE_EQ(ExponentBelowLimit, 0.1);
    EXPECT_DOUBLE_EQ(ExponentAboveLimit, 9999);
    // Stored: the next start reads them.
    SetDefaultDiagramSettings();
    ExponentAboveIndex = 5;
    LoadSettings();
    EXPECT_EQ(ExponentAboveIndex, 2);
    EXPECT_DOUBLE_EQ(ExponentAboveLimit, 9999);
}

TEST_F(CellSettings, ALanguageNeitherButtonShowsIsKept)
{
    LanguageID = 2;
    TSettingsDialogValues v = Current();
    v.Language = -1;
    ApplySettingsDialogValues(v);
    EXPECT_EQ(LanguageID, 2);
    v.Language = 1;
    ApplySettingsDialogValues(v);
    EXPECT_EQ(LanguageID, 1);
}

} // namespace
} // namespace orvek
