#include "platform/ui/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace orvek {

QDialogButtonBox* OkCancelButtons(
    QWidget* parent, QPushButton*& ok, const char* okName, QPushButton*& cancel, const char* cancelName)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, parent);
    box->setObjectName(QStringLiteral("ButtonBox"));
    ok = box->button(QDialogButtonBox::Ok);
    ok->setObjectName(QLatin1String(okName));
    cancel = box->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QLatin1String(cancelName));
    return box;
}

} // namespace orvek
