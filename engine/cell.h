#pragma once
// TCell: one element of a measurement model and one box of its diagram. A cell owns its
// children; every value and result is held as text. The box, its connectors and its
// expand button are plain data here (rectangles in diagram pixels, visibility, caption,
// colours); a window mirrors them through TDiagramHost.

#include "engine/cell_records.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <memory>
#include <vector>

class QIODevice;
class QTimer;

namespace orvek {

class TCell;
class TDiagramHost;
// How the sensitivity pass gets the perturbed result: by recomputing the values on
// the path from the perturbed quantity to the root (the values elsewhere do not
// change), or by evaluating the whole tree each time. Both give the same texts.
enum class TSensitivityRoute { Path, WholeTree };
// What the caller of the sensitivity pass knows of the tree: nothing, or that it has
// just calculated it (nothing changed since). After a fresh calculation the pass on
// numbers leaves every value as it found it, so it does not calculate the tree again:
// it only refreshes the colours and hints of the cells that calculation went through.
enum class TPassStart { Uncalculated, JustCalculated };
class TDiagramLineReader;
class TCompiledEquation;

// Cell kinds.
constexpr quint8 kEquationCell = 0;
constexpr quint8 kQuantityCell = 1;
constexpr quint8 kUncertaintyCell = 2;

// Colours as $00BBGGRR.
constexpr quint32 kColorSilver = 0xC0C0C0;
constexpr quint32 kColorRed = 0x0000FF;
constexpr quint32 kColorBlue = 0xFF8000;

enum class TCellCursor : quint8 { Default, No, HandPoint, HourGlass };

struct TCellPanel {
    QRect Rect; // in diagram pixels
    bool Visible = false;
};

struct TCellBoxData : TCellPanel {
    QString Caption;
    quint32 Color = 0xFFFFFF;
    bool InnerBevelLowered = true; // flat for an inactive source
    QString Hint;
    TCellCursor Cursor = TCellCursor::Default;
};

struct TExpandButtonData : TCellPanel { // Rect relative to the box
    QString Caption = "+";
};

// Program-wide state of the cell tree.
inline TCell* HoveredCell = nullptr;
inline bool CellTreeChanged = false;
// The last expiry state read during an evaluation; 1 stops every further step.
inline quint8 CalculationAborted = 0;
// Chart type of the control chart last loaded: 0 X chart, 1 range chart.
inline quint8 ChartType = 0;
inline bool SourceKeysLoaded = false;
inline bool CommentContinuation = false;
// Set while the root evaluates the tree. The evaluation shows boxes and pumps events,
// so while it is set no timer and no box event may change the tree.
inline bool TreeEvaluationRunning = false;
// Evaluates the whole tree (evaluation.cpp).
void EvaluateTree(TCell& root);
// The evaluation of a whole tree, run by the root's timer after a change; without it
// a change is only passed on to the window.
inline void (*EvaluateTreeHook)(TCell& root) = &EvaluateTree;

class TCell {
public:
    // For a root, ParentCell is null and (Top, Left) is the box position; for a child,
    // (Top, Left) is the top of the row above and the left of the parent's box. Host may
    // be null (a tree without a window). The caller adds a child to the parent's list.
    TCell(TDiagramHost* host, const TPrenosInfoDoNovejBunky& info, int top, int left, TCell* parentCell);
    ~TCell();
    TCell(const TCell&) = delete;
    TCell& operator=(const TCell&) = delete;

    // --- model (content) ---
    void ClearFields();
    void MarkAsTemplate();
    void ClearTemplateMarks();
    void SetEquationTemplateFlag(quint8 value);
    int ChildCount() const { return int(FChildren.size()); }
    bool IsExpanded() const { return FExpanded; }
    bool IsVisible() const { return FVisible; }
    TCell* Child(int index) const { return FChildren[size_t(index)].get(); }

    // --- tree life cycle and layout ---
    TCell* AddChild(const TPrenosInfoDoNovejBunky& info);
    void RemoveChild(TCell* child);
    void DeleteAllChildren();
    void SetExpanded(bool value);
    void ExpandAll();
    void SetVisible(bool value);
    void LayoutSubtree(int& x, int& y);
    void RelayoutTree();
    std::vector<TCell*> ChildOrderByTop() const;
    void ShiftCellsBelow(int top, int delta);
    void MoveBy(int delta);
    int BottomVisibleTop() const;
    void FitVertLine();
    void ApplyCellWidth();
    void ApplyCellWidthToChildren();
    void PlaceExpandButton();
    void UpdateExpandButton();
    void RefreshDisplay();
    void FitCaption();
    void ApplyHighlightColour();
    void UpdateHint();
    void SetHighlightMode(quint8 mode);
    void ReapplyHighlightMode();

    // --- box events (from the window) and the timer ---
    void BoxClick();
    void BoxDblClick();
    void BoxMouseDown() { }
    void BoxMouseMove();
    void ExpandButtonClick();
    void TimerTick();
    bool TimerEnabled() const { return FTimerEnabled; }
    // Starts or stops the cell's 100 ms timer (a cell command stops the clicked cell's
    // timer while it runs).
    void SetTimerEnabled(bool enabled);

    // --- diagram text ---
    QString SaveToText();
    // Reads a plain diagram text into this cell, which keeps its identity; existing
    // children stay. False with a reason in Error on a read, size, nesting or number
    // error; what was read before the error stays.
    bool LoadFromFile(const QString& fileName, QString* error = nullptr);
    bool LoadFromDevice(QIODevice& device, QString* error = nullptr);
    bool LoadChildFromFile(const QString& fileName, QString* error = nullptr);
    bool LoadChildFromDevice(QIODevice& device, QString* error = nullptr);
    void LoadChildrenFromText(TDiagramLineReader& file, qint64 count, int depth = 1);
    void ParseKeyLine(const QString& line);
    void RestoreCommentLineBreaks();

    // --- clipboard ---
    void PasteAsChild();
    void PasteReplace();

    // --- sources ---
    void PropagateUnitToSources();
    quint8 GetExpiryState() const;
    bool HasExpiredSource();

    // --- evaluation ---
    void Calculate();
    void ComputeValueFromEquation();
    void ComputeOutputUncertainty();
    void ComputeDegreesOfFreedom();
    void ComputeStandardUncertainty();
    void ComputeSensitivityByDifference(
        TSensitivityRoute route = TSensitivityRoute::Path, TPassStart start = TPassStart::Uncalculated);
    // Colours and hints again for every cell the last calculation went through.
    void RefreshCalculatedCells(quint32 generation);
    // Puts imported subgroup data into the first source of the tree, which must be a
    // subgroup control chart (method 12) whose values are not template-locked; False
    // after telling the user why not, with the tree unchanged.
    bool ApplyImportedChartData(
        int subgroupCount, const QString& subgroupSizes, const QString& values, const QString& dates);
    bool IsMethodAllowed(TCell* cell, int method);
    void BuildQuantityList();
    void FillQuantityList();
    void BuildSourceList();
    void FillSourceList();
    void AddToSourceList();
    static void ClearSourceList();
    void FillEquationVariableList();
    bool CheckQuantityValues();
    bool IsComplete() const;
    bool HasUnfilledCells() const;
    bool AllSourcesHaveUncertainty() const;
    bool HasMissingUncertainty() const { return !AllSourcesHaveUncertainty(); }
    int ActiveSourceCount() const;

    TDiagramHost* Host() const { return FHost; }
    void Changed();

    // Fields. Public: the evaluation, the reports and the windows read and write them.
    bool FExpanded = true;
    bool FVisible = true;
    QString FTextBuffer;
    quint8 FHighlightMode = 0;
    TCellBoxData FBox;
    TCellPanel FHorzLine;
    TCellPanel FVertLine;
    TExpandButtonData FExpandButton;
    int FId = 0;
    TCell* FParent = nullptr;
    std::vector<std::unique_ptr<TCell>> FChildren;
    TCell* FPendingDelete = nullptr;
    QString FIndent;
    quint8 FCellTypeLock = 0, FCellType = 0;
    quint8 FValueTypeLock = 0, FValueType = 0;
    TStringRec FCellName;
    TStringRec FCellComment;
    TStringRec FSymbol;
    TStringRec FUnit;
    TStringRec FQuantityName;
    TStringRec FValue;
    quint8 FValueTransferred = 0;
    QString FNumSensitivity;
    QString FNumContribution;
    TStringRec FSumFormula;
    TStringRec FSumFormulaDetails;
    TStringRec FCoverageFactor;
    quint8 FCoverageLock = 0, FCoverage = 0;
    TStringRec FCorrelationMatrix;
    QString FEquation;
    quint8 FEquationLock = 0;
    QString FNormalizedEquation;
    TVstupStandardnejNeistoty FUncertaintyInput;
    QString FCombinedUncertainty;
    QString FRelativeUncertainty;
    QString FExpandedUncertainty;
    QString FDegreesOfFreedom;
    QString FRelativeExpandedUncertainty;
    QString FSheetFormula;
    QString FErrorText;
    quint8 FActiveLock = 0;
    bool FActive = false;
    bool FReloaded = false;
    QString FSensitivity;
    std::array<quint32, 6> FColors {};
    bool FLargestContribution = false;
    int FSourceCounter = 0;
    // The calculation (a count of outermost Calculate calls) that last went through
    // this cell.
    quint32 FCalculatedIn = 0;

private:
    // The value of an equation cell from its children, without boxes or messages (the
    // sensitivity pass); the QuelvarMode rule applies as in Calculate.
    // Program, when given, is this equation compiled with its inputs in child order.
    void RecomputeValueQuietly(TCompiledEquation* program = nullptr);
    // This equation compiled with its inputs in child order (null when it must be
    // evaluated as text), kept in the cell and checked against the equation and the
    // symbols before each use.
    TCompiledEquation* CompiledProgram();
    // The propagation of ComputeOutputUncertainty on numbers, once the cell's results
    // are cleared and its inputs found complete. False, with nothing changed, when
    // some text is not a plain number or a step would not give a finite number: the
    // formula texts decide those cases.
    bool ComputeOutputUncertaintyOnNumbers();
    void ApplyQuelvarMean();
    // Whether this cell's calculation would write what it wrote last time, so that
    // Calculate may keep its subtree as it is: nothing it reads or writes changed
    // since, the texts it leaves in the shared state are those it found, and every
    // cell it calculates is unchanged too (evaluation.cpp).
    bool CalculationIsCurrent();
    bool SubtreeUnchanged();
    void TakeCalculationStamp(const QString& parserErrorBefore, quint8 abortedBefore);
    void CalculateEquation();
    void CalculateQuantity();
    void CalculateInnerSource();
    // Top of the last row of the subtree with the children shown as their own
    // expansion says; AsExpanded takes this cell as expanded.
    int LastRowTop(bool asExpanded) const;
    void SetVisibleCollecting(bool value, int& largest);
    void TimerTickBody();
    void PropagateChange();
    void AppendText(QString& text);
    void ReadCellBlock(TDiagramLineReader& file, const QString& blockId, int depth);
    bool LoadFromReader(TDiagramLineReader& file, bool asChild, QString* error);
    void ApplySourceKey(const QString& key, const QString& value);

    // What the last calculation of this cell read and wrote (evaluation.cpp).
    struct TCalculationStamp;
    struct TStampDeleter {
        void operator()(TCalculationStamp* stamp) const;
    };
    std::unique_ptr<TCalculationStamp, TStampDeleter> FStamp;
    // SubtreeUnchanged remembered for one outermost calculation.
    quint32 FCheckedIn = 0;
    bool FCheckedUnchanged = false;

    TDiagramHost* FHost = nullptr;
    TCompiledEquation* FProgram = nullptr;
    QString FProgramEquation;
    QStringList FProgramSymbols;
    quint64 FProgramGeneration = 0;
    std::unique_ptr<QTimer> FTimer;
    bool FTimerEnabled = false;
};

// The six current cell colours in the order of TCell::FColors.
std::array<quint32, 6> CurrentCellColors();

// Destroys a whole tree with screen updates suspended and sets Cell to null.
void FreeCellTree(TCell*& cell);

// Marks the screen updates of a host suspended for the life of the object.
class TSuspendedUpdates {
public:
    explicit TSuspendedUpdates(TDiagramHost* host, bool hourglass = false);
    ~TSuspendedUpdates();
    TSuspendedUpdates(const TSuspendedUpdates&) = delete;
    TSuspendedUpdates& operator=(const TSuspendedUpdates&) = delete;

private:
    TDiagramHost* host_;
};

} // namespace orvek
