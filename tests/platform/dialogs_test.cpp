// The folder routine and the message buttons of the dialog seam.

#include "platform/dialogs.h"
#include "tests/support/dialog_script.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvek {
namespace {

TEST(FolderDialog, ChosenFolderEndsWithASlashAndCancelKeepsTheStart)
{
    auto& script = test::DialogScript::Instance();
    QString folder = QStringLiteral("/data/backup/");
    script.AnswerFolder(QStringLiteral("/data/other"));
    ASSERT_TRUE(SelectFolderDialog(QStringLiteral("Backup"), folder));
    EXPECT_EQ(folder, QStringLiteral("/data/other/"));
    script.AnswerFolder(QString());
    EXPECT_FALSE(SelectFolderDialog(QStringLiteral("Backup"), folder));
    EXPECT_EQ(folder, QStringLiteral("/data/other/"));
    EXPECT_EQ(script.FolderDialogStarts, (QStringList { "/data/backup/", "/data/other/" }));
    EXPECT_TRUE(script.AllAnswered());
}

// Records the buttons each box is shown with and answers with the first of them.
class ButtonRecorder : public DialogHandler {
public:
    TMsgDlgButtons Shown = 0;
    int MessageDlg(const QString&, TMsgDlgType, TMsgDlgButtons buttons, int) override
    {
        Shown = buttons;
        for (const auto& [button, result] : { std::pair { mbOK, mrOk }, { mbYes, mrYes }, { mbRetry, mrRetry } })
            if (buttons & button)
                return result;
        return mrCancel;
    }
    bool OpenFileDialog(FileDialogRequest&) override { return false; }
    bool SaveFileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(std::uint32_t&) override { return false; }
    bool FontDialog(QString&, int&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
};

TEST(MessageButtons, ABoxWithoutAChoiceIsClosedWithOkAndAnswersWhatItsCallerAskedFor)
{
    struct Case {
        TMsgDlgButtons asked, shown;
        int answer;
    };
    const Case cases[] = {
        { mbCancel, mbOK, mrCancel },
        { mbRetry, mbOK, mrRetry },
        { mbAbort, mbOK, mrAbort },
        { mbCancel | mbHelp, mbOK | mbHelp, mrCancel },
        { mbOK, mbOK, mrOk },
        // A real choice keeps its buttons.
        { mbRetry | mbCancel, mbRetry | mbCancel, mrRetry },
        { mbYes | mbCancel, mbYes | mbCancel, mrYes },
        { mbYes | mbNo | mbRetry, mbYes | mbNo | mbRetry, mrYes },
    };
    ButtonRecorder recorder;
    DialogHandler* previous = SetDialogHandler(&recorder);
    for (const Case& c : cases) {
        EXPECT_EQ(MessageDlg(QStringLiteral("refused"), TMsgDlgType::mtWarning, c.asked), c.answer) << c.asked;
        EXPECT_EQ(recorder.Shown, c.shown) << c.asked;
    }
    SetDialogHandler(previous);
}

} // namespace
} // namespace orvek
