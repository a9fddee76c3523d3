#pragma once
// The page layout of a preview printer in controls. The program never shows it: it is
// created hidden to load the saved page-setup defaults into a printer. The control
// names are the names of the saved values.

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QFrame;

namespace orvek {

class TFontDialog;
class TFormSettings;
class TPreviewPrinter;
class TTextOptions;

class TPageSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TPageSetupForm(TPreviewPrinter* printer, QWidget* parent = nullptr);

    TPreviewPrinter* PreviewPrinter;
    TTextOptions* TextOptions;

    void OptionsToControls();
    void ControlsToOptions();
    void LoadDefaults();
    // "Set Default": after a Yes, the control values are saved as the defaults.
    void SetDefaultClick();

    QRadioButton *InchBut, *CentBut, *PortBut, *LandBut;
    QLineEdit *LeftEdit, *RightEdit, *TopEdit, *BotEdit;
    QFrame *PortShape, *LandShape;
    QLineEdit *HeaderEdit, *HdrMarginEdit;
    QRadioButton *HdrLeftBut, *HdrCenterBut, *HdrRightBut;
    QPushButton* HdrFontBut;
    QGroupBox* FooterGroup;
    QLineEdit *FooterEdit, *FtrMarginEdit;
    QRadioButton *FtrLeftBut, *FtrCenterBut, *FtrRightBut;
    QPushButton* FtrFontBut;
    QRadioButton *PageBotBut, *PageTopBut, *PageNoneBut, *PageLeftBut, *PageCenterBut, *PageRightBut;
    QLineEdit* PageNumEdit;
    QPushButton *PageNumFontBut, *PrinterSetupBut, *SetDefaultBut;
    TFontDialog *HeaderFontDialog, *FooterFontDialog, *PageNumFontDialog;
    TFormSettings* FormSettings1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowShape();
};

} // namespace orvek
