#pragma once
// The settings files of the weighing import ("ImportAu.ini", "ImportAg.ini"): plain
// UTF-8 text, one entry per line, lines ended by CR LF, written as
//   FileNameXLS=<full path of the workbook>
//   TreeID=<ID of the target record>
//   MeasurementName=<name of the target record>
// When read, every line is searched for each key anywhere in it, in the order above;
// the value is the rest of the line after the key, trimmed, so a line with two keys
// gives the first key the whole rest of the line. A key on several lines: the last
// one wins. Lines without a key are ignored.

#include <QString>

namespace orvek {

struct TImportSettings {
    QString FileNameXLS;
    QString TreeID; // as written; the command converts it
    QString MeasurementName;
};

TImportSettings ParseImportSettings(const QString& text);
// The three lines, each ended by CR LF.
QString ImportSettingsText(const TImportSettings& settings);

// The settings file FileName is read from the program folder when it is there, else
// from the user's data folder; empty when it is in neither.
QString ImportSettingsReadPath(const QString& fileName);
// It is written into the program folder when that folder is writable, else into the
// user's data folder.
QString ImportSettingsWritePath(const QString& fileName);

// False when the file cannot be read.
bool ReadImportSettingsFile(const QString& path, TImportSettings& settings);
// Replaces the file whole, or leaves the old one when the write fails.
bool WriteImportSettingsFile(const QString& path, const TImportSettings& settings);

} // namespace orvek
