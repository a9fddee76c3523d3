#pragma once
// The gold and silver import commands of the main window, in OstrevinMode: the user
// confirms, the settings file of the metal names the workbook and the target record
// (or, when there is none, the user picks a workbook and the record under the grid
// cursor becomes the target and the settings file is written), the workbook is read
// and the main window brings the target record up and applies the data to it. The
// main window lends what only it has through TWeighingImportHost.

#include <QString>

namespace orvek {

class WorkbookReader;

class TWeighingImportHost {
public:
    virtual ~TWeighingImportHost() = default;
    // The main window's timer; it stays off while the command runs.
    virtual void SetTimerEnabled(bool enabled) = 0;
    // The record under the record grid's cursor (its ID and NazovMerania); False when
    // the grid shows no record.
    virtual bool CurrentRecord(int& id, QString& name) = 0;
    // Brings the record ImportTargetRecordID up and applies the imported data to it
    // when its name is ImportTargetRecordName.
    virtual void GoToRecord() = 0;
};

// The file name of the open dialog: "Vstup_Ostrevin.xls" at first, then the last
// file chosen while the program runs.
inline QString WeighingOpenDialogFileName;

// The settings file of a metal: "ImportAu.ini" (Kind 0, gold) or "ImportAg.ini" (1).
QString WeighingSettingsFileName(quint8 Kind);

// The gold (Kind 0) or silver (Kind 1) command; Reader reads the workbook (by default
// the reader of workbook files).
void ImportWeighingData(quint8 Kind, TWeighingImportHost& host);
void ImportWeighingData(quint8 Kind, TWeighingImportHost& host, WorkbookReader& reader);

} // namespace orvek
