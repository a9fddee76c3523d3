#include "app/placeholder_main_window.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/help.h"
#include "core/string_table.h"
#include "core/ui/splash_window.h"
#include "core/ui/string_browser.h"
#include "database/data_module.h"
#include "database/ui/template_pick.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace orvek {

namespace {
// When no window manager activates the window, the splash still goes after this.
constexpr int kSplashFallbackMs = 4000;
} // namespace

PlaceholderMainWindow::PlaceholderMainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("fOrvek1");
    setWindowTitle(ProgramTitle);
    programMenu_ = menuBar()->addMenu("&Program");
    ActionProgramoveStringy
        = programMenu_->addAction("Program &strings...", this, &PlaceholderMainWindow::ActionProgramoveStringyExecute);
    ActionProgramoveStringy->setObjectName("ActionProgramoveStringy");
    ActionTemplates = programMenu_->addAction("&Templates...", this, &PlaceholderMainWindow::ActionTemplatesExecute);
    ActionTemplates->setObjectName("ActionTemplates");
    programMenu_->addSeparator();
    programMenu_->addAction("E&xit", this, &QWidget::close);
    helpMenu_ = menuBar()->addMenu("&Help");
    ActionHelpContents = helpMenu_->addAction("&Contents", [] { ShowHelpContents(); });
    ActionHelpContents->setObjectName("ActionHelpContents");
    ActionHelpGlossary = helpMenu_->addAction("&Glossary", [] { ShowHelpGlossary(); });
    ActionHelpGlossary->setObjectName("ActionHelpGlossary");
    helpMenu_->addSeparator();
    ActionAboutProgram = helpMenu_->addAction("&About...", this, &PlaceholderMainWindow::ActionAboutProgramExecute);
    ActionAboutProgram->setObjectName("ActionAboutProgram");
    auto* label = new QLabel(this);
    label->setAlignment(Qt::AlignCenter);
    label->setText(ProgramTitle);
    setCentralWidget(label);
    statusBar()->showMessage(AppDir);
    resize(900, 600);
    // Without a window manager no activation may come: the first-activation work
    // (splash, login) then runs after the same wait.
    QTimer::singleShot(kSplashFallbackMs, this, [this] {
        if (activatedOnce_) {
            CloseSplash();
            return;
        }
        activatedOnce_ = true;
        FormActivate();
    });
}

bool PlaceholderMainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
        activatedOnce_ = true;
        FormActivate();
    }
    return QMainWindow::event(event);
}

void PlaceholderMainWindow::FormActivate()
{
    CloseSplash();
    // The login runs once the activation has been handled, so its modal loop does not
    // nest inside the activation event.
    QTimer::singleShot(0, this, [] {
        if (DataModule1)
            DataModule1->LoginDialog();
    });
}

void PlaceholderMainWindow::CloseSplash()
{
    if (!fOrvekLoad)
        return;
    Delay(300);
    fOrvekLoad->hide();
    fOrvekLoad->deleteLater();
    fOrvekLoad = nullptr;
}

void PlaceholderMainWindow::ActionProgramoveStringyExecute()
{
    TfOrvek2 browser(this);
    fOrvek2 = &browser;
    browser.ActionCaption = ActionProgramoveStringy->text().remove('&').remove("...");
    browser.OpenStringList(0);
    browser.exec();
    // The frame has no numbered texts yet; the full main window re-applies its own
    // texts here when browser.StringsChanged is set.
    fOrvek2 = nullptr;
}

void PlaceholderMainWindow::ActionTemplatesExecute()
{
    // The template window, as the record creation will open it.
    PickTemplate(0, GetString(372));
}

void PlaceholderMainWindow::ActionAboutProgramExecute()
{
    auto* about = new TfOrvekAbout(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->exec();
}

void PlaceholderMainWindow::RestoreAndActivate()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void PlaceholderMainWindow::ApplyFolderGroupsSetting()
{
    // The frame shows no folders, so it has no group choice to show or hide.
}

} // namespace orvek
