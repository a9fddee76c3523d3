#pragma once
// Stand-ins for the equation-cell dialog, the settings dialog and the summary of
// quantities: installed for their lifetime, they answer as the test sets them up and
// record what they were asked.

#include "core/services.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace orvek::test {

class EquationDialogDouble : public EquationDialogService {
public:
    EquationDialogDouble();
    ~EquationDialogDouble() override;
    EquationDialogDouble(const EquationDialogDouble&) = delete;
    EquationDialogDouble& operator=(const EquationDialogDouble&) = delete;

    bool RunNewEquationDialog(const QString& caption, TNewEquationDialogData& data) override;

    // The answer: OK with Answer, or Cancel.
    bool Ok = true;
    TNewEquationDialogData Answer;
    QStringList Captions; // one per dialog shown

private:
    EquationDialogService* previous_ = nullptr;
};

class SettingsDialogDouble : public SettingsDialogService {
public:
    SettingsDialogDouble();
    ~SettingsDialogDouble() override;
    SettingsDialogDouble(const SettingsDialogDouble&) = delete;
    SettingsDialogDouble& operator=(const SettingsDialogDouble&) = delete;

    // Runs OnShow (the user's changes to the settings) and answers Ok.
    bool ShowSettingsDialog() override;
    bool RecalculationNeeded() override { return Recalculate; }

    bool Ok = true;
    bool Recalculate = false;
    std::function<void()> OnShow;
    int Shown = 0;

private:
    SettingsDialogService* previous_ = nullptr;
};

class QuantitySummaryDouble : public QuantitySummaryService {
public:
    QuantitySummaryDouble();
    ~QuantitySummaryDouble() override;
    QuantitySummaryDouble(const QuantitySummaryDouble&) = delete;
    QuantitySummaryDouble& operator=(const QuantitySummaryDouble&) = delete;

    void LoadQuantityTable(quint8 lockMode) override { LockModes.push_back(lockMode); }
    // Runs OnShow (the user's edits of QuantityList) and answers Ok.
    bool ShowModal() override;

    bool Ok = true;
    std::function<void()> OnShow;
    std::vector<int> LockModes;

private:
    QuantitySummaryService* previous_ = nullptr;
};

} // namespace orvek::test
