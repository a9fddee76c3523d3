#include "app/orvek_application.h"

#include "platform/dialogs.h"

#include <exception>

namespace orvek {

OrvekApplication::OrvekApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool OrvekApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        MessageDlg(QString::fromUtf8(e.what()), TMsgDlgType::mtError, mbOK);
    } catch (...) {
        MessageDlg("Unexpected error.", TMsgDlgType::mtError, mbOK);
    }
    return false;
}

} // namespace orvek
