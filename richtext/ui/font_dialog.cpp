#include "richtext/ui/font_dialog.h"

#include "platform/dialogs.h"

namespace orvek {

TFontDialog::TFontDialog(QObject* owner, const QString& name)
    : QObject(owner)
{
    setObjectName(name);
}

bool TFontDialog::Execute()
{
    QString family = Font.family();
    int size = Font.pointSize();
    if (!orvek::FontDialog(family, size))
        return false;
    Font.setFamily(family);
    if (size > 0)
        Font.setPointSize(size);
    return true;
}

} // namespace orvek
