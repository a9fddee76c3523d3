#pragma once
// The small dialog in which the string browser edits the English and Slovak text of
// one row (the Czech text is not edited here).

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvek {

class TfEditStrings : public QDialog {
    Q_OBJECT
public:
    explicit TfEditStrings(QWidget* parent = nullptr);

    QLabel* Label_English = nullptr;
    QLineEdit* Edit_English = nullptr;
    QLabel* Label_Slovak = nullptr;
    QLineEdit* Edit_Slovak = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;

    // Takes the caption and labels from the string table.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
};

inline TfEditStrings* fEditStrings = nullptr;

} // namespace orvek
