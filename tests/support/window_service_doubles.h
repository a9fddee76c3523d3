#pragma once
// Stand-ins for the result-summary and wait windows: installed for their lifetime, they
// record what they were asked and show nothing.

#include "core/services.h"

#include <QString>
#include <QStringList>

namespace orvek::test {

class ResultSummaryDouble : public ResultSummaryService {
public:
    ResultSummaryDouble();
    ~ResultSummaryDouble() override;
    ResultSummaryDouble(const ResultSummaryDouble&) = delete;
    ResultSummaryDouble& operator=(const ResultSummaryDouble&) = delete;

    bool IsVisible() override { return Visible; }
    void Hide() override { Visible = false; }
    void ShowStayOnTop() override
    {
        Visible = true;
        StayOnTop = true;
    }
    void ShowCellSummary(TCell* cell) override
    {
        Visible = true;
        LastCell = cell;
        ++Summaries;
    }

    bool Visible = false;
    bool StayOnTop = false;
    TCell* LastCell = nullptr;
    int Summaries = 0;

private:
    ResultSummaryService* previous_ = nullptr;
};

class WaitWindowDouble : public WaitWindowService {
public:
    WaitWindowDouble();
    ~WaitWindowDouble() override;
    WaitWindowDouble(const WaitWindowDouble&) = delete;
    WaitWindowDouble& operator=(const WaitWindowDouble&) = delete;

    void Show(const QString& message) override;
    void Progress(int position, int total) override;
    void Hide() override;
    bool Cancelled() override { return CancelAnswer; }

    bool Visible = false;
    QStringList Messages; // one per Show
    int ProgressCalls = 0;
    int LastPosition = 0, LastTotal = 0;
    int Hides = 0;
    bool CancelAnswer = false;

private:
    WaitWindowService* previous_ = nullptr;
};

} // namespace orvek::test
