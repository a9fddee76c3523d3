#pragma once
// Stand-in for the shared report table of the rich-text library until that library is
// part of this build: the same names and calls, in a namespace of their own so that the
// two never collide. The chart tables reach it through the alias in chart_tables.cpp;
// when the rich-text report table is available, that alias points at it and this file
// goes.

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

namespace orvek::report_table_adapter {

struct TStringTable {
    static constexpr int MaxColumns = 100;
    static constexpr int MaxRows = 2000;

    TStringTable();
    int RowCount = 0;
    int ColCount = 0;
    std::array<int, MaxColumns + 1> ColWidths {};
    // Cell (Column, Row), 1-based; out of range throws std::out_of_range.
    QString& Cells(int column, int row);
    const QString& Cells(int column, int row) const;
    void Clear();

private:
    std::vector<QString> cells_;
};

inline TStringTable* ReportTable = nullptr;

// Allocates ReportTable when there is none and frees it again at the end of its scope.
class ReportTableOwner {
public:
    ReportTableOwner();
    ~ReportTableOwner();
    ReportTableOwner(const ReportTableOwner&) = delete;
    ReportTableOwner& operator=(const ReportTableOwner&) = delete;

private:
    std::unique_ptr<TStringTable> owned_;
};

// Text := a CR and the table block of ReportTable.
void BuildTableMarkup(bool AutoWidths, quint8 WidthMode, int FontSize, QString& Text, int Left);

// An RTF text wrapped as ":RTF_BEGIN" ... ":RTF_END"; other text unchanged.
QString WrapRtfBlock(const QString& Text);

} // namespace orvek::report_table_adapter
