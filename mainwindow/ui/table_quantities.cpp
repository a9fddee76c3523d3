#include "mainwindow/ui/table_quantities.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"
#include "richtext/markup_read.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orvek {

namespace {

constexpr int kColumns = 5;
constexpr int kValueColumn = 2;
constexpr std::array<int, kColumns> kColumnWidths { 69, 67, 133, 137, 202 };
constexpr quint32 kFixedGround = 0x00A4A4;

// Writes an open editor's text into its cell.
void CommitEditor(QTableWidget* grid, QWidget* editor)
{
    QMetaObject::invokeMethod(grid, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
}

bool Bold(const QWidget* widget)
{
    // Bold on screens of at most 96 pixels per inch, where the regular face is thin.
    return !widget || widget->logicalDpiY() <= 96;
}

// A value text OK accepts: a number on one line.
bool IsValueText(const QString& text, double& value)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && TryStrToFloatNeutral(text, value);
}

class TQuantityTableDelegate : public QStyledItemDelegate {
public:
    explicit TQuantityTableDelegate(TfTableQuantites* window)
        : QStyledItemDelegate(window)
        , window_(window)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int column = index.column();
        const QString text = index.data(Qt::DisplayRole).toString();
        QFont font(QStringLiteral("Arial"), 9);
        QColor ground = ColorFromBgr(kFixedGround);
        QColor ink = Qt::black;
        const bool locked = window_->IsRowLocked(index.row() + 1);
        if (column == kValueColumn && !locked) {
            const bool current = window_->StringGrid_Quantities->currentIndex() == index;
            ground = current ? QColor(0, 0, 128) : QColor(Qt::white);
            ink = current ? QColor(Qt::white) : QColor(Qt::black);
        }
        painter->save();
        painter->fillRect(option.rect, ground);
        painter->setPen(ink);
        const QRect inner = option.rect.adjusted(2, 0, -2, 0);
        if (column == 0) {
            font.setBold(Bold(option.widget));
            painter->setFont(font);
            painter->drawText(option.rect, Qt::AlignCenter, text);
        } else {
            painter->setFont(font);
            if (column == kValueColumn) {
                double value = 0;
                DrawMarkupText(*painter, 2, IsValueText(text, value) ? text : text.trimmed(), inner);
            } else if (column == 3) {
                DrawMarkupText(*painter, 2, ExponentToMarkup(FormatSignificantText(SignificantDigits, text)), inner);
            } else {
                DrawMarkupText(*painter, 0, text, inner);
            }
        }
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setAlignment(Qt::AlignRight);
            line->setFont(QFont(QStringLiteral("Arial"), 9));
            // Typing a value makes OK available.
            QObject::connect(line, &QLineEdit::textEdited, window_->OkButton, [w = window_] {
                if (!w->FLoading)
                    w->OkButton->setEnabled(true);
            });
            line->installEventFilter(window_);
        }
        return editor;
    }

    // Enter in the editor is the window's: it moves to the next row, and the grid
    // commits and closes the editor it leaves. The delegate's own handling would queue
    // a second commit and close of that editor, which by then the grid no longer has.
    bool eventFilter(QObject* editor, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && !window_->FLoading) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
            if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
                return false;
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    TfTableQuantites* window_;
};

} // namespace

TfTableQuantites::TfTableQuantites(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fTableQuantites"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    StringGrid_Quantities = new QTableWidget(0, kColumns, this);
    StringGrid_Quantities->setObjectName(QStringLiteral("StringGrid_Quantities"));
    StringGrid_Quantities->verticalHeader()->hide();
    StringGrid_Quantities->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_Quantities->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid_Quantities->setItemDelegate(new TQuantityTableDelegate(this));
    StringGrid_Quantities->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid_Quantities->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    StringGrid_Quantities->horizontalHeader()->setHighlightSections(false);
    StringGrid_Quantities->installEventFilter(this);
    for (int c = 0; c < kColumns; ++c)
        StringGrid_Quantities->setColumnWidth(c, kColumnWidths[size_t(c)]);
    connect(StringGrid_Quantities, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        // The editor shows in every editable cell that becomes current.
        // Opened once the view has closed the editor of the cell left.
        if (row >= 0 && column == kValueColumn && !IsRowLocked(row + 1))
            QMetaObject::invokeMethod(
                this,
                [this, row] {
                    QTableWidget* grid = StringGrid_Quantities;
                    if (grid->currentRow() == row && grid->currentColumn() == kValueColumn
                        && !grid->indexWidget(grid->currentIndex()))
                        grid->editItem(grid->item(row, kValueColumn));
                },
                Qt::QueuedConnection);
    });

    QDialogButtonBox* buttons = OkCancelButtons(this, OkButton, "OkButton", CancelButton, "CancelButton");
    for (QPushButton* b : { OkButton, CancelButton })
        b->setAutoDefault(false);
    connect(OkButton, &QPushButton::clicked, this, &TfTableQuantites::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(StringGrid_Quantities);
    layout->addWidget(buttons);
    RowLocked.assign(size_t(TInfo_o_bunkach_typu_velicina_2::Capacity) + 1, false);
}

TfTableQuantites::~TfTableQuantites()
{
    if (QuantitySummary() == this)
        SetQuantitySummaryService(nullptr);
    if (fTableQuantites == this)
        fTableQuantites = nullptr;
}

bool TfTableQuantites::IsRowLocked(int gridRow) const
{
    return gridRow < 1 || size_t(gridRow) >= RowLocked.size() || RowLocked[size_t(gridRow)];
}

void TfTableQuantites::LoadQuantityTable(quint8 lockMode)
{
    OkButton->setEnabled(false);
    setWindowTitle(GetString(735));
    OkButton->setText(GetString(710));
    CancelButton->setText(GetString(4));

    QTableWidget* grid = StringGrid_Quantities;
    const int count = std::clamp(QuantityList.Count, 0, TInfo_o_bunkach_typu_velicina_2::Capacity);
    FLoading = true;
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->clearContents();
    grid->setRowCount(count);
    QFont headerFont(QStringLiteral("Arial"), 9);
    headerFont.setBold(Bold(grid));
    grid->horizontalHeader()->setFont(headerFont);
    grid->setHorizontalHeaderLabels({ GetString(99), GetString(734), GetString(733),
        GetString(732, { QStringLiteral("\r") }).replace(u'\r', u'\n'), GetString(83) });
    grid->horizontalHeader()->setFixedHeight(2 * DefaultRowHeight);
    grid->verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    grid->verticalHeader()->setMinimumSectionSize(1);

    std::fill(RowLocked.begin(), RowLocked.end(), false);
    for (int i = 1; i <= count; ++i) {
        const QuantityEntry& entry = QuantityList[i];
        const TCell* cell = entry.Cell;
        bool locked = true;
        if (lockMode == 1)
            locked = cell && cell->FValue.Lock != 0;
        else if (lockMode == 2)
            locked = false;
        // The evaluation writes an equation cell's value: a typed one would be lost.
        if (!cell || cell->FCellType == kEquationCell)
            locked = true;
        RowLocked[size_t(i)] = locked;
        const QStringList texts { cell ? cell->FSymbol.Text : QString(), cell ? cell->FUnit.Text : QString(),
            cell ? cell->FValue.Text : QString(), entry.UncertaintyText, cell ? cell->FCellName.Text : QString() };
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            // Only the value of an unlocked row can become current.
            if (c == kValueColumn && !locked)
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            else
                item->setFlags(Qt::NoItemFlags);
            grid->setItem(i - 1, c, item);
        }
    }

    FFirstEditableRow = 1;
    FStartColumn = kValueColumn;
    for (int i = 1; i <= count; ++i)
        if (!RowLocked[size_t(i)]) {
            FFirstEditableRow = i;
            grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
            break;
        }

    FitColumnsToTitles(*grid);
    int width = 20;
    for (int c = 0; c < kColumns; ++c)
        width += grid->columnWidth(c);
    int height = 2 * DefaultRowHeight + DefaultRowHeight * (count + 1) + 65;
    // A long list keeps the window on the screen; the grid scrolls.
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        height = std::min(height, screen->availableGeometry().height() - 40);
    resize(width, std::max(height, 2 * DefaultRowHeight + 65));
}

bool TfTableQuantites::ShowModal()
{
    return exec() == QDialog::Accepted;
}

void TfTableQuantites::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    StringGrid_Quantities->setFocus();
    if (StringGrid_Quantities->rowCount() > 0)
        StringGrid_Quantities->setCurrentCell(FFirstEditableRow - 1, FStartColumn);
    FLoading = false;
}

int TfTableQuantites::NeighbourRow(int row, int step) const
{
    const int count = StringGrid_Quantities->rowCount();
    int r = row;
    for (int n = 0; n < count; ++n) {
        r += step;
        if (r > count)
            r = 1;
        if (r < 1)
            r = count;
        if (!IsRowLocked(r))
            return r;
    }
    return row;
}

void TfTableQuantites::GoToRow(int gridRow)
{
    // The editor gives up the focus first, writing its text into its cell while it
    // still belongs to the grid.
    StringGrid_Quantities->setFocus();
    StringGrid_Quantities->setCurrentCell(gridRow - 1, kValueColumn);
}

bool TfTableQuantites::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && !FLoading) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
        const int current = StringGrid_Quantities->currentRow() + 1;
        if (plain && current >= 1) {
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                GoToRow(NeighbourRow(current, 1));
                return true;
            case Qt::Key_Up:
                GoToRow(NeighbourRow(current, -1));
                return true;
            case Qt::Key_Down:
                GoToRow(NeighbourRow(current, 1));
                return true;
            default:
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfTableQuantites::OkButtonClick()
{
    QTableWidget* grid = StringGrid_Quantities;
    if (QWidget* editor = grid->indexWidget(grid->currentIndex()))
        CommitEditor(grid, editor);
    const int count = std::min(grid->rowCount(), QuantityList.Count);
    for (int i = 1; i <= count; ++i) {
        // A locked row cannot have been retyped and keeps the text it came with, even
        // an equation's value that is not computed yet.
        if (IsRowLocked(i))
            continue;
        const QString text = grid->item(i - 1, kValueColumn)->text().trimmed();
        double value = 0;
        if (!IsValueText(text, value)) {
            grid->setFocus();
            grid->setCurrentCell(i - 1, kValueColumn);
            MessageDlg(GetString(179, { text }), TMsgDlgType::mtError, mbRetry);
            return;
        }
        QuantityList[i].ValueText = text;
    }
    accept();
}

} // namespace orvek
