// The test backend: nothing runs by itself; renderManual() (engine.h) drives every opened
// device by a number of milliseconds, so time does not depend on the machine's speed.
// An output can be told to fail and to answer again. Main (test) thread only.
#pragma once

#include "audio/output_backend.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace audio {

class ManualDriver : public OutputDriver
{
public:
    ManualDriver(std::string name, bool silent, MixCallback mix, const std::set<std::string>& failing)
        : name_(std::move(name)), silent_(silent), mix_(std::move(mix)), failing_(failing)
    {
    }
    bool failed() const override { return !silent_ && failing_.count(name_) > 0; }
    bool silent() const { return silent_; }
    // Runs the mix for `frames` frames; false when the output failed and took nothing.
    bool render(float* out, int frames)
    {
        if (failed())
            return false;
        mix_(out, frames);
        return true;
    }

private:
    std::string name_;
    bool silent_;
    MixCallback mix_;
    const std::set<std::string>& failing_;
};

class ManualBackend : public OutputBackend
{
public:
    std::vector<std::string> outputs() override { return {"Saída padrão do sistema", "Placa de teste"}; }
    std::unique_ptr<OutputDriver> open(const std::string& name, int, MixCallback mix) override
    {
        const std::vector<std::string> known = outputs();
        if (failing_.count(name) || std::find(known.begin(), known.end(), name) == known.end())
            return nullptr;
        return std::make_unique<ManualDriver>(name, false, std::move(mix), failing_);
    }
    // Rendered time never runs ahead of the clock: nothing is owed.
    std::unique_ptr<OutputDriver> openClock(int, MixCallback mix, int64_t) override
    {
        return std::make_unique<ManualDriver>(std::string(), true, std::move(mix), failing_);
    }
    int64_t nowMs() const override { return renderedMs_; }

    void setFailing(const std::string& name, bool failing)
    {
        if (failing)
            failing_.insert(name);
        else
            failing_.erase(name);
    }
    void advance(int64_t ms) { renderedMs_ += ms; }

private:
    std::set<std::string> failing_;
    int64_t renderedMs_ = 0;
};

} // namespace audio
