#pragma once
// The zipped workbook formats: the input holds the XML members, which the target puts
// into a zip archive (stored, so that every byte reaches the XML reader unchanged).

#include "fuzz_support.h"
#include "platform/workbook_reader.h"

#include <QList>
#include <utility>
#include <zip.h>

namespace orvek::fuzz {

// Members separated by a line "--next member--"; the names are given in order, and an
// input with fewer parts leaves the last members out.
inline QList<std::pair<QByteArray, QByteArray>> SplitMembers(const QByteArray& input, const QList<QByteArray>& names)
{
    QList<std::pair<QByteArray, QByteArray>> members;
    qsizetype at = 0;
    for (qsizetype i = 0; i < names.size() && at <= input.size(); ++i) {
        qsizetype end = input.indexOf("\n--next member--\n", at);
        if (end < 0 || i + 1 == names.size())
            end = input.size();
        members.append({ names[i], input.mid(at, end - at) });
        at = end + 17;
    }
    return members;
}

inline bool WriteZip(const QString& path, const QList<std::pair<QByteArray, QByteArray>>& members)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& [name, data] : members) {
        zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t index = source ? zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0 || zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0) < 0) {
            if (source && index < 0)
                zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

inline void ReadWorkbook(const QString& path)
{
    WorkbookFileReader reader;
    if (reader.Open(path))
        for (int sheet = 0; sheet <= reader.SheetCount() + 1; ++sheet)
            for (const char* address : { "A1", "C1", "B6", "H7", "XFD1", "A1048576", "XFD1048576" })
                reader.ReadCell(sheet, address);
}

} // namespace orvek::fuzz
