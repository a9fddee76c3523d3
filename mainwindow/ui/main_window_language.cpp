// The main window's language items: English and Slovak.

#include "core/common_vars.h"
#include "mainwindow/main_language.h"
#include "mainwindow/ui/main_window.h"

#include <QAction>

namespace orvek {

void TfOrvek1::SwitchToEnglish()
{
    SwitchProgramLanguage(0);
    RefreshTexts();
    SyncLanguageItems();
}

void TfOrvek1::SwitchToSlovak()
{
    SwitchProgramLanguage(1);
    RefreshTexts();
    SyncLanguageItems();
}

void TfOrvek1::SyncLanguageItems()
{
    ActionLanguageEnglish->setChecked(LanguageID == 0);
    ActionLanguageSlovak->setChecked(LanguageID == 1);
}

void TfOrvek1::ConnectLanguageActions()
{
    connect(ActionLanguageEnglish, &QAction::triggered, this, &TfOrvek1::SwitchToEnglish);
    connect(ActionLanguageSlovak, &QAction::triggered, this, &TfOrvek1::SwitchToSlovak);
    SyncLanguageItems();
}

} // namespace orvek
