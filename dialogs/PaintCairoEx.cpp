#include "dialogs/PaintCairoEx.h"

namespace fw {

PaintCairoEx::PaintCairoEx(wxPaintDC& dc)
{
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!gc) {
        m_own.reset(wxGraphicsRenderer::GetCairoRenderer()->CreateContext(dc));
        gc = m_own.get();
    }
    m_cairo = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
}

PaintCairoEx::~PaintCairoEx() = default;

}  // namespace fw
