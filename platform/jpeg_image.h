#pragma once
// JPEG decoding for the pictures of the splash and about windows, through libjpeg
// with an error manager of our own: a missing or damaged picture yields a null image
// and a reason, never the end of the process.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace orvek {

QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);
QImage LoadJpegFile(const QString& path, QString* error = nullptr);

} // namespace orvek
