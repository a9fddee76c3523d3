#pragma once
// Records the warnings Qt prints while a recorder exists, and still prints them. A view's
// warning that an editor "does not belong to this view" tells of an editor committed or
// closed by a view other than the one that opened it: ViewEditorWarnings() lists those.
// The record lives as long as the process, so that a message from another thread while
// a recorder goes away never reaches a destroyed object.

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
        State& state = Shared();
        QMutexLocker lock(&state.mutex);
        state.warnings.clear();
        state.recording = true;
        if (!state.installed) {
            state.previous = qInstallMessageHandler(&QtWarningRecorder::Handle);
            state.installed = true;
        }
    }
    ~QtWarningRecorder()
    {
        State& state = Shared();
        QMutexLocker lock(&state.mutex);
        state.recording = false;
    }
    QtWarningRecorder(const QtWarningRecorder&) = delete;
    QtWarningRecorder& operator=(const QtWarningRecorder&) = delete;

    QStringList Warnings() const
    {
        State& state = Shared();
        QMutexLocker lock(&state.mutex);
        return state.warnings;
    }
    QStringList ViewEditorWarnings() const { return Warnings().filter(QStringLiteral("does not belong to this view")); }

private:
    struct State {
        QMutex mutex;
        QStringList warnings;
        bool recording = false;
        bool installed = false;
        QtMessageHandler previous = nullptr;
    };
    // Never destroyed: the handler may run during the process's exit.
    static State& Shared()
    {
        static State* state = new State;
        return *state;
    }
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        State& state = Shared();
        QtMessageHandler previous = nullptr;
        {
            QMutexLocker lock(&state.mutex);
            if (state.recording && type != QtDebugMsg && type != QtInfoMsg)
                state.warnings << message;
            previous = state.previous;
        }
        if (previous)
            previous(type, context, message);
    }
};

} // namespace orvek::test
