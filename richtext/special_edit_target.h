#pragma once
// What the special-character palette serves: the formatted text box with the tool
// window open, or the rich-text editor window. ActiveTextEditor never dangles: a target
// clears it when it goes away.

namespace orvek {

class TSpecialEditTarget {
public:
    virtual ~TSpecialEditTarget();

protected:
    TSpecialEditTarget() = default;
    TSpecialEditTarget(const TSpecialEditTarget&) = delete;
    TSpecialEditTarget& operator=(const TSpecialEditTarget&) = delete;
};

inline TSpecialEditTarget* ActiveTextEditor = nullptr;

inline TSpecialEditTarget::~TSpecialEditTarget()
{
    if (ActiveTextEditor == this)
        ActiveTextEditor = nullptr;
}

} // namespace orvek
