#pragma once
// Turns a record's stored diagram into the tree the main window shows.

#include <QString>

class QSqlDatabase;

namespace orvek {

enum class TRecordLoad {
    Loaded,
    Missing, // no record with that ID (another workstation deleted it): no tree
    Unreadable, // the diagram text could not be read: no tree, the user was told why
};

// Builds the tree of record RecordID on the main window's diagram host and makes it
// the shown tree; the old tree is freed first. A text that fails to read leaves an
// empty diagram and one message with the reader's reason; that partial tree is never
// stored back. When a whole load found source keys of an older form, the diagram is
// stored again at once in the current form. Afterwards the record is unmodified, the equations and report
// pages follow it, and the main timer runs whatever its state was before.
// TreeText, when given, receives the shown tree's text as SaveToText writes it when the
// load wrote it anyway (to compare with the stored form) and nothing changed the tree
// since; otherwise it is empty.
TRecordLoad LoadRecordDiagram(QSqlDatabase& db, int recordID, QString* reason = nullptr, QString* treeText = nullptr);

} // namespace orvek
