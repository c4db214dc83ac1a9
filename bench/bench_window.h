// What the window benchmarks share: dialogs that answer at once, and a best-of timing.
#pragma once
#include "app/dialogs.h"

#include <functional>

namespace bench {

// The window must not wait for anyone: every box is answered at once, with OK.
class SilentDialogs final : public Dialogs
{
public:
    void beep() override {}
    void message(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return true; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

// Best of `runs` wall-clock times, in milliseconds.
double bestMs(int runs, const std::function<void()>& work);

} // namespace bench
