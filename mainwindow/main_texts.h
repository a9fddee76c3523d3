#pragma once
// The texts and the lasting layout of the main window, as data: which control or
// action gets which text of the string table (ApplyTextsOrvek1), the record grid's
// columns (descriptors, order and widths, stored in Orvek1TableInfo), their titles and
// sort flags, and the widths of the two record-view panels (WindowSizeOrvek1).

#include "core/settings.h"
#include "database/default_field_rec.h"
#include "database/record_query.h"
#include "database/template_window_texts.h"

#include <QStringList>
#include <QVector>
#include <array>

namespace orvek {

// Menus, pop-up items, pages, hints of the report buttons and combos, and the actions,
// in the order ApplyTextsOrvek1 puts them on.
const QVector<TWindowText>& MainWindowTexts();

// Speed buttons of the record and folder panels that show only their picture: their
// captions are emptied.
const QStringList& MainWindowPictureButtons();

// The window's caption (and FTitleText), and the hints of the record navigator's four
// buttons.
inline constexpr int kMainWindowCaptionText = 330;
const QVector<int>& MainNavigatorHintTexts();

// Titles and filters of the window's file dialogs.
struct TMainDialogTexts {
    QString OpenTitle, OpenFilter; // OpenDialog1
    QString SaveTitle, SaveFilter; // SaveDialog1
    QString ReportTitle, ReportFilter; // SaveDialog_Report
};
TMainDialogTexts MainDialogTexts();

// The record grid shows five of the descriptors 3 to 7 (database/record_query.h); the
// descriptor number is the column's identity in the stored layout.

inline constexpr int RecordGridColumnCount = 5;

// The shown columns in display order: descriptor numbers (RecordGridColumnOrder) and
// widths.
struct TRecordGridColumns {
    std::array<int, RecordGridColumnCount> Order { 6, 3, 5, 4, 7 };
    std::array<int, RecordGridColumnCount> Widths { 69, 45, 58, 70, 50 };
};

// The columns of a stored layout: position p shows descriptor Order[p] with width
// Widths[p]. A layout that does not name five different descriptors 3 to 7 gives the
// default columns. Each shown descriptor takes the width of its position.
TRecordGridColumns RecordColumnsFromLayout(const TTableInfo& info, TRecordGridDescriptors* descriptors = nullptr);
// Writes the current tag, the order and the widths into Info (FormClose).
void StoreRecordColumns(const TRecordGridColumns& columns, TTableInfo& info);

// SetGridColumnTitles: the titles of descriptors 3 to 7 from texts 646, 412, 332, 333
// and 334; RecordColumnTitle gives the title of a grid column by its field name (empty
// for a field of no descriptor 3 to 7, whose title stays).
void SetRecordGridTitles(TRecordGridDescriptors& descriptors);
QString RecordColumnTitle(const TRecordGridDescriptors& descriptors, const QString& fieldName);

// BuildSortFlags: per grid position the descriptor's SortOrder and its case flag, True
// stored as -1.
struct TRecordSortFlags {
    QVector<int> Directions;
    QVector<int> CaseFlags;
};
TRecordSortFlags BuildSortFlags(const TRecordGridDescriptors& descriptors, const QVector<int>& order);

// A stored panel width is taken when it is at least Minimum and at most Current plus
// the neighbour's width; otherwise the panel gets Round(Minimum x 1.2).
int MainPanelWidth(int saved, int minimum, int current, int neighbour);

} // namespace orvek
