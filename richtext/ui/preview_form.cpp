#include "richtext/ui/preview_form.h"

#include "core/ui/ui_text.h"
#include "platform/regional_locale.h"
#include "richtext/page_picture.h"
#include "richtext/ui/preview_printer.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace orvek {

namespace {

constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 10.0;
const double kZoomPercent[] = { 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0 };

// A page box: draws its page scaled to the box, with the one-inch grid when asked.
class TPageBox : public QWidget {
public:
    TPageBox(TPreviewForm* form, int offset, QWidget* parent)
        : QWidget(parent)
        , form_(form)
        , offset_(offset)
    {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        TPreviewPrinter* printer = form_->PreviewPrinter;
        if (!printer)
            return;
        if (offset_ == 1 && !form_->TwoPageBut->isChecked())
            return;
        const TPagePicture* page = printer->GetPage(form_->CurrentPage + offset_);
        if (!page)
            return;
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        page->DrawScaled(p, QRectF(rect()));
        if (form_->GridBut->isChecked()) {
            const double sx = double(width()) / printer->PageWidth, sy = double(height()) / printer->PageHeight;
            p.setPen(QColor(192, 192, 192));
            for (int i = 1; i <= printer->PageWidth / printer->PixelsPerInchX; ++i) {
                const double x = i * printer->PixelsPerInchX * sx;
                p.drawLine(QPointF(x, 0), QPointF(x, height()));
            }
            for (int j = 1; j <= printer->PageHeight / printer->PixelsPerInchY; ++j) {
                const double y = j * printer->PixelsPerInchY * sy;
                p.drawLine(QPointF(0, y), QPointF(width(), y));
            }
        }
    }

private:
    TPreviewForm* form_;
    int offset_;
};

QToolButton* ToolButton(QWidget* parent, const QString& name, const QString& text, const QString& hint, bool checkable)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    return b;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& text, const QString& hint)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TPreviewForm::TPreviewForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("PreviewForm");
    setWindowTitle(UiText(570, "Print preview"));
    resize(640, 504);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* bar = new QWidget(this);
    auto* top = new QHBoxLayout(bar);
    top->setContentsMargins(4, 4, 4, 4);
    PrintBut = Button(bar, "PrintBut", UiText(22161, "Print..."), UiText(22171, "Print the current document"));
    PrevPageBut = Button(bar, "PrevPageBut", UiText(22162, "Previous"), UiText(22172, "Move to the previous page"));
    PrevPageBut->setEnabled(false);
    NextPageBut = Button(bar, "NextPageBut", UiText(22163, "Next"), UiText(22173, "Advance to the next page"));
    ZoomBox = new QComboBox(bar);
    ZoomBox->setObjectName("ZoomBox");
    ZoomBox->addItems({ UiText(22164, "Fit to page"), UiText(22165, "Fit to width"), UiText(22166, "Custom"), "25%",
        "50%", "75%", "100%", "125%", "150%", "200%", "300%", "400%" });
    FitPageBut = ToolButton(bar, "FitPageBut", "[ ]", UiText(22164, "Fit to page"), true);
    FitWidthBut = ToolButton(bar, "FitWidthBut", "<->", UiText(22165, "Fit to width"), true);
    GridBut = ToolButton(bar, "GridBut", UiText(22167, "Grid"), UiText(22174, "Turns the grid on or off"), true);
    ZoomCursorBut = ToolButton(
        bar, "ZoomCursorBut", UiText(105, "Zoom"), UiText(22175, "Selects the zoom tool to zoom in or out"), true);
    HandCursorBut = ToolButton(bar, "HandCursorBut", UiText(22168, "Hand"),
        UiText(22176, "Selects the hand tool to pan across the page"), true);
    OnePageBut = ToolButton(bar, "OnePageBut", "&1", UiText(22169, "One page at a time"), true);
    TwoPageBut = ToolButton(bar, "TwoPageBut", "&2", UiText(22170, "Two pages side by side"), true);
    CloseBut = Button(bar, "CloseBut", UiText(551, "Close"), UiText(22177, "Close the print preview window"));
    for (QWidget* w : std::initializer_list<QWidget*> { PrintBut, PrevPageBut, NextPageBut, ZoomBox, FitPageBut,
             FitWidthBut, GridBut, ZoomCursorBut, HandCursorBut, OnePageBut, TwoPageBut, CloseBut })
        top->addWidget(w);
    top->addStretch(1);
    outer->addWidget(bar);

    ZoomCursorBut->setChecked(true);
    OnePageBut->setChecked(true);
    ZoomCursorBut->setAutoExclusive(true);
    HandCursorBut->setAutoExclusive(true);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ContainPanel = new QWidget;
    ContainPanel->setObjectName("ContainPanel");
    ContainPanel->setAutoFillBackground(true);
    QPalette pal = ContainPanel->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Mid));
    ContainPanel->setPalette(pal);
    PagePanel = new QFrame(ContainPanel);
    PagePanel->setObjectName("PagePanel");
    PagePanel2 = new QFrame(ContainPanel);
    PagePanel2->setObjectName("PagePanel2");
    PagePanel2->hide();
    const QString boxHint = UiText(
        22178, "Page view. With the zoom tool, a left or right click zooms in or out. Drag with the hand tool to pan.");
    int offset = 0;
    for (QFrame* panel : { PagePanel, PagePanel2 }) {
        panel->setFrameShape(QFrame::Box);
        auto* l = new QVBoxLayout(panel);
        l->setContentsMargins(0, 0, 0, 0);
        auto* box = new TPageBox(this, offset, panel);
        box->setObjectName(offset == 0 ? "PB1" : "PB2");
        box->setToolTip(boxHint);
        box->setCursor(Qt::CrossCursor);
        box->installEventFilter(this);
        l->addWidget(box);
        (offset == 0 ? PB1 : PB2) = box;
        ++offset;
    }
    ScrollBox1->setWidget(ContainPanel);
    ScrollBox1->viewport()->installEventFilter(this);
    outer->addWidget(ScrollBox1, 1);

    auto* status = new QWidget(this);
    auto* sl = new QHBoxLayout(status);
    sl->setContentsMargins(4, 2, 4, 2);
    FirstPageSpeed = ToolButton(status, "FirstPageSpeed", "|<", UiText(22179, "Go to the first page"), false);
    PrevPageSpeed = ToolButton(status, "PrevPageSpeed", "<", UiText(22172, "Move to the previous page"), false);
    NextPageSpeed = ToolButton(status, "NextPageSpeed", ">", UiText(22173, "Advance to the next page"), false);
    LastPageSpeed = ToolButton(status, "LastPageSpeed", ">|", UiText(22180, "Go to the last page"), false);
    PageNumSpeed = ToolButton(status, "PageNumSpeed", "#", UiText(22181, "Go to a page by its number"), false);
    CurPageLabel = new QLabel(status);
    CurPageLabel->setObjectName("CurPageLabel");
    CurPageLabel->setToolTip(UiText(22182, "Displays the current page of the document"));
    ZoomLabel = new QLabel(status);
    ZoomLabel->setObjectName("ZoomLabel");
    ZoomLabel->setToolTip(UiText(22183, "Displays the current zoom level (100% = normal)"));
    HintLabel = new QLabel(status);
    HintLabel->setObjectName("HintLabel");
    HintLabel->setToolTip(UiText(22184, "Displays help for the object beneath the mouse"));
    for (QWidget* w : std::initializer_list<QWidget*> {
             FirstPageSpeed, PrevPageSpeed, NextPageSpeed, LastPageSpeed, PageNumSpeed, CurPageLabel, ZoomLabel })
        sl->addWidget(w);
    sl->addWidget(HintLabel, 1);
    outer->addWidget(status);

    // The hint of the control under the mouse shows in the status bar.
    for (QWidget* w : findChildren<QWidget*>())
        if (!w->toolTip().isEmpty())
            w->installEventFilter(this);

    connect(PrintBut, &QPushButton::clicked, this, [this] {
        if (PreviewPrinter)
            PreviewPrinter->PrintWithDialog();
    });
    connect(CloseBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(NextPageBut, &QPushButton::clicked, this, [this] { Go(CurrentPage + 1); });
    connect(NextPageSpeed, &QToolButton::clicked, this, [this] { Go(CurrentPage + 1); });
    connect(PrevPageBut, &QPushButton::clicked, this, [this] { Go(CurrentPage - 1); });
    connect(PrevPageSpeed, &QToolButton::clicked, this, [this] { Go(CurrentPage - 1); });
    connect(FirstPageSpeed, &QToolButton::clicked, this, [this] { Go(0); });
    connect(LastPageSpeed, &QToolButton::clicked, this,
        [this] { Go(PreviewPrinter ? PreviewPrinter->PageCount() - 1 : 0); });
    connect(PageNumSpeed, &QToolButton::clicked, this, &TPreviewForm::PageNumSpeedClick);
    connect(ZoomBox, &QComboBox::currentIndexChanged, this, [this] {
        LayoutPages();
        LayoutPages();
    });
    connect(FitPageBut, &QToolButton::clicked, this, [this] {
        ZoomBox->setCurrentIndex(ziFitToPage);
        LayoutPages();
    });
    connect(FitWidthBut, &QToolButton::clicked, this, [this] {
        ZoomBox->setCurrentIndex(ziFitToWidth);
        LayoutPages();
    });
    connect(TwoPageBut, &QToolButton::clicked, this, [this] {
        TwoPageBut->setChecked(true);
        OnePageBut->setChecked(false);
        ZoomBox->setCurrentIndex(ziFitToPage);
        LayoutPages();
    });
    connect(OnePageBut, &QToolButton::clicked, this, [this] {
        OnePageBut->setChecked(true);
        TwoPageBut->setChecked(false);
        ZoomBox->setCurrentIndex(ziFitToPage);
        LayoutPages();
    });
    connect(GridBut, &QToolButton::clicked, this, [this] {
        PB1->update();
        PB2->update();
    });
    connect(HandCursorBut, &QToolButton::toggled, this, [this](bool on) {
        PB1->setCursor(on ? Qt::OpenHandCursor : Qt::CrossCursor);
        PB2->setCursor(on ? Qt::OpenHandCursor : Qt::CrossCursor);
    });

    ZoomBox->setCurrentIndex(ziFitToPage);
    setWindowState(windowState() | Qt::WindowMaximized);
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::SetUp(bool showGrid, int zoomOption, int zoomVal)
{
    GridBut->setChecked(showGrid);
    switch (zoomOption) {
    case zoFitToPage:
        ZoomBox->setCurrentIndex(ziFitToPage);
        break;
    case zoFitToWidth:
        ZoomBox->setCurrentIndex(ziFitToWidth);
        break;
    case zoTwoPages:
        TwoPageBut->setChecked(true);
        OnePageBut->setChecked(false);
        ZoomBox->setCurrentIndex(ziFitToPage);
        break;
    default:
        Zoom = std::clamp(zoomVal / 100.0, kMinZoom, kMaxZoom);
        ZoomBox->setCurrentIndex(ZoomBox->count() - 1);
        ZoomBox->setCurrentIndex(ziCustom);
        break;
    }
    LayoutPages();
}

void TPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ShowPage(0);
    UpdateButtons();
    LayoutPages();
}

void TPreviewForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutPages();
}

void TPreviewForm::LayoutPages()
{
    if (!PreviewPrinter)
        return;
    const double ppi = logicalDpiX();
    const double pw = PreviewPrinter->PageWidth, ph = PreviewPrinter->PageHeight;
    const double ppx = PreviewPrinter->PixelsPerInchX, ppy = PreviewPrinter->PixelsPerInchY;
    if (ZoomBox->currentIndex() < 0)
        ZoomBox->setCurrentIndex(ziFitToPage);
    const int entry = ZoomBox->currentIndex();
    FitPageBut->setChecked(entry == ziFitToPage);
    FitWidthBut->setChecked(entry == ziFitToWidth);
    const QSize client = ScrollBox1->viewport()->size();
    double zoom = Zoom;
    if (entry == ziFitToPage)
        zoom = (client.height() - 20) / ppi / (ph / ppy);
    else if (entry == ziFitToWidth)
        zoom = (client.width() - 20) / ppi / (pw / ppx);
    else if (entry >= zi25)
        zoom = kZoomPercent[entry - zi25];
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (entry != ziFitToPage) {
        OnePageBut->setChecked(true);
        TwoPageBut->setChecked(false);
    }
    const int pageH = int(ppi * zoom * ph / ppy);
    const int pageW = int(ppi * zoom * pw / ppx);
    PagePanel->resize(pageW, pageH);
    PagePanel2->setVisible(TwoPageBut->isChecked());
    PagePanel2->resize(pageW, pageH);
    int contentW = pageW + 20;
    if (PagePanel2->isVisible())
        contentW += pageW + 20;
    const int contentH = pageH + 20;
    ContainPanel->resize(qMax(contentW, client.width() - 1), qMax(contentH, client.height() - 1));
    const int top = pageH + 20 < ContainPanel->height() ? ContainPanel->height() / 2 - pageH / 2 : 10;
    const int left = contentW < ContainPanel->width() ? ContainPanel->width() / 2 - (contentW - 20) / 2 : 10;
    PagePanel->move(left, top);
    PagePanel2->move(left + pageW + 20, top);
    Zoom = zoom;
    QLocale locale = RegionalLocale();
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    ZoomLabel->setText(locale.toString(zoom * 100, 'f', 0) + "%");
    PB1->update();
    PB2->update();
}

void TPreviewForm::ShowPage(int Index)
{
    CurrentPage = Index;
    const int count = PreviewPrinter ? PreviewPrinter->PageCount() : 0;
    CurPageLabel->setText(UiText(22185, "Page %1 of %2").arg(Index + 1).arg(count));
    PB1->update();
    PB2->update();
}

void TPreviewForm::Go(int index)
{
    ShowPage(index);
    UpdateButtons();
}

void TPreviewForm::UpdateButtons()
{
    const int count = PreviewPrinter ? PreviewPrinter->PageCount() : 0;
    const bool next = CurrentPage + 1 < count, prev = CurrentPage > 0;
    NextPageBut->setEnabled(next);
    NextPageSpeed->setEnabled(next);
    LastPageSpeed->setEnabled(next);
    PrevPageBut->setEnabled(prev);
    PrevPageSpeed->setEnabled(prev);
    FirstPageSpeed->setEnabled(prev);
    PageNumSpeed->setEnabled(count > 1);
}

void TPreviewForm::PageNumSpeedClick()
{
    const int count = PreviewPrinter ? PreviewPrinter->PageCount() : 0;
    TGoPageForm dialog(this);
    dialog.PageNum->setRange(1, qMax(1, count));
    dialog.PageNum->setValue(CurrentPage + 1);
    if (dialog.exec() == QDialog::Accepted)
        Go(dialog.PageNum->value() - 1);
}

void TPreviewForm::ZoomAt(QWidget* box, QPoint at, bool left, bool right)
{
    const QSize old = box->size();
    double zoom = Zoom;
    if (left)
        zoom *= 1.5;
    if (right)
        zoom /= 1.5;
    Zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    {
        const QSignalBlocker block(ZoomBox);
        ZoomBox->setCurrentIndex(ziCustom);
    }
    LayoutPages();
    const QSize now = box->parentWidget()->size();
    if (old.width() > 0 && old.height() > 0) {
        // Keeps the clicked point in view: the page offset plus the scaled point, centred.
        const QPoint panel = box->parentWidget()->pos();
        ScrollBox1->horizontalScrollBar()->setValue(
            panel.x() + int(double(now.width()) * at.x() / old.width()) - ScrollBox1->viewport()->width() / 2);
        ScrollBox1->verticalScrollBar()->setValue(
            panel.y() + int(double(now.height()) * at.y() / old.height()) - ScrollBox1->viewport()->height() / 2);
    }
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        if (auto* w = qobject_cast<QWidget*>(watched); w && !w->toolTip().isEmpty())
            HintLabel->setText(QString(w->toolTip()).replace("&&", "&"));
    }
    if (watched == PB1 || watched == PB2) {
        auto* box = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (ZoomCursorBut->isChecked()) {
                ZoomAt(box, me->position().toPoint(), me->buttons() & Qt::LeftButton, me->buttons() & Qt::RightButton);
            } else if (HandCursorBut->isChecked()) {
                dragStart_ = me->globalPosition().toPoint();
                Dragging = true;
            }
            return true;
        }
        if (event->type() == QEvent::MouseMove && Dragging) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint now = me->globalPosition().toPoint();
            ScrollBox1->horizontalScrollBar()->setValue(
                ScrollBox1->horizontalScrollBar()->value() + dragStart_.x() - now.x());
            ScrollBox1->verticalScrollBar()->setValue(
                ScrollBox1->verticalScrollBar()->value() + dragStart_.y() - now.y());
            dragStart_ = now;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            Dragging = false;
            return true;
        }
    }
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize)
        LayoutPages();
    return QDialog::eventFilter(watched, event);
}

TGoPageForm::TGoPageForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("GoPageForm");
    setWindowTitle(UiText(22186, "Go to page number"));
    resize(231, 116);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    auto* l = new QVBoxLayout(this);
    PageNum = new QSpinBox(this);
    PageNum->setObjectName("PageNum");
    PageNum->setMinimum(1);
    l->addWidget(PageNum);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    l->addWidget(buttons);
}

} // namespace orvek
