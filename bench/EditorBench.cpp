// The canvas editor on large forms, each figure against a floor measured in
// the same run:
// - a repaint of a generated 2,000-element form in a form view whose client
//   area shows the whole paper, and one that shows only a quarter of it
//   (scrolled to the middle), against bare cairo filling and outlining the
//   same rectangles on a surface of the same size;
// - one mouse-move step of a drag that moves 500 selected elements together,
//   against copying their 500 rectangles;
// - an undo snapshot of a 10,000-element form, against copying its rectangles;
// - deleting a tenth of the elements, and select all + group on a form that
//   is one group, at 10k and 100k elements, against each other: linear
//   work grows about tenfold;
// - a repaint of a fixed 1600x1200 view (the form's top left) at 1k, 10k and
//   100k elements, against each other: it should cost what the view shows,
//   whatever the form holds.
// Prints the median of each and its ratio to the floor.

#include "bench/BareCairo.h"
#include "bench/BenchSupport.h"
#include "bench/FormGenerator.h"
#include "controls/StandardControls.h"
#include "editor/DEditor.h"
#include "editor/FormPainter.h"
#include "editor/HeadlessHost.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "render/CairoDrawContext.h"
#include "render/RecordingDrawContext.h"
#include "services/ObjectModel.h"

#include <benchmark/benchmark.h>
#include <cairo/cairo.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace fw;

namespace {

constexpr int PaintElements = 2000;
constexpr int DraggedElements = 500;
constexpr int SnapshotElements = 10000;
constexpr unsigned Seed = 11;
constexpr int LargeElements[] = {10000, 100000};
constexpr int SmallViewElements = 1000;
constexpr IntSize FixedView{1600, 1200};
// Far enough that every dragged element really moves, near enough that the
// selection stays inside the margins.
constexpr int DragStep = 40;

struct Rect {
    double left, top, right, bottom;
};

std::vector<Rect> RectsOf(const std::vector<CDiagramEntity*>& elements)
{
    std::vector<Rect> rects;
    rects.reserve(elements.size());
    for (const CDiagramEntity* e : elements)
        rects.push_back({e->GetLeft(), e->GetTop(), e->GetRight(), e->GetBottom()});
    return rects;
}

std::vector<CDiagramEntity*> ElementsOf(const CDiagramEntityContainer& form)
{
    std::vector<CDiagramEntity*> elements;
    for (int i = 0; i < form.GetCount(); ++i)
        elements.push_back(form.GetAt(i));
    return elements;
}

bool SameRects(const std::vector<Rect>& a, const std::vector<Rect>& b, double dy = 0)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].left != b[i].left || a[i].right != b[i].right || a[i].top + dy != b[i].top ||
            a[i].bottom + dy != b[i].bottom)
            return false;
    return true;
}

std::unique_ptr<FormDefinitionDocument> ReadGenerated(int elements, const std::string& folder)
{
    const std::string path = folder + "/PUMP_EditorBench" + std::to_string(elements) + ".xml";
    std::ofstream(path, std::ios::binary) << GenerateFormFile(elements, Seed);
    auto doc = std::make_unique<FormDefinitionDocument>();
    if (!doc->ReadFile(path) || !doc->WasReadWhole() ||
        doc->GetMainForm()->GetCount() != GeneratedFormElementCount(elements, Seed))
        return nullptr;
    return doc;
}

// An editor in a window of its own, set up as a form view leaves it.
struct Canvas {
    Canvas(CDiagramEntityContainer& form, IntSize client) : host(client)
    {
        host.Attach(&editor);
        created = editor.Create(&host, &form);
        editor.ShowGrid(false);
        editor.ShowMargins(true);
        editor.ShowButtonBar(true);
        editor.SetRestraints(RestraintMargins);
        editor.SetPaperResize(true);
    }
    IntSize Client() const { return host.GetClientSize(); }

    HeadlessHost host;
    CDEditor editor;
    bool created = false;
};

std::unique_ptr<FormDefinitionDocument> g_paintDoc;
std::unique_ptr<FormDefinitionDocument> g_dragDoc;
std::unique_ptr<FormDefinitionDocument> g_snapshotDoc;
std::unique_ptr<FormDefinitionDocument> g_largeDocs[2];
std::unique_ptr<FormDefinitionDocument> g_smallViewDoc;
// The fixed view on the 1k, 10k and 100k forms.
std::unique_ptr<Canvas> g_fixedViews[3];
std::unique_ptr<Canvas> g_whole;
std::unique_ptr<Canvas> g_quarter;
std::unique_ptr<Canvas> g_drag;

void EditorRepaint(benchmark::State& state, Canvas* canvas)
{
    auto dc = CairoDrawContext::ForImage(canvas->Client().cx, canvas->Client().cy);
    for (auto _ : state)
        canvas->editor.Paint(*dc);
}

// The loop of the render benchmark, on a surface of the canvas's client size
// scrolled as the canvas is.
void BareCairo(benchmark::State& state, Canvas* canvas)
{
    const IntSize client = canvas->Client();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, client.cx, client.cy);
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, -canvas->editor.GetHScrollPos(), -canvas->editor.GetVScrollPos());
    cairo_set_line_width(cr, 1.0);
    CDiagramEntityContainer& form = *canvas->editor.GetDiagramEntityContainer();
    for (auto _ : state) {
        bench::DrawBareRectangles(cr, form);
        cairo_surface_flush(surface);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// The middle of the form's list, so a drag has room above and below.
std::vector<CDiagramEntity*> DraggedSelection(const CDiagramEntityContainer& form)
{
    std::vector<CDiagramEntity*> selection;
    const int first = (form.GetCount() - DraggedElements) / 2;
    for (int i = first; i < first + DraggedElements; ++i)
        selection.push_back(form.GetAt(i));
    return selection;
}

// A selected control large enough that its middle is body, not a handle.
CDiagramEntity* PickGrip(const std::vector<CDiagramEntity*>& selection)
{
    for (CDiagramEntity* e : selection) {
        const IntRect r = e->GetRect().Normalized();
        if (!IsShapeType(e->GetType()) && r.Width() >= 40 && r.Height() >= 18)
            return e;
    }
    return nullptr;
}

void GroupDragStep(benchmark::State& state)
{
    CDiagramEditor& editor = g_drag->editor;
    CDiagramEntityContainer& form = *editor.GetDiagramEntityContainer();
    const std::vector<CDiagramEntity*> selection = DraggedSelection(form);
    const std::vector<Rect> before = RectsOf(selection);
    CDiagramEntity* grip = PickGrip(selection);
    if (!grip) {
        state.SkipWithError("no element to grip in the selection");
        return;
    }

    editor.UnselectAll();
    for (CDiagramEntity* e : selection)
        e->Select(true);
    const IntRect onScreen = editor.VirtualToScreen(grip->GetRect());
    const IntPoint home{(onScreen.left + onScreen.right) / 2, (onScreen.top + onScreen.bottom) / 2};
    const IntPoint away{home.x, home.y + DragStep};
    editor.OnLButtonDown(home, Modifier::None);
    if (editor.GetInteractMode() != ModeMoving || !editor.GetMoveAnchor() ||
        editor.GetSelectCount() != DraggedElements) {
        state.SkipWithError("the press did not start a group move");
        editor.OnLButtonUp(home, Modifier::None);
        return;
    }
    editor.OnMouseMove(away, Modifier::None);
    const bool followed = SameRects(before, RectsOf(selection), DragStep);
    editor.OnMouseMove(home, Modifier::None);
    if (!followed || !SameRects(before, RectsOf(selection))) {
        state.SkipWithError("the selection did not follow the mouse");
        editor.OnLButtonUp(home, Modifier::None);
        return;
    }

    const IntPoint points[2] = {away, home};
    int next = 0;
    for (auto _ : state) {
        editor.OnMouseMove(points[next], Modifier::None);
        next ^= 1;
    }

    editor.OnMouseMove(home, Modifier::None);
    editor.OnLButtonUp(home, Modifier::None);
    const bool restored = SameRects(before, RectsOf(selection));
    editor.UnselectAll();
    form.ClearUndo();
    if (!restored)
        state.SkipWithError("the selection did not come back with the mouse");
}

void CopyDraggedRects(benchmark::State& state)
{
    const std::vector<Rect> rects = RectsOf(DraggedSelection(*g_drag->editor.GetDiagramEntityContainer()));
    for (auto _ : state) {
        std::vector<Rect> copy(rects);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

// The stack is emptied outside the timing, so every snapshot is the first.
void UndoSnapshot(benchmark::State& state)
{
    CDiagramEntityContainer& form = *g_snapshotDoc->GetMainForm();
    form.ClearUndo();
    for (auto _ : state) {
        form.Snapshot();
        state.PauseTiming();
        if (form.GetUndoCount() != 1) {
            state.SkipWithError("the snapshot was not taken");
            break;
        }
        form.ClearUndo();
        state.ResumeTiming();
    }
}

// Freed outside the timing too, as the snapshots are.
void CopySnapshotRects(benchmark::State& state)
{
    const std::vector<Rect> rects = RectsOf(ElementsOf(*g_snapshotDoc->GetMainForm()));
    std::optional<std::vector<Rect>> copy;
    for (auto _ : state) {
        copy.emplace(rects);
        benchmark::DoNotOptimize(copy->data());
        benchmark::ClobberMemory();
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}

// Every tenth element in list order; a selected field takes its caption along.
void SelectTenth(CDiagramEntityContainer& form)
{
    form.UnselectAll();
    for (int i = 0; i < form.GetCount(); i += 10)
        form.GetAt(i)->Select(true);
}

// Undo brings the form back outside the timing.
void DeleteTenth(benchmark::State& state, CDiagramEntityContainer* form)
{
    const int count = form->GetCount();
    form->ClearUndo();
    for (auto _ : state) {
        state.PauseTiming();
        SelectTenth(*form);
        form->Snapshot();
        state.ResumeTiming();
        form->DeleteAllSelected();
        state.PauseTiming();
        const bool deleted = form->GetCount() <= count - count / 10;
        form->Undo();
        form->ClearUndo();
        state.ResumeTiming();
        if (!deleted || form->GetCount() != count) {
            state.SkipWithError("the tenth was not deleted or did not come back");
            break;
        }
    }
    form->UnselectAll();
}

// Grouped once before the timing, so each select all meets one group, as
// the second select all + group of an editing session does.
void SelectAllGroup(benchmark::State& state, CDiagramEntityContainer* form)
{
    form->SelectAll();
    form->Group();
    for (auto _ : state) {
        state.PauseTiming();
        form->UnselectAll();
        state.ResumeTiming();
        form->SelectAll();
        form->Group();
    }
    const int group = form->GetAt(0)->GetGroup();
    bool one = group != 0;
    for (int i = 0; i < form->GetCount(); ++i)
        one = one && form->GetAt(i)->IsSelected() && form->GetAt(i)->GetGroup() == group;
    form->Ungroup();
    form->UnselectAll();
    if (!one)
        state.SkipWithError("select all + group did not make one selected group");
}

// Whether every element that lies wholly in the client area left a mark
// there (a pixel other than the paper's face); answers how many did not.
int UnmarkedElements(const Canvas& canvas, const CairoDrawContext& dc)
{
    const Color face = dc.GetSysColor(SysColor::BtnFace);
    const CDiagramEntityContainer& form = *canvas.editor.GetDiagramEntityContainer();
    const IntRect client{0, 0, canvas.Client().cx, canvas.Client().cy};
    int unmarked = 0;
    for (int i = 0; i < form.GetCount(); ++i) {
        const IntRect r = canvas.editor.VirtualToScreen(form.GetAt(i)->GetRect());
        if (r.Intersection(client) != r || r.IsEmpty())
            continue;
        bool marked = false;
        for (int y = r.top; y < r.bottom && !marked; ++y)
            for (int x = r.left; x < r.right && !marked; ++x)
                marked = dc.PixelAt(x, y) != face;
        unmarked += marked ? 0 : 1;
    }
    return unmarked;
}

// Shapes cut by the client's edge are antialiased a shade differently
// there; anything missing or misplaced differs by far more.
bool Distinct(Color a, Color b)
{
    auto apart = [](int u, int v) { return std::abs(u - v) > 32; };
    return apart(a.r, b.r) || apart(a.g, b.g) || apart(a.b, b.b);
}

// Paints both canvases once and checks that the elements were drawn, that
// the quarter shows what the whole paper shows there, and that it leaves out
// what it does not show.
bool CheckPainting()
{
    const IntSize whole = g_whole->Client();
    const IntSize quarter = g_quarter->Client();
    auto wholeDc = CairoDrawContext::ForImage(whole.cx, whole.cy);
    auto quarterDc = CairoDrawContext::ForImage(quarter.cx, quarter.cy);
    g_whole->editor.Paint(*wholeDc);
    g_quarter->editor.Paint(*quarterDc);

    if (int unmarked = UnmarkedElements(*g_whole, *wholeDc)) {
        std::fprintf(stderr, "%d elements left no mark on the whole paper\n", unmarked);
        return false;
    }
    const int dx = g_quarter->editor.GetHScrollPos();
    const int dy = g_quarter->editor.GetVScrollPos();
    long differing = 0;
    for (int y = 0; y < quarter.cy; ++y)
        for (int x = 0; x < quarter.cx; ++x)
            differing += Distinct(quarterDc->PixelAt(x, y), wholeDc->PixelAt(x + dx, y + dy)) ? 1 : 0;
    if (differing) {
        std::fprintf(stderr, "the quarter view differs from the whole paper in %ld pixels\n", differing);
        return false;
    }

    // A quarter of the paper holds about a quarter of the elements; drawing
    // the others would make the smaller view barely cheaper.
    RecordingDrawContext wholeCalls;
    RecordingDrawContext quarterCalls;
    g_whole->editor.Paint(wholeCalls);
    g_quarter->editor.Paint(quarterCalls);
    const std::size_t all = wholeCalls.Calls().size();
    const std::size_t part = quarterCalls.Calls().size();
    std::printf("drawing calls of a repaint: whole paper %zu, quarter %zu\n", all, part);
    if (part * 2 > all) {
        std::fprintf(stderr, "the quarter view draws elements it does not show\n");
        return false;
    }
    return true;
}

bool CheckSnapshot(CDiagramEntityContainer& form)
{
    const std::vector<Rect> before = RectsOf(ElementsOf(form));
    form.ClearUndo();
    form.Snapshot();
    form.RemoveAll();
    form.Undo();
    return form.GetUndoCount() == 0 && SameRects(before, RectsOf(ElementsOf(form)));
}

// Keeps the median of each benchmark's repetitions.
std::string Duration(double seconds)
{
    char text[32];
    if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    return text;
}

void PrintRatio(bench::MedianReporter& reporter, const char* label, const char* measured, const char* baseline)
{
    auto m = reporter.medians.find(measured);
    auto b = reporter.medians.find(baseline);
    if (m == reporter.medians.end() || b == reporter.medians.end() || b->second <= 0) {
        std::printf("%-34s no result\n", label);
        return;
    }
    std::printf("%-34s median %s, %s %s, ratio %.2fx\n", label, Duration(m->second).c_str(), baseline,
                Duration(b->second).c_str(), m->second / b->second);
}

// The fixed view's repaint at each size, each against the 1k one.
void PrintFixedView(bench::MedianReporter& reporter)
{
    const char* names[] = {"RepaintFixedView1k", "RepaintFixedView10k", "RepaintFixedView100k"};
    auto small = reporter.medians.find(names[0]);
    if (small == reporter.medians.end() || small->second <= 0) {
        std::printf("%-34s no result\n", "repaint a fixed view:");
        return;
    }
    for (int i = 0; i < 3; ++i) {
        auto m = reporter.medians.find(names[i]);
        if (m == reporter.medians.end()) {
            std::printf("%-34s no result\n", names[i]);
            continue;
        }
        const int count = g_fixedViews[i]->editor.GetDiagramEntityContainer()->GetCount();
        char label[128];
        std::snprintf(label, sizeof label, "repaint %dx%d of %d elements:", FixedView.cx, FixedView.cy, count);
        std::printf("%-34s median %s, %s %s, ratio %.2fx\n", label, Duration(m->second).c_str(), names[0],
                    Duration(small->second).c_str(), m->second / small->second);
    }
}

// The 10k and 100k figures of one operation, the larger against the smaller.
void PrintGrowth(bench::MedianReporter& reporter, const char* what, const std::string& small, const std::string& large)
{
    auto s = reporter.medians.find(small);
    auto l = reporter.medians.find(large);
    if (s == reporter.medians.end() || l == reporter.medians.end() || s->second <= 0) {
        std::printf("%-34s no result\n", what);
        return;
    }
    std::printf("%-34s %d elements %s, %d elements %s, ratio %.2fx\n", what, g_largeDocs[0]->GetMainForm()->GetCount(),
                Duration(s->second).c_str(), g_largeDocs[1]->GetMainForm()->GetCount(), Duration(l->second).c_str(),
                l->second / s->second);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::SetUpBenchEnvironment(FORMWRIGHT_SOURCE_DATA_DIR);

    std::string folder = (std::filesystem::temp_directory_path() / "fw-editor-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror(folder.c_str());
        return 1;
    }
    g_paintDoc = ReadGenerated(PaintElements, folder);
    g_dragDoc = ReadGenerated(PaintElements, folder);
    g_snapshotDoc = ReadGenerated(SnapshotElements, folder);
    for (int i = 0; i < 2; ++i)
        g_largeDocs[i] = ReadGenerated(LargeElements[i], folder);
    g_smallViewDoc = ReadGenerated(SmallViewElements, folder);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    if (!g_paintDoc || !g_dragDoc || !g_snapshotDoc || !g_largeDocs[0] || !g_largeDocs[1] || !g_smallViewDoc) {
        std::fprintf(stderr, "a generated form did not read whole\n");
        return 1;
    }

    // Room for the zoomed paper and its outline, so no scroll bar shows.
    CDiagramEntityContainer& paintForm = *g_paintDoc->GetMainForm();
    const IntSize paper = paintForm.GetPaper();
    const IntSize whole{paper.cx + 8, paper.cy + 8};
    g_whole = std::make_unique<Canvas>(paintForm, whole);
    g_quarter = std::make_unique<Canvas>(paintForm, IntSize{paper.cx / 2, paper.cy / 2});
    g_quarter->editor.SetHScroll(paper.cx / 4);
    g_quarter->editor.SetVScroll(paper.cy / 4);
    g_drag = std::make_unique<Canvas>(*g_dragDoc->GetMainForm(), whole);
    if (!g_whole->created || !g_quarter->created || !g_drag->created) {
        std::fprintf(stderr, "the editor could not be created\n");
        return 1;
    }
    if (g_whole->editor.GetScrollBar(Orientation::Horizontal).shown ||
        g_whole->editor.GetScrollBar(Orientation::Vertical).shown ||
        g_quarter->editor.GetHScrollPos() != paper.cx / 4 || g_quarter->editor.GetVScrollPos() != paper.cy / 4) {
        std::fprintf(stderr, "the canvases do not show what they should\n");
        return 1;
    }
    if (!CheckPainting())
        return 1;
    // Made before the large forms are edited below; every form fills the view.
    CDiagramEntityContainer* viewForms[] = {g_smallViewDoc->GetMainForm(), g_largeDocs[0]->GetMainForm(),
                                            g_largeDocs[1]->GetMainForm()};
    for (int i = 0; i < 3; ++i) {
        g_fixedViews[i] = std::make_unique<Canvas>(*viewForms[i], FixedView);
        const IntSize formPaper = viewForms[i]->GetPaper();
        if (!g_fixedViews[i]->created || formPaper.cx < FixedView.cx || formPaper.cy < FixedView.cy ||
            g_fixedViews[i]->editor.GetHScrollPos() != 0 || g_fixedViews[i]->editor.GetVScrollPos() != 0) {
            std::fprintf(stderr, "the fixed view does not show the top left of a full form\n");
            return 1;
        }
    }
    if (!CheckSnapshot(*g_snapshotDoc->GetMainForm())) {
        std::fprintf(stderr, "undoing a snapshot did not bring the form back\n");
        return 1;
    }

    auto add = [](const char* name, benchmark::TimeUnit unit, auto fn, auto... args) {
        benchmark::RegisterBenchmark(name, fn, args...)
            ->Unit(unit)
            ->UseRealTime()
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
    };
    using benchmark::kMicrosecond;
    using benchmark::kMillisecond;
    add("RepaintWhole", kMillisecond, EditorRepaint, g_whole.get());
    add("BareCairoWhole", kMillisecond, BareCairo, g_whole.get());
    add("RepaintQuarter", kMillisecond, EditorRepaint, g_quarter.get());
    add("BareCairoQuarter", kMillisecond, BareCairo, g_quarter.get());
    add("GroupDragStep", kMicrosecond, GroupDragStep);
    add("CopyDraggedRects", kMicrosecond, CopyDraggedRects);
    add("UndoSnapshot", kMillisecond, UndoSnapshot);
    add("CopySnapshotRects", kMicrosecond, CopySnapshotRects);
    add("RepaintFixedView1k", kMillisecond, EditorRepaint, g_fixedViews[0].get());
    add("RepaintFixedView10k", kMillisecond, EditorRepaint, g_fixedViews[1].get());
    add("RepaintFixedView100k", kMillisecond, EditorRepaint, g_fixedViews[2].get());
    // One run of the larger form may take seconds: fewer repetitions.
    for (int i = 0; i < 2; ++i) {
        CDiagramEntityContainer* form = g_largeDocs[i]->GetMainForm();
        const std::string size = std::to_string(LargeElements[i] / 1000) + "k";
        benchmark::RegisterBenchmark(("DeleteTenth" + size).c_str(), DeleteTenth, form)
            ->Unit(kMillisecond)
            ->UseRealTime()
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("SelectAllGroup" + size).c_str(), SelectAllGroup, form)
            ->Unit(kMillisecond)
            ->UseRealTime()
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    }

    bench::MedianReporter reporter;
    if (!bench::RunBenchmarks(argc, argv, reporter))
        return 1;

    std::printf("\n");
    char label[128];
    std::snprintf(label, sizeof label, "repaint %d elements, %dx%d:", paintForm.GetCount(), whole.cx, whole.cy);
    PrintRatio(reporter, label, "RepaintWhole", "BareCairoWhole");
    std::snprintf(label, sizeof label, "repaint a quarter, %dx%d:", g_quarter->Client().cx, g_quarter->Client().cy);
    PrintRatio(reporter, label, "RepaintQuarter", "BareCairoQuarter");
    PrintRatio(reporter, "quarter against whole:", "RepaintQuarter", "RepaintWhole");
    std::snprintf(label, sizeof label, "drag step, %d selected:", DraggedElements);
    PrintRatio(reporter, label, "GroupDragStep", "CopyDraggedRects");
    std::snprintf(label, sizeof label, "undo snapshot, %d elements:", g_snapshotDoc->GetMainForm()->GetCount());
    PrintRatio(reporter, label, "UndoSnapshot", "CopySnapshotRects");
    PrintFixedView(reporter);
    PrintGrowth(reporter, "delete a tenth:", "DeleteTenth10k", "DeleteTenth100k");
    PrintGrowth(reporter, "select all + group:", "SelectAllGroup10k", "SelectAllGroup100k");

    for (auto& view : g_fixedViews)
        view.reset();
    g_drag.reset();
    g_quarter.reset();
    g_whole.reset();
    return 0;
}
