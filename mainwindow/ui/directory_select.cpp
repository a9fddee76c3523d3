#include "mainwindow/ui/directory_select.h"

#include "core/string_table.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/window_placement.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>
#include <memory>

namespace orvek {

namespace {

QString WithSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace

TfDirectorySelect::TfDirectorySelect(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fDirectorySelect"));
    setSizeGripEnabled(true);
    setMinimumSize(375, 218);
    resize(560, 380);

    PanelMask = new QLabel(this);
    PanelMask->setObjectName(QStringLiteral("PanelMask"));
    PanelMask->setFrameShape(QFrame::StyledPanel);
    PanelMask->setTextInteractionFlags(Qt::TextSelectableByMouse);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    folders_->setRootPath(QDir::rootPath());
    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    files_->setRootPath(QDir::rootPath());

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    DirectoryTree = new QTreeView(Splitter1);
    DirectoryTree->setObjectName(QStringLiteral("DirectoryTree"));
    DirectoryTree->setModel(folders_);
    DirectoryTree->setRootIndex(folders_->index(QDir::rootPath()));
    for (int column = 1; column < folders_->columnCount(); ++column)
        DirectoryTree->hideColumn(column);
    DirectoryTree->setHeaderHidden(true);
    FileListView = new QTreeView(Splitter1);
    FileListView->setObjectName(QStringLiteral("FileListView"));
    FileListView->setModel(files_);
    FileListView->setRootIsDecorated(false);
    FileListView->setItemsExpandable(false);
    FileListView->setSortingEnabled(true);
    FileListView->sortByColumn(0, Qt::AscendingOrder);
    FileListView->header()->setStretchLastSection(true);
    FileListView->setColumnWidth(0, 180);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);

    SpeedButton2 = new QPushButton(QStringLiteral("+"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    QDialogButtonBox* box
        = OkCancelButtons(this, SpeedButton3, "SpeedButton3", SpeedButton_Cancel, "SpeedButton_Cancel");
    for (QPushButton* button : { SpeedButton2, SpeedButton_Cancel, SpeedButton3 })
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton2);
    buttons->addWidget(box, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PanelMask);
    layout->addWidget(Splitter1, 1);
    layout->addLayout(buttons);

    connect(SpeedButton3, &QPushButton::clicked, this, &TfDirectorySelect::SpeedButton3Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TfDirectorySelect::SpeedButton2Click);
    connect(SpeedButton_Cancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(
        DirectoryTree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { ShowCurrentFolder(); });
    // The tree fills in the background; the current folder is brought into view once
    // its parents are there.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this] {
        if (DirectoryTree->currentIndex().isValid())
            DirectoryTree->scrollTo(DirectoryTree->currentIndex());
    });
    connect(FileListView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this] { PanelMask->setText(CurrentPath() + QStringLiteral(" *.*")); });

    SetCurrentPath(QDir::homePath());
}

QString TfDirectorySelect::CurrentPath() const
{
    const QModelIndex index = DirectoryTree->currentIndex();
    return index.isValid() ? folders_->filePath(index) : QString();
}

bool TfDirectorySelect::SetCurrentPath(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QModelIndex index = folders_->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    DirectoryTree->setCurrentIndex(index);
    DirectoryTree->scrollTo(index);
    ShowCurrentFolder();
    return true;
}

void TfDirectorySelect::ShowCurrentFolder()
{
    const QString path = CurrentPath();
    if (!path.isEmpty())
        FileListView->setRootIndex(files_->setRootPath(path));
    PanelMask->setText(path + QStringLiteral(" *.*"));
}

void TfDirectorySelect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfDirectorySelect::FormActivate()
{
    setWindowTitle(GetString(497));
    SpeedButton_Cancel->setText(GetString(4));
    // A folder that does not exist leaves the tree where it was.
    SetCurrentPath(FFolder);
    PanelMask->setText(FFolder + QStringLiteral(" *.*"));
}

void TfDirectorySelect::SpeedButton3Click()
{
    FFolder = WithSeparator(CurrentPath());
    if (QFileInfo(FFolder).isDir()) {
        done(1);
        return;
    }
    MessageDlg(GetString(493, { FFolder }), TMsgDlgType::mtError, mbCancel);
}

void TfDirectorySelect::SpeedButton2Click()
{
    FFolder = WithSeparator(CurrentPath());
    std::unique_ptr<TfEditString> own;
    TfEditString* dialog = fEditString;
    if (!dialog) {
        own = std::make_unique<TfEditString>(this);
        dialog = own.get();
    }
    dialog->setWindowTitle(GetString(495));
    dialog->Label1->setText(FFolder);
    dialog->Edit1->clear();
    const OpenedFrom opened(dialog, this);
    if (dialog->exec() == 1) {
        FFolder += dialog->Edit1->text();
        // A name the file system refuses (a parent that is a file, no permission) is
        // caught by the check below.
        if (QDir().mkpath(FFolder))
            SetCurrentPath(FFolder);
    }
    if (!QFileInfo(FFolder).isDir()) {
        FFolder = CurrentPath();
        MessageDlg(GetString(496), TMsgDlgType::mtError, mbCancel);
    }
}

void TfDirectorySelect::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (SpeedButton3->isEnabled())
            SpeedButton3Click();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        done(2);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ShowDirectorySelect(QString& folder)
{
    if (!fDirectorySelect)
        return false;
    fDirectorySelect->FFolder = folder;
    if (fDirectorySelect->exec() != 1)
        return false;
    folder = fDirectorySelect->FFolder;
    return true;
}

} // namespace orvek
