#include "bench/generated_model.h"
#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/diagram_text.h"
#include "tests/support/dialog_script.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace orvek {
namespace {

using test::DialogScript;

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name, const QString& symbol = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Symbol = symbol;
    info.Active = 1;
    return info;
}

QByteArray ReadFixture(const QString& name)
{
    QFile file(QStringLiteral(ORVEK_TEST_DATA_DIR "/models/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

struct Loaded {
    std::unique_ptr<TCell> root;
    bool ok = false;
    QString error;
};

// A fresh root (Id 1, so that loaded children take 2, 3, ... in reading order) loaded
// from Text.
Loaded Load(const QByteArray& text)
{
    CellIdCounter = 1;
    Loaded result;
    result.root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    result.ok = result.root->LoadFromDevice(buffer, &result.error);
    return result;
}

QByteArray Save(TCell& cell)
{
    return cell.SaveToText().toUtf8();
}

class DiagramText : public ::testing::Test {
protected:
    void SetUp() override
    {
        StoreCellComments = true;
        LoadValuesOnPaste = true;
        AskOnPaste = false;
        CommentsPasteToTempates = true;
        ReadingClipboardPaste = false;
    }
};

// Every kind, every value type and all fifteen methods with locks, as written.
TEST_F(DiagramText, GoldenTextRoundTripsByteForByte)
{
    const QByteArray golden = ReadFixture("all_methods.txt");
    Loaded loaded = Load(golden);
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(Save(*loaded.root), golden);

    TCell& root = *loaded.root;
    ASSERT_EQ(root.ChildCount(), 4);
    EXPECT_EQ(root.FCellName.Text, QString::fromUtf8("Hmotnosť vzorky"));
    EXPECT_EQ(root.FNormalizedEquation, "m=m0*(1+k)");
    EXPECT_EQ(root.FCellComment.Text, "Line one\rLine two");
    EXPECT_EQ(root.FCellComment.Lock, 2);
    TCell* quantity = root.Child(0);
    EXPECT_EQ(quantity->FValue.Lock, 1);
    ASSERT_GE(quantity->ChildCount(), 15);
    // Units are passed down to the sources when a diagram is loaded.
    EXPECT_EQ(quantity->Child(0)->FUnit.Text, "g");
    EXPECT_TRUE(SourceKeysLoaded);
}

TEST_F(DiagramText, ReadingTrapsAreReadAsTheWriterMeantThem)
{
    const QByteArray text = "\r\nBeginCell=1;\r\n  CellType=2;\r\n  CellName=s;\r\n  TSN=1;\r\n  USType=1;\r\n"
                            "  Active=1;\r\n  ZPSV_2_1=2;\r\n  HSN=NAN;\r\n  IS_2_1=SQRT(3)*;\r\n  PSV_2_1= NAN ;\r\n"
                            "  SOPr_10=7;\r\n  RSOPr_10=8;\r\n  Perc=1;\r\n  NrChildCells=0;\r\nEndCell=1;";
    Loaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    const TVstupStandardnejNeistoty& u = loaded.root->FUncertaintyInput;
    EXPECT_EQ(u.IS_2_1.Text, "SQRT(3)");
    EXPECT_TRUE(u.HSN.isEmpty());
    EXPECT_TRUE(loaded.root->FCombinedUncertainty.isEmpty());
    EXPECT_TRUE(u.PSV_2_1.Text.isEmpty());
    EXPECT_EQ(u.SOPr_10, "7");
    EXPECT_EQ(u.RSOPr_10, "8");
    EXPECT_EQ(u.USType, 2); // "Perc=1" of older files
    const QString written = loaded.root->SaveToText();
    EXPECT_FALSE(written.contains("SOPr_10"));
    EXPECT_FALSE(written.contains("RSOPr_10"));
    EXPECT_TRUE(written.contains("IS_2_1=SQRT(3);"));
}

TEST_F(DiagramText, LongFieldsAreCutIn80CharacterPiecesWithTheLockOnALineOfItsOwn)
{
    struct Case {
        QString value;
        quint8 lock;
        QStringList lines;
    };
    const QString a80(80, 'a');
    const QString b81 = QString(80, 'b') + "c";
    // "ž" and a character outside the basic plane at the boundary count as one each.
    const QString wide = QString(79, 'x') + QString::fromUtf8("ž") + QString::fromUtf8("\xF0\x9D\x9C\x87") + "y";
    const QString v200 = QString(200, 'v');
    const Case cases[] = {
        { a80, 0, { "K=" + a80 + ";" } },
        { b81, 0, { "K=" + QString(80, 'b') + ";", "K=c;" } },
        { wide, 0,
            { "K=" + QString(79, 'x') + QString::fromUtf8("ž") + ";", QString::fromUtf8("K=\xF0\x9D\x9C\x87y;") } },
        { v200, 3,
            { "K=" + QString(80, 'v') + ";", "K=" + QString(80, 'v') + ";", "K=" + QString(40, 'v') + ";",
                "K=~@#3;" } },
        { "a\rb", 0, { "K=a@@@b;" } },
    };
    for (const Case& c : cases) {
        TCell cell(nullptr, Info(kEquationCell, "n"), 0, 0, nullptr);
        cell.FCellComment = { c.lock, c.value };
        QStringList lines;
        for (const QString& line : cell.SaveToText().split("\r\n"))
            if (line.trimmed().startsWith("CellComment="))
                lines << line.trimmed().mid(QString("CellComment").size() - 1).replace(0, 1, "K");
        EXPECT_EQ(lines, c.lines) << c.value.toStdString();

        // And back: the value and its lock.
        Loaded loaded = Load(cell.SaveToText().toUtf8());
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.root->FCellComment.Text, c.value);
        EXPECT_EQ(loaded.root->FCellComment.Lock, c.lock);
    }
}

TEST_F(DiagramText, LockSuffixNeedsExactlyOneCharacterAfterTheMark)
{
    const QByteArray text = "\r\nBeginCell=1;\r\n  CellType=1~@#1;\r\n  CellName=a~@#12;\r\n  VarSumbol=x~@#4;\r\n"
                            "  NrChildCells=0;\r\nEndCell=1;";
    Loaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.root->FCellTypeLock, 1);
    EXPECT_EQ(loaded.root->FCellName.Text, "a~@#12");
    EXPECT_EQ(loaded.root->FCellName.Lock, 0);
    EXPECT_EQ(loaded.root->FSymbol.Text, "x");
    EXPECT_EQ(loaded.root->FSymbol.Lock, 4);
}

TEST_F(DiagramText, ValuesEndingLikeALockSuffixReadBackWholeAndUnlocked)
{
    const QString odd = "ends~@#1";
    const QString longOdd = QString(76, 'v') + odd; // a first piece of exactly 80 that ends so
    TCell root(nullptr, Info(kEquationCell, odd, odd), 0, 0, nullptr);
    root.FEquation = odd;
    root.FValue.Text = odd;
    root.FCellComment.Text = longOdd + "tail";
    TCell* u = root.AddChild(Info(kUncertaintyCell, "u"));
    u->FUncertaintyInput.TSN = 11;
    u->FUncertaintyInput.PM_7 = 1;
    u->FUncertaintyInput.VM_7.Text = odd;
    u->FUncertaintyInput.DM_7 = odd; // a list without locks is taken as written
    TCell* s = root.AddChild(Info(kUncertaintyCell, "s"));
    s->FUncertaintyInput.TSN = 1;
    s->FUncertaintyInput.IS_2_1.Text = odd;
    s->FUncertaintyInput.RN_2_1.Text = odd;
    s->FUncertaintyInput.RN_2_1.Lock = 3;

    Loaded loaded = Load(root.SaveToText().toUtf8());
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    const TCell& r = *loaded.root;
    EXPECT_EQ(r.FCellName.Text, odd);
    EXPECT_EQ(r.FCellName.Lock, 0);
    EXPECT_EQ(r.FSymbol.Text, odd);
    EXPECT_EQ(r.FEquation, odd);
    EXPECT_EQ(r.FEquationLock, 0);
    EXPECT_EQ(r.FValue.Text, odd);
    EXPECT_EQ(r.FCellComment.Text, longOdd + "tail");
    EXPECT_EQ(r.FCellComment.Lock, 0);
    ASSERT_EQ(r.ChildCount(), 2);
    const TVstupStandardnejNeistoty& chart = r.Child(0)->FUncertaintyInput;
    EXPECT_EQ(chart.VM_7.Text, odd);
    EXPECT_EQ(chart.VM_7.Lock, 0);
    EXPECT_EQ(chart.DM_7, odd);
    const TVstupStandardnejNeistoty& b = r.Child(1)->FUncertaintyInput;
    EXPECT_EQ(b.IS_2_1.Text, odd);
    EXPECT_EQ(b.IS_2_1.Lock, 0);
    EXPECT_EQ(b.RN_2_1.Text, odd);
    EXPECT_EQ(b.RN_2_1.Lock, 3);
    // Written again, the text is the same.
    EXPECT_EQ(Save(*loaded.root), Save(*Load(Save(*loaded.root)).root));
}

TEST_F(DiagramText, CommentWithLineFeedKeepsItsCarriageReturn)
{
    TCell cell(nullptr, Info(kEquationCell, "n"), 0, 0, nullptr);
    cell.FCellComment.Text = "first\r\n   second";
    Loaded loaded = Load(cell.SaveToText().toUtf8());
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.root->FCellComment.Text, "first\rsecond");
}

TEST_F(DiagramText, CommentLinesEndedByLineFeedsAloneKeepTheirBreaks)
{
    // Lines typed in an editor end with a line feed alone; each break reads back as a
    // carriage return, as a stored CR LF does, and no two lines run together.
    TCell cell(nullptr, Info(kEquationCell, "n"), 0, 0, nullptr);
    cell.FCellComment.Text = "first\nsecond\n\nthird\r\nfourth";
    cell.AddChild(Info(kQuantityCell, "q"));
    Loaded loaded = Load(cell.SaveToText().toUtf8());
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.root->FCellComment.Text.toStdString(), "first\rsecond\r\rthird\rfourth");
    EXPECT_EQ(loaded.root->ChildCount(), 1);
}

TEST_F(DiagramText, CommentLinesThatLookLikeKeysStayInTheComment)
{
    // A comment line such as "Cov=k" or "EndCell=1" is text of the comment, not a field
    // of the cell nor the end of its block.
    TCell cell(nullptr, Info(kEquationCell, "name"), 0, 0, nullptr);
    cell.FCellComment.Text = "Note:\r\nCellName=other\r\nCov=k\n  EndCell=1\r\nplain";
    cell.FCoverage = 2;
    cell.FSymbol.Text = "y";
    cell.AddChild(Info(kQuantityCell, "q"));
    CellIdCounter = 0;
    cell.FId = 1;
    Loaded loaded = Load(cell.SaveToText().toUtf8());
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(loaded.root->FCellName.Text, "name");
    EXPECT_EQ(loaded.root->FCoverage, 2);
    EXPECT_EQ(loaded.root->FSymbol.Text, "y");
    EXPECT_EQ(loaded.root->FCellComment.Text.toStdString(), "Note:\rCellName=other\rCov=k\r  EndCell=1\rplain");
    EXPECT_EQ(loaded.root->ChildCount(), 1);
}

TEST_F(DiagramText, WithoutStoredValuesASourceCarriesOnlyItsStructure)
{
    StoreCellComments = false;
    CellIdCounter = 1;
    TCell s(nullptr, Info(kUncertaintyCell, "u", "x"), 0, 0, nullptr);
    s.FCellComment.Text = "c";
    s.FUncertaintyInput.TSN = 1;
    s.FUncertaintyInput.HSN = "0.5";
    s.FUncertaintyInput.IS_2_1.Text = "1";
    EXPECT_EQ(s.SaveToText(),
        "\r\nBeginCell=1;\r\n  CellType=2;\r\n  CellName=u;\r\n  VarSumbol=x;\r\n  TSN=1;\r\n"
        "  USType=1;\r\n  Active=1;\r\n  ZPSV_2_1=2;\r\n  NrChildCells=0;\r\nEndCell=1;");
    StoreCellComments = true;
    s.FUncertaintyInput.TSN = 6;
    s.FUncertaintyInput.PM_3 = 0;
    EXPECT_FALSE(s.SaveToText().contains("PM_3"));
}

TEST_F(DiagramText, WithoutValuesTheStructureMethodOptionsAndEquationsStay)
{
    const QByteArray golden = ReadFixture("all_methods.txt");
    LoadValuesOnPaste = false;
    Loaded loaded = Load(golden);
    ASSERT_TRUE(loaded.ok);
    TCell& root = *loaded.root;
    EXPECT_EQ(root.FEquation, "m = m0*(1+k)");
    EXPECT_TRUE(root.FValue.Text.isEmpty());
    EXPECT_TRUE(root.FCombinedUncertainty.isEmpty());
    EXPECT_EQ(root.FCoverage, 0);
    EXPECT_TRUE(root.FCoverageFactor.Text.isEmpty());
    TCell* source = root.Child(0)->Child(4); // method 4
    EXPECT_EQ(source->FUncertaintyInput.TSN, 4);
    EXPECT_EQ(source->FUncertaintyInput.HS, 3);
    EXPECT_TRUE(source->FUncertaintyInput.IS_2_4.Text.isEmpty());
    EXPECT_TRUE(source->FUncertaintyInput.HSN.isEmpty());
}

TEST_F(DiagramText, ValueGateAsksOnceAndTheAnswerDecides)
{
    const QByteArray golden = ReadFixture("all_methods.txt");
    struct Case {
        int answer;
        bool valuesTaken;
    };
    for (Case c : { Case { mrYes, true }, Case { mrNo, false } }) {
        DialogScript::Instance().Reset();
        DialogScript::Instance().AnswerMessage(c.answer);
        LoadValuesOnPaste = true;
        AskOnPaste = true;
        Loaded loaded = Load(golden);
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(DialogScript::Instance().Shown().size(), 1);
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        EXPECT_EQ(!loaded.root->FValue.Text.isEmpty(), c.valuesTaken);
        EXPECT_EQ(!loaded.root->Child(0)->Child(1)->FUncertaintyInput.IS_2_1.Text.isEmpty(), c.valuesTaken);
        EXPECT_EQ(AskOnPaste, !c.valuesTaken); // "No" stops the values, so nothing more is asked
        EXPECT_EQ(LoadValuesOnPaste, c.valuesTaken);
    }
}

TEST_F(DiagramText, BlankLinesBeforeTheFirstLineAndWhatIsNotADiagram)
{
    const QByteArray body = "BeginCell=1;\r\n  CellType=0;\r\n  CellName=R;\r\n  NrChildCells=0;\r\nEndCell=1;";
    struct Case {
        QByteArray text;
        bool loads;
    };
    const Case cases[] = {
        { QByteArray("\r\n").repeated(10) + body, true },
        { QByteArray("\r\n").repeated(11) + body, false },
        { "Hello\r\n" + body, false },
        { "", false },
    };
    for (const Case& c : cases) {
        Loaded loaded = Load(c.text);
        EXPECT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.root->FCellName.Text == "R", c.loads);
    }
}

TEST_F(DiagramText, BlockEndsAtItsOwnEndLineOnly)
{
    // "EndCell=12" is not the end of block 1; a missing end keeps what was read.
    const QByteArray text = "\r\nBeginCell=1;\r\n  CellType=0;\r\n  CellName=EndCell=12;\r\n  VarSumbol=y;\r\n"
                            "  NrChildCells=1;\r\n  BeginCell=2;\r\n    CellType=1;\r\n    CellName=q;\r\n"
                            "    NrChildCells=0;\r\n  EndCell=2;\r\n  VarUnit=kg;\r\nEndCell=1;\r\n  VarName=after;";
    Loaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.root->FSymbol.Text, "y");
    EXPECT_EQ(loaded.root->FUnit.Text, "kg");
    EXPECT_TRUE(loaded.root->FQuantityName.Text.isEmpty());
    ASSERT_EQ(loaded.root->ChildCount(), 1);

    Loaded truncated = Load(text.left(text.indexOf("  EndCell=2")));
    ASSERT_TRUE(truncated.ok);
    ASSERT_EQ(truncated.root->ChildCount(), 1);
    EXPECT_EQ(truncated.root->Child(0)->FCellName.Text, "q");
}

TEST_F(DiagramText, ConversionErrorsAreReportedAndKeepWhatWasRead)
{
    const QByteArray text
        = "\r\nBeginCell=1;\r\n  CellType=0;\r\n  CellName=R;\r\n  NrChildCells=1;\r\n"
          "  BeginCell=2;\r\n    CellType=2;\r\n    CellName=s;\r\n    TSN=x;\r\n    USType=?;\r\n"
          "    Active=yes;\r\n    PM_3=many;\r\n    NrChildCells=0;\r\n  EndCell=2;\r\n  VarUnit=kg;\r\n"
          "EndCell=1;";
    Loaded loaded = Load(text);
    EXPECT_FALSE(loaded.ok);
    EXPECT_TRUE(loaded.error.contains("many")) << loaded.error.toStdString();
    EXPECT_EQ(loaded.root->FCellName.Text, "R");
    ASSERT_EQ(loaded.root->ChildCount(), 1);
    EXPECT_EQ(loaded.root->Child(0)->FCellName.Text, "s");
    EXPECT_TRUE(loaded.root->FUnit.Text.isEmpty()); // nothing after the error is read
}

TEST_F(DiagramText, ChildCountIsAClaimAndNestingIsBounded)
{
    QByteArray text = "\r\nBeginCell=1;\r\n  CellType=0;\r\n  CellName=R;\r\n  NrChildCells=2000000000;\r\n"
                      "  BeginCell=2;\r\n  CellType=1;\r\n  NrChildCells=0;\r\n  EndCell=2;";
    Loaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.root->ChildCount(), 1);

    QByteArray deep = "\r\nBeginCell=0;\r\nCellType=0;\r\n";
    for (int i = 1; i <= kMaxDiagramDepth + 5; ++i)
        deep += "NrChildCells=1;\r\nBeginCell=" + QByteArray::number(i) + ";\r\nCellType=2;\r\n";
    Loaded tooDeep = Load(deep);
    EXPECT_FALSE(tooDeep.ok);
    EXPECT_TRUE(tooDeep.error.contains("1000"));
}

TEST_F(DiagramText, LoadChildFromFileAddsANewLastChild)
{
    CellIdCounter = 1;
    TCell root(nullptr, Info(kEquationCell, "R"), 0, 0, nullptr);
    root.AddChild(Info(kQuantityCell, "first"));
    const QByteArray text
        = "\r\nBeginCell=9;\r\n  CellType=1;\r\n  CellName=pasted;\r\n  NrChildCells=1;\r\n"
          "  BeginCell=10;\r\n    CellType=2;\r\n    CellName=u;\r\n    NrChildCells=0;\r\n  EndCell=10;\r\n"
          "EndCell=9;";
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(root.LoadChildFromDevice(buffer));
    ASSERT_EQ(root.ChildCount(), 2);
    EXPECT_EQ(root.Child(0)->FCellName.Text, "first");
    EXPECT_EQ(root.Child(1)->FCellName.Text, "pasted");
    ASSERT_EQ(root.Child(1)->ChildCount(), 1);
    EXPECT_EQ(root.Child(1)->Child(0)->FCellName.Text, "u");
}

// A device without positions: the reader takes its lines one by one from the device.
class SequentialBytes : public QIODevice {
public:
    explicit SequentialBytes(const QByteArray& bytes)
        : bytes_(bytes)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return bytes_.size() - offset_ + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, bytes_.size() - offset_);
        std::memcpy(data, bytes_.constData() + offset_, size_t(n));
        offset_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 offset_ = 0;
};

QByteArray SaveAfterLoad(QIODevice& device, bool& ok)
{
    CellIdCounter = 1;
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QString error;
    ok = root.LoadFromDevice(device, &error);
    EXPECT_TRUE(ok) << error.toStdString();
    return Save(root);
}

// A device that can seek is read whole and split in memory; one that cannot is read
// line by line. Both give the same tree, for every model we ship or test with and for a
// generated model of 1,000 inputs; a text the program wrote reads back to itself.
TEST_F(DiagramText, ReadingFromMemoryGivesTheTreeThatReadingLineByLineGives)
{
    struct Case {
        QString name;
        QByteArray text;
        bool asWritten; // the program's own form: written again byte for byte
    };
    std::vector<Case> cases;
    for (const QString& folder :
        { QStringLiteral(ORVEK_TEST_DATA_DIR "/models"), QStringLiteral(ORVEK_TEST_DATA_DIR "/shipped_models") }) {
        QDirIterator files(folder, { QStringLiteral("*.txt") }, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            cases.push_back({ file.fileName(), file.readAll(), false });
        }
    }
    ASSERT_GE(cases.size(), 20u);
    cases.push_back({ "all_methods.txt as written", ReadFixture("all_methods.txt"), true });
    CellIdCounter = 1;
    cases.push_back({ "generated, 1,000 inputs", bench::GeneratedModel(1000)->SaveToText().toUtf8(), true });
    for (Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QBuffer seekable(&c.text);
        seekable.open(QIODevice::ReadOnly);
        bool ok = false;
        const QByteArray fromMemory = SaveAfterLoad(seekable, ok);
        ASSERT_TRUE(ok);
        SequentialBytes sequential(c.text);
        EXPECT_EQ(fromMemory, SaveAfterLoad(sequential, ok));
        if (c.asWritten) {
            EXPECT_EQ(fromMemory, c.text);
        }
    }
}

// A reader of a device that can seek leaves it after the last line it took, as reading
// line by line does: what follows a pasted cell stays to be read.
TEST_F(DiagramText, ThePastedCellIsReadUpToItsEndLineOnly)
{
    const QByteArray cell = "BeginCell=9;\r\n  CellType=1;\r\n  CellName=pasted;\r\n  NrChildCells=0;\r\nEndCell=9;\r\n";
    const QByteArray rest = "after the cell\r\nand more";
    QByteArray text = cell + rest;
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    CellIdCounter = 1;
    TCell root(nullptr, Info(kEquationCell, "R"), 0, 0, nullptr);
    ASSERT_TRUE(root.LoadChildFromDevice(buffer));
    ASSERT_EQ(root.ChildCount(), 1);
    EXPECT_EQ(root.Child(0)->FCellName.Text, "pasted");
    EXPECT_EQ(buffer.pos(), cell.size());
    EXPECT_EQ(buffer.readAll(), rest);
}

} // namespace
} // namespace orvek
