#include "database/template_handover.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "platform/dialogs.h"

#include <QBuffer>

namespace orvek {

QString TransferFileName()
{
    return TempDir + QStringLiteral("TempTrasferFile.STM");
}

bool WriteTransferFile(TCell& root, QString* error)
{
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    // The locks are set on a copy, so that the tree the window shows (and may still
    // store when the window stays open) keeps its own.
    QByteArray text = root.SaveToText().toUtf8();
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    TCell copy(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    const bool sourceKeys = SourceKeysLoaded;
    const bool read = copy.LoadFromDevice(buffer, error);
    SourceKeysLoaded = sourceKeys;
    if (!read)
        return false;
    copy.MarkAsTemplate();
    return WriteFileWhole(TransferFileName(), (copy.SaveToText() + QStringLiteral("\r\n")).toUtf8(), error);
}

THandOverStep CheckHandOver(int selectedCount, TCell* root)
{
    if (selectedCount > 1) {
        MessageDlg(GetString(928), TMsgDlgType::mtWarning, mbCancel);
        return THandOverStep::Refused;
    }
    if (!root || !root->HasExpiredSource())
        return THandOverStep::AskRecordHead;
    switch (MessageDlg(GetString(642), TMsgDlgType::mtConfirmation, mbYes | mbNo | mbRetry)) {
    case mrYes:
        return THandOverStep::AskRecordHead;
    case mrRetry:
        return THandOverStep::StayOpen;
    default:
        return THandOverStep::CancelPick;
    }
}

bool CompleteHandOver(
    TCell& root, int templateId, const QString& templateName, const THandOverHead& head, THandOverFields& fields)
{
    fields.HandOverTemplateID = 0;
    fields.HandOverDate = head.Date;
    fields.HandOverRecordName = head.RecordName;
    fields.HandOverSampleID = head.SampleID;
    QString error;
    if (!WriteTransferFile(root, &error)) {
        MessageDlg(GetString(21803, { error }), TMsgDlgType::mtError, mbOK);
        return false;
    }
    fields.HandOverTemplateID = templateId;
    fields.HandOverTemplateName = templateName;
    return true;
}

} // namespace orvek
