#include "mainwindow/ui/cell_properties_dialog.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/valid_edit.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvek {

namespace {

// Texts of the colour labels and the size labels, in panel and field order.
constexpr std::array<int, 6> kColorLabelTexts { 185, 186, 187, 188, 189, 190 };
constexpr std::array<const char*, 6> kColorPanelNames { "Panel_VypocitanaHodnota", "Panel_NevypocitanaHodnota",
    "Panel_OznacenaBunka", "Panel_ZadanaNeistota", "Panel_NezadanaNeistota", "Panel_ZablokovanaNeistota" };
constexpr std::array<const char*, 6> kColorLabelNames { "Label1", "Label2", "Label3", "Label11", "Label12", "Label13" };
constexpr std::array<const char*, sfCount> kSizeEditNames { "IntegerEdit_VyskaBunky", "IntegerEdit_SirkaBunky",
    "IntegerEdit_VertVzdialenost", "IntegerEdit_HorizBond", "IntegerEdit_HorizOdsadenie",
    "IntegerEdit_VyskaRozbalovaca", "IntegerEdit_SirkaRozbalovaca" };
constexpr std::array<const char*, sfCount> kSizeLabelNames { "Label4", "Label6", "Label5", "Label8", "Label7",
    "Label10", "Label9" };
constexpr std::array<const char*, 5> kChildBoxNames { "Panel_Bunka_11", "Panel_Bunka_12",
    "Panel_Bunka_13_ZadanaNeistota", "Panel_Bunka_14_NezadanaNeistota", "Panel_Bunka_15_ZablokovanaNeistota" };
// Captions of the child boxes 11 to 15.
constexpr std::array<int, 5> kChildBoxTexts { 207, 206, 205, 204, 203 };
// The colour kind of each child box.
constexpr std::array<int, 5> kChildBoxKinds { TfOrvekVlastnostiBunky::ckFilledVal,
    TfOrvekVlastnostiBunky::ckUnFilledVal, TfOrvekVlastnostiBunky::ckFilledNeistota,
    TfOrvekVlastnostiBunky::ckUnFilledNeistota, TfOrvekVlastnostiBunky::ckNeaktivnaNeistota };
constexpr quint32 kBondColor = 0x000000;

void Paint(QWidget* widget, quint32 bgr)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(bgr));
    widget->setPalette(palette);
}

QLabel* PreviewBox(const char* name, QWidget* parent)
{
    auto* box = new QLabel(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFrameShape(QFrame::Box);
    box->setAlignment(Qt::AlignCenter);
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

QFrame* Bond(const QString& name, QWidget* parent)
{
    auto* bond = new QFrame(parent);
    bond->setObjectName(name);
    Paint(bond, kBondColor);
    return bond;
}

int EditValue(TIntegerEdit* edit, bool& ok)
{
    const int value = edit->text().trimmed().toInt(&ok);
    return value;
}

} // namespace

TfOrvekVlastnostiBunky::TfOrvekVlastnostiBunky(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvekVlastnostiBunky"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet_VlastnostiBuniek = BuildCellPage();
    TabSheet_VseobecneNastavenia = BuildGeneralPage();
    PageControl1->addTab(TabSheet_VlastnostiBuniek, QString());
    PageControl1->addTab(TabSheet_VseobecneNastavenia, QString());

    Button_Preview = new QPushButton(this);
    Button_Preview->setObjectName(QStringLiteral("Button_Preview"));
    QDialogButtonBox* box = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    TValidCustomEdit::MarkAsCancel(Button_Cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button_Preview);
    buttons->addWidget(box, 1);
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    connect(Button_OK, &QPushButton::clicked, this, &TfOrvekVlastnostiBunky::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button_Preview, &QPushButton::clicked, this, &TfOrvekVlastnostiBunky::LayoutPreview);
    connect(
        PageControl1, &QTabWidget::currentChanged, this, [this](int index) { Button_Preview->setVisible(index == 0); });

    // Creation: what activation does not reload.
    fontName_ = CellFontName;
    fontSize_ = DefaultFontSize;
    QFont cellFont(CellFontName);
    cellFont.setPointSize(std::max(1, DefaultFontSize));
    ChildBoxes[0]->setFont(cellFont);
    textFont_ = ChildBoxes[0]->font();
    SetBackground(BackgroundColor);
    for (const char* text : ExponentBelowChoices)
        ComboBox_Exponencial_Pod->addItem(QString::fromLatin1(text));
    for (const char* text : ExponentAboveChoices)
        ComboBox_Exponencial_Nad->addItem(QString::fromLatin1(text));
    ComboBox_Exponencial_Pod->setCurrentIndex(ExponentBelowIndex);
    ComboBox_Exponencial_Nad->setCurrentIndex(ExponentAboveIndex);
    for (int digits = 1; digits <= 8; ++digits)
        ComboBox_PocetPlatnychCislic->addItem(QString::number(digits));
    ComboBox_PocetPlatnychCislic->setCurrentIndex(int(SignificantDigits) - 1);
    (DerivativeMode == 0 ? RadioButton_PresnyVypocet : RadioButton_Diferencia)->setChecked(true);
    RefreshTexts();
}

TfOrvekVlastnostiBunky::~TfOrvekVlastnostiBunky()
{
    if (TextWidths() == this)
        SetTextWidthService(nullptr);
    if (SettingsDialog() == this)
        SetSettingsDialogService(nullptr);
    if (fOrvekVlastnostiBunky == this)
        fOrvekVlastnostiBunky = nullptr;
}

QWidget* TfOrvekVlastnostiBunky::BuildCellPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_VlastnostiBuniek"));

    GroupBox1 = new QGroupBox(page);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* colors = new QGridLayout(GroupBox1);
    for (int k = 0; k < ckCount; ++k) {
        ColorLabels[size_t(k)] = new QLabel(GroupBox1);
        ColorLabels[size_t(k)]->setObjectName(QString::fromLatin1(kColorLabelNames[size_t(k)]));
        auto* panel = new QFrame(GroupBox1);
        panel->setObjectName(QString::fromLatin1(kColorPanelNames[size_t(k)]));
        panel->setFrameShape(QFrame::Box);
        panel->setFixedSize(40, 18);
        panel->setCursor(Qt::PointingHandCursor);
        panel->installEventFilter(this);
        ColorPanels[size_t(k)] = panel;
        colors->addWidget(ColorLabels[size_t(k)], k, 0);
        colors->addWidget(panel, k, 1);
    }
    CheckBox_PovolenaZmenaFarbyOznacenejBunky = new QCheckBox(GroupBox1);
    CheckBox_PovolenaZmenaFarbyOznacenejBunky->setObjectName(
        QStringLiteral("CheckBox_PovolenaZmenaFarbyOznacenejBunky"));
    colors->addWidget(CheckBox_PovolenaZmenaFarbyOznacenejBunky, ckChecked, 2);
    Button_DefaultColors = new QPushButton(GroupBox1);
    Button_DefaultColors->setObjectName(QStringLiteral("Button_DefaultColors"));
    Button2 = new QPushButton(GroupBox1);
    Button2->setObjectName(QStringLiteral("Button2"));
    colors->addWidget(Button_DefaultColors, ckCount, 0, 1, 3);
    colors->addWidget(Button2, ckCount + 1, 0, 1, 3);
    connect(CheckBox_PovolenaZmenaFarbyOznacenejBunky, &QCheckBox::clicked, this,
        &TfOrvekVlastnostiBunky::ApplySelectedColorSwitch);
    connect(Button_DefaultColors, &QPushButton::clicked, this, &TfOrvekVlastnostiBunky::Button_DefaultColorsClick);
    connect(Button2, &QPushButton::clicked, this, &TfOrvekVlastnostiBunky::Button2Click);

    GroupBox2 = new QGroupBox(page);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* sizes = new QGridLayout(GroupBox2);
    GroupBox4 = new QGroupBox(page);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    auto* expand = new QGridLayout(GroupBox4);
    for (int f = 0; f < sfCount; ++f) {
        const bool expandField = f == sfPlusMinusHeight || f == sfPlusMinusWidth;
        QWidget* owner = expandField ? static_cast<QWidget*>(GroupBox4) : GroupBox2;
        QGridLayout* grid = expandField ? expand : sizes;
        const int row = expandField ? f - sfPlusMinusHeight : f;
        auto* label = new QLabel(owner);
        label->setObjectName(QString::fromLatin1(kSizeLabelNames[size_t(f)]));
        auto* edit = new TIntegerEdit(owner);
        edit->setObjectName(QString::fromLatin1(kSizeEditNames[size_t(f)]));
        edit->setMaximumWidth(60);
        auto* unit = new QLabel(owner);
        unit->setObjectName(QStringLiteral("Label%1").arg(14 + f));
        SizeLabels[size_t(f)] = label;
        SizeEdits[size_t(f)] = edit;
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(unit, row, 2);
        connect(edit, &QLineEdit::textEdited, this, [this] { Button_Preview->setEnabled(true); });
    }
    Button_DefaultCellSize = new QPushButton(GroupBox2);
    Button_DefaultCellSize->setObjectName(QStringLiteral("Button_DefaultCellSize"));
    sizes->addWidget(Button_DefaultCellSize, sfPlusMinusHeight, 0, 1, 3);
    connect(Button_DefaultCellSize, &QPushButton::clicked, this, &TfOrvekVlastnostiBunky::Button_DefaultCellSizeClick);

    auto* horizontal = new QWidget(GroupBox4);
    auto* horizontalLayout = new QHBoxLayout(horizontal);
    horizontalLayout->setContentsMargins(0, 0, 0, 0);
    RadioButton_Left = new QRadioButton(horizontal);
    RadioButton_Left->setObjectName(QStringLiteral("RadioButton_Left"));
    RadioButton_Right = new QRadioButton(horizontal);
    RadioButton_Right->setObjectName(QStringLiteral("RadioButton_Right"));
    horizontalLayout->addWidget(RadioButton_Left);
    horizontalLayout->addWidget(RadioButton_Right);
    auto* vertical = new QWidget(GroupBox4);
    auto* verticalLayout = new QHBoxLayout(vertical);
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    RadioButton_Up = new QRadioButton(vertical);
    RadioButton_Up->setObjectName(QStringLiteral("RadioButton_Up"));
    RadioButton_Down = new QRadioButton(vertical);
    RadioButton_Down->setObjectName(QStringLiteral("RadioButton_Down"));
    verticalLayout->addWidget(RadioButton_Up);
    verticalLayout->addWidget(RadioButton_Down);
    expand->addWidget(horizontal, 2, 0, 1, 3);
    expand->addWidget(vertical, 3, 0, 1, 3);
    for (QRadioButton* b : { RadioButton_Left, RadioButton_Right, RadioButton_Up, RadioButton_Down })
        connect(b, &QRadioButton::clicked, this, &TfOrvekVlastnostiBunky::LayoutPreview);

    GroupBox3 = new QGroupBox(page);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    auto* previewLayout = new QVBoxLayout(GroupBox3);
    ScrollBox = new QScrollArea(GroupBox3);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setMinimumSize(330, 170);
    PreviewCanvas = new QWidget;
    PreviewCanvas->setObjectName(QStringLiteral("PreviewCanvas"));
    PreviewCanvas->installEventFilter(this);
    ScrollBox->setWidget(PreviewCanvas);
    previewLayout->addWidget(ScrollBox);

    Panel_Bunka_1 = PreviewBox("Panel_Bunka_1", PreviewCanvas);
    Panel_Bunka_1->installEventFilter(this);
    PlusMinus = new QLabel(QStringLiteral("-"), Panel_Bunka_1);
    PlusMinus->setObjectName(QStringLiteral("PlusMinus"));
    PlusMinus->setFrameShape(QFrame::Box);
    PlusMinus->setAlignment(Qt::AlignCenter);
    PlusMinus->installEventFilter(this);
    Paint(PlusMinus, 0xFFFFFF);
    VertBond_1 = Bond(QStringLiteral("VertBond_1"), PreviewCanvas);
    VertBond_1->installEventFilter(this);
    for (int i = 0; i < 5; ++i) {
        HorizBonds[size_t(i)] = Bond(QStringLiteral("HorizBond_1%1").arg(i + 1), PreviewCanvas);
        HorizBonds[size_t(i)]->installEventFilter(this);
        ChildBoxes[size_t(i)] = PreviewBox(kChildBoxNames[size_t(i)], PreviewCanvas);
        ChildBoxes[size_t(i)]->installEventFilter(this);
    }

    auto* grid = new QGridLayout(page);
    grid->addWidget(GroupBox1, 0, 0);
    grid->addWidget(GroupBox2, 0, 1);
    grid->addWidget(GroupBox3, 1, 0);
    grid->addWidget(GroupBox4, 1, 1);
    return page;
}

QWidget* TfOrvekVlastnostiBunky::BuildGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_VseobecneNastavenia"));

    GroupBox_JazykovaVerzia = new QGroupBox(page);
    GroupBox_JazykovaVerzia->setObjectName(QStringLiteral("GroupBox_JazykovaVerzia"));
    RadioButton_AnglickaVerzia = new QRadioButton(GroupBox_JazykovaVerzia);
    RadioButton_AnglickaVerzia->setObjectName(QStringLiteral("RadioButton_AnglickaVerzia"));
    RadioButton_SlovenskaVerzia = new QRadioButton(GroupBox_JazykovaVerzia);
    RadioButton_SlovenskaVerzia->setObjectName(QStringLiteral("RadioButton_SlovenskaVerzia"));
    auto* language = new QVBoxLayout(GroupBox_JazykovaVerzia);
    language->addWidget(RadioButton_AnglickaVerzia);
    language->addWidget(RadioButton_SlovenskaVerzia);
    // The language changes at once, whatever the dialog's result.
    connect(RadioButton_AnglickaVerzia, &QRadioButton::clicked, this, [this] {
        if (Hooks.SwitchToEnglish)
            Hooks.SwitchToEnglish();
        else
            LanguageID = 0;
    });
    connect(RadioButton_SlovenskaVerzia, &QRadioButton::clicked, this, [this] {
        if (Hooks.SwitchToSlovak)
            Hooks.SwitchToSlovak();
        else
            LanguageID = 1;
    });

    GroupBox_VypocetDerivacii = new QGroupBox(page);
    GroupBox_VypocetDerivacii->setObjectName(QStringLiteral("GroupBox_VypocetDerivacii"));
    RadioButton_PresnyVypocet = new QRadioButton(GroupBox_VypocetDerivacii);
    RadioButton_PresnyVypocet->setObjectName(QStringLiteral("RadioButton_PresnyVypocet"));
    RadioButton_Diferencia = new QRadioButton(GroupBox_VypocetDerivacii);
    RadioButton_Diferencia->setObjectName(QStringLiteral("RadioButton_Diferencia"));
    auto* derivative = new QVBoxLayout(GroupBox_VypocetDerivacii);
    derivative->addWidget(RadioButton_PresnyVypocet);
    derivative->addWidget(RadioButton_Diferencia);
    // The main window's derivative actions set the mode and recalculate at once.
    connect(RadioButton_PresnyVypocet, &QRadioButton::clicked, this, [this] {
        if (Hooks.DerivativeExact)
            Hooks.DerivativeExact();
        else
            DerivativeMode = 0;
    });
    connect(RadioButton_Diferencia, &QRadioButton::clicked, this, [this] {
        if (Hooks.DerivativeDifference)
            Hooks.DerivativeDifference();
        else
            DerivativeMode = 1;
    });

    GroupBox_PocetPlatnychCislic = new QGroupBox(page);
    GroupBox_PocetPlatnychCislic->setObjectName(QStringLiteral("GroupBox_PocetPlatnychCislic"));
    Label21 = new QLabel(GroupBox_PocetPlatnychCislic);
    Label21->setObjectName(QStringLiteral("Label21"));
    ComboBox_PocetPlatnychCislic = new QComboBox(GroupBox_PocetPlatnychCislic);
    ComboBox_PocetPlatnychCislic->setObjectName(QStringLiteral("ComboBox_PocetPlatnychCislic"));
    auto* digits = new QHBoxLayout(GroupBox_PocetPlatnychCislic);
    digits->addWidget(Label21);
    digits->addWidget(ComboBox_PocetPlatnychCislic);
    digits->addStretch(1);

    GroupBox_E_Format = new QGroupBox(page);
    GroupBox_E_Format->setObjectName(QStringLiteral("GroupBox_E_Format"));
    Label22 = new QLabel(GroupBox_E_Format);
    Label22->setObjectName(QStringLiteral("Label22"));
    Label23 = new QLabel(GroupBox_E_Format);
    Label23->setObjectName(QStringLiteral("Label23"));
    ComboBox_Exponencial_Pod = new QComboBox(GroupBox_E_Format);
    ComboBox_Exponencial_Pod->setObjectName(QStringLiteral("ComboBox_Exponencial_Pod"));
    ComboBox_Exponencial_Nad = new QComboBox(GroupBox_E_Format);
    ComboBox_Exponencial_Nad->setObjectName(QStringLiteral("ComboBox_Exponencial_Nad"));
    auto* exponent = new QGridLayout(GroupBox_E_Format);
    exponent->addWidget(Label22, 0, 0);
    exponent->addWidget(ComboBox_Exponencial_Pod, 0, 1);
    exponent->addWidget(Label23, 1, 0);
    exponent->addWidget(ComboBox_Exponencial_Nad, 1, 1);

    CheckBox_ZeroToCalculations = new QCheckBox(page);
    CheckBox_ZeroToCalculations->setObjectName(QStringLiteral("CheckBox_ZeroToCalculations"));
    CheckBox_CommentsPasteToTempates = new QCheckBox(page);
    CheckBox_CommentsPasteToTempates->setObjectName(QStringLiteral("CheckBox_CommentsPasteToTempates"));
    CheckBox_MoreGroupsOfFolders = new QCheckBox(page);
    CheckBox_MoreGroupsOfFolders->setObjectName(QStringLiteral("CheckBox_MoreGroupsOfFolders"));
    CheckBox_MoreGroupsOfFolders->setEnabled(false);
    connect(CheckBox_MoreGroupsOfFolders, &QCheckBox::clicked, this, [this](bool checked) {
        MoreGroupsOfFolders = checked;
        if (Hooks.ApplyFolderGroupsSetting)
            Hooks.ApplyFolderGroupsSetting();
        else if (MainWindowService* main = MainWindow())
            main->ApplyFolderGroupsSetting();
    });

    GroupBox9 = new QGroupBox(page);
    GroupBox9->setObjectName(QStringLiteral("GroupBox9"));
    ComboBox_Coloring_of_Diagram = new QComboBox(GroupBox9);
    ComboBox_Coloring_of_Diagram->setObjectName(QStringLiteral("ComboBox_Coloring_of_Diagram"));
    auto* coloring = new QHBoxLayout(GroupBox9);
    coloring->addWidget(ComboBox_Coloring_of_Diagram);

    GroupBox_DefaultFont = new QGroupBox(page);
    GroupBox_DefaultFont->setObjectName(QStringLiteral("GroupBox_DefaultFont"));
    Label_FontName = new QLabel(GroupBox_DefaultFont);
    Label_FontName->setObjectName(QStringLiteral("Label_FontName"));
    Label_FontName->setCursor(Qt::PointingHandCursor);
    Label_FontName->installEventFilter(this);
    Label_FontSize = new QLabel(GroupBox_DefaultFont);
    Label_FontSize->setObjectName(QStringLiteral("Label_FontSize"));
    Edit1 = new QLineEdit(GroupBox_DefaultFont);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit2 = new QLineEdit(GroupBox_DefaultFont);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setMaximumWidth(50);
    TestRichEdit = new QTextEdit(GroupBox_DefaultFont);
    TestRichEdit->setObjectName(QStringLiteral("TestRichEdit"));
    TestRichEdit->setReadOnly(true);
    TestRichEdit->setMaximumHeight(50);
    auto* font = new QGridLayout(GroupBox_DefaultFont);
    font->addWidget(Label_FontName, 0, 0);
    font->addWidget(Edit1, 0, 1);
    font->addWidget(Label_FontSize, 0, 2);
    font->addWidget(Edit2, 0, 3);
    font->addWidget(TestRichEdit, 1, 0, 1, 4);

    auto* grid = new QGridLayout(page);
    grid->addWidget(GroupBox_JazykovaVerzia, 0, 0);
    grid->addWidget(GroupBox_VypocetDerivacii, 0, 1);
    grid->addWidget(GroupBox_PocetPlatnychCislic, 1, 0);
    grid->addWidget(GroupBox_E_Format, 1, 1);
    grid->addWidget(GroupBox9, 2, 0);
    grid->addWidget(GroupBox_DefaultFont, 2, 1);
    auto* switches = new QVBoxLayout;
    switches->addWidget(CheckBox_ZeroToCalculations);
    switches->addWidget(CheckBox_CommentsPasteToTempates);
    switches->addWidget(CheckBox_MoreGroupsOfFolders);
    grid->addLayout(switches, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

void TfOrvekVlastnostiBunky::RefreshTexts()
{
    setWindowTitle(GetString(219));
    Button_Cancel->setText(GetString(4));
    PageControl1->setTabText(0, GetString(393));
    PageControl1->setTabText(1, GetString(394));
    GroupBox1->setTitle(GetString(184));
    for (int k = 0; k < ckCount; ++k)
        ColorLabels[size_t(k)]->setText(GetString(kColorLabelTexts[size_t(k)]));
    CheckBox_PovolenaZmenaFarbyOznacenejBunky->setToolTip(GetString(191));
    Button_DefaultColors->setText(GetString(413));
    Button2->setText(GetString(218));
    Button2->setToolTip(GetString(217));
    GroupBox2->setTitle(GetString(192));
    for (int f = 0; f < sfCount; ++f)
        SizeLabels[size_t(f)]->setText(GetString(CellSizeLabelText(TCellSizeField(f))));
    for (int f = 0; f < sfCount; ++f)
        if (auto* unit = findChild<QLabel*>(QStringLiteral("Label%1").arg(14 + f)))
            unit->setText(GetString(201));
    Button_DefaultCellSize->setText(GetString(585));
    GroupBox3->setTitle(GetString(193));
    Panel_Bunka_1->setText(GetString(202));
    for (int i = 0; i < 5; ++i)
        ChildBoxes[size_t(i)]->setText(GetString(kChildBoxTexts[size_t(i)]));
    Button_Preview->setText(GetString(208));
    GroupBox4->setTitle(GetString(194));
    RadioButton_Down->setText(GetString(211));
    RadioButton_Up->setText(GetString(212));
    RadioButton_Right->setText(GetString(213));
    RadioButton_Left->setText(GetString(214));
    GroupBox_JazykovaVerzia->setTitle(GetString(220));
    RadioButton_AnglickaVerzia->setText(GetString(221));
    RadioButton_SlovenskaVerzia->setText(GetString(222));
    GroupBox_VypocetDerivacii->setTitle(GetString(376));
    RadioButton_PresnyVypocet->setText(GetString(22751));
    RadioButton_Diferencia->setText(GetString(22752));
    GroupBox_PocetPlatnychCislic->setTitle(GetString(587));
    Label21->setText(GetString(587) + QStringLiteral(":"));
    GroupBox_E_Format->setTitle(GetString(586));
    Label22->setText(GetString(588));
    Label23->setText(GetString(589));
    CheckBox_ZeroToCalculations->setText(GetString(1098));
    CheckBox_CommentsPasteToTempates->setText(GetString(414));
    CheckBox_MoreGroupsOfFolders->setText(GetString(871));
    GroupBox_DefaultFont->setTitle(GetString(811));
    Label_FontName->setText(QStringLiteral("<u>%1</u>").arg(GetString(22753).toHtmlEscaped()));
    Label_FontSize->setText(GetString(812));

    TestRichEdit->setPlainText(GetString(813));
    GroupBox9->setTitle(GetString(926));
    {
        const QSignalBlocker blocker(ComboBox_Coloring_of_Diagram);
        ComboBox_Coloring_of_Diagram->clear();
        ComboBox_Coloring_of_Diagram->addItems({ GetString(777), GetString(778) });
        ComboBox_Coloring_of_Diagram->setCurrentIndex(DiagramPrintColors == 0 ? 0 : 1);
    }
}

bool TfOrvekVlastnostiBunky::ShowSettingsDialog()
{
    return exec() == QDialog::Accepted;
}

int TfOrvekVlastnostiBunky::MeasureTextWidth(const QString& text)
{
    return QFontMetrics(textFont_).horizontalAdvance(text);
}

void TfOrvekVlastnostiBunky::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfOrvekVlastnostiBunky::FormActivate()
{
    FRecalculationNeeded = false;
    const TCellColors colors = CellColorSettings();
    SetPanelColor(ckFilledVal, colors.FilledVal);
    SetPanelColor(ckUnFilledVal, colors.UnFilledVal);
    SetPanelColor(ckChecked, colors.Checked);
    SetPanelColor(ckFilledNeistota, colors.FilledNeistota);
    SetPanelColor(ckUnFilledNeistota, colors.UnFilledNeistota);
    SetPanelColor(ckNeaktivnaNeistota, colors.NeaktivnaNeistota);
    CheckBox_PovolenaZmenaFarbyOznacenejBunky->setChecked(PovolenaZmenaFarbyOznacenejBunky);
    ApplySelectedColorSwitch();
    for (QFrame* bond : HorizBonds)
        Paint(bond, kBondColor);
    const TCellSizes sizes = CellSizeSettings();
    for (int f = 0; f < sfCount; ++f)
        SizeEdits[size_t(f)]->SetValue(sizes[size_t(f)]);
    (HorizPlusMinus == 0 ? RadioButton_Left : RadioButton_Right)->setChecked(true);
    (VertPlusMinus == 0 ? RadioButton_Up : RadioButton_Down)->setChecked(true);
    if (LanguageID == 0)
        RadioButton_AnglickaVerzia->setChecked(true);
    else if (LanguageID == 1)
        RadioButton_SlovenskaVerzia->setChecked(true);
    else {
        // Neither edition's language: no button is checked and OK keeps the language.
        for (QRadioButton* b : { RadioButton_AnglickaVerzia, RadioButton_SlovenskaVerzia }) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
    }
    CheckBox_CommentsPasteToTempates->setChecked(CommentsPasteToTempates);
    CheckBox_ZeroToCalculations->setChecked(ZeroToCalculations);
    Edit1->setText(CellFontName);
    Edit2->setText(QString::number(DefaultFontSize));
    TestRichEdit->clear();
    TestRichEdit->setPlainText(GetString(813));
    SetSampleFont(CellFontName, CellFontSize);
    CheckBox_MoreGroupsOfFolders->setChecked(MoreGroupsOfFolders);
    LayoutPreview();
    Button_Preview->setVisible(PageControl1->currentIndex() == 0);
    Button_OK->setFocus();
}

void TfOrvekVlastnostiBunky::SetSampleFont(const QString& name, int size)
{
    QFont font(name);
    font.setPointSize(std::max(1, size));
    TestRichEdit->setFont(font);
    TestRichEdit->document()->setDefaultFont(font);
}

void TfOrvekVlastnostiBunky::SetPanelColor(int kind, quint32 color)
{
    panelColors_[size_t(kind)] = color;
    Paint(ColorPanels[size_t(kind)], color);
    if (kind == ckChecked) {
        Paint(Panel_Bunka_1, color);
        return;
    }
    for (int i = 0; i < 5; ++i)
        if (kChildBoxKinds[size_t(i)] == kind)
            Paint(ChildBoxes[size_t(i)], color);
}

quint32 TfOrvekVlastnostiBunky::PanelColor(int kind) const
{
    return panelColors_[size_t(kind)];
}

void TfOrvekVlastnostiBunky::SetBackground(quint32 color)
{
    background_ = color;
    Paint(PreviewCanvas, color);
}

void TfOrvekVlastnostiBunky::ApplySelectedColorSwitch()
{
    const bool on = CheckBox_PovolenaZmenaFarbyOznacenejBunky->isChecked();
    ColorLabels[ckChecked]->setEnabled(on);
    ColorPanels[ckChecked]->setEnabled(on);
    Panel_Bunka_1->setEnabled(on);
}

void TfOrvekVlastnostiBunky::LayoutPreview()
{
    TCellSizes s {};
    for (int f = 0; f < sfCount; ++f) {
        bool ok = false;
        s[size_t(f)] = std::max(0, EditValue(SizeEdits[size_t(f)], ok));
        // A size being typed that is no number leaves the preview as it is.
        if (!ok)
            return;
    }
    const int height = s[sfCellHeight], width = s[sfCellWidth];
    Panel_Bunka_1->setGeometry(15, 20, width, height);
    const int bondThickness = 1;
    const int vertLeft = 15 + s[sfBeginHorizontalBond];
    const int vertTop = 20 + height;
    const int childLeft = vertLeft + bondThickness - 1 + s[sfHorizontalBond] - 1;
    int top = vertTop;
    int lastBondTop = vertTop;
    for (int i = 0; i < 5; ++i) {
        top += s[sfVertDistance];
        ChildBoxes[size_t(i)]->setGeometry(childLeft, top, width, height);
        lastBondTop = top + height / 2 - bondThickness / 2;
        HorizBonds[size_t(i)]->setGeometry(
            vertLeft + bondThickness - 1, lastBondTop, s[sfHorizontalBond], bondThickness);
        top += height;
    }
    VertBond_1->setGeometry(vertLeft, vertTop, bondThickness, lastBondTop - vertTop + 3);
    const int pmWidth = s[sfPlusMinusWidth], pmHeight = s[sfPlusMinusHeight];
    const int pmLeft = RadioButton_Right->isChecked() ? width - pmWidth - 2 : 2;
    const int pmTop = RadioButton_Up->isChecked() ? 2 : height - pmHeight - 2;
    PlusMinus->setGeometry(pmLeft, pmTop, pmWidth, pmHeight);
    PreviewCanvas->resize(std::max(childLeft + width + 15, 15 + width + 15), top + 20);
    Button_Preview->setEnabled(false);
}

void TfOrvekVlastnostiBunky::EditPanelColor(int kind)
{
    std::uint32_t color = PanelColor(kind);
    if (ColorDialog(color))
        SetPanelColor(kind, color);
}

void TfOrvekVlastnostiBunky::EditBackgroundColor()
{
    std::uint32_t color = background_;
    if (ColorDialog(color))
        SetBackground(color);
}

void TfOrvekVlastnostiBunky::Button2Click()
{
    std::uint32_t color = FSameColor;
    if (!ColorDialog(color))
        return;
    FSameColor = color;
    for (int k = 0; k < ckCount; ++k)
        SetPanelColor(k, color);
}

void TfOrvekVlastnostiBunky::Button_DefaultColorsClick()
{
    const TCellColors d = DefaultCellColors();
    SetPanelColor(ckChecked, d.Checked);
    SetPanelColor(ckFilledVal, d.FilledVal);
    SetPanelColor(ckUnFilledVal, d.UnFilledVal);
    SetPanelColor(ckFilledNeistota, d.FilledNeistota);
    SetPanelColor(ckUnFilledNeistota, d.UnFilledNeistota);
    SetPanelColor(ckNeaktivnaNeistota, d.NeaktivnaNeistota);
    SetBackground(d.Background);
}

void TfOrvekVlastnostiBunky::Button_DefaultCellSizeClick()
{
    const TCellSizes d = DefaultCellSizes();
    for (int f = 0; f < sfCount; ++f)
        SizeEdits[size_t(f)]->SetValue(d[size_t(f)]);
    LayoutPreview();
}

void TfOrvekVlastnostiBunky::Label_FontNameClick()
{
    QString family = Edit1->text();
    int size = Edit2->text().toInt();
    if (!FontDialog(family, size))
        return;
    fontName_ = family;
    fontSize_ = size;
    Edit1->setText(family);
    Edit2->setText(QString::number(size));
    // The sample shows the choice; the cell font itself changes only on OK.
    SetSampleFont(family, size);
}

void TfOrvekVlastnostiBunky::Button_OKClick()
{
    TSettingsDialogValues v;
    // Every size is checked before anything is stored: a refused OK followed by Cancel
    // leaves every setting as it was.
    TCellSizeTexts texts;
    for (int f = 0; f < sfCount; ++f)
        texts[size_t(f)] = SizeEdits[size_t(f)]->text();
    if (auto refusal = CheckCellSizes(texts, v.Sizes)) {
        MessageDlg(refusal->Message, TMsgDlgType::mtWarning, mbRetry);
        SizeEdits[size_t(refusal->Field)]->setFocus();
        SizeEdits[size_t(refusal->Field)]->selectAll();
        return;
    }
    v.Colors = { PanelColor(ckChecked), PanelColor(ckFilledVal), PanelColor(ckUnFilledVal),
        PanelColor(ckFilledNeistota), PanelColor(ckUnFilledNeistota), PanelColor(ckNeaktivnaNeistota), background_ };
    v.SelectedColorEnabled = CheckBox_PovolenaZmenaFarbyOznacenejBunky->isChecked();
    v.HorizPlusMinus = RadioButton_Left->isChecked() ? 0 : 1;
    v.VertPlusMinus = RadioButton_Up->isChecked() ? 0 : 1;
    v.DiagramColoring = quint8(std::max(0, ComboBox_Coloring_of_Diagram->currentIndex()));
    v.FontName = fontName_;
    v.FontSize = fontSize_;
    v.DerivativeMode = RadioButton_PresnyVypocet->isChecked() ? 0 : 1;
    v.Language = RadioButton_AnglickaVerzia->isChecked() ? 0 : RadioButton_SlovenskaVerzia->isChecked() ? 1 : -1;
    v.CommentsPaste = CheckBox_CommentsPasteToTempates->isChecked();
    v.ZeroToCalculations = CheckBox_ZeroToCalculations->isChecked();
    v.SignificantDigits = ComboBox_PocetPlatnychCislic->currentIndex() + 1;
    v.ExponentBelowIndex = ComboBox_Exponencial_Pod->currentIndex();
    v.ExponentAboveIndex = ComboBox_Exponencial_Nad->currentIndex();
    v.MoreGroupsOfFolders = CheckBox_MoreGroupsOfFolders->isChecked();
    FRecalculationNeeded = ApplySettingsDialogValues(v);
    // Captions are measured in the font the boxes are drawn in.
    QFont cellFont(CellFontName);
    cellFont.setPointSize(std::max(1, DefaultFontSize));
    ChildBoxes[0]->setFont(cellFont);
    textFont_ = ChildBoxes[0]->font();
    accept();
}

void TfOrvekVlastnostiBunky::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (focusWidget() == Button_Cancel)
                reject();
            else
                Button_OKClick();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            reject();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

bool TfOrvekVlastnostiBunky::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && !widget->isEnabled())
            return false;
        for (int k = 0; k < ckCount; ++k)
            if (watched == ColorPanels[size_t(k)]) {
                EditPanelColor(k);
                return true;
            }
        if (watched == Panel_Bunka_1) {
            EditPanelColor(ckChecked);
            return true;
        }
        for (int i = 0; i < 5; ++i) {
            if (watched == ChildBoxes[size_t(i)]) {
                EditPanelColor(kChildBoxKinds[size_t(i)]);
                return true;
            }
            if (watched == HorizBonds[size_t(i)]) {
                SizeEdits[sfHorizontalBond]->setFocus();
                return true;
            }
        }
        if (watched == VertBond_1) {
            SizeEdits[sfBeginHorizontalBond]->setFocus();
            return true;
        }
        if (watched == PlusMinus) {
            SizeEdits[sfPlusMinusWidth]->setFocus();
            return true;
        }
        if (watched == Label_FontName) {
            Label_FontNameClick();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == PreviewCanvas) {
        EditBackgroundColor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvek
