// A tiny registry for voltaria-bench: each bench_*.cpp registers its benchmarks by name,
// and each benchmark prints our figure, its anchor and their ratio from the same run.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Benchmark {
    std::string name;
    std::string what; // one line for --help
    std::function<void()> run;
};

std::vector<Benchmark>& registry();

struct Register {
    Register(std::string name, std::string what, std::function<void()> run)
    {
        registry().push_back({std::move(name), std::move(what), std::move(run)});
    }
};

// Prints one result line: "name: ours <value> <unit>, anchor <value> <unit> (<what>), ratio <r>".
void report(const std::string& name, double ours, const std::string& unit, double anchor,
            const std::string& anchorWhat, double ratio, const std::string& goal);

} // namespace bench
