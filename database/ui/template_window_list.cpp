// The template window's list, its search and views, the folder tree of the shown group
// and the groups of folders. The statement, the sort keys and the group changes are
// logic routines; this file binds them to the grid, the tree and the combo.

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/drawing.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/data_module.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/template_list.h"
#include "database/template_query.h"
#include "database/ui/db_navigator.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/input_search_string.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "platform/dialogs.h"
#include "richtext/markup_read.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>

namespace orvek {

namespace {

constexpr int kFieldNameRole = Qt::UserRole;
constexpr int kInUseRole = Qt::UserRole + 1;
constexpr int kTemplateIdRole = Qt::UserRole + 2;

// Texts of our own, shared with the folder picker.
constexpr int kTextNameEmpty = 21600;
constexpr int kTextRightsNeeded = 21604;
constexpr int kTextFolderNotSaved = 21605;
constexpr int kTextFolderNotDeleted = 21606;

bool IsFixedFolder(const QString& id)
{
    return id == QLatin1String(kUnassignedFolder) || id == QLatin1String(kDeletedFolder);
}

} // namespace

// The rows of the template list as the grid shows them: one column per shown
// descriptor, the text trimmed; the in-use flag and the ID for the drawing.
class TTemplateListModel : public QAbstractTableModel {
public:
    TTemplateListModel(
        TTemplateList& list, const TTemplateGridDescriptors& descriptors, QVector<int> fields, QObject* parent)
        : QAbstractTableModel(parent)
        , list_(list)
        , descriptors_(descriptors)
        , fields_(std::move(fields))
    {
        titles_.resize(fields_.size());
    }

    void Reset()
    {
        beginResetModel();
        rows_.clear();
        if (list_.Active()) {
            const int count = list_.RowCount();
            rows_.reserve(count);
            for (int row = 0; row < count; ++row) {
                QVector<QVariant> values(kInUseField + 1);
                for (int field = 1; field <= kInUseField; ++field)
                    values[field] = list_.Field(row, field);
                rows_.push_back(values);
            }
        }
        endResetModel();
    }
    int RowID(int row) const { return row >= 0 && row < rows_.size() ? rows_[row][1].toInt() : 0; }
    // The row of template ID; with 0 the first row, whose ID is written back.
    int Locate(int& id) const
    {
        if (id == 0) {
            if (rows_.isEmpty())
                return -1;
            id = RowID(0);
            return 0;
        }
        for (int row = 0; row < rows_.size(); ++row)
            if (RowID(row) == id)
                return row;
        return -1;
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(fields_.size());
    }
    // Rows can be dragged onto folders once the grid allows dragging.
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows_.size())
            return QVariant();
        const QVector<QVariant>& values = rows_[index.row()];
        switch (role) {
        case Qt::DisplayRole:
        // The tooltip shows a long name whole, so that two names alike at the start
        // can be told apart.
        case Qt::ToolTipRole:
            return StoredValueText(values[fields_[index.column()]]).trimmed();
        case kInUseRole:
            return values[kInUseField].toInt() != 0;
        case kTemplateIdRole:
            return values[1].toInt();
        default:
            return QVariant();
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= fields_.size())
            return QVariant();
        if (role == Qt::DisplayRole)
            return titles_[section].isEmpty() ? descriptors_[size_t(fields_[section])].Title : titles_[section];
        if (role == kFieldNameRole)
            return descriptors_[size_t(fields_[section])].FieldName;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }
    void SetTitle(int section, const QString& title)
    {
        titles_[section] = title;
        Q_EMIT headerDataChanged(Qt::Horizontal, section, section);
    }

private:
    TTemplateList& list_;
    const TTemplateGridDescriptors& descriptors_;
    QVector<int> fields_;
    QStringList titles_;
    QVector<QVector<QVariant>> rows_;
};

namespace {

// A cell of the template grid: navy when selected or focused; otherwise green for a
// template that records were made from, white for the rest, and with several templates
// selected navy for those. The text is mark-up, so formatting codes in names show.
class TemplateCellDelegate : public QStyledItemDelegate {
public:
    TemplateCellDelegate(const QVector<int>& selectedIds, QObject* parent)
        : QStyledItemDelegate(parent)
        , selectedIds_(selectedIds)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool focused = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        const QColor navy = ColorFromBgr(0x800000);
        QColor background = Qt::white;
        if (focused)
            background = navy;
        else if (selectedIds_.size() < 2)
            background = index.data(kInUseRole).toBool() ? ColorFromBgr(0x00FF00) : QColor(Qt::white);
        else if (selectedIds_.contains(index.data(kTemplateIdRole).toInt()))
            background = navy;
        painter->save();
        painter->fillRect(option.rect, background);
        painter->setPen(background == navy ? QColor(Qt::white) : QColor(Qt::black));
        QFont font = option.font;
        font.setBold(false);
        font.setItalic(false);
        painter->setFont(font);
        DrawMarkupText(*painter, 0, index.data(Qt::DisplayRole).toString(), option.rect.adjusted(2, 0, -2, 0));
        painter->restore();
    }

private:
    const QVector<int>& selectedIds_;
};

} // namespace

void TfOrvekDB::BuildGridColumns()
{
    TemplateGridDescriptors = MakeTemplateGridDescriptors();
    const TTemplateGridColumns columns = TemplateColumnsFromLayout(OrvekDBTableInfo);
    QVector<int> fields(columns.Fields.begin(), columns.Fields.end());
    model_ = new TTemplateListModel(*list_, TemplateGridDescriptors, fields, this);
    DBGrid_Template->setModel(model_);
    DBGrid_Template->setItemDelegate(new TemplateCellDelegate(SelectedIds, DBGrid_Template));
    QHeaderView* header = DBGrid_Template->horizontalHeader();
    // Bold titles on screens of at most 90 pixels per inch only.
    QFont titleFont = header->font();
    titleFont.setBold(ScreenPixelsPerInch <= 90);
    header->setFont(titleFont);
    // The stored widths are a starting size: a column is never narrower than its title,
    // and the date column shows a whole date in this font.
    const int dateWidth
        = DBGrid_Template->fontMetrics().horizontalAdvance(DateToShortText(QDate(2000, 12, 28)) + u' ') + 16;
    for (int j = 0; j < TemplateGridSortCount; ++j) {
        int width = std::max(columns.Widths[size_t(j)], header->sectionSizeHint(j));
        if (TemplateGridDescriptors[size_t(fields[j])].FieldName == QLatin1String("CreateDate"))
            width = std::max(width, dateWidth);
        header->resizeSection(j, width);
    }
    header->setStretchLastSection(true);
    connect(header, &QHeaderView::sectionMoved, this, [this] { DBGrid_TemplateColumnMoved(); });
    connect(DBGrid_Template->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this] { ShowRecordCounter(); });
    connect(DBGrid_Template, &QAbstractItemView::clicked, this, [this] { CollectSelectedTemplateIds(); });
    DBNavigator_Template->SetView(DBGrid_Template);
    connect(IDTable_Template, &FolderTableCursor::Scrolled, this, &TfOrvekDB::DBTemplateViewChange);
}

void TfOrvekDB::ResetListModel()
{
    model_->Reset();
    // The name column widens to the longest name shown, up to two thirds of the grid,
    // so that two names alike at the start look different; it never narrows here.
    for (int section = 0; section < model_->columnCount(); ++section) {
        if (model_->headerData(section, Qt::Horizontal, kFieldNameRole).toString() != QLatin1String("TemplateName"))
            continue;
        const int limit = DBGrid_Template->viewport()->width() * 2 / 3;
        int longest = 0;
        for (int row = 0; row < model_->rowCount(); ++row)
            longest = std::max(longest,
                DBGrid_Template->fontMetrics().horizontalAdvance(
                    model_->data(model_->index(row, section), Qt::DisplayRole).toString()));
        const int wanted = std::min(longest + 12, limit);
        if (wanted > DBGrid_Template->columnWidth(section))
            DBGrid_Template->setColumnWidth(section, wanted);
    }
    if (model_->rowCount() > 0)
        DBGrid_Template->setCurrentIndex(model_->index(0, DBGrid_Template->horizontalHeader()->logicalIndex(0)));
    ShowRecordCounter();
}

void TfOrvekDB::RefreshColumnTitles()
{
    for (int section = 0; section < model_->columnCount(); ++section) {
        const int text
            = TemplateColumnTitleText(model_->headerData(section, Qt::Horizontal, kFieldNameRole).toString());
        if (text)
            model_->SetTitle(section, GetString(text));
    }
    FitColumnsToTitles(*DBGrid_Template);
}

int TfOrvekDB::CurrentRow() const
{
    const QModelIndex index = DBGrid_Template->currentIndex();
    return index.isValid() ? index.row() : (model_ && model_->rowCount() > 0 ? 0 : -1);
}

int TfOrvekDB::CurrentRowID()
{
    return ListRowID(CurrentRow());
}

int TfOrvekDB::ListRowCount() const
{
    return model_ ? model_->rowCount() : 0;
}

int TfOrvekDB::ListRowID(int row) const
{
    return model_ ? model_->RowID(row) : 0;
}

void TfOrvekDB::ShowRecordCounter()
{
    const int count = ListRowCount();
    Panel_Template_RecNo->setText(QStringLiteral("%1/%2").arg(count > 0 ? CurrentRow() + 1 : 0).arg(count));
}

void TfOrvekDB::CollectSelectedTemplateIds()
{
    SelectedIds.clear();
    const int current = CurrentRowID();
    if (current > 0)
        SelectedIds << current;
    if (const QItemSelectionModel* selection = DBGrid_Template->selectionModel())
        for (const QModelIndex& index : selection->selectedRows()) {
            const int id = ListRowID(index.row());
            if (!SelectedIds.contains(id))
                SelectedIds << id;
        }
    DBGrid_Template->viewport()->update();
}

void TfOrvekDB::BuildTemplateQuery()
{
    if (!IDTable_Template->Active())
        IDTable_Template->Open();
    DBTemplateView->SetShowRoot(true);
    CurrentFolderID
        = IDTable_Template->RecordCount() > 0 ? IDTable_Template->FieldText(QStringLiteral("ID")) : QString();
    OpenFolderAndQuery(QString());
}

void TfOrvekDB::OpenFolderAndQuery(const QString& folderId)
{
    if (!folderId.isEmpty()) {
        ++folderChangeGuard_;
        IDTable_Template->FindKey(folderId);
        --folderChangeGuard_;
        CurrentFolderID = folderId;
    }
    if (CurrentFolderID.isEmpty())
        CurrentFolderID = QString::fromLatin1(kUnassignedFolder);
    TTemplateListRequest request;
    request.ViewMode = TemplateViewMode;
    request.GroupID = CurrentGroupID;
    request.FolderID = CurrentFolderID;
    request.FolderColumn = FolderColumn;
    request.SearchActive = SearchActive;
    request.SearchField = SearchField;
    request.SearchKind = TSearchKind(SearchKind);
    request.SearchText = SearchCondition;
    TTemplateStatement statement;
    list_->Close();
    // A statement that cannot be built or run leaves the list closed: no rows.
    if (BuildTemplateStatement(request, statement))
        list_->Open(statement);
    ResetListModel();
}

void TfOrvekDB::RefreshGrid(int templateId)
{
    Timer1->stop();
    QStringList fields;
    const QHeaderView* header = DBGrid_Template->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual)
        fields << model_->headerData(header->logicalIndex(visual), Qt::Horizontal, kFieldNameRole).toString();
    if (list_->Active() && ListRowCount() > 0) {
        list_->Sort(TemplateSortKeys(TemplateGridDescriptors, SortFieldsFromColumnFields(fields)));
        ResetListModel();
        LocateTemplate(templateId);
    }
    // The search works on the first column only.
    ActionSearchTemplates->setEnabled(TemplateSearchAllowed(fields.value(0)));
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::LocateTemplate(int& templateId)
{
    const int row = model_->Locate(templateId);
    if (row >= 0)
        DBGrid_Template->setCurrentIndex(model_->index(row, DBGrid_Template->horizontalHeader()->logicalIndex(0)));
    ShowRecordCounter();
}

void TfOrvekDB::SelectFolderOfTemplate(int templateId)
{
    QSqlDatabase db = RecordsDatabase();
    if (!db.isOpen() || templateId <= 0)
        return;
    const QString folder = TemplateFolderOf(db, templateId, FolderColumn);
    if (!folder.isEmpty()) {
        ++folderChangeGuard_;
        IDTable_Template->FindKey(folder);
        --folderChangeGuard_;
    }
}

void TfOrvekDB::RequeryTemplates()
{
    BuildTemplateQuery();
    RefreshGrid(0);
}

void TfOrvekDB::DBGrid_TemplateColumnMoved()
{
    int id = CurrentTemplateID;
    RefreshGrid(id);
}

void TfOrvekDB::DBTemplateViewChange()
{
    if (Closing || !WindowReady || folderChangeGuard_ > 0)
        return;
    RequeryTemplates();
    UpdateActions();
}

void TfOrvekDB::ActionSearchTemplatesExecute()
{
    Timer1->stop();
    // The action has toggled itself: checked before means a search was in force.
    const bool wasChecked = !ActionSearchTemplates->isChecked();
    SearchCondition.clear();
    if (wasChecked) {
        int id = CurrentRowID();
        ActionSearchTemplates->setChecked(false);
        SearchActive = false;
        DBTemplateView->setEnabled(true);
        TemplateViewMode = kTemplatesOfFolder;
        SelectFolderOfTemplate(id);
        RequeryTemplates();
        LocateTemplate(id);
    } else {
        TfInputSearchString1 ownDialog(this);
        TfInputSearchString1& dialog = fInputSearchString1 ? *fInputSearchString1 : ownDialog;
        const QHeaderView* header = DBGrid_Template->horizontalHeader();
        const int firstSection = header->logicalIndex(0);
        dialog.Label_SearchString->setText(
            model_->headerData(firstSection, Qt::Horizontal, Qt::DisplayRole).toString());
        ActionSearchTemplates->setChecked(true);
        if (TemplateViewMode == kTemplatesOfGroup) {
            dialog.RadioButton_AllFolders->setChecked(true);
            dialog.RadioButton_SelectedFolder->setEnabled(false);
        } else {
            dialog.RadioButton_SelectedFolder->setEnabled(true);
        }
        const bool ok = dialog.exec() == QDialog::Accepted;
        const QString text = dialog.Edit_SearchString->text().trimmed();
        if (ok && !text.isEmpty()) {
            ActionShowAllTemplates->setChecked(false);
            TemplateViewMode = dialog.RadioButton_AllFolders->isChecked() ? kTemplatesOfGroup : kTemplatesOfFolder;
            SearchActive = true;
            // The text is bound and matched literally, without regard to case.
            SearchCondition = text;
            SearchKind = int(dialog.RadioButton_BeginingString->isChecked() ? TSearchKind::Beginning
                    : dialog.RadioButton_ExactString->isChecked()           ? TSearchKind::Exact
                                                                            : TSearchKind::Substring);
            SearchField = model_->headerData(firstSection, Qt::Horizontal, kFieldNameRole).toString();
            DBTemplateView->setEnabled(TemplateViewMode == kTemplatesOfFolder);
            RequeryTemplates();
        } else {
            ActionSearchTemplates->setChecked(false);
        }
    }
    ShowRecordCounter();
    UpdateActions();
}

void TfOrvekDB::ActionShowAllTemplatesExecute()
{
    int id = CurrentRowID();
    TemplateViewMode = TemplateViewMode == kTemplatesOfFolder ? kTemplatesOfGroup : kTemplatesOfFolder;
    ActionShowAllTemplates->setChecked(TemplateViewMode == kTemplatesOfGroup);
    DBTemplateView->setEnabled(TemplateViewMode == kTemplatesOfFolder);
    ActionSearchTemplates->setChecked(false);
    SearchActive = false;
    SearchCondition.clear();
    if (TemplateViewMode == kTemplatesOfFolder)
        SelectFolderOfTemplate(id);
    RequeryTemplates();
    LocateTemplate(id);
    UpdateActions();
    ShowRecordCounter();
}

void TfOrvekDB::ActionShowUnassignedExecute()
{
    TemplateViewMode = kTemplatesOfFolder;
    ActionShowAllTemplates->setChecked(false);
    DBTemplateView->setEnabled(true);
    ActionSearchTemplates->setChecked(false);
    SearchActive = false;
    SearchCondition.clear();
    OpenFolderAndQuery(QString::fromLatin1(kUnassignedFolder));
    RefreshGrid(0);
    UpdateActions();
}

void TfOrvekDB::ActionShowDeletedExecute()
{
    TemplateViewMode = kTemplatesOfFolder;
    ActionShowAllTemplates->setChecked(false);
    DBTemplateView->setEnabled(true);
    ActionSearchTemplates->setChecked(false);
    SearchActive = false;
    SearchCondition.clear();
    OpenFolderAndQuery(QString::fromLatin1(kDeletedFolder));
    RefreshGrid(0);
    UpdateActions();
}

void TfOrvekDB::ActionEnableDisableMultiselectionExecute()
{
    MultiSelectMode = !MultiSelectMode;
    ActionEnableDisableMultiselection->setChecked(MultiSelectMode);
    DBGrid_Template->setSelectionMode(
        MultiSelectMode ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (!MultiSelectMode)
        DBGrid_Template->clearSelection();
    CollectSelectedTemplateIds();
}

// ---- Folders

bool TfOrvekDB::MayChangeFolders()
{
    if ((CurrentUserRights == 1 || CurrentUserRights == 2) && TemplateViewMode == kTemplatesOfFolder)
        return true;
    if (CurrentUserRights != 1 && CurrentUserRights != 2)
        MessageDlg(GetString(kTextRightsNeeded), TMsgDlgType::mtWarning, mbOK);
    return false;
}

void TfOrvekDB::ActionInsertNewFolderExecute()
{
    if (!MayChangeFolders())
        return;
    Timer1->stop();
    QString name = GetString(828);
    if (InputQuery(QStringLiteral("Insert box"), GetString(829), name) && !name.trimmed().isEmpty()) {
        DBTemplateView->DefaultNewName = name.trimmed();
        ++folderChangeGuard_;
        DBTemplateView->InsertNode(false);
        QString error;
        if (IDTable_Template->State() == TDataSetState::dsInsert && !IDTable_Template->Post(&error)) {
            IDTable_Template->Cancel();
            MessageDlg(GetString(kTextFolderNotSaved, { error }), TMsgDlgType::mtError, mbOK);
        }
        --folderChangeGuard_;
        RequeryTemplates();
    }
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::ActionInsertNewSub_folderExecute()
{
    if (!MayChangeFolders())
        return;
    Timer1->stop();
    QString name = GetString(881);
    if (InputQuery(QStringLiteral("Insert box"), GetString(830), name)) {
        if (name.trimmed().isEmpty()) {
            MessageDlg(GetString(kTextNameEmpty), TMsgDlgType::mtWarning, mbOK);
        } else {
            DBTemplateView->DefaultNewName = name.trimmed();
            ++folderChangeGuard_;
            DBTemplateView->InsertNode(true);
            QString error;
            if (IDTable_Template->State() == TDataSetState::dsInsert && !IDTable_Template->Post(&error)) {
                IDTable_Template->Cancel();
                MessageDlg(GetString(kTextFolderNotSaved, { error }), TMsgDlgType::mtError, mbOK);
            }
            --folderChangeGuard_;
            RequeryTemplates();
        }
    }
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::ActionRenameFolderExecute()
{
    if (!MayChangeFolders())
        return;
    QTreeWidgetItem* node = DBTemplateView->Selected();
    if (!node)
        return;
    const QString id = DBTemplateView->GetNodeID(node);
    if (IsFixedFolder(id)) {
        MessageDlg(GetString(875), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    QString name = node->text(0);
    if (!InputQuery(QStringLiteral("Rename box"), GetString(842), name))
        return;
    name = name.trimmed();
    if (name.isEmpty()) {
        MessageDlg(GetString(kTextNameEmpty), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    QString error;
    ++folderChangeGuard_;
    if (!IDTable_Template->FindKey(id) || !IDTable_Template->Edit(&error)
        || !IDTable_Template->SetFieldValue(QStringLiteral("Description"), name) || !IDTable_Template->Post(&error)) {
        IDTable_Template->Cancel();
        MessageDlg(GetString(kTextFolderNotSaved, { error }), TMsgDlgType::mtError, mbOK);
    }
    --folderChangeGuard_;
}

void TfOrvekDB::ActionDeleteFolderExecute()
{
    if (!MayChangeFolders())
        return;
    QTreeWidgetItem* node = DBTemplateView->Selected();
    if (!node)
        return;
    const QString id = DBTemplateView->GetNodeID(node);
    if (IsFixedFolder(id)) {
        MessageDlg(GetString(835), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    Timer1->stop();
    QString question = GetString(873, { node->text(0) });
    if (ListRowCount() > 0)
        question += QStringLiteral("\n\n") + GetString(876);
    if (MessageDlg(question, TMsgDlgType::mtConfirmation, mbYesNo) == mrYes) {
        // The folder and its sub-folders go, and the templates of this group filed in
        // them move to the bin, in one post; other groups' folders of the same IDs keep
        // their templates.
        QSqlDatabase db = RecordsDatabase();
        const QStringList ids = CollectSubfolderIds(db, IDTable_Template->TableName, id);
        const QString parentId = DBTemplateView->GetNodeID(node->parent());
        if (ids.isEmpty()
            || !MoveFoldersToDeleted(
                QStringLiteral("TemplateDB"), FolderColumn, ids, CurrentGroupID, IDTable_Template->TableName)) {
            MessageDlg(GetString(kTextFolderNotDeleted), TMsgDlgType::mtError, mbOK);
        } else {
            ++folderChangeGuard_;
            IDTable_Template->Refresh();
            IDTable_Template->FindKey(parentId.isEmpty() ? QString::fromLatin1(kUnassignedFolder) : parentId);
            --folderChangeGuard_;
            RequeryTemplates();
        }
    }
    UpdateActions();
}

void TfOrvekDB::ActionCollapseFolderStructureExecute()
{
    DBTemplateView->FullCollapse();
}

void TfOrvekDB::ActionExpandFolderStructureExecute()
{
    DBTemplateView->FullExpand();
}

// ---- Groups of folders

void TfOrvekDB::BindFolderTable(int groupId)
{
    ++folderChangeGuard_;
    IDTable_Template->Close();
    IDTable_Template->TableName = TemplateFolderTable(groupId);
    IDTable_Template->Open();
    DBTemplateView->SetShowRoot(true);
    --folderChangeGuard_;
}

void TfOrvekDB::PrepareFolderGroups()
{
    QSqlDatabase db = RecordsDatabase();
    if (!db.isOpen())
        return;
    DBTemplateView->SetOption(dtFocusOnEdit, false);
    const int folderColumns = PrepareTemplateFolderTables(db);
    ReadGroupList(db);
    FillFolderGroupCombo(CurrentGroupID);
    const int group = GroupIndexOf(CurrentGroupID) >= 0 ? CurrentGroupID : (GroupCount > 0 ? GroupList[0].ID : 1);
    BindFolderTable(group);
    DBTemplateView->SetOption(dtFocusOnEdit, true);
    if (folderColumns == 0)
        MessageDlg(GetString(836), TMsgDlgType::mtInformation, mbYes);
}

void TfOrvekDB::FillFolderGroupCombo(int groupId)
{
    const QSignalBlocker blocker(ComboBox_MainID);
    ComboBox_MainID->clear();
    for (const TGroupEntry& group : GroupList)
        ComboBox_MainID->addItem(group.Description, group.ID);
    const int index = GroupIndexOf(groupId);
    ComboBox_MainID->setCurrentIndex(index >= 0 ? index : 0);
}

void TfOrvekDB::ComboBox_MainIDChange()
{
    if (Closing || !WindowReady || ComboBox_MainID->currentIndex() < 0)
        return;
    Timer1->stop();
    WindowReady = false;
    CurrentGroupID = ComboBox_MainID->currentData().toInt();
    GetGroupName(CurrentGroupID, CurrentGroupName);
    BindFolderTable(CurrentGroupID);
    WindowReady = true;
    RequeryTemplates();
    UpdateActions();
}

void TfOrvekDB::NewGroupOfFolders()
{
    Timer1->stop();
    WindowReady = false;
    QString name = GetString(834);
    if (InputQuery(QStringLiteral("Insert box"), GetString(833), name)) {
        QSqlDatabase db = RecordsDatabase();
        int newId = 0;
        QString reason;
        if (!CreateFolderGroup(db, name, newId, &reason))
            MessageDlg(reason, TMsgDlgType::mtWarning, mbOK);
        // The window stays in its group: combo, tree and list alike.
        FillFolderGroupCombo(CurrentGroupID);
    }
    WindowReady = true;
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::ActionDeleteGroupOfFoldersExecute()
{
    Timer1->stop();
    WindowReady = false;
    if (GroupCount <= 1) {
        MessageDlg(GetString(826), TMsgDlgType::mtWarning, mbCancel);
    } else if (MessageDlg(GetString(827), TMsgDlgType::mtConfirmation, mbYes | mbCancel) == mrYes) {
        QSqlDatabase db = RecordsDatabase();
        const int groupId = ComboBox_MainID->currentData().toInt();
        QString reason;
        if (!DeleteFolderGroup(db, groupId, &reason)) {
            MessageDlg(reason, TMsgDlgType::mtWarning, mbOK);
            FillFolderGroupCombo(CurrentGroupID);
        } else {
            FillFolderGroupCombo(groupId == CurrentGroupID ? 0 : CurrentGroupID);
            WindowReady = true;
            ComboBox_MainIDChange();
        }
    }
    WindowReady = true;
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::ActionRenameGroupOfFoldersExecute()
{
    const int groupId = ComboBox_MainID->currentData().toInt();
    QString name = ComboBox_MainID->currentText();
    if (!InputQuery(QStringLiteral("Rename box"), GetString(842), name))
        return;
    QSqlDatabase db = RecordsDatabase();
    QString reason;
    if (!RenameFolderGroup(db, groupId, name, &reason)) {
        MessageDlg(reason, TMsgDlgType::mtWarning, mbOK);
        return;
    }
    FillFolderGroupCombo(groupId);
    if (groupId == CurrentGroupID)
        GetGroupName(CurrentGroupID, CurrentGroupName);
}

void TfOrvekDB::ApplyFolderGroupsSetting()
{
    Panel_Group_of_Folders->setVisible(MoreGroupsOfFolders);
    for (QAction* action : { ActionNewGroupOfFolders, ActionDeleteGroupOfFolders, ActionRenameGroupOfFolders, N32 })
        action->setVisible(MoreGroupsOfFolders);
    if (!MoreGroupsOfFolders && ComboBox_MainID->currentIndex() > 0)
        ComboBox_MainID->setCurrentIndex(0);
}

} // namespace orvek
