#pragma once
// The environment every test program prepares before its application object exists:
// a temporary home, configuration, runtime and temporary folder, and a program folder
// laid out like the build's.

#include <QString>

namespace orvek::test {

// The per-process folder that holds everything below.
QString TestRoot();
// The program folder (ORVEK_APPDIR), with a trailing "/".
QString TestProgramFolder();
// The build's folder of the program and its data folders.
QString BuildBinFolder();
// Removes the settings file, so the next read starts as on a first start.
void ClearSettingsStore();

} // namespace orvek::test
