#pragma once
// The rows of a folder table as a folder tree reads them (ID, parent ID, text): sorted
// views for the look-ups of a build, the comparison with the list of the previous build,
// the layout of the rows as a forest and the rule for the ID of a new row.

#include <QString>
#include <QStringList>
#include <QVector>
#include <utility>

namespace orvek {

struct TTvRecordInfo {
    QString ID;
    QString ParentID;
    QString Text;
};

// What comparing a new list with the previous one found.
enum TTVCompare : int {
    tvcEqual = 0, // the same rows
    tvcTextsOnly = 1, // only texts differ: only those nodes change
    tvcCountDiffers = 2, // another number of rows, or no previous list
    tvcStructureDiffers = 3, // an ID or a parent ID differs at the same position of the ID order
};

class TTVRecordList {
public:
    // Adding drops the sorted views; they are built again when asked for.
    void Add(const QString& id, const QString& parentId, const QString& text);
    void Reserve(int count) { items_.reserve(count); }
    void Clear();
    int Count() const { return int(items_.size()); }
    // Items in the order they were added (the table's order).
    const TTvRecordInfo& Item(int index) const { return items_[index]; }

    // Changes of one item made by the tree itself, so the next comparison does not see
    // them as changes made elsewhere.
    void SetText(int index, const QString& text);
    void SetParentID(int index, const QString& parentId);
    void Remove(int index);

    // The item with that ID (ordinal comparison, binary search); -1 when none.
    int IndexOfID(const QString& id) const;
    // The children of ParentID in the parent view's order (parent ID, then text without
    // regard to case): positions [first, last) of ParentViewItem.
    std::pair<int, int> ParentRange(const QString& parentId) const;
    int ParentViewItem(int position) const;

    // Flag bit 0 ignores case, bit 1 accepts the first text that begins with Text.
    bool FindIDByText(const QString& text, QString& id, int flags) const;

    // Compares this (new) list with Previous (null: there is none).
    int Compare(const TTVRecordList* previous) const;
    // The items whose text differs from the item at the same position of Previous's ID
    // order; meaningful when Compare gave tvcTextsOnly.
    QVector<int> ChangedTextItems(const TTVRecordList& previous) const;

private:
    void DropViews();
    const QVector<int>& IdView() const;
    const QVector<int>& ParentView() const;
    const QVector<int>& TextView(bool upper) const;

    QVector<TTvRecordInfo> items_;
    mutable QVector<int> byId_, byParent_, byText_, byUpperText_;
    mutable QVector<QString> upperTexts_;
};

// One node of a tree laid out from a record list.
struct TTVLayoutNode {
    int Item = -1; // index into the record list
    int Parent = -1; // index of the parent in TTVLayout::Nodes; -1 for a top-level node
};

struct TTVLayout {
    // Parents come before their children; siblings follow in the parent view's order.
    QVector<TTVLayoutNode> Nodes;
    int TopLevelCount = 0;
    bool RootNotFound = false; // RootID was given but no row has it
    bool ClosedLoop = false; // some row is its own ancestor
};

// Lays the rows out as the tree shows them. Without a parent field every row is a
// top-level node, in table order. With RootID the row of that ID is the single root (or,
// when missing, the rows whose parent is RootID are the top level). Otherwise every row
// whose parent is not the ID of any row is a top-level node. Rows whose owners run in a
// circle would be reached from no top-level node: one row of each such circle is shown
// at the top level instead, with the others below it, and ClosedLoop is set. Every row
// appears at most once.
TTVLayout LayOutRecords(const TTVRecordList& list, const QString& rootId, bool hasParentField);

// The ID of a new row: 1 + the largest of Ids that are decimal numbers ("0" when there
// is none); IDs that are no numbers are skipped. When that would be longer than
// MaxLength digits (MaxLength <= 0: no limit), the smallest number not used yet; empty
// when every number of that length is used.
QString NextFreeID(const QStringList& ids, int maxLength);

} // namespace orvek
