#pragma once
// Every message box and standard dialog of the program goes through these routines.
// The window library installs a handler that shows real dialogs; tests install a
// script that answers them in advance. Without a handler a box is written to the
// error output and answered as if the user had dismissed it.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace orvek {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbYesToAll = 1u << 8,
    mbNoToAll = 1u << 9,
    mbHelp = 1u << 10,
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// What a file dialog asks for; the filter uses the "Text (*.txt)|*.txt" pairs of the callers.
struct FileDialogRequest {
    QString caption;
    QString filter;
    QString initialDir;
    QString defaultExt;
    QString fileName; // proposed name in, chosen name out
};

// What the print dialog asks for and answers. Pages count from 1.
struct PrintDialogRequest {
    int minPage = 1, maxPage = 1;
    int fromPage = 1, toPage = 1; // proposed range in, chosen range out
    bool pageRange = false; // out: the user chose a range of pages
    int copies = 1; // out
    QString outputFile; // out: a PDF file to print into; empty keeps the printer's output
};

class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) = 0;
    virtual bool OpenFileDialog(FileDialogRequest& request) = 0;
    virtual bool SaveFileDialog(FileDialogRequest& request) = 0;
    // Colour as $00BBGGRR.
    virtual bool ColorDialog(std::uint32_t& color) = 0;
    // Font as family name and point size.
    virtual bool FontDialog(QString& family, int& pointSize) = 0;
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    // The print dialogs configure the program's one shared printer. A handler that does
    // not know them cancels.
    virtual bool PrintDialog(PrintDialogRequest&) { return false; }
    virtual bool PrinterSetupDialog() { return false; }
    // A folder chooser; Folder is the start in and the chosen folder out. A handler that
    // does not know it cancels.
    virtual bool SelectFolderDialog(const QString&, QString&) { return false; }
};

// The handler in force; the caller keeps ownership. Returns the previous one.
DialogHandler* SetDialogHandler(DialogHandler* handler);
DialogHandler* CurrentDialogHandler();

// Shows a message box. A box with one button that is not OK (a lone Cancel, Retry,
// Abort or Ignore) offers the user no choice: it tells them that something was refused
// or failed. It is shown with an OK button, and OK answers what the lone button would.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const QString& text);
bool OpenFileDialog(FileDialogRequest& request);
bool SaveFileDialog(FileDialogRequest& request);
bool ColorDialog(std::uint32_t& color);
bool FontDialog(QString& family, int& pointSize);
bool InputQuery(const QString& caption, const QString& prompt, QString& value);
bool PrintDialog(PrintDialogRequest& request);
bool PrinterSetupDialog();
// Lets the user choose a folder, starting at Folder; on OK Folder is the chosen folder,
// absolute and ending with "/".
bool SelectFolderDialog(const QString& caption, QString& folder);

} // namespace orvek
