#pragma once
// What elements and menus need of the window they live in, without a toolkit:
// a popup menu model and the window that shows it.

#include "services/Geometry.h"

#include <string>
#include <vector>

namespace fw {

struct MenuItem {
    int command = 0;  // 0 for a separator
    std::string text;
    bool enabled = true;
    bool checked = false;

    bool IsSeparator() const { return command == 0; }
};

struct PopupMenu {
    std::vector<MenuItem> items;

    void Append(int command, std::string text) { items.push_back({command, std::move(text), true, false}); }
    void AppendSeparator() { items.push_back({}); }
    MenuItem* Find(int command)
    {
        for (MenuItem& item : items)
            if (item.command == command)
                return &item;
        return nullptr;
    }
};

// Mouse cursors the canvas shows over elements and markers.
enum class CursorKind {
    None,
    Arrow,
    SizeAll,   // four-way move arrow
    SizeNWSE,  // diagonal, top-left to bottom-right
    SizeNESW,  // diagonal, top-right to bottom-left
    SizeNS,
    SizeWE,
    Cross,  // cross-hair of an armed creation tool
};

class ElementWindow {
public:
    virtual ~ElementWindow() = default;
    // Shows the menu at a screen point, tracked with the right mouse button;
    // the chosen command reaches the window as a command of its own.
    virtual void TrackPopupMenu(const PopupMenu& menu, IntPoint screenPoint) = 0;
};

}  // namespace fw
