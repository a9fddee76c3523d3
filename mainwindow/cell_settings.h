#pragma once
// The values of the settings dialog and the routines that check and apply them: the
// cell sizes are checked as typed, and nothing is applied until every size passes.

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

namespace orvek {

// Texts of the two exponent-threshold lists, in index order.
inline constexpr std::array<const char*, 7> ExponentBelowChoices { "0,1             (1.E-1)", "0,01           (1.E-2)",
    "0,001         (1.E-3)", "0,0001       (1.E-4)", "0,00001     (1.E-5)", "0,000001   (1.E-6)", "0,0000001 (1.E-7)" };
inline constexpr std::array<const char*, 6> ExponentAboveChoices { "99", "999", "9999", "99999", "999999", "9999999" };

// Colours of the six kinds of cell box and of the diagram background, as $00BBGGRR.
struct TCellColors {
    quint32 Checked = 0, FilledVal = 0, UnFilledVal = 0, FilledNeistota = 0, UnFilledNeistota = 0,
            NeaktivnaNeistota = 0, Background = 0;
    bool operator==(const TCellColors&) const = default;
};
TCellColors DefaultCellColors();
TCellColors CellColorSettings();

// The seven size edits of the dialog, in the order they are checked.
enum TCellSizeField : int {
    sfCellHeight,
    sfCellWidth,
    sfVertDistance,
    sfHorizontalBond,
    sfBeginHorizontalBond,
    sfPlusMinusHeight,
    sfPlusMinusWidth,
    sfCount
};
using TCellSizes = std::array<int, sfCount>;
using TCellSizeTexts = std::array<QString, sfCount>;

// Height 18, width 130, vertical distance height div 5, connector = height, indent =
// width div 3, expand button 9 by 9.
TCellSizes DefaultCellSizes();
TCellSizes CellSizeSettings();
// The number of the text that labels a size field.
int CellSizeLabelText(TCellSizeField field);

// A size that was refused: the field to focus and the message to show.
struct TCellSizeRefusal {
    TCellSizeField Field = sfCellHeight;
    QString Message;
};

// Reads the seven size texts into Sizes, field by field in check order. A text that is
// not a whole number, a negative number, or 0 where no box could be drawn (cell height
// and width, expand-button height and width) is refused with a message naming the field
// and its range; a number above its upper limit (height and vertical distance 99, width,
// connector and indent 999, expand-button height the cell height, expand-button width
// half the cell width) with message 591. The first refusal is returned; Sizes then holds
// the fields read before it.
std::optional<TCellSizeRefusal> CheckCellSizes(const TCellSizeTexts& texts, TCellSizes& sizes);

// Everything the dialog stores on OK.
struct TSettingsDialogValues {
    TCellColors Colors;
    bool SelectedColorEnabled = true;
    TCellSizes Sizes {};
    quint8 HorizPlusMinus = 1, VertPlusMinus = 1; // 0 left / up, 1 right / down
    quint8 DiagramColoring = 1;
    QString FontName;
    int FontSize = 9;
    int DerivativeMode = 0;
    int Language = -1; // 0 English, 1 Slovak, -1 neither button checked
    bool CommentsPaste = true;
    bool ZeroToCalculations = false;
    int SignificantDigits = 2; // 1..8
    int ExponentBelowIndex = 6, ExponentAboveIndex = 5;
    bool MoreGroupsOfFolders = false;
};

// Stores checked Values into the settings, saves them and scales the layout to the
// zoom. True when a change affects computed results (derivative mode, zero handling,
// significant digits): the model must then be recalculated.
bool ApplySettingsDialogValues(const TSettingsDialogValues& values);

} // namespace orvek
