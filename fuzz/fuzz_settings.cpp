// The settings store: the input is the user's settings file, which the program reads
// whole at start and in parts later.

#include "core/settings.h"
#include "fuzz_support.h"
#include "platform/registry.h"

#include <QDir>
#include <QSettings>
#include <sys/time.h>

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QTemporaryDir& folder = fuzz::Start();
    const QString path = folder.filePath("XDG_CONFIG_HOME/Kestrava/Orvek.ini");
    static bool made = QDir().mkpath(folder.filePath("XDG_CONFIG_HOME/Kestrava"));
    if (!made || !fuzz::WriteWhole(path, data, size))
        return 0;
    // Every input gets a time of its own, so that the settings cache reads it anew.
    static long seconds = 1000000000;
    const timeval times[2] = { { ++seconds, 0 }, { seconds, 0 } };
    utimes(QFile::encodeName(path).constData(), times);

    LoadSettings();
    ScaleLayoutToZoom();
    UpdateZoomPresetText();
    CheckTableLayouts();
    DeriveExponentLimits();
    int record = 0;
    LoadLastRecordOfUser(1, record);
    QString status;
    ReadDBStatus(status);
    ReadUserDataPath();

    TRegistry registry;
    if (registry.OpenKey("\\Software\\Kestrava\\Orvek\\Setup", false))
        for (const char* name : { "ZoomCoefficient", "CellHeight", "DefaultFontSize", "PathForTrees", "GridLayout" }) {
            registry.ReadInteger(name);
            registry.ReadBool(name);
            registry.ReadFloat(name);
            registry.ReadString(name);
            registry.ReadBinary(name, 52);
        }
    return 0;
}
