// The folder routine of the dialog seam.

#include "platform/dialogs.h"
#include "tests/support/dialog_script.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace orvek
