#include "../support/dialog_script.h"
#include "../support/test_env.h"
#include "chart_fixtures.h"
#include "core/common_vars.h"
#include "core/dates.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "sources/chart_data.h"
#include "sources/import_settings.h"
#include "sources/weighing_import.h"
#include "sources/weighing_import_command.h"
#include "weighing_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

class WeighingImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        workbook = folder.filePath("Vstup.xls");
        QFile file(workbook);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // the fake reads nothing from it
        DateSeparator = '.';
        ShortDateFormat = "d.M.yyyy";
        LanguageID = 0;
        savedAppDir = AppDir;
        AppDir = TestProgramFolder(); // the string table
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        EXPECT_FALSE(reader.isOpen) << "the workbook was left open";
        OwnDecimalSeparator = '.';
        ForeignDecimalSeparator = ',';
        DateSeparator = QChar();
        ShortDateFormat.clear();
        LanguageID = EditionFlag;
        AppDir = savedAppDir;
    }

    // A gold sheet 2 (sheet 1 without the keyword) with Rows complete rows from row 6.
    void GoldRows(int rows)
    {
        reader.SetText(1, "C1", QString::fromUtf8("Súhrn"));
        reader.SetText(2, "C1", QString::fromUtf8("  skúška zlato / 2024 "));
        for (int i = 0; i < rows; ++i)
            reader.SetRow(2, 6 + i,
                { QString("%1.1.2024").arg(i + 1), "", "1", QString("0.9%1").arg(i), "", "2",
                    QString("1,9%1").arg(i) });
    }

    QTemporaryDir folder;
    QString workbook, savedAppDir;
    FakeWorkbook reader;
};

TEST_F(WeighingImport, GoldRowsBecomeSubgroupsOfTwo)
{
    GoldRows(5);
    reader.Set(2, "A6", WorkbookCell::FromDate(QDate(2007, 12, 31)));
    reader.SetText(2, "C6", "0,5");
    reader.SetText(2, "D6", "0.4583");
    reader.Set(2, "F7", WorkbookCell::FromNumber(0.25)); // a number cell converts through its text
    ASSERT_TRUE(ReadWeighingWorkbook(kWeighingGold, workbook, reader));
    EXPECT_EQ(AssayRowCount, 5);
    EXPECT_EQ(AssayRows[0].ValueA, "916.600");
    EXPECT_EQ(AssayRows[0].ValueB, "950.000");
    EXPECT_EQ(AssayRows[1].ValueB, "7640.00"); // 1000 x 1.91 / 0.25
    EXPECT_EQ(AssaySizesText, "2@2@2@2@2@");
    EXPECT_EQ(AssayDatesText, "31.12.2007@2.1.2024@3.1.2024@4.1.2024@5.1.2024@");
    EXPECT_EQ(AssayValuesText, "916.600@950.000@910.000@7640.00@920.000@960.000@930.000@965.000@940.000@970.000@");
    EXPECT_TRUE(AssayRows[0].TextB.isEmpty());
    EXPECT_TRUE(AssayRows[5].TextA.isEmpty() && AssayRows[5].ValueA.isEmpty());
    EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
}

// Silver takes E and H as they stand, comma included, and B into TextB.
TEST_F(WeighingImport, SilverValuesAreTakenAsTheyStand)
{
    OwnDecimalSeparator = ',';
    ForeignDecimalSeparator = '.';
    reader.SetText(1, "C1", "STRIEBRO Ag 925");
    reader.SetRow(1, 6, { "1.2.2024", "tavba 7", "", "", "925,3", "", "", "925.1" });
    reader.SetRow(1, 7, { "2.2.2024", "", "", "", "abc", "", "", " 925.0 " });
    reader.Set(1, "E7", WorkbookCell::FromNumber(925.25));
    ASSERT_TRUE(ReadWeighingWorkbook(kWeighingSilver, workbook, reader));
    EXPECT_EQ(AssayRowCount, 2);
    EXPECT_EQ(AssayRows[0].TextB, "tavba 7");
    EXPECT_EQ(AssayValuesText, "925,3@925.1@925,25@ 925.0 @");
    EXPECT_EQ(AssayDatesText, "1.2.2024@2.2.2024@");
}

// Every failure tells the user why and leaves nothing to pass on.
TEST_F(WeighingImport, FailuresAreExplained)
{
    const struct {
        const char* name;
        std::function<void(FakeWorkbook&)> setUp;
        QString file; // empty: the test's workbook
        QString message; // the start of the one box shown
    } cases[] = {
        { "no file", [](FakeWorkbook&) {}, "/no/such/Vstup.xls", "The workbook \"/no/such/Vstup.xls\" does not exist" },
        { "unknown format", [](FakeWorkbook& r) { r.openError = WorkbookError::UnknownFormat; }, {},
            "The file \"%1\" is not a workbook" },
        { "damaged", [](FakeWorkbook& r) { r.openError = WorkbookError::Unreadable; }, {},
            "The workbook \"%1\" cannot be read" },
        { "no keyword",
            [](FakeWorkbook& r) {
                r.SetText(1, "C1", "Zlat");
                r.SetText(2, "C1", "STRIEBRO");
            },
            {}, "Neither sheet 1 nor sheet 2 of the workbook \"%1\" has the keyword ZLATO" },
        { "row 6 incomplete",
            [](FakeWorkbook& r) {
                r.SetRow(1, 6, { "1.1.2024", "", "1", "", "", "1", "1" });
            },
            {}, "Row 6 of sheet 1 of the workbook \"%1\" is not complete" },
        { "weighed-in A not a number",
            [](FakeWorkbook& r) {
                r.SetRow(1, 6, { "1.1.2024", "", "1 g", "1" });
            },
            {}, QString::fromUtf8("Hodnota navážky Merania A pre Zlato v bunke C6 je v nesprávnom formáte") },
        { "weighed-out B not a number",
            [](FakeWorkbook& r) {
                r.SetRow(1, 6, { "d", "", "1", "1", "", "1", "?" });
            },
            {}, QString::fromUtf8("Hodnota vyvážky Merania B pre Zlato v bunke G6 je v nesprávnom formáte") },
        { "weighed-in zero",
            [](FakeWorkbook& r) {
                r.SetRow(1, 6, { "d", "", "1", "1", "", "0,000", "1" });
            },
            {}, "The weighed-in mass in cell F6 is zero" },
        { "error value", [](FakeWorkbook& r) { r.Set(1, "D6", WorkbookCell::FromError("#DIV/0!")); }, {},
            "Cell D6 of sheet 1 holds the error value #DIV/0!" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWorkbook r;
        r.SetText(1, "C1", "ZLATO");
        c.setUp(r);
        DialogScript::Instance().Reset();
        DialogScript::Instance().AnswerMessage(mrCancel);
        AssayRowCount = 7;
        AssayValuesText = "old@";
        EXPECT_FALSE(ReadWeighingWorkbook(kWeighingGold, c.file.isEmpty() ? workbook : c.file, r));
        ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
        const QString expected = c.message.contains("%1") ? c.message.arg(workbook) : c.message;
        EXPECT_TRUE(DialogScript::Instance().Shown()[0].startsWith(expected))
            << DialogScript::Instance().Shown()[0].toStdString();
        EXPECT_FALSE(r.isOpen);
        // Nothing of the read before is left, however early this one failed.
        EXPECT_EQ(AssayRowCount, 0);
        EXPECT_TRUE(AssayValuesText.isEmpty());
    }
}

// A complete row whose date or result would not read back from the chart's lists is
// refused with its cell named, as a typed or pasted cell would be, and nothing of the
// workbook is passed on, though the rows before it were good.
TEST_F(WeighingImport, CellsThatWouldNotReadBackAreRefused)
{
    const struct {
        const char* name;
        quint8 kind;
        QStringList row7;
        int message;
        QString cell, text;
    } cases[] = {
        { "silver value with an @", kWeighingSilver, { "2.1.2024", "", "", "", "925,1@7", "", "", "925" }, 24100, "E7",
            "925,1@7" },
        { "silver value no number", kWeighingSilver, { "2.1.2024", "", "", "", "925", "", "", "925 g" }, 24101, "H7",
            "925 g" },
        { "silver value not finite", kWeighingSilver, { "2.1.2024", "", "", "", "1E999", "", "", "925" }, 24101, "E7",
            "1E999" },
        { "gold date with a line break", kWeighingGold, { "2.1.2024\n3.1.2024", "", "1", "1", "", "1", "1" }, 24100,
            "A7", "2.1.2024\n3.1.2024" },
        { "gold date with an @", kWeighingGold, { "2.1@2024", "", "1", "1", "", "1", "1" }, 24100, "A7", "2.1@2024" },
        { "gold result beyond every number", kWeighingGold, { "2.1.2024", "", "1", "1", "", "1E-300", "1E300" }, 24101,
            "G7", "1E300" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWorkbook r;
        r.SetText(1, "C1", c.kind == kWeighingGold ? "ZLATO" : "STRIEBRO");
        r.SetRow(1, 6, { "1.1.2024", "", "1", "1", "925", "1", "1", "925" });
        r.SetRow(1, 7, c.row7);
        DialogScript::Instance().Reset();
        DialogScript::Instance().AnswerMessage(mrCancel);
        EXPECT_FALSE(ReadWeighingWorkbook(c.kind, workbook, r));
        EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(c.message, { c.cell, 1, c.text }) });
        EXPECT_EQ(AssayRowCount, 0);
        EXPECT_TRUE(AssayDatesText.isEmpty() && AssayValuesText.isEmpty() && AssaySizesText.isEmpty());
        EXPECT_FALSE(r.isOpen);
    }

    // Cells after the data are not imported and not looked at.
    reader.SetText(1, "C1", "ZLATO");
    reader.SetRow(1, 6, { "1.1.2024", "", "1", "1", "", "1", "1" });
    reader.SetRow(1, 7, { "2.1@2024", "", "1@" });
    ASSERT_TRUE(ReadWeighingWorkbook(kWeighingGold, workbook, reader));
    EXPECT_EQ(AssayRowCount, 1);
}

// A gold workbook saved by LibreOffice Calc as ".xls" with an empty text cell in the
// data rows, through the program's workbook reader.
TEST_F(WeighingImport, CalcWorkbookWithAnEmptyTextCell)
{
    ASSERT_TRUE(ReadWeighingWorkbook(kWeighingGold, ORVEK_TEST_DATA_DIR "/workbooks/gold_empty_text.xls"));
    EXPECT_EQ(AssayRowCount, 2);
    EXPECT_EQ(AssayDatesText, "1.3.2024@4.3.2024@");
    EXPECT_EQ(AssayValuesText, "916.600@917.997@960.000@950.000@");
    EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
}

// At most 999 rows: the thousandth complete row makes the read fail.
TEST_F(WeighingImport, RowLimit)
{
    GoldRows(999);
    EXPECT_TRUE(ReadWeighingWorkbook(kWeighingGold, workbook, reader));
    EXPECT_EQ(AssayRowCount, 999);
    reader.SetRow(2, 1005, { "x", "", "1", "1", "", "1", "1" });
    DialogScript::Instance().AnswerMessage(mrCancel);
    EXPECT_FALSE(ReadWeighingWorkbook(kWeighingGold, workbook, reader));
    EXPECT_TRUE(DialogScript::Instance().Shown().value(0).contains("(at most 999)"));
    EXPECT_EQ(AssayRowCount, 0);
}

TEST(ImportSettings, LineRules)
{
    const QString longPath = "/home/laborant/" + QString("Váženie ").repeated(20) + "/Vstup_Ostrevin.xls";
    const struct {
        const char* name;
        QString text;
        TImportSettings expected;
    } cases[] = {
        { "as written", "FileNameXLS=/data/Au.xls\r\nTreeID=17\r\nMeasurementName=Zlato 999\r\n",
            { "/data/Au.xls", "17", "Zlato 999" } },
        { "later line wins", "TreeID=1\r\nTreeID= 2 \r\nMeasurementName=a\nMeasurementName=b", { "", "2", "b" } },
        { "first key takes the rest", "TreeID=5 MeasurementName=Au\r\n", { "", "5 MeasurementName=Au", "Au" } },
        { "key inside a line, others ignored", "# comment\r\nx FileNameXLS=  " + longPath + "  \r\nfoo=bar",
            { longPath, "", "" } },
        { "keys are case-sensitive", "treeid=4\r\nTREEID=5", { "", "", "" } },
    };
    for (const auto& c : cases) {
        const TImportSettings s = ParseImportSettings(c.text);
        EXPECT_EQ(s.FileNameXLS, c.expected.FileNameXLS) << c.name;
        EXPECT_EQ(s.TreeID, c.expected.TreeID) << c.name;
        EXPECT_EQ(s.MeasurementName, c.expected.MeasurementName) << c.name;
    }
    const TImportSettings written { longPath, "42", QString::fromUtf8("Zliatina ľ") };
    EXPECT_EQ(ImportSettingsText(written),
        "FileNameXLS=" + longPath + "\r\nTreeID=42\r\nMeasurementName=" + QString::fromUtf8("Zliatina ľ") + "\r\n");
    const TImportSettings back = ParseImportSettings(ImportSettingsText(written));
    EXPECT_EQ(back.FileNameXLS, longPath);
    EXPECT_EQ(back.MeasurementName, written.MeasurementName);
}

TEST(ImportSettings, ProgramFolderFirstThenUserData)
{
    QTemporaryDir dir;
    const QString app = dir.filePath("app/"), user = dir.filePath("user/");
    QDir().mkpath(app);
    QDir().mkpath(user);
    const QString oldApp = AppDir, oldUser = UserDataDir;
    AppDir = app;
    UserDataDir = user;
    EXPECT_EQ(ImportSettingsReadPath("ImportAu.ini"), "");
    ASSERT_TRUE(WriteImportSettingsFile(user + "ImportAu.ini", { "u.xls", "1", "U" }));
    EXPECT_EQ(ImportSettingsReadPath("ImportAu.ini"), user + "ImportAu.ini");
    ASSERT_TRUE(WriteImportSettingsFile(ImportSettingsWritePath("ImportAu.ini"), { "a.xls", "2", "A" }));
    EXPECT_EQ(ImportSettingsReadPath("ImportAu.ini"), app + "ImportAu.ini");
    EXPECT_EQ(ImportSettingsReadPath("ImportAg.ini"), "");
    AppDir = dir.filePath("gone/"); // a program folder that cannot take the file
    EXPECT_EQ(ImportSettingsWritePath("ImportAg.ini"), user + "ImportAg.ini");
    TImportSettings read;
    EXPECT_FALSE(ReadImportSettingsFile(dir.filePath("gone/ImportAg.ini"), read));
    AppDir = oldApp;
    UserDataDir = oldUser;
}

// ---------------------------------------------------------------------------------
// The command

class RecordingHost : public TWeighingImportHost {
public:
    void SetTimerEnabled(bool enabled) override { timer << enabled; }
    bool CurrentRecord(int& id, QString& name) override
    {
        id = currentId;
        name = currentName;
        return currentId > 0;
    }
    void GoToRecord() override { goTo << ImportTargetRecordID; }

    QList<bool> timer;
    QList<int> goTo;
    int currentId = 17;
    QString currentName = QString::fromUtf8("Zlato – kontrola");
};

// Remembers the file name each open dialog proposed.
class ProposingScript : public DialogScript {
public:
    bool OpenFileDialog(FileDialogRequest& request) override
    {
        proposed << request.fileName;
        captions << request.caption + "|" + request.filter;
        return DialogScript::OpenFileDialog(request);
    }
    QStringList proposed, captions;
};

class WeighingCommand : public WeighingImport {
protected:
    void SetUp() override
    {
        WeighingImport::SetUp();
        oldUser = UserDataDir;
        AppDir = folder.filePath("app/");
        UserDataDir = folder.filePath("user/");
        QDir().mkpath(AppDir);
        QFile::link(TestProgramFolder() + "Strings", AppDir + "Strings");
        QDir().mkpath(UserDataDir);
        OstrevinMode = true;
        WeighingOpenDialogFileName.clear();
        SetDialogHandler(&script);
        GoldRows(2);
    }
    void TearDown() override
    {
        EXPECT_TRUE(script.AllAnswered());
        SetDialogHandler(&DialogScript::Instance());
        OstrevinMode = false;
        UserDataDir = oldUser;
        WeighingImport::TearDown();
    }
    QString Settings() const
    {
        QFile f(AppDir + "ImportAu.ini");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    ProposingScript script;
    RecordingHost host;
    QString oldUser;
};

TEST_F(WeighingCommand, FirstImportChoosesTheWorkbookAndRemembersTheTarget)
{
    script.AnswerMessage(mrYes); // 1101
    script.AnswerMessage(mrYes); // 1099
    script.AnswerOpenFile(workbook);
    ImportWeighingData(kWeighingGold, host, reader);
    ASSERT_FALSE(GetString(1101, { "Au" }).isEmpty());
    EXPECT_EQ(script.Shown().value(0), GetString(1101, { "Au" }));
    EXPECT_EQ(script.Shown().value(1), GetString(1099, { "Au" }));
    EXPECT_EQ(script.proposed, QStringList { "Vstup_Ostrevin.xls" });
    EXPECT_TRUE(script.captions.value(0).startsWith(QString::fromUtf8("Načítanie údajov zo súboru|")));
    EXPECT_TRUE(script.captions.value(0).contains("*.xlsx"));
    EXPECT_EQ(Settings(), "FileNameXLS=" + workbook + "\r\nTreeID=17\r\nMeasurementName=" + host.currentName + "\r\n");
    EXPECT_EQ(host.goTo, QList<int> { 17 });
    EXPECT_EQ(ImportTargetRecordName, host.currentName);
    EXPECT_EQ(AssayRowCount, 2);
    EXPECT_EQ(host.timer, (QList<bool> { false, true }));

    // The next import takes the settings file and asks nothing more.
    host.currentId = 99;
    script.AnswerMessage(mrYes);
    ImportWeighingData(kWeighingGold, host, reader);
    EXPECT_EQ(host.goTo, (QList<int> { 17, 17 }));

    // Without the file it asks again, proposing the file chosen before.
    QFile::remove(AppDir + "ImportAu.ini");
    script.AnswerMessage(mrYes);
    script.AnswerMessage(mrYes);
    script.AnswerOpenFile({});
    ImportWeighingData(kWeighingGold, host, reader);
    EXPECT_EQ(script.proposed.value(1), workbook);
    EXPECT_EQ(host.goTo.size(), 2);
    EXPECT_EQ(host.timer, (QList<bool> { false, true, false, true, false, true }));
}

TEST_F(WeighingCommand, NothingHappensWithoutOstrevinModeOrConsent)
{
    OstrevinMode = false;
    ImportWeighingData(kWeighingGold, host, reader);
    OstrevinMode = true;
    script.AnswerMessage(mrNo); // 1101
    ImportWeighingData(kWeighingSilver, host, reader);
    EXPECT_EQ(script.Shown(), QStringList { GetString(1101, { "Ag" }) });
    script.AnswerMessage(mrYes);
    script.AnswerMessage(mrNo); // 1099
    ImportWeighingData(kWeighingGold, host, reader);
    EXPECT_TRUE(host.timer == (QList<bool> { false, true }));
    EXPECT_TRUE(host.goTo.isEmpty());
    EXPECT_EQ(reader.opened, 0);
    EXPECT_TRUE(Settings().isEmpty());
}

TEST_F(WeighingCommand, ABadTreeIdNamesTheSettingsFile)
{
    ASSERT_TRUE(WriteImportSettingsFile(AppDir + "ImportAu.ini", { workbook, "12a", "Au" }));
    script.AnswerMessage(mrYes);
    script.AnswerMessage(mrCancel);
    ImportWeighingData(kWeighingGold, host, reader);
    EXPECT_EQ(script.Shown().value(1), GetString(22807, { AppDir + "ImportAu.ini", "12a" }));
    EXPECT_EQ(host.timer, (QList<bool> { false, true }));
    EXPECT_TRUE(host.goTo.isEmpty());
    EXPECT_EQ(reader.opened, 0);
}

// The settings file is written before the read and stays when the read fails.
TEST_F(WeighingCommand, AFailedReadKeepsTheSettingsAndGoesNowhere)
{
    reader.SetText(2, "D6", "");
    script.AnswerMessage(mrYes);
    script.AnswerMessage(mrYes);
    script.AnswerOpenFile(workbook);
    script.AnswerMessage(mrCancel); // row 6 incomplete
    ImportWeighingData(kWeighingGold, host, reader);
    EXPECT_TRUE(Settings().contains("TreeID=17"));
    EXPECT_TRUE(host.goTo.isEmpty());
    EXPECT_EQ(host.timer, (QList<bool> { false, true }));
}

// ---------------------------------------------------------------------------------
// Applying the data to the record's first source

class ApplyImport : public WeighingImport {
protected:
    void SetUp() override
    {
        WeighingImport::SetUp();
        GoldRows(5);
        ASSERT_TRUE(ReadWeighingWorkbook(kWeighingGold, workbook, reader));
    }
    bool Apply(TCell& root)
    {
        return root.ApplyImportedChartData(AssayRowCount, AssaySizesText, AssayValuesText, AssayDatesText);
    }
};

TEST_F(ApplyImport, NewDataReplaceOnlyTheOldData)
{
    auto root = ChartModel(12);
    TVstupStandardnejNeistoty& rec = FirstSource(*root);
    rec.VM_8.Text = "1@2@";
    rec.TSNLock = 1;
    ASSERT_TRUE(Apply(*root));
    EXPECT_EQ(rec.PM_8, 5);
    EXPECT_EQ(rec.PBM_8, AssaySizesText);
    EXPECT_EQ(rec.VM_8.Text, AssayValuesText);
    EXPECT_EQ(rec.DM_8, AssayDatesText);
    EXPECT_EQ(rec.Meral_8, "@@@@@");
    EXPECT_EQ(rec.UR_8, 0);
    EXPECT_EQ(rec.R_OD_8, 1);
    EXPECT_EQ(rec.R_DO_8, 9999);
    EXPECT_EQ(rec.FD_8, "d.M.yyyy");
    EXPECT_EQ(rec.TSN, 12);
    EXPECT_EQ(rec.TSNLock, 1);
    EXPECT_EQ(rec.OV_8, 1);

    // The chart statistics take the imported lists as they stand.
    TChartData data;
    QString reason;
    ASSERT_TRUE(LoadChartDataFromInput(data, rec, reason)) << reason.toStdString();
    EXPECT_EQ(data.ChartPointCount, 5);
    EXPECT_TRUE(data.ChartAllDated);
}

TEST_F(ApplyImport, RefusedSourcesStayAsTheyWere)
{
    const struct {
        const char* name;
        quint8 method;
        bool locked;
        int message;
    } cases[] = {
        { "individuals chart", 11, false, 22812 },
        { "given uncertainty", 3, false, 22812 },
        { "values locked by the template", 12, true, 22813 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = ChartModel(c.method);
        FirstSource(*root).VM_8.Lock = c.locked ? 1 : 0;
        const QString before = root->SaveToText();
        DialogScript::Instance().Reset();
        DialogScript::Instance().AnswerMessage(mrCancel);
        EXPECT_FALSE(Apply(*root));
        EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(c.message) });
        EXPECT_EQ(root->SaveToText(), before);
    }
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    TCell bare(nullptr, info, 0, 0, nullptr);
    DialogScript::Instance().AnswerMessage(mrCancel);
    EXPECT_FALSE(Apply(bare));
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(22811));
}

} // namespace
