#include "database/tv_record_list.h"

#include <QSet>
#include <algorithm>
#include <numeric>

namespace orvek {

namespace {

QVector<int> Identity(int count)
{
    QVector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

// The value of a text made of decimal digits only; -1 for any other text.
qint64 DecimalValue(const QString& text)
{
    if (text.isEmpty() || text.size() > 18)
        return -1;
    qint64 value = 0;
    for (QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return -1;
        value = value * 10 + (ch.unicode() - '0');
    }
    return value;
}

} // namespace

void TTVRecordList::Add(const QString& id, const QString& parentId, const QString& text)
{
    items_.append({ id, parentId, text });
    DropViews();
}

void TTVRecordList::Clear()
{
    items_.clear();
    DropViews();
}

void TTVRecordList::SetText(int index, const QString& text)
{
    items_[index].Text = text;
    DropViews();
}

void TTVRecordList::SetParentID(int index, const QString& parentId)
{
    items_[index].ParentID = parentId;
    DropViews();
}

void TTVRecordList::Remove(int index)
{
    items_.remove(index);
    DropViews();
}

void TTVRecordList::DropViews()
{
    byId_.clear();
    byParent_.clear();
    byText_.clear();
    byUpperText_.clear();
    upperTexts_.clear();
}

const QVector<int>& TTVRecordList::IdView() const
{
    if (byId_.size() != items_.size()) {
        byId_ = Identity(Count());
        std::stable_sort(byId_.begin(), byId_.end(), [this](int a, int b) { return items_[a].ID < items_[b].ID; });
    }
    return byId_;
}

const QVector<int>& TTVRecordList::ParentView() const
{
    if (byParent_.size() != items_.size()) {
        byParent_ = Identity(Count());
        std::stable_sort(byParent_.begin(), byParent_.end(), [this](int a, int b) {
            const int parent = QString::compare(items_[a].ParentID, items_[b].ParentID, Qt::CaseSensitive);
            if (parent != 0)
                return parent < 0;
            return QString::compare(items_[a].Text, items_[b].Text, Qt::CaseInsensitive) < 0;
        });
    }
    return byParent_;
}

const QVector<int>& TTVRecordList::TextView(bool upper) const
{
    if (upper) {
        if (byUpperText_.size() != items_.size()) {
            upperTexts_.resize(items_.size());
            for (int i = 0; i < Count(); ++i)
                upperTexts_[i] = items_[i].Text.toUpper();
            byUpperText_ = Identity(Count());
            std::stable_sort(byUpperText_.begin(), byUpperText_.end(),
                [this](int a, int b) { return upperTexts_[a] < upperTexts_[b]; });
        }
        return byUpperText_;
    }
    if (byText_.size() != items_.size()) {
        byText_ = Identity(Count());
        std::stable_sort(
            byText_.begin(), byText_.end(), [this](int a, int b) { return items_[a].Text < items_[b].Text; });
    }
    return byText_;
}

int TTVRecordList::IndexOfID(const QString& id) const
{
    const QVector<int>& view = IdView();
    const auto it = std::lower_bound(
        view.cbegin(), view.cend(), id, [this](int item, const QString& key) { return items_[item].ID < key; });
    return it != view.cend() && items_[*it].ID == id ? *it : -1;
}

std::pair<int, int> TTVRecordList::ParentRange(const QString& parentId) const
{
    const QVector<int>& view = ParentView();
    const auto less = [this](int item, const QString& key) { return items_[item].ParentID < key; };
    const auto first = std::lower_bound(view.cbegin(), view.cend(), parentId, less);
    auto last = first;
    while (last != view.cend() && items_[*last].ParentID == parentId)
        ++last;
    return { int(first - view.cbegin()), int(last - view.cbegin()) };
}

int TTVRecordList::ParentViewItem(int position) const
{
    return ParentView()[position];
}

bool TTVRecordList::FindIDByText(const QString& text, QString& id, int flags) const
{
    const bool ignoreCase = flags & 1;
    const bool prefix = flags & 2;
    const QVector<int>& view = TextView(ignoreCase);
    const QString key = ignoreCase ? text.toUpper() : text;
    const auto textOf = [&](int item) -> const QString& { return ignoreCase ? upperTexts_[item] : items_[item].Text; };
    const auto it = std::lower_bound(
        view.cbegin(), view.cend(), key, [&](int item, const QString& k) { return textOf(item) < k; });
    if (it == view.cend())
        return false;
    const QString& found = textOf(*it);
    if (prefix ? !found.startsWith(key) : found != key)
        return false;
    id = items_[*it].ID;
    return true;
}

int TTVRecordList::Compare(const TTVRecordList* previous) const
{
    if (!previous || previous->Count() != Count())
        return tvcCountDiffers;
    const QVector<int>& mine = IdView();
    const QVector<int>& theirs = previous->IdView();
    bool textsDiffer = false;
    for (int i = 0; i < Count(); ++i) {
        const TTvRecordInfo& a = items_[mine[i]];
        const TTvRecordInfo& b = previous->items_[theirs[i]];
        if (a.ID != b.ID || a.ParentID != b.ParentID)
            return tvcStructureDiffers;
        if (a.Text != b.Text)
            textsDiffer = true;
    }
    return textsDiffer ? tvcTextsOnly : tvcEqual;
}

QVector<int> TTVRecordList::ChangedTextItems(const TTVRecordList& previous) const
{
    QVector<int> changed;
    if (previous.Count() != Count())
        return changed;
    const QVector<int>& mine = IdView();
    const QVector<int>& theirs = previous.IdView();
    for (int i = 0; i < Count(); ++i)
        if (items_[mine[i]].Text != previous.items_[theirs[i]].Text)
            changed.append(mine[i]);
    return changed;
}

TTVLayout LayOutRecords(const TTVRecordList& list, const QString& rootId, bool hasParentField)
{
    TTVLayout layout;
    const int count = list.Count();
    layout.Nodes.reserve(count);
    if (!hasParentField) {
        for (int i = 0; i < count; ++i)
            layout.Nodes.append({ i, -1 });
        layout.TopLevelCount = count;
        return layout;
    }

    QVector<bool> placed(count, false);
    QVector<std::pair<int, int>> stack; // (item, layout index of its parent)
    // Places Item under Parent and then its descendants, depth first in the parent
    // view's order, without recursion (folder chains may be deep).
    const auto placeSubtree = [&](int item, int parent) {
        stack.clear();
        stack.append({ item, parent });
        while (!stack.isEmpty()) {
            const auto [current, under] = stack.takeLast();
            if (placed[current])
                continue;
            placed[current] = true;
            const int node = int(layout.Nodes.size());
            layout.Nodes.append({ current, under });
            if (under < 0)
                ++layout.TopLevelCount;
            const TTvRecordInfo& info = list.Item(current);
            const auto [first, last] = list.ParentRange(info.ID);
            // Pushed in reverse, so they come off the stack in the parent view's order.
            for (int pos = last - 1; pos >= first; --pos) {
                const int child = list.ParentViewItem(pos);
                const TTvRecordInfo& childInfo = list.Item(child);
                if (childInfo.ID == childInfo.ParentID || (!rootId.isEmpty() && childInfo.ID == rootId)) {
                    layout.ClosedLoop = true;
                    continue;
                }
                if (!placed[child])
                    stack.append({ child, node });
            }
        }
    };

    if (!rootId.isEmpty()) {
        const int root = list.IndexOfID(rootId);
        if (root >= 0) {
            placeSubtree(root, -1);
        } else {
            layout.RootNotFound = true;
            const auto [first, last] = list.ParentRange(rootId);
            QVector<int> tops;
            for (int pos = first; pos < last; ++pos)
                tops.append(list.ParentViewItem(pos));
            for (int item : tops)
                placeSubtree(item, -1);
        }
        return layout;
    }

    for (int i = 0; i < count; ++i)
        if (list.IndexOfID(list.Item(i).ParentID) < 0)
            placeSubtree(i, -1);
    // What is left hangs from a circle of owners: walk up from the first such row until
    // a row repeats; that row opens its circle at the top level.
    for (int i = 0; i < count; ++i) {
        if (placed[i])
            continue;
        QSet<int> seen;
        int item = i;
        while (!seen.contains(item)) {
            seen.insert(item);
            const int parent = list.IndexOfID(list.Item(item).ParentID);
            if (parent < 0 || placed[parent])
                break;
            item = parent;
        }
        layout.ClosedLoop = true;
        placeSubtree(item, -1);
    }
    return layout;
}

QString NextFreeID(const QStringList& ids, int maxLength)
{
    qint64 largest = -1;
    for (const QString& id : ids)
        largest = std::max(largest, DecimalValue(id));
    qint64 limit = -1;
    if (maxLength > 0 && maxLength < 18) {
        limit = 1;
        for (int i = 0; i < maxLength; ++i)
            limit *= 10;
        limit -= 1;
    }
    if (limit < 0 || largest + 1 <= limit)
        return QString::number(largest + 1);
    // The numbers run out at the top: the smallest one not used yet.
    QSet<qint64> used;
    for (const QString& id : ids)
        used.insert(DecimalValue(id));
    for (qint64 candidate = 0; candidate <= limit; ++candidate)
        if (!used.contains(candidate))
            return QString::number(candidate);
    return QString();
}

} // namespace orvek
