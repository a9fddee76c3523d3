#pragma once
// The program's help: HTML pages in AppDir + "help/", one folder per help file and
// language (<base>_EN, <base>_SK), each with an "index.html" contents page. Czech
// users read the Slovak pages.

#include <QString>

class QUrl;

namespace orvek {

// The folder of help file Base for LanguageID (without trailing "/").
QString HelpFolder(const QString& base);

// Makes ApplicationHelpFile the program's help folder (HelpBaseName) and opens its
// contents in the help window (or the desktop's browser when there is none).
void ShowHelpContents();
// The same for the glossary.
void ShowHelpGlossary();

// Opens a web page or mail address (the program's home page, technical support) with
// the desktop's program for it; where the desktop has none, a message gives the address.
void OpenWebAddress(const QUrl& url);

} // namespace orvek
