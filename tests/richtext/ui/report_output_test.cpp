#include "richtext/ui/report_output.h"

#include "../report_fixtures.h"
#include "core/string_table.h"
#include "platform/rtf_reader.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_table.h"
#include "richtext/report_texts.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/report_selection.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "tests/support/dialog_script.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace orvek;
using namespace orvek::test;

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The paragraphs of an RTF file as our reader reads it, empty ones left out.
QStringList RtfLines(const QByteArray& rtf)
{
    QTextDocument doc;
    EXPECT_TRUE(ReadRtfDocument(rtf, &doc));
    QStringList lines;
    for (const QString& line : doc.toPlainText().split(QChar::ParagraphSeparator).join('\n').split('\n'))
        if (!line.trimmed().isEmpty())
            lines << line;
    return lines;
}

QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", { pdf, "-" });
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ReportOutputWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        PreviewFooterVersion = "Orvek2010 (version 5.32)";
        PreviewFooterNotice = "Orvek - notice";
        ASSERT_TRUE(folder.isValid());
        model = LoadReportModel("gum_h1_end_gauge.txt");
        model->Calculate();
        TReportOutput::Hooks hooks;
        hooks.Root = [this] { return model.get(); };
        hooks.ShortHead = [] { return TemplateShortReportHead("Gauge block", "Eva", "9.3.2026"); };
        hooks.FullHead = [] { return TemplateFullReportHead("Eva", "9.3.2026", "Gauge block"); };
        hooks.PreviewHeader = [] { return QString("Gauge block"); };
        hooks.WriteHistory = [this] { ++histories; };
        hooks.FirstEquationLine = [] { return QString("l = first"); };
        QFont footer("Arial", 8);
        footer.setItalic(true);
        hooks.CopiedFullReportFooterFont = footer;
        output = std::make_unique<TReportOutput>(&owner, &shortPage, &formulaPage, &printer, hooks);
        QGuiApplication::clipboard()->setText("the user's own clipboard");
    }
    void TearDown() override { EXPECT_TRUE(DialogScript::Instance().AllAnswered()); }
    QString Path(const QString& name) const { return folder.path() + "/" + name; }
    bool ClipboardUntouched() const { return QGuiApplication::clipboard()->text() == "the user's own clipboard"; }

    QTemporaryDir folder;
    QWidget owner;
    TRichEdit98 shortPage { &owner }, formulaPage { &owner };
    TPreviewPrinter printer { &owner };
    std::unique_ptr<TCell> model;
    std::unique_ptr<TReportOutput> output;
    int histories = 0;
};

// A model whose report would need a larger table than a report holds: the window says
// so in the program's language, in words of its own, and stays usable.
TEST_F(ReportOutputWindow, ModelTooLargeForAReportTableIsSaidClearly)
{
    // 1,000 inputs with two sources each: 2,000 rows in the budget, one more than a
    // report table holds.
    model = GeneratedModel(1000, 2);
    model->Calculate();
    ASSERT_FALSE(model->FCombinedUncertainty.isEmpty());
    auto& script = DialogScript::Instance();
    for (int language : { 0, 1 }) {
        LanguageID = language;
        script.AnswerSaveFile(Path("large.rtf"));
        script.AnswerMessage(mrOk);
        EXPECT_FALSE(output->OutputFullReport(kReportSave, "Save"));
        EXPECT_FALSE(QFile::exists(Path("large.rtf")));
        ASSERT_FALSE(script.Shown().isEmpty());
        const QString shown = script.Shown().last();
        EXPECT_EQ(shown, GetString(23900, { TStringTable::MaxRows, TStringTable::MaxColumns }));
        EXPECT_TRUE(shown.contains(QString::number(TStringTable::MaxRows))) << shown.toStdString();
        EXPECT_FALSE(shown.contains("out of range")) << shown.toStdString();
    }
    LanguageID = 0;
    EXPECT_EQ(histories, 0);
    EXPECT_TRUE(output->TempRichEdit->document()->isEmpty());
    EXPECT_EQ(ReportTable, nullptr);

    // The same window reports a model that fits afterwards.
    model = LoadReportModel("gum_h1_end_gauge.txt");
    model->Calculate();
    DialogScript::Instance().AnswerPrint(0, 0, 1, Path("after.pdf"));
    EXPECT_TRUE(output->OutputFullReport(kReportPrint, "Print"));
    EXPECT_EQ(histories, 1);
}

TEST_F(ReportOutputWindow, SavedFullReportEndsWithTheFooterAndHoldsThePicture)
{
    ReportSections = 27 | 32;
    EditMode = 0; // an in-use template stays view-only after an output
    DialogScript::Instance().AnswerSaveFile(Path("full.rtf"));
    ASSERT_TRUE(output->OutputFullReport(kReportSave, "Save"));
    EXPECT_EQ(EditMode, 0);
    EXPECT_EQ(histories, 1);
    EXPECT_TRUE(ClipboardUntouched());
    EXPECT_TRUE(output->TempRichEdit->document()->isEmpty());
    EXPECT_EQ(output->SaveFolder, folder.path());

    const QByteArray rtf = ReadBytes(Path("full.rtf"));
    EXPECT_TRUE(rtf.contains("\\pngblip"));
    const QStringList lines = RtfLines(rtf);
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines.first().contains("Eva"));
    EXPECT_EQ(lines.last(), PreviewFooterNotice);
    EXPECT_EQ(lines[lines.size() - 2], PreviewFooterVersion);
    EXPECT_FALSE(lines.join('\n').contains(DiagramPlaceholder));
}

TEST_F(ReportOutputWindow, PrintedFullReportHasNoFooterLines)
{
    DialogScript::Instance().AnswerPrint(0, 0, 1, Path("full.pdf"));
    ASSERT_TRUE(output->OutputFullReport(kReportPrint, "Print"));
    EXPECT_EQ(histories, 1);
    const QString text = PdfText(Path("full.pdf"));
    EXPECT_TRUE(text.contains("Gauge block")) << text.left(300).toStdString();
    EXPECT_FALSE(text.contains(PreviewFooterNotice));
    EXPECT_TRUE(ClipboardUntouched());
}

TEST_F(ReportOutputWindow, CancelledOrFailedOutputsWriteNoHistory)
{
    auto& script = DialogScript::Instance();
    script.AnswerPrint(0, 0, 1, QString(), false);
    EXPECT_FALSE(output->OutputFullReport(kReportPrint, "Print"));
    script.AnswerSaveFile(QString());
    EXPECT_FALSE(output->OutputShortReport("Save", kReportSave));
    // A save that fails says so.
    script.AnswerSaveFile(Path("missing/folder/report.rtf"));
    script.AnswerMessage(mrOk);
    EXPECT_FALSE(output->OutputFullReport(kReportSave, "Save"));
    EXPECT_EQ(histories, 0);
    EXPECT_FALSE(QFile::exists(Path("missing/folder/report.rtf")));
}

TEST_F(ReportOutputWindow, CopiedFullReportCarriesItsFooterInTheSmallFont)
{
    ASSERT_TRUE(output->OutputFullReport(kReportCopy, "Copy"));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime->hasFormat("text/rtf"));
    EXPECT_TRUE(mime->text().trimmed().endsWith(PreviewFooterNotice));
    QTextDocument doc;
    ASSERT_TRUE(ReadRtfDocument(mime->data("text/rtf"), &doc));
    QTextBlock last = doc.lastBlock();
    while (last.isValid() && last.text().isEmpty())
        last = last.previous();
    ASSERT_TRUE(last.isValid());
    QTextCursor end(last);
    end.movePosition(QTextCursor::EndOfBlock);
    const QTextCharFormat format = end.charFormat();
    EXPECT_EQ(last.text(), PreviewFooterNotice);
    EXPECT_TRUE(format.fontItalic());
    EXPECT_EQ(format.fontPointSize(), 8);
}

TEST_F(ReportOutputWindow, ShortReportSavedWithFooterPageLeftAlone)
{
    DialogScript::Instance().AnswerSaveFile(Path("short.rtf"));
    ASSERT_TRUE(output->OutputShortReport("Save", kReportSave));
    EXPECT_TRUE(shortPage.toPlainText().startsWith(GetString(333) + ": Gauge block"));
    EXPECT_FALSE(shortPage.toPlainText().contains(PreviewFooterNotice));
    const QStringList lines = RtfLines(ReadBytes(Path("short.rtf")));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), PreviewFooterNotice);
    EXPECT_TRUE(ClipboardUntouched());
}

TEST_F(ReportOutputWindow, DiagramCopyIsTheOnlyPictureOnTheClipboard)
{
    DialogScript::Instance().AnswerSaveFile(Path("diagram.rtf"));
    ASSERT_TRUE(output->OutputDiagram("Save", kReportSave));
    EXPECT_TRUE(ClipboardUntouched());
    EXPECT_TRUE(ReadBytes(Path("diagram.rtf")).contains("\\pngblip"));
    ASSERT_TRUE(output->OutputDiagram("Copy", kReportCopy));
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
    EXPECT_EQ(histories, 2);
}

TEST_F(ReportOutputWindow, NothingWithoutAModel)
{
    model.reset();
    EXPECT_FALSE(output->OutputFullReport(kReportCopy, "Copy"));
    output->BuildShortReport();
    output->BuildFormulaPage();
    EXPECT_TRUE(shortPage.document()->isEmpty());
    EXPECT_TRUE(formulaPage.document()->isEmpty());
}

TEST_F(ReportOutputWindow, SeparateWindowIsReadOnlyForTheShortReportOnly)
{
    TfRichEdit98Editor editor;
    fRichEdit98Editor = &editor;
    output->BuildShortReport();
    output->BuildFormulaPage();
    for (TRichEdit98* page : { &shortPage, &formulaPage }) {
        bool readOnly = false, modified = true;
        QString text;
        QTimer::singleShot(0, [&] {
            readOnly = editor.Editor->isReadOnly();
            modified = editor.Editor->Modified();
            text = editor.Editor->toPlainText();
            editor.reject();
        });
        output->ShowInSeparateWindow(*page, "Page");
        EXPECT_EQ(readOnly, page == &shortPage);
        EXPECT_FALSE(modified);
        EXPECT_EQ(text.left(20), page->toPlainText().left(20));
    }
    fRichEdit98Editor = nullptr;
}

class ReportSelectionDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        DiagramPrintColors = 1;
    }
    void TearDown() override { EXPECT_TRUE(DialogScript::Instance().AllAnswered()); }
    // Shows the dialog, lets Act work on it, and returns the dialog's result.
    int Run(const std::function<void(TfOrvekReportSelection&)>& act)
    {
        int result = -1;
        QTimer::singleShot(0, [&] { act(dialog); });
        result = dialog.exec();
        return result;
    }
    TfOrvekReportSelection dialog;
};

TEST_F(ReportSelectionDialog, ApplyStoresTheSectionsAndColouring)
{
    ReportAction = 3;
    const int result = Run([](TfOrvekReportSelection& d) {
        EXPECT_TRUE(d.findChild<QCheckBox*>("CheckBox_UncertaintyBudget")->isChecked());
        EXPECT_FALSE(d.ComboBox_Coloring_of_Diagram->isVisible());
        d.findChild<QCheckBox*>("CheckBox_Diagram")->setChecked(true);
        EXPECT_TRUE(d.ComboBox_Coloring_of_Diagram->isVisible());
        d.ComboBox_Coloring_of_Diagram->setCurrentIndex(0);
        d.findChild<QCheckBox*>("CheckBox_ListOfEquations")->setChecked(false);
        d.findChild<QPushButton*>("Button6")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(ReportAction, kReportApplyOnly);
    EXPECT_EQ(ReportSections, (27 & ~1) | 32);
    EXPECT_EQ(DiagramPrintColors, 0);
}

TEST_F(ReportSelectionDialog, AnEmptyChoiceKeepsTheDialogOpen)
{
    DialogScript::Instance().AnswerMessage(mrOk); // text 693
    bool stayedOpen = false, budgetTicked = false;
    const int result = Run([&](TfOrvekReportSelection& d) {
        for (QCheckBox* box : d.findChildren<QCheckBox*>())
            box->setChecked(false);
        d.findChild<QPushButton*>("Button5")->click();
        stayedOpen = d.isVisible();
        budgetTicked = d.CheckBox_UncertaintyBudget->isChecked();
        d.findChild<QPushButton*>("Button2")->click();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(budgetTicked);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(ReportSections, 27);
}

} // namespace
