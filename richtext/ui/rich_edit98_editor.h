#pragma once
// The full-size editor of formatted text, created once and reused: a caller loads RTF,
// shows it modally and, after Apply, takes ResultRtf. It offers clipboard, file, print,
// undo, find and replace, character and paragraph formatting, and serves the
// special-character palette while it is the palette's target.

#include "richtext/special_edit_target.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace orvek {

class TRichEdit98;
class TTextAttributes98;
class TfSetSpecialCharactersVariable;

// The find and the replace dialog of the editor (not modal).
class TEditorFindDialog : public QDialog {
    Q_OBJECT
public:
    TEditorFindDialog(QWidget* parent, bool replace);
    QLineEdit *FindText, *ReplaceText;
    QRadioButton *Up, *Down;
    QCheckBox *WholeWord, *MatchCase;
    QPushButton *FindNextBut, *ReplaceBut, *CancelBut;
    QLabel *FindLabel, *ReplaceLabel;
    // 1 search up, 2 whole word, 4 match case.
    int Options() const;
    // Captions in the current language.
    void RefreshTexts();

private:
    bool replace_;
};

class TfRichEdit98Editor : public QDialog, public TSpecialEditTarget {
    Q_OBJECT
public:
    explicit TfRichEdit98Editor(QWidget* owner = nullptr);
    ~TfRichEdit98Editor() override;

    TRichEdit98* Editor;
    QComboBox* FontColor;
    QComboBox* SizeList;
    QToolButton* ToolButtonSpecialCharacters;
    QAction* menuSpecialCharacters;
    QMenu *menuFile = nullptr, *menuEdit = nullptr, *menuFormat = nullptr;
    QTimer* Timer1;
    TEditorFindDialog *FindDialog, *ReplaceDialog;

    QAction *ActionCancel, *ActionCopy, *ActionPaste, *ActionSelectAll, *ActionSaveToFile, *ActionLoadFromFile,
        *ActionPrinPreview, *ActionPrint, *ActionUndo, *ActionRedo, *ActionBold, *ActionItalic, *ActionUnderline,
        *ActionLeft, *ActionCenter, *ActionRight, *ActionSuperscript, *ActionSubscript, *ActionApply, *ActionFindText,
        *ActionFindReplaceText, *ActionSetFont, *ActionWordWrap;

    QString ResultRtf;
    int UndoCount = 0;
    bool ReadOnlyMode = false;
    QPointer<TfSetSpecialCharactersVariable> SpecialCharsWindow;
    bool SizeListDropped = false;

    void SetReadOnly(bool Value);
    void RefreshTexts();
    // 2 prints (after the print dialog), 3 previews.
    void PrintOrPreview(int Mode);
    void InsertSpecialCharacter();
    TTextAttributes98& FontAttributesTarget();

    void Timer1Timer();
    void EditorSelectionChange();
    void FindDialogFind();
    void ReplaceDialogFind();
    void ReplaceDialogReplace();
    void SpecialCharactersClick();
    void ApplySizeList(bool markModified);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void ApplyTextsRichEdit98Editor();
    void BuildActions();
    void SetAlignment(int alignment);
    void SetScript(bool super);
    void OpenFind(TEditorFindDialog* dialog);
    void SaveToFile();
    void LoadFromFile();
    void SetFont();
    bool active_ = false;
    int replaceStart_ = 0;
    int foundPos_ = -1;
    int findOptions_ = 0;
};

inline TfRichEdit98Editor* fRichEdit98Editor = nullptr;

} // namespace orvek
