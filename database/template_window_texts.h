#pragma once
// The texts of the template window, as data: which control or action gets which text
// of the string table, in the order the window's texts routine (ApplyTextsOrvekDB)
// puts them on. The window looks each object up by name; this table is the one place
// that names the numbers.

#include <QString>
#include <QStringList>
#include <QVector>

namespace orvek {

struct TWindowText {
    enum Compose { Plain, ProgramNameBefore, ProgramNameAfter };
    const char* ObjectName;
    int Caption; // text number of the caption; 0 leaves the caption
    int Hint; // text number of the hint; 0 leaves the hint
    Compose Composition = Plain;
};

// Caption and hint in the current language; empty when the entry leaves it. Composed
// captions are ProgramName + " " + text (web page and support) or text + " " +
// ProgramName (about).
QString WindowTextCaption(const TWindowText& entry);
QString WindowTextHint(const TWindowText& entry);

// Menus, pop-up items, pages, labels, hints of the drop-down buttons and combos, and
// the actions, in order.
const QVector<TWindowText>& TemplateWindowTexts();

// Speed buttons that show only their action's picture: their captions are emptied.
const QStringList& TemplateWindowPictureButtons();

// The window's caption, and the hints of the list navigator's four buttons.
inline constexpr int kTemplateWindowCaptionText = 372;
const QVector<int>& TemplateNavigatorHintTexts();

// The preview printer's page-number text: text 609 + " %d".
QString TemplatePageNumberText();

// The product's web page in Language: Slovak for 1, English for every other language
// (there is no page of its own for Czech).
QString ProductWebPage(int languageId);

} // namespace orvek
