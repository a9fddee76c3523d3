#pragma once
// Small helpers the backup and the restore share.

#include <QCursor>
#include <QGuiApplication>
#include <QString>

namespace orvek::backup {

inline void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The hourglass for the length of a backup or restore, also when it ends early.
struct HourglassCursor {
    HourglassCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~HourglassCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

} // namespace orvek::backup
