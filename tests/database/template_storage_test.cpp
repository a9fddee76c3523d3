#include "database/template_storage.h"

#include "core/dates.h"
#include "core/services.h"
#include "core/string_table.h"
#include "database/template_document.h"
#include "database/template_handover.h"
#include "database/validation_examples.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "engine/equation_info.h"
#include "engine/evaluation.h"
#include "engine/model_file.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/template_service_doubles.h"
#include "tests/support/user_database_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace orvek;

namespace {

// y = a + b, each input with one source; A is the value of a.
QString ModelText(const QString& a = "1", const QString& expiry = QString())
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = "Mass";
    info.Symbol = "y";
    info.Equation = "a + b";
    info.NormalizedEquation = "a+b";
    info.Coverage = 1;
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const QString symbol : { "a", "b" }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = symbol == "a" ? a : "2";
        TCell* quantity = root.AddChild(q);
        TPrenosInfoDoNovejBunky s;
        s.CellType = kUncertaintyCell;
        s.CellName = "source of " + symbol;
        s.Active = 1;
        s.UncertaintyInput.TSN = 3;
        s.UncertaintyInput.SO_2_3.Text = "0.1";
        s.UncertaintyInput.HSN = "0.1";
        s.UncertaintyInput.EDate = expiry;
        quantity->AddChild(s);
    }
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

std::unique_ptr<TCell> TreeOf(const QString& text)
{
    auto root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(root->LoadFromDevice(buffer));
    return root;
}

class TemplateStorage : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        CurrentUserID = 7;
        CurrentUserName = "Eva Nová";
        CurrentGroupID = 1;
        target.GroupID = 1;
        target.UserID = 7;
        target.FolderColumn = "IDDB1";
        target.FolderID = "0";
        files = QDir(TempDir).filePath("models");
        QDir().mkpath(files);
    }
    void TearDown() override
    {
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
        DataModule1 = nullptr;
        test::UserDatabase::TearDown();
    }
    QSqlDatabase Db() { return Other(); }
    static int AddTemplate(const QString& name, const QString& folder = "0", const QString& createdBy = "Eva",
        int group = 1, int lockedBy = 0)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query,
            "INSERT INTO TemplateDB (GroupID, CreatedBy, TemplateName, Strom, IDDB1, OpenedByUserID) VALUES (?, ?, "
            "?, ?, ?, ?)",
            { group, createdBy, name, ModelText(), folder, lockedBy }));
        return query.lastInsertId().toInt();
    }
    static void Exec(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, sql, values)) << sql.toStdString();
    }
    // A scrambled model file of ModelText in the test's folder.
    QString ModelFile(const QString& name, const QString& text = ModelText())
    {
        const QString path = QDir(files).filePath(name);
        EXPECT_TRUE(WriteScrambledModelFile(path, text));
        return path;
    }

    TTemplateTarget target;
    QString files;
};

TEST(ReadMainEquation, TakesTheFirstSymbolAndEquationLines)
{
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        { "BeginCell=\r\n  VarSumbol=m;\r\n  Equation=m0 + dm;\r\n  VarSumbol=x;\r\n", "m = m0 + dm" },
        // Lock suffixes and blanks go; the equation may come first.
        { "  Equation= a*b ~@#1;\r\n VarSumbol= P~@#1;\r\n", "P = a*b" },
        { "Equation=R;\nEquation=S;\nVarSumbol=U;\n", "U = R" },
        // A model's equation holds its left side: it is not written twice.
        { "VarSumbol=l;\r\n  Equation=l = ls + d;\r\n", "l = ls + d" },
        { "NrChildCells=0;\r\n", " = " },
    };
    for (const auto& c : cases) {
        QByteArray bytes(c.text);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(ReadMainEquation(buffer), QString(c.expected)) << c.text;
    }
}

TEST_F(TemplateStorage, NewTemplateFromTheEquationDialog)
{
    TNewEquationDialogData data;
    data.CellName = "Mass of the weight";
    data.Symbol = "m";
    data.Equation = "m0 + d m";
    data.Coverage = 1;
    data.CoverageFactor = "2";
    data.Rows = { { "m0", "kg", "reference mass", 0 }, { " ", "", "", 0 }, { "dm", "kg", "", 1 } };
    TPrenosInfoDoNovejBunky equation;
    TInfo_o_bunkach_typu_velicina quantities;
    ASSERT_TRUE(NewTemplateRecords(data, equation, quantities));
    EXPECT_EQ(equation.NormalizedEquation, "m0+dm");
    ASSERT_EQ(quantities.Count, 2);
    EXPECT_EQ(quantities[1].CellName, "reference mass");
    EXPECT_EQ(quantities[2].CellName, "dm"); // no quantity name: the symbol

    std::unique_ptr<TCell> root = PrazdnyStrom(equation, quantities);
    ASSERT_EQ(root->ChildCount(), 2);
    EXPECT_EQ(root->Child(0)->ChildCount(), 1); // value type 0: one source
    EXPECT_EQ(root->Child(0)->Child(0)->FCellType, kUncertaintyCell);
    EXPECT_EQ(root->Child(1)->ChildCount(), 0);

    target.FolderID = "0"; // all templates of the group are shown
    int id = 0;
    QSqlDatabase db = Db();
    ASSERT_TRUE(AddTreeAsTemplate(db, target, *root, id));
    const QVariantMap row = Row("TemplateDB", id);
    EXPECT_EQ(row["TemplateName"], "Mass of the weight");
    EXPECT_EQ(row["MainEquation"], "m = m0 + d m");
    EXPECT_EQ(row["CreatedBy"], "Eva Nová");
    EXPECT_EQ(row["CreateDate"], "2026-03-09");
    EXPECT_EQ(row["IDDB1"], "0");
    EXPECT_EQ(row["OpenedByUserID"], 0);
    EXPECT_EQ(TreeOf(row["Strom"].toString())->Child(0)->Child(0)->FCellType, kUncertaintyCell);

    data.Rows = { { "", "kg", "x", 0 } };
    EXPECT_FALSE(NewTemplateRecords(data, equation, quantities));
}

TEST_F(TemplateStorage, BatchImportNamesAndSkipsABrokenFile)
{
    const QString good = ModelFile("Weight_10_kg.stm");
    QFile broken(QDir(files).filePath("broken.STM"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(ScrambleModelText("this is no model"));
    broken.close();
    const QString other = ModelFile("second.Stm", ModelText("5"));
    const QString notes = ModelFile("notes.txt");
    target.FolderID = "3";

    QSqlDatabase db = Db();
    const TImportResult result
        = ImportModelFiles(db, target, CurrentUserName, { good, broken.fileName(), other, notes }, "Import");
    EXPECT_EQ(result.Added, 2);
    ASSERT_EQ(result.Failed.size(), 1);
    EXPECT_EQ(result.Failed[0].FileName, broken.fileName());
    EXPECT_FALSE(result.Failed[0].Reason.isEmpty());
    EXPECT_EQ(result.NotModelFiles, QStringList { notes });
    EXPECT_TRUE(result.MessageText().contains("broken.STM"));
    EXPECT_EQ(Count("TemplateDB"), 2);

    // The file import keeps underscores; the name has neither folder nor extension.
    const QVariantMap first = Row("TemplateDB", result.FirstID);
    EXPECT_EQ(first["TemplateName"], "Weight_10_kg");
    EXPECT_EQ(first["MainEquation"], "y = a + b");
    EXPECT_EQ(first["IDDB1"], "3");
    EXPECT_EQ(first["PracovnikID"], 7);
    EXPECT_EQ(TreeOf(first["Strom"].toString())->ChildCount(), 2);
    EXPECT_EQ(TemplateNameOfFile(good, TImportNaming::BlanksForUnderscores), "Weight 10 kg");
}

TEST_F(TemplateStorage, CopyIsANewFreeTemplate)
{
    auto root = TreeOf(ModelText("4"));
    int id = 0;
    QSqlDatabase db = Db();
    ASSERT_TRUE(CopyTemplateAsNew(db, target, *root, "Ján", "Mass (copy)", id));
    const QVariantMap row = Row("TemplateDB", id);
    EXPECT_EQ(row["TemplateName"], "Mass (copy)");
    EXPECT_EQ(row["CreatedBy"], "Ján");
    EXPECT_EQ(TreeOf(row["Strom"].toString())->Child(0)->FValue.Text, "4");
}

TEST_F(TemplateStorage, HeadEditWritesOnlyTheHeadOfAFreeTemplate)
{
    const int free = AddTemplate("Old");
    const int used = AddTemplate("Used");
    Exec("INSERT INTO TreeDB (FromTemplateID, NazovMerania) VALUES (?, 'r')", { used });
    const QVariantMap before = Row("TemplateDB", free);
    QSqlDatabase db = Db();

    EXPECT_EQ(WriteTemplateHead(db, free, QDate(2025, 1, 2), "New"), THeadEditOutcome::Written);
    const QVariantMap after = Row("TemplateDB", free);
    EXPECT_EQ(after["TemplateName"], "New");
    EXPECT_EQ(after["CreateDate"], "2025-01-02");
    EXPECT_EQ(after["ChangeCounter"], before["ChangeCounter"]);
    EXPECT_EQ(after["Strom"], before["Strom"]);

    EXPECT_EQ(WriteTemplateHead(db, used, QDate(2025, 1, 2), "New"), THeadEditOutcome::InUse);
    EXPECT_EQ(Row("TemplateDB", used)["TemplateName"], "Used");
    EXPECT_EQ(WriteTemplateHead(db, 999, QDate(2025, 1, 2), "New"), THeadEditOutcome::Missing);
}

TEST_F(TemplateStorage, DeleteRules)
{
    QSqlDatabase db = Db();
    // A second group gives TemplateDB a second folder column: the bin is "1" in both.
    Exec("ALTER TABLE TemplateDB ADD COLUMN IDDB2 VARCHAR(5) NOT NULL DEFAULT '0'");
    const int inFolder = AddTemplate("a", "4");
    const int binFree = AddTemplate("b", "1");
    const int binUsed = AddTemplate("c", "1");
    const int binLocked = AddTemplate("d", "1", "Eva", 1, 99);
    const int binMine = AddTemplate("e", "1", "Eva", 1, 7);
    const int notInBin = AddTemplate("f", "4");
    Exec("INSERT INTO TreeDB (FromTemplateID, NazovMerania) VALUES (?, 'r')", { binUsed });

    // Outside the bin: moved to it, without a question, whoever holds it.
    TDeleteResult moved = DeleteTemplates(db, { inFolder }, false, "IDDB1", 7);
    ASSERT_TRUE(moved.Ok);
    EXPECT_EQ(moved.Moved, 1);
    EXPECT_EQ(Row("TemplateDB", inFolder)["IDDB1"], "1");
    EXPECT_EQ(Row("TemplateDB", inFolder)["IDDB2"], "1");

    // In the bin: deleted for good unless in use, held by another user or not in the bin.
    TDeleteResult result
        = DeleteTemplates(db, { binFree, binUsed, binLocked, binMine, notInBin, 12345 }, true, "IDDB1", 7);
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Deleted, 2);
    EXPECT_EQ(result.Kept, (QList<int> { binUsed, binLocked, notInBin }));
    EXPECT_EQ(result.Missing, 1);
    EXPECT_TRUE(Row("TemplateDB", binFree).isEmpty());
    EXPECT_TRUE(Row("TemplateDB", binMine).isEmpty());
    EXPECT_FALSE(Row("TemplateDB", binUsed).isEmpty());
    EXPECT_FALSE(Row("TemplateDB", binLocked).isEmpty());
    EXPECT_FALSE(Row("TemplateDB", notInBin).isEmpty());

    EXPECT_FALSE(DeleteTemplates(db, { notInBin }, true, "Strom", 7).Ok);
}

TEST_F(TemplateStorage, MoveFilesTheSelectionWithoutTouchingTheDiagram)
{
    const int a = AddTemplate("a", "0");
    const int b = AddTemplate("b", "1", "Eva", 1, 99);
    const qint64 counter = Row("TemplateDB", a)["ChangeCounter"].toLongLong();
    QSqlDatabase db = Db();
    const TMoveResult result = MoveTemplatesToFolder(db, { a, b, 4242 }, "IDDB1", "5");
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Moved, 2);
    EXPECT_EQ(result.Skipped, 1);
    EXPECT_EQ(Row("TemplateDB", a)["IDDB1"], "5");
    EXPECT_EQ(Row("TemplateDB", b)["IDDB1"], "5");
    EXPECT_EQ(Row("TemplateDB", a)["ChangeCounter"].toLongLong(), counter);
    EXPECT_EQ(Row("TemplateDB", b)["OpenedByUserID"], 99);
    // A value with quotes is bound, never pasted into the statement.
    EXPECT_TRUE(MoveTemplatesToFolder(db, { a }, "IDDB1", "x' OR '1'='1").Ok);
    EXPECT_EQ(Row("TemplateDB", b)["IDDB1"], "5");
}

TEST_F(TemplateStorage, SummaryEditIsStoredByTheNextTick)
{
    const int id = AddTemplate("Summed");
    CurrentUserRights = 3;
    HighlightMode = 0;
    auto document = std::make_unique<TTemplateDocument>();
    document->LoadCurrentTemplate(id);
    ASSERT_FALSE(document->TemplateReadOnly);

    test::QuantitySummaryDouble summary;
    summary.OnShow = [] {
        for (int i = 1; i <= QuantityList.Count; ++i)
            if (QuantityList[i].Cell->FSymbol.Text == "a")
                QuantityList[i].ValueText = "7";
    };
    EXPECT_TRUE(RunQuantitySummary(*document->RootCell));
    EXPECT_EQ(summary.LockModes, std::vector<int> { 2 });
    EXPECT_EQ(QuantityList.Count, 0);
    // The window's tick serves the change.
    ASSERT_TRUE(CellTreeChanged);
    CellTreeChanged = false;
    document->TreeChanged();
    EXPECT_EQ(TreeOf(Row("TemplateDB", id)["Strom"].toString())->Child(0)->FValue.Text, "7");

    // Cancel, or OK without a change, changes nothing.
    summary.Ok = false;
    EXPECT_FALSE(RunQuantitySummary(*document->RootCell));
    summary.Ok = true;
    summary.OnShow = {};
    EXPECT_FALSE(RunQuantitySummary(*document->RootCell));
    EXPECT_FALSE(CellTreeChanged);
    document.reset();
    TreeLoadInProgress = false;
    EditMode = 0;
}

TEST_F(TemplateStorage, ExportWritesAModelFileOrSaysWhyNot)
{
    auto root = TreeOf(ModelText("6"));
    auto& script = test::DialogScript::Instance();
    TreesDir = files;
    const QString out = QDir(files).filePath("exports");
    QDir().mkpath(out);

    script.AnswerSaveFile(out + "/Mass.stm");
    ASSERT_TRUE(ExportTreeToFile(*root, "Mass", "Export"));
    EXPECT_EQ(TreesDir, out);
    TCell loaded(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    ASSERT_TRUE(LoadModelFile(loaded, out + "/Mass.stm"));
    EXPECT_EQ(loaded.Child(0)->FValue.Text, "6");

    const struct {
        const char* templateName;
        int nameAnswer; // the answer to text 670; 0: not asked
        bool dialog;
        QString chosen; // empty: the dialog is cancelled
        int refusal; // text 669 or 668 shown after the dialog; 0: none
    } refused[] = {
        { "a/b", mrCancel, false, "", 0 },
        { "a/b", mrYes, true, "", 0 },
        { "Mass", 0, true, out + "/no such folder/Mass.stm", mrCancel },
        { "Mass", 0, true, out + "/Ma?ss.stm", mrCancel },
    };
    for (const auto& c : refused) {
        if (c.nameAnswer)
            script.AnswerMessage(c.nameAnswer);
        if (c.dialog)
            script.AnswerSaveFile(c.chosen);
        if (c.refusal)
            script.AnswerMessage(c.refusal);
        EXPECT_FALSE(ExportTreeToFile(*root, c.templateName, "Export")) << c.templateName;
        EXPECT_TRUE(script.AllAnswered()) << c.templateName;
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList { "Mass.stm" });
}

TEST_F(TemplateStorage, PickFallsBackToTheFolderAfterTheExamples)
{
    Exec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES ('4', '', ?), ('5', '', 'EN'), ('6', '', 'SK')",
        { GetString(927) });
    QSqlDatabase db = Db();
    EXPECT_EQ(ExamplesFallbackFolder(db, 1, 0), "5");
    EXPECT_EQ(ExamplesFallbackFolder(db, 1, 2), "5");
    EXPECT_EQ(ExamplesFallbackFolder(db, 1, 1), "6");
    Exec("DELETE FROM TemplateID1 WHERE ID = '6'");
    EXPECT_EQ(ExamplesFallbackFolder(db, 1, 1), "");
    Exec("DELETE FROM TemplateID1 WHERE ID = '4'");
    EXPECT_EQ(ExamplesFallbackFolder(db, 1, 0), "");
}

class ValidationExamples : public TemplateStorage {
protected:
    void SetUp() override
    {
        TemplateStorage::SetUp();
        AppDir = QDir(TempDir).filePath("app") + "/";
        const TValidationExample& s3 = *ValidationExampleOf("Action_S3");
        for (int language : { 0, 1 }) {
            QDir().mkpath(ValidationFolder(language));
            ASSERT_TRUE(WriteScrambledModelFile(
                ValidationFolder(language) + ValidationFileName(s3, language), ModelText(language ? "8" : "9")));
        }
    }
    TExampleLookup Load(int language)
    {
        const TValidationExample& s3 = *ValidationExampleOf("Action_S3");
        QSqlDatabase db = Db();
        return FindOrImportValidationExample(db, target, ValidationFolder(language), ValidationFileName(s3, language));
    }
};

TEST_F(ValidationExamples, FirstUseImportsLaterUsesReuse)
{
    const TExampleLookup first = Load(1);
    ASSERT_NE(first.TemplateID, 0) << first.Error.toStdString();
    EXPECT_TRUE(first.Imported);
    const QVariantMap row = Row("TemplateDB", first.TemplateID);
    EXPECT_EQ(row["CreatedBy"], "Validation");
    EXPECT_EQ(row["TemplateName"], "S3 Kalibracia etalonu elektrickeho odporu");
    // The folder named by text 919 was made for it.
    QSqlDatabase db = Db();
    EXPECT_EQ(test::QueryColumn(db, "SELECT Description FROM TemplateID1 WHERE ID = ?", { first.FolderID }),
        QStringList { GetString(919) });
    EXPECT_EQ(row["IDDB1"], first.FolderID);

    const TExampleLookup second = Load(1);
    EXPECT_EQ(second.TemplateID, first.TemplateID);
    EXPECT_FALSE(second.Imported);
    EXPECT_EQ(Count("TemplateDB"), 1);

    // Another example goes into the same folder.
    const TExampleLookup english = Load(0);
    EXPECT_TRUE(english.Imported);
    EXPECT_EQ(english.FolderID, first.FolderID);
}

TEST_F(ValidationExamples, LookupIsBoundAndTakesTheLowestDuplicate)
{
    const QString name = "S3 Calibration of a nominal 10 kOhm standard resistor";
    AddTemplate(name, "0", "Validation", 2); // another group
    AddTemplate(name, "0", "Eva"); // another creator
    const int low = AddTemplate(name.toUpper(), "0", "Validation");
    AddTemplate(name, "0", "Validation");
    QSqlDatabase db = Db();
    EXPECT_EQ(FindValidationTemplate(db, 1, name), low);
    EXPECT_EQ(FindValidationTemplate(db, 1, "x\" OR \"1\"=\"1"), 0);

    const TExampleLookup lookup = Load(0);
    EXPECT_EQ(lookup.TemplateID, low);
    EXPECT_FALSE(lookup.Imported);
}

TEST_F(ValidationExamples, FoldersByLanguageAndAMissingFolder)
{
    EXPECT_EQ(ValidationFolder(1), AppDir + "Validation/SK/");
    EXPECT_EQ(ValidationFolder(0), AppDir + "Validation/EN/");
    EXPECT_EQ(ValidationFolder(2), AppDir + "Validation/EN/"); // Czech uses the English examples

    QDir(ValidationFolder(0)).removeRecursively();
    const TExampleLookup lookup = Load(0);
    EXPECT_EQ(lookup.TemplateID, 0);
    EXPECT_EQ(Count("TemplateDB"), 0);
    QSqlDatabase db = Db();
    EXPECT_TRUE(
        test::QueryColumn(db, "SELECT ID FROM TemplateID1 WHERE Description = ?", { GetString(919) }).isEmpty());
}

class HandOver : public TemplateStorage { };

TEST_F(HandOver, ChecksBeforeTheRecordHead)
{
    auto fresh = TreeOf(ModelText());
    auto expired = TreeOf(ModelText("1", DateToDMYText(QDate(2020, 1, 1))));
    EXPECT_EQ(CheckHandOver(1, fresh.get()), THandOverStep::AskRecordHead);

    auto& script = test::DialogScript::Instance();
    script.AnswerMessage(mrCancel);
    EXPECT_EQ(CheckHandOver(2, fresh.get()), THandOverStep::Refused);

    const struct {
        int answer;
        THandOverStep step;
    } cases[] = {
        { mrYes, THandOverStep::AskRecordHead },
        { mrNo, THandOverStep::CancelPick },
        { mrRetry, THandOverStep::StayOpen },
    };
    for (const auto& c : cases) {
        script.AnswerMessage(c.answer);
        EXPECT_EQ(CheckHandOver(1, expired.get()), c.step) << c.answer;
    }
}

TEST_F(HandOver, TransferFileHasEveryFieldLockedAndTheShownTreeKeepsItsOwn)
{
    auto root = TreeOf(ModelText("3"));
    THandOverFields fields;
    ASSERT_TRUE(CompleteHandOver(*root, 42, "Mass", { QDate(2026, 3, 9), "Run 1", "S-7" }, fields));
    EXPECT_EQ(fields.HandOverTemplateID, 42);
    EXPECT_EQ(fields.HandOverTemplateName, "Mass");
    EXPECT_EQ(fields.HandOverRecordName, "Run 1");
    EXPECT_EQ(fields.HandOverSampleID, "S-7");

    QFile file(TransferFileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString handedText = QString::fromUtf8(file.readAll());
    // The file is the tree with every field marked as a template field.
    auto expected = TreeOf(ModelText("3"));
    expected->MarkAsTemplate();
    // Cell numbers depend on the order the trees were made in.
    static const QRegularExpression cellNumber("(Begin|End)Cell=\\d+;");
    EXPECT_EQ(QString(handedText).replace(cellNumber, "\\1Cell=;").toStdString(),
        QString(expected->SaveToText() + "\r\n").replace(cellNumber, "\\1Cell=;").toStdString());
    auto handed = TreeOf(handedText);
    EXPECT_EQ(handed->FCellName.Lock, 1);
    EXPECT_EQ(handed->FSymbol.Lock, 1);
    EXPECT_EQ(handed->Child(0)->FCellName.Lock, 1);
    EXPECT_EQ(handed->Child(0)->Child(0)->FUncertaintyInput.TSNLock, 1);
    EXPECT_EQ(handed->Child(0)->FValue.Text, "3");
    EXPECT_EQ(root->FCellName.Lock, 0);
    EXPECT_EQ(root->Child(0)->Child(0)->FUncertaintyInput.TSNLock, 0);
}

TEST_F(HandOver, AFailedWriteIsShownAndKeepsTheOldFile)
{
    auto root = TreeOf(ModelText());
    const QString savedTemp = TempDir;
    TempDir = QDir(savedTemp).filePath("missing/folder/");
    test::DialogScript::Instance().AnswerMessage(mrOk);
    THandOverFields fields;
    EXPECT_FALSE(CompleteHandOver(*root, 42, "Mass", { QDate(2026, 3, 9), "Run", "" }, fields));
    EXPECT_EQ(fields.HandOverTemplateID, 0);
    EXPECT_FALSE(QFile::exists(TransferFileName()));
    TempDir = savedTemp;
}

} // namespace
