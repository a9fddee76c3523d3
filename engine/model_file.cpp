#include "engine/model_file.h"

#include "core/file_utils.h"

#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/diagram_text.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

namespace orvek {

namespace {

constexpr std::array<quint8, 200> kKeyTable = {
    0x89,
    0x16,
    0x02,
    0x90,
    0xD7,
    0xE1,
    0x13,
    0x55,
    0x87,
    0x99,
    0xF4,
    0x81,
    0x57,
    0x86,
    0x67,
    0xA3,
    0xAE,
    0xFE,
    0x6F,
    0xA6,
    0x9A,
    0x5A,
    0x46,
    0xFB,
    0x1E,
    0x3A,
    0xE8,
    0xE7,
    0xD0,
    0x7F,
    0xE7,
    0xC8,
    0x4B,
    0xBF,
    0x7E,
    0xD3,
    0xD6,
    0x27,
    0xDE,
    0x33,
    0xCE,
    0xFB,
    0x81,
    0x8B,
    0xCE,
    0xA8,
    0x84,
    0x34,
    0x85,
    0xF5,
    0xC8,
    0x72,
    0x09,
    0x20,
    0x5F,
    0xE4,
    0x83,
    0xD3,
    0xD7,
    0x4B,
    0xDF,
    0xED,
    0x16,
    0xD6,
    0xB0,
    0xCB,
    0xA5,
    0x75,
    0x25,
    0x8E,
    0xEE,
    0x92,
    0xB8,
    0x22,
    0x3E,
    0x28,
    0xAF,
    0x73,
    0x35,
    0x1D,
    0x40,
    0x1F,
    0x9F,
    0x8B,
    0xFE,
    0x6C,
    0xF5,
    0x2F,
    0x51,
    0x7B,
    0xE0,
    0x69,
    0x29,
    0x01,
    0x44,
    0x7A,
    0x6A,
    0x17,
    0x01,
    0xFF,
    0x83,
    0x64,
    0x3D,
    0x04,
    0xE0,
    0x33,
    0x51,
    0x79,
    0xD0,
    0xD2,
    0x7C,
    0xFC,
    0x14,
    0x39,
    0x25,
    0xB9,
    0xF2,
    0x8F,
    0x03,
    0xF0,
    0xF3,
    0x97,
    0x10,
    0x3B,
    0xF6,
    0x01,
    0x65,
    0xCD,
    0x2E,
    0x5A,
    0x19,
    0x0E,
    0x30,
    0x47,
    0xC1,
    0xCA,
    0x15,
    0xF0,
    0xC0,
    0xE4,
    0xE1,
    0x4C,
    0xBE,
    0x50,
    0xB9,
    0x64,
    0x7A,
    0xEC,
    0x0A,
    0x7B,
    0xA5,
    0xAA,
    0xF1,
    0xA8,
    0x56,
    0x9E,
    0x30,
    0x2A,
    0xB5,
    0x37,
    0xF1,
    0xA5,
    0x76,
    0xFC,
    0x1A,
    0xC4,
    0xD5,
    0x02,
    0x61,
    0xA2,
    0x60,
    0x72,
    0xA2,
    0x84,
    0xB1,
    0x56,
    0xB7,
    0x3B,
    0x3D,
    0xCF,
    0x64,
    0x7D,
    0x65,
    0x6A,
    0xC2,
    0x81,
    0xCB,
    0x75,
    0xBB,
    0x37,
    0x12,
    0x57,
    0x2D,
    0x4E,
    0x6C,
    0x59,
    0x7E,
    0x70,
    0x4E,
    0xF0,
};

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// A plain (unscrambled) diagram text shows its keys.
bool IsPlainDiagram(const QByteArray& text)
{
    return text.contains("BeginCell=") && text.contains("NrChildCells=");
}

} // namespace

const std::array<quint8, 200>& ModelFileKeyTable()
{
    return kKeyTable;
}

QByteArray ScrambleXor(const QByteArray& text)
{
    QByteArray out = text;
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = char(quint8(out[i]) ^ kKeyTable[size_t(i % 200)]);
    return out;
}

QByteArray ScrambleChunk(const QByteArray& text)
{
    return ScrambleXor(text);
}

QByteArray ScrambleModelText(const QByteArray& text)
{
    QByteArray out = text;
    for (qsizetype n = 0; n < out.size(); ++n)
        out[n] = char(quint8(out[n]) ^ kKeyTable[size_t((n % 250) % 200)]);
    return out;
}

QByteArray UnscrambleModelText(const QByteArray& text)
{
    return ScrambleModelText(text);
}

bool WriteTextWithNul(const QByteArray& text, const QString& fileName, QString* error)
{
    if (text.size() > kMaxDiagramTextBytes) {
        SetError(error, QStringLiteral("The diagram is too large to be written (%1 bytes).").arg(text.size()));
        return false;
    }
    QByteArray data = text;
    data.append('\0');
    QString cause;
    if (!WriteFileWhole(fileName, data, &cause)) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(fileName, cause));
        return false;
    }
    return true;
}

bool WriteScrambledModelFile(const QString& fileName, const QString& text, QString* error)
{
    return WriteTextWithNul(ScrambleModelText(text.toUtf8()), fileName, error);
}

bool ReadWholeFile(const QString& fileName, QByteArray& text, QString* error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QStringLiteral("Cannot open %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    if (file.size() > kMaxDiagramTextBytes + 1) {
        SetError(
            error, QStringLiteral("%1 is too large to be a model file (%2 bytes).").arg(fileName).arg(file.size()));
        return false;
    }
    text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        SetError(error, QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    return true;
}

namespace {

bool PlainTextOfModelFile(const QString& fileName, QByteArray& plain, QString* error)
{
    QByteArray text;
    if (!ReadWholeFile(fileName, text, error))
        return false;
    // The final 0 byte is not part of the scrambled text.
    if (text.endsWith('\0'))
        text.chop(1);
    plain = IsPlainDiagram(text) ? text : UnscrambleModelText(text);
    plain.append("\r\n");
    return true;
}

} // namespace

bool UnscrambleModelFile(const QString& sourceName, const QString& targetName, QString* error)
{
    QByteArray plain;
    if (!PlainTextOfModelFile(sourceName, plain, error))
        return false;
    QSaveFile file(targetName);
    if (!file.open(QIODevice::WriteOnly) || file.write(plain) != plain.size() || !file.commit()) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(targetName, file.errorString()));
        return false;
    }
    return true;
}

QString TemporaryFolder()
{
    const QString folder = TempDir.isEmpty() ? QDir::tempPath() + "/" : TempDir;
    QDir().mkpath(folder);
    return folder;
}

bool UnscrambleModelFileToTemp(const QString& fileName, QString& tempName, QString* error)
{
    QByteArray plain;
    if (!PlainTextOfModelFile(fileName, plain, error))
        return false;
    QTemporaryFile file(TemporaryFolder() + "XXXXXXXX.tmp");
    file.setAutoRemove(false);
    if (!file.open() || file.write(plain) != plain.size() || !file.flush()) {
        SetError(error, QStringLiteral("Cannot write a temporary file: %1").arg(file.errorString()));
        file.remove();
        return false;
    }
    tempName = file.fileName();
    return true;
}

bool LoadModelFile(TCell& cell, const QString& fileName, QString* error)
{
    QString tempName;
    if (!UnscrambleModelFileToTemp(fileName, tempName, error))
        return false;
    const bool ok = cell.LoadFromFile(tempName, error);
    QFile::remove(tempName);
    return ok;
}

bool SaveModelFile(TCell& root, const QString& fileName, QString* error)
{
    return WriteScrambledModelFile(fileName, root.SaveToText(), error);
}

} // namespace orvek
