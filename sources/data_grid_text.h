#pragma once
// The rules of the typed data grid's cells, kept apart from the grid: what a typed
// number or date becomes when the cell is left, how a pick list completes a text, and
// how a display mask shows a number or a date. Numbers follow the own decimal
// separator (either separator is accepted when typed); dates follow the short date
// format and date separator of core/dates, "today" comes from core/clock.

#include <QString>
#include <QStringList>

namespace orvek {

// A typed number in the general text of the own separator ("1,50" gives "1,5" under a
// comma); False, with Text unchanged, when it is no number.
bool NormalizeGridNumber(QString& text);

// A typed date in the short date text. A text whose first letter is one of "NTHJD"
// ("now", "today" in the program's languages) is today; 6 or 8 digits are read as
// day, month and year ("311207" is 31.12.07); other texts of digits only, and texts
// that are no date, become empty.
QString NormalizeGridDate(const QString& text);

// The first entry of PickList whose first character is Text's first character
// (case-sensitive); Text itself when there is none.
QString CompleteFromPickList(const QString& text, const QStringList& pickList);

// The index of the first entry whose first character is Typed, ignoring case; -1
// when there is none.
int PickListIndexOfFirstChar(QChar typed, const QStringList& pickList);

// A number shown with a display mask of digit placeholders: "0" a digit always shown,
// "#" a digit shown when significant, "." the decimal separator (shown as the own
// one), "," anywhere before it for thousands grouping, text in quotes as it stands.
// False when Text is no number or the mask has no placeholder.
bool FormatGridNumber(const QString& text, const QString& mask, QString& shown);

// A date shown with a display mask: d, dd, ddd, dddd, m, mm, mmm, mmmm, yy, yyyy, h,
// hh, n, nn (minutes), s, ss, "/" the date separator, ":" and text in quotes as they
// stand. False when Text is no date in the short date format.
bool FormatGridDate(const QString& text, const QString& mask, QString& shown);

} // namespace orvek
