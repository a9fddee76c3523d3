// The validation on the record view: the self-validation with its history, the
// validation report document and the validation examples as new records.

#include "database/ui/record_view_panel.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/services.h"
#include "core/string_table.h"
#include "database/self_validation.h"
#include "database/ui/validation_history.h"
#include "database/validation_examples.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QPointer>

namespace orvek {

void RecordViewPanel::MakeValidationActions()
{
    ActionStartValidation = MakeAction("ActionStartValidation", &RecordViewPanel::ActionStartValidationExecute);
    Action_ValidacnyProtokolOrvek
        = MakeAction("Action_ValidacnyProtokolOrvek", &RecordViewPanel::Action_ValidacnyProtokolOrvekExecute);
    const std::pair<const char*, QAction**> examples[] = { { "Action_S2", &Action_S2 }, { "Action_S3", &Action_S3 },
        { "Action_S4", &Action_S4 }, { "Action_S5_1", &Action_S5_1 }, { "Action_S5_2", &Action_S5_2 },
        { "Action_S6", &Action_S6 }, { "Action_S7", &Action_S7 }, { "Action_PSV", &Action_PSV } };
    for (const auto& [name, slot] : examples) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
            [this, action = QString::fromLatin1(name)] { ImportValidationExample(action); });
        addAction(action);
        *slot = action;
    }
}

void RecordViewPanel::ActionStartValidationExecute()
{
    MainTimerPause pause;
    if (!SelfValidationHook)
        SelfValidationHook = SelfValidation;
    // The window frees itself when it closes.
    QPointer<TfValidationHistory> history = new TfValidationHistory(window());
    history->exec();
    if (history)
        delete history.data();
}

void RecordViewPanel::Action_ValidacnyProtokolOrvekExecute()
{
    OpenDocument(ValidationFolder(LanguageID)
        + (LanguageID == 1 ? QStringLiteral("Validacny_protokol_pre_ORVEK.pdf")
                           : QStringLiteral("Validation_Report_for_ORVEK.pdf")));
}

void RecordViewPanel::ImportValidationExample(const QString& action)
{
    const TValidationExample* example = ValidationExampleOf(action);
    if (!example)
        return;
    const QString folder = ValidationFolder(LanguageID);
    const QString fileName = ValidationFileName(*example, LanguageID);
    // An example the program does not ship is said so instead of opening nothing.
    if (!QFileInfo::exists(folder + fileName)) {
        MessageDlg(GetString(22008, { fileName }), TMsgDlgType::mtInformation, mbOK);
        return;
    }
    ImportExampleAsRecord(folder, fileName);
}

} // namespace orvek
