#pragma once
// Models for the report tests: the end-gauge example evaluated, and cells built with
// their result texts filled in directly.

#include "../support/test_env.h"
#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/model_file.h"
#include "richtext/markup_render.h"

#include <QTextDocument>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace orvek::test {

inline std::unique_ptr<TCell> LoadReportModel(const char* name)
{
    auto root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QString error;
    EXPECT_TRUE(LoadModelFile(*root, QStringLiteral(ORVEK_TEST_DATA_DIR "/models/") + name, &error))
        << error.toStdString();
    return root;
}

inline TCell* AddCell(TCell& parent, quint8 type, const QString& symbol, const QString& name = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = type;
    info.Symbol = symbol;
    info.CellName = name;
    info.Active = 1;
    TCell* cell = parent.AddChild(info);
    cell->FActive = true;
    return cell;
}

inline std::unique_ptr<TCell> NewRoot(quint8 type, const QString& symbol)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = type;
    info.Symbol = symbol;
    auto root = std::make_unique<TCell>(nullptr, info, 0, 0, nullptr);
    root->FActive = true;
    return root;
}

// The text a reader sees: the mark-up rendered as the report window renders it.
inline QString RenderedText(const QString& markup)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, &doc, markup);
    return doc.toPlainText();
}

// A model "y" over Inputs quantities, every one with Sources type-B sources; not yet
// evaluated. Equations hold at most ten terms: more inputs are shared out over ten
// equations below, and so on down.
inline std::unique_ptr<TCell> GeneratedModel(int inputs, int sources)
{
    int counter = 0;
    const auto equation = [](const QString& symbol) {
        TPrenosInfoDoNovejBunky info;
        info.CellType = kEquationCell;
        info.CellName = info.Symbol = symbol;
        info.Coverage = 1;
        return info;
    };
    const std::function<void(TCell&, int)> fill = [&](TCell& parent, int count) {
        QStringList terms;
        if (count <= 10) {
            for (int i = 0; i < count; ++i, ++counter) {
                TPrenosInfoDoNovejBunky q;
                q.CellType = kQuantityCell;
                q.CellName = q.Symbol = QString("x%1").arg(counter);
                q.Value = QString::number(1.0 + (counter % 17) * 0.37, 'g', 10);
                TCell* quantity = parent.AddChild(q);
                terms << q.Symbol;
                for (int s = 0; s < sources; ++s) {
                    TPrenosInfoDoNovejBunky source;
                    source.CellType = kUncertaintyCell;
                    source.Active = 1;
                    source.UncertaintyInput.TSN = 3;
                    source.UncertaintyInput.SO_2_3.Text = s % 2 ? "0.02" : "0.01";
                    source.UncertaintyInput.PSV_2_3.Text = s % 2 ? "Nekonecno" : "20";
                    source.UncertaintyInput.HSN = source.UncertaintyInput.SO_2_3.Text;
                    quantity->AddChild(source);
                }
            }
        } else {
            for (int g = 0; g < 10; ++g) {
                TCell* sub = parent.AddChild(equation(QString("z%1").arg(counter++)));
                fill(*sub, count / 10 + (g < count % 10 ? 1 : 0));
                terms << sub->FSymbol.Text;
            }
        }
        parent.FEquation = parent.FNormalizedEquation = parent.FSymbol.Text + "=" + terms.join('+');
    };
    auto root = std::make_unique<TCell>(nullptr, equation("y"), 0, 0, nullptr);
    fill(*root, inputs);
    return root;
}

inline void ResetReportSettings()
{
    AppDir = TestProgramFolder();
    LanguageID = 0;
    SignificantDigits = 2;
    ReportFontSize = 10;
    ReportSections = 27;
    UpdateHeadingMarkup();
    SensitivityPassEnabled = true;
}

} // namespace orvek::test

#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <vector>

namespace orvek::test {

using RenderedTable = std::vector<QStringList>;

// The tables of the rendered mark-up in document order, each as rows of cell texts.
inline std::vector<RenderedTable> RenderedTables(const QString& markup)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, &doc, markup);
    std::vector<RenderedTable> tables;
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        RenderedTable rows;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList row;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                row << cursor.selectedText().trimmed();
            }
            rows.push_back(row);
        }
        tables.push_back(rows);
    }
    return tables;
}

// The first table whose header row starts with Header.
inline const RenderedTable* FindTable(const std::vector<RenderedTable>& tables, const QString& header)
{
    for (const RenderedTable& t : tables)
        if (!t.empty() && !t[0].isEmpty() && t[0][0] == header)
            return &t;
    return nullptr;
}

} // namespace orvek::test
