// The template window's diagram commands: the cell commands armed by the tool bar, the
// menu and the diagram's pop-up menu, the highlighting, the zoom presets, the summary
// window, the equations page and the help commands.

#include "core/common_vars.h"
#include "core/help.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/splash_window.h"
#include "database/data_module.h"
#include "database/query_rows_model.h"
#include "database/template_document.h"
#include "database/template_window_texts.h"
#include "database/ui/template_window.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_texts.h"
#include "richtext/ui/report_output.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QSqlDatabase>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>

namespace orvek {

namespace {

bool HasEditRights()
{
    return CurrentUserRights >= 1 && CurrentUserRights <= 3;
}

} // namespace

void TfOrvekDB::ConnectHelpActions()
{
    connect(ActionHelpContents, &QAction::triggered, this, [] { ShowHelpContents(); });
    connect(ActionHelpGlossary, &QAction::triggered, this, [] { ShowHelpGlossary(); });
    connect(ActionAboutProgram, &QAction::triggered, this, [this] {
        TfOrvekAbout about(this);
        about.exec();
    });
    connect(
        ActionKestravaTechnicalSupport, &QAction::triggered, this, &TfOrvekDB::ActionKestravaTechnicalSupportExecute);
    connect(ActionBrantel_HomePage, &QAction::triggered, this, &TfOrvekDB::ActionBrantel_HomePageExecute);
}

void TfOrvekDB::ActionBrantel_HomePageExecute()
{
    OpenWebAddress(QUrl(ProductWebPage(LanguageID)));
}

void TfOrvekDB::ActionKestravaTechnicalSupportExecute()
{
    OpenWebAddress(QUrl(QStringLiteral("mailto:") + SupportEMail));
}

void TfOrvekDB::ClearCellCommands()
{
    orvek::ClearCellCommands();
    for (QAction* action :
        { ActionEditovatObsahBunky, ActionPozrietBunku, ActionRovnicaNaVelicinu, ActionRovnicaNaInuRovnicuNovu,
            ActionVelicinaNaRovnicuNovu, ActionNeistotaNova, ActionNeistotaVymazat, ActionNeistotaAnoNie })
        action->setChecked(false);
}

bool TfOrvekDB::MayChangeTemplate()
{
    if (!document_->TemplateInUse)
        return true;
    // Records were made from this template: it stays as it is, and a copy is offered.
    if (MessageDlg(GetString(636), TMsgDlgType::mtConfirmation, mbYesNo) == mrYes)
        ActionUrobitKopiuZaznamu->trigger();
    return false;
}

void TfOrvekDB::ArmCellCommand(QAction* action, bool* command, bool toggleOnly)
{
    // The action has toggled its check mark already; its state before is the opposite.
    const bool wasChecked = !action->isChecked();
    action->setChecked(wasChecked);
    if (!HasEditRights())
        return;
    Timer1->stop();
    if (MayChangeTemplate()) {
        if (!toggleOnly || !wasChecked)
            ClearCellCommands();
        action->setChecked(!wasChecked);
        *command = !wasChecked;
    }
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::ArmConversion(QAction* action, bool* command)
{
    // Choosing a conversion again keeps it armed.
    ClearCellCommands();
    *command = true;
    action->setChecked(true);
}

void TfOrvekDB::ActionEditovatObsahBunkyExecute()
{
    ArmCellCommand(ActionEditovatObsahBunky, &CmdEditCell, true);
}

void TfOrvekDB::ActionNeistotaNovaExecute()
{
    ArmCellCommand(ActionNeistotaNova, &CmdAddUncertainty, false);
}

void TfOrvekDB::ActionNeistotaVymazatExecute()
{
    ArmCellCommand(ActionNeistotaVymazat, &CmdDeleteCell, false);
}

void TfOrvekDB::ActionNeistotaAnoNieExecute()
{
    ArmCellCommand(ActionNeistotaAnoNie, &CmdToggleActive, false);
}

void TfOrvekDB::ActionRovnicaNaVelicinuExecute()
{
    ArmConversion(ActionRovnicaNaVelicinu, &CmdEquationToQuantity);
}

void TfOrvekDB::ActionRovnicaNaInuRovnicuNovuExecute()
{
    ArmConversion(ActionRovnicaNaInuRovnicuNovu, &CmdEquationToNewEquation);
}

void TfOrvekDB::ActionVelicinaNaRovnicuNovuExecute()
{
    ArmConversion(ActionVelicinaNaRovnicuNovu, &CmdQuantityToNewEquation);
}

void TfOrvekDB::Editovaobsahbunky2Click()
{
    RunPopupCommand(&CmdEditCell);
}

void TfOrvekDB::RovnicuZmenitNaVelicinuClick()
{
    RunPopupCommand(&CmdEquationToQuantity);
}

void TfOrvekDB::RovnicuZmenitNaNovuRovnicuClick()
{
    RunPopupCommand(&CmdEquationToNewEquation);
}

void TfOrvekDB::VelicinuZmenitNaNovuRovnicuClick()
{
    RunPopupCommand(&CmdQuantityToNewEquation);
}

void TfOrvekDB::PridatNovuNeistotuMainMenuClick()
{
    RunPopupCommand(&CmdAddUncertainty);
}

void TfOrvekDB::Vymazaoznaen1Click()
{
    RunPopupCommand(&CmdDeleteCell);
}

void TfOrvekDB::ZablokovaOdblokovaoznaen1Click()
{
    RunPopupCommand(&CmdToggleActive);
}

void TfOrvekDB::PopupMenu1Popup()
{
    QAction* commandItems[] = { RovnicuZmenitNaVelicinu, RovnicuZmenitNaNovuRovnicu, VelicinuZmenitNaNovuRovnicu,
        Vymazaoznaen1, ZablokovaOdblokovaoznaen1, PridatNovuNeistotuMainMenu, Editovaobsahbunky2, N4, N1 };
    ClickedCell = HoveredCell;
    if (!ClickedCell) {
        for (QAction* item : commandItems)
            item->setVisible(false);
        return;
    }
    for (QAction* item : { Editovaobsahbunky2, N4, N1 })
        item->setVisible(true);
    const int type = ClickedCell->FCellType;
    RovnicuZmenitNaVelicinu->setVisible(type == kEquationCell && ClickedCell->FParent);
    RovnicuZmenitNaNovuRovnicu->setVisible(type == kEquationCell);
    VelicinuZmenitNaNovuRovnicu->setVisible(type == kQuantityCell);
    Vymazaoznaen1->setVisible(type == kUncertaintyCell);
    ZablokovaOdblokovaoznaen1->setVisible(type == kUncertaintyCell);
    PridatNovuNeistotuMainMenu->setVisible(
        type == kEquationCell || type == kUncertaintyCell || (type == kQuantityCell && ClickedCell->FValueType == 0));
}

void TfOrvekDB::RunPopupCommand(bool* command)
{
    if (!HasEditRights())
        return;
    Timer1->stop();
    if (MayChangeTemplate() && ClickedCell) {
        orvek::ClearCellCommands();
        *command = true;
        RunCellCommand();
    }
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::RunCellCommand()
{
    TCell* cell = ClickedCell;
    ClickedCell = nullptr;
    if (cell)
        if (CellToolService* tools = CellTools())
            tools->ClickAction(cell);
    ClearCellCommands();
}

void TfOrvekDB::ScrollBox_TemplateClick()
{
    ClickedCell = nullptr;
    ClearCellCommands();
}

void TfOrvekDB::ScrollBox_TemplateMouseMove()
{
    if (Timer1->isActive())
        HoveredCell = nullptr;
    if (isActiveWindow() && !ScrollBox_Template->hasFocus())
        ScrollBox_Template->setFocus();
}

void TfOrvekDB::ActionZvyraznitLenNenaplneneExecute()
{
    // The action toggled itself; its state before is the opposite.
    const bool wasChecked = !ActionZvyraznitLenNenaplnene->isChecked();
    ActionZvyraznitLenExpirovane->setChecked(false);
    ActionShowMaxUncertainty->setChecked(false);
    TCell* root = document_->RootCell;
    if (wasChecked) {
        ActionZvyraznitLenNenaplnene->setChecked(false);
        HighlightMode = 0;
    } else if (root && root->HasUnfilledCells()) {
        ActionZvyraznitLenNenaplnene->setChecked(true);
        HighlightMode = 1;
    } else {
        ActionZvyraznitLenNenaplnene->setChecked(false);
        MessageDlg(GetString(708), TMsgDlgType::mtInformation, mbYes);
        HighlightMode = 0;
    }
    HighlightRequest = true;
}

void TfOrvekDB::ActionZvyraznitLenExpirovaneExecute()
{
    const bool wasChecked = !ActionZvyraznitLenExpirovane->isChecked();
    ActionZvyraznitLenNenaplnene->setChecked(false);
    ActionShowMaxUncertainty->setChecked(false);
    TCell* root = document_->RootCell;
    if (wasChecked) {
        ActionZvyraznitLenExpirovane->setChecked(false);
        HighlightMode = 0;
    } else if (root && root->HasExpiredSource()) {
        ActionZvyraznitLenExpirovane->setChecked(true);
        HighlightMode = 2;
    } else {
        ActionZvyraznitLenExpirovane->setChecked(false);
        MessageDlg(GetString(652), TMsgDlgType::mtInformation, mbYes);
        HighlightMode = 0;
    }
    HighlightRequest = true;
}

void TfOrvekDB::ActionShowMaxUncertaintyExecute()
{
    const bool wasChecked = !ActionShowMaxUncertainty->isChecked();
    ActionZvyraznitLenNenaplnene->setChecked(false);
    ActionZvyraznitLenExpirovane->setChecked(false);
    TCell* root = document_->RootCell;
    if (wasChecked || !root) {
        ActionShowMaxUncertainty->setChecked(false);
        HighlightMode = 0;
    } else if (root->HasUnfilledCells()) {
        ActionShowMaxUncertainty->setChecked(false);
        if (MessageDlg(GetString(883), TMsgDlgType::mtWarning, mbYesNo) == mrYes) {
            ActionZvyraznitLenNenaplnene->setChecked(true);
            HighlightMode = 1;
        }
    } else {
        // The sensitivities are computed when the tick recolours the boxes.
        ActionShowMaxUncertainty->setChecked(true);
        HighlightMode = 3;
    }
    HighlightRequest = true;
}

void TfOrvekDB::ActionStromRozbalitExecute()
{
    ClearCellCommands();
    ExpandTreeRequest = true;
}

void TfOrvekDB::ActionStromZvacsitExecute()
{
    ClearCellCommands();
    ZoomInRequest = true;
}

void TfOrvekDB::ActionStromZmensitExecute()
{
    ClearCellCommands();
    ZoomOutRequest = true;
}

void TfOrvekDB::ActionZoomPresetExecute(int preset)
{
    UncheckZoomActions();
    ZoomPresetIndex = preset;
    ZoomPresetRequest = true;
    SyncZoomControls();
}

void TfOrvekDB::ComboBox_ZoomClick()
{
    ZoomPresetRequest = true;
    ZoomPresetIndex = ComboBox_Zoom->currentIndex();
    CheckZoomAction(ZoomPresetIndex);
}

void TfOrvekDB::UncheckZoomActions()
{
    for (QAction* action : { ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 })
        action->setChecked(false);
}

void TfOrvekDB::CheckZoomAction(int preset)
{
    UncheckZoomActions();
    QAction* const presets[] = { ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 };
    if (preset >= 1 && preset <= 5)
        presets[preset - 1]->setChecked(true);
}

void TfOrvekDB::ActionShowHideSummaryWindowExecute()
{
    ResultSummaryService* summary = ResultSummary();
    SummaryShown = !SummaryShown && summary;
    ActionShowHideSummaryWindow->setChecked(SummaryShown);
    if (!summary)
        return;
    if (!SummaryShown) {
        summary->Hide();
        return;
    }
    summary->ShowStayOnTop();
    if (document_->RootCell)
        summary->ShowCellSummary(document_->RootCell);
}

void TfOrvekDB::MenuExitClick()
{
    done(kTemplateWindowCancel);
}

void TfOrvekDB::RefreshEquationsPage()
{
    RichEdit_Rovnice_Template->clear();
    if (document_->RootCell)
        RichEdit_Rovnice_Template->setPlainText(EquationsText(*document_->RootCell));
}

void TfOrvekDB::ApplyEquationWrap()
{
    const bool wrap = CheckBox_ZalomitText->isChecked();
    RichEdit_Rovnice_Template->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    RichEdit_Rovnice_Template->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    RichEdit_Rovnice_Template->setVerticalScrollBarPolicy(wrap ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TfOrvekDB::PopupMenu3Popup()
{
    if (auto* separate = findChild<QAction*>(QStringLiteral("dosamostatnhookna1")))
        separate->setText(GetString(943, { PageControl1->tabText(PageControl1->currentIndex()) }));
}

void TfOrvekDB::menuCopyToClipboardClick()
{
    const bool shortPage = PageControl1->currentWidget() == TabSheet_Poznamky;
    reportOutput_->CopyPage(*static_cast<TRichEdit98*>(shortPage ? RichEdit_ShortReport_Template : RichEdit981));
}

void TfOrvekDB::dosamostatnhookna1Click()
{
    const bool shortPage = PageControl1->currentWidget() == TabSheet_Poznamky;
    auto* page = static_cast<TRichEdit98*>(shortPage ? RichEdit_ShortReport_Template : RichEdit981);
    reportOutput_->ShowInSeparateWindow(*page, PageControl1->tabText(PageControl1->currentIndex()));
}

void TfOrvekDB::ServiceQueryRefresh()
{
    // Who holds which template: the lock column beside the template's name and date.
    if (!serviceModel_)
        serviceModel_ = new QueryRowsModel(this);
    QSqlDatabase db = RecordsDatabase();
    QString error;
    serviceModel_->Open(db,
        QStringLiteral("SELECT ID, OpenedByUserID, TemplateName, CreateDate FROM TemplateDB ORDER BY OpenedByUserID"),
        {}, &error);
    serviceModel_->SetShownFields({ QStringLiteral("ID"), QStringLiteral("OpenedByUserID"),
        QStringLiteral("TemplateName"), QStringLiteral("CreateDate") });
    DBGrid_Service->setModel(serviceModel_);
}

} // namespace orvek
