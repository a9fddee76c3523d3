#pragma once
// The equation-cell dialog shown for a new template: no cell behind it, every quantity
// row new; what was typed goes back as plain fields for the template storage.

#include "core/services.h"

namespace orvek {

struct TEquationDialogData;

// Copies what the dialog gave back after OK into the new-template fields.
void NewEquationFromDialog(const TEquationDialogData& from, TNewEquationDialogData& to);

class EquationDialogProvider : public EquationDialogService {
public:
    bool RunNewEquationDialog(const QString& caption, TNewEquationDialogData& data) override;
};

} // namespace orvek
