#include "core/ui/db_control_window.h"

#include "core/ui/ui_text.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QProgressBar>
#include <QVBoxLayout>

namespace orvek {

TfDBControlWindowStatus::TfDBControlWindowStatus(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fDBControlWindowStatus"));
    setWindowTitle(UiText(22189, QStringLiteral("Table control...")));
    auto* box = new QGroupBox(QStringLiteral(" Control status: "), this);
    auto* form = new QFormLayout(box);
    auto bar = [&](const char* name, const char* label) {
        auto* b = new QProgressBar(box);
        b->setObjectName(QString::fromLatin1(name));
        b->setRange(0, 100);
        b->setValue(0);
        b->setMinimumWidth(220);
        form->addRow(QString::fromLatin1(label), b);
        return b;
    };
    PBHeader = bar("PBHeader", "Headers");
    PBIndexes = bar("PBIndexes", "Indexes:");
    PBData = bar("PBData", "Data:");
    PBRebuild = bar("PBRebuild", "Repair:");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
}

} // namespace orvek
