#pragma once
// The visual styles the designer can pick (command ids 205..210, 215..219):
// how each draws the ribbon and the docked panes.

class wxAuiManager;
class wxRibbonArtProvider;

namespace fw {

bool IsValidLook(int look);
// A new drawing of the ribbon for the look (the default look for an unknown
// id); the ribbon bar takes ownership.
wxRibbonArtProvider* CreateRibbonArt(int look);
// Gives the docked panes the colours of the look and lays them out again.
void ApplyAuiLook(wxAuiManager& manager, int look);

}  // namespace fw
