#pragma once
// The editor's context menu for the paper: Cut, Copy, Paste, Group, Ungroup.

#include "model/ElementWindow.h"

#include <memory>

namespace fw {

class CDiagramEditor;

class CDiagramMenu {
public:
    virtual ~CDiagramMenu();
    // Builds the menu on first use, then sets every item's enabled state for
    // the editor.
    virtual PopupMenu& GetPopupMenu(const CDiagramEditor& editor);

private:
    std::unique_ptr<PopupMenu> m_menu;
};

}  // namespace fw
