#pragma once
// The help window: shows the program's HTML help pages and follows their links.

#include "core/services.h"

#include <QDialog>

class QLabel;
class QTextBrowser;

namespace orvek {

class TfHelp : public QDialog, public HelpService {
    Q_OBJECT
public:
    explicit TfHelp(QWidget* parent = nullptr);

    QTextBrowser* Browser = nullptr;
    // Above the pages when they are in another language than the program's (Czech
    // users read the Slovak pages).
    QLabel* LanguageNote = nullptr;

    void ShowHelpPage(const QString& path) override;
};

} // namespace orvek
