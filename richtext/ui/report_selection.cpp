#include "richtext/ui/report_selection.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"
#include "richtext/report_output.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

QCheckBox* AddBox(QVBoxLayout* layout, QWidget* parent, const char* name)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    layout->addWidget(box);
    return box;
}

QPushButton* AddButton(QHBoxLayout* layout, QWidget* parent, const char* name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

} // namespace

TfOrvekReportSelection::TfOrvekReportSelection(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("fOrvekReportSelection"));
    setModal(true);
    auto* main = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* sections = new QVBoxLayout(GroupBox1);
    CheckBox_ListOfEquations = AddBox(sections, GroupBox1, "CheckBox_ListOfEquations");
    CheckBox_ListOfQuatities_Table = AddBox(sections, GroupBox1, "CheckBox_ListOfQuatities_Table");
    CheckBox_QuantitiesUncertaintiesDesc = AddBox(sections, GroupBox1, "CheckBox_QuantitiesUncertaintiesDesc");
    CheckBox_UncertaintyBudget = AddBox(sections, GroupBox1, "CheckBox_UncertaintyBudget");
    CheckBox_ResultsTable = AddBox(sections, GroupBox1, "CheckBox_ResultsTable");
    CheckBox_Diagram = AddBox(sections, GroupBox1, "CheckBox_Diagram");
    ComboBox_Coloring_of_Diagram = new QComboBox(GroupBox1);
    ComboBox_Coloring_of_Diagram->setObjectName(QStringLiteral("ComboBox_Coloring_of_Diagram"));
    sections->addWidget(ComboBox_Coloring_of_Diagram);
    main->addWidget(GroupBox1);

    auto* outputs = new QHBoxLayout;
    Button3 = AddButton(outputs, this, "Button3");
    Button1 = AddButton(outputs, this, "Button1");
    Button4 = AddButton(outputs, this, "Button4");
    Button5 = AddButton(outputs, this, "Button5");
    main->addLayout(outputs);
    QDialogButtonBox* closing = OkCancelButtons(this, Button6, "Button6", Button2, "Button2");
    for (QPushButton* button : { Button6, Button2 })
        button->setAutoDefault(false);
    main->addWidget(closing);

    connect(CheckBox_Diagram, &QCheckBox::toggled, ComboBox_Coloring_of_Diagram, &QWidget::setVisible);
    connect(Button3, &QPushButton::clicked, this, [this] { Choose(kReportCopy); });
    connect(Button1, &QPushButton::clicked, this, [this] { Choose(kReportSave); });
    connect(Button4, &QPushButton::clicked, this, [this] { Choose(kReportPrint); });
    connect(Button5, &QPushButton::clicked, this, [this] { Choose(kReportPreview); });
    connect(Button6, &QPushButton::clicked, this, [this] { Choose(kReportApplyOnly); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

QCheckBox* TfOrvekReportSelection::SectionBox(int bit) const
{
    QCheckBox* const boxes[] = { CheckBox_ListOfEquations, CheckBox_ListOfQuatities_Table,
        CheckBox_QuantitiesUncertaintiesDesc, CheckBox_UncertaintyBudget, CheckBox_ResultsTable, CheckBox_Diagram };
    return boxes[bit];
}

void TfOrvekReportSelection::FormActivate()
{
    setWindowTitle(GetString(701));
    GroupBox1->setTitle(QStringLiteral(" ") + GetString(700) + QStringLiteral(" "));
    const int texts[] = { 695, 696, 697, 698, 699, 776 };
    for (int bit = 0; bit < 6; ++bit) {
        SectionBox(bit)->setText(GetString(texts[bit]));
        SectionBox(bit)->setChecked(ReportSections & (1u << bit));
    }
    ComboBox_Coloring_of_Diagram->clear();
    ComboBox_Coloring_of_Diagram->addItems({ GetString(777), GetString(778) });
    ComboBox_Coloring_of_Diagram->setCurrentIndex(DiagramPrintColors <= 1 ? DiagramPrintColors : 1);
    ComboBox_Coloring_of_Diagram->setVisible(CheckBox_Diagram->isChecked());
    const std::pair<QPushButton*, int> buttons[]
        = { { Button3, 702 }, { Button1, 705 }, { Button4, 703 }, { Button5, 704 }, { Button6, 710 }, { Button2, 4 } };
    for (const auto& [button, text] : buttons)
        button->setText(GetString(text));
}

void TfOrvekReportSelection::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TfOrvekReportSelection::Choose(int action)
{
    ReportAction = action;
    accept();
}

bool TfOrvekReportSelection::AcceptSelection()
{
    quint16 sections = 0;
    for (int bit = 0; bit < 6; ++bit)
        if (SectionBox(bit)->isChecked())
            sections |= quint16(1u << bit);
    if (sections == 0) {
        MessageDlg(GetString(693), TMsgDlgType::mtWarning, mbOK);
        CheckBox_UncertaintyBudget->setChecked(true);
        return false;
    }
    if (CheckBox_Diagram->isChecked())
        DiagramPrintColors = quint8(std::max(0, ComboBox_Coloring_of_Diagram->currentIndex()));
    ReportSections = sections;
    return true;
}

void TfOrvekReportSelection::done(int result)
{
    if (result == QDialog::Accepted && !AcceptSelection())
        return;
    QDialog::done(result);
}

} // namespace orvek
