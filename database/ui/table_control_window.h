#pragma once
// The table-control window as the data module's verify and rebuild move it: created
// when a check of all tables begins, freed when it ends.

#include "database/bde_util.h"

namespace orvek {

class TableControlStatusWindow final : public TableControlStatus {
public:
    ~TableControlStatusWindow() override;
    void ShowStatus() override;
    void HideStatus() override;
    void SetTableCaption(const QString& caption) override;
    void SetBar(int bar, int percent) override;
};

} // namespace orvek
