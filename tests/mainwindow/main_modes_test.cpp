#include "mainwindow/highlight_modes.h"
#include "mainwindow/main_language.h"

#include "core/common_vars.h"
#include "core/qt_translations.h"

#include "tests/support/test_env.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

struct HighlightCase {
    const char* name;
    quint8 pressed, current;
    THighlightFacts facts;
    bool answerYes;
    quint8 mode;
    int message;
    bool asked, sensitivity;
};

TEST(HighlightModes, OnePressDecidesTheOnlyModeOn)
{
    const THighlightFacts unfilled { true, true, false };
    const THighlightFacts expired { true, false, true };
    const THighlightFacts complete { true, false, false };
    const HighlightCase cases[] = {
        { "unfilled on", 1, 0, unfilled, false, 1, 0, false, false },
        { "unfilled replaces expired", 1, 2, { true, true, true }, false, 1, 0, false, false },
        { "unfilled pressed again goes off", 1, 1, unfilled, false, 0, 0, false, false },
        { "nothing unfilled: 708, the mode on goes off", 1, 3, complete, false, 0, 708, false, false },
        { "expired on", 2, 1, expired, false, 2, 0, false, false },
        { "nothing expired: 652", 2, 0, complete, false, 0, 652, false, false },
        { "largest on computes the sensitivities", 3, 2, complete, false, 3, 0, false, true },
        { "largest pressed again goes off", 3, 3, complete, false, 0, 0, false, false },
        { "largest with unfilled cells, Yes highlights them", 3, 0, unfilled, true, 1, 0, true, false },
        { "largest with unfilled cells, No leaves all off", 3, 2, unfilled, false, 0, 0, true, false },
        { "no model", 1, 0, {}, false, 0, 0, false, false },
    };
    for (const HighlightCase& c : cases) {
        bool asked = false;
        const THighlightOutcome out = PressHighlight(c.pressed, c.current, c.facts, [&] {
            asked = true;
            return c.answerYes;
        });
        EXPECT_EQ(out.Mode, c.mode) << c.name;
        EXPECT_EQ(out.Message, c.message) << c.name;
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(out.ComputeSensitivity, c.sensitivity) << c.name;
        int checked = 0;
        for (quint8 action = 1; action <= 3; ++action)
            checked += HighlightChecked(action, out.Mode);
        EXPECT_EQ(checked, out.Mode == 0 ? 0 : 1) << c.name;
    }
}

TEST(MainLanguage, ProductPageIsSlovakOnlyForSlovakElseEnglish)
{
    const QUrl english = ProductPageAddress(0);
    EXPECT_TRUE(english.isValid());
    EXPECT_NE(ProductPageAddress(1), english);
    EXPECT_EQ(ProductPageAddress(2), english);
}

TEST(MainLanguage, SwitchChangesQtsStandardButtonsAndBack)
{
    // The build's string table.
    const QString savedAppDir = AppDir;
    AppDir = test::TestProgramFolder();
    const quint8 saved = LanguageID;
    const auto button = [](const char* source) { return QCoreApplication::translate("QPlatformTheme", source); };
    SwitchProgramLanguage(1);
    EXPECT_EQ(LanguageID, 1);
    EXPECT_EQ(button("Cancel"), QStringLiteral("Zrušiť"));
    EXPECT_EQ(button("&Yes"), QStringLiteral("&Áno"));
    SwitchProgramLanguage(2);
    EXPECT_EQ(button("Cancel"), QStringLiteral("Zrušit"));
    // A text the string table does not hold comes from Qt's own catalogue.
    EXPECT_NE(button("Save"), QStringLiteral("Save"));
    SwitchProgramLanguage(0);
    EXPECT_EQ(button("Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(button("Save"), QStringLiteral("Save"));
    EXPECT_EQ(QtTranslationLocale(7), QStringLiteral("en"));
    SwitchProgramLanguage(saved);
    AppDir = savedAppDir;
}

} // namespace
