#include "richtext/ui/rich_edit98_editor.h"
#include "core/ui/tool_icons.h"

#include "core/common_vars.h"
#include "core/special_edit.h"
#include "core/string_table.h"
#include "core/ui/ui_text.h"
#include "platform/dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/markup_read.h"
#include "richtext/ui/preview_printer.h"
#include "richtext/ui/special_characters_windows.h"
#include "richtext/ui/special_edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace orvek {

namespace {

// The size list knows when the user dropped it down.
class TSizeList : public QComboBox {
public:
    TSizeList(QWidget* parent, bool* dropped)
        : QComboBox(parent)
        , dropped_(dropped)
    {
    }
    void showPopup() override
    {
        *dropped_ = true;
        QComboBox::showPopup();
    }

private:
    bool* dropped_;
};

// The names of kColors, in the same order, are the texts from here on.
constexpr int kFirstColorNameText = 23804;

const std::pair<const char*, QColor> kColors[] = { { "Black", Qt::black }, { "Maroon", QColor(128, 0, 0) },
    { "Green", QColor(0, 128, 0) }, { "Olive", QColor(128, 128, 0) }, { "Navy", QColor(0, 0, 128) },
    { "Purple", QColor(128, 0, 128) }, { "Teal", QColor(0, 128, 128) }, { "Gray", QColor(128, 128, 128) },
    { "Silver", QColor(192, 192, 192) }, { "Red", Qt::red }, { "Lime", Qt::green }, { "Yellow", Qt::yellow },
    { "Blue", Qt::blue }, { "Fuchsia", Qt::magenta }, { "Aqua", Qt::cyan }, { "White", Qt::white } };

} // namespace

TEditorFindDialog::TEditorFindDialog(QWidget* parent, bool replace)
    : QDialog(parent)
    , replace_(replace)
{
    setObjectName(replace ? "ReplaceDialog" : "FindDialog");
    auto* grid = new QGridLayout(this);
    FindText = new QLineEdit(this);
    FindText->setObjectName("FindText");
    ReplaceText = new QLineEdit(this);
    ReplaceText->setObjectName("ReplaceText");
    FindLabel = new QLabel(this);
    ReplaceLabel = new QLabel(this);
    grid->addWidget(FindLabel, 0, 0);
    grid->addWidget(FindText, 0, 1);
    if (replace) {
        grid->addWidget(ReplaceLabel, 1, 0);
        grid->addWidget(ReplaceText, 1, 1);
    } else {
        ReplaceText->hide();
        ReplaceLabel->hide();
    }
    Up = new QRadioButton(this);
    Down = new QRadioButton(this);
    Down->setChecked(true);
    WholeWord = new QCheckBox(this);
    MatchCase = new QCheckBox(this);
    grid->addWidget(WholeWord, 2, 0);
    grid->addWidget(MatchCase, 3, 0);
    if (!replace) {
        grid->addWidget(Up, 2, 1);
        grid->addWidget(Down, 3, 1);
    } else {
        Up->hide();
        Down->hide();
    }
    FindNextBut = new QPushButton(this);
    FindNextBut->setObjectName("FindNextBut");
    ReplaceBut = new QPushButton(this);
    ReplaceBut->setObjectName("ReplaceBut");
    ReplaceBut->setVisible(replace);
    CancelBut = new QPushButton(this);
    connect(CancelBut, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(FindNextBut, 0, 2);
    grid->addWidget(ReplaceBut, 1, 2);
    grid->addWidget(CancelBut, 2, 2);
    setModal(false);
    RefreshTexts();
}

void TEditorFindDialog::RefreshTexts()
{
    setWindowTitle(replace_ ? UiText(728, "Replace") : UiText(727, "Find"));
    FindLabel->setText(UiText(22152, "Find what:"));
    ReplaceLabel->setText(UiText(22153, "Replace with:"));
    Up->setText(UiText(22154, "Up"));
    Down->setText(UiText(22155, "Down"));
    WholeWord->setText(UiText(22156, "Match whole word only"));
    MatchCase->setText(UiText(22157, "Match case"));
    FindNextBut->setText(UiText(22158, "Find next"));
    ReplaceBut->setText(UiText(728, "Replace"));
    CancelBut->setText(UiText(4, "Cancel"));
}

int TEditorFindDialog::Options() const
{
    return (Down->isChecked() ? 0 : 1) | (WholeWord->isChecked() ? 2 : 0) | (MatchCase->isChecked() ? 4 : 0);
}

TfRichEdit98Editor::TfRichEdit98Editor(QWidget* owner)
    : QDialog(owner)
{
    setObjectName("fRichEdit98Editor");
    resize(760, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Editor = new TRichEdit98(this);
    Editor->setObjectName("Editor");
    FontColor = new QComboBox(this);
    FontColor->setObjectName("FontColor");
    for (const auto& [name, color] : kColors) {
        QPixmap swatch(12, 12);
        swatch.fill(color);
        FontColor->addItem(QIcon(swatch), name, color);
    }
    SizeList = new TSizeList(this, &SizeListDropped);
    SizeList->setObjectName("SizeList");
    SizeList->setEditable(true);
    for (int size : { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 })
        SizeList->addItem(QString::number(size));
    SizeList->setEditText("10");
    Timer1 = new QTimer(this);
    Timer1->setInterval(200);
    FindDialog = new TEditorFindDialog(this, false);
    ReplaceDialog = new TEditorFindDialog(this, true);

    BuildActions();

    auto* menuBar = new QMenuBar(this);
    menuFile = menuBar->addMenu(QString());
    QMenu* file = menuFile;
    file->addActions({ ActionLoadFromFile, ActionSaveToFile, ActionPrinPreview, ActionPrint });
    file->addSeparator();
    file->addActions({ ActionApply, ActionCancel });
    menuEdit = menuBar->addMenu(QString());
    QMenu* edit = menuEdit;
    edit->addActions(
        { ActionUndo, ActionRedo, ActionCopy, ActionPaste, ActionSelectAll, ActionFindText, ActionFindReplaceText });
    menuFormat = menuBar->addMenu(QString());
    QMenu* format = menuFormat;
    format->addActions({ ActionBold, ActionItalic, ActionUnderline, ActionSuperscript, ActionSubscript, ActionLeft,
        ActionCenter, ActionRight, ActionSetFont, ActionWordWrap });
    menuSpecialCharacters = format->addAction("Special characters");
    menuSpecialCharacters->setObjectName("menuSpecialCharacters");
    layout->setMenuBar(menuBar);

    auto* bar = new QToolBar(this);
    bar->addActions({ ActionApply, ActionCancel });
    bar->addSeparator();
    bar->addActions({ ActionLoadFromFile, ActionSaveToFile, ActionPrinPreview, ActionPrint });
    bar->addSeparator();
    bar->addActions({ ActionUndo, ActionRedo, ActionCopy, ActionPaste, ActionFindText });
    bar->addSeparator();
    layout->addWidget(bar);
    bar = new QToolBar(this);
    bar->addWidget(SizeList);
    bar->addWidget(FontColor);
    bar->addActions({ ActionBold, ActionItalic, ActionUnderline, ActionSuperscript, ActionSubscript, ActionLeft,
        ActionCenter, ActionRight, ActionSetFont, ActionWordWrap });
    ToolButtonSpecialCharacters = new QToolButton(bar);
    ToolButtonSpecialCharacters->setObjectName("ToolButtonSpecialCharacters");
    ToolButtonSpecialCharacters->setText("Ω");
    bar->addWidget(ToolButtonSpecialCharacters);
    layout->addWidget(bar);
    layout->addWidget(Editor, 1);

    connect(Timer1, &QTimer::timeout, this, &TfRichEdit98Editor::Timer1Timer);
    connect(Editor, &QTextEdit::selectionChanged, this, &TfRichEdit98Editor::EditorSelectionChange);
    connect(Editor, &QTextEdit::cursorPositionChanged, this, &TfRichEdit98Editor::EditorSelectionChange);
    connect(ToolButtonSpecialCharacters, &QToolButton::clicked, this, &TfRichEdit98Editor::SpecialCharactersClick);
    connect(menuSpecialCharacters, &QAction::triggered, this, &TfRichEdit98Editor::SpecialCharactersClick);
    connect(FontColor, &QComboBox::activated, this, [this](int index) {
        if (!active_ || index < 0)
            return;
        Editor->SelAttributes().SetColor(FontColor->itemData(index).value<QColor>());
        Editor->setFocus();
        Editor->SetModified(true);
    });
    connect(SizeList, &QComboBox::currentIndexChanged, this, [this] {
        if (SizeListDropped)
            ApplySizeList(true);
    });
    connect(SizeList->lineEdit(), &QLineEdit::returnPressed, this, [this] { ApplySizeList(false); });
    connect(FindDialog->FindNextBut, &QPushButton::clicked, this, &TfRichEdit98Editor::FindDialogFind);
    connect(ReplaceDialog->FindNextBut, &QPushButton::clicked, this, &TfRichEdit98Editor::ReplaceDialogFind);
    connect(ReplaceDialog->ReplaceBut, &QPushButton::clicked, this, &TfRichEdit98Editor::ReplaceDialogReplace);
    connect(FindDialog, &QDialog::finished, this, [this] { replaceStart_ = 0; });
    connect(ReplaceDialog, &QDialog::finished, this, [this] { replaceStart_ = 0; });

    ApplyTextsRichEdit98Editor();
    SetToolIcons(this);
}

TfRichEdit98Editor::~TfRichEdit98Editor()
{
    Timer1->stop();
    Editor->disconnect(this);
}

void TfRichEdit98Editor::BuildActions()
{
    auto make = [this](const char* name, const QString& text, bool checkable = false) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        a->setCheckable(checkable);
        addAction(a);
        return a;
    };
    ActionCancel = make("ActionCancel", "Cancel");
    ActionCopy = make("ActionCopy", "Copy");
    ActionPaste = make("ActionPaste", "Paste");
    ActionSelectAll = make("ActionSelectAll", "Select all");
    ActionSaveToFile = make("ActionSaveToFile", "Save");
    ActionLoadFromFile = make("ActionLoadFromFile", "Load");
    ActionPrinPreview = make("ActionPrinPreview", "Preview");
    ActionPrint = make("ActionPrint", "Print");
    ActionUndo = make("ActionUndo", "Undo");
    ActionRedo = make("ActionRedo", "Redo");
    ActionBold = make("ActionBold", "Bold", true);
    ActionItalic = make("ActionItalic", "Italic", true);
    ActionUnderline = make("ActionUnderline", "Underline", true);
    ActionLeft = make("ActionLeft", "Left", true);
    ActionCenter = make("ActionCenter", "Centre", true);
    ActionRight = make("ActionRight", "Right", true);
    ActionSuperscript = make("ActionSuperscript", "Superscript", true);
    ActionSubscript = make("ActionSubscript", "Subscript", true);
    ActionApply = make("ActionApply", "OK");
    ActionFindText = make("ActionFindText", "Find");
    ActionFindText->setShortcut(QKeySequence("Ctrl+F"));
    ActionFindReplaceText = make("ActionFindReplaceText", "Replace");
    ActionFindReplaceText->setShortcut(QKeySequence("Ctrl+H"));
    ActionSetFont = make("ActionSetFont", "Font");
    ActionWordWrap = make("ActionWordWrap", "Word wrap", true);

    connect(ActionCancel, &QAction::triggered, this, &QDialog::reject);
    connect(ActionApply, &QAction::triggered, this, [this] {
        PrepareRichEditForSave(Editor->document());
        Editor->selectAll();
        ResultRtf = QString::fromLatin1(Editor->GetRTFData());
        accept();
    });
    connect(ActionCopy, &QAction::triggered, Editor, &QTextEdit::copy);
    connect(ActionSelectAll, &QAction::triggered, Editor, &QTextEdit::selectAll);
    connect(ActionPaste, &QAction::triggered, this, [this] {
        Editor->paste();
        Editor->SetModified(true);
    });
    connect(ActionSaveToFile, &QAction::triggered, this, &TfRichEdit98Editor::SaveToFile);
    connect(ActionLoadFromFile, &QAction::triggered, this, &TfRichEdit98Editor::LoadFromFile);
    connect(ActionPrint, &QAction::triggered, this, [this] { PrintOrPreview(2); });
    connect(ActionPrinPreview, &QAction::triggered, this, [this] { PrintOrPreview(3); });
    connect(ActionUndo, &QAction::triggered, this, [this] {
        Editor->Undo();
        ++UndoCount;
    });
    connect(ActionRedo, &QAction::triggered, this, [this] { Editor->Redo(); });
    connect(ActionBold, &QAction::triggered, this, [this](bool on) {
        Editor->SelAttributes().SetBold(on);
        Editor->SetModified(true);
    });
    connect(ActionItalic, &QAction::triggered, this, [this](bool on) {
        Editor->SelAttributes().SetItalic(on);
        Editor->SetModified(true);
    });
    connect(ActionUnderline, &QAction::triggered, this, [this](bool on) {
        Editor->SelAttributes().SetUnderline(on ? 1 : 0);
        Editor->SetModified(true);
    });
    connect(ActionLeft, &QAction::triggered, this, [this] { SetAlignment(0); });
    connect(ActionCenter, &QAction::triggered, this, [this] { SetAlignment(2); });
    connect(ActionRight, &QAction::triggered, this, [this] { SetAlignment(1); });
    connect(ActionSuperscript, &QAction::triggered, this, [this] { SetScript(true); });
    connect(ActionSubscript, &QAction::triggered, this, [this] { SetScript(false); });
    connect(ActionFindText, &QAction::triggered, this, [this] { OpenFind(FindDialog); });
    connect(ActionFindReplaceText, &QAction::triggered, this, [this] { OpenFind(ReplaceDialog); });
    connect(ActionSetFont, &QAction::triggered, this, &TfRichEdit98Editor::SetFont);
    connect(ActionWordWrap, &QAction::triggered, this, [this](bool on) {
        Editor->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        Editor->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    });
}

void TfRichEdit98Editor::ApplyTextsRichEdit98Editor()
{
    menuFile->setTitle(UiText(79, "File"));
    menuEdit->setTitle(UiText(80, "Edit"));
    menuFormat->setTitle(UiText(22150, "Format"));
    ActionWordWrap->setText(UiText(22151, "Word wrap"));
    FindDialog->RefreshTexts();
    ReplaceDialog->RefreshTexts();
    FontColor->setToolTip(UiText(731, "Font colour"));
    // The colours' names follow their order in kColors.
    for (int i = 0; i < FontColor->count(); ++i)
        FontColor->setItemText(i, UiText(kFirstColorNameText + i, QString::fromLatin1(kColors[i].first)));
    const QString special = UiText(760, "Special characters");
    ToolButtonSpecialCharacters->setToolTip(special);
    menuSpecialCharacters->setText(special);
    const std::pair<QAction*, int> texts[] = { { ActionApply, 710 }, { ActionCancel, 4 }, { ActionCopy, 702 },
        { ActionPaste, 371 }, { ActionSelectAll, 717 }, { ActionSaveToFile, 705 }, { ActionLoadFromFile, 718 },
        { ActionPrinPreview, 570 }, { ActionPrint, 569 }, { ActionUndo, 368 }, { ActionRedo, 369 }, { ActionBold, 719 },
        { ActionItalic, 720 }, { ActionUnderline, 721 }, { ActionLeft, 723 }, { ActionCenter, 722 },
        { ActionRight, 724 }, { ActionSuperscript, 725 }, { ActionSubscript, 726 }, { ActionFindText, 727 },
        { ActionFindReplaceText, 728 }, { ActionSetFont, 729 } };
    for (const auto& [action, id] : texts) {
        const QString text = UiText(id, action->text());
        action->setText(text);
        action->setToolTip(text);
    }
}

void TfRichEdit98Editor::RefreshTexts()
{
    ApplyTextsRichEdit98Editor();
}

void TfRichEdit98Editor::SetReadOnly(bool Value)
{
    ReadOnlyMode = Value;
    Editor->setReadOnly(Value);
    for (QAction* a : { ActionPaste, ActionLoadFromFile, ActionUndo, ActionRedo, ActionBold, ActionItalic,
             ActionUnderline, ActionLeft, ActionCenter, ActionRight, ActionSuperscript, ActionSubscript, ActionApply,
             ActionSetFont, menuSpecialCharacters })
        a->setEnabled(!Value);
    FontColor->setEnabled(!Value);
    SizeList->setEnabled(!Value);
}

void TfRichEdit98Editor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    for (QAction* a : { ActionBold, ActionItalic, ActionUnderline, ActionSuperscript, ActionSubscript, ActionLeft,
             ActionCenter, ActionRight })
        a->setChecked(false);
    active_ = true;
    EditorSelectionChange();
    Editor->setFocus();
    ActionWordWrap->setChecked(Editor->lineWrapMode() != QTextEdit::NoWrap);
    Timer1->start();
}

void TfRichEdit98Editor::done(int result)
{
    Timer1->stop();
    ReadOnlyMode = false;
    Editor->setReadOnly(false);
    Editor->Clear();
    active_ = false;
    if (SpecialCharsWindow)
        SpecialCharsWindow->hide();
    QDialog::done(result);
}

void TfRichEdit98Editor::EditorSelectionChange()
{
    TTextAttributes98& a = Editor->SelAttributes();
    {
        const QSignalBlocker block(SizeList);
        SizeList->setEditText(QString::number(a.Size()));
    }
    ActionBold->setChecked(a.Bold());
    ActionItalic->setChecked(a.Italic());
    ActionUnderline->setChecked(a.Underline() != 0);
    ActionSubscript->setChecked(a.SubscriptStyle() == 1);
    ActionSuperscript->setChecked(a.SubscriptStyle() == 2);
    const int alignment = Editor->Paragraph().Alignment();
    ActionLeft->setChecked(alignment == 0);
    ActionRight->setChecked(alignment == 1);
    ActionCenter->setChecked(alignment == 2);
}

void TfRichEdit98Editor::SetAlignment(int alignment)
{
    ActionLeft->setChecked(alignment == 0);
    ActionRight->setChecked(alignment == 1);
    ActionCenter->setChecked(alignment == 2);
    Editor->Paragraph().SetAlignment(alignment);
    Editor->SetModified(true);
}

void TfRichEdit98Editor::SetScript(bool super)
{
    QAction* self = super ? ActionSuperscript : ActionSubscript;
    QAction* other = super ? ActionSubscript : ActionSuperscript;
    other->setChecked(false);
    // The action has toggled itself already.
    Editor->SelAttributes().SetSubscriptStyle(self->isChecked() ? (super ? 2 : 1) : 0);
    Editor->SetModified(true);
}

void TfRichEdit98Editor::ApplySizeList(bool markModified)
{
    bool ok = false;
    const int size = SizeList->currentText().trimmed().toInt(&ok);
    Editor->SelAttributes().SetSize(ok && size > 0 ? size : Editor->SelAttributes().Size());
    Editor->setFocus();
    SizeListDropped = false;
    if (markModified)
        Editor->SetModified(true);
}

TTextAttributes98& TfRichEdit98Editor::FontAttributesTarget()
{
    return Editor->SelLength() > 0 ? Editor->SelAttributes() : Editor->DefAttributes();
}

void TfRichEdit98Editor::SetFont()
{
    QString family = Editor->SelAttributes().Name();
    int size = Editor->SelAttributes().Size();
    if (!FontDialog(family, size))
        return;
    TTextAttributes98& target = FontAttributesTarget();
    if (!family.isEmpty())
        target.SetName(family.left(32));
    if (size > 0)
        target.SetSize(size);
    EditorSelectionChange();
    Editor->setFocus();
    Editor->SetModified(true);
}

void TfRichEdit98Editor::SaveToFile()
{
    FileDialogRequest request;
    request.filter = "Formát RTF (*.rtf)|*.rtf";
    request.defaultExt = "rtf";
    if (!SaveFileDialog(request))
        return;
    try {
        const TOutputFormat saved = Editor->OutputFormat;
        Editor->OutputFormat = ofRTF;
        Editor->Lines().SaveToFile(request.fileName);
        Editor->OutputFormat = saved;
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    }
}

void TfRichEdit98Editor::LoadFromFile()
{
    FileDialogRequest request;
    request.filter = "Formát RTF (*.rtf)|*.rtf|Text (*.txt)|*.txt";
    if (!OpenFileDialog(request))
        return;
    const QString ext = "." + QFileInfo(request.fileName).suffix().toUpper();
    if (ext != ".RTF" && ext != ".TXT")
        return;
    const TInputFormat saved = Editor->InputFormat;
    Editor->InputFormat = ext == ".RTF" ? ifRTF : ifText;
    try {
        Editor->Lines().LoadFromFile(request.fileName);
        Editor->SetModified(true);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    }
    Editor->InputFormat = saved;
}

void TfRichEdit98Editor::PrintOrPreview(int Mode)
{
    TPreviewPrinter* printer = MainPreviewPrinter;
    if (!printer)
        return;
    if (Mode == 2) {
        PrintDialogRequest request;
        if (!PrintDialog(request))
            return;
    }
    printer->ShowGrid = false;
    printer->ZoomOption = zoTwoPages;
    printer->TextOptions.DrawStyle = dsStandard;
    printer->PrintRichEdit(false, *Editor);
    if (Mode == 2)
        printer->Print();
    else if (Mode == 3)
        printer->Preview();
}

void TfRichEdit98Editor::OpenFind(TEditorFindDialog* dialog)
{
    dialog->FindText->setText(Editor->textCursor().selectedText());
    if (dialog == ReplaceDialog)
        dialog->ReplaceText->clear();
    const QPoint corner = Editor->mapToGlobal(QPoint(Editor->width(), 0));
    dialog->move(corner.x() - dialog->width(), corner.y());
    dialog->show();
}

void TfRichEdit98Editor::FindDialogFind()
{
    const QString text = FindDialog->FindText->text();
    const int start = Editor->SelLength() > 0 ? Editor->SelStart() + Editor->SelLength() : 0;
    const int length = Editor->document()->characterCount() - 1 - start;
    const int found = Editor->FindText(text, start, FindDialog->Options(), length);
    if (found >= 0) {
        Editor->setFocus();
        Editor->SetSelStart(found);
        Editor->SetSelLength(int(text.size()));
    }
}

void TfRichEdit98Editor::ReplaceDialogFind()
{
    const QString text = ReplaceDialog->FindText->text();
    replaceStart_ = Editor->SelLength() > 0 ? Editor->SelStart() + Editor->SelLength() : 0;
    const int length = Editor->document()->characterCount() - 1 - replaceStart_;
    foundPos_ = Editor->FindText(text, replaceStart_, ReplaceDialog->Options() & ~1, length);
    if (foundPos_ < 0) {
        replaceStart_ = -1;
        return;
    }
    Editor->setFocus();
    Editor->SetSelStart(foundPos_);
    Editor->SetSelLength(int(text.size()));
}

void TfRichEdit98Editor::ReplaceDialogReplace()
{
    const QString text = ReplaceDialog->FindText->text();
    // A selection that is not the searched text is not replaced: the next match is
    // found first.
    const Qt::CaseSensitivity cs = (ReplaceDialog->Options() & 4) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (replaceStart_ >= 0 && Editor->textCursor().selectedText().compare(text, cs) != 0)
        ReplaceDialogFind();
    if (replaceStart_ == -1 || text.isEmpty()) {
        QString message = GetString(22159, { text });
        if (message.isEmpty())
            message = "Could not find \"" + text + "\" in Editor.";
        MessageDlg(message, TMsgDlgType::mtError, mbOK);
        return;
    }
    Editor->textCursor().insertText(ReplaceDialog->ReplaceText->text());
    Editor->SetModified(true);
}

void TfRichEdit98Editor::Timer1Timer()
{
    if (ReadOnlyMode)
        return;
    ActionCopy->setEnabled(Editor->SelLength() > 0);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ActionPaste->setEnabled(mime && mime->hasText());
    ActionUndo->setEnabled(Editor->Modified());
    ActionApply->setEnabled(Editor->Modified());
    // Redo follows the document's own redo history.
    ActionRedo->setEnabled(Editor->document()->isRedoAvailable());
    // A tool window closed with its close box is gone; the guarded pointer forgot it.
    if (SpecialEditPending && ActiveTextEditor == this) {
        SpecialEditPending = false;
        InsertSpecialCharacter();
    }
}

void TfRichEdit98Editor::InsertSpecialCharacter()
{
    TTextAttributes98& a = Editor->SelAttributes();
    const TActionListSpecialEdit* l = ActionListSpecialEdit;
    a.SetBold(l && l->aBold->isChecked());
    a.SetItalic(l && l->aItalic->isChecked());
    a.SetUnderline(l && l->aUnderline->isChecked() ? 1 : 0);
    if (PendingCharCode <= 100) {
        a.SetSubscriptStyle(l && l->aSuperScript->isChecked() ? 2 : l && l->aSubScript->isChecked() ? 1 : 0);
        a.SetSize(ReportFontSize);
    } else {
        InsertSpecialCharCode(ReportFontSize, PendingCharCode, *Editor);
        PendingCharCode = 0;
    }
    InsertPendingSpecialEdit(ReportFontSize, *Editor);
}

void TfRichEdit98Editor::SpecialCharactersClick()
{
    if (!SpecialCharsWindow)
        SpecialCharsWindow = new TfSetSpecialCharactersVariable(this);
    ActiveTextEditor = this;
    SpecialCharsWindow->show();
}

} // namespace orvek
