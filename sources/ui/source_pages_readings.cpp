// The pages of the methods that work on a column of readings (pages 3, 4, 6, 9 and
// 10): the reading grid with its copy and paste buttons on the left, the inputs and
// results beside it.

#include "sources/ui/reading_grid.h"
#include "sources/ui/source_dialog_pages.h"
#include "sources/ui/source_page_widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

// Lays out a reading page: the buttons over the grid on the left, Results on the right.
QGridLayout* LayOutReadingPage(QWidget* page, QTableWidget* grid, QToolButton* copy, QToolButton* paste)
{
    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(2);
    buttons->addWidget(copy);
    buttons->addWidget(paste);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout();
    left->setSpacing(2);
    left->addLayout(buttons);
    left->addWidget(grid, 1);

    auto* results = new QGridLayout();
    results->setHorizontalSpacing(8);
    results->setVerticalSpacing(4);
    auto* right = new QVBoxLayout();
    right->addLayout(results);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(left, 0);
    layout->addLayout(right, 1);
    return results;
}

QToolButton* CopyButton(QWidget* page, const char* name)
{
    return MakeCopyButton(page, name);
}

QToolButton* PasteButton(QWidget* page, const char* name)
{
    return MakePasteButton(page, name);
}

void FitGridWidth(QTableWidget* grid)
{
    FitReadingGridWidth(*grid);
}

} // namespace

void BuildSourcePage3(TSourcePage3& p)
{
    p.TabSheet_3 = MakePage("TabSheet_3");
    QWidget* s = p.TabSheet_3;
    p.StringGrid_VlastneMeranie_3 = MakeReadingGrid(s, "StringGrid_VlastneMeranie_3", 1);
    FitGridWidth(p.StringGrid_VlastneMeranie_3);
    p.SpeedButton_Copy_VlastneMeranie_3 = CopyButton(s, "SpeedButton_Copy_VlastneMeranie_3");
    p.SpeedButton_Paste_VlastneMeranie_3 = PasteButton(s, "SpeedButton_Paste_VlastneMeranie_3");
    p.Label14 = MakeLabel(s, "Label14");
    p.Edit_AritmetickyPriemer_3 = MakeEdit(s, "Edit_AritmetickyPriemer_3", true);
    p.Label17 = MakeLabel(s, "Label17");
    p.Edit_StandardnaOdchylka_3 = MakeEdit(s, "Edit_StandardnaOdchylka_3", true);
    p.Label10 = MakeLabel(s, "Label10");
    p.Edit_StandardnaOdchylkaPriemeru_3 = MakeEdit(s, "Edit_StandardnaOdchylkaPriemeru_3", true);
    p.LabelRelative3 = MakeLabel(s, "LabelRelative3");
    p.Edit_RelStandardnaOdchylkaPriemeru_3 = MakeEdit(s, "Edit_RelStandardnaOdchylkaPriemeru_3", true);
    p.Label26 = MakeLabel(s, "Label26");
    p.Edit_PocetstupnovVolnosti_3 = MakeEdit(s, "Edit_PocetstupnovVolnosti_3", true);
    QGridLayout* r = LayOutReadingPage(
        s, p.StringGrid_VlastneMeranie_3, p.SpeedButton_Copy_VlastneMeranie_3, p.SpeedButton_Paste_VlastneMeranie_3);
    AddRow(r, p.Label14, p.Edit_AritmetickyPriemer_3);
    AddRow(r, p.Label17, p.Edit_StandardnaOdchylka_3);
    AddRow(r, p.Label10, p.Edit_StandardnaOdchylkaPriemeru_3);
    AddRow(r, p.LabelRelative3, p.Edit_RelStandardnaOdchylkaPriemeru_3);
    AddRow(r, p.Label26, p.Edit_PocetstupnovVolnosti_3);
}

void BuildSourcePage4(TSourcePage4& p)
{
    p.TabSheet_4 = MakePage("TabSheet_4");
    QWidget* s = p.TabSheet_4;
    p.StringGrid_VlastneMeranie_4 = MakeReadingGrid(s, "StringGrid_VlastneMeranie_4", 1);
    FitGridWidth(p.StringGrid_VlastneMeranie_4);
    p.SpeedButton_Copy_VlastneMeranie_4 = CopyButton(s, "SpeedButton_Copy_VlastneMeranie_4");
    p.SpeedButton_Paste_VlastneMeranie_4 = PasteButton(s, "SpeedButton_Paste_VlastneMeranie_4");
    p.Label7 = MakeLabel(s, "Label7");
    p.Edit_StandardnaOdchylkaPopulacie = MakeEdit(s, "Edit_StandardnaOdchylkaPopulacie");
    p.Label20 = MakeLabel(s, "Label20");
    p.Edit_AritmetickyPriemer_4 = MakeEdit(s, "Edit_AritmetickyPriemer_4", true);
    p.Label34 = MakeLabel(s, "Label34");
    p.Edit_StandardnaOdchylkaPriemeru_4 = MakeEdit(s, "Edit_StandardnaOdchylkaPriemeru_4", true);
    p.Label28 = MakeLabel(s, "Label28");
    p.Edit_PocetstupnovVolnosti_4 = MakeEdit(s, "Edit_PocetstupnovVolnosti_4");
    QGridLayout* r = LayOutReadingPage(
        s, p.StringGrid_VlastneMeranie_4, p.SpeedButton_Copy_VlastneMeranie_4, p.SpeedButton_Paste_VlastneMeranie_4);
    AddRow(r, p.Label7, p.Edit_StandardnaOdchylkaPopulacie);
    AddRow(r, p.Label20, p.Edit_AritmetickyPriemer_4);
    AddRow(r, p.Label34, p.Edit_StandardnaOdchylkaPriemeru_4);
    AddRow(r, p.Label28, p.Edit_PocetstupnovVolnosti_4);
}

void BuildSourcePage6(TSourcePage6& p)
{
    p.TabSheet_6 = MakePage("TabSheet_6");
    QWidget* s = p.TabSheet_6;
    p.StringGrid_VlastneMeranie_6 = MakeReadingGrid(s, "StringGrid_VlastneMeranie_6", 1);
    FitGridWidth(p.StringGrid_VlastneMeranie_6);
    p.SpeedButton_Copy_VlastneMeranie_6 = CopyButton(s, "SpeedButton_Copy_VlastneMeranie_6");
    p.SpeedButton_Paste_VlastneMeranie_6 = PasteButton(s, "SpeedButton_Paste_VlastneMeranie_6");
    p.Label42 = MakeLabel(s, "Label42");
    p.Edit_AritmetickyPriemer_6 = MakeEdit(s, "Edit_AritmetickyPriemer_6", true);
    p.Label43 = MakeLabel(s, "Label43");
    p.Edit_StandardnaOdchylka_6 = MakeEdit(s, "Edit_StandardnaOdchylka_6", true);
    p.Label40 = MakeLabel(s, "Label40");
    p.Edit_RelStandardnaOdchylka_6 = MakeEdit(s, "Edit_RelStandardnaOdchylka_6", true);
    p.Label41 = MakeLabel(s, "Label41");
    p.Edit_PocetstupnovVolnosti_6 = MakeEdit(s, "Edit_PocetstupnovVolnosti_6");
    p.Label29 = MakeLabel(s, "Label29");
    p.RadioButton_Export_SD_6 = new QRadioButton(s);
    p.RadioButton_Export_SD_6->setObjectName(QStringLiteral("RadioButton_Export_SD_6"));
    p.RadioButton_Export_RelSD_6 = new QRadioButton(s);
    p.RadioButton_Export_RelSD_6->setObjectName(QStringLiteral("RadioButton_Export_RelSD_6"));
    QGridLayout* r = LayOutReadingPage(
        s, p.StringGrid_VlastneMeranie_6, p.SpeedButton_Copy_VlastneMeranie_6, p.SpeedButton_Paste_VlastneMeranie_6);
    r->addWidget(p.Label29, 0, 2, Qt::AlignCenter);
    AddRow(r, p.Label42, p.Edit_AritmetickyPriemer_6);
    AddRow(r, p.Label43, p.Edit_StandardnaOdchylka_6, p.RadioButton_Export_SD_6);
    AddRow(r, p.Label40, p.Edit_RelStandardnaOdchylka_6, p.RadioButton_Export_RelSD_6);
    AddRow(r, p.Label41, p.Edit_PocetstupnovVolnosti_6);
}

void BuildSourcePage9(TSourcePage9& p)
{
    p.TabSheet_9 = MakePage("TabSheet_9");
    QWidget* s = p.TabSheet_9;
    p.StringGrid_VlastneMeranie_9 = MakeReadingGrid(s, "StringGrid_VlastneMeranie_9", 1);
    FitGridWidth(p.StringGrid_VlastneMeranie_9);
    p.SpeedButton_Copy_VlastneMeranie_9 = CopyButton(s, "SpeedButton_Copy_VlastneMeranie_9");
    p.SpeedButton_Paste_VlastneMeranie_9 = PasteButton(s, "SpeedButton_Paste_VlastneMeranie_9");
    p.Label50 = MakeLabel(s, "Label50");
    p.Edit_AritmetickyPriemer_9 = MakeEdit(s, "Edit_AritmetickyPriemer_9", true);
    p.Label51 = MakeLabel(s, "Label51");
    p.Edit_StandardnaOdchylka_9 = MakeEdit(s, "Edit_StandardnaOdchylka_9", true);
    p.Label52 = MakeLabel(s, "Label52");
    p.Edit_RelStandardnaOdchylka_9 = MakeEdit(s, "Edit_RelStandardnaOdchylka_9", true);
    p.Label49 = MakeLabel(s, "Label49");
    p.Edit_PocetstupnovVolnosti_9 = MakeEdit(s, "Edit_PocetstupnovVolnosti_9");
    p.LabelExport9 = MakeLabel(s, "LabelExport9");
    p.RadioButton_Export_SD_9 = new QRadioButton(s);
    p.RadioButton_Export_SD_9->setObjectName(QStringLiteral("RadioButton_Export_SD_9"));
    p.RadioButton_Export_RelSD_9 = new QRadioButton(s);
    p.RadioButton_Export_RelSD_9->setObjectName(QStringLiteral("RadioButton_Export_RelSD_9"));
    QGridLayout* r = LayOutReadingPage(
        s, p.StringGrid_VlastneMeranie_9, p.SpeedButton_Copy_VlastneMeranie_9, p.SpeedButton_Paste_VlastneMeranie_9);
    r->addWidget(p.LabelExport9, 0, 2, Qt::AlignCenter);
    AddRow(r, p.Label50, p.Edit_AritmetickyPriemer_9);
    AddRow(r, p.Label51, p.Edit_StandardnaOdchylka_9, p.RadioButton_Export_SD_9);
    AddRow(r, p.Label52, p.Edit_RelStandardnaOdchylka_9, p.RadioButton_Export_RelSD_9);
    AddRow(r, p.Label49, p.Edit_PocetstupnovVolnosti_9);
}

void BuildSourcePage10(TSourcePage10& p)
{
    p.TabSheet_10 = MakePage("TabSheet_10");
    QWidget* s = p.TabSheet_10;
    p.StringGrid_VlastneMeranie_10 = MakeReadingGrid(s, "StringGrid_VlastneMeranie_10", 2);
    FitGridWidth(p.StringGrid_VlastneMeranie_10);
    p.SpeedButton_Copy_VlastneMeranie_10 = CopyButton(s, "SpeedButton_Copy_VlastneMeranie_10");
    p.SpeedButton_Paste_VlastneMeranie_10 = PasteButton(s, "SpeedButton_Paste_VlastneMeranie_10");
    p.LabelMean10 = MakeLabel(s, "LabelMean10");
    p.Edit_AritmetickyPriemer_10 = MakeEdit(s, "Edit_AritmetickyPriemer_10", true);
    p.LabelUncertainty10 = MakeLabel(s, "LabelUncertainty10");
    p.Edit_StandardnaOdchylka_10 = MakeEdit(s, "Edit_StandardnaOdchylka_10", true);
    p.LabelDof10 = MakeLabel(s, "LabelDof10");
    p.Edit_PocetstupnovVolnosti_10 = MakeEdit(s, "Edit_PocetstupnovVolnosti_10", true);
    // The record has no results for these two; they stay hidden and empty.
    p.Edit_StandardnaOdchylkaPriemeru_10 = MakeEdit(s, "Edit_StandardnaOdchylkaPriemeru_10", true);
    p.Edit_StandardnaOdchylkaPriemeru_10->hide();
    p.Edit_RelStandardnaOdchylkaPriemeru_10 = MakeEdit(s, "Edit_RelStandardnaOdchylkaPriemeru_10", true);
    p.Edit_RelStandardnaOdchylkaPriemeru_10->hide();
    QGridLayout* r = LayOutReadingPage(
        s, p.StringGrid_VlastneMeranie_10, p.SpeedButton_Copy_VlastneMeranie_10, p.SpeedButton_Paste_VlastneMeranie_10);
    AddRow(r, p.LabelMean10, p.Edit_AritmetickyPriemer_10);
    AddRow(r, p.LabelUncertainty10, p.Edit_StandardnaOdchylka_10);
    AddRow(r, p.LabelDof10, p.Edit_PocetstupnovVolnosti_10);
}

} // namespace orvek
