// Choosing the method and the distribution, the degrees-of-freedom option lists, and
// what own measurements IV and V hand on. The method list drives the pages: a page is
// shown only together with its method.

#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "sources/source_computation.h"
#include "sources/ui/reading_grid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

namespace orvek {

namespace {

constexpr int kOwnMeasurementRefusedText = 945;
// The methods of the distribution list's entries.
constexpr int kDistributionMethods[6] = { 1, 2, 3, 4, 5, 10 };

void FocusCell(QTableWidget* grid)
{
    grid->setFocus();
    grid->setCurrentCell(1, 1);
}

} // namespace

void TfOrvek6::ConnectLists()
{
    connect(ComboBox_VstupStandardnejNeistoty, &QComboBox::currentIndexChanged, this,
        &TfOrvek6::ComboBox_VstupStandardnejNeistotyChange);
    connect(Page2.ComboBox_Rozdelenie, &QComboBox::currentIndexChanged, this, &TfOrvek6::ComboBox_RozdelenieChange);
    connect(Page1.ComboBox_Rozdelenie_1, &QComboBox::activated, this, &TfOrvek6::ComboBox_Rozdelenie_1Change);
    const std::pair<QComboBox*, bool (TfOrvek6::*)()> options[] = {
        { Page1.ComboBox_Moznosti_1, &TfOrvek6::ApplyDofOption1 },
        { Page2.ComboBox_Moznosti_2_1, &TfOrvek6::ApplyDofOption2_1 },
        { Page2.ComboBox_Moznosti_2_2, &TfOrvek6::ApplyDofOption2_2 },
        { Page2.ComboBox_Moznosti_2_3, &TfOrvek6::ApplyDofOption2_3 },
        { Page2.ComboBox_Moznosti_2_4, &TfOrvek6::ApplyDofOption2_4 },
        { Page2.ComboBox_Moznosti_2_5, &TfOrvek6::ApplyDofOption2_5 },
        { Page2.ComboBox_Moznosti_2_6, &TfOrvek6::ApplyDofOption2_6 },
    };
    for (auto [list, apply] : options)
        connect(list, &QComboBox::currentIndexChanged, this, [this, apply] {
            if (!FLoaded)
                return;
            (this->*apply)();
            InvalidateResult();
        });
    connect(Page6.RadioButton_Export_SD_6, &QRadioButton::clicked, this, &TfOrvek6::RadioButton_Export_SD_6Click);
    connect(Page6.RadioButton_Export_RelSD_6, &QRadioButton::clicked, this, &TfOrvek6::RadioButton_Export_RelSD_6Click);
    connect(Page9.RadioButton_Export_SD_9, &QRadioButton::clicked, this, &TfOrvek6::RadioButton_Export_SD_9Click);
    connect(Page9.RadioButton_Export_RelSD_9, &QRadioButton::clicked, this, &TfOrvek6::RadioButton_Export_RelSD_9Click);
}

void TfOrvek6::ComboBox_VstupStandardnejNeistotyChange()
{
    if (!FLoaded)
        return;
    QComboBox* list = ComboBox_VstupStandardnejNeistoty;
    const int item = list->currentIndex();
    if ((item == 1 || item == 2) && FParentIsEquation && !QuelvarMode) {
        // An equation cell takes no mean from a series of readings: the method stays.
        MessageDlg(GetString(kOwnMeasurementRefusedText), TMsgDlgType::mtError, mbRetry);
        const QSignalBlocker block(list);
        list->setCurrentIndex(MethodListItem(FInput.TSN));
        return;
    }
    switch (item) {
    case 0: {
        QComboBox* distributions = Page2.ComboBox_Rozdelenie;
        if (distributions->currentIndex() < 0) {
            const QSignalBlocker block(distributions);
            distributions->setCurrentIndex(0);
        }
        const int sub = distributions->currentIndex();
        FInput.TSN = quint8(kDistributionMethods[sub]);
        PageControl1->setCurrentWidget(Page2.TabSheet_2);
        Page2.PageControl2->setCurrentIndex(sub);
        bool (TfOrvek6::*const apply[6])()
            = { &TfOrvek6::ApplyDofOption2_1, &TfOrvek6::ApplyDofOption2_2, &TfOrvek6::ApplyDofOption2_3,
                  &TfOrvek6::ApplyDofOption2_4, &TfOrvek6::ApplyDofOption2_5, &TfOrvek6::ApplyDofOption2_6 };
        (this->*apply[sub])();
        break;
    }
    case 1:
        FInput.TSN = 6;
        PageControl1->setCurrentWidget(Page3.TabSheet_3);
        FocusCell(Page3.StringGrid_VlastneMeranie_3);
        break;
    case 2:
        FInput.TSN = 7;
        PageControl1->setCurrentWidget(Page4.TabSheet_4);
        FocusCell(Page4.StringGrid_VlastneMeranie_4);
        break;
    case 3:
        FInput.TSN = 8;
        PageControl1->setCurrentWidget(Page5.TabSheet_5);
        break;
    case 4:
        FInput.TSN = 9;
        PageControl1->setCurrentWidget(Page6.TabSheet_6);
        FocusCell(Page6.StringGrid_VlastneMeranie_6);
        break;
    case 5:
        FInput.TSN = 11;
        PageControl1->setCurrentWidget(Page7.TabSheet_7);
        Page7.PageControl_7->setCurrentWidget(Page7.TabSheet_7_0);
        ShowIndividualsParameters();
        ArrangeChartPage();
        break;
    case 6:
        FInput.TSN = 12;
        PageControl1->setCurrentWidget(Page8.TabSheet_8);
        Page8.PageControl_8->setCurrentWidget(Page8.TabSheet_8_0);
        ShowSubgroupParameters();
        ArrangeChartPage();
        break;
    case 7:
        FInput.TSN = 13;
        PageControl1->setCurrentWidget(Page9.TabSheet_9);
        FocusCell(Page9.StringGrid_VlastneMeranie_9);
        break;
    case 8:
        FInput.TSN = 0;
        PageControl1->setCurrentWidget(Page1.TabSheet_1);
        Page1.Edit_KvalifikovanyOdhad->setFocus();
        break;
    case 9:
        FInput.TSN = 14;
        PageControl1->setCurrentWidget(Page10.TabSheet_10);
        break;
    default:
        return;
    }
    ArrangeCommentPanel();
    InvalidateResult();
}

void TfOrvek6::ComboBox_RozdelenieChange()
{
    if (!FLoaded)
        return;
    const int sub = Page2.ComboBox_Rozdelenie->currentIndex();
    if (sub < 0 || sub > 5)
        return;
    Page2.PageControl2->setCurrentIndex(sub);
    FInput.TSN = quint8(kDistributionMethods[sub]);
    switch (sub) {
    case 0:
        ApplyDofOption2_1();
        break;
    case 1:
        ApplyDofOption2_2();
        break;
    case 2:
        ApplyDofOption2_3();
        break;
    case 3:
        ApplyDofOption2_4();
        break;
    case 4:
        ApplyDofOption2_5();
        break;
    default:
        ApplyDofOption2_6();
        break;
    }
    ArrangeCommentPanel();
    InvalidateResult();
}

void TfOrvek6::ComboBox_Rozdelenie_1Change()
{
    FInput.TR_1 = quint8(std::max(0, Page1.ComboBox_Rozdelenie_1->currentIndex()) + 1);
    FOKAllowed = true;
}

void TfOrvek6::ExportStandardDeviation(int page)
{
    QRadioButton* button = page == 6 ? Page6.RadioButton_Export_SD_6 : Page9.RadioButton_Export_SD_9;
    button->setChecked(true);
    (page == 6 ? FInput.OV_6 : FInput.OV_9) = 0;
    Button_RecalculateClick();
    FOKAllowed = true;
}

void TfOrvek6::ExportRelativeDeviation(int page)
{
    if (FParentCell && FParentCell->FCellType == kUncertaintyCell) {
        // A group of sources has no value to apply a relative deviation to.
        MessageDlg(GetString(kRefusedOwnerValueText, { WithoutAccessKey(Page1.Label12->text()) }), TMsgDlgType::mtError,
            mbRetry);
        ExportStandardDeviation(page);
        return;
    }
    (page == 6 ? FInput.OV_6 : FInput.OV_9) = 1;
    Button_RecalculateClick();
    FOKAllowed = true;
}

void TfOrvek6::RadioButton_Export_SD_6Click()
{
    ExportStandardDeviation(6);
}

void TfOrvek6::RadioButton_Export_RelSD_6Click()
{
    ExportRelativeDeviation(6);
}

void TfOrvek6::RadioButton_Export_SD_9Click()
{
    ExportStandardDeviation(9);
}

void TfOrvek6::RadioButton_Export_RelSD_9Click()
{
    ExportRelativeDeviation(9);
}

} // namespace orvek
