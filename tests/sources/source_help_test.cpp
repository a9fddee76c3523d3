#include "core/common_vars.h"
#include "core/services.h"
#include "sources/source_help.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

namespace orvek {
namespace {

class PageRecorder : public HelpService {
public:
    void ShowHelpPage(const QString& path) override { pages << path; }
    QStringList pages;
};

TEST(SourceHelp, EveryMethodHasItsPageInBothLanguages)
{
    AppDir = test::TestProgramFolder();
    HelpBaseName = QStringLiteral("Orvek");
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        for (int method = 0; method <= 14; ++method) {
            const QString page = SourceHelpPage(method);
            EXPECT_TRUE(QFile::exists(page)) << page.toStdString();
        }
    }
    EXPECT_TRUE(SourceHelpPage(15).isEmpty());

    // The trapezoid in English, then Czech, which reads the Slovak pages.
    PageRecorder recorder;
    SetHelpService(&recorder);
    LanguageID = 0;
    ShowSourceHelp(10);
    LanguageID = 2;
    ShowSourceHelp(10);
    SetHelpService(nullptr);
    LanguageID = EditionFlag;
    ASSERT_EQ(recorder.pages.size(), 2);
    EXPECT_TRUE(recorder.pages[0].endsWith("help/Orvek_EN/IDH_HELP_z_tabuliek_lichobeznikove.html"));
    EXPECT_TRUE(recorder.pages[1].endsWith("help/Orvek_SK/IDH_HELP_z_tabuliek_lichobeznikove.html"));
}

} // namespace
} // namespace orvek
