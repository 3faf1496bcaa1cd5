// Drawing a generated form of 2,000 elements at zoom 1.0 into a 1600 x 1200
// image, as a live canvas repaints it, against the floor of bare cairo
// filling and outlining the same 2,000 rectangles. Prints the median time of
// a frame and the ratio to the floor.

#include "bench/BareCairo.h"
#include "bench/BenchSupport.h"
#include "bench/FormGenerator.h"
#include "controls/StandardControls.h"
#include "editor/FormPainter.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "render/CairoDrawContext.h"
#include "services/ObjectModel.h"

#include <benchmark/benchmark.h>
#include <cairo/cairo.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

using namespace fw;

namespace {

constexpr int Elements = 2000;
constexpr int Width = 1600;
constexpr int Height = 1200;

FormDefinitionDocument* g_doc = nullptr;

void PaintFormFrame(benchmark::State& state)
{
    auto dc = CairoDrawContext::ForImage(Width, Height);
    CDiagramEntityContainer& form = *g_doc->GetMainForm();
    for (auto _ : state)
        PaintForm(*dc, form, 1.0);
}

// The same rectangles, each filled and outlined by cairo directly.
void BareCairoFrame(benchmark::State& state)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_width(cr, 1.0);
    CDiagramEntityContainer& form = *g_doc->GetMainForm();
    for (auto _ : state) {
        bench::DrawBareRectangles(cr, form);
        cairo_surface_flush(surface);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// Keeps the median of each benchmark's repetitions.
}  // namespace

int main(int argc, char** argv)
{
    bench::SetUpBenchEnvironment(FORMWRIGHT_SOURCE_DATA_DIR);

    const std::string path = (std::filesystem::temp_directory_path() / "PUMP_RenderBench.xml").string();
    std::ofstream(path, std::ios::binary) << GenerateFormFile(Elements, 11);
    FormDefinitionDocument doc;
    if (!doc.ReadFile(path) || !doc.WasReadWhole()) {
        std::fprintf(stderr, "the generated form did not read whole\n");
        return 1;
    }
    std::filesystem::remove(path);
    g_doc = &doc;

    for (auto [name, fn] : {std::pair{"PaintForm", PaintFormFrame}, std::pair{"BareCairo", BareCairoFrame}})
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);

    bench::MedianReporter reporter;
    if (!bench::RunBenchmarks(argc, argv, reporter))
        return 1;

    const double form = reporter.medians["PaintForm"];
    const double bare = reporter.medians["BareCairo"];
    std::printf("\n%d elements, %dx%d: median frame %.2f ms, bare cairo %.2f ms, ratio %.1fx\n",
                doc.GetMainForm()->GetCount(), Width, Height, form * 1e3, bare * 1e3, bare > 0 ? form / bare : 0.0);
    return 0;
}
