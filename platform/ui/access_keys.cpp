#include "platform/ui/access_keys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <functional>
#include <vector>

namespace orvek {

namespace {

// The text a widget or action showed when its key was chosen: a different text was set
// by the program since, and needs a key again.
constexpr char kKeyedTextProperty[] = "orvekKeyedText";

// The index of the '&' that marks Text's key, or -1.
int MarkIndex(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return int(i);
    }
    return -1;
}

// Text marks a key on a letter or digit: a text written with its key.
bool MarksLetter(const QString& text)
{
    const int mark = MarkIndex(text);
    return mark >= 0 && text[mark + 1].isLetterOrNumber();
}

// A letter of a text that may become its key, and where it stands.
struct KeyCandidate {
    qsizetype at = 0;
    QChar key; // upper case
};

// The letters of Text that may become its key, each once, in the order they are
// preferred: the beginnings of words first, then any plain Latin letter or digit, then
// any letter. Text shows every literal '&' as "&&" already; the part after a tab (a
// shortcut's text) is left alone.
std::vector<KeyCandidate> KeyCandidates(const QString& text)
{
    std::vector<KeyCandidate> candidates;
    QSet<QChar> seen;
    const qsizetype end = text.contains(QLatin1Char('\t')) ? text.indexOf(QLatin1Char('\t')) : text.size();
    enum Pass { WordStarts, Latin, Any };
    for (Pass pass : { WordStarts, Latin, Any }) {
        for (qsizetype i = 0; i < end; ++i) {
            if (text[i] == QLatin1Char('&')) {
                ++i; // "&&"
                continue;
            }
            const QChar c = text[i];
            if (!c.isLetterOrNumber())
                continue;
            const bool latin = c.unicode() < 128;
            const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
            if ((pass == WordStarts && !(latin && wordStart)) || (pass == Latin && !latin))
                continue;
            const QChar key = c.toUpper();
            if (!seen.contains(key)) {
                seen.insert(key);
                candidates.push_back({ i, key });
            }
        }
    }
    return candidates;
}

QString Marked(const QString& text, qsizetype at)
{
    return text.left(at) + QLatin1Char('&') + text.mid(at);
}

// Text with its key marked on the first candidate letter that Free accepts.
QString MarkFreeLetter(const QString& text, const std::function<bool(QChar)>& free)
{
    for (const KeyCandidate& candidate : KeyCandidates(text))
        if (free(candidate.key))
            return Marked(text, candidate.at);
    return text;
}

// Chooses for each item one of its candidate letters that Allowed accepts, no two items
// the same: each item in turn takes its most preferred letter still free; an item left
// without then takes one that others can give up for another letter of their own
// (augmenting paths), so that as many items as possible get one. Chosen holds the index
// of each item's candidate, -1 for none; items chosen already keep a letter.
void ChooseKeys(const std::vector<std::vector<KeyCandidate>>& candidates,
    const std::function<bool(size_t item, QChar key)>& allowed, std::vector<int>& chosen)
{
    QHash<QChar, size_t> owner;
    for (size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i] >= 0)
            owner.insert(candidates[i][size_t(chosen[i])].key, i);
    QSet<QChar> visited;
    std::function<bool(size_t)> take = [&](size_t item) {
        for (size_t k = 0; k < candidates[item].size(); ++k) {
            const QChar key = candidates[item][k].key;
            if (visited.contains(key) || !allowed(item, key))
                continue;
            visited.insert(key);
            const auto held = owner.constFind(key);
            if (held == owner.constEnd() || take(*held)) {
                owner.insert(key, item);
                chosen[item] = int(k);
                return true;
            }
        }
        return false;
    };
    for (size_t i = 0; i < chosen.size(); ++i)
        for (size_t k = 0; chosen[i] < 0 && k < candidates[i].size(); ++k)
            if (const QChar key = candidates[i][k].key; !owner.contains(key) && allowed(i, key)) {
                owner.insert(key, i);
                chosen[i] = int(k);
            }
    for (size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i] < 0) {
            visited.clear();
            take(i);
        }
}

QString Escaped(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool IsFreshText(const QObject* object, const QString& text)
{
    return !text.isEmpty() && object->property(kKeyedTextProperty).toString() != text;
}

// The keys of the items of Menu, but Except's.
QSet<QChar> KeysIn(const QWidget* menu, const QAction* except = nullptr)
{
    QSet<QChar> keys;
    for (const QAction* action : menu->actions())
        if (action != except && !action->isSeparator())
            if (const QChar key = AccessKey(action->text()); !key.isNull())
                keys.insert(key);
    return keys;
}

bool IsMenu(const QObject* object)
{
    return qobject_cast<const QMenu*>(object) || qobject_cast<const QMenuBar*>(object);
}

// A widget the user types or chooses a value in, which a label names.
bool IsField(const QWidget* widget)
{
    return widget && widget->focusPolicy() != Qt::NoFocus
        && (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
            || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QTextEdit*>(widget)
            || qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget)
            || qobject_cast<const QAbstractSlider*>(widget));
}

// The field Item holds: its widget, or the first item of a row it lays out.
QWidget* FieldOf(QLayoutItem* item)
{
    if (!item)
        return nullptr;
    if (QWidget* widget = item->widget())
        return IsField(widget) ? widget : nullptr;
    if (QLayout* layout = item->layout())
        for (int i = 0; i < layout->count(); ++i)
            if (QLayoutItem* child = layout->itemAt(i); child && !child->spacerItem())
                return FieldOf(child);
    return nullptr;
}

// A label that names a field: plain text with a letter, no picture.
bool IsCaption(const QLabel* label)
{
    const QString text = label->text();
    if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return false;
    if (!label->pixmap().isNull())
        return false;
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The labels of Layout with the field that follows each: beside it in a form or grid
// row (else below it in a grid), or next in a row or column.
void CollectCaptions(QLayout* layout, std::vector<std::pair<QLabel*, QWidget*>>& captions)
{
    const auto add = [&](QLayoutItem* labelItem, QLayoutItem* fieldItem) {
        auto* label = labelItem ? qobject_cast<QLabel*>(labelItem->widget()) : nullptr;
        if (!label || !IsCaption(label))
            return false;
        QWidget* field = FieldOf(fieldItem);
        // A label whose buddy the window chose itself names that one.
        if (!field || (label->buddy() && label->buddy() != field && label->property(kKeyedTextProperty).isNull()))
            return false;
        captions.emplace_back(label, field);
        return true;
    };
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row)
            add(form->itemAt(row, QFormLayout::LabelRole), form->itemAt(row, QFormLayout::FieldRole));
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            if (!add(grid->itemAt(i), grid->itemAtPosition(row, column + columns)))
                add(grid->itemAt(i), grid->itemAtPosition(row + rows, column));
        }
    } else if (qobject_cast<QBoxLayout*>(layout)) {
        for (int i = 0; i + 1 < layout->count(); ++i)
            add(layout->itemAt(i), layout->itemAt(i + 1));
    }
}

// The part of Window whose access keys work together with Widget's: the page of a paged
// panel it lies on, or the window.
const QWidget* KeyScope(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* up = widget; up && up != window; up = up->parentWidget())
        if (qobject_cast<const QStackedWidget*>(up->parentWidget()))
            return up;
    return window;
}

bool ScopesMeet(const QWidget* a, const QWidget* b)
{
    return a == b || a->isAncestorOf(b) || b->isAncestorOf(a);
}

} // namespace

QChar AccessKey(const QString& text)
{
    const int mark = MarkIndex(text);
    return mark < 0 ? QChar() : text[mark + 1].toUpper();
}

QString WithoutAccessKey(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

bool IsUnkeyed(const QAction* item)
{
    return !item->isSeparator() && IsFreshText(item, item->text());
}

void SetMenuAccessKeys(QWidget* menu)
{
    if (!menu)
        return;
    const QList<QAction*> actions = menu->actions();
    if (std::none_of(actions.begin(), actions.end(), IsUnkeyed))
        return;
    QSet<QChar> taken;
    for (const QAction* action : actions)
        if (!action->isSeparator() && (!IsUnkeyed(action) || MarksLetter(action->text())))
            if (const QChar key = AccessKey(action->text()); !key.isNull())
                taken.insert(key);
    // The items to key, with the keys of the other menus each stands in.
    std::vector<QAction*> items;
    std::vector<QString> texts;
    std::vector<std::vector<KeyCandidate>> candidates;
    std::vector<QSet<QChar>> elsewhere;
    for (QAction* action : actions) {
        if (!IsUnkeyed(action))
            continue;
        if (MarksLetter(action->text())) {
            action->setProperty(kKeyedTextProperty, action->text());
            continue;
        }
        items.push_back(action);
        texts.push_back(Escaped(action->text()));
        candidates.push_back(KeyCandidates(texts.back()));
        QSet<QChar> keys;
        for (QObject* owner : action->associatedObjects())
            if (owner != menu && IsMenu(owner))
                keys.unite(KeysIn(static_cast<QWidget*>(owner), action));
        elsewhere.push_back(keys);
    }
    // First keys free in every menu an item stands in; then, for the items left
    // without, keys free in this one.
    std::vector<int> chosen(items.size(), -1);
    ChooseKeys(
        candidates, [&](size_t i, QChar key) { return !taken.contains(key) && !elsewhere[i].contains(key); }, chosen);
    ChooseKeys(
        candidates, [&](size_t, QChar key) { return !taken.contains(key); }, chosen);
    for (size_t i = 0; i < items.size(); ++i) {
        const QString keyed = chosen[i] < 0 ? texts[i] : Marked(texts[i], candidates[i][size_t(chosen[i])].at);
        items[i]->setProperty(kKeyedTextProperty, keyed);
        if (keyed != items[i]->text())
            items[i]->setText(keyed);
    }
}

void SetLabelAccessKeys(QWidget* window)
{
    if (!window)
        return;
    std::vector<std::pair<QLabel*, QWidget*>> captions;
    if (window->layout())
        CollectCaptions(window->layout(), captions);
    for (QLayout* layout : window->findChildren<QLayout*>())
        if (layout != window->layout() && layout->parentWidget() && layout->parentWidget()->window() == window)
            CollectCaptions(layout, captions);
    const auto fresh = [](const QLabel* label) { return IsFreshText(label, label->text()); };
    if (std::none_of(
            captions.begin(), captions.end(), [&](const auto& c) { return fresh(c.first) || !c.first->buddy(); }))
        return;

    // The keys in use, each with the part of the window where it works.
    std::vector<std::pair<const QWidget*, QChar>> used;
    const auto use = [&](const QWidget* widget, const QString& text) {
        if (const QChar key = AccessKey(text); !key.isNull())
            used.emplace_back(KeyScope(widget, window), key);
    };
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->window() == window)
            use(button, button->text());
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
        if (box->window() == window)
            use(box, box->title());
    for (const QTabBar* tabs : window->findChildren<QTabBar*>())
        if (tabs->window() == window)
            for (int i = 0; i < tabs->count(); ++i)
                use(tabs, tabs->tabText(i));
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        if (bar->window() == window)
            for (const QAction* action : bar->actions())
                use(window, action->text());
    for (const auto& [label, field] : captions)
        if (!fresh(label) || MarksLetter(label->text()))
            use(label, label->text());

    for (const auto& [label, field] : captions) {
        label->setBuddy(field);
        if (!fresh(label))
            continue;
        QString keyed = label->text();
        const QWidget* scope = KeyScope(label, window);
        if (!MarksLetter(keyed))
            keyed = MarkFreeLetter(Escaped(keyed), [&](QChar c) {
                return std::none_of(used.begin(), used.end(),
                    [&](const auto& u) { return u.second == c && ScopesMeet(u.first, scope); });
            });
        if (const QChar key = AccessKey(keyed); !key.isNull())
            used.emplace_back(scope, key);
        label->setProperty(kKeyedTextProperty, keyed);
        if (keyed != label->text())
            label->setText(keyed);
    }
}

} // namespace orvek
