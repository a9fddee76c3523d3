// The compound file that holds an ".xls" workbook: a header, a sector allocation table
// (FAT) whose sectors the header and the DIFAT chain list, a directory, and a mini
// stream with its own table (mini FAT) for small streams. Every chain is followed with
// a record of the sectors already visited and may not leave the file, so a chain that
// loops or points outside ends the read instead of running on: what is read is never
// larger than the file.

#include "platform/workbook_parts.h"

#include <QStringList>
#include <algorithm>

namespace orvek {

namespace {

constexpr quint32 kLastSectorNumber = 0xFFFFFFFA; // numbers above it mark chain ends and free sectors
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr qint64 kMiniSectorSize = 64;
constexpr qint64 kDirectoryEntrySize = 128;

quint32 U32At(const QByteArray& d, qint64 at)
{
    if (at < 0 || at + 4 > d.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(d.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 U16At(const QByteArray& d, qint64 at)
{
    if (at < 0 || at + 2 > d.size())
        return 0;
    return quint16(uchar(d[at]) | uchar(d[at + 1]) << 8);
}

class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& file)
        : file_(file)
    {
    }

    bool Open()
    {
        if (file_.size() < 512 || !file_.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")))
            return false;
        const quint16 shift = U16At(file_, 0x1E);
        if (shift != 9 && shift != 12)
            return false;
        sectorSize_ = qint64(1) << shift;
        // Sectors of the file after its header: the bound of every chain.
        sectorCount_ = std::max<qint64>(file_.size() / sectorSize_ - 1, 0);
        return ReadFat() && ReadChain(fat_, U32At(file_, 0x30), directory_);
    }

    bool ReadStream(const QString& name, QByteArray& out)
    {
        for (qint64 at = 0; at + kDirectoryEntrySize <= directory_.size(); at += kDirectoryEntrySize) {
            const int nameBytes = std::min<int>(U16At(directory_, at + 64), 64);
            QString entryName;
            for (int i = 0; i + 2 < nameBytes; i += 2)
                entryName += QChar(U16At(directory_, at + i));
            if (directory_[at + 66] != 2 || entryName.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            const quint32 start = U32At(directory_, at + 116);
            const quint32 size = U32At(directory_, at + 120);
            if (size < U32At(file_, 0x38)) {
                if (!ReadMiniChain(start, out))
                    return false;
            } else if (!ReadChain(fat_, start, out))
                return false;
            if (out.size() < qint64(size))
                return false;
            out.truncate(size);
            return true;
        }
        return false;
    }

private:
    // The FAT sectors come from the header's 109 entries and then from the DIFAT chain,
    // whose sectors hold one entry less than fits: the last is the next DIFAT sector.
    bool ReadFat()
    {
        const quint32 fatSectorCount = U32At(file_, 0x2C);
        if (fatSectorCount == 0 || fatSectorCount > sectorCount_)
            return false;
        std::vector<quint32> fatSectors;
        for (int i = 0; i < 109 && fatSectors.size() < fatSectorCount; ++i)
            fatSectors.push_back(U32At(file_, 0x4C + 4 * i));
        std::vector<bool> visited(size_t(sectorCount_), false);
        quint32 difat = U32At(file_, 0x44);
        while (fatSectors.size() < fatSectorCount) {
            if (difat >= sectorCount_ || visited[difat])
                return false;
            visited[difat] = true;
            const qint64 at = (qint64(difat) + 1) * sectorSize_;
            for (qint64 i = 0; i < sectorSize_ / 4 - 1 && fatSectors.size() < fatSectorCount; ++i)
                fatSectors.push_back(U32At(file_, at + 4 * i));
            difat = U32At(file_, at + sectorSize_ - 4);
        }
        fat_.reserve(size_t(fatSectorCount) * size_t(sectorSize_ / 4));
        for (quint32 sector : fatSectors) {
            if (sector >= sectorCount_)
                return false;
            const qint64 at = (qint64(sector) + 1) * sectorSize_;
            for (qint64 j = 0; j < sectorSize_; j += 4)
                fat_.push_back(U32At(file_, at + j));
        }
        return true;
    }

    // Follows the chain from Start through Table, taking SectorSize bytes of Source per
    // sector at Offset + sector x SectorSize. A chain that visits a sector twice, names
    // one the table or the source does not have, or ends other than by the end mark
    // fails; an empty chain (Start is the end mark) gives no bytes.
    static bool FollowChain(const std::vector<quint32>& table, quint32 start, const QByteArray& source, qint64 offset,
        qint64 sectorSize, QByteArray& out)
    {
        out.clear();
        const qint64 sectors = std::min<qint64>(qint64(table.size()), (source.size() - offset) / sectorSize);
        std::vector<bool> visited(size_t(std::max<qint64>(sectors, 0)), false);
        for (quint32 s = start; s != kEndOfChain; s = table[s]) {
            if (s > kLastSectorNumber || qint64(s) >= sectors || visited[s])
                return false;
            visited[s] = true;
            out.append(source.constData() + offset + qint64(s) * sectorSize, sectorSize);
        }
        return true;
    }

    bool ReadChain(const std::vector<quint32>& table, quint32 start, QByteArray& out) const
    {
        return FollowChain(table, start, file_, sectorSize_, sectorSize_, out);
    }

    // A small stream lives in the mini stream (the root entry's chain), in 64-byte
    // sectors chained by the mini FAT.
    bool ReadMiniChain(quint32 start, QByteArray& out)
    {
        if (!miniRead_) {
            miniRead_ = true;
            QByteArray miniFatBytes;
            if (directory_.size() < kDirectoryEntrySize || directory_[66] != 5
                || !ReadChain(fat_, U32At(directory_, 116), miniStream_)
                || !ReadChain(fat_, U32At(file_, 0x3C), miniFatBytes))
                return false;
            for (qint64 i = 0; i + 4 <= miniFatBytes.size(); i += 4)
                miniFat_.push_back(U32At(miniFatBytes, i));
        }
        return FollowChain(miniFat_, start, miniStream_, 0, kMiniSectorSize, out);
    }

    const QByteArray& file_;
    qint64 sectorSize_ = 512;
    qint64 sectorCount_ = 0;
    std::vector<quint32> fat_;
    QByteArray directory_;
    bool miniRead_ = false;
    QByteArray miniStream_;
    std::vector<quint32> miniFat_;
};

} // namespace

bool ReadCompoundStream(const QByteArray& file, const QStringList& names, QByteArray& stream)
{
    stream.clear();
    CompoundFile compound(file);
    if (!compound.Open())
        return false;
    for (const QString& name : names)
        if (compound.ReadStream(name, stream))
            return true;
    stream.clear();
    return false;
}

} // namespace orvek
