#pragma once
// Installation of a service or a global window pointer for the lifetime of a scope: the
// pointer is set when the guard is made and taken back (set to null) when the scope
// ends, on every exit path, in the reverse order of installation.

#include <utility>

namespace orvek {

template <typename Reset> class [[nodiscard]] TInstalled {
public:
    explicit TInstalled(Reset reset)
        : reset_(std::move(reset))
    {
    }
    ~TInstalled() { reset_(); }
    TInstalled(const TInstalled&) = delete;
    TInstalled& operator=(const TInstalled&) = delete;

private:
    Reset reset_;
};

// A global pointer: Slot := Value now, null when the scope ends.
template <typename T, typename U> auto InstallGlobal(T*& slot, U* value)
{
    slot = value;
    return TInstalled([&slot] { slot = nullptr; });
}

// A service with a setter: Set(Value) now, Set(null) when the scope ends.
template <typename Set, typename U> auto InstallService(Set set, U* value)
{
    set(value);
    return TInstalled([set] { set(nullptr); });
}

} // namespace orvek
