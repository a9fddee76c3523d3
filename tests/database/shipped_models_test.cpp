// The model files that ship with the program: the validation examples and the
// demonstration model. Each is kept as plain diagram text under tests/data/shipped_models
// and shipped scrambled under data/; the shipped file must hold exactly its plain text, and
// each model must give its published result to every digit the publication shows.
//
// ORVEK_WRITE_SHIPPED_MODELS=<source folder> makes the writer test (re)write the scrambled
// files from the plain texts (scripts/make-shipped-models).

#include "core/common_vars.h"
#include "core/number_format.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/model_file.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_render.h"
#include "richtext/report_texts.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <memory>

namespace orvek {
namespace {

const QString kPlainRoot = QStringLiteral(ORVEK_TEST_DATA_DIR "/shipped_models/");

// The plain texts, relative to kPlainRoot, without ".txt".
QStringList PlainModels()
{
    QStringList names;
    QDirIterator it(kPlainRoot, { QStringLiteral("*.txt") }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        names << path.mid(kPlainRoot.size()).chopped(4);
    }
    names.sort();
    return names;
}

QByteArray ReadPlain(const QString& name)
{
    QFile file(kPlainRoot + name + QStringLiteral(".txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

class ShippedModels : public ::testing::Test {
protected:
    void SetUp() override
    {
        CalculationAborted = 0;
        CurrentTargetCell = nullptr;
        DerivativeMode = 0;
        SensitivityPassEnabled = true;
        QuelvarMode = false;
        savedDigits_ = SignificantDigits;
    }
    void TearDown() override
    {
        SignificantDigits = savedDigits_;
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
    }

    // The shipped file as the program finds it in its folder.
    static QString Shipped(const QString& name) { return test::TestProgramFolder() + name + QStringLiteral(".stm"); }

    std::unique_ptr<TCell> LoadAndCalculate(const QString& name)
    {
        auto root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        QString error;
        EXPECT_TRUE(LoadModelFile(*root, Shipped(name), &error)) << name.toStdString() << ": " << error.toStdString();
        QuantityList.Clear();
        root->Calculate();
        return root;
    }

private:
    quint8 savedDigits_ = 2;
};

TEST_F(ShippedModels, WriteScrambledFilesWhenAsked)
{
    const QByteArray target = qgetenv("ORVEK_WRITE_SHIPPED_MODELS");
    if (target.isEmpty())
        GTEST_SKIP() << "set ORVEK_WRITE_SHIPPED_MODELS to the source folder to write the files";
    for (const QString& name : PlainModels()) {
        const QString file = QString::fromLocal8Bit(target) + QStringLiteral("/data/") + name + QStringLiteral(".stm");
        QDir().mkpath(QFileInfo(file).path());
        QString error;
        EXPECT_TRUE(WriteScrambledModelFile(file, QString::fromUtf8(ReadPlain(name)), &error)) << error.toStdString();
    }
}

TEST_F(ShippedModels, EachShippedFileHoldsItsPlainText)
{
    const QStringList names = PlainModels();
    ASSERT_EQ(names.size(), 14);
    for (const QString& name : names) {
        QByteArray scrambled;
        QString error;
        ASSERT_TRUE(ReadWholeFile(Shipped(name), scrambled, &error))
            << name.toStdString() << ": " << error.toStdString();
        // The file ends with one 0 byte after the scrambled text.
        ASSERT_TRUE(scrambled.endsWith('\0')) << name.toStdString();
        scrambled.chop(1);
        EXPECT_TRUE(UnscrambleModelText(scrambled) == ReadPlain(name)) << name.toStdString();
    }
}

// Published results, compared at the digits the publication prints: the value and U
// formatted together with two significant digits of U, u with the digits printed.
struct PublishedResult {
    const char* name; // below Validation/<language>/ or DemoExamples/<language>/
    quint8 digits; // significant digits the evaluation runs with
    const char* value;
    const char* u; // formatted with UDigits
    quint8 uDigits;
    const char* k;
    const char* expanded;
    const char* dof; // integer part of the effective degrees of freedom; empty: not checked
};

constexpr PublishedResult kPublished[] = {
    // EA-4/02 S2: 10 000,025 g, u = 29,3 mg, U = 59 mg (k = 2).
    { "Validation/%1/S2_%2", 3, "10000.025", "0.0293", 3, "2", "0.059", "" },
    // S3: 10 000,178 Ohm, u = 8,3 mOhm, U = 0,017 Ohm.
    { "Validation/%1/S3_%2", 3, "10000.178", "0.0083", 2, "2", "0.017", "" },
    // S4: 49,999 926 mm, u = 36,4 nm, U = 73 nm.
    { "Validation/%1/S4_%2", 3, "49.999926", "0.0000364", 3, "2", "0.000073", "" },
    // S5, furnace temperature: 1 000,5 deg C, u = 0,64 deg C (U = 1,3 deg C with k = 2).
    { "Validation/%1/S5_1_%2", 2, "1000.5", "0.64", 2, "2", "1.3", "" },
    // S5, emf of the thermocouple at 1 000,0 deg C: 36 229 uV, u = 25,0 uV, U = 50 uV.
    { "Validation/%1/S5_2_%2", 2, "36229", "25.0", 3, "2", "50", "" },
    // JCGM 100 H.1 at 99 %: 50,000 838 mm, u = 32 nm, nu_eff = 16, k = 2,92, U = 93 nm.
    { "Validation/%1/Valid%2", 2, "50.000838", "0.000032", 2, "2.92", "0.000093", "16" },
    // EURACHEM/CITAC QUAM A3: 0,10139 mol/L, u = 0,00018 mol/L; nu_eff and k from
    // tests/tools/titration_references.py (494, 1,96).
    { "DemoExamples/%1/DEMO A3 %2", 2, "0.10139", "0.00018", 2, "1.96", "0.00035", "494" },
};

// The file of a table row in a language: the row's name with the language folder and
// the start of the file name matched against the plain texts.
QString FileOf(const PublishedResult& row, const QString& language)
{
    const QString pattern = QString::fromLatin1(row.name);
    const QString folder = pattern.section(QLatin1Char('/'), 0, 0) + QLatin1Char('/') + language + QLatin1Char('/');
    const QString prefix = pattern.section(QLatin1Char('/'), 2).section(QStringLiteral("%2"), 0, 0);
    for (const QString& name : PlainModels())
        if (name.startsWith(folder) && name.mid(folder.size()).startsWith(prefix))
            return name;
    return QString();
}

TEST_F(ShippedModels, EachModelGivesItsPublishedResultInBothLanguages)
{
    for (const QString& language : { QStringLiteral("EN"), QStringLiteral("SK") }) {
        for (const PublishedResult& row : kPublished) {
            const QString name = FileOf(row, language);
            ASSERT_FALSE(name.isEmpty()) << row.name << " " << language.toStdString();
            SCOPED_TRACE(name.toStdString());
            SignificantDigits = row.digits;
            auto root = LoadAndCalculate(name);
            EXPECT_EQ(root->FCoverageFactor.Text.toStdString(), row.k);
            if (*row.dof) {
                EXPECT_EQ(root->FDegreesOfFreedom.section(QLatin1Char('.'), 0, 0).toStdString(), row.dof);
            }

            SignificantDigits = 2;
            QString value, expanded;
            FormatValueAndUncertainty(root->FValue.Text, root->FExpandedUncertainty, value, expanded);
            EXPECT_EQ(value.toStdString(), row.value);
            EXPECT_EQ(expanded.toStdString(), row.expanded);
            SignificantDigits = row.uDigits;
            QString u;
            FormatValueAndUncertainty(root->FValue.Text, root->FCombinedUncertainty, value, u);
            EXPECT_EQ(u.toStdString(), row.u);
        }
    }
}

// ORVEK_WRITE_VALIDATION_RTF=<folder> writes the full report of each validation example
// as RTF into <folder>/EN and <folder>/SK, in the order of the validation menu, for the
// validation report (scripts/make-validation-reports).
TEST_F(ShippedModels, WriteFullReportsWhenAsked)
{
    const QString target = qEnvironmentVariable("ORVEK_WRITE_VALIDATION_RTF");
    if (target.isEmpty())
        GTEST_SKIP() << "set ORVEK_WRITE_VALIDATION_RTF to a folder to write the reports";
    const quint8 savedLanguage = LanguageID;
    AppDir = test::TestProgramFolder();
    ReportFontSize = 10;
    ReportSections = 27;
    for (const QString& language : { QStringLiteral("EN"), QStringLiteral("SK") }) {
        LanguageID = language == QLatin1String("SK") ? 1 : 0;
        UpdateHeadingMarkup();
        QDir().mkpath(target + QLatin1Char('/') + language);
        int number = 0;
        for (const PublishedResult& row : kPublished) {
            if (QString::fromLatin1(row.name).startsWith(QLatin1String("Demo")))
                continue;
            const QString name = FileOf(row, language);
            SignificantDigits = row.digits;
            auto root = LoadAndCalculate(name);
            QString comment = root->FCellComment.Text;
            comment.replace(QStringLiteral("@@@"), QStringLiteral("\r\n"));
            const QString markup = HeadingMarkup + root->FCellName.Text + QStringLiteral("[cf1]\r\n") + comment
                + QStringLiteral("\r\n\r\n") + FullReportText(*root).replace(DiagramPlaceholder, QString());
            QTextDocument document;
            RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, &document, markup);
            QFile file(QStringLiteral("%1/%2/%3_%4.rtf")
                           .arg(target, language)
                           .arg(++number, 2, 10, QLatin1Char('0'))
                           .arg(QFileInfo(name).fileName()));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(WriteRtf(&document));
        }
    }
    LanguageID = savedLanguage;
}

} // namespace
} // namespace orvek
