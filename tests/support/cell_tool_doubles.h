#pragma once
// Doubles of what the cell tool works with: cell dialogs that answer from a script, the
// record's lock and change history, and a window with a timer.

#include "core/common_vars.h"
#include "mainwindow/cell_dialogs.h"
#include "mainwindow/cell_record_access.h"
#include "mainwindow/cell_tool_windows.h"

#include <QMap>
#include <QString>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace orvek::test {

// The openings of one dialog kind. Each opening takes the next script: it gets the
// hand-over as loaded, may change it as a user would and returns the modal result
// (1 OK, 2 Cancel). What it leaves in the hand-over is read back after OK.
template <class Data> struct ScriptedDialogQueue {
    std::deque<std::function<int(Data&)>> scripts;
    std::vector<Data> loaded; // the hand-over of every opening, as loaded

    void Answer(std::function<int(Data&)> script) { scripts.push_back(std::move(script)); }
};

template <class Data> class ScriptedCellDialog : public TCellDialog<Data> {
public:
    ScriptedCellDialog(ScriptedDialogQueue<Data>& queue, std::function<int(Data&)> script)
        : queue_(queue)
        , script_(std::move(script))
    {
    }
    void Load(const Data& data) override
    {
        data_ = data;
        queue_.loaded.push_back(data);
    }
    int ShowModal() override { return script_(data_); }
    void ReadBack(Data& data) override { data = data_; }

private:
    ScriptedDialogQueue<Data>& queue_;
    std::function<int(Data&)> script_;
    Data data_;
};

// A dialog opened without a queued script fails the test and is cancelled.
class ScriptedCellDialogs : public TCellDialogFactory {
public:
    ScriptedDialogQueue<TEquationDialogData> equation;
    ScriptedDialogQueue<TQuantityDialogData> quantity;
    ScriptedDialogQueue<TUncertaintyCellDialogData> group;
    ScriptedDialogQueue<TSourceDialogData> source;
    int loadingDepth = 0;
    int loadings = 0;

    std::unique_ptr<TEquationDialog> CreateEquationDialog() override { return Make(equation, "equation"); }
    std::unique_ptr<TQuantityDialog> CreateQuantityDialog() override { return Make(quantity, "quantity"); }
    std::unique_ptr<TUncertaintyCellDialog> CreateUncertaintyCellDialog() override { return Make(group, "group"); }
    std::unique_ptr<TSourceDialog> CreateSourceDialog() override { return Make(source, "source"); }
    void LoadingStarted() override
    {
        ++loadingDepth;
        ++loadings;
    }
    void LoadingFinished() override { --loadingDepth; }

    bool AllAnswered() const
    {
        return equation.scripts.empty() && quantity.scripts.empty() && group.scripts.empty() && source.scripts.empty();
    }

private:
    template <class Data> std::unique_ptr<TCellDialog<Data>> Make(ScriptedDialogQueue<Data>& queue, const char* kind)
    {
        std::function<int(Data&)> script;
        if (queue.scripts.empty()) {
            ADD_FAILURE() << "unexpected " << kind << " dialog";
            script = [](Data&) { return 2; };
        } else {
            script = std::move(queue.scripts.front());
            queue.scripts.pop_front();
        }
        return std::make_unique<ScriptedCellDialog<Data>>(queue, std::move(script));
    }
};

// The record's lock and history as the data module keeps them.
class ScriptedCellRecord : public TCellRecordAccess {
public:
    bool canLock = true; // CanLockItem's answer
    bool lockTaken = true; // LockItem's answer
    bool changedSinceLoaded = false; // with LockItem refused: another workstation saved
    int holder = 0; // with a refusal: the user holding the lock
    QMap<int, QString> names;
    struct Row {
        QString original, changed;
    };
    std::vector<Row> history;
    int lockCalls = 0;

    bool CanLockItem() override
    {
        DiagramLockOwnerID = canLock ? 0 : holder;
        return canLock;
    }
    bool LockItem(bool* changed) override
    {
        ++lockCalls;
        if (changed)
            *changed = !lockTaken && changedSinceLoaded;
        if (!lockTaken && !changedSinceLoaded && holder > 0)
            DiagramLockOwnerID = holder;
        return lockTaken;
    }
    QString GetUserFullName(int userID) override { return names.value(userID); }
    bool WriteHistory() override
    {
        history.push_back({ HistoryOriginalValues, HistoryNewValues });
        HistoryOriginalValues.clear();
        HistoryNewValues.clear();
        return true;
    }
};

class FakeToolWindow : public TCellToolWindow {
public:
    bool visible = true;
    bool timerEnabled = true;
    int cleared = 0;

    bool IsVisible() const override { return visible; }
    void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    void ClearCellCommands() override
    {
        orvek::ClearCellCommands();
        ++cleared;
    }
};

} // namespace orvek::test
