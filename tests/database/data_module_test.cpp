#include "core/common_vars.h"
#include "database/data_module.h"
#include "platform/desktop.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace orvek;

TEST(DataModule, GetStringForwardsAndExportWritesTheNameList)
{
    AppDir = test::TestProgramFolder();
    LanguageID = 0;
    TDataModule1 module;
    EXPECT_EQ(module.GetString(730), GetString(730));
    EXPECT_FALSE(module.GetString(730).isEmpty());
    EXPECT_EQ(module.GetString(918, { "x.doc" }), GetString(918, { "x.doc" }));

    QUrl opened;
    SetDesktopOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    QString error;
    ASSERT_TRUE(module.ExportStringIDs(&error)) << error.toStdString();
    SetDesktopOpener({});
    EXPECT_EQ(opened, QUrl::fromLocalFile(AppDir + "StringID.txt"));
    QFile file(AppDir + "StringID.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("\n        SEditStringsCaption = 730;\n")) << text.left(200).toStdString();
    EXPECT_TRUE(text.startsWith("        "));
    LanguageID = EditionFlag;
}
