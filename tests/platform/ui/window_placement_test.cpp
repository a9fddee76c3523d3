#include "platform/ui/window_placement.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace orvek {
namespace {

// A dialog whose contents need Width x Height, with a row of buttons below them: a
// button box, or a panel of push buttons beside a check box (as the chart windows have).
struct WideDialog {
    explicit WideDialog(QSize contents, bool buttonBox, QWidget* parent = nullptr)
        : dialog(parent)
    {
        auto* layout = new QVBoxLayout(&dialog);
        auto* big = new QLabel(QStringLiteral("contents"), &dialog);
        big->setMinimumSize(contents);
        layout->addWidget(big);
        if (buttonBox) {
            auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
            ok = box->button(QDialogButtonBox::Ok);
            layout->addWidget(box);
        } else {
            auto* row = new QHBoxLayout;
            row->addStretch(1);
            ok = new QPushButton(QStringLiteral("OK"), &dialog);
            ok->setObjectName(QStringLiteral("Button_OK"));
            row->addWidget(ok);
            row->addWidget(new QPushButton(QStringLiteral("Cancel"), &dialog));
            layout->addLayout(row);
        }
    }
    QDialog dialog;
    QPushButton* ok = nullptr;
};

class WindowPlacement : public ::testing::Test {
protected:
    void SetUp() override { qApp->installEventFilter(&conventions); }
    void TearDown() override { qApp->removeEventFilter(&conventions); }
    WindowConventions conventions;
};

TEST_F(WindowPlacement, AWindowLargerThanTheScreenScrollsItsContentsAndKeepsItsButtonsInSight)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (bool buttonBox : { true, false }) {
        for (QSize contents : { QSize(area.width() + 300, 200), QSize(300, area.height() + 300),
                 QSize(area.width() + 100, area.height() + 100) }) {
            SCOPED_TRACE(testing::Message() << buttonBox << " " << contents.width() << "x" << contents.height());
            WideDialog wide(contents, buttonBox);
            wide.dialog.move(area.right() - 50, area.bottom() - 50);
            wide.dialog.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&wide.dialog));
            const QSize room = WindowRoom(&wide.dialog).size();
            EXPECT_LE(wide.dialog.width(), room.width());
            EXPECT_LE(wide.dialog.height(), room.height());
            EXPECT_TRUE(area.contains(wide.dialog.frameGeometry()));
            EXPECT_NE(wide.dialog.findChild<QScrollArea*>(), nullptr);
            const QRect ok(wide.ok->mapTo(&wide.dialog, QPoint()), wide.ok->size());
            EXPECT_TRUE(wide.dialog.rect().contains(ok));
            EXPECT_FALSE(wide.ok->parentWidget()->inherits("QScrollArea"));
            // OK is the button Enter presses.
            EXPECT_TRUE(wide.ok->isDefault());
            // Shown again, nothing is wrapped twice.
            wide.dialog.hide();
            wide.dialog.show();
            EXPECT_EQ(wide.dialog.findChildren<QScrollArea*>().size(), 1);
        }
    }
}

TEST_F(WindowPlacement, AWindowThatFitsKeepsItsLayoutAndIsMovedOntoTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    WideDialog small(QSize(300, 200), false);
    small.dialog.move(area.right() + 200, area.top() - 100);
    small.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&small.dialog));
    EXPECT_EQ(small.dialog.findChild<QScrollArea*>(), nullptr);
    EXPECT_TRUE(area.contains(small.dialog.frameGeometry()));
}

TEST_F(WindowPlacement, AToolWindowOpensBesideTheWindowItServes)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QDialog owner;
    owner.resize(400, 300);
    owner.move(area.center() - QPoint(200, 150));
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QDialog tool(&owner, Qt::Tool);
    tool.resize(360, 105);
    tool.show();
    PlaceBeside(&tool, &owner);
    EXPECT_FALSE(tool.frameGeometry().intersects(owner.frameGeometry()));
    EXPECT_TRUE(area.contains(tool.frameGeometry()));
}

TEST_F(WindowPlacement, ADialogOpenedFromAnotherWindowBelongsToItWhileOpenAndGoesBackAfter)
{
    QDialog main, opener;
    QDialog kept(&main);
    {
        const OpenedFrom opened(&kept, &opener);
        EXPECT_EQ(kept.parentWidget(), &opener);
        EXPECT_TRUE(kept.isWindow());
    }
    EXPECT_EQ(kept.parentWidget(), &main);
    // The opener ends before the kept dialog would: it is not taken along.
    auto temporary = std::make_unique<QDialog>();
    {
        const OpenedFrom opened(&kept, temporary.get());
    }
    temporary.reset();
    EXPECT_EQ(kept.parentWidget(), &main);
}

} // namespace
} // namespace orvek
