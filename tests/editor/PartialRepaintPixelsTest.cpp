// A repaint of a form view, scrolled or not and cut to a window's update
// area, must set there exactly the pixels of the same repaint uncut, with the
// grid drawn dot by dot and the handles one by one: whatever the backend
// leaves out, batches or draws as a pattern changes nothing visible.

#include "controls/StandardControls.h"
#include "editor/DEditor.h"
#include "editor/FormPainter.h"
#include "editor/HeadlessHost.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "render/CairoDrawContext.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace fw;

namespace {

// Grid dots and handles the plain way, each filled on its own.
class OneByOne : public CairoDrawContext {
public:
    using CairoDrawContext::CairoDrawContext;
    void Rectangles(const IntRect* rects, std::size_t count) override { DrawContext::Rectangles(rects, count); }
    void FillPixelGrid(const std::vector<int>& columns, const std::vector<int>& rows, Color color) override
    {
        DrawContext::FillPixelGrid(columns, rows, color);
    }
};

struct View {
    View(CDiagramEntityContainer& form, IntSize client, double zoom, int cell) : host(client)
    {
        host.Attach(&editor);
        editor.Create(&host, &form);
        editor.ShowGrid(true);
        editor.SetGridSize({cell, cell});
        editor.SetZoom(zoom);
    }
    HeadlessHost host;
    CDEditor editor;
};

// The view painted on a gray image, through `clip` when there is one.
template <class Context> std::vector<std::uint32_t> Painted(View& view, const IntRect* clip = nullptr)
{
    const IntSize size = view.host.GetClientSize();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    if (clip) {
        cairo_rectangle(cr, clip->left, clip->top, clip->Width(), clip->Height());
        cairo_clip(cr);
    }
    {
        Context dc(cr);
        view.editor.Paint(dc);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::vector<std::uint32_t> pixels;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x]);
    cairo_surface_destroy(surface);
    return pixels;
}

}  // namespace

TEST(PartialRepaint, SetsThePixelsOfAPlainRepaintWithGridAndHandles)
{
    ElementFactory::Global().Clear();
    RegisterStandardControls(ElementFactory::Global());
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml"));
    CDiagramEntityContainer& form = *doc.GetMainForm();
    for (int i = 0; i < form.GetCount(); i += 3)
        form.GetAt(i)->Select(true);

    for (double zoom : {0.5, 1.0, 2.0, 3.0})
        for (int cell : {5, 8, 13}) {
            const IntRect paper = ZoomedPaper(form, zoom);
            const IntSize part{paper.right / 2, paper.bottom / 2};
            for (IntPoint scroll : {IntPoint{0, 0}, IntPoint{paper.right / 4 + 1, paper.bottom / 5}}) {
                View view(form, part, zoom, cell);
                view.editor.SetHScroll(scroll.x);
                view.editor.SetVScroll(scroll.y);
                ASSERT_EQ(view.editor.GetHScrollPos(), scroll.x);
                ASSERT_EQ(view.editor.GetVScrollPos(), scroll.y);
                const std::vector<std::uint32_t> plain = Painted<OneByOne>(view);
                // The whole window, and an update area with odd edges.
                for (const IntRect& area :
                     {IntRect{0, 0, part.cx, part.cy}, IntRect{13, 7, part.cx / 2 + 1, part.cy - 5}}) {
                    const std::vector<std::uint32_t> drawn = Painted<CairoDrawContext>(view, &area);
                    int differing = 0;
                    for (int y = 0; y < part.cy; ++y)
                        for (int x = 0; x < part.cx; ++x) {
                            const std::uint32_t want = area.Contains({x, y}) ? plain[y * part.cx + x] : 0xFF808080u;
                            differing += drawn[y * part.cx + x] != want;
                        }
                    EXPECT_EQ(differing, 0)
                        << "zoom " << zoom << " grid " << cell << " scroll " << scroll.x << " area " << area.left;
                }
            }
        }
}
