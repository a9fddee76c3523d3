#include "sources/source_record.h"

#include "core/dates.h"
#include "core/number_format.h"
#include "engine/cell_records.h"
#include "engine/source_uncertainty.h"

#include <array>

namespace orvek {

namespace {

const QString kInfinite = QStringLiteral("Nekonecno");

// The degrees-of-freedom option and value of the methods 1 to 5 and 10, by method.
struct LimitDof {
    int method;
    quint8 TVstupStandardnejNeistoty::*option;
    TStringRec TVstupStandardnejNeistoty::*value;
};
constexpr std::array<LimitDof, 6> kLimitDof { {
    { 1, &TVstupStandardnejNeistoty::ZPSV_2_1, &TVstupStandardnejNeistoty::PSV_2_1 },
    { 2, &TVstupStandardnejNeistoty::ZPSV_2_2, &TVstupStandardnejNeistoty::PSV_2_2 },
    { 3, &TVstupStandardnejNeistoty::ZPSV_2_3, &TVstupStandardnejNeistoty::PSV_2_3 },
    { 4, &TVstupStandardnejNeistoty::ZPSV_2_4, &TVstupStandardnejNeistoty::PSV_2_4 },
    { 5, &TVstupStandardnejNeistoty::ZPSV_2_5, &TVstupStandardnejNeistoty::PSV_2_5 },
    { 10, &TVstupStandardnejNeistoty::ZPSV_2_6, &TVstupStandardnejNeistoty::PSV_2_6 },
} };

void SettleLimitOptions(TVstupStandardnejNeistoty& rec)
{
    rec.ZPSV_1 = 2;
    for (const LimitDof& d : kLimitDof) {
        quint8& option = rec.*d.option;
        if (d.method != rec.TSN) {
            option = 2;
            continue;
        }
        // The t and normal distributions take given degrees of freedom (0) or the
        // fixed 50 (2); the others always have infinite degrees of freedom.
        const bool givenAllowed = rec.TSN == 3 || rec.TSN == 4;
        if (option == 2 || (givenAllowed && option == 0))
            continue;
        option = 2;
        (rec.*d.value).Text = givenAllowed ? QStringLiteral("50") : kInfinite;
    }
}

// Cuts a list to its first MaxSourceReadings items; the number cut goes to Cut.
void CapList(QString& list, int& count, int& cut)
{
    if (count <= MaxSourceReadings)
        return;
    cut += count - MaxSourceReadings;
    const QStringList items = SourceListItems(list, MaxSourceReadings);
    list.clear();
    for (const QString& item : items)
        list += item + QLatin1Char('@');
    count = MaxSourceReadings;
}

} // namespace

void NormalizeSourceRecord(TVstupStandardnejNeistoty& rec, bool ownerHasValue, TSourceLoadNotes& notes)
{
    notes = TSourceLoadNotes();
    if (!rec.EDate.isEmpty()) {
        try {
            DMYTextToDate(rec.EDate);
        } catch (const EDateConversion&) {
            rec.EDate.clear();
            notes.DateDropped = true;
        }
    }
    const bool dependsOnOwner
        = rec.USType == kInputPercent || rec.USType == kInputFormula || rec.USType == kInputCondition;
    if (dependsOnOwner && !ownerHasValue && !rec.HSN.isEmpty()) {
        rec.HSN.clear();
        notes.UncertaintyDropped = true;
    }
    if (rec.TSN >= 15) {
        rec.TSN = 1;
        notes.MethodReplaced = true;
    }
    switch (rec.TSN) {
    case 0:
        if (rec.PSV_1.Text == kInfinite)
            rec.PSV_1.Text = QStringLiteral("100000");
        break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
        SettleLimitOptions(rec);
        break;
    case 6:
        CapList(rec.VM_3.Text, rec.PM_3, notes.ReadingsCut);
        break;
    case 7:
        CapList(rec.VM_4.Text, rec.PM_4, notes.ReadingsCut);
        break;
    case 9:
        CapList(rec.VM_6.Text, rec.PM_6, notes.ReadingsCut);
        break;
    case 13:
        CapList(rec.VM_9.Text, rec.PM_9, notes.ReadingsCut);
        break;
    case 14:
        CapList(rec.VM_10.Text, rec.PM_10, notes.ReadingsCut);
        rec.OV_10 = 0;
        break;
    default:
        break;
    }
}

QStringList SourceListItems(const QString& list, int count)
{
    const QStringList items = list.split(QLatin1Char('@'));
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << (i < items.size() ? items[i] : QString());
    return result;
}

void SplitSourcePair(const QString& item, QString& value, QString& uncertainty)
{
    const qsizetype hash = item.indexOf(QLatin1Char('#'));
    value = hash < 0 ? item : item.left(hash);
    uncertainty = hash < 0 ? QString() : item.mid(hash + 1);
}

void SourceReadingsList(const QStringList& cells, QString& list, int& count)
{
    list.clear();
    count = 0;
    for (const QString& cell : cells) {
        const QString t = cell.trimmed();
        if (t.isEmpty())
            continue;
        list += t + QLatin1Char('@');
        ++count;
    }
}

void SourcePairsList(const QStringList& values, const QStringList& uncertainties, QString& list, int& count)
{
    list.clear();
    count = 0;
    for (int i = 0; i < values.size(); ++i) {
        const QString v = values[i].trimmed();
        if (v.isEmpty())
            continue;
        QString u = i < uncertainties.size() ? uncertainties[i].trimmed() : QString();
        if (u.isEmpty())
            u = QStringLiteral("0");
        list += v + QLatin1Char('#') + u + QLatin1Char('@');
        ++count;
    }
}

TSourceResultTexts SourceResultTexts(const TVstupStandardnejNeistoty& rec, int digits)
{
    TSourceResultTexts t;
    auto pair = [&t](const QString& mean, const QString& u) {
        if (mean.isEmpty())
            return;
        FormatValueAndUncertainty(mean, u, t.Mean, t.MeanUncertainty);
    };
    auto relative = [digits](const QString& r) {
        return r.isEmpty() ? QString() : FormatSignificantText(digits, r) + QStringLiteral(" %");
    };
    switch (rec.TSN) {
    case 6:
        pair(rec.AP_3, rec.SOPr_3);
        t.StandardDeviation = FormatSignificantText(digits, rec.SO_3);
        t.Relative = relative(rec.RSOPr_3);
        t.DegreesOfFreedom = rec.PSV_3;
        break;
    case 7:
        pair(rec.AP_4, rec.SOPr_4);
        t.DegreesOfFreedom = rec.PSV_4.Text;
        break;
    case 9:
        pair(rec.AP_6, rec.SO_6);
        t.StandardDeviation = t.MeanUncertainty;
        t.Relative = relative(rec.RSO_6);
        t.DegreesOfFreedom = rec.PSV_6.Text;
        break;
    case 13:
        pair(rec.AP_9, rec.SO_9);
        t.StandardDeviation = t.MeanUncertainty;
        t.Relative = relative(rec.RSO_9);
        t.DegreesOfFreedom = rec.PSV_9.Text;
        break;
    case 14:
        pair(rec.AP_10, rec.SO_10);
        t.DegreesOfFreedom = rec.PSV_10;
        break;
    default:
        break;
    }
    return t;
}

QString SourceMeanText(const TVstupStandardnejNeistoty& rec, int digits)
{
    if (rec.TSN != 6 && rec.TSN != 7 && rec.TSN != 13 && rec.TSN != 14)
        return QString();
    return SourceResultTexts(rec, digits).Mean.trimmed();
}

} // namespace orvek
