#include "platform/rtf_reader.h"
#include "platform/ui/rich_edit98.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvek;

namespace {
QString Text(const TRichEdit98& e)
{
    QString s;
    e.GetWideText(s);
    return s;
}
void Select(TRichEdit98& e, int start, int length)
{
    e.SetSelStart(start);
    e.SetSelLength(length);
}
} // namespace

TEST(RichEdit98, RtfOfTheSelection)
{
    TRichEdit98 e;
    e.setPlainText("abcdefgh");
    Select(e, 2, 3);
    e.SetRTFText(QByteArray());
    EXPECT_EQ(Text(e), "abcdefgh");
    EXPECT_EQ(e.SelStart(), 2);
    EXPECT_EQ(e.SelLength(), 3);
    e.SetRTFText(QByteArray("{\\rtf1 {\\b XY}}"));
    EXPECT_EQ(Text(e), "abXYfgh");
    Select(e, 2, 2);
    EXPECT_TRUE(e.SelAttributes().Bold());
    QString rtf;
    e.GetRTFText(rtf);
    QTextDocument back;
    ASSERT_TRUE(ReadRtfDocument(rtf.toLatin1(), &back));
    EXPECT_EQ(back.toPlainText(), "XY");
    Select(e, 4, 0);
    e.GetRTFText(rtf);
    ASSERT_TRUE(ReadRtfDocument(rtf.toLatin1(), &back));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_EQ(back.toPlainText(), "");
}

TEST(RichEdit98, AttributesAndTheWordRule)
{
    TRichEdit98 e;
    e.setPlainText("one two three");
    Select(e, 5, 0); // inside "two"
    e.SelAttributes().SetBold(true);
    Select(e, 4, 3);
    EXPECT_TRUE(e.SelAttributes().Bold());
    Select(e, 0, 3);
    EXPECT_FALSE(e.SelAttributes().Bold());
    e.WordFormatting = false;
    Select(e, 1, 0); // inside "one": only the typing position
    e.SelAttributes().SetItalic(true);
    Select(e, 0, 3);
    EXPECT_FALSE(e.SelAttributes().Italic());
    e.SelAttributes().SetSize(11);
    e.SelAttributes().SetSubscriptStyle(2);
    EXPECT_EQ(e.SelAttributes().Size(), 11);
    EXPECT_EQ(e.SelAttributes().SubscriptStyle(), 2);
    EXPECT_THROW(e.SelAttributes().SetName(QString(33, 'x')), std::range_error);
    QTextCharFormat odd;
    odd.setFontPointSize(10.95); // sizes read as whole points, truncated
    e.textCursor().mergeCharFormat(odd);
    EXPECT_EQ(e.SelAttributes().Size(), 10);
    e.SetLanguage(1029);
    EXPECT_EQ(e.CodePage(), 1250);
    e.Paragraph().SetAlignment(2);
    EXPECT_EQ(e.document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(e.Paragraph().Alignment(), 2);
}

TEST(RichEdit98, FindTextRanges)
{
    TRichEdit98 e;
    e.setPlainText("abc Abc abc xyz abc");
    EXPECT_EQ(e.FindText("abc", 1, 0, 0), 4); // to the end, any case
    EXPECT_EQ(e.FindText("abc", 1, 4, 0), 8); // matching case
    EXPECT_EQ(e.FindText("abc", 1, 4, 5), -1); // range 1..6 holds no "abc"
    EXPECT_EQ(e.FindText("xyz", 20, 1, 5), -1); // upwards 20..15: not there
    EXPECT_EQ(e.FindText("xyz", 19, 1, 8), 12); // upwards 19..11
    EXPECT_EQ(e.FindText("bc", 0, 2, 0), -1); // whole words only
}

TEST(RichEdit98, NestedUpdateLocks)
{
    TRichEdit98 e;
    e.setPlainText("0123456789");
    Select(e, 1, 2);
    e.BeginUpdate();
    Select(e, 3, 1);
    e.BeginUpdate(); // the innermost call's selection is the one restored
    Select(e, 8, 0);
    e.EndUpdate();
    EXPECT_EQ(e.UpdateLockCount(), 1);
    EXPECT_EQ(e.SelStart(), 8);
    e.EndUpdate();
    EXPECT_EQ(e.SelStart(), 3);
    EXPECT_EQ(e.SelLength(), 1);
    EXPECT_TRUE(e.updatesEnabled());
    e.EndUpdate(); // an extra end does no harm
    EXPECT_EQ(e.UpdateLockCount(), 0);
}

TEST(RichEdit98, ExtendedUrlDetection)
{
    TRichEdit98 e;
    e.SetAutoURLDetect(adExtended);
    e.setPlainText("see http:x and http: and a@b.c but @b.c and a@.c end");
    e.ScanURLs(0, int(Text(e).size()));
    auto anchorOf = [&](int pos) {
        QTextCursor c(e.document());
        c.setPosition(pos + 1);
        return c.charFormat().isAnchor() ? c.charFormat().anchorHref() : QString();
    };
    EXPECT_EQ(anchorOf(4), "http:x");
    EXPECT_EQ(anchorOf(15), "");
    EXPECT_EQ(anchorOf(25), "a@b.c");
    EXPECT_EQ(anchorOf(35), "");
    EXPECT_EQ(anchorOf(45), "");
    // Typing keeps the detection up to date.
    QTextCursor c(e.document());
    c.movePosition(QTextCursor::End);
    e.setTextCursor(c);
    e.insertPlainText(" ftp://host");
    EXPECT_EQ(anchorOf(int(Text(e).size()) - 3), "ftp://host");
    // A link text takes the first type whose scheme begins it: https, not http.
    EXPECT_EQ(e.URLTypeOfLink("https://x.org"), 5);
    EXPECT_EQ(e.URLTypeOfLink("me@x.org"), 0);
    EXPECT_EQ(e.URLTypeOfLink("plain"), -1);
}

TEST(RichEdit98, LineLists)
{
    TRichEdit98 e;
    EXPECT_EQ(e.Lines().Count(), 0);
    e.setPlainText("abc\n");
    EXPECT_EQ(e.Lines().Count(), 1);
    e.setPlainText(" a \nsecond");
    EXPECT_EQ(e.Lines().Get(0), "a");
    EXPECT_EQ(e.WideLines().Get(0), " a ");
    e.Lines().Insert(e.Lines().Count(), "third");
    EXPECT_EQ(Text(e), " a \nsecond\nthird");
    e.Lines().Insert(-1, "never");
    e.Lines().Insert(0, "first");
    EXPECT_EQ(Text(e), "first\n a \nsecond\nthird");
    e.Lines().Put(2, "2nd");
    e.Lines().Delete(1);
    e.Lines().Delete(99);
    EXPECT_EQ(Text(e), "first\n2nd\nthird");
    e.Lines().Delete(2);
    EXPECT_EQ(Text(e), "first\n2nd");
}

TEST(RichEdit98, StreamsAndFiles)
{
    TRichEdit98 e;
    QBuffer plain;
    plain.setData("word");
    plain.open(QIODevice::ReadOnly);
    e.Lines().LoadFromStream(&plain); // RTF first, then as text
    EXPECT_EQ(Text(e), "word");
    QTemporaryDir dir;
    const QString txt = dir.filePath("a.txt");
    {
        QFile f(txt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 {\\i it}}");
    }
    e.Lines().LoadFromFile(txt); // a ".txt" file is still tried as RTF first
    EXPECT_EQ(Text(e), "it");
    e.SetSelStart(0);
    e.SetSelLength(2);
    EXPECT_TRUE(e.SelAttributes().Italic());
    const QString rtf = dir.filePath("b.rtf");
    e.Lines().SaveToFile(rtf);
    TRichEdit98 other;
    other.Lines().LoadFromFile(rtf);
    EXPECT_EQ(Text(other), "it");
    EXPECT_THROW(other.Lines().LoadFromFile(dir.filePath("missing.rtf")), std::runtime_error);
    QBuffer closed;
    EXPECT_THROW(e.Lines().SaveToStream(&closed), std::runtime_error);
}

TEST(RichEdit98, ClipboardOffersAndPrefersRtf)
{
    TRichEdit98 source;
    source.setPlainText("plain ");
    QTextCursor c(source.document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("bold", bold);
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    source.document()->addResource(QTextDocument::ImageResource, QUrl("test:img"), image);
    QTextImageFormat img;
    img.setName("test:img");
    c.insertImage(img);
    source.selectAll();
    source.copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasFormat("text/rtf"));
    EXPECT_TRUE(data->data("text/rtf").contains("\\pngblip"));
    EXPECT_TRUE(data->hasText());
    EXPECT_FALSE(data->hasHtml());

    TRichEdit98 target;
    target.paste();
    EXPECT_EQ(target.toPlainText().left(10), "plain bold");
    target.SetSelStart(6);
    target.SetSelLength(4);
    EXPECT_TRUE(target.SelAttributes().Bold());
    EXPECT_TRUE(target.GetRTFData().size() > 0);
    QRegularExpression hasPicture("\\\\pict\\\\pngblip\\\\picw6\\\\pich4");
    target.selectAll();
    EXPECT_TRUE(QString::fromLatin1(target.GetRTFData()).contains(hasPicture));

    // HTML is never taken; an image alone is pasted as a picture.
    auto* html = new QMimeData;
    html->setHtml("<b>html</b>");
    html->setText("text");
    QApplication::clipboard()->setMimeData(html);
    TRichEdit98 third;
    third.paste();
    EXPECT_EQ(third.toPlainText(), "text");
    auto* picture = new QMimeData;
    picture->setImageData(image);
    QApplication::clipboard()->setMimeData(picture);
    third.paste();
    third.selectAll();
    EXPECT_TRUE(third.GetRTFData().contains("\\pngblip"));
}

TEST(RichEdit98, CopiedPlainTextKeepsPowersAndTableRows)
{
    // A report line with a power of ten, then a table with an empty cell, then a line.
    TRichEdit98 edit;
    QTextCursor c(edit.document());
    QTextCharFormat raised;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QString::fromUtf8("y = 0.50000838×10"));
    c.insertText("8", raised);
    c.insertText(QString::fromUtf8(" mm, 2×10"), QTextCharFormat());
    c.insertText("-", raised);
    c.insertText("12", raised);
    c.insertText(" s", QTextCharFormat());
    QTextTable* table = c.insertTable(2, 3);
    const char* cells[2][3] = { { "Symbol", "Value", "Unit" }, { "ls", "50.000623", "" } };
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(cells[row][column]);
    c.movePosition(QTextCursor::End);
    c.insertText("end");

    edit.selectAll();
    edit.copy();
    const QString all = QApplication::clipboard()->mimeData()->text();
    EXPECT_EQ(all, QString::fromUtf8("y = 0.50000838×10^8 mm, 2×10^-12 s\nSymbol\tValue\tUnit\nls\t50.000623\t\nend"))
        << all.toStdString();

    // A selection copies its own characters only.
    QTextCursor part(edit.document());
    part.setPosition(4);
    part.setPosition(19, QTextCursor::KeepAnchor);
    edit.setTextCursor(part);
    edit.copy();
    EXPECT_EQ(QApplication::clipboard()->mimeData()->text(), QString::fromUtf8("0.50000838×10^8 "));
}

TEST(RichEdit98, LinkMovesAndClicks)
{
    TRichEdit98 e;
    e.resize(400, 100);
    e.show();
    QTextCursor c(e.document());
    c.insertText("go ");
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref("https://example.org");
    c.insertText("https://example.org", link);
    QStringList clicked, moved;
    e.OnURLClick = [&](const QString& url) { clicked << url; };
    e.OnURLMove = [&](const QString& url) { moved << url; };
    QTextCursor at(e.document());
    at.setPosition(8);
    const QPoint point = e.cursorRect(at).center();
    QTest::mouseMove(e.viewport(), point);
    QMouseEvent move(QEvent::MouseMove, QPointF(point), e.viewport()->mapToGlobal(QPointF(point)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(e.viewport(), &move);
    EXPECT_EQ(e.viewport()->cursor().shape(), Qt::PointingHandCursor); // https keeps the default: URLCursor
    QTest::mouseClick(e.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(clicked, QStringList { "https://example.org" });
    EXPECT_FALSE(moved.isEmpty());
    // Away from the link nothing is reported.
    QTextCursor plain(e.document());
    plain.setPosition(1);
    QTest::mouseClick(e.viewport(), Qt::LeftButton, Qt::NoModifier, e.cursorRect(plain).center());
    EXPECT_EQ(clicked.size(), 1);
}
