#include "sources/ui/source_page_widgets.h"

#include "database/ui/one_line_edit.h"
#include "sources/ui/reading_grid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStackedLayout>
#include <QTableWidget>
#include <QToolButton>

namespace orvek {

namespace {

// Two sheets, one over the other: a copy.
QIcon CopyIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 8, 10);
    p.drawRect(6, 5, 8, 10);
    return QIcon(picture);
}

// A clipboard with a sheet: a paste.
QIcon PasteIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(200, 160, 90));
    p.drawRect(1, 2, 11, 13);
    p.setBrush(Qt::gray);
    p.drawRect(4, 0, 5, 3);
    p.setBrush(Qt::white);
    p.drawRect(6, 6, 8, 9);
    return QIcon(picture);
}

} // namespace

QWidget* MakePage(const char* name)
{
    auto* page = new QWidget();
    page->setObjectName(QLatin1String(name));
    return page;
}

QLabel* MakeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, bool readOnly)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(readOnly);
    edit->setMinimumWidth(90);
    // A field of the model holds one line: a pasted break would end the field when the
    // model is written.
    KeepOneLine(edit);
    return edit;
}

QComboBox* MakeList(QWidget* parent, const char* name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    return list;
}

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& glyph, bool checkable)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(glyph);
    button->setCheckable(checkable);
    button->setAutoRaise(false);
    return button;
}

QToolButton* MakeCopyButton(QWidget* parent, const char* name)
{
    QToolButton* button = MakeButton(parent, name, QString());
    button->setIcon(CopyIcon());
    return button;
}

QToolButton* MakePasteButton(QWidget* parent, const char* name)
{
    QToolButton* button = MakeButton(parent, name, QString());
    button->setIcon(PasteIcon());
    return button;
}

QLabel* MakeInfinityPanel(QWidget* parent, const char* name)
{
    QLabel* panel = MakeLabel(parent, name);
    panel->setText(QStringLiteral("\u221E"));
    QFont font = panel->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    panel->setFont(font);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->hide();
    return panel;
}

QTableWidget* MakeReadingGrid(QWidget* parent, const char* name, int dataColumns)
{
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(QLatin1String(name));
    SetupReadingGrid(*grid, dataColumns);
    return grid;
}

void AddRow(QGridLayout* grid, QLabel* label, QWidget* field, QWidget* extra)
{
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    if (extra)
        grid->addWidget(extra, row, 2);
}

void AddDofRow(QGridLayout* grid, QComboBox* options, QLabel* label, QLineEdit* edit, QLabel* infinity)
{
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (infinity)
        grid->addWidget(infinity, row, 1);
    grid->addWidget(options, row + 1, 1, 1, 2);
}

} // namespace orvek
