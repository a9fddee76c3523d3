#include "sources/import_settings.h"

#include "core/common_vars.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace orvek {

TImportSettings ParseImportSettings(const QString& text)
{
    TImportSettings settings;
    const struct {
        const char* key;
        QString TImportSettings::*value;
    } keys[] = {
        { "FileNameXLS=", &TImportSettings::FileNameXLS },
        { "TreeID=", &TImportSettings::TreeID },
        { "MeasurementName=", &TImportSettings::MeasurementName },
    };
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(lineEnd))
        for (const auto& k : keys) {
            const QString key = QString::fromLatin1(k.key);
            const qsizetype at = line.indexOf(key);
            if (at >= 0)
                settings.*k.value = line.mid(at + key.size()).trimmed();
        }
    return settings;
}

QString ImportSettingsText(const TImportSettings& settings)
{
    return "FileNameXLS=" + settings.FileNameXLS + "\r\nTreeID=" + settings.TreeID
        + "\r\nMeasurementName=" + settings.MeasurementName + "\r\n";
}

QString ImportSettingsReadPath(const QString& fileName)
{
    for (const QString& folder : { AppDir, UserDataDir })
        if (!folder.isEmpty() && QFileInfo(folder + fileName).isFile())
            return folder + fileName;
    return {};
}

QString ImportSettingsWritePath(const QString& fileName)
{
    const QFileInfo app(AppDir);
    return (!AppDir.isEmpty() && app.isDir() && app.isWritable() ? AppDir : UserDataDir) + fileName;
}

bool ReadImportSettingsFile(const QString& path, TImportSettings& settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    settings = ParseImportSettings(QString::fromUtf8(data));
    return true;
}

bool WriteImportSettingsFile(const QString& path, const TImportSettings& settings)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(ImportSettingsText(settings).toUtf8());
    return file.commit();
}

} // namespace orvek
