// The tool bars of the program's windows show pictures from one icon theme and the
// program's own pictures: every tool has one, and an action has the same picture in
// every window.

#include "core/ui/tool_icons.h"
#include "database/ui/db_navigator.h"
#include "database/ui/template_window.h"
#include "tests/app/program_fixture.h"

#include <QDir>
#include <QImage>
#include <QMap>
#include <QToolBar>
#include <QToolButton>

using namespace orvek;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

// The picture names of the actions on Window's tool bars, by action name; a tool
// without a picture is a failure.
QMap<QString, QString> ToolBarPictures(QWidget& window)
{
    QMap<QString, QString> pictures;
    for (QToolBar* bar : window.findChildren<QToolBar*>()) {
        if (bar->window() != &window)
            continue;
        QList<QAction*> actions = bar->actions();
        for (QToolButton* button : bar->findChildren<QToolButton*>())
            if (button->defaultAction())
                actions.append(button->defaultAction());
        for (QAction* action : actions) {
            if (action->isSeparator() || action->objectName().isEmpty())
                continue;
            // The table's name, or none for a picture the window draws from its data
            // (the metals of the control-chart imports).
            const QString name = action->property("toolIcon").toString();
            EXPECT_FALSE(action->icon().isNull())
                << window.objectName().toStdString() << ": " << action->objectName().toStdString() << " ("
                << name.toStdString() << ") has no picture";
            if (!name.isEmpty())
                pictures.insert(action->objectName(), name);
        }
    }
    return pictures;
}

// Whether Icon draws anything at 22 pixels.
bool Draws(const QIcon& icon)
{
    const QImage image = icon.pixmap(22, 22).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

class ToolIcons : public ProgramTest { };

TEST_F(ToolIcons, OwnAndThemePicturesDraw)
{
    const QStringList own = QDir(QStringLiteral(":/orvek-icons")).entryList({ QStringLiteral("*.svg") });
    ASSERT_FALSE(own.isEmpty());
    for (const QString& file : own)
        EXPECT_TRUE(Draws(ToolIcon(file.chopped(4)))) << file.toStdString();
    for (const char* name : { "edit-undo", "document-print", "folder-new", "zoom-in" })
        EXPECT_TRUE(Draws(ToolIcon(QString::fromLatin1(name)))) << name;
}

TEST_F(ToolIcons, EveryToolHasItsPictureAndOneActionOnePictureEverywhere)
{
    StartAsAdministrator();
    const QMap<QString, QString> main = ToolBarPictures(Main());
    EXPECT_GE(main.size(), 20);
    QMap<QString, QString> templates;
    QStringList navigator;
    WhenShown<TfOrvekDB>([&templates, &navigator](TfOrvekDB& window) {
        templates = ToolBarPictures(window);
        for (auto* bar : window.findChildren<TDBNavigator*>())
            for (QToolButton* button : { bar->ButtonFirst, bar->ButtonPrior, bar->ButtonNext, bar->ButtonLast })
                navigator << button->icon().name();
        window.reject();
    });
    Action("ActionNewRecFromTemplateTree")->trigger();
    ASSERT_GE(templates.size(), 20);
    // The record navigator steps with the theme's four arrows, as every navigator does.
    ASSERT_FALSE(navigator.isEmpty());
    EXPECT_EQ(navigator.mid(0, 4), QStringList({ "go-first", "go-previous", "go-next", "go-last" }));
    int shared = 0;
    for (auto it = main.cbegin(); it != main.cend(); ++it)
        if (templates.contains(it.key())) {
            ++shared;
            EXPECT_EQ(templates.value(it.key()), it.value()) << it.key().toStdString();
        }
    EXPECT_GE(shared, 10);
}

} // namespace
