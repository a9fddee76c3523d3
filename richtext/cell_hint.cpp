#include "richtext/cell_hint.h"

#include "core/string_table.h"
#include "core/text_pieces.h"
#include "engine/cell.h"
#include "richtext/report_format.h"

namespace orvek {

QString CellHintText(const TCell& cell)
{
    QString value, u;
    if (!cell.FValue.Text.isEmpty() && !cell.FCombinedUncertainty.isEmpty()) {
        PairTexts(cell.FValue.Text, cell.FCombinedUncertainty, value, u);
    } else {
        value = SignificantText(cell.FValue.Text);
        u = SignificantText(cell.FCombinedUncertainty);
    }
    const QString symbol = cell.FSymbol.Text;
    switch (cell.FCellType) {
    case kEquationCell: {
        QString hint = QStringLiteral("*** ") + GetString(236) + QStringLiteral(" ***") + LineEnd
            + EquationLine(symbol, cell.FNormalizedEquation).remove(QLatin1Char(' ')) + LineEnd + symbol
            + QStringLiteral(" = ") + value + LineEnd + GetString(238) + QStringLiteral(" = ") + u;
        if (!cell.FErrorText.isEmpty())
            hint += LineEnd + cell.FErrorText;
        return hint;
    }
    case kQuantityCell:
        return QStringLiteral("*** ") + GetString(237) + QLatin1Char(' ') + symbol + QStringLiteral(" ***") + LineEnd
            + symbol + QStringLiteral(" = ") + value + LineEnd + GetString(238) + QStringLiteral(" = ") + u;
    case kUncertaintyCell:
        return QStringLiteral("*** ") + GetString(238) + QStringLiteral(" ***") + LineEnd + GetString(239)
            + QStringLiteral(" = ") + SignificantText(cell.FCombinedUncertainty);
    default:
        return QString();
    }
}

} // namespace orvek
