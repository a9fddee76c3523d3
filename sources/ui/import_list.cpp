#include "sources/ui/import_list.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "sources/pasted_readings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

constexpr int kNoColumnText = 653;
constexpr int kEmptyCellText = 655;
// The cell of the chosen column is not a number (the shared 654 names the
// correlation matrix).
constexpr int kNotNumberText = 22550;
const QColor kNavy(0, 0, 128);

// Column 0 numbers the rows, row 0 is centred, data cells are right-aligned; the
// chosen column (or, with none, the focused cell) is white on navy.
class ImportListDelegate : public QStyledItemDelegate {
public:
    ImportListDelegate(TfImportList* window)
        : QStyledItemDelegate(window)
        , window_(window)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int row = index.row(), col = index.column();
        QRect r = option.rect;
        QColor back = Qt::white, fore = Qt::black;
        QString text = index.data().toString();
        Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter;
        if (row == 0 || col == 0) {
            back = option.palette.color(QPalette::Button);
            align = Qt::AlignCenter;
            if (col == 0 && row > 0)
                text = QString::number(row) + QLatin1Char('.');
        } else {
            const bool chosen = window_->FSelectedColumn > 0 ? col == window_->FSelectedColumn
                                                             : window_->StringGrid->currentIndex() == index;
            if (chosen) {
                back = kNavy;
                fore = Qt::white;
            }
        }
        painter->save();
        painter->fillRect(r, back);
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->setPen(fore);
        painter->drawText(r.adjusted(2, 0, -2, 0), int(align), text);
        painter->restore();
    }

private:
    TfImportList* window_;
};

} // namespace

TfImportList::TfImportList(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fImportList"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    StringGrid = new QTableWidget(this);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->horizontalHeader()->hide();
    StringGrid->verticalHeader()->hide();
    StringGrid->verticalHeader()->setDefaultSectionSize(StringGrid->fontMetrics().height() + 6);
    StringGrid->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid->setItemDelegate(new ImportListDelegate(this));
    StringGrid->viewport()->installEventFilter(this);
    connect(StringGrid, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        // Moving onto a data cell by keys drops the choice of a column.
        if (row >= 1 && col >= 1)
            FSelectedColumn = 0;
        StringGrid->viewport()->update();
    });

    auto button = [this](const char* name, const QString& hint) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    Button_Insert = button("Button_Insert", QStringLiteral("Údaje vložiť do riadnej tabuľky pred aktuálny riadok"));
    Button_Overwrite
        = button("Button_Overwrite", QStringLiteral("Údaje pridať do riadnej tabuľky a pôvodné údaje prepísať"));
    Button1 = button("Button1", QStringLiteral("Zrušiť kopírovanie údajov"));
    connect(Button_Insert, &QPushButton::clicked, this, [this] {
        if (ConfirmChoice())
            done(1);
    });
    connect(Button_Overwrite, &QPushButton::clicked, this, [this] {
        if (ConfirmChoice())
            done(5);
    });
    connect(Button1, &QPushButton::clicked, this, [this] { done(2); });

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(Button_Insert);
    buttons->addWidget(Button_Overwrite);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid, 1);
    layout->addLayout(buttons);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfImportList::Timer1Timer);

    setWindowTitle(QStringLiteral(" "));
    ResetTable();
    FSelectedColumn = 0;
    resize(420, 360);
}

void TfImportList::ResetTable()
{
    StringGrid->clearContents();
    StringGrid->setRowCount(2);
    StringGrid->setColumnCount(2);
    StringGrid->setColumnWidth(0, 25);
}

void TfImportList::FillTable(const TPastedTable& table)
{
    ResetTable();
    StringGrid->setRowCount(std::max(2, int(table.Rows.size()) + 1));
    StringGrid->setColumnCount(table.ColumnCount + 1);
    StringGrid->setColumnWidth(0, 25);
    for (int c = 1; c <= table.ColumnCount; ++c) {
        auto* heading = new QTableWidgetItem(QString::number(c) + QLatin1Char('.'));
        heading->setFlags(Qt::ItemIsEnabled);
        StringGrid->setItem(0, c, heading);
    }
    for (int r = 0; r < table.Rows.size(); ++r)
        for (int c = 0; c < table.Rows[r].size(); ++c)
            StringGrid->setItem(r + 1, c + 1, new QTableWidgetItem(table.Rows[r][c]));
}

int TfImportList::LastRow() const
{
    return StringGrid->rowCount() - 1;
}

QString TfImportList::CellText(int col, int row) const
{
    const QTableWidgetItem* item = StringGrid->item(row, col);
    return item ? item->text() : QString();
}

void TfImportList::Prepare(const QString& Caption)
{
    setWindowTitle(Caption);
    Button1->setText(GetString(4));
    Button_Insert->setText(GetString(656));
    Button_Overwrite->setText(GetString(658));
}

bool TfImportList::CheckSelectedColumn()
{
    const int col = FSelectedColumn;
    if (col <= 0)
        return false;
    for (int row = 1; row <= LastRow(); ++row) {
        const QString text = CellText(col, row).trimmed();
        double value = 0;
        bool ok = true;
        if (text.isEmpty()) {
            MessageDlg(GetString(kEmptyCellText, { row, col }), TMsgDlgType::mtInformation, mbOK);
            ok = false;
        } else if (!TryStrToFloatNeutral(text, value)) {
            MessageDlg(GetString(kNotNumberText, { row, col }), TMsgDlgType::mtError, mbRetry);
            ok = false;
        }
        if (!ok) {
            FSelectedColumn = 0;
            StringGrid->setCurrentCell(row, col);
            StringGrid->setFocus();
            StringGrid->viewport()->update();
            return false;
        }
    }
    return true;
}

bool TfImportList::ConfirmChoice()
{
    if (FSelectedColumn <= 0) {
        MessageDlg(GetString(kNoColumnText), TMsgDlgType::mtWarning, mbRetry);
        return false;
    }
    return CheckSelectedColumn();
}

void TfImportList::ChooseColumn(int col)
{
    FSelectedColumn = col;
    StringGrid->viewport()->update();
}

bool TfImportList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == StringGrid->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint at = press->position().toPoint();
        FMouseCol = StringGrid->columnAt(at.x());
        FMouseRow = StringGrid->rowAt(at.y());
        if (FMouseRow == 0 && FMouseCol >= 1) {
            ChooseColumn(FMouseCol);
            return true;
        }
        if (FMouseRow >= 1 && FMouseCol >= 1)
            ChooseColumn(0);
    }
    return QDialog::eventFilter(watched, event);
}

void TfImportList::Timer1Timer()
{
    const bool chosen = FSelectedColumn > 0;
    Button_Insert->setEnabled(chosen);
    Button_Overwrite->setEnabled(chosen);
}

void TfImportList::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Timer1Timer();
    Timer1->start();
}

void TfImportList::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfImportList::done(int result)
{
    Timer1->stop();
    QDialog::done(result);
}

void TfImportList::reject()
{
    done(2);
}

} // namespace orvek
