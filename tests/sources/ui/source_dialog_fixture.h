#pragma once
// A quantity cell with a value and the source dialog opened on one of its sources the
// way the cell tool opens it.

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "sources/ui/source_dialog.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QCheckBox>
#include <gtest/gtest.h>
#include <memory>

namespace orvek::test {

inline TPrenosInfoDoNovejBunky CellInfo(quint8 kind, const QString& name, const QString& value = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Symbol = name;
    info.Value = value;
    info.UnitText = QStringLiteral("mm");
    info.Active = 1;
    return info;
}

class SourceDialogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = TestProgramFolder();
        LanguageID = 0;
        EditMode = 2;
        SignificantDigits = 2;
        EvaluateTreeHook = nullptr;
        root = std::make_unique<TCell>(nullptr, CellInfo(kEquationCell, "y"), 20, 20, nullptr);
        quantity = root->AddChild(CellInfo(kQuantityCell, "x", "50"));
        quantity->FValue.Text = QStringLiteral("50");
    }
    void TearDown() override
    {
        dialog.reset();
        root.reset();
        EditMode = 0;
    }

    // A source of the quantity holding Rec, and the dialog opened on it.
    TfOrvek6& OpenExisting(const TVstupStandardnejNeistoty& rec, TCell* owner = nullptr)
    {
        TCell* parent = owner ? owner : quantity;
        TCell* source = parent->AddChild(CellInfo(kUncertaintyCell, "u1"));
        source->FUncertaintyInput = rec;
        return Open(rec, false, parent, source);
    }

    // The dialog of a new source of Owner (the quantity by default).
    TfOrvek6& OpenNew(TCell* owner = nullptr)
    {
        TVstupStandardnejNeistoty rec;
        ClearUncertaintyInput(rec);
        rec.TSN = 1;
        return Open(rec, true, owner ? owner : quantity, nullptr);
    }

    TfOrvek6& Open(const TVstupStandardnejNeistoty& rec, bool isNew, TCell* owner, TCell* source)
    {
        dialog = std::make_unique<TfOrvek6>();
        dialog->RefreshTexts();
        dialog->ClearInputs();
        dialog->FOwnerCell = owner;
        dialog->FSourceCell = source;
        dialog->FIsNewSource = isNew ? 1 : 0;
        dialog->FInput = rec;
        dialog->FCellName = isNew ? QStringLiteral("Source x") : QStringLiteral("u1");
        dialog->FUnit = QStringLiteral("mm");
        dialog->CheckBox_Aktivita->setChecked(true);
        dialog->LoadUncertaintyInput();
        return *dialog;
    }

    std::unique_ptr<TCell> root;
    TCell* quantity = nullptr;
    std::unique_ptr<TfOrvek6> dialog;
};

} // namespace orvek::test
