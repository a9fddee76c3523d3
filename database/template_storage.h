#pragma once
// Storage operations on the templates of TemplateDB that the template window runs:
// adding templates (from a new equation, from model files, as a copy), editing a
// template's head, deleting (to the bin, then for good) and moving a selection between
// folders. Each operation is one write transaction: it happens whole or not at all. New
// row IDs come from the insert itself, never from "the last row", which another
// workstation may have added meanwhile. Moves and head edits write only their own
// columns, which the row change counter ignores, so they never make another
// workstation's open copy look stale.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;
class QSqlDatabase;

namespace orvek {

class TCell;
struct TPrenosInfoDoNovejBunky;
struct TInfo_o_bunkach_typu_velicina;
struct TNewEquationDialogData;

// Where a new template goes and who makes it.
struct TTemplateTarget {
    int GroupID = 0; // CurrentGroupID
    int UserID = 0; // PracovnikID: CurrentUserID
    QString FolderColumn = QStringLiteral("IDDB1"); // the group's folder column
    QString FolderID = QStringLiteral("0");
};

// The head and diagram of a template to add.
struct TNewTemplate {
    QString CreatedBy;
    QString TemplateName;
    QString MainEquation;
    QString Strom; // the diagram text
};

// Appends a TemplateDB row (CreateDate today, unlocked) and gives its ID in NewID.
// False with Error, nothing written, on a database error.
bool AddTemplateRow(
    QSqlDatabase& db, const TTemplateTarget& target, const TNewTemplate& item, int& newId, QString* error = nullptr);

// The main equation of a plain diagram text, as the template list shows it: the first
// "VarSumbol=" line gives the symbol and the first "Equation=" line the equation (each
// without its key, its final character and its lock suffix, trimmed); the result is
// symbol + " = " + equation. Reading stops when both are found.
QString ReadMainEquation(QIODevice& device);
// The same from a plain diagram-text file; False when it cannot be opened.
bool ReadMainEquation(const QString& fileName, QString& text);

// The tree of a new template (PrazdnyStrom): a root equation cell from EquationCellInfo
// and, for each quantity 1..Count, a quantity cell; a quantity whose value type is 0
// (uncertainty from its sources) gets one uncertainty cell named text 112 + " " + text
// 303 + " " + its symbol with a cleared source record. The tree has no window.
std::unique_ptr<TCell> PrazdnyStrom(
    const TPrenosInfoDoNovejBunky& equationCellInfo, const TInfo_o_bunkach_typu_velicina& quantities);

// The records of a new template from what the equation-cell dialog gave back: the
// equation cell (its equation without blanks as the normalised equation, Active) and
// one quantity per grid row whose symbol is not blank (at most 100; the cell name is
// the quantity name, or the symbol when that is empty). False when the dialog listed
// no quantity: no template is made then.
bool NewTemplateRecords(const TNewEquationDialogData& data, TPrenosInfoDoNovejBunky& equationCellInfo,
    TInfo_o_bunkach_typu_velicina& quantities);

// Stores Root as a new template of CurrentUserName (NovyStromDoDatabazy): named after
// the root's cell name, with the root's symbol + " = " + equation as main equation.
bool AddTreeAsTemplate(
    QSqlDatabase& db, const TTemplateTarget& target, TCell& root, int& newId, QString* error = nullptr);

// How a model file names its template when no name is given.
enum class TImportNaming {
    KeepUnderscores, // the file import: the base name as it stands
    BlanksForUnderscores, // validation examples and copies: every "_" becomes a blank
};

// The template name of a model file: its base name without folder and extension.
QString TemplateNameOfFile(const QString& fileName, TImportNaming naming);

// Adds one template from a model file (NovyStromZoSuboru). The file is first read into
// a scratch tree; a file that does not read is refused with the reason and nothing is
// written. TemplateName, when empty, comes from the file name by Naming.
bool ImportModelFile(QSqlDatabase& db, const TTemplateTarget& target, const QString& createdBy, const QString& fileName,
    const QString& templateName, TImportNaming naming, int& newId, QString* error = nullptr);

struct TImportFailure {
    QString FileName;
    QString Reason;
};

struct TImportResult {
    int FirstID = 0; // the first template added; 0 when none was
    int Added = 0;
    QStringList NotModelFiles; // names that do not end in ".stm" (any case): skipped
    QList<TImportFailure> Failed; // files that did not import, with the reason
    // The report for the user: the number added (text 21800), then every failed file
    // with its reason (text 21801); empty when nothing was asked for.
    QString MessageText() const;
};

// Imports model files as templates of CreatedBy (the batch import: names keep their
// underscores), each in a transaction of its own. A file that fails is skipped and
// named in the result; the files before and after it are imported. With more than two
// files the batch progress window shows Caption and steps once per file.
TImportResult ImportModelFiles(QSqlDatabase& db, const TTemplateTarget& target, const QString& createdBy,
    const QStringList& fileNames, const QString& caption = QString());

// The name the copy dialog proposes: the template's name + " (" + text 880 + ")".
QString CopyNameProposal(const QString& templateName);
// Stores Root as a new template named Name and created by CreatedBy (the copy of a
// template, CopyTemplateAsNew).
bool CopyTemplateAsNew(QSqlDatabase& db, const TTemplateTarget& target, TCell& root, const QString& createdBy,
    const QString& name, int& newId, QString* error = nullptr);

enum class THeadEditOutcome {
    Written,
    InUse, // records were made from the template: nothing is written
    Missing,
    Failed,
};
// Writes CreateDate and TemplateName of template ID, nothing else.
THeadEditOutcome WriteTemplateHead(
    QSqlDatabase& db, int templateId, const QDate& createDate, const QString& templateName, QString* error = nullptr);

struct TDeleteResult {
    bool Ok = false; // False: a database error, nothing changed (Error says why)
    int Moved = 0; // moved to the bin
    int Deleted = 0; // deleted for good
    // Kept in the bin: records were made from them, another user holds them open, or
    // they are not in the bin; their IDs, in selection order.
    QList<int> Kept;
    int Missing = 0;
    QString Error;
};

// Deletes the selected templates by the bin rules. Outside the bin (InBin False) each
// one goes to the bin: every folder column of the row ("IDDB" + group) becomes "1".
// In the bin they are deleted for good, except those from which records were made,
// those another user holds open, and those not in the bin (FolderColumn is not "1"):
// these are kept and listed. Everything in one transaction.
TDeleteResult DeleteTemplates(
    QSqlDatabase& db, const QList<int>& ids, bool inBin, const QString& folderColumn, int userId);

// The question before deleting for good: text 335 for one template, text 869 with the
// count for several.
QString DeleteForGoodQuestion(int count);
// The notice after a delete that kept some: text 882 with the selected and kept counts.
QString KeptTemplatesText(int selected, int kept);

struct TMoveResult {
    bool Ok = false;
    int Moved = 0;
    int Skipped = 0; // not found
    QString Error;
};
// Files the selected templates in folder FolderID of FolderColumn, in one transaction.
TMoveResult MoveTemplatesToFolder(
    QSqlDatabase& db, const QList<int>& ids, const QString& folderColumn, const QString& folderId);

// The ID of the lowest template of group GroupID created by "Validation" whose upper-
// cased name equals the upper-cased Name (FindValidationTemplate); 0 when there is
// none or the database cannot be read.
int FindValidationTemplate(QSqlDatabase& db, int groupId, const QString& name);

// The folder of group GroupID's template folder table named by text 919, created at the
// top level beside the first folder when missing. False with Error on a database error.
bool EnsureValidationFolder(QSqlDatabase& db, int groupId, QString& folderId, QString* error = nullptr);

// The summary of quantities over the tree of Root (the template window's
// ActionSuhrnVelicin): QuantityList is filled from the tree and shown through the
// quantity-summary service with the lock mode EditMode; after OK every equation or
// quantity cell whose value text differs from its entry takes the entry's text. When a
// value changed the model is recalculated and the tree reported changed
// (CellTreeChanged), so that the window's tick stores it. QuantityList is empty
// afterwards. True when a value changed; False also without the service.
bool RunQuantitySummary(TCell& root);

// Writes the tree of Root as a model file (ExportTreeToFile): the save dialog, titled
// Caption, starts in TreesDir and proposes the template name made safe as a file name;
// a template name that is no valid file name asks text 670 (Yes/Cancel) first. A chosen
// name that is no valid file name is refused (text 668), as is a folder that does not
// exist (text 669); a failed write is shown (text 21807). After a write TreesDir is the
// file's folder. True when the file was written, with its full name in WrittenFile.
// Filter is the dialog's file-type filter; empty: the model files' (DiagramFileFilter).
bool ExportTreeToFile(TCell& root, const QString& templateName, const QString& caption, QString* writtenFile = nullptr,
    const QString& filter = QString());

// The file-type filter of model files with Extension ("stm", "dstm") in the program's
// language: "Model files (*.stm)|*.stm", the main window's filter of the same files.
QString DiagramFileFilter(const QString& extension);

// The folder a pick opens on when the group has no templates: the folder that follows
// the one named by text 927 in the group's template folders (its ID plus 2 for
// LanguageID 1, plus 1 for the other languages). Empty when either folder is missing.
QString ExamplesFallbackFolder(QSqlDatabase& db, int groupId, int languageId);

// The creator of imported validation examples.
inline const QString kValidationCreator = QStringLiteral("Validation");

} // namespace orvek
