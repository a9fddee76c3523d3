// The evaluation on numbers against the evaluation on formula texts: every result
// field of every cell, the working lists and the messages shown must be the same,
// byte for byte, on generated models and on the stored example models.

#include "core/common_vars.h"
#include "core/decimal_digits.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/compiled_equation.h"
#include "engine/evaluation.h"
#include "engine/expression.h"
#include "engine/formula_arithmetic.h"
#include "engine/model_file.h"
#include "engine/number_twin.h"
#include "platform/dialogs.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace orvek {
namespace {

// Answers every box with Cancel and keeps its text.
class RecordingDialogs : public DialogHandler {
public:
    RecordingDialogs()
        : previous_(SetDialogHandler(this))
    {
    }
    ~RecordingDialogs() override { SetDialogHandler(previous_); }
    int MessageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons, int) override
    {
        Shown << text;
        return mrCancel;
    }
    bool OpenFileDialog(FileDialogRequest&) override { return false; }
    bool SaveFileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(std::uint32_t&) override { return false; }
    bool FontDialog(QString&, int&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    QStringList Shown;

private:
    DialogHandler* previous_;
};

// Every field the evaluation writes, one line per cell, and the stored diagram text.
void DumpResults(TCell& cell, QStringList& out)
{
    out << QStringList { cell.FCellName.Text, cell.FValue.Text, cell.FCombinedUncertainty, cell.FRelativeUncertainty,
        cell.FExpandedUncertainty, cell.FRelativeExpandedUncertainty, cell.FDegreesOfFreedom, cell.FCoverageFactor.Text,
        cell.FSensitivity, cell.FNumSensitivity, cell.FNumContribution, cell.FErrorText, cell.FUncertaintyInput.HSN,
        QString::number(cell.FLargestContribution), QString::number(cell.FBox.Color) }
               .join(QLatin1Char('|'));
    for (const auto& child : cell.FChildren)
        DumpResults(*child, out);
}

struct RouteResult {
    QStringList fields;
    QString diagram;
    QStringList sources;
    QStringList messages;
    QString parserError;
};

RouteResult Evaluate(TCell& root, bool numeric)
{
    RecordingDialogs dialogs;
    NumericEvaluation = numeric;
    ForgetRememberedResults();
    CalculationAborted = 0;
    CurrentTargetCell = nullptr;
    root.Calculate();
    CalculationAborted = 0;
    // The text route calculates the tree again at the end of the pass; the numbers
    // reuse the calculation just made, which must come to the same texts.
    root.ComputeSensitivityByDifference(
        TSensitivityRoute::Path, numeric ? TPassStart::JustCalculated : TPassStart::Uncalculated);
    NumericEvaluation = true;
    RouteResult r;
    DumpResults(root, r.fields);
    // The stored text without the cell numbers, which count every cell ever made.
    r.diagram = root.SaveToText();
    static const QRegularExpression cellNumbers(QStringLiteral("(BeginCell|EndCell)=\\d+;"));
    r.diagram.replace(cellNumbers, QStringLiteral("\\1;"));
    for (const TInfo_o_bunkach_typu_neistota& s : UncertaintySourceList)
        r.sources << QStringLiteral("%1|%2|%3|%4")
                         .arg(s.CellName)
                         .arg(s.UncertaintyValue, 0, 'g', 17)
                         .arg(s.Sensitivity, 0, 'g', 17)
                         .arg(s.Contribution, 0, 'g', 17);
    r.messages = dialogs.Shown;
    r.parserError = ParserErrorText;
    return r;
}

void ExpectSameResults(const std::function<std::unique_ptr<TCell>()>& build, const std::string& name)
{
    auto onNumbers = build();
    auto onTexts = build();
    const RouteResult numbers = Evaluate(*onNumbers, true);
    const RouteResult texts = Evaluate(*onTexts, false);
    ASSERT_EQ(numbers.fields.size(), texts.fields.size()) << name;
    for (qsizetype i = 0; i < texts.fields.size(); ++i)
        EXPECT_EQ(numbers.fields[i].toStdString(), texts.fields[i].toStdString()) << name << " cell " << i;
    EXPECT_EQ(numbers.diagram.toStdString(), texts.diagram.toStdString()) << name;
    EXPECT_EQ(numbers.sources, texts.sources) << name;
    EXPECT_EQ(numbers.messages, texts.messages) << name;
    EXPECT_EQ(numbers.parserError, texts.parserError) << name;
}

// Random models: nested equations over quantities of the three value types with
// active, inactive and inner sources, negative, zero, tiny and huge values, typed
// with either separator, correlations, and equations that fail for some inputs.
class ModelGenerator {
public:
    explicit ModelGenerator(unsigned seed)
        : random_(seed)
    {
    }

    std::unique_ptr<TCell> Build()
    {
        auto root = std::make_unique<TCell>(nullptr, EquationInfo("y"), 0, 0, nullptr);
        FillEquation(*root, 0);
        return root;
    }

private:
    int Pick(int n) { return int(random_() % unsigned(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    QString Value()
    {
        if (Chance(8))
            return Chance(50) ? "0" : "0,0";
        QString digits = QString::number(1 + Pick(9));
        for (int i = Pick(12); i > 0; --i)
            digits += QChar('0' + Pick(10));
        const int exponent = Pick(100) < 80 ? Pick(9) - 4 : Pick(40) - 20;
        QString text;
        if (Chance(15))
            text = digits.left(1) + (digits.size() > 1 ? "." + digits.mid(1) : "") + "E" + QString::number(exponent);
        else {
            long double v = 0;
            TryStrToExtendedNeutral(digits + "E" + QString::number(exponent - int(digits.size()) + 1), v);
            text = FloatToGeneralText(v);
            if (Chance(15))
                text.replace('.', ',');
        }
        return Chance(30) ? "-" + text : text;
    }

    QString Uncertainty()
    {
        if (Chance(3))
            return "0";
        QString v = Value();
        v.remove('-');
        return v == "0" || v == "0,0" ? "0.01" : v;
    }

    QString DegreesOfFreedom()
    {
        if (Chance(40))
            return "Nekonecno";
        if (Chance(3))
            return "0";
        return QString::number(1 + Pick(60));
    }

    TPrenosInfoDoNovejBunky EquationInfo(const QString& symbol)
    {
        TPrenosInfoDoNovejBunky info;
        info.CellType = kEquationCell;
        info.CellName = info.Symbol = symbol;
        info.Coverage = quint8(Pick(3));
        return info;
    }

    void AddSource(TCell& parent, int depth = 0)
    {
        TPrenosInfoDoNovejBunky info;
        info.CellType = kUncertaintyCell;
        info.CellName = QStringLiteral("s%1").arg(counter_++);
        info.Active = Chance(88) ? 1 : 0;
        info.UncertaintyInput.TSN = 3;
        info.UncertaintyInput.SO_2_3.Text = Uncertainty();
        info.UncertaintyInput.PSV_2_3.Text = DegreesOfFreedom();
        info.UncertaintyInput.HSN = info.UncertaintyInput.SO_2_3.Text;
        TCell* source = parent.AddChild(info);
        if (depth == 0 && Chance(10))
            for (int i = 0; i < 2; ++i)
                AddSource(*source, 1);
    }

    QString AddQuantity(TCell& parent)
    {
        TPrenosInfoDoNovejBunky info;
        info.CellType = kQuantityCell;
        info.CellName = info.Symbol = info.QuantityName = QStringLiteral("q%1").arg(counter_++);
        info.Value = Value();
        const int kind = Pick(100);
        info.ValueType = kind < 80 ? 0 : kind < 90 ? 1 : 2;
        if (info.ValueType == 2) {
            info.CombinedUncertainty = Uncertainty();
            info.DegreesOfFreedom = DegreesOfFreedom();
        }
        TCell* q = parent.AddChild(info);
        if (info.ValueType == 0)
            for (int i = 1 + Pick(3); i > 0; --i)
                AddSource(*q);
        return info.Symbol;
    }

    void FillEquation(TCell& equation, int depth)
    {
        static const char* const shapes[] = { "%1", "%1^2", "SQRT(ABS(%1))", "EXP(%1/1000)", "1/%1", "%1*%2",
            "LN(ABS(%1)+1)", "%1^3", "COS(%1)", "(%1-%2)/(%2+2)", "%1/%2", "POWER(ABS(%1);0.5)" };
        QStringList symbols;
        const int inputs = 1 + Pick(5);
        for (int i = 0; i < inputs; ++i) {
            if (depth < 2 && Chance(25)) {
                const QString symbol = QStringLiteral("e%1").arg(counter_++);
                TCell* sub = equation.AddChild(EquationInfo(symbol));
                FillEquation(*sub, depth + 1);
                symbols << symbol;
            } else {
                symbols << AddQuantity(equation);
            }
        }
        QString rhs;
        for (int i = 0; i < inputs; ++i) {
            const QString term = QString(shapes[Pick(int(std::size(shapes)))])
                                     .replace("%1", symbols[i])
                                     .replace("%2", symbols[(i + 1) % inputs]);
            rhs += i == 0 ? term : QString(Chance(70) ? "+" : Chance(50) ? "-" : "*") + term;
        }
        equation.FEquation = equation.FSymbol.Text + " = " + rhs;
        equation.FNormalizedEquation = equation.FSymbol.Text + "=" + rhs;
        if (Chance(20)) {
            QString matrix;
            for (int r = 0; r < inputs; ++r) {
                for (int c = 0; c < inputs; ++c) {
                    const QString v = r == c ? "1" : QString::number(Pick(21) / 10.0 - 1.0);
                    matrix += v + "#";
                }
                matrix += "@";
            }
            equation.FCorrelationMatrix.Text = matrix;
        }
        if (Chance(15))
            AddSource(equation);
    }

    std::mt19937 random_;
    int counter_ = 0;
};

class EvaluationRoutes : public ::testing::Test {
protected:
    void SetUp() override
    {
        CalculationAborted = 0;
        CurrentTargetCell = nullptr;
        DerivativeMode = 0;
        ZeroToCalculations = false;
        SensitivityPassEnabled = true;
        SignificantDigits = 2;
        QuelvarMode = false;
        // The string table gives the messages their texts.
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
    }
    void TearDown() override
    {
        DerivativeMode = 0;
        ZeroToCalculations = false;
        OwnDecimalSeparator = QChar('.');
        ForeignDecimalSeparator = QChar(',');
        NumericEvaluation = true;
        LanguageID = EditionFlag;
    }
};

TEST_F(EvaluationRoutes, GeneratedModelsGiveTheSameTexts)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        DerivativeMode = quint8(seed % 2);
        ZeroToCalculations = (seed / 2) % 2 == 1;
        SignificantDigits = 2 + int(seed % 3);
        const bool comma = seed % 7 == 0;
        OwnDecimalSeparator = QChar(comma ? ',' : '.');
        ForeignDecimalSeparator = QChar(comma ? '.' : ',');
        ExpectSameResults([seed] { return ModelGenerator(seed).Build(); }, "seed " + std::to_string(seed));
        if (HasFailure())
            return;
    }
}

TEST_F(EvaluationRoutes, StoredModelsGiveTheSameTexts)
{
    const QDir folder(QStringLiteral(ORVEK_TEST_DATA_DIR "/models"));
    const QStringList names = folder.entryList({ "*.txt" }, QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        for (quint8 mode : { 0, 1 }) {
            DerivativeMode = mode;
            ExpectSameResults(
                [&] {
                    auto root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
                    QString error;
                    EXPECT_TRUE(LoadModelFile(*root, folder.filePath(name), &error)) << error.toStdString();
                    return root;
                },
                name.toStdString() + " mode " + std::to_string(mode));
        }
    }
}

// The cells of a tree in tree order that Wanted accepts.
std::vector<TCell*> CellsWhere(TCell& root, const std::function<bool(const TCell&)>& wanted)
{
    std::vector<TCell*> cells;
    std::function<void(TCell&)> walk = [&](TCell& cell) {
        if (wanted(cell))
            cells.push_back(&cell);
        for (const auto& child : cell.FChildren)
            walk(*child);
    };
    walk(root);
    return cells;
}

// The N-th cell (modulo their count) that Wanted accepts; null when there is none.
TCell* NthCell(TCell& root, size_t n, const std::function<bool(const TCell&)>& wanted)
{
    const std::vector<TCell*> cells = CellsWhere(root, wanted);
    return cells.empty() ? nullptr : cells[n % cells.size()];
}

bool IsQuantity(const TCell& c)
{
    return c.FCellType == kQuantityCell;
}
bool IsLeafSource(const TCell& c)
{
    return c.FCellType == kUncertaintyCell && c.FChildren.empty();
}
bool IsEquation(const TCell& c)
{
    return c.FCellType == kEquationCell;
}

// One change a user can make between two calculations, applied alike to two copies
// of a model (the N-th cell of its kind); False when the model has no such cell.
struct ModelEdit {
    const char* name;
    std::function<bool(TCell& root, size_t n)> apply;
    std::function<void()> undoSetting = [] { };
};

const std::vector<ModelEdit>& ModelEdits()
{
    static const std::vector<ModelEdit> edits {
        { "nothing", [](TCell&, size_t) { return true; } },
        { "quantity value",
            [](TCell& root, size_t n) {
                TCell* q = NthCell(root, n, IsQuantity);
                return q && (q->FValue.Text = "2.75", true);
            } },
        { "quantity value cleared",
            [](TCell& root, size_t n) {
                TCell* q = NthCell(root, n, IsQuantity);
                return q && (q->FValue.Text.clear(), true);
            } },
        { "quantity value type",
            [](TCell& root, size_t n) {
                TCell* q = NthCell(root, n, IsQuantity);
                if (!q)
                    return false;
                // A value-only quantity has no uncertainty of its own.
                q->FValueType = q->FValueType == 1 ? 0 : 1;
                q->FCombinedUncertainty.clear();
                return true;
            } },
        { "source uncertainty",
            [](TCell& root, size_t n) {
                TCell* s = NthCell(root, n, IsLeafSource);
                if (!s)
                    return false;
                // As the source dialog stores it.
                s->FUncertaintyInput.SO_2_3.Text = s->FUncertaintyInput.HSN = s->FCombinedUncertainty = "0.0375";
                return true;
            } },
        { "source degrees of freedom",
            [](TCell& root, size_t n) {
                TCell* s = NthCell(root, n, IsLeafSource);
                return s && (s->FUncertaintyInput.PSV_2_3.Text = "7", true);
            } },
        { "source switched",
            [](TCell& root, size_t n) {
                TCell* s = NthCell(root, n, IsLeafSource);
                return s && (s->FActive = !s->FActive, true);
            } },
        { "equation",
            [](TCell& root, size_t n) {
                TCell* e = NthCell(root, n, IsEquation);
                if (!e)
                    return false;
                e->FNormalizedEquation += "*1.5";
                e->FEquation += "*1.5";
                return true;
            } },
        { "equation coverage",
            [](TCell& root, size_t n) {
                TCell* e = NthCell(root, n, IsEquation);
                if (!e)
                    return false;
                e->FCoverage = 3;
                e->FCoverageFactor.Text = "2.5";
                return true;
            } },
        { "correlation",
            [](TCell& root, size_t n) {
                TCell* e = NthCell(root, n, IsEquation);
                if (!e)
                    return false;
                const int inputs = int(CorrelationMatrixChildren(*e).size());
                QString matrix;
                for (int r = 0; r < inputs; ++r) {
                    for (int c = 0; c < inputs; ++c)
                        matrix += (r == c ? "1" : "0.5") + QStringLiteral("#");
                    matrix += "@";
                }
                e->FCorrelationMatrix.Text = matrix;
                return true;
            } },
        { "quantity added",
            [](TCell& root, size_t n) {
                TCell* e = NthCell(root, n, IsEquation);
                if (!e)
                    return false;
                TPrenosInfoDoNovejBunky info;
                info.CellType = kQuantityCell;
                info.CellName = info.Symbol = info.QuantityName = "added";
                info.Value = "3.5";
                TCell* q = e->AddChild(info);
                TPrenosInfoDoNovejBunky source;
                source.CellType = kUncertaintyCell;
                source.Active = 1;
                source.UncertaintyInput.TSN = 3;
                source.UncertaintyInput.SO_2_3.Text = source.UncertaintyInput.HSN = "0.25";
                source.UncertaintyInput.PSV_2_3.Text = "12";
                q->AddChild(source);
                e->FNormalizedEquation += "+added^2";
                e->FEquation += "+added^2";
                return true;
            } },
        { "source removed",
            [](TCell& root, size_t n) {
                TCell* s = NthCell(root, n, IsLeafSource);
                return s && (s->FParent->RemoveChild(s), true);
            } },
        { "derivative mode", [](TCell&, size_t) { return (DerivativeMode = 1 - DerivativeMode, true); },
            [] { DerivativeMode = 1 - DerivativeMode; } },
        { "significant digits", [](TCell&, size_t) { return (SignificantDigits = 4, true); },
            [] { SignificantDigits = 2; } },
        { "separator",
            [](TCell&, size_t) {
                OwnDecimalSeparator = QChar(',');
                ForeignDecimalSeparator = QChar('.');
                return true;
            },
            [] {
                OwnDecimalSeparator = QChar('.');
                ForeignDecimalSeparator = QChar(',');
            } },
    };
    return edits;
}

// After an edit, a calculation that keeps what did not change must leave every field,
// the stored text, the lists and the messages as a calculation of everything does,
// on numbers and on formula texts. Both start from the same history: a model that
// loses a value keeps the coverage factor and coefficients of its last complete
// calculation, which a fresh copy never had.
void ExpectEditsKeepTheTexts(const std::function<std::unique_ptr<TCell>()>& build, const std::string& name)
{
    auto calculatedEdited = [&](const ModelEdit& edit, size_t n, bool keep, bool numeric) {
        auto root = build();
        Evaluate(*root, true);
        RouteResult r;
        if (!edit.apply(*root, n))
            return std::pair(false, r);
        if (!keep)
            ForgetCalculations();
        r = Evaluate(*root, numeric);
        edit.undoSetting();
        return std::pair(true, r);
    };
    for (const ModelEdit& edit : ModelEdits()) {
        for (size_t n : { size_t(0), size_t(3), size_t(7) }) {
            const std::string what = name + ", " + edit.name + " " + std::to_string(n);
            const auto [edited, incremental] = calculatedEdited(edit, n, true, true);
            if (!edited)
                continue;
            const RouteResult numbers = calculatedEdited(edit, n, false, true).second;
            const RouteResult texts = calculatedEdited(edit, n, false, false).second;
            for (const RouteResult* full : { &numbers, &texts }) {
                ASSERT_EQ(incremental.fields.size(), full->fields.size()) << what;
                for (qsizetype i = 0; i < full->fields.size(); ++i)
                    ASSERT_EQ(incremental.fields[i].toStdString(), full->fields[i].toStdString())
                        << what << " cell " << i;
                ASSERT_EQ(incremental.diagram.toStdString(), full->diagram.toStdString()) << what;
                ASSERT_EQ(incremental.sources, full->sources) << what;
                ASSERT_EQ(incremental.messages, full->messages) << what;
                ASSERT_EQ(incremental.parserError, full->parserError) << what;
            }
        }
    }
}

TEST_F(EvaluationRoutes, EditsKeepTheTextsOfAFreshCalculation)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        DerivativeMode = quint8(seed % 2);
        ExpectEditsKeepTheTexts([seed] { return ModelGenerator(seed).Build(); }, "seed " + std::to_string(seed));
        if (HasFailure())
            return;
    }
    const QDir folder(QStringLiteral(ORVEK_TEST_DATA_DIR "/models"));
    for (const QString& name : folder.entryList({ "*.txt" }, QDir::Files, QDir::Name)) {
        ExpectEditsKeepTheTexts(
            [&] {
                auto root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
                QString error;
                EXPECT_TRUE(LoadModelFile(*root, folder.filePath(name), &error)) << error.toStdString();
                return root;
            },
            name.toStdString());
        if (HasFailure())
            return;
    }
}

// The arithmetic that stands in for formula texts, against the texts themselves on
// numbers of every size: the order of a sum, squares, roots and quotients.
TEST_F(EvaluationRoutes, ArithmeticFollowsTheFormulaTexts)
{
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> power(-12, 12);
    auto number = [&] { return FloatToGeneralText(unit(random) * std::pow(10.0L, power(random))); };
    for (int i = 0; i < 3000; ++i) {
        std::vector<QString> terms;
        for (int k = 1 + int(random() % 12); k > 0; --k)
            terms.push_back(number());
        long double root = 0;
        ASSERT_TRUE(RootSumOfSquares(terms, root));
        QString text;
        EvaluateExpression("SQRT(" + SumOfSquaresText(terms) + ")", text);
        ASSERT_EQ(FloatToGeneralText(root), text) << SumOfSquaresText(terms).toStdString();

        const QString u = terms[0], v = number();
        EvaluateExpression("100*Abs(" + u + "/" + FormulaOperand(v) + ")", text);
        ASSERT_EQ(RelativeUncertaintyText(u, v, TRelativeForm::Quantity), text);
        EvaluateExpression("Abs(100*" + u + "/" + FormulaOperand(v) + ")", text);
        ASSERT_EQ(RelativeUncertaintyText(u, v, TRelativeForm::Equation), text);
        EvaluateExpression(u + "*" + v, text);
        ASSERT_EQ(ProductText(u, v), text);
    }
    // A sum is added from the right, as the parser splits it at its first "+".
    QString text;
    EvaluateExpression("1+(1E10)^2+(-1E20)", text);
    long double sum = 0;
    ASSERT_TRUE(SumAsFormula({ 1, 1e20L, -1e20L }, sum));
    EXPECT_EQ(FloatToGeneralText(sum), text);
    EXPECT_EQ(text, "1");

    // What the numbers cannot tell goes to the formula, with its error.
    EvaluateExpression("100*Abs(1/0/5)", text);
    const QString divisionByZero = ParserErrorText;
    ParserErrorText.clear();
    EXPECT_EQ(RelativeUncertaintyText("1/0", "5", TRelativeForm::Quantity), "");
    EXPECT_EQ(ParserErrorText, divisionByZero);
    EXPECT_EQ(RelativeUncertaintyText("1", "4", TRelativeForm::Quantity), "25");
    EXPECT_TRUE(ParserErrorText.isEmpty());
}

// Beyond 2000 quantities the pass says once that it gives no coefficients, and no
// coefficient of an earlier pass is left for a report to show.
TEST_F(EvaluationRoutes, ModelBeyondTheQuantityLimitGetsNoCoefficients)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    QStringList subs;
    auto root = std::make_unique<TCell>(nullptr, info, 0, 0, nullptr);
    for (int e = 0; e < 21; ++e) {
        TPrenosInfoDoNovejBunky sub = info;
        sub.CellName = sub.Symbol = QStringLiteral("e%1").arg(e);
        TCell* equation = root->AddChild(sub);
        QStringList terms;
        for (int q = 0; q < 96; ++q) {
            TPrenosInfoDoNovejBunky quantity;
            quantity.CellType = kQuantityCell;
            quantity.CellName = quantity.Symbol = QStringLiteral("q%1_%2").arg(e).arg(q);
            quantity.Value = "1";
            TCell* cell = equation->AddChild(quantity);
            cell->FNumSensitivity = "2"; // from an earlier pass
            cell->FNumContribution = "0.2";
            terms << quantity.Symbol;
        }
        equation->FNormalizedEquation = sub.Symbol + "=" + terms.join('+');
        subs << sub.Symbol;
    }
    root->FNormalizedEquation = "y=" + subs.join('+');
    root->Child(0)->Child(0)->FLargestContribution = true;

    test::DialogScript& script = test::DialogScript::Instance();
    script.Reset();
    DialogHandler* previous = SetDialogHandler(&script);
    script.AnswerMessage(mrCancel);
    root->ComputeSensitivityByDifference();
    SetDialogHandler(previous);
    EXPECT_TRUE(script.AllAnswered());
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_EQ(script.Shown()[0], GetString(22900));
    EXPECT_FALSE(GetString(22900).isEmpty());
    QStringList left;
    std::function<void(TCell&)> collect = [&](TCell& cell) {
        if (!cell.FNumSensitivity.isEmpty() || !cell.FNumContribution.isEmpty() || cell.FLargestContribution)
            left << cell.FCellName.Text;
        for (const auto& child : cell.FChildren)
            collect(*child);
    };
    collect(*root);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    EXPECT_EQ(QuantityList.Count, 0);
}

// A text keeps its number only while it is unchanged, however it is changed.
TEST_F(EvaluationRoutes, TextsKeepTheirNumbersOnlyWhileUnchanged)
{
    long double v = 0;
    QString text = TwinText(0.25L);
    ASSERT_TRUE(TwinNumber(text, v));
    EXPECT_EQ(v, 0.25L);
    QString edited = text;
    edited[0] = QChar('3'); // in place, as an editor may
    ASSERT_TRUE(TwinNumber(edited, v));
    EXPECT_EQ(v, 3.25L);
    text.replace(QStringLiteral("0.2"), QStringLiteral("-7.2")); // the kept copy still holds the old storage
    ASSERT_TRUE(TwinNumber(text, v));
    EXPECT_EQ(v, -7.25L);
    text = QStringLiteral("x");
    EXPECT_FALSE(TwinNumber(text, v));
    EXPECT_FALSE(TwinNumber(QString(), v));
}

} // namespace
} // namespace orvek
