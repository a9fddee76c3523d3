#pragma once
// The report outputs of a window that shows a model: its short-report and formula
// pages, and the full report, the short report and the diagram picture copied,
// printed, previewed or saved as RTF. The main window and the template window each own
// one, parameterised by what differs between them: the head lines, the preview header,
// the history row written after an output and the font of the footer lines of a copied
// full report.
//
// Rules every output keeps: the clipboard is written only by a copy (mode 1); the
// picture of the diagram and the short report are carried inside the program. A
// history row is written only when the output happened. A failed save or print is
// shown. EditMode is the same afterwards as before. The scratch document is empty
// between outputs.

#include "richtext/report_output.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QWidget;

namespace orvek {

class TCell;
class TRichEdit98;
class TPreviewPrinter;

class TReportOutput : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // The model; null when the window holds none (the builders then do nothing).
        std::function<TCell*()> Root;
        std::function<QList<TReportHeadLine>()> ShortHead;
        std::function<QList<TReportHeadLine>()> FullHead;
        std::function<QString()> PreviewHeader;
        // After an output that happened; empty for none.
        std::function<void()> WriteHistory;
        // The first line of the equations page, for the formula page.
        std::function<QString()> FirstEquationLine;
        // The footer lines of a copied full report in this font; unset: the report font.
        std::optional<QFont> CopiedFullReportFooterFont;
    };

    // The pages are the window's controls; Printer its preview printer (the main
    // window's when null). Owner parents the hidden scratch controls.
    TReportOutput(
        QWidget* owner, TRichEdit98* shortReport, TRichEdit98* formulaPage, TPreviewPrinter* printer, Hooks hooks);
    ~TReportOutput() override;

    // The short-report page from the model, with Caption in the wait window.
    void BuildShortReport(const QString& caption = QString());
    // The full report into the scratch control TempRichEdit; for modes 1 to 4 with
    // section bit 5 the diagram picture takes the placeholder's place.
    void BuildFullReport(int mode);
    void BuildFormulaPage();

    // The outputs; Caption titles the wait window and the save dialog. True when the
    // output happened (not cancelled, not failed).
    bool OutputFullReport(int mode, const QString& caption);
    bool OutputShortReport(const QString& caption, int mode);
    bool OutputDiagram(const QString& caption, int mode);

    // The report-section dialog, then the full report by the chosen ReportAction unless
    // that is 0 (apply only). True when a report was output.
    bool ReportSelection(const QString& caption);

    // Copies the selection of Page, or all of it when nothing is selected.
    void CopyPage(TRichEdit98& page);
    // Shows Page's content in the rich-text editor window, read-only for the short
    // report and editable for the formula page, maximised and modal.
    void ShowInSeparateWindow(TRichEdit98& page, const QString& caption);

    TRichEdit98* TempRichEdit = nullptr;
    TRichEdit98* ShortReportPage() const { return shortReport_; }
    TRichEdit98* FormulaPage() const { return formulaPage_; }
    // The folder the save dialog starts in next (ReportsDir at first).
    QString SaveFolder;
    // The save dialog's filter; a window with a translated filter sets its own.
    QString SaveFilter = ReportSaveFilter;

private:
    class BusyScope;
    // Busy, when given, ends as soon as the report is ready to be printed or previewed,
    // so that the wait window never covers the preview or the print dialog.
    bool Deliver(TRichEdit98& edit, int mode, const QString& fileName, bool footers, const QFont* footerFont,
        BusyScope* busy = nullptr);
    bool AskPrinter(int mode);
    bool ChooseSaveFile(const QString& caption, QString& fileName);
    bool SaveRtf(TRichEdit98& edit, const QString& fileName);
    void Finish(bool happened);
    TPreviewPrinter* Printer() const;

    QPointer<QWidget> owner_;
    TRichEdit98* shortReport_;
    TRichEdit98* formulaPage_;
    TPreviewPrinter* printer_;
    Hooks hooks_;
    QString printFile_;
};

} // namespace orvek
