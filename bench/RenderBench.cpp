// Drawing a generated form of 2,000 elements at zoom 1.0 into a 1600 x 1200
// image, as a live canvas repaints it, against the floor of bare cairo
// clearing the image, filling and outlining the same rectangles and showing
// the same texts from layouts made beforehand. And a form view of the same
// size repainted with the grid shown, against the same repaint without it.
// Prints the median CPU time of a frame and the ratio to its floor.

#include "bench/BareCairo.h"
#include "bench/BenchSupport.h"
#include "bench/FormGenerator.h"
#include "controls/StandardControls.h"
#include "editor/DEditor.h"
#include "editor/FormPainter.h"
#include "editor/HeadlessHost.h"
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
#include <memory>
#include <string>

using namespace fw;

namespace {

constexpr int Elements = 2000;
constexpr int Width = 1600;
constexpr int Height = 1200;

FormDefinitionDocument* g_doc = nullptr;
std::vector<bench::BareText> g_texts;

void PaintFormFrame(benchmark::State& state)
{
    auto dc = CairoDrawContext::ForImage(Width, Height);
    CDiagramEntityContainer& form = *g_doc->GetMainForm();
    for (auto _ : state)
        PaintForm(*dc, form, 1.0);
}

void BareCairoFrame(benchmark::State& state)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_width(cr, 1.0);
    CDiagramEntityContainer& form = *g_doc->GetMainForm();
    for (auto _ : state) {
        bench::DrawBareForm(cr, form, g_texts);
        cairo_surface_flush(surface);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// The rectangles alone, the floor this benchmark had before texts joined it.
void BareRectanglesFrame(benchmark::State& state)
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

// A form view of Width x Height showing the top left of the form, set up
// as a form view leaves it.
struct Canvas {
    Canvas(CDiagramEntityContainer& form, bool grid) : host({Width, Height})
    {
        host.Attach(&editor);
        created = editor.Create(&host, &form);
        editor.ShowGrid(grid);
        editor.ShowMargins(true);
        editor.ShowButtonBar(true);
        editor.SetRestraints(RestraintMargins);
        editor.SetPaperResize(true);
    }
    HeadlessHost host;
    CDEditor editor;
    bool created = false;
};

std::unique_ptr<Canvas> g_gridView;
std::unique_ptr<Canvas> g_plainView;

void Repaint(benchmark::State& state, Canvas* canvas)
{
    auto dc = CairoDrawContext::ForImage(Width, Height);
    for (auto _ : state)
        canvas->editor.Paint(*dc);
}

// Whether the grid view shows its dots where the plain one shows paper.
bool GridShows()
{
    auto grid = CairoDrawContext::ForImage(Width, Height);
    auto plain = CairoDrawContext::ForImage(Width, Height);
    g_gridView->editor.Paint(*grid);
    g_plainView->editor.Paint(*plain);
    int differing = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            differing += grid->RawPixelAt(x, y) != plain->RawPixelAt(x, y);
    return differing > 1000;
}

// The medians in CPU time, which the goals are set in.
class CpuMedianReporter : public bench::MedianReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        MedianReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred)
                cpu[run.run_name.function_name] = run.cpu_accumulated_time / double(run.iterations);
    }
    std::map<std::string, double> cpu;
};

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
    CDiagramEntityContainer& form = *doc.GetMainForm();

    // The floor shows what a painting of the form shows.
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
    cairo_t* scratchCr = cairo_create(scratch);
    std::size_t textCount = 0;
    {
        bench::TextCollector collector(scratchCr);
        PaintForm(collector, form, 1.0);
        g_texts = bench::LayOutTexts(scratchCr, collector.texts);
        textCount = collector.texts.size();
    }
    cairo_destroy(scratchCr);
    cairo_surface_destroy(scratch);

    g_gridView = std::make_unique<Canvas>(form, true);
    g_plainView = std::make_unique<Canvas>(form, false);
    if (!g_gridView->created || !g_plainView->created || !GridShows()) {
        std::fprintf(stderr, "the form views do not show what they should\n");
        return 1;
    }

    auto add = [](const char* name, auto fn, auto... args) {
        benchmark::RegisterBenchmark(name, fn, args...)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
    };
    add("PaintForm", PaintFormFrame);
    add("BareCairo", BareCairoFrame);
    add("BareRectangles", BareRectanglesFrame);
    add("RepaintGrid", Repaint, g_gridView.get());
    add("RepaintNoGrid", Repaint, g_plainView.get());

    CpuMedianReporter reporter;
    if (!bench::RunBenchmarks(argc, argv, reporter))
        return 1;

    auto ratio = [&reporter](const char* figure, const char* floor) {
        const double a = reporter.cpu[figure];
        const double b = reporter.cpu[floor];
        return b > 0 ? a / b : 0.0;
    };
    std::printf("\nmedian CPU time of a frame\n");
    std::printf(
        "paint %d elements, %dx%d: %.2f ms, bare cairo (clear, %d rectangles, %zu texts) %.2f ms, ratio %.2fx\n",
        form.GetCount(), Width, Height, reporter.cpu["PaintForm"] * 1e3, form.GetCount(), textCount,
        reporter.cpu["BareCairo"] * 1e3, ratio("PaintForm", "BareCairo"));
    std::printf("  against the rectangles alone %.2f ms, ratio %.2fx\n", reporter.cpu["BareRectangles"] * 1e3,
                ratio("PaintForm", "BareRectangles"));
    std::printf("repaint %dx%d with the grid: %.2f ms, without %.2f ms, ratio %.2fx\n", Width, Height,
                reporter.cpu["RepaintGrid"] * 1e3, reporter.cpu["RepaintNoGrid"] * 1e3,
                ratio("RepaintGrid", "RepaintNoGrid"));

    for (const bench::BareText& t : g_texts)
        g_object_unref(t.layout);
    g_gridView.reset();
    g_plainView.reset();
    return 0;
}
