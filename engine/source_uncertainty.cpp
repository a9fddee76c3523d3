#include "engine/source_uncertainty.h"

#include "core/number_text.h"
#include "engine/cell_records.h"
#include "engine/expression.h"
#include "engine/percent_of_text.h"
#include "engine/uncertainty_condition.h"
#include "engine/weighted_mean.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <exception>

namespace orvek {

namespace {

QString Num(long double x)
{
    return FloatToGeneralText(x);
}

// An uncertainty is a magnitude: a negative value or formula result gives its absolute value.
QString Magnitude(const QString& text)
{
    const QString t = text.trimmed();
    return t.startsWith(QLatin1Char('-')) ? t.mid(1) : t;
}

bool ReadNumber(const QString& text, long double& value)
{
    return !text.trimmed().isEmpty() && TryStrToExtendedNeutral(text.trimmed(), value);
}

// Evaluates a text; any failure gives an empty result.
QString QuietEvaluation(const QString& text)
{
    QString result;
    try {
        EvaluateExpression(text, result);
    } catch (const std::exception&) {
        result.clear();
    }
    return result;
}

// The first Count items of an "@"-ended list; False when there are fewer.
bool ListItems(const QString& list, int count, QStringList& items)
{
    items = list.split(QLatin1Char('@'));
    if (count < 0 || items.size() < count)
        return false;
    items = items.mid(0, count);
    return true;
}

QString WithoutLeadingEquals(const QString& text)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('=')))
        t.remove(0, 1);
    return t;
}

// Methods 1 to 5, 3 and 8: an input of limits (or a standard uncertainty) divided by
// the distribution's divisor. DivisorText empty means no divisor.
QString LimitRule(const QString& input, const QString& PV, long double divisor, const QString& divisorText, quint8& K)
{
    long double L = 0;
    quint8 V = 0;
    ClassifyInputValue(input, L, V);
    K = V;
    long double pv = 0;
    switch (V) {
    case kInputNumber:
        // Limits are a half-width: "-3" stands for the same interval as "3".
        return Magnitude(Num(L / divisor));
    case kInputPercent:
        if (ReadNumber(PV, pv))
            return Magnitude(Num(pv * L / 100 / divisor));
        return QString();
    case kInputFormula: {
        const QString f = WithoutLeadingEquals(input);
        const QString text = divisorText.isEmpty() ? f : "(" + f + ")/" + divisorText;
        return Magnitude(EvaluateVarFormula(text, PV));
    }
    default:
        return QString();
    }
}

} // namespace

void ClassifyInputValue(const QString& Text, long double& Value, quint8& Kind)
{
    QString T = Text.trimmed().toUpper();
    Kind = kInputInvalid;
    Value = 0;
    if (T.isEmpty()) {
        Kind = kInputNumber;
        return;
    }
    if (T.startsWith(QLatin1String("CONDITION"))) {
        Kind = kInputCondition;
        return;
    }
    if (T.startsWith(QLatin1String("RANGE"))) {
        Kind = kInputRange;
        ReplaceSymbol(T, QStringLiteral("VAR"), QStringLiteral("1"));
        if (!QuietEvaluation(T).isEmpty())
            Kind = kInputFormula;
        return;
    }
    if (T.startsWith(QLatin1Char('='))) {
        Kind = kInputFormula;
        return;
    }
    if (T.contains(QLatin1Char('%'))) {
        T.remove(T.indexOf(QLatin1Char('%')), 1);
        T = T.trimmed();
        long double v = 0;
        if (ReadNumber(T, v)) {
            Kind = kInputPercent;
            Value = v;
        }
        return;
    }
    if (T.contains(QLatin1String("VAR"))) {
        ReplaceSymbol(T, QStringLiteral("VAR"), QStringLiteral("1"));
        if (!QuietEvaluation(T).isEmpty())
            Kind = kInputFormula;
        return;
    }
    if (HasOnlyNumberChars(T)) {
        long double v = 0;
        if (TryStrToExtendedNeutral(T, v)) {
            Kind = kInputNumber;
            Value = v;
        }
        return;
    }
    try {
        TInfo_o_bunkach_typu_velicina vars;
        const int scan = ScanEquation(T, vars);
        if (scan == 0 || scan == 2) {
            if (vars.Count > 0)
                Kind = kInputExpression;
            else if (!QuietEvaluation(T).isEmpty())
                Kind = kInputFormula;
        }
    } catch (const std::exception&) {
        Kind = kInputInvalid;
    }
}

QString EvaluateVarFormula(const QString& Formula, const QString& PV)
{
    if (Formula.isEmpty())
        return QString();
    QString t = Formula.toUpper();
    if (CountSymbol(t, QStringLiteral("VAR")) > 0) {
        if (PV.trimmed().isEmpty())
            return QString();
        SubstituteSymbolValue(t, QStringLiteral("VAR"), NormalizeNumberText(PV));
    }
    return QuietEvaluation(t);
}

bool SeriesStatistics(const QString& List, int Count, long double& Mean, long double& StdDev, bool ZeroCutOff)
{
    QStringList items;
    if (Count < 2 || !ListItems(List, Count, items))
        return false;
    std::vector<long double> x;
    long double sum = 0, largest = 0;
    for (const QString& item : items) {
        long double v = 0;
        if (!ReadNumber(item, v))
            return false;
        x.push_back(v);
        sum += v;
        largest = std::max(largest, std::fabs(v));
    }
    const long double m = sum / Count;
    const long double cutOff = ZeroCutOff ? 1e-12L * largest : -1;
    long double squares = 0;
    for (long double v : x) {
        const long double d = v - m;
        if (std::fabs(d) > cutOff)
            squares += d * d;
    }
    Mean = m;
    StdDev = std::sqrt(squares / (Count - 1));
    return true;
}

bool PooledVarianceStatistics(const QString& List, int Count, long double& MeanVariance, long double& StdDev)
{
    QStringList items;
    if (Count < 1 || !ListItems(List, Count, items))
        return false;
    long double sum = 0;
    for (const QString& item : items) {
        long double v = 0;
        if (!ReadNumber(item, v))
            return false;
        sum += v;
    }
    const long double m = sum / Count;
    if (m < 0)
        return false;
    MeanVariance = m;
    StdDev = std::sqrt(m);
    return true;
}

bool WeightedMeanOfPairs(const QString& List, int Count, double& Mean, double& UMean)
{
    QStringList items;
    if (Count > MaxWeightedMeanResults || !ListItems(List, Count, items))
        return false;
    std::vector<double> x, u;
    for (const QString& item : items) {
        const qsizetype hash = item.indexOf(QLatin1Char('#'));
        double v = 0, w = 0;
        if (hash < 0 || !TryStrToFloatNeutral(item.left(hash).trimmed(), v)
            || !TryStrToFloatNeutral(item.mid(hash + 1).trimmed(), w))
            return false;
        x.push_back(v);
        u.push_back(w);
    }
    return ComputeWeightedMean(Count, x, u, UMean, Mean);
}

void FillSeriesDegreesOfFreedom(QString& Field, int Count, bool PooledVariances)
{
    if (!Field.trimmed().isEmpty())
        return;
    if (Count >= 2)
        Field = QString::number(Count - 1);
    else if (Count == 1 && PooledVariances)
        Field = QStringLiteral("50");
}

bool EvaluateSourceRecord(TVstupStandardnejNeistoty& rec, const QString& PV)
{
    const quint8 stored = rec.USType;
    if (stored != 1 && stored != 2 && stored != 3 && stored != 7)
        return false;
    if (rec.TSN == 6 || rec.TSN == 7)
        return false;
    if (rec.TSN == 11 && (rec.OV_7 == 0 || rec.OV_7 == 2))
        return false;
    if (rec.TSN == 12 && (rec.OV_8 == 0 || rec.OV_8 == 2))
        return false;

    QString& HSN = rec.HSN;
    HSN.clear();
    quint8 K = 1;
    long double pv = 0;
    const bool havePV = ReadNumber(PV, pv);
    static const long double kDivisors[] = { 1.0L, 1.645L, 1.96L, 2.0L, 2.576L, 3.0L };
    static const char* const kDivisorTexts[] = { "1.0", "1.645", "1.960", "2.0", "2.576", "3.0" };

    switch (rec.TSN) {
    case 0: {
        const QString& ko = rec.KO.Text;
        if (ko.isEmpty())
            break;
        long double L = 0;
        quint8 V = 0;
        ClassifyInputValue(ko, L, V);
        K = V;
        QString input = ko;
        if (V == kInputCondition) {
            if (!havePV)
                break;
            // The chosen branch is evaluated; the source stays a condition so that it
            // follows later changes of the value.
            EvaluateUncertaintyCondition(PV, ko, input);
            ClassifyInputValue(input, L, V);
        }
        switch (V) {
        case kInputNumber:
            HSN = input.trimmed();
            break;
        case kInputPercent:
            if (havePV)
                HSN = Magnitude(Num(pv * L / 100));
            break;
        case kInputFormula:
            HSN = Magnitude(EvaluateVarFormula(input, PV));
            break;
        default:
            break;
        }
        break;
    }
    case 1:
        HSN = LimitRule(rec.IS_2_1.Text, PV, std::sqrt(3.0L), QStringLiteral("SQRT(3)"), K);
        break;
    case 2:
        HSN = LimitRule(rec.IS_2_2.Text, PV, std::sqrt(6.0L), QStringLiteral("SQRT(6)"), K);
        break;
    case 3:
        HSN = LimitRule(rec.SO_2_3.Text, PV, 1.0L, QString(), K);
        break;
    case 4:
        if (rec.HS <= 5)
            HSN = LimitRule(rec.IS_2_4.Text, PV, kDivisors[rec.HS], QLatin1String(kDivisorTexts[rec.HS]), K);
        break;
    case 5:
        HSN = LimitRule(rec.IS_2_5.Text, PV, std::sqrt(2.0L), QStringLiteral("SQRT(2)"), K);
        break;
    case 8:
        HSN = LimitRule(rec.SO_5.Text, PV, 1.0L, QString(), K);
        break;
    case 9:
        if (rec.PM_6 >= 1) {
            FillSeriesDegreesOfFreedom(rec.PSV_6.Text, rec.PM_6, false);
            long double m = 0, s = 0;
            if (SeriesStatistics(rec.VM_6.Text, rec.PM_6, m, s)) {
                rec.AP_6 = Num(m);
                rec.SO_6 = Num(s);
                rec.RSO_6 = PercentOfText(rec.SO_6, rec.AP_6);
            } else {
                rec.AP_6.clear();
                rec.SO_6.clear();
                rec.RSO_6.clear();
            }
            long double r = 0;
            if (rec.OV_6 == 0)
                HSN = rec.SO_6;
            else if (rec.OV_6 == 1 && havePV && ReadNumber(rec.RSO_6, r))
                HSN = Magnitude(Num(pv * r / 100));
        }
        break;
    case 10: {
        long double a = 0, beta = 0;
        if (ReadNumber(rec.PD_2_6.Text, a) && ReadNumber(rec.TFa_2_6.Text, beta))
            HSN = Num(std::sqrt(a * a * (1 + beta * beta) / 6));
        break;
    }
    case 11:
    case 12: {
        const QString& relative = rec.TSN == 11 ? rec.RSO_7 : rec.RSO_8;
        const int groups = rec.TSN == 11 ? rec.NPP_7 : rec.NPP_8;
        long double r = 0;
        if (havePV && ReadNumber(relative, r)) {
            HSN = Magnitude(Num(pv * r / 100));
            long double h = 0;
            if (groups >= 2 && ReadNumber(HSN, h))
                HSN = Num(h / std::sqrt((long double)groups));
        }
        break;
    }
    case 13:
        if (rec.PM_9 >= 1) {
            FillSeriesDegreesOfFreedom(rec.PSV_9.Text, rec.PM_9, true);
            long double m = 0, s = 0;
            if (PooledVarianceStatistics(rec.VM_9.Text, rec.PM_9, m, s)) {
                rec.AP_9 = Num(m);
                rec.SO_9 = Num(s);
                rec.RSO_9 = PercentOfText(rec.SO_9, rec.AP_9);
            } else {
                rec.AP_9.clear();
                rec.SO_9.clear();
                rec.RSO_9.clear();
            }
            long double r = 0;
            if (rec.OV_9 == 0)
                HSN = rec.SO_9;
            else if (rec.OV_9 == 1 && havePV && ReadNumber(rec.RSO_9, r))
                HSN = Magnitude(Num(pv * r / 100));
        }
        break;
    case 14:
        if (rec.PM_10 >= 1) {
            rec.PSV_10 = QString::number(rec.PM_10 - 1);
            double mean = 0, u = 0;
            if (WeightedMeanOfPairs(rec.VM_10.Text, rec.PM_10, mean, u)) {
                rec.AP_10 = Num(mean);
                rec.SO_10 = Num(u);
            } else {
                rec.AP_10.clear();
                rec.SO_10.clear();
            }
            HSN = rec.SO_10;
        }
        break;
    default:
        break;
    }
    rec.USType = K;
    return true;
}

} // namespace orvek
