#include "mainwindow/ui/cell_comment_box.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "platform/ui/rich_edit98.h"
#include "platform/ui/window_placement.h"
#include "richtext/markup_read.h"
#include "richtext/ui/markup_rich_edit.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "sources/ui/source_page_widgets.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace orvek {

TCellCommentBox::TCellCommentBox(QWidget* parent)
    : QObject(parent)
{
    Panel = new QWidget(parent);
    Panel->setObjectName(QStringLiteral("Panel_Popis"));
    Label = MakeLabel(Panel, "LabelComment");
    RichEdit_PopisBunky = new TRichEdit98(Panel);
    RichEdit_PopisBunky->setObjectName(QStringLiteral("RichEdit_PopisBunky"));
    RichEdit_PopisBunky->setMinimumHeight(60);
    // Tab moves on to the next field of the dialog, as in every field of it.
    RichEdit_PopisBunky->setTabChangesFocus(true);
    RichEdit_PopisBunky->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SpeedButton_Editor = MakeButton(Panel, "SpeedButton_Editor", QStringLiteral("\u270E"));
    SpeedButton_CopyComment = MakeCopyButton(Panel, "SpeedButton_CopyComment");
    SpeedButton_PasteComment = MakePasteButton(Panel, "SpeedButton_PasteComment");
    PopupMenu = new QMenu(Panel);
    Fullwindow = PopupMenu->addAction(QString());
    Fullwindow->setObjectName(QStringLiteral("Fullwindow"));
    WordWrap1 = PopupMenu->addAction(QStringLiteral("Word Wrap"));
    WordWrap1->setObjectName(QStringLiteral("WordWrap1"));
    WordWrap1->setCheckable(true);
    RichEdit_PopisBunky->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit_PopisBunky, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenu->exec(RichEdit_PopisBunky->mapToGlobal(at)); });

    auto* buttons = new QVBoxLayout();
    buttons->setSpacing(2);
    buttons->addWidget(SpeedButton_Editor);
    buttons->addWidget(SpeedButton_CopyComment);
    buttons->addWidget(SpeedButton_PasteComment);
    buttons->addStretch(1);
    auto* layout = new QGridLayout(Panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    layout->addWidget(Label, 0, 0);
    layout->addWidget(RichEdit_PopisBunky, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->setRowStretch(1, 1);

    connect(SpeedButton_CopyComment, &QToolButton::clicked, this, &TCellCommentBox::CopyComment);
    connect(SpeedButton_PasteComment, &QToolButton::clicked, this, &TCellCommentBox::PasteComment);
    connect(WordWrap1, &QAction::triggered, this, &TCellCommentBox::WordWrap1Click);
}

void TCellCommentBox::Load(const QString& Comment)
{
    RichEdit_PopisBunky->Clear();
    QString comment = Comment;
    if (IsRtfComment(comment))
        RichEdit_PopisBunky->SetRTFText(comment);
    else
        RenderMarkupToRichEdit(CellFontSize, CellFontName, false, *RichEdit_PopisBunky, comment);
    QFont font(CellFontName);
    font.setPointSize(CellFontSize);
    RichEdit_PopisBunky->setFont(font);
    RichEdit_PopisBunky->moveCursor(QTextCursor::Start);
    WordWrap1->setChecked(RichEdit_PopisBunky->lineWrapMode() != QTextEdit::NoWrap);
    RichEdit_PopisBunky->SetModified(false);
}

void TCellCommentBox::SetLocked(bool locked)
{
    RichEdit_PopisBunky->setReadOnly(locked);
    for (QToolButton* button : { SpeedButton_Editor, SpeedButton_CopyComment, SpeedButton_PasteComment })
        button->setEnabled(!locked);
    Fullwindow->setEnabled(!locked);
}

void TCellCommentBox::ApplyReadOnlyColor()
{
    QPalette p = RichEdit_PopisBunky->palette();
    p.setColor(QPalette::Base, ReadOnlyColor(RichEdit_PopisBunky->isReadOnly()));
    RichEdit_PopisBunky->setPalette(p);
}

QString TCellCommentBox::ReadRtf()
{
    PrepareRichEditForSave(RichEdit_PopisBunky->document());
    const QTextCursor saved = RichEdit_PopisBunky->textCursor();
    RichEdit_PopisBunky->selectAll();
    QString rtf;
    RichEdit_PopisBunky->GetRTFText(rtf);
    RichEdit_PopisBunky->setTextCursor(saved);
    return rtf;
}

bool TCellCommentBox::OpenEditor(const QString& Caption)
{
    const QTextCursor saved = RichEdit_PopisBunky->textCursor();
    RichEdit_PopisBunky->selectAll();
    QString rtf;
    RichEdit_PopisBunky->GetRTFText(rtf);
    RichEdit_PopisBunky->setTextCursor(saved);

    std::unique_ptr<TfRichEdit98Editor> own;
    TfRichEdit98Editor* editor = fRichEdit98Editor;
    if (!editor) {
        own = std::make_unique<TfRichEdit98Editor>(Panel->window());
        editor = own.get();
    }
    editor->setWindowTitle(Caption);
    editor->Editor->Clear();
    editor->Editor->SetRTFText(rtf);
    editor->Editor->moveCursor(QTextCursor::Start);
    editor->Editor->SetModified(false);
    editor->UndoCount = 0;
    editor->SetReadOnly(RichEdit_PopisBunky->isReadOnly());
    bool taken = false;
    const OpenedFrom opened(editor, Panel);
    if (editor->exec() == QDialog::Accepted && !RichEdit_PopisBunky->isReadOnly()) {
        RichEdit_PopisBunky->Clear();
        RichEdit_PopisBunky->SetRTFText(editor->ResultRtf);
        RichEdit_PopisBunky->moveCursor(QTextCursor::Start);
        RichEdit_PopisBunky->SetModified(true);
        taken = true;
    }
    editor->ResultRtf.clear();
    if (taken)
        Q_EMIT EditedInEditor();
    return taken;
}

void TCellCommentBox::CopyComment()
{
    RichEdit_PopisBunky->setFocus();
    if (!RichEdit_PopisBunky->textCursor().hasSelection())
        RichEdit_PopisBunky->selectAll();
    RichEdit_PopisBunky->copy();
}

void TCellCommentBox::PasteComment()
{
    RichEdit_PopisBunky->setFocus();
    RichEdit_PopisBunky->paste();
}

void TCellCommentBox::WordWrap1Click()
{
    const bool wrap = RichEdit_PopisBunky->lineWrapMode() == QTextEdit::NoWrap;
    WordWrap1->setChecked(wrap);
    RichEdit_PopisBunky->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    RichEdit_PopisBunky->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    RichEdit_PopisBunky->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace orvek
