// TfOrvek5: the quantity grid (symbol, unit, quantity name, value type per quantity),
// the correlation grid, the recalculation from the matrix and the renaming of a symbol.

#include "mainwindow/ui/equation_cell_dialog.h"

#include "core/number_format.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "engine/cell.h"
#include "engine/expression.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/dialogs.h"
#include "platform/ui/window_placement.h"
#include "richtext/markup_read.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>
#include <memory>

namespace orvek {

namespace {

const QColor kFixedGround(164, 164, 0);

QTableWidgetItem* Item(const QString& text, Qt::ItemFlags flags)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(flags);
    return item;
}

int ValueTypeText(quint8 type)
{
    return type == 1 ? 305 : type == 2 ? 306 : 22400;
}

// How the quantity grid draws its cells: the symbols on the fixed ground, the unit and
// the quantity name as mark-up (sub- and superscripts, Greek letters), the value type as
// plain text. Editable cells are white, the current one navy; read-only cells, and the
// value type of a row that may not change it, take the button face.
class TQuantityGridDelegate : public QStyledItemDelegate {
public:
    TQuantityGridDelegate(std::function<bool()> Editable, std::function<bool(int)> TypeFixed, QObject* parent)
        : QStyledItemDelegate(parent)
        , editable_(std::move(Editable))
        , typeFixed_(std::move(TypeFixed))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int column = index.column();
        const QString text = index.data(Qt::DisplayRole).toString();
        QFont font(QStringLiteral("Arial"), 9);
        // Bold on screens of at most 96 pixels per inch, where the regular face is thin.
        const bool bold = !option.widget || option.widget->logicalDpiY() <= 96;
        QColor ground = QApplication::palette().color(QPalette::Button);
        QColor ink = Qt::black;
        if (column == 0) {
            ground = kFixedGround;
            font.setBold(bold);
        } else if (editable_() && !(column == 3 && typeFixed_(index.row()))) {
            const bool current = option.state & (QStyle::State_HasFocus | QStyle::State_Selected);
            ground = current ? QColor(0, 0, 128) : QColor(Qt::white);
            ink = current ? QColor(Qt::white) : QColor(Qt::black);
        }
        painter->save();
        painter->fillRect(option.rect, ground);
        painter->setPen(ink);
        painter->setFont(font);
        if (column == 0)
            painter->drawText(option.rect, Qt::AlignCenter, text);
        else if (column == 3)
            painter->drawText(option.rect.adjusted(2, 3, -2, 0), Qt::AlignLeft | Qt::AlignTop, text);
        else
            DrawMarkupText(*painter, 0, text, option.rect.adjusted(2, 0, -2, 0));
        painter->restore();
    }

private:
    std::function<bool()> editable_;
    std::function<bool(int)> typeFixed_;
};

} // namespace

void TfOrvek5::InstallQuantityGridDelegate()
{
    StringGrid_ZoznamVelicin_v_Rovnici->setItemDelegate(new TQuantityGridDelegate([this] { return FGridEditable; },
        [this](int row) { return RowValueTypeFixed(row); }, StringGrid_ZoznamVelicin_v_Rovnici));
}

bool TfOrvek5::RowValueTypeFixed(int row) const
{
    if (row < 0 || row >= FRowCellId.size())
        return false;
    const int id = FRowCellId[row];
    if (id > 0)
        return FEquationChildIds.contains(id);
    const QTableWidgetItem* symbol = StringGrid_ZoznamVelicin_v_Rovnici->item(row, 0);
    return symbol && FEquationChildSymbols.contains(symbol->text());
}

void TfOrvek5::ResetQuantityGrid()
{
    FGridRebuilding = true;
    FRowValueType.clear();
    FRowChildIndex.clear();
    FRowCellId.clear();
    QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    grid->clearContents();
    grid->setColumnCount(4);
    grid->setRowCount(1);
    const int widths[] = { 65, 55, 184, 146 };
    for (int c = 0; c < 4; ++c) {
        grid->setColumnWidth(c, widths[c]);
        grid->setItem(0, c, Item(QString(), Qt::NoItemFlags));
    }
    FitColumnsToTitles(*grid);
    grid->horizontalHeader()->setStretchLastSection(true);
    FGridRebuilding = false;
}

void TfOrvek5::FillQuantityGrid(const QList<TQuantityGridRow>& Rows)
{
    if (Rows.isEmpty())
        return;
    FGridRebuilding = true;
    QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    const int count = int(std::min<qsizetype>(Rows.size(), TInfo_o_bunkach_typu_velicina::Capacity));
    grid->setRowCount(count);
    FRowValueType.clear();
    FRowChildIndex.clear();
    FRowCellId.clear();
    const Qt::ItemFlags editable = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    for (int r = 0; r < count; ++r) {
        const TQuantityGridRow& row = Rows[r];
        auto* symbol = Item(row.Symbol, Qt::ItemIsEnabled);
        symbol->setBackground(kFixedGround);
        symbol->setTextAlignment(Qt::AlignCenter);
        grid->setItem(r, 0, symbol);
        grid->setItem(r, 1, Item(row.Unit, editable));
        grid->setItem(r, 2, Item(row.QuantityName, editable));
        grid->setItem(r, 3, Item(GetString(ValueTypeText(row.ValueType)), Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        FRowValueType << row.ValueType;
        FRowChildIndex << row.ChildIndex;
        FRowCellId << row.CellId;
    }
    FGridRebuilding = false;
}

QList<TQuantityGridRow> TfOrvek5::QuantityRows() const
{
    QList<TQuantityGridRow> rows;
    const QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    for (int r = 0; r < grid->rowCount() && r < FRowValueType.size(); ++r) {
        auto text = [&](int c) { return grid->item(r, c) ? grid->item(r, c)->text() : QString(); };
        if (text(0).trimmed().isEmpty())
            continue;
        rows.append({ text(0), text(1), text(2), FRowValueType[r], FRowChildIndex[r], FRowCellId[r] });
    }
    return rows;
}

int TfOrvek5::CountQuantityRows() const
{
    int n = 0;
    const QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 0) && !grid->item(r, 0)->text().trimmed().isEmpty())
            ++n;
    return n;
}

void TfOrvek5::QuantityGridCellSelected(int row, int column)
{
    if (FLoading || FGridRebuilding || !FGridEditable || row < 0 || row >= CountQuantityRows()) {
        ComboBox_TypHodnoty->hide();
        Button_RenameVariable->hide();
        return;
    }
    QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    if (column == 3 && RowValueTypeFixed(row)) {
        ComboBox_TypHodnoty->hide();
        Button_RenameVariable->hide();
        FSymbolUnderButton.clear();
    } else if (column == 3) {
        Button_RenameVariable->hide();
        FSymbolUnderButton.clear();
        ComboBox_TypHodnoty->setGeometry(cell);
        ComboBox_TypHodnoty->setCurrentIndex(FRowValueType.value(row));
        ComboBox_TypHodnoty->show();
        ComboBox_TypHodnoty->setFocus();
    } else if (column == 0) {
        ComboBox_TypHodnoty->hide();
        Button_RenameVariable->move(cell.right() - Button_RenameVariable->width() + 1, cell.top());
        Button_RenameVariable->show();
        Button_RenameVariable->raise();
        FSymbolUnderButton = grid->item(row, 0)->text();
    } else {
        ComboBox_TypHodnoty->hide();
        Button_RenameVariable->hide();
        FSymbolUnderButton.clear();
    }
}

void TfOrvek5::ComboBox_TypHodnotyChange(int index)
{
    QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    const int row = grid->currentRow();
    if (row < 0 || row >= FRowValueType.size() || index < 0 || RowValueTypeFixed(row))
        return;
    FGridRebuilding = true;
    grid->item(row, 3)->setText(ComboBox_TypHodnoty->itemText(index));
    FRowValueType[row] = quint8(index);
    if (index == 2) {
        grid->item(row, 1)->setText(QStringLiteral("g/mol"));
        grid->item(row, 2)->setText(GetString(306));
    }
    FGridRebuilding = false;
    ComboBox_TypHodnoty->hide();
    grid->setFocus();
    Button_OK->setEnabled(true);
    FModified = true;
}

// ---------------------------------------------------------------------------------
// Correlation grid

void TfOrvek5::ResetCorrelationGrid()
{
    FFillingMatrix = true;
    StringGrid_CorrelationMatrix->clear();
    StringGrid_CorrelationMatrix->setRowCount(1);
    StringGrid_CorrelationMatrix->setColumnCount(1);
    StringGrid_CorrelationMatrix->setItem(0, 0, Item(QString(), Qt::NoItemFlags));
    FFillingMatrix = false;
}

void TfOrvek5::SetMatrixTexts(const TMatrixTexts& Matrix, const QStringList& Symbols)
{
    FFillingMatrix = true;
    QTableWidget* grid = StringGrid_CorrelationMatrix;
    const int n = int(Matrix.size());
    grid->clear();
    grid->setRowCount(n);
    grid->setColumnCount(n);
    grid->setHorizontalHeaderLabels(Symbols);
    grid->setVerticalHeaderLabels(Symbols);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            Qt::ItemFlags flags = Qt::ItemIsEnabled;
            if (r != c && FMatrixEditable)
                flags |= Qt::ItemIsSelectable | Qt::ItemIsEditable;
            auto* item = Item(Matrix[r][c], flags);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (r == c)
                item->setBackground(kFixedGround);
            grid->setItem(r, c, item);
        }
    FFillingMatrix = false;
}

TMatrixTexts TfOrvek5::MatrixTexts() const
{
    TMatrixTexts matrix;
    const QTableWidget* grid = StringGrid_CorrelationMatrix;
    const int n = CountQuantityRows();
    if (grid->rowCount() != n)
        return InitialCorrelationMatrix(n);
    for (int r = 0; r < n; ++r) {
        QStringList row;
        for (int c = 0; c < n; ++c)
            row << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        matrix << row;
    }
    return matrix;
}

void TfOrvek5::InitCorrelationGrid()
{
    const int n = CountQuantityRows();
    if (n == 0) {
        ResetCorrelationGrid();
        return;
    }
    QStringList symbols;
    for (const TQuantityGridRow& row : QuantityRows())
        symbols << row.Symbol;
    SetMatrixTexts(InitialCorrelationMatrix(n), symbols);
    if (n > 1)
        StringGrid_CorrelationMatrix->setCurrentCell(0, 1);
}

void TfOrvek5::LoadCorrelationMatrix()
{
    TMatrixTexts matrix = InitialCorrelationMatrix(CountQuantityRows());
    LoadCorrelationMatrixText(FCorrelationMatrix, matrix);
    QStringList symbols;
    for (const TQuantityGridRow& row : QuantityRows())
        symbols << row.Symbol;
    SetMatrixTexts(matrix, symbols);
}

void TfOrvek5::SerializeCorrelationMatrix()
{
    FCorrelationMatrix = orvek::SerializeCorrelationMatrix(MatrixTexts());
}

bool TfOrvek5::ValidateCorrelationMatrix()
{
    int row = 0, column = 0;
    const int message = orvek::ValidateCorrelationMatrix(MatrixTexts(), row, column);
    if (message == 0)
        return true;
    PageControl1->setCurrentWidget(TabSheet_CorrelationMatrix);
    StringGrid_CorrelationMatrix->setCurrentCell(row - 1, column - 1);
    ShowRefusal(message, { QString::number(row), QString::number(column) }, StringGrid_CorrelationMatrix);
    return false;
}

void TfOrvek5::CorrelationCellEdited(int row, int column)
{
    if (FFillingMatrix || !FMatrixEditable)
        return;
    FFillingMatrix = true;
    if (QTableWidgetItem* mirror = StringGrid_CorrelationMatrix->item(column, row))
        mirror->setText(StringGrid_CorrelationMatrix->item(row, column)->text());
    FFillingMatrix = false;
    Button_Recalculate->setEnabled(FRecalculateAllowed);
    if (FTracking) {
        MarkModified();
        Button_Recalculate->setEnabled(true);
    }
}

void TfOrvek5::Button_RecalculateClick()
{
    if (CountQuantityRows() > 0 && !ValidateCorrelationMatrix())
        return;
    SerializeCorrelationMatrix();
    if (TCell* preview = PreviewCell()) {
        preview->FCorrelationMatrix.Text = FCorrelationMatrix;
        try {
            preview->ComputeOutputUncertainty();
        } catch (const std::exception& e) {
            MessageDlg(QString::fromUtf8(e.what()), TMsgDlgType::mtError, mbOK);
        }
        FValue = preview->FValue.Text;
        FCombinedUncertainty = preview->FCombinedUncertainty;
        FRelativeUncertainty = preview->FRelativeUncertainty;
    }
    ComputeExpandedPreview();
    ShowResults();
    Button_Recalculate->setEnabled(false);
    Button_OK->setEnabled(true);
}

// ---------------------------------------------------------------------------------
// Rename

void TfOrvek5::Button_RenameVariableClick()
{
    if (FSymbolUnderButton.isEmpty())
        return;
    std::unique_ptr<TfRenameVar> own;
    TfRenameVar* dialog = fRenameVar;
    if (!dialog) {
        own = std::make_unique<TfRenameVar>(this);
        dialog = own.get();
    }
    const QString old = FSymbolUnderButton;
    dialog->Edit_AktualnySymbol->setText(old);
    dialog->Edit_NovySymbol->clear();
    QString renamed;
    const OpenedFrom opened(dialog, this);
    for (;;) {
        if (dialog->exec() != 1)
            return;
        renamed = dialog->Edit_NovySymbol->text();
        // A symbol begins with a letter, as on OK; "1x" would not parse as a name.
        const QChar first = renamed.isEmpty() ? QChar() : renamed.at(0);
        if (!((first >= QLatin1Char('A') && first <= QLatin1Char('Z'))
                || (first >= QLatin1Char('a') && first <= QLatin1Char('z')))) {
            ShowRefusal(145, { renamed }, nullptr);
            return;
        }
        if (HasNonIdentifierChar(renamed)) {
            ShowRefusal(147, { QString(QLatin1Char('\r')) }, nullptr);
            return;
        }
        bool used = false;
        for (const TQuantityGridRow& row : QuantityRows())
            used = used || row.Symbol == renamed;
        if (!used)
            break;
        ShowRefusal(860, { renamed }, nullptr);
    }
    QTableWidget* grid = StringGrid_ZoznamVelicin_v_Rovnici;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 0) && grid->item(r, 0)->text() == old) {
            grid->item(r, 0)->setText(renamed);
            break;
        }
    FEquationText = RenameSymbolInEquation(FEquationText, old, renamed);
    QStringList symbols;
    for (const TQuantityGridRow& row : QuantityRows())
        symbols << row.Symbol;
    StringGrid_CorrelationMatrix->setHorizontalHeaderLabels(symbols);
    StringGrid_CorrelationMatrix->setVerticalHeaderLabels(symbols);
    FSymbolUnderButton = renamed;
    FEquationSymbols = AnalyseEquationText(FEquationText).Symbols;
    FEquation = FEquationText.trimmed();
    ShowEquationText(FEquation);
    FLastAnalysedEquation = FEquation;
    FLastAcceptedEquation = FEquation;
    MarkModified();
}

} // namespace orvek
