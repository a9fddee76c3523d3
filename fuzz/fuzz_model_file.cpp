// Model files: the input is the file as it lies on disk, scrambled or plain. It is
// loaded as a model file, and its bytes also as a diagram text; what loaded is written
// again.

#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/model_file.h"
#include "fuzz_support.h"

#include <QBuffer>

using namespace orvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::Start().filePath("input.stm");
    if (!fuzz::WriteWhole(path, data, size))
        return 0;
    {
        CellIdCounter = 1;
        TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        QString error;
        if (LoadModelFile(root, path, &error))
            root.SaveToText();
    }
    QByteArray text = fuzz::Bytes(data, size);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    CellIdCounter = 1;
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    if (root.LoadFromDevice(buffer))
        root.SaveToText();
    return 0;
}
