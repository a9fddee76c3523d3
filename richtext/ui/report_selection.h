#pragma once
// The report-section dialog: which sections the full report holds (ReportSections),
// how the diagram picture is coloured (DiagramPrintColors), and what to do with the
// report (ReportAction: 1 copy, 2 print, 3 preview, 4 save, 0 only apply the choice).

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace orvek {

class TfOrvekReportSelection : public QDialog {
    Q_OBJECT
public:
    explicit TfOrvekReportSelection(QWidget* owner = nullptr);

    QGroupBox* GroupBox1;
    QCheckBox *CheckBox_ListOfEquations, *CheckBox_ListOfQuatities_Table, *CheckBox_QuantitiesUncertaintiesDesc,
        *CheckBox_UncertaintyBudget, *CheckBox_ResultsTable, *CheckBox_Diagram;
    QComboBox* ComboBox_Coloring_of_Diagram;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6;

    // Texts and the choice from ReportSections and DiagramPrintColors.
    void FormActivate();
    // Closing with OK: the ticked boxes become ReportSections; none ticked keeps the
    // dialog open (text 693) with the budget box ticked. True when it may close.
    bool AcceptSelection();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QCheckBox* SectionBox(int bit) const;
    void Choose(int action);
};

inline TfOrvekReportSelection* fOrvekReportSelection = nullptr;

} // namespace orvek
