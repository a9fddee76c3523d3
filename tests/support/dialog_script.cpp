#include "tests/support/dialog_script.h"

#include <gtest/gtest.h>

namespace orvek::test {

DialogScript& DialogScript::Instance()
{
    static DialogScript script;
    return script;
}

void DialogScript::Reset()
{
    answers_.clear();
    shown_.clear();
    FolderDialogStarts.clear();
}

void DialogScript::AnswerMessage(int modalResult)
{
    answers_.push_back({ Kind::Message, modalResult, {}, 0, true });
}
void DialogScript::AnswerOpenFile(const QString& path)
{
    answers_.push_back({ Kind::OpenFile, 0, path, 0, true });
}
void DialogScript::AnswerSaveFile(const QString& path)
{
    answers_.push_back({ Kind::SaveFile, 0, path, 0, true });
}
void DialogScript::AnswerColor(std::uint32_t color, bool ok)
{
    answers_.push_back({ Kind::Color, 0, {}, color, ok });
}
void DialogScript::AnswerFont(const QString& family, int pointSize, bool ok)
{
    answers_.push_back({ Kind::Font, pointSize, family, 0, ok });
}
void DialogScript::AnswerInput(const QString& value, bool ok)
{
    answers_.push_back({ Kind::Input, 0, value, 0, ok });
}
void DialogScript::AnswerPrint(int fromPage, int toPage, int copies, const QString& outputFile, bool ok)
{
    answers_.push_back({ Kind::Print, fromPage, outputFile, 0, ok, toPage, copies });
}
void DialogScript::AnswerPrinterSetup(bool ok)
{
    answers_.push_back({ Kind::PrinterSetup, 0, {}, 0, ok });
}

void DialogScript::AnswerFolder(const QString& folder)
{
    answers_.push_back({ Kind::Folder, 0, folder, 0, true });
}

bool DialogScript::Take(Kind kind, const QString& what, Answer& answer)
{
    if (answers_.empty() || answers_.front().kind != kind) {
        ADD_FAILURE() << "unanswered dialog: " << what.toStdString();
        return false;
    }
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

int DialogScript::MessageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons buttons, int)
{
    shown_ << text;
    Answer answer {};
    if (!Take(Kind::Message, "message box: " + text, answer))
        return (buttons & mbCancel) ? mrCancel : mrNo;
    return answer.result;
}

bool DialogScript::OpenFileDialog(FileDialogRequest& request)
{
    Answer answer {};
    if (!Take(Kind::OpenFile, "open file: " + request.caption, answer) || answer.text.isEmpty())
        return false;
    request.fileName = answer.text;
    return true;
}

bool DialogScript::SaveFileDialog(FileDialogRequest& request)
{
    Answer answer {};
    if (!Take(Kind::SaveFile, "save file: " + request.caption, answer) || answer.text.isEmpty())
        return false;
    request.fileName = answer.text;
    return true;
}

bool DialogScript::ColorDialog(std::uint32_t& color)
{
    Answer answer {};
    if (!Take(Kind::Color, "colour dialog", answer) || !answer.ok)
        return false;
    color = answer.color;
    return true;
}

bool DialogScript::FontDialog(QString& family, int& pointSize)
{
    Answer answer {};
    if (!Take(Kind::Font, "font dialog", answer) || !answer.ok)
        return false;
    family = answer.text;
    pointSize = answer.result;
    return true;
}

bool DialogScript::InputQuery(const QString&, const QString& prompt, QString& value)
{
    Answer answer {};
    if (!Take(Kind::Input, "input: " + prompt, answer) || !answer.ok)
        return false;
    value = answer.text;
    return true;
}

bool DialogScript::PrintDialog(PrintDialogRequest& request)
{
    Answer answer {};
    if (!Take(Kind::Print, "print dialog", answer) || !answer.ok)
        return false;
    request.pageRange = answer.result > 0;
    if (request.pageRange) {
        request.fromPage = answer.result;
        request.toPage = answer.toPage;
    }
    request.copies = answer.copies;
    request.outputFile = answer.text;
    return true;
}

bool DialogScript::PrinterSetupDialog()
{
    Answer answer {};
    return Take(Kind::PrinterSetup, "printer setup dialog", answer) && answer.ok;
}

bool DialogScript::SelectFolderDialog(const QString& caption, QString& folder)
{
    FolderDialogStarts << folder;
    Answer answer {};
    if (!Take(Kind::Folder, "folder dialog: " + caption, answer) || answer.text.isEmpty())
        return false;
    folder = answer.text;
    return true;
}

} // namespace orvek::test
