#pragma once
// The self-validation: the demonstration model recalculated in a tree without a window,
// five of its results compared with stored references, the run appended to the
// scrambled validation log "val.ref" in the database folder and reported as mark-up.
// The caller stops the main window's timer for the run and starts it again.

#include <QString>

namespace orvek {

// The file name of the validation log in DatabaseDir.
inline constexpr const char* kValidationLogFile = "val.ref";

// True when the demonstration model could be evaluated and the log written. ResultText
// becomes text 897 when all five results match their references, else text 898; the
// mark-up report is appended to Report. The model evaluates with two significant digits
// and derivative mode 0, the settings its references belong to; the user's settings are
// back on every exit.
bool SelfValidation(QString& ResultText, QString& Report);

// A result text as compared: cut after the fifth digit that follows its first decimal
// separator (Separator); a text without it keeps its first five characters.
QString CutResultText(const QString& text, QChar separator);
// Degrees of freedom as compared: cut before the first separator; a text without it
// stays whole.
QString CutDegreesOfFreedomText(const QString& text, QChar separator);

// The folder of the examples (with a trailing "/") and the demonstration model's file in
// the current language (Slovak for LanguageID 1, English otherwise).
QString ValidationExamplesFolder();
QString DemonstrationModelFile();

} // namespace orvek
