#pragma once
// What the workbook format readers share: reading members of a zip archive, the
// numbers of the XML formats and the streams of a compound file. Not for use outside
// the workbook reader.

#include "platform/workbook_reader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

struct zip;

namespace orvek {

// A zip archive opened for reading; members are read whole.
class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool Open(const QString& fileName);
    bool Contains(const QString& member) const;
    // False when the member is missing, damaged or larger than MaxMemberBytes.
    bool Read(const QString& member, QByteArray& data) const;

    // A workbook member beyond this size is refused rather than unpacked.
    static constexpr qint64 MaxMemberBytes = 512LL * 1024 * 1024;

private:
    zip* archive_ = nullptr;
};

// A number as the XML formats write it ("0.5", "-1.25E-3"), without regard to the
// locale; False for anything else.
bool ParseXmlNumber(QStringView text, double& value);

// Whether a cell's number format shows a date: the built-in formats 14 to 22, or a
// format code with d, m or y outside quoted text, brackets ("[Red]", "[$-41B]") and
// escaped or padding characters (Calc writes "d\.m\.yyyy").
bool IsBuiltInDateFormat(int id);
bool IsDateFormatCode(const QString& code);

// The stream named by the first of Names that the compound file File holds (the
// container of ".xls" workbooks; names compare without regard to case). False when
// File is no compound file, breaks its structure (a chain that loops or leaves the
// file) or holds none of the streams.
bool ReadCompoundStream(const QByteArray& file, const QStringList& names, QByteArray& stream);

} // namespace orvek
