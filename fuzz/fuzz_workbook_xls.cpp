// ".xls" workbooks: the input is the file. Every cell the sheets hold is read back.

#include "fuzz_support.h"
#include "platform/workbook_reader.h"

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::Start().filePath("input.xls");
    if (!fuzz::WriteWhole(path, data, size))
        return 0;
    WorkbookFileReader reader;
    if (reader.Open(path))
        for (int sheet = 0; sheet <= reader.SheetCount() + 1; ++sheet)
            for (const char* address : { "A1", "C1", "B6", "H7", "IV65536", "XFD1048576" })
                reader.ReadCell(sheet, address);
    return 0;
}
