#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#ifdef ORVEK_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
#endif

namespace orvek::test {

namespace {

QString g_root;

void SetEnv(const char* name, const QString& value)
{
    ::setenv(name, value.toLocal8Bit().constData(), 1);
}

QString MakeFolder(const QString& path)
{
    QDir().mkpath(path);
    ::chmod(path.toLocal8Bit().constData(), 0700);
    return path;
}

void LayOutProgramFolder(const QString& app)
{
    const QString bin = BuildBinFolder();
    for (const char* dir : { "EmptyDatabase", "help", "Validation", "DemoExamples", "Pictures" })
        QFile::link(bin + "/" + dir, app + dir);
    // The string table is copied, since tests may change it.
    QDir strings(bin + "/Strings");
    QDir().mkpath(app + "Strings");
    for (const QString& name : strings.entryList(QDir::Files))
        QFile::copy(strings.filePath(name), app + "Strings/" + name);
}

void PrepareEnvironment()
{
    std::string pattern = (QDir::tempPath() + "/orvek-test-XXXXXX").toStdString();
    g_root = QString::fromLocal8Bit(::mkdtemp(pattern.data()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
#ifdef ORVEK_TEST_WIDGETS
        // Windows are laid out on the screen the program is made for: 1280 x 1024.
        const QString screen = g_root + "/offscreen-screen.json";
        QFile config(screen);
        if (config.open(QIODevice::WriteOnly))
            config.write(R"({ "screens": [ { "name": "Screen", "x": 0, "y": 0, "width": 1280, "height": 1024,
                "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })");
        config.close();
        SetEnv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen);
#else
        SetEnv("QT_QPA_PLATFORM", "offscreen");
#endif
    }
    SetEnv("LC_ALL", "C.UTF-8");
    SetEnv("HOME", MakeFolder(g_root + "/home"));
    SetEnv("XDG_CONFIG_HOME", MakeFolder(g_root + "/config"));
    SetEnv("XDG_RUNTIME_DIR", MakeFolder(g_root + "/runtime"));
    SetEnv("TMPDIR", MakeFolder(g_root + "/tmp"));
    const QString app = MakeFolder(g_root + "/app") + "/";
    SetEnv("ORVEK_APPDIR", app);
    LayOutProgramFolder(app);
}

class ResetDialogScript : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        DialogScript::Instance().Reset();
        SetDialogHandler(&DialogScript::Instance());
    }
};

} // namespace

QString TestRoot()
{
    return g_root;
}
QString TestProgramFolder()
{
    return g_root + "/app/";
}
QString BuildBinFolder()
{
    return QStringLiteral(ORVEK_BIN_DIR);
}

void ClearSettingsStore()
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "Kestrava", "Orvek");
    store.clear();
    store.sync();
}

} // namespace orvek::test

int main(int argc, char** argv)
{
    orvek::test::PrepareEnvironment();
    TestApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new orvek::test::ResetDialogScript);
    orvek::SetDialogHandler(&orvek::test::DialogScript::Instance());
    int result = RUN_ALL_TESTS();
    QDir(orvek::test::TestRoot()).removeRecursively();
    return result;
}
