#include "sources/ui/source_data_grid.h"

#include "core/drawing.h"
#include "sources/ui/data_grid.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace orvek {

TDataGrid* CreateSourceDialogDataGrid(QWidget* page)
{
    auto* grid = new TDataGrid(page);
    grid->setObjectName("DataGrid1");
    grid->setFrameShape(QFrame::NoFrame);
    grid->SetOptions(
        goVertLine | goHorzLine | goFixedVertLine | goFixedHorzLine | goColSizing | goEditing | goThumbTracking);
    grid->SetDataGridOptions(0);
    grid->SetRowCountMin(0);
    grid->SetDefaultRowHeight(20);
    grid->SetFixedRows(1);
    const quint32 green = 5415936, pale = 9890778;
    const struct {
        const char* title;
        quint32 color; // 0: the grid's colour
        TColumnFormat format;
        int width;
    } columns[] = {
        { "MPS", 0, TColumnFormat::cfString, 319 },
        { "Nominálna hodnota", green, TColumnFormat::cfNumber, 97 },
        { "Namerané", green, TColumnFormat::cfString, 64 },
        { "Bias", pale, TColumnFormat::cfString, 64 },
        { "S(R) [mg/L]", green, TColumnFormat::cfString, 64 },
        { "S(R) [%]", pale, TColumnFormat::cfString, 64 },
        { "", pale, TColumnFormat::cfString, 64 },
        { "Počet laboratórií", green, TColumnFormat::cfString, 93 },
    };
    for (const auto& c : columns) {
        TColumn* column = grid->Columns().Add();
        column->SetFormat(c.format);
        column->SetAlignment(Qt::AlignLeft);
        if (c.color != 0)
            column->SetColor(ColorFromBgr(c.color));
        column->Title().SetCaption(QString::fromUtf8(c.title));
        column->Title().SetAlignment(Qt::AlignHCenter);
        // The widths are starting widths: a title wider than its column widens it.
        const int titleWidth
            = grid->horizontalHeader()->fontMetrics().horizontalAdvance(column->Title().Caption()) + 12;
        grid->SetColWidth(column->Index(), std::max(c.width, titleWidth));
    }
    grid->SetRowCount(100);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return grid;
}

} // namespace orvek
