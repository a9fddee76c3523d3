#pragma once
// The navigator of the database windows: four buttons that move a grid's current row to
// the first, the previous, the next and the last row.

#include <QWidget>

class QAbstractItemModel;
class QAbstractItemView;
class QLabel;
class QToolButton;

namespace orvek {

class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit TDBNavigator(QWidget* parent = nullptr);

    // The grid whose rows the buttons move through.
    void SetView(QAbstractItemView* view);
    // The hints, texts 336 to 339.
    void ApplyHints();
    // Makes row Row (0-based, clamped) the grid's current row.
    void MoveTo(int row);

    QToolButton* ButtonFirst = nullptr;
    QToolButton* ButtonPrior = nullptr;
    QToolButton* ButtonNext = nullptr;
    QToolButton* ButtonLast = nullptr;

private:
    void UpdateButtons();
    QAbstractItemView* view_ = nullptr;
};

class TVxDBGrid;

// The row browser of the history windows: Grid shows Model's rows read-only, whole rows
// selected one at a time, and the navigator (named NavigatorName) moves through them.
TDBNavigator* SetUpBrowseGrid(TVxDBGrid* grid, QAbstractItemModel* model, const QString& navigatorName);
// The framed panel that shows the row number and the row count.
QLabel* NewRecNoPanel(QWidget* parent);

} // namespace orvek
