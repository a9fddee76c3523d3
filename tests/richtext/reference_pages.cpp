#include "reference_pages.h"

#include "platform/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <limits>

namespace orvek::test {

namespace {

// Layout rounding may put a line a fraction of a pixel past the body; that still fits.
constexpr double kFitTolerance = 0.5;

bool KeepsWithNext(const QTextBlock& block)
{
    return block.blockFormat().boolProperty(rtfprop::KeepWithNext);
}

// True when a block of a cell of rows First..Last keeps with what follows.
bool RowsKeepWithNext(QTextTable* table, int first, int last)
{
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (!cell.isValid())
                continue;
            const QTextBlock end = cell.lastCursorPosition().block();
            for (QTextBlock b = cell.firstCursorPosition().block(); b.isValid(); b = b.next()) {
                if (KeepsWithNext(b))
                    return true;
                if (b == end)
                    break;
            }
        }
    return false;
}

// The strip above a table's frame in which its outer border is drawn.
double BorderStrip(const QTextTable* table)
{
    return 4.0 * (table->format().border() + 1);
}

} // namespace

TReferencePages::TReferencePages(const QTextDocument& source, const TPageMetrics& metrics, int width)
    : layoutDevice_(metrics)
    , doc_(source.clone())
    , width_(width)
{
    doc_->documentLayout()->setPaintDevice(&layoutDevice_);
    doc_->setDocumentMargin(0);
    doc_->setPageSize(QSizeF(qMax(width, 1), -1));
    doc_->setTextWidth(qMax(width, 1));
    doc_->documentLayout()->documentSize(); // completes the layout
    BuildUnits();
}

TReferencePages::~TReferencePages() = default;

int TReferencePages::TextLength() const
{
    return doc_->characterCount() - 1;
}

void TReferencePages::BuildUnits()
{
    QAbstractTextDocumentLayout* layout = doc_->documentLayout();
    QTextFrame* root = doc_->rootFrame();
    for (QTextFrame::iterator it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            const QRectF fr = layout->frameBoundingRect(frame);
            auto* table = qobject_cast<QTextTable*>(frame);
            if (!table || table->rows() == 0) {
                units_.push_back({ fr.top(), fr.bottom(), frame->firstPosition() - 1, nullptr, -1 });
                continue;
            }
            const int rows = table->rows();
            std::vector<double> contentTop(rows, std::numeric_limits<double>::max());
            std::vector<double> contentBottom(rows, std::numeric_limits<double>::lowest());
            std::vector<int> firstPos(rows, std::numeric_limits<int>::max());
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (!cell.isValid() || cell.row() != r || cell.column() != c)
                        continue;
                    const QRectF first = layout->blockBoundingRect(doc_->findBlock(cell.firstPosition()));
                    const QRectF last = layout->blockBoundingRect(doc_->findBlock(cell.lastPosition()));
                    const int lastRow = r + cell.rowSpan() - 1;
                    contentTop[r] = std::min(contentTop[r], first.top());
                    contentBottom[lastRow] = std::max(contentBottom[lastRow], last.bottom());
                    firstPos[r] = std::min(firstPos[r], cell.firstPosition());
                }
            }
            // Rows whose cells all start above them (row spans) travel with the row above.
            std::vector<int> starts;
            for (int r = 0; r < rows; ++r) {
                if (firstPos[r] != std::numeric_limits<int>::max() || starts.empty())
                    starts.push_back(r);
                if (contentTop[r] == std::numeric_limits<double>::max())
                    contentTop[r] = r > 0 ? contentBottom[r - 1] : fr.top();
                if (contentBottom[r] == std::numeric_limits<double>::lowest())
                    contentBottom[r] = contentTop[r];
            }
            for (size_t k = 0; k < starts.size(); ++k) {
                const int r = starts[k];
                const int end = k + 1 < starts.size() ? starts[k + 1] - 1 : rows - 1;
                const double top = r == 0 ? fr.top() : (contentBottom[r - 1] + contentTop[r]) / 2;
                const double bottom = end == rows - 1 ? fr.bottom() : (contentBottom[end] + contentTop[end + 1]) / 2;
                const int pos = r == 0 ? table->firstPosition() - 1 : firstPos[r];
                units_.push_back({ top, bottom, pos, table, r, RowsKeepWithNext(table, end, end) });
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (!block.isValid())
            continue;
        const QRectF br = layout->blockBoundingRect(block);
        QTextLayout* tl = block.layout();
        const bool keep = KeepsWithNext(block);
        if (!tl || tl->lineCount() == 0) {
            units_.push_back({ br.top(), br.bottom(), block.position(), nullptr, -1, keep });
            continue;
        }
        const double origin = br.top() - tl->boundingRect().top();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            double top = origin + line.y();
            double bottom = top + line.height();
            // The block's spacing above belongs to its first line, below to its last.
            if (i == 0)
                top = std::min(top, br.top());
            if (i == tl->lineCount() - 1)
                bottom = std::max(bottom, br.bottom());
            // Every line of a heading keeps with the next, so the heading stays whole too.
            units_.push_back({ top, bottom, block.position() + line.textStart(), nullptr, -1, keep });
        }
    }
    // Positions must grow for the look-up by character.
    for (size_t i = 1; i < units_.size(); ++i)
        units_[i].pos = std::max(units_[i].pos, units_[i - 1].pos);
}

int TReferencePages::UnitAt(int firstChar) const
{
    int found = 0;
    for (size_t i = 0; i < units_.size(); ++i) {
        if (units_[i].pos > firstChar)
            break;
        if (i == 0 || units_[i].pos != units_[i - 1].pos)
            found = int(i);
    }
    return found;
}

void TReferencePages::DrawSlice(
    QPainter& painter, double top, double bottom, double x, double y, double scale, double contentTop) const
{
    painter.save();
    painter.translate(x, y);
    painter.scale(scale, scale);
    painter.translate(0, -top);
    const QRectF clip(-width_, top, 3.0 * width_, bottom - top);
    painter.setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    // Lines that only touch the slice belong to the neighbouring page: they are left out
    // of the drawing, not merely clipped, so a page holds no hidden text of another.
    context.clip
        = QRectF(clip.left(), std::max(top, contentTop) + 1, clip.width(), bottom - std::max(top, contentTop) - 2);
    context.palette.setColor(QPalette::Text, Qt::black);
    doc_->documentLayout()->draw(&painter, context);
    painter.restore();
}

int TReferencePages::RenderPage(QPainter& painter, const QRect& target, int firstChar) const
{
    if (target.width() <= 0 || target.height() <= 0)
        return -1;
    if (units_.empty() || firstChar >= TextLength())
        return TextLength();
    const double height = target.height();
    // The page after the one just drawn starts at the unit that one stopped at, even
    // where two units share a character position.
    const size_t first = (resumeUnit_ < units_.size() && units_[resumeUnit_].pos == firstChar)
        ? resumeUnit_
        : size_t(UnitAt(firstChar));
    const Unit& start = units_[first];

    // A table continued from an earlier page shows its header rows again.
    double headerTop = 0, headerBottom = 0, headerContentTop = 0;
    if (start.table && start.row >= start.table->format().headerRowCount()
        && start.table->format().headerRowCount() > 0) {
        const int headerRows = start.table->format().headerRowCount();
        bool any = false;
        for (const Unit& u : units_) {
            if (u.table == start.table && u.row >= 0 && u.row < headerRows) {
                headerTop = any ? std::min(headerTop, u.top) : u.top;
                headerBottom = any ? std::max(headerBottom, u.bottom) : u.bottom;
                any = true;
            }
        }
        // The table's outer border is drawn a little above its frame; the header slice
        // takes that strip along, and nothing else of what stands above the table.
        headerContentTop = headerTop;
        headerTop -= std::max(BorderStrip(start.table), 0.5 * (headerBottom - headerTop));
        if (!any || (headerBottom - headerTop) + (start.bottom - start.top) > height + kFitTolerance)
            headerTop = headerBottom = 0;
    }
    const double header = headerBottom - headerTop;
    // A page that starts with a row of a table (without a repeated header) takes the
    // strip above the row along, where the table's top border is drawn.
    const double lead = (start.table && header == 0) ? BorderStrip(start.table) : 0.0;
    const double avail = height - header - lead;

    size_t next = first;
    while (next < units_.size() && units_[next].bottom - start.top <= avail + kFitTolerance)
        ++next;
    // A unit that keeps with the next one does not end the page; the chain goes to the
    // next page whole, unless it fills this page from its top.
    size_t kept = next;
    while (kept > first && kept < units_.size() && units_[kept - 1].keepNext)
        --kept;
    if (kept > first)
        next = kept;
    // Units that share a character position (an empty paragraph and the table after it)
    // stay on one page: a page ends only where the next one has a position of its own,
    // so the position it answers always moves on.
    while (next > first && next < units_.size() && units_[next].pos == units_[next - 1].pos)
        --next;

    if (next == first) {
        // Taller than the whole body: a page of its own, scaled to fit.
        next = first + 1;
        while (next < units_.size() && units_[next].pos == start.pos)
            ++next;
        const double bottom = units_[next - 1].bottom;
        const double tall = std::max(bottom - start.top, 1.0);
        const double scale = std::min(1.0, height / tall);
        DrawSlice(painter, start.top, bottom, target.left(), target.top(), scale);
    } else {
        if (header > 0)
            DrawSlice(painter, headerTop, headerBottom, target.left(), target.top(), 1.0, headerContentTop);
        DrawSlice(
            painter, start.top - lead, units_[next - 1].bottom, target.left(), target.top() + header, 1.0, start.top);
    }
    resumeUnit_ = next;
    return next < units_.size() ? units_[next].pos : TextLength();
}

} // namespace orvek::test
