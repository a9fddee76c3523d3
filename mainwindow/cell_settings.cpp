#include "mainwindow/cell_settings.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"

namespace orvek {

namespace {

// Text of the refusal of a size that is not a whole number within its range.
constexpr int kSizeRangeText = 22750;

struct SizeRule {
    int labelText;
    int minimum; // 1 where a zero size would leave nothing to draw or click
    int fixedMaximum; // 0: the maximum follows from the cell size read before
};

constexpr std::array<SizeRule, sfCount> kSizeRules { {
    { 196, 1, 99 }, // cell height
    { 198, 1, 999 }, // cell width
    { 197, 0, 99 }, // vertical distance
    { 200, 0, 999 }, // connector length
    { 199, 0, 999 }, // indent
    { 210, 1, 0 }, // expand-button height: up to the cell height
    { 209, 1, 0 }, // expand-button width: up to half the cell width
} };

} // namespace

TCellColors DefaultCellColors()
{
    return { 0x00FF00, 0x00FFFF, 0x41BCFE, 0xFFFFA8, 0xFEBC8B, 0xFFA4FF, 0xFFFFFF };
}

TCellColors CellColorSettings()
{
    return { CellColorChecked, CellColorFilledVal, CellColorUnFilledVal, CellColorFilledNeistota,
        CellColorUnFilledNeistota, CellColorNeaktivnaNeistota, BackgroundColor };
}

TCellSizes DefaultCellSizes()
{
    const int height = 18, width = 130;
    return { height, width, height / 5, height, width / 3, 9, 9 };
}

TCellSizes CellSizeSettings()
{
    return { CellHeight, CellWidth, VertDistanceBetweenCells, HorizontalBondWidth, BeginHorizontalBond, PlusMinusHeight,
        PlusMinusWidth };
}

int CellSizeLabelText(TCellSizeField field)
{
    return kSizeRules[size_t(field)].labelText;
}

std::optional<TCellSizeRefusal> CheckCellSizes(const TCellSizeTexts& texts, TCellSizes& sizes)
{
    for (int f = 0; f < sfCount; ++f) {
        const SizeRule& rule = kSizeRules[size_t(f)];
        int maximum = rule.fixedMaximum;
        if (f == sfPlusMinusHeight)
            maximum = sizes[sfCellHeight];
        else if (f == sfPlusMinusWidth)
            maximum = sizes[sfCellWidth] / 2;
        const QString label = GetString(rule.labelText);
        bool whole = false;
        const int value = texts[size_t(f)].trimmed().toInt(&whole);
        if (!whole || value < rule.minimum) {
            return TCellSizeRefusal { TCellSizeField(f),
                GetString(kSizeRangeText, { label, QString::number(rule.minimum), QString::number(maximum) }) };
        }
        if (value > maximum)
            return TCellSizeRefusal { TCellSizeField(f), GetString(591, { label, QString::number(maximum) }) };
        sizes[size_t(f)] = value;
    }
    return std::nullopt;
}

bool ApplySettingsDialogValues(const TSettingsDialogValues& v)
{
    CellColorChecked = v.Colors.Checked;
    CellColorFilledVal = v.Colors.FilledVal;
    CellColorUnFilledVal = v.Colors.UnFilledVal;
    CellColorFilledNeistota = v.Colors.FilledNeistota;
    CellColorUnFilledNeistota = v.Colors.UnFilledNeistota;
    CellColorNeaktivnaNeistota = v.Colors.NeaktivnaNeistota;
    BackgroundColor = v.Colors.Background;
    PovolenaZmenaFarbyOznacenejBunky = v.SelectedColorEnabled;

    DiagramPrintColors = v.DiagramColoring;
    CellFontName = v.FontName;
    DefaultFontSize = v.FontSize;
    CellFontSize = v.FontSize;
    CellHeight = v.Sizes[sfCellHeight];
    CellWidth = v.Sizes[sfCellWidth];
    VertDistanceBetweenCells = v.Sizes[sfVertDistance];
    HorizontalBondWidth = v.Sizes[sfHorizontalBond];
    BeginHorizontalBond = v.Sizes[sfBeginHorizontalBond];
    PlusMinusHeight = v.Sizes[sfPlusMinusHeight];
    PlusMinusWidth = v.Sizes[sfPlusMinusWidth];
    HorizPlusMinus = v.HorizPlusMinus;
    VertPlusMinus = v.VertPlusMinus;

    bool recalculate = false;
    const int mode = v.DerivativeMode == 0 ? 0 : 1;
    if (DerivativeMode != mode)
        recalculate = true;
    DerivativeMode = mode;

    if (v.Language == 0 || v.Language == 1)
        LanguageID = quint8(v.Language);
    CommentsPasteToTempates = v.CommentsPaste;
    if (ZeroToCalculations != v.ZeroToCalculations) {
        ZeroToCalculations = v.ZeroToCalculations;
        recalculate = true;
    }
    if (SignificantDigits != v.SignificantDigits)
        recalculate = true;
    SignificantDigits = quint8(v.SignificantDigits);

    ExponentBelowIndex = quint8(v.ExponentBelowIndex);
    ExponentAboveIndex = quint8(v.ExponentAboveIndex);
    DeriveExponentLimits();
    MoreGroupsOfFolders = v.MoreGroupsOfFolders;

    SaveSettings();
    ScaleLayoutToZoom();
    return recalculate;
}

} // namespace orvek
