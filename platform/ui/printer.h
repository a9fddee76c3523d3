#pragma once
// The program's one printer object. Every print dialog configures it and every print
// job goes to it. Without an installed printer it writes PDF on the paper of the user's
// locale (A4 unless the locale uses US Letter), into the file its output name says (by
// default a file named after the program in the user's documents folder).

class QPrinter;
class QString;

namespace orvek {

QPrinter& SharedPrinter();
// True when the system offers at least one printer.
bool PrinterInstalled();
// Before a job: without an installed printer (or with a PDF file chosen) the output is
// a PDF file; a missing file name gets the default one.
void PreparePrinterOutput();
QString DefaultPdfFileName();

} // namespace orvek
