#include "platform/dialogs.h"

#include <cstdio>

namespace orvek {

namespace {

DialogHandler* g_handler = nullptr;

void Unanswered(const char* what, const QString& text)
{
    std::fprintf(stderr, "%s (no dialog handler): %s\n", what, qUtf8Printable(text));
}

// The result of a box dismissed with Esc: Cancel or No when offered, else OK.
int DismissedResult(TMsgDlgButtons buttons)
{
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    return mrOk;
}

// The answer of the one button of a box that offers no choice; mrNone when the box
// has a choice or its one button is OK or Yes.
int LoneButtonResult(TMsgDlgButtons buttons)
{
    switch (buttons & ~TMsgDlgButtons(mbHelp)) {
    case mbCancel:
        return mrCancel;
    case mbRetry:
        return mrRetry;
    case mbAbort:
        return mrAbort;
    case mbIgnore:
        return mrIgnore;
    default:
        return mrNone;
    }
}

} // namespace

DialogHandler* SetDialogHandler(DialogHandler* handler)
{
    DialogHandler* previous = g_handler;
    g_handler = handler;
    return previous;
}

DialogHandler* CurrentDialogHandler()
{
    return g_handler;
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext)
{
    const int lone = LoneButtonResult(buttons);
    const TMsgDlgButtons shown = lone == mrNone ? buttons : (mbOK | (buttons & mbHelp));
    int result = mrNone;
    if (g_handler) {
        result = g_handler->MessageDlg(text, type, shown, helpContext);
    } else {
        Unanswered("message", text);
        result = DismissedResult(shown);
    }
    return lone != mrNone && result == mrOk ? lone : result;
}

void ShowMessage(const QString& text)
{
    MessageDlg(text, TMsgDlgType::mtCustom, mbOK);
}

bool OpenFileDialog(FileDialogRequest& request)
{
    if (g_handler)
        return g_handler->OpenFileDialog(request);
    Unanswered("open file dialog", request.caption);
    return false;
}

bool SaveFileDialog(FileDialogRequest& request)
{
    if (g_handler)
        return g_handler->SaveFileDialog(request);
    Unanswered("save file dialog", request.caption);
    return false;
}

bool ColorDialog(std::uint32_t& color)
{
    if (g_handler)
        return g_handler->ColorDialog(color);
    Unanswered("colour dialog", QString());
    return false;
}

bool FontDialog(QString& family, int& pointSize)
{
    if (g_handler)
        return g_handler->FontDialog(family, pointSize);
    Unanswered("font dialog", family);
    return false;
}

bool InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    if (g_handler)
        return g_handler->InputQuery(caption, prompt, value);
    Unanswered("input query", prompt);
    return false;
}

bool PrintDialog(PrintDialogRequest& request)
{
    if (g_handler)
        return g_handler->PrintDialog(request);
    Unanswered("print dialog", QString());
    return false;
}

bool PrinterSetupDialog()
{
    if (g_handler)
        return g_handler->PrinterSetupDialog();
    Unanswered("printer setup dialog", QString());
    return false;
}

bool SelectFolderDialog(const QString& caption, QString& folder)
{
    if (!g_handler) {
        Unanswered("folder dialog", caption);
        return false;
    }
    QString chosen = folder;
    if (!g_handler->SelectFolderDialog(caption, chosen) || chosen.isEmpty())
        return false;
    if (!chosen.endsWith(QLatin1Char('/')))
        chosen += QLatin1Char('/');
    folder = chosen;
    return true;
}

} // namespace orvek
