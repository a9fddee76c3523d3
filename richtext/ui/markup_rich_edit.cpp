#include "richtext/ui/markup_rich_edit.h"

#include "platform/ui/rich_edit98.h"
#include "richtext/markup_read.h"
#include "richtext/markup_render.h"

namespace orvek {

void RenderMarkupToRichEdit(
    int FontSize, const QString& FontName, bool AlignLines, TRichEdit98& Edit, const QString& Text)
{
    const bool readOnly = Edit.isReadOnly();
    Edit.setReadOnly(false);
    Edit.BeginUpdate();
    MarkupRenderOutcome outcome;
    try {
        RenderMarkupToRichEdit(FontSize, FontName, AlignLines, Edit.document(), Text, &outcome);
    } catch (...) {
        Edit.EndUpdate();
        Edit.setReadOnly(readOnly);
        throw;
    }
    if (outcome.urlDetectExtended)
        Edit.SetAutoURLDetect(adExtended);
    else if (outcome.urlDetect && Edit.AutoURLDetect() != adExtended)
        Edit.SetAutoURLDetect(adDefault);
    Edit.EndUpdate();
    Edit.setTextCursor(QTextCursor(Edit.document()));
    Edit.SetModified(false);
    Edit.setReadOnly(readOnly);
}

void ApplyMarkupInRichEdit(int FontSize, TCustomRichEdit98& Edit)
{
    ApplyMarkupInRichEdit(FontSize, Edit.document());
}

bool RichEditToMarkup(TRichEdit98& Edit, QString& Text)
{
    return RichEditToMarkup(Edit.document(), Text);
}

bool RichEditToPlainText(TRichEdit98& Edit, QString& Text)
{
    return RichEditToPlainText(Edit.document(), Text);
}

} // namespace orvek
