// The console output of Google Benchmark as usual, with each run's rates
// kept for a summary at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RateReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> bytesPerSecond;
    std::map<std::string, double> itemsPerSecond;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            keep(run, "bytes_per_second", &bytesPerSecond);
            keep(run, "items_per_second", &itemsPerSecond);
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    static void keep(const Run& run, const char* counter, std::map<std::string, double>* into)
    {
        auto rate = run.counters.find(counter);
        if (rate != run.counters.end())
            (*into)[run.benchmark_name()] = rate->second.value;
    }
};

// Runs the registered benchmarks with the command line's options, reporting
// to reporter; false on an option it does not know.
inline bool RunBenchmarks(int* argc, char** argv, RateReporter* reporter)
{
    benchmark::Initialize(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(*argc, argv))
        return false;
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    return true;
}
