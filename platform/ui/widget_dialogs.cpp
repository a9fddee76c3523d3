#include "platform/ui/widget_dialogs.h"

#include "platform/ui/printer.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace orvek {

namespace {

FolderChooser& InstalledFolderChooser()
{
    static FolderChooser chooser;
    return chooser;
}

QWidget* DialogParent()
{
    return QApplication::activeWindow();
}

QString Title(const QString& own)
{
    return own.isEmpty() ? QApplication::applicationDisplayName() : own;
}

struct ButtonMap {
    TMsgDlgBtn button;
    QMessageBox::StandardButton standard;
    int result;
};

constexpr ButtonMap kButtons[] = {
    { mbYes, QMessageBox::Yes, mrYes },
    { mbNo, QMessageBox::No, mrNo },
    { mbOK, QMessageBox::Ok, mrOk },
    { mbCancel, QMessageBox::Cancel, mrCancel },
    { mbAbort, QMessageBox::Abort, mrAbort },
    { mbRetry, QMessageBox::Retry, mrRetry },
    { mbIgnore, QMessageBox::Ignore, mrIgnore },
    { mbAll, QMessageBox::YesToAll, mrAll },
    { mbYesToAll, QMessageBox::YesToAll, mrYesToAll },
    { mbNoToAll, QMessageBox::NoToAll, mrNoToAll },
    { mbHelp, QMessageBox::Help, mrNone },
};

QString ApplyDefaultExt(const QString& name, const QString& ext)
{
    if (name.isEmpty() || ext.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + (ext.startsWith('.') ? ext : "." + ext);
}

QString StartPath(const FileDialogRequest& request)
{
    if (request.fileName.isEmpty())
        return request.initialDir;
    if (request.initialDir.isEmpty() || QFileInfo(request.fileName).isAbsolute())
        return request.fileName;
    return QDir(request.initialDir).filePath(request.fileName);
}

} // namespace

QString QtFileFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << (label.contains('(') ? label : label + " (" + patterns + ")");
    }
    return filters.join(";;");
}

int WidgetDialogHandler::MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    QMessageBox box(DialogParent());
    box.setWindowTitle(Title(WindowTitle));
    box.setText(text);
    switch (type) {
    case TMsgDlgType::mtWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMsgDlgType::mtError:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMsgDlgType::mtInformation:
        box.setIcon(QMessageBox::Information);
        break;
    case TMsgDlgType::mtConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case TMsgDlgType::mtCustom:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    QMessageBox::StandardButtons standard;
    for (const auto& b : kButtons)
        if (buttons & b.button)
            standard |= b.standard;
    if (!standard)
        standard = QMessageBox::Ok;
    box.setStandardButtons(standard);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const auto pressed = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    for (const auto& b : kButtons)
        if (b.standard == pressed && (buttons & b.button))
            return b.result;
    if (pressed == QMessageBox::Ok)
        return mrOk;
    return (buttons & mbCancel) ? mrCancel : mrNone;
}

bool WidgetDialogHandler::OpenFileDialog(FileDialogRequest& request)
{
    QString chosen = QFileDialog::getOpenFileName(
        DialogParent(), request.caption, StartPath(request), QtFileFilter(request.filter));
    if (chosen.isEmpty())
        return false;
    request.fileName = chosen;
    return true;
}

bool WidgetDialogHandler::SaveFileDialog(FileDialogRequest& request)
{
    QString chosen = QFileDialog::getSaveFileName(
        DialogParent(), request.caption, StartPath(request), QtFileFilter(request.filter));
    if (chosen.isEmpty())
        return false;
    request.fileName = ApplyDefaultExt(chosen, request.defaultExt);
    return true;
}

bool WidgetDialogHandler::ColorDialog(std::uint32_t& color)
{
    QColor start(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    QColor chosen = QColorDialog::getColor(start, DialogParent(), Title(WindowTitle));
    if (!chosen.isValid())
        return false;
    color = std::uint32_t(chosen.red()) | (std::uint32_t(chosen.green()) << 8) | (std::uint32_t(chosen.blue()) << 16);
    return true;
}

bool WidgetDialogHandler::FontDialog(QString& family, int& pointSize)
{
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, QFont(family, pointSize), DialogParent(), Title(WindowTitle));
    if (!ok)
        return false;
    family = chosen.family();
    pointSize = chosen.pointSize();
    return true;
}

bool WidgetDialogHandler::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    QString text = QInputDialog::getText(DialogParent(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

bool WidgetDialogHandler::PrintDialog(PrintDialogRequest& request)
{
    QPrinter& printer = SharedPrinter();
    PreparePrinterOutput();
    QPrintDialog dialog(&printer, DialogParent());
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setFromTo(request.fromPage, request.toPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.pageRange = printer.printRange() == QPrinter::PageRange;
    if (request.pageRange) {
        request.fromPage = printer.fromPage();
        request.toPage = printer.toPage();
    }
    // Copies are printed as separate jobs by the caller.
    request.copies = qMax(1, printer.copyCount());
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    request.outputFile = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    return true;
}

bool WidgetDialogHandler::PrinterSetupDialog()
{
    QPageSetupDialog dialog(&SharedPrinter(), DialogParent());
    return dialog.exec() == QDialog::Accepted;
}

void SetFolderChooser(FolderChooser chooser)
{
    InstalledFolderChooser() = std::move(chooser);
}

bool FolderChooserInstalled()
{
    return bool(InstalledFolderChooser());
}

bool WidgetDialogHandler::SelectFolderDialog(const QString& caption, QString& folder)
{
    if (const FolderChooser& chooser = InstalledFolderChooser())
        return chooser(folder);
    const QString chosen = QFileDialog::getExistingDirectory(DialogParent(), caption, folder);
    if (chosen.isEmpty())
        return false;
    folder = QDir(chosen).absolutePath();
    return true;
}

} // namespace orvek
