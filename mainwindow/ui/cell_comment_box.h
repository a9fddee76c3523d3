#pragma once
// The comment of the cell dialogs: a rich-text box with its label, the buttons that open
// the shared rich-text editor, copy and paste, and a popup menu (editor, word wrap).
// The dialog places Panel; the box loads a stored comment (RTF or mark-up) and gives
// its content back as RTF.

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QWidget;

namespace orvek {

class TRichEdit98;

class TCellCommentBox : public QObject {
    Q_OBJECT
public:
    explicit TCellCommentBox(QWidget* parent);

    QWidget* Panel = nullptr;
    QLabel* Label = nullptr; // the caller names it and sets its text
    TRichEdit98* RichEdit_PopisBunky = nullptr;
    QToolButton* SpeedButton_Editor = nullptr;
    QToolButton* SpeedButton_CopyComment = nullptr;
    QToolButton* SpeedButton_PasteComment = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* Fullwindow = nullptr;
    QAction* WordWrap1 = nullptr;

    // Empties the box and shows Comment: as RTF when it is RTF, otherwise rendered from
    // mark-up in the cell font; the box then takes the cell font and is not modified.
    void Load(const QString& Comment);
    // Read-only box and disabled editor, copy and paste buttons.
    void SetLocked(bool locked);
    void ApplyReadOnlyColor();
    // The whole content as RTF, prepared for saving.
    QString ReadRtf();

    // Opens the shared rich-text editor on the comment with Caption; True when the box
    // took the editor's result.
    bool OpenEditor(const QString& Caption);
    void CopyComment();
    void PasteComment();
    void WordWrap1Click();

Q_SIGNALS:
    // The box took a text from the editor.
    void EditedInEditor();
};

} // namespace orvek
