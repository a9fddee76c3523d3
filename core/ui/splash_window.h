#pragma once
// The splash window shown while the program starts, and the about window. Their
// pictures are JPEG files in AppDir + "Pictures/"; a missing or damaged picture leaves
// the window without it.

#include "core/common_vars.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QTextBrowser;
class QPushButton;

namespace orvek {

class TLabel3D;

// The program version shown by both windows.
inline const QString kProgramVersion = QString::fromLatin1(kProgramVersionText);
// Text 583 + ": " + version + " (" + text 1116 + ")".
QString VersionCaption();
// Text 408 + " " + ProgramName.
QString AboutCaption();

class TfOrvekLoad : public QWidget {
    Q_OBJECT
public:
    explicit TfOrvekLoad(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr; // the picture, stretched over the window
    TLabel3D* Label_Version = nullptr;

    bool HasPicture() const;
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
};

inline TfOrvekLoad* fOrvekLoad = nullptr;

class TfOrvekAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfOrvekAbout(QWidget* parent = nullptr);

    QLabel* Label_ProgramName = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label_Version = nullptr;
    QLabel* Label_TechnicalSupport = nullptr;
    QTextBrowser* RichEdit_Kestrava = nullptr; // the makers' contact (edition 1)
    QTextBrowser* RichEdit_Brantel = nullptr; // the distributor's contact (edition 0)
    QPushButton* Button_Close = nullptr;

    bool HasPicture() const;
};

} // namespace orvek
