#include "core/common_vars.h"
#include "core/string_table.h"
#include "core/ui/wait_window.h"
#include "core/ui/wait_window_service.h"
#include "core/ui/wheel_filter.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// Writes down the keys and wheel turns it receives.
class Recorder : public QWidget {
public:
    Recorder() { setFocusPolicy(Qt::StrongFocus); }
    QList<int> keys;
    int wheels = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
    void wheelEvent(QWheelEvent* event) override
    {
        ++wheels;
        event->accept();
    }
};

// A turn as the window system delivers it: spontaneous, so that the application offers
// it to the parents of a widget that does not take it.
bool Turn(QWidget& target, QPoint delta)
{
    QWheelEvent event(QPointF(5, 5), target.mapToGlobal(QPointF(5, 5)), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(&target, &event);
    return event.isAccepted();
}

TEST(WheelToArrowKeys, VerticalTurnsBecomeArrowKeysOfTheFocusWidget)
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* focused = new Recorder;
    auto* underMouse = new Recorder;
    layout->addWidget(focused);
    layout->addWidget(underMouse);
    window.show();
    window.activateWindow();
    focused->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == focused; }, 5000));

    TWheelToArrowKeys filter;
    qApp->installEventFilter(&filter);
    Turn(*underMouse, { 0, 120 }); // away from the user
    Turn(*underMouse, { 0, -240 });
    Turn(*underMouse, { 0, 60 }); // half a notch, then the other half
    EXPECT_EQ(focused->keys, QList<int>({ Qt::Key_Up, Qt::Key_Down, Qt::Key_Down }));
    Turn(*underMouse, { 0, 60 });
    Turn(*underMouse, { 0, -60 }); // a turn back starts afresh
    Turn(*underMouse, { 0, -60 });
    EXPECT_EQ(focused->keys, QList<int>({ Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down }));
    EXPECT_EQ(underMouse->wheels, 0);

    // A horizontal turn goes on to the widget under the mouse.
    Turn(*underMouse, { 120, 0 });
    EXPECT_EQ(underMouse->wheels, 1);
    EXPECT_EQ(focused->keys.size(), 5);

    qApp->removeEventFilter(&filter);
    Turn(*underMouse, { 0, 120 });
    EXPECT_EQ(underMouse->wheels, 2);
    EXPECT_EQ(focused->keys.size(), 5);
}

class WaitWindowService : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
    }
    void TearDown() override
    {
        LanguageID = EditionFlag;
        WaitProgressActive = WaitCancelled = false;
        WaitProgressTotal = WaitProgressPosition = 0;
    }
};

TEST_F(WaitWindowService, ShowsTheMessageAndTheProgressAndTakesEsc)
{
    TfWait window;
    TWaitWindowProvider wait(window);
    WaitCancelled = true; // left over from an earlier wait
    wait.Show("Computing");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Panel1->text(), "Computing");
    EXPECT_FALSE(wait.Cancelled());
    wait.Progress(1, 4);
    EXPECT_TRUE(WaitProgressActive);
    EXPECT_EQ(WaitProgressPosition, 1);
    EXPECT_EQ(WaitProgressTotal, 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.windowTitle() == "  (25 %)"; }, 5000));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(wait.Cancelled());
    EXPECT_TRUE(window.isVisible()); // the work decides when to stop
    wait.Hide();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(WaitProgressActive);

    // Looked at: the sensitivity pass's message in English and Slovak.
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    for (quint8 language : { 0, 1 }) {
        LanguageID = language;
        wait.Show(GetString(21711));
        wait.Progress(13, 40);
        QTest::qWait(120);
        if (!folder.isEmpty())
            window.grab().save(folder + QString("/wait_window_%1.png").arg(language == 0 ? "en" : "sk"));
        wait.Hide();
    }
}

} // namespace
