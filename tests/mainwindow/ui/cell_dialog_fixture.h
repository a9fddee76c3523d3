#pragma once
// The program's cell tool with the real cell dialogs in its slots, on a small model:
// y = a*b with a from a group of two sources and b a value. Tests open a cell as the
// user does and drive the dialog that comes up.

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "mainwindow/cell_tool_rules.h"
#include "mainwindow/ui/cell_tool_provider.h"
#include "mainwindow/ui/equation_cell_dialog.h"
#include "mainwindow/ui/quantity_cell_dialog.h"
#include "mainwindow/ui/uncertainty_cell_dialog.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>
#include <memory>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace orvek::test {

class CellDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = TestProgramFolder();
        LanguageID = 0;
        SignificantDigits = 2;
        SetDefaultDiagramSettings();
        ScaleLayoutToZoom();
        ClearCellCommands();
        EditMode = 2;
        provider.Dialogs().MakeEquationDialog = [] { return std::make_unique<TfOrvek5>(); };
        provider.Dialogs().MakeQuantityDialog = [] { return std::make_unique<TfOrvek9>(); };
        provider.Dialogs().MakeUncertaintyCellDialog = [] { return std::make_unique<TfOrvek11>(); };

        root = std::make_unique<TCell>(nullptr, Info(kEquationCell, "Result", "y"), 20, 20, nullptr);
        root->FEquation = "y = a*b";
        root->FNormalizedEquation = "y=a*b";
        a = root->AddChild(Info(kQuantityCell, "Length", "a"));
        a->FValue.Text = "2";
        group = a->AddChild(Info(kUncertaintyCell, "Group"));
        s1 = group->AddChild(Info(kUncertaintyCell, "Scale"));
        Rectangular(*s1, "0.3");
        s2 = group->AddChild(Info(kUncertaintyCell, "Drift"));
        Rectangular(*s2, "0.4");
        Rectangular(*a->AddChild(Info(kUncertaintyCell, "Reading")), "0.1");
        b = root->AddChild(Info(kQuantityCell, "Width", "b"));
        b->FValueType = 1;
        b->FValue.Text = "3";
        EvaluateTree(*root);
    }
    void TearDown() override
    {
        root.reset();
        ClearCellCommands();
        EditMode = 0;
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
    }

    // A source with stated limits of a rectangular distribution and its u.
    static void Rectangular(TCell& source, const QString& u)
    {
        source.FUncertaintyInput.TSN = 1;
        source.FUncertaintyInput.IS_2_1.Text = u;
        source.FUncertaintyInput.HSN = u;
        source.FCombinedUncertainty = u;
    }
    static TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name, const QString& symbol = {})
    {
        TPrenosInfoDoNovejBunky info;
        info.CellType = kind;
        info.CellName = name;
        info.Symbol = symbol;
        info.Active = 1;
        return info;
    }

    CellToolProvider provider;
    std::unique_ptr<TCell> root;
    TCell* a = nullptr;
    TCell* group = nullptr;
    TCell* s1 = nullptr;
    TCell* s2 = nullptr;
    TCell* b = nullptr;
};

} // namespace orvek::test
