#pragma once
// The record-head dialog: the date (shown, not editable), who filled the record in, its
// sample ID and its name. The calling window fills the edits, shows the dialog modally
// and reads them back after OK; OK needs a name or a sample ID.

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvek {

class TfEditRecordHead : public QDialog {
    Q_OBJECT
public:
    explicit TfEditRecordHead(QWidget* parent = nullptr);

    QDateEdit* Edit_Datum = nullptr;
    QLineEdit* Edit_Vytvoril = nullptr;
    QLineEdit* Edit_SampleID = nullptr; // at most 30 characters
    QLineEdit* Edit_NazovMerania = nullptr; // at most 100 characters
    QLabel* Label_Datum = nullptr;
    QLabel* Label_Meral = nullptr;
    QLabel* Label_SampleID = nullptr;
    QLabel* Label_Nazov = nullptr;
    QPushButton* Button1 = nullptr; // Cancel
    QPushButton* Button2 = nullptr; // OK

    void FormActivate();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
};

inline TfEditRecordHead* fEditRecordHead = nullptr;

} // namespace orvek
