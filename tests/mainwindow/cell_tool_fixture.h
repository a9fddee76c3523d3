#pragma once
// A model in memory, the cell tool on scripted dialogs, a scripted record and a main
// window double, with the real string table in English.

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "mainwindow/cell_tool_rules.h"
#include "mainwindow/cell_tools.h"
#include "richtext/cell_description.h"
#include "tests/support/cell_tool_doubles.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>
#include <memory>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace orvek::test {

inline TCell* AddCell(TCell& parent, quint8 kind, const QString& name, const QString& symbol = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Symbol = symbol;
    info.Active = 1;
    return parent.AddChild(info);
}

// A method-6 record of two readings with its stored results.
inline TVstupStandardnejNeistoty SeriesRecord(int method = 6, const QString& mean = "10.2")
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = quint8(method);
    rec.HSN = "0.1";
    rec.PM_3 = rec.PM_4 = rec.PM_9 = rec.PM_10 = 2;
    rec.AP_3 = rec.AP_4 = rec.AP_9 = rec.AP_10 = mean;
    rec.SOPr_3 = rec.SOPr_4 = rec.SO_9 = rec.SO_10 = "0.1";
    rec.VM_3.Text = rec.VM_4.Text = "10.1@10.3@";
    rec.PSV_3 = "1";
    return rec;
}

inline TVstupStandardnejNeistoty RectangularRecord(const QString& limit, const QString& u)
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = 1;
    rec.IS_2_1.Text = limit;
    rec.HSN = u;
    return rec;
}

class CellToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = TestProgramFolder();
        LanguageID = 0;
        SignificantDigits = 2;
        SetDefaultDiagramSettings();
        ScaleLayoutToZoom();
        ClearCellCommands();
        EvaluateTreeHook = nullptr;
        CellTreeChanged = false;
        CellIdCounter = 0;
        EditMode = 1;
        DescribeSubtree = true;
        HistoryOriginalValues.clear();
        HistoryNewValues.clear();
        DiagramLockOwnerID = 0;
        MainCellToolWindow = &mainWindow;
        TemplateCellToolWindow = nullptr;
        record.names.insert(7, "Eva Nová");

        // y = a*b; a from two sources (ua1 active rectangular, ua2 inactive), b a value.
        root = std::make_unique<TCell>(nullptr, Info(kEquationCell, "Result", "y"), 20, 20, nullptr);
        root->FEquation = "y = a*b";
        root->FNormalizedEquation = "y=a*b";
        a = AddCell(*root, kQuantityCell, "Length", "a");
        a->FValue.Text = "2";
        ua1 = AddCell(*a, kUncertaintyCell, "Scale");
        ua1->FUncertaintyInput = RectangularRecord("0.3", "0.173205080756888");
        ua1->FCombinedUncertainty = ua1->FUncertaintyInput.HSN;
        ua2 = AddCell(*a, kUncertaintyCell, "Drift");
        ua2->FActive = false;
        b = AddCell(*root, kQuantityCell, "Width", "b");
        b->FValueType = 1;
        b->FValue.Text = "3";
    }
    void TearDown() override
    {
        root.reset();
        MainCellToolWindow = nullptr;
        TemplateCellToolWindow = nullptr;
        ClearCellCommands();
        EditMode = 0;
        EvaluateTreeHook = &EvaluateTree;
        LanguageID = EditionFlag;
        EXPECT_TRUE(dialogs.AllAnswered());
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        EXPECT_TRUE(DescribeSubtree);
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
    // The before and after texts the cell tool writes around a one-cell description.
    static QString Before(TCell& cell)
    {
        return "[cf3]" + GetString(83) + ":[cf1] " + cell.FCellName.Text + "\r" + DescribeOneCell(cell);
    }
    static QString Headed(int textId, TCell& cell) { return GetString(textId) + "\r\r" + DescribeOneCell(cell); }
    QStringList Shown() const { return DialogScript::Instance().Shown(); }

    ScriptedCellDialogs dialogs;
    ScriptedCellRecord record;
    FakeToolWindow mainWindow;
    TCellTools tools { dialogs, record };
    std::unique_ptr<TCell> root;
    TCell* a = nullptr;
    TCell* ua1 = nullptr;
    TCell* ua2 = nullptr;
    TCell* b = nullptr;
};

} // namespace orvek::test
