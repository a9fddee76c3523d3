#include "sources/ui/orvek_message.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "sources/chart_data.h"
#include "sources/chart_tables.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvek {
namespace {

class OrvekMessage : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
        ASSERT_FALSE(GetString(1058).isEmpty());
    }
    void TearDown() override { LanguageID = EditionFlag; }
};

// The message the chart windows show: the violated run tests 1 and 3.
QString RuleMessage()
{
    TChartData d;
    d.ChartRuleResults = (1u << 1) | (1u << 3);
    QString text;
    BuildRuleTestMessage(d, text);
    return text;
}

TEST_F(OrvekMessage, ShowsTheRenderedRulesAndIsEmptiedWhenClosed)
{
    TfOrvekMessage window;
    EXPECT_EQ(window.windowTitle(), "Orvek message");
    EXPECT_EQ(window.size(), QSize(393, 229));
    TRichEdit98* edit = window.findChild<TRichEdit98*>("MessageRichEdit");
    auto* close = window.findChild<QPushButton*>("CloseButton");
    ASSERT_TRUE(edit && close);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->AutoURLDetect(), adNone);
    EXPECT_EQ(edit->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(close->text(), "Close");

    window.ShowMarkupMessage(RuleMessage());
    const QString shown = edit->toPlainText();
    EXPECT_TRUE(shown.contains(GetString(1058))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(GetString(1060))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(GetString(1059))) << shown.toStdString();
    EXPECT_FALSE(shown.contains("[cf")) << shown.toStdString();
    // A second message replaces the first.
    window.ShowMarkupMessage("[cf3]Second[cf1]");
    EXPECT_EQ(edit->toPlainText().trimmed(), "Second");
    window.ShowMarkupMessage(RuleMessage());

    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    bool closed = false;
    QTimer::singleShot(0, &window, [&] {
        if (!folder.isEmpty() && QDir().mkpath(folder))
            window.grab().save(folder + "/orvek_message.png");
        EXPECT_TRUE(edit->toPlainText().contains(GetString(1058)));
        close->click();
        closed = true;
    });
    EXPECT_EQ(window.exec(), mrOk);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(edit->toPlainText().isEmpty());

    // Closing by the close box empties it too.
    window.ShowMarkupMessage(RuleMessage());
    QTimer::singleShot(0, &window, [&] { window.reject(); });
    window.exec();
    EXPECT_TRUE(edit->toPlainText().isEmpty());
}

} // namespace
} // namespace orvek
