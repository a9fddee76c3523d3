#include "database/tv_record_list.h"

#include <gtest/gtest.h>

using namespace orvek;

namespace {

struct Row {
    const char* id;
    const char* parent;
    const char* text;
};

TTVRecordList ListOf(std::initializer_list<Row> rows)
{
    TTVRecordList list;
    for (const Row& row : rows)
        list.Add(row.id, row.parent, QString::fromUtf8(row.text));
    return list;
}

// "id<parent-id" for each node in layout order; a top-level node has no "<".
QStringList Shape(const TTVRecordList& list, const TTVLayout& layout)
{
    QStringList out;
    for (const TTVLayoutNode& node : layout.Nodes) {
        QString text = list.Item(node.Item).ID;
        if (node.Parent >= 0)
            text += "<" + list.Item(layout.Nodes[node.Parent].Item).ID;
        out << text;
    }
    return out;
}

} // namespace

TEST(TVRecordList, CompareCodes)
{
    const TTVRecordList base = ListOf({ { "0", "", "Unassigned" }, { "1", "", "Deleted" }, { "2", "0", "Lab" } });
    struct Case {
        const char* name;
        TTVRecordList changed;
        int code;
    };
    const Case cases[] = {
        { "same rows in another table order",
            ListOf({ { "2", "0", "Lab" }, { "1", "", "Deleted" }, { "0", "", "Unassigned" } }), tvcEqual },
        { "a renamed row", ListOf({ { "0", "", "Unassigned" }, { "1", "", "Deleted" }, { "2", "0", "Lab 2" } }),
            tvcTextsOnly },
        { "a moved row", ListOf({ { "0", "", "Unassigned" }, { "1", "", "Deleted" }, { "2", "1", "Lab" } }),
            tvcStructureDiffers },
        { "another ID", ListOf({ { "0", "", "Unassigned" }, { "1", "", "Deleted" }, { "3", "0", "Lab" } }),
            tvcStructureDiffers },
        { "an added row",
            ListOf({ { "0", "", "Unassigned" }, { "1", "", "Deleted" }, { "2", "0", "Lab" }, { "3", "2", "x" } }),
            tvcCountDiffers },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.changed.Compare(&base), c.code) << c.name;
        if (c.code == tvcTextsOnly) {
            const QVector<int> changed = c.changed.ChangedTextItems(base);
            ASSERT_EQ(changed.size(), 1);
            EXPECT_EQ(c.changed.Item(changed[0]).ID, "2");
        }
    }
    EXPECT_EQ(base.Compare(nullptr), tvcCountDiffers);
}

TEST(TVRecordList, FindIDByTextWithItsTwoFlags)
{
    const TTVRecordList list
        = ListOf({ { "2", "0", "Kalibrácia" }, { "3", "0", "kalibrácia váh" }, { "4", "0", "Čistota" } });
    struct Case {
        const char* text;
        int flags;
        const char* id; // empty: not found
    };
    const Case cases[] = {
        { "Kalibrácia", 0, "2" },
        { "kalibrácia", 0, "" },
        { "KALIBRÁCIA VÁH", 1, "3" },
        { "kalib", 2, "3" }, // case kept: only "kalibrácia váh" begins so
        { "kalib", 3, "2" },
        { "čist", 3, "4" },
        { "Kalibrácia", 2, "2" },
        { "xyz", 3, "" },
    };
    for (const Case& c : cases) {
        QString id = "unchanged";
        const bool found = list.FindIDByText(QString::fromUtf8(c.text), id, c.flags);
        EXPECT_EQ(found, *c.id != 0) << c.text << " flags " << c.flags;
        EXPECT_EQ(id, found ? QString(c.id) : QString("unchanged")) << c.text << " flags " << c.flags;
    }
}

TEST(TVRecordList, NextFreeID)
{
    struct Case {
        QStringList ids;
        int maxLength;
        const char* next;
    };
    const Case cases[] = {
        { { "0", "1" }, 5, "2" }, // the fixed folders make the first new folder "2"
        { {}, 5, "0" }, { { "0", "1", "12", "7" }, 5, "13" },
        { { "0", "1", "abc", "1x", "-5", " 9", "3" }, 5, "4" }, // IDs that are no numbers are skipped
        { { "0", "1", "99999" }, 5, "2" }, // past five digits: the smallest free number
        { { "0", "1", "2", "99999" }, 5, "3" }, { { "8", "9" }, 1, "0" },
        { { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9" }, 1, "" }, // nothing left
        { { "0", "1", "99999" }, 0, "100000" }, // no limit
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextFreeID(c.ids, c.maxLength), QString(c.next)) << c.ids.join(',').toStdString();
}

TEST(TVRecordLayout, ParentsRootsAndLoops)
{
    struct Case {
        const char* name;
        TTVRecordList list;
        QString rootId;
        bool hasParent;
        QStringList shape;
        bool rootNotFound, closedLoop;
    };
    const Case cases[] = {
        { "fixed folders only: two top-level nodes", ListOf({ { "0", "", "Unassigned" }, { "1", "", "Deleted" } }), "",
            true, { "0", "1" }, false, false },
        { "children in text order, grandchildren under them",
            ListOf({ { "0", "", "a" }, { "2", "0", "zeta" }, { "3", "0", "Alfa" }, { "4", "2", "x" } }), "", true,
            { "0", "3<0", "2<0", "4<2" }, false, false },
        { "a missing owner makes a top-level row", ListOf({ { "0", "", "a" }, { "5", "77", "orphan" } }), "", true,
            { "0", "5" }, false, false },
        { "an owner circle of two is shown at the top level",
            ListOf({ { "0", "", "a" }, { "6", "7", "six" }, { "7", "6", "seven" }, { "8", "7", "under" } }), "", true,
            { "0", "6", "7<6", "8<7" }, false, true },
        { "a row that owns itself is shown at the top level", ListOf({ { "0", "", "a" }, { "9", "9", "self" } }), "",
            true, { "0", "9" }, false, true },
        { "RootID names the single root",
            ListOf({ { "0", "", "a" }, { "2", "0", "b" }, { "3", "2", "c" }, { "4", "", "other" } }), "2", true,
            { "2", "3<2" }, false, false },
        { "a missing RootID: its children are the top level",
            ListOf({ { "0", "", "a" }, { "2", "R", "b" }, { "3", "R", "a" }, { "4", "3", "c" } }), "R", true,
            { "3", "4<3", "2" }, true, false },
        { "a child that is RootID is a closed loop", ListOf({ { "2", "3", "root" }, { "3", "2", "child" } }), "2", true,
            { "2", "3<2" }, false, true },
        { "no parent field: a flat list in table order", ListOf({ { "5", "0", "e" }, { "1", "5", "a" } }), "", false,
            { "5", "1" }, false, false },
    };
    for (const Case& c : cases) {
        const TTVLayout layout = LayOutRecords(c.list, c.rootId, c.hasParent);
        EXPECT_EQ(Shape(c.list, layout), c.shape) << c.name;
        EXPECT_EQ(layout.RootNotFound, c.rootNotFound) << c.name;
        EXPECT_EQ(layout.ClosedLoop, c.closedLoop) << c.name;
    }
}

TEST(TVRecordLayout, DeepChainWithoutRecursion)
{
    TTVRecordList list;
    list.Add("0", "", "top");
    for (int i = 1; i < 20000; ++i)
        list.Add(QString::number(i), QString::number(i - 1), "n");
    const TTVLayout layout = LayOutRecords(list, QString(), true);
    ASSERT_EQ(layout.Nodes.size(), 20000);
    EXPECT_EQ(layout.TopLevelCount, 1);
    EXPECT_EQ(list.Item(layout.Nodes.last().Item).ID, "19999");
}
