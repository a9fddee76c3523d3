#pragma once
// The application object. An exception that escapes an event handler is shown in a
// message box and the program goes on, as a desktop program's users expect.

#include <QApplication>

namespace orvek {

class OrvekApplication : public QApplication {
    Q_OBJECT
public:
    OrvekApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace orvek
