// The two checks of the inputs before u is computed, and the counting of valid
// readings. The page is copied into a snapshot, checked by the logic of
// sources/source_checks, and the messages are shown in order, each putting the focus on
// the control it names; cells a check moved are written back into the page.

#include "sources/ui/source_dialog.h"

#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/f1_book.h"
#include "sources/chart_data.h"
#include "sources/source_checks.h"
#include "sources/source_record.h"
#include "sources/ui/reading_grid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace orvek {

namespace {

constexpr int kPairUncertaintyHeadingText = 1134;

QString Caption(const QLabel* label)
{
    return label ? WithoutAccessKey(label->text()) : QString();
}

// A grid's heading on one line, as a message names it.
QString Heading(const QTableWidget& grid, int col)
{
    const QTableWidgetItem* item = grid.item(0, col);
    return item ? item->text().replace(QLatin1Char('\n'), QLatin1Char(' ')) : QString();
}

QString MessageText(const TCheckMessage& m)
{
    switch (m.Args.size()) {
    case 0:
        return GetString(m.Text);
    case 1:
        return GetString(m.Text, { m.Args[0] });
    default:
        return GetString(m.Text, { m.Args[0], m.Args[1] });
    }
}

int CountColumn(const QTableWidget& grid)
{
    return CountValidReadings(GridColumn(grid, 1, grid.rowCount() - 1));
}

} // namespace

// The controls of the active page that the checks read and may focus.
struct TfOrvek6::CheckedControls {
    QLineEdit *main = nullptr, *dof = nullptr, *shape = nullptr, *halfWidth = nullptr, *sigma = nullptr;
    QTableWidget* grid = nullptr;
    TF1Book* points = nullptr;
    QTabWidget* pointPages = nullptr;
    QWidget* pointSheet = nullptr;
};

TfOrvek6::CheckedControls TfOrvek6::PageSnapshot(TSourcePageSnapshot& s) const
{
    CheckedControls c;
    s = TSourcePageSnapshot();
    s.Method = FInput.TSN;
    s.MethodText = ComboBox_VstupStandardnejNeistoty->currentText();
    auto edit = [](QLineEdit* e, QLabel* label, QString& text, QString& caption) {
        text = e->text();
        caption = Caption(label);
        return e;
    };
    switch (FInput.TSN) {
    case 0:
        c.main = edit(Page1.Edit_KvalifikovanyOdhad, Page1.Label12, s.MainInput, s.MainLabel);
        break;
    case 1:
        c.main = edit(Page2.Edit_IntervalSpolahlivosti_2_1, Page2.Label2, s.MainInput, s.MainLabel);
        break;
    case 2:
        c.main = edit(Page2.Edit_IntervalSpolahlivosti_2_2, Page2.Label5, s.MainInput, s.MainLabel);
        break;
    case 3:
        c.main = edit(Page2.Edit_StandardnaNeistota_2_3, Page2.Label11, s.MainInput, s.MainLabel);
        c.dof = edit(Page2.Edit_PocetStupnovVolnosti_2_3, Page2.Label30, s.DegreesOfFreedom, s.DofLabel);
        s.DofOption = Page2.ComboBox_Moznosti_2_3->currentIndex();
        break;
    case 4:
        c.main = edit(Page2.Edit_RozsirenaNeistota_2_4, Page2.Label9, s.MainInput, s.MainLabel);
        c.dof = edit(Page2.Edit_PocetStupnovVolnosti_2_4, Page2.Label18, s.DegreesOfFreedom, s.DofLabel);
        s.DofOption = Page2.ComboBox_Moznosti_2_4->currentIndex();
        break;
    case 5:
        c.main = edit(Page2.Edit_IntervalSpolahlivosti_2_5, Page2.Label37, s.MainInput, s.MainLabel);
        break;
    case 10:
        c.shape = edit(Page2.Edit_TvarovyFaktor, Page2.Label22, s.ShapeFactor, s.ShapeLabel);
        c.halfWidth = edit(Page2.Edit_PolosirkaDistribucie, Page2.Label23, s.HalfWidth, s.HalfWidthLabel);
        s.ShapeRangeLabel = s.ShapeLabel;
        break;
    case 8:
        c.main = edit(Page5.Edit_StandardnaOdchylka_5, Page5.Label35, s.MainInput, s.MainLabel);
        c.dof = edit(Page5.Edit_PocetStupnovVolnosti_5, Page5.Label36, s.DegreesOfFreedom, s.DofLabel);
        break;
    case 6:
        c.grid = Page3.StringGrid_VlastneMeranie_3;
        break;
    case 7:
        c.grid = Page4.StringGrid_VlastneMeranie_4;
        c.sigma = edit(Page4.Edit_StandardnaOdchylkaPopulacie, Page4.Label7, s.Sigma, s.SigmaLabel);
        c.dof = edit(Page4.Edit_PocetstupnovVolnosti_4, Page4.Label28, s.DegreesOfFreedom, s.DofLabel);
        break;
    case 9:
        c.grid = Page6.StringGrid_VlastneMeranie_6;
        break;
    case 13:
        c.grid = Page9.StringGrid_VlastneMeranie_9;
        break;
    case 14:
        c.grid = Page10.StringGrid_VlastneMeranie_10;
        s.Column2 = GridColumn(*c.grid, 2, MaxSourceReadings);
        s.Column2Header = GetString(kPairUncertaintyHeadingText, { QStringLiteral(" ") });
        break;
    case 11:
    case 12: {
        const bool individuals = FInput.TSN == 11;
        c.points = individuals ? Page7.Table_7 : Page8.Table_8;
        c.pointPages = individuals ? Page7.PageControl_7 : Page8.PageControl_8;
        c.pointSheet = individuals ? Page7.TabSheet_7_1 : Page8.TabSheet_8_1;
        s.ChartPoints = ChartData.ChartPointCount;
        // Rows up to the last one holding anything; each row from its date column on.
        int last = 0;
        for (int row = 1; row <= c.points->MaxRow(); ++row)
            for (int col = 1; col <= c.points->MaxCol(); ++col)
                if (!c.points->TextRC(row, col).trimmed().isEmpty()) {
                    last = row;
                    break;
                }
        for (int row = 1; row <= last; ++row) {
            QStringList cells;
            for (int col = 1; col <= c.points->MaxCol(); ++col)
                cells << c.points->TextRC(row, col);
            s.PointRows << cells;
        }
        break;
    }
    default:
        break;
    }
    if (c.grid) {
        s.Column1 = GridColumn(*c.grid, 1, MaxSourceReadings);
        s.ColumnHeader = Heading(*c.grid, 1);
    }
    return c;
}

bool TfOrvek6::ApplyCheckResult(
    const TSourcePageSnapshot& s, const CheckedControls& c, const TCheckResult& result, bool showMessages)
{
    // Edits keep their trimmed texts.
    for (auto [e, text] : { std::pair { c.main, &s.MainInput }, std::pair { c.dof, &s.DegreesOfFreedom },
             std::pair { c.shape, &s.ShapeFactor }, std::pair { c.halfWidth, &s.HalfWidth },
             std::pair { c.sigma, &s.Sigma } })
        if (e && e->text() != *text && e->text().trimmed() == *text)
            e->setText(*text);
    // Point rows closed up.
    if (c.points)
        for (int row = 1; row <= s.PointRows.size(); ++row)
            for (int col = 1; col <= s.PointRows[row - 1].size(); ++col) {
                const QString& text = s.PointRows[row - 1][col - 1];
                if (c.points->TextRC(row, col) != text)
                    c.points->SetTextRC(row, col, text);
            }
    if (!showMessages)
        return result.Passed;
    for (const TCheckMessage& m : result.Messages) {
        if (m.Focus == TCheckFocus::PointGrid && c.pointPages)
            c.pointPages->setCurrentWidget(c.pointSheet);
        MessageDlg(MessageText(m), TMsgDlgType::mtError, mbRetry);
        QWidget* focus = nullptr;
        switch (m.Focus) {
        case TCheckFocus::MainInput:
            focus = c.main;
            break;
        case TCheckFocus::DegreesOfFreedom:
            focus = c.dof;
            break;
        case TCheckFocus::ShapeFactor:
            focus = c.shape;
            break;
        case TCheckFocus::HalfWidth:
            focus = c.halfWidth;
            break;
        case TCheckFocus::Sigma:
            focus = c.sigma;
            break;
        case TCheckFocus::Grid:
            focus = c.grid;
            if (c.grid && m.Row > 0)
                c.grid->setCurrentCell(m.Row, m.Col);
            break;
        case TCheckFocus::PointGrid:
            focus = c.points;
            if (c.points && m.Row > 0)
                c.points->SetActiveCell(m.Row, m.Col);
            break;
        case TCheckFocus::None:
            break;
        }
        if (focus)
            focus->setFocus();
    }
    return result.Passed;
}

bool TfOrvek6::CheckRequiredInputs(bool ShowMessages)
{
    FHandsMean = false;
    // A chart page counts the points its table holds now.
    ReadChartTableForCheck();
    TSourcePageSnapshot s;
    const CheckedControls c = PageSnapshot(s);
    const TCheckResult result = orvek::CheckRequiredInputs(s);
    if (!ApplyCheckResult(s, c, result, ShowMessages))
        return false;
    // A series page that passes hands on the mean it shows.
    QLineEdit* mean = FInput.TSN == 6 ? Page3.Edit_AritmetickyPriemer_3
        : FInput.TSN == 7             ? Page4.Edit_AritmetickyPriemer_4
                                      : nullptr;
    if (mean && !mean->text().isEmpty()) {
        FHandsMean = true;
        FMeanText = mean->text();
    }
    return true;
}

bool TfOrvek6::CheckInputValues()
{
    TSourcePageSnapshot s;
    const CheckedControls c = PageSnapshot(s);
    quint8 kind = FInputKind;
    const TCheckResult result = orvek::CheckInputValues(s, kind);
    FInputKind = kind;
    return ApplyCheckResult(s, c, result, true);
}

int TfOrvek6::CountReadings3() const
{
    return CountColumn(*Page3.StringGrid_VlastneMeranie_3);
}

int TfOrvek6::CountReadings4() const
{
    return CountColumn(*Page4.StringGrid_VlastneMeranie_4);
}

int TfOrvek6::CountReadings6() const
{
    return CountColumn(*Page6.StringGrid_VlastneMeranie_6);
}

int TfOrvek6::CountReadings9() const
{
    return CountColumn(*Page9.StringGrid_VlastneMeranie_9);
}

int TfOrvek6::CountReadings10() const
{
    return CountColumn(*Page10.StringGrid_VlastneMeranie_10);
}

} // namespace orvek
