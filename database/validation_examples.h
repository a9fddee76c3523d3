#pragma once
// The validation examples: reference models shipped as model files under the program
// folder, one sub-folder per language, and the template each becomes in a group of
// folders. An example's template is created by "Validation" and named after its file.

#include <QString>
#include <array>

class QSqlDatabase;

namespace orvek {

struct TTemplateTarget;

struct TValidationExample {
    const char* Action; // the template window's action
    int Text; // caption and hint text
    const char* SlovakFile;
    const char* EnglishFile;
};

// The eight examples in menu order.
const std::array<TValidationExample, 8>& ValidationExamples();
// The example of an action name; null when there is none.
const TValidationExample* ValidationExampleOf(const QString& action);

// AppDir + "Validation/SK/" for LanguageID 1, AppDir + "Validation/EN/" for every
// other language.
QString ValidationFolder(int languageId);
// The example's file for the language, without folder.
QString ValidationFileName(const TValidationExample& example, int languageId);

// The name of an example's template: the file name without its last four characters
// (the extension), every "_" replaced by a blank.
QString ValidationTemplateName(const QString& fileName);

struct TExampleLookup {
    int TemplateID = 0; // 0: no template (folder or file missing, or the import failed)
    bool Imported = false; // the example file was imported now
    QString FolderID; // folder of an imported example: the one named by text 919
    QString Error; // why an import failed
};

// The template of example FileName in group Target.GroupID (LoadValidationExample):
// the lowest-ID template created by "Validation" under the example's name; when there is
// none and Folder + FileName exists, that file is imported into the folder named by
// text 919 (created when missing) and its new ID taken. A missing folder or file
// changes nothing. Target.FolderID is not used.
TExampleLookup FindOrImportValidationExample(
    QSqlDatabase& db, const TTemplateTarget& target, const QString& folder, const QString& fileName);

} // namespace orvek
