#include "core/string_table.h"

#include "core/common_vars.h"
#include "core/decimal_digits.h"
#include "core/number_text.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QMutex>
#include <QSaveFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QUrl>

#include <sys/stat.h>

#include <array>
#include <cmath>
#include <functional>
#include <stdexcept>

namespace orvek {

namespace {

// Raised inside Format when the pattern does not fit its arguments.
struct FormatMismatch { };

QString SpecialFloatText(long double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

char Separator()
{
    return char(OwnDecimalSeparator.unicode());
}

// "-" for a negative number whose text shows a digit other than zero.
QString Signed(bool negative, const std::string& digits)
{
    const bool nonZero = digits.find_first_of("123456789") != std::string::npos;
    return (negative && nonZero ? QStringLiteral("-") : QString()) + QString::fromStdString(digits);
}

QString FixedText(long double v, int decimals)
{
    if (!std::isfinite(v))
        return SpecialFloatText(v);
    const DecimalDigits d = DigitsOf(v);
    return Signed(d.negative, FixedDigitsText(d, decimals, Separator()));
}

// Scientific form with Digits significant digits and a signed exponent of at least
// three digits: 1.23450000000000E+003.
QString ScientificText(long double v, int digits)
{
    if (!std::isfinite(v))
        return SpecialFloatText(v);
    const DecimalDigits d = DigitsOf(v);
    std::string rounded;
    int exponent = 0;
    RoundedDigits(d, digits, rounded, exponent);
    if (d.zero)
        exponent = 0;
    std::string text(1, rounded[0]);
    if (digits > 1)
        text += Separator() + rounded.substr(1);
    text += exponent < 0 ? "E-" : "E+";
    std::string power;
    AppendInteger(power, std::abs(exponent));
    text += std::string(power.size() < 3 ? 3 - power.size() : 0, '0') + power;
    return Signed(d.negative, text);
}

// The general text with at most Digits significant digits, laid out as the program's
// general number text (which it is for 15 digits and more).
QString GeneralText(long double v, int digits)
{
    if (digits >= 15 || !std::isfinite(v))
        return FloatToGeneralText(v);
    const DecimalDigits d = DigitsOf(v);
    if (d.zero)
        return QStringLiteral("0");
    std::string m;
    int exponent = 0;
    RoundedDigits(d, std::max(digits, 1), m, exponent);
    while (m.size() > 1 && m.back() == '0')
        m.pop_back();
    std::string text;
    if (exponent < -5 || exponent >= digits) {
        text = m.substr(0, 1);
        if (m.size() > 1)
            text += Separator() + m.substr(1);
        text += 'E';
        AppendInteger(text, exponent);
    } else if (exponent < 0) {
        text = std::string("0") + Separator() + std::string(size_t(-exponent - 1), '0') + m;
    } else if (int(m.size()) <= exponent + 1) {
        text = m + std::string(size_t(exponent + 1) - m.size(), '0');
    } else {
        text = m.substr(0, size_t(exponent + 1)) + Separator() + m.substr(size_t(exponent + 1));
    }
    return Signed(d.negative, text);
}

QString UnsignedText(qint64 v, int base)
{
    const quint64 u = (v < 0 && v >= INT32_MIN) ? quint64(quint32(qint32(v))) : quint64(v);
    return QString::number(u, base).toUpper();
}

QString PaddedDigits(QString digits, int minDigits)
{
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    if (minDigits > digits.size())
        digits = QString(minDigits - digits.size(), QLatin1Char('0')) + digits;
    return negative ? QLatin1Char('-') + digits : digits;
}

class Formatter {
public:
    Formatter(const QString& pattern, const FormatArg* args, qsizetype count)
        : pattern_(pattern)
        , args_(args)
        , count_(count)
    {
    }

    QString Run()
    {
        QString out;
        qsizetype i = 0;
        while (i < pattern_.size()) {
            const QChar c = pattern_.at(i++);
            if (c != QLatin1Char('%')) {
                out += c;
                continue;
            }
            if (i >= pattern_.size())
                throw FormatMismatch {};
            if (pattern_.at(i) == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
            out += Placeholder(i);
        }
        return out;
    }

private:
    const FormatArg& NextArg()
    {
        if (next_ < 0 || next_ >= count_)
            throw FormatMismatch {};
        return args_[next_++];
    }

    qint64 IntArg()
    {
        const FormatArg& arg = NextArg();
        if (auto* v = std::get_if<qint64>(&arg.value))
            return *v;
        throw FormatMismatch {};
    }

    // Digits or "*" at I; -1 when neither.
    int Number(qsizetype& i)
    {
        if (i < pattern_.size() && pattern_.at(i) == QLatin1Char('*')) {
            ++i;
            const qint64 v = IntArg();
            return int(std::clamp<qint64>(v, 0, 100000));
        }
        int value = -1;
        while (i < pattern_.size() && pattern_.at(i).isDigit() && pattern_.at(i).unicode() < 128) {
            value = (value < 0 ? 0 : value) * 10 + pattern_.at(i).digitValue();
            if (value > 100000)
                throw FormatMismatch {};
            ++i;
        }
        return value;
    }

    QString Placeholder(qsizetype& i)
    {
        int first = Number(i);
        if (i < pattern_.size() && pattern_.at(i) == QLatin1Char(':')) {
            if (first < 0)
                first = 0;
            next_ = first;
            ++i;
            first = -1;
        }
        bool left = false;
        if (first < 0 && i < pattern_.size() && pattern_.at(i) == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        const int width = first >= 0 ? first : Number(i);
        int precision = -1;
        if (i < pattern_.size() && pattern_.at(i) == QLatin1Char('.')) {
            ++i;
            precision = std::max(Number(i), 0);
        }
        if (i >= pattern_.size())
            throw FormatMismatch {};
        const QChar type = pattern_.at(i++).toLower();
        QString text;
        switch (type.unicode()) {
        case 'd':
            text = PaddedDigits(QString::number(IntArg()), precision);
            break;
        case 'u':
            text = PaddedDigits(UnsignedText(IntArg(), 10), precision);
            break;
        case 'x':
            text = PaddedDigits(UnsignedText(IntArg(), 16), precision);
            break;
        case 's': {
            const FormatArg& arg = NextArg();
            auto* v = std::get_if<QString>(&arg.value);
            if (!v)
                throw FormatMismatch {};
            text = precision >= 0 ? v->left(precision) : *v;
            break;
        }
        case 'f':
            text = FixedText(FloatArg(), precision < 0 ? 2 : std::min(precision, 18));
            break;
        case 'e':
            text = ScientificText(FloatArg(), precision < 0 ? 15 : std::clamp(precision, 1, 15));
            break;
        case 'g':
            text = GeneralText(FloatArg(), precision < 0 ? 15 : precision);
            break;
        default:
            throw FormatMismatch {};
        }
        if (width > text.size())
            text = left ? text.leftJustified(width) : text.rightJustified(width);
        return text;
    }

    long double FloatArg()
    {
        const FormatArg& arg = NextArg();
        if (auto* v = std::get_if<long double>(&arg.value))
            return *v;
        throw FormatMismatch {};
    }

    const QString& pattern_;
    const FormatArg* args_;
    qsizetype count_;
    qsizetype next_ = 0;
};

QString FormatArgs(const QString& pattern, const FormatArg* args, qsizetype count)
{
    try {
        return Formatter(pattern, args, count).Run();
    } catch (const FormatMismatch&) {
        return pattern;
    } catch (const std::exception&) {
        return pattern;
    }
}

QSqlDatabase StringTableDatabase(bool createMissing, QString* error = nullptr)
{
    return OpenFolderDatabase(QString::fromLatin1(kStringsConnection), StringTableFolder(), createMissing, error);
}

bool UnescapeField(const QString& field, QString& out)
{
    out.clear();
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= field.size())
            return false;
        switch (field.at(i).unicode()) {
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default:
            return false;
        }
    }
    return true;
}

const char* const kTextColumns[4] = { "StringID", "English", "Slovak", "Czech" };

QString RowField(const StringTableRow& row, int column)
{
    switch (column) {
    case 0:
        return row.stringId;
    case 1:
        return row.english;
    case 2:
        return row.slovak;
    default:
        return row.czech;
    }
}

bool CreateStringTables(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    return ExecBound(query,
               QStringLiteral("CREATE TABLE IF NOT EXISTS Strings (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                              "StringID TEXT NOT NULL DEFAULT '', English TEXT NOT NULL DEFAULT '', "
                              "Slovak TEXT NOT NULL DEFAULT '', Czech TEXT NOT NULL DEFAULT '')"),
               {}, error)
        &&
        // The texts as last imported, so that a later import can tell a changed
        // source text from a text edited in the program.
        ExecBound(query,
            QStringLiteral("CREATE TABLE IF NOT EXISTS StringsSource (ID INTEGER PRIMARY KEY, "
                           "StringID TEXT NOT NULL, English TEXT NOT NULL, Slovak TEXT NOT NULL, "
                           "Czech TEXT NOT NULL)"),
            {}, error)
        &&
        // The checksum of the source file imported last, so that an unchanged file is
        // not read into the table again.
        ExecBound(query,
            QStringLiteral("CREATE TABLE IF NOT EXISTS StringsImport (ID INTEGER PRIMARY KEY, "
                           "Checksum TEXT NOT NULL)"),
            {}, error);
}

// The checksum of the source imported last; empty when the tables are missing.
QString ImportedChecksum(QSqlDatabase& db)
{
    if (!TableExists(db, QStringLiteral("StringsImport")) || !TableExists(db, QStringLiteral("Strings")))
        return QString();
    QSqlQuery query(db);
    if (!ExecBound(query, QStringLiteral("SELECT Checksum FROM StringsImport WHERE ID = 1")) || !query.next())
        return QString();
    return query.value(0).toString();
}

// The texts of the string table, read once and kept, so that a lookup costs a hash
// lookup instead of a query. The copy belongs to one database file: it is read again
// when AppDir names another folder or the file changed on disk (another instance, a
// copied-in table), which a stat of the file tells. Writes of this process (import,
// the browser's edits) update the copy themselves.
class LoadedStrings {
public:
    static LoadedStrings& Instance()
    {
        static LoadedStrings instance;
        return instance;
    }

    // The text of ID in Language; False when the table has no such row or cannot be read.
    bool Lookup(int id, int language, QString& text)
    {
        QMutexLocker lock(&mutex_);
        if (!Current())
            return false;
        auto it = texts_.constFind(id);
        if (it == texts_.constEnd())
            return false;
        text = (*it)[language];
        return true;
    }

    // Runs Post, the browser's write of the two texts of row ID, and puts the texts into
    // the copy when it was current before the write; otherwise the copy is read again at
    // the next lookup.
    bool WriteThrough(int id, const QString& english, const QString& slovak, const std::function<bool()>& post)
    {
        QMutexLocker lock(&mutex_);
        const bool current = loaded_ && appDir_ == AppDir && FileStamp(path_) == stamp_;
        if (!post())
            return false;
        auto it = texts_.find(id);
        if (!current || it == texts_.end()) {
            loaded_ = false;
            return true;
        }
        (*it)[0] = english;
        (*it)[1] = slovak;
        stamp_ = FileStamp(path_);
        return true;
    }

    void Forget()
    {
        QMutexLocker lock(&mutex_);
        loaded_ = false;
        texts_.clear();
    }

private:
    struct Stamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified {};
        bool operator==(const Stamp& o) const
        {
            return exists == o.exists && device == o.device && inode == o.inode && size == o.size
                && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
        }
    };

    static Stamp FileStamp(const QByteArray& path)
    {
        Stamp stamp;
        struct stat info;
        if (::stat(path.constData(), &info) != 0)
            return stamp;
        stamp.exists = true;
        stamp.device = info.st_dev;
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modified = info.st_mtim;
        return stamp;
    }

    // Makes the copy current; False when the table cannot be read.
    bool Current()
    {
        if (appDir_ != AppDir || (loaded_ && !(FileStamp(path_) == stamp_)))
            loaded_ = false;
        if (loaded_)
            return true;
        appDir_ = AppDir;
        path_ = QFile::encodeName(FolderDatabasePath(StringTableFolder()));
        texts_.clear();
        const Stamp before = FileStamp(path_);
        if (!before.exists)
            return false;
        QSqlDatabase db = StringTableDatabase(false);
        if (!db.isOpen())
            return false;
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!ExecBound(query, QStringLiteral("SELECT ID, English, Slovak, Czech FROM Strings")))
            return false;
        while (query.next())
            texts_.insert(query.value(0).toInt(),
                { query.value(1).toString(), query.value(2).toString(), query.value(3).toString() });
        stamp_ = before;
        loaded_ = true;
        return true;
    }

    QMutex mutex_;
    bool loaded_ = false;
    QString appDir_;
    QByteArray path_;
    Stamp stamp_;
    QHash<int, std::array<QString, 3>> texts_;
};

} // namespace

QString Format(const QString& pattern, std::initializer_list<FormatArg> args)
{
    return FormatArgs(pattern, args.begin(), qsizetype(args.size()));
}

QString Format(const QString& pattern, const QVector<FormatArg>& args)
{
    return FormatArgs(pattern, args.constData(), args.size());
}

QString StringTableFolder()
{
    return AppDir + QStringLiteral("Strings/");
}

QString GetString(int id, std::initializer_list<FormatArg> args)
{
    if (LanguageID > 2)
        return QString();
    try {
        QString pattern;
        if (!LoadedStrings::Instance().Lookup(id, LanguageID, pattern))
            return QString();
        return Format(pattern, args);
    } catch (...) {
        return QString();
    }
}

QString EscapeStringTableField(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool ReadStringTableSource(QIODevice& device, QVector<StringTableRow>& rows, QString* error)
{
    rows.clear();
    QTextStream in(&device);
    in.setEncoding(QStringConverter::Utf8);
    QHash<int, int> seen;
    int lineNumber = 0;
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
        rows.clear();
        return false;
    };
    QString line;
    while (in.readLineInto(&line)) {
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (lineNumber == 1 || line.isEmpty())
            continue; // the header line, and blank lines
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 5)
            return fail(QStringLiteral("%1 fields instead of 5").arg(fields.size()));
        StringTableRow row;
        bool ok = false;
        row.id = fields[0].toInt(&ok);
        if (!ok || row.id <= 0)
            return fail(QStringLiteral("the ID \"%1\" is not a positive whole number").arg(fields[0]));
        if (seen.contains(row.id))
            return fail(QStringLiteral("ID %1 already stands on line %2").arg(row.id).arg(seen.value(row.id)));
        seen.insert(row.id, lineNumber);
        QString* targets[4] = { &row.stringId, &row.english, &row.slovak, &row.czech };
        for (int k = 0; k < 4; ++k)
            if (!UnescapeField(fields[k + 1], *targets[k]))
                return fail(QStringLiteral("a backslash in field %1 is not one of \\t \\r \\n \\\\").arg(k + 2));
        rows.push_back(row);
    }
    if (in.status() != QTextStream::Ok)
        return fail(QStringLiteral("read error"));
    return true;
}

bool ImportStringTable(const QString& sourcePath, const QString& folder, QString* error, bool* imported)
{
    if (imported)
        *imported = false;
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(sourcePath, file.errorString());
        return false;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(sourcePath, file.errorString());
        return false;
    }
    const QString checksum = QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
    QSqlDatabase db = OpenFolderDatabase(QString::fromLatin1(kStringsConnection), folder, true, error);
    if (!db.isOpen())
        return false;
    // The same source as last time: nothing to bring in, and nothing is written.
    if (ImportedChecksum(db) == checksum)
        return true;

    QVector<StringTableRow> rows;
    QString readError;
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    if (!ReadStringTableSource(buffer, rows, &readError)) {
        if (error)
            *error = sourcePath + QStringLiteral(", ") + readError;
        return false;
    }
    const bool ok = Post(
        db,
        [&](QString* workError) {
            if (!CreateStringTables(db, workError))
                return false;
            QHash<int, StringTableRow> before;
            QSet<int> present;
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!ExecBound(query, QStringLiteral("SELECT ID, StringID, English, Slovak, Czech FROM StringsSource"), {},
                    workError))
                return false;
            while (query.next())
                before.insert(query.value(0).toInt(),
                    { query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(),
                        query.value(3).toString(), query.value(4).toString() });
            if (!ExecBound(query, QStringLiteral("SELECT ID FROM Strings"), {}, workError))
                return false;
            while (query.next())
                present.insert(query.value(0).toInt());

            // Each statement is prepared once and run per row.
            QSqlQuery insertText(db), insertSource(db);
            QSqlQuery updateColumn[4] = { QSqlQuery(db), QSqlQuery(db), QSqlQuery(db), QSqlQuery(db) };
            bool prepared
                = insertText.prepare(QStringLiteral("INSERT OR REPLACE INTO Strings (ID, StringID, English, Slovak, "
                                                    "Czech) VALUES (?, ?, ?, ?, ?)"))
                && insertSource.prepare(QStringLiteral("INSERT OR REPLACE INTO StringsSource (ID, StringID, English, "
                                                       "Slovak, Czech) VALUES (?, ?, ?, ?, ?)"));
            for (int k = 0; k < 4 && prepared; ++k)
                prepared = updateColumn[k].prepare(QStringLiteral("UPDATE Strings SET %1 = ? WHERE ID = ?")
                                                       .arg(QuoteName(QString::fromLatin1(kTextColumns[k]))));
            if (!prepared) {
                *workError = QStringLiteral("The string table's statements cannot be prepared");
                return false;
            }
            const auto run = [&](QSqlQuery& statement, const QVariantList& values) {
                for (int i = 0; i < values.size(); ++i)
                    statement.bindValue(i, values.at(i));
                if (statement.exec())
                    return true;
                *workError = statement.lastError().text();
                return false;
            };

            for (const StringTableRow& row : rows) {
                const QVariantList all { row.id, row.stringId, row.english, row.slovak, row.czech };
                auto it = before.constFind(row.id);
                if (it == before.constEnd() || !present.contains(row.id)) {
                    if (!run(insertText, all))
                        return false;
                } else {
                    // Only the texts whose source changed are written: the others may
                    // carry an edit made in the program.
                    bool same = true;
                    for (int k = 0; k < 4; ++k) {
                        if (RowField(*it, k) == RowField(row, k))
                            continue;
                        same = false;
                        if (!run(updateColumn[k], { RowField(row, k), row.id }))
                            return false;
                    }
                    if (same)
                        continue;
                }
                if (!run(insertSource, all))
                    return false;
            }
            QSqlQuery state(db);
            return ExecBound(state, QStringLiteral("INSERT OR REPLACE INTO StringsImport (ID, Checksum) VALUES (1, ?)"),
                { checksum }, workError);
        },
        error);
    LoadedStrings::Instance().Forget();
    if (ok && imported)
        *imported = true;
    return ok;
}

bool UpdateStringTexts(int id, const QString& english, const QString& slovak, QString* error)
{
    QSqlDatabase db = StringTableDatabase(false, error);
    if (!db.isOpen())
        return false;
    return LoadedStrings::Instance().WriteThrough(id, english, slovak, [&] {
        int rows = 0;
        if (!PostStatement(db, QStringLiteral("UPDATE Strings SET English = ?, Slovak = ? WHERE ID = ?"),
                { english, slovak, id }, error, &rows))
            return false;
        if (rows != 1) {
            if (error)
                *error = QStringLiteral("The text number %1 is not in the string table.").arg(id);
            return false;
        }
        return true;
    });
}

bool ExportStringIDs(QString* error)
{
    QSqlDatabase db = StringTableDatabase(false, error);
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!ExecBound(query, QStringLiteral("SELECT ID, StringID FROM Strings ORDER BY StringID"), {}, error))
        return false;
    const QString path = AppDir + QStringLiteral("StringID.txt");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    while (query.next())
        file.write(
            QStringLiteral("        %1 = %2;\n").arg(query.value(1).toString()).arg(query.value(0).toInt()).toUtf8());
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    // The file is written either way; the user learns where it is when nothing shows it.
    if (!OpenWithDesktop(QUrl::fromLocalFile(path)))
        MessageDlg(GetString(23000, { QDir::toNativeSeparators(path) }), TMsgDlgType::mtInformation, mbOK);
    return true;
}

} // namespace orvek
