#include "database/ui/list_of_folders.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "core/ui/tool_icons.h"
#include "database/data_module.h"
#include "database/folder_table_cursor.h"
#include "database/template_query.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/one_line_edit.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

// Texts of our own.
constexpr int kTextNameEmpty = 21600;
constexpr int kTextRightsNeeded = 21604;
constexpr int kTextNotSaved = 21605;
constexpr int kTextNotDeleted = 21606;

bool IsFixedFolder(const QString& id)
{
    return id == QLatin1String("0") || id == QLatin1String("1");
}

} // namespace

TfListOfFolders::TfListOfFolders(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fListOfFolders"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    IDTable = new FolderTableCursor(DataModule1 ? &DataModule1->SessionOrvek() : nullptr, this);
    IDTable->setObjectName(QStringLiteral("IDTable"));
    IDTable->DatabaseName = AliasDB;
    // A folder dragged to another parent is a change the caller must see.
    IDTable->AfterPost = [this](FolderTableCursor&) { FoldersChanged = true; };

    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->hide();
    DBTemplateView = new TDBTreeView(this);
    DBTemplateView->setObjectName(QStringLiteral("DBTemplateView"));
    DBTemplateView->SetOptions(kFolderWindowTreeOptions | dtInsertAsChild);
    DBTemplateView->setSortingEnabled(true);
    DBTemplateView->setMinimumSize(320, 360);
    DBTemplateView->SetTableIDField(QStringLiteral("ID"));
    DBTemplateView->SetTableParentField(QStringLiteral("OwnerID"));
    DBTemplateView->SetTableTextField(QStringLiteral("Description"));
    DBTemplateView->OnEditing = [](QTreeWidgetItem*) { return false; };
    DBTemplateView->OnInsertKey = [this](bool asChild) { InsertFolder(asChild); };
    DBTemplateView->OnDeleteKey = [this] { ActionDeleteFolderExecute(); };
    // The unassigned and deleted items' folders stay where they are.
    DBTemplateView->FixedIDs = { QString::fromLatin1(kUnassignedFolder), QString::fromLatin1(kDeletedFolder) };
    DBTemplateView->SetDataSource(IDTable);

    const auto makeAction = [this](const char* name, auto handler) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    ActionInsertNewFolder = makeAction("ActionInsertNewFolder", &TfListOfFolders::ActionInsertNewFolderExecute);
    ActionInsertNewSub_folder
        = makeAction("ActionInsertNewSub_folder", &TfListOfFolders::ActionInsertNewSub_folderExecute);
    ActionRenameFolder = makeAction("ActionRenameFolder", &TfListOfFolders::ActionRenameFolderExecute);
    ActionDeleteFolder = makeAction("ActionDeleteFolder", &TfListOfFolders::ActionDeleteFolderExecute);
    ActionCollapseFolderStructure
        = makeAction("ActionCollapseFolderStructure", &TfListOfFolders::ActionCollapseFolderStructureExecute);
    ActionExpandFolderStructure
        = makeAction("ActionExpandFolderStructure", &TfListOfFolders::ActionExpandFolderStructureExecute);
    SetToolIcons(this);

    auto* tools = new QHBoxLayout;
    int number = 1;
    for (QAction* action :
        { ActionInsertNewFolder, ActionInsertNewSub_folder, ActionRenameFolder, ActionDeleteFolder }) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(number++));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        tools->addWidget(button);
    }
    tools->addStretch();
    SpeedButton1 = findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    SpeedButton2 = findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    SpeedButton3 = findChild<QToolButton*>(QStringLiteral("SpeedButton3"));
    SpeedButton4 = findChild<QToolButton*>(QStringLiteral("SpeedButton4"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(ActionInsertNewFolder);
    PopupMenu1->addAction(ActionInsertNewSub_folder);
    PopupMenu1->addAction(ActionRenameFolder);
    PopupMenu1->addAction(ActionDeleteFolder);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(ActionCollapseFolderStructure);
    PopupMenu1->addAction(ActionExpandFolderStructure);
    DBTemplateView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBTemplateView, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { PopupMenu1->popup(DBTemplateView->viewport()->mapToGlobal(pos)); });

    QDialogButtonBox* buttons = OkCancelButtons(this, ButtonSelect, "ButtonSelect", ButtonCancel, "ButtonCancel");
    ButtonSelect->setDefault(true);
    connect(ButtonSelect, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(tools);
    layout->addWidget(DBTemplateView, 1);
    layout->addWidget(buttons);
    FormCreate();
}

TfListOfFolders::~TfListOfFolders()
{
    IDTable->Close();
}

void TfListOfFolders::FormCreate()
{
    ButtonSelect->setText(GetString(864));
    ButtonCancel->setText(GetString(867));
    const std::pair<QAction*, int> texts[] = { { ActionInsertNewFolder, 816 }, { ActionInsertNewSub_folder, 817 },
        { ActionRenameFolder, 818 }, { ActionDeleteFolder, 819 }, { ActionCollapseFolderStructure, 820 },
        { ActionExpandFolderStructure, 821 } };
    for (const auto& [action, text] : texts) {
        action->setText(GetString(text));
        action->setToolTip(GetString(text));
    }
}

void TfListOfFolders::OpenFolders(int, const QString& itemsTable, const QString& folderId, const QString& folderColumn)
{
    FoldersChanged = false;
    ItemsTableName = itemsTable;
    FolderColumnName = folderColumn;
    Panel1->setVisible(!Panel1->text().isEmpty());
    UpdateActions();
    if (!IDTable->Active()) {
        QString error;
        if (!IDTable->Open(&error))
            MessageDlg(error, TMsgDlgType::mtError, mbOK);
    }
    DBTemplateView->SetShowRoot(true);
    IDTable->FindKey(folderId);
    FoldersChanged = false;
}

bool TfListOfFolders::MayChangeFolders() const
{
    if (CurrentUserRights == 1 || CurrentUserRights == 2)
        return true;
    MessageDlg(GetString(kTextRightsNeeded), TMsgDlgType::mtWarning, mbOK);
    return false;
}

void TfListOfFolders::UpdateActions()
{
    const bool administrator = CurrentUserRights == 1 || CurrentUserRights == 2;
    for (QAction* action : { ActionInsertNewFolder, ActionInsertNewSub_folder, ActionRenameFolder, ActionDeleteFolder })
        action->setEnabled(administrator);
    DBTemplateView->SetOption(dtAutoDragMove, administrator);
}

void TfListOfFolders::InsertFolder(bool asChild)
{
    if (!MayChangeFolders())
        return;
    QString name = GetString(828);
    if (!InputQuery(QStringLiteral("Input box"), GetString(asChild ? 830 : 829), name))
        return;
    name = FirstLineOf(name).trimmed();
    // A new top-level folder may stay without a name; a sub-folder may not.
    if (asChild && name.isEmpty()) {
        MessageDlg(GetString(kTextNameEmpty), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    FoldersChanged = true;
    DBTemplateView->DefaultNewName = name;
    DBTemplateView->InsertNode(asChild);
    if (IDTable->State() != TDataSetState::dsInsert)
        return; // the tree said why
    QString error;
    if (!IDTable->Post(&error)) {
        IDTable->Cancel();
        MessageDlg(GetString(kTextNotSaved, { error }), TMsgDlgType::mtError, mbOK);
    }
}

void TfListOfFolders::ActionInsertNewFolderExecute()
{
    InsertFolder(false);
}

void TfListOfFolders::ActionInsertNewSub_folderExecute()
{
    InsertFolder(true);
}

QTreeWidgetItem* TfListOfFolders::ChangeableSelectedFolder(const QString& fixedFolderText) const
{
    QTreeWidgetItem* node = DBTemplateView->Selected();
    if (!node || !MayChangeFolders())
        return nullptr;
    if (IsFixedFolder(DBTemplateView->GetNodeID(node))) {
        MessageDlg(fixedFolderText, TMsgDlgType::mtWarning, mbCancel);
        return nullptr;
    }
    return node;
}

void TfListOfFolders::ActionRenameFolderExecute()
{
    QTreeWidgetItem* node = ChangeableSelectedFolder(GetString(875));
    if (!node)
        return;
    const QString id = DBTemplateView->GetNodeID(node);
    QString name = node->text(0);
    if (!InputQuery(QStringLiteral("Rename box"), GetString(842), name))
        return;
    name = FirstLineOf(name).trimmed();
    if (name.isEmpty()) {
        MessageDlg(GetString(kTextNameEmpty), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    FoldersChanged = true;
    // Each post is committed at once: other workstations see the new name.
    QString error;
    if (!IDTable->FindKey(id) || !IDTable->Edit(&error) || !IDTable->SetFieldValue(QStringLiteral("Description"), name)
        || !IDTable->Post(&error)) {
        IDTable->Cancel();
        MessageDlg(GetString(kTextNotSaved, { error }), TMsgDlgType::mtError, mbOK);
    }
}

void TfListOfFolders::ActionDeleteFolderExecute()
{
    QTreeWidgetItem* node = ChangeableSelectedFolder(GetString(835));
    if (!node)
        return;
    if (MessageDlg(GetString(873, { node->text(0) }) + QStringLiteral("\r\r") + GetString(876),
            TMsgDlgType::mtConfirmation, mbYesNo)
        != mrYes)
        return;
    FoldersChanged = true;
    // The folder and its sub-folders go, and the current group's items filed in them
    // become unassigned, in one post.
    const QStringList ids = DBTemplateView->SubtreeIDs(node);
    const QString parentId = DBTemplateView->GetNodeID(node->parent());
    bool ok = CreateTempIdTable();
    if (ok) {
        for (const QString& folder : ids)
            AddTempId(folder);
        CloseTempIdTable();
        ok = UnassignFoldersInTempTable(ItemsTableName, FolderColumnName, CurrentGroupID, IDTable->TableName);
        DropTempIdTable();
    }
    if (!ok) {
        MessageDlg(GetString(kTextNotDeleted), TMsgDlgType::mtError, mbOK);
        return;
    }
    if (!parentId.isEmpty())
        IDTable->FindKey(parentId);
    IDTable->Refresh();
}

void TfListOfFolders::ActionCollapseFolderStructureExecute()
{
    DBTemplateView->FullCollapse();
}

void TfListOfFolders::ActionExpandFolderStructureExecute()
{
    DBTemplateView->FullExpand();
}

} // namespace orvek
