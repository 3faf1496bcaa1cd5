#pragma once
// The cairo context to paint a window through, taken from its paint DC.

#include <wx/dcclient.h>
#include <wx/graphics.h>

#include <memory>

typedef struct _cairo cairo_t;

namespace fw {

// wxGTK paints through cairo and hands out its own context; elsewhere one is
// made for the DC and lives as long as this object. Get() is null when
// neither is to be had.
class PaintCairoEx {
public:
    explicit PaintCairoEx(wxPaintDC& dc);
    PaintCairoEx(const PaintCairoEx&) = delete;
    PaintCairoEx& operator=(const PaintCairoEx&) = delete;
    ~PaintCairoEx();

    cairo_t* Get() const { return m_cairo; }

private:
    std::unique_ptr<wxGraphicsContext> m_own;
    cairo_t* m_cairo = nullptr;
};

}  // namespace fw
