#pragma once
// Numbered UI texts in the current language (LanguageID: 0 English, 1 Slovak,
// 2 Czech), formatted with their arguments. Code below the data module calls these;
// TDataModule1::GetString forwards here.
//
// The texts live in the table Strings of the database in AppDir + "Strings/". Its
// source is the tab-separated file data/strings.tsv (ID, StringID, English, Slovak,
// Czech; "\t", "\r", "\n" and "\\" escaped; one header line), which ImportStringTable
// brings in. The texts are read into memory at the first lookup and kept; they are read
// again when the database file changed on disk, so a text edited by another running
// instance shows at the next lookup.

#include <QString>
#include <QVector>
#include <initializer_list>
#include <variant>

class QIODevice;

namespace orvek {

// One argument of a formatted text: a whole number, a floating-point number or a text.
struct FormatArg {
    FormatArg(int v)
        : value(qint64(v))
    {
    }
    FormatArg(qint64 v)
        : value(v)
    {
    }
    FormatArg(double v)
        : value((long double)v)
    {
    }
    FormatArg(long double v)
        : value(v)
    {
    }
    FormatArg(const QString& v)
        : value(v)
    {
    }
    FormatArg(const char* v)
        : value(QString::fromUtf8(v))
    {
    }
    std::variant<qint64, long double, QString> value;
};

// The text number ID, formatted with Args; empty when the table has no such text, the
// table cannot be read or LanguageID is not 0, 1 or 2. Never throws.
QString GetString(int id, std::initializer_list<FormatArg> args = {});

// Formats Pattern with %s, %d, %u, %x, %f, %g, %e, an optional argument index
// ("%1:s"), "-" for left alignment, widths and precisions ("%8.3f", "%.4d", "*" taken
// from the arguments); "%%" is a percent sign. A pattern that does not match its
// arguments (missing argument, wrong type, unknown placeholder) is returned unformatted.
QString Format(const QString& pattern, std::initializer_list<FormatArg> args);
QString Format(const QString& pattern, const QVector<FormatArg>& args);

// The connection name and folder of the string table.
inline constexpr const char* kStringsConnection = "OrvekStrings";
QString StringTableFolder(); // AppDir + "Strings/"

// The language columns, indexed by LanguageID.
inline constexpr const char* kLanguageColumns[3] = { "English", "Slovak", "Czech" };

// One row of the source file.
struct StringTableRow {
    int id = 0;
    QString stringId, english, slovak, czech;
};

// Reads the source file; on a malformed line (wrong number of fields, a bad ID, a
// repeated ID, an unknown escape) returns False with the line named in Error.
bool ReadStringTableSource(QIODevice& device, QVector<StringTableRow>& rows, QString* error = nullptr);
// Escapes a text for one field of the source file, and back.
QString EscapeStringTableField(const QString& text);

// Brings the source file into the database of Folder, creating the database and its
// table when missing. A text is written only when its source text differs from the
// one imported last time, so texts edited in the program keep their edit until their
// source changes. Everything is one post: on an error nothing changes. A file whose
// content is the one imported last time is not imported again and nothing is written;
// Imported says whether the table was written.
bool ImportStringTable(
    const QString& sourcePath, const QString& folder, QString* error = nullptr, bool* imported = nullptr);

// The two texts of row ID edited in the string browser, posted at once. False with
// Error when the row is missing or the post fails.
bool UpdateStringTexts(int id, const QString& english, const QString& slovak, QString* error = nullptr);

// Writes AppDir + "StringID.txt" (per row, by symbolic name: eight blanks, the name,
// " = ", the ID and ";") and opens it in the desktop's text viewer. False with Error
// when the table cannot be read or the file cannot be written.
bool ExportStringIDs(QString* error = nullptr);

} // namespace orvek
