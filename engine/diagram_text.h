#pragma once
// The diagram text: a tree of cells as plain text, one "key=value;" line per field
// between "BeginCell=" and "EndCell=" lines, UTF-8 with CR LF line ends. Records,
// templates, undo snapshots, the clipboard and (scrambled) model files hold it.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <stdexcept>

class QIODevice;

namespace orvek {

// A diagram text that cannot be read: the reason is the message.
class EDiagramTextError : public std::runtime_error {
public:
    explicit EDiagramTextError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    const QString& Message() const { return message_; }

private:
    QString message_;
};

// Larger texts are refused: no model comes near this, a damaged file may claim anything.
constexpr qint64 kMaxDiagramTextBytes = 50LL * 1024 * 1024;
// Deeper trees are refused, so that a damaged text cannot exhaust the stack.
constexpr int kMaxDiagramDepth = 1000;

// Set by the clipboard paste while it loads; the comment switch applies only then.
inline bool ReadingClipboardPaste = false;

// Reads a diagram text line by line from a device; lines end with LF or CR LF. A device
// that can seek is read whole at once and split in memory (a line read through the
// device costs a buffered read per line); when the reader ends, the device stands
// after the last line read, as if read line by line.
class TDiagramLineReader {
public:
    explicit TDiagramLineReader(QIODevice& device);
    ~TDiagramLineReader();
    TDiagramLineReader(const TDiagramLineReader&) = delete;
    TDiagramLineReader& operator=(const TDiagramLineReader&) = delete;
    bool AtEnd() const;
    QString ReadLine();

private:
    QIODevice& device_;
    bool buffered_ = false;
    qint64 start_ = 0;
    QByteArray bytes_;
    qsizetype next_ = 0;
};

class TCell;

// Holds the box changes of the cells for the life of the object (a tree read from
// text changes each box many times on the way): at the end, the host is told once of
// every cell of the tree Cell belongs to, and each box takes its final state.
class THeldCellChanges {
public:
    explicit THeldCellChanges(TCell* cell);
    ~THeldCellChanges();
    THeldCellChanges(const THeldCellChanges&) = delete;
    THeldCellChanges& operator=(const THeldCellChanges&) = delete;
    // True while a THeldCellChanges lives: TCell::Changed then waits for its end.
    static bool Holding() { return depth_ > 0; }

private:
    TCell* cell_;
    static inline int depth_ = 0;
};

// Trims Line (every character up to a blank at both ends) and removes one trailing ";".
void StripKeyLineEnd(QString& line);

// Writes a long field: line breaks become "@@@"; a value of more than 80
// characters is written as lines of 80 characters (never splitting a character), the
// key repeated on each. Each line is CR LF, Indent, Key, the piece and ";". For a key
// that carries a lock, GuardLockLike keeps a piece that ends like a lock suffix whole.
void AppendChunkedKeyLines(
    const QString& key, const QString& indent, const QString& value, QString& text, bool guardLockLike = false);

// Trims every character up to a blank from both ends.
QString TrimControl(const QString& text);

} // namespace orvek
