// Damaged diagram texts and model files, made by seeded random mutations of a golden
// text: each loads or fails with a reason, never crashes or hangs, and leaves a tree
// whose own text reads back to the same text.

#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/diagram_text.h"
#include "engine/model_file.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace orvek {
namespace {

QByteArray Golden()
{
    QFile file(QStringLiteral(ORVEK_TEST_DATA_DIR "/models/all_methods.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QByteArray Mutate(const QByteArray& text, std::mt19937& rng)
{
    auto pick = [&rng](qsizetype n) {
        return qsizetype(std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(0, n - 1))(rng));
    };
    QByteArray t = text;
    QList<QByteArray> lines = t.split('\n');
    switch (pick(9)) {
    case 0: // truncated
        return t.left(pick(t.size()));
    case 1: // bytes flipped
        for (int i = 0, n = 1 + int(pick(20)); i < n && !t.isEmpty(); ++i)
            t[pick(t.size())] = char(pick(256));
        return t;
    case 2: // a line dropped (blocks unbalanced)
        lines.removeAt(pick(lines.size()));
        return lines.join('\n');
    case 3: // a line repeated
    {
        const qsizetype i = pick(lines.size());
        lines.insert(i, lines[i]);
        return lines.join('\n');
    }
    case 4: // a huge or broken number
    {
        const char* values[] = { "99999999999999999999", "-2147483648", "2147483647", "1E400", "x", "", "256", "-1" };
        const qsizetype i = pick(lines.size());
        const qsizetype eq = lines[i].indexOf('=');
        if (eq >= 0)
            lines[i] = lines[i].left(eq + 1) + values[pick(8)] + ";\r";
        return lines.join('\n');
    }
    case 5: // a child count out of all proportion
        return t.replace("NrChildCells=15;", "NrChildCells=2000000000;");
    case 6: // lines shuffled locally
        for (int i = 0; i < 5 && lines.size() > 2; ++i)
            std::swap(lines[pick(lines.size())], lines[pick(lines.size())]);
        return lines.join('\n');
    case 7: // an end line removed
        return t.replace(t.indexOf("EndCell="), 8, "EndCelx=");
    default: // blank lines or a lock mark in front
        return QByteArray("\r\n").repeated(int(pick(14))) + t.replace("~@#1", "~@#");
    }
}

void ExpectWellFormed(const TCell& cell, int depth = 0)
{
    ASSERT_LE(depth, kMaxDiagramDepth + 1);
    for (const auto& child : cell.FChildren) {
        ASSERT_EQ(child->FParent, &cell);
        ExpectWellFormed(*child, depth + 1);
    }
}

QString LoadAndSave(const QByteArray& text, bool* ok = nullptr, QString* error = nullptr)
{
    CellIdCounter = 1;
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QString reason;
    const bool loaded = root.LoadFromDevice(buffer, &reason);
    if (ok)
        *ok = loaded;
    if (error)
        *error = reason;
    if (!loaded) {
        EXPECT_FALSE(reason.isEmpty());
    }
    ExpectWellFormed(root);
    return root.SaveToText();
}

class DiagramFuzz : public ::testing::Test {
protected:
    void SetUp() override
    {
        StoreCellComments = true;
        LoadValuesOnPaste = true;
        AskOnPaste = false;
    }
};

TEST_F(DiagramFuzz, MutatedTextsLoadOrFailCleanlyAndLeaveAStableTree)
{
    const QByteArray golden = Golden();
    std::mt19937 rng(20101);
    int failed = 0;
    for (int round = 0; round < 2000; ++round) {
        const QByteArray mutated = Mutate(Mutate(golden, rng), rng);
        bool ok = false;
        const QString first = LoadAndSave(mutated, &ok);
        failed += ok ? 0 : 1;
        // What a damaged text left behind is a diagram of its own: written and read
        // again it stays the same (after one pass that settles values which happen
        // to end like a lock mark).
        const QString second = LoadAndSave(first.toUtf8());
        const QString third = LoadAndSave(second.toUtf8());
        ASSERT_EQ(third, second) << "round " << round;
    }
    EXPECT_GT(failed, 0);
}

TEST_F(DiagramFuzz, TenThousandChildrenAndDeepNesting)
{
    QByteArray wide = "\r\nBeginCell=1;\r\nCellType=0;\r\nNrChildCells=10000;";
    for (int i = 0; i < 10000; ++i)
        wide += "\r\nBeginCell=" + QByteArray::number(i + 2)
            + ";\r\nCellType=2;\r\nTSN=1;\r\nNrChildCells=0;\r\nEndCell=" + QByteArray::number(i + 2) + ";";
    wide += "\r\nEndCell=1;";
    const QString saved = LoadAndSave(wide);
    EXPECT_EQ(saved.count("BeginCell="), 10001);

    QByteArray deep = "\r\nBeginCell=1;\r\nCellType=0;";
    for (int i = 0; i < kMaxDiagramDepth - 1; ++i)
        deep += "\r\nNrChildCells=1;\r\nBeginCell=" + QByteArray::number(i + 2) + ";\r\nCellType=2;";
    bool ok = false;
    EXPECT_EQ(LoadAndSave(deep, &ok).count("BeginCell="), kMaxDiagramDepth);
    EXPECT_TRUE(ok);
    deep += "\r\nNrChildCells=1;\r\nBeginCell=x;\r\nCellType=2;";
    QString error;
    LoadAndSave(deep, &ok, &error);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains("deeper"));
}

TEST_F(DiagramFuzz, MutatedModelFilesLoadOrFailCleanly)
{
    QTemporaryDir dir;
    const QByteArray golden = Golden();
    const QByteArray scrambled = ScrambleModelText(golden) + QByteArray(1, '\0');
    std::mt19937 rng(4242);
    const QString name = dir.filePath("m.stm");
    for (int round = 0; round < 300; ++round) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Mutate(scrambled, rng));
        file.close();
        CellIdCounter = 1;
        TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        QString error;
        if (!LoadModelFile(root, name, &error)) {
            EXPECT_FALSE(error.isEmpty());
        }
        ExpectWellFormed(root);
    }
}

} // namespace
} // namespace orvek
