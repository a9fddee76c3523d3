#include "sources/weighing_import_command.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/workbook_reader.h"
#include "sources/import_settings.h"
#include "sources/weighing_import.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>

namespace orvek {

namespace {

// The timer off and the hourglass shown for the command's life, restored on every way out.
class BusyCommand {
public:
    explicit BusyCommand(TWeighingImportHost& host)
        : host_(host)
    {
        host_.SetTimerEnabled(false);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyCommand()
    {
        host_.SetTimerEnabled(true);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }

private:
    TWeighingImportHost& host_;
};

void ReadAndApply(quint8 kind, TWeighingImportHost& host, WorkbookReader& reader)
{
    if (ReadWeighingWorkbook(kind, AssayImportFile, reader))
        host.GoToRecord();
}

// From an existing settings file; a target ID that is not a whole number ends the command.
void ImportFromSettings(quint8 kind, const QString& path, TWeighingImportHost& host, WorkbookReader& reader)
{
    TImportSettings settings;
    if (!ReadImportSettingsFile(path, settings)) {
        MessageDlg(GetString(22808, { path }), TMsgDlgType::mtError, mbCancel);
        return;
    }
    bool ok = false;
    const int id = settings.TreeID.toInt(&ok);
    AssayImportFile = settings.FileNameXLS;
    ImportTargetRecordName = settings.MeasurementName;
    if (!ok) {
        MessageDlg(GetString(22807, { path, settings.TreeID }), TMsgDlgType::mtError, mbCancel);
        return;
    }
    ImportTargetRecordID = id;
    ReadAndApply(kind, host, reader);
}

// The user picks the workbook; the record under the cursor becomes the target.
void ImportFromChosenFile(quint8 kind, const QString& symbol, TWeighingImportHost& host, WorkbookReader& reader)
{
    if (MessageDlg(GetString(1099, { symbol }), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    if (WeighingOpenDialogFileName.isEmpty())
        WeighingOpenDialogFileName = "Vstup_Ostrevin.xls";
    FileDialogRequest request;
    request.caption = QString::fromUtf8("Načítanie údajov zo súboru");
    request.defaultExt = "xls";
    request.filter = "MS Excel Format (*.xls *.xlsx *.ods)|*.xls;*.xlsx;*.ods";
    request.fileName = WeighingOpenDialogFileName;
    if (!OpenFileDialog(request))
        return;
    WeighingOpenDialogFileName = request.fileName;
    if (!QFileInfo(request.fileName).isFile())
        return;
    int id = 0;
    QString name;
    if (!host.CurrentRecord(id, name)) {
        MessageDlg(GetString(22809), TMsgDlgType::mtError, mbCancel);
        return;
    }
    AssayImportFile = request.fileName;
    ImportTargetRecordID = id;
    ImportTargetRecordName = name;
    // Written before the read, so that the choice stays even when the read fails.
    const QString path = ImportSettingsWritePath(WeighingSettingsFileName(kind));
    if (!WriteImportSettingsFile(path, { AssayImportFile, QString::number(id), name }))
        MessageDlg(GetString(22814, { path }), TMsgDlgType::mtWarning, mbOK);
    ReadAndApply(kind, host, reader);
}

} // namespace

QString WeighingSettingsFileName(quint8 Kind)
{
    return Kind == kWeighingGold ? "ImportAu.ini" : "ImportAg.ini";
}

void ImportWeighingData(quint8 Kind, TWeighingImportHost& host)
{
    WorkbookFileReader reader;
    ImportWeighingData(Kind, host, reader);
}

void ImportWeighingData(quint8 Kind, TWeighingImportHost& host, WorkbookReader& reader)
{
    if (!OstrevinMode)
        return;
    const QString symbol = Kind == kWeighingGold ? "Au" : "Ag";
    if (MessageDlg(GetString(1101, { symbol }), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    BusyCommand busy(host);
    const QString path = ImportSettingsReadPath(WeighingSettingsFileName(Kind));
    if (!path.isEmpty())
        ImportFromSettings(Kind, path, host, reader);
    else
        ImportFromChosenFile(Kind, symbol, host, reader);
}

} // namespace orvek
