#pragma once
// Keeps a window's position and the values of its controls in the user's settings
// store, under "Software\<program title>\<window name>" unless KeyName says otherwise:
// section "Position" (Left, Top, Width, Height, WindowState) and section "Values" (one
// value per control, named after the control). Every value is stored as text; a value
// that is missing or does not read as a number leaves the control as it is.

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace orvek {

enum TSaveValOpt { svEdit, svMemo, svCheckBox, svRadioButton, svListBox, svComboBox, svFontDialog };

class TFormSettings : public QObject {
    Q_OBJECT
public:
    // Owner is the window whose position and controls are kept.
    explicit TFormSettings(QWidget* owner);

    bool SavePosition = true;
    bool SaveValues = false;
    bool LoadValues = false;
    unsigned SaveValueOptions = 0x7F; // every TSaveValOpt; loading and saving cover all kinds
    // The control whose children are kept; null means the owner window.
    QPointer<QWidget> RootControl;

    QString KeyName() const;
    void SetKeyName(const QString& key) { keyName_ = key; }

    void LoadSettings();
    void SaveSettings();
    // Runs LoadSettings once the owner is fully built.
    void Loaded() { LoadSettings(); }

private:
    QWidget* OwnerWindow() const;
    QPointer<QWidget> owner_;
    QString keyName_;
};

} // namespace orvek
