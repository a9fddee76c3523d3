// ".xlsx" workbooks: the input holds the members xl/workbook.xml,
// xl/_rels/workbook.xml.rels, xl/sharedStrings.xml, xl/styles.xml and
// xl/worksheets/sheet1.xml, in this order (fuzz_workbook_zip.h).

#include "fuzz_workbook_zip.h"

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::Start().filePath("input.xlsx");
    const auto members = fuzz::SplitMembers(fuzz::Bytes(data, size),
        { "xl/workbook.xml", "xl/_rels/workbook.xml.rels", "xl/sharedStrings.xml", "xl/styles.xml",
            "xl/worksheets/sheet1.xml" });
    if (fuzz::WriteZip(path, members))
        fuzz::ReadWorkbook(path);
    return 0;
}
