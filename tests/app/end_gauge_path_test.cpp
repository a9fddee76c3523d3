// The calibration of an end gauge (the GUM's example H.1) typed by hand into a new
// database through the program's own windows: the template from its equation, the nine
// sources with their methods in the source dialog, a record, the values in the summary
// of quantities, the evaluation, save, exit, restart, and the reports. The published
// result at 99 % is y = 50.000838 mm, u = 32 nm, nu = 16, k = 2.92, U = 93 nm.

#include "core/common_vars.h"
#include "database/data_module.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "platform/rtf_reader.h"
#include "richtext/ui/preview_form.h"
#include "sources/ui/source_dialog.h"
#include "tests/app/first_hour_steps.h"
#include "tests/app/program_fixture.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::HandOverAsRecord;
using orvek::test::NewTemplateFromEquation;
using orvek::test::ProgramTest;
using orvek::test::TypeQuantityValues;
using orvek::test::WhenShown;

namespace {

// Items of the source dialog's lists.
constexpr int kGivenDistribution = 0; // method: a given value and its distribution
constexpr int kQualifiedEstimate = 8; // method: the standard uncertainty estimated
constexpr int kRectangular = 0, kStandardT = 2, kExpandedNormal = 3, kUShaped = 4;
constexpr int kConfidence9973 = 5;
constexpr int kDofGiven = 0;

// One source of the example as a metrologist types it. Dof empty: infinite.
struct SourceCase {
    const char* quantity;
    const char* name;
    int method;
    int distribution;
    const char* value;
    const char* dof;
};

const SourceCase kSources[] = {
    { "ls", "Calibration of the standard", kGivenDistribution, kExpandedNormal, "0.000075", "18" },
    { "d", "Repeated observations", kGivenDistribution, kStandardT, "0.0000058", "24" },
    { "d", "Random effects of the comparator", kGivenDistribution, kStandardT, "0.0000039", "5" },
    { "d", "Systematic effects of the comparator", kGivenDistribution, kStandardT, "0.0000067", "8" },
    { "alfas", "Certificate limits", kGivenDistribution, kRectangular, "0.000002", "" },
    { "theta", "Mean temperature", kGivenDistribution, kStandardT, "0.2", "" },
    { "theta", "Cyclic variation", kGivenDistribution, kUShaped, "0.5", "" },
    { "dalfa", "Estimated limits", kQualifiedEstimate, 0, "0.000000577350269189626", "50" },
    { "dtheta", "Estimated limits", kQualifiedEstimate, 0, "0.0288675134594813", "2" },
};

void TypeInto(QLineEdit* edit, const QString& text)
{
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->isEnabled()) << edit->objectName().toStdString();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// The source dialog of a new source filled as Case says, then OK.
void FillSourceDialog(TfOrvek6& d, const SourceCase& c)
{
    TypeInto(d.Edit_NazovBunky, c.name);
    d.ComboBox_VstupStandardnejNeistoty->setCurrentIndex(c.method);
    if (c.method == kQualifiedEstimate) {
        TypeInto(d.Page1.Edit_KvalifikovanyOdhad, c.value);
        d.Page1.ComboBox_Rozdelenie_1->setCurrentIndex(kRectangular);
        TypeInto(d.Page1.Edit_PocetStupnovVolnosti_1, c.dof);
    } else {
        d.Page2.ComboBox_Rozdelenie->setCurrentIndex(c.distribution);
        switch (c.distribution) {
        case kRectangular:
            TypeInto(d.Page2.Edit_IntervalSpolahlivosti_2_1, c.value);
            break;
        case kUShaped:
            TypeInto(d.Page2.Edit_IntervalSpolahlivosti_2_5, c.value);
            break;
        case kStandardT:
            TypeInto(d.Page2.Edit_StandardnaNeistota_2_3, c.value);
            d.Page2.ComboBox_Moznosti_2_3->setCurrentIndex(kDofGiven);
            TypeInto(d.Page2.Edit_PocetStupnovVolnosti_2_3, *c.dof ? QString(c.dof) : QStringLiteral("Nekonecno"));
            break;
        case kExpandedNormal:
            TypeInto(d.Page2.Edit_RozsirenaNeistota_2_4, c.value);
            d.Page2.ComboBox_KonfidencnaPravdepodobnost->setCurrentIndex(kConfidence9973);
            d.Page2.ComboBox_Moznosti_2_4->setCurrentIndex(kDofGiven);
            TypeInto(d.Page2.Edit_PocetStupnovVolnosti_2_4, c.dof);
            break;
        default:
            FAIL() << "no such case";
        }
    }
    // The result is computed, then taken.
    if (d.Button_Recalculate->isEnabled())
        d.Button_Recalculate->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Button_OK->isEnabled(); }, 2000)) << c.name;
    d.Button_OK->click();
}

TCell* QuantityOf(TCell& root, const QString& symbol)
{
    for (int i = 0; i < root.ChildCount(); ++i)
        if (root.Child(i)->FSymbol.Text == symbol)
            return root.Child(i);
    return nullptr;
}

// In the template window: every source of the example typed into the source dialog.
// The source a new quantity comes with is opened with a double click on its box; the
// others are added with the window's "new source" command and a click on the
// quantity's box.
void AddTheNineSources(TfOrvekDB& window)
{
    TDiagramView* view = window.findChild<TDiagramView*>();
    ASSERT_NE(view, nullptr);
    for (const SourceCase& c : kSources) {
        TCell* quantity = QuantityOf(*window.Document().RootCell, c.quantity);
        ASSERT_NE(quantity, nullptr) << c.quantity;
        TCell* source = nullptr;
        for (int i = 0; i < quantity->ChildCount() && !source; ++i)
            if (quantity->Child(i)->FCombinedUncertainty.isEmpty())
                source = quantity->Child(i);
        WhenShown<TfOrvek6>([c](TfOrvek6& d) {
            FillSourceDialog(d, c);
            if (d.isVisible()) // a step failed: the test goes on without a dialog left open
                d.reject();
        });
        if (source) {
            TCellBoxWidget* box = view->BoxOf(source);
            ASSERT_NE(box, nullptr) << c.name;
            QTest::mouseDClick(box, Qt::LeftButton, {}, box->rect().center());
        } else {
            const int before = quantity->ChildCount();
            TCellBoxWidget* box = view->BoxOf(quantity);
            ASSERT_NE(box, nullptr) << c.quantity;
            window.ActionNeistotaNova->trigger();
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
            ASSERT_EQ(quantity->ChildCount(), before + 1) << c.name;
            source = quantity->Child(before);
        }
        EXPECT_EQ(source->FCellName.Text, c.name);
        EXPECT_FALSE(source->FCombinedUncertainty.isEmpty()) << c.name;
    }
}

QString RtfText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QTextDocument document;
    return ReadRtfDocument(file.readAll(), &document) ? document.toPlainText() : QString();
}

QString PdfText(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", { pdf, "-" });
    return p.waitForFinished(30000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

class EndGaugePath : public ProgramTest {
protected:
    TCell* Root() { return Main().Document().RootCell; }
    void WaitUntilStored()
    {
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().Document().FModified && !CellTreeChanged; }, 5000));
    }
    // The published figures of the result as the program shows them, in mm.
    static void ExpectPublishedResult(const QString& text)
    {
        for (const char* figure : { "50.000838", "0.000032", "2.92", "0.000093" })
            EXPECT_TRUE(text.contains(figure)) << figure << " not in:\n" << text.left(3000).toStdString();
    }
    QTemporaryDir folder;
};

TEST_F(EndGaugePath, FromTheEquationToThePrintedReportThroughARestart)
{
    ASSERT_TRUE(folder.isValid());
    StartAsAdministrator();
    WhenShown<TfOrvekDB>([](TfOrvekDB& window) {
        // The coverage list's third item is 99 %.
        NewTemplateFromEquation(window, "l", "ls + d - ls*(dalfa*theta + alfas*dtheta)", 2);
        AddTheNineSources(window);
        HandOverAsRecord(window, "End gauge H.1");
    });
    TypeQuantityValues({ { "ls", "50.000623" }, { "d", "0.000215" }, { "alfas", "1.15e-5" }, { "theta", "-0.1" },
        { "dalfa", "0" }, { "dtheta", "0" } });
    Action("ActionNewRecFromTemplateTree")->trigger();
    ASSERT_NE(Root(), nullptr);
    ASSERT_EQ(Root()->ChildCount(), 6);
    const int recordId = CurrentRecordID;
    ASSERT_GT(recordId, 0);
    WaitUntilStored();

    // The evaluation gives the published result.
    EXPECT_EQ(Root()->FValue.Text, "50.000838");
    EXPECT_EQ(Root()->FCoverageFactor.Text, "2.92");
    EXPECT_TRUE(Root()->FDegreesOfFreedom.startsWith("16")) << Root()->FDegreesOfFreedom.toStdString();

    // Exit with Yes to ending and to saving, then start again.
    Main().Document().FModified = true;
    DialogScript::Instance().AnswerMessage(mrYes);
    DialogScript::Instance().AnswerMessage(mrYes);
    EXPECT_TRUE(Main().close());
    Stop();
    Start();
    AnswerLogin("admin", "heslo1");
    ShowAndWaitForLogin();
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Root() && CurrentRecordID == recordId; }, 5000));
    ASSERT_EQ(Root()->ChildCount(), 6);
    EXPECT_EQ(QuantityOf(*Root(), "ls")->FValue.Text, "50.000623");
    EXPECT_EQ(QuantityOf(*Root(), "d")->ChildCount(), 3);
    EXPECT_EQ(Root()->FValue.Text, "50.000838");

    // The short report saved, the full report copied: both carry the published figures.
    const QString shortFile = folder.filePath("short.rtf");
    DialogScript::Instance().AnswerSaveFile(shortFile);
    Action("ActionShortReportSaveToFile")->trigger();
    ExpectPublishedResult(RtfText(shortFile));
    Action("ActionCopyFullReport")->trigger();
    const QString copied = QGuiApplication::clipboard()->mimeData()->text();
    ExpectPublishedResult(copied);
    EXPECT_TRUE(copied.contains('\t'));

    // The preview shows without the wait window over it.
    bool waitShownOverPreview = true;
    WhenShown<TPreviewForm>([&](TPreviewForm& preview) {
        const QWidget* wait = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "fWait")
                wait = w;
        waitShownOverPreview = wait && wait->isVisible();
        preview.close();
    });
    Action("ActionReportPrintPreview")->trigger();
    EXPECT_FALSE(waitShownOverPreview);
    Main().activateWindow();

    // Printed to a PDF file through the print dialog.
    const QString pdf = folder.filePath("full.pdf");
    DialogScript::Instance().AnswerPrint(0, 0, 1, pdf);
    Action("ActionReportPrint")->trigger();
    ASSERT_GT(QFileInfo(pdf).size(), 0);
    ExpectPublishedResult(PdfText(pdf));
}

} // namespace
