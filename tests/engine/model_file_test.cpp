#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/diagram_text.h"
#include "engine/model_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orvek {
namespace {

QByteArray ReadFixture(const QString& name)
{
    QFile file(QStringLiteral(ORVEK_TEST_DATA_DIR "/models/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(ModelFile, ScramblingIsChunkedAndItsOwnInverse)
{
    const QByteArray zeros(700, '\0');
    const QByteArray scrambled = ScrambleModelText(zeros);
    const auto& table = ModelFileKeyTable();
    for (int n : { 0, 200, 250, 450 })
        EXPECT_EQ(quint8(scrambled[n]), table[0]) << n;
    EXPECT_EQ(quint8(scrambled[249]), table[49]);
    EXPECT_EQ(quint8(scrambled[199]), table[199]);
    // The one-chunk routine runs on through the table.
    EXPECT_EQ(quint8(ScrambleXor(zeros)[249]), table[49]);
    EXPECT_EQ(quint8(ScrambleXor(zeros)[250]), table[50]);

    const QByteArray text = ReadFixture("all_methods.txt");
    EXPECT_NE(ScrambleModelText(text), text);
    EXPECT_EQ(UnscrambleModelText(ScrambleModelText(text)), text);
}

TEST(ModelFile, FileHoldsTheScrambledTextAndAZeroByte)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("ten.stm");
    ASSERT_TRUE(WriteScrambledModelFile(name, "0123456789"));
    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(name, bytes));
    ASSERT_EQ(bytes.size(), 11);
    EXPECT_EQ(bytes[10], '\0');
    EXPECT_EQ(UnscrambleModelText(bytes.left(10)), "0123456789");
}

TEST(ModelFile, ScrambledAndPlainFilesLoadTheSameTree)
{
    const QByteArray golden = ReadFixture("all_methods.txt");
    QTemporaryDir dir;
    const QString scrambled = dir.filePath("model.stm");
    const QString plain = dir.filePath("plain.stm");
    ASSERT_TRUE(WriteScrambledModelFile(scrambled, QString::fromUtf8(golden)));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(golden);
    file.close();
    for (const QString& name : { scrambled, plain }) {
        CellIdCounter = 1;
        TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        QString error;
        ASSERT_TRUE(LoadModelFile(root, name, &error)) << error.toStdString();
        EXPECT_EQ(root.SaveToText().toUtf8(), golden);
    }
    // No temporary file is left behind.
    EXPECT_TRUE(QDir(TemporaryFolder()).entryList({ "*.tmp" }, QDir::Files).isEmpty());
}

TEST(ModelFile, ErrorsAreReportedAndAFailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    QString error;
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    EXPECT_FALSE(LoadModelFile(root, dir.filePath("missing.stm"), &error));
    EXPECT_TRUE(error.contains("missing.stm"));
    EXPECT_FALSE(WriteScrambledModelFile(dir.filePath("no/such/folder/x.stm"), "text", &error));
    EXPECT_FALSE(error.isEmpty());

    // An absurd size is refused and the file already there stays as it was.
    const QString kept = dir.filePath("kept.stm");
    ASSERT_TRUE(WriteScrambledModelFile(kept, "old text"));
    EXPECT_FALSE(WriteTextWithNul(QByteArray(kMaxDiagramTextBytes + 1, 'x'), kept, &error));
    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(kept, bytes));
    EXPECT_EQ(UnscrambleModelText(bytes.chopped(1)), "old text");

    // A file that is not a model loads nothing and raises nothing.
    const QString junk = dir.filePath("junk.stm");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some bytes\x01\x02\x03");
    file.close();
    EXPECT_TRUE(LoadModelFile(root, junk, &error));
    EXPECT_EQ(root.ChildCount(), 0);
}

} // namespace
} // namespace orvek
