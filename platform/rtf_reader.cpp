#include "platform/rtf_reader.h"

#include "platform/code_pages.h"

#include <QBuffer>
#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cstring>
#include <map>
#include <vector>

namespace orvek {

namespace {

// Limits that keep malformed input harmless. Groups deeper than the nesting limit keep
// the state of the deepest tracked group; a keyword longer than its limit is ignored.
constexpr int kMaxKeywordLength = 32;
constexpr int kMaxParameterDigits = 10;
constexpr int kMaxNesting = 512;
constexpr qint64 kMaxPictureBytes = 64 * 1024 * 1024;

enum class Dest {
    Text,
    Skip,
    FontTable,
    FontEntry,
    ColorTable,
    Picture,
    FieldInstruction,
};

struct CharState {
    int font = -1; // font number (\fN), -1 = the default font
    int halfPoints = 24; // \fsN
    bool bold = false, italic = false, strike = false, hidden = false;
    bool underline = false;
    int script = 0; // 0 normal, 1 subscript, 2 superscript
    int color = 0; // \cfN, 0 = automatic
    int back = 0; // \cbN or \highlightN, 0 = none
    QString href; // the hyperlink the text belongs to
};

struct ParaState {
    int align = 0; // 0 left, 1 right, 2 centre, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    bool inTable = false;
    bool keepNext = false; // \keepn
};

struct GroupState {
    CharState ch;
    ParaState para;
    Dest dest = Dest::Text;
    int uc = 1;
};

struct FontEntry {
    QString name;
    int charset = -1;
};

struct Run {
    QString text;
    QTextCharFormat format;
    bool isImage = false;
    QImage image;
    QSizeF imageSize; // pixels of the layout
};

struct Para {
    QTextBlockFormat format;
    QTextCharFormat markFormat; // the format of the paragraph mark
    std::vector<Run> runs;
};

struct Cell {
    std::vector<Para> paras;
};

struct Row {
    QList<int> rightEdges;
    int left = 0;
    int gap = 108;
    bool header = false;
    bool keep = false;
    std::vector<Cell> cells;
};

struct Item {
    bool isRow = false;
    Para para;
    Row row;
};

struct Picture {
    QByteArray hex;
    QByteArray binary;
    bool supported = false;
    int widthGoal = 0, heightGoal = 0, width = 0, height = 0; // twips, pixels
    int scaleX = 100, scaleY = 100;
};

// The position of a page keyword in Reader::page, or -1.
int PageWordIndex(const QByteArray& word)
{
    static const char* const words[] = { "paperw", "paperh", "margl", "margr", "margt", "margb" };
    for (int i = 0; i < 6; ++i)
        if (word == words[i])
            return i;
    return -1;
}

class Reader {
public:
    explicit Reader(const QByteArray& data)
        : data_(data)
    {
    }

    bool Parse(QString* error);

    std::vector<Item> items;
    bool lastParagraphTerminated = false;
    // The page the document states (\paperw \paperh \margl \margr \margt \margb),
    // in that order; -1 where it states nothing.
    std::array<int, 6> page { -1, -1, -1, -1, -1, -1 };

private:
    void HandleControlWord(const QByteArray& word, bool hasParam, int param);
    void HandleControlSymbol(char c);
    void PushGroup();
    void PopGroup();
    void AppendByte(uchar byte);
    void AppendChar(QChar ch);
    void EndParagraph();
    void EndCell();
    void EndRow();
    void FinishPicture();
    QTextCharFormat CurrentCharFormat() const;
    QTextBlockFormat CurrentBlockFormat() const;
    int CodePageOfFont(int font) const;
    bool IsSymbolFont(int font) const;
    Para& CurrentPara();
    bool Skipping() const { return state_.dest == Dest::Skip; }

    const QByteArray& data_;
    qsizetype pos_ = 0;
    GroupState state_;
    std::vector<GroupState> stack_;
    int excessDepth_ = 0; // groups opened beyond kMaxNesting
    int pendingSkip_ = 0; // characters still to skip after \uN
    bool ignorableNext_ = false;
    int documentCodePage_ = CodePage1252;
    int defaultFont_ = 0;

    std::map<int, FontEntry> fonts_;
    int fontEntryNumber_ = 0;
    QString fontEntryName_;
    int fontEntryCharset_ = -1;
    QList<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSeen_ = false;

    Picture picture_;
    QString fieldInstruction_;
    QString pendingHref_;

    Para para_; // the paragraph being read
    Row row_; // the row being read (its cells so far)
    Cell cell_; // the cell being read
    bool paraHasContent_ = false;
};

bool Reader::Parse(QString* error)
{
    qsizetype start = 0;
    while (start < data_.size() && std::isspace(uchar(data_[start])))
        ++start;
    if (data_.mid(start, 5) != "{\\rtf") {
        if (error)
            *error = QStringLiteral("The text is not RTF: it does not begin with \"{\\rtf\".");
        return false;
    }
    pos_ = start;
    int depth = 0;
    bool started = false;
    const qsizetype n = data_.size();
    while (pos_ < n) {
        const char c = data_[pos_];
        if (c == '{') {
            ++pos_;
            pendingSkip_ = 0;
            PushGroup();
            ++depth;
            started = true;
            continue;
        }
        if (c == '}') {
            ++pos_;
            pendingSkip_ = 0;
            PopGroup();
            if (--depth <= 0 && started)
                break; // the document group is closed; anything after it is not RTF
            continue;
        }
        if (c == '\\') {
            ++pos_;
            if (pos_ >= n)
                break;
            const char d = data_[pos_];
            if (std::isalpha(uchar(d))) {
                QByteArray word;
                while (pos_ < n && std::isalpha(uchar(data_[pos_]))) {
                    if (word.size() <= kMaxKeywordLength)
                        word.append(data_[pos_]);
                    ++pos_;
                }
                bool hasParam = false;
                bool negative = false;
                qint64 value = 0;
                if (pos_ < n && data_[pos_] == '-' && pos_ + 1 < n && std::isdigit(uchar(data_[pos_ + 1]))) {
                    negative = true;
                    ++pos_;
                }
                int digits = 0;
                while (pos_ < n && std::isdigit(uchar(data_[pos_]))) {
                    if (digits < kMaxParameterDigits)
                        value = value * 10 + (data_[pos_] - '0');
                    ++digits;
                    ++pos_;
                    hasParam = true;
                }
                if (pos_ < n && data_[pos_] == ' ')
                    ++pos_;
                value = std::clamp<qint64>(negative ? -value : value, -2147483647LL, 2147483647LL);
                if (word.size() > kMaxKeywordLength)
                    continue;
                if (word == "bin" && hasParam) {
                    // Raw bytes follow; they belong to a picture or are skipped.
                    const qint64 count = std::clamp<qint64>(value, 0, n - pos_);
                    if (state_.dest == Dest::Picture && picture_.binary.size() + count <= kMaxPictureBytes)
                        picture_.binary.append(data_.mid(pos_, count));
                    pos_ += count;
                    continue;
                }
                if (pendingSkip_ > 0) {
                    --pendingSkip_;
                    continue;
                }
                HandleControlWord(word, hasParam, int(value));
                continue;
            }
            ++pos_;
            if (d == '\'') {
                // \'xx: a byte in the code page of the current font
                int byte = 0, got = 0;
                while (got < 2 && pos_ < n && std::isxdigit(uchar(data_[pos_]))) {
                    const char h = data_[pos_++];
                    byte = byte * 16 + (std::isdigit(uchar(h)) ? h - '0' : (std::tolower(uchar(h)) - 'a' + 10));
                    ++got;
                }
                if (got == 0)
                    continue;
                if (pendingSkip_ > 0) {
                    --pendingSkip_;
                    continue;
                }
                AppendByte(uchar(byte));
                continue;
            }
            if (pendingSkip_ > 0 && d != '*') {
                --pendingSkip_;
                continue;
            }
            HandleControlSymbol(d);
            continue;
        }
        ++pos_;
        if (c == '\r' || c == '\n' || c == '\0')
            continue;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            continue;
        }
        if (state_.dest == Dest::Picture) {
            if (std::isxdigit(uchar(c)) && picture_.hex.size() < 2 * kMaxPictureBytes)
                picture_.hex.append(c);
            continue;
        }
        if (uchar(c) < 0x20 && c != '\t')
            continue; // binary junk
        AppendByte(uchar(c));
    }
    // A document cut short: what was read still counts.
    while (!stack_.empty() || excessDepth_ > 0)
        PopGroup();
    if (!cell_.paras.empty() || !row_.cells.empty())
        EndRow();
    if (paraHasContent_ || !para_.runs.empty()) {
        Item item;
        item.para = std::move(para_);
        items.push_back(std::move(item));
        lastParagraphTerminated = false;
    }
    return true;
}

void Reader::PushGroup()
{
    if (int(stack_.size()) >= kMaxNesting) {
        ++excessDepth_;
        return;
    }
    stack_.push_back(state_);
    ignorableNext_ = false;
}

void Reader::PopGroup()
{
    if (excessDepth_ > 0) {
        --excessDepth_;
        return;
    }
    if (stack_.empty())
        return;
    const Dest ending = state_.dest;
    if (ending == Dest::FontEntry || (ending == Dest::FontTable && !fontEntryName_.isEmpty())) {
        QString name = fontEntryName_.trimmed();
        if (name.endsWith(QLatin1Char(';')))
            name.chop(1);
        if (!name.isEmpty() || fontEntryCharset_ >= 0)
            fonts_[fontEntryNumber_] = FontEntry { name.trimmed(), fontEntryCharset_ };
        fontEntryName_.clear();
        fontEntryCharset_ = -1;
    }
    if (ending == Dest::Picture && (stack_.back().dest != Dest::Picture))
        FinishPicture();
    if (ending == Dest::FieldInstruction && stack_.back().dest != Dest::FieldInstruction) {
        const QString inst = fieldInstruction_.trimmed();
        pendingHref_.clear();
        if (inst.startsWith(QLatin1String("HYPERLINK"))) {
            QString target = inst.mid(9).trimmed();
            const qsizetype q1 = target.indexOf(QLatin1Char('"'));
            const qsizetype q2 = q1 >= 0 ? target.indexOf(QLatin1Char('"'), q1 + 1) : -1;
            if (q1 >= 0 && q2 > q1)
                target = target.mid(q1 + 1, q2 - q1 - 1);
            pendingHref_ = target;
        }
        fieldInstruction_.clear();
    }
    state_ = stack_.back();
    stack_.pop_back();
}

int Reader::CodePageOfFont(int font) const
{
    const auto it = fonts_.find(font < 0 ? defaultFont_ : font);
    if (it == fonts_.end())
        return documentCodePage_;
    if (it->second.name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return SymbolCodePage;
    if (it->second.charset < 0 || it->second.charset == 1)
        return documentCodePage_;
    return CodePageOfCharset(it->second.charset);
}

bool Reader::IsSymbolFont(int font) const
{
    return CodePageOfFont(font) == SymbolCodePage;
}

void Reader::AppendByte(uchar byte)
{
    switch (state_.dest) {
    case Dest::Text: {
        const int cp = CodePageOfFont(state_.ch.font);
        if (cp == SymbolCodePage)
            AppendChar(SymbolByteFromRtf(byte));
        else
            AppendChar(CodePageToUnicode(cp, byte));
        break;
    }
    case Dest::FontTable:
    case Dest::FontEntry:
        fontEntryName_.append(CodePageToUnicode(documentCodePage_, byte));
        break;
    case Dest::FieldInstruction:
        fieldInstruction_.append(CodePageToUnicode(documentCodePage_, byte));
        break;
    case Dest::ColorTable:
        if (byte == ';') {
            colors_.append(colorSeen_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorSeen_ = false;
        }
        break;
    default:
        break;
    }
}

void Reader::AppendChar(QChar ch)
{
    if (state_.dest == Dest::FieldInstruction) {
        fieldInstruction_.append(ch);
        return;
    }
    if (state_.dest == Dest::FontTable || state_.dest == Dest::FontEntry) {
        fontEntryName_.append(ch);
        return;
    }
    if (state_.dest != Dest::Text || state_.ch.hidden)
        return;
    Para& para = CurrentPara();
    const QTextCharFormat format = CurrentCharFormat();
    if (para.runs.empty() || para.runs.back().isImage || para.runs.back().format != format) {
        Run run;
        run.format = format;
        para.runs.push_back(std::move(run));
    }
    para.runs.back().text.append(ch);
    paraHasContent_ = true;
}

Para& Reader::CurrentPara()
{
    return para_;
}

QTextCharFormat Reader::CurrentCharFormat() const
{
    QTextCharFormat f;
    const auto it = fonts_.find(state_.ch.font < 0 ? defaultFont_ : state_.ch.font);
    if (it != fonts_.end() && !it->second.name.isEmpty())
        f.setFontFamilies(QStringList { it->second.name });
    f.setFontPointSize(std::clamp(state_.ch.halfPoints, 1, 3276) / 2.0);
    if (state_.ch.bold)
        f.setFontWeight(QFont::Bold);
    if (state_.ch.italic)
        f.setFontItalic(true);
    if (state_.ch.underline)
        f.setFontUnderline(true);
    if (state_.ch.strike)
        f.setFontStrikeOut(true);
    if (state_.ch.script == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else if (state_.ch.script == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (state_.ch.color > 0 && state_.ch.color < colors_.size() && colors_[state_.ch.color].isValid())
        f.setForeground(colors_[state_.ch.color]);
    if (state_.ch.back > 0 && state_.ch.back < colors_.size() && colors_[state_.ch.back].isValid())
        f.setBackground(colors_[state_.ch.back]);
    if (!state_.ch.href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(state_.ch.href);
    }
    return f;
}

QTextBlockFormat Reader::CurrentBlockFormat() const
{
    QTextBlockFormat f;
    switch (state_.para.align) {
    case 1:
        f.setAlignment(Qt::AlignRight);
        break;
    case 2:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case 3:
        f.setAlignment(Qt::AlignJustify);
        break;
    default:
        f.setAlignment(Qt::AlignLeft);
        break;
    }
    if (state_.para.left)
        f.setLeftMargin(state_.para.left * PixelsPerTwip);
    if (state_.para.right)
        f.setRightMargin(state_.para.right * PixelsPerTwip);
    if (state_.para.first)
        f.setTextIndent(state_.para.first * PixelsPerTwip);
    if (state_.para.before)
        f.setTopMargin(state_.para.before * PixelsPerTwip);
    if (state_.para.after)
        f.setBottomMargin(state_.para.after * PixelsPerTwip);
    if (state_.para.keepNext)
        f.setProperty(rtfprop::KeepWithNext, true);
    return f;
}

void Reader::EndParagraph()
{
    para_.format = CurrentBlockFormat();
    para_.markFormat = CurrentCharFormat();
    if (state_.para.inTable) {
        cell_.paras.push_back(std::move(para_));
    } else {
        Item item;
        item.para = std::move(para_);
        items.push_back(std::move(item));
        lastParagraphTerminated = true;
    }
    para_ = Para();
    paraHasContent_ = false;
}

void Reader::EndCell()
{
    para_.format = CurrentBlockFormat();
    para_.markFormat = CurrentCharFormat();
    cell_.paras.push_back(std::move(para_));
    para_ = Para();
    paraHasContent_ = false;
    row_.cells.push_back(std::move(cell_));
    cell_ = Cell();
}

void Reader::EndRow()
{
    if (paraHasContent_ || !para_.runs.empty() || !cell_.paras.empty())
        EndCell();
    Item item;
    item.isRow = true;
    item.row = std::move(row_);
    // Each row keeps its geometry; the next \trowd starts a new one, a row without
    // \trowd repeats the previous geometry.
    row_.cells.clear();
    row_.rightEdges = item.row.rightEdges;
    row_.left = item.row.left;
    row_.gap = item.row.gap;
    row_.header = item.row.header;
    row_.keep = item.row.keep;
    if (!item.row.cells.empty())
        items.push_back(std::move(item));
    lastParagraphTerminated = true;
}

void Reader::FinishPicture()
{
    if (!picture_.supported) {
        picture_ = Picture();
        return;
    }
    QByteArray bytes = picture_.binary;
    if (bytes.isEmpty())
        bytes = QByteArray::fromHex(picture_.hex);
    QImage image;
    image.loadFromData(bytes);
    if (!image.isNull()) {
        double w = picture_.widthGoal > 0 ? picture_.widthGoal * PixelsPerTwip : image.width();
        double h = picture_.heightGoal > 0 ? picture_.heightGoal * PixelsPerTwip : image.height();
        w = w * std::clamp(picture_.scaleX, 1, 10000) / 100.0;
        h = h * std::clamp(picture_.scaleY, 1, 10000) / 100.0;
        Run run;
        run.isImage = true;
        run.image = image;
        run.imageSize = QSizeF(w, h);
        run.format = CurrentCharFormat();
        // The picture belongs to the text group around the \pict group.
        CurrentPara().runs.push_back(std::move(run));
        paraHasContent_ = true;
    }
    picture_ = Picture();
}

void Reader::HandleControlSymbol(char c)
{
    switch (c) {
    case '*':
        ignorableNext_ = true;
        return;
    case '\\':
    case '{':
    case '}':
        AppendChar(QLatin1Char(c));
        break;
    case '~':
        AppendChar(QChar(0x00A0));
        break;
    case '-':
        AppendChar(QChar(0x00AD));
        break;
    case '_':
        AppendChar(QChar(0x2011));
        break;
    case '\r':
    case '\n':
        if (state_.dest == Dest::Text)
            EndParagraph();
        break;
    case '\t':
        AppendChar(QLatin1Char('\t'));
        break;
    default:
        break;
    }
    ignorableNext_ = false;
}

void Reader::HandleControlWord(const QByteArray& word, bool hasParam, int param)
{
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    if (Skipping())
        return;
    const int on = hasParam ? param : 1;

    // Destinations.
    static const char* const kSkipped[] = { "stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer",
        "footerl", "footerr", "footerf", "footnote", "pntext", "pntxta", "pntxtb", "listtable", "listoverridetable",
        "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore", "pgdsctbl",
        "listtext", "nonshppict", "object", "revtbl", "filetbl", "comment", "annotation", "atnid", "atnauthor",
        "template", "userprops", "fchars", "lchars", "docvar", "bkmkstart", "bkmkend", "pn", "mmathPr", "shpinst", "sp",
        "fldtype" };
    for (const char* s : kSkipped)
        if (word == s) {
            state_.dest = Dest::Skip;
            return;
        }
    if (word == "fonttbl") {
        state_.dest = Dest::FontTable;
        return;
    }
    if (word == "colortbl") {
        state_.dest = Dest::ColorTable;
        colors_.clear();
        return;
    }
    if (word == "pict") {
        state_.dest = Dest::Picture;
        picture_ = Picture();
        return;
    }
    if (word == "fldinst") {
        state_.dest = Dest::FieldInstruction;
        fieldInstruction_.clear();
        return;
    }
    if (word == "fldrslt") {
        state_.ch.href = pendingHref_;
        return;
    }
    if (word == "field" || word == "shppict" || word == "shp" || word == "shprslt" || word == "ud" || word == "upr") {
        return;
    }
    if (ignorable) {
        // An unknown destination marked \* is skipped with everything in it.
        state_.dest = Dest::Skip;
        return;
    }

    switch (state_.dest) {
    case Dest::FontTable:
    case Dest::FontEntry:
        if (word == "f") {
            if (!fontEntryName_.trimmed().isEmpty() || fontEntryCharset_ >= 0) {
                QString name = fontEntryName_.trimmed();
                if (name.endsWith(QLatin1Char(';')))
                    name.chop(1);
                fonts_[fontEntryNumber_] = FontEntry { name.trimmed(), fontEntryCharset_ };
            }
            fontEntryName_.clear();
            fontEntryCharset_ = -1;
            fontEntryNumber_ = param;
            if (!stack_.empty() && stack_.back().dest == Dest::FontTable)
                state_.dest = Dest::FontEntry;
        } else if (word == "fcharset") {
            fontEntryCharset_ = param;
        } else if (word == "u" && hasParam) {
            fontEntryName_.append(QChar(char16_t(param < 0 ? param + 65536 : param)));
            pendingSkip_ = state_.uc;
        }
        return;
    case Dest::ColorTable:
        if (word == "red") {
            red_ = std::clamp(param, 0, 255);
            colorSeen_ = true;
        } else if (word == "green") {
            green_ = std::clamp(param, 0, 255);
            colorSeen_ = true;
        } else if (word == "blue") {
            blue_ = std::clamp(param, 0, 255);
            colorSeen_ = true;
        }
        return;
    case Dest::Picture:
        if (word == "pngblip" || word == "jpegblip")
            picture_.supported = true;
        else if (word == "emfblip" || word == "wmetafile" || word == "macpict" || word == "dibitmap"
            || word == "wbitmap")
            picture_.supported = false;
        else if (word == "picwgoal")
            picture_.widthGoal = std::max(0, param);
        else if (word == "pichgoal")
            picture_.heightGoal = std::max(0, param);
        else if (word == "picw")
            picture_.width = std::max(0, param);
        else if (word == "pich")
            picture_.height = std::max(0, param);
        else if (word == "picscalex")
            picture_.scaleX = param;
        else if (word == "picscaley")
            picture_.scaleY = param;
        return;
    default:
        break;
    }

    if (word == "ansicpg") {
        documentCodePage_ = param == 1250 ? CodePage1250 : CodePage1252;
    } else if (word == "deff") {
        defaultFont_ = param;
    } else if (word == "uc") {
        state_.uc = std::clamp(param, 0, 10);
    } else if (word == "u" && hasParam) {
        int code = param < 0 ? param + 65536 : param;
        code = std::clamp(code, 0, 0xFFFF);
        if (code >= 0xF020 && code <= 0xF0FF && IsSymbolFont(state_.ch.font))
            AppendChar(SymbolByteFromRtf(uchar(code - 0xF000)));
        else if (code != 0)
            AppendChar(QChar(char16_t(code)));
        pendingSkip_ = state_.uc;
    } else if (word == "par") {
        if (state_.dest == Dest::Text)
            EndParagraph();
    } else if (word == "sect" || word == "page") {
        if (state_.dest == Dest::Text && paraHasContent_)
            EndParagraph();
    } else if (word == "line") {
        AppendChar(QChar(QChar::LineSeparator));
    } else if (word == "tab") {
        AppendChar(QLatin1Char('\t'));
    } else if (word == "emdash") {
        AppendChar(QChar(0x2014));
    } else if (word == "endash") {
        AppendChar(QChar(0x2013));
    } else if (word == "bullet") {
        AppendChar(QChar(0x2022));
    } else if (word == "lquote") {
        AppendChar(QChar(0x2018));
    } else if (word == "rquote") {
        AppendChar(QChar(0x2019));
    } else if (word == "ldblquote") {
        AppendChar(QChar(0x201C));
    } else if (word == "rdblquote") {
        AppendChar(QChar(0x201D));
    } else if (word == "emspace") {
        AppendChar(QChar(0x2003));
    } else if (word == "enspace") {
        AppendChar(QChar(0x2002));
    } else if (word == "plain") {
        const QString href = state_.ch.href;
        state_.ch = CharState();
        state_.ch.href = href;
    } else if (word == "pard") {
        state_.para = ParaState();
    } else if (word == "f") {
        state_.ch.font = param;
    } else if (word == "fs") {
        state_.ch.halfPoints = hasParam ? std::clamp(param, 1, 3276) : 24;
    } else if (word == "b") {
        state_.ch.bold = on != 0;
    } else if (word == "i") {
        state_.ch.italic = on != 0;
    } else if (word == "strike" || word == "striked") {
        state_.ch.strike = on != 0;
    } else if (word == "v") {
        state_.ch.hidden = on != 0;
    } else if (word == "ul" || word == "ulth" || word == "uld" || word == "uldb" || word == "ulw" || word == "ulwave"
        || word == "uldash" || word == "ulthd" || word == "ulhwave" || word == "ulldash" || word == "ulthdash") {
        state_.ch.underline = on != 0;
    } else if (word == "ulnone") {
        state_.ch.underline = false;
    } else if (word == "super") {
        state_.ch.script = 2;
    } else if (word == "sub") {
        state_.ch.script = 1;
    } else if (word == "nosupersub") {
        state_.ch.script = 0;
    } else if (word == "up") {
        state_.ch.script = on != 0 ? 2 : 0;
    } else if (word == "dn") {
        state_.ch.script = on != 0 ? 1 : 0;
    } else if (word == "cf") {
        state_.ch.color = std::max(0, param);
    } else if (word == "cb" || word == "highlight") {
        state_.ch.back = std::max(0, param);
    } else if (word == "ql") {
        state_.para.align = 0;
    } else if (word == "qr") {
        state_.para.align = 1;
    } else if (word == "qc") {
        state_.para.align = 2;
    } else if (word == "qj") {
        state_.para.align = 3;
    } else if (word == "li") {
        state_.para.left = param;
    } else if (word == "ri") {
        state_.para.right = param;
    } else if (word == "fi") {
        state_.para.first = param;
    } else if (word == "sb") {
        state_.para.before = std::max(0, param);
    } else if (word == "sa") {
        state_.para.after = std::max(0, param);
    } else if (word == "intbl") {
        state_.para.inTable = true;
    } else if (word == "keepn") {
        state_.para.keepNext = on != 0;
    } else if (const int side = PageWordIndex(word); side >= 0) {
        if (hasParam && param > 0 && param < 1000000)
            page[size_t(side)] = param;
    } else if (word == "trowd") {
        // A fresh list rather than clear(): a cleared list keeps its buffer, and Qt
        // compares an empty list with a buffer to one without through memcmp on a null
        // pointer.
        row_.rightEdges = QList<int>();
        row_.left = 0;
        row_.gap = 108;
        row_.header = false;
        row_.keep = false;
    } else if (word == "trleft") {
        row_.left = param;
    } else if (word == "trgaph") {
        row_.gap = std::max(0, param);
    } else if (word == "trhdr") {
        row_.header = true;
    } else if (word == "trkeep") {
        row_.keep = true;
    } else if (word == "cellx") {
        if (row_.rightEdges.size() < 1000)
            row_.rightEdges.append(param);
    } else if (word == "cell") {
        if (row_.cells.size() < 1000)
            EndCell();
        else
            EndParagraph();
    } else if (word == "nestcell") {
        EndParagraph();
    } else if (word == "row") {
        EndRow();
    }
}

// Puts the paragraph's runs at the cursor.
void InsertRuns(QTextCursor& cursor, const Para& para, QTextDocument* document, int& imageCounter)
{
    for (const Run& run : para.runs) {
        if (run.isImage) {
            QString name;
            do {
                name = QStringLiteral("orvek-picture:%1").arg(++imageCounter);
            } while (document->resource(QTextDocument::ImageResource, QUrl(name)).isValid());
            document->addResource(QTextDocument::ImageResource, QUrl(name), run.image);
            QTextImageFormat image;
            image.merge(run.format);
            image.setName(name);
            image.setWidth(run.imageSize.width());
            image.setHeight(run.imageSize.height());
            cursor.insertImage(image);
        } else {
            cursor.insertText(run.text, run.format);
        }
    }
}

void InsertCellParas(QTextCursor& cursor, const Cell& cell, QTextDocument* document, int& imageCounter)
{
    for (size_t p = 0; p < cell.paras.size(); ++p) {
        const Para& para = cell.paras[p];
        if (p > 0)
            cursor.insertBlock(para.format, para.markFormat);
        else {
            cursor.setBlockFormat(para.format);
            cursor.setBlockCharFormat(para.markFormat);
        }
        InsertRuns(cursor, para, document, imageCounter);
    }
}

// Inserts consecutive rows of the same geometry as one table at the cursor; the cursor
// then stands after the table.
void InsertRows(QTextCursor& cursor, const std::vector<const Row*>& rows, QTextDocument* document, int& imageCounter)
{
    int columns = 0;
    for (const Row* row : rows)
        columns = std::max<int>(columns, int(std::max<qsizetype>(row->cells.size(), row->rightEdges.size())));
    columns = std::max(columns, 1);
    int headerRows = 0;
    while (headerRows < int(rows.size()) && rows[headerRows]->header)
        ++headerRows;
    const Row& first = *rows.front();
    const QTextTableFormat format
        = RtfTableFormat(first.rightEdges, first.left, first.gap, headerRows, first.keep, columns);
    QTextTable* table = cursor.insertTable(int(rows.size()), columns, format);
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(rows[r]->cells.size()) && c < columns; ++c) {
            QTextCursor cellCursor = table->cellAt(r, c).firstCursorPosition();
            InsertCellParas(cellCursor, rows[r]->cells[c], document, imageCounter);
        }
    }
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter);
}

// Compares two lists of edges without handing a null buffer to the library's compare.
bool SameEdges(const QList<int>& a, const QList<int>& b)
{
    return a.size() == b.size() && (a.isEmpty() || std::equal(a.cbegin(), a.cend(), b.cbegin()));
}

bool SameGeometry(const Row& a, const Row& b)
{
    return SameEdges(a.rightEdges, b.rightEdges) && a.left == b.left && a.keep == b.keep && a.gap == b.gap
        && (a.header || !b.header);
}

void Emit(Reader& reader, QTextCursor& cursor)
{
    QTextDocument* document = cursor.document();
    const bool wasEmpty = document->isEmpty() && document->rootFrame()->childFrames().isEmpty();
    int imageCounter = 0;
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    auto& items = reader.items;
    // The paragraph mark that closes a whole document adds no empty paragraph.
    bool terminatedTail = reader.lastParagraphTerminated;
    if (wasEmpty && terminatedTail && !items.empty() && !items.back().isRow)
        terminatedTail = false;
    for (size_t i = 0; i < items.size(); ++i) {
        const bool last = i + 1 == items.size();
        if (items[i].isRow) {
            std::vector<const Row*> rows { &items[i].row };
            while (i + 1 < items.size() && items[i + 1].isRow && SameGeometry(*rows.back(), items[i + 1].row)) {
                ++i;
                rows.push_back(&items[i].row);
            }
            // The table goes in at the cursor: the text before it stays in the paragraph
            // before the table, the text after it moves to the paragraph after.
            InsertRows(cursor, rows, document, imageCounter);
            continue;
        }
        const Para& para = items[i].para;
        const bool terminated = !last || terminatedTail;
        if (terminated || wasEmpty) {
            cursor.setBlockFormat(para.format);
            if (cursor.block().length() <= 1)
                cursor.setBlockCharFormat(para.markFormat);
        }
        InsertRuns(cursor, para, document, imageCounter);
        // A table that follows starts at the end of this paragraph.
        const bool tableFollows = !last && items[i + 1].isRow;
        if (terminated && !tableFollows)
            cursor.insertBlock(items[i].para.format, para.markFormat);
    }
    cursor.endEditBlock();
}

} // namespace

QTextTableFormat RtfTableFormat(const QList<int>& rightEdges, int left, int gap, int headerRows, bool keep, int columns)
{
    QTextTableFormat format;
    // Single black lines around every cell, as the rows' \brdrs borders say.
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QBrush(Qt::black));
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    format.setCellPadding(gap * PixelsPerTwip);
    format.setLeftMargin(std::max(0, left) * PixelsPerTwip);
    format.setAlignment(Qt::AlignLeft);
    QList<QTextLength> widths;
    int previous = left;
    for (int c = 0; c < columns; ++c) {
        if (c < rightEdges.size()) {
            const int edge = rightEdges[c];
            widths.append(QTextLength(QTextLength::FixedLength, std::max(1, edge - previous) * PixelsPerTwip));
            previous = edge;
        } else {
            widths.append(QTextLength(QTextLength::VariableLength, 0));
        }
    }
    format.setColumnWidthConstraints(widths);
    format.setHeaderRowCount(headerRows);
    // An empty list goes in without a buffer, so that formats compared by the document
    // never compare an emptied buffer with a null one.
    format.setProperty(rtfprop::CellRightEdges, QVariant::fromValue(rightEdges.isEmpty() ? QList<int>() : rightEdges));
    format.setProperty(rtfprop::RowLeft, left);
    format.setProperty(rtfprop::RowKeep, keep);
    format.setProperty(rtfprop::CellGap, gap);
    return format;
}

bool IsRtfData(const QByteArray& data)
{
    qsizetype start = 0;
    while (start < data.size() && std::isspace(uchar(data[start])))
        ++start;
    return data.mid(start, 5) == "{\\rtf";
}

void ShowEmptyLinesAfterTables(QTextDocument* document)
{
    for (QTextFrame* frame : document->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        const QTextBlock after = document->findBlock(table->lastPosition() + 1);
        if (!after.isValid() || after.length() != 1 || !after.next().isValid() || QTextCursor(after).currentTable())
            continue;
        const QFont font = after.charFormat().font();
        const double points = font.pointSizeF() > 0 ? font.pointSizeF() : document->defaultFont().pointSizeF();
        QTextTableFormat format = table->format();
        format.setBottomMargin(
            QFontMetricsF(font).lineSpacing() > 0 ? QFontMetricsF(font).lineSpacing() : points * 96.0 / 72.0 * 1.15);
        table->setFormat(format);
    }
}

bool ReadRtf(const QByteArray& rtf, QTextCursor& cursor, QString* error)
{
    Reader reader(rtf);
    if (!reader.Parse(error))
        return false;
    Emit(reader, cursor);
    ShowEmptyLinesAfterTables(cursor.document());
    return true;
}

bool ReadRtfDocument(const QByteArray& rtf, QTextDocument* document, QString* error)
{
    Reader reader(rtf);
    if (!reader.Parse(error))
        return false;
    document->clear();
    QTextCursor cursor(document);
    Emit(reader, cursor);
    ShowEmptyLinesAfterTables(document);
    // The page a document states goes with it, to be stated again when it is written.
    TPageTwips page;
    page.paperWidth = reader.page[0];
    page.paperHeight = reader.page[1];
    page.left = std::max(0, reader.page[2]);
    page.right = std::max(0, reader.page[3]);
    page.top = std::max(0, reader.page[4]);
    page.bottom = std::max(0, reader.page[5]);
    SetDocumentPage(document, page.IsValid() ? page : TPageTwips());
    return true;
}

void SetDocumentPage(QTextDocument* document, const TPageTwips& page)
{
    document->setProperty(kDocumentPageProperty,
        page.IsValid() ? QVariant::fromValue(
            QList<int> { page.paperWidth, page.paperHeight, page.left, page.top, page.right, page.bottom })
                       : QVariant());
}

TPageTwips DocumentPage(const QTextDocument* document)
{
    const QList<int> v = document->property(kDocumentPageProperty).value<QList<int>>();
    if (v.size() != 6)
        return DefaultReportPage();
    TPageTwips page;
    page.paperWidth = v[0];
    page.paperHeight = v[1];
    page.left = v[2];
    page.top = v[3];
    page.right = v[4];
    page.bottom = v[5];
    return page.IsValid() ? page : DefaultReportPage();
}

} // namespace orvek
