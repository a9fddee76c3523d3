#include "richtext/spreadsheet_listing.h"

#include "richtext/results_snapshot.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/expression.h"
#include "richtext/report_format.h"

#include <map>
#include <vector>

namespace orvek {

namespace {

const QString LE = QStringLiteral("\r");

QString CoverageLevel(quint8 hs)
{
    static const char* levels[] = { "68.27 %", "90 %", "95 %", "95.45 %", "99 %", "99.73 %" };
    return hs <= 5 ? QString::fromLatin1(levels[hs]) : QString();
}

QString CoverageFactorText(quint8 hs)
{
    static const char* factors[] = { "1.0", "1.645", "1.960", "2.0", "2.576", "3.0" };
    return hs <= 5 ? ToLocalDecimalSeparator(QString::fromLatin1(factors[hs])) : QString();
}

// N^2 as a formula; the number 1 stays 1.
QString Squared(const QString& number)
{
    return number == QLatin1String("1") ? number : number + QStringLiteral("^2");
}

// N^2/D; 1/D for the number 1.
QString SquaredOver(const QString& number, const QString& divisor)
{
    return Squared(number) + QLatin1Char('/') + divisor;
}

// A typed number the listing can write as it stands. Any other text (a damaged record)
// gives the source no term of its own, so that it counts with its u squared.
bool IsNumberText(const QString& text)
{
    double value = 0;
    return TryStrToFloatNeutral(text.trimmed(), value);
}

// One kind of generated name: a number per cell, and the legend lines in order.
struct NameKind {
    explicit NameKind(const char* namePrefix)
        : prefix(QString::fromLatin1(namePrefix))
    {
    }
    QString prefix;
    std::map<const TCell*, int> numbers;
    QStringList legend;

    // The number of Cell's name; Legend makes the legend line of a new name.
    template <typename LegendLine> int Of(const TCell* cell, LegendLine&& legendLine)
    {
        auto it = numbers.find(cell);
        if (it != numbers.end())
            return it->second;
        const int n = int(numbers.size()) + 1;
        numbers.emplace(cell, n);
        legend << prefix + QString::number(n) + QLatin1Char('\t') + legendLine();
        return n;
    }
};

class Listing {
public:
    NameKind var { "VAR" }, n { "N" }, sd { "SD" }, sdm { "SDm" }, a { "a" }, beta { "Beta" };

    static QString Quoted(const QString& symbol) { return QLatin1Char('"') + symbol + QLatin1Char('"'); }
    static QString ParentSymbol(const TCell& c) { return c.FParent ? c.FParent->FSymbol.Text : QString(); }

    int NName(const TCell& c)
    {
        const int m = c.FUncertaintyInput.TSN;
        return n.Of(&c, [&] {
            return GetString(m == 8 || m == 9 || m == 13 ? 1148 : 1149) + QLatin1Char(' ') + Quoted(ParentSymbol(c));
        });
    }
    int SdName(const TCell& c)
    {
        return sd.Of(&c, [&] { return GetString(1147) + QLatin1Char(' ') + Quoted(ParentSymbol(c)); });
    }
    int SdmName(const TCell& c)
    {
        return sdm.Of(&c, [&] { return GetString(1150) + QLatin1Char(' ') + Quoted(ParentSymbol(c)); });
    }
    int AName(const TCell& c)
    {
        return a.Of(&c, [&] {
            if (c.FUncertaintyInput.TSN == 4)
                return GetString(1152) + QLatin1Char(' ') + CoverageLevel(c.FUncertaintyInput.HS) + QLatin1Char(' ')
                    + GetString(1153) + QLatin1Char(' ') + Quoted(ParentSymbol(c)) + LE;
            return GetString(1151) + QLatin1Char(' ') + Quoted(ParentSymbol(c));
        });
    }
    int BetaName(const TCell& c)
    {
        return beta.Of(&c, [&] { return GetString(1154) + QLatin1Char(' ') + Quoted(ParentSymbol(c)); });
    }

    // "(formula)^2" upper-cased, with VAR named after the parent quantity.
    QString SquaredFormula(const TCell& c, QString formula)
    {
        formula = formula.trimmed();
        if (formula.startsWith(QLatin1Char('=')))
            formula.remove(0, 1);
        if (formula == QLatin1String("1"))
            return formula;
        formula = (QLatin1Char('(') + formula + QStringLiteral(")^2")).toUpper();
        if (formula.contains(QLatin1String("VAR"))) {
            const TCell* quantity = c.FParent;
            const int number = var.Of(quantity, [&] {
                return GetString(733) + QLatin1Char(' ') + Quoted(quantity ? quantity->FSymbol.Text : QString());
            });
            ReplaceAll(QStringLiteral("VAR"), QStringLiteral("vornath"), formula);
            ReplaceAll(QStringLiteral("vornath"), QStringLiteral("VAR") + QString::number(number), formula);
        }
        return formula;
    }

    // The variance term X, the symbolic form S and the half-width A of source number k.
    void VarianceFormula(const TCell& c, int k, QString& X, QString& S, QString& A)
    {
        const TVstupStandardnejNeistoty& r = c.FUncertaintyInput;
        const QString K = QString::number(k);
        const quint8 kind = r.USType;
        X.clear();
        S.clear();
        A.clear();
        auto halfWidth = [&](const QString& input, const QString& divisor) {
            if (kind == 1 || kind == 5) {
                S = QStringLiteral("a") + K + QStringLiteral("^2/") + divisor;
                if (input.trimmed().isEmpty()) {
                    X = QStringLiteral("a") + QString::number(AName(c)) + QStringLiteral("^2/") + divisor;
                } else if (IsNumberText(input)) {
                    A = FormulaNumber(input);
                    X = SquaredOver(A, divisor);
                }
            } else if (kind == 2) {
                const bool underQuantity = c.FParent && c.FParent->FCellType != kUncertaintyCell;
                if (!r.HSN.isEmpty() && (r.TSN != 1 || underQuantity))
                    X = Squared(FormulaNumber(r.HSN));
            } else if (kind == 3 && !input.trimmed().isEmpty()) {
                X = QLatin1Char('(') + SquaredFormula(c, input) + QStringLiteral(")/") + divisor;
            }
        };
        switch (r.TSN) {
        case 1:
            halfWidth(r.IS_2_1.Text, QStringLiteral("3"));
            break;
        case 2:
            halfWidth(r.IS_2_2.Text, QStringLiteral("6"));
            break;
        case 5:
            halfWidth(r.IS_2_5.Text, QStringLiteral("2"));
            break;
        case 4: {
            const QString factor = CoverageFactorText(r.HS);
            if (factor.isEmpty())
                break; // a level outside the table gives no term
            const QString divisor = factor + QStringLiteral("^2");
            if (kind == 1 || kind == 5) {
                S = QStringLiteral("a") + K + QStringLiteral("^2/") + divisor;
                if (r.IS_2_4.Text.trimmed().isEmpty()) {
                    X = QStringLiteral("a") + QString::number(AName(c)) + QStringLiteral("^2/") + divisor;
                } else if (IsNumberText(r.IS_2_4.Text)) {
                    A = FormulaNumber(r.IS_2_4.Text);
                    X = SquaredOver(A, divisor);
                }
            } else if (kind == 2) {
                if (!r.HSN.isEmpty())
                    X = Squared(FormulaNumber(r.HSN));
            } else if (kind == 3 && !r.IS_2_4.Text.trimmed().isEmpty()) {
                X = QLatin1Char('(') + SquaredFormula(c, r.IS_2_4.Text) + QStringLiteral(")/") + divisor;
            }
            break;
        }
        case 3:
            if (kind == 1) {
                S = QStringLiteral("u") + K + QStringLiteral("^2");
                X = r.HSN.isEmpty() ? S : Squared(FormulaNumber(r.HSN));
            } else if (kind == 2) {
                if (!r.HSN.isEmpty())
                    X = Squared(FormulaNumber(r.HSN));
            } else if (kind == 3 && !r.SO_2_3.Text.trimmed().isEmpty()) {
                X = QLatin1Char('(') + SquaredFormula(c, r.SO_2_3.Text) + QLatin1Char(')');
            }
            break;
        case 6: {
            S = QStringLiteral("SUM((X(i)-Xp)^2)/(N*(N-1))");
            const QString N = QStringLiteral("N") + QString::number(NName(c));
            X = QStringLiteral("DEVSQ(1:") + N + QStringLiteral(")/(") + N + QStringLiteral("*(") + N
                + QStringLiteral("-1))");
            break;
        }
        case 7: {
            S = QStringLiteral("(SDm^2/N)");
            const QString N = QStringLiteral("N") + QString::number(NName(c));
            if (!r.SOP.Text.trimmed().isEmpty()) {
                if (IsNumberText(r.SOP.Text))
                    X = Squared(FormulaNumber(r.SOP.Text)) + QStringLiteral("/") + N;
            } else {
                X = QStringLiteral("(SDm") + QString::number(SdmName(c)) + QStringLiteral("^2/") + N + QLatin1Char(')');
            }
            break;
        }
        case 8:
            S = QStringLiteral("SD^2");
            if (r.SO_5.Text.trimmed().isEmpty())
                X = QStringLiteral("SD") + QString::number(SdName(c)) + QStringLiteral("^2");
            else if (kind == 1)
                X = IsNumberText(r.SO_5.Text) ? Squared(FormulaNumber(r.SO_5.Text)) : QString();
            else if (kind == 2)
                X = r.HSN.isEmpty() ? QString() : Squared(FormulaNumber(r.HSN));
            else if (kind == 3)
                X = QLatin1Char('(') + SquaredFormula(c, r.SO_5.Text) + QLatin1Char(')');
            else
                X = S;
            break;
        case 9: {
            S = QStringLiteral("SUM((X(i)-Xp)^2)/(N-1)");
            const QString N = QStringLiteral("N") + QString::number(NName(c));
            X = QStringLiteral("DEVSQ(1:") + N + QStringLiteral(")/(") + N + QStringLiteral("-1)");
            break;
        }
        case 10: {
            S = QStringLiteral("((a") + K + QStringLiteral("^2*(1+Beta") + K + QStringLiteral("^2))/6");
            const bool typedNumbers = (r.PD_2_6.Text.trimmed().isEmpty() || IsNumberText(r.PD_2_6.Text))
                && (r.TFa_2_6.Text.trimmed().isEmpty() || IsNumberText(r.TFa_2_6.Text));
            if (!typedNumbers)
                break;
            QString half = FormulaNumber(r.PD_2_6.Text);
            if (r.PD_2_6.Text.trimmed().isEmpty())
                half = QStringLiteral("a") + QString::number(AName(c));
            else
                A = half;
            QString shape = FormulaNumber(r.TFa_2_6.Text);
            if (r.TFa_2_6.Text.trimmed().isEmpty())
                shape = QStringLiteral("Beta") + QString::number(BetaName(c));
            X = QStringLiteral("((") + Squared(half) + QStringLiteral("*(1+") + Squared(shape) + QStringLiteral("))/6");
            break;
        }
        case 13:
            NName(c);
            S = X = QStringLiteral("SUM(X(i))/N");
            break;
        default:
            break;
        }
    }
};

// Restores SignificantDigits and the sensitivity switch on every way out.
struct ListingScope {
    quint8 digits = SignificantDigits;
    bool pass = SensitivityPassEnabled;
    ListingScope() { SignificantDigits = 8; }
    ~ListingScope()
    {
        SignificantDigits = digits;
        SensitivityPassEnabled = pass;
    }
};

void RemoveTrailingPlus(QString& text)
{
    if (text.endsWith(QLatin1Char('+')))
        text.chop(1);
}

QString Joined(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + QLatin1Char('+') + b;
}

void Tidy(QString& text)
{
    text.remove(QLatin1Char(' '));
    text.replace(QStringLiteral("(1*"), QStringLiteral("("));
}

QString MissingValuesMessage(const QString& lines)
{
    return GetString(1159) + QStringLiteral(" ") + LE + GetString(1160) + QStringLiteral(" ") + LE + LE
        + GetString(1161) + LE + LE + lines;
}

} // namespace

QString FormulaNumber(const QString& text)
{
    QString t = ToLocalDecimalSeparator(text.trimmed());
    t = StripTrailingZeros(FormatSignificantText(SignificantDigits, t));
    if (t.startsWith(QLatin1Char('-')))
        t = QLatin1Char('(') + t + QLatin1Char(')');
    return t;
}

void SpreadsheetFormulas(TCell& root, QString& UcSymbolic, QString& UcExpanded, QString& ListingLegend,
    QString& SourceLines, QString& EffFormula, QString& TEffFormula)
{
    UcSymbolic.clear();
    UcExpanded.clear();
    ListingLegend.clear();
    SourceLines.clear();
    EffFormula.clear();
    TEffFormula.clear();
    if (!root.CheckQuantityValues()) {
        ListingLegend = MissingValuesMessage(MissingValuesText);
        return;
    }

    // The listing's own settings change the results of the cells until it ends.
    TResultsSnapshot results(root);
    ListingScope scope;
    // The listing needs a current source list and current coefficients, so the pass runs
    // whatever the windows' switch says.
    SensitivityPassEnabled = true;
    root.ComputeSensitivityByDifference();

    Listing names;
    QString ws, P, Q, R, F, Y, missing;
    int k = 0;
    for (const TInfo_o_bunkach_typu_neistota& entry : UncertaintySourceList) {
        TCell* cell = entry.Cell;
        if (!cell || (cell->FCellType == kUncertaintyCell && !cell->FActive))
            continue;
        ++k;
        const QString K = QString::number(k);
        const TVstupStandardnejNeistoty& rec = cell->FUncertaintyInput;
        const int method = cell->FCellType == kUncertaintyCell ? rec.TSN : 0;
        QString X, S, A;
        if (cell->FCellType == kUncertaintyCell)
            names.VarianceFormula(*cell, k, X, S, A);
        if (X.isEmpty()) {
            // No term of the method's own: the source counts with its u squared.
            if (entry.Uncertainty.trimmed().isEmpty()) {
                if (!missing.isEmpty())
                    missing += LE;
                missing += cell->FCellName.Text + QStringLiteral(" (")
                    + (cell->FParent ? cell->FParent->FCellName.Text : QString()) + QLatin1Char(')');
                continue;
            }
            X = Squared(FormulaNumber(entry.Uncertainty));
        }
        cell->FSheetFormula = X;

        QString D;
        switch (method) {
        case 1:
            D = rec.PSV_2_1.Text;
            break;
        case 2:
            D = rec.PSV_2_2.Text;
            break;
        case 3:
            D = rec.PSV_2_3.Text;
            break;
        case 4:
            D = rec.PSV_2_4.Text;
            break;
        case 5:
            D = rec.PSV_2_5.Text;
            break;
        case 10:
            D = rec.PSV_2_6.Text;
            break;
        case 8:
            D = rec.PSV_5.Text;
            break;
        case 6:
        case 7:
        case 9:
        case 13:
            D = QStringLiteral("(N") + QString::number(names.NName(*cell)) + QStringLiteral("-1)");
            break;
        default:
            D = cell->FCellType == kUncertaintyCell ? GetDegreesOfFreedomText(rec) : entry.DegreesOfFreedom;
            break;
        }
        D = D.trimmed();

        QString C;
        if (cell->FParent == &root) {
            C = QStringLiteral("1");
            R += QStringLiteral("(u0_") + K + QStringLiteral("^2)+");
            F += X + QLatin1Char('+');
        } else {
            C = FormulaNumber(QString::number(entry.Sensitivity, 'g', 15));
            P += QStringLiteral("(c") + K + QStringLiteral("^2 * u") + K + QStringLiteral("^2)+");
            Q += (C == QLatin1String("1") ? X : C + QStringLiteral("^2*") + X) + QLatin1Char('+');
        }

        if (D != InfiniteText) {
            const QString lead = C == QLatin1String("1") ? QString() : C + QStringLiteral("^4*");
            if (!D.isEmpty()) {
                const QString d = D.startsWith(QLatin1Char('-'))
                    ? QLatin1Char('(') + ToLocalDecimalSeparator(D) + QLatin1Char(')')
                    : ToLocalDecimalSeparator(D);
                ws += lead + QLatin1Char('(') + X + QStringLiteral(")^2/") + d + QLatin1Char('+');
            } else {
                const QString N = QStringLiteral("N") + QString::number(names.NName(*cell));
                ws += lead + QLatin1Char('(') + X
                    + (method == 8 ? QStringLiteral(")^2/") + N : QStringLiteral(")^2/(") + N + QStringLiteral("-1)"))
                    + QLatin1Char('+');
            }
        }

        const bool described = cell->FCellType == kUncertaintyCell && (method <= 10 || method == 13);
        if (described) {
            static const int methodTexts[]
                = { 1169, 1162, 1165, 1175, 1166, 1167, 1170, 1171, 1172, 1173, 1168, 0, 0, 1174 };
            SourceLines += GetString(methodTexts[method]) + QStringLiteral(" ") + LE + GetString(1163)
                + QStringLiteral(" ") + cell->FCellName.Text + LE + GetString(1164) + QStringLiteral(" ")
                + (cell->FParent ? cell->FParent->FCellName.Text : QString()) + LE;
            const QString shown = S.isEmpty() ? X : S;
            QString line = QStringLiteral("u") + K + QStringLiteral("^2 = ");
            switch (method) {
            case 0:
            case 3:
                line += GetString(157);
                break;
            case 1:
            case 2:
            case 5:
                line += shown + LE + QStringLiteral("a") + K + QStringLiteral(" - ") + GetString(270);
                break;
            case 4:
                line += shown + LE + QStringLiteral("a") + K + QStringLiteral(" - ") + GetString(1152)
                    + QLatin1Char(' ') + CoverageLevel(rec.HS) + QStringLiteral(" interval");
                break;
            case 6:
            case 9:
            case 13:
                line += shown + LE + QStringLiteral("N - ") + GetString(1176);
                break;
            case 7:
                line += shown + LE + QStringLiteral("N - ") + GetString(1176) + QStringLiteral("; SDm - ")
                    + GetString(268);
                break;
            case 8:
                line += shown + QLatin1Char(' ') + GetString(357);
                break;
            case 10:
                line += shown + LE + QStringLiteral("a") + K + QStringLiteral(" - ") + GetString(270) + LE
                    + QStringLiteral("Beta") + K + QStringLiteral(" - ") + GetString(949);
                break;
            default:
                break;
            }
            SourceLines += line + LE;
            if (!A.isEmpty() && (method == 1 || method == 2 || method == 4 || method == 5 || method == 10))
                SourceLines += QStringLiteral("a") + K + QStringLiteral(" = ") + A + LE;
            if (method == 7 && !rec.SOP.Text.trimmed().isEmpty())
                SourceLines += QStringLiteral("SDm = ") + FormulaNumber(rec.SOP.Text) + LE;
        }
        if (!C.isEmpty())
            SourceLines += QStringLiteral("c") + K + QStringLiteral(" = ") + C + LE + LE;
    }

    if (!missing.isEmpty()) {
        UcSymbolic.clear();
        SourceLines.clear();
        ListingLegend = MissingValuesMessage(missing);
        return;
    }

    // Correlations between the inputs of the root, at the matrix positions the
    // evaluation uses.
    quint8 size = 0;
    TCorrelationMatrix matrix {};
    ParseCorrelationMatrix(root.FCorrelationMatrix.Text, size, matrix);
    const std::vector<TCell*> inputs = CorrelationMatrixChildren(root);
    auto sheetFormulas = [](const TCell& quantity) {
        QStringList terms;
        for (const auto& child : quantity.FChildren)
            if (child->FCellType == kUncertaintyCell && child->FActive && !child->FSheetFormula.isEmpty())
                terms << child->FSheetFormula;
        return QStringLiteral("SQRT(") + terms.join(QLatin1Char('+')) + QLatin1Char(')');
    };
    const size_t count = std::min<size_t>(inputs.size(), 100);
    for (size_t i = 0; i < count; ++i)
        for (size_t j = i + 1; j < count; ++j) {
            const double coefficient = matrix[i][j];
            double ci = 0, cj = 0;
            if (coefficient == 0 || !TryStrToFloatNeutral(inputs[i]->FNumSensitivity, ci)
                || !TryStrToFloatNeutral(inputs[j]->FNumSensitivity, cj))
                continue;
            QStringList factors;
            const QString fi = FormulaNumber(inputs[i]->FNumSensitivity);
            const QString fj = FormulaNumber(inputs[j]->FNumSensitivity);
            if (fi != QLatin1String("1"))
                factors << fi;
            if (fj != QLatin1String("1"))
                factors << fj;
            factors << sheetFormulas(*inputs[i]) << sheetFormulas(*inputs[j]);
            // The coefficient with all its digits.
            QString r = ToLocalDecimalSeparator(QString::number(coefficient, 'g', 15));
            if (r.startsWith(QLatin1Char('-')))
                r = QLatin1Char('(') + r + QLatin1Char(')');
            factors << r;
            Y += factors.join(QLatin1Char('*')) + QLatin1Char('+');
        }

    RemoveTrailingPlus(ws);
    for (QString* s : { &P, &Q, &R, &F, &Y })
        RemoveTrailingPlus(*s);
    P = Joined(P, R);
    Q = Joined(Q, F);
    const bool correlated = !Y.isEmpty();
    UcSymbolic = QStringLiteral("uc\t=SQRT(") + P + (correlated ? QStringLiteral("+2*Kor)") : QStringLiteral(")"));
    UcExpanded = QStringLiteral("uc\t=SQRT(") + Q + (correlated ? QStringLiteral("+2*Kor)") : QStringLiteral(")"));
    if (correlated) {
        UcSymbolic += LE + QStringLiteral("Kor\t=") + Y;
        UcExpanded += LE + QStringLiteral("Kor\t=") + Y;
    }

    ListingLegend = GetString(1156) + LE + LE + QStringLiteral("uc\t") + GetString(87) + LE + QStringLiteral("U\t")
        + GetString(355);
    if (correlated)
        ListingLegend += LE + QStringLiteral("Kor\t") + GetString(1155);
    ListingLegend
        += LE + QStringLiteral("eff\t") + GetString(1157) + LE + QStringLiteral("t(eff)\t") + GetString(1158) + LE + LE;
    for (const NameKind* kind : { &names.var, &names.n, &names.sd, &names.sdm, &names.a, &names.beta }) {
        if (kind->legend.isEmpty())
            continue;
        ListingLegend += LE;
        for (const QString& line : kind->legend)
            ListingLegend += line + LE;
    }

    EffFormula = ws.isEmpty() ? QStringLiteral("eff\t=0")
                              : QStringLiteral("eff\t=ROUNDDOWN(uc^4/(") + ws + QStringLiteral(");0)");
    TEffFormula = QStringLiteral("t(eff)\t=TINV(0") + OwnDecimalSeparator + QStringLiteral("05;eff)");
    Tidy(UcExpanded);
    Tidy(EffFormula);
}

} // namespace orvek
