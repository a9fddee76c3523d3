// The dialog of an uncertainty cell with sources, opened through the cell tool.

#include "cell_dialog_fixture.h"

#include "core/number_format.h"
#include "core/string_table.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "platform/ui/rich_edit98.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace orvek::test {
namespace {

using Dialog = TfOrvek11;

TEST_F(CellDialogTest, GroupDialogEnterInTheCommentMeansOkAndTheCellTakesNameCommentAndActiveState)
{
    const QString u = group->FCombinedUncertainty;
    ASSERT_FALSE(u.isEmpty());
    WhenShown<Dialog>([&](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), GetString(261));
        EXPECT_EQ(d.Edit_HodnotaNeistoty->text(), FormatSignificantText(2, u));
        EXPECT_TRUE(d.Edit_HodnotaNeistoty->isReadOnly());
        EXPECT_TRUE(d.Button_Cancel->isVisible());
        d.Edit_NazovBunky->setText("Readings");
        d.CheckBox_Aktivita->setChecked(false);
        TRichEdit98* comment = d.Comment->RichEdit_PopisBunky;
        comment->setFocus();
        QTest::keyClicks(comment, "checked");
        QTest::keyClick(comment, Qt::Key_Return);
    });
    provider.EditProperties(group);
    EXPECT_EQ(group->FCellName.Text, "Readings");
    EXPECT_FALSE(group->FActive);
    EXPECT_TRUE(group->FCellComment.Text.contains("checked"));
    EXPECT_FALSE(group->FCellComment.Text.contains("\\par checked\\par"));
}

TEST_F(CellDialogTest, GroupDialogCancelChangesNothing)
{
    group->FCellComment.Text = "[cf3]bold[cf1] note";
    WhenShown<Dialog>([](Dialog& d) {
        d.Edit_NazovBunky->setText("Other");
        QTest::keyClicks(d.Comment->RichEdit_PopisBunky, "x");
        d.CheckBox_Aktivita->setChecked(false);
        d.Button_Cancel->click();
    });
    provider.EditProperties(group);
    EXPECT_EQ(group->FCellName.Text, "Group");
    EXPECT_EQ(group->FCellComment.Text, "[cf3]bold[cf1] note");
    EXPECT_TRUE(group->FActive);
}

TEST_F(CellDialogTest, GroupDialogEditLevels)
{
    group->FDegreesOfFreedom = "Nekonecno";
    group->FCellComment.Lock = 1;
    struct Case {
        int level;
        bool viewOnly;
        bool cancelShown, nameWritable, commentWritable, activeEnabled;
    };
    const Case cases[] = {
        { 0, true, false, false, false, false },
        { 1, false, true, true, false, true }, // the comment is template-locked
        { 2, false, true, true, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EditMode = quint8(c.level);
        bool seen = false;
        WhenShown<Dialog>([&](Dialog& d) {
            seen = true;
            EXPECT_EQ(d.Button_Cancel->isVisible(), c.cancelShown);
            EXPECT_EQ(!d.Edit_NazovBunky->isReadOnly(), c.nameWritable);
            EXPECT_EQ(!d.Comment->RichEdit_PopisBunky->isReadOnly(), c.commentWritable);
            EXPECT_EQ(d.Comment->SpeedButton_Editor->isEnabled(), c.commentWritable);
            EXPECT_EQ(d.Comment->SpeedButton_PasteComment->isEnabled(), c.commentWritable);
            EXPECT_EQ(d.CheckBox_Aktivita->isEnabled(), c.activeEnabled);
            EXPECT_TRUE(d.Panel_Nekonecno->isVisible());
            EXPECT_FALSE(d.Edit_PocetStupnovVolnosti->isVisible());
            d.Button_OK->click();
        });
        if (c.viewOnly)
            provider.ViewProperties(group);
        else
            provider.EditProperties(group);
        EXPECT_TRUE(seen);
        EXPECT_EQ(group->FCellName.Text, "Group");
    }
}

} // namespace
} // namespace orvek::test
