#pragma once
// Records the warnings Qt prints while a test runs, and still prints them. A view's
// warning that an editor "does not belong to this view" tells of an editor committed or
// closed by a view other than the one that opened it: ViewEditorWarnings() lists those.

#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvek::test {

class QtWarningRecorder {
public:
    QtWarningRecorder()
    {
        Current() = this;
        previous_ = qInstallMessageHandler(&QtWarningRecorder::Handle);
    }
    ~QtWarningRecorder()
    {
        qInstallMessageHandler(previous_);
        Current() = nullptr;
    }
    QtWarningRecorder(const QtWarningRecorder&) = delete;
    QtWarningRecorder& operator=(const QtWarningRecorder&) = delete;

    QStringList Warnings() const
    {
        QMutexLocker lock(&mutex_);
        return warnings_;
    }
    QStringList ViewEditorWarnings() const { return Warnings().filter(QStringLiteral("does not belong to this view")); }

private:
    static QtWarningRecorder*& Current()
    {
        static QtWarningRecorder* current = nullptr;
        return current;
    }
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        QtWarningRecorder* recorder = Current();
        if (recorder && type != QtDebugMsg && type != QtInfoMsg) {
            QMutexLocker lock(&recorder->mutex_);
            recorder->warnings_ << message;
        }
        if (recorder && recorder->previous_)
            recorder->previous_(type, context, message);
    }

    QtMessageHandler previous_ = nullptr;
    mutable QMutex mutex_;
    QStringList warnings_;
};

} // namespace orvek::test
