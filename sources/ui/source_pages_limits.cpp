// The pages of the methods with a typed estimate or stated limits: the qualified
// estimate (page 1), the six distributions (page 2) and the given standard deviation
// (page 5). Each page is as short as its inputs, so that the comment panel can follow
// right under them.

#include "sources/ui/source_dialog_pages.h"
#include "sources/ui/source_page_widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

QGridLayout* PageGrid(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(3, 1);
    return grid;
}

} // namespace

void BuildSourcePage1(TSourcePage1& p)
{
    p.TabSheet_1 = MakePage("TabSheet_1");
    QWidget* s = p.TabSheet_1;
    p.Label12 = MakeLabel(s, "Label12");
    p.Edit_KvalifikovanyOdhad = MakeEdit(s, "Edit_KvalifikovanyOdhad");
    p.Edit_KvalifikovanyOdhad->setMinimumWidth(160);
    p.SpeedButton_EditConditions = MakeButton(s, "SpeedButton_EditConditions", QStringLiteral("\u2026"));
    p.Label13 = MakeLabel(s, "Label13");
    p.ComboBox_Rozdelenie_1 = MakeList(s, "ComboBox_Rozdelenie_1");
    p.Label15 = MakeLabel(s, "Label15");
    p.Edit_PocetStupnovVolnosti_1 = MakeEdit(s, "Edit_PocetStupnovVolnosti_1");
    p.Panel_Nekonecno_1 = MakeInfinityPanel(s, "Panel_Nekonecno_1");
    p.ComboBox_Moznosti_1 = MakeList(s, "ComboBox_Moznosti_1");
    p.ComboBox_Moznosti_1->hide();
    p.Label25 = MakeLabel(s, "Label25");
    p.Edit_RelNeistota_1 = MakeEdit(s, "Edit_RelNeistota_1");
    p.Label21 = MakeLabel(s, "Label21");
    p.Label21->setText(QStringLiteral("%"));

    auto* grid = new QGridLayout(s);
    grid->setContentsMargins(6, 6, 6, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    auto* estimate = new QHBoxLayout();
    estimate->setSpacing(2);
    estimate->addWidget(p.Edit_KvalifikovanyOdhad, 1);
    estimate->addWidget(p.SpeedButton_EditConditions);
    grid->addWidget(p.Label12, 0, 0);
    grid->addLayout(estimate, 0, 1);
    grid->addWidget(p.Label15, 0, 3);
    grid->addWidget(p.Edit_PocetStupnovVolnosti_1, 0, 4);
    grid->addWidget(p.Panel_Nekonecno_1, 0, 4);
    grid->addWidget(p.Label13, 1, 0);
    grid->addWidget(p.ComboBox_Rozdelenie_1, 1, 1);
    grid->addWidget(p.Label25, 1, 3);
    auto* relative = new QHBoxLayout();
    relative->setSpacing(4);
    relative->addWidget(p.Edit_RelNeistota_1, 1);
    relative->addWidget(p.Label21);
    grid->addLayout(relative, 1, 4);
    grid->addWidget(p.ComboBox_Moznosti_1, 2, 4);
    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
}

void BuildSourcePage2(TSourcePage2& p)
{
    p.TabSheet_2 = MakePage("TabSheet_2");
    QWidget* s = p.TabSheet_2;
    p.Panel3 = new QWidget(s);
    p.Panel3->setObjectName(QStringLiteral("Panel3"));
    p.Label53 = MakeLabel(p.Panel3, "Label53");
    p.ComboBox_Rozdelenie = MakeList(p.Panel3, "ComboBox_Rozdelenie");
    auto* panel = new QHBoxLayout(p.Panel3);
    panel->setContentsMargins(6, 4, 6, 0);
    panel->addWidget(p.Label53);
    panel->addWidget(p.ComboBox_Rozdelenie);
    panel->addStretch(1);

    p.PageControl2 = new QStackedWidget(s);
    p.PageControl2->setObjectName(QStringLiteral("PageControl2"));
    auto* layout = new QVBoxLayout(s);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(p.Panel3);
    layout->addWidget(p.PageControl2);

    // 2_1 rectangular
    p.TabSheet_2_1 = MakePage("TabSheet_2_1");
    p.Label2 = MakeLabel(p.TabSheet_2_1, "Label2");
    p.Edit_IntervalSpolahlivosti_2_1 = MakeEdit(p.TabSheet_2_1, "Edit_IntervalSpolahlivosti_2_1");
    p.Label16 = MakeLabel(p.TabSheet_2_1, "Label16");
    p.Edit_PocetStupnovVolnosti_2_1 = MakeEdit(p.TabSheet_2_1, "Edit_PocetStupnovVolnosti_2_1");
    p.Panel_Nekonecno_2_1 = MakeInfinityPanel(p.TabSheet_2_1, "Panel_Nekonecno_2_1");
    p.ComboBox_Moznosti_2_1 = MakeList(p.TabSheet_2_1, "ComboBox_Moznosti_2_1");
    QGridLayout* g = PageGrid(p.TabSheet_2_1);
    AddRow(g, p.Label2, p.Edit_IntervalSpolahlivosti_2_1);
    AddDofRow(g, p.ComboBox_Moznosti_2_1, p.Label16, p.Edit_PocetStupnovVolnosti_2_1, p.Panel_Nekonecno_2_1);

    // 2_2 triangular
    p.TabSheet_2_2 = MakePage("TabSheet_2_2");
    p.Label5 = MakeLabel(p.TabSheet_2_2, "Label5");
    p.Edit_IntervalSpolahlivosti_2_2 = MakeEdit(p.TabSheet_2_2, "Edit_IntervalSpolahlivosti_2_2");
    p.Label19 = MakeLabel(p.TabSheet_2_2, "Label19");
    p.Edit_PocetStupnovVolnosti_2_2 = MakeEdit(p.TabSheet_2_2, "Edit_PocetStupnovVolnosti_2_2");
    p.Panel_Nekonecno_2_2 = MakeInfinityPanel(p.TabSheet_2_2, "Panel_Nekonecno_2_2");
    p.ComboBox_Moznosti_2_2 = MakeList(p.TabSheet_2_2, "ComboBox_Moznosti_2_2");
    g = PageGrid(p.TabSheet_2_2);
    AddRow(g, p.Label5, p.Edit_IntervalSpolahlivosti_2_2);
    AddDofRow(g, p.ComboBox_Moznosti_2_2, p.Label19, p.Edit_PocetStupnovVolnosti_2_2, p.Panel_Nekonecno_2_2);

    // 2_3 t distribution with a given u
    p.TabSheet_2_3 = MakePage("TabSheet_2_3");
    p.Label11 = MakeLabel(p.TabSheet_2_3, "Label11");
    p.Edit_StandardnaNeistota_2_3 = MakeEdit(p.TabSheet_2_3, "Edit_StandardnaNeistota_2_3");
    p.Label30 = MakeLabel(p.TabSheet_2_3, "Label30");
    p.Edit_PocetStupnovVolnosti_2_3 = MakeEdit(p.TabSheet_2_3, "Edit_PocetStupnovVolnosti_2_3");
    p.ComboBox_Moznosti_2_3 = MakeList(p.TabSheet_2_3, "ComboBox_Moznosti_2_3");
    g = PageGrid(p.TabSheet_2_3);
    AddRow(g, p.Label11, p.Edit_StandardnaNeistota_2_3);
    AddDofRow(g, p.ComboBox_Moznosti_2_3, p.Label30, p.Edit_PocetStupnovVolnosti_2_3, nullptr);

    // 2_4 normal distribution, expanded uncertainty at a confidence
    p.TabSheet_2_4 = MakePage("TabSheet_2_4");
    p.Label9 = MakeLabel(p.TabSheet_2_4, "Label9");
    p.Edit_RozsirenaNeistota_2_4 = MakeEdit(p.TabSheet_2_4, "Edit_RozsirenaNeistota_2_4");
    p.Label6 = MakeLabel(p.TabSheet_2_4, "Label6");
    p.ComboBox_KonfidencnaPravdepodobnost = MakeList(p.TabSheet_2_4, "ComboBox_KonfidencnaPravdepodobnost");
    p.Label18 = MakeLabel(p.TabSheet_2_4, "Label18");
    p.Edit_PocetStupnovVolnosti_2_4 = MakeEdit(p.TabSheet_2_4, "Edit_PocetStupnovVolnosti_2_4");
    p.ComboBox_Moznosti_2_4 = MakeList(p.TabSheet_2_4, "ComboBox_Moznosti_2_4");
    g = PageGrid(p.TabSheet_2_4);
    AddRow(g, p.Label9, p.Edit_RozsirenaNeistota_2_4);
    AddRow(g, p.Label6, p.ComboBox_KonfidencnaPravdepodobnost);
    AddDofRow(g, p.ComboBox_Moznosti_2_4, p.Label18, p.Edit_PocetStupnovVolnosti_2_4, nullptr);

    // 2_5 U-shaped
    p.TabSheet_2_5 = MakePage("TabSheet_2_5");
    p.Label37 = MakeLabel(p.TabSheet_2_5, "Label37");
    p.Edit_IntervalSpolahlivosti_2_5 = MakeEdit(p.TabSheet_2_5, "Edit_IntervalSpolahlivosti_2_5");
    p.Label24 = MakeLabel(p.TabSheet_2_5, "Label24");
    p.Edit_PocetStupnovVolnosti_2_5 = MakeEdit(p.TabSheet_2_5, "Edit_PocetStupnovVolnosti_2_5");
    p.Panel_Nekonecno_2_5 = MakeInfinityPanel(p.TabSheet_2_5, "Panel_Nekonecno_2_5");
    p.ComboBox_Moznosti_2_5 = MakeList(p.TabSheet_2_5, "ComboBox_Moznosti_2_5");
    g = PageGrid(p.TabSheet_2_5);
    AddRow(g, p.Label37, p.Edit_IntervalSpolahlivosti_2_5);
    AddDofRow(g, p.ComboBox_Moznosti_2_5, p.Label24, p.Edit_PocetStupnovVolnosti_2_5, p.Panel_Nekonecno_2_5);

    // 2_6 trapezoidal
    p.TabSheet_2_6 = MakePage("TabSheet_2_6");
    p.Label22 = MakeLabel(p.TabSheet_2_6, "Label22");
    p.Edit_TvarovyFaktor = MakeEdit(p.TabSheet_2_6, "Edit_TvarovyFaktor");
    p.Label23 = MakeLabel(p.TabSheet_2_6, "Label23");
    p.Edit_PolosirkaDistribucie = MakeEdit(p.TabSheet_2_6, "Edit_PolosirkaDistribucie");
    p.Label38 = MakeLabel(p.TabSheet_2_6, "Label38");
    p.Edit_PocetStupnovVolnosti_2_6 = MakeEdit(p.TabSheet_2_6, "Edit_PocetStupnovVolnosti_2_6");
    p.Panel_Nekonecno_2_6 = MakeInfinityPanel(p.TabSheet_2_6, "Panel_Nekonecno_2_6");
    p.ComboBox_Moznosti_2_6 = MakeList(p.TabSheet_2_6, "ComboBox_Moznosti_2_6");
    g = PageGrid(p.TabSheet_2_6);
    AddRow(g, p.Label22, p.Edit_TvarovyFaktor);
    AddRow(g, p.Label23, p.Edit_PolosirkaDistribucie);
    AddDofRow(g, p.ComboBox_Moznosti_2_6, p.Label38, p.Edit_PocetStupnovVolnosti_2_6, p.Panel_Nekonecno_2_6);

    for (QWidget* sheet :
        { p.TabSheet_2_1, p.TabSheet_2_2, p.TabSheet_2_3, p.TabSheet_2_4, p.TabSheet_2_5, p.TabSheet_2_6 })
        p.PageControl2->addWidget(sheet);
}

void BuildSourcePage5(TSourcePage5& p)
{
    p.TabSheet_5 = MakePage("TabSheet_5");
    QWidget* s = p.TabSheet_5;
    p.Label35 = MakeLabel(s, "Label35");
    p.Edit_StandardnaOdchylka_5 = MakeEdit(s, "Edit_StandardnaOdchylka_5");
    p.Label36 = MakeLabel(s, "Label36");
    p.Edit_PocetStupnovVolnosti_5 = MakeEdit(s, "Edit_PocetStupnovVolnosti_5");
    QGridLayout* g = PageGrid(s);
    AddRow(g, p.Label35, p.Edit_StandardnaOdchylka_5);
    AddRow(g, p.Label36, p.Edit_PocetStupnovVolnosti_5);
}

} // namespace orvek
