#include "database/template_service_tools.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/model_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// The diagram text without the cells' numbers, which every new cell draws afresh.
std::string WithoutCellIds(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("(BeginCell|EndCell)=\\d+")), QStringLiteral("\\1="))
        .toStdString();
}

TEST(TemplateServiceTools, FileNamesOfBothDirections)
{
    EXPECT_EQ(DecryptedModelFileName("/m/scale.stm"), "/m/scale.DSTM");
    EXPECT_EQ(DecryptedModelFileName("/m/SCALE.STM"), "/m/SCALE.DSTM");
    EXPECT_EQ(RepairedModelFileName("/m/scale.DSTM"), "/m/scale-repaired.STM");
    EXPECT_EQ(RepairedModelFileName("/m/scale.dstm"), "/m/scale-repaired.STM");
}

// Lines are trimmed and given the ";" a field line needs; a line that has it keeps one,
// and empty lines stay empty.
TEST(TemplateServiceTools, RepairedTextEndsEveryFieldLineWithOneSemicolon)
{
    struct Case {
        const char* what;
        QString plain;
        QString repaired;
    };
    const Case cases[] = {
        { "kept as it is", "\r\nBeginCell=1;\r\n  CellType=0;\r\nEndCell=1;\r\n",
            "\r\nBeginCell=1;\r\nCellType=0;\r\nEndCell=1;" },
        { "lost semicolon and trailing blanks", "BeginCell=1\n  CellName=a  \t\nEndCell=1;",
            "BeginCell=1;\r\nCellName=a;\r\nEndCell=1;" },
        { "a value that ends with a semicolon", "CellName=a;;\r\n", "CellName=a;;" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(RepairedDiagramText(c.plain), c.repaired) << c.what;
}

// A model written as plain text and back gives the same tree, a comment of two lines and
// a name ending with ";" included; the same holds after the plain text was edited by
// hand without the semicolons. Names of other kinds are skipped; a missing file is
// named with its reason.
TEST(TemplateServiceTools, ModelFileRoundTripThroughPlainText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    StoreCellComments = true;
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = "Mass;";
    info.CellComment = "first line\r\nsecond line";
    info.Symbol = "y";
    info.Equation = "a";
    info.NormalizedEquation = "a";
    TCell root(nullptr, info, 0, 0, nullptr);
    TPrenosInfoDoNovejBunky q;
    q.CellType = kQuantityCell;
    q.CellName = q.Symbol = q.QuantityName = "a";
    q.Value = "2.5";
    root.AddChild(q);
    const QString model = dir.filePath("mass.stm");
    ASSERT_TRUE(WriteScrambledModelFile(model, root.SaveToText()));
    // The tree as the model file gives it.
    TCell original(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    ASSERT_TRUE(LoadModelFile(original, model));
    const QString text = original.SaveToText();
    ASSERT_TRUE(text.contains("CellName=Mass;;")) << text.toStdString();

    const TServiceToolResult out
        = DecryptModelFiles({ model, dir.filePath("notes.txt"), dir.filePath("gone.stm") }, "Import");
    EXPECT_EQ(out.Written, 1);
    ASSERT_EQ(out.Failed.size(), 1);
    EXPECT_EQ(out.Failed[0].FileName, dir.filePath("gone.stm"));
    EXPECT_FALSE(out.Failed[0].Reason.isEmpty());

    QFile plain(dir.filePath("mass.DSTM"));
    ASSERT_TRUE(plain.open(QIODevice::ReadWrite));
    QByteArray edited = plain.readAll();
    plain.close();
    const TServiceToolResult back = EncryptDecryptedFiles({ dir.filePath("mass.DSTM") }, "Import");
    EXPECT_EQ(back.Written, 1);
    EXPECT_TRUE(back.MessageText().isEmpty());
    TCell loaded(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    ASSERT_TRUE(LoadModelFile(loaded, dir.filePath("mass-repaired.STM")));
    EXPECT_EQ(WithoutCellIds(loaded.SaveToText()), WithoutCellIds(text));

    // Edited by hand: the ";" of the quantity's value line is gone.
    edited.replace("=2.5;", "=2.5   ");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly | QIODevice::Truncate));
    plain.write(edited);
    plain.close();
    EncryptDecryptedFiles({ dir.filePath("mass.DSTM") }, "Import");
    TCell repaired(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    ASSERT_TRUE(LoadModelFile(repaired, dir.filePath("mass-repaired.STM")));
    EXPECT_EQ(WithoutCellIds(repaired.SaveToText()), WithoutCellIds(text));
}

} // namespace
