// The self-validation on the shipped demonstration model: the cut comparison, the
// verdicts, the validation log and the settings put back.

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/self_validation.h"
#include "engine/model_file.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orvek {
namespace {

class SelfValidationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommonInit();
        LanguageID = 0;
        QDir(DatabaseDir).removeRecursively();
        QDir().mkpath(DatabaseDir);
        SetClock([this] { return moment; });
    }
    void TearDown() override
    {
        SetClock({});
        CommonDone();
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
    }

    static QString LogFile() { return DatabaseDir + QString::fromLatin1(kValidationLogFile); }
    static QString Log()
    {
        QByteArray bytes;
        if (!ReadWholeFile(LogFile(), bytes))
            return QString();
        bytes.chop(1);
        return QString::fromUtf8(UnscrambleModelText(bytes));
    }

    // A program folder whose demonstration model is the shipped one with one change.
    void UseChangedDemonstration(const QString& from, const QString& to)
    {
        const QString plainName = QStringLiteral(ORVEK_TEST_DATA_DIR
            "/shipped_models/DemoExamples/EN/DEMO A3 An Acid-Base Titration - EURACHEM 2000 - A3.txt");
        QFile plain(plainName);
        ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(plain.readAll());
        ASSERT_TRUE(text.contains(from));
        text.replace(from, to);
        const QString app = folder.path() + QStringLiteral("/");
        QFile::link(test::TestProgramFolder() + QStringLiteral("Strings"), app + QStringLiteral("Strings"));
        QDir().mkpath(app + QStringLiteral("DemoExamples/EN"));
        ASSERT_TRUE(WriteScrambledModelFile(
            app + QStringLiteral("DemoExamples/EN/") + QFileInfo(DemonstrationModelFile()).fileName(), text));
        AppDir = app;
    }

    QDateTime moment { QDate(2026, 3, 9), QTime(8, 15, 30) };
    QTemporaryDir folder;
};

TEST(SelfValidationCut, ResultsAreCutAsCompared)
{
    const struct {
        const char* text;
        char separator;
        const char* result;
        const char* dof;
    } cases[] = {
        { "0.101384", '.', "0.10138", "0" },
        { "0,000352800", ',', "0,00035", "0" },
        { "0.1", '.', "0.1", "0" },
        { "123456", '.', "12345", "123456" },
        { "531.7", '.', "531.7", "531" },
        { "494,18", ',', "494,18", "494" },
        { "Nekonecno", '.', "Nekon", "Nekonecno" },
        { "", '.', "", "" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutResultText(QString::fromLatin1(c.text), QLatin1Char(c.separator)).toStdString(), c.result)
            << c.text;
        EXPECT_EQ(CutDegreesOfFreedomText(QString::fromLatin1(c.text), QLatin1Char(c.separator)).toStdString(), c.dof)
            << c.text;
    }
}

TEST_F(SelfValidationTest, ShippedDemonstrationPassesInBothLanguages)
{
    for (const quint8 language : { quint8(0), quint8(1) }) {
        LanguageID = language;
        QString result, report = QStringLiteral("before");
        ASSERT_TRUE(SelfValidation(result, report));
        EXPECT_EQ(result, GetString(897));
        EXPECT_TRUE(report.startsWith(QStringLiteral("before")));
        EXPECT_TRUE(report.contains(GetString(912)));
        EXPECT_FALSE(report.contains(GetString(913)));
        EXPECT_TRUE(report.contains(QStringLiteral("0.10138")));
        EXPECT_TRUE(report.contains(QFileInfo(DemonstrationModelFile()).fileName()));
    }
    EXPECT_TRUE(DemonstrationModelFile().contains(QStringLiteral("/DemoExamples/SK/")));
    // Texts 897 and 898 are stored in the 20 characters of ValidationHistory.ResultStr.
    for (const quint8 language : { quint8(0), quint8(1), quint8(2) }) {
        LanguageID = language;
        EXPECT_LE(GetString(897).size(), 20);
        EXPECT_LE(GetString(898).size(), 20);
    }
}

TEST_F(SelfValidationTest, RunsWithItsOwnSettingsAndPutsTheUsersBack)
{
    // One significant digit would give "0.0002" and "0.0004"; the run uses two.
    SignificantDigits = 1;
    DerivativeMode = 1;
    LoadValuesOnPaste = false;
    AskOnPaste = true;
    QString result, report;
    ASSERT_TRUE(SelfValidation(result, report));
    EXPECT_EQ(result, GetString(897));
    EXPECT_EQ(SignificantDigits, 1);
    EXPECT_EQ(DerivativeMode, 1);
    EXPECT_FALSE(LoadValuesOnPaste);
    EXPECT_TRUE(AskOnPaste);
}

TEST_F(SelfValidationTest, TwoRunsStayInTheLogInOrder)
{
    QString result, report;
    ASSERT_TRUE(SelfValidation(result, report));
    moment = moment.addSecs(3600);
    ASSERT_TRUE(SelfValidation(result, report));
    const QString log = Log();
    const QString line = GetString(237) + QStringLiteral(" Ref = 0.10138    Calc = 0.10138 (") + GetString(897) + ")";
    EXPECT_EQ(log.count(QStringLiteral("---------------------------")), 2);
    EXPECT_EQ(log.count(line), 2);
    const qsizetype first = log.indexOf(QStringLiteral("08:15:30"));
    const qsizetype second = log.indexOf(QStringLiteral("09:15:30"));
    ASSERT_GE(first, 0);
    EXPECT_GT(second, first);
    EXPECT_TRUE(log.startsWith(QStringLiteral("\r\r---------------------------\r") + GetString(909)));
}

TEST_F(SelfValidationTest, OneDifferingResultFailsTheRunButNotTheOtherRows)
{
    // One more degree of freedom for the repeatability moves only the effective degrees
    // of freedom (494 to 504); the coverage factor stays 1.96.
    UseChangedDemonstration(QStringLiteral("PSV_2_3=50;"), QStringLiteral("PSV_2_3=51;"));
    QString result, report;
    ASSERT_TRUE(SelfValidation(result, report));
    EXPECT_EQ(result, GetString(898));
    EXPECT_TRUE(report.contains(GetString(913)));
    const QString log = Log();
    EXPECT_EQ(log.count(QStringLiteral("(") + GetString(897) + QStringLiteral(")")), 4);
    EXPECT_TRUE(log.contains(GetString(757) + QStringLiteral(" Ref = 494    Calc = 504 (") + GetString(898) + ")"));
}

TEST_F(SelfValidationTest, MissingDemonstrationIsReportedAndTheLogStaysAsItWas)
{
    QString result, report;
    ASSERT_TRUE(SelfValidation(result, report));
    const QByteArray before = [] {
        QFile file(LogFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    AppDir = folder.path() + QStringLiteral("/");
    QFile::link(test::TestProgramFolder() + QStringLiteral("Strings"), AppDir + QStringLiteral("Strings"));
    test::DialogScript::Instance().AnswerMessage(mrCancel);
    result.clear();
    EXPECT_FALSE(SelfValidation(result, report));
    EXPECT_TRUE(result.isEmpty());
    ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(test::DialogScript::Instance().Shown().first().contains(DemonstrationModelFile()));
    QFile file(LogFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

} // namespace
} // namespace orvek
