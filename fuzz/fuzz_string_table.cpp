// The string table's source file: the input is the file; every text it gives is
// formatted with arguments of each kind, as a lookup formats an edited text.

#include "core/string_table.h"
#include "fuzz_support.h"

#include <QBuffer>

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Start();
    QByteArray text = fuzz::Bytes(data, size);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    QVector<StringTableRow> rows;
    QString error;
    if (!ReadStringTableSource(buffer, rows, &error))
        return 0;
    for (const StringTableRow& row : rows)
        for (const QString* pattern : { &row.english, &row.slovak, &row.czech }) {
            Format(*pattern, { 7, 2.5, QStringLiteral("text") });
            Format(*pattern, { QStringLiteral("a"), -1 });
            EscapeStringTableField(*pattern);
        }
    return 0;
}
