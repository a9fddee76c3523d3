#pragma once
// A workbook held in memory for the weighing import, and the smallest model that takes
// imported chart data: y = m, with one source of m.

#include "engine/cell.h"
#include "platform/workbook_reader.h"

#include <QHash>
#include <map>
#include <memory>

namespace orvek::test {

class FakeWorkbook : public WorkbookReader {
public:
    // Sheet 1 and 2 exist; cells are set by sheet and A1 address.
    void Set(int sheet, const QString& address, const WorkbookCell& cell) { cells_[{ sheet, address }] = cell; }
    void SetText(int sheet, const QString& address, const QString& text)
    {
        Set(sheet, address, WorkbookCell::FromText(text));
    }
    // Row Row of Sheet from column A on; empty texts leave cells empty.
    void SetRow(int sheet, int row, const QStringList& texts)
    {
        for (int c = 0; c < texts.size(); ++c)
            if (!texts[c].isEmpty())
                SetText(sheet, QChar('A' + c) + QString::number(row), texts[c]);
    }

    bool Open(const QString&, WorkbookError* error) override
    {
        ++opened;
        if (error)
            *error = openError;
        isOpen = openError == WorkbookError::None;
        return isOpen;
    }
    WorkbookCell ReadCell(int sheet, const QString& address) const override
    {
        ++reads;
        auto it = cells_.find({ sheet, address });
        return it == cells_.end() ? WorkbookCell() : it->second;
    }
    int SheetCount() const override { return 2; }
    void Close() override { isOpen = false; }

    WorkbookError openError = WorkbookError::None;
    bool isOpen = false;
    int opened = 0;
    mutable int reads = 0;

private:
    std::map<std::pair<int, QString>, WorkbookCell> cells_;
};

// y = m with the quantity m = 1000 and one source of m by Method.
inline std::unique_ptr<TCell> ChartModel(quint8 method = 12)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = info.NormalizedEquation = "y=m";
    info.Coverage = 1;
    auto root = std::make_unique<TCell>(nullptr, info, 0, 0, nullptr);
    TPrenosInfoDoNovejBunky quantity;
    quantity.CellType = kQuantityCell;
    quantity.CellName = quantity.Symbol = quantity.QuantityName = "m";
    quantity.Value = "1000";
    TCell* m = root->AddChild(quantity);
    TPrenosInfoDoNovejBunky source;
    source.CellType = kUncertaintyCell;
    source.CellName = "opakovateľnosť";
    source.Active = 1;
    source.UncertaintyInput.TSN = method;
    source.UncertaintyInput.HSN = "0.2";
    source.UncertaintyInput.Meral_8 = "Novák@";
    source.UncertaintyInput.UR_8 = 1;
    source.UncertaintyInput.R_OD_8 = 2;
    source.UncertaintyInput.R_DO_8 = 3;
    source.UncertaintyInput.FD_8 = "M/d/yyyy";
    source.UncertaintyInput.OV_8 = 1;
    m->AddChild(source);
    return root;
}

inline TVstupStandardnejNeistoty& FirstSource(TCell& root)
{
    return root.Child(0)->Child(0)->FUncertaintyInput;
}

} // namespace orvek::test
