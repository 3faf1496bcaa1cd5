#include "editor/ButtonBarLayout.h"

#include "model/DiagramEntity.h"

namespace fw {

namespace {

constexpr int ButtonWidth = 75;   // 50 dialog units
constexpr int ButtonHeight = 23;  // 14 dialog units
constexpr int Gap = 5;            // 3 dialog units
constexpr int Spacing = 8;        // 5 dialog units
constexpr int SmallHeight = 26;
constexpr int SmallWidth = 25;
constexpr int SmallLefts[] = {0, 28, 66, 94};
constexpr int TextInset = 5;

}  // namespace

ButtonBarLayout LayOutButtonBar(IntSize paper, int left, int top, int bottom, double zoom)
{
    const int W = paper.cx;
    const int H = paper.cy;
    const IntRect strip{left, H - 2 * top - ButtonHeight, W - 8, H - bottom - top};
    const int y0 = strip.top - Spacing;
    const IntRect cancel{W - 8 - ButtonWidth, y0 - ButtonHeight, W - 8, y0};
    const int shift = ButtonWidth + Gap;

    auto zoomed = [zoom](const IntRect& r) {
        return IntRect{ZoomEdge(r.left, zoom), ZoomEdge(r.top, zoom), ZoomEdge(r.right, zoom),
                       ZoomEdge(r.bottom, zoom)};
    };
    ButtonBarLayout bar;
    bar.strip = zoomed(strip);
    bar.cancel = zoomed(cancel);
    bar.ok = zoomed(cancel.Offset(-shift, 0));
    for (size_t i = 0; i < bar.small.size(); ++i)
        bar.small[i] = zoomed({left + SmallLefts[i], y0 - SmallHeight, left + SmallLefts[i] + SmallWidth, y0});
    bar.box = zoomed({left + 119, y0 - SmallHeight, left + 174, y0});
    bar.textInset = ZoomEdge(TextInset, zoom);
    return bar;
}

}  // namespace fw
