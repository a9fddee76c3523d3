// The gold and silver weighing imports of the main window: the two commands run on
// the window's timer, the record under the grid cursor and the record panel's
// GoToRecord, which brings the target record up and applies the imported data.

#include "database/record_query.h"
#include "database/record_view.h"
#include "database/ui/record_view_panel.h"
#include "engine/cell.h"
#include "mainwindow/ui/main_window.h"
#include "sources/weighing_import.h"
#include "sources/weighing_import_command.h"

#include <QPainter>
#include <QTimer>
#include <QToolBar>

namespace orvek {

namespace {

class TMainWeighingHost : public TWeighingImportHost {
public:
    explicit TMainWeighingHost(TfOrvek1& window)
        : window_(window)
    {
    }
    void SetTimerEnabled(bool enabled) override
    {
        if (enabled)
            window_.Timer1->start();
        else
            window_.Timer1->stop();
    }
    bool CurrentRecord(int& id, QString& name) override
    {
        TRecordView& view = window_.RecordPanel->View();
        if (view.CurrentRow() < 0)
            return false;
        id = view.CurrentRowID();
        name = view.Field(view.CurrentRow(), RecordAnswerFieldNumber(QStringLiteral("NazovMerania"))).toString();
        return true;
    }
    void GoToRecord() override
    {
        window_.RecordPanel->GoToRecord(ImportTargetRecordID, ImportTargetRecordName, [](TCell& root) {
            return root.ApplyImportedChartData(AssayRowCount, AssaySizesText, AssayValuesText, AssayDatesText);
        });
    }

private:
    TfOrvek1& window_;
};

// The button's picture: the metal's symbol in gold or silver.
QIcon MetalIcon(const QString& symbol, const QColor& colour)
{
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker(160));
    painter.drawEllipse(QRectF(0.5, 0.5, 19, 19));
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, symbol);
    return QIcon(picture);
}

} // namespace

void TfOrvek1::ConnectImportActions()
{
    // The last two buttons of the second tool bar, without menu items; UpdateActions
    // shows them in the weighing edition only. Their texts are the same in every
    // language.
    const struct {
        QAction* action;
        const char* symbol;
        QColor colour;
    } metals[] = { { ActionImportDataForRegulationDiagram_Au, "Au", QColor(230, 190, 60) },
        { ActionImportDataForRegulationDiagram_Ag, "Ag", QColor(200, 200, 205) } };
    for (const auto& metal : metals) {
        const QString symbol = QString::fromLatin1(metal.symbol);
        metal.action->setText(QStringLiteral("Import údajov meraní ") + symbol);
        metal.action->setStatusTip(QStringLiteral("Import údajov pre Regulation diagram meraní ") + symbol);
        metal.action->setIcon(MetalIcon(symbol, metal.colour));
    }
    ToolBar2->addSeparator();
    ToolBar2->addActions({ ActionImportDataForRegulationDiagram_Au, ActionImportDataForRegulationDiagram_Ag });
    connect(ActionImportDataForRegulationDiagram_Au, &QAction::triggered, this, [this] {
        TMainWeighingHost host(*this);
        ImportWeighingData(0, host);
    });
    connect(ActionImportDataForRegulationDiagram_Ag, &QAction::triggered, this, [this] {
        TMainWeighingHost host(*this);
        ImportWeighingData(1, host);
    });
}

} // namespace orvek
