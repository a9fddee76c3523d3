#include "richtext/ui/report_output.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/rtf_writer.h"
#include "platform/ui/printer.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_table.h"
#include "platform/ui/window_placement.h"
#include "richtext/report_texts.h"
#include "richtext/ui/diagram_picture.h"
#include "richtext/ui/markup_rich_edit.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/report_selection.h"
#include "richtext/ui/rich_edit98_editor.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWidget>

#include <exception>

namespace orvek {

namespace {

// EditMode as the output found it, whatever happens meanwhile.
class EditModeScope {
public:
    EditModeScope()
        : saved_(EditMode)
    {
    }
    ~EditModeScope() { EditMode = saved_; }
    EditModeScope(const EditModeScope&) = delete;
    EditModeScope& operator=(const EditModeScope&) = delete;

private:
    quint8 saved_;
};

void RenderInto(TRichEdit98& edit, const QString& markup)
{
    ReportFontOption = 0;
    try {
        RenderMarkupToRichEdit(ReportFontSize, ReportFontName, ReportFontOption != 0, edit, markup);
    } catch (...) {
        ReportFontOption = 1;
        throw;
    }
    ReportFontOption = 1;
}

void ShowFailure(const std::exception& e)
{
    // A model too large for a report table gets its own words; any other failure is
    // named by its reason.
    const QString text = dynamic_cast<const EReportTableFull*>(&e)
        ? GetString(23900, { TStringTable::MaxRows, TStringTable::MaxColumns })
        : GetString(21804, { QString::fromUtf8(e.what()) });
    MessageDlg(text, TMsgDlgType::mtError, mbOK);
}

void SelectAll(TRichEdit98& edit)
{
    QTextCursor cursor(edit.document());
    cursor.select(QTextCursor::Document);
    edit.setTextCursor(cursor);
}

} // namespace

// The hourglass and the wait window while a report is being built; Done ends them
// early, when the report is ready.
class TReportOutput::BusyScope {
public:
    explicit BusyScope(const QString& message)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (WaitWindowService* wait = WaitWindow())
            wait->Show(message);
    }
    ~BusyScope() { Done(); }
    void Done()
    {
        if (done_)
            return;
        done_ = true;
        if (WaitWindowService* wait = WaitWindow())
            wait->Hide();
        QGuiApplication::restoreOverrideCursor();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool done_ = false;
};

TReportOutput::TReportOutput(
    QWidget* owner, TRichEdit98* shortReport, TRichEdit98* formulaPage, TPreviewPrinter* printer, Hooks hooks)
    : QObject(owner)
    , owner_(owner)
    , shortReport_(shortReport)
    , formulaPage_(formulaPage)
    , printer_(printer)
    , hooks_(std::move(hooks))
{
    TempRichEdit = new TRichEdit98(owner);
    TempRichEdit->setObjectName(QStringLiteral("TempRichEdit"));
    TempRichEdit->hide();
    SaveFolder = ReportsDir;
}

TReportOutput::~TReportOutput() = default;

TPreviewPrinter* TReportOutput::Printer() const
{
    return printer_ ? printer_ : MainPreviewPrinter;
}

void TReportOutput::BuildShortReport(const QString& caption)
{
    TCell* root = hooks_.Root ? hooks_.Root() : nullptr;
    if (!root || !shortReport_)
        return;
    BusyScope busy(caption);
    shortReport_->setUpdatesEnabled(false);
    try {
        RenderInto(
            *shortReport_, ShortReportMarkup(hooks_.ShortHead ? hooks_.ShortHead() : QList<TReportHeadLine>(), *root));
    } catch (const std::exception& e) {
        shortReport_->Clear();
        ShowFailure(e);
    }
    shortReport_->setUpdatesEnabled(true);
}

void TReportOutput::BuildFullReport(int mode)
{
    TCell* root = hooks_.Root ? hooks_.Root() : nullptr;
    if (!root)
        return;
    RenderInto(*TempRichEdit, FullReportMarkup(hooks_.FullHead ? hooks_.FullHead() : QList<TReportHeadLine>(), *root));
    if ((ReportSections & (1u << 5)) && mode >= kReportCopy && mode <= kReportSave)
        ReplaceDiagramPlaceholder(*TempRichEdit->document(), RenderPicture(*root, 0, 1.0));
    TempRichEdit->setTextCursor(QTextCursor(TempRichEdit->document()));
}

void TReportOutput::BuildFormulaPage()
{
    TCell* root = hooks_.Root ? hooks_.Root() : nullptr;
    if (!root || !formulaPage_)
        return;
    try {
        SetFormulaPage(*formulaPage_->document(),
            FormulaPageLines(*root, hooks_.FirstEquationLine ? hooks_.FirstEquationLine() : QString()));
    } catch (const std::exception& e) {
        formulaPage_->Clear();
        ShowFailure(e);
    }
    formulaPage_->setTextCursor(QTextCursor(formulaPage_->document()));
    formulaPage_->setFocus();
}

bool TReportOutput::AskPrinter(int mode)
{
    printFile_.clear();
    if (mode != kReportPrint)
        return true;
    PrintDialogRequest request;
    if (!PrintDialog(request))
        return false;
    printFile_ = request.outputFile;
    return true;
}

bool TReportOutput::ChooseSaveFile(const QString& caption, QString& fileName)
{
    FileDialogRequest request;
    request.caption = caption;
    request.filter = SaveFilter;
    request.initialDir = SaveFolder;
    request.defaultExt = QStringLiteral("rtf");
    if (!SaveFileDialog(request) || request.fileName.isEmpty())
        return false;
    fileName = request.fileName;
    SaveFolder = QFileInfo(fileName).absolutePath();
    return true;
}

bool TReportOutput::SaveRtf(TRichEdit98& edit, const QString& fileName)
{
    const TOutputFormat format = edit.OutputFormat;
    const bool selected = edit.SelectedInOut;
    edit.OutputFormat = ofRTF;
    edit.SelectedInOut = false;
    bool ok = true;
    try {
        edit.Lines().SaveToFile(fileName);
    } catch (const std::exception&) {
        ok = false;
    }
    edit.OutputFormat = format;
    edit.SelectedInOut = selected;
    if (!ok)
        MessageDlg(GetString(21805, { fileName }), TMsgDlgType::mtError, mbOK);
    return ok;
}

bool TReportOutput::Deliver(
    TRichEdit98& edit, int mode, const QString& fileName, bool footers, const QFont* footerFont, BusyScope* busy)
{
    switch (mode) {
    case kReportCopy: {
        if (footers)
            AppendFooterLines(*edit.document(), footerFont);
        SelectAll(edit);
        edit.copy();
        return true;
    }
    case kReportPrint:
    case kReportPreview: {
        TPreviewPrinter* printer = Printer();
        if (!printer)
            return false;
        const QString header = hooks_.PreviewHeader ? hooks_.PreviewHeader() : QString();
        printer->Title = header;
        printer->TextOptions.Header = header;
        printer->ShowGrid = false;
        printer->ZoomOption = zoTwoPages;
        printer->TextOptions.DrawStyle = dsStandard;
        printer->PrintRichEdit(true, edit);
        if (busy)
            busy->Done();
        if (mode == kReportPreview) {
            printer->Preview();
            return true;
        }
        QPrinter& shared = SharedPrinter();
        if (!printFile_.isEmpty()) {
            shared.setOutputFormat(QPrinter::PdfFormat);
            shared.setOutputFileName(printFile_);
        }
        const bool printed = printer->Print();
        if (!printed)
            MessageDlg(GetString(21806), TMsgDlgType::mtError, mbOK);
        return printed;
    }
    case kReportSave:
        if (footers)
            AppendFooterLines(*edit.document(), nullptr);
        return SaveRtf(edit, fileName);
    default:
        return false;
    }
}

bool TReportOutput::OutputFullReport(int mode, const QString& caption)
{
    if (!hooks_.Root || !hooks_.Root() || mode < kReportCopy || mode > kReportSave)
        return false;
    EditModeScope editMode;
    QString fileName;
    if (!AskPrinter(mode) || (mode == kReportSave && !ChooseSaveFile(caption, fileName)))
        return false;
    bool happened = false;
    {
        BusyScope busy(caption + QStringLiteral("\n") + GetString(607));
        TempRichEdit->Clear();
        try {
            BuildFullReport(mode);
            const QFont* font = mode == kReportCopy && hooks_.CopiedFullReportFooterFont
                ? &*hooks_.CopiedFullReportFooterFont
                : nullptr;
            happened = Deliver(*TempRichEdit, mode, fileName, mode == kReportCopy || mode == kReportSave, font, &busy);
        } catch (const std::exception& e) {
            ShowFailure(e);
        }
        TempRichEdit->Clear();
    }
    Finish(happened);
    return happened;
}

bool TReportOutput::OutputShortReport(const QString& caption, int mode)
{
    if (!hooks_.Root || !hooks_.Root() || !shortReport_ || mode < kReportCopy || mode > kReportSave)
        return false;
    EditModeScope editMode;
    QString fileName;
    if (!AskPrinter(mode) || (mode == kReportSave && !ChooseSaveFile(caption, fileName)))
        return false;
    BuildShortReport(caption);
    bool happened = false;
    {
        BusyScope busy(caption);
        try {
            if (mode == kReportPrint || mode == kReportPreview) {
                happened = Deliver(*shortReport_, mode, fileName, false, nullptr, &busy);
            } else {
                // The short report is carried over inside the program, not through the
                // clipboard.
                TempRichEdit->Clear();
                QTextCursor cursor(TempRichEdit->document());
                cursor.insertFragment(QTextDocumentFragment(shortReport_->document()));
                happened = Deliver(*TempRichEdit, mode, fileName, true, nullptr);
            }
        } catch (const std::exception& e) {
            ShowFailure(e);
        }
        TempRichEdit->Clear();
    }
    Finish(happened);
    return happened;
}

bool TReportOutput::OutputDiagram(const QString& caption, int mode)
{
    TCell* root = hooks_.Root ? hooks_.Root() : nullptr;
    if (!root || mode < kReportCopy || mode > kReportSave)
        return false;
    EditModeScope editMode;
    QString fileName;
    if (!AskPrinter(mode) || (mode == kReportSave && !ChooseSaveFile(caption, fileName)))
        return false;
    bool happened = false;
    {
        BusyScope busy(caption);
        try {
            if (mode == kReportCopy) {
                ReportFontOption = 1;
                happened = !ExportPicture(*root, 1, 1).isNull();
            } else {
                TempRichEdit->Clear();
                const QImage picture = RenderPicture(*root, mode == kReportSave ? 1 : 0, 1);
                TempRichEdit->document()->setPlainText(DiagramPlaceholder);
                happened = ReplaceDiagramPlaceholder(*TempRichEdit->document(), picture)
                    && Deliver(*TempRichEdit, mode, fileName, true, nullptr, &busy);
            }
        } catch (const std::exception& e) {
            ShowFailure(e);
        }
        TempRichEdit->Clear();
    }
    Finish(happened);
    return happened;
}

void TReportOutput::Finish(bool happened)
{
    if (happened && hooks_.WriteHistory)
        hooks_.WriteHistory();
}

bool TReportOutput::ReportSelection(const QString& caption)
{
    if (!fOrvekReportSelection || fOrvekReportSelection->exec() != QDialog::Accepted
        || ReportAction == kReportApplyOnly)
        return false;
    return OutputFullReport(ReportAction, caption);
}

void TReportOutput::CopyPage(TRichEdit98& page)
{
    if (!page.textCursor().hasSelection())
        SelectAll(page);
    page.copy();
}

void TReportOutput::ShowInSeparateWindow(TRichEdit98& page, const QString& caption)
{
    TfRichEdit98Editor* editor = fRichEdit98Editor;
    if (!editor)
        return;
    const QByteArray rtf = WriteRtf(page.document());
    editor->Editor->Clear();
    editor->SetReadOnly(false);
    editor->Editor->SetRTFText(rtf);
    editor->SetReadOnly(&page == shortReport_);
    editor->setWindowTitle(caption);
    editor->Editor->setTextCursor(QTextCursor(editor->Editor->document()));
    editor->Editor->document()->clearUndoRedoStacks();
    editor->Editor->SetModified(false);
    editor->UndoCount = 0;
    editor->setWindowState(editor->windowState() | Qt::WindowMaximized);
    const OpenedFrom opened(editor, &page);
    editor->exec();
}

} // namespace orvek
