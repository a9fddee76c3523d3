#include "platform/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace orvek {

namespace {

// libjpeg's own error exit ends the process; ours jumps back to the decoder.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void JumpOnError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

extern "C" void IgnoreMessage(j_common_ptr) { }

// Decodes into Pixels (RGB, 3 bytes a pixel). Only plain data lives in this frame,
// since a jump back skips destructors; the buffer is sized by the caller's callback.
struct DecodeResult {
    int width = 0;
    int height = 0;
    bool ok = false;
};

constexpr long kMaxPixels = 64L * 1024 * 1024;

DecodeResult DecodeInto(
    const unsigned char* data, unsigned long size, std::vector<unsigned char>* pixels, char* message)
{
    DecodeResult result;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpOnError;
    errors.base.output_message = IgnoreMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.jump)) {
        std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
        message[JMSG_LENGTH_MAX - 1] = '\0';
        jpeg_destroy_decompress(&info);
        result.ok = false;
        return result;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || long(info.output_width) * long(info.output_height) > kMaxPixels) {
        std::strncpy(message, "unsupported picture size or colour layout", JMSG_LENGTH_MAX - 1);
        jpeg_destroy_decompress(&info);
        return result;
    }
    const size_t stride = size_t(info.output_width) * 3;
    pixels->resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels->data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // Corrupt or truncated data only raises warnings; a picture with gaps is not shown.
    if (errors.base.num_warnings > 0) {
        std::strncpy(message, "damaged picture data", JMSG_LENGTH_MAX - 1);
        jpeg_destroy_decompress(&info);
        return result;
    }
    result.width = int(info.output_width);
    result.height = int(info.output_height);
    result.ok = true;
    jpeg_destroy_decompress(&info);
    return result;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error)
{
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("empty picture");
        return QImage();
    }
    std::vector<unsigned char> pixels;
    char message[JMSG_LENGTH_MAX] = {};
    const DecodeResult result = DecodeInto(reinterpret_cast<const unsigned char*>(data.constData()),
        static_cast<unsigned long>(data.size()), &pixels, message);
    if (!result.ok) {
        if (error)
            *error = QString::fromLocal8Bit(message);
        return QImage();
    }
    QImage image(result.width, result.height, QImage::Format_RGB888);
    for (int y = 0; y < result.height; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + size_t(y) * result.width * 3, size_t(result.width) * 3);
    return image;
}

QImage LoadJpegFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return QImage();
    }
    return DecodeJpeg(file.readAll(), error);
}

} // namespace orvek
