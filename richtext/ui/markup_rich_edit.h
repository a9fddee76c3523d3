#pragma once
// The mark-up routines on the rich-edit control: thin wrappers over the document
// routines that also keep the control's state as the windows expect it.

#include <QString>

namespace orvek {

class TCustomRichEdit98;
class TRichEdit98;

// Renders Text into Edit (replacing its content): the read-only state is kept, the caret
// stands at the start, the control is not modified, and "[cfisurl]"/"[cfisurlext]" switch
// its URL detection on.
void RenderMarkupToRichEdit(
    int FontSize, const QString& FontName, bool AlignLines, TRichEdit98& Edit, const QString& Text);
void ApplyMarkupInRichEdit(int FontSize, TCustomRichEdit98& Edit);
bool RichEditToMarkup(TRichEdit98& Edit, QString& Text);
bool RichEditToPlainText(TRichEdit98& Edit, QString& Text);

} // namespace orvek
