#pragma once
// The real dialogs behind platform/dialogs.h, installed by the program at start-up.

#include "platform/dialogs.h"

#include <functional>

namespace orvek {

class WidgetDialogHandler : public DialogHandler {
public:
    // The title of message boxes and of the colour and font dialogs: the program's
    // title. Empty: the application's display name, else its name.
    QString WindowTitle;

    int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) override;
    bool OpenFileDialog(FileDialogRequest& request) override;
    bool SaveFileDialog(FileDialogRequest& request) override;
    bool ColorDialog(std::uint32_t& color) override;
    bool FontDialog(QString& family, int& pointSize) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool PrintDialog(PrintDialogRequest& request) override;
    bool PrinterSetupDialog() override;
    bool SelectFolderDialog(const QString& caption, QString& folder) override;
};

// The program's own folder chooser, shown for SelectFolderDialog in place of the
// toolkit's folder dialog: it gets the start folder and gives the chosen one, True on
// OK. An empty function brings the toolkit's dialog back.
using FolderChooser = std::function<bool(QString& folder)>;
void SetFolderChooser(FolderChooser chooser);
bool FolderChooserInstalled();

// "Text files (*.txt)|*.txt|All (*.*)|*.*" -> "Text files (*.txt);;All (*.*)".
QString QtFileFilter(const QString& pipeFilter);

} // namespace orvek
