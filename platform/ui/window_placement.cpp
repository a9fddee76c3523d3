#include "platform/ui/window_placement.h"

#include "platform/ui/access_keys.h"

#include <QAbstractButton>
#include <QActionEvent>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace orvek {

namespace {

// What a window manager's frame takes at least (title bar and borders) before the
// window has been shown once and its real frame is known.
constexpr QMargins kFrameAllowance(8, 32, 8, 8);

constexpr char kScrolledProperty[] = "orvekScrolledToFit";

QMargins FrameMargins(const QWidget* window)
{
    QMargins real;
    if (const QWindow* handle = window->windowHandle())
        real = handle->frameMargins();
    return QMargins(std::max(real.left(), kFrameAllowance.left()), std::max(real.top(), kFrameAllowance.top()),
        std::max(real.right(), kFrameAllowance.right()), std::max(real.bottom(), kFrameAllowance.bottom()));
}

QRect AvailableArea(const QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool IsButtonLayout(QLayout* layout);

// A row of buttons at the foot of a dialog: a button box, or a layout (or a panel with
// a layout) holding buttons (and check boxes beside them) and spacing only.
bool IsButtonRow(QLayoutItem* item)
{
    if (QWidget* widget = item->widget()) {
        if (qobject_cast<QDialogButtonBox*>(widget))
            return true;
        return widget->layout() && IsButtonLayout(widget->layout());
    }
    return item->layout() && IsButtonLayout(item->layout());
}

bool IsButtonLayout(QLayout* layout)
{
    bool anyButton = false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* child = layout->itemAt(i);
        if (child->spacerItem())
            continue;
        QWidget* widget = child->widget();
        if (!widget || !(qobject_cast<QAbstractButton*>(widget) || qobject_cast<QDialogButtonBox*>(widget)))
            return false;
        anyButton = true;
    }
    return anyButton;
}

// The names the program's dialogs give their OK buttons, lower-cased.
const char* const kOkButtonNames[]
    = { "button_ok", "buttonok", "okbutton", "okbtn", "bok", "bitbtn_ok", "speedbutton_ok" };
// The names of the Close buttons of windows that only show something, lower-cased.
const char* const kCloseButtonNames[] = { "closebut", "button_close", "closebutton", "bclose" };

// Moves Window's contents into a scroll area; the button rows at the foot of its
// layout stay below the scroll area, always visible.
void ScrollContents(QWidget* window)
{
    QLayout* old = window->layout();
    if (!old || window->property(kScrolledProperty).toBool() || old->sizeConstraint() == QLayout::SetFixedSize)
        return;
    window->setProperty(kScrolledProperty, true);
    const QMargins margins = old->contentsMargins();

    QList<QLayoutItem*> footer;
    if (auto* box = qobject_cast<QBoxLayout*>(old); box && box->direction() == QBoxLayout::TopToBottom)
        while (box->count() > 1 && IsButtonRow(box->itemAt(box->count() - 1)))
            footer.prepend(box->takeAt(box->count() - 1));

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrolledContents"));
    content->setLayout(old); // takes the layout over, with the widgets it lays out

    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(QStringLiteral("ScrollToFit"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);

    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(scroll, 1);
    for (QLayoutItem* item : footer) {
        auto* row = new QWidget(window);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
        if (QLayout* layout = item->layout())
            rowLayout->addLayout(layout);
        else
            rowLayout->addWidget(item->widget());
        if (!item->layout())
            delete item;
        outer->addWidget(row);
        row->show();
    }
    content->show();
    scroll->show();
    outer->activate();
}

bool FitsIn(const QSize& size, const QSize& room)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

} // namespace

QRect WindowRoom(const QWidget* window)
{
    return AvailableArea(window).marginsRemoved(FrameMargins(window));
}

void FitToScreen(QWidget* window)
{
    if (!window || !window->isWindow())
        return;
    const QRect room = WindowRoom(window);
    if (room.isEmpty())
        return;
    QWidget* laidOut = window;
    if (auto* main = qobject_cast<QMainWindow*>(window))
        laidOut = main->centralWidget();
    if (laidOut == window) {
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
        if (!FitsIn(least, room.size()))
            ScrollContents(window);
    }
    // A minimum of the window's own that is larger than the room gives way.
    window->setMinimumSize(window->minimumSize().boundedTo(room.size()));
    const QSize size = window->size().boundedTo(room.size());
    if (size != window->size())
        window->resize(size);

    // Onto the available area, frame included (a window's position is its frame's).
    const QRect area = AvailableArea(window);
    const QMargins frame = FrameMargins(window);
    const QRect outer(window->pos(), size.grownBy(frame));
    const int x = std::clamp(outer.left(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int y = std::clamp(outer.top(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (x != outer.left() || y != outer.top())
        window->move(x, y);
}

void PlaceBeside(QWidget* tool, const QWidget* owner)
{
    if (!tool || !owner)
        return;
    const QWidget* served = owner->window();
    const QRect area = AvailableArea(tool);
    const QRect around = served->frameGeometry();
    const QSize size = tool->size().grownBy(FrameMargins(tool));
    const auto onScreen = [&](QPoint at) {
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
        return at;
    };
    const QPoint candidates[] = {
        onScreen({ around.left(), around.bottom() + 1 }),
        onScreen({ around.left(), around.top() - size.height() }),
        onScreen({ around.right() + 1, around.top() }),
        onScreen({ around.left() - size.width(), around.top() }),
    };
    for (const QPoint& at : candidates)
        if (!QRect(at, size).intersects(around)) {
            tool->move(at);
            return;
        }
    tool->move(area.right() + 1 - size.width(), area.bottom() + 1 - size.height());
}

void ChooseDefaultButton(QDialog* dialog)
{
    const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    QPushButton* ok = nullptr;
    QPushButton* close = nullptr;
    const auto named = [](const QPushButton* button, const auto& names) {
        const QByteArray name = button->objectName().toLower().toLatin1();
        return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return name == n; });
    };
    for (QPushButton* button : buttons) {
        if (button->window() != dialog)
            continue;
        if (button->isDefault())
            return;
        if (auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget())) {
            const QDialogButtonBox::ButtonRole role = box->buttonRole(button);
            if (!ok && (role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole))
                ok = button;
            if (!close && box->standardButton(button) == QDialogButtonBox::Close)
                close = button;
            continue;
        }
        if (!ok && named(button, kOkButtonNames))
            ok = button;
        if (!close && named(button, kCloseButtonNames))
            close = button;
    }
    if (QPushButton* chosen = ok ? ok : close)
        chosen->setDefault(true);
}

bool WindowConventions::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ActionAdded || type == QEvent::ActionChanged) {
        // A text set on an item: the menu is keyed once the code setting its texts is
        // done, so that the keys are chosen from the new texts together.
        if (qobject_cast<QMenu*>(watched) || qobject_cast<QMenuBar*>(watched)) {
            auto* menu = static_cast<QWidget*>(watched);
            const QAction* item = static_cast<QActionEvent*>(event)->action();
            if (item && IsUnkeyed(item) && !pendingMenus_.contains(menu)) {
                if (pendingMenus_.isEmpty())
                    QMetaObject::invokeMethod(
                        this, [this] { KeyPendingMenus(); }, Qt::QueuedConnection);
                pendingMenus_.append(menu);
            }
        }
    } else if (type == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType windowType = widget->windowType();
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            SetMenuAccessKeys(menu);
        } else if (widget->isWindow()
            && (windowType == Qt::Window || windowType == Qt::Dialog || windowType == Qt::Tool)) {
            FitToScreen(widget);
            if (auto* dialog = qobject_cast<QDialog*>(widget))
                ChooseDefaultButton(dialog);
            SetLabelAccessKeys(widget);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowConventions::KeyPendingMenus()
{
    const QList<QPointer<QWidget>> menus = std::exchange(pendingMenus_, {});
    for (const QPointer<QWidget>& menu : menus)
        SetMenuAccessKeys(menu);
}

OpenedFrom::OpenedFrom(QWidget* dialog, QWidget* opener)
    : dialog_(dialog)
{
    if (!dialog || !opener)
        return;
    QWidget* target = opener->window();
    if (target == dialog || dialog->parentWidget() == target || dialog->isAncestorOf(target))
        return;
    ownParent_ = dialog->parentWidget();
    dialog->setParent(target, dialog->windowFlags());
    moved_ = true;
}

OpenedFrom::~OpenedFrom()
{
    if (!moved_ || !dialog_)
        return;
    dialog_->hide();
    dialog_->setParent(ownParent_, dialog_->windowFlags());
}

} // namespace orvek
