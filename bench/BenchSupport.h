#pragma once
// What every benchmark program shares: the set-up of the demo object model
// and the controls, and a console reporter that keeps the median of each run.

#include "controls/StandardControls.h"
#include "model/ElementFactory.h"
#include "services/ObjectModel.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace fw::bench {

// The shipped demo model (or the one under FORMWRIGHT_DATA_DIR) and the
// standard controls; the user's settings file is left out.
inline void SetUpBenchEnvironment(const char* sourceDataDir)
{
    ::setenv("FORMWRIGHT_CONFIG_FILE", "/nonexistent", 0);
    const char* dataDir = std::getenv("FORMWRIGHT_DATA_DIR");
    ClassFactory::SetModelFile(std::string(dataDir && *dataDir ? dataDir : sourceDataDir) + "/model/demo-model.xml");
    RegisterStandardControls(ElementFactory::Global());
}

// The console output as usual, plus the median seconds of every run by name.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        benchmark::ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred)
                medians[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations);
    }
    std::map<std::string, double> medians;
};

// Runs the registered benchmarks through `reporter`; false when the command
// line holds an argument the library does not know.
inline bool RunBenchmarks(int& argc, char** argv, benchmark::BenchmarkReporter& reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}

}  // namespace fw::bench
