#pragma once
// The main window's ribbon, built from the command table: one page per
// category, one panel per panel key, a button per command and a list behind
// each drop-down. A click reaches the command target as a menu command with
// the command's id, so the frame's document routing finds the active view.
// From the keyboard, F10 moves the focus into the ribbon (arrows pick a
// button, Enter runs it, Escape goes back), and the plain letters of the
// creation tools work while a canvas has the focus.

#include "editor/FormView.h"

#include <wx/accel.h>
#include <wx/string.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class wxCommandEvent;
class wxEvtHandler;
class wxFocusEvent;
class wxKeyEvent;
class wxMenu;
class wxMouseEvent;
class wxRibbonBar;
class wxRibbonButtonBar;
class wxRibbonButtonBarEvent;
class wxSizeEvent;
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
    // The tip a button shows now: the answered or the table's description,
    // after the label and first shortcut when the command has one.
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

    // Keyboard access: the focus goes to the first button of the shown page
    // and comes back to where it was when a command runs or on Escape.
    void FocusRibbon();
    bool HasKeyboardFocus() const { return m_keyItem != 0; }
    // The command whose button the keyboard is on; 0 outside the ribbon.
    int GetKeyboardItem() const { return m_keyItem; }
    // Runs a plain letter's canvas command as a click on its button would
    // (a drop-down opens its list); false when the letter has none.
    bool RunCanvasKey(int keyCode);
    // Takes down the tips of every button (a dialog is coming up).
    void HideTips();

    // The keyboard shortcuts of the command table; plain letters stay out,
    // they are typing everywhere but on the canvas.
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
    void OnBarSize(wxSizeEvent& event);
    void OnFocusCommand(wxCommandEvent& event);
    void OnFrameKey(wxKeyEvent& event);
    void OnRibbonKey(wxKeyEvent& event);
    void OnButtonBarFocusLost(wxFocusEvent& event);
    wxString Tip(int id, const wxString& description) const;
    // After a command from a panel folded into a drop-down, the drop-down goes.
    void DismissFolded();
    void ShowDropdown(int id);
    // The buttons of the shown page in reading order: panel by panel, in
    // each panel column by column.
    std::vector<int> PageButtons() const;
    void MoveKeyboard(int step);
    void SwitchPage(int step);
    void SetKeyboardItem(int id);
    void LeaveKeyboard(bool restoreFocus);
    void RunKeyboardItem();

    wxRibbonBar* m_bar = nullptr;
    wxEvtHandler* m_target = nullptr;
    int m_look;
    std::map<int, wxRibbonButtonBar*> m_buttonBars;
    std::map<int, wxString> m_labels;
    std::map<int, CommandState> m_states;  // as last shown
    // Descriptions answered in place of the table's, as last shown.
    std::map<int, wxString> m_descriptions;
    std::map<int, std::function<void(wxMenu&)>> m_fillers;
    wxWeakRef<wxWindow> m_frame;  // where the keys come through
    int m_keyItem = 0;
    wxWeakRef<wxWindow> m_focusBefore;
    class DialogWatch;
    std::unique_ptr<DialogWatch> m_dialogWatch;
};

}  // namespace fw
