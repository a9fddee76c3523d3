// RTF: the input is read into an empty document, and into the middle of a document
// with text, as a paste does; what was read is written as RTF again.

#include "fuzz_support.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

#include <QTextCursor>
#include <QTextDocument>

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Start(true);
    const QByteArray rtf = fuzz::Bytes(data, size);
    QTextDocument document;
    if (ReadRtfDocument(rtf, &document))
        WriteRtf(&document);
    QTextDocument pasted;
    pasted.setPlainText("before after");
    QTextCursor cursor(&pasted);
    cursor.setPosition(7);
    ReadRtf(rtf, cursor);
    return 0;
}
