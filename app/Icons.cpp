#include "app/Icons.h"

#include <wx/bmpbndl.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <memory>

namespace fw {

namespace {

constexpr const char* ThemeDir = "/usr/share/icons/breeze/actions";

}  // namespace

std::string FindThemeIcon(const std::string& name, int size)
{
    if (name.empty())
        return {};
    // Scalable files: the nearest drawing size looks best, a larger one next.
    using Order = std::array<int, 3>;
    const Order order = size >= 32 ? Order{32, 22, 16} : size >= 22 ? Order{22, 32, 16} : Order{16, 22, 32};
    std::error_code error;
    for (int dirSize : order) {
        const std::filesystem::path path = std::filesystem::path(ThemeDir) / std::to_string(dirSize) / (name + ".svg");
        if (std::filesystem::is_regular_file(path, error))
            return path.string();
    }
    return {};
}

wxBitmap DrawLetterIcon(const wxString& text, int size)
{
    wxImage image(size, size);
    image.InitAlpha();
    unsigned char* alpha = image.GetAlpha();
    std::fill(alpha, alpha + size * size, 0);
    wxBitmap bitmap(image, 32);
    {
        wxMemoryDC dc(bitmap);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        if (gc) {
            const double inset = size / 16.0;
            gc->SetBrush(wxBrush(wxColour(74, 120, 186)));
            gc->SetPen(wxPen(wxColour(48, 84, 140)));
            gc->DrawRoundedRectangle(inset, inset, size - 2 * inset - 1, size - 2 * inset - 1, size / 5.0);
            const wxString letter = text.empty() ? wxString("?") : text.Left(1).Upper();
            wxFont font(wxFontInfo(wxSize(0, size * 5 / 8)).Bold());
            gc->SetFont(font, *wxWHITE);
            double width = 0, height = 0;
            gc->GetTextExtent(letter, &width, &height);
            gc->DrawText(letter, (size - width) / 2, (size - height) / 2);
        }
    }
    return bitmap;
}

wxBitmap GetIcon(const std::string& name, int size, const wxString& fallbackText)
{
    const std::string path = FindThemeIcon(name, size);
    if (!path.empty()) {
        const wxBitmapBundle bundle = wxBitmapBundle::FromSVGFile(path, wxSize(size, size));
        if (bundle.IsOk()) {
            wxBitmap bitmap = bundle.GetBitmap(wxSize(size, size));
            if (bitmap.IsOk())
                return bitmap;
        }
    }
    return DrawLetterIcon(fallbackText, size);
}

}  // namespace fw
