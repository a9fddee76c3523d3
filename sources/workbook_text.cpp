#include "sources/workbook_text.h"

#include "core/dates.h"
#include "core/number_text.h"
#include "platform/workbook_reader.h"

namespace orvek {

QString WorkbookCellText(const WorkbookCell& cell)
{
    switch (cell.kind) {
    case WorkbookCell::Kind::Text:
        return cell.text;
    case WorkbookCell::Kind::Number:
        return FloatToGeneralText(cell.number);
    case WorkbookCell::Kind::Date:
        return DateToShortText(cell.date);
    case WorkbookCell::Kind::Empty:
    case WorkbookCell::Kind::Error:
        break;
    }
    return {};
}

} // namespace orvek
