#pragma once
// The help page of each evaluation method of the source dialog: one HTML page per
// topic in the program's help folder of the current language.

#include <QString>

namespace orvek {

// The topic name of Method (0..14); empty for any other number.
QString SourceHelpTopic(int method);

// The file of Method's topic in the help folder of HelpBaseName and LanguageID.
QString SourceHelpPage(int method);

// Makes the program's help folder the current help file and shows Method's page in the
// help window (or the desktop's browser when there is none). Nothing for an unknown method.
void ShowSourceHelp(int method);

} // namespace orvek
