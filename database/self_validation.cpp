// The self-validation of the evaluation on the shipped demonstration model.

#include "database/self_validation.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/dates.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/model_file.h"
#include "platform/dialogs.h"
#include "richtext/report_table.h"

#include <QDir>
#include <QFileInfo>

#include <exception>
#include <memory>

namespace orvek {

namespace {

// Results of the root cell of the demonstration model, computed from the published
// inputs by tests/tools/titration_references.py, independently of the program, and cut
// as the comparison cuts them. The first four are written with "," and normalised to
// the own separator before use.
constexpr const char* kReferenceValue = "0,10138";
constexpr const char* kReferenceU = "0,00017";
constexpr const char* kReferenceRelativeU = "0,17730";
constexpr const char* kReferenceExpandedU = "0,00035";
constexpr const char* kReferenceDegreesOfFreedom = "494";
// Row labels: value, standard uncertainty, relative standard uncertainty in %, expanded
// uncertainty, effective degrees of freedom.
constexpr int kLabels[5] = { 237, 87, 301, 355, 757 };
constexpr const char* kProgramVersion = "5.32";

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

QString Bold(const QString& text)
{
    return QStringLiteral("[cf3]") + text + QStringLiteral("[cf1]");
}

QString DoubledBackslashes(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

// The settings and switches a run changes, put back whatever way it ends.
class RunSettings {
public:
    RunSettings()
        : digits_(SignificantDigits)
        , derivativeMode_(DerivativeMode)
        , cellIdCounter_(CellIdCounter)
        , loadValuesOnPaste_(LoadValuesOnPaste)
        , askOnPaste_(AskOnPaste)
    {
        SignificantDigits = 2;
        DerivativeMode = 0;
    }
    ~RunSettings()
    {
        SignificantDigits = digits_;
        DerivativeMode = derivativeMode_;
        CellIdCounter = cellIdCounter_;
        LoadValuesOnPaste = loadValuesOnPaste_;
        AskOnPaste = askOnPaste_;
        QuantityList.Clear();
    }
    RunSettings(const RunSettings&) = delete;
    RunSettings& operator=(const RunSettings&) = delete;

private:
    quint8 digits_;
    int derivativeMode_;
    int cellIdCounter_;
    bool loadValuesOnPaste_;
    bool askOnPaste_;
};

QString DemonstrationFolder()
{
    return AppDir + (LanguageID == 1 ? QStringLiteral("DemoExamples/SK/") : QStringLiteral("DemoExamples/EN/"));
}

QString DemonstrationFileName()
{
    return LanguageID == 1 ? QStringLiteral("DEMO A3 Acidobazicka titracia - EURACHEM 2000 - A3.stm")
                           : QStringLiteral("DEMO A3 An Acid-Base Titration - EURACHEM 2000 - A3.stm");
}

// The previous runs of the log, unscrambled; empty when there is none. False when a log
// exists but cannot be read.
bool ReadLog(const QString& fileName, QString& log, QString& error)
{
    log.clear();
    if (!QFileInfo::exists(fileName))
        return true;
    QByteArray bytes;
    if (!ReadWholeFile(fileName, bytes, &error))
        return false;
    // The file ends with one 0 byte after the scrambled text.
    if (bytes.endsWith('\0'))
        bytes.chop(1);
    log = QString::fromUtf8(UnscrambleModelText(bytes));
    return true;
}

} // namespace

QString CutResultText(const QString& text, QChar separator)
{
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return text.left(5);
    return text.left(at + 1 + 5);
}

QString CutDegreesOfFreedomText(const QString& text, QChar separator)
{
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

QString ValidationExamplesFolder()
{
    return AppDir + (LanguageID == 1 ? QStringLiteral("Validation/SK/") : QStringLiteral("Validation/EN/"));
}

QString DemonstrationModelFile()
{
    return DemonstrationFolder() + DemonstrationFileName();
}

bool SelfValidation(QString& ResultText, QString& Report)
{
    const QString references[5] = {
        NormalizeNumberText(QString::fromLatin1(kReferenceValue).trimmed()),
        NormalizeNumberText(QString::fromLatin1(kReferenceU).trimmed()),
        NormalizeNumberText(QString::fromLatin1(kReferenceRelativeU).trimmed()),
        NormalizeNumberText(QString::fromLatin1(kReferenceExpandedU).trimmed()),
        QString::fromLatin1(kReferenceDegreesOfFreedom),
    };
    QString programFolder = AppDir;
    if (programFolder.endsWith(QLatin1Char('/')))
        programFolder.chop(1);
    const QString examplesFolder = DemonstrationFolder();
    const QString exampleFile = DemonstrationModelFile();

    if (!QFileInfo::exists(exampleFile)) {
        MessageDlg(GetString(914, { QStringLiteral("\r\r"), exampleFile }), TMsgDlgType::mtError, mbCancel);
        return false;
    }

    RunSettings settings;
    std::unique_ptr<TCell> root;
    try {
        const QString logFile = DatabaseDir + QString::fromLatin1(kValidationLogFile);
        QString log, error;
        if (!ReadLog(logFile, log, error)) {
            MessageDlg(GetString(22001, { logFile, error }), TMsgDlgType::mtError, mbCancel);
            return false;
        }

        ClearNewCellInfo();
        CellIdCounter = 1;
        LoadValuesOnPaste = true;
        AskOnPaste = false;
        root = std::make_unique<TCell>(nullptr, NewCellInfo, 0, 0, nullptr);
        if (!LoadModelFile(*root, exampleFile, &error)) {
            MessageDlg(GetString(22000, { exampleFile, error }), TMsgDlgType::mtError, mbCancel);
            return false;
        }
        QuantityList.Clear();
        root->Calculate();

        const QChar separator = root->FValue.Text.contains(QLatin1Char(',')) ? QLatin1Char(',') : QLatin1Char('.');
        const QString computed[5] = {
            CutResultText(root->FValue.Text, separator),
            CutResultText(root->FCombinedUncertainty, separator),
            CutResultText(root->FRelativeUncertainty, separator),
            CutResultText(root->FExpandedUncertainty, separator),
            CutDegreesOfFreedomText(root->FDegreesOfFreedom, separator),
        };

        ReportTableOwner tableOwner;
        TStringTable& table = tableOwner.Table();
        const QDateTime now = Now();
        const QString moment = DateToShortText(now.date()) + QLatin1Char(' ') + TimeToText(now.time());
        const QString version = ProgramName + QLatin1Char(' ') + QString::fromLatin1(kProgramVersion);

        // The head of the run: program, moment, folders and file.
        table.Clear();
        table.RowCount = 5;
        table.ColCount = 2;
        table.ColWidths[1] = 3600;
        table.ColWidths[2] = 5800;
        const int headLabels[5] = { 909, 915, 910, 911, 916 };
        const QString headValues[5] = { version, moment, DoubledBackslashes(programFolder),
            DoubledBackslashes(examplesFolder), DemonstrationFileName() };
        for (int row = 1; row <= 5; ++row) {
            table.Cells(1, row) = Bold(GetString(headLabels[row - 1]));
            table.Cells(2, row) = headValues[row - 1];
        }
        QString block;
        BuildTableMarkup(false, 0, ReportTableFontSize, block, 10);
        Report += HeadingMarkup + GetString(899) + QStringLiteral("[cf1] ") + CRLF + block + CRLF;

        QString run = CR + CR + QStringLiteral("---------------------------") + CR;
        run += GetString(909) + QLatin1Char(' ') + version + CR;
        run += GetString(915) + QLatin1Char(' ') + moment + CR;
        run += GetString(910) + QLatin1Char(' ') + programFolder + CR;
        run += GetString(911) + QLatin1Char(' ') + examplesFolder + CR;
        run += GetString(916) + QLatin1Char(' ') + DemonstrationFileName() + CR;
        run += GetString(891) + CR;

        // The comparison: one row per result.
        table.Clear();
        table.RowCount = 6;
        table.ColCount = 4;
        table.Cells(2, 1) = QStringLiteral("[cf3] Eurachem [cf1]");
        table.Cells(3, 1) = QStringLiteral("[cf3] Vypočítané [cf1]");
        table.Cells(4, 1) = Bold(GetString(891));
        bool allEqual = true;
        for (int i = 0; i < 5; ++i) {
            const bool equal = computed[i] == references[i];
            allEqual = allEqual && equal;
            const QString verdict = GetString(equal ? 897 : 898);
            const QString label = GetString(kLabels[i]);
            table.Cells(1, i + 2) = Bold(label);
            table.Cells(2, i + 2) = references[i];
            table.Cells(3, i + 2) = computed[i];
            table.Cells(4, i + 2) = verdict;
            run += label + QStringLiteral(" Ref = ") + references[i] + QStringLiteral("    Calc = ") + computed[i]
                + QStringLiteral(" (") + verdict + QStringLiteral(")") + CR;
        }
        block.clear();
        BuildTableMarkup(true, 0, ReportTableFontSize, block, 10);
        Report += QStringLiteral(" [cf3] ") + GetString(917) + QStringLiteral(" [cf1] ") + block + CRLF;

        // The log is replaced whole: a save file that is renamed over the old log only
        // when it was written completely.
        if (!WriteScrambledModelFile(logFile, log + run, &error)) {
            MessageDlg(GetString(22001, { logFile, error }), TMsgDlgType::mtError, mbCancel);
            return false;
        }

        ResultText = GetString(allEqual ? 897 : 898);
        Report += QStringLiteral(" [cf3] ") + GetString(allEqual ? 912 : 913) + QStringLiteral("[cf1] ");
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace orvek
