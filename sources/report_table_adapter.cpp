#include "sources/report_table_adapter.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace orvek::report_table_adapter {

TStringTable::TStringTable()
    : cells_(std::size_t(MaxColumns) * MaxRows)
{
}

QString& TStringTable::Cells(int column, int row)
{
    if (column < 1 || column > MaxColumns || row < 1 || row > MaxRows)
        throw std::out_of_range("report table cell out of range");
    return cells_[std::size_t(column - 1) * MaxRows + std::size_t(row - 1)];
}

const QString& TStringTable::Cells(int column, int row) const
{
    return const_cast<TStringTable*>(this)->Cells(column, row);
}

void TStringTable::Clear()
{
    RowCount = 0;
    ColCount = 0;
    ColWidths.fill(0);
    for (QString& cell : cells_)
        cell.clear();
}

ReportTableOwner::ReportTableOwner()
{
    if (!ReportTable) {
        owned_ = std::make_unique<TStringTable>();
        ReportTable = owned_.get();
    }
}

ReportTableOwner::~ReportTableOwner()
{
    if (owned_)
        ReportTable = nullptr;
}

namespace {

// Column widths estimated from the cell texts without their format codes.
void AutoSizeColumns(quint8 mode, int fontSize)
{
    static const QRegularExpression codes(QStringLiteral("\\[cf[0-9]+\\]"));
    TStringTable& table = *ReportTable;
    auto widthOf = [&](int n, int o, int u, int s, int h) {
        return fontSize <= 8 ? 100 * (n + 2) - 10 * o + 5 * u - 40 * s - 50 * h
                             : 100 * (n + 4) - 10 * o + 5 * u - 40 * s - 30 * h;
    };
    for (int i = 1; i <= table.ColCount; ++i) {
        int widest = 0, header = 0, lastH = 0;
        for (int j = 1; j <= table.RowCount; ++j) {
            QString text = table.Cells(i, j);
            text.remove(codes);
            const int n = int(std::min<qsizetype>(text.size(), 80));
            int s = 0, u = 0, o = 0;
            for (int k = 0; k < n; ++k) {
                const char16_t c = text[k].unicode();
                if (c == ' ')
                    ++s;
                else if (c >= 'A' && c <= 'Z')
                    ++u;
                else
                    ++o;
            }
            lastH = o > 30 ? o / 2 : 0;
            int w = widthOf(n, o, u, s, lastH);
            if (mode == 1 && i == 1)
                w = int(std::lround(w * 1.3));
            if (j == 1)
                header = w;
            widest = std::max(widest, w);
        }
        table.ColWidths[i] = widest;
        if (mode == 0) {
            const int capN = header >= widest ? 12 : 40;
            table.ColWidths[i] = std::min(table.ColWidths[i], widthOf(capN, capN, 0, 0, lastH));
        }
    }
}

} // namespace

void BuildTableMarkup(bool AutoWidths, quint8 WidthMode, int FontSize, QString& Text, int Left)
{
    if (AutoWidths)
        AutoSizeColumns(WidthMode, FontSize);
    const TStringTable& table = *ReportTable;
    QString out
        = QStringLiteral("\r:TABLE_BEGIN[%1,%2]%3,%4,").arg(table.ColCount).arg(table.RowCount).arg(FontSize).arg(Left);
    int x = Left;
    for (int i = 1; i <= table.ColCount; ++i) {
        x += table.ColWidths[i];
        out += QString::number(x) + QLatin1Char(',');
    }
    for (int j = 1; j <= table.RowCount; ++j)
        for (int i = 1; i <= table.ColCount; ++i)
            out += table.Cells(i, j) + (i < table.ColCount ? QLatin1Char('\t') : QLatin1Char('\r'));
    out += QStringLiteral(":TABLE_END");
    Text = out;
}

QString WrapRtfBlock(const QString& Text)
{
    if (!Text.contains(QLatin1String("{\\rtf")))
        return Text;
    return QStringLiteral(":RTF_BEGIN") + Text + QStringLiteral(":RTF_END");
}

} // namespace orvek::report_table_adapter
