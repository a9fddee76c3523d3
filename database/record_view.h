#pragma once
// The record view's logic without its widgets: the view state, the list of records
// (Q_Tree, an answer table of the temporary folder sorted by the shown columns), the
// rebuilds every change of folder, group, view, search or owner runs, and the position
// on a record. The panel shows it; the main window's timer loads the current row.

#include "database/record_query.h"
#include "database/sortable_query.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace orvek {

class DatabaseSession;

class TRecordView {
public:
    // Session reaches the records database (alias AliasDB); the answer table gets a
    // name of its own in TempDir.
    explicit TRecordView(DatabaseSession* session);
    ~TRecordView();
    TRecordView(const TRecordView&) = delete;
    TRecordView& operator=(const TRecordView&) = delete;

    // View state.
    QString FolderColumn = QStringLiteral("IDDB1");
    QString CurrentFolderID; // the folder selected in the tree; "0" when none
    int RecordViewMode = kRecordsOfFolder;
    bool SearchActive = false;
    TSearchKind SearchKind = TSearchKind::Substring;
    QString SearchText;
    int ShownOwnerID = 0;
    TRecordStatement TreeSQL;
    bool RecordViewOpen = false;
    int GridRecordCount = 0;
    TRecordGridDescriptors RecordGridDescriptors;
    QVector<int> RecordGridSortFields;
    // The grid's columns in display order (field names); the search uses the first.
    QStringList ColumnFields { QStringLiteral("SampleID"), QStringLiteral("MenoPracovnika"), QStringLiteral("Datum"),
        QStringLiteral("NazovMerania"), QStringLiteral("NazovVzoru") };
    // The search action may be offered (the first column is a name column).
    bool SearchEnabled = false;

    // Builds TreeSQL from the view state and the logged-in user (an empty folder is
    // "0"), then refreshes the main window's status bar for the owner shown.
    void BuildTreeQuery();
    // Runs TreeSQL; a statement that fails leaves the list closed, which shows as an
    // empty grid. False when the list is closed afterwards.
    bool ApplyTreeQuery(QString* error = nullptr);
    // Sorts the list by the shown columns and makes record RecordID current (0: the
    // first row). An empty list clears the main window's diagram, undo and equations
    // page. The main timer is stopped meanwhile and restored on every exit.
    void RefreshGrid(int recordID);
    // The standard reaction to a change of folder, group, view, search or record set:
    // a modified shown diagram is saved first, the main window is asked to reload the
    // current row on its next tick, and the list is built, run and sorted anew.
    void RefreshRecordView();
    // Makes the row of record RecordID current; with 0 the first row, whose ID is
    // written back. The row, or -1 when there is none.
    int LocateRecord(int& recordID);
    // The folder of record RecordID in FolderColumn; empty when it cannot be read.
    QString FolderOfRecord(int recordID);

    bool Active() const { return query_.Active(); }
    int RowCount();
    // Field (1-based, as the answer numbers them) of Row (0-based).
    QVariant Field(int row, int field);
    int RowID(int row) { return Field(row, 1).toInt(); }
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row) { currentRow_ = row; }
    // The ID of the current row; 0 when the list is empty.
    int CurrentRowID() { return currentRow_ >= 0 ? RowID(currentRow_) : 0; }
    void Close();

    TSortableQuery& Query() { return query_; }

private:
    DatabaseSession* session_;
    TSortableQuery query_;
    int currentRow_ = -1;
};

} // namespace orvek
