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
