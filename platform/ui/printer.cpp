#include "platform/ui/printer.h"

#include "platform/paper.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <memory>

namespace orvek {

QPrinter& SharedPrinter()
{
    static std::unique_ptr<QPrinter> printer = [] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Pages are laid out against the whole paper; the printable area is the printer's concern.
        p->setFullPage(true);
        // Without a printer the pages go to PDF on the paper of the user's locale (a
        // printer's own paper stays its own).
        if (!PrinterInstalled()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setPageSize(QPageSize(LocalePaperSize()));
        }
        return p;
    }();
    return *printer;
}

bool PrinterInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString DefaultPdfFileName()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = "Orvek";
    return folder + "/" + name + ".pdf";
}

void PreparePrinterOutput()
{
    QPrinter& printer = SharedPrinter();
    if (!PrinterInstalled() || !printer.outputFileName().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (printer.outputFileName().isEmpty())
            printer.setOutputFileName(DefaultPdfFileName());
    }
}

} // namespace orvek
