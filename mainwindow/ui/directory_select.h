#pragma once
// The folder chooser: a modal window with the folder tree and the files of the selected
// folder, in which the user picks an existing folder or makes a new one. The caller puts
// the folder to show first into FFolder, shows the window (1 OK, 2 Cancel) and, after
// OK, reads the chosen folder from FFolder, which then ends with "/". Created once at
// start-up and kept.

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QSplitter;
class QTreeView;

namespace orvek {

class TfDirectorySelect : public QDialog {
    Q_OBJECT
public:
    explicit TfDirectorySelect(QWidget* parent = nullptr);

    QString FFolder;

    QLabel* PanelMask = nullptr;
    QTreeView* DirectoryTree = nullptr; // folders only
    QTreeView* FileListView = nullptr; // the files of the tree's folder, sorted
    QSplitter* Splitter1 = nullptr;
    QPushButton* SpeedButton_Cancel = nullptr;
    QPushButton* SpeedButton3 = nullptr; // OK
    QPushButton* SpeedButton2 = nullptr; // new folder

    // The tree's current folder (absolute, as the file system spells it); empty when
    // nothing is selected.
    QString CurrentPath() const;
    // Selects Folder in the tree; False when it is not an existing folder.
    bool SetCurrentPath(const QString& folder);

    void FormActivate();
    void SpeedButton3Click();
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowCurrentFolder();
    QFileSystemModel* folders_ = nullptr;
    QFileSystemModel* files_ = nullptr;
};

inline TfDirectorySelect* fDirectorySelect = nullptr;

// Shows fDirectorySelect on Folder; True after OK with the chosen folder. The program
// installs it as the folder chooser of the platform dialogs.
bool ShowDirectorySelect(QString& folder);

} // namespace orvek
