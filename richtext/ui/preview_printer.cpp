#include "richtext/ui/preview_printer.h"

#include "platform/dialogs.h"
#include "platform/paper.h"
#include "platform/ui/printer.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/page_setup_form.h"
#include "richtext/ui/preview_form.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <cmath>

namespace orvek {

namespace {

// Nearest integer, halves to the even neighbour.
int RoundEven(double v)
{
    return int(std::nearbyint(v));
}

QColor ColorOf(quint32 c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The hourglass for the length of an operation, restored also when it throws.
struct WaitCursor {
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
};

QFont FontOfPixels(const QString& family, int pixels, bool bold, bool italic)
{
    QFont f(family);
    // Character heights were designed at 96 pixels per inch.
    f.setPointSizeF(pixels * 72.0 / 96.0);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

} // namespace

TTextOptions::TTextOptions()
    : BodyFont("Arial", 10)
    , HeaderFont("Times New Roman", 18)
    , FooterFont("Times New Roman", 10)
{
    HeaderFont.setBold(true);
    FooterFont.setItalic(true);
    PageNumFont = FooterFont;
}

TPreviewPrinter::TPreviewPrinter(QObject* owner)
    : QObject(owner)
{
}

TPreviewPrinter::~TPreviewPrinter()
{
    if (canvas_)
        canvas_->end();
}

void TPreviewPrinter::SetStoredDefaults()
{
    TTextOptions& o = TextOptions;
    o.MarginLeft = o.MarginTop = o.MarginRight = o.MarginBottom = 1.0;
    o.BodyFont = FontOfPixels("Arial", 13, false, false);
    o.HeaderFont = FontOfPixels("Arial", 19, true, false);
    o.FooterFont = FontOfPixels("Times New Roman", 13, false, true);
    o.PageNumFont = o.FooterFont;
    o.HeaderMargin = 0.55;
    o.FooterMargin = 0.4;
    o.HeaderAlign = o.FooterAlign = taCenter;
    o.PrintPageNumber = pnBottom;
    o.PageNumAlign = taCenter;
    o.PageNumText = "Page %d";
    SetUnits(unCentimeters);
    ShowGrid = false;
    ZoomOption = zoFitToPage;
    ZoomVal = 100;
    Orientation = poPortrait;
    Loaded();
}

void TPreviewPrinter::Loaded()
{
    TPageSetupForm form(this);
    form.LoadDefaults();
}

void TPreviewPrinter::SetUnits(TUnits units)
{
    units_ = units;
    unitFactor_ = units == unCentimeters ? 2.54 : 1.0;
}

void TPreviewPrinter::Status(const QString& msg, int page, TStatusType type)
{
    if (OnStatus)
        OnStatus(this, msg, page, type);
}

void TPreviewPrinter::ReadDeviceMetrics()
{
    if (printerKnown_) {
        QPrinter& printer = SharedPrinter();
        printer.setPageOrientation(Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        PixelsPerInchX = printer.logicalDpiX();
        PixelsPerInchY = printer.logicalDpiY();
        PageWidth = int(paper.width());
        PageHeight = int(paper.height());
        OffsetX = int(page.left() - paper.left());
        OffsetY = int(page.top() - paper.top());
        if (PageWidth > 0 && PixelsPerInchX > 0 && PixelsPerInchY > 0)
            return;
    }
    // The screen with US Letter paper.
    int dpi = 96;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* screen = app->primaryScreen())
            dpi = qMax(1, RoundEven(screen->logicalDotsPerInchY()));
    PixelsPerInchX = PixelsPerInchY = dpi;
    PageWidth = RoundEven(8.5 * dpi);
    PageHeight = 11 * dpi;
    OffsetX = OffsetY = 0;
}

void TPreviewPrinter::BeginDoc()
{
    printing_ = true;
    // The shared printer is always there: an installed one, or PDF on the locale's paper.
    // Only where it gives no page (the metrics fail) do the pages fall back to the screen.
    printerKnown_ = true;
    if (canvas_)
        canvas_->end();
    canvas_.reset();
    pages_.clear();
    pagination_.reset();
    NewPage();
}

void TPreviewPrinter::NewPage()
{
    ReadDeviceMetrics();
    TPageMetrics metrics { PixelsPerInchX, PixelsPerInchY, PageWidth, PageHeight };
    pages_.push_back(std::make_unique<TPagePicture>(metrics));
    auto canvas = std::make_unique<QPainter>();
    canvas->begin(pages_.back().get());
    if (canvas_) {
        canvas->setFont(canvas_->font());
        canvas->setBrush(canvas_->brush());
        canvas->setPen(canvas_->pen());
        canvas_->end();
    } else {
        canvas->setFont(QFont("Arial", 10));
        canvas->setBrush(Qt::NoBrush);
    }
    canvas_ = std::move(canvas);
    PageUsed = false;
    Status(QString("Paginating page %1").arg(PageCount()), PageCount(), stPaginating);
}

void TPreviewPrinter::EndDoc()
{
    printing_ = false;
    if (canvas_)
        canvas_->end();
    canvas_.reset();
    if (!PageUsed && !pages_.empty())
        pages_.pop_back();
    Status("Pagination Complete", -1, stPaginationFinished);
}

QPainter* TPreviewPrinter::GetCanvas()
{
    PageUsed = true;
    return canvas_.get();
}

const TPagePicture* TPreviewPrinter::GetPage(int index) const
{
    if (index < 0 || index >= PageCount())
        return nullptr;
    // A page of the pagination is recorded the first time it is asked for; the pages
    // stay the same whenever that happens.
    if (!pages_[size_t(index)] && pagination_)
        const_cast<TPreviewPrinter*>(this)->RecordPage(size_t(index));
    return pages_[size_t(index)].get();
}

int TPreviewPrinter::XToDevice(double length) const
{
    return RoundEven(PixelsPerInchX * length / unitFactor_);
}
int TPreviewPrinter::YToDevice(double length) const
{
    return RoundEven(PixelsPerInchY * length / unitFactor_);
}
double TPreviewPrinter::DeviceToUnits(int pixels) const
{
    return double(pixels) / PixelsPerInchX * unitFactor_;
}

QRect TPreviewPrinter::BodyRect() const
{
    // The body's corners in twips: the margins weighted as the reports were always laid out.
    const TTextOptions& o = TextOptions;
    const QRect twips = PageBodyTwips(DeviceToUnits(PageWidth), double(PageHeight) / PixelsPerInchY * unitFactor_,
        o.MarginLeft, o.MarginTop, o.MarginRight, o.MarginBottom);
    auto px = [](int twips, int dpi) { return RoundEven(double(twips) * dpi / 1440.0); };
    return QRect(QPoint(px(twips.left(), PixelsPerInchX), px(twips.top(), PixelsPerInchY)),
        QPoint(px(twips.right() + 1, PixelsPerInchX) - 1, px(twips.bottom() + 1, PixelsPerInchY) - 1));
}

bool TPreviewPrinter::PrintRichEdit(bool WithFrame, TRichEdit98& Edit)
{
    WaitCursor wait;
    struct UnitsBack {
        TPreviewPrinter* p;
        TUnits saved;
        ~UnitsBack() { p->SetUnits(saved); }
    } unitsBack { this, units_ };
    SetUnits(unInches);

    // As BeginDoc: the pages of before and any open canvas go.
    printing_ = true;
    printerKnown_ = true;
    if (canvas_)
        canvas_->end();
    canvas_.reset();
    pages_.clear();
    pagination_.reset();
    ReadDeviceMetrics();

    // One layout of the text, cut into pages at once; the pages are recorded when asked for.
    auto pagination = std::make_unique<Pagination>();
    pagination->body = BodyRect();
    pagination->withFrame = WithFrame;
    pagination->options = TextOptions;
    pagination->metrics = { PixelsPerInchX, PixelsPerInchY, PageWidth, PageHeight };
    pagination->offsetX = OffsetX;
    pagination->offsetY = OffsetY;
    pagination->paginator
        = std::make_unique<TRichTextPages>(*Edit.document(), pagination->metrics, pagination->body.width());
    const TRichTextPages& paginator = *pagination->paginator;
    int firstChar = 0;
    bool fits = true;
    for (bool more = true; more;) {
        pages_.push_back(nullptr);
        Status(QString("Paginating page %1").arg(PageCount()), PageCount(), stPaginating);
        const TRichTextPages::TPageCut cut = paginator.CutPage(pagination->body, firstChar);
        pagination->pending.push_back({ cut, PageCount() });
        const int next = cut.NextChar;
        if (next < 0)
            fits = false;
        // Stops also where no progress was made, so a body that holds nothing cannot loop.
        more = next > firstChar && next < paginator.TextLength();
        firstChar = qMax(next, 0);
    }
    pagination_ = std::move(pagination);
    PageUsed = true;
    printing_ = false;
    Status("Pagination Complete", -1, stPaginationFinished);
    return fits;
}

void TPreviewPrinter::RecordPage(size_t index)
{
    Pagination& p = *pagination_;
    const PendingPage& pending = p.pending[index];
    auto picture = std::make_unique<TPagePicture>(p.metrics);
    // The page is framed with the layout, options and units of its pagination; whatever
    // the printer holds now comes back afterwards.
    struct Restore {
        TPreviewPrinter& printer;
        TTextOptions options;
        int ppiX, ppiY, width, height, offsetX, offsetY;
        bool used;
        TUnits units;
        std::unique_ptr<QPainter> canvas;
        ~Restore()
        {
            printer.TextOptions = options;
            printer.PixelsPerInchX = ppiX;
            printer.PixelsPerInchY = ppiY;
            printer.PageWidth = width;
            printer.PageHeight = height;
            printer.OffsetX = offsetX;
            printer.OffsetY = offsetY;
            printer.PageUsed = used;
            printer.SetUnits(units);
            if (printer.canvas_ && printer.canvas_->isActive())
                printer.canvas_->end();
            printer.canvas_ = std::move(canvas);
        }
    } restore { *this, TextOptions, PixelsPerInchX, PixelsPerInchY, PageWidth, PageHeight, OffsetX, OffsetY, PageUsed,
        units_, std::move(canvas_) };
    TextOptions = p.options;
    PixelsPerInchX = p.metrics.PixelsPerInchX;
    PixelsPerInchY = p.metrics.PixelsPerInchY;
    PageWidth = p.metrics.PageWidth;
    PageHeight = p.metrics.PageHeight;
    OffsetX = p.offsetX;
    OffsetY = p.offsetY;
    SetUnits(unInches);
    canvas_ = std::make_unique<QPainter>();
    canvas_->begin(picture.get());
    canvas_->setFont(QFont("Arial", 10));
    canvas_->setBrush(Qt::NoBrush);

    p.paginator->DrawPage(*canvas_, p.body, pending.cut);
    DrawPageFrame(pending.number);
    if (p.withFrame) {
        QPainter* c = GetCanvas();
        const int x1 = RoundEven(PageWidth * 0.03), y1 = RoundEven(PageHeight * 0.02);
        const int x2 = RoundEven(PageWidth * 0.97);
        const int y2 = RoundEven((PageHeight - YToDevice(TextOptions.FooterMargin)) / 1.038);
        const QPoint corners[] = { { x1, y1 }, { x2, y1 }, { x2, y2 }, { x1, y2 }, { x1, y1 } };
        c->drawPolyline(corners, 5);
    }
    canvas_->end();
    pages_[index] = std::move(picture);
}

void TPreviewPrinter::DrawPageFrame(int Page)
{
    const TTextOptions& o = TextOptions;
    const int headerY = YToDevice(o.HeaderMargin);
    const int footerY = PageHeight - YToDevice(o.FooterMargin);
    if (Page == 1)
        DrawLineText(headerY, o.HeaderAlign, &o.HeaderFont, o.Header, o.HeaderColor);
    DrawLineText(footerY, o.FooterAlign, &o.FooterFont, o.Footer, o.FooterColor);
    if (o.PrintPageNumber == pnNone)
        return;
    // Only "%d" is replaced; any other "%" of the text stays as it stands.
    QString text = o.PageNumText;
    text.replace("%d", QString::number(Page));
    const bool bottom = o.PrintPageNumber == pnBottom;
    int y = bottom ? footerY : headerY;
    // The page number never shares a line with the footer (or the first page's header)
    // drawn on the same base line: it takes the line beyond them, towards the paper's
    // edge, or the line on their other side where the paper ends first.
    const QString& neighbour = bottom ? o.Footer : (Page == 1 ? o.Header : QString());
    if (!QString(neighbour).remove(".new_row.").trimmed().isEmpty()) {
        const QPair<int, int> lines = LineTextSpan(y, bottom ? &o.FooterFont : &o.HeaderFont, neighbour);
        const int height = LineHeightOf(&o.PageNumFont);
        const int below = lines.second + height, above = lines.first;
        if (bottom)
            y = below <= PageHeight ? below : above;
        else
            y = above - height >= 0 ? above : below;
    }
    DrawLineText(y, o.PageNumAlign, &o.PageNumFont, text, o.PageNumColor);
}

int TPreviewPrinter::LineHeightOf(const QFont* Font) const
{
    QFont font = Font ? *Font : (canvas_ ? canvas_->font() : QFont());
    const QFontMetricsF fm(font, canvas_ ? canvas_->device() : nullptr);
    return RoundEven(1.2 * fm.height());
}

QPair<int, int> TPreviewPrinter::LineTextSpan(int Y, const QFont* Font, const QString& Text) const
{
    const int lineHeight = LineHeightOf(Font);
    const QString marker = ".new_row.";
    if (!Text.contains(marker))
        return { Y - lineHeight, Y };
    const int top = Y - RoundEven(1.5 * lineHeight);
    return { top, top + int(Text.count(marker) + 1) * lineHeight };
}

void TPreviewPrinter::DrawLineText(int Y, TAlignment Align, const QFont* Font, const QString& Text, quint32 Color)
{
    QPainter* c = GetCanvas();
    if (!c)
        return;
    c->save();
    if (Font)
        c->setFont(*Font);
    c->setPen(ColorOf(Color));
    const QFontMetricsF fm(c->font(), c->device());
    const int lineHeight = RoundEven(1.2 * fm.height());
    auto xOf = [&](const QString& piece) {
        const int w = int(std::ceil(fm.horizontalAdvance(piece)));
        switch (Align) {
        case taLeftJustify:
            return XToDevice(TextOptions.MarginLeft);
        case taRightJustify:
            return PageWidth - XToDevice(TextOptions.MarginRight) - w;
        default:
            return PageWidth / 2 - w / 2;
        }
    };
    // Text is placed by the top of its line.
    auto draw = [&](int top, const QString& piece) {
        if (!piece.isEmpty())
            c->drawText(QPointF(xOf(piece), top + fm.ascent()), piece);
    };
    const QString marker = ".new_row.";
    if (!Text.contains(marker)) {
        draw(Y - lineHeight, Text);
    } else {
        const QStringList pieces = Text.split(marker);
        int top = Y - RoundEven(1.5 * lineHeight);
        for (int i = 0; i < pieces.size(); ++i) {
            draw(top, pieces[i]);
            top += lineHeight;
        }
    }
    c->restore();
}

bool TPreviewPrinter::PrintRange(int From, int To)
{
    if (From < 0 || To >= PageCount() || From > To)
        return false;
    WaitCursor wait;
    QPrinter& printer = SharedPrinter();
    PreparePrinterOutput();
    printer.setPageOrientation(Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // A file takes the paper the pages were recorded on.
        const TPageMetrics& m = GetPage(From)->Metrics();
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageSize(QPageSize(
            QSizeF(double(m.PageWidth) / m.PixelsPerInchX, double(m.PageHeight) / m.PixelsPerInchY), QPageSize::Inch));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }
    printer.setDocName(Title);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    for (int i = From; i <= To; ++i) {
        Status(QString("Printing page %1").arg(i), i, stPrinting);
        GetPage(i)->DrawScaled(painter, QRectF(0, 0, paper.width(), paper.height()));
        if (i < To)
            printer.newPage();
    }
    painter.end();
    Status("Print Job Complete", -1, stPrintFinished);
    return true;
}

bool TPreviewPrinter::Print()
{
    return PrintRange(0, PageCount() - 1);
}

bool TPreviewPrinter::PrintWithDialog()
{
    PrintDialogRequest request;
    request.minPage = 1;
    request.maxPage = qMax(1, PageCount());
    request.fromPage = 1;
    request.toPage = request.maxPage;
    if (!orvek::PrintDialog(request))
        return false;
    if (!request.outputFile.isEmpty()) {
        SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        SharedPrinter().setOutputFileName(request.outputFile);
    }
    int from = 0, to = PageCount() - 1;
    if (request.pageRange) {
        from = request.fromPage - 1;
        to = request.toPage - 1;
    }
    bool ok = true;
    for (int copy = 0; copy < qMax(1, request.copies); ++copy)
        ok = PrintRange(from, to) && ok;
    return ok;
}

TPreviewForm* TPreviewPrinter::CreatePreviewForm()
{
    auto* form = new TPreviewForm(nullptr);
    form->PreviewPrinter = this;
    form->SetUp(ShowGrid, ZoomOption, ZoomVal);
    return form;
}

void TPreviewPrinter::Preview()
{
    std::unique_ptr<TPreviewForm> form(CreatePreviewForm());
    form->exec();
}

} // namespace orvek
