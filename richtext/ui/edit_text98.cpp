#include "richtext/ui/edit_text98.h"

#include "core/special_edit.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/markup_rich_edit.h"
#include "richtext/ui/special_characters_windows.h"
#include "richtext/ui/special_edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLayout>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

// One character as an RTF fragment in the box's font and size, without any character
// formatting.
QString CharacterFragment(const QString& fontName, int fontSize, QChar ch)
{
    QString character;
    if (ch == '\\' || ch == '{' || ch == '}')
        character = QString('\\') + ch;
    else if (ch.unicode() < 128)
        character = ch;
    else
        character = QString("\\u%1?").arg(qint16(ch.unicode()));
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051{\\fonttbl{\\f0\\fnil\\fcharset1 " + fontName + ";}}\r\n"
        + "\\uc1\\pard\\lang1033\\fs" + QString::number(2 * fontSize) + " " + character + "}\r\n";
}

bool Checked(QAction* TActionListSpecialEdit::*member)
{
    return ActionListSpecialEdit && (ActionListSpecialEdit->*member)->isChecked();
}

void SetChecked(QAction* TActionListSpecialEdit::*member, bool on)
{
    if (ActionListSpecialEdit)
        (ActionListSpecialEdit->*member)->setChecked(on);
}

} // namespace

TEditText98::TEditText98(QWidget* Owner, const QString& Text, int Width, int Height, int Left, int Top,
    bool AlignClient, bool ReadOnly, bool SingleLine_, int FontSize_, const QString& FontName_, QWidget* Parent)
    : QObject(Owner)
    , Edit(new TRichEdit98(Parent))
    , Timer(new QTimer(Owner))
    , SingleLine(SingleLine_)
    , FontName(FontName_)
    , FontSize(FontSize_)
    , readOnly_(ReadOnly)
    , editGuard_(Edit)
    , timerGuard_(Timer)
{
    Edit->setObjectName("EditText98");
    if (AlignClient && Parent) {
        QLayout* layout = Parent->layout();
        if (!layout) {
            layout = new QVBoxLayout(Parent);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->addWidget(Edit);
    } else {
        Edit->setGeometry(Left, Top, Width, Height);
    }
    Edit->setToolTip(QString());
    Edit->setAlignment(Qt::AlignLeft);
    Edit->setFrameShape(QFrame::StyledPanel);
    Edit->setReadOnly(ReadOnly);
    Edit->setLineWrapMode(QTextEdit::NoWrap);
    // A name or unit has no tabs: Tab moves on to the next field.
    Edit->setTabChangesFocus(true);
    Edit->WordFormatting = true;
    Edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Edit->setVerticalScrollBarPolicy(SingleLine ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    QFont font(FontName);
    font.setPointSize(FontSize);
    Edit->setFont(font);
    Edit->document()->setDefaultFont(font);

    Timer->setInterval(50);
    Timer->stop();
    if (ReadOnly) {
        Edit->viewport()->setCursor(Qt::ArrowCursor);
        Edit->setEnabled(false);
        QPalette p = Edit->palette();
        p.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
        Edit->setPalette(p);
    } else {
        Edit->setEnabled(true);
        Edit->installEventFilter(this);
        connect(Edit, &QTextEdit::selectionChanged, this, &TEditText98::EditSelectionChange);
        connect(Edit, &QTextEdit::cursorPositionChanged, this, &TEditText98::EditSelectionChange);
        connect(Timer, &QTimer::timeout, this, &TEditText98::TimerTimer);
    }
    if (!Text.isEmpty())
        SetMarkupText(Text);
    Edit->SetModified(false);
}

TEditText98::~TEditText98()
{
    if (editGuard_)
        editGuard_->disconnect(this);
    delete timerGuard_.data();
    if (!readOnly_ && ToolWindow)
        delete ToolWindow.data();
    // The panel may have taken the rich edit with it already.
    if (editGuard_) {
        editGuard_->removeEventFilter(this);
        editGuard_->Clear();
        delete editGuard_.data();
    }
}

void TEditText98::SetMarkupText(const QString& Text)
{
    const bool ro = Edit->isReadOnly();
    if (!readOnly_)
        Timer->stop();
    RenderMarkupToRichEdit(FontSize, FontName, false, *Edit, Text);
    Edit->setReadOnly(ro);
    if (!readOnly_)
        Timer->start();
}

void TEditText98::GetMarkupText(QString& Text)
{
    const bool ro = Edit->isReadOnly(), enabled = Edit->isEnabled();
    const int start = Edit->SelStart(), length = Edit->SelLength();
    Edit->setEnabled(false);
    RichEditToMarkup(*Edit, Text);
    Edit->SetSelStart(start);
    Edit->SetSelLength(length);
    Edit->setEnabled(enabled);
    Edit->setReadOnly(ro);
    if (SingleLine)
        Text.replace(QChar('\r'), QChar(' '));
}

void TEditText98::GetPlainText(QString& Text)
{
    const bool ro = Edit->isReadOnly(), enabled = Edit->isEnabled();
    const int start = Edit->SelStart(), length = Edit->SelLength();
    Edit->setEnabled(false);
    RichEditToPlainText(*Edit, Text);
    Edit->SetSelStart(start);
    Edit->SetSelLength(length);
    Edit->setEnabled(enabled);
    Edit->setReadOnly(ro);
    if (SingleLine)
        Text.replace(QChar('\r'), QChar(' '));
}

bool TEditText98::GetModified() const
{
    return Edit->Modified();
}
void TEditText98::SetModified(bool modified)
{
    Edit->SetModified(modified);
}

void TEditText98::ShowToolWindow()
{
    if (readOnly_)
        return;
    Timer->start();
    if (!ToolWindow) {
        ToolWindow = new TfSetSpecialCharactersVariable(Edit->window());
        ActiveTextEditor = this;
    }
    ToolWindow->show();
}

void TEditText98::HideToolWindow()
{
    if (readOnly_)
        return;
    Timer->stop();
    if (ToolWindow)
        ToolWindow->hide();
}

void TEditText98::TimerTimer()
{
    if (ToolWindow && !ToolWindow->isVisible())
        ToolWindow = nullptr;
    if (readOnly_ || !Timer->isActive())
        return;
    if (SpecialEditPending && ActiveTextEditor == this) {
        ApplyFormatting();
        SpecialEditPending = false;
    }
}

void TEditText98::ApplyFormatting()
{
    TTextAttributes98& a = Edit->SelAttributes();
    a.SetBold(Checked(&TActionListSpecialEdit::aBold));
    a.SetItalic(Checked(&TActionListSpecialEdit::aItalic));
    a.SetUnderline(Checked(&TActionListSpecialEdit::aUnderline) ? 1 : 0);
    if (PendingCharCode <= 100) {
        const QString name = a.Name();
        const bool keepFace = name == "Symbol" || name.isEmpty();
        if (Checked(&TActionListSpecialEdit::aSuperScript)) {
            a.SetSubscriptStyle(2);
            a.SetSize(FontSize);
            if (!keepFace)
                a.SetName("Arial");
        } else if (Checked(&TActionListSpecialEdit::aSubScript)) {
            a.SetSubscriptStyle(1);
            a.SetSize(FontSize);
            if (!keepFace)
                a.SetName("Arial");
        } else {
            a.SetSubscriptStyle(0);
            a.SetSize(FontSize);
            if (!keepFace)
                a.SetName(FontName);
        }
    } else {
        InsertSpecialCharCode(FontSize, PendingCharCode, *Edit);
        PendingCharCode = 0;
    }
    InsertPendingSpecialEdit(FontSize, *Edit);
}

void TEditText98::EditSelectionChange()
{
    if (SpecialEditPending || readOnly_ || !Timer->isActive())
        return;
    EnableSpecialEditActions();
    TTextAttributes98& a = Edit->SelAttributes();
    SetChecked(&TActionListSpecialEdit::aBold, a.Bold());
    SetChecked(&TActionListSpecialEdit::aItalic, a.Italic());
    SetChecked(&TActionListSpecialEdit::aSuperScript, a.SubscriptStyle() == 2);
    SetChecked(&TActionListSpecialEdit::aSubScript, a.SubscriptStyle() == 1);
    SetChecked(&TActionListSpecialEdit::aUnderline, a.Underline() != 0);
}

bool TEditText98::EditKeyPress(const QString& text)
{
    // Every printable character is typed through a fragment of its own, so it comes in
    // the box's font and size whatever the formatting around the caret.
    for (QChar ch : text)
        Edit->SetRTFText(CharacterFragment(FontName, FontSize, ch));
    return true;
}

bool TEditText98::EditKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!SingleLine)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QApplication::beep();
        return true;
    }
    const Qt::KeyboardModifiers mods
        = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (key == Qt::Key_V && mods == Qt::ControlModifier && mime && mime->hasText()) {
        PasteFirstLine();
        return true;
    }
    if (key == Qt::Key_Insert && mods == Qt::ShiftModifier) {
        PasteFirstLine();
        return true;
    }
    return false;
}

void TEditText98::PasteFirstLine()
{
    QString text = QApplication::clipboard()->text();
    const qsizetype cut = text.indexOf(QRegularExpression("[\r\n]"));
    if (cut >= 0)
        text.truncate(cut);
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b).unicode() <= 32)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 32)
        --e;
    text = text.mid(b, e - b);
    if (text.isEmpty())
        return;
    // Appended at the end of the first line in the box's font; the formatting already
    // there stays.
    QTextCursor cursor(Edit->document()->firstBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    Edit->setTextCursor(cursor);
    for (QChar ch : text)
        Edit->SetRTFText(CharacterFragment(FontName, FontSize, ch));
    Edit->SetModified(true);
}

bool TEditText98::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit && event->type() == QEvent::KeyPress && !Edit->isReadOnly()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (EditKeyDown(key->key(), key->modifiers()))
            return true;
        const QString text = key->text();
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!command && !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127)
            return EditKeyPress(text);
        if (SingleLine && !text.isEmpty() && text.at(0) == QChar('\r')) {
            QApplication::beep();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvek
