#pragma once
// The texts of an evaluated model's report: its equations, the table of input
// quantities, the uncertainty budgets per source and per quantity, the result table and
// the whole short and full report bodies, all as mark-up. Every number is read from the
// cells, where the evaluation left it as text; building a report reads the model and
// refreshes only the sensitivity results of the evaluation.

#include "core/services.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace orvek {

class TCell;

struct TBudgetRow {
    TCell* Cell = nullptr;
    QString Symbol;
    quint8 CellType = 0; // 0 equation, 1 quantity, 2 uncertainty
    quint8 ValueType = 0;
    QString UnitText, QuantityName, Value;
    QString Uncertainty; // the combined standard uncertainty
    QString DegreesOfFreedom; // its integer part, or "Nekonecno"
    QString Sensitivity, Contribution;
};

// The rows of the budget of the report being built; they grow with the model.
inline std::vector<TBudgetRow> BudgetRows;
// The running number of the numbered equations and of the description chapters.
inline int EquationCounter = 0;

// Symbol " = " normalised equation of the cell and of its equation-cell descendants, one
// per line (CR LF); empty when anything fails.
// The name of a quantity as the reports print it: its quantity name, or, where it has
// none, the name its box shows.
QString QuantityNameText(const TCell& cell);

QString EquationsText(const TCell& cell);
// The same numbered with EquationCounter, as headings of the report.
QString NumberedEquationsText(const TCell& cell);
// Appends the cell and, recursively, its equation and quantity children to BudgetRows.
// An uncertainty cell is collected only as a root.
void CollectBudgetRows(TCell& cell);
// The table of the input quantities from BudgetRows.
QString InputQuantityTable();
// The budget per quantity from BudgetRows; WithDof adds the degrees-of-freedom column.
QString BuildBudgetTable(bool WithDof);
// The budget per source from the evaluation's source list.
QString BuildSourceBudgetTable();
// The result table of the cell.
QString ResultTable(const TCell& cell);
// The distribution column of the budgets for a cell, with the distribution's flag.
void DistributionText(const TCell& cell, quint8& Flag, QString& Text);
QString DistributionText(const TCell& cell);

// DistributionText as the service through which the evaluation fills its source list.
class DistributionTextProvider : public DistributionTextService {
public:
    void DistributionText(const TCell& cell, quint8& flag, QString& text) override;
};

// The report bodies, called on the root. The full one takes its sections from
// ReportSections; the short one always holds equations, input table, budget and result.
// A model too large for the report table throws std::out_of_range.
QString FullReportText(TCell& root);
QString ShortReportText(TCell& root);

// The placeholder of the full report that the report window replaces by the picture of
// the diagram.
inline const QString DiagramPlaceholder = QStringLiteral("Strom_do_reportu");

} // namespace orvek
