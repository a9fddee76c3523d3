#include "platform/ui/printer.h"

#include <QCoreApplication>
#include <QDir>
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
