// The undo history of a large form: 200 separate one-pixel moves of one
// element of a generated 10,000-element form, each its own step, after a
// first step (the one that copies the form). Prints how much the heap and the
// history's own figure grew over the 200 steps and what one step (snapshot and
// move) costs, and answers 1 when they pass what a designer can live with:
// 2 MB for the 200 steps, 1 ms a step.

#include "bench/BenchSupport.h"
#include "bench/FormGenerator.h"
#include "model/DiagramEntityContainer.h"
#include "model/FormDefinitionDocument.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace fw;

namespace {

constexpr int FormElements = 10000;
constexpr int Steps = 200;
constexpr unsigned Seed = 11;
constexpr double Megabyte = 1024 * 1024;
constexpr double HistoryLimitBytes = 2 * Megabyte;
constexpr double StepLimitSeconds = 1e-3;

struct Growth {
    double heap = 0;
    double history = 0;
    double seconds = 0;
};

std::unique_ptr<FormDefinitionDocument> g_doc;
Growth g_first;
Growth g_steps;

std::unique_ptr<FormDefinitionDocument> ReadGenerated(int elements)
{
    std::string folder = (std::filesystem::temp_directory_path() / "fw-history-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        return nullptr;
    const std::string path = folder + "/PUMP_HistoryBench.xml";
    std::ofstream(path, std::ios::binary) << GenerateFormFile(elements, Seed);
    auto doc = std::make_unique<FormDefinitionDocument>();
    const bool read = doc->ReadFile(path) && doc->WasReadWhole();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return read ? std::move(doc) : nullptr;
}

double HeapInUse()
{
    return static_cast<double>(mallinfo2().uordblks);
}

// What the steps `run` takes (it answers how many) add to the heap and to
// the history's own figure, and the time of one.
template <typename Run> Growth Measure(const CDiagramEntityContainer& form, Run&& run)
{
    const double heap = HeapInUse();
    const double history = static_cast<double>(form.GetHistoryBytes());
    const auto start = std::chrono::steady_clock::now();
    const int steps = run();
    Growth growth;
    growth.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / steps;
    growth.heap = HeapInUse() - heap;
    growth.history = static_cast<double>(form.GetHistoryBytes()) - history;
    return growth;
}

// One iteration is one step: what the editor does before a move, then the move.
void SeparateMoves(benchmark::State& state)
{
    CDiagramEntityContainer& form = *g_doc->GetMainForm();
    CDiagramEntity* moved = form.GetAt(form.GetCount() / 2);
    form.ClearUndo();
    g_first = Measure(form, [&] {
        form.Snapshot("Move");
        moved->MoveRect(1, 0);
        return 1;
    });
    g_steps = Measure(form, [&] {
        for (auto _ : state) {
            form.Snapshot("Move");
            moved->MoveRect(1, 0);
        }
        return Steps;
    });
    state.counters["heap_MB"] = g_steps.heap / Megabyte;
}

// Every step is kept apart, and undoing them all takes the element back.
bool CheckSteps(CDiagramEntityContainer& form, double startLeft)
{
    if (form.GetUndoCount() != Steps + 1)
        return false;
    while (form.GetUndoCount() > 0)
        form.Undo();
    return form.GetAt(form.GetCount() / 2)->GetLeft() == startLeft;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::SetUpBenchEnvironment(FORMWRIGHT_SOURCE_DATA_DIR);
    g_doc = ReadGenerated(FormElements);
    if (!g_doc) {
        std::fprintf(stderr, "the generated form did not read whole\n");
        return 1;
    }
    CDiagramEntityContainer& form = *g_doc->GetMainForm();
    const double startLeft = form.GetAt(form.GetCount() / 2)->GetLeft();

    benchmark::RegisterBenchmark("SeparateMoves", SeparateMoves)
        ->Iterations(Steps)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    bench::MedianReporter reporter;
    if (!bench::RunBenchmarks(argc, argv, reporter))
        return 1;

    if (!CheckSteps(form, startLeft)) {
        std::fprintf(stderr, "the steps were not kept apart or did not undo\n");
        return 1;
    }
    std::printf("\nfirst step on a %d-element form: heap %.2f MB, history %.2f MB, %.3f ms\n", form.GetCount(),
                g_first.heap / Megabyte, g_first.history / Megabyte, g_first.seconds * 1e3);
    std::printf(
        "%d further moves: heap grew %.2f MB, history %.2f MB (limit %.0f MB); one step %.3f ms (limit %.0f ms)\n",
        Steps, g_steps.heap / Megabyte, g_steps.history / Megabyte, HistoryLimitBytes / Megabyte, g_steps.seconds * 1e3,
        StepLimitSeconds * 1e3);
    return g_steps.heap < HistoryLimitBytes && g_steps.seconds < StepLimitSeconds ? 0 : 1;
}
