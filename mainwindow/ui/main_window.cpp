#include "mainwindow/ui/main_window.h"
#include "core/ui/tool_icons.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/logs.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/splash_window.h"
#include "database/backups.h"
#include "database/data_module.h"
#include "database/record_query.h"
#include "database/status_bar_texts.h"
#include "database/table_set.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "database/undo_table.h"
#include "database/upgrade.h"
#include "database/users.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/cell_record_access.h"
#include "mainwindow/main_actions.h"
#include "mainwindow/main_change_history.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_tick.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/preview_printer.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace orvek {

namespace {

// Without a window manager no activation may come: the first activation then runs
// after this wait.
constexpr int kFirstActivationFallbackMs = 4000;

// The narrowest the folder-tree and record-list panels may become.
constexpr int kTreePanelMinimumWidth = 150;
constexpr int kRecordPanelMinimumWidth = 260;

void Trace(const char* text)
{
    if (TraceSteps)
        AppendErrFile(QString::fromLatin1(text));
}

QAction* MakeAction(QObject* owner, const char* name, bool checkable = false)
{
    auto* action = new QAction(owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

QMenu* MakeMenu(QWidget* parent, const char* name)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QToolButton* ToolButton(QWidget* parent, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedWidth(44);
    return button;
}

} // namespace

TfOrvek1::TfOrvek1(QWidget* parent, std::function<quint32()> clock)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fOrvek1"));
    resize(1100, 720);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    PreviewPrinter1 = new TPreviewPrinter(this);
    PreviewPrinter1->setObjectName(QStringLiteral("PreviewPrinter1"));
    CreateMenus();
    CreatePages();
    CreateRecordPanel();
    SetToolPictures();
    document_
        = std::make_unique<TMainDocument>(ScrollBox2, [] { return WindowUndoDatabase(QStringLiteral("MainUndo")); });
    StartTimerLoop(std::move(clock));
    FormCreate();
    ConnectToolActions();
    ConnectReportActions();
    ConnectLanguageActions();
    ConnectImportActions();

    FirstActivationTimer = new QTimer(this);
    FirstActivationTimer->setObjectName(QStringLiteral("FirstActivationTimer"));
    FirstActivationTimer->setSingleShot(true);
    FirstActivationTimer->setInterval(kFirstActivationFallbackMs);
    connect(FirstActivationTimer, &QTimer::timeout, this, [this] {
        if (FFirstActivation)
            QueueFirstActivation();
        else
            CloseSplash();
    });
    FirstActivationTimer->start();
}

void TfOrvek1::CreateMenus()
{
    // The window's own actions.
    ActionFileExit = MakeAction(this, "ActionFileExit");
    MenuExit = ActionFileExit;
    ActionUndo = MakeAction(this, "ActionUndo");
    ActionUndo->setShortcut(QKeySequence::Undo);
    ActionRedo = MakeAction(this, "ActionRedo");
    ActionRedo->setShortcut(QKeySequence::Redo);
    connect(ActionUndo, &QAction::triggered, this, &TfOrvek1::UndoStep);
    connect(ActionRedo, &QAction::triggered, this, &TfOrvek1::RedoStep);
    connect(ActionFileExit, &QAction::triggered, this, &QWidget::close);
    ActionStromZvacsit = MakeAction(this, "ActionStromZvacsit");
    ActionStromZmensit = MakeAction(this, "ActionStromZmensit");
    ActionStromRozbalit = MakeAction(this, "ActionStromRozbalit");
    ZoomPresetActions = new QActionGroup(this);
    ZoomPresetActions->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    QAction** presets[] = { &ActionZoom_50, &ActionZoom_85, &ActionZoom_100, &ActionZoom_150, &ActionZoom_200 };
    const char* presetNames[]
        = { "ActionZoom_50", "ActionZoom_85", "ActionZoom_100", "ActionZoom_150", "ActionZoom_200" };
    for (int i = 0; i < 5; ++i) {
        *presets[i] = MakeAction(this, presetNames[i], true);
        (*presets[i])->setText(ZoomPresetTexts[size_t(i + 1)].trimmed());
        ZoomPresetActions->addAction(*presets[i]);
    }
    ActionZvyraznitLenNenaplnene = MakeAction(this, "ActionZvyraznitLenNenaplnene", true);
    ActionZvyraznitLenExpirovane = MakeAction(this, "ActionZvyraznitLenExpirovane", true);
    ActionShowMaxUncertainty = MakeAction(this, "ActionShowMaxUncertainty", true);
    ActionEditovatObsahBunky = MakeAction(this, "ActionEditovatObsahBunky", true);
    Editovaobsahbunky2 = MakeAction(this, "Editovaobsahbunky2");
    ActionZobrazitVlastnostiBuniek = MakeAction(this, "ActionZobrazitVlastnostiBuniek");
    ActionVypocetDerivacie_PresnyVypocet = MakeAction(this, "ActionVypocetDerivacie_PresnyVypocet", true);
    ActionVypocetDerivacie_Diferencia = MakeAction(this, "ActionVypocetDerivacie_Diferencia", true);
    ActionSuhrnVelicin = MakeAction(this, "ActionSuhrnVelicin");
    ActionShowHideSummaryWindow = MakeAction(this, "ActionShowHideSummaryWindow", true);
    ActionProgramoveStringy = MakeAction(this, "ActionProgramoveStringy");
    ActionVyberPreReport = MakeAction(this, "ActionVyberPreReport");
    ActionReportPrintPreview = MakeAction(this, "ActionReportPrintPreview");
    ActionReportPrint = MakeAction(this, "ActionReportPrint");
    ActionFullReportSaveToFile = MakeAction(this, "ActionFullReportSaveToFile");
    ActionCopyFullReport = MakeAction(this, "ActionCopyFullReport");
    ActionShortReportPrintPreview = MakeAction(this, "ActionShortReportPrintPreview");
    ActionShortReportPrint = MakeAction(this, "ActionShortReportPrint");
    ActionShortReportSaveToFile = MakeAction(this, "ActionShortReportSaveToFile");
    ActionCopyShortReport = MakeAction(this, "ActionCopyShortReport");
    ActionCopyDiagram = MakeAction(this, "ActionCopyDiagram");
    ActionDiagramPrintPreview = MakeAction(this, "ActionDiagramPrintPreview");
    ActionDiagramPrint = MakeAction(this, "ActionDiagramPrint");
    ActionDiagramSaveToFile = MakeAction(this, "ActionDiagramSaveToFile");
    menuCopyToClipboard = MakeAction(this, "menuCopyToClipboard");
    dosamostatnhookna1 = MakeAction(this, "dosamostatnhookna1");
    aLogInNewUser = MakeAction(this, "aLogInNewUser");
    aOdhlasenieUzivatela = MakeAction(this, "aOdhlasenieUzivatela");
    aDBBackup = MakeAction(this, "aDBBackup");
    aDBRestore = MakeAction(this, "aDBRestore");
    aZoznamUzivatelov = MakeAction(this, "aZoznamUzivatelov");
    aPrave_prihlaseni_uzivatelia = MakeAction(this, "aPrave_prihlaseni_uzivatelia");
    aEvidenciaPrihlasovania = MakeAction(this, "aEvidenciaPrihlasovania");
    aHistory = MakeAction(this, "aHistory");
    Action_ValidacnyProtokolOrvek = MakeAction(this, "Action_ValidacnyProtokolOrvek");
    ActionStartValidation = MakeAction(this, "ActionStartValidation");
    Action_S2 = MakeAction(this, "Action_S2");
    Action_S3 = MakeAction(this, "Action_S3");
    Action_S4 = MakeAction(this, "Action_S4");
    Action_S5_1 = MakeAction(this, "Action_S5_1");
    Action_S5_2 = MakeAction(this, "Action_S5_2");
    Action_S6 = MakeAction(this, "Action_S6");
    Action_S7 = MakeAction(this, "Action_S7");
    Action_PSV = MakeAction(this, "Action_PSV");
    ActionImportDataForRegulationDiagram_Ag = MakeAction(this, "ActionImportDataForRegulationDiagram_Ag");
    ActionImportDataForRegulationDiagram_Au = MakeAction(this, "ActionImportDataForRegulationDiagram_Au");
    ActionHelpContents = MakeAction(this, "ActionHelpContents");
    ActionHelpContents->setShortcut(QKeySequence::HelpContents);
    ActionHelpGlossary = MakeAction(this, "ActionHelpGlossary");
    ActionBrantel_HomePage = MakeAction(this, "ActionBrantel_HomePage");
    ActionKestravaTechnicalSupport = MakeAction(this, "ActionKestravaTechnicalSupport");
    ActionAboutProgram = MakeAction(this, "ActionAboutProgram");
    ActionLanguageEnglish = MakeAction(this, "ActionLanguageEnglish", true);
    ActionLanguageEnglish->setText(QStringLiteral("English"));
    ActionLanguageSlovak = MakeAction(this, "ActionLanguageSlovak", true);
    ActionLanguageSlovak->setText(QStringLiteral("Slovensky"));
    ActionMergeOldTreeDB = MakeAction(this, "ActionMergeOldTreeDB");
    ActionMergeOldTemplateDB = MakeAction(this, "ActionMergeOldTemplateDB");

    // The output sub-menus of the report pages and the diagram.
    menuSaveToFile = MakeMenu(this, "menuSaveToFile");
    menuSaveToFile->addActions({ ActionFullReportSaveToFile, ActionShortReportSaveToFile, ActionDiagramSaveToFile });
    menuPrintPreview = MakeMenu(this, "menuPrintPreview");
    menuPrintPreview->addActions(
        { ActionReportPrintPreview, ActionShortReportPrintPreview, ActionDiagramPrintPreview });
    menuPrint = MakeMenu(this, "menuPrint");
    menuPrint->addActions({ ActionReportPrint, ActionShortReportPrint, ActionDiagramPrint });
    menuCopy = MakeMenu(this, "menuCopy");
    menuCopy->addActions({ ActionCopyFullReport, ActionCopyShortReport, ActionCopyDiagram });

    QMenuBar* bar = menuBar();
    MenuFile = MakeMenu(this, "MenuFile");
    bar->addMenu(MenuFile);
    menuMeasurement = MakeMenu(this, "menuMeasurement");
    bar->addMenu(menuMeasurement);
    MenuZobrazenie = MakeMenu(this, "MenuZobrazenie");
    bar->addMenu(MenuZobrazenie);
    MenuNastroje = MakeMenu(this, "MenuNastroje");
    bar->addMenu(MenuNastroje);
    menuValidacia = MakeMenu(this, "menuValidacia");
    bar->addMenu(menuValidacia);
    menuAdministrator = MakeMenu(this, "menuAdministrator");
    bar->addMenu(menuAdministrator);
    menuService = MakeMenu(this, "menuService");
    bar->addMenu(menuService);
    MenuPomocnik = MakeMenu(this, "MenuPomocnik");
    bar->addMenu(MenuPomocnik);

    MenuFile->addMenu(menuSaveToFile);
    MenuFile->addMenu(menuPrintPreview);
    MenuFile->addMenu(menuPrint);
    MenuFile->addMenu(menuCopy);
    MenuFile->addAction(ActionVyberPreReport);
    // The user's own session: every user sees the File menu, so logging in again after
    // a log-out or a failed log-in and changing the own password are always reachable.
    MenuFile->addSeparator();
    MenuFile->addActions({ aLogInNewUser, aOdhlasenieUzivatela });
    MenuFile->addSeparator();
    MenuFile->addAction(ActionFileExit);

    MenuZoom = MakeMenu(this, "MenuZoom");
    MenuZoom->addActions({ ActionStromZvacsit, ActionStromZmensit });
    MenuZoom->addSeparator();
    MenuZoom->addActions(ZoomPresetActions->actions());
    MenuZobrazenie->addMenu(MenuZoom);
    MenuZobrazenie->addAction(ActionStromRozbalit);
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addActions(
        { ActionZvyraznitLenNenaplnene, ActionZvyraznitLenExpirovane, ActionShowMaxUncertainty });
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addActions({ ActionSuhrnVelicin, ActionShowHideSummaryWindow });

    MenuNastroje->addActions({ ActionUndo, ActionRedo });
    MenuNastroje->addSeparator();
    MenuNastroje->addActions({ ActionEditovatObsahBunky, ActionZobrazitVlastnostiBuniek });
    MenuNastroje->addSeparator();
    MenuNastroje->addActions({ ActionVypocetDerivacie_PresnyVypocet, ActionVypocetDerivacie_Diferencia });
    MenuNastroje->addSeparator();
    MenuNastroje->addAction(ActionProgramoveStringy);
    menuLanguage = MakeMenu(this, "menuLanguage");
    menuLanguage->addActions({ ActionLanguageEnglish, ActionLanguageSlovak });
    MenuNastroje->addMenu(menuLanguage);

    menuValidation_in_Orvek2000 = MakeMenu(this, "menuValidation_in_Orvek2000");
    menuValidation_in_Orvek2000->addActions(
        { Action_S2, Action_S3, Action_S4, Action_S5_1, Action_S5_2, Action_S6, Action_S7, Action_PSV });
    menuValidacia->addAction(ActionStartValidation);
    menuValidacia->addMenu(menuValidation_in_Orvek2000);
    menuValidacia->addAction(Action_ValidacnyProtokolOrvek);

    menuAdministrator->addActions(
        { aZoznamUzivatelov, aPrave_prihlaseni_uzivatelia, aEvidenciaPrihlasovania, aHistory });
    menuAdministrator->addSeparator();
    menuAdministrator->addActions({ aDBBackup, aDBRestore });
    menuService->addActions({ ActionMergeOldTreeDB, ActionMergeOldTemplateDB });

    MenuPomocnik->addActions({ ActionHelpContents, ActionHelpGlossary });
    MenuPomocnik->addSeparator();
    MenuPomocnik->addActions({ ActionBrantel_HomePage, ActionKestravaTechnicalSupport });
    MenuPomocnik->addSeparator();
    MenuPomocnik->addAction(ActionAboutProgram);

    // The diagram's context menu and the report pages' pop-up.
    PopupMenu1 = MakeMenu(this, "PopupMenu1");
    PopupMenu1->addAction(Editovaobsahbunky2);
    PopupEditSeparator = PopupMenu1->addSeparator();
    PopupEditSeparator->setObjectName(QStringLiteral("PopupEditSeparator"));
    MenuZoom2 = MakeMenu(this, "MenuZoom2");
    MenuZoom2->addActions({ ActionStromZvacsit, ActionStromZmensit });
    MenuZoom2->addSeparator();
    MenuZoom2->addActions(ZoomPresetActions->actions());
    PopupMenu1->addMenu(MenuZoom2);
    PopupMenu1->addActions({ ActionStromRozbalit, ActionZobrazitVlastnostiBuniek });
    PopupMenu_Report = MakeMenu(this, "PopupMenu_Report");
    PopupMenu_Report->addActions({ menuCopyToClipboard, dosamostatnhookna1 });

    // Tool bars: the record and diagram tools, the report outputs.
    ToolBar1 = addToolBar(QString());
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    // The summaries share the first row with the record tools, so that the second row
    // fits the width of a 1280-pixel screen without an overflow button.
    auto* summaries = addToolBar(QString());
    summaries->setObjectName(QStringLiteral("ToolBar_Summaries"));
    summaries->setMovable(false);
    addToolBarBreak();
    ToolBar2 = addToolBar(QString());
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolButton_Copy = ToolButton(ToolBar2, "ToolButton_Copy");
    ToolButton_SaveToFile = ToolButton(ToolBar2, "ToolButton_SaveToFile");
    ToolButton_PrintPreview = ToolButton(ToolBar2, "ToolButton_PrintPreview");
    ToolButton_Print = ToolButton(ToolBar2, "ToolButton_Print");
    ToolButton_Copy->setMenu(menuCopy);
    ToolButton_SaveToFile->setMenu(menuSaveToFile);
    ToolButton_PrintPreview->setMenu(menuPrintPreview);
    ToolButton_Print->setMenu(menuPrint);
    for (QToolButton* button : { ToolButton_Copy, ToolButton_SaveToFile, ToolButton_PrintPreview, ToolButton_Print }) {
        button->setPopupMode(QToolButton::MenuButtonPopup);
        ToolBar2->addWidget(button);
    }
    ToolBar2->addSeparator();
    ToolBar2->addActions({ ActionUndo, ActionRedo, ActionEditovatObsahBunky });
    ToolBar2->addSeparator();
    ToolBar2->addActions({ ActionZvyraznitLenNenaplnene, ActionZvyraznitLenExpirovane, ActionShowMaxUncertainty,
        ActionStromRozbalit, ActionStromZmensit, ActionStromZvacsit });
    ComboBox_Zoom = new QComboBox(ToolBar2);
    ComboBox_Zoom->setObjectName(QStringLiteral("ComboBox_Zoom"));
    ToolBar2->addWidget(ComboBox_Zoom);
    summaries->addActions({ ActionSuhrnVelicin, ActionShowHideSummaryWindow });
    ToolBar_SpecialEdit = new QToolBar(this);
    ToolBar_SpecialEdit->setObjectName(QStringLiteral("ToolBar_SpecialEdit"));
    addToolBarBreak();
    addToolBar(ToolBar_SpecialEdit);
    ToolBar_SpecialEdit->hide();
}

void TfOrvek1::SetToolPictures()
{
    // The tools show their pictures; the text stays in the tool tip.
    SetToolIcons(this);
    for (QToolButton* button : { ToolButton_Copy, ToolButton_SaveToFile, ToolButton_PrintPreview, ToolButton_Print })
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (QToolBar* bar : { ToolBar1, ToolBar2, findChild<QToolBar*>(QStringLiteral("ToolBar_Summaries")) }) {
        bar->setIconSize(QSize(22, 22));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

void TfOrvek1::CreatePages()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    TabSheet_Struktura = new QWidget;
    TabSheet_Struktura->setObjectName(QStringLiteral("TabSheet_Struktura"));
    ScrollBox2 = new TDiagramView(TabSheet_Struktura);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* diagramLayout = new QVBoxLayout(TabSheet_Struktura);
    diagramLayout->setContentsMargins(0, 0, 0, 0);
    diagramLayout->addWidget(ScrollBox2);

    const auto reportEdit = [this](QWidget* page, const char* name) {
        QTextEdit* edit = new TRichEdit98(page);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
            [this, edit](const QPoint& pos) { PopupMenu_Report->popup(edit->viewport()->mapToGlobal(pos)); });
        return edit;
    };
    TabSheet_Poznamky = new QWidget;
    TabSheet_Poznamky->setObjectName(QStringLiteral("TabSheet_Poznamky"));
    RichEdit_ShortReport = reportEdit(TabSheet_Poznamky, "RichEdit_ShortReport");
    auto* shortLayout = new QVBoxLayout(TabSheet_Poznamky);
    shortLayout->setContentsMargins(0, 0, 0, 0);
    shortLayout->addWidget(RichEdit_ShortReport);

    TabSheet_Rovnice = new QWidget;
    TabSheet_Rovnice->setObjectName(QStringLiteral("TabSheet_Rovnice"));
    CheckBox_ZalomitText = new QCheckBox(TabSheet_Rovnice);
    CheckBox_ZalomitText->setObjectName(QStringLiteral("CheckBox_ZalomitText"));
    connect(CheckBox_ZalomitText, &QCheckBox::toggled, this, &TfOrvek1::ApplyEquationWordWrap);
    RichEdit_Rovnice = new QTextEdit(TabSheet_Rovnice);
    RichEdit_Rovnice->setObjectName(QStringLiteral("RichEdit_Rovnice"));
    RichEdit_Rovnice->setReadOnly(true);
    RichEdit_Rovnice->setAcceptRichText(false);
    auto* equationLayout = new QVBoxLayout(TabSheet_Rovnice);
    equationLayout->setContentsMargins(2, 2, 2, 2);
    equationLayout->addWidget(CheckBox_ZalomitText);
    equationLayout->addWidget(RichEdit_Rovnice, 1);

    TabSheet_VzorecPreNeistotu = new QWidget;
    TabSheet_VzorecPreNeistotu->setObjectName(QStringLiteral("TabSheet_VzorecPreNeistotu"));
    RichEdit981 = reportEdit(TabSheet_VzorecPreNeistotu, "RichEdit981");
    auto* formulaLayout = new QVBoxLayout(TabSheet_VzorecPreNeistotu);
    formulaLayout->setContentsMargins(0, 0, 0, 0);
    formulaLayout->addWidget(RichEdit981);

    // The service login's page: the record locks.
    TabSheet_Service = new QWidget;
    TabSheet_Service->setObjectName(QStringLiteral("TabSheet_Service"));
    DBGrid_Service = new QTableView(TabSheet_Service);
    DBGrid_Service->setObjectName(QStringLiteral("DBGrid_Service"));
    DBGrid_Service->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Query1 = new QSqlQueryModel(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    SpeedButton5 = new QToolButton(TabSheet_Service);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setCheckable(true);
    SpeedButton6 = new QToolButton(TabSheet_Service);
    SpeedButton6->setObjectName(QStringLiteral("SpeedButton6"));
    auto* serviceButtons = new QHBoxLayout;
    serviceButtons->addWidget(SpeedButton5);
    serviceButtons->addWidget(SpeedButton6);
    serviceButtons->addStretch();
    auto* serviceLayout = new QVBoxLayout(TabSheet_Service);
    serviceLayout->addLayout(serviceButtons);
    serviceLayout->addWidget(DBGrid_Service, 1);

    PageControl1->addTab(TabSheet_Struktura, QString());
    PageControl1->addTab(TabSheet_Poznamky, QString());
    PageControl1->addTab(TabSheet_Rovnice, QString());
    PageControl1->addTab(TabSheet_VzorecPreNeistotu, QString());
    PageControl1->addTab(TabSheet_Service, QString());
    auto* pagesLayout = new QVBoxLayout(Panel1);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->addWidget(PageControl1);

    // The status bar: four bold panels.
    const int widths[4] = { 250, 250, 200, 50 };
    for (int i = 0; i < 4; ++i) {
        StatusPanels[i] = new QLabel(this);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setMinimumWidth(widths[i]);
        QFont font = StatusPanels[i]->font();
        font.setBold(true);
        StatusPanels[i]->setFont(font);
        statusBar()->addWidget(StatusPanels[i], i == 3 ? 1 : 0);
    }
}

void TfOrvek1::CreateRecordPanel()
{
    // Three columns side by side, each as wide as the user leaves it: the folder tree
    // (with the group choice above it), the record list (with the record counter below
    // it) and the pages.
    Panel_MeasurementTree = new QWidget(this);
    Panel_MeasurementTree->setObjectName(QStringLiteral("Panel_MeasurementTree"));
    Panel_MeasurementTree->setMinimumWidth(kTreePanelMinimumWidth);
    RecordPanel = new RecordViewPanel(DataModule1 ? &DataModule1->SessionOrvek() : nullptr, Panel_MeasurementTree);
    auto* panelLayout = new QVBoxLayout(Panel_MeasurementTree);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(RecordPanel);
    Panel_MeasurementDB = new QWidget(this);
    Panel_MeasurementDB->setObjectName(QStringLiteral("Panel_MeasurementDB"));
    Panel_MeasurementDB->setMinimumWidth(kRecordPanelMinimumWidth);
    auto* listLayout = new QVBoxLayout(Panel_MeasurementDB);
    listLayout->setContentsMargins(2, 2, 2, 2);
    listLayout->addWidget(RecordPanel->DBGrid_Tree, 1);
    listLayout->addWidget(RecordPanel->Panel_RecNo);

    Splitter_Panels = new QSplitter(Qt::Horizontal, this);
    Splitter_Panels->setObjectName(QStringLiteral("Splitter_Panels"));
    Splitter_Panels->addWidget(Panel_MeasurementTree);
    Splitter_Panels->addWidget(Panel_MeasurementDB);
    Splitter_Panels->addWidget(Panel1);
    Splitter_Panels->setStretchFactor(0, 0);
    Splitter_Panels->setStretchFactor(1, 0);
    Splitter_Panels->setStretchFactor(2, 1);
    setCentralWidget(Splitter_Panels);

    // The panel's actions in the window's menus and tool bars.
    RecordViewPanel& p = *RecordPanel;
    menuMeasurement->addActions({ p.ActionNewRecFromTemplateTree, p.ActionShowSourceTemplateFromDB,
        p.ActionUrobitKopiuZaznamu, p.ActionEditRecord, p.ActionDeleteRecord, p.ActionMoveSelectedRecordTo });
    menuMeasurement->addSeparator();
    menuMeasurement->addActions({ p.ActionExportTreeToFileAs });
    menuMeasurement->addSeparator();
    menuMeasurement->addActions({ p.ActionSearchMeasurement, p.ActionZobrazitVsetkyMerania, p.ActionShowUnassigned,
        p.ActionShowDeleted, p.aShowAllUsers });
    menuMeasurement->addSeparator();
    menuMeasurement->addActions(
        { p.ActionEnableDisableMultiselection, p.ActionSelectAllRecords, p.ActionUnSelectAllRecords });
    menuMeasurement->addSeparator();
    menuMeasurement->addActions({ p.ActionInsertNewFolder, p.ActionInsertNewSub_folder, p.ActionRenameFolder,
        p.ActionDeleteFolder, p.ActionCollapseFolderStructure, p.ActionExpandFolderStructure });
    menuMeasurement->addSeparator();
    menuMeasurement->addActions(
        { p.ActionNewGroupOfFolders, p.ActionRenameGroupOfFolders, p.ActionDeleteGroupOfFolders });
    ToolBar1->addActions({ p.ActionNewRecFromTemplateTree, p.ActionEditRecord, p.ActionDeleteRecord,
        p.ActionSearchMeasurement, p.ActionZobrazitVsetkyMerania });

    // The session, user and validation actions are the panel's: its actions take the
    // places the menus keep for them, and the window's stand-ins go.
    auto adopt = [](QAction*& mine, QAction* panels) {
        for (QObject* owner : mine->associatedObjects())
            if (auto* widget = qobject_cast<QWidget*>(owner)) {
                widget->insertAction(mine, panels);
                widget->removeAction(mine);
            }
        delete mine;
        mine = panels;
    };
    adopt(aLogInNewUser, p.aLogInNewUser);
    adopt(aOdhlasenieUzivatela, p.aOdhlasenieUzivatela);
    adopt(aDBBackup, p.aDBBackup);
    adopt(aDBRestore, p.aDBRestore);
    adopt(aZoznamUzivatelov, p.aZoznamUzivatelov);
    adopt(aEvidenciaPrihlasovania, p.aEvidenciaPrihlasovania);
    adopt(aHistory, p.aHistory);
    adopt(ActionStartValidation, p.ActionStartValidation);
    adopt(Action_ValidacnyProtokolOrvek, p.Action_ValidacnyProtokolOrvek);
    adopt(Action_S2, p.Action_S2);
    adopt(Action_S3, p.Action_S3);
    adopt(Action_S4, p.Action_S4);
    adopt(Action_S5_1, p.Action_S5_1);
    adopt(Action_S5_2, p.Action_S5_2);
    adopt(Action_S6, p.Action_S6);
    adopt(Action_S7, p.Action_S7);
    adopt(Action_PSV, p.Action_PSV);
    const QList<QAction*> fileItems = MenuFile->actions();
    MenuFile->insertAction(fileItems.value(fileItems.indexOf(aOdhlasenieUzivatela) + 1), p.aChangeUserPassword);
}

void TfOrvek1::FormCreate()
{
    // The service page and menu are the service login's only; the timer waits for the
    // first activation.
    ShowServicePage(false);
    Timer1->stop();
    FSessionOpen = false;

    FFirstActivation = true;
    Tick().FFirstActivation = true;
    document_->RootCell = nullptr;
    FShortReportStale = true;
    FFormulaPageStale = true;
    FSummaryShownFlag = false;
    RecordPanel->FMultiSelect = false;
    Tick().FEmptyGridTicks = 0;

    PreviewPrinter1->TextOptions.PageNumAlign = taRightJustify;
    PreviewPrinter1->TextOptions.FooterMargin = PreviewFooterMargin;
    // The database is brought to the current structure before anything reads it; the
    // undo table is the session's (OpenUserSession).
    if (DataModule1) {
        QSqlDatabase db = DataModule1->SessionOrvek().Database(AliasDB);
        if (db.isOpen())
            UpgradeDatabaseStructure(db);
    }

    // The stored grid layout: five descriptors with their widths.
    GridColumns = RecordColumnsFromLayout(Orvek1TableInfo, &RecordPanel->View().RecordGridDescriptors);
    ShowGridColumns();
    ApplyTextsOrvek1();
    SetGridColumnTitles();

    ComboBox_Zoom->clear();
    for (const QString& text : ZoomPresetTexts)
        ComboBox_Zoom->addItem(text);
    ComboBox_Zoom->setCurrentIndex(ZoomPresetIndex);

    RichEdit_Rovnice->clear();
    Zoom.Remember();
    FDiagramFileName.clear();
    FPopupCell = nullptr;
    CurrentRecordID = 0;
    document_->FLoadedFromTemplate = false;
    FShowDeleted = false;
    FRecordsOfUserID = 0;

    QPalette palette = ScrollBox2->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(BackgroundColor));
    ScrollBox2->setPalette(palette);
    PageControl1->setCurrentWidget(TabSheet_Struktura);
    aPrave_prihlaseni_uzivatelia->setVisible(false);
    ApplyEquationWordWrap();

    RestorePanelWidths();
    ApplyFolderGroupsSetting();
    FSessionOpen = false;
    UpdateCaptionZoom();
}

void TfOrvek1::RestorePanelWidths()
{
    // Each stored width is taken when it is at least the panel's minimum and fits into
    // the panel's starting width and the width of everything right of it; otherwise the
    // panel gets 1.2 x its minimum. The folder tree comes first; the record list then
    // shares what the tree left with the pages.
    const int total = std::max(0, width() - 2 * Splitter_Panels->handleWidth());
    const auto starting = [](QWidget* panel) { return int(std::nearbyint(panel->minimumWidth() * 1.2)); };
    int list = starting(Panel_MeasurementDB);
    int tree = starting(Panel_MeasurementTree);
    tree = MainPanelWidth(WindowSizeOrvek1[0], Panel_MeasurementTree->minimumWidth(), tree, total - tree);
    const int pages = std::max(0, total - tree - list);
    list = MainPanelWidth(WindowSizeOrvek1[1], Panel_MeasurementDB->minimumWidth(), list, pages);
    Splitter_Panels->setSizes({ tree, list, std::max(1, total - tree - list) });
}

void TfOrvek1::ShowGridColumns()
{
    TRecordView& view = RecordPanel->View();
    QStringList fields;
    for (int descriptor : GridColumns.Order)
        fields << view.RecordGridDescriptors[size_t(descriptor)].FieldName;
    view.ColumnFields = fields;
    QHeaderView* header = RecordPanel->DBGrid_Tree->horizontalHeader();
    for (int p = 0; p < RecordGridColumnCount && p < header->count(); ++p)
        header->resizeSection(p, GridColumns.Widths[size_t(p)]);
}

void TfOrvek1::StoreLayout()
{
    // The grid's columns as the user left them: order by field name, widths by position.
    QHeaderView* header = RecordPanel->DBGrid_Tree->horizontalHeader();
    const TRecordView& view = RecordPanel->View();
    const QVector<int> order = RecordSortFieldsFromColumnFields(view.RecordGridDescriptors, view.ColumnFields);
    if (order.size() == RecordGridColumnCount) {
        for (int p = 0; p < RecordGridColumnCount; ++p) {
            GridColumns.Order[size_t(p)] = order[p];
            if (p < header->count())
                GridColumns.Widths[size_t(p)] = header->sectionSize(header->logicalIndex(p));
        }
    }
    StoreRecordColumns(GridColumns, Orvek1TableInfo);
    WindowSizeOrvek1[0] = Panel_MeasurementTree->width();
    WindowSizeOrvek1[1] = Panel_MeasurementDB->width();
}

void TfOrvek1::ApplyEquationWordWrap()
{
    const bool wrap = CheckBox_ZalomitText->isChecked();
    RichEdit_Rovnice->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    RichEdit_Rovnice->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void TfOrvek1::UpdateActions(int mode)
{
    TMainActionInputs in;
    in.Rights = CurrentUserRights;
    in.Mode = mode;
    TRecordView& view = RecordPanel->View();
    in.QueryOpen = view.Active();
    in.RowCount = in.QueryOpen ? view.RowCount() : 0;
    in.SelectedCount = RecordPanel->DBGrid_Tree->selectionModel()
        ? int(RecordPanel->DBGrid_Tree->selectionModel()->selectedRows().size())
        : 0;
    in.ShowAllRecords = view.RecordViewMode != kRecordsOfFolder;
    in.MoreGroupsOfFolders = MoreGroupsOfFolders;
    in.FromTemplateID = in.RowCount > 0 && view.CurrentRow() >= 0
        ? view.Field(view.CurrentRow(), RecordAnswerFieldNumber(QStringLiteral("FromTemplateID"))).toInt()
        : 0;
    in.OstrevinMode = OstrevinMode;
    in.UndoTableOpen = document_->UndoTable().Exists();
    in.UndoRowCount = document_->UndoTable().RowCount();
    in.UndoRecNo = document_->UndoTable().RecNo();
    for (const TActionState& state : MainActionStates(in)) {
        QObject* object = findChild<QObject*>(QString::fromLatin1(state.ObjectName));
        QAction* action = qobject_cast<QAction*>(object);
        if (auto* menu = qobject_cast<QMenu*>(object))
            action = menu->menuAction();
        if (action) {
            if (state.Enabled)
                action->setEnabled(*state.Enabled);
            if (state.Visible)
                action->setVisible(*state.Visible);
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            if (state.Enabled)
                widget->setEnabled(*state.Enabled);
            if (state.Visible)
                widget->setVisible(*state.Visible);
        }
    }
}

bool TfOrvek1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        // The main window's diagram is the record's on every activation, with the
        // record's change counter back in place of a template's.
        if (document_)
            document_->MakeCurrent();
        if (FFirstActivation)
            QueueFirstActivation();
    }
    return QMainWindow::event(event);
}

void TfOrvek1::QueueFirstActivation()
{
    // The log-in runs once the activation has been handled, so that its modal loop
    // does not nest inside the activation event.
    if (firstActivationQueued_)
        return;
    firstActivationQueued_ = true;
    QTimer::singleShot(0, this, &TfOrvek1::FormActivate);
}

void TfOrvek1::CloseSplash()
{
    if (!fOrvekLoad)
        return;
    Delay(300);
    fOrvekLoad->hide();
    fOrvekLoad->deleteLater();
    fOrvekLoad = nullptr;
}

void TfOrvek1::FormActivate()
{
    document_->MakeCurrent();
    if (!FFirstActivation) {
        Trace("fOrvek1.FormActivate 20 End of Procedure");
        return;
    }
    if (DerivativeMode == 0)
        ActionVypocetDerivacie_PresnyVypocet->trigger();
    else if (DerivativeMode == 1)
        ActionVypocetDerivacie_Diferencia->trigger();
    TableCheckReport.clear();
    CloseSplash();
    FFirstActivation = false;
    Tick().FFirstActivation = false;

    if (DataModule1 && DataModule1->LoginDialog())
        Delay(200);
    if (CurrentUserRights >= 1 && CurrentUserRights <= 3) {
        Trace("fOrvek1.FormActivate 1 Begin of Procedure");
        Trace("fOrvek1.FormActivate 2 DatabaseIsValid");
        // A working backup when there is none yet, or when the last one lacks every
        // required table.
        QString lastBackup;
        GetLastBackupDir(lastBackup);
        Trace("fOrvek1.FormActivate 3");
        if (DataModule1
            && (lastBackup.isEmpty()
                || DataModule1->CountMissingDatabaseFiles(lastBackup) == int(RequiredTables().size())))
            DataModule1->MakeWorkingBackup();
        if (TraceSteps)
            AppendErrFile(QStringLiteral("fOrvek1.FormActivate 4 LastBackupDir=") + lastBackup + QStringLiteral("<"));
        FRecordsOfUserID = CurrentUserRights == 1 ? 0 : CurrentUserID;
        FShowDeleted = false;
        OpenUserSession();
    } else {
        CloseUserSession();
    }
    Trace("fOrvek1.FormActivate 11");
    Tick().RestartLoadDelay();
    Trace("fOrvek1.FormActivate 12");
    RestoreViewState();
    Trace("fOrvek1.FormActivate 13");
    RefreshTexts();
    Trace("fOrvek1.FormActivate 14");
    BindShortReportButtons();
    Trace("fOrvek1.FormActivate 15");
    ResetUndo();
    Trace("fOrvek1.FormActivate 16");
    Timer1->start();
    Trace("fOrvek1.FormActivate 19");
    Trace("fOrvek1.FormActivate 20 End of Procedure");
}

// The user's session: the record panel opens it (undo table, folder groups, the
// template window's folders), then the record view and the status bar.
void TfOrvek1::OpenUserSession()
{
    RecordPanel->View().ShownOwnerID = FRecordsOfUserID;
    RecordPanel->OpenSession();
    RecordPanel->OpenMeasurementView();
    FSessionOpen = true;
    RecordPanel->UpdateStatusBar();
}

void TfOrvek1::CloseUserSession()
{
    RecordPanel->CloseSession();
    FSessionOpen = false;
}

void TfOrvek1::ShowStatusBar()
{
    RecordPanel->UpdateStatusBar();
}

bool TfOrvek1::FormClose()
{
    Query1->clear();
    FClosing = true;
    RecordPanel->FClosing = true;
    FPopupCell = nullptr;
    Timer1->stop();

    StoreLayout();
    if (CurrentUserRights >= 1 && CurrentUserRights <= 3)
        SaveLastRecordOfUser(CurrentUserID, RecordPanel->View().CurrentRowID());
    SaveSettings();

    // Lock released, 605 asked, and 115 when the diagram is modified; a failed save
    // keeps the window open.
    const bool closes = document_->ConfirmClose();
    if (closes) {
        document_->CloseRecord();
        RecordPanel->View().Close();
        if (DataChangedSinceBackup && DataModule1)
            DataModule1->MakeWorkingBackup();
        RichEdit981->clear();
    } else {
        if (Tick().FLastRecNo > 0 && Tick().FLastRecNo <= RecordPanel->View().RowCount())
            RecordPanel->RefreshGrid(RecordPanel->View().RowID(Tick().FLastRecNo - 1));
        Timer1->start();
    }
    FClosing = closes;
    RecordPanel->FClosing = closes;
    return closes;
}

void TfOrvek1::closeEvent(QCloseEvent* event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TfOrvek1::FormDestroy()
{
    // The tree goes before the window's widgets, whose boxes it would otherwise outlive.
    if (document_) {
        TCell* root = document_->RootCell;
        document_->RootCell = nullptr;
        FreeCellTree(root);
    }
}

} // namespace orvek
