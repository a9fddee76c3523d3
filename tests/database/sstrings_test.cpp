#include "database/data_module.h"
#include "database/sstrings.h"
#include "database/table_set.h"
#include "engine/model_file.h"

#include <gtest/gtest.h>

using namespace orvek;

TEST(SStrings, EntriesOfAnyLengthComeBackUnchanged)
{
    TSStrings strings;
    const auto& key = ModelFileKeyTable();
    for (int length : { 0, 1, 199, 200, 201, 450 }) {
        const QByteArray text = QString(length, QChar(0x017E)).toUtf8().left(length); // "ž" bytes
        QByteArray encoded, decoded;
        strings.EncodeString(text, encoded);
        ASSERT_EQ(encoded.size(), text.size());
        strings.DecodeString(encoded, decoded);
        EXPECT_EQ(decoded, text) << length;
        if (length > 200) { // the key starts again after 200 bytes
            EXPECT_EQ(quint8(encoded[200]), quint8(quint8(text[200]) ^ key[0]));
        }
        if (length > 0) {
            EXPECT_EQ(quint8(encoded[0]), quint8(quint8(text[0]) ^ key[0]));
        }
    }
    strings.Strings = { "a=1", QString::fromUtf8("Heslo=žltý kôň") };
    const QList<QByteArray> stored = strings.WriteHStr();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_NE(stored[1], strings.Strings[1].toUtf8());
    TSStrings read;
    read.ReadHStr(stored);
    EXPECT_EQ(read.Strings, strings.Strings);
    EXPECT_EQ(read.Value("Heslo"), QString::fromUtf8("žltý kôň"));
    EXPECT_TRUE(TSStrings().WriteHStr().isEmpty());
}

TEST(SStrings, StoredConfigurationNamesTheTableSet)
{
    TSStrings strings;
    strings.Strings = DefaultMainStringEntries();
    for (int n = 1; n <= RequiredTables().size(); ++n)
        EXPECT_EQ(strings.Value(QString("OtherTable[%1]").arg(n)), RequiredTables().at(n - 1));
    for (int n = 1; n <= kMainTableCount; ++n) {
        EXPECT_TRUE(RequiredTables().contains(strings.Value(QString("MainTable[%1]").arg(n))));
        EXPECT_GE(strings.Value(QString("TablePassword[%1]").arg(n)).size(), 12);
    }
    EXPECT_EQ(strings.Value("MainTable[7]"), "Logs");
    // The service login ships switched off.
    EXPECT_TRUE(strings.Strings.contains("ServicePassword="));
    EXPECT_TRUE(strings.Value("ServicePassword").isEmpty());
}
