#pragma once
// Reads spreadsheet workbooks without a spreadsheet program: open a file by name, read
// a cell by the sheet's position and an A1 address, close. Every sheet is parsed once
// when the file opens, so reading a cell is a lookup. The program never writes a
// workbook. Formats: ".xls" (BIFF5 and BIFF8), ".xlsx" (Office Open XML) and
// ".ods" (OpenDocument), recognised by their content, not by the file name.

#include <QDate>
#include <QString>
#include <memory>
#include <vector>

namespace orvek {

// One cell as the workbook stores it; formula cells hold their stored result.
struct WorkbookCell {
    enum class Kind { Empty, Text, Number, Date, Error };
    Kind kind = Kind::Empty;
    QString text; // Text: the text; Error: the error code as the workbook writes it ("#DIV/0!")
    double number = 0; // Number
    QDate date; // Date (a time of day is not kept)

    static WorkbookCell FromText(const QString& text) { return { Kind::Text, text, 0, {} }; }
    static WorkbookCell FromNumber(double value) { return { Kind::Number, {}, value, {} }; }
    static WorkbookCell FromDate(const QDate& date) { return { Kind::Date, {}, 0, date }; }
    static WorkbookCell FromError(const QString& code) { return { Kind::Error, code, 0, {} }; }
};

// Why a workbook did not open.
enum class WorkbookError { None, NotFound, UnknownFormat, Unreadable };

// The cells of one sheet, stored as runs of equal rows and of equal cells, so that the
// repeated rows and columns of an OpenDocument sheet take no room. Rows and columns
// count from 1.
class WorkbookSheet {
public:
    // The largest sheet: what lies beyond is not kept.
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;

    // Adds Count equal rows from Row on (cut at the last row of a sheet); rows must be
    // added in ascending order. A row beyond the sheet is not added, and the cells
    // added after it are dropped.
    void AddRows(int row, int count);
    // Adds Count equal cells from Column on to the rows added last; columns ascending.
    void AddCells(int column, int count, const WorkbookCell& cell);
    // Sorts rows and cells when a file did not list them in order.
    void Finish();
    const WorkbookCell& Cell(int row, int column) const;
    bool IsEmpty() const { return rows_.empty(); }

private:
    struct CellRun {
        int first, count;
        WorkbookCell cell;
    };
    struct RowRun {
        int first, count;
        std::vector<CellRun> cells;
    };
    std::vector<RowRun> rows_;
    bool lastRowsAdded_ = false;
};

// The calls the weighing import makes; tests give it a fake.
class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;
    // Opens FileName and parses every sheet; False with the reason on failure.
    virtual bool Open(const QString& fileName, WorkbookError* error = nullptr) = 0;
    // The cell at Address ("C1") of sheet Sheet (1 = the first sheet). A sheet or an
    // address that does not exist gives an empty cell, as in a spreadsheet.
    virtual WorkbookCell ReadCell(int sheet, const QString& address) const = 0;
    // The number of sheets of the open workbook.
    virtual int SheetCount() const = 0;
    virtual void Close() = 0;
};

// The reader of workbook files.
class WorkbookFileReader : public WorkbookReader {
public:
    WorkbookFileReader();
    ~WorkbookFileReader() override;
    bool Open(const QString& fileName, WorkbookError* error = nullptr) override;
    WorkbookCell ReadCell(int sheet, const QString& address) const override;
    int SheetCount() const override { return int(sheets_.size()); }
    void Close() override;

private:
    std::vector<WorkbookSheet> sheets_;
};

// "C12" as row 12, column 3; "AA1" is column 27. False for anything else, including
// a row or column beyond the largest sheet (1,048,576 rows, 16,384 columns).
bool ParseCellAddress(const QString& address, int& row, int& column);

// The date of a spreadsheet serial number: days since 30.12.1899, or since 1.1.1904
// for a workbook in the 1904 date system; the time of day is dropped. The 1900 system
// counts a 29.2.1900 that never was, so serials below 61 are one day off and are
// mended. Invalid for serials outside the years 1 to 9999.
QDate SpreadsheetSerialToDate(double serial, bool date1904);

// The format readers, one per file kind (workbook_xls.cpp, workbook_xlsx.cpp,
// workbook_ods.cpp). Each fills Sheets in the workbook's order.
bool ReadXlsWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets);
bool ReadXlsxWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets);
bool ReadOdsWorkbook(const QString& fileName, std::vector<WorkbookSheet>& sheets);

} // namespace orvek
