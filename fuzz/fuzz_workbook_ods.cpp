// ".ods" workbooks: the input is content.xml (a flat ".fods" document reads the same).

#include "fuzz_workbook_zip.h"

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::Start().filePath("input.ods");
    if (fuzz::WriteZip(path,
            { { "mimetype", "application/vnd.oasis.opendocument.spreadsheet" },
                { "content.xml", fuzz::Bytes(data, size) } }))
        fuzz::ReadWorkbook(path);
    return 0;
}
