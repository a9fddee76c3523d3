#pragma once
// The pieces of the report outputs that need no window: the head lines of a report,
// the short and full report as mark-up, the formula page, the diagram picture put in
// place of its placeholder, and the footer lines of copied and saved reports. The
// output procedures of the two database windows (richtext/ui/report_output.h) are built
// on them.

#include <QList>
#include <QString>
#include <QStringList>

class QFont;
class QImage;
class QTextDocument;

namespace orvek {

class TCell;

// Output modes of every output procedure; the report-section dialog adds 0.
inline constexpr int kReportApplyOnly = 0;
inline constexpr int kReportCopy = 1;
inline constexpr int kReportPrint = 2;
inline constexpr int kReportPreview = 3;
inline constexpr int kReportSave = 4;

// The output the report-section dialog chose last (0 to 4).
inline int ReportAction = 0;

// The save dialog's filter of the report outputs.
inline const QString ReportSaveFilter = QStringLiteral("Formát rtf (*.rtf)|*.rtf");

// The selection check of the output actions: a copy needs none; print, preview and
// save need exactly one selected record or template. With none or several, print and
// preview do nothing, and save warns with text 925 (Cancel only). True: go on.
bool OutputSelectionAllows(int mode, int selectedCount);

// One head line: the label's text number and the value.
struct TReportHeadLine {
    int Label = 0;
    QString Value;
};

// HeadingMarkup + label + ":[cf1] " + value + CR for each line; the last line ends with
// CR CR. Empty for no lines.
QString ReportHeadText(const QList<TReportHeadLine>& lines);

// The heads of a template's reports: the short report names the template (333), its
// creator (610) and date (611); the full report its creator, date and name (612).
QList<TReportHeadLine> TemplateShortReportHead(
    const QString& templateName, const QString& createdBy, const QString& createDate);
QList<TReportHeadLine> TemplateFullReportHead(
    const QString& createdBy, const QString& createDate, const QString& templateName);

// Head + the short report of Root; head + CR CR + the full report of Root.
QString ShortReportMarkup(const QList<TReportHeadLine>& head, TCell& root);
QString FullReportMarkup(const QList<TReportHeadLine>& head, TCell& root);

// Renders Markup into Document in the report font. ReportFontOption is cleared while
// the text renders and set afterwards, as every report builder does.
void RenderReport(QTextDocument& document, const QString& markup);

// Puts Picture in place of the first diagram placeholder anywhere in Document. False
// (nothing changed) when there is no placeholder or no picture.
bool ReplaceDiagramPlaceholder(QTextDocument& document, const QImage& picture);

// The lines of the formula page of Root: the spreadsheet listing framed by its fixed
// lines and separators (text 1143), with FirstEquationLine (the first line of the
// equations page); a model with missing values gives the listing's legend alone.
QStringList FormulaPageLines(TCell& root, const QString& firstEquationLine);
// Document := Lines, one paragraph each, all in Arial 10.
void SetFormulaPage(QTextDocument& document, const QStringList& lines);

// Appends the two footer lines (PreviewFooterVersion and PreviewFooterNotice) as
// paragraphs of their own, bold off; in Font when given, else in the report font.
void AppendFooterLines(QTextDocument& document, const QFont* font = nullptr);

} // namespace orvek
