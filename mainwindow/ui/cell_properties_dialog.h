#pragma once
// The settings dialog: colours, sizes and expand-button position of the diagram boxes
// with a live preview on its cell page; language, derivative mode, number display,
// cell font and switches on its general page. Created once and kept; OK checks every
// size before it stores anything.

#include "core/services.h"
#include "mainwindow/cell_settings.h"

#include <QDialog>
#include <QFont>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTextEdit;
class QWidget;

namespace orvek {

class TIntegerEdit;

// What the dialog asks of the windows around it. An empty member falls back: the
// language and derivative buttons then only set LanguageID and DerivativeMode, and the
// folder-group change reaches the main window through MainWindowService.
struct TSettingsDialogHooks {
    std::function<void()> SwitchToEnglish; // TfOrvek1.SwitchToEnglish
    std::function<void()> SwitchToSlovak; // TfOrvek1.SwitchToSlovak
    std::function<void()> DerivativeExact; // ActionVypocetDerivacie_PresnyVypocet
    std::function<void()> DerivativeDifference; // ActionVypocetDerivacie_Diferencia
    // Both windows' ApplyFolderGroupsSetting (the template window's only while shown).
    std::function<void()> ApplyFolderGroupsSetting;
};

class TfOrvekVlastnostiBunky : public QDialog, public SettingsDialogService, public TextWidthService {
    Q_OBJECT
public:
    explicit TfOrvekVlastnostiBunky(QWidget* parent = nullptr);
    ~TfOrvekVlastnostiBunky() override;

    TSettingsDialogHooks Hooks;

    // Service: shows the dialog modally, True after OK.
    bool ShowSettingsDialog() override;
    bool RecalculationNeeded() override { return FRecalculationNeeded; }
    // Width of Text in pixels in the font of the preview's computed-value box, which is
    // the cell font.
    int MeasureTextWidth(const QString& text) override;

    void RefreshTexts();
    void LayoutPreview();
    void FormActivate();
    void Button_OKClick();
    void Button2Click();
    void Button_DefaultColorsClick();
    void Button_DefaultCellSizeClick();
    void Label_FontNameClick();
    // Index into the six colour panels (order of TColorKind).
    void EditPanelColor(int kind);
    void EditBackgroundColor();

    bool FRecalculationNeeded = false;
    quint32 FSameColor = 0xC0C0C0;

    // The six colour kinds, in the order of their panels and preview boxes.
    enum TColorKind {
        ckFilledVal,
        ckUnFilledVal,
        ckChecked,
        ckFilledNeistota,
        ckUnFilledNeistota,
        ckNeaktivnaNeistota,
        ckCount
    };

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet_VlastnostiBuniek = nullptr;
    QWidget* TabSheet_VseobecneNastavenia = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QPushButton* Button_Preview = nullptr;

    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr, *GroupBox4 = nullptr;
    std::array<QLabel*, ckCount> ColorLabels {};
    std::array<QFrame*, ckCount> ColorPanels {}; // Panel_VypocitanaHodnota ... Panel_ZablokovanaNeistota
    QCheckBox* CheckBox_PovolenaZmenaFarbyOznacenejBunky = nullptr;
    QPushButton* Button_DefaultColors = nullptr;
    QPushButton* Button2 = nullptr;

    std::array<QLabel*, sfCount> SizeLabels {};
    std::array<TIntegerEdit*, sfCount> SizeEdits {}; // IntegerEdit_VyskaBunky ... in TCellSizeField order
    QPushButton* Button_DefaultCellSize = nullptr;
    QRadioButton *RadioButton_Left = nullptr, *RadioButton_Right = nullptr;
    QRadioButton *RadioButton_Up = nullptr, *RadioButton_Down = nullptr;

    QScrollArea* ScrollBox = nullptr;
    QWidget* PreviewCanvas = nullptr;
    QLabel* Panel_Bunka_1 = nullptr;
    QLabel* PlusMinus = nullptr;
    QFrame* VertBond_1 = nullptr;
    std::array<QFrame*, 5> HorizBonds {}; // HorizBond_11 ... HorizBond_15
    std::array<QLabel*, 5> ChildBoxes {}; // Panel_Bunka_11 ... Panel_Bunka_15_ZablokovanaNeistota

    QGroupBox* GroupBox_JazykovaVerzia = nullptr;
    QRadioButton *RadioButton_AnglickaVerzia = nullptr, *RadioButton_SlovenskaVerzia = nullptr;
    QGroupBox* GroupBox_VypocetDerivacii = nullptr;
    QRadioButton *RadioButton_PresnyVypocet = nullptr, *RadioButton_Diferencia = nullptr;
    QGroupBox* GroupBox_PocetPlatnychCislic = nullptr;
    QLabel* Label21 = nullptr;
    QComboBox* ComboBox_PocetPlatnychCislic = nullptr;
    QGroupBox* GroupBox_E_Format = nullptr;
    QLabel *Label22 = nullptr, *Label23 = nullptr;
    QComboBox* ComboBox_Exponencial_Pod = nullptr;
    QComboBox* ComboBox_Exponencial_Nad = nullptr;
    QCheckBox* CheckBox_ZeroToCalculations = nullptr;
    QCheckBox* CheckBox_CommentsPasteToTempates = nullptr;
    QCheckBox* CheckBox_MoreGroupsOfFolders = nullptr;
    QGroupBox* GroupBox9 = nullptr;
    QComboBox* ComboBox_Coloring_of_Diagram = nullptr;
    QGroupBox* GroupBox_DefaultFont = nullptr;
    QLabel* Label_FontName = nullptr;
    QLabel* Label_FontSize = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QTextEdit* TestRichEdit = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetPanelColor(int kind, quint32 color);
    quint32 PanelColor(int kind) const;
    void SetBackground(quint32 color);
    void ApplySelectedColorSwitch();
    void SetSampleFont(const QString& name, int size);
    QWidget* BuildCellPage();
    QWidget* BuildGeneralPage();

    std::array<quint32, ckCount> panelColors_ {};
    quint32 background_ = 0xFFFFFF;
    // The font choice: kept between showings.
    QString fontName_;
    int fontSize_ = 9;
    // The font texts are measured in.
    QFont textFont_;
};

inline TfOrvekVlastnostiBunky* fOrvekVlastnostiBunky = nullptr;

} // namespace orvek
