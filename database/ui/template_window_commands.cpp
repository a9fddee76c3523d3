// The template window's commands on templates: new templates (from an equation, from
// model files, as a copy), the head, delete, export, history, the selection and moves,
// the hand-over to the main window, the validation examples, the report outputs and the
// cell-properties and summary-of-quantities dialogs. The rules live in the template
// storage, hand-over and report-output routines; the handlers ask the user, call them
// and show the result in the list.

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/drawing.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/folder_table_cursor.h"
#include "database/record_handover.h"
#include "database/template_document.h"
#include "database/template_handover.h"
#include "database/template_list.h"
#include "database/template_query.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/history_window.h"
#include "database/ui/list_of_folders.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "database/validation_examples.h"
#include "engine/cell.h"
#include "engine/equation_info.h"
#include "engine/ui/diagram_view.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_output.h"
#include "richtext/ui/report_output.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

QDate DateOfField(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QDate || value.metaType().id() == QMetaType::QDateTime)
        return value.toDate();
    const QDate date = QDate::fromString(value.toString().left(10), Qt::ISODate);
    return date.isValid() ? date : QDate::currentDate();
}

// Stops the window's timer for the life of a command and starts it again after, when
// the window is shown.
class TimerPause {
public:
    explicit TimerPause(TfOrvekDB* window)
        : window_(window)
    {
        window_->Timer1->stop();
    }
    ~TimerPause()
    {
        if (window_->isVisible())
            window_->Timer1->start();
    }

private:
    TfOrvekDB* window_;
};

} // namespace

TTemplateTarget TfOrvekDB::NewTemplateTarget() const
{
    TTemplateTarget target;
    target.GroupID = CurrentGroupID;
    target.UserID = CurrentUserID;
    target.FolderColumn = FolderColumn;
    target.FolderID
        = TemplateViewMode == kTemplatesOfGroup || CurrentFolderID.isEmpty() ? QStringLiteral("0") : CurrentFolderID;
    return target;
}

QVariant TfOrvekDB::CurrentRowField(int field)
{
    // Read from the table by the row's ID: the head as stored now, whatever the list's
    // answer holds.
    static const char* const columns[] = { nullptr, "ID", "CreatedBy", "TemplateName", "CreateDate", "MainEquation" };
    const int id = CurrentRowID();
    if (id <= 0 || field < 1 || field > 5)
        return QVariant();
    QSqlDatabase db = RecordsDatabase();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT %1 FROM TemplateDB WHERE ID = ?").arg(QLatin1String(columns[field])));
    query.addBindValue(id);
    return query.exec() && query.next() ? query.value(0) : QVariant();
}

void TfOrvekDB::ShowTemplate(int templateId)
{
    BuildTemplateQuery();
    if (ListRowCount() > 0)
        RefreshGrid(templateId);
    CurrentTemplateID = 0; // the tick loads the current row
    UpdateActions();
}

void TfOrvekDB::ConnectTemplateCommands()
{
    const auto on = [this](QAction* action, void (TfOrvekDB::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    on(ActionCloseWindowandAddTemplateToDB, &TfOrvekDB::ActionCloseWindowandAddTemplateToDBExecute);
    on(ActionNewRecFromNewTree, &TfOrvekDB::ActionNewRecFromNewTreeExecute);
    on(ActionNewRecFromFileTree, &TfOrvekDB::ActionNewRecFromFileTreeExecute);
    on(ActionUrobitKopiuZaznamu, &TfOrvekDB::CopyTemplateAsNew);
    on(ActionEditRecord, &TfOrvekDB::ActionEditRecordExecute);
    on(ActionDeleteRecord, &TfOrvekDB::ActionDeleteRecordExecute);
    on(ActionExportTreeToFileAs, &TfOrvekDB::ActionExportTreeToFileAsExecute);
    on(ActionShowHistory, &TfOrvekDB::ActionShowHistoryExecute);
    on(ActionSelectAllRecords, &TfOrvekDB::SelectAllTemplates);
    on(ActionUnSelectAllRecords, &TfOrvekDB::UnselectAllTemplates);
    on(ActionMoveSelectedRecordTo, &TfOrvekDB::ActionMoveSelectedRecordToExecute);
    on(ActionZobrazitVlastnostiBuniek, &TfOrvekDB::ActionZobrazitVlastnostiBuniekExecute);
    on(ActionSuhrnVelicin, &TfOrvekDB::ActionSuhrnVelicinExecute);
    on(ActionVyberPreReport, &TfOrvekDB::ActionVyberPreReportExecute);
    // A double click in the list edits the template's head, when that is allowed.
    connect(DBGrid_Template, &QAbstractItemView::doubleClicked, this, [this] {
        if (ActionEditRecord->isEnabled())
            ActionEditRecord->trigger();
    });

    for (const TValidationExample& example : ValidationExamples())
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(example.Action)))
            connect(action, &QAction::triggered, this,
                [this, name = QString::fromLatin1(example.Action)] { LoadValidationExample(name); });

    struct Output {
        QAction* action;
        TReportKind kind;
        int mode;
    };
    const Output outputs[] = { { ActionCopyFullReport, TReportKind::Full, kReportCopy },
        { ActionReportPrint, TReportKind::Full, kReportPrint },
        { ActionReportPrintPreview, TReportKind::Full, kReportPreview },
        { ActionFullReportSaveToFile, TReportKind::Full, kReportSave },
        { ActionCopyShortReport, TReportKind::Short, kReportCopy },
        { ActionShortReportPrint, TReportKind::Short, kReportPrint },
        { ActionShortReportPrintPreview, TReportKind::Short, kReportPreview },
        { ActionShortReportSaveToFile, TReportKind::Short, kReportSave },
        { ActionCopyTemplate, TReportKind::Diagram, kReportCopy },
        { ActionTemplatePrint, TReportKind::Diagram, kReportPrint },
        { ActionTemplatePrintPreview, TReportKind::Diagram, kReportPreview },
        { ActionTemplateSaveAs, TReportKind::Diagram, kReportSave } };
    for (const Output& output : outputs)
        connect(output.action, &QAction::triggered, this,
            [this, kind = output.kind, mode = output.mode, action = output.action] {
                RememberOutputAction(mode, action);
                RunReportOutput(kind, mode, WithoutAccessKey(action->text()));
            });

    // The report pages' pop-up menu also opens the page in a separate window, captioned
    // after the page.
    QAction* separate = PopupMenu3->addAction(QString());
    separate->setObjectName(QStringLiteral("dosamostatnhookna1"));
    connect(PopupMenu3, &QMenu::aboutToShow, this, &TfOrvekDB::PopupMenu3Popup);
    connect(separate, &QAction::triggered, this, &TfOrvekDB::dosamostatnhookna1Click);

    TReportOutput::Hooks hooks;
    hooks.Root = [this] { return document_ ? document_->RootCell : nullptr; };
    hooks.ShortHead = [this] {
        return TemplateShortReportHead(CurrentRowField(3).toString(), CurrentRowField(2).toString(),
            DateToShortText(DateOfField(CurrentRowField(4))));
    };
    hooks.FullHead = [this] {
        return TemplateFullReportHead(CurrentRowField(2).toString(), DateToShortText(DateOfField(CurrentRowField(4))),
            CurrentRowField(3).toString());
    };
    hooks.PreviewHeader = [this] { return CurrentRowField(3).toString(); };
    hooks.FirstEquationLine
        = [this] { return RichEdit_Rovnice_Template->toPlainText().section(QLatin1Char('\n'), 0, 0); };
    QFont footer(QStringLiteral("Arial"), 8);
    footer.setItalic(true);
    hooks.CopiedFullReportFooterFont = footer;
    reportOutput_ = new TReportOutput(this, static_cast<TRichEdit98*>(RichEdit_ShortReport_Template),
        static_cast<TRichEdit98*>(RichEdit981), PreviewPrinter1, hooks);
}

// ---- Hand-over

void TfOrvekDB::ActionCloseWindowandAddTemplateToDBExecute()
{
    CollectSelectedTemplateIds();
    if (CheckHandOver(static_cast<int>(SelectedIds.size()), nullptr) == THandOverStep::Refused)
        return;
    HandOverTemplateID = 0;
    if (document_->TemplateModified)
        document_->SaveTemplateDiagram();
    TCell* root = document_->RootCell;
    if (!root)
        return;
    switch (CheckHandOver(1, root)) {
    case THandOverStep::StayOpen:
    case THandOverStep::Refused:
        return;
    case THandOverStep::CancelPick:
        done(kTemplateWindowCancel);
        return;
    case THandOverStep::AskRecordHead:
        break;
    }

    TimerPause pause(this);
    TfEditRecordHead dialog(this);
    dialog.setWindowTitle(GetString(761));
    dialog.Edit_Datum->setDate(QDate::currentDate());
    dialog.Edit_Datum->setEnabled(false);
    dialog.Edit_Vytvoril->setText(CurrentUserName);
    dialog.Label_Nazov->setText(GetString(359));
    dialog.Edit_NazovMerania->clear();
    dialog.Edit_SampleID->clear();
    HandOverRecordName.clear();
    HandOverSampleID.clear();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const THandOverHead head { dialog.Edit_Datum->date(), dialog.Edit_NazovMerania->text(),
        dialog.Edit_SampleID->text() };
    THandOverFields fields;
    if (!CompleteHandOver(*root, CurrentRowID(), CurrentRowField(3).toString(), head, fields))
        return; // the reason was shown; the window stays open
    HandOverTemplateID = fields.HandOverTemplateID;
    HandOverTemplateName = fields.HandOverTemplateName;
    HandOverRecordName = fields.HandOverRecordName;
    HandOverSampleID = fields.HandOverSampleID;
    HandOverDate = fields.HandOverDate;
    // The record list appends the new record with these values after the window closed.
    TemplateWindowHandOver = fields;
    done(kTemplateWindowOk);
}

// ---- New templates

void TfOrvekDB::ActionNewRecFromNewTreeExecute()
{
    EquationDialogService* equations = EquationDialog();
    if (!equations || CurrentUserRights < 1 || CurrentUserRights > 3)
        return;
    TimerPause pause(this);
    SaveAndResetUndo();
    TNewEquationDialogData data;
    const QString caption
        = GetString(236) + QStringLiteral(" (") + WithoutAccessKey(ActionNewRecFromNewTree->text()) + QLatin1Char(')');
    if (!equations->RunNewEquationDialog(caption, data))
        return;
    TPrenosInfoDoNovejBunky equationCell;
    TInfo_o_bunkach_typu_velicina quantities;
    if (!NewTemplateRecords(data, equationCell, quantities))
        return;
    EditMode = 2;
    std::unique_ptr<TCell> tree = PrazdnyStrom(equationCell, quantities);
    QSqlDatabase db = RecordsDatabase();
    int newId = 0;
    QString error;
    if (!AddTreeAsTemplate(db, NewTemplateTarget(), *tree, newId, &error)) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    DataChangedSinceBackup = true;
    ShowTemplate(newId);
}

void TfOrvekDB::ActionNewRecFromFileTreeExecute()
{
    if (CurrentUserRights < 1 || CurrentUserRights > 3)
        return;
    TimerPause pause(this);
    if (TreesDir.isEmpty() || !QDir(TreesDir).exists())
        TreesDir = AppDir;
    FileDialogRequest request;
    request.caption = WithoutAccessKey(ActionNewRecFromFileTree->text());
    request.filter = DiagramFileFilter(QStringLiteral("stm"));
    request.initialDir = TreesDir;
    request.defaultExt = QStringLiteral("stm");
    if (!OpenFileDialog(request))
        return;
    // Several chosen files come one per line.
    const QStringList files = request.fileName.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (files.isEmpty())
        return;
    SaveAndResetUndo();
    EditMode = 2;
    TreesDir = QFileInfo(files.first()).absolutePath();
    QSqlDatabase db = RecordsDatabase();
    const TImportResult result = ImportModelFiles(db, NewTemplateTarget(), CurrentUserName, files, request.caption);
    if (result.Added > 0)
        DataChangedSinceBackup = true;
    ShowTemplate(result.FirstID);
    const QString message = result.MessageText();
    if (!message.isEmpty())
        MessageDlg(message, result.Failed.isEmpty() ? TMsgDlgType::mtInformation : TMsgDlgType::mtWarning, mbOK);
}

void TfOrvekDB::CopyTemplateAsNew()
{
    TCell* root = document_->RootCell;
    if (!root || CurrentUserRights < 1 || CurrentUserRights > 3)
        return;
    TimerPause pause(this);
    TfEditRecordHead dialog(this);
    dialog.setWindowTitle(GetString(906));
    dialog.Edit_Datum->setDate(QDate::currentDate());
    dialog.Edit_Datum->setEnabled(false);
    dialog.Edit_Vytvoril->setText(CurrentRowField(2).toString());
    dialog.Label_Nazov->setText(GetString(383));
    dialog.Edit_NazovMerania->setText(CopyNameProposal(CurrentRowField(3).toString()));
    dialog.Edit_SampleID->clear();
    dialog.Edit_SampleID->setVisible(false);
    dialog.Label_SampleID->setVisible(false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QSqlDatabase db = RecordsDatabase();
    int newId = 0;
    QString error;
    if (!orvek::CopyTemplateAsNew(db, NewTemplateTarget(), *root, dialog.Edit_Vytvoril->text(),
            dialog.Edit_NazovMerania->text(), newId, &error)) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    DataChangedSinceBackup = true;
    SetStatusText(0, 0, QString());
    ShowTemplate(newId);
}

// ---- Head, delete, export, history

void TfOrvekDB::ActionEditRecordExecute()
{
    if (CurrentUserRights < 1 || CurrentUserRights > 3 || CurrentTemplateID <= 0)
        return;
    TimerPause pause(this);
    if (!MayChangeTemplate())
        return;
    const int id = CurrentTemplateID;
    const QString name = CurrentRowField(3).toString();
    const QDate date = DateOfField(CurrentRowField(4));
    TfEditRecordHead dialog(this);
    dialog.setWindowTitle(GetString(905));
    dialog.Edit_Datum->setDate(date);
    dialog.Edit_Datum->setEnabled(false);
    dialog.Edit_Vytvoril->setText(CurrentRowField(2).toString());
    dialog.Label_Nazov->setText(GetString(383));
    dialog.Edit_NazovMerania->setText(name);
    dialog.Edit_SampleID->clear();
    dialog.Edit_SampleID->setVisible(false);
    dialog.Label_SampleID->setVisible(false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.Edit_Datum->date() == date && dialog.Edit_NazovMerania->text() == name)
        return;
    QSqlDatabase db = RecordsDatabase();
    QString error;
    switch (WriteTemplateHead(db, id, dialog.Edit_Datum->date(), dialog.Edit_NazovMerania->text(), &error)) {
    case THeadEditOutcome::Written:
        break;
    case THeadEditOutcome::InUse:
        MessageDlg(GetString(636), TMsgDlgType::mtInformation, mbOK);
        return;
    case THeadEditOutcome::Missing:
    case THeadEditOutcome::Failed:
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    document_->SaveTemplateDiagram();
    ShowTemplate(id);
}

void TfOrvekDB::ActionDeleteRecordExecute()
{
    if (CurrentUserRights < 1 || CurrentUserRights > 3)
        return;
    TimerPause pause(this);
    CollectSelectedTemplateIds();
    if (SelectedIds.isEmpty())
        return;
    const bool inBin = TemplateViewMode != kTemplatesOfGroup && CurrentFolderID == QLatin1String(kDeletedFolder);
    const int count = static_cast<int>(SelectedIds.size());
    if (inBin
        && MessageDlg(
               DeleteForGoodQuestion(count), count == 1 ? TMsgDlgType::mtConfirmation : TMsgDlgType::mtWarning, mbYesNo)
            != mrYes)
        return;
    // The row after the current one is shown afterwards.
    const int row = CurrentRow();
    const int next = row + 1 < ListRowCount() ? ListRowID(row + 1) : (row > 0 ? ListRowID(row - 1) : 0);
    // The shown template is stored and this user's lock released before its row goes.
    document_->ClearDiagram();
    QSqlDatabase db = RecordsDatabase();
    const TDeleteResult result
        = DeleteTemplates(db, QList<int>(SelectedIds.begin(), SelectedIds.end()), inBin, FolderColumn, CurrentUserID);
    if (!result.Ok) {
        MessageDlg(result.Error, TMsgDlgType::mtError, mbOK);
        ShowTemplate(SelectedIds.value(0));
        return;
    }
    if (result.Moved + result.Deleted > 0)
        DataChangedSinceBackup = true;
    const QList<int> kept = inBin ? result.Kept : QList<int>();
    BuildTemplateQuery();
    if (ListRowCount() == 0) {
        ClearDiagram();
        return;
    }
    RefreshGrid(kept.isEmpty() ? next : kept.first());
    CurrentTemplateID = 0;
    if (!kept.isEmpty()) {
        MessageDlg(KeptTemplatesText(count, static_cast<int>(kept.size())), TMsgDlgType::mtWarning, mbCancel);
        if (kept.size() > 1) {
            // The kept templates stay selected, so that the user sees which they are.
            if (!MultiSelectMode)
                ActionEnableDisableMultiselection->trigger();
            QItemSelectionModel* selection = DBGrid_Template->selectionModel();
            selection->clearSelection();
            for (int r = 0; r < ListRowCount(); ++r)
                if (kept.contains(ListRowID(r)))
                    selection->select(
                        DBGrid_Template->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
            CollectSelectedTemplateIds();
        }
    }
    UpdateActions();
}

void TfOrvekDB::ActionExportTreeToFileAsExecute()
{
    CollectSelectedTemplateIds();
    if (SelectedIds.size() > 1) {
        MessageDlg(GetString(924), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    TCell* root = document_->RootCell;
    if (!root)
        return;
    TimerPause pause(this);
    ExportTreeToFile(*root, CurrentRowField(3).toString(), WithoutAccessKey(ActionExportTreeToFileAs->text()));
}

void TfOrvekDB::ActionShowHistoryExecute()
{
    if (CurrentTemplateID <= 0)
        return;
    TimerPause pause(this);
    TfHistory1 history(this);
    history.HistorySQL = QStringLiteral("SELECT * FROM HistoryTemplate WHERE DiagramID = ? ORDER BY Datum, Cas");
    history.HistoryValues = QVariantList { CurrentTemplateID };
    history.ShowHistory(0, CurrentTemplateID);
    history.exec();
}

// ---- Selection and moves

void TfOrvekDB::SelectAllTemplates()
{
    if (!MultiSelectMode)
        ActionEnableDisableMultiselection->trigger();
    const QModelIndex current = DBGrid_Template->currentIndex();
    DBGrid_Template->selectAll();
    if (current.isValid())
        DBGrid_Template->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    CollectSelectedTemplateIds();
}

void TfOrvekDB::UnselectAllTemplates()
{
    if (MultiSelectMode)
        ActionEnableDisableMultiselection->trigger();
    if (QItemSelectionModel* selection = DBGrid_Template->selectionModel())
        selection->clearSelection();
    CollectSelectedTemplateIds();
}

void TfOrvekDB::ActionMoveSelectedRecordToExecute()
{
    TimerPause pause(this);
    CollectSelectedTemplateIds();
    if (SelectedIds.isEmpty())
        return;
    TfListOfFolders picker(this);
    picker.setWindowTitle(GetString(866));
    if (MoreGroupsOfFolders)
        picker.Panel1->setText(GetString(865) + QLatin1Char(' ') + ComboBox_MainID->currentText());
    picker.IDTable->TableName = IDTable_Template->TableName;
    picker.OpenFolders(1, QStringLiteral("TemplateDB"), CurrentFolderID, FolderColumn);
    if (picker.exec() != QDialog::Accepted)
        return;
    const QString folder = picker.IDTable->FieldText(QStringLiteral("ID"));
    if (picker.FoldersChanged) {
        IDTable_Template->Refresh();
        DBTemplateView->RebuildTree();
    }
    const QList<int> ids(SelectedIds.begin(), SelectedIds.end());
    document_->SaveTemplateDiagram();
    QSqlDatabase db = RecordsDatabase();
    const TMoveResult result = MoveTemplatesToFolder(db, ids, FolderColumn, folder);
    if (!result.Ok)
        MessageDlg(result.Error, TMsgDlgType::mtError, mbOK);
    RequeryTemplates();
    CurrentTemplateID = 0;
    UpdateActions();
}

// ---- Validation examples

void TfOrvekDB::LoadValidationExample(const QString& action)
{
    const TValidationExample* example = ValidationExampleOf(action);
    if (!example)
        return;
    TimerPause pause(this);
    SaveAndResetUndo();
    QSqlDatabase db = RecordsDatabase();
    const TExampleLookup found = FindOrImportValidationExample(
        db, NewTemplateTarget(), ValidationFolder(LanguageID), ValidationFileName(*example, LanguageID));
    if (found.TemplateID <= 0) {
        if (!found.Error.isEmpty())
            MessageDlg(found.Error, TMsgDlgType::mtError, mbOK);
        return;
    }
    if (found.Imported) {
        // The import may have made the examples' folder: the tree shows it too.
        DataChangedSinceBackup = true;
        IDTable_Template->Refresh();
        DBTemplateView->RebuildTree();
    }
    if (TemplateViewMode == kTemplatesOfGroup)
        ActionShowAllTemplatesExecute();
    SelectFolderOfTemplate(found.TemplateID);
    BuildTemplateQuery();
    if (ListRowCount() > 0)
        RefreshGrid(found.TemplateID);
    CurrentTemplateID = 0;
    PageControl1->setCurrentWidget(TabSheet_Struktura);
    UpdateActions();
}

// ---- Cell properties and the summary of quantities

void TfOrvekDB::ActionZobrazitVlastnostiBuniekExecute()
{
    ShowCellProperties();
}

void TfOrvekDB::ShowCellProperties()
{
    SettingsDialogService* settings = SettingsDialog();
    if (!settings)
        return;
    TimerPause pause(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool moreGroups = MoreGroupsOfFolders;
    const bool accepted = settings->ShowSettingsDialog();
    QApplication::restoreOverrideCursor();
    if (!accepted)
        return;
    TCell* root = document_->RootCell;
    if (root) {
        root->RelayoutTree();
        if (settings->RecalculationNeeded())
            root->Calculate();
    }
    QPalette palette = ScrollBox_Template->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(BackgroundColor));
    ScrollBox_Template->setPalette(palette);
    ScrollBox_Template->update();
    ShortReportStale = FormulaPageStale = true;
    if (PageControl1->currentWidget() == TabSheet_Poznamky)
        RefreshReportPage();
    if (MoreGroupsOfFolders != moreGroups) {
        ApplyFolderGroupsSetting();
        if (MainWindowService* main = MainWindow())
            main->ApplyFolderGroupsSetting();
    }
}

void TfOrvekDB::ActionSuhrnVelicinExecute()
{
    TCell* root = document_->RootCell;
    if (!root || !QuantitySummary())
        return;
    TimerPause pause(this);
    if (!MayChangeTemplate())
        return;
    // A changed value marks the tree changed: the tick stores it.
    if (RunQuantitySummary(*root))
        ShortReportStale = FormulaPageStale = true;
}

// ---- Report outputs

void TfOrvekDB::RunReportOutput(TReportKind kind, int mode, const QString& caption)
{
    if (!document_->RootCell)
        return;
    CollectSelectedTemplateIds();
    if (!OutputSelectionAllows(mode, static_cast<int>(SelectedIds.size())))
        return;
    TimerPause pause(this);
    const int editMode = EditMode;
    switch (kind) {
    case TReportKind::Full:
        reportOutput_->OutputFullReport(mode, caption);
        break;
    case TReportKind::Short:
        reportOutput_->OutputShortReport(caption, mode);
        break;
    case TReportKind::Diagram:
        reportOutput_->OutputDiagram(caption, mode);
        break;
    }
    // An output never changes whether the template may be edited.
    EditMode = editMode;
}

QToolButton* TfOrvekDB::OutputButton(int mode) const
{
    switch (mode) {
    case kReportCopy:
        return ToolButton_Copy;
    case kReportPrint:
        return ToolButton_Print;
    case kReportPreview:
        return ToolButton_PrintPreview;
    case kReportSave:
        return ToolButton_SaveToFile;
    default:
        return nullptr;
    }
}

void TfOrvekDB::RememberOutputAction(int mode, QAction* action)
{
    QToolButton* button = OutputButton(mode);
    if (!button || button->defaultAction() == action)
        return;
    // The button's hint names its menu, not the action.
    const QString hint = button->toolTip();
    button->setDefaultAction(action);
    button->setToolTip(hint);
}

void TfOrvekDB::ActionVyberPreReportExecute()
{
    if (!document_->RootCell)
        return;
    CollectSelectedTemplateIds();
    TimerPause pause(this);
    const int editMode = EditMode;
    reportOutput_->ReportSelection(WithoutAccessKey(ActionVyberPreReport->text()));
    EditMode = editMode;
}

void TfOrvekDB::RefreshReportPage()
{
    if (!reportOutput_ || !document_->RootCell)
        return;
    QWidget* page = PageControl1->currentWidget();
    if (page == TabSheet_Poznamky && ShortReportStale) {
        reportOutput_->BuildShortReport(TabSheet_Poznamky->windowTitle());
        ShortReportStale = false;
    } else if (page == TabSheet_VzorecPreNeistotu && FormulaPageStale) {
        reportOutput_->BuildFormulaPage();
        FormulaPageStale = false;
    }
}

} // namespace orvek
