#include "sources/ui/orvek_message.h"

#include "core/common_vars.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/markup_rich_edit.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace orvek {

TfOrvekMessage::TfOrvekMessage(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvekMessage"));
    setWindowTitle(QStringLiteral("Orvek message"));
    setModal(true);

    MessageRichEdit = new TRichEdit98(this);
    MessageRichEdit->setObjectName(QStringLiteral("MessageRichEdit"));
    MessageRichEdit->setReadOnly(true);
    MessageRichEdit->SetAutoURLDetect(adNone);
    MessageRichEdit->setFrameShape(QFrame::NoFrame);
    // A rule table wider or longer than the box scrolls either way.
    MessageRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MessageRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 6, 6);
    layout->addWidget(MessageRichEdit, 1);
    layout->addLayout(buttons);
    setFixedSize(393, 229);
}

void TfOrvekMessage::ShowMarkupMessage(const QString& Text)
{
    MessageRichEdit->Clear();
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, false, *MessageRichEdit, Text);
    MessageRichEdit->viewport()->update();
}

void TfOrvekMessage::done(int result)
{
    MessageRichEdit->Clear();
    QDialog::done(result);
}

void TfOrvekMessage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace orvek
