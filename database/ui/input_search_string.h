#pragma once
// The search dialog: a search text, where in the name it may stand and whether all
// folders or the selected one are searched. It returns the trimmed text and the two
// choices; the calling window builds the search from them.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvek {

class TfInputSearchString1 : public QDialog {
    Q_OBJECT
public:
    explicit TfInputSearchString1(QWidget* parent = nullptr);

    QLabel* Label_SearchString = nullptr; // set by the caller: the title of the searched column
    QLineEdit* Edit_SearchString = nullptr;
    QGroupBox* GroupBox_Where = nullptr;
    QRadioButton* RadioButton_Substring = nullptr; // anywhere in the name (the default)
    QRadioButton* RadioButton_BeginingString = nullptr; // at the beginning
    QRadioButton* RadioButton_ExactString = nullptr; // the whole name
    QGroupBox* GroupBox_Folders = nullptr;
    QRadioButton* RadioButton_AllFolders = nullptr; // the default
    QRadioButton* RadioButton_SelectedFolder = nullptr;
    QPushButton* Button_Search = nullptr; // OK
    QPushButton* Button_Cancel = nullptr;

    void FormActivate();
    void Button_SearchClick();

protected:
    void showEvent(QShowEvent* event) override;
};

inline TfInputSearchString1* fInputSearchString1 = nullptr;

} // namespace orvek
