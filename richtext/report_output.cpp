#include "richtext/report_output.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "core/text_pieces.h"
#include "engine/evaluation.h"
#include "platform/dialogs.h"
#include "richtext/markup_render.h"
#include "richtext/report_texts.h"
#include "richtext/spreadsheet_listing.h"

#include <QFont>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace orvek {

namespace {

// The name under which the diagram picture is kept in a report document.
const QString kDiagramPictureName = QStringLiteral("orvek-report-diagram.png");

} // namespace

bool OutputSelectionAllows(int mode, int selectedCount)
{
    if (mode == kReportCopy || selectedCount == 1)
        return true;
    if (mode == kReportSave)
        MessageDlg(GetString(925), TMsgDlgType::mtWarning, mbCancel);
    return false;
}

QString ReportHeadText(const QList<TReportHeadLine>& lines)
{
    QString text;
    for (const TReportHeadLine& line : lines)
        text += HeadingMarkup + GetString(line.Label) + QStringLiteral(":[cf1] ") + line.Value + LineEnd;
    if (!text.isEmpty())
        text += LineEnd;
    return text;
}

QList<TReportHeadLine> TemplateShortReportHead(
    const QString& templateName, const QString& createdBy, const QString& createDate)
{
    return { { 333, templateName }, { 610, createdBy }, { 611, createDate } };
}

QList<TReportHeadLine> TemplateFullReportHead(
    const QString& createdBy, const QString& createDate, const QString& templateName)
{
    return { { 610, createdBy }, { 611, createDate }, { 612, templateName } };
}

QString ShortReportMarkup(const QList<TReportHeadLine>& head, TCell& root)
{
    return ReportHeadText(head) + ShortReportText(root);
}

QString FullReportMarkup(const QList<TReportHeadLine>& head, TCell& root)
{
    return ReportHeadText(head) + LineBreaks(2) + FullReportText(root);
}

void RenderReport(QTextDocument& document, const QString& markup)
{
    ReportFontOption = 0;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, ReportFontOption != 0, &document, markup);
    ReportFontOption = 1;
}

bool ReplaceDiagramPlaceholder(QTextDocument& document, const QImage& picture)
{
    if (picture.isNull())
        return false;
    QTextCursor found = document.find(DiagramPlaceholder, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return false;
    document.addResource(QTextDocument::ImageResource, QUrl(kDiagramPictureName), picture);
    QTextImageFormat format;
    format.setName(kDiagramPictureName);
    format.setWidth(picture.width());
    format.setHeight(picture.height());
    found.insertImage(format);
    return true;
}

QStringList FormulaPageLines(TCell& root, const QString& firstEquationLine)
{
    QString ucSymbolic, ucExpanded, legend, sourceLines, effFormula, tEffFormula;
    SpreadsheetFormulas(root, ucSymbolic, ucExpanded, legend, sourceLines, effFormula, tEffFormula);
    if (!MissingValuesText.isEmpty())
        return { legend };
    const QString blank = QStringLiteral(" ");
    const QString separator = GetString(1143);
    return { QStringLiteral("*******************************  MS Excel  *******************************"), blank,
        separator, blank, ucExpanded, blank, separator, blank, QStringLiteral("U\t=t(eff)*uc"), tEffFormula, effFormula,
        blank, legend, blank,
        QStringLiteral("*******************************  ") + ProgramName
            + QStringLiteral("  *******************************"),
        blank, separator, blank, firstEquationLine, blank, separator, blank, ucSymbolic, blank, sourceLines, blank };
}

void SetFormulaPage(QTextDocument& document, const QStringList& lines)
{
    document.clear();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    QTextCharFormat format;
    format.setFont(font);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), format);
        // A listing piece may hold several lines of its own.
        QString line = lines[i];
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QStringList parts = line.split(QLatin1Char('\n'));
        for (qsizetype j = 0; j < parts.size(); ++j) {
            if (j > 0)
                cursor.insertBlock(QTextBlockFormat(), format);
            cursor.insertText(parts[j], format);
        }
    }
    document.setModified(false);
}

void AppendFooterLines(QTextDocument& document, const QFont* font)
{
    QTextCharFormat format;
    if (font) {
        format.setFont(*font);
    } else {
        QFont plain(ReportFontName);
        plain.setPointSize(ReportFontSize);
        format.setFont(plain);
    }
    format.setFontWeight(QFont::Normal);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    for (const QString& line : { PreviewFooterVersion, PreviewFooterNotice }) {
        cursor.insertBlock(QTextBlockFormat(), format);
        cursor.insertText(line, format);
    }
}

} // namespace orvek
