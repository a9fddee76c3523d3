#include "mainwindow/main_texts.h"

#include "core/common_vars.h"
#include "core/string_table.h"

#include <QSet>
#include <cmath>

namespace orvek {

const QVector<TWindowText>& MainWindowTexts()
{
    static const QVector<TWindowText> texts {
        // Menus; the four report menus take their text as hint too.
        { "MenuFile", 79, 0 },
        { "MenuExit", 18, 0 },
        { "MenuNastroje", 80, 0 },
        { "MenuZobrazenie", 110, 0 },
        { "MenuZoom", 105, 0 },
        { "MenuZoom2", 105, 0 },
        { "MenuPomocnik", 81, 0 },
        { "menuAdministrator", 439, 0 },
        { "menuMeasurement", 714, 0 },
        { "menuValidation_in_Orvek2000", 936, 0 },
        { "menuValidacia", 888, 0 },
        { "Editovaobsahbunky2", 118, 0 },
        { "menuCopyToClipboard", 702, 0 },
        { "menuSaveToFile", 705, 705 },
        { "menuPrintPreview", 704, 704 },
        { "menuPrint", 703, 703 },
        { "menuCopy", 702, 702 },
        // Hints of the report buttons and the combos.
        { "ToolButton_Print", 0, 703 },
        { "ToolButton_PrintPreview", 0, 704 },
        { "ToolButton_Copy", 0, 702 },
        { "ToolButton_SaveToFile", 0, 705 },
        { "ComboBox_Zoom", 0, 805 },
        { "ComboBox_MainID", 0, 825 },
        // Pages.
        { "TabSheet_Struktura", 345, 0 },
        { "TabSheet_Poznamky", 347, 0 },
        { "TabSheet_VzorecPreNeistotu", 937, 0 },
        { "TabSheet_Rovnice", 367, 0 },
        { "CheckBox_ZalomitText", 1092, 0 },
        // Actions with a caption and a hint of their own.
        { "ActionVypocetDerivacie_PresnyVypocet", 377, 378 },
        { "ActionVypocetDerivacie_Diferencia", 379, 380 },
        { "ActionStromRozbalit", 47, 48 },
        { "ActionStromZmensit", 51, 52 },
        { "ActionStromZvacsit", 53, 54 },
        { "ActionZobrazitVlastnostiBuniek", 59, 60 },
        { "ActionZvyraznitLenNenaplnene", 65, 66 },
        { "ActionEditovatObsahBunky", 67, 68 },
        // Caption only.
        { "ActionFileExit", 18, 0 },
        { "ActionProgramoveStringy", 223, 0 },
        { "ActionAboutProgram", 408, 0, TWindowText::ProgramNameAfter },
        // The program's web page and support mail.
        { "ActionBrantel_HomePage", 804, 804, TWindowText::ProgramNameBefore },
        { "ActionKestravaTechnicalSupport", 771, 771, TWindowText::ProgramNameBefore },
        // Actions whose caption and hint are the same text.
        { "Action_ValidacnyProtokolOrvek", 935, 935 },
        { "ActionStartValidation", 899, 899 },
        { "ActionShowUnassigned", 884, 884 },
        { "ActionShowDeleted", 885, 885 },
        { "ActionUrobitKopiuZaznamu", 879, 879 },
        { "ActionEnableDisableMultiselection", 868, 868 },
        { "ActionSelectAllRecords", 861, 861 },
        { "ActionUnSelectAllRecords", 862, 862 },
        { "ActionMoveSelectedRecordTo", 863, 863 },
        { "ActionZobrazitVsetkyMerania", 807, 807 },
        { "ActionSearchMeasurement", 808, 808 },
        { "ActionShowMaxUncertainty", 815, 815 },
        { "ActionInsertNewFolder", 816, 816 },
        { "ActionInsertNewSub_folder", 817, 817 },
        { "ActionRenameFolder", 818, 818 },
        { "ActionDeleteFolder", 819, 819 },
        { "ActionCollapseFolderStructure", 820, 820 },
        { "ActionExpandFolderStructure", 821, 821 },
        { "ActionNewGroupOfFolders", 822, 822 },
        { "ActionDeleteGroupOfFolders", 823, 823 },
        { "ActionRenameGroupOfFolders", 824, 824 },
        { "ActionShowHideSummaryWindow", 806, 806 },
        { "ActionSuhrnVelicin", 735, 735 },
        { "ActionShortReportSaveToFile", 713, 713 },
        { "ActionVyberPreReport", 700, 700 },
        { "ActionFullReportSaveToFile", 692, 692 },
        { "aShowAllUsers", 638, 638 },
        { "ActionCopyFullReport", 691, 691 },
        { "ActionCopyShortReport", 690, 690 },
        { "ActionReportPrint", 608, 608 },
        { "ActionReportPrintPreview", 606, 606 },
        { "ActionShortReportPrintPreview", 688, 688 },
        { "ActionShortReportPrint", 689, 689 },
        { "aLogInNewUser", 521, 521 },
        { "aOdhlasenieUzivatela", 438, 438 },
        { "aDBBackup", 522, 522 },
        { "aDBRestore", 504, 504 },
        { "aZoznamUzivatelov", 535, 535 },
        { "aPrave_prihlaseni_uzivatelia", 1107, 1107 },
        { "aEvidenciaPrihlasovania", 524, 524 },
        { "aHistory", 525, 525 },
        { "ActionHelpGlossary", 410, 410 },
        { "ActionHelpContents", 411, 411 },
        { "ActionZvyraznitLenExpirovane", 402, 402 },
        { "ActionShowSourceTemplateFromDB", 392, 392 },
        { "ActionUndo", 368, 368 },
        { "ActionRedo", 369, 369 },
        { "ActionEditRecord", 349, 349 },
        { "ActionDeleteRecord", 350, 350 },
        { "ActionNewRecFromTemplateTree", 342, 342 },
        { "ActionExportTreeToFileAs", 344, 344 },
        { "Action_S2", 920, 920 },
        { "Action_S3", 800, 800 },
        { "Action_S4", 801, 801 },
        { "Action_S5_1", 802, 802 },
        { "Action_S5_2", 803, 803 },
        { "Action_S6", 933, 933 },
        { "Action_S7", 934, 934 },
        { "Action_PSV", 942, 942 },
        { "ActionCopyDiagram", 779, 779 },
        { "ActionDiagramPrintPreview", 781, 781 },
        { "ActionDiagramPrint", 780, 780 },
        { "ActionDiagramSaveToFile", 782, 782 },
    };
    return texts;
}

const QStringList& MainWindowPictureButtons()
{
    static const QStringList buttons { "SpeedButton_EditData", "SpeedButton_VymazatZaznam", "SpeedButton1",
        "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton_MoveRecord", "SpeedButton_RenameGroup",
        "SpeedButton_VymazatRozdelenie", "SpeedButton_NoveRozdelenie" };
    return buttons;
}

const QVector<int>& MainNavigatorHintTexts()
{
    static const QVector<int> hints { 336, 337, 338, 339 };
    return hints;
}

TMainDialogTexts MainDialogTexts()
{
    TMainDialogTexts texts;
    texts.OpenTitle = GetString(262);
    texts.OpenFilter = GetString(263);
    texts.SaveTitle = GetString(264);
    texts.SaveFilter = GetString(263);
    // The report's save dialog is titled like the action that opens it.
    texts.ReportTitle = GetString(692);
    texts.ReportFilter = GetString(707) + QStringLiteral("|*.rtf");
    return texts;
}

TRecordGridColumns RecordColumnsFromLayout(const TTableInfo& info, TRecordGridDescriptors* descriptors)
{
    TRecordGridColumns columns;
    QSet<int> seen;
    for (int p = 0; p < RecordGridColumnCount; ++p) {
        const int number = info.order[size_t(p)];
        if (number < 3 || number > 7 || seen.contains(number)) {
            columns = TRecordGridColumns();
            break;
        }
        seen.insert(number);
        columns.Order[size_t(p)] = number;
        columns.Widths[size_t(p)] = info.width[size_t(p)];
    }
    if (descriptors)
        for (int p = 0; p < RecordGridColumnCount; ++p)
            (*descriptors)[size_t(columns.Order[size_t(p)])].Width = columns.Widths[size_t(p)];
    return columns;
}

void StoreRecordColumns(const TRecordGridColumns& columns, TTableInfo& info)
{
    info.tag = TTableInfo::kTag;
    for (int p = 0; p < RecordGridColumnCount; ++p) {
        info.order[size_t(p)] = columns.Order[size_t(p)];
        info.width[size_t(p)] = columns.Widths[size_t(p)];
    }
}

void SetRecordGridTitles(TRecordGridDescriptors& descriptors)
{
    const int titles[] = { 646, 412, 332, 333, 334 };
    for (int d = 3; d <= 7; ++d)
        descriptors[size_t(d)].Title = GetString(titles[d - 3]);
}

QString RecordColumnTitle(const TRecordGridDescriptors& descriptors, const QString& fieldName)
{
    for (int d = 3; d <= 7; ++d)
        if (descriptors[size_t(d)].FieldName == fieldName)
            return descriptors[size_t(d)].Title;
    return QString();
}

TRecordSortFlags BuildSortFlags(const TRecordGridDescriptors& descriptors, const QVector<int>& order)
{
    TRecordSortFlags flags;
    for (const int number : order) {
        if (number < 1 || number >= int(descriptors.size()))
            continue;
        const TDefaultFieldRec& d = descriptors[size_t(number)];
        flags.Directions << d.SortOrder;
        flags.CaseFlags << (d.CaseInsensitive ? -1 : 0);
    }
    return flags;
}

int MainPanelWidth(int saved, int minimum, int current, int neighbour)
{
    if (saved >= minimum && current + neighbour >= saved)
        return saved;
    return int(std::nearbyint(minimum * 1.2));
}

} // namespace orvek
