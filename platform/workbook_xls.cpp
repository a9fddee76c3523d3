// ".xls" workbooks (BIFF in a compound file) through FreeXL, which reports the cells
// of one worksheet at a time with dates already recognised from their formats; the
// results of formula cells, which FreeXL leaves empty, come from our own reading.

#include "platform/workbook_parts.h"
#include "platform/workbook_reader.h"

#include <QFile>
#include <freexl.h>

namespace orvek {

namespace {

class XlsHandle {
public:
    ~XlsHandle()
    {
        if (handle)
            freexl_close(handle);
    }
    const void* handle = nullptr;
};

WorkbookCell CellOf(const FreeXL_CellValue& value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return WorkbookCell::FromNumber(double(value.value.int_value));
    case FREEXL_CELL_DOUBLE:
        return WorkbookCell::FromNumber(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return WorkbookCell::FromText(QString::fromUtf8(value.value.text_value));
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME: {
        // "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"
        const QDate date = QDate::fromString(QString::fromLatin1(value.value.text_value).left(10), Qt::ISODate);
        return date.isValid() ? WorkbookCell::FromDate(date)
                              : WorkbookCell::FromText(QString::fromLatin1(value.value.text_value));
    }
    case FREEXL_CELL_TIME:
        return WorkbookCell::FromText(QString::fromLatin1(value.value.text_value));
    default:
        return {};
    }
}

} // namespace

bool ReadXlsWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets)
{
    std::vector<QHash<quint64, WorkbookCell>> formulas;
    ReadXlsFormulaResults(fileName, formulas);
    XlsHandle xls;
    if (freexl_open(QFile::encodeName(fileName).constData(), &xls.handle) != FREEXL_OK)
        return false;
    unsigned int count = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return false;
    sheets.assign(count, WorkbookSheet());
    // Without the formula results of every sheet, formula cells stay empty.
    if (formulas.size() != count)
        formulas.assign(count, {});
    for (unsigned int s = 0; s < count; ++s) {
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(xls.handle, static_cast<unsigned short>(s)) != FREEXL_OK
            || freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK)
            return false;
        WorkbookSheet& sheet = sheets[s];
        for (unsigned int r = 0; r < rows; ++r) {
            bool rowAdded = false;
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(xls.handle, r, c, &value) != FREEXL_OK)
                    return false;
                WorkbookCell cell = CellOf(value);
                if (cell.kind == WorkbookCell::Kind::Empty)
                    cell = formulas[s].value(FormulaCellKey(int(r) + 1, int(c) + 1));
                if (cell.kind == WorkbookCell::Kind::Empty)
                    continue;
                if (!rowAdded) {
                    sheet.AddRows(int(r) + 1, 1);
                    rowAdded = true;
                }
                sheet.AddCells(int(c) + 1, 1, cell);
            }
        }
    }
    return true;
}

} // namespace orvek
