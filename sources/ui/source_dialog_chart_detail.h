#pragma once
// The chart detail windows (individual values, subgroups) as the source dialog's chart
// pages drive them. The chart windows implement it and install a factory; without one
// the detail button does nothing.

#include "engine/cell_records.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace orvek {

class TF1Book;

// What the dialog hands to a detail window and takes back after OK.
struct TChartDetailSettings {
    QString CommentRtf;
    bool GivenParameters = false;
    int Estimate = 0; // the s estimate of an individuals chart (0..2)
    QString CenterLineText;
    QString SText;
    bool DivideByDate = false;
    bool ShowDates = false;
    bool AutoShowErrors = true;
    // The dialog's edit level (0 view only, 1 template locks, 2 full) and, at level 1,
    // whether the template locks the chart's value list: the window then keeps its
    // point table protected, and at level 0 never hands anything back.
    int EditLevel = 2;
    bool ValuesLocked = false;
};

class TChartDetailWindow {
public:
    virtual ~TChartDetailWindow() = default;
    // The window takes a copy of the record, the settings and the point table.
    virtual void Prepare(
        const TVstupStandardnejNeistoty& Input, const TChartDetailSettings& Settings, const TF1Book& Table)
        = 0;
    virtual void Compute() = 0;
    // Shown modally; true for OK.
    virtual bool Execute() = 0;
    virtual TVstupStandardnejNeistoty Input() const = 0;
    virtual TChartDetailSettings Settings() const = 0;
    virtual TF1Book& Table() = 0;
};

// Makes the detail window of method 11 or 12.
using TChartDetailFactory = std::function<std::unique_ptr<TChartDetailWindow>(int Method, QWidget* Parent)>;
inline TChartDetailFactory ChartDetailFactory;

} // namespace orvek
