#include "app/placeholder_main_window.h"

#include "core/common_vars.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace orvek {

PlaceholderMainWindow::PlaceholderMainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("fOrvek1");
    setWindowTitle(ProgramTitle);
    programMenu_ = menuBar()->addMenu("&Program");
    programMenu_->addAction("E&xit", this, &QWidget::close);
    helpMenu_ = menuBar()->addMenu("&Help");
    auto* label = new QLabel(this);
    label->setAlignment(Qt::AlignCenter);
    label->setText(ProgramTitle);
    setCentralWidget(label);
    statusBar()->showMessage(AppDir);
    resize(900, 600);
}

void PlaceholderMainWindow::RestoreAndActivate()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace orvek
