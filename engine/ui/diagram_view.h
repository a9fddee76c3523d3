#pragma once
// The scroll box that shows a tree of cells: one box widget per cell, mirroring the
// cell's data, on a canvas that draws the connectors. Box events go back to the cell.

#include "engine/diagram_host.h"

#include <QScrollArea>
#include <QWidget>
#include <unordered_map>
#include <vector>

namespace orvek {

class TCell;
class TDiagramView;

// The box of one cell.
class TCellBoxWidget : public QWidget {
    Q_OBJECT
public:
    TCellBoxWidget(TCell* cell, QWidget* parent);
    TCell* Cell() const { return cell_; }
    // Takes the geometry, visibility, hint and cursor of the cell's box.
    void SyncFromCell();
    void Detach() { cell_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool OnButton(const QPoint& pos) const;
    TCell* cell_;
    bool pressed_ = false;
    bool swallowRelease_ = false;
};

// The canvas inside the scroll box: draws the connectors of every shown cell.
class TDiagramCanvas : public QWidget {
    Q_OBJECT
public:
    TDiagramCanvas(TDiagramView* view, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TDiagramView* view_;
};

class TDiagramView : public QScrollArea, public TDiagramHost {
    Q_OBJECT
public:
    explicit TDiagramView(QWidget* parent = nullptr);
    ~TDiagramView() override;

    TDiagramCanvas* Canvas() const { return canvas_; }
    TCellBoxWidget* BoxOf(const TCell* cell) const;
    const std::unordered_map<const TCell*, TCellBoxWidget*>& Boxes() const { return boxes_; }

    void CellCreated(TCell* cell) override;
    void CellChanged(TCell* cell) override;
    void CellDestroyed(TCell* cell) override;
    void BeginUpdate(bool hourglass) override;
    void EndUpdate() override;

private:
    void ScheduleCanvasRefresh();
    void RefreshCanvas();

    TDiagramCanvas* canvas_;
    std::unordered_map<const TCell*, TCellBoxWidget*> boxes_;
    int updateDepth_ = 0;
    std::vector<bool> hourglassStack_;
    int savedHorizontal_ = 0, savedVertical_ = 0;
    bool refreshScheduled_ = false;
};

} // namespace orvek
