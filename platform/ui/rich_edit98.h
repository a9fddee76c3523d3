#pragma once
// The one rich-text control of the program, on QTextEdit: RTF in and out of the selection
// through our own reader and writer, character and paragraph attributes with the word
// rule, find with options and range, nested update locks, URL detection by scheme with
// link notifications, the line lists, and a clipboard that offers and prefers RTF.

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QTextEdit>

#include <functional>

class QIODevice;
class QMimeData;

namespace orvek {

class TCustomRichEdit98;

enum TAutoURLDetect { adNone, adDefault, adExtended };
enum TInputFormat { ifText, ifRTF, ifUnicode };
enum TOutputFormat { ofText, ofRTF, ofRTFNoObjs, ofTextized, ofUnicode };

// One URL type of the detection: a scheme name in lower case, or "e-mail" (item 0).
struct TURLType {
    QString Name;
    QColor Color; // invalid: the control's URLColor applies
    Qt::CursorShape Cursor = Qt::ArrowCursor; // ArrowCursor: the control's URLCursor applies
    bool Underline = true;
};

class TURLCollection {
public:
    // Updates the item named exactly Name, or adds one.
    void AddURLType(const QString& name, const QColor& color, bool underline, Qt::CursorShape cursor);
    void Clear() { items_.clear(); }
    int Count() const { return int(items_.size()); }
    const TURLType& operator[](int i) const { return items_[i]; }
    TURLType& operator[](int i) { return items_[i]; }

private:
    QList<TURLType> items_;
};

// Character attributes of the selection (kind 0) or of the default text (kind 1).
class TTextAttributes98 {
public:
    TTextAttributes98(TCustomRichEdit98* edit, int kind)
        : RichEdit(edit)
        , Kind(kind)
    {
    }

    QColor Color() const;
    void SetColor(const QColor& color); // an invalid colour means the automatic colour
    QString Name() const;
    void SetName(const QString& name); // at most 32 characters; longer throws std::range_error
    int Size() const; // whole points
    void SetSize(int points);
    int Weight() const;
    void SetWeight(int weight);
    bool Bold() const;
    void SetBold(bool on);
    bool Italic() const;
    void SetItalic(bool on);
    bool StrikeOut() const;
    void SetStrikeOut(bool on);
    int Underline() const; // 0 none, 1 single
    void SetUnderline(int type);
    int SubscriptStyle() const; // 0 normal, 1 subscript, 2 superscript
    void SetSubscriptStyle(int style);
    QColor BackColor() const;
    void SetBackColor(const QColor& color);
    bool Link() const;
    void SetLink(bool on);
    bool Hidden() const { return false; }
    // The pitch is kept by the text; writing it changes nothing.
    void SetPitch(int) { }

    void Assign(const TTextAttributes98& other);

    TCustomRichEdit98* RichEdit;
    int Kind;

private:
    QTextCharFormat Read() const;
    void Write(const QTextCharFormat& change);
};

class TParaAttributes98 {
public:
    explicit TParaAttributes98(TCustomRichEdit98* edit)
        : edit_(edit)
    {
    }
    int Alignment() const; // 0 left, 1 right, 2 centre
    void SetAlignment(int alignment);

private:
    TCustomRichEdit98* edit_;
};

// The paragraphs of the control as a list of lines. The control's Lines give each line
// without its leading and trailing characters below 33, as the text interface always
// did; WideLines give them exactly.
class TRichEditStrings98 {
public:
    TRichEditStrings98(TCustomRichEdit98* edit, bool trimmed)
        : edit_(edit)
        , trimmed_(trimmed)
    {
    }

    // Lines; a final empty paragraph does not count, an empty control has 0.
    int Count() const;
    QString Get(int index) const;
    void Put(int index, const QString& text);
    void Insert(int index, const QString& text);
    int Add(const QString& text);
    void Delete(int index);
    void Clear();
    QString Text() const;
    void SetText(const QString& text);

    // Reads the stream in the control's InputFormat; RTF that cannot be read is taken as
    // text. Throws std::runtime_error "Failed to Load Stream" when the device cannot be read.
    void LoadFromStream(QIODevice* stream);
    // Writes in the control's OutputFormat; throws std::runtime_error "Failed to Save
    // Stream" when the device fails.
    void SaveToStream(QIODevice* stream);
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);

private:
    TCustomRichEdit98* edit_;
    bool trimmed_;
};

class TCustomRichEdit98 : public QTextEdit {
    Q_OBJECT
public:
    explicit TCustomRichEdit98(QWidget* parent = nullptr);
    ~TCustomRichEdit98() override;

    // RTF of the selection: SetRTFText replaces the selection (inserts at the caret when
    // it is empty); nothing happens for an empty text. GetRTFText gives the selection as an
    // RTF document.
    void SetRTFText(const QByteArray& text);
    void SetRTFText(const QString& text);
    void GetRTFText(QString& text) const;
    QByteArray GetRTFData() const;
    void GetWideText(QString& text) const;
    void GetWideSelText(QString& text) const;

    // Options: bit 0 searches upwards, bit 1 whole words, bit 2 matching case. The range
    // runs from StartPos to the end when Length <= 0, else Length characters down (or up).
    // The position of the match, or -1.
    int FindText(const QString& text, int startPos, int options, int length) const;

    void Undo() { undo(); }
    void Redo() { redo(); }
    void BeginUpdate();
    void EndUpdate();
    int UpdateLockCount() const { return updateLockCount_; }
    // Extended URL detection over the characters Start to End (widened to whole words;
    // the whole text when the widened range is empty).
    void ScanURLs(int start, int end);
    void Clear();

    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length); // a negative length selects to the end of the text
    bool Modified() const { return document()->isModified(); }
    void SetModified(bool modified) { document()->setModified(modified); }

    TTextAttributes98& SelAttributes() { return selAttributes_; }
    TTextAttributes98& DefAttributes() { return defAttributes_; }
    TParaAttributes98& Paragraph() { return paragraph_; }
    TRichEditStrings98& Lines() { return lines_; }
    TRichEditStrings98& WideLines() { return wideLines_; }

    TAutoURLDetect AutoURLDetect() const { return autoURLDetect_; }
    void SetAutoURLDetect(TAutoURLDetect mode);
    TURLCollection& CustomURLs() { return customURLs_; }
    QColor URLColor = Qt::blue;
    Qt::CursorShape URLCursor = Qt::PointingHandCursor;
    bool WordFormatting = true;
    int UndoLimit = 100;
    TInputFormat InputFormat = ifRTF;
    TOutputFormat OutputFormat = ofRTF;
    bool SelectedInOut = false;
    bool PlainRTF = false;
    quint16 Language() const { return language_; }
    void SetLanguage(quint16 languageId);
    quint16 CodePage() const { return codePage_; }

    std::function<void(const QString&)> OnURLClick;
    std::function<void(const QString&)> OnURLMove;

    // Set while SetRTFText and GetRTFText stream: the streams act on the selection.
    bool SelectionStream = false;

    // The URL type index of a link text: a "/" after its first character selects the
    // first scheme type from item 1 on that begins it; else an "@" after its first
    // character selects item 0; -1 for none.
    int URLTypeOfLink(const QString& link) const;

protected:
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void TextChanged();
    void WidenURLRange(int& start, int& end) const;

    int updateLockCount_ = 0;
    int savedSelStart_ = 0, savedSelLength_ = 0, savedScroll_ = 0;
    TTextAttributes98 selAttributes_;
    TTextAttributes98 defAttributes_;
    TParaAttributes98 paragraph_;
    TRichEditStrings98 lines_;
    TRichEditStrings98 wideLines_;
    TAutoURLDetect autoURLDetect_ = adNone;
    TURLCollection customURLs_;
    quint16 language_ = 1033;
    quint16 codePage_ = 1252;
    int lastChangeStart_ = 0, lastChangeEnd_ = 0;
    bool scanning_ = false;
};

// The control as the windows place it; it publishes nothing beyond its base.
class TRichEdit98 : public TCustomRichEdit98 {
    Q_OBJECT
public:
    using TCustomRichEdit98::TCustomRichEdit98;
};

} // namespace orvek
