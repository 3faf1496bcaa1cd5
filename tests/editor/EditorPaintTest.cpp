// Painting of the canvas editor, read from a RecordingDrawContext:
// grid dots, margins, paper markers, the layer order, what lies outside the
// window, zoom limits, scroll bars and the button bar preview.

#include "render/RecordingDrawContext.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>

using namespace fw;
using fw::test::EditorRig;

namespace {

// Draws a rectangle outlined in red `id`, so the recording shows who painted when.
class Probe : public CDiagramEntity {
public:
    Probe(const std::string& type, std::uint8_t id) : m_id(id) { SetType(type); }
    void DrawObject(DrawContext& dc, const IntRect& rect) override
    {
        const Pen old = dc.SelectPen(Pen::Solid({m_id, 0, 0}));
        dc.Rectangle(rect);
        dc.SelectPen(old);
    }

private:
    std::uint8_t m_id;
};

Probe* PutProbe(EditorRig& rig, const char* type, std::uint8_t id, double l, double t, double r, double b)
{
    auto probe = std::make_unique<Probe>(type, id);
    probe->SetRect(l, t, r, b);
    Probe* raw = probe.get();
    rig.form.Add(std::move(probe));
    return raw;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

bool IsState(const std::string& line)
{
    return StartsWith(line, "Select") || StartsWith(line, "Set");
}

// The integers of the first "a,b[,c,d]" token after the command.
std::vector<int> FirstTuple(const std::string& line)
{
    std::vector<int> values;
    std::istringstream in(line.substr(line.find(' ') + 1));
    std::string token;
    in >> token;
    std::istringstream parts(token);
    std::string part;
    while (std::getline(parts, part, ','))
        values.push_back(std::stoi(part));
    return values;
}

// Every straight line drawn, as a pair of end points in ascending order.
std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> Segments(const RecordingDrawContext& dc)
{
    std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> out;
    std::pair<int, int> at{0, 0};
    for (const std::string& line : dc.Calls()) {
        if (StartsWith(line, "MoveTo") || StartsWith(line, "LineTo")) {
            std::vector<int> p = FirstTuple(line);
            std::pair<int, int> to{p[0], p[1]};
            if (StartsWith(line, "LineTo"))
                out.push_back({std::min(at, to), std::max(at, to)});
            at = to;
        } else if (StartsWith(line, "Polyline")) {
            std::istringstream in(line.substr(9));
            std::string token;
            std::vector<std::pair<int, int>> points;
            while (in >> token && token.find('=') == std::string::npos) {
                int x = 0, y = 0;
                std::sscanf(token.c_str(), "%d,%d", &x, &y);
                points.push_back({x, y});
            }
            for (size_t i = 1; i < points.size(); ++i)
                out.push_back({std::min(points[i - 1], points[i]), std::max(points[i - 1], points[i])});
        }
    }
    return out;
}

// The rectangle of a DrawText line (after the quoted text).
IntRect TextRect(const std::string& line)
{
    size_t end = line.find('"') + 1;
    while (line[end] != '"')
        end += line[end] == '\\' ? 2 : 1;
    IntRect r;
    std::sscanf(line.c_str() + end + 1, " %d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

size_t FirstIndex(const RecordingDrawContext& dc, const std::string& needle)
{
    const auto& calls = dc.Calls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].find(needle) != std::string::npos && !IsState(calls[i]))
            return i;
    return calls.size();
}

}  // namespace

TEST(EditorPaint, FormGridIsOneDotPerIntersection)
{
    EditorRig rig({300, 200});
    RecordingDrawContext dc;
    rig.editor.DrawGrid(dc, rig.editor.GetZoomedPaperRect(), 1.0);
    std::set<std::pair<int, int>> dots;
    for (const std::string& line : dc.Calls()) {
        if (IsState(line) || StartsWith(line, "LineTo"))
            continue;
        if (!StartsWith(line, "MoveTo")) {
            EXPECT_NE(line.find("192,192,192"), std::string::npos) << line;
        }
        std::vector<int> p = FirstTuple(line);
        dots.insert({p[0], p[1]});
    }
    EXPECT_EQ(dots.size(), 38u * 26u);
    EXPECT_EQ(std::max_element(dots.begin(), dots.end())->first, 296);
    EXPECT_TRUE(std::all_of(dots.begin(), dots.end(), [](auto d) { return d.first % 8 == 0 && d.second % 8 == 0; }));
    EXPECT_TRUE(dots.count({296, 200}));

    // The base editor draws lines instead: 38 vertical and 26 horizontal.
    RecordingDrawContext lines;
    rig.editor.CDiagramEditor::DrawGrid(lines, rig.editor.GetZoomedPaperRect(), 1.0);
    EXPECT_EQ(Segments(lines).size(), 38u + 26u);
}

TEST(EditorPaint, MarginsAreZoomedAndAZeroMarginDrawsNoLine)
{
    EditorRig rig({300, 200});
    rig.editor.SetZoom(0.5);
    const IntRect paper = rig.editor.GetZoomedPaperRect();
    ASSERT_EQ(paper, (IntRect{0, 0, 151, 101}));

    RecordingDrawContext dc;
    rig.editor.DrawMargins(dc, paper, 0.5);  // round(7 * 0.5) = 4
    using P = std::pair<int, int>;
    auto segments = Segments(dc);
    std::sort(segments.begin(), segments.end());
    EXPECT_EQ(segments, (std::vector<std::pair<P, P>>{
                            {{4, 4}, {4, 96}}, {{4, 4}, {146, 4}}, {{4, 96}, {146, 96}}, {{146, 4}, {146, 96}}}));
    for (const std::string& line : dc.CallsStartingWith("LineTo"))
        EXPECT_NE(line.find("128,128,255"), std::string::npos) << line;

    rig.editor.SetMargins(0, 7, 7, 7);
    RecordingDrawContext noLeft;
    rig.editor.DrawMargins(noLeft, paper, 0.5);
    segments = Segments(noLeft);
    EXPECT_EQ(segments.size(), 3u);
    for (const auto& s : segments)
        EXPECT_FALSE(s.first.first == 0 && s.second.first == 0);
}

TEST(EditorPaint, PaperMarkersAreDrawnInTheirOrderOnlyWhenShown)
{
    EditorRig rig({300, 200});
    rig.editor.SetPaperResize(true);
    EXPECT_EQ(rig.editor.GetPaperMarkerRect(HitCode::TopLeft), (IntRect{-4, -4, 4, 4}));
    EXPECT_EQ(rig.editor.GetPaperMarkerRect(HitCode::Top), (IntRect{146, -4, 154, 4}));
    EXPECT_EQ(rig.editor.GetPaperMarkerRect(HitCode::BottomRight), (IntRect{296, 196, 304, 204}));
    EXPECT_EQ(rig.editor.GetPaperMarkerRect(HitCode::Left), (IntRect{-4, 96, 4, 104}));

    RecordingDrawContext hidden;
    rig.editor.Paint(hidden);
    EXPECT_EQ(hidden.Dump().find("296,196,304,204"), std::string::npos);

    rig.Click(295, 100);
    ASSERT_TRUE(rig.editor.ArePaperMarkersShown());
    RecordingDrawContext dc;
    rig.editor.DrawPaperMarkers(dc);
    std::vector<IntRect> drawn;
    for (const std::string& line : dc.Calls()) {
        if (IsState(line))
            continue;
        std::vector<int> r = FirstTuple(line);
        ASSERT_EQ(r.size(), 4u) << line;
        IntRect rect{r[0], r[1], r[2], r[3]};
        if (drawn.empty() || drawn.back() != rect)
            drawn.push_back(rect);
        EXPECT_NE(line.find("0,0,0"), std::string::npos) << line;
    }
    std::vector<IntRect> expected;
    for (int code : {2, 3, 4, 5, 6, 7, 9, 8})
        expected.push_back(rig.editor.GetPaperMarkerRect(code));
    EXPECT_EQ(drawn, expected);

    RecordingDrawContext shown;
    rig.editor.Paint(shown);
    EXPECT_NE(shown.Dump().find("296,196,304,204"), std::string::npos);
}

TEST(EditorPaint, LayersAreGridMarginsShapesControlsMarkersButtonBar)
{
    EditorRig rig({300, 200});
    rig.editor.ShowMargins(true);
    rig.editor.SetGridColor(EditorColour::Fixed({11, 22, 33}));
    Probe* control = PutProbe(rig, "static", 1, 20, 20, 60, 40);
    PutProbe(rig, "Ellipse", 2, 30, 30, 70, 50);  // above the control in the list
    PutProbe(rig, "editbox", 3, 80, 20, 120, 40);
    control->Select(true);

    RecordingDrawContext dc;
    rig.editor.Paint(dc);
    const size_t grid = FirstIndex(dc, "11,22,33");
    const size_t margins = FirstIndex(dc, "128,128,255");
    const size_t shape = FirstIndex(dc, "pen=solid/0/2,0,0");
    const size_t first = FirstIndex(dc, "pen=solid/0/1,0,0");
    const size_t second = FirstIndex(dc, "pen=solid/0/3,0,0");
    const size_t marker = FirstIndex(dc, "Rectangle 16,16,24,24");  // the control's top-left handle
    const size_t bar = FirstIndex(dc, "\"-- >\"");
    EXPECT_LT(grid, margins);
    EXPECT_LT(margins, shape);
    EXPECT_LT(shape, first);
    EXPECT_LT(first, second);
    EXPECT_LT(second, marker);
    EXPECT_LT(marker, bar);
    EXPECT_LT(bar, dc.Calls().size());
}

TEST(EditorPaint, ElementsOutsideTheWindowAreNotPainted)
{
    EditorRig rig({700, 600}, {200, 150});
    PutProbe(rig, "static", 1, 10, 10, 50, 30);
    PutProbe(rig, "static", 2, 500, 400, 540, 430);

    RecordingDrawContext top;
    rig.editor.Paint(top);
    EXPECT_LT(FirstIndex(top, "pen=solid/0/1,0,0"), top.Calls().size());
    EXPECT_EQ(FirstIndex(top, "pen=solid/0/2,0,0"), top.Calls().size());

    rig.editor.SetHScroll(450);
    rig.editor.SetVScroll(350);
    RecordingDrawContext scrolled;
    rig.editor.Paint(scrolled);
    EXPECT_EQ(FirstIndex(scrolled, "pen=solid/0/1,0,0"), scrolled.Calls().size());
    EXPECT_LT(FirstIndex(scrolled, "pen=solid/0/2,0,0"), scrolled.Calls().size());
}

TEST(EditorPaint, ZoomIsCappedAndScrollBarsAppearOnlyForALargerPaper)
{
    EditorRig rig;  // 700 x 600 in 1000 x 800
    EXPECT_FALSE(rig.editor.GetScrollBar(Orientation::Horizontal).shown);
    EXPECT_FALSE(rig.editor.GetScrollBar(Orientation::Vertical).shown);
    EXPECT_FALSE(rig.host.GetScrollBar(Orientation::Horizontal).shown);
    EXPECT_EQ(rig.editor.GetHScrollPos(), 0);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 0);

    rig.editor.SetZoom(25.0);
    EXPECT_EQ(rig.editor.GetZoom(), 10.0);
    rig.editor.SetZoom(2.0);
    const ScrollBarState h = rig.editor.GetScrollBar(Orientation::Horizontal);
    const ScrollBarState v = rig.editor.GetScrollBar(Orientation::Vertical);
    EXPECT_TRUE(h.shown && v.shown);
    // The range runs over the zoomed paper rectangle, one pixel over 700 x 2.0.
    EXPECT_EQ(h.range, rig.editor.GetZoomedPaperRect().right);
    EXPECT_GE(h.range, 1400);
    EXPECT_LE(h.range, 1401);
    EXPECT_EQ(h.page, 1000);
    EXPECT_EQ(v.range, rig.editor.GetZoomedPaperRect().bottom);
    EXPECT_EQ(v.page, 800);
    EXPECT_EQ(rig.host.GetScrollBar(Orientation::Horizontal), h);
    EXPECT_EQ(rig.host.GetScrollBar(Orientation::Vertical), v);

    rig.host.SetClientSize({1500, 1000});  // wide enough now, not tall enough
    EXPECT_FALSE(rig.editor.GetScrollBar(Orientation::Horizontal).shown);
    EXPECT_FALSE(rig.host.GetScrollBar(Orientation::Horizontal).shown);
    EXPECT_EQ(rig.editor.GetScrollBar(Orientation::Vertical).page, 1000);

    rig.editor.OnVScroll(ScrollRequest::LineDown);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 1);
    rig.editor.OnVScroll(ScrollRequest::ThumbTrack, 150);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 150);
    rig.editor.OnVScroll(ScrollRequest::Top);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 0);
    rig.editor.OnVScroll(ScrollRequest::LineUp);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 0);
    rig.editor.SetVScroll(-5);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 0);
}

TEST(EditorPaint, ButtonBarSitsAboveTheBottomMarginAndZoomsWithThePaper)
{
    EditorRig rig({300, 200});  // W 300, H 200, margins 7: y0 = 200 - 14 - 23 - 8 = 155
    // The caption rectangles, in the order drawn, and their font.
    auto captions = [&](double zoom, std::string& font) {
        rig.editor.SetZoom(zoom);
        RecordingDrawContext dc;
        rig.editor.DrawButtonBar(dc);
        std::vector<IntRect> rects;
        for (const std::string& line : dc.CallsStartingWith("DrawText")) {
            rects.push_back(TextRect(line));
            font = line.substr(line.find("font=") + 5);
            font = font.substr(0, font.find(' '));
        }
        return rects;
    };
    std::string font;
    const std::vector<IntRect> unzoomed{{222, 137, 287, 150},  // Cancel (217,132)-(292,155), caption inset by 5
                                        {142, 137, 207, 150},  // OK, 80 pixels to its left
                                        {12, 134, 27, 150},    // the small buttons at L, L+28, L+66, L+94
                                        {40, 134, 55, 150},   {78, 134, 93, 150}, {106, 134, 121, 150}};
    EXPECT_EQ(captions(1.0, font), unzoomed);
    EXPECT_EQ(font, "Arial/8pt/400");

    // Each button's edges zoomed, the inset too (round half up), and the
    // font of 8 points (10.67 pixels) with them: the bar stays at the bottom.
    const struct {
        double zoom;
        int inset;
        const char* font;
    } zooms[] = {{2.0, 10, "Arial/-21/400"}, {0.5, 3, "Arial/-5/400"}};
    for (const auto& z : zooms) {
        std::vector<IntRect> expected;
        for (const IntRect& r : unzoomed) {
            const IntRect button = r.Inflated(5, 5);
            expected.push_back(IntRect{ZoomEdge(button.left, z.zoom), ZoomEdge(button.top, z.zoom),
                                       ZoomEdge(button.right, z.zoom), ZoomEdge(button.bottom, z.zoom)}
                                   .Inflated(-z.inset, -z.inset));
        }
        EXPECT_EQ(captions(z.zoom, font), expected) << z.zoom;
        EXPECT_EQ(font, z.font) << z.zoom;
    }
    EXPECT_EQ(captions(2.0, font)[0], (IntRect{444, 274, 574, 300}));  // Cancel (434,264)-(584,310)
}
