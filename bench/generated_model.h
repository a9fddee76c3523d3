#pragma once
// Generated models for the benchmarks: equations of at most ten inputs each, nested
// (1,000 inputs are 10 equations of 10 equations of 10 quantities), every quantity with
// type-B sources.

#include "engine/cell.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace bench {

using namespace orvek;

inline TPrenosInfoDoNovejBunky EquationInfo(const QString& symbol, const QStringList& inputs)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = symbol;
    info.Symbol = symbol;
    // Sums of products and powers: numerically close to a flat sum, not linear.
    QString rhs;
    for (int i = 0; i < inputs.size(); ++i)
        rhs += (i ? (i % 2 ? "+" : "+0.5*") : "") + inputs[i] + (i % 3 == 2 ? "^2" : "");
    info.Equation = symbol + "=" + rhs;
    info.NormalizedEquation = info.Equation;
    info.Coverage = 1;
    return info;
}

// A quantity with Sources type-B sources; a single source alternates between the two
// kinds by the quantity's Index.
inline void AddQuantity(TCell& parent, const QString& symbol, int index, int sources)
{
    TPrenosInfoDoNovejBunky q;
    q.CellType = kQuantityCell;
    q.CellName = symbol;
    q.Symbol = symbol;
    q.Value = QString::number(1.0 + (index % 17) * 0.37, 'g', 10);
    TCell* cell = parent.AddChild(q);
    for (int s = 0; s < sources; ++s) {
        const bool second = sources == 1 ? index % 2 : s;
        TPrenosInfoDoNovejBunky src;
        src.CellType = kUncertaintyCell;
        src.Active = 1;
        src.UncertaintyInput.TSN = 3;
        src.UncertaintyInput.SO_2_3.Text = second ? "0.02" : "0.01";
        src.UncertaintyInput.PSV_2_3.Text = second ? "Nekonecno" : "20";
        src.UncertaintyInput.HSN = src.UncertaintyInput.SO_2_3.Text;
        cell->AddChild(src);
    }
}

// An equation over Inputs inputs: quantities when Inputs <= 10, else 10 equations over
// a tenth of them each.
inline void Fill(TCell& equation, int inputs, int sources, int& counter)
{
    if (inputs <= 10) {
        for (int i = 0; i < inputs; ++i) {
            const int n = counter++;
            AddQuantity(equation, QStringLiteral("x%1").arg(n), n, sources);
        }
        return;
    }
    for (int i = 0; i < 10; ++i) {
        const QString symbol = QStringLiteral("z%1").arg(counter++);
        TCell* sub = equation.AddChild(EquationInfo(symbol, {}));
        Fill(*sub, inputs / 10, sources, counter);
        QStringList names;
        for (int c = 0; c < sub->ChildCount(); ++c)
            if (sub->Child(c)->FCellType != kUncertaintyCell)
                names << sub->Child(c)->FSymbol.Text;
        const TPrenosInfoDoNovejBunky info = EquationInfo(symbol, names);
        sub->FEquation = info.Equation;
        sub->FNormalizedEquation = info.NormalizedEquation;
    }
}

// The model "y" over Inputs inputs, each quantity with Sources sources.
inline std::unique_ptr<TCell> GeneratedModel(int inputs, int sources = 2)
{
    auto root = std::make_unique<TCell>(nullptr, EquationInfo("y", {}), 0, 0, nullptr);
    int counter = 0;
    Fill(*root, inputs, sources, counter);
    QStringList names;
    for (int c = 0; c < root->ChildCount(); ++c)
        names << root->Child(c)->FSymbol.Text;
    const TPrenosInfoDoNovejBunky info = EquationInfo("y", names);
    root->FEquation = info.Equation;
    root->FNormalizedEquation = info.NormalizedEquation;
    return root;
}

// The quantity cells of a tree, in tree order.
inline void CollectQuantities(TCell& cell, std::vector<TCell*>& out)
{
    for (int i = 0; i < cell.ChildCount(); ++i) {
        TCell* child = cell.Child(i);
        if (child->FCellType == kQuantityCell)
            out.push_back(child);
        else if (child->FCellType == kEquationCell)
            CollectQuantities(*child, out);
    }
}

} // namespace bench
