#pragma once
// The wait-window service on the shared wait window fWait.

#include "core/services.h"

namespace orvek {

class TfWait;

class TWaitWindowProvider : public WaitWindowService {
public:
    explicit TWaitWindowProvider(TfWait& window)
        : window_(window)
    {
    }
    void Show(const QString& message) override;
    void Progress(int position, int total) override;
    void Hide() override;
    bool Cancelled() override;

private:
    TfWait& window_;
};

} // namespace orvek
