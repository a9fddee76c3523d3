#include "office_convert.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace orvek::test {

bool ConvertWithOffice(const QStringList& sources, const QString& filter, QString& error)
{
    const QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty()) {
        error = "soffice not found (scripts/install-deps installs LibreOffice)";
        return false;
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("LANG", "C.UTF-8");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office,
        QStringList { "-env:UserInstallation=file://" ORVEK_OFFICE_PROFILE, "--headless", "--norestore", "--convert-to",
            filter, "--outdir", QFileInfo(sources.value(0)).absolutePath() }
            + sources);
    if (!process.waitForFinished(240000) || process.exitCode() != 0) {
        error = "conversion failed: " + QString::fromUtf8(process.readAll());
        process.kill();
        return false;
    }
    error = QString::fromUtf8(process.readAll());
    return true;
}

QString Convert(const QString& source, const QString& filter, const QString& extension, QString& error)
{
    if (!ConvertWithOffice({ source }, filter, error))
        return {};
    const QString target
        = QFileInfo(source).absolutePath() + "/" + QFileInfo(source).completeBaseName() + "." + extension;
    if (!QFile::exists(target)) {
        error = "no output: " + error;
        return {};
    }
    return target;
}

} // namespace orvek::test
