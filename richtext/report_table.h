#pragma once
// The report table: the one buffer in which every table of a report is assembled before
// it is written out as a table block of the mark-up.

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>
#include <stdexcept>

namespace orvek {

// A table cell beyond the report table's rows or columns: the report is larger than a
// report can hold.
class EReportTableFull : public std::out_of_range {
public:
    EReportTableFull();
};

struct TStringTable {
    static constexpr int MaxColumns = 100;
    static constexpr int MaxRows = 2000;

    int RowCount = 0; // rows in use; row 1 is the header row
    int ColCount = 0; // columns in use
    std::array<int, MaxColumns + 1> ColWidths {}; // twips; element 0 is not used

    // Cell (Column, Row), 1-based; a cell is mark-up or an RTF text. An index out of
    // range throws EReportTableFull.
    QString& Cells(int column, int row);
    const QString& Cells(int column, int row) const;

    // Clears the whole table to zeros and empty cells.
    void Clear();

private:
    std::array<QString, MaxColumns * MaxRows> cells_;
};

// The table in use; nil while no table is being built. Owned by the ReportTableOwner that
// allocated it.
inline TStringTable* ReportTable = nullptr;

// Ownership of ReportTable: the first owner in a nesting allocates the table and frees it
// again when it goes out of scope, also when an exception passes, leaving ReportTable nil;
// owners created while a table exists use it without owning it.
class ReportTableOwner {
public:
    ReportTableOwner();
    ~ReportTableOwner();
    ReportTableOwner(const ReportTableOwner&) = delete;
    ReportTableOwner& operator=(const ReportTableOwner&) = delete;
    TStringTable& Table() { return *ReportTable; }

private:
    std::unique_ptr<TStringTable> owned_;
};

// Text := a CR and the table block of ReportTable. With AutoWidths the column widths are
// estimated first (AutoSizeTableColumns); either way they are then fitted to the page
// (FitTableColumns with the report body less Left). Cells holding a TAB or a line end,
// which would break the block's rows, carry them as blanks (mark-up) or drop the line
// ends (RTF, where they carry no meaning).
void BuildTableMarkup(bool AutoWidths, quint8 WidthMode, int FontSize, QString& Text, int Left);

// Fits ColWidths of ReportTable: every column at least as wide as the widest word of its
// cells, header included (words never break, so numbers never wrap); a table wider than
// MaxWidth twips gives up first the room no cell fills, then what wrapping text can give,
// so that number columns keep their width; a column whose cells wrap takes the room left
// and the room other columns do not fill.
void FitTableColumns(int FontSize, int MaxWidth);

// The width of a report page's body in twips (the page of DefaultReportPage).
int ReportBodyWidth();

// Sets ColWidths[1..ColCount] of ReportTable from the cell texts.
void AutoSizeTableColumns(quint8 Mode, int FontSize);

// Removes every occurrence of the 17 format and alignment codes and of "[cf1]"; the
// arguments of "[cfsize" and "[cfcolor" stay.
void StripFormatCodes(QString& Text);

// The plain text of an RTF cell (":RTF_BEGIN" and ":RTF_END" removed first).
QString PlainTextOfRtfBlock(const QString& Text);

} // namespace orvek
