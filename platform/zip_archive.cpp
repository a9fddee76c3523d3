#include "platform/workbook_parts.h"

#include <QFile>
#include <charconv>
#include <zip.h>

namespace orvek {

ZipArchive::~ZipArchive()
{
    if (archive_)
        zip_discard(archive_);
}

bool ZipArchive::Open(const QString& fileName)
{
    int error = 0;
    archive_ = zip_open(QFile::encodeName(fileName).constData(), ZIP_RDONLY, &error);
    return archive_ != nullptr;
}

bool ZipArchive::Contains(const QString& member) const
{
    return archive_ && zip_name_locate(archive_, member.toUtf8().constData(), 0) >= 0;
}

bool ZipArchive::Read(const QString& member, QByteArray& data) const
{
    data.clear();
    if (!archive_)
        return false;
    const zip_int64_t index = zip_name_locate(archive_, member.toUtf8().constData(), 0);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (index < 0 || zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)
        || stat.size > zip_uint64_t(MaxMemberBytes))
        return false;
    zip_file_t* file = zip_fopen_index(archive_, zip_uint64_t(index), 0);
    if (!file)
        return false;
    data.resize(qsizetype(stat.size));
    zip_int64_t done = 0;
    while (done < zip_int64_t(stat.size)) {
        const zip_int64_t n = zip_fread(file, data.data() + done, stat.size - zip_uint64_t(done));
        if (n <= 0)
            break;
        done += n;
    }
    zip_fclose(file);
    if (done != zip_int64_t(stat.size)) {
        data.clear();
        return false;
    }
    return true;
}

bool ParseXmlNumber(QStringView text, double& value)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, v);
    if (ec != std::errc() || ptr != end || begin == end)
        return false;
    value = v;
    return true;
}

} // namespace orvek
