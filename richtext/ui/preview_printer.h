#pragma once
// The print and preview service: cuts a rich text into pages, records each page with
// its header, footer and page number as a picture in the device pixels of the printer
// (or of the screen with US Letter paper when no printer is installed), then prints the
// pages on the shared printer or shows them in the preview window.

#include "richtext/page_picture.h"
#include "richtext/rich_text_pages.h"

#include <QFont>
#include <QObject>
#include <QPair>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace orvek {

class TRichEdit98;
class TPreviewForm;

enum TDrawStyle { dsStandard, dsOwnerDrawFixed, dsOwnerDrawVariable };
enum TUnits { unInches, unCentimeters };
enum TZoomOption { zoFitToPage, zoFitToWidth, zoTwoPages, zoCustom };
enum TStatusType { stPaginating, stPrinting, stPaginationFinished, stPrintFinished };
enum TPrintPageNumber { pnBottom, pnTop, pnNone };
// As the page-setup radio tags: 0 left, 1 right, 2 centre.
enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TPrinterOrientation { poPortrait = 0, poLandscape = 1 };

using TStatusProc = std::function<void(QObject* Sender, const QString& StatMsg, int PageNum, TStatusType StatusType)>;

// The page layout. Lengths are in the printer's Units.
class TTextOptions {
public:
    TTextOptions();

    TDrawStyle DrawStyle = dsStandard;
    double MarginLeft = 1.0, MarginTop = 1.0, MarginRight = 1.0, MarginBottom = 1.0;
    QFont BodyFont, HeaderFont, FooterFont, PageNumFont;
    quint32 HeaderColor = 0, FooterColor = 0, PageNumColor = 0; // $00BBGGRR
    QString Header, Footer; // ".new_row." breaks the line
    double HeaderMargin = 0.5; // from the top of the paper to the header's base line
    double FooterMargin = 0.75; // from the bottom of the paper to the footer's base line
    TAlignment HeaderAlign = taCenter, FooterAlign = taCenter;
    TPrintPageNumber PrintPageNumber = pnBottom;
    TAlignment PageNumAlign = taRightJustify;
    QString PageNumText = "Page %d";
};

class TPreviewPrinter : public QObject {
    Q_OBJECT
public:
    explicit TPreviewPrinter(QObject* owner = nullptr);
    ~TPreviewPrinter() override;

    // The layout the program's two instances are kept with, then the saved page-setup
    // defaults over it.
    void SetStoredDefaults();
    // Loads the saved page-setup defaults (through a hidden page-setup dialog).
    void Loaded();

    TPrinterOrientation Orientation = poPortrait;
    QString Title;
    TTextOptions TextOptions;
    bool ShowGrid = false;
    TZoomOption ZoomOption = zoFitToPage;
    int ZoomVal = 100;
    TStatusProc OnStatus;

    TUnits Units() const { return units_; }
    void SetUnits(TUnits units);
    double UnitFactor() const { return unitFactor_; }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    // The painter of the current page; marks the page as used.
    QPainter* GetCanvas();
    int PageCount() const { return int(pages_.size()); }
    const TPagePicture* GetPage(int index) const;
    bool Printing() const { return printing_; }

    int XToDevice(double length) const;
    int YToDevice(double length) const;
    double DeviceToUnits(int pixels) const;

    // Paginates the whole text of Edit into new pages. False when the page body is too
    // small for any text (the pages made so far are kept). The text is laid out once and
    // cut into pages at once; each page is recorded when it is first asked for
    // (GetPage), with the page layout and options as they were at the pagination.
    bool PrintRichEdit(bool WithFrame, TRichEdit98& Edit);
    void DrawPageFrame(int Page);
    void DrawLineText(int Y, TAlignment Align, const QFont* Font, const QString& Text, quint32 Color = 0);

    void Preview();
    bool Print();
    bool PrintWithDialog();
    // Prints the pages From..To (from 0) as one job; False when the range is not one of
    // existing pages or the printer cannot start the job.
    bool PrintRange(int From, int To);
    TPreviewForm* CreatePreviewForm();

    // Metrics of the device the pages are recorded for.
    int PixelsPerInchX = 96, PixelsPerInchY = 96;
    int PageWidth = 816, PageHeight = 1056;
    int OffsetX = 0, OffsetY = 0;
    bool PageUsed = false;

    // The target rectangle of the text body of a page, in device pixels.
    QRect BodyRect() const;

private:
    // The line height of Font (the canvas font when null) on the current page.
    int LineHeightOf(const QFont* Font) const;
    // The top and bottom of the lines DrawLineText draws for Text at Y.
    QPair<int, int> LineTextSpan(int Y, const QFont* Font, const QString& Text) const;
    void ReadDeviceMetrics();
    void Status(const QString& msg, int page, TStatusType type);

    // A page of PrintRichEdit not yet recorded: what it holds and how it is framed.
    struct PendingPage {
        TRichTextPages::TPageCut cut;
        int number = 0;
    };
    struct Pagination {
        std::unique_ptr<TRichTextPages> paginator;
        QRect body;
        bool withFrame = false;
        TTextOptions options;
        TPageMetrics metrics;
        int offsetX = 0, offsetY = 0;
        std::vector<PendingPage> pending; // by page index
    };
    void RecordPage(size_t index);

    bool printing_ = false;
    bool printerKnown_ = false;
    // Recorded pages; a null entry is a page of the pagination still to be recorded.
    std::vector<std::unique_ptr<TPagePicture>> pages_;
    std::unique_ptr<Pagination> pagination_;
    std::unique_ptr<QPainter> canvas_;
    TUnits units_ = unInches;
    double unitFactor_ = 1.0;
};

// The main window's preview printer, which the rich-text editor prints with.
inline TPreviewPrinter* MainPreviewPrinter = nullptr;

} // namespace orvek
