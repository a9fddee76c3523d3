#pragma once
// The rules the cell tool applies to the tree: which quantity owns a source, the mean a
// measured-series source hands to that quantity, the one-series-source rule, the new
// sources a conversion adds, and the texts of the change history.

#include <QString>
#include <QtGlobal>

namespace orvek {

class TCell;
struct TVstupStandardnejNeistoty;

// The nearest cell from Cell upwards (Cell included) that is not an uncertainty cell:
// the quantity (or equation) that a source below Cell belongs to. Null when there is
// none. A source's owner is QuantityOwning(source->FParent).
TCell* QuantityOwning(TCell* cell);

// Methods 6, 7, 13 and 14 carry the mean of their readings.
bool IsSeriesMethod(int method);
// The mean of a series record (AP_3, AP_4, AP_9, AP_10); empty for other methods.
QString SeriesMean(const TVstupStandardnejNeistoty& rec);

// The owner Quantity takes the mean of a series Source as its value when the mean is
// not empty and the value is not template-locked. True when it changed.
bool TransferSeriesMean(TCell& quantity, const TVstupStandardnejNeistoty& rec);
// Clears the owner's value and its transferred flag when the value was transferred
// from this record's mean (as stored or as the source dialog displays it). True when
// it changed.
bool ClearSeriesMean(TCell& quantity, const TVstupStandardnejNeistoty& rec);

// Whether Source (null for a new one) may use Method among the active sources of
// Owner; when not, message 1066 names the method. Without an owner every method passes.
bool CheckMethodAllowed(TCell* owner, TCell* source, int method);

// Adds an active uncertainty source with a cleared record under Quantity, named text
// 324 + " " + its symbol, in its unit.
TCell* AddNewSource(TCell& quantity);

// The description of Cell alone (DescribeSubtree off, restored on every way out).
QString DescribeOneCell(TCell& cell);
// The before text of a history row: bold text 83, the cell's name, a CR and the
// one-cell description.
QString HistoryBeforeText(TCell& cell);
// A heading, two CRs and the one-cell description.
QString HistoryHeadedText(const QString& heading, TCell& cell);

// Sets EditMode for the life of the object.
class TEditModeScope {
public:
    explicit TEditModeScope(quint8 mode);
    ~TEditModeScope();
    TEditModeScope(const TEditModeScope&) = delete;
    TEditModeScope& operator=(const TEditModeScope&) = delete;

private:
    quint8 saved_;
};

} // namespace orvek
