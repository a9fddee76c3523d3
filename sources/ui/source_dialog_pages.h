#pragma once
// The controls of the source dialog's pages, one struct per page, named as the dialog
// names them. Each page's Build routine creates its controls and lays them out; it
// connects nothing and holds no logic.

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QTableWidget;
class QTabWidget;
class QToolButton;
class QWidget;

namespace orvek {

class TChart;
class TF1Book;
class TRichEdit98;

// Method 0, the qualified estimate.
struct TSourcePage1 {
    QWidget* TabSheet_1 = nullptr;
    QLabel *Label12 = nullptr, *Label13 = nullptr, *Label15 = nullptr, *Label25 = nullptr, *Label21 = nullptr;
    QLineEdit* Edit_KvalifikovanyOdhad = nullptr;
    QToolButton* SpeedButton_EditConditions = nullptr;
    QComboBox* ComboBox_Rozdelenie_1 = nullptr;
    QComboBox* ComboBox_Moznosti_1 = nullptr;
    QLineEdit* Edit_PocetStupnovVolnosti_1 = nullptr;
    QLabel* Panel_Nekonecno_1 = nullptr;
    QLineEdit* Edit_RelNeistota_1 = nullptr;
};
void BuildSourcePage1(TSourcePage1& p);

// Methods 1 to 5 and 10, stated limits: the distribution list over six sub-pages.
struct TSourcePage2 {
    QWidget* TabSheet_2 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Label53 = nullptr;
    QComboBox* ComboBox_Rozdelenie = nullptr;
    QStackedWidget* PageControl2 = nullptr;
    QWidget *TabSheet_2_1 = nullptr, *TabSheet_2_2 = nullptr, *TabSheet_2_3 = nullptr, *TabSheet_2_4 = nullptr,
            *TabSheet_2_5 = nullptr, *TabSheet_2_6 = nullptr;
    // 2_1 rectangular
    QLabel *Label2 = nullptr, *Label16 = nullptr;
    QLineEdit *Edit_IntervalSpolahlivosti_2_1 = nullptr, *Edit_PocetStupnovVolnosti_2_1 = nullptr;
    QComboBox* ComboBox_Moznosti_2_1 = nullptr;
    QLabel* Panel_Nekonecno_2_1 = nullptr;
    // 2_2 triangular
    QLabel *Label5 = nullptr, *Label19 = nullptr;
    QLineEdit *Edit_IntervalSpolahlivosti_2_2 = nullptr, *Edit_PocetStupnovVolnosti_2_2 = nullptr;
    QComboBox* ComboBox_Moznosti_2_2 = nullptr;
    QLabel* Panel_Nekonecno_2_2 = nullptr;
    // 2_3 t distribution, u given
    QLabel *Label11 = nullptr, *Label30 = nullptr;
    QLineEdit *Edit_StandardnaNeistota_2_3 = nullptr, *Edit_PocetStupnovVolnosti_2_3 = nullptr;
    QComboBox* ComboBox_Moznosti_2_3 = nullptr;
    // 2_4 normal, expanded uncertainty and confidence
    QLabel *Label9 = nullptr, *Label6 = nullptr, *Label18 = nullptr;
    QLineEdit *Edit_RozsirenaNeistota_2_4 = nullptr, *Edit_PocetStupnovVolnosti_2_4 = nullptr;
    QComboBox* ComboBox_KonfidencnaPravdepodobnost = nullptr;
    QComboBox* ComboBox_Moznosti_2_4 = nullptr;
    // 2_5 U-shaped
    QLabel *Label37 = nullptr, *Label24 = nullptr;
    QLineEdit *Edit_IntervalSpolahlivosti_2_5 = nullptr, *Edit_PocetStupnovVolnosti_2_5 = nullptr;
    QComboBox* ComboBox_Moznosti_2_5 = nullptr;
    QLabel* Panel_Nekonecno_2_5 = nullptr;
    // 2_6 trapezoidal
    QLabel *Label22 = nullptr, *Label23 = nullptr, *Label38 = nullptr;
    QLineEdit *Edit_TvarovyFaktor = nullptr, *Edit_PolosirkaDistribucie = nullptr,
              *Edit_PocetStupnovVolnosti_2_6 = nullptr;
    QComboBox* ComboBox_Moznosti_2_6 = nullptr;
    QLabel* Panel_Nekonecno_2_6 = nullptr;
};
void BuildSourcePage2(TSourcePage2& p);

// Method 6, own measurement I: readings, their mean, s and the u of the mean.
struct TSourcePage3 {
    QWidget* TabSheet_3 = nullptr;
    QTableWidget* StringGrid_VlastneMeranie_3 = nullptr;
    QToolButton *SpeedButton_Copy_VlastneMeranie_3 = nullptr, *SpeedButton_Paste_VlastneMeranie_3 = nullptr;
    QLabel *Label14 = nullptr, *Label10 = nullptr, *Label17 = nullptr, *Label26 = nullptr, *LabelRelative3 = nullptr;
    QLineEdit *Edit_AritmetickyPriemer_3 = nullptr, *Edit_StandardnaOdchylkaPriemeru_3 = nullptr,
              *Edit_StandardnaOdchylka_3 = nullptr, *Edit_RelStandardnaOdchylkaPriemeru_3 = nullptr,
              *Edit_PocetstupnovVolnosti_3 = nullptr;
};
void BuildSourcePage3(TSourcePage3& p);

// Method 7, own measurement II: readings and a known population standard deviation.
struct TSourcePage4 {
    QWidget* TabSheet_4 = nullptr;
    QTableWidget* StringGrid_VlastneMeranie_4 = nullptr;
    QToolButton *SpeedButton_Copy_VlastneMeranie_4 = nullptr, *SpeedButton_Paste_VlastneMeranie_4 = nullptr;
    QLabel *Label7 = nullptr, *Label20 = nullptr, *Label34 = nullptr, *Label28 = nullptr;
    QLineEdit *Edit_StandardnaOdchylkaPopulacie = nullptr, *Edit_AritmetickyPriemer_4 = nullptr,
              *Edit_StandardnaOdchylkaPriemeru_4 = nullptr, *Edit_PocetstupnovVolnosti_4 = nullptr;
};
void BuildSourcePage4(TSourcePage4& p);

// Method 8, own measurement III: a standard deviation and its degrees of freedom.
struct TSourcePage5 {
    QWidget* TabSheet_5 = nullptr;
    QLabel *Label35 = nullptr, *Label36 = nullptr;
    QLineEdit *Edit_StandardnaOdchylka_5 = nullptr, *Edit_PocetStupnovVolnosti_5 = nullptr;
};
void BuildSourcePage5(TSourcePage5& p);

// Method 9, own measurement IV: readings whose s or relative s is handed on.
struct TSourcePage6 {
    QWidget* TabSheet_6 = nullptr;
    QTableWidget* StringGrid_VlastneMeranie_6 = nullptr;
    QToolButton *SpeedButton_Copy_VlastneMeranie_6 = nullptr, *SpeedButton_Paste_VlastneMeranie_6 = nullptr;
    QLabel *Label29 = nullptr, *Label40 = nullptr, *Label41 = nullptr, *Label42 = nullptr, *Label43 = nullptr;
    QLineEdit *Edit_AritmetickyPriemer_6 = nullptr, *Edit_StandardnaOdchylka_6 = nullptr,
              *Edit_RelStandardnaOdchylka_6 = nullptr, *Edit_PocetstupnovVolnosti_6 = nullptr;
    QRadioButton *RadioButton_Export_SD_6 = nullptr, *RadioButton_Export_RelSD_6 = nullptr;
};
void BuildSourcePage6(TSourcePage6& p);

// Method 13, own measurement V: variances.
struct TSourcePage9 {
    QWidget* TabSheet_9 = nullptr;
    QTableWidget* StringGrid_VlastneMeranie_9 = nullptr;
    QToolButton *SpeedButton_Copy_VlastneMeranie_9 = nullptr, *SpeedButton_Paste_VlastneMeranie_9 = nullptr;
    QLabel *LabelExport9 = nullptr, *Label49 = nullptr, *Label50 = nullptr, *Label51 = nullptr, *Label52 = nullptr;
    QLineEdit *Edit_AritmetickyPriemer_9 = nullptr, *Edit_StandardnaOdchylka_9 = nullptr,
              *Edit_RelStandardnaOdchylka_9 = nullptr, *Edit_PocetstupnovVolnosti_9 = nullptr;
    QRadioButton *RadioButton_Export_SD_9 = nullptr, *RadioButton_Export_RelSD_9 = nullptr;
};
void BuildSourcePage9(TSourcePage9& p);

// Method 14, own measurement VI: pairs of value and uncertainty, their weighted mean.
struct TSourcePage10 {
    QWidget* TabSheet_10 = nullptr;
    QTableWidget* StringGrid_VlastneMeranie_10 = nullptr;
    QToolButton *SpeedButton_Copy_VlastneMeranie_10 = nullptr, *SpeedButton_Paste_VlastneMeranie_10 = nullptr;
    QLabel *LabelMean10 = nullptr, *LabelUncertainty10 = nullptr, *LabelDof10 = nullptr;
    QLineEdit *Edit_AritmetickyPriemer_10 = nullptr, *Edit_StandardnaOdchylka_10 = nullptr,
              *Edit_StandardnaOdchylkaPriemeru_10 = nullptr, *Edit_RelStandardnaOdchylkaPriemeru_10 = nullptr,
              *Edit_PocetstupnovVolnosti_10 = nullptr;
};
void BuildSourcePage10(TSourcePage10& p);

// Method 11, control chart of individual values: settings, points, statistics, chart.
struct TSourcePage7 {
    QWidget* TabSheet_7 = nullptr;
    QTabWidget* PageControl_7 = nullptr;
    QWidget *TabSheet_7_0 = nullptr, *TabSheet_7_1 = nullptr, *TabSheet_7_2 = nullptr, *TabSheet_7_3 = nullptr;
    QWidget* Panel19 = nullptr;
    QWidget* ButtonRow[4] = {}; // per sheet, the row that takes the buttons both chart pages share
    QGroupBox *GroupBox2 = nullptr, *GroupBox_Parametre_Zadane_7 = nullptr,
              *GroupBox_OdhadStandardnejOdchylky_7 = nullptr, *GroupBox4 = nullptr, *GroupBox_Priemer_N_7 = nullptr;
    QRadioButton *RadioButton_RegulacneParametre_Pocitane_7 = nullptr,
                 *RadioButton_RegulacneParametre_Zadane_7 = nullptr;
    QLabel *Label33 = nullptr, *Label39 = nullptr;
    QLineEdit *Edit_CentralnaLinia_7 = nullptr, *EditStandardnaOdchylka_7 = nullptr, *Edit_N_pre_priemer_7 = nullptr;
    QRadioButton *RadioButton_s_0_8869xMR = nullptr, *RadioButton_s_svyp_div_C4 = nullptr,
                 *RadioButton_s_svyp = nullptr;
    QCheckBox *CheckBox_DeleniePodlaDatumu_7 = nullptr, *CheckBox_ShowDateMeasurement_7 = nullptr;
    TF1Book* Table_7 = nullptr;
    TRichEdit98* RichEdit_RD_Statistika_7 = nullptr;
    TChart* RegulacnyDiagram_7 = nullptr;
};
void BuildSourcePage7(TSourcePage7& p);

// Method 12, control chart of subgroups.
struct TSourcePage8 {
    QWidget* TabSheet_8 = nullptr;
    QTabWidget* PageControl_8 = nullptr;
    QWidget *TabSheet_8_0 = nullptr, *TabSheet_8_1 = nullptr, *TabSheet_8_2 = nullptr, *TabSheet_8_3 = nullptr;
    QWidget* Panel21 = nullptr;
    QWidget* ButtonRow[4] = {};
    QGroupBox *GroupBox1 = nullptr, *GroupBox_Parametre_Zadane_8 = nullptr, *GroupBox_Vypocet_UCL_LCL = nullptr,
              *GroupBox3 = nullptr, *GroupBox_Priemer_N_8 = nullptr;
    QRadioButton *RadioButton_RegulacneParametre_Pocitane_8 = nullptr,
                 *RadioButton_RegulacneParametre_Zadane_8 = nullptr;
    QLabel *Label46 = nullptr, *Label47 = nullptr;
    QLineEdit *Edit_CentralnaLinia_8 = nullptr, *EditStandardnaOdchylka_8 = nullptr, *Edit_N_pre_priemer_8 = nullptr;
    QToolButton *SpeedButton_A2xR = nullptr, *SpeedButton_A3xs = nullptr, *SpeedButton_3xs = nullptr;
    QLabel* Label_UCL_LCL = nullptr;
    QCheckBox *CheckBox_DeleniePodlaDatumu_8 = nullptr, *CheckBox_ShowDateMeasurement_8 = nullptr;
    TF1Book* Table_8 = nullptr;
    TRichEdit98* RichEdit_RD_Statistika_8 = nullptr;
    TChart* RegulacnyDiagram_8 = nullptr;
};
void BuildSourcePage8(TSourcePage8& p);

// The controls both chart pages share; they are placed on the page shown.
struct TSourceChartShared {
    QLabel* Label48 = nullptr;
    QComboBox* ComboBox_Standardna_neisota_sa_rovna = nullptr;
    QToolButton *SpeedButton_X_Diagram = nullptr, *SpeedButton_R_Diagram = nullptr, *SpeedButton_DataToWindow = nullptr,
                *SpeedButton_Hide_Show = nullptr, *SpeedButton_CopyFromTable = nullptr,
                *SpeedButton_PasteToTable = nullptr, *SpeedButton_CopyStatistika = nullptr,
                *SpeedButton_CopyGraph = nullptr;
};
void BuildSourceChartShared(QWidget* parent, TSourceChartShared& s);

} // namespace orvek
