// The main window's tool actions: zoom, highlight, cell tool, derivative mode, help,
// links and the service page.

#include "core/common_vars.h"
#include "core/help.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/string_browser.h"
#include "database/data_module.h"
#include "database/record_query.h"
#include "database/record_view.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/highlight_modes.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_language.h"
#include "mainwindow/ui/main_window.h"
#include "platform/db_session.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

// The records database of the session; closed without the data module.
QSqlDatabase RecordsDatabase()
{
    return DataModule1 ? DataModule1->SessionOrvek().Database(AliasDB, false) : QSqlDatabase();
}

// The mouse gives the focus to the control it moves over, so that the wheel scrolls
// that control; a press on the diagram's empty area disarms the cell commands.
class MainMouseFilter : public QObject {
public:
    MainMouseFilter(TfOrvek1& window)
        : QObject(&window)
        , w(window)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::Enter: {
            QWidget* target = FocusTarget(widget);
            if (target && !target->hasFocus() && target->isEnabled() && target->isVisible())
                target->setFocus(Qt::MouseFocusReason);
            // Over the diagram but off every cell box: no cell is under the mouse.
            if (target == w.ScrollBox2 && w.Timer1->isActive())
                HoveredCell = nullptr;
            break;
        }
        case QEvent::MouseButtonPress:
            if (widget == w.ScrollBox2->Canvas() || widget == w.ScrollBox2->viewport()) {
                w.FPopupCell = nullptr;
                w.ClearCellCommands();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The one of the five controls that Widget is or lies in.
    QWidget* FocusTarget(QWidget* widget) const
    {
        QWidget* controls[] = { w.ScrollBox2, w.RecordPanel ? (QWidget*)w.RecordPanel->DBTreeView : nullptr,
            w.RichEdit981, w.RichEdit_Rovnice, w.RichEdit_ShortReport };
        for (QWidget* control : controls)
            if (control && (control == widget || control->isAncestorOf(widget)))
                return control;
        return nullptr;
    }

    TfOrvek1& w;
};

// The measurement's name of the grid's current record; empty without one.
QString CurrentMeasurementName(RecordViewPanel* panel)
{
    if (!panel)
        return QString();
    TRecordView& view = panel->View();
    if (!view.Active() || view.CurrentRow() < 0)
        return QString();
    return view.Field(view.CurrentRow(), RecordAnswerFieldNumber(QStringLiteral("NazovMerania"))).toString();
}

} // namespace

void TfOrvek1::ClearCellCommands()
{
    orvek::ClearCellCommands();
    ActionEditovatObsahBunky->setChecked(false);
}

void TfOrvek1::ClearCellCommandsInWindows()
{
    ClearCellCommands();
    if (fOrvekDB)
        fOrvekDB->ClearCellCommands();
}

void TfOrvek1::PopupMenu1Popup()
{
    FPopupCell = HoveredCell;
    Editovaobsahbunky2->setVisible(FPopupCell != nullptr);
    PopupEditSeparator->setVisible(FPopupCell != nullptr);
}

void TfOrvek1::RunCellCommand()
{
    if (!FPopupCell)
        return;
    MainTimerPause pause;
    TCell* cell = FPopupCell;
    FPopupCell = nullptr;
    // Errors of the command are its own to show; the commands are disarmed in any case.
    try {
        if (CellToolService* tools = CellTools())
            tools->ClickAction(cell);
    } catch (...) {
    }
    ClearCellCommands();
}

void TfOrvek1::PressHighlightAction(quint8 pressed)
{
    MainTimerPause pause;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TCell* root = document_->RootCell;
    THighlightFacts facts;
    facts.HasModel = root != nullptr;
    facts.HasUnfilledCells = root && root->HasUnfilledCells();
    facts.HasExpiredSource = root && root->HasExpiredSource();
    const THighlightOutcome outcome = PressHighlight(pressed, HighlightMode, facts, [] {
        QApplication::restoreOverrideCursor();
        const bool yes = MessageDlg(GetString(883), TMsgDlgType::mtWarning, mbYesNo) == mrYes;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    });
    HighlightMode = outcome.Mode;
    ActionZvyraznitLenNenaplnene->setChecked(HighlightChecked(kHighlightUnfilled, HighlightMode));
    ActionZvyraznitLenExpirovane->setChecked(HighlightChecked(kHighlightExpired, HighlightMode));
    ActionShowMaxUncertainty->setChecked(HighlightChecked(kHighlightLargest, HighlightMode));
    QApplication::restoreOverrideCursor();
    if (outcome.Message)
        MessageDlg(GetString(outcome.Message), TMsgDlgType::mtInformation, mbYes);
    // The redraw computes the sensitivities of the largest-contribution mode.
    HighlightRequest = true;
}

void TfOrvek1::ActionEditovatObsahBunkyExecute()
{
    // The action toggled itself; its state before is the opposite.
    const bool wasChecked = !ActionEditovatObsahBunky->isChecked();
    ActionEditovatObsahBunky->setChecked(wasChecked);
    if (!DataModule1 || !DataModule1->CanLockItem()) {
        QString holder;
        if (DataModule1)
            DataModule1->GetUserFullName(DiagramLockOwnerID, holder);
        MessageDlg(GetString(1102, { holder }), TMsgDlgType::mtInformation, mbCancel);
        return;
    }
    if (!wasChecked)
        ClearCellCommands();
    ActionEditovatObsahBunky->setChecked(!wasChecked);
    CmdEditCell = !wasChecked;
}

void TfOrvek1::ShowCellProperties()
{
    SettingsDialogService* settings = SettingsDialog();
    if (!settings)
        return;
    MainTimerPause pause;
    const bool moreGroups = MoreGroupsOfFolders;
    if (settings->ShowSettingsDialog()) {
        TCell* root = document_->RootCell;
        if (root)
            root->RelayoutTree();
        ScrollBox2->update();
        if (root && settings->RecalculationNeeded()) {
            // Settings reach the hints and texts beyond what the calculation compares.
            ForgetCalculations();
            root->Calculate();
        }
        FShortReportStale = true;
        if (root && PageControl1->currentWidget() == TabSheet_Poznamky && RebuildShownReportPage)
            RebuildShownReportPage();
        if (MoreGroupsOfFolders != moreGroups)
            ApplyFolderGroupsSetting();
    }
}

void TfOrvek1::ExportDiagramToFile()
{
    TCell* root = document_->RootCell;
    if (!root)
        return;
    MainTimerPause pause;
    QString name = CurrentMeasurementName(RecordPanel);
    if (name.isEmpty())
        name = root->FCellName.Text;
    QString file;
    // The file is complete before its history row is written; a refused or failed
    // export writes none and changes nothing.
    // The window's save dialog: its filter, titled like the export action.
    if (!orvek::ExportTreeToFile(*root, name, GetString(344), &file, DialogTexts.SaveFilter))
        return;
    FDiagramFileName = file;
    HistoryOriginalValues = GetString(635) + QLatin1Char(' ') + file;
    if (DataModule1)
        DataModule1->WriteHistory();
}

void TfOrvek1::ActionProgramoveStringyExecute()
{
    MainTimerPause pause;
    if (FModified())
        SaveRecordDiagram();
    TfOrvek2 strings(this);
    strings.ActionCaption = WithoutAccessKey(ActionProgramoveStringy->text());
    strings.OpenStringList(0);
    strings.exec();
    if (strings.StringsChanged)
        RefreshTexts();
}

void TfOrvek1::SetDerivativeMode(int mode)
{
    ActionVypocetDerivacie_PresnyVypocet->setChecked(mode == 0);
    ActionVypocetDerivacie_Diferencia->setChecked(mode == 1);
    DerivativeMode = mode;
    if (TCell* root = document_->RootCell)
        root->Calculate();
}

void TfOrvek1::ServiceQueryOpen(bool open)
{
    if (!open) {
        Query1->clear();
        return;
    }
    // The record locks: who holds which record.
    Query1->setQuery(
        QStringLiteral("select ID, OpenedByUserID, NazovMerania, Datum from TreeDB order by OpenedByUserID"),
        RecordsDatabase());
    DBGrid_Service->setModel(Query1);
}

void TfOrvek1::MergeOldDatabase(bool records)
{
    if (!DataModule1)
        return;
    QString folder;
    if (!SelectFolderDialog(records ? WithoutAccessKey(ActionMergeOldTreeDB->text())
                                    : WithoutAccessKey(ActionMergeOldTemplateDB->text()),
            folder)
        || folder.isEmpty())
        return;
    MainTimerPause pause;
    QString error;
    const bool ok
        = records ? DataModule1->MergeOldTreeDB(folder, &error) : DataModule1->MergeOldTemplateDB(folder, &error);
    if (!ok) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    if (records)
        RequestRecordReload();
}

void TfOrvek1::ConnectToolActions()
{
    // Zoom: the presets, the combo and the two steps (served by the timer).
    QAction* presets[] = { ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 };
    for (int i = 0; i < 5; ++i)
        connect(presets[i], &QAction::triggered, this, [this, i] {
            ZoomPresetIndex = quint8(i + 1);
            ZoomPresetRequest = true;
            SyncZoomControls();
        });
    connect(ComboBox_Zoom, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (index < 0 || index > 5)
            return;
        ZoomPresetRequest = true;
        ZoomPresetIndex = quint8(index);
        // Only the check marks follow: entry 0 keeps the last free value, which the
        // timer then applies.
        QAction* presets[] = { ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 };
        for (int i = 0; i < 5; ++i)
            presets[i]->setChecked(i + 1 == index);
    });
    connect(ActionStromZvacsit, &QAction::triggered, this, [this] {
        ClearCellCommands();
        ZoomInRequest = true;
    });
    connect(ActionStromZmensit, &QAction::triggered, this, [this] {
        ClearCellCommands();
        ZoomOutRequest = true;
    });
    connect(ActionStromRozbalit, &QAction::triggered, this, [this] {
        ClearCellCommands();
        ExpandTreeRequest = true;
    });

    // Highlighting.
    connect(
        ActionZvyraznitLenNenaplnene, &QAction::triggered, this, [this] { PressHighlightAction(kHighlightUnfilled); });
    connect(
        ActionZvyraznitLenExpirovane, &QAction::triggered, this, [this] { PressHighlightAction(kHighlightExpired); });
    connect(ActionShowMaxUncertainty, &QAction::triggered, this, [this] { PressHighlightAction(kHighlightLargest); });

    // The cell tool and the diagram's pop-up.
    connect(ActionEditovatObsahBunky, &QAction::triggered, this, &TfOrvek1::ActionEditovatObsahBunkyExecute);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TfOrvek1::PopupMenu1Popup);
    connect(ScrollBox2, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { PopupMenu1->popup(ScrollBox2->viewport()->mapToGlobal(pos)); });
    connect(Editovaobsahbunky2, &QAction::triggered, this, [this] {
        if (!FPopupCell)
            return;
        CmdEditCell = true;
        RunCellCommand();
    });
    connect(ActionZobrazitVlastnostiBuniek, &QAction::triggered, this, [] { CellPropertiesRequest = true; });
    ShowCellPropertiesHandler = [this] { ShowCellProperties(); };

    // Derivative mode.
    connect(ActionVypocetDerivacie_PresnyVypocet, &QAction::triggered, this, [this] { SetDerivativeMode(0); });
    connect(ActionVypocetDerivacie_Diferencia, &QAction::triggered, this, [this] { SetDerivativeMode(1); });
    ActionVypocetDerivacie_PresnyVypocet->setChecked(DerivativeMode == 0);
    ActionVypocetDerivacie_Diferencia->setChecked(DerivativeMode == 1);

    connect(ActionProgramoveStringy, &QAction::triggered, this, &TfOrvek1::ActionProgramoveStringyExecute);
    ExportTreeToFileHandler = [this] { ExportDiagramToFile(); };

    // A double click on a record edits its head, when that is allowed.
    connect(RecordPanel->DBGrid_Tree, &QAbstractItemView::doubleClicked, this, [this] {
        if (FSessionOpen && RecordPanel->ActionEditRecord->isEnabled())
            RecordPanel->ActionEditRecord->trigger();
    });

    // Help, the product page and the support mail.
    connect(ActionHelpContents, &QAction::triggered, this, [] { ShowHelpContents(); });
    connect(ActionHelpGlossary, &QAction::triggered, this, [] { ShowHelpGlossary(); });
    connect(ActionBrantel_HomePage, &QAction::triggered, this, [] { OpenWebAddress(ProductPageAddress(LanguageID)); });
    connect(ActionKestravaTechnicalSupport, &QAction::triggered, this,
        [] { OpenWebAddress(QUrl(QStringLiteral("mailto:") + SupportEMail)); });

    // The service login's page and menu.
    SpeedButton5->setCheckable(true);
    connect(SpeedButton5, &QToolButton::toggled, this, &TfOrvek1::ServiceQueryOpen);
    connect(SpeedButton6, &QToolButton::clicked, this, [this] {
        ServiceQueryOpen(false);
        ServiceQueryOpen(true);
    });
    connect(ActionMergeOldTreeDB, &QAction::triggered, this, [this] { MergeOldDatabase(true); });
    connect(ActionMergeOldTemplateDB, &QAction::triggered, this, [this] { MergeOldDatabase(false); });

    // The mouse over the five controls.
    auto* filter = new MainMouseFilter(*this);
    for (QWidget* control : std::initializer_list<QWidget*> { ScrollBox2, ScrollBox2->viewport(), ScrollBox2->Canvas(),
             RecordPanel->DBTreeView, RichEdit981, RichEdit_Rovnice, RichEdit_ShortReport }) {
        if (!control)
            continue;
        control->setMouseTracking(true);
        control->installEventFilter(filter);
    }
    for (QTextEdit* edit : { RichEdit981, RichEdit_Rovnice, RichEdit_ShortReport })
        edit->viewport()->installEventFilter(filter);
}

} // namespace orvek
