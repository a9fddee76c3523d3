#pragma once
// Per-user settings of the program in the settings store, and the display values
// derived from them (the diagram geometry at the current zoom, the zoom preset entry
// and the exponent thresholds of number display).

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>

namespace orvek {

// Layout of a record or template grid as stored (52 bytes): a length-prefixed tag,
// the column order values and the column widths.
struct TTableInfo {
    static constexpr int kSize = 52;
    static constexpr char kTag[] = "ver-1-2-30";
    QByteArray tag; // up to 10 characters
    std::array<qint32, 5> order {};
    std::array<qint32, 5> width {};

    QByteArray ToBytes() const;
    static TTableInfo FromBytes(const QByteArray& bytes);
    bool HasCurrentTag() const { return tag == kTag; }
};

// Diagram geometry and colours (colours as $00BBGGRR).
inline double ZoomCoefficient = 1.0;
inline int CellHeight = 18;
inline int CellWidth = 250;
inline int HorizontalBondWidth = 18;
inline int BeginHorizontalBond = 83;
inline int VertDistanceBetweenCells = 3;
inline quint8 HorizPlusMinus = 1, VertPlusMinus = 1;
inline int PlusMinusWidth = 9, PlusMinusHeight = 9;
inline quint32 CellColorFilledVal = 0x00FFFF;
inline quint32 CellColorUnFilledVal = 0x41BCFE;
inline quint32 CellColorChecked = 0x00FF00;
inline quint32 CellColorFilledNeistota = 0xFFFFA8;
inline quint32 CellColorUnFilledNeistota = 0xFEBC8B;
inline quint32 CellColorNeaktivnaNeistota = 0xFFA4FF;
inline quint32 BackgroundColor = 0xFFFFFF;
inline std::array<quint32, 7> HighlightColors { 0x0000FF, 0xC0C0C0, 0x00FFFF, 0xFF8000, 0x0000FF, 0xC0C0C0, 0xFF0000 };
inline bool PovolenaZmenaFarbyOznacenejBunky = true;
inline int DiagramOriginX = 20, DiagramOriginY = 20;
inline QString CellFontName = "Arial";
inline int CellFontSize = 10;
inline QString MarkupFontName = "Arial";
inline int MarkupFontSize = 8;
// Cell font size at the current zoom.
inline int DefaultFontSize = 9;

// Panel sizes of the two main windows, as stored.
inline std::array<qint32, 3> WindowSizeOrvekDB {};
inline std::array<qint32, 2> WindowSizeOrvek1 {};
inline TTableInfo Orvek1TableInfo;
inline TTableInfo OrvekDBTableInfo;

// Derived geometry at the current zoom.
inline int ZoomedCellHeight = 18, ZoomedCellWidth = 250, ZoomedHorizontalBondWidth = 18, ZoomedBeginHorizontalBond = 83,
           ZoomedVertDistance = 3, ZoomedPlusMinusWidth = 9, ZoomedPlusMinusHeight = 9, ZoomedPlusMinusSlot = 13;
inline quint8 ZoomedHorizPlusMinus = 1, ZoomedVertPlusMinus = 1;

// Numbers below the first or above the second are shown in exponent form.
inline double ExponentBelowLimit = 1E-7;
inline double ExponentAboveLimit = 9999999;

// Zoom presets; entry 0 holds the free zoom value.
inline int ZoomPresetIndex = 3;
inline std::array<QString, 6> ZoomPresetTexts { "100%", "  50%", "  85%", "100%", "150%", "200%" };
inline std::array<float, 6> ZoomPresetFactors { 1.0f, 0.5f, 0.85f, 1.0f, 1.5f, 2.0f };

void LoadSettings();
void SaveSettings();
void SetDefaultDiagramSettings();
void ScaleLayoutToZoom();
void UpdateZoomPresetText();
void CheckTableLayouts();
// ExponentBelowLimit and ExponentAboveLimit from their indexes; an index out of range
// leaves its limit as it was.
void DeriveExponentLimits();

void SaveLastRecordOfUser(int userID, int recordID);
void LoadLastRecordOfUser(int userID, int& recordID);
void WriteDBStatus(const QString& text);
void ReadDBStatus(QString& text);
void ReadUserDataPath();

} // namespace orvek
