#pragma once
// The quantities of one equation: what ScanEquation collects from the right side of
// an equation and what the model and the equation dialog fill in further.

#include <QString>
#include <QtGlobal>

#include <array>

namespace orvek {

class TCell;

// One quantity of an equation.
struct TInfo_o_bunke_typu_velicina {
    int ChildIndex = 0; // index of the quantity's cell among the equation cell's children
    TCell* Cell = nullptr; // that cell (not owned)
    QString CellName;
    QString CellComment;
    int CellId = 0;
    quint8 ValueType = 0;
    QString Symbol; // the only field ScanEquation fills
    QString QuantityName;
    QString UnitText;
    QString Value;
    QString CombinedUncertainty;
    QString DegreesOfFreedom;
    QString SumFormula;
    QString SumFormulaDetails;
    int Occurrences = 0; // whole-word occurrences of Symbol in the equation
};

// Count and up to 100 quantities; entries 1..Count are used (Items[0] is unused so
// that the numbering of the entries stays 1-based).
struct TInfo_o_bunkach_typu_velicina {
    static constexpr int Capacity = 100;
    int Count = 0;
    std::array<TInfo_o_bunke_typu_velicina, Capacity + 1> Items;

    TInfo_o_bunke_typu_velicina& operator[](int i) { return Items[i]; }
    const TInfo_o_bunke_typu_velicina& operator[](int i) const { return Items[i]; }
};

} // namespace orvek
