#include "mainwindow/ui/summary_windows.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "sources/ui/source_page_widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

const QString kInfinity = QStringLiteral("Nekonecno");

TEditText98* UnitBox(QWidget* owner, QWidget* panel, const char* name)
{
    auto* box
        = new TEditText98(owner, QString(), 0, 0, 0, 0, true, true, true, 8, QStringLiteral("MS Sans Serif"), panel);
    box->Edit->setObjectName(QString::fromLatin1(name));
    QPalette p = box->Edit->palette();
    p.setColor(QPalette::Base, ReadOnlyColor(true));
    p.setColor(QPalette::Disabled, QPalette::Base, ReadOnlyColor(true));
    box->Edit->setPalette(p);
    box->Edit->setFixedHeight(box->Edit->fontMetrics().height() + 10);
    return box;
}

QWidget* Panel(QWidget* parent, const char* name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setMinimumWidth(110);
    return panel;
}

// An edit with the infinity panel laid in the same place.
QWidget* WithInfinity(QWidget* parent, QLineEdit* edit, QLabel* infinity)
{
    auto* holder = new QWidget(parent);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit);
    layout->addWidget(infinity);
    return holder;
}

// A relative uncertainty to SignificantDigits with its percent sign; nothing for none.
QString PercentText(const QString& text)
{
    const QString digits = FormatSignificantText(SignificantDigits, text);
    return digits.isEmpty() ? QString() : digits + QStringLiteral(" %");
}

} // namespace

TfSummaryDesc::TfSummaryDesc(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fSummaryDesc"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);

    Label_NazovVeliciny = MakeLabel(this, "Label_NazovVeliciny");
    Label_Hodnota = MakeLabel(this, "Label_Hodnota");
    Label_KombinovanaStdNeistota = MakeLabel(this, "Label_KombinovanaStdNeistota");
    Label_RelStdNeistota = MakeLabel(this, "Label_RelStdNeistota");
    Label_RozsirenaStdNeistota = MakeLabel(this, "Label_RozsirenaStdNeistota");
    Label_PocetStupnovVolnosti = MakeLabel(this, "Label_PocetStupnovVolnosti");
    Label_ExpanznyKoeficient = MakeLabel(this, "Label_ExpanznyKoeficient");
    Label_Relativna_rozsirena_neistota = MakeLabel(this, "Label_Relativna_rozsirena_neistota");
    Edit_Hodnota = MakeEdit(this, "Edit_Hodnota", true);
    Edit_KombinovanaStdNeistota = MakeEdit(this, "Edit_KombinovanaStdNeistota", true);
    Edit_RelStdNeistota = MakeEdit(this, "Edit_RelStdNeistota", true);
    Edit_RozsirenaStdNeistota = MakeEdit(this, "Edit_RozsirenaStdNeistota", true);
    Edit_PocetStupnovVolnosti = MakeEdit(this, "Edit_PocetStupnovVolnosti", true);
    Edit_ExpanznyKoeficient = MakeEdit(this, "Edit_ExpanznyKoeficient", true);
    Edit_RelRozsirenaNeistota = MakeEdit(this, "Edit_RelRozsirenaNeistota", true);
    for (QLineEdit* edit : { Edit_Hodnota, Edit_KombinovanaStdNeistota, Edit_RelStdNeistota, Edit_RozsirenaStdNeistota,
             Edit_PocetStupnovVolnosti, Edit_ExpanznyKoeficient, Edit_RelRozsirenaNeistota }) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMinimumWidth(120);
    }
    Panel_NekonecnoPreRel = MakeInfinityPanel(this, "Panel_NekonecnoPreRel");
    Panel_Nekonecno = MakeInfinityPanel(this, "Panel_Nekonecno");
    PlusMinusSign = MakeLabel(this, "PlusMinusSign");
    PlusMinusSign->setText(QStringLiteral("\u00B1"));
    PlusMinusSign->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Panel_NazovVeliciny = Panel(this, "Panel_NazovVeliciny");
    Panel_JednotkaVeliciny_1 = Panel(this, "Panel_JednotkaVeliciny_1");
    Panel_JednotkaVeliciny_2 = Panel(this, "Panel_JednotkaVeliciny_2");
    Panel_JednotkaVeliciny_4 = Panel(this, "Panel_JednotkaVeliciny_4");
    FQuantityNameBox = UnitBox(this, Panel_NazovVeliciny, "FQuantityNameBox");
    FValueUnitBox = UnitBox(this, Panel_JednotkaVeliciny_1, "FValueUnitBox");
    FUncertaintyUnitBox = UnitBox(this, Panel_JednotkaVeliciny_2, "FUncertaintyUnitBox");
    FExpandedUnitBox = UnitBox(this, Panel_JednotkaVeliciny_4, "FExpandedUnitBox");

    bOK = new QPushButton(QStringLiteral("OK"), this);
    bOK->setObjectName(QStringLiteral("bOK"));
    bOK->setAutoDefault(false);
    connect(bOK, &QPushButton::clicked, this, &QWidget::close);

    auto* grid = new QGridLayout;
    grid->addWidget(Label_NazovVeliciny, 0, 0);
    grid->addWidget(Panel_NazovVeliciny, 0, 1, 1, 3);
    grid->addWidget(Label_Hodnota, 1, 0);
    grid->addWidget(Edit_Hodnota, 1, 2);
    grid->addWidget(Panel_JednotkaVeliciny_1, 1, 3);
    grid->addWidget(Label_KombinovanaStdNeistota, 2, 0);
    grid->addWidget(Edit_KombinovanaStdNeistota, 2, 2);
    grid->addWidget(Panel_JednotkaVeliciny_2, 2, 3);
    grid->addWidget(Label_RelStdNeistota, 3, 0);
    grid->addWidget(WithInfinity(this, Edit_RelStdNeistota, Panel_NekonecnoPreRel), 3, 2);
    grid->addWidget(Label_RozsirenaStdNeistota, 4, 0);
    grid->addWidget(PlusMinusSign, 4, 1);
    grid->addWidget(Edit_RozsirenaStdNeistota, 4, 2);
    grid->addWidget(Panel_JednotkaVeliciny_4, 4, 3);
    grid->addWidget(Label_PocetStupnovVolnosti, 5, 0);
    grid->addWidget(WithInfinity(this, Edit_PocetStupnovVolnosti, Panel_Nekonecno), 5, 2);
    grid->addWidget(Label_ExpanznyKoeficient, 6, 0);
    grid->addWidget(Edit_ExpanznyKoeficient, 6, 2);
    grid->addWidget(Label_Relativna_rozsirena_neistota, 7, 0);
    grid->addWidget(Edit_RelRozsirenaNeistota, 7, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bOK);
    layout->addLayout(buttons);
    RefreshTexts();
}

TfSummaryDesc::~TfSummaryDesc()
{
    if (ResultSummary() == this)
        SetResultSummaryService(nullptr);
    if (fSummaryDesc == this)
        fSummaryDesc = nullptr;
    delete FQuantityNameBox;
    delete FValueUnitBox;
    delete FUncertaintyUnitBox;
    delete FExpandedUnitBox;
}

void TfSummaryDesc::RefreshTexts()
{
    Label_KombinovanaStdNeistota->setText(GetString(87));
    Label_RelStdNeistota->setText(GetString(88));
    Label_RozsirenaStdNeistota->setText(GetString(355));
    Label_PocetStupnovVolnosti->setText(GetString(289));
    Label_NazovVeliciny->setText(GetString(90));
    Label_ExpanznyKoeficient->setText(GetString(312));
    Label_Relativna_rozsirena_neistota->setText(GetString(1001));
    Label_Hodnota->setText(GetString(239));
}

void TfSummaryDesc::ShowStayOnTop()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    raise();
}

void TfSummaryDesc::ShowCellSummary(TCell* cell)
{
    if (!cell)
        return;
    setWindowTitle(cell->FCellName.Text);
    FQuantityNameBox->SetMarkupText(cell->FQuantityName.Text);
    for (TEditText98* box : { FValueUnitBox, FUncertaintyUnitBox, FExpandedUnitBox })
        box->SetMarkupText(cell->FUnit.Text);

    for (QLineEdit* edit : { Edit_Hodnota, Edit_KombinovanaStdNeistota, Edit_RelStdNeistota, Edit_RozsirenaStdNeistota,
             Edit_PocetStupnovVolnosti, Edit_ExpanznyKoeficient, Edit_RelRozsirenaNeistota }) {
        edit->clear();
        edit->show();
    }
    Panel_NekonecnoPreRel->hide();
    Panel_Nekonecno->hide();
    Label_Hodnota->setText(GetString(239));

    if (cell->FDegreesOfFreedom == kInfinity) {
        Panel_Nekonecno->show();
        Edit_PocetStupnovVolnosti->hide();
    } else {
        Edit_PocetStupnovVolnosti->setText(IntegerPartText(cell->FDegreesOfFreedom));
    }
    Edit_ExpanznyKoeficient->setText(FormatSignificantText(4, cell->FCoverageFactor.Text));

    const QString value = cell->FValue.Text.trimmed();
    const QString combined = cell->FCombinedUncertainty.trimmed();
    if (!value.isEmpty() && !combined.isEmpty()) {
        QString valueOut = value, expandedOut = cell->FExpandedUncertainty;
        FormatValueAndUncertainty(value, cell->FExpandedUncertainty, valueOut, expandedOut);
        Edit_Hodnota->setText(valueOut);
        Edit_RozsirenaStdNeistota->setText(expandedOut);
        Edit_KombinovanaStdNeistota->setText(FormatSignificantText(SignificantDigits, combined));
        if (cell->FRelativeUncertainty == kInfinity) {
            Panel_NekonecnoPreRel->show();
            Edit_RelStdNeistota->hide();
        } else {
            Edit_RelStdNeistota->setText(PercentText(cell->FRelativeUncertainty));
        }
        Edit_RelRozsirenaNeistota->setText(PercentText(cell->FRelativeExpandedUncertainty));
    } else if (!value.isEmpty()) {
        Edit_Hodnota->setText(FormatSignificantText(SignificantDigits, value));
    } else if (!combined.isEmpty()) {
        Edit_KombinovanaStdNeistota->setText(FormatSignificantText(SignificantDigits, combined));
    }
    show();
}

} // namespace orvek
