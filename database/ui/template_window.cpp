#include "database/ui/template_window.h"
#include "core/ui/tool_icons.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/folder_table_cursor.h"
#include "database/template_document.h"
#include "database/template_list.h"
#include "database/template_query.h"
#include "database/ui/db_navigator.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/vx_db_grid.h"
#include "database/undo_table.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/ui/diagram_view.h"
#include "platform/db_session.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/preview_printer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

// The service login sees the service page and menu.
const QString kServiceUser = QStringLiteral("Tulkarn");

QToolButton* SpeedButton(QWidget* parent, const char* name, QAction* action)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QSqlDatabase TfOrvekDB::RecordsDatabase(QString* error)
{
    if (!DataModule1) {
        if (error)
            *error = QStringLiteral("The data module does not exist");
        return QSqlDatabase();
    }
    return DataModule1->SessionOrvek().Database(AliasDB, false, error);
}

TfOrvekDB::TfOrvekDB(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvekDB"));
    // No minimize button: the window is shown modally over the main window.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
        | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    BuildActions();
    ConnectHelpActions();
    BuildPanels();
    BuildMenus();
    BuildToolBars();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu);
    auto* bars = new QHBoxLayout;
    bars->setSpacing(0);
    bars->addWidget(ToolBar1);
    bars->addWidget(ToolBar2);
    bars->addStretch();
    layout->addLayout(bars);
    layout->addWidget(Splitter_Panels, 1);
    layout->addWidget(StatusBar1);
    resize(1180, 760);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfOrvekDB::Timer1Timer);

    PreviewPrinter1 = new TPreviewPrinter(this);
    PreviewPrinter1->setObjectName(QStringLiteral("PreviewPrinter1"));
    ConnectTemplateCommands();
    ConnectMoving();
    ConnectServiceTools();
    FormCreate();
}

TfOrvekDB::~TfOrvekDB()
{
    FormDestroy();
}

QAction* TfOrvekDB::MakeAction(const char* name, void (TfOrvekDB::*handler)())
{
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

void TfOrvekDB::BuildActions()
{
    // Actions whose work belongs to the template records, report and validation
    // commands exist with their texts; those commands connect to them.
    ActionNewRecFromNewTree = MakeAction("ActionNewRecFromNewTree");
    ActionNewRecFromFileTree = MakeAction("ActionNewRecFromFileTree");
    ActionUrobitKopiuZaznamu = MakeAction("ActionUrobitKopiuZaznamu");
    ActionUndo = MakeAction("ActionUndo", &TfOrvekDB::ActionUndoExecute);
    ActionRedo = MakeAction("ActionRedo", &TfOrvekDB::ActionRedoExecute);
    ActionUndo->setShortcut(QKeySequence::Undo);
    ActionRedo->setShortcut(QKeySequence::Redo);
    ActionVyberPreReport = MakeAction("ActionVyberPreReport");
    ActionZobrazitVlastnostiBuniek = MakeAction("ActionZobrazitVlastnostiBuniek");
    ActionHelpContents = MakeAction("ActionHelpContents");
    ActionHelpGlossary = MakeAction("ActionHelpGlossary");
    ActionZvyraznitLenNenaplnene
        = MakeAction("ActionZvyraznitLenNenaplnene", &TfOrvekDB::ActionZvyraznitLenNenaplneneExecute);
    ActionZvyraznitLenExpirovane
        = MakeAction("ActionZvyraznitLenExpirovane", &TfOrvekDB::ActionZvyraznitLenExpirovaneExecute);
    ActionShowMaxUncertainty = MakeAction("ActionShowMaxUncertainty", &TfOrvekDB::ActionShowMaxUncertaintyExecute);
    for (QAction* action : { ActionZvyraznitLenNenaplnene, ActionZvyraznitLenExpirovane, ActionShowMaxUncertainty })
        action->setCheckable(true);
    ActionStromRozbalit = MakeAction("ActionStromRozbalit", &TfOrvekDB::ActionStromRozbalitExecute);
    ActionStromZvacsit = MakeAction("ActionStromZvacsit", &TfOrvekDB::ActionStromZvacsitExecute);
    ActionStromZmensit = MakeAction("ActionStromZmensit", &TfOrvekDB::ActionStromZmensitExecute);

    ActionEditovatObsahBunky = MakeAction("ActionEditovatObsahBunky", &TfOrvekDB::ActionEditovatObsahBunkyExecute);
    ActionPozrietBunku = MakeAction("ActionPozrietBunku");
    ActionNeistotaNova = MakeAction("ActionNeistotaNova", &TfOrvekDB::ActionNeistotaNovaExecute);
    ActionNeistotaVymazat = MakeAction("ActionNeistotaVymazat", &TfOrvekDB::ActionNeistotaVymazatExecute);
    ActionNeistotaAnoNie = MakeAction("ActionNeistotaAnoNie", &TfOrvekDB::ActionNeistotaAnoNieExecute);
    ActionRovnicaNaVelicinu = MakeAction("ActionRovnicaNaVelicinu", &TfOrvekDB::ActionRovnicaNaVelicinuExecute);
    ActionRovnicaNaInuRovnicuNovu
        = MakeAction("ActionRovnicaNaInuRovnicuNovu", &TfOrvekDB::ActionRovnicaNaInuRovnicuNovuExecute);
    ActionVelicinaNaRovnicuNovu
        = MakeAction("ActionVelicinaNaRovnicuNovu", &TfOrvekDB::ActionVelicinaNaRovnicuNovuExecute);
    for (QAction* action :
        { ActionEditovatObsahBunky, ActionPozrietBunku, ActionNeistotaNova, ActionNeistotaVymazat, ActionNeistotaAnoNie,
            ActionRovnicaNaVelicinu, ActionRovnicaNaInuRovnicuNovu, ActionVelicinaNaRovnicuNovu })
        action->setCheckable(true);
    ActionSuhrnVelicin = MakeAction("ActionSuhrnVelicin");
    ActionShowHideSummaryWindow
        = MakeAction("ActionShowHideSummaryWindow", &TfOrvekDB::ActionShowHideSummaryWindowExecute);
    ActionShowHideSummaryWindow->setCheckable(true);

    ActionShowAllTemplates = MakeAction("ActionShowAllTemplates", &TfOrvekDB::ActionShowAllTemplatesExecute);
    ActionSearchTemplates = MakeAction("ActionSearchTemplates", &TfOrvekDB::ActionSearchTemplatesExecute);
    ActionShowAllTemplates->setCheckable(true);
    ActionSearchTemplates->setCheckable(true);
    ActionShowUnassigned = MakeAction("ActionShowUnassigned", &TfOrvekDB::ActionShowUnassignedExecute);
    ActionShowDeleted = MakeAction("ActionShowDeleted", &TfOrvekDB::ActionShowDeletedExecute);

    ActionExportTreeToFileAs = MakeAction("ActionExportTreeToFileAs");
    ActionShortReportSaveToFile = MakeAction("ActionShortReportSaveToFile");
    ActionFullReportSaveToFile = MakeAction("ActionFullReportSaveToFile");
    ActionTemplateSaveAs = MakeAction("ActionTemplateSaveAs");
    ActionShortReportPrintPreview = MakeAction("ActionShortReportPrintPreview");
    ActionReportPrintPreview = MakeAction("ActionReportPrintPreview");
    ActionTemplatePrintPreview = MakeAction("ActionTemplatePrintPreview");
    ActionShortReportPrint = MakeAction("ActionShortReportPrint");
    ActionReportPrint = MakeAction("ActionReportPrint");
    ActionTemplatePrint = MakeAction("ActionTemplatePrint");
    ActionCopyShortReport = MakeAction("ActionCopyShortReport");
    ActionCopyFullReport = MakeAction("ActionCopyFullReport");
    ActionCopyTemplate = MakeAction("ActionCopyTemplate");
    ActionCloseWindowandAddTemplateToDB = MakeAction("ActionCloseWindowandAddTemplateToDB");
    MenuExit = MakeAction("MenuExit", &TfOrvekDB::MenuExitClick);

    ActionSelectAllRecords = MakeAction("ActionSelectAllRecords");
    ActionSelectAllRecords->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    ActionUnSelectAllRecords = MakeAction("ActionUnSelectAllRecords");
    ActionMoveSelectedRecordTo = MakeAction("ActionMoveSelectedRecordTo");
    ActionEnableDisableMultiselection
        = MakeAction("ActionEnableDisableMultiselection", &TfOrvekDB::ActionEnableDisableMultiselectionExecute);
    ActionEnableDisableMultiselection->setCheckable(true);

    ActionRenameFolder = MakeAction("ActionRenameFolder", &TfOrvekDB::ActionRenameFolderExecute);
    ActionDeleteFolder = MakeAction("ActionDeleteFolder", &TfOrvekDB::ActionDeleteFolderExecute);
    ActionInsertNewFolder = MakeAction("ActionInsertNewFolder", &TfOrvekDB::ActionInsertNewFolderExecute);
    ActionInsertNewSub_folder = MakeAction("ActionInsertNewSub_folder", &TfOrvekDB::ActionInsertNewSub_folderExecute);
    ActionCollapseFolderStructure
        = MakeAction("ActionCollapseFolderStructure", &TfOrvekDB::ActionCollapseFolderStructureExecute);
    ActionExpandFolderStructure
        = MakeAction("ActionExpandFolderStructure", &TfOrvekDB::ActionExpandFolderStructureExecute);
    ActionNewGroupOfFolders = MakeAction("ActionNewGroupOfFolders", &TfOrvekDB::ActionNewGroupOfFoldersExecute);
    ActionDeleteGroupOfFolders
        = MakeAction("ActionDeleteGroupOfFolders", &TfOrvekDB::ActionDeleteGroupOfFoldersExecute);
    ActionRenameGroupOfFolders
        = MakeAction("ActionRenameGroupOfFolders", &TfOrvekDB::ActionRenameGroupOfFoldersExecute);

    ActionDeleteRecord = MakeAction("ActionDeleteRecord");
    ActionEditRecord = MakeAction("ActionEditRecord");
    ActionShowHistory = MakeAction("ActionShowHistory");

    ActionZoom_50 = MakeAction("ActionZoom_50");
    ActionZoom_85 = MakeAction("ActionZoom_85");
    ActionZoom_100 = MakeAction("ActionZoom_100");
    ActionZoom_150 = MakeAction("ActionZoom_150");
    ActionZoom_200 = MakeAction("ActionZoom_200");
    QAction* const presets[] = { ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 };
    for (int preset = 1; preset <= 5; ++preset) {
        QAction* action = presets[preset - 1];
        action->setCheckable(true);
        action->setText(ZoomPresetTexts[size_t(preset)].trimmed());
        connect(action, &QAction::triggered, this, [this, preset] { ActionZoomPresetExecute(preset); });
    }

    ActionKestravaTechnicalSupport = MakeAction("ActionKestravaTechnicalSupport");
    ActionBrantel_HomePage = MakeAction("ActionBrantel_HomePage");
    ActionAboutProgram = MakeAction("ActionAboutProgram");
    Action_S2 = MakeAction("Action_S2");
    Action_S3 = MakeAction("Action_S3");
    Action_S4 = MakeAction("Action_S4");
    Action_S5_1 = MakeAction("Action_S5_1");
    Action_S5_2 = MakeAction("Action_S5_2");
    Action_S6 = MakeAction("Action_S6");
    Action_S7 = MakeAction("Action_S7");
    Action_PSV = MakeAction("Action_PSV");

    Editovaobsahbunky2 = MakeAction("Editovaobsahbunky2", &TfOrvekDB::Editovaobsahbunky2Click);
    RovnicuZmenitNaVelicinu = MakeAction("RovnicuZmenitNaVelicinu", &TfOrvekDB::RovnicuZmenitNaVelicinuClick);
    RovnicuZmenitNaNovuRovnicu = MakeAction("RovnicuZmenitNaNovuRovnicu", &TfOrvekDB::RovnicuZmenitNaNovuRovnicuClick);
    VelicinuZmenitNaNovuRovnicu
        = MakeAction("VelicinuZmenitNaNovuRovnicu", &TfOrvekDB::VelicinuZmenitNaNovuRovnicuClick);
    Vymazaoznaen1 = MakeAction("Vymazaoznaen1", &TfOrvekDB::Vymazaoznaen1Click);
    ZablokovaOdblokovaoznaen1 = MakeAction("ZablokovaOdblokovaoznaen1", &TfOrvekDB::ZablokovaOdblokovaoznaen1Click);
    PridatNovuNeistotuMainMenu = MakeAction("PridatNovuNeistotuMainMenu", &TfOrvekDB::PridatNovuNeistotuMainMenuClick);

    SetToolIcons(this);
}

void TfOrvekDB::BuildPanels()
{
    // The folders of the group.
    Panel_TemplateTree = new QWidget(this);
    Panel_TemplateTree->setObjectName(QStringLiteral("Panel_TemplateTree"));
    Panel_TemplateTree->setMinimumWidth(170);
    Panel_Group_of_Folders = new QWidget(Panel_TemplateTree);
    Panel_Group_of_Folders->setObjectName(QStringLiteral("Panel_Group_of_Folders"));
    ComboBox_MainID = new QComboBox(Panel_Group_of_Folders);
    ComboBox_MainID->setObjectName(QStringLiteral("ComboBox_MainID"));
    connect(ComboBox_MainID, &QComboBox::currentIndexChanged, this, &TfOrvekDB::ComboBox_MainIDChange);
    auto* groupRow = new QHBoxLayout(Panel_Group_of_Folders);
    groupRow->setContentsMargins(0, 0, 0, 0);
    groupRow->addWidget(ComboBox_MainID, 1);
    groupRow->addWidget(SpeedButton(Panel_Group_of_Folders, "SpeedButton_NoveRozdelenie", ActionNewGroupOfFolders));
    groupRow->addWidget(SpeedButton(Panel_Group_of_Folders, "SpeedButton_RenameGroup", ActionRenameGroupOfFolders));
    groupRow->addWidget(
        SpeedButton(Panel_Group_of_Folders, "SpeedButton_VymazatRozdelenie", ActionDeleteGroupOfFolders));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(SpeedButton(Panel_TemplateTree, "SpeedButton1", ActionInsertNewFolder));
    folderRow->addWidget(SpeedButton(Panel_TemplateTree, "SpeedButton2", ActionInsertNewSub_folder));
    folderRow->addWidget(SpeedButton(Panel_TemplateTree, "SpeedButton3", ActionRenameFolder));
    folderRow->addWidget(SpeedButton(Panel_TemplateTree, "SpeedButton4", ActionDeleteFolder));
    folderRow->addStretch();
    IDTable_Template = new FolderTableCursor(DataModule1 ? &DataModule1->SessionOrvek() : nullptr, this);
    IDTable_Template->setObjectName(QStringLiteral("IDTable_Template"));
    IDTable_Template->DatabaseName = AliasDB;
    DBTemplateView = new TDBTreeView(Panel_TemplateTree);
    DBTemplateView->setObjectName(QStringLiteral("DBTemplateView"));
    DBTemplateView->SetOptions(kFolderWindowTreeOptions);
    DBTemplateView->setSortingEnabled(true);
    // Folders are renamed only by the action.
    DBTemplateView->OnEditing = [](QTreeWidgetItem*) { return false; };
    DBTemplateView->OnDeleteKey = [this] { ActionDeleteFolderExecute(); };
    DBTemplateView->OnKeyDown = [this](QKeyEvent* event) { return DBTemplateView->ExpandOrCollapseAllOnKey(event); };
    // The unassigned and deleted templates' folders stay where they are.
    DBTemplateView->FixedIDs = { QString::fromLatin1(kUnassignedFolder), QString::fromLatin1(kDeletedFolder) };
    DBTemplateView->OnInsertKey = [this](bool asChild) {
        if (asChild)
            ActionInsertNewSub_folderExecute();
        else
            ActionInsertNewFolderExecute();
    };
    DBTemplateView->SetDataSource(IDTable_Template);
    auto* treeLayout = new QVBoxLayout(Panel_TemplateTree);
    treeLayout->setContentsMargins(2, 2, 2, 2);
    treeLayout->addWidget(Panel_Group_of_Folders);
    treeLayout->addLayout(folderRow);
    treeLayout->addWidget(DBTemplateView, 1);

    // The templates of the folder.
    Panel_TemplateDB = new QWidget(this);
    Panel_TemplateDB->setObjectName(QStringLiteral("Panel_TemplateDB"));
    Panel_TemplateDB->setMinimumWidth(300);
    DBGrid_Template = new TVxDBGrid(Panel_TemplateDB);
    DBGrid_Template->setObjectName(QStringLiteral("DBGrid_Template"));
    DBGrid_Template->SetColMovingEnabled(true);
    DBGrid_Template->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid_Template->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid_Template->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid_Template->verticalHeader()->setDefaultSectionSize(DBGrid_Template->fontMetrics().height() + 6);
    Panel_Template_RecNo = new QLabel(QStringLiteral("0/0"), Panel_TemplateDB);
    Panel_Template_RecNo->setObjectName(QStringLiteral("Panel_Template_RecNo"));
    Panel_Template_RecNo->setFrameShape(QFrame::StyledPanel);
    Panel_Template_RecNo->setMinimumWidth(70);
    Panel_Template_RecNo->setAlignment(Qt::AlignCenter);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(SpeedButton(Panel_TemplateDB, "SpeedButton_EditData", ActionEditRecord));
    listRow->addWidget(SpeedButton(Panel_TemplateDB, "SpeedButton_VymazatZaznam", ActionDeleteRecord));
    listRow->addWidget(SpeedButton(Panel_TemplateDB, "SpeedButton_MoveRecord", ActionMoveSelectedRecordTo));
    listRow->addStretch();
    DBNavigator_Template = new TDBNavigator(Panel_TemplateDB);
    DBNavigator_Template->setObjectName(QStringLiteral("DBNavigator_Template"));
    listRow->addWidget(DBNavigator_Template);
    listRow->addWidget(Panel_Template_RecNo);
    auto* choose = SpeedButton(Panel_TemplateDB, "SpeedButton_ChooseTemplate", ActionCloseWindowandAddTemplateToDB);
    choose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* listLayout = new QVBoxLayout(Panel_TemplateDB);
    listLayout->setContentsMargins(2, 2, 2, 2);
    listLayout->addLayout(listRow);
    listLayout->addWidget(DBGrid_Template, 1);
    listLayout->addWidget(choose);

    // The shown template.
    Panel_Stromy = new QWidget(this);
    Panel_Stromy->setObjectName(QStringLiteral("Panel_Stromy"));
    PageControl1 = new QTabWidget(Panel_Stromy);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet_Struktura = new QWidget;
    TabSheet_Struktura->setObjectName(QStringLiteral("TabSheet_Struktura"));
    ScrollBox_Template = new TDiagramView(TabSheet_Struktura);
    ScrollBox_Template->setObjectName(QStringLiteral("ScrollBox_Template"));
    ScrollBox_Template->setContextMenuPolicy(Qt::CustomContextMenu);
    // Moves over the empty diagram clear the hovered cell (the window's event filter).
    ScrollBox_Template->Canvas()->setMouseTracking(true);
    ScrollBox_Template->viewport()->setMouseTracking(true);
    auto* diagramLayout = new QVBoxLayout(TabSheet_Struktura);
    diagramLayout->setContentsMargins(0, 0, 0, 0);
    diagramLayout->addWidget(ScrollBox_Template);
    const auto reportPage = [this](const char* pageName, const char* editName, QTextEdit*& edit) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(pageName));
        // Rich-edit controls: the report outputs render into and print from them.
        edit = new TRichEdit98(page);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setReadOnly(true);
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        edit->viewport()->setMouseTracking(true);
        connect(edit, &QWidget::customContextMenuRequested, this,
            [this, edit](const QPoint& pos) { PopupMenu3->popup(edit->viewport()->mapToGlobal(pos)); });
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        pageLayout->addWidget(edit);
        return page;
    };
    TabSheet_Poznamky = reportPage("TabSheet_Poznamky", "RichEdit_ShortReport_Template", RichEdit_ShortReport_Template);
    TabSheet_VzorecPreNeistotu = reportPage("TabSheet_VzorecPreNeistotu", "RichEdit981", RichEdit981);
    TabSheet_Service = new QWidget;
    TabSheet_Service->setObjectName(QStringLiteral("TabSheet_Service"));
    DBGrid_Service = new QTableView(TabSheet_Service);
    DBGrid_Service->setObjectName(QStringLiteral("DBGrid_Service"));
    DBGrid_Service->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* serviceQuery = new QToolButton(TabSheet_Service);
    serviceQuery->setObjectName(QStringLiteral("SpeedButton5"));
    serviceQuery->setText(QStringLiteral("Query"));
    serviceQuery->setCheckable(true);
    auto* serviceRefresh = new QToolButton(TabSheet_Service);
    serviceRefresh->setObjectName(QStringLiteral("SpeedButton6"));
    serviceRefresh->setText(QStringLiteral("Refresh"));
    auto* serviceButtons = new QHBoxLayout;
    serviceButtons->addWidget(serviceQuery);
    serviceButtons->addWidget(serviceRefresh);
    serviceButtons->addStretch();
    auto* serviceLayout = new QVBoxLayout(TabSheet_Service);
    serviceLayout->addLayout(serviceButtons);
    serviceLayout->addWidget(DBGrid_Service, 1);
    PageControl1->addTab(TabSheet_Struktura, QString());
    PageControl1->addTab(TabSheet_Poznamky, QString());
    PageControl1->addTab(TabSheet_VzorecPreNeistotu, QString());
    PageControl1->addTab(TabSheet_Service, QStringLiteral("Service"));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfOrvekDB::PageControl1Change);

    Panel_Equation = new QWidget(Panel_Stromy);
    Panel_Equation->setObjectName(QStringLiteral("Panel_Equation"));
    Panel_Equation->setMinimumHeight(70);
    Label_Rovnice = new QLabel(Panel_Equation);
    Label_Rovnice->setObjectName(QStringLiteral("Label_Rovnice"));
    CheckBox_ZalomitText = new QCheckBox(Panel_Equation);
    CheckBox_ZalomitText->setObjectName(QStringLiteral("CheckBox_ZalomitText"));
    connect(CheckBox_ZalomitText, &QCheckBox::toggled, this, &TfOrvekDB::ApplyEquationWrap);
    RichEdit_Rovnice_Template = new QTextEdit(Panel_Equation);
    RichEdit_Rovnice_Template->setObjectName(QStringLiteral("RichEdit_Rovnice_Template"));
    RichEdit_Rovnice_Template->setReadOnly(true);
    RichEdit_Rovnice_Template->setAcceptRichText(false);
    auto* equationTitle = new QHBoxLayout;
    equationTitle->addWidget(Label_Rovnice);
    equationTitle->addStretch();
    equationTitle->addWidget(CheckBox_ZalomitText);
    auto* equationLayout = new QVBoxLayout(Panel_Equation);
    equationLayout->setContentsMargins(2, 2, 2, 2);
    equationLayout->addLayout(equationTitle);
    equationLayout->addWidget(RichEdit_Rovnice_Template, 1);
    auto* rightSplitter = new QSplitter(Qt::Vertical, Panel_Stromy);
    rightSplitter->setObjectName(QStringLiteral("Splitter_Equation"));
    rightSplitter->addWidget(PageControl1);
    rightSplitter->addWidget(Panel_Equation);
    rightSplitter->setStretchFactor(0, 1);
    rightSplitter->setSizes({ 520, 110 });
    auto* rightLayout = new QVBoxLayout(Panel_Stromy);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(rightSplitter);

    Splitter_Panels = new QSplitter(Qt::Horizontal, this);
    Splitter_Panels->setObjectName(QStringLiteral("Splitter_Panels"));
    Splitter_Panels->addWidget(Panel_TemplateTree);
    Splitter_Panels->addWidget(Panel_TemplateDB);
    Splitter_Panels->addWidget(Panel_Stromy);
    Splitter_Panels->setStretchFactor(2, 1);
    Splitter_Panels->setSizes({ 250, 380, 550 });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const int widths[] = { 0, 200, 60, 90 };
    for (int panel = 0; panel < 4; ++panel) {
        StatusPanels[panel] = new QLabel(StatusBar1);
        StatusPanels[panel]->setObjectName(QStringLiteral("StatusPanel%1").arg(panel));
        if (panel == 0)
            StatusBar1->addWidget(StatusPanels[panel], 1);
        else {
            StatusPanels[panel]->setMinimumWidth(widths[panel]);
            StatusBar1->addPermanentWidget(StatusPanels[panel]);
        }
    }
}

void TfOrvekDB::BuildMenus()
{
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    const auto menu = [this](QWidget* parent, const char* name) {
        auto* m = new QMenu(parent);
        m->setObjectName(QString::fromLatin1(name));
        m->setToolTipsVisible(true);
        return m;
    };
    menuSaveToFile = menu(this, "menuSaveToFile");
    menuSaveToFile->addActions(
        { ActionExportTreeToFileAs, ActionShortReportSaveToFile, ActionFullReportSaveToFile, ActionTemplateSaveAs });
    menuPrintPreview = menu(this, "menuPrintPreview");
    menuPrintPreview->addActions(
        { ActionShortReportPrintPreview, ActionReportPrintPreview, ActionTemplatePrintPreview });
    menuPrint = menu(this, "menuPrint");
    menuPrint->addActions({ ActionShortReportPrint, ActionReportPrint, ActionTemplatePrint });
    menuCopy = menu(this, "menuCopy");
    menuCopy->addActions({ ActionCopyShortReport, ActionCopyFullReport, ActionCopyTemplate });

    MenuFile = menu(MainMenu, "MenuFile");
    MenuFile->addActions({ ActionNewRecFromNewTree, ActionNewRecFromFileTree });
    MenuFile->addSeparator();
    MenuFile->addMenu(menuSaveToFile);
    MenuFile->addMenu(menuPrintPreview);
    MenuFile->addMenu(menuPrint);
    MenuFile->addSeparator();
    MenuFile->addAction(ActionVyberPreReport);
    MenuFile->addSeparator();
    MenuFile->addAction(ActionCloseWindowandAddTemplateToDB);
    MenuFile->addAction(MenuExit);

    MenuNastroje = menu(MainMenu, "MenuNastroje");
    MenuNastroje->addActions({ ActionUndo, ActionRedo });
    MenuNastroje->addSeparator();
    MenuNastroje->addMenu(menuCopy);
    MenuNastroje->addSeparator();
    MenuNastroje->addActions({ ActionSelectAllRecords, ActionUnSelectAllRecords, ActionMoveSelectedRecordTo });
    MenuNastroje->addAction(ActionEnableDisableMultiselection);
    MenuNastroje->addSeparator();
    MenuNastroje->addActions(
        { ActionRenameFolder, ActionDeleteFolder, ActionInsertNewFolder, ActionInsertNewSub_folder });
    N32 = MenuNastroje->addSeparator();
    N32->setObjectName(QStringLiteral("N32"));
    MenuNastroje->addActions({ ActionNewGroupOfFolders, ActionDeleteGroupOfFolders, ActionRenameGroupOfFolders });
    MenuNastroje->addSeparator();
    MenuNastroje->addAction(ActionZobrazitVlastnostiBuniek);
    // Maintaining the catalogue of quantities and units; text and availability follow
    // the language and the installed list each time the menu opens.
    QAction* listOfQuantities = MenuNastroje->addAction(GetString(224));
    listOfQuantities->setObjectName(QStringLiteral("ActionListOfQuantities"));
    connect(listOfQuantities, &QAction::triggered, this, [] {
        if (QuantityListService* list = QuantityUnitList())
            list->MaintainQuantityList();
    });
    connect(MenuNastroje, &QMenu::aboutToShow, listOfQuantities, [listOfQuantities] {
        listOfQuantities->setText(GetString(224));
        listOfQuantities->setEnabled(QuantityUnitList() != nullptr);
    });

    menuTemplate = menu(MainMenu, "menuTemplate");
    menuTemplate->addAction(ActionUrobitKopiuZaznamu);
    menuTemplate->addSeparator();
    menuTemplate->addActions({ ActionEditovatObsahBunky, ActionSuhrnVelicin });
    menuTemplate->addSeparator();
    menuTemplate->addActions({ ActionDeleteRecord, ActionEditRecord });
    menuTemplate->addSeparator();
    menuTemplate->addActions({ ActionRovnicaNaVelicinu, ActionRovnicaNaInuRovnicuNovu });
    menuTemplate->addSeparator();
    menuTemplate->addAction(ActionVelicinaNaRovnicuNovu);
    menuTemplate->addSeparator();
    menuTemplate->addActions({ ActionNeistotaNova, ActionNeistotaVymazat, ActionNeistotaAnoNie });

    menuAdministrator = menu(MainMenu, "menuAdministrator");
    menuAdministrator->addAction(ActionShowHistory);

    MenuZoom = menu(MainMenu, "MenuZoom");
    MenuZoom->addActions({ ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 });
    MenuZobrazenie = menu(MainMenu, "MenuZobrazenie");
    MenuZobrazenie->addActions({ ActionShowAllTemplates, ActionSearchTemplates });
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addActions({ ActionShowUnassigned, ActionShowDeleted });
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addAction(ActionShowHideSummaryWindow);
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addActions({ ActionStromZvacsit, ActionStromZmensit });
    MenuZobrazenie->addMenu(MenuZoom);
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addActions(
        { ActionZvyraznitLenNenaplnene, ActionZvyraznitLenExpirovane, ActionShowMaxUncertainty });
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addActions({ ActionCollapseFolderStructure, ActionExpandFolderStructure });
    MenuZobrazenie->addSeparator();
    MenuZobrazenie->addAction(ActionStromRozbalit);

    menuValidacia = menu(MainMenu, "menuValidacia");
    menuValidation_in_Orvek2000 = menu(menuValidacia, "menuValidation_in_Orvek2000");
    menuValidation_in_Orvek2000->addActions(
        { Action_S2, Action_S3, Action_S4, Action_S5_1, Action_S5_2, Action_S6, Action_S7, Action_PSV });
    menuValidacia->addMenu(menuValidation_in_Orvek2000);
    // The examples are offered once a validation example has been picked.
    menuValidation_in_Orvek2000->menuAction()->setVisible(false);

    MenuPomocnik = menu(MainMenu, "MenuPomocnik");
    MenuPomocnik->addActions({ ActionHelpContents, ActionHelpGlossary });
    MenuPomocnik->addSeparator();
    MenuPomocnik->addActions({ ActionKestravaTechnicalSupport, ActionBrantel_HomePage });
    MenuPomocnik->addSeparator();
    MenuPomocnik->addAction(ActionAboutProgram);

    menuService = menu(MainMenu, "menuService");
    menuService->setTitle(QStringLiteral("Service"));

    for (QMenu* m : { MenuFile, MenuNastroje, menuTemplate, menuAdministrator, MenuZobrazenie, menuValidacia,
             MenuPomocnik, menuService })
        MainMenu->addMenu(m);

    // The diagram's pop-up menu.
    PopupMenu1 = menu(this, "PopupMenu1");
    PopupMenu1->addAction(Editovaobsahbunky2);
    N4 = PopupMenu1->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    PopupMenu1->addActions({ RovnicuZmenitNaVelicinu, RovnicuZmenitNaNovuRovnicu, VelicinuZmenitNaNovuRovnicu });
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    PopupMenu1->addActions({ PridatNovuNeistotuMainMenu, Vymazaoznaen1, ZablokovaOdblokovaoznaen1 });
    N10 = PopupMenu1->addSeparator();
    N10->setObjectName(QStringLiteral("N10"));
    MenuZoom2 = menu(PopupMenu1, "MenuZoom2");
    MenuZoom2->addActions({ ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 });
    PopupMenu1->addActions({ ActionStromZvacsit, ActionStromZmensit });
    PopupMenu1->addMenu(MenuZoom2);
    N12 = PopupMenu1->addSeparator();
    N12->setObjectName(QStringLiteral("N12"));
    PopupMenu1->addActions({ ActionZvyraznitLenNenaplnene, ActionZvyraznitLenExpirovane, ActionShowMaxUncertainty,
        ActionStromRozbalit, ActionZobrazitVlastnostiBuniek });
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TfOrvekDB::PopupMenu1Popup);
    connect(ScrollBox_Template, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (CurrentUserRights >= 1 && CurrentUserRights <= 3)
            PopupMenu1->popup(ScrollBox_Template->viewport()->mapToGlobal(pos));
    });

    // The grid's and the folder tree's pop-up menus.
    PopupMenu2 = menu(this, "PopupMenu2");
    PopupMenu2->addAction(ActionUrobitKopiuZaznamu);
    PopupMenu2->addSeparator();
    PopupMenu2->addActions({ ActionShowAllTemplates, ActionSearchTemplates });
    PopupMenu2->addSeparator();
    PopupMenu2->addActions({ ActionShowUnassigned, ActionShowDeleted });
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(ActionEnableDisableMultiselection);
    PopupMenu2->addActions({ ActionSelectAllRecords, ActionUnSelectAllRecords });
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(ActionMoveSelectedRecordTo);
    DBGrid_Template->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid_Template, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { PopupMenu2->popup(DBGrid_Template->viewport()->mapToGlobal(pos)); });
    PopupMenu_DBTemplate = menu(this, "PopupMenu_DBTemplate");
    PopupMenu_DBTemplate->addAction(ActionRenameFolder);
    PopupMenu_DBTemplate->addSeparator();
    PopupMenu_DBTemplate->addAction(ActionDeleteFolder);
    PopupMenu_DBTemplate->addSeparator();
    PopupMenu_DBTemplate->addActions({ ActionInsertNewFolder, ActionInsertNewSub_folder });
    PopupMenu_DBTemplate->addSeparator();
    PopupMenu_DBTemplate->addActions({ ActionCollapseFolderStructure, ActionExpandFolderStructure });
    PopupMenu_DBTemplate->addSeparator();
    PopupMenu_DBTemplate->addActions({ ActionShowUnassigned, ActionShowDeleted });
    DBTemplateView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBTemplateView, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { PopupMenu_DBTemplate->popup(DBTemplateView->viewport()->mapToGlobal(pos)); });

    // The report pages' pop-up menu: the copy of the page.
    PopupMenu3 = menu(this, "PopupMenu3");
    auto* copy = PopupMenu3->addAction(QString());
    copy->setObjectName(QStringLiteral("menuCopyToClipboard"));
    connect(copy, &QAction::triggered, this, &TfOrvekDB::menuCopyToClipboardClick);
}

void TfOrvekDB::BuildToolBars()
{
    const auto dropDown = [this](const char* name, QMenu* menu) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setAutoRaise(true);
        button->setMinimumWidth(44);
        return button;
    };
    ToolButton_Copy = dropDown("ToolButton_Copy", menuCopy);
    ToolButton_SaveToFile = dropDown("ToolButton_SaveToFile", menuSaveToFile);
    ToolButton_PrintPreview = dropDown("ToolButton_PrintPreview", menuPrintPreview);
    ToolButton_Print = dropDown("ToolButton_Print", menuPrint);
    // Each button repeats the output last run in its mode (the output actions make
    // themselves its action), at first the short report's.
    const std::pair<QToolButton*, QAction*> firstActions[] = { { ToolButton_Copy, ActionCopyShortReport },
        { ToolButton_SaveToFile, ActionShortReportSaveToFile },
        { ToolButton_PrintPreview, ActionShortReportPrintPreview }, { ToolButton_Print, ActionShortReportPrint } };
    for (const auto& [button, action] : firstActions)
        button->setDefaultAction(action);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(20, 20));
    ToolBar1->addActions({ ActionNewRecFromNewTree, ActionNewRecFromFileTree, ActionUrobitKopiuZaznamu });
    ToolBar1->addSeparator();
    ToolBar1->addActions({ ActionUndo, ActionRedo });
    ToolBar1->addSeparator();
    for (QToolButton* button : { ToolButton_Copy, ToolButton_SaveToFile, ToolButton_PrintPreview, ToolButton_Print })
        ToolBar1->addWidget(button);
    ToolBar1->addSeparator();
    ToolBar1->addActions({ ActionVyberPreReport, ActionZobrazitVlastnostiBuniek, ActionHelpContents });

    ComboBox_Zoom = new QComboBox(this);
    ComboBox_Zoom->setObjectName(QStringLiteral("ComboBox_Zoom"));
    connect(ComboBox_Zoom, &QComboBox::activated, this, &TfOrvekDB::ComboBox_ZoomClick);
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setIconSize(QSize(20, 20));
    ToolBar2->addActions({ ActionZvyraznitLenNenaplnene, ActionZvyraznitLenExpirovane, ActionShowMaxUncertainty });
    ToolBar2->addSeparator();
    ToolBar2->addAction(ActionStromRozbalit);
    ToolBar2->addSeparator();
    ToolBar2->addActions({ ActionStromZvacsit, ActionStromZmensit });
    ToolBar2->addSeparator();
    ToolBar2->addActions({ ActionEditovatObsahBunky, ActionNeistotaNova, ActionNeistotaVymazat, ActionNeistotaAnoNie });
    ToolBar2->addSeparator();
    ToolBar2->addAction(ActionSuhrnVelicin);
    ToolBar2->addWidget(ComboBox_Zoom);
    ToolBar2->addAction(ActionShowHideSummaryWindow);
    ToolBar2->addSeparator();
    ToolBar2->addActions({ ActionShowAllTemplates, ActionSearchTemplates });
}

void TfOrvekDB::FormCreate()
{
    // The service page and menu are the service login's only.
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet_Service), false);
    menuService->menuAction()->setVisible(false);
    Timer1->stop();

    // The undo history has a file of its own, as the main window's has: the record and
    // template lists keep read cursors open on the temporary folder's shared file.
    document_ = std::make_unique<TTemplateDocument>(
        ScrollBox_Template, [] { return WindowUndoDatabase(QStringLiteral("TemplateUndo")); });
    list_ = std::make_unique<TTemplateList>(DataModule1 ? &DataModule1->SessionOrvek() : nullptr);
    StartTickLoop();

    PreviewPrinter1->TextOptions.PageNumAlign = taRightJustify;
    PreviewPrinter1->TextOptions.FooterMargin = PreviewFooterMargin;
    DBTemplateView->DefaultNewName = GetString(828);

    ComboBox_Zoom->clear();
    for (const QString& text : ZoomPresetTexts)
        ComboBox_Zoom->addItem(text);
    ComboBox_Zoom->setCurrentIndex(ZoomPresetIndex);

    PrepareFolderGroups();
    BuildGridColumns();

    Zoom.Remember();
    CurrentTemplateID = 0;
    RichEdit_Rovnice_Template->clear();
    N10->setVisible(false);
    N12->setVisible(false);
    QPalette palette = ScrollBox_Template->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(BackgroundColor));
    ScrollBox_Template->setPalette(palette);
    PageControl1->setCurrentWidget(TabSheet_Struktura);

    RefreshTexts();
    ApplyEquationWrap();
    RestorePanelSizes();
    UpdateUndoActions();
    WindowReady = false;
}

void TfOrvekDB::RestorePanelSizes()
{
    // The panels' starting sizes, before the window was ever laid out.
    constexpr int kTreeWidth = 250, kListWidth = 400, kDiagramWidth = 530;
    constexpr int kPagesHeight = 540, kEquationHeight = 110;
    const int tree = RestoredPanelWidth(
        WindowSizeOrvekDB[0], Panel_TemplateTree->minimumWidth(), kTreeWidth, kListWidth + kDiagramWidth);
    const int list
        = RestoredPanelWidth(WindowSizeOrvekDB[1], Panel_TemplateDB->minimumWidth(), kListWidth, kDiagramWidth);
    const int total = kTreeWidth + kListWidth + kDiagramWidth;
    Splitter_Panels->setSizes({ tree, list, std::max(total - tree - list, 200) });
    if (auto* right = Panel_Stromy->findChild<QSplitter*>(QStringLiteral("Splitter_Equation"))) {
        const int equation
            = RestoredPanelHeight(WindowSizeOrvekDB[2], Panel_Equation->minimumHeight(), kEquationHeight, kPagesHeight);
        right->setSizes({ std::max(kPagesHeight + kEquationHeight - equation, 200), equation });
    }
}

void TfOrvekDB::StoreLayout()
{
    TTemplateGridColumns columns;
    const QHeaderView* header = DBGrid_Template->horizontalHeader();
    QStringList fields;
    for (int visual = 0; visual < header->count(); ++visual)
        fields << DBGrid_Template->model()
                      ->headerData(header->logicalIndex(visual), Qt::Horizontal, Qt::UserRole)
                      .toString();
    const QVector<int> order = SortFieldsFromColumnFields(fields);
    if (order.size() == TemplateGridSortCount) {
        for (int j = 0; j < TemplateGridSortCount; ++j) {
            columns.Fields[size_t(j)] = order[j];
            columns.Widths[size_t(j)] = header->sectionSize(header->logicalIndex(j));
        }
        StoreTemplateColumns(columns, OrvekDBTableInfo);
    }
    const QList<int> sizes = Splitter_Panels->sizes();
    WindowSizeOrvekDB[0] = sizes.value(0);
    WindowSizeOrvekDB[1] = sizes.value(1);
    if (auto* right = Panel_Stromy->findChild<QSplitter*>(QStringLiteral("Splitter_Equation")))
        WindowSizeOrvekDB[2] = right->sizes().value(1);
}

bool TfOrvekDB::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && isVisible()) {
        deactivated_ = false;
        FormActivate();
    }
    return QDialog::event(event);
}

void TfOrvekDB::showEvent(QShowEvent* event)
{
    // Keys reach the focused control first; the window sees them all, as the drag-moving
    // of templates needs Shift and Ctrl wherever the focus is.
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

bool TfOrvekDB::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Some platforms report a modifier key's own press without its modifier.
            Qt::KeyboardModifiers modifiers = key->modifiers();
            if (key->key() == Qt::Key_Shift)
                modifiers |= Qt::ShiftModifier;
            else if (key->key() == Qt::Key_Control)
                modifiers |= Qt::ControlModifier;
            if (type == QEvent::KeyPress)
                FormKeyDown(key->key(), modifiers, QCursor::pos());
            else
                FormKeyUp(key->key(), key->modifiers());
        }
        return false;
    }
    if (watched == ScrollBox_Template->Canvas() || watched == ScrollBox_Template->viewport()) {
        if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ScrollBox_TemplateClick();
        else if (type == QEvent::MouseMove)
            ScrollBox_TemplateMouseMove();
        return false;
    }
    // A mouse over a report page makes it the active control.
    if (type == QEvent::MouseMove && isActiveWindow()) {
        for (QTextEdit* page : { RichEdit_ShortReport_Template, RichEdit981 })
            if (watched == page->viewport() && !page->hasFocus())
                page->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void TfOrvekDB::FormActivate()
{
    UpdateActions();
}

void TfOrvekDB::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    MoveKeysDown = GridMouseDown = false;
    if (MovingEnabled)
        SpeedButton_EnableMovingClick();
    // Hiding without a result (not through OK or Cancel) still stores what was changed.
    if (!closingByResult_ && WindowReady && !Closing)
        FormClose(0);
    closingByResult_ = false;
    FormDeactivate();
    QDialog::hideEvent(event);
}

void TfOrvekDB::FormDeactivate()
{
    // The window's own dialogs and message boxes do not count: this runs when the
    // window is hidden, so an edit in a cell dialog keeps its undo history.
    Timer1->stop();
    if (deactivated_)
        return;
    deactivated_ = true;
    SaveAndResetUndo();
    UpdateUndoActions();
}

void TfOrvekDB::done(int result)
{
    const int modalResult = result == QDialog::Rejected ? kTemplateWindowCancel : result;
    closingByResult_ = true;
    FormClose(modalResult);
    QDialog::done(modalResult);
}

void TfOrvekDB::FormClose(int modalResult)
{
    Timer1->stop();
    Closing = true;
    RichEdit981->clear();
    StoreLayout();
    SaveSettings();
    // A pending change is stored before the tables close; the lock is released.
    document_->CloseTemplate();
    UpdateUndoActions();
    if (modalResult != 0) {
        ClearCellCommands();
        DBTemplateView->SetOption(dtFocusOnEdit, false);
        list_->Close();
        ResetListModel();
    } else {
        Closing = false;
    }
    if (ResultSummary() && ResultSummary()->IsVisible())
        ResultSummary()->Hide();
}

void TfOrvekDB::FormDestroy()
{
    // Folder-tree and group changes are ignored from here on.
    Closing = true;
    if (Timer1)
        Timer1->stop();
    StopTickLoop();
    // The tree, then the undo table and the answer table of the list go.
    document_.reset();
    SelectedIds.clear();
    if (model_)
        DBGrid_Template->setModel(nullptr);
    list_.reset();
    if (fOrvekDB == this)
        fOrvekDB = nullptr;
}

void TfOrvekDB::UpdateActions()
{
    const bool service = CurrentUserName == kServiceUser;
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet_Service), service);
    menuService->menuAction()->setVisible(service);

    CurrentDiagramKind = true;
    Timer1->stop();
    SensitivityPassEnabled = true;
    DBTemplateView->SetOption(dtFocusOnEdit, true);

    TemplateCount = 0;
    {
        QSqlDatabase db = RecordsDatabase();
        QSqlQuery query(db);
        if (db.isOpen() && query.exec(QStringLiteral("SELECT count(*) FROM TemplateDB")) && query.next())
            TemplateCount = query.value(0).toInt();
    }
    // Each window keeps its own zoom although the zoom globals are shared.
    if (Zoom.RestoreOwnZoom())
        SyncZoomControls();

    const bool r12 = CurrentUserRights == 1 || CurrentUserRights == 2;
    const bool r123 = CurrentUserRights >= 1 && CurrentUserRights <= 3;
    const bool rows = list_->Active() && ListRowCount() > 0;
    const bool editable = rows && r123 && !document_->TemplateReadOnly;
    const bool folderMode = TemplateViewMode == 0;
    const QString firstField = DBGrid_Template->model()
        ? DBGrid_Template->model()
              ->headerData(DBGrid_Template->horizontalHeader()->logicalIndex(0), Qt::Horizontal, Qt::UserRole)
              .toString()
        : QString();

    for (QAction* action : { ActionCollapseFolderStructure, ActionExpandFolderStructure })
        action->setEnabled(true);
    for (QAction* action : { ActionInsertNewFolder, ActionInsertNewSub_folder, ActionRenameFolder, ActionDeleteFolder })
        action->setEnabled(r12 && folderMode);
    ActionShowAllTemplates->setEnabled(TemplateCount > 0);
    ActionSearchTemplates->setEnabled(TemplateCount > 0 && TemplateSearchAllowed(firstField));
    menuAdministrator->menuAction()->setVisible(r12);
    // A new template from an equation needs the equation dialog, the cell properties
    // the settings dialog and the summary its window: without them they stay disabled.
    ActionNewRecFromNewTree->setEnabled(r123 && EquationDialog() != nullptr);
    ActionNewRecFromFileTree->setEnabled(r123);
    ActionZobrazitVlastnostiBuniek->setEnabled(SettingsDialog() != nullptr);
    for (QAction* action : { ActionSelectAllRecords, ActionUnSelectAllRecords })
        action->setEnabled(rows);
    for (QAction* action : { ActionMoveSelectedRecordTo, ActionUrobitKopiuZaznamu, ActionExportTreeToFileAs,
             ActionVyberPreReport, ActionFullReportSaveToFile, ActionCopyFullReport, ActionReportPrintPreview,
             ActionReportPrint, ActionCopyShortReport, ActionShortReportPrintPreview, ActionShortReportPrint,
             ActionShortReportSaveToFile, menuSaveToFile->menuAction(), menuPrintPreview->menuAction(),
             menuPrint->menuAction(), menuCopy->menuAction() })
        action->setEnabled(rows && r123);
    for (QToolButton* button : { ToolButton_Copy, ToolButton_SaveToFile, ToolButton_PrintPreview, ToolButton_Print })
        button->setEnabled(rows && r123);
    for (QAction* action : { ActionEditovatObsahBunky, ActionNeistotaNova, ActionNeistotaVymazat, ActionNeistotaAnoNie,
             ActionEditRecord, ActionRovnicaNaVelicinu, ActionRovnicaNaInuRovnicuNovu, ActionVelicinaNaRovnicuNovu,
             ActionSuhrnVelicin, Editovaobsahbunky2, RovnicuZmenitNaVelicinu, RovnicuZmenitNaNovuRovnicu,
             VelicinuZmenitNaNovuRovnicu, Vymazaoznaen1, ZablokovaOdblokovaoznaen1, PridatNovuNeistotuMainMenu })
        action->setEnabled(editable);
    ActionSuhrnVelicin->setEnabled(editable && QuantitySummary() != nullptr);
    ActionDeleteRecord->setEnabled(rows && r123 && !document_->TemplateInUse);
    ActionShowHistory->setEnabled(rows && r12);
    for (QAction* action : { ActionShowMaxUncertainty, ActionStromZvacsit, ActionStromZmensit,
             ActionZvyraznitLenExpirovane, ActionZvyraznitLenNenaplnene, ActionStromRozbalit, MenuZoom->menuAction(),
             MenuZoom2->menuAction(), ActionCloseWindowandAddTemplateToDB })
        action->setEnabled(rows);
    // Without the summary window the summary cannot be shown.
    ActionShowHideSummaryWindow->setEnabled(rows && ResultSummary() != nullptr);
    ComboBox_Zoom->setEnabled(rows);

    ScrollBox_Template->setContextMenuPolicy(r123 ? Qt::CustomContextMenu : Qt::NoContextMenu);
    UpdateCaptionZoom();
    tick_->RestartLoadDelay();
    Timer1->start();
}

void TfOrvekDB::SaveAndResetUndo()
{
    document_->SaveAndResetUndo();
}

void TfOrvekDB::ClearDiagram()
{
    document_->ClearDiagram();
    Panel_Template_RecNo->setText(QStringLiteral("0/0"));
    ScrollBox_Template->setVisible(false);
    RichEdit_ShortReport_Template->clear();
    RichEdit_Rovnice_Template->clear();
    SetStatusText(0, 0, QString());
    UpdateUndoActions();
    UpdateActions();
}

void TfOrvekDB::LoadCurrentTemplate()
{
    Timer1->stop();
    ShowRecordCounter();
    const TTemplateLoadStatus status = document_->LoadCurrentTemplate(CurrentRowID());
    SetStatusText(status.Bold ? 1 : 0, 0, status.Text);
    // The report pages are built from the new template when they are shown.
    ShortReportStale = FormulaPageStale = true;
    if (PageControl1->currentWidget() != TabSheet_Struktura)
        PageControl1Change();
    if (RelayoutPending) {
        RelayoutPending = false;
        RelayoutToZoom();
        UpdateCaptionZoom();
    }
    RefreshEquationsPage();
    UpdateUndoActions();
}

void TfOrvekDB::SetStatusText(int style, quint32 color, const QString& text)
{
    QFont font = StatusBar1->font();
    font.setBold(style == 1);
    const QString colour = ColorFromBgr(color).name();
    for (QLabel* panel : StatusPanels) {
        panel->setFont(font);
        panel->setStyleSheet(QStringLiteral("color: %1").arg(colour));
    }
    StatusPanels[0]->setText(QStringLiteral(" ") + text);
    StatusPanels[1]->setText(CurrentGroupName);
    QString mode;
    if (QuelvarMode)
        mode = QStringLiteral(" Quelvar");
    if (OstrevinMode)
        mode = QStringLiteral(" Ostrevin");
    StatusPanels[3]->setText(mode);
}

void TfOrvekDB::PageControl1Change()
{
    QWidget* page = PageControl1->currentWidget();
    if (page == TabSheet_Struktura) {
        UpdateActions();
    } else if (page == TabSheet_Poznamky) {
        ActionUrobitKopiuZaznamu->setEnabled(false);
        RefreshReportPage();
    } else if (page == TabSheet_VzorecPreNeistotu) {
        RefreshReportPage();
    }
}

} // namespace orvek
