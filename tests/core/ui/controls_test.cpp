#include "core/ui/grid_routines.h"
#include "core/ui/label_3d.h"
#include "core/ui/valid_edit.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace orvek;

TEST(IntegerEdit, ValidationTable)
{
    struct Case {
        const char* text;
        bool allowEmpty, useBounds;
        bool valid;
        const char* shown;
    } cases[] = {
        { "", true, false, true, "" },
        { "", false, false, false, "" },
        { "007", false, false, true, "7" },
        { "-12", false, false, true, "-12" },
        { "11", false, true, false, "11" },
        { "10", false, true, true, "10" },
        { "1", false, true, true, "1" },
        { "0", false, true, false, "0" },
        { "1.5", false, false, false, "1.5" },
        { "abc", true, false, false, "abc" },
        { "99999999999", false, false, false, "99999999999" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TIntegerEdit edit;
        edit.BeepOnInvalid = false;
        edit.AllowEmpty = c.allowEmpty;
        edit.SetMaxValue(10);
        edit.SetMinValue(1);
        edit.UseBounds = c.useBounds;
        int invalidCalls = 0;
        edit.OnInvalid = [&](QObject* sender, bool& valid) {
            EXPECT_EQ(sender, &edit);
            EXPECT_FALSE(valid);
            ++invalidCalls;
        };
        edit.setText(c.text);
        EXPECT_EQ(edit.Validate(), c.valid);
        EXPECT_EQ(edit.Valid(), c.valid);
        EXPECT_EQ(edit.Empty(), QString(c.text).isEmpty());
        EXPECT_EQ(edit.text(), c.shown);
        EXPECT_EQ(invalidCalls, c.valid ? 0 : 1);
    }
}

TEST(IntegerEdit, ValueAndBoundsRaise)
{
    TIntegerEdit edit;
    edit.BeepOnInvalid = false;
    edit.SetMaxValue(10);
    edit.UseBounds = true;
    edit.SetValue(3);
    EXPECT_EQ(edit.text(), "3");
    try {
        edit.SetMinValue(5);
        FAIL() << "no error";
    } catch (const TIntegerEdit::ERangeError& e) {
        EXPECT_STREQ(e.what(), "Value out of bound");
    }
    EXPECT_EQ(edit.MinValue(), 0);
    EXPECT_THROW(edit.SetMaxValue(2), TIntegerEdit::ERangeError);
    EXPECT_THROW(edit.SetValue(11), TIntegerEdit::ERangeError);
    EXPECT_EQ(edit.text(), "3");
    edit.setText("x");
    edit.AllowEmpty = false;
    EXPECT_THROW(edit.GetValue(), TValidCustomEdit::EConvertError);
    edit.setText(" 0008 ");
    EXPECT_EQ(edit.GetValue(), 8);
    // OnInvalid may accept the text after all.
    edit.setText("42");
    edit.OnInvalid = [](QObject*, bool& valid) { valid = true; };
    EXPECT_TRUE(edit.Validate());
}

TEST(IntegerEdit, FailedCheckTakesTheFocusBackExceptForCancel)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new TIntegerEdit(&dialog);
    auto* other = new QPushButton("other", &dialog);
    auto* cancel = new QPushButton("Cancel", &dialog);
    TValidCustomEdit::MarkAsCancel(cancel);
    layout->addWidget(edit);
    layout->addWidget(other);
    layout->addWidget(cancel);
    edit->BeepOnInvalid = false;
    edit->AllowEmpty = false;
    edit->SetMaxValue(10);
    edit->SetMinValue(1);
    edit->UseBounds = true;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    edit->setFocus();
    edit->setText("11");
    other->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }, 2000));

    cancel->setFocus();
    QTest::qWait(50);
    EXPECT_TRUE(cancel->hasFocus());

    // A window that closes right after the check keeps closed: no refocus fires.
    edit->setFocus();
    other->setFocus();
    dialog.reject();
    QTest::qWait(50);
    EXPECT_FALSE(dialog.isVisible());

    edit->setText("5");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    other->setFocus();
    QTest::qWait(50);
    EXPECT_TRUE(other->hasFocus());
}

TEST(StringGrid, InsertRowMovesFilledRowsDown)
{
    QTableWidget grid(6, 3);
    for (int r = 1; r <= 5; ++r)
        for (int c = 0; c < 3; ++c)
            grid.setItem(r, c, new QTableWidgetItem(QString("r%1c%2").arg(r).arg(c)));
    InsertStringGridRow(2, grid, 1);
    ASSERT_EQ(grid.rowCount(), 7);
    EXPECT_EQ(grid.currentRow(), 2);
    for (int c = 1; c < 3; ++c) {
        EXPECT_EQ(grid.item(1, c)->text(), QString("r1c%1").arg(c));
        EXPECT_TRUE(grid.item(2, c)->text().isEmpty());
        for (int r = 3; r <= 6; ++r)
            EXPECT_EQ(grid.item(r, c)->text(), QString("r%1c%2").arg(r - 1).arg(c));
    }
    EXPECT_EQ(grid.item(2, 0)->text(), "r2c0"); // the fixed column stays

    // A grid whose last row is empty keeps its size.
    QTableWidget sparse(5, 2);
    sparse.setItem(1, 0, new QTableWidgetItem("a"));
    InsertStringGridRow(1, sparse);
    EXPECT_EQ(sparse.rowCount(), 5);
    EXPECT_EQ(sparse.item(2, 0)->text(), "a");
    EXPECT_TRUE(sparse.item(1, 0)->text().isEmpty());
    InsertStringGridRow(0, sparse);
    EXPECT_EQ(sparse.item(2, 0)->text(), "a");

    int newRow = -1;
    AppendStringGridRow(sparse, newRow);
    EXPECT_EQ(newRow, 5);
    EXPECT_EQ(sparse.rowCount(), 6);
}

TEST(Label3D, LoweredPaintsWhiteDownRightAndBlackUpLeft)
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette background;
    background.setColor(QPalette::Window, QColor(128, 128, 128));
    parent.setPalette(background);
    parent.resize(80, 60);
    TLabel3D label(&parent);
    QFont font = label.font();
    font.setPointSize(28);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.setText("I");
    label.setGeometry(10, 5, 60, 50);
    label.SetOffset(2);

    auto columns = [&](QColor colour) {
        const QImage image = parent.grab().toImage();
        int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
    };
    label.SetLabelStyle(lsLowered);
    QRect white = columns(Qt::white), black = columns(Qt::black), blue = columns(Qt::blue);
    ASSERT_TRUE(white.isValid() && black.isValid() && blue.isValid());
    EXPECT_EQ(white.right(), blue.right() + 2);
    EXPECT_EQ(white.bottom(), blue.bottom() + 2);
    EXPECT_EQ(black.left(), blue.left() - 2);
    EXPECT_EQ(black.top(), blue.top() - 2);

    label.SetLabelStyle(lsRaised);
    white = columns(Qt::white), black = columns(Qt::black), blue = columns(Qt::blue);
    EXPECT_EQ(white.left(), blue.left() - 2);
    EXPECT_EQ(black.right(), blue.right() + 2);
}

TEST(Label3D, AsButtonLowersWhilePressed)
{
    TLabel3D label;
    label.resize(50, 20);
    label.SetLabelStyle(lsLowered);
    label.SetAsButton(true);
    EXPECT_EQ(label.LabelStyle(), lsRaised);
    int clicks = 0;
    QObject::connect(&label, &TLabel3D::clicked, [&] { ++clicks; });
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.LabelStyle(), lsLowered);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.LabelStyle(), lsRaised);
    EXPECT_EQ(clicks, 1);
}
