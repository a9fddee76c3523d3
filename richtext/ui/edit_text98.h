#pragma once
// The small formatted text box of the cell dialogs: a rich edit on a panel of its
// dialog that shows mark-up text, gives it back as mark-up or plain text, types every
// character plainly in the box's font and size, and carries out the special-edit
// requests while it is the palette's target.

#include "richtext/special_edit_target.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace orvek {

class TRichEdit98;
class TfSetSpecialCharactersVariable;

class TEditText98 : public QObject, public TSpecialEditTarget {
    Q_OBJECT
public:
    TEditText98(QWidget* Owner, const QString& Text, int Width, int Height, int Left, int Top, bool AlignClient,
        bool ReadOnly, bool SingleLine, int FontSize, const QString& FontName, QWidget* Parent);
    ~TEditText98() override;

    void SetMarkupText(const QString& Text);
    void GetMarkupText(QString& Text);
    void GetPlainText(QString& Text);
    bool GetModified() const;
    void SetModified(bool modified);
    void ShowToolWindow();
    void HideToolWindow();

    // Exposed for the dialogs and tests; the box owns them.
    TRichEdit98* Edit;
    QTimer* Timer;
    bool SingleLine;
    QPointer<TfSetSpecialCharactersVariable> ToolWindow;
    QString FontName;
    int FontSize;

    void TimerTimer();
    void ApplyFormatting();
    void EditSelectionChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool EditKeyPress(const QString& text);
    bool EditKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void PasteFirstLine();
    bool readOnly_;
    QPointer<TRichEdit98> editGuard_;
    QPointer<QTimer> timerGuard_;
};

} // namespace orvek
