#include "app/Icons.h"

#include "services/Environment.h"

#include <wx/bmpbndl.h>
#include <wx/dcmemory.h>
#include <wx/eventfilter.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <memory>

namespace fw {

namespace {

constexpr const char* ThemeDir = "/usr/share/icons/breeze/actions";

constexpr int AppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool HasIcons(const wxTopLevelWindow& window, const wxIconBundle& icons)
{
    const wxIconBundle own = window.GetIcons();
    return !own.IsEmpty() && own.GetIconByIndex(0).IsSameAs(icons.GetIconByIndex(0));
}

// Sees every event of the program; a top-level window that is created or
// shown gets the application's icon. One filter serves all owners.
class AppIconFilter : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override
    {
        const wxEventType type = event.GetEventType();
        if (type != wxEVT_SHOW && type != wxEVT_CREATE)
            return Event_Skip;
        auto* window = dynamic_cast<wxTopLevelWindow*>(event.GetEventObject());
        // Windows that bring an icon of their own (the help's) take ours too.
        if (window && !icons.IsEmpty() && !HasIcons(*window, icons))
            window->SetIcons(icons);
        return Event_Skip;
    }

    wxIconBundle icons;
    int owners = 0;
};

AppIconFilter* g_iconFilter = nullptr;

}  // namespace

wxIconBundle AppIcons()
{
    wxIconBundle bundle;
    const std::filesystem::path root = std::filesystem::path(Environment::instance().dataDir()) / "icons" / "hicolor";
    std::error_code error;
    for (int size : AppIconSizes) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path path = root / square / "apps" / "formwright.png";
        if (!std::filesystem::is_regular_file(path, error))
            continue;
        const wxImage image(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG);
        if (!image.IsOk())
            continue;
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(image));
        bundle.AddIcon(icon);
    }
    return bundle;
}

void GiveWindowsAppIcon(wxTopLevelWindow& owner)
{
    if (!g_iconFilter) {
        g_iconFilter = new AppIconFilter;
        g_iconFilter->icons = AppIcons();
        wxEvtHandler::AddFilter(g_iconFilter);
    }
    ++g_iconFilter->owners;
    if (!g_iconFilter->icons.IsEmpty())
        owner.SetIcons(g_iconFilter->icons);
    // Destroy events of children rise to the owner too; only its own counts.
    owner.Bind(wxEVT_DESTROY, [&owner](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() != &owner || !g_iconFilter)
            return;
        if (--g_iconFilter->owners == 0) {
            wxEvtHandler::RemoveFilter(g_iconFilter);
            delete g_iconFilter;
            g_iconFilter = nullptr;
        }
    });
}

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
