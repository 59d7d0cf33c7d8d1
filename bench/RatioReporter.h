// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace korvell {

/// Console output plus the ratios a benchmark's goals are stated in, printed after the runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            // With --benchmark_repetitions the quietest repetition counts.
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            const auto [it, inserted] = m_seconds.emplace(run.benchmark_name(), seconds);
            if (!inserted && seconds < it->second)
                it->second = seconds;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        printRatios(GetOutputStream());
    }

protected:
    virtual void printRatios(std::ostream& out) const = 0;

    std::string ratio(const std::string& a, const char* an, const std::string& b, const char* bn) const {
        const auto top = m_seconds.find(a + an);
        const auto bottom = m_seconds.find(b + bn);
        if (top == m_seconds.end() || bottom == m_seconds.end() || bottom->second <= 0)
            return "not measured";
        return std::to_string(top->second / bottom->second);
    }

private:
    std::map<std::string, double> m_seconds;
};

/// Runs the registered benchmarks through `reporter`.
inline int runBenchmarks(int argc, char** argv, RatioReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace korvell
