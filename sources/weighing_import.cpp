#include "sources/weighing_import.h"

#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/workbook_reader.h"
#include "sources/chart_data.h"
#include "sources/chart_point_table.h"
#include "sources/workbook_text.h"

#include <QFileInfo>
#include <cmath>
#include <utility>

namespace orvek {

namespace {

constexpr int kFirstDataRow = 6;

void Fail(const QString& text)
{
    MessageDlg(text, TMsgDlgType::mtError, mbCancel);
}

// Closes the workbook on every way out of the read.
class CloseOnExit {
public:
    explicit CloseOnExit(WorkbookReader& reader)
        : reader_(reader)
    {
    }
    ~CloseOnExit() { reader_.Close(); }

private:
    WorkbookReader& reader_;
};

// The text of a cell; False after telling the user when the cell holds an error value.
bool ReadText(const WorkbookReader& reader, int sheet, const QString& address, QString& text)
{
    const WorkbookCell cell = reader.ReadCell(sheet, address);
    if (cell.kind == WorkbookCell::Kind::Error) {
        Fail(GetString(22806, { address, sheet, cell.text }));
        return false;
    }
    text = WorkbookCellText(cell);
    return true;
}

// A weighed mass of the gold sheet; the message names the mass and its cell.
bool ReadMass(const QString& text, const QString& message, int row, double& mass)
{
    if (TryStrToFloatNeutral(text, mass))
        return true;
    Fail(message + QString::number(row) + QString::fromUtf8(" je v nesprávnom formáte"));
    return false;
}

// 1000 x OutText / InText of one measurement of a gold row; an empty result when one
// of the two masses is empty.
bool GoldResult(const WorkbookReader& reader, int sheet, int row, QChar inColumn, QChar outColumn,
    const QString& inMessage, const QString& outMessage, QString& result)
{
    QString in, out;
    if (!ReadText(reader, sheet, inColumn + QString::number(row), in)
        || !ReadText(reader, sheet, outColumn + QString::number(row), out))
        return false;
    result.clear();
    if (in.isEmpty() || out.isEmpty())
        return true;
    double inMass = 0, outMass = 0;
    if (!ReadMass(in, inMessage, row, inMass) || !ReadMass(out, outMessage, row, outMass))
        return false;
    if (inMass == 0) {
        Fail(GetString(22804, { inColumn + QString::number(row) }));
        return false;
    }
    result = FloatToAutoDecimalsText(false, 1000 * outMass / inMass);
    return true;
}

bool ReadRow(const WorkbookReader& reader, quint8 kind, int sheet, int row, TExcelMeranie& entry)
{
    const QString r = QString::number(row);
    if (!ReadText(reader, sheet, "A" + r, entry.TextA))
        return false;
    if (kind == kWeighingGold)
        return GoldResult(reader, sheet, row, u'C', u'D',
                   QString::fromUtf8("Hodnota navážky Merania A pre Zlato v bunke C"),
                   QString::fromUtf8("Hodnota vyvážky Merania A pre Zlato v bunke D"), entry.ValueA)
            && GoldResult(reader, sheet, row, u'F', u'G',
                QString::fromUtf8("Hodnota navážky Merania B pre Zlato v bunke F"),
                QString::fromUtf8("Hodnota vyvážky Merania B pre Zlato v bunke G"), entry.ValueB);
    return ReadText(reader, sheet, "B" + r, entry.TextB) && ReadText(reader, sheet, "E" + r, entry.ValueA)
        && ReadText(reader, sheet, "H" + r, entry.ValueB);
}

// Whether the texts of a complete row read back from the chart lists they go to, as
// typed and pasted cells must: the date may not hold what separates the items of a
// list, and each result must be a value the chart reads. False after naming the cell
// that does not.
bool FitsChartLists(const WorkbookReader& reader, quint8 kind, int sheet, int row, const TExcelMeranie& entry)
{
    const QString r = QString::number(row);
    if (!FitsPointList(entry.TextA)) {
        Fail(GetString(24100, { "A" + r, sheet, entry.TextA }));
        return false;
    }
    // A gold result is computed from its masses; the weighed-out mass is named with it.
    const QString columnA = kind == kWeighingGold ? "D" : "E";
    const QString columnB = kind == kWeighingGold ? "G" : "H";
    for (const auto& [value, column] : { std::pair { entry.ValueA, columnA }, std::pair { entry.ValueB, columnB } }) {
        double number = 0;
        if (!ReadChartPointValue(value, number)) {
            QString text = value;
            if (kind == kWeighingGold)
                ReadText(reader, sheet, column + r, text);
            Fail(GetString(FitsPointList(text) ? 24101 : 24100, { column + r, sheet, text }));
            return false;
        }
    }
    return true;
}

} // namespace

bool ReadWeighingWorkbook(quint8 Kind, const QString& FileName)
{
    WorkbookFileReader reader;
    return ReadWeighingWorkbook(Kind, FileName, reader);
}

bool ReadWeighingWorkbook(quint8 Kind, const QString& FileName, WorkbookReader& reader)
{
    // Whatever happens below, nothing of an earlier read is left to pass on.
    for (TExcelMeranie& entry : AssayRows)
        entry = TExcelMeranie();
    AssayRowCount = 0;
    AssaySizesText.clear();
    AssayValuesText.clear();
    AssayDatesText.clear();

    if (FileName.isEmpty() || !QFileInfo(FileName).isFile()) {
        Fail(GetString(22800, { FileName }));
        return false;
    }
    WorkbookError error = WorkbookError::None;
    if (!reader.Open(FileName, &error)) {
        Fail(GetString(error == WorkbookError::UnknownFormat ? 22801 : 22802, { FileName }));
        return false;
    }
    CloseOnExit closer(reader);

    const QString keyword = Kind == kWeighingGold ? "ZLATO" : "STRIEBRO";
    int sheet = 0;
    for (int candidate : { 1, 2 }) {
        QString c1;
        if (!ReadText(reader, candidate, "C1", c1))
            return false;
        if (c1.trimmed().toUpper().contains(keyword)) {
            sheet = candidate;
            break;
        }
    }
    if (sheet == 0) {
        Fail(GetString(22803, { FileName, keyword }));
        return false;
    }

    int count = 0;
    for (int row = kFirstDataRow;; ++row) {
        if (count == kAssayRowsMax) {
            Fail(GetString(22805, { FileName, kAssayRowsMax - 1 }));
            return false;
        }
        TExcelMeranie& entry = AssayRows[size_t(count)];
        if (!ReadRow(reader, Kind, sheet, row, entry))
            return false;
        if (entry.TextA.isEmpty() || entry.ValueA.isEmpty() || entry.ValueB.isEmpty())
            break;
        if (!FitsChartLists(reader, Kind, sheet, row, entry))
            return false;
        ++count;
    }
    if (count == 0) {
        Fail(GetString(22810, { sheet, FileName }));
        return false;
    }

    AssayRowCount = count;
    for (int k = 0; k < count; ++k) {
        const TExcelMeranie& entry = AssayRows[size_t(k)];
        AssayDatesText += entry.TextA + "@";
        AssayValuesText += entry.ValueA + "@" + entry.ValueB + "@";
        AssaySizesText += "2@";
    }
    return true;
}

} // namespace orvek
