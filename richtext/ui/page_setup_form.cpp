#include "richtext/ui/page_setup_form.h"

#include "platform/dialogs.h"
#include "platform/regional_locale.h"
#include "richtext/ui/font_dialog.h"
#include "richtext/ui/form_settings.h"
#include "richtext/ui/preview_printer.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

QRadioButton* Radio(QWidget* parent, QLayout* layout, const QString& name, const QString& text, int tag)
{
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(name);
    r->setProperty("tag", tag);
    layout->addWidget(r);
    return r;
}

QLineEdit* Edit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

void CheckByTag(std::initializer_list<QRadioButton*> group, int tag)
{
    for (QRadioButton* r : group)
        if (r->property("tag").toInt() == tag)
            r->setChecked(true);
}

int CheckedTag(std::initializer_list<QRadioButton*> group)
{
    for (QRadioButton* r : group)
        if (r->isChecked())
            return r->property("tag").toInt();
    return -1;
}

QString Number3(double v)
{
    QLocale locale = RegionalLocale();
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(v, 'f', 3);
}

// A margin that does not read as a number keeps its value.
void ReadNumber(const QLineEdit* edit, double& value)
{
    bool ok = false;
    const double v = RegionalLocale().toDouble(edit->text().trimmed(), &ok);
    if (ok)
        value = v;
}

QString FontCaption(const QFont& f)
{
    return QString("%1 %2 pt").arg(f.family()).arg(f.pointSize());
}

} // namespace

TPageSetupForm::TPageSetupForm(TPreviewPrinter* printer, QWidget* parent)
    : QDialog(parent)
    , PreviewPrinter(printer)
    , TextOptions(&printer->TextOptions)
{
    setObjectName("PageSetupForm");
    setWindowTitle("Page Setup");
    resize(510, 440);
    auto* grid = new QGridLayout(this);

    auto* margins = new QGroupBox("Page Margins", this);
    auto* ml = new QVBoxLayout(margins);
    InchBut = Radio(margins, ml, "InchBut", "&Inches", 0);
    CentBut = Radio(margins, ml, "CentBut", "&Centimeters", 1);
    InchBut->setChecked(true);
    auto* mf = new QFormLayout;
    LeftEdit = Edit(margins, "LeftEdit");
    RightEdit = Edit(margins, "RightEdit");
    TopEdit = Edit(margins, "TopEdit");
    BotEdit = Edit(margins, "BotEdit");
    mf->addRow("&Left", LeftEdit);
    mf->addRow("&Right", RightEdit);
    mf->addRow("&Top", TopEdit);
    mf->addRow("&Bottom", BotEdit);
    ml->addLayout(mf);
    grid->addWidget(margins, 0, 0);

    auto* orient = new QGroupBox("Page Orientation", this);
    auto* ol = new QVBoxLayout(orient);
    PortBut = Radio(orient, ol, "PortBut", "&Portrait", 0);
    LandBut = Radio(orient, ol, "LandBut", "Land&scape", 1);
    PortBut->setChecked(true);
    PortShape = new QFrame(orient);
    PortShape->setObjectName("PortShape");
    PortShape->setFrameShape(QFrame::Box);
    PortShape->setFixedSize(34, 44);
    LandShape = new QFrame(orient);
    LandShape->setObjectName("LandShape");
    LandShape->setFrameShape(QFrame::Box);
    LandShape->setFixedSize(44, 34);
    ol->addWidget(PortShape);
    ol->addWidget(LandShape);
    grid->addWidget(orient, 0, 1);

    auto* header = new QGroupBox("Header Options", this);
    auto* hl = new QFormLayout(header);
    HeaderEdit = Edit(header, "HeaderEdit");
    HdrMarginEdit = Edit(header, "HdrMarginEdit");
    hl->addRow("&Header", HeaderEdit);
    hl->addRow("Header &Margin", HdrMarginEdit);
    auto* hr = new QHBoxLayout;
    HdrLeftBut = Radio(header, hr, "HdrLeftBut", "Left", 0);
    HdrCenterBut = Radio(header, hr, "HdrCenterBut", "Center", 2);
    HdrRightBut = Radio(header, hr, "HdrRightBut", "Right", 1);
    HdrCenterBut->setChecked(true);
    hl->addRow(hr);
    HdrFontBut = new QPushButton("&Font...", header);
    HdrFontBut->setObjectName("HdrFontBut");
    hl->addRow(HdrFontBut);
    grid->addWidget(header, 1, 0);

    FooterGroup = new QGroupBox("Footer Options", this);
    auto* fl = new QFormLayout(FooterGroup);
    FooterEdit = Edit(FooterGroup, "FooterEdit");
    FtrMarginEdit = Edit(FooterGroup, "FtrMarginEdit");
    fl->addRow("&Footer", FooterEdit);
    fl->addRow("Footer &Margin", FtrMarginEdit);
    auto* fr = new QHBoxLayout;
    FtrLeftBut = Radio(FooterGroup, fr, "FtrLeftBut", "Left", 0);
    FtrCenterBut = Radio(FooterGroup, fr, "FtrCenterBut", "Center", 2);
    FtrRightBut = Radio(FooterGroup, fr, "FtrRightBut", "Right", 1);
    FtrCenterBut->setChecked(true);
    fl->addRow(fr);
    FtrFontBut = new QPushButton("&Font...", FooterGroup);
    FtrFontBut->setObjectName("FtrFontBut");
    fl->addRow(FtrFontBut);
    FooterGroup->hide();
    grid->addWidget(FooterGroup, 1, 1);

    auto* pageNum = new QGroupBox("Page Number Options", this);
    auto* pl = new QVBoxLayout(pageNum);
    auto* posPanel = new QWidget(pageNum);
    auto* pp = new QHBoxLayout(posPanel);
    PageBotBut = Radio(posPanel, pp, "PageBotBut", "Bottom", 0);
    PageTopBut = Radio(posPanel, pp, "PageTopBut", "Top", 1);
    PageNoneBut = Radio(posPanel, pp, "PageNoneBut", "None", 2);
    PageNoneBut->setChecked(true);
    auto* alignPanel = new QWidget(pageNum);
    auto* pa = new QHBoxLayout(alignPanel);
    PageLeftBut = Radio(alignPanel, pa, "PageLeftBut", "Left", 0);
    PageCenterBut = Radio(alignPanel, pa, "PageCenterBut", "Center", 2);
    PageRightBut = Radio(alignPanel, pa, "PageRightBut", "Right", 1);
    PageRightBut->setChecked(true);
    pl->addWidget(posPanel);
    pl->addWidget(alignPanel);
    pl->addWidget(new QLabel("Page Number Text (%d = Page)", pageNum));
    PageNumEdit = Edit(pageNum, "PageNumEdit");
    pl->addWidget(PageNumEdit);
    PageNumFontBut = new QPushButton("&Font...", pageNum);
    PageNumFontBut->setObjectName("PageNumFontBut");
    pl->addWidget(PageNumFontBut);
    grid->addWidget(pageNum, 2, 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    PrinterSetupBut = buttons->addButton("Printer &Setup...", QDialogButtonBox::ActionRole);
    SetDefaultBut = buttons->addButton("Set &Default", QDialogButtonBox::ActionRole);
    grid->addWidget(buttons, 3, 0, 1, 2);

    HeaderFontDialog = new TFontDialog(this, "HeaderFontDialog");
    FooterFontDialog = new TFontDialog(this, "FooterFontDialog");
    PageNumFontDialog = new TFontDialog(this, "PageNumFontDialog");
    FormSettings1 = new TFormSettings(this);
    FormSettings1->SavePosition = true;
    FormSettings1->SaveValues = false;
    FormSettings1->LoadValues = true;

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        ControlsToOptions();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(PortBut, &QRadioButton::toggled, this, &TPageSetupForm::ShowShape);
    connect(LandBut, &QRadioButton::toggled, this, &TPageSetupForm::ShowShape);
    auto fontButton = [this](QPushButton* button, TFontDialog* dialog) {
        connect(button, &QPushButton::clicked, this, [button, dialog] {
            if (dialog->Execute())
                button->setText(FontCaption(dialog->Font));
        });
    };
    fontButton(HdrFontBut, HeaderFontDialog);
    fontButton(FtrFontBut, FooterFontDialog);
    fontButton(PageNumFontBut, PageNumFontDialog);
    connect(PrinterSetupBut, &QPushButton::clicked, this, [] { PrinterSetupDialog(); });
    connect(SetDefaultBut, &QPushButton::clicked, this, &TPageSetupForm::SetDefaultClick);
    ShowShape();
}

void TPageSetupForm::ShowShape()
{
    PortShape->setVisible(PortBut->isChecked());
    LandShape->setVisible(LandBut->isChecked());
}

void TPageSetupForm::showEvent(QShowEvent* event)
{
    OptionsToControls();
    QDialog::showEvent(event);
}

void TPageSetupForm::OptionsToControls()
{
    const TTextOptions& o = *TextOptions;
    CheckByTag({ InchBut, CentBut }, PreviewPrinter->Units());
    LeftEdit->setText(Number3(o.MarginLeft));
    RightEdit->setText(Number3(o.MarginRight));
    TopEdit->setText(Number3(o.MarginTop));
    BotEdit->setText(Number3(o.MarginBottom));
    CheckByTag({ PortBut, LandBut }, PreviewPrinter->Orientation);
    ShowShape();
    CheckByTag({ PageBotBut, PageTopBut, PageNoneBut }, o.PrintPageNumber);
    CheckByTag({ PageLeftBut, PageCenterBut, PageRightBut }, o.PageNumAlign);
    PageNumEdit->setText(o.PageNumText);
    HeaderEdit->setText(o.Header);
    HdrMarginEdit->setText(Number3(o.HeaderMargin));
    CheckByTag({ HdrLeftBut, HdrCenterBut, HdrRightBut }, o.HeaderAlign);
    FooterEdit->setText(o.Footer);
    FtrMarginEdit->setText(Number3(o.FooterMargin));
    CheckByTag({ FtrLeftBut, FtrCenterBut, FtrRightBut }, o.FooterAlign);
    HeaderFontDialog->Font = o.HeaderFont;
    HeaderFontDialog->Color = o.HeaderColor;
    FooterFontDialog->Font = o.FooterFont;
    FooterFontDialog->Color = o.FooterColor;
    PageNumFontDialog->Font = o.PageNumFont;
    PageNumFontDialog->Color = o.PageNumColor;
    HdrFontBut->setText(FontCaption(o.HeaderFont));
    FtrFontBut->setText(FontCaption(o.FooterFont));
    PageNumFontBut->setText(FontCaption(o.PageNumFont));
}

void TPageSetupForm::ControlsToOptions()
{
    TTextOptions& o = *TextOptions;
    const int units = CheckedTag({ InchBut, CentBut });
    PreviewPrinter->SetUnits(units == 1 ? unCentimeters : unInches);
    ReadNumber(LeftEdit, o.MarginLeft);
    ReadNumber(RightEdit, o.MarginRight);
    ReadNumber(TopEdit, o.MarginTop);
    ReadNumber(BotEdit, o.MarginBottom);
    PreviewPrinter->Orientation = CheckedTag({ PortBut, LandBut }) == 1 ? poLandscape : poPortrait;
    const int position = CheckedTag({ PageBotBut, PageTopBut, PageNoneBut });
    if (position >= 0)
        o.PrintPageNumber = TPrintPageNumber(position);
    auto align = [](int tag, TAlignment current) { return tag >= 0 && tag <= 2 ? TAlignment(tag) : current; };
    o.PageNumAlign = align(CheckedTag({ PageLeftBut, PageCenterBut, PageRightBut }), o.PageNumAlign);
    o.PageNumText = PageNumEdit->text();
    o.PageNumFont = PageNumFontDialog->Font;
    o.PageNumColor = PageNumFontDialog->Color;
    o.Header = HeaderEdit->text();
    ReadNumber(HdrMarginEdit, o.HeaderMargin);
    o.HeaderAlign = align(CheckedTag({ HdrLeftBut, HdrCenterBut, HdrRightBut }), o.HeaderAlign);
    o.HeaderFont = HeaderFontDialog->Font;
    o.HeaderColor = HeaderFontDialog->Color;
    o.Footer = FooterEdit->text();
    ReadNumber(FtrMarginEdit, o.FooterMargin);
    o.FooterAlign = align(CheckedTag({ FtrLeftBut, FtrCenterBut, FtrRightBut }), o.FooterAlign);
    o.FooterFont = FooterFontDialog->Font;
    o.FooterColor = FooterFontDialog->Color;
}

void TPageSetupForm::LoadDefaults()
{
    OptionsToControls();
    FormSettings1->LoadSettings();
    ControlsToOptions();
}

void TPageSetupForm::SetDefaultClick()
{
    if (MessageDlg("Are you sure you want to save these values as the Default Settings?", TMsgDlgType::mtWarning,
            mbYesNoCancel)
        != mrYes)
        return;
    FormSettings1->SaveValues = true;
    FormSettings1->SaveSettings();
    FormSettings1->SaveValues = false;
}

} // namespace orvek
