#include "platform/ui/rich_edit98.h"

#include "platform/code_pages.h"
#include "platform/plain_text.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QSaveFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <stdexcept>

namespace orvek {

namespace {

const char* const kRtfMime = "text/rtf";

bool IsUrlChar(QChar c)
{
    const char16_t u = c.unicode();
    return u == '.' || u == '/' || (u >= '0' && u <= ':') || u == '@' || (u >= 'A' && u <= 'Z') || u == '\\'
        || (u >= 'a' && u <= 'z');
}

} // namespace

// ---- URL types ----

void TURLCollection::AddURLType(const QString& name, const QColor& color, bool underline, Qt::CursorShape cursor)
{
    for (TURLType& item : items_)
        if (item.Name == name) {
            item.Color = color;
            item.Underline = underline;
            item.Cursor = cursor;
            return;
        }
    items_.append(TURLType { name, color, cursor, underline });
}

// ---- character attributes ----

QTextCharFormat TTextAttributes98::Read() const
{
    if (Kind == 1) {
        QTextCharFormat f;
        f.setFont(RichEdit->document()->defaultFont());
        return f;
    }
    QTextCursor c = RichEdit->textCursor();
    if (c.hasSelection()) {
        // The format of the first selected character.
        QTextCursor first(RichEdit->document());
        first.setPosition(std::min(c.anchor(), c.position()) + 1);
        return first.charFormat();
    }
    return RichEdit->currentCharFormat();
}

void TTextAttributes98::Write(const QTextCharFormat& change)
{
    if (Kind == 1) {
        QFont font = RichEdit->document()->defaultFont();
        if (change.hasProperty(QTextFormat::FontFamilies))
            font.setFamilies(change.fontFamilies().toStringList());
        if (change.hasProperty(QTextFormat::FontPointSize))
            font.setPointSizeF(change.fontPointSize());
        if (change.hasProperty(QTextFormat::FontWeight))
            font.setWeight(QFont::Weight(change.fontWeight()));
        if (change.hasProperty(QTextFormat::FontItalic))
            font.setItalic(change.fontItalic());
        RichEdit->document()->setDefaultFont(font);
        return;
    }
    QTextCursor c = RichEdit->textCursor();
    if (!c.hasSelection() && RichEdit->WordFormatting) {
        // An empty selection inside a word formats the whole word.
        QTextCursor word = c;
        word.select(QTextCursor::WordUnderCursor);
        if (word.hasSelection() && word.selectionStart() < c.position() && word.selectionEnd() > c.position()) {
            word.mergeCharFormat(change);
            RichEdit->mergeCurrentCharFormat(change);
            return;
        }
    }
    if (c.hasSelection())
        c.mergeCharFormat(change);
    RichEdit->mergeCurrentCharFormat(change);
}

QColor TTextAttributes98::Color() const
{
    const QTextCharFormat f = Read();
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
}

void TTextAttributes98::SetColor(const QColor& color)
{
    QTextCharFormat f;
    if (color.isValid())
        f.setForeground(color);
    else
        f.setForeground(QBrush(RichEdit->palette().color(QPalette::Text)));
    Write(f);
}

QString TTextAttributes98::Name() const
{
    const QStringList families = Read().fontFamilies().toStringList();
    return families.isEmpty() ? RichEdit->document()->defaultFont().family() : families.front();
}

void TTextAttributes98::SetName(const QString& name)
{
    if (name.size() > 32)
        throw std::range_error("font face name longer than 32 characters");
    QTextCharFormat f;
    f.setFontFamilies(QStringList { name });
    Write(f);
}

int TTextAttributes98::Size() const
{
    const QTextCharFormat f = Read();
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : RichEdit->document()->defaultFont().pointSizeF();
    return int(points); // whole points, truncated
}

void TTextAttributes98::SetSize(int points)
{
    QTextCharFormat f;
    f.setFontPointSize(points);
    Write(f);
}

int TTextAttributes98::Weight() const
{
    return Read().fontWeight() > QFont::Medium ? 700 : 400;
}

void TTextAttributes98::SetWeight(int weight)
{
    QTextCharFormat f;
    f.setFontWeight(weight >= 600 ? QFont::Bold : QFont::Normal);
    Write(f);
}

bool TTextAttributes98::Bold() const
{
    return Read().fontWeight() > QFont::Medium;
}
void TTextAttributes98::SetBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    Write(f);
}
bool TTextAttributes98::Italic() const
{
    return Read().fontItalic();
}
void TTextAttributes98::SetItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    Write(f);
}
bool TTextAttributes98::StrikeOut() const
{
    return Read().fontStrikeOut();
}
void TTextAttributes98::SetStrikeOut(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    Write(f);
}
int TTextAttributes98::Underline() const
{
    return Read().fontUnderline() ? 1 : 0;
}
void TTextAttributes98::SetUnderline(int type)
{
    QTextCharFormat f;
    f.setFontUnderline(type != 0);
    Write(f);
}
int TTextAttributes98::SubscriptStyle() const
{
    switch (Read().verticalAlignment()) {
    case QTextCharFormat::AlignSubScript:
        return 1;
    case QTextCharFormat::AlignSuperScript:
        return 2;
    default:
        return 0;
    }
}
void TTextAttributes98::SetSubscriptStyle(int style)
{
    QTextCharFormat f;
    f.setVerticalAlignment(style == 1 ? QTextCharFormat::AlignSubScript
            : style == 2              ? QTextCharFormat::AlignSuperScript
                                      : QTextCharFormat::AlignNormal);
    Write(f);
}
QColor TTextAttributes98::BackColor() const
{
    const QTextCharFormat f = Read();
    return f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor();
}
void TTextAttributes98::SetBackColor(const QColor& color)
{
    QTextCharFormat f;
    f.setBackground(color.isValid() ? QBrush(color) : QBrush());
    Write(f);
}
bool TTextAttributes98::Link() const
{
    return Read().isAnchor();
}
void TTextAttributes98::SetLink(bool on)
{
    QTextCharFormat f;
    f.setAnchor(on);
    if (on) {
        QTextCursor c = RichEdit->textCursor();
        f.setAnchorHref(c.selectedText().trimmed());
    } else {
        f.setAnchorHref(QString());
    }
    Write(f);
}

void TTextAttributes98::Assign(const TTextAttributes98& other)
{
    QTextCharFormat f = other.Read();
    Write(f);
}

// ---- paragraph attributes ----

int TParaAttributes98::Alignment() const
{
    const Qt::Alignment a = edit_->textCursor().blockFormat().alignment();
    if (a & Qt::AlignRight)
        return 1;
    if (a & Qt::AlignHCenter)
        return 2;
    return 0;
}

void TParaAttributes98::SetAlignment(int alignment)
{
    QTextBlockFormat f;
    f.setAlignment(alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
    QTextCursor c = edit_->textCursor();
    c.mergeBlockFormat(f);
}

// ---- line lists ----

namespace {
QString TrimLow(const QString& s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && s[from].unicode() < 33)
        ++from;
    while (to > from && s[to - 1].unicode() < 33)
        --to;
    return s.mid(from, to - from);
}
} // namespace

int TRichEditStrings98::Count() const
{
    const QTextDocument* doc = edit_->document();
    int count = doc->blockCount();
    if (doc->lastBlock().length() <= 1)
        --count;
    return std::max(0, count);
}

QString TRichEditStrings98::Get(int index) const
{
    if (index < 0)
        return QString();
    const QTextBlock block = edit_->document()->findBlockByNumber(index);
    if (!block.isValid())
        return QString();
    return trimmed_ ? TrimLow(block.text()) : block.text();
}

void TRichEditStrings98::Put(int index, const QString& text)
{
    if (index < 0)
        return;
    const QTextBlock block = edit_->document()->findBlockByNumber(index);
    if (!block.isValid())
        return;
    QTextCursor c(block);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(text);
}

void TRichEditStrings98::Insert(int index, const QString& text)
{
    if (index < 0)
        return;
    QTextDocument* doc = edit_->document();
    const QTextBlock block = doc->findBlockByNumber(index);
    if (block.isValid() && index < Count()) {
        QTextCursor c(block);
        c.insertText(text);
        c.insertBlock();
        return;
    }
    // Beyond the last line: a new line after the line before.
    const QTextBlock previous = doc->findBlockByNumber(index - 1);
    if (!previous.isValid() || (index > 0 && previous.length() <= 1 && index - 1 >= Count()))
        return;
    QTextCursor c(previous);
    c.movePosition(QTextCursor::EndOfBlock);
    if (index == 0) {
        c.insertText(text);
        return;
    }
    c.insertBlock();
    c.insertText(text);
}

int TRichEditStrings98::Add(const QString& text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

void TRichEditStrings98::Delete(int index)
{
    if (index < 0)
        return;
    const QTextBlock block = edit_->document()->findBlockByNumber(index);
    if (!block.isValid())
        return;
    QTextCursor c(edit_->document());
    const QTextBlock next = block.next();
    if (next.isValid()) {
        c.setPosition(block.position());
        c.setPosition(next.position(), QTextCursor::KeepAnchor);
    } else if (block.previous().isValid()) {
        // The last line goes with the line end before it.
        c.setPosition(block.position() - 1);
        c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    } else {
        c.setPosition(block.position());
        c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
}

void TRichEditStrings98::Clear()
{
    edit_->Clear();
}

QString TRichEditStrings98::Text() const
{
    QString out;
    for (int i = 0; i < Count(); ++i)
        out += Get(i) + QStringLiteral("\r\n");
    return out;
}

void TRichEditStrings98::SetText(const QString& text)
{
    const QSignalBlocker blocker(edit_);
    edit_->Clear();
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    edit_->setPlainText(normalized);
}

void TRichEditStrings98::LoadFromStream(QIODevice* stream)
{
    if (!stream || !stream->isReadable())
        throw std::runtime_error("Failed to Load Stream");
    const QByteArray data = stream->readAll();
    QTextCursor cursor = edit_->SelectionStream ? edit_->textCursor() : QTextCursor(edit_->document());
    const bool whole = !edit_->SelectionStream;
    bool loaded = false;
    if (edit_->InputFormat == ifRTF) {
        if (whole)
            loaded = ReadRtfDocument(data, edit_->document());
        else
            loaded = ReadRtf(data, cursor);
    }
    if (!loaded) {
        // Taken as text: UTF-16 for ifUnicode, else UTF-8 when it is valid, else the
        // control's code page.
        QString text;
        if (edit_->InputFormat == ifUnicode) {
            QStringDecoder decoder(QStringDecoder::Utf16LE);
            text = decoder(data);
        } else {
            QStringDecoder decoder(QStringDecoder::Utf8);
            text = decoder(data);
            if (decoder.hasError())
                text = AnsiToWideCP(data, edit_->CodePage());
        }
        text.remove(QChar(0));
        if (whole) {
            SetText(text);
        } else {
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            cursor.insertText(text);
        }
    }
    if (whole)
        edit_->setTextCursor(QTextCursor(edit_->document()));
    else
        edit_->setTextCursor(cursor);
    if (edit_->AutoURLDetect() == adExtended)
        edit_->ScanURLs(0, edit_->document()->characterCount() - 1);
}

void TRichEditStrings98::SaveToStream(QIODevice* stream)
{
    const QTextCursor sel = edit_->textCursor();
    const bool selection = edit_->SelectionStream || edit_->SelectedInOut;
    QByteArray data;
    switch (edit_->OutputFormat) {
    case ofRTF:
    case ofRTFNoObjs:
        data = selection ? WriteRtf(edit_->document(), sel.selectionStart(), sel.selectionEnd())
                         : WriteRtf(edit_->document());
        break;
    case ofUnicode: {
        const QString text = selection ? sel.selection().toPlainText() : edit_->document()->toPlainText();
        data = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        break;
    }
    default: {
        QString text = selection ? sel.selection().toPlainText() : edit_->document()->toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        for (QChar ch : text) {
            const int b = UnicodeToCodePage(edit_->CodePage(), ch);
            data += b < 0 ? '?' : char(b);
        }
        break;
    }
    }
    if (!stream || !stream->isWritable() || stream->write(data) != data.size())
        throw std::runtime_error("Failed to Save Stream");
}

void TRichEditStrings98::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Failed to Load Stream");
    LoadFromStream(&file);
}

void TRichEditStrings98::SaveToFile(const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Failed to Save Stream");
    SaveToStream(&file);
    if (!file.commit())
        throw std::runtime_error("Failed to Save Stream");
}

// ---- the control ----

TCustomRichEdit98::TCustomRichEdit98(QWidget* parent)
    : QTextEdit(parent)
    , selAttributes_(this, 0)
    , defAttributes_(this, 1)
    , paragraph_(this)
    , lines_(this, true)
    , wideLines_(this, false)
{
    setAcceptRichText(true);
    setMouseTracking(true);
    // The locale of the system: Slovak and Czech use code page 1250, others 1252.
    switch (QLocale::system().language()) {
    case QLocale::Slovak:
        SetLanguage(1051);
        break;
    case QLocale::Czech:
        SetLanguage(1029);
        break;
    default:
        SetLanguage(1033);
        break;
    }
    for (const char* name :
        { "e-mail", "http", "file", "mailto", "ftp", "https", "gopher", "nntp", "prospero", "telnet", "news", "wais" })
        customURLs_.AddURLType(QString::fromLatin1(name), QColor(), true, Qt::ArrowCursor);
    connect(this, &QTextEdit::textChanged, this, [this] { TextChanged(); });
}

TCustomRichEdit98::~TCustomRichEdit98() = default;

void TCustomRichEdit98::SetLanguage(quint16 languageId)
{
    language_ = languageId;
    codePage_ = CodePageOfLanguage(languageId);
}

void TCustomRichEdit98::SetAutoURLDetect(TAutoURLDetect mode)
{
    autoURLDetect_ = mode;
}

void TCustomRichEdit98::SetRTFText(const QByteArray& text)
{
    if (text.isEmpty())
        return;
    SelectionStream = true;
    const TInputFormat saved = InputFormat;
    InputFormat = ifRTF;
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    try {
        lines_.LoadFromStream(&buffer);
    } catch (...) {
        InputFormat = saved;
        SelectionStream = false;
        throw;
    }
    InputFormat = saved;
    SelectionStream = false;
}

void TCustomRichEdit98::SetRTFText(const QString& text)
{
    SetRTFText(RtfBytesOfText(text));
}

QByteArray TCustomRichEdit98::GetRTFData() const
{
    const QTextCursor c = textCursor();
    return WriteRtf(document(), c.selectionStart(), c.selectionEnd());
}

void TCustomRichEdit98::GetRTFText(QString& text) const
{
    text = QString::fromLatin1(GetRTFData());
}

void TCustomRichEdit98::GetWideText(QString& text) const
{
    text = document()->toPlainText();
}

void TCustomRichEdit98::GetWideSelText(QString& text) const
{
    text = textCursor().selection().toPlainText();
}

int TCustomRichEdit98::FindText(const QString& text, int startPos, int options, int length) const
{
    if (text.isEmpty())
        return -1;
    const bool up = options & 1;
    QTextDocument::FindFlags flags;
    if (up)
        flags |= QTextDocument::FindBackward;
    if (options & 2)
        flags |= QTextDocument::FindWholeWords;
    if (options & 4)
        flags |= QTextDocument::FindCaseSensitively;
    const int docEnd = document()->characterCount() - 1;
    int rangeEnd = length <= 0 ? (up ? 0 : docEnd) : (up ? startPos - length : startPos + length);
    rangeEnd = std::clamp(rangeEnd, 0, docEnd);
    const QTextCursor found = document()->find(text, startPos, flags);
    if (found.isNull())
        return -1;
    if (up)
        return found.selectionStart() >= rangeEnd ? found.selectionStart() : -1;
    return found.selectionEnd() <= rangeEnd ? found.selectionStart() : -1;
}

void TCustomRichEdit98::BeginUpdate()
{
    ++updateLockCount_;
    setUpdatesEnabled(false);
    savedSelStart_ = SelStart();
    savedSelLength_ = SelLength();
    savedScroll_ = verticalScrollBar()->value();
}

void TCustomRichEdit98::EndUpdate()
{
    if (updateLockCount_ > 0)
        --updateLockCount_;
    if (updateLockCount_ == 0) {
        SetSelStart(savedSelStart_);
        SetSelLength(savedSelLength_);
        verticalScrollBar()->setValue(savedScroll_);
        setUpdatesEnabled(true);
        viewport()->update();
    }
}

void TCustomRichEdit98::Clear()
{
    clear();
    document()->clear();
}

int TCustomRichEdit98::SelStart() const
{
    return textCursor().selectionStart();
}

int TCustomRichEdit98::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TCustomRichEdit98::SetSelStart(int start)
{
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(start, 0, document()->characterCount() - 1));
    setTextCursor(c);
}

void TCustomRichEdit98::SetSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int end = length < 0 ? document()->characterCount() - 1
                               : std::clamp(start + length, 0, document()->characterCount() - 1);
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TCustomRichEdit98::WidenURLRange(int& start, int& end) const
{
    const QString text = document()->toPlainText();
    const int n = int(text.size());
    if (start >= n)
        start = n - 1;
    start = std::max(start, 0);
    while (start > 0 && IsUrlChar(text[start - 1]))
        --start;
    if (end < n)
        while (end < n && IsUrlChar(text[end]))
            ++end;
    end = std::min(end, n);
}

void TCustomRichEdit98::ScanURLs(int start, int end)
{
    if (scanning_)
        return;
    WidenURLRange(start, end);
    const QString all = document()->toPlainText();
    if (start > end || all.size() <= 2)
        return;
    if (start == end) {
        start = 0;
        end = int(all.size());
    }
    scanning_ = true;
    BeginUpdate();
    const QSignalBlocker blocker(this);
    const bool modified = document()->isModified();
    const QString range = all.mid(start, end - start).toUpper();
    int i = 0;
    while (i < range.size()) {
        if (range[i] == QChar(0))
            break;
        if (!IsUrlChar(range[i])) {
            ++i;
            continue;
        }
        int j = i;
        while (j < range.size() && IsUrlChar(range[j]))
            ++j;
        const QString word = range.mid(i, j - i);
        int type = -1;
        for (int t = 1; t < customURLs_.Count() && type < 0; ++t) {
            const QString prefix = customURLs_[t].Name.toUpper() + QLatin1Char(':');
            if (word.startsWith(prefix) && word.size() > prefix.size())
                type = t;
        }
        if (type < 0 && customURLs_.Count() > 0) {
            const qsizetype at = word.indexOf(u'@');
            if (at >= 1 && at < word.size() - 1 && word.indexOf(u'.', at + 2) >= at + 2)
                type = 0;
        }
        QTextCursor c(document());
        c.setPosition(start + i);
        c.setPosition(start + j, QTextCursor::KeepAnchor);
        if (type >= 0) {
            QTextCharFormat f;
            f.setAnchor(true);
            f.setAnchorHref(all.mid(start + i, j - i));
            const TURLType& t = customURLs_[type];
            f.setForeground(t.Color.isValid() ? t.Color : URLColor);
            f.setFontUnderline(t.Underline);
            c.mergeCharFormat(f);
        } else if (autoURLDetect_ == adExtended && c.charFormat().isAnchor()) {
            // A word that is no longer a link loses the link's look.
            QTextCharFormat f;
            f.setAnchor(false);
            f.setAnchorHref(QString());
            f.setForeground(QBrush(palette().color(QPalette::Text)));
            f.setFontUnderline(false);
            c.mergeCharFormat(f);
        }
        i = j;
    }
    document()->setModified(modified);
    EndUpdate();
    scanning_ = false;
}

void TCustomRichEdit98::TextChanged()
{
    if (scanning_ || updateLockCount_ > 0 || autoURLDetect_ == adNone || customURLs_.Count() == 0)
        return;
    const QTextCursor c = textCursor();
    const int start = std::min(c.selectionStart(), lastChangeStart_);
    const int end = std::max(c.selectionEnd(), lastChangeEnd_);
    ScanURLs(start, end);
    lastChangeStart_ = c.selectionStart();
    lastChangeEnd_ = c.selectionEnd();
}

int TCustomRichEdit98::URLTypeOfLink(const QString& link) const
{
    if (link.indexOf(u'/', 1) >= 1) {
        const QString lower = link.toLower();
        for (int t = 1; t < customURLs_.Count(); ++t)
            if (lower.startsWith(customURLs_[t].Name + QLatin1Char(':')))
                return t;
        return -1;
    }
    if (link.indexOf(u'@', 1) >= 1 && customURLs_.Count() > 0)
        return 0;
    return -1;
}

void TCustomRichEdit98::mouseMoveEvent(QMouseEvent* event)
{
    const QString link = anchorAt(event->position().toPoint());
    if (!link.isEmpty()) {
        const int type = URLTypeOfLink(link);
        Qt::CursorShape shape = URLCursor;
        if (type >= 0 && customURLs_[type].Cursor != Qt::ArrowCursor)
            shape = customURLs_[type].Cursor;
        viewport()->setCursor(shape);
        if (OnURLMove && link.size() > 1)
            OnURLMove(link);
    } else {
        viewport()->setCursor(Qt::IBeamCursor);
    }
    QTextEdit::mouseMoveEvent(event);
}

void TCustomRichEdit98::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QString link = anchorAt(event->position().toPoint());
        if (OnURLClick && link.size() > 1)
            OnURLClick(link);
    }
    QTextEdit::mouseReleaseEvent(event);
}

QMimeData* TCustomRichEdit98::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    const QTextCursor c = textCursor();
    data->setData(QString::fromLatin1(kRtfMime), WriteRtf(document(), c.selectionStart(), c.selectionEnd()));
    data->setText(PlainTextOf(*document(), c.selectionStart(), c.selectionEnd()));
    return data;
}

bool TCustomRichEdit98::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(QString::fromLatin1(kRtfMime)) || source->hasFormat(QStringLiteral("application/rtf"))
        || source->hasImage() || source->hasText();
}

void TCustomRichEdit98::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly())
        return;
    QTextCursor c = textCursor();
    for (const char* mime : { kRtfMime, "application/rtf" }) {
        const QString name = QString::fromLatin1(mime);
        if (source->hasFormat(name) && ReadRtf(source->data(name), c)) {
            setTextCursor(c);
            return;
        }
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            int n = 0;
            QString name;
            do {
                name = QStringLiteral("orvek-pasted:%1").arg(++n);
            } while (document()->resource(QTextDocument::ImageResource, QUrl(name)).isValid());
            document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
            QTextImageFormat f;
            f.setName(name);
            f.setWidth(image.width());
            f.setHeight(image.height());
            c.insertImage(f);
            setTextCursor(c);
            return;
        }
    }
    if (source->hasText()) {
        c.insertText(source->text());
        setTextCursor(c);
    }
}

} // namespace orvek
