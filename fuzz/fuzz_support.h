#pragma once
// What every fuzz target shares: the application object and a private folder made once
// per process, before the first input, as the test main does for the tests.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace orvek::fuzz {

// The private folder: HOME, the configuration folder and the temporary folder point
// into it. With Gui a QGuiApplication on the offscreen platform (fonts, text documents).
// The application object is never destroyed: at exit Qt's own globals may already be
// gone.
inline const QTemporaryDir& Start(bool gui = false)
{
    static std::unique_ptr<QTemporaryDir> folder;
    [[maybe_unused]] static QCoreApplication* app = nullptr;
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        for (const char* name : { "HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR" }) {
            const QString path = folder->filePath(name);
            QDir().mkpath(path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv(name, QFile::encodeName(path));
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = { name, nullptr };
        app = gui ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv);
    }
    return *folder;
}

// Writes Data to Path whole; False when it cannot.
inline bool WriteWhole(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

// The input as a byte array (copied: the readers keep no pointer into it).
inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace orvek::fuzz
