#include "../report_fixtures.h"
#include "core/common_vars.h"
#include "engine/cell.h"
#include "platform/registry.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/markup_render.h"
#include "richtext/report_texts.h"
#include "richtext/ui/form_settings.h"
#include "richtext/ui/page_setup_form.h"
#include "richtext/ui/preview_form.h"
#include "richtext/ui/preview_printer.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

using namespace orvek;

namespace {

void Paginate(TPreviewPrinter& printer, int lines)
{
    TRichEdit98 edit;
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text << QString("Line %1").arg(i);
    edit.setPlainText(text.join('\n'));
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
}

struct NavState {
    bool next, nextSpeed, last, prev, prevSpeed, first, pageNum;
};

NavState Nav(const TPreviewForm& f)
{
    return { f.NextPageBut->isEnabled(), f.NextPageSpeed->isEnabled(), f.LastPageSpeed->isEnabled(),
        f.PrevPageBut->isEnabled(), f.PrevPageSpeed->isEnabled(), f.FirstPageSpeed->isEnabled(),
        f.PageNumSpeed->isEnabled() };
}

} // namespace

TEST(PreviewForm, NavigationAtFirstAndLastPage)
{
    TPreviewPrinter printer;
    Paginate(printer, 150);
    ASSERT_EQ(printer.PageCount(), 3);
    std::unique_ptr<TPreviewForm> form(printer.CreatePreviewForm());
    form->show();
    EXPECT_EQ(form->CurPageLabel->text(), "Page 1 of 3");
    NavState s = Nav(*form);
    EXPECT_TRUE(s.next && s.nextSpeed && s.last && s.pageNum);
    EXPECT_FALSE(s.prev || s.prevSpeed || s.first);

    form->LastPageSpeed->click();
    EXPECT_EQ(form->CurrentPage, 2);
    EXPECT_EQ(form->CurPageLabel->text(), "Page 3 of 3");
    s = Nav(*form);
    EXPECT_FALSE(s.next || s.nextSpeed || s.last);
    EXPECT_TRUE(s.prev && s.prevSpeed && s.first && s.pageNum);

    form->PrevPageBut->click();
    EXPECT_EQ(form->CurrentPage, 1);

    // The go-to-page dialog takes the page number.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TGoPageForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->PageNum->value(), 2);
        EXPECT_EQ(dialog->PageNum->maximum(), 3);
        dialog->PageNum->setValue(1);
        dialog->accept();
    });
    form->PageNumSpeed->click();
    EXPECT_EQ(form->CurrentPage, 0);
}

TEST(PreviewForm, OnePageDisablesEveryNavigationControl)
{
    TPreviewPrinter printer;
    Paginate(printer, 3);
    std::unique_ptr<TPreviewForm> form(printer.CreatePreviewForm());
    form->show();
    const NavState s = Nav(*form);
    EXPECT_FALSE(s.next || s.nextSpeed || s.last || s.prev || s.prevSpeed || s.first || s.pageNum);
}

TEST(PreviewForm, ZoomChoicesAndTheZoomTool)
{
    TPreviewPrinter printer;
    printer.ZoomOption = zoTwoPages;
    Paginate(printer, 150);
    std::unique_ptr<TPreviewForm> form(printer.CreatePreviewForm());
    form->showNormal();
    form->resize(800, 600);
    QApplication::processEvents();
    EXPECT_TRUE(form->TwoPageBut->isChecked());
    EXPECT_TRUE(form->PagePanel2->isVisible());

    form->ZoomBox->setCurrentText("400%");
    EXPECT_FALSE(form->TwoPageBut->isChecked());
    EXPECT_TRUE(form->OnePageBut->isChecked());
    EXPECT_FALSE(form->PagePanel2->isVisible());
    EXPECT_FALSE(form->FitPageBut->isChecked());

    form->ZoomBox->setCurrentText("100%");
    EXPECT_EQ(form->ZoomLabel->text(), "100%");
    const QPoint centre(form->PB1->width() / 2, form->PB1->height() / 2);
    QTest::mouseClick(form->PB1, Qt::LeftButton, {}, centre);
    EXPECT_DOUBLE_EQ(form->Zoom, 1.5);
    EXPECT_EQ(form->ZoomLabel->text(), "150%");
    EXPECT_EQ(form->ZoomBox->currentText(), "Custom");
    // The clicked point stays near the middle of the view.
    const QPoint shown
        = form->PB1->mapTo(form->ScrollBox1->viewport(), QPoint(form->PB1->width() / 2, form->PB1->height() / 2));
    EXPECT_NEAR(shown.x(), form->ScrollBox1->viewport()->width() / 2, 30);
    EXPECT_NEAR(shown.y(), form->ScrollBox1->viewport()->height() / 2, 30);

    QTest::mouseClick(form->PB1, Qt::RightButton, {}, centre);
    EXPECT_DOUBLE_EQ(form->Zoom, 1.0);

    // Zoom is held within bounds however often the tool is used.
    for (int i = 0; i < 30; ++i)
        form->ZoomAt(form->PB1, centre, true, false);
    EXPECT_LE(form->Zoom, 10.0);
}

TEST(PreviewForm, TwoPageViewOnTheLastPageLeavesTheSecondBoxEmpty)
{
    TPreviewPrinter printer;
    Paginate(printer, 100);
    ASSERT_EQ(printer.PageCount(), 2);
    std::unique_ptr<TPreviewForm> form(printer.CreatePreviewForm());
    form->show();
    form->TwoPageBut->click();
    form->LastPageSpeed->click();
    const QImage box = form->PB2->grab().toImage();
    bool allWhite = true;
    for (int y = 0; y < box.height() && allWhite; y += 3)
        for (int x = 0; x < box.width(); x += 3)
            if (box.pixelColor(x, y) != Qt::white) {
                allWhite = false;
                break;
            }
    EXPECT_TRUE(allWhite);
}

TEST(FormSettings, PositionAndStateAreKept)
{
    QDialog window;
    window.setObjectName("KeptWindow");
    TFormSettings settings(&window);
    window.setGeometry(100, 120, 300, 200);
    settings.SaveSettings();
    window.setGeometry(10, 10, 100, 100);
    window.showMaximized();
    settings.SaveSettings(); // a maximised window keeps the bounds it had while normal

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(settings.KeyName() + "\\Position", false));
    EXPECT_EQ(reg.ReadString("WindowState"), QString("MAXIMIZED"));
    EXPECT_EQ(reg.ReadString("Width"), QString("300"));
    reg.WriteString("WindowState", "maximized");
    reg.CloseKey();

    QDialog other;
    other.setObjectName("KeptWindow");
    TFormSettings loader(&other);
    loader.LoadSettings();
    EXPECT_TRUE(other.windowState() & Qt::WindowMaximized);

    reg.OpenKey(settings.KeyName() + "\\Position", false);
    reg.WriteString("WindowState", "sideways");
    reg.WriteString("Width", "wide");
    reg.CloseKey();
    QDialog third;
    third.setObjectName("KeptWindow");
    third.resize(222, 111);
    TFormSettings(&third).LoadSettings();
    EXPECT_FALSE(third.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(third.width(), 222);
}

TEST(PageSetupForm, LoadsSavedDefaultsIntoThePrinter)
{
    TPreviewPrinter printer;
    printer.TextOptions.MarginLeft = 1.23456;
    {
        // No saved values: the printer keeps its options, margins rounded to 3 decimals.
        TPageSetupForm form(&printer);
        form.LoadDefaults();
    }
    EXPECT_DOUBLE_EQ(printer.TextOptions.MarginLeft, 1.235);
    EXPECT_EQ(printer.TextOptions.PageNumText, "Page %d");
    EXPECT_EQ(printer.Units(), unInches);

    TPageSetupForm saver(&printer);
    const QString values = saver.FormSettings1->KeyName() + "\\Values";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(values, true));
    reg.WriteString("CentBut", "1");
    reg.WriteString("LeftEdit", "2.5");
    reg.WriteString("TopEdit", "not a number");
    // Two buttons of a group stored as checked: the later one wins.
    reg.WriteString("PageBotBut", "1");
    reg.WriteString("PageTopBut", "1");
    reg.WriteString("PageNumEdit", "- %d -");
    reg.WriteString("HeaderFontDialog_Size", "12");
    reg.WriteString("HeaderFontDialog_Bold", "0");
    reg.CloseKey();

    const double top = printer.TextOptions.MarginTop;
    printer.Loaded();
    EXPECT_EQ(printer.Units(), unCentimeters);
    EXPECT_DOUBLE_EQ(printer.TextOptions.MarginLeft, 2.5);
    EXPECT_DOUBLE_EQ(printer.TextOptions.MarginTop, top);
    EXPECT_EQ(printer.TextOptions.PrintPageNumber, pnTop);
    EXPECT_EQ(printer.TextOptions.PageNumText, "- %d -");
    EXPECT_EQ(printer.TextOptions.HeaderFont.pointSize(), 12);
    EXPECT_FALSE(printer.TextOptions.HeaderFont.bold());
}

TEST(PageSetupForm, SetDefaultSavesOnlyAfterYes)
{
    TPreviewPrinter printer;
    TPageSetupForm form(&printer);
    form.OptionsToControls();
    form.HeaderEdit->setText("Saved header");
    test::DialogScript::Instance().AnswerMessage(mrNo);
    form.SetDefaultClick();
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(form.FormSettings1->KeyName() + "\\Values", false));
    test::DialogScript::Instance().AnswerMessage(mrYes);
    form.SetDefaultClick();
    printer.Loaded();
    EXPECT_EQ(printer.TextOptions.Header, "Saved header");
    EXPECT_FALSE(form.FormSettings1->SaveValues);
}

// The full report of the end-gauge model in the preview: several A4 pages, the first one
// shown. With ORVEK_SHOTS set the window is saved as a picture to look at.
TEST(PreviewForm, FullReportOfAWorkedExample)
{
    test::ResetReportSettings();
    auto model = test::LoadReportModel("gum_h1_end_gauge.txt");
    model->Calculate();
    ReportSections = 31;
    TRichEdit98 edit;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, edit.document(), FullReportText(*model));
    TPreviewPrinter printer;
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    EXPECT_GE(printer.PageCount(), 3);
    std::unique_ptr<TPreviewForm> form(printer.CreatePreviewForm());
    form->resize(900, 1000);
    form->show();
    EXPECT_TRUE(form->CurPageLabel->text().startsWith("Page 1 of"));
    const QString shots = qEnvironmentVariable("ORVEK_SHOTS");
    if (!shots.isEmpty())
        form->grab().save(shots + "/preview-full-report.png");
}
