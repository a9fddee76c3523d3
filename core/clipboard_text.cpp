#include "core/clipboard_text.h"

#include "core/common_vars.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace orvek {

namespace {
QClipboard* Clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}
} // namespace

bool ClipboardHasText()
{
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

QString GetClipboardText()
{
    QClipboard* clipboard = Clipboard();
    return clipboard ? clipboard->text() : QString();
}

bool SetClipboardText(const QString& text)
{
    QClipboard* clipboard = Clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return clipboard->text() == text;
}

void ClearClipboard()
{
    if (QClipboard* clipboard = Clipboard())
        clipboard->clear();
}

bool PeekClipboardCellKind(int& kind)
{
    if (ClipboardCellsMarker.isEmpty() || !ClipboardHasText())
        return false;
    const QString text = GetClipboardText();
    if (!text.startsWith(ClipboardCellsMarker))
        return false;
    const qsizetype at = ClipboardCellsMarker.size() + 1;
    if (text.size() <= at || !text.at(at).isDigit() || text.at(at).unicode() > 127)
        return false;
    kind = text.at(at).digitValue();
    return true;
}

} // namespace orvek
