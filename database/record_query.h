#pragma once
// The record grid's statement and sort: the records of one folder or of the whole group
// as the user's rights let them see them, optionally narrowed by a search on the first
// column; the sort keys that order the answer by the shown columns. Every value is bound.

#include "database/default_field_rec.h"
#include "database/search_pattern.h"
#include "database/template_layout.h"
#include "database/template_query.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace orvek {

// Descriptors 1 to 8 of the record grid (index 0 unused): 1 ID, 2 PracovnikID,
// 3 SampleID (title 646), 4 MenoPracovnika (412), 5 Datum (332), 6 NazovMerania (333),
// 7 NazovVzoru (334); 8 stays empty. Only 3 to 7 are ever shown.
using TRecordGridDescriptors = std::array<TDefaultFieldRec, 9>;
TRecordGridDescriptors MakeRecordGridDescriptors();
inline constexpr int kFirstRecordColumn = 3;
inline constexpr int kLastRecordColumn = 7;
// The grid shows five columns; all five are sort keys.
inline constexpr int RecordGridSortCount = 5;

// The answer's fields, in this order (1-based numbers): 1 ID, 2 SampleID,
// 3 PracovnikID, 4 MenoPracovnika, 5 Datum, 6 NazovMerania, 7 NazovVzoru,
// 8 FromTemplateID. The list never reads Strom.
inline constexpr const char* kRecordListFields[]
    = { "ID", "SampleID", "PracovnikID", "MenoPracovnika", "Datum", "NazovMerania", "NazovVzoru", "FromTemplateID" };
// The number of Field in the answer; 0 for a field the answer lacks.
int RecordAnswerFieldNumber(const QString& field);

// RecordGridSortFields rebuilt from the grid: for each column's field name in display
// order, the number of the descriptor 3 to 7 showing it (other names are passed over).
QVector<int> RecordSortFieldsFromColumnFields(const TRecordGridDescriptors& descriptors, const QStringList& fieldNames);
// The answer-table sort by the shown columns: each column sorts by its own field, with
// its descriptor's order and case flag, the first shown column first.
TSortKeys RecordSortKeys(const TRecordGridDescriptors& descriptors, const QVector<int>& sortFields);

// The search works on the first column, so it is offered only while that column shows
// the measurement's or the template's name.
bool RecordSearchAllowed(const QString& firstColumnField);

// RecordViewMode: the records of the selected folder, or all of the group.
inline constexpr int kRecordsOfFolder = 0;
inline constexpr int kRecordsOfGroup = 1;

// The view state the statement is built from.
struct TRecordViewRequest {
    int UserRights = 0; // 1 main administrator, 2 administrator, 3 user
    int CurrentUserID = 0;
    int ShownOwnerID = 0; // rights 1: the owner whose records are shown; 0 all owners
    int GroupID = 0;
    int ViewMode = kRecordsOfFolder;
    QString FolderID; // empty means "0"
    QString FolderColumn = QStringLiteral("IDDB1");
    bool SearchActive = false;
    QString SearchField; // the first column's field: one of descriptors 3 to 7
    TSearchKind SearchKind = TSearchKind::Substring;
    QString SearchText;
};

using TRecordStatement = TTemplateStatement;

// "SELECT ID, SampleID, PracovnikID, MenoPracovnika, Datum, NazovMerania, NazovVzoru,
// FromTemplateID FROM TreeDB WHERE [PracovnikID = ? AND] GroupID = ? [AND <folder
// column> = ?] [AND <search>]". The owner condition applies only to a main
// administrator who chose one owner; administrators and users see every record of
// the group. ShownOwnerID receives the owner the view stands for (the current user for
// rights 2 and 3). False (statement empty) for rights outside 1 to 3, a folder column
// that is not one, or a search field that is not a column of the grid.
bool BuildRecordStatement(const TRecordViewRequest& request, TRecordStatement& statement, int* shownOwnerID = nullptr);

} // namespace orvek
