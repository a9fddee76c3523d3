#pragma once
// Answers the program's message boxes and dialogs in tests. A test queues the answers
// it expects, in order; a box that no queued answer fits fails the test at once with
// the box's text.

#include "platform/dialogs.h"

#include <QStringList>
#include <deque>

namespace orvek::test {

class DialogScript : public DialogHandler {
public:
    static DialogScript& Instance();

    void AnswerMessage(int modalResult);
    // Accepts a file dialog with Path, or cancels it when Path is empty.
    void AnswerOpenFile(const QString& path);
    void AnswerSaveFile(const QString& path);
    void AnswerColor(std::uint32_t color, bool ok = true);
    void AnswerFont(const QString& family, int pointSize, bool ok = true);
    void AnswerInput(const QString& value, bool ok = true);
    // Confirms the print dialog with pages From..To (0: all pages), Copies and a PDF
    // file to print into (empty: the printer's output as it is); Ok false cancels it.
    void AnswerPrint(int fromPage, int toPage, int copies, const QString& outputFile, bool ok = true);
    void AnswerPrinterSetup(bool ok = true);
    // Chooses Folder in the folder dialog, or cancels it when Folder is empty. The start
    // folder the dialog was given is kept in FolderDialogStarts.
    void AnswerFolder(const QString& folder);
    QStringList FolderDialogStarts;

    // Texts of the message boxes shown since the test began.
    const QStringList& Shown() const { return shown_; }
    bool AllAnswered() const { return answers_.empty(); }
    void Reset();

    int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) override;
    bool OpenFileDialog(FileDialogRequest& request) override;
    bool SaveFileDialog(FileDialogRequest& request) override;
    bool ColorDialog(std::uint32_t& color) override;
    bool FontDialog(QString& family, int& pointSize) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool PrintDialog(PrintDialogRequest& request) override;
    bool PrinterSetupDialog() override;
    bool SelectFolderDialog(const QString& caption, QString& folder) override;

private:
    enum class Kind { Message, OpenFile, SaveFile, Color, Font, Input, Print, PrinterSetup, Folder };
    struct Answer {
        Kind kind;
        int result = 0;
        QString text;
        std::uint32_t color = 0;
        bool ok = true;
        int toPage = 0;
        int copies = 1;
    };
    bool Take(Kind kind, const QString& what, Answer& answer);

    std::deque<Answer> answers_;
    QStringList shown_;
};

} // namespace orvek::test
