// A sample form on the canvas, drawn by the real backend at three zooms and
// compared with pictures that were checked by eye when they were made.
// FORMWRIGHT_UPDATE_GOLDENS=1 rewrites them.

#include "controls/StandardControls.h"
#include "editor/FormView.h"
#include "editor/HeadlessHost.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "render/CairoDrawContext.h"
#include "support/TestElements.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace fw;

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Share of pixels whose colour differs by more than a little in any channel;
// font hinting may move a few edges between machines.
double DifferingShare(const CairoDrawContext& drawn, cairo_surface_t* golden, int width, int height)
{
    const unsigned char* data = cairo_image_surface_get_data(golden);
    const int stride = cairo_image_surface_get_stride(golden);
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t want;
            std::memcpy(&want, data + y * stride + x * 4, 4);
            Color got = drawn.PixelAt(x, y);
            int dr = std::abs(int(got.r) - int((want >> 16) & 0xff));
            int dg = std::abs(int(got.g) - int((want >> 8) & 0xff));
            int db = std::abs(int(got.b) - int(want & 0xff));
            if (std::max({dr, dg, db}) > 48)
                ++differing;
        }
    }
    return double(differing) / (double(width) * height);
}

class GoldenRender : public ::testing::TestWithParam<double> {};

}  // namespace

TEST_P(GoldenRender, SampleFormLooksAsTheCanvasShowedIt)
{
    const double zoom = GetParam();
    ElementFactory::Global().Clear();
    RegisterStandardControls(ElementFactory::Global());
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml"));
    // As a window shows it, margins and button bar included, just big enough.
    FormView view(doc);
    HeadlessHost host;
    host.Attach(&view.GetEditor());
    view.OnInitialUpdate(&host, nullptr);
    view.GetEditor().SetZoom(zoom);
    const IntRect paper = view.GetEditor().GetZoomedPaperRect();
    host.SetClientSize({paper.Width(), paper.Height()});
    auto dc = CairoDrawContext::ForImage(paper.Width(), paper.Height());
    ASSERT_TRUE(dc);
    view.GetEditor().Paint(*dc);

    const std::string golden =
        fw::test::FixturePath("golden/PUMP_Main-" + std::to_string(int(zoom * 100 + 0.5)) + ".png");
    if (std::getenv("FORMWRIGHT_UPDATE_GOLDENS")) {
        ASSERT_TRUE(dc->WritePng(golden));
        GTEST_SKIP() << "wrote " << golden;
    }
    Surface expected(cairo_image_surface_create_from_png(golden.c_str()));
    ASSERT_EQ(cairo_surface_status(expected.get()), CAIRO_STATUS_SUCCESS) << golden;
    ASSERT_EQ(cairo_image_surface_get_width(expected.get()), paper.Width());
    ASSERT_EQ(cairo_image_surface_get_height(expected.get()), paper.Height());
    EXPECT_LT(DifferingShare(*dc, expected.get(), paper.Width(), paper.Height()), 0.005);
}

INSTANTIATE_TEST_SUITE_P(Zooms, GoldenRender, ::testing::Values(0.5, 1.0, 2.0));
