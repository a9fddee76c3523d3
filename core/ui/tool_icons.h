#pragma once
// The pictures of the program's actions: one table for every window, so an action has
// the same picture wherever it shows. Standard actions take the freedesktop icon
// theme's picture; the program's own actions take its own pictures, drawn in the same
// style and built into the program.

#include <QIcon>
#include <QString>

class QWidget;

namespace orvek {

// The picture named Name: a theme name ("edit-undo") or one of the program's own
// ("orvek-..."); a null icon when neither has it. The first call chooses the icon
// theme when the desktop names none that holds the pictures.
QIcon ToolIcon(const QString& name);

// The picture name the table gives the action with object name ActionName; empty when
// the action has no picture.
QString ToolIconName(const QString& actionName);

// The picture of a record navigator's step: 0 first, 1 prior, 2 next, 3 last; every
// navigator of the program shows the same four.
QIcon NavigatorIcon(int step);

// Gives every action of Window that the table names its picture, and keeps the name in
// the action's "toolIcon" property.
void SetToolIcons(QWidget* window);

} // namespace orvek
