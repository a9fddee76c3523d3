#include "database/ui/db_navigator.h"

#include "core/string_table.h"
#include "core/ui/tool_icons.h"
#include "database/ui/vx_db_grid.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace orvek {

TDBNavigator::TDBNavigator(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    const auto make = [&](const char* name, int step, auto move) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(NavigatorIcon(step));
        connect(button, &QToolButton::clicked, this, move);
        layout->addWidget(button);
        return button;
    };
    ButtonFirst = make("ButtonFirst", 0, [this] { MoveTo(0); });
    ButtonPrior = make("ButtonPrior", 1, [this] {
        if (view_)
            MoveTo(view_->currentIndex().row() - 1);
    });
    ButtonNext = make("ButtonNext", 2, [this] {
        if (view_)
            MoveTo(view_->currentIndex().row() + 1);
    });
    ButtonLast = make("ButtonLast", 3, [this] {
        if (view_ && view_->model())
            MoveTo(view_->model()->rowCount() - 1);
    });
    UpdateButtons();
}

void TDBNavigator::SetView(QAbstractItemView* view)
{
    view_ = view;
    if (view_ && view_->model()) {
        // Rows read, added or taken away change which steps are possible.
        QAbstractItemModel* model = view_->model();
        const auto update = [this] { UpdateButtons(); };
        connect(model, &QAbstractItemModel::modelReset, this, update);
        connect(model, &QAbstractItemModel::layoutChanged, this, update);
        connect(model, &QAbstractItemModel::rowsInserted, this, update);
        connect(model, &QAbstractItemModel::rowsRemoved, this, update);
        connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, &TDBNavigator::UpdateButtons);
    }
    UpdateButtons();
}

void TDBNavigator::ApplyHints()
{
    ButtonFirst->setToolTip(GetString(336));
    ButtonPrior->setToolTip(GetString(337));
    ButtonNext->setToolTip(GetString(338));
    ButtonLast->setToolTip(GetString(339));
}

void TDBNavigator::MoveTo(int row)
{
    if (!view_ || !view_->model() || view_->model()->rowCount() == 0)
        return;
    row = qBound(0, row, view_->model()->rowCount() - 1);
    const int column = qMax(0, view_->currentIndex().column());
    view_->setCurrentIndex(view_->model()->index(row, column));
    view_->scrollTo(view_->currentIndex());
}

void TDBNavigator::UpdateButtons()
{
    const int count = view_ && view_->model() ? view_->model()->rowCount() : 0;
    const int row = view_ ? view_->currentIndex().row() : -1;
    ButtonFirst->setEnabled(count > 0 && row != 0);
    ButtonPrior->setEnabled(count > 0 && row > 0);
    ButtonNext->setEnabled(count > 0 && row < count - 1);
    ButtonLast->setEnabled(count > 0 && row != count - 1);
}

TDBNavigator* SetUpBrowseGrid(TVxDBGrid* grid, QAbstractItemModel* model, const QString& navigatorName)
{
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    auto* navigator = new TDBNavigator(grid->parentWidget());
    navigator->setObjectName(navigatorName);
    navigator->SetView(grid);
    return navigator;
}

QLabel* NewRecNoPanel(QWidget* parent)
{
    auto* panel = new QLabel(parent);
    panel->setObjectName(QStringLiteral("Panel_RecNo"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumWidth(70);
    return panel;
}

} // namespace orvek
