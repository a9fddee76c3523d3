#include "mainwindow/ui/cell_dialog_widgets.h"

#include "core/drawing.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"

#include <QPalette>
#include <QWidget>

namespace orvek {

QWidget* FormattedPanel(QWidget* parent, const char* name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setMinimumWidth(160);
    return panel;
}

TEditText98* FormattedBox(QWidget* owner, QWidget* panel, const char* name, int height)
{
    auto* box
        = new TEditText98(owner, QString(), 0, 0, 0, 0, true, false, true, 8, QStringLiteral("MS Sans Serif"), panel);
    box->Edit->setObjectName(QString::fromLatin1(name));
    box->Edit->setFixedHeight(height);
    return box;
}

void ColourByReadOnly(QWidget* edit, bool readOnly)
{
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, ReadOnlyColor(readOnly));
    edit->setPalette(p);
}

void ColourByEnabled(QWidget* widget, bool enabled)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, EnabledColor(enabled));
    widget->setPalette(p);
}

} // namespace orvek
