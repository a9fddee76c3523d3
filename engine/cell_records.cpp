#include "engine/cell_records.h"

#include "core/dates.h"
#include "core/string_table.h"

namespace orvek {

TVstupStandardnejNeistoty::TVstupStandardnejNeistoty()
{
    PSV_1.Text = "50";
    PSV_2_1.Text = "Nekonecno";
    PSV_2_2.Text = "Nekonecno";
    PSV_2_3.Text = "50";
    PSV_2_4.Text = "50";
    PSV_2_5.Text = "Nekonecno";
    PSV_2_6.Text = "Nekonecno";
    FD_7 = ShortDateFormatText();
    FD_8 = FD_7;
}

QString ShortDateFormatText()
{
    InitDateFormats();
    return ShortDateFormat;
}

void ClearUncertaintyInput(TVstupStandardnejNeistoty& rec)
{
    rec = TVstupStandardnejNeistoty();
}

void ClearNewCellInfo()
{
    NewCellInfo = TPrenosInfoDoNovejBunky();
    NewCellInfo.ValueType = 0;
    NewCellInfo.Coverage = 1;
    NewCellInfo.ValueTransferred = 0;
}

const QString& GetDegreesOfFreedomText(const TVstupStandardnejNeistoty& rec)
{
    static const QString none;
    switch (rec.TSN) {
    case 0:
        return rec.PSV_1.Text;
    case 1:
        return rec.PSV_2_1.Text;
    case 2:
        return rec.PSV_2_2.Text;
    case 3:
        return rec.PSV_2_3.Text;
    case 4:
        return rec.PSV_2_4.Text;
    case 5:
        return rec.PSV_2_5.Text;
    case 6:
        return rec.PSV_3;
    case 7:
        return rec.PSV_4.Text;
    case 8:
        return rec.PSV_5.Text;
    case 9:
        return rec.PSV_6.Text;
    case 10:
        return rec.PSV_2_6.Text;
    case 11:
        return rec.PSV_7;
    case 12:
        return rec.PSV_8;
    case 13:
        return rec.PSV_9.Text;
    case 14:
        return rec.PSV_10;
    default:
        return none;
    }
}

int GetOutputChoice(const TVstupStandardnejNeistoty& rec)
{
    switch (rec.TSN) {
    case 9:
        return rec.OV_6;
    case 11:
        return rec.OV_7;
    case 12:
        return rec.OV_8;
    case 13:
        return rec.OV_9;
    case 14:
        return rec.OV_10;
    default:
        return 0;
    }
}

QString GetEvaluationMethodName(int method)
{
    // Limit methods are named "limits (distribution)".
    auto limits = [](int distributionText) { return GetString(254) + " (" + GetString(distributionText) + ")"; };
    switch (method) {
    case 0:
        return GetString(253);
    case 1:
        return limits(277);
    case 2:
        return limits(278);
    case 3:
        return limits(279);
    case 4:
        return limits(280);
    case 5:
        return limits(739);
    case 6:
        return GetString(255);
    case 7:
        return GetString(256);
    case 8:
        return GetString(736);
    case 9:
        return GetString(756);
    case 10:
        return limits(947);
    case 11:
        return GetString(951);
    case 12:
        return GetString(989);
    case 13:
        return GetString(1014);
    case 14:
        return GetString(1133);
    default:
        return QString();
    }
}

} // namespace orvek
