#pragma once
// What an evaluation writes into the cells of a model, saved and put back. The formula
// listing evaluates with 8 significant digits and the reports run the sensitivity pass
// (which evaluates the model again): while they work the cells change, and when they end
// every cell holds what it held before, so that nothing shows a figure of theirs later.

#include <memory>

namespace orvek {

class TCell;

class TResultsSnapshot {
public:
    // Saves the results of Root and of every cell below it.
    explicit TResultsSnapshot(TCell& root);
    // Puts them back.
    ~TResultsSnapshot();
    TResultsSnapshot(const TResultsSnapshot&) = delete;
    TResultsSnapshot& operator=(const TResultsSnapshot&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

} // namespace orvek
