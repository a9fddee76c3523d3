// ".xls" workbooks. An input that starts as a compound file is the file; any other
// input is a BIFF stream, which the target puts into a well-formed compound file as
// its "Workbook" stream, so that mutations of the records reach the record reader.
// Every cell the sheets hold is read back.

#include "fuzz_support.h"
#include "platform/workbook_reader.h"

using namespace orvek;

namespace {

void Put32(QByteArray& d, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        d[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A compound file of 512-byte sectors: the FAT sectors, the directory (root entry and
// "Workbook"), then the stream, padded to at least 4096 bytes so that it lies in
// sectors of its own rather than in the mini stream.
QByteArray CompoundOf(QByteArray stream)
{
    constexpr quint32 kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;
    const quint32 size = quint32(std::max<qsizetype>(stream.size(), 4096));
    stream.append(QByteArray((size + 511) / 512 * 512 - stream.size(), 0));
    const quint32 streamSectors = quint32(stream.size() / 512);
    quint32 fatSectors = 1;
    while (fatSectors * 128 < fatSectors + 1 + streamSectors)
        ++fatSectors;
    if (fatSectors > 109)
        return {};
    QByteArray header(512, 0);
    header.replace(0, 8, QByteArray::fromHex("d0cf11e0a1b11ae1"));
    header.replace(0x18, 10, QByteArray::fromHex("3e000300feff09000600"));
    Put32(header, 0x2C, fatSectors);
    Put32(header, 0x30, fatSectors); // the directory follows the FAT
    Put32(header, 0x38, 4096);
    Put32(header, 0x3C, kEnd);
    Put32(header, 0x44, kEnd);
    for (quint32 i = 0; i < 109; ++i)
        Put32(header, 0x4C + 4 * i, i < fatSectors ? i : kFree);
    QByteArray fat(fatSectors * 512, char(0xFF));
    for (quint32 i = 0; i < fatSectors; ++i)
        Put32(fat, 4 * i, 0xFFFFFFFD);
    Put32(fat, 4 * fatSectors, kEnd);
    for (quint32 i = 0; i < streamSectors; ++i)
        Put32(fat, 4 * (fatSectors + 1 + i), i + 1 < streamSectors ? fatSectors + 2 + i : kEnd);
    QByteArray directory(512, 0);
    auto entry = [&directory](int at, const QString& name, char type, quint32 start, quint32 length) {
        for (qsizetype i = 0; i < name.size(); ++i)
            directory[at + 2 * i] = char(name[i].unicode());
        directory[at + 64] = char(2 * name.size() + 2);
        directory[at + 66] = type;
        Put32(directory, at + 68, kFree);
        Put32(directory, at + 72, kFree);
        Put32(directory, at + 76, type == 5 ? 1 : kFree);
        Put32(directory, at + 116, start);
        Put32(directory, at + 120, length);
    };
    entry(0, "Root Entry", 5, kEnd, 0);
    entry(128, "Workbook", 2, fatSectors + 1, size);
    return header + fat + directory + stream;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::Start().filePath("input.xls");
    QByteArray file = fuzz::Bytes(data, size);
    if (!file.startsWith(QByteArray::fromHex("d0cf11e0")))
        file = CompoundOf(file);
    if (file.isEmpty()
        || !fuzz::WriteWhole(path, reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size())))
        return 0;
    WorkbookFileReader reader;
    if (reader.Open(path))
        for (int sheet = 0; sheet <= reader.SheetCount() + 1; ++sheet)
            for (const char* address : { "A1", "C1", "B6", "H7", "IV65536", "XFD1048576" })
                reader.ReadCell(sheet, address);
    return 0;
}
