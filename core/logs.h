#pragma once
// The two log files of the program folder. A log that cannot be written is skipped:
// logging never stops the program.

#include <QString>

namespace orvek {

inline constexpr const char* kTraceFileName = "OrvekErrFile.dat";
// The start-up error log of the program folder.
inline constexpr const char* kErrorLogFileName = "ErrorLogFile";

// Appends "<date> - <time> - <text>" to AppDir + "OrvekErrFile.dat"; False when the
// file could not be written.
bool AppendErrFile(const QString& text);

// Appends to AppDir + FileName: "<date>  <time>  " and 41 "-", the text, 49 "-".
void AppendLogBlock(const QString& fileName, const QString& text);

} // namespace orvek
