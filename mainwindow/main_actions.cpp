#include "mainwindow/main_actions.h"

namespace orvek {

namespace {

// Enabled iff the query is open with rows and Mode <> 0: whatever shows or acts on the
// shown diagram.
const char* const kDiagramObjects[] = { "ActionEditovatObsahBunky", "ActionStromRozbalit",
    "ActionZvyraznitLenNenaplnene", "ActionZvyraznitLenExpirovane", "ActionShowMaxUncertainty",
    "ActionShowHideSummaryWindow", "ActionEditRecord", "ActionDeleteRecord", "ActionSuhrnVelicin",
    "ActionVyberPreReport", "ActionReportPrintPreview", "ActionReportPrint", "ActionFullReportSaveToFile",
    "ActionCopyFullReport", "ActionCopyShortReport", "ActionShortReportPrint", "ActionShortReportPrintPreview",
    "ActionShortReportSaveToFile", "menuSaveToFile", "menuPrintPreview", "menuPrint", "menuCopy", "ToolButton_Copy",
    "ToolButton_Print", "ToolButton_PrintPreview", "ToolButton_SaveToFile", "ActionExportTreeToFileAs",
    "RichEdit_Rovnice", "MenuZoom2", "ComboBox_Zoom", "ActionStromZvacsit", "ActionStromZmensit", "MenuZoom" };

// Enabled iff a user with rights 1 to 3 is logged in.
const char* const kUserObjects[] = { "ActionNewRecFromTemplateTree", "aOdhlasenieUzivatela", "aChangeUserPassword",
    "ActionCollapseFolderStructure", "ActionExpandFolderStructure", "ActionShowUnassigned", "ActionShowDeleted",
    "ActionStartValidation", "menuValidation_in_Orvek2000", "ActionZobrazitVlastnostiBuniek", "MenuZobrazenie",
    "menuMeasurement", "MenuNastroje", "MenuPomocnik" };

// Enabled iff an administrator (rights 1 or 2) works in one folder (not all records).
const char* const kFolderObjects[] = { "ActionInsertNewFolder", "ActionInsertNewSub_folder", "ActionRenameFolder",
    "ActionDeleteFolder", "ActionSelectAllRecords", "ActionUnSelectAllRecords", "ActionEnableDisableMultiselection" };

} // namespace

QVector<TActionState> MainActionStates(const TMainActionInputs& in)
{
    const bool hasRows = in.QueryOpen && in.RowCount > 0;
    const bool diagram = hasRows && in.Mode != 0;
    const bool admin = in.Rights == 1 || in.Rights == 2;
    const bool user = in.Rights >= 1 && in.Rights <= 3;
    const bool folderWork = admin && !in.ShowAllRecords;

    QVector<TActionState> states;
    states.append({ "Panel_Group_of_Folders", std::nullopt, in.MoreGroupsOfFolders });

    std::optional<bool> copy;
    if (in.Mode == 0)
        copy = false;
    else if (in.Mode == 1)
        copy = in.MoreGroupsOfFolders ? hasRows && in.SelectedCount <= 1 : hasRows;
    states.append({ "ActionUrobitKopiuZaznamu", copy, std::nullopt });

    for (const char* name : kFolderObjects)
        states.append({ name, folderWork, std::nullopt });
    states.append({ "ActionMoveSelectedRecordTo", folderWork && hasRows, std::nullopt });

    for (const char* name : kDiagramObjects)
        states.append({ name, diagram, std::nullopt });

    states.append({ "ActionSearchMeasurement", hasRows, std::nullopt });
    states.append({ "ActionZobrazitVsetkyMerania", hasRows, std::nullopt });

    states.append({ "ActionUndo", in.UndoTableOpen && in.UndoRowCount > 1, std::nullopt });
    states.append(
        { "ActionRedo", in.UndoTableOpen && in.UndoRowCount > 1 && in.UndoRecNo < in.UndoRowCount, std::nullopt });

    states.append({ "menuAdministrator", user, admin });
    states.append({ "ActionShowSourceTemplateFromDB", diagram && in.FromTemplateID > 0, std::nullopt });

    for (const char* name : kUserObjects)
        states.append({ name, user, std::nullopt });

    states.append({ "ActionProgramoveStringy", std::nullopt, in.Rights == 1 });
    states.append({ "aHistory", std::nullopt, admin });
    const bool imports = user && in.OstrevinMode;
    states.append({ "ActionImportDataForRegulationDiagram_Ag", std::nullopt, imports });
    states.append({ "ActionImportDataForRegulationDiagram_Au", std::nullopt, imports });
    return states;
}

const TActionState* FindActionState(const QVector<TActionState>& states, const QString& objectName)
{
    for (const TActionState& state : states)
        if (objectName == QLatin1String(state.ObjectName))
            return &state;
    return nullptr;
}

} // namespace orvek
