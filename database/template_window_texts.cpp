#include "database/template_window_texts.h"

#include "core/common_vars.h"
#include "core/string_table.h"

namespace orvek {

namespace {

QString Composed(int text, TWindowText::Compose composition)
{
    const QString part = GetString(text);
    switch (composition) {
    case TWindowText::ProgramNameBefore:
        return ProgramName + QLatin1Char(' ') + part;
    case TWindowText::ProgramNameAfter:
        return part + QLatin1Char(' ') + ProgramName;
    case TWindowText::Plain:
        break;
    }
    return part;
}

} // namespace

QString WindowTextCaption(const TWindowText& entry)
{
    return entry.Caption ? Composed(entry.Caption, entry.Composition) : QString();
}

QString WindowTextHint(const TWindowText& entry)
{
    return entry.Hint ? Composed(entry.Hint, entry.Composition) : QString();
}

const QVector<TWindowText>& TemplateWindowTexts()
{
    static const QVector<TWindowText> texts {
        // Menus; the four report menus take their text as hint too.
        { "MenuFile", 79, 0 },
        { "MenuNastroje", 80, 0 },
        { "MenuZobrazenie", 110, 0 },
        { "MenuZoom", 105, 0 },
        { "MenuZoom2", 105, 0 },
        { "MenuPomocnik", 81, 0 },
        { "MenuExit", 391, 0 },
        { "menuValidation_in_Orvek2000", 936, 0 },
        { "menuValidacia", 888, 0 },
        { "menuAdministrator", 439, 0 },
        { "menuTemplate", 711, 0 },
        { "menuSaveToFile", 705, 705 },
        { "menuPrintPreview", 704, 704 },
        { "menuPrint", 703, 703 },
        { "menuCopy", 702, 702 },
        { "menuCopyToClipboard", 702, 0 },
        // Items of the diagram's pop-up menu.
        { "Editovaobsahbunky2", 118, 0 },
        { "RovnicuZmenitNaVelicinu", 120, 0 },
        { "RovnicuZmenitNaNovuRovnicu", 122, 0 },
        { "VelicinuZmenitNaNovuRovnicu", 126, 0 },
        { "Vymazaoznaen1", 129, 0 },
        { "ZablokovaOdblokovaoznaen1", 130, 0 },
        { "PridatNovuNeistotuMainMenu", 131, 0 },
        { "ActionCloseWindowandAddTemplateToDB", 764, 389 },
        // Pages and labels.
        { "TabSheet_Struktura", 345, 0 },
        { "TabSheet_Poznamky", 347, 0 },
        { "TabSheet_VzorecPreNeistotu", 937, 0 },
        { "Label_Rovnice", 367, 0 },
        { "CheckBox_ZalomitText", 1092, 0 },
        // Hints of the combos and of the drop-down report buttons.
        { "ComboBox_Zoom", 0, 805 },
        { "ComboBox_MainID", 0, 825 },
        { "ToolButton_Print", 0, 703 },
        { "ToolButton_PrintPreview", 0, 704 },
        { "ToolButton_Copy", 0, 702 },
        { "ToolButton_SaveToFile", 0, 705 },
        // Actions: caption and hint.
        { "ActionShowHistory", 525, 525 },
        { "ActionShowUnassigned", 886, 886 },
        { "ActionShowDeleted", 887, 887 },
        { "Action_S2", 920, 920 },
        { "Action_S3", 800, 800 },
        { "Action_S4", 801, 801 },
        { "Action_S5_1", 802, 802 },
        { "Action_S5_2", 803, 803 },
        { "Action_S6", 933, 933 },
        { "Action_S7", 934, 934 },
        { "Action_PSV", 942, 942 },
        { "ActionEnableDisableMultiselection", 868, 868 },
        { "ActionSelectAllRecords", 861, 861 },
        { "ActionUnSelectAllRecords", 862, 862 },
        { "ActionMoveSelectedRecordTo", 863, 863 },
        { "ActionHelpGlossary", 410, 410 },
        { "ActionHelpContents", 411, 411 },
        { "ActionShowAllTemplates", 809, 809 },
        { "ActionSearchTemplates", 810, 810 },
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
        { "ActionUrobitKopiuZaznamu", 709, 709 },
        { "ActionVyberPreReport", 700, 700 },
        { "ActionFullReportSaveToFile", 692, 692 },
        { "ActionCopyFullReport", 691, 691 },
        { "ActionCopyShortReport", 690, 690 },
        { "ActionReportPrint", 608, 608 },
        { "ActionReportPrintPreview", 606, 606 },
        { "ActionShortReportPrintPreview", 688, 688 },
        { "ActionShortReportPrint", 689, 689 },
        { "ActionZvyraznitLenNenaplnene", 65, 66 },
        { "ActionZvyraznitLenExpirovane", 402, 402 },
        { "ActionEditovatObsahBunky", 67, 68 },
        { "ActionUndo", 368, 368 },
        { "ActionRedo", 369, 369 },
        { "ActionEditRecord", 349, 349 },
        { "ActionDeleteRecord", 350, 350 },
        { "ActionNewRecFromNewTree", 340, 340 },
        { "ActionNewRecFromFileTree", 651, 651 },
        { "ActionExportTreeToFileAs", 712, 712 },
        { "ActionRovnicaNaVelicinu", 31, 32 },
        { "ActionRovnicaNaInuRovnicuNovu", 33, 34 },
        { "ActionVelicinaNaRovnicuNovu", 37, 38 },
        { "ActionNeistotaNova", 41, 42 },
        { "ActionNeistotaVymazat", 43, 44 },
        { "ActionNeistotaAnoNie", 45, 46 },
        { "ActionStromRozbalit", 47, 48 },
        { "ActionStromZmensit", 51, 52 },
        { "ActionStromZvacsit", 53, 54 },
        { "ActionZobrazitVlastnostiBuniek", 59, 60 },
        { "ActionCopyTemplate", 784, 784 },
        { "ActionTemplatePrintPreview", 785, 785 },
        { "ActionTemplatePrint", 786, 786 },
        { "ActionTemplateSaveAs", 783, 783 },
        // Composed with the program's name.
        { "ActionBrantel_HomePage", 804, 804, TWindowText::ProgramNameBefore },
        { "ActionKestravaTechnicalSupport", 771, 771, TWindowText::ProgramNameBefore },
        { "ActionAboutProgram", 408, 0, TWindowText::ProgramNameAfter },
    };
    return texts;
}

const QStringList& TemplateWindowPictureButtons()
{
    static const QStringList names { QStringLiteral("SpeedButton_EditData"), QStringLiteral("SpeedButton_MoveRecord"),
        QStringLiteral("SpeedButton_VymazatZaznam"), QStringLiteral("SpeedButton1"), QStringLiteral("SpeedButton2"),
        QStringLiteral("SpeedButton3"), QStringLiteral("SpeedButton4"), QStringLiteral("SpeedButton_RenameGroup"),
        QStringLiteral("SpeedButton_VymazatRozdelenie"), QStringLiteral("SpeedButton_NoveRozdelenie") };
    return names;
}

const QVector<int>& TemplateNavigatorHintTexts()
{
    static const QVector<int> hints { 336, 337, 338, 339 };
    return hints;
}

QString TemplatePageNumberText()
{
    return GetString(609) + QStringLiteral(" %d");
}

QString ProductWebPage(int languageId)
{
    return languageId == 1 ? QStringLiteral("https://www.example.org/orvek/sk/")
                           : QStringLiteral("https://www.example.org/orvek/en/");
}

} // namespace orvek
