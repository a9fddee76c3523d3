#include "platform/registry.h"
#include "tests/support/test_env.h"

#include <QSettings>
#include <gtest/gtest.h>

using namespace orvek;

namespace {
const QString kKey = "\\Software\\Kestrava\\Orvek\\Test";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { test::ClearSettingsStore(); }
};
} // namespace

TEST_F(RegistryTest, KeyPathBecomesGroupPath)
{
    EXPECT_EQ(TRegistry::GroupPath("\\Software\\Kestrava\\Orvek\\Setup"), "Software/Kestrava/Orvek/Setup");
    EXPECT_EQ(TRegistry::GroupPath("Software\\A\\"), "Software/A");
}

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypes)
{
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(kKey));
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    reg.WriteInteger("Int", -17);
    reg.WriteBool("Bool", true);
    reg.WriteFloat("Float", 0.85);
    reg.WriteString("Text", "C:/Data, Ľúbica");
    reg.WriteBinary("Bin", QByteArray("\x01\x00\x00\x00\xff", 5));
    ASSERT_TRUE(reg.CloseKey());

    TRegistry again;
    EXPECT_TRUE(again.KeyExists(kKey));
    ASSERT_TRUE(again.OpenKey(kKey, false));
    EXPECT_EQ(again.ReadInteger("Int"), -17);
    EXPECT_EQ(again.ReadBool("Bool"), true);
    EXPECT_EQ(again.ReadFloat("Float"), 0.85);
    EXPECT_EQ(again.ReadString("Text"), QString("C:/Data, Ľúbica"));
    EXPECT_EQ(again.ReadBinary("Bin", 5), QByteArray("\x01\x00\x00\x00\xff", 5));
}

TEST_F(RegistryTest, ValueOfAnotherFormOrLengthCountsAsMissing)
{
    {
        QSettings raw(QSettings::IniFormat, QSettings::UserScope, "Kestrava", "Orvek");
        raw.setValue("Software/Kestrava/Orvek/Test/Int", "12abc");
        raw.setValue("Software/Kestrava/Orvek/Test/Bool", "7");
        raw.setValue("Software/Kestrava/Orvek/Test/Bin", QByteArray(4, 'x'));
        raw.setValue("Software/Kestrava/Orvek/Test/Float", "1,5");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_FALSE(reg.ReadInteger("Int").has_value());
    EXPECT_EQ(reg.ReadBool("Bool"), true); // any non-zero number is True
    EXPECT_FALSE(reg.ReadBinary("Bin", 8).has_value());
    EXPECT_FALSE(reg.ReadInteger("Bin").has_value());
    EXPECT_FALSE(reg.ReadFloat("Float").has_value());
    EXPECT_FALSE(reg.ReadString("Missing").has_value());
}

TEST_F(RegistryTest, OpenWithoutCreateFailsOnMissingKey)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(kKey, false));
    EXPECT_FALSE(reg.ReadInteger("Int").has_value());
    EXPECT_FALSE(reg.WriteInteger("Int", 1));
}
