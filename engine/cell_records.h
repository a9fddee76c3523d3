#pragma once
// The records a measurement model keeps its values in: the lockable texts, the input
// and result state of one uncertainty source, and the values a new cell is made from.
// Every number is held as text; a lock byte of 0 is free, 1 to 9 fixed by a template.

#include <QString>
#include <QtGlobal>

namespace orvek {

struct TStringRec {
    quint8 Lock = 0;
    QString Text;
    bool operator==(const TStringRec&) const = default;
};

// A list whose items each end with "@"; pairs are written value "#" second value "@".
struct TAnsiStringRec {
    quint8 Lock = 0;
    QString Text;
    bool operator==(const TAnsiStringRec&) const = default;
};

// One uncertainty source. The field names are the model-file keys. A default-constructed
// record holds the defaults that ClearUncertaintyInput gives.
struct TVstupStandardnejNeistoty {
    TVstupStandardnejNeistoty();
    bool operator==(const TVstupStandardnejNeistoty&) const = default;

    quint8 TSNLock = 0, TSN = 0; // evaluation method 0..14
    quint8 USType
        = 1; // kind of the main input: 1 number, 2 %, 3 formula, 4 expression, 6 range, 7 condition, 0 invalid
    QString HSN; // standard uncertainty u
    QString EDate; // validity date "D dM mYyyyy", empty = no limit

    // method 0, qualified estimate
    TStringRec KO;
    TStringRec PSV_1;
    quint8 ZPSV_1Lock = 0, ZPSV_1 = 2; // degrees of freedom: 0 entered, 1 from reliability, 2 infinite
    TStringRec RN_1;
    quint8 TR_1Lock = 0, TR_1 = 4;

    // method 1, rectangular
    TStringRec IS_2_1, PSV_2_1;
    quint8 ZPSV_2_1Lock = 0, ZPSV_2_1 = 2;
    TStringRec RN_2_1;
    // method 2, triangular
    TStringRec IS_2_2, PSV_2_2;
    quint8 ZPSV_2_2Lock = 0, ZPSV_2_2 = 2;
    TStringRec RN_2_2;
    // method 3, standard uncertainty given
    TStringRec SO_2_3, PSV_2_3;
    quint8 ZPSV_2_3Lock = 0, ZPSV_2_3 = 2;
    TStringRec RN_2_3;
    // method 4, expanded uncertainty with a confidence level
    TStringRec IS_2_4;
    quint8 HSLock = 0, HS = 2; // confidence index 0..5
    TStringRec PSV_2_4;
    quint8 ZPSV_2_4Lock = 0, ZPSV_2_4 = 2;
    TStringRec RN_2_4;
    // method 5, U-shaped
    TStringRec IS_2_5, PSV_2_5;
    quint8 ZPSV_2_5Lock = 0, ZPSV_2_5 = 2;
    TStringRec RN_2_5;
    // method 10, trapezoidal
    TStringRec PD_2_6, TFa_2_6, PSV_2_6;
    quint8 ZPSV_2_6Lock = 0, ZPSV_2_6 = 2;
    TStringRec RN_2_6;

    // method 6, series of readings
    int PM_3 = 0;
    TAnsiStringRec VM_3;
    QString PSV_3, AP_3, SO_3, SOPr_3, RSOPr_3;

    // method 7, series with a known population standard deviation
    int PM_4 = 0;
    TAnsiStringRec VM_4;
    TStringRec PSV_4;
    QString SOPr_4, AP_4;
    TStringRec SOP;

    // method 8, standard deviation given
    TStringRec SO_5, PSV_5;

    // method 9, readings with a choice of output
    int PM_6 = 0;
    TAnsiStringRec VM_6;
    TStringRec PSV_6;
    QString AP_6, SO_6, RSO_6;
    quint8 OV_6 = 0;

    // method 11, control chart of individual values
    int PM_7 = 0;
    TAnsiStringRec VM_7;
    QString DM_7, Meral_7;
    QString SO_7, RSO_7, PSV_7;
    int RPSS_7 = 0;
    QString CLX_7, CLR_7, UCL_7, LCL_7, UWL_7, LWL_7;
    int UR_7 = 0, R_OD_7 = 1, R_DO_7 = 9999;
    QString NUB_7;
    int OSO_7 = 0;
    QString FD_7; // date format of DM_7, Qt notation
    int OV_7 = 0;
    int NPP_7 = 1;
    quint8 ZDM_7 = 0, DPD_7 = 0;

    // method 12, control chart of subgroups
    int PM_8 = 0;
    QString PBM_8;
    TAnsiStringRec VM_8;
    QString DM_8, Meral_8, SO_8, RSO_8, PSV_8;
    int RPSS_8 = 0;
    QString CLX_8, CLR_8;
    int SV_UCL_LCL_8 = 0;
    QString UCL_8, LCL_8, UWL_8, LWL_8;
    int UR_8 = 0, R_OD_8 = 1, R_DO_8 = 9999;
    QString NUB_8, FD_8;
    int OV_8 = 0;
    int NPP_8 = 1;
    quint8 ZDM_8 = 0, DPD_8 = 0;

    // method 13, pooled variances
    int PM_9 = 0;
    TAnsiStringRec VM_9;
    TStringRec PSV_9;
    QString AP_9, SO_9, RSO_9;
    quint8 OV_9 = 0;

    // method 14, weighted mean
    int PM_10 = 0;
    TAnsiStringRec VM_10;
    QString PSV_10, AP_10, SO_10, SOPr_10, RSOPr_10;
    int OV_10 = 0;

    // The chart type ("DD_7=", "DD_8=") this source's chart was last shown with. Each
    // source keeps its own, so that opening one chart does not change what the others
    // write back.
    quint8 DD_7 = 0, DD_8 = 0;
};

// The values a new cell is created from, and what a cell keeps when its kind changes.
struct TPrenosInfoDoNovejBunky {
    quint8 CellType = 0;
    QString CellName, CellComment;
    quint8 ValueType = 0;
    QString Symbol, QuantityName, UnitText, Value;
    quint8 ValueTransferred = 0;
    quint8 Coverage = 0;
    QString CoverageFactor, SumFormula, SumFormulaDetails, CombinedUncertainty;
    TVstupStandardnejNeistoty UncertaintyInput;
    QString Equation, NormalizedEquation, CorrelationMatrix, DegreesOfFreedom;
    quint8 Active = 0;
};

// The data of the next cell a command creates.
inline TPrenosInfoDoNovejBunky NewCellInfo;

// Resets NewCellInfo: value type 0, coverage 1, not transferred, everything else empty.
void ClearNewCellInfo();

// Resets Rec to the defaults of a fresh source.
void ClearUncertaintyInput(TVstupStandardnejNeistoty& rec);

// The degrees-of-freedom text of the record's method (the record's own field); empty
// for a method outside 0..14.
const QString& GetDegreesOfFreedomText(const TVstupStandardnejNeistoty& rec);

// The output choice of methods 9, 11, 12, 13 and 14; 0 for every other method.
int GetOutputChoice(const TVstupStandardnejNeistoty& rec);

// The display name of an evaluation method in the current language.
QString GetEvaluationMethodName(int method);

// The program's short date format in Qt notation (d day, M month, yy/yyyy year).
QString ShortDateFormatText();

} // namespace orvek
