// What the window benchmarks share: dialogs that answer at once, and a best-of timing.
#pragma once
#include "app/dialogs.h"

#include <QTemporaryDir>

#include <functional>

namespace bench {

// The window must not wait for anyone: every box is answered at once, with OK.
class SilentDialogs final : public Dialogs
{
public:
    void beep() override {}
    void message(const QString&, const QString&) override {}
    void notice(const QString&) override {}
    bool confirm(const QString&, const QString&) override { return true; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

// A window's surroundings for as long as it lives: a temporary data folder, a 1024 x 768
// screen, the user's time format kept in that folder, the given dialogs (silent ones when
// none) and the manual audio backend. Everything is put back on destruction.
class WindowSurroundings
{
public:
    explicit WindowSurroundings(Dialogs* answering = nullptr);
    ~WindowSurroundings();
    WindowSurroundings(const WindowSurroundings&) = delete;
    WindowSurroundings& operator=(const WindowSurroundings&) = delete;

    QString file(const QString& name) const { return data_.filePath(name); }
    QString folder() const { return data_.path(); }

private:
    QTemporaryDir data_;
    SilentDialogs silent_;
};

// Best of `runs` wall-clock times, in milliseconds.
double bestMs(int runs, const std::function<void()>& work);

} // namespace bench
