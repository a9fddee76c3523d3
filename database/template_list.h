#pragma once
// The template window's list (Q_Template): the list statement run into an answer table
// of the temporary folder, sorted there by the grid's shown columns, and read by row.

#include "database/sortable_query.h"
#include "database/template_layout.h"
#include "database/template_query.h"

namespace orvek {

class DatabaseSession;

class TTemplateList {
public:
    // Session reaches the records database (alias AliasDB); the answer table gets a
    // name of its own in TempDir.
    explicit TTemplateList(DatabaseSession* session);
    ~TTemplateList();
    TTemplateList(const TTemplateList&) = delete;
    TTemplateList& operator=(const TTemplateList&) = delete;

    // Runs Statement (the list closes first). False with Error, the list closed, when
    // the statement fails: the window then shows no rows.
    bool Open(const TTemplateStatement& statement, QString* error = nullptr);
    void Close();
    bool Active() const { return query_.Active(); }

    // Sorts the answer by Keys (RefreshGrid).
    bool Sort(const TSortKeys& keys, QString* error = nullptr);

    int RowCount();
    // Field (1-based, as the descriptors number them) of Row (0-based).
    QVariant Field(int row, int field);
    int RowID(int row) { return Field(row, 1).toInt(); }
    // Records were made from the row's template when the list was read.
    bool RowInUse(int row) { return Field(row, kInUseField).toInt() != 0; }

    // The row of template TemplateID (LocateTemplate); with 0 the first row, whose ID
    // is written back. -1 when there is no such row.
    int LocateTemplate(int& templateId);

    TSortableQuery& Query() { return query_; }

private:
    TSortableQuery query_;
};

} // namespace orvek
