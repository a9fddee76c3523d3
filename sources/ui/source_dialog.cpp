// The frame of the source dialog, its creation and the reset of its inputs.

#include "sources/ui/source_dialog.h"
#include "core/dates.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "platform/ui/chart.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "sources/chart_data.h"
#include "sources/ui/reading_grid.h"
#include "sources/ui/source_data_grid.h"
#include "sources/ui/source_page_widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

constexpr int kChartRows = MaxChartPoints;

} // namespace

TfOrvek6::TfOrvek6(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvek6"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    BuildFrame();
    ConnectInputs();
    ConnectLists();
    ConnectReadingGrids();
    FormCreate();
}

TfOrvek6::~TfOrvek6()
{
    FormDestroy();
}

void TfOrvek6::BuildFrame()
{
    // Name, method and validity.
    Label3 = MakeLabel(this, "Label3");
    Edit_NazovBunky = MakeEdit(this, "Edit_NazovBunky");
    Edit_NazovBunky->setMaxLength(200);
    Label_PlatnostDo = MakeButton(this, "Label_PlatnostDo", QString(), true);
    Label_PlatnostDo->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Edit_BezObmedzenia = MakeEdit(this, "Edit_BezObmedzenia", true);
    Edit_ExpirationDate = new QDateEdit(this);
    Edit_ExpirationDate->setObjectName(QStringLiteral("Edit_ExpirationDate"));
    Edit_ExpirationDate->setCalendarPopup(true);
    InitDateFormats();
    Edit_ExpirationDate->setDisplayFormat(ShortDateFormat);
    Edit_ExpirationDate->hide();
    Panel_TypNeistoty = new QWidget(this);
    Panel_TypNeistoty->setObjectName(QStringLiteral("Panel_TypNeistoty"));
    Label4 = MakeLabel(Panel_TypNeistoty, "Label4");
    ComboBox_VstupStandardnejNeistoty = MakeList(Panel_TypNeistoty, "ComboBox_VstupStandardnejNeistoty");
    auto* method = new QHBoxLayout(Panel_TypNeistoty);
    method->setContentsMargins(0, 0, 0, 0);
    method->addWidget(Label4);
    method->addWidget(ComboBox_VstupStandardnejNeistoty);
    method->addStretch(1);

    auto* top = new QGridLayout();
    top->setHorizontalSpacing(8);
    top->addWidget(Label3, 0, 0);
    top->addWidget(Edit_NazovBunky, 0, 1);
    top->addWidget(Label_PlatnostDo, 0, 2);
    top->addWidget(Edit_BezObmedzenia, 0, 3);
    top->addWidget(Edit_ExpirationDate, 0, 3);
    top->addWidget(Panel_TypNeistoty, 1, 0, 1, 4);
    top->setColumnStretch(1, 1);
    Edit_BezObmedzenia->setMaximumWidth(140);

    // The pages, one per method (the limit methods share page 2).
    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFrameShape(QFrame::StyledPanel);
    BuildSourcePage1(Page1);
    BuildSourcePage2(Page2);
    BuildSourcePage3(Page3);
    BuildSourcePage4(Page4);
    BuildSourcePage5(Page5);
    BuildSourcePage6(Page6);
    BuildSourcePage7(Page7);
    BuildSourcePage8(Page8);
    BuildSourcePage9(Page9);
    BuildSourcePage10(Page10);
    BuildSourceChartShared(Page7.TabSheet_7_0, ChartShared);
    TabSheet_11 = MakePage("TabSheet_11");
    DataGrid1 = CreateSourceDialogDataGrid(TabSheet_11);
    for (QWidget* page : { Page1.TabSheet_1, Page2.TabSheet_2, Page3.TabSheet_3, Page4.TabSheet_4, Page5.TabSheet_5,
             Page6.TabSheet_6, Page7.TabSheet_7, Page8.TabSheet_8, Page9.TabSheet_9, Page10.TabSheet_10, TabSheet_11 })
        PageControl1->addWidget(page);

    // u and its unit.
    Label1 = MakeLabel(this, "Label1");
    Edit_HodnotaNeistoty = MakeEdit(this, "Edit_HodnotaNeistoty", true);
    Panel_JednotkaVeliciny = new QWidget(this);
    Panel_JednotkaVeliciny->setObjectName(QStringLiteral("Panel_JednotkaVeliciny"));
    Panel_JednotkaVeliciny->setMinimumWidth(120);
    Panel_JednotkaVeliciny->setFixedHeight(Edit_HodnotaNeistoty->sizeHint().height());
    auto* u = new QHBoxLayout();
    u->addWidget(Label1);
    u->addWidget(Edit_HodnotaNeistoty);
    u->addWidget(Panel_JednotkaVeliciny);
    u->addStretch(1);

    // The comment.
    Panel_Popis = new QWidget(this);
    Panel_Popis->setObjectName(QStringLiteral("Panel_Popis"));
    Label8 = MakeLabel(Panel_Popis, "Label8");
    RichEdit_PopisBunky = new TRichEdit98(Panel_Popis);
    RichEdit_PopisBunky->setObjectName(QStringLiteral("RichEdit_PopisBunky"));
    // Tab moves on to the next field of the dialog, as in every field of it.
    RichEdit_PopisBunky->setTabChangesFocus(true);
    RichEdit_PopisBunky->setMinimumHeight(60);
    SpeedButton_Editor = MakeButton(Panel_Popis, "SpeedButton_Editor", QStringLiteral("\u270E"));
    SpeedButton_CopyComment = MakeCopyButton(Panel_Popis, "SpeedButton_CopyComment");
    SpeedButton_PasteComment = MakePasteButton(Panel_Popis, "SpeedButton_PasteComment");
    PopupMenuComment = new QMenu(this);
    Fullwindow = PopupMenuComment->addAction(QString());
    Fullwindow->setObjectName(QStringLiteral("Fullwindow"));
    WordWrap1 = PopupMenuComment->addAction(QStringLiteral("Word Wrap"));
    WordWrap1->setObjectName(QStringLiteral("WordWrap1"));
    WordWrap1->setCheckable(true);
    RichEdit_PopisBunky->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit_PopisBunky, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenuComment->exec(RichEdit_PopisBunky->mapToGlobal(at)); });
    auto* commentButtons = new QVBoxLayout();
    commentButtons->setSpacing(2);
    commentButtons->addWidget(SpeedButton_Editor);
    commentButtons->addWidget(SpeedButton_CopyComment);
    commentButtons->addWidget(SpeedButton_PasteComment);
    commentButtons->addStretch(1);
    auto* comment = new QGridLayout(Panel_Popis);
    comment->setContentsMargins(0, 0, 0, 0);
    comment->setVerticalSpacing(2);
    comment->addWidget(Label8, 0, 0);
    comment->addWidget(RichEdit_PopisBunky, 1, 0);
    comment->addLayout(commentButtons, 1, 1);
    comment->setRowStretch(1, 1);

    // The bottom panel.
    Panel13 = new QWidget(this);
    Panel13->setObjectName(QStringLiteral("Panel13"));
    CheckBox_Aktivita = new QCheckBox(Panel13);
    CheckBox_Aktivita->setObjectName(QStringLiteral("CheckBox_Aktivita"));
    auto button = [this](const char* name) {
        auto* b = new QPushButton(Panel13);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    Button_Recalculate = button("Button_Recalculate");
    QDialogButtonBox* box = OkCancelButtons(Panel13, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    for (QPushButton* b : { Button_OK, Button_Cancel })
        b->setAutoDefault(false);
    Button_OK->setDefault(true);
    Button_Help = button("Button_Help");
    Button_Help->setText(QStringLiteral("?"));
    auto* bottom = new QHBoxLayout(Panel13);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(CheckBox_Aktivita);
    bottom->addStretch(1);
    bottom->addWidget(Button_Recalculate);
    bottom->addWidget(box);
    bottom->addWidget(Button_Help);

    mainLayout_ = new QVBoxLayout(this);
    mainLayout_->setContentsMargins(8, 8, 8, 8);
    mainLayout_->setSpacing(6);
    mainLayout_->addLayout(top);
    mainLayout_->addWidget(PageControl1);
    mainLayout_->addLayout(u);
    mainLayout_->addWidget(Panel_Popis, 1);
    mainLayout_->addWidget(Panel13);
    TemplateLockStatus = new QStatusBar(this);
    TemplateLockStatus->setObjectName(QStringLiteral("TemplateLockStatus"));
    TemplateLockStatus->setSizeGripEnabled(false);
    TemplateLockText = new QLabel(TemplateLockStatus);
    TemplateLockText->setObjectName(QStringLiteral("TemplateLockText"));
    TemplateLockText->setWordWrap(true);
    TemplateLockStatus->addWidget(TemplateLockText, 1);
    TemplateLockStatus->hide();
    mainLayout_->addWidget(TemplateLockStatus);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    resize(680, 480);
}

void TfOrvek6::FormCreate()
{
    FLoaded = false;
    FCommentChanged = false;
    FUnitBox = new TEditText98(
        this, QString(), 0, 0, 0, 0, true, true, true, 8, QStringLiteral("MS Sans Serif"), Panel_JednotkaVeliciny);
    Page2.ComboBox_KonfidencnaPravdepodobnost->clear();
    Page2.ComboBox_KonfidencnaPravdepodobnost->addItems({ QStringLiteral("68.27 %"), QStringLiteral("90 %"),
        QStringLiteral("95 %"), QStringLiteral("95.45 %"), QStringLiteral("99 %"), QStringLiteral("99.73 %") });
    AllocateChartData(ChartData);
    SetupChartGrid(*Page7.Table_7, 1, kChartRows);
    SetupChartGrid(*Page8.Table_8, MaxChartSubgroupSize, kChartRows);
    Page7.PageControl_7->setCurrentWidget(Page7.TabSheet_7_1);
    Page8.PageControl_8->setCurrentWidget(Page8.TabSheet_8_1);
    Timer1->stop();
    HideUnusedLimitButtons();
    RefreshTexts();
}

void TfOrvek6::FormDestroy()
{
    delete FUnitBox;
    FUnitBox = nullptr;
}

void TfOrvek6::RefreshTexts()
{
    ApplyTextsOrvek6();
}

void TfOrvek6::ClearInputs()
{
    FInput = TVstupStandardnejNeistoty();
    FComment.clear();
    FCellName.clear();
    FUnit.clear();
    FMeanText.clear();
    FCommentChanged = false;
    FHandsMean = false;
    RichEdit_PopisBunky->Clear();
    Edit_HodnotaNeistoty->clear();
    Edit_NazovBunky->clear();
    for (QLineEdit* edit :
        { Page1.Edit_KvalifikovanyOdhad, Page1.Edit_PocetStupnovVolnosti_1, Page2.Edit_IntervalSpolahlivosti_2_1,
            Page2.Edit_PocetStupnovVolnosti_2_1, Page2.Edit_IntervalSpolahlivosti_2_2,
            Page2.Edit_PocetStupnovVolnosti_2_2, Page2.Edit_StandardnaNeistota_2_3, Page2.Edit_PocetStupnovVolnosti_2_3,
            Page2.Edit_RozsirenaNeistota_2_4, Page2.Edit_PocetStupnovVolnosti_2_4, Page5.Edit_StandardnaOdchylka_5,
            Page5.Edit_PocetStupnovVolnosti_5, Page3.Edit_PocetstupnovVolnosti_3, Page4.Edit_PocetstupnovVolnosti_4,
            Page6.Edit_PocetstupnovVolnosti_6, Page9.Edit_PocetstupnovVolnosti_9, Page10.Edit_PocetstupnovVolnosti_10,
            Page4.Edit_StandardnaOdchylkaPopulacie, Page3.Edit_AritmetickyPriemer_3,
            Page3.Edit_StandardnaOdchylkaPriemeru_3, Page3.Edit_RelStandardnaOdchylkaPriemeru_3,
            Page4.Edit_AritmetickyPriemer_4, Page4.Edit_StandardnaOdchylkaPriemeru_4, Page6.Edit_AritmetickyPriemer_6,
            Page6.Edit_StandardnaOdchylka_6, Page6.Edit_RelStandardnaOdchylka_6, Page9.Edit_AritmetickyPriemer_9,
            Page9.Edit_StandardnaOdchylka_9, Page9.Edit_RelStandardnaOdchylka_9, Page10.Edit_AritmetickyPriemer_10,
            Page10.Edit_StandardnaOdchylka_10, Page10.Edit_StandardnaOdchylkaPriemeru_10,
            Page10.Edit_RelStandardnaOdchylkaPriemeru_10, Page7.Edit_CentralnaLinia_7, Page7.EditStandardnaOdchylka_7,
            Page8.Edit_CentralnaLinia_8, Page8.EditStandardnaOdchylka_8 })
        edit->clear();
    for (QTableWidget* grid :
        { Page3.StringGrid_VlastneMeranie_3, Page4.StringGrid_VlastneMeranie_4, Page6.StringGrid_VlastneMeranie_6,
            Page9.StringGrid_VlastneMeranie_9, Page10.StringGrid_VlastneMeranie_10 })
        ClearGridData(*grid);
    Page7.RichEdit_RD_Statistika_7->Clear();
    Page8.RichEdit_RD_Statistika_8->Clear();
}

void TfOrvek6::UnlockInputs()
{
    for (QWidget* control : std::initializer_list<QWidget*> { Label_PlatnostDo, ComboBox_VstupStandardnejNeistoty,
             CheckBox_Aktivita, Page1.ComboBox_Moznosti_1, Page2.ComboBox_Rozdelenie, Page2.ComboBox_Moznosti_2_3,
             Page2.ComboBox_KonfidencnaPravdepodobnost, Page2.ComboBox_Moznosti_2_4, Page3.StringGrid_VlastneMeranie_3,
             Page4.StringGrid_VlastneMeranie_4, Page6.Edit_PocetstupnovVolnosti_6 })
        control->setEnabled(true);
    for (QComboBox* fixed : { Page2.ComboBox_Moznosti_2_1, Page2.ComboBox_Moznosti_2_2, Page2.ComboBox_Moznosti_2_5 })
        fixed->setEnabled(false);
    for (QLineEdit* edit : { Page1.Edit_KvalifikovanyOdhad, Page1.Edit_RelNeistota_1, Page1.Edit_PocetStupnovVolnosti_1,
             Page2.Edit_IntervalSpolahlivosti_2_1, Page2.Edit_PocetStupnovVolnosti_2_1,
             Page2.Edit_IntervalSpolahlivosti_2_2, Page2.Edit_PocetStupnovVolnosti_2_2,
             Page2.Edit_StandardnaNeistota_2_3, Page2.Edit_PocetStupnovVolnosti_2_3, Page2.Edit_RozsirenaNeistota_2_4,
             Page2.Edit_PocetStupnovVolnosti_2_4, Page2.Edit_IntervalSpolahlivosti_2_5,
             Page2.Edit_PocetStupnovVolnosti_2_5, Page4.Edit_StandardnaOdchylkaPopulacie,
             Page4.Edit_PocetstupnovVolnosti_4, Edit_NazovBunky })
        edit->setReadOnly(false);
    RichEdit_PopisBunky->setReadOnly(false);
    for (QTableWidget* grid :
        { Page3.StringGrid_VlastneMeranie_3, Page4.StringGrid_VlastneMeranie_4, Page6.StringGrid_VlastneMeranie_6,
            Page9.StringGrid_VlastneMeranie_9, Page10.StringGrid_VlastneMeranie_10 })
        SetGridEditing(*grid, true);
}

QWidget* TfOrvek6::PageOfMethod(int method) const
{
    switch (method) {
    case 0:
        return Page1.TabSheet_1;
    case 6:
        return Page3.TabSheet_3;
    case 7:
        return Page4.TabSheet_4;
    case 8:
        return Page5.TabSheet_5;
    case 9:
        return Page6.TabSheet_6;
    case 11:
        return Page7.TabSheet_7;
    case 12:
        return Page8.TabSheet_8;
    case 13:
        return Page9.TabSheet_9;
    case 14:
        return Page10.TabSheet_10;
    default:
        return Page2.TabSheet_2;
    }
}

int TfOrvek6::MethodListItem(int method)
{
    static const int kItems[15] = { 8, 0, 0, 0, 0, 0, 1, 2, 3, 4, 0, 5, 6, 7, 9 };
    return method >= 0 && method < 15 ? kItems[method] : 0;
}

void TfOrvek6::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        FormKeyPress(event->key());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfOrvek6::FormKeyPress(int key)
{
    if (key == Qt::Key_Escape)
        done(2);
}

void TfOrvek6::reject()
{
    done(2);
}

void TfOrvek6::done(int result)
{
    if (!FormClose(result))
        return;
    QDialog::done(result);
}

void TfOrvek6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

} // namespace orvek
