#include "app/VisualStyles.h"

#include "app/CommandTable.h"

#include <wx/aui/aui.h>
#include <wx/ribbon/art.h>

namespace fw {

namespace {

constexpr unsigned Default = 0xFFFFFFFF;  // keep the drawing's own colour

// Glossy panels with gradients, flat panels, or what the platform draws.
enum class RibbonArt { Glossy, Flat, Platform };

struct Look {
    int id;
    RibbonArt art;
    // Ribbon colour scheme: background, highlight, accent.
    unsigned primary, secondary, tertiary;
    // Pane captions and the frame behind them.
    wxAuiPaneDockArtGradients gradient;
    unsigned activeCaption, activeCaptionEnd, inactiveCaption, background;
};

const Look Looks[] = {
    {ID_VIEW_APPLOOK_CLASSIC, RibbonArt::Glossy, 0xD4D0C8, 0x0A246A, 0x808080, wxAUI_GRADIENT_HORIZONTAL, 0x0A246A,
     0xA6CAF0, 0x808080, 0xD4D0C8},
    {ID_VIEW_APPLOOK_FLAT, RibbonArt::Flat, 0xF0F0F0, 0xB6BDD2, 0x6A6A6A, wxAUI_GRADIENT_NONE, 0x6A7A9A, 0x6A7A9A,
     0xC0C0C0, 0xF0F0F0},
    {ID_VIEW_APPLOOK_ROUNDED, RibbonArt::Glossy, 0xECE9D8, 0x316AC5, 0x7A96DF, wxAUI_GRADIENT_VERTICAL, 0x0054E3,
     0x3D95FF, 0x7A96DF, 0xECE9D8},
    {ID_VIEW_APPLOOK_GRADIENT, RibbonArt::Glossy, 0xC3DAF9, 0xFFD28C, 0x3B619C, wxAUI_GRADIENT_HORIZONTAL, 0x3B619C,
     0x9EBEF5, 0x7A9AD0, 0xC3DAF9},
    {ID_VIEW_APPLOOK_STUDIO, RibbonArt::Flat, 0x4D6082, 0xFFE8A6, 0xCCD5F0, wxAUI_GRADIENT_VERTICAL, 0xFFE8A6, 0xFFF3CF,
     0x4D6082, 0x2B3C59},
    {ID_VIEW_APPLOOK_STUDIO_LIGHT, RibbonArt::Flat, 0xCFD6E5, 0xFFE8A6, 0x5B6B8C, wxAUI_GRADIENT_VERTICAL, 0x5B6B8C,
     0x9AA8C6, 0xB0BCD6, 0xCFD6E5},
    {ID_VIEW_APPLOOK_BLUE, RibbonArt::Glossy, 0xC2D8F1, 0xFFD86E, 0x6B8ECB, wxAUI_GRADIENT_VERTICAL, 0x6B8ECB, 0xC2D8F1,
     0xA7C1E2, 0xDFE9F5},
    {ID_VIEW_APPLOOK_BLACK, RibbonArt::Glossy, 0x909090, 0xFFC45A, 0x3C3C3C, wxAUI_GRADIENT_VERTICAL, 0x3A3A3A,
     0x6E6E6E, 0x8A8A8A, 0x535353},
    {ID_VIEW_APPLOOK_SILVER, RibbonArt::Glossy, 0xD9DEE6, 0xFFD86E, 0x8A94A6, wxAUI_GRADIENT_VERTICAL, 0x8A94A6,
     0xD9DEE6, 0xBCC3CF, 0xE7EAEE},
    {ID_VIEW_APPLOOK_AQUA, RibbonArt::Glossy, 0xB8DDE5, 0xF5B969, 0x2C8EA0, wxAUI_GRADIENT_VERTICAL, 0x2C8EA0, 0x8FCAD6,
     0x9CC7D0, 0xD8EEF2},
    {ID_VIEW_APPLOOK_DEFAULT, RibbonArt::Platform, Default, Default, Default, wxAUI_GRADIENT_VERTICAL, Default, Default,
     Default, Default},
};

const Look& FindLook(int look)
{
    for (const Look& entry : Looks)
        if (entry.id == look)
            return entry;
    return FindLook(ID_VIEW_APPLOOK_DEFAULT);
}

wxColour Rgb(unsigned rgb)
{
    return wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

bool IsValidLook(int look)
{
    for (const Look& entry : Looks)
        if (entry.id == look)
            return true;
    return false;
}

wxRibbonArtProvider* CreateRibbonArt(int look)
{
    const Look& entry = FindLook(look);
    wxRibbonArtProvider* art = nullptr;
    switch (entry.art) {
    case RibbonArt::Flat:
        art = new wxRibbonAUIArtProvider;
        break;
    case RibbonArt::Glossy:
        art = new wxRibbonMSWArtProvider;
        break;
    case RibbonArt::Platform:
        art = new wxRibbonDefaultArtProvider;
        break;
    }
    if (entry.primary != Default)
        art->SetColourScheme(Rgb(entry.primary), Rgb(entry.secondary), Rgb(entry.tertiary));
    // Disabled labels halfway to the background, so greyed commands read as such.
    const wxColour label = art->GetColour(wxRIBBON_ART_BUTTON_BAR_LABEL_COLOUR);
    const wxColour background = art->GetColour(wxRIBBON_ART_PAGE_BACKGROUND_COLOUR);
    art->SetColour(wxRIBBON_ART_BUTTON_BAR_LABEL_DISABLED_COLOUR,
                   wxColour((label.Red() + background.Red()) / 2, (label.Green() + background.Green()) / 2,
                            (label.Blue() + background.Blue()) / 2));
    return art;
}

void ApplyAuiLook(wxAuiManager& manager, int look)
{
    const Look& entry = FindLook(look);
    auto* art = new wxAuiDefaultDockArt;
    art->SetMetric(wxAUI_DOCKART_GRADIENT_TYPE, entry.gradient);
    if (entry.activeCaption != Default) {
        art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR, Rgb(entry.activeCaption));
        art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_GRADIENT_COLOUR, Rgb(entry.activeCaptionEnd));
        art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_COLOUR, Rgb(entry.inactiveCaption));
        art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_GRADIENT_COLOUR, Rgb(entry.background));
        art->SetColour(wxAUI_DOCKART_BACKGROUND_COLOUR, Rgb(entry.background));
        art->SetColour(wxAUI_DOCKART_SASH_COLOUR, Rgb(entry.background));
        // Light captions need dark text.
        const wxColour caption = Rgb(entry.activeCaption);
        const bool dark = caption.Red() * 299 + caption.Green() * 587 + caption.Blue() * 114 < 128000;
        art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_TEXT_COLOUR, dark ? *wxWHITE : *wxBLACK);
    }
    manager.SetArtProvider(art);
    if (manager.GetManagedWindow())
        manager.Update();
}

}  // namespace fw
