#pragma once
// A font dialog placed on a window as a non-visual part: it holds the chosen font and
// colour, so that the window's saved values can include them, and asks the user through
// the dialog seam.

#include <QFont>
#include <QObject>

namespace orvek {

class TFontDialog : public QObject {
    Q_OBJECT
public:
    explicit TFontDialog(QObject* owner, const QString& name = QString());

    // Runs the font dialog on Font; True when the user confirmed a font.
    bool Execute();

    QFont Font;
    quint32 Color = 0; // $00BBGGRR
};

} // namespace orvek
