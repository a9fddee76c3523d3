#include "database/ui/edit_record_head.h"

#include "core/dates.h"
#include "core/string_table.h"
#include "database/ui/one_line_edit.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/dialog_buttons.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

constexpr int kSampleIdLength = 30;
constexpr int kNameLength = 100;

} // namespace

TfEditRecordHead::TfEditRecordHead(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fEditRecordHead"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    InitDateFormats();
    Edit_Datum = new QDateEdit(this);
    Edit_Datum->setObjectName(QStringLiteral("Edit_Datum"));
    Edit_Datum->setDisplayFormat(ShortDateFormat);
    Edit_Datum->setEnabled(false);
    Edit_Vytvoril = new QLineEdit(this);
    Edit_Vytvoril->setObjectName(QStringLiteral("Edit_Vytvoril"));
    Edit_SampleID = new QLineEdit(this);
    Edit_SampleID->setObjectName(QStringLiteral("Edit_SampleID"));
    Edit_SampleID->setMaxLength(kSampleIdLength);
    Edit_NazovMerania = new QLineEdit(this);
    Edit_NazovMerania->setObjectName(QStringLiteral("Edit_NazovMerania"));
    Edit_NazovMerania->setMaxLength(kNameLength);
    Edit_NazovMerania->setMinimumWidth(360);
    for (QLineEdit* edit : { Edit_Vytvoril, Edit_SampleID, Edit_NazovMerania })
        KeepOneLine(edit);
    Label_Datum = new QLabel(this);
    Label_Meral = new QLabel(this);
    Label_SampleID = new QLabel(this);
    Label_Nazov = new QLabel(this);
    Label_Datum->setBuddy(Edit_Datum);
    Label_Meral->setBuddy(Edit_Vytvoril);
    Label_SampleID->setBuddy(Edit_SampleID);
    Label_Nazov->setBuddy(Edit_NazovMerania);

    auto* grid = new QGridLayout;
    grid->addWidget(Label_Datum, 0, 0);
    grid->addWidget(Edit_Datum, 0, 1, Qt::AlignLeft);
    grid->addWidget(Label_Meral, 1, 0);
    grid->addWidget(Edit_Vytvoril, 1, 1);
    grid->addWidget(Label_SampleID, 2, 0);
    grid->addWidget(Edit_SampleID, 2, 1);
    grid->addWidget(Label_Nazov, 3, 0);
    grid->addWidget(Edit_NazovMerania, 3, 1);
    grid->setColumnStretch(1, 1);

    QDialogButtonBox* buttons = OkCancelButtons(this, Button2, "Button2", Button1, "Button1");
    Button2->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button2, &QPushButton::clicked, this, &TfEditRecordHead::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

void TfEditRecordHead::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfEditRecordHead::FormActivate()
{
    Label_Datum->setText(GetString(358));
    Label_Meral->setText(GetString(766));
    Label_SampleID->setText(GetString(765));
    Button1->setText(GetString(4));
    if (Edit_NazovMerania->isEnabled())
        Edit_NazovMerania->setFocus();
}

void TfEditRecordHead::Button2Click()
{
    if (!Edit_NazovMerania->text().trimmed().isEmpty() || !Edit_SampleID->text().trimmed().isEmpty()) {
        accept();
        return;
    }
    MessageDlg(GetString(763, { WithoutAccessKey(Label_Nazov->text()), WithoutAccessKey(Label_SampleID->text()) }),
        TMsgDlgType::mtError, mbRetry);
    Edit_NazovMerania->setFocus();
}

} // namespace orvek
