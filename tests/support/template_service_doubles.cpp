#include "tests/support/template_service_doubles.h"

namespace orvek::test {

EquationDialogDouble::EquationDialogDouble()
    : previous_(EquationDialog())
{
    SetEquationDialogService(this);
}

EquationDialogDouble::~EquationDialogDouble()
{
    SetEquationDialogService(previous_);
}

bool EquationDialogDouble::RunNewEquationDialog(const QString& caption, TNewEquationDialogData& data)
{
    Captions << caption;
    if (Ok)
        data = Answer;
    return Ok;
}

SettingsDialogDouble::SettingsDialogDouble()
    : previous_(SettingsDialog())
{
    SetSettingsDialogService(this);
}

SettingsDialogDouble::~SettingsDialogDouble()
{
    SetSettingsDialogService(previous_);
}

bool SettingsDialogDouble::ShowSettingsDialog()
{
    ++Shown;
    if (OnShow)
        OnShow();
    return Ok;
}

QuantitySummaryDouble::QuantitySummaryDouble()
    : previous_(QuantitySummary())
{
    SetQuantitySummaryService(this);
}

QuantitySummaryDouble::~QuantitySummaryDouble()
{
    SetQuantitySummaryService(previous_);
}

bool QuantitySummaryDouble::ShowModal()
{
    if (OnShow)
        OnShow();
    return Ok;
}

} // namespace orvek::test
