#pragma once
// The main window's ribbon, built from the command table: one page per
// category, one panel per panel key, a button per command and a list behind
// each drop-down. A click reaches the command target as a menu command with
// the command's id, so the frame's document routing finds the active view.

#include "editor/FormView.h"

#include <wx/accel.h>
#include <wx/string.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class wxEvtHandler;
class wxMenu;
class wxMouseEvent;
class wxRibbonBar;
class wxRibbonButtonBar;
class wxRibbonButtonBarEvent;
class wxWindow;
class wxWindowDestroyEvent;

namespace fw {

class Ribbon {
public:
    Ribbon(wxWindow* parent, wxEvtHandler* commandTarget);
    Ribbon(const Ribbon&) = delete;
    Ribbon& operator=(const Ribbon&) = delete;
    ~Ribbon();

    wxRibbonBar* GetBar() const { return m_bar; }

    // Enables and ticks every command as answered; only buttons whose state
    // changed since the last call are touched, so the idle handler may call it.
    void UpdateStates(const std::function<CommandState(int)>& stateOf);
    // Gives buttons the descriptions answered now ("" keeps the table's);
    // like the states, only changed ones are touched.
    void UpdateDescriptions(const std::function<std::string(int)>& describe);
    // The description a button shows as its tip now.
    wxString GetDescription(int id) const;
    // Draws the ribbon in one of the visual styles (205..219).
    void ApplyVisualStyle(int look);
    int GetVisualStyle() const { return m_look; }

    // The label shown for a command's button or list entry; "" when none.
    wxString GetLabel(int id) const;
    // The button bar holding the command's button, or none.
    wxRibbonButtonBar* FindButtonBar(int id) const;
    // The list a drop-down opens, with the last answered states; choosing an
    // entry sends the entry's command.
    std::unique_ptr<wxMenu> CreateDropdownMenu(int id);
    // Menu item ids stay below what the toolkit accepts, so list entries carry
    // their place in the list instead of the command id.
    static int ListItemId(int menuId, int commandId);
    static int ListCommand(int menuId, int itemId);
    // A drop-down whose list is made afresh each time it opens (recent
    // files); the ids the filler gives its items are sent as commands.
    void SetMenuFiller(int id, std::function<void(wxMenu&)> fill);

    // The keyboard shortcuts of the command table.
    static wxAcceleratorTable CreateAccelerators();
    static std::vector<wxAcceleratorEntry> GetAcceleratorEntries();

private:
    void Build();
    void FitHeight();
    void SendCommand(int id);
    void OnButtonClicked(wxRibbonButtonBarEvent& event);
    void OnDropdownClicked(wxRibbonButtonBarEvent& event);
    void OnBarDestroyed(wxWindowDestroyEvent& event);
    void OnButtonBarMotion(wxMouseEvent& event);

    wxRibbonBar* m_bar = nullptr;
    wxEvtHandler* m_target = nullptr;
    int m_look;
    std::map<int, wxRibbonButtonBar*> m_buttonBars;
    std::map<int, wxString> m_labels;
    std::map<int, CommandState> m_states;  // as last shown
    // Descriptions answered in place of the table's, as last shown.
    std::map<int, wxString> m_descriptions;
    std::map<int, std::function<void(wxMenu&)>> m_fillers;
};

}  // namespace fw
