#pragma once
// LibreOffice as a real client: files converted headless, one office at a time with the
// build's own profile.

#include <QString>
#include <QStringList>

namespace orvek::test {

// Converts Sources with LibreOffice headless into Filter's format in the first source's
// folder; False with the reason in Error on failure.
bool ConvertWithOffice(const QStringList& sources, const QString& filter, QString& error);

// Converts Source and returns the converted file's path (its base name with Extension);
// empty with the reason in Error on failure.
QString Convert(const QString& source, const QString& filter, const QString& extension, QString& error);

} // namespace orvek::test
