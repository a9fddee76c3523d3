#pragma once
// The data grid of the database windows: reports clicks on the row indicators (the
// vertical header; the corner cell is the title row's indicator), moves columns only
// when allowed, and draws its data cells on one line or word-wrapped in taller rows.

#include <QTableView>
#include <functional>

namespace orvek {

class TVxDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TVxDBGrid(QWidget* parent = nullptr);

    // Columns may be dragged to a new position only when True.
    bool ColMovingEnabled() const { return colMovingEnabled_; }
    void SetColMovingEnabled(bool enabled);

    // The default row height is multiplied by the factor; above 1 the cells wrap.
    int RowHeightFactor() const { return rowHeightFactor_; }
    void SetRowHeightFactor(int factor);

    // Row of a pending indicator press (1-based; 0 the title row, -1 none).
    int PressedIndicatorRow = -1;
    bool RowIndicatorPressed() const { return PressedIndicatorRow >= 0; }

    // ARow is 1-based, as the indicator press counts it.
    std::function<void(int row)> OnRowIndicatorClick;
    std::function<void()> OnMainIndicatorClick;
    std::function<void(QMouseEvent*)> OnMouseDown, OnMouseMove, OnMouseUp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyRowHeight();
    bool colMovingEnabled_ = false;
    int rowHeightFactor_ = 1;
    int baseRowHeight_ = 0;
};

} // namespace orvek
