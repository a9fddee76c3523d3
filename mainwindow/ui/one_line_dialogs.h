#pragma once
// The small long-lived dialogs that ask for one line: formatted text (a quantity name
// or unit as mark-up), plain text, and a new symbol for a quantity. The callers set
// caption and label, show them modally and read the result after OK (exec() gives 1)
// or Cancel (2).

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace orvek {

class TEditText98;

// One line of formatted text in a TEditText98 box with its tool window of formatting
// and special characters.
class TfEditSpecialString : public QDialog {
    Q_OBJECT
public:
    explicit TfEditSpecialString(QWidget* parent = nullptr);
    ~TfEditSpecialString() override;

    QLabel* EditName = nullptr; // the label the caller sets
    QWidget* Panel3 = nullptr; // holds the box
    QWidget* Panel2 = nullptr; // the button bar
    QPushButton* sbCancel = nullptr;
    QPushButton* sbSpecial = nullptr;
    QPushButton* sbAccept = nullptr;
    TEditText98* FTextBox = nullptr;

    // In: the text given to LoadText. Out after OK: the box's mark-up, trimmed.
    QString FMarkupText;
    // Out after OK: the box's plain text, untrimmed.
    QString FPlainText;

    void RefreshTexts();
    // Shows Text in the box; the caption stays as the caller set it.
    void LoadText(const QString& Text);
    void sbAcceptClick();
    void sbCancelClick();
    void sbSpecialClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyButtonTexts();
};

// One line of plain text; an empty text may be confirmed.
class TfEditString : public QDialog {
    Q_OBJECT
public:
    explicit TfEditString(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* SpeedButton_Cancel = nullptr; // "Quit"
    QPushButton* SpeedButton_OK = nullptr; // "OK"

protected:
    void showEvent(QShowEvent* event) override;
};

// A new symbol for a quantity of the equation dialog. OK is enabled while the new
// symbol is not empty and differs from the current one.
class TfRenameVar : public QDialog {
    Q_OBJECT
public:
    explicit TfRenameVar(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit_AktualnySymbol = nullptr; // read-only
    QLineEdit* Edit_NovySymbol = nullptr;
    QPushButton* Button1 = nullptr; // Cancel
    QPushButton* Button2 = nullptr; // OK
    QTimer* Timer1 = nullptr; // 100 ms, while shown

    void FormActivate();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

inline TfEditSpecialString* fEditSpecialString = nullptr;
inline TfEditString* fEditString = nullptr;
inline TfRenameVar* fRenameVar = nullptr;

} // namespace orvek
