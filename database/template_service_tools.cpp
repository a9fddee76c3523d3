#include "database/template_service_tools.h"

#include "core/services.h"
#include "core/string_table.h"
#include "engine/diagram_text.h"
#include "engine/model_file.h"

#include <QFile>
#include <QFileInfo>
#include <functional>

namespace orvek {

namespace {

// Runs Convert on every file whose upper-cased name ends in Suffix, under the batch
// progress window when there are more than two files.
TServiceToolResult ConvertFiles(const QStringList& fileNames, const QString& caption, const QString& suffix,
    const std::function<bool(const QString&, QString*)>& convert)
{
    TServiceToolResult result;
    MessageWindowService* progress = fileNames.size() > 2 ? MessageWindow() : nullptr;
    if (progress) {
        progress->ShowBatch(caption, false);
        progress->SetupProgress(true, 1, int(fileNames.size()));
    }
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        const QString& fileName = fileNames[i];
        if (progress)
            progress->StepProgress(int(i) + 1);
        if (!fileName.toUpper().endsWith(suffix))
            continue;
        QString reason;
        if (convert(fileName, &reason))
            ++result.Written;
        else
            result.Failed << TImportFailure { fileName, reason };
    }
    if (progress)
        progress->HideBatch();
    return result;
}

} // namespace

QString DecryptedModelFileName(const QString& fileName)
{
    return fileName.left(fileName.size() - 3) + QStringLiteral("DSTM");
}

QString RepairedModelFileName(const QString& fileName)
{
    return fileName.left(fileName.size() - 5) + QStringLiteral("-repaired.") + QStringLiteral("STM");
}

QString RepairedDiagramText(const QString& plainText)
{
    QString text = plainText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    // The text's own last line break leaves no line of its own.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        line = TrimControl(line);
        if (!line.isEmpty() && !line.endsWith(QLatin1Char(';')))
            line += QLatin1Char(';');
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString TServiceToolResult::MessageText() const
{
    if (Failed.isEmpty())
        return QString();
    QString text = GetString(21810, { Written });
    for (const TImportFailure& failure : Failed)
        text += QStringLiteral("\n") + GetString(21811, { QFileInfo(failure.FileName).fileName(), failure.Reason });
    return text;
}

TServiceToolResult DecryptModelFiles(const QStringList& fileNames, const QString& caption)
{
    return ConvertFiles(fileNames, caption, QStringLiteral(".STM"), [](const QString& fileName, QString* error) {
        return UnscrambleModelFile(fileName, DecryptedModelFileName(fileName), error);
    });
}

TServiceToolResult EncryptDecryptedFiles(const QStringList& fileNames, const QString& caption)
{
    return ConvertFiles(fileNames, caption, QStringLiteral(".DSTM"), [](const QString& fileName, QString* error) {
        QByteArray plain;
        if (!ReadWholeFile(fileName, plain, error))
            return false;
        if (plain.endsWith('\0'))
            plain.chop(1);
        return WriteScrambledModelFile(
            RepairedModelFileName(fileName), RepairedDiagramText(QString::fromUtf8(plain)), error);
    });
}

} // namespace orvek
