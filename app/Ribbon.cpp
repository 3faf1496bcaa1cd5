#include "app/Ribbon.h"

#include "app/CanvasWindow.h"
#include "app/CommandTable.h"
#include "app/Icons.h"
#include "app/VisualStyles.h"
#include "services/LanguageTable.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/settings.h>

#include <algorithm>
#include <string>

namespace fw {

namespace {

constexpr int LargeIcon = 32;
constexpr int SmallIcon = 16;
constexpr int FirstListItem = 1;
static_assert(ID_FILE_PRINT == wxID_PRINT, "the table's print command is the toolkit's");

wxString Text(const char* key)
{
    return *key ? wxString::FromUTF8(langStr(key)) : wxString();
}

wxRibbonButtonKind ButtonKind(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Toggle:
        return wxRIBBON_BUTTON_TOGGLE;
    case CommandKind::Dropdown:
        return wxRIBBON_BUTTON_DROPDOWN;
    case CommandKind::Button:
        break;
    }
    return wxRIBBON_BUTTON_NORMAL;
}

// A button bar that rings the button the keyboard is on, over what the
// bar itself paints.
class KeyedButtonBar : public wxRibbonButtonBar {
public:
    explicit KeyedButtonBar(wxWindow* parent) : wxRibbonButtonBar(parent)
    {
        Bind(wxEVT_PAINT, &KeyedButtonBar::OnPaintWithRing, this);
    }

    // 0 takes the ring away.
    void Ring(int id)
    {
        m_ring = id;
        Refresh();
    }

private:
    void OnPaintWithRing(wxPaintEvent& event)
    {
        OnPaint(event);
        const int id = m_ring;
        if (id == 0 || !GetItemById(id))
            return;
        wxPaintDC dc(this);
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 2));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(GetItemRect(id).Deflate(1));
    }

    int m_ring = 0;
};

// A folded panel's drop-down is sized for a layout other than the one its
// buttons take in it, which cut off their last row: it grows until they fit.
void GrowDropdown(wxRibbonButtonBar* buttons)
{
    auto* shown = dynamic_cast<wxRibbonPanel*>(buttons->GetParent());
    wxWindow* popup = shown && shown->GetExpandedDummy() ? wxGetTopLevelParent(shown) : nullptr;
    if (!popup)
        return;
    wxRect needed;
    for (size_t i = 0; i < buttons->GetButtonCount(); ++i)
        needed.Union(buttons->GetItemRect(buttons->GetItemId(buttons->GetItem(i))));
    const wxSize missing = wxSize(needed.GetRight() + 1, needed.GetBottom() + 1) - buttons->GetClientSize();
    const wxSize size = popup->GetSize();
    if ((missing.x > 0 || missing.y > 0) && size.x < wxSystemSettings::GetMetric(wxSYS_SCREEN_X))
        popup->SetSize(size + wxSize(std::max(missing.x, 0), std::max(missing.y, 0)) + wxSize(2, 2));
}

void OnButtonBarSize(wxSizeEvent& event)
{
    event.Skip();
    if (auto* buttons = dynamic_cast<wxRibbonButtonBar*>(event.GetEventObject()))
        buttons->CallAfter([buttons] { GrowDropdown(buttons); });
}

wxBitmap Paler(const wxBitmap& bitmap)
{
    return wxBitmap(bitmap.ConvertToImage().ConvertToDisabled(255));
}

// The key codes of one key name; "Plus" and "Minus" also answer on the keypad.
std::vector<int> KeyCodes(const std::string& key)
{
    if (key.size() == 1)
        return {static_cast<unsigned char>(key[0])};
    if (key[0] == 'F' && key.size() <= 3)
        return {WXK_F1 + std::stoi(key.substr(1)) - 1};
    if (key == "Ins")
        return {WXK_INSERT};
    if (key == "Del")
        return {WXK_DELETE};
    if (key == "Backspace")
        return {WXK_BACK};
    if (key == "Enter")
        return {WXK_RETURN};
    if (key == "Plus")
        return {'+', WXK_NUMPAD_ADD};
    if (key == "Minus")
        return {'-', WXK_NUMPAD_SUBTRACT};
    return {};
}

}  // namespace

// A tip up when a dialog opens would stay drawn over it.
class Ribbon::DialogWatch : public wxModalDialogHook {
public:
    explicit DialogWatch(Ribbon& ribbon) : m_ribbon(ribbon) { Register(); }

protected:
    int Enter(wxDialog*) override
    {
        m_ribbon.HideTips();
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

private:
    Ribbon& m_ribbon;
};

Ribbon::Ribbon(wxWindow* parent, wxEvtHandler* commandTarget)
    : m_target(commandTarget), m_look(ID_VIEW_APPLOOK_DEFAULT), m_frame(parent),
      m_dialogWatch(std::make_unique<DialogWatch>(*this))
{
    m_bar =
        new wxRibbonBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                        wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS | wxRIBBON_BAR_SHOW_TOGGLE_BUTTON);
    m_bar->SetArtProvider(CreateRibbonArt(m_look));
    Build();
    m_bar->Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &Ribbon::OnButtonClicked, this);
    m_bar->Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &Ribbon::OnDropdownClicked, this);
    m_bar->Bind(wxEVT_DESTROY, &Ribbon::OnBarDestroyed, this);
    parent->Bind(wxEVT_CHAR_HOOK, &Ribbon::OnFrameKey, this);
    // A drop-down of a folded panel goes when the window changes size: the
    // panel may have room to open again.
    m_bar->Bind(wxEVT_SIZE, &Ribbon::OnBarSize, this);
    parent->Bind(wxEVT_MENU, &Ribbon::OnFocusCommand, this, ID_FOCUS_RIBBON);
}

Ribbon::~Ribbon()
{
    if (m_frame) {
        m_frame->Unbind(wxEVT_CHAR_HOOK, &Ribbon::OnFrameKey, this);
        m_frame->Unbind(wxEVT_MENU, &Ribbon::OnFocusCommand, this, ID_FOCUS_RIBBON);
    }
    // The bar belongs to its parent window and may outlive this helper.
    if (m_bar) {
        for (const auto& [id, buttons] : m_buttonBars) {
            buttons->Unbind(wxEVT_MOTION, &Ribbon::OnButtonBarMotion, this);
            buttons->Unbind(wxEVT_KILL_FOCUS, &Ribbon::OnButtonBarFocusLost, this);
        }
        m_bar->Unbind(wxEVT_RIBBONBUTTONBAR_CLICKED, &Ribbon::OnButtonClicked, this);
        m_bar->Unbind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &Ribbon::OnDropdownClicked, this);
        m_bar->Unbind(wxEVT_DESTROY, &Ribbon::OnBarDestroyed, this);
        m_bar->Unbind(wxEVT_SIZE, &Ribbon::OnBarSize, this);
    }
}

void Ribbon::OnBarSize(wxSizeEvent& event)
{
    event.Skip();
    DismissFolded();
}

void Ribbon::OnFocusCommand(wxCommandEvent&)
{
    FocusRibbon();
}

void Ribbon::OnBarDestroyed(wxWindowDestroyEvent& event)
{
    if (event.GetEventObject() == m_bar) {
        m_bar = nullptr;
        m_buttonBars.clear();
    }
    event.Skip();
}

void Ribbon::Build()
{
    std::map<std::string, wxRibbonPage*> pages;
    std::map<std::string, wxRibbonButtonBar*> panels;
    for (const CommandInfo& command : GetCommandTable()) {
        const wxString label = Text(command.labelKey);
        if (*command.category == '\0')
            continue;  // keyboard only
        m_labels[command.id] = label;
        if (command.menu != 0)
            continue;  // an entry of a drop-down's list

        wxRibbonPage*& page = pages[command.category];
        if (!page)
            page = new wxRibbonPage(m_bar, wxID_ANY, Text(command.category));
        wxRibbonButtonBar*& buttons = panels[std::string(command.category) + "/" + command.panel];
        if (!buttons) {
            // A narrow window folds panels into their first command's icon.
            auto* panel =
                new wxRibbonPanel(page, wxID_ANY, Text(command.panel), GetIcon(command.icon, LargeIcon, label));
            buttons = new KeyedButtonBar(panel);
            buttons->Bind(wxEVT_MOTION, &Ribbon::OnButtonBarMotion, this);
            buttons->Bind(wxEVT_KILL_FOCUS, &Ribbon::OnButtonBarFocusLost, this);
            buttons->Bind(wxEVT_SIZE, &OnButtonBarSize);
        }
        const wxBitmap large = GetIcon(command.icon, LargeIcon, label);
        const wxBitmap small = GetIcon(command.icon, SmallIcon, label);
        // The theme's icons are grey already; a plain grey copy would not
        // look disabled, a paler one does.
        m_buttonBars[command.id] = buttons;
        // The bar draws no icon for its smallest class, so a button without
        // its label is a medium one with an empty label.
        buttons->AddButton(command.id, command.iconOnly ? wxString() : label, large, small, Paler(large), Paler(small),
                           ButtonKind(command.kind), Tip(command.id, Text(command.descriptionKey)));
        if (command.large)
            buttons->SetButtonMinSizeClass(command.id, wxRIBBON_BUTTONBAR_BUTTON_LARGE);
        else
            buttons->SetButtonMaxSizeClass(command.id, wxRIBBON_BUTTONBAR_BUTTON_MEDIUM);
    }
    FitHeight();
}

void Ribbon::FitHeight()
{
    // The button bars stack one small row more beside a large button than
    // the height they ask for; leave room for that row.
    m_bar->SetMinSize(wxDefaultSize);
    m_bar->Realize();
    wxClientDC dc(m_bar);
    dc.SetFont(m_bar->GetArtProvider()->GetFont(wxRIBBON_ART_BUTTON_BAR_LABEL_FONT));
    const int row = std::max(dc.GetCharHeight(), SmallIcon) + 4;
    m_bar->SetMinSize(wxSize(-1, m_bar->GetBestSize().y + row));
    if (wxWindow* parent = m_bar->GetParent())
        parent->Layout();
}

void Ribbon::UpdateStates(const std::function<CommandState(int)>& stateOf)
{
    if (!m_bar)
        return;
    for (const CommandInfo& command : GetCommandTable()) {
        if (*command.category == '\0')
            continue;
        const CommandState state = stateOf(command.id);
        const auto known = m_states.find(command.id);
        if (known != m_states.end() && known->second.enabled == state.enabled && known->second.checked == state.checked)
            continue;
        m_states[command.id] = state;
        wxRibbonButtonBar* buttons = FindButtonBar(command.id);
        if (!buttons)
            continue;  // a list entry: the list shows it when it opens
        buttons->EnableButton(command.id, state.enabled);
        if (command.kind != CommandKind::Button)
            buttons->ToggleButton(command.id, state.checked);
    }
}

void Ribbon::UpdateDescriptions(const std::function<std::string(int)>& describe)
{
    if (!m_bar)
        return;
    for (const auto& [id, buttons] : m_buttonBars) {
        const std::string answered = describe(id);
        const auto shown = m_descriptions.find(id);
        if (answered.empty() && shown == m_descriptions.end())
            continue;  // the table's, as before
        const wxString text = answered.empty() ? wxString() : Tip(id, wxString::FromUTF8(answered));
        if (shown != m_descriptions.end() && shown->second == text)
            continue;
        if (answered.empty())
            m_descriptions.erase(shown);
        else
            m_descriptions[id] = text;
        // A tip already up (the button was just clicked) changes at once.
        wxRibbonButtonBarButtonBase* hovered = buttons->GetHoveredItem();
        if (hovered && buttons->GetItemId(hovered) == id)
            buttons->SetToolTip(GetDescription(id));
    }
}

wxString Ribbon::GetDescription(int id) const
{
    const auto answered = m_descriptions.find(id);
    if (answered != m_descriptions.end())
        return answered->second;
    const CommandInfo* command = FindCommand(id);
    return command ? Tip(id, Text(command->descriptionKey)) : wxString();
}

wxString Ribbon::Tip(int id, const wxString& description) const
{
    const CommandInfo* command = FindCommand(id);
    const std::string shortcut = command ? FirstShortcutText(*command) : std::string();
    // A button without its label names itself in the tip.
    const bool named = command && command->iconOnly;
    if (shortcut.empty() && !named)
        return description;
    const wxString title = shortcut.empty() ? GetLabel(id) : GetLabel(id) + " (" + wxString::FromUTF8(shortcut) + ")";
    return description.empty() ? title : title + "\n" + description;
}

void Ribbon::OnButtonBarMotion(wxMouseEvent& event)
{
    event.Skip();
    auto* buttons = dynamic_cast<wxRibbonButtonBar*>(event.GetEventObject());
    if (!buttons || m_descriptions.empty())
        return;
    // The bar gives a newly hovered button the tip it was built with after
    // this handler; an answered description goes over it once that is done.
    // The call is queued on the bar, so it goes with the bar, not with us.
    buttons->CallAfter([buttons, answered = m_descriptions] {
        wxRibbonButtonBarButtonBase* hovered = buttons->GetHoveredItem();
        const auto tip = hovered ? answered.find(buttons->GetItemId(hovered)) : answered.end();
        if (tip != answered.end() && buttons->GetToolTipText() != tip->second)
            buttons->SetToolTip(tip->second);
    });
}

void Ribbon::ApplyVisualStyle(int look)
{
    m_look = IsValidLook(look) ? look : ID_VIEW_APPLOOK_DEFAULT;
    if (!m_bar)
        return;
    m_bar->SetArtProvider(CreateRibbonArt(m_look));
    FitHeight();
    m_bar->Refresh();
}

wxString Ribbon::GetLabel(int id) const
{
    const auto found = m_labels.find(id);
    return found == m_labels.end() ? wxString() : found->second;
}

wxRibbonButtonBar* Ribbon::FindButtonBar(int id) const
{
    const auto found = m_buttonBars.find(id);
    return found == m_buttonBars.end() ? nullptr : found->second;
}

std::unique_ptr<wxMenu> Ribbon::CreateDropdownMenu(int id)
{
    auto menu = std::make_unique<wxMenu>();
    const auto filler = m_fillers.find(id);
    if (filler != m_fillers.end()) {
        filler->second(*menu);
        menu->Bind(wxEVT_MENU, [this](wxCommandEvent& chosen) { SendCommand(chosen.GetId()); });
        return menu;
    }
    for (const CommandInfo* item : GetMenuCommands(id)) {
        const int itemId = ListItemId(id, item->id);
        const wxString label = GetLabel(item->id);
        wxMenuItem* entry = item->kind == CommandKind::Toggle
                                ? menu->AppendCheckItem(itemId, label, Text(item->descriptionKey))
                                : menu->Append(itemId, label, Text(item->descriptionKey));
        const auto state = m_states.find(item->id);
        if (state == m_states.end())
            continue;
        entry->Enable(state->second.enabled);
        if (entry->IsCheckable())
            entry->Check(state->second.checked);
    }
    menu->Bind(wxEVT_MENU, [this, id](wxCommandEvent& chosen) {
        const int command = ListCommand(id, chosen.GetId());
        if (command != wxNOT_FOUND)
            SendCommand(command);
    });
    return menu;
}

int Ribbon::ListItemId(int menuId, int commandId)
{
    const std::vector<const CommandInfo*> items = GetMenuCommands(menuId);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->id == commandId)
            return FirstListItem + static_cast<int>(i);
    return wxNOT_FOUND;
}

int Ribbon::ListCommand(int menuId, int itemId)
{
    const std::vector<const CommandInfo*> items = GetMenuCommands(menuId);
    const int index = itemId - FirstListItem;
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index]->id : wxNOT_FOUND;
}

void Ribbon::SendCommand(int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(m_bar);
    if (auto* window = dynamic_cast<wxWindow*>(m_target))
        window->ProcessWindowEvent(event);
    else if (m_target)
        m_target->ProcessEvent(event);
}

void Ribbon::OnButtonClicked(wxRibbonButtonBarEvent& event)
{
    const int id = event.GetId();
    // The bar flips a toggle button itself; forget the shown state so the
    // next update puts the answered one back.
    m_states.erase(id);
    SendCommand(id);
    DismissFolded();
}

void Ribbon::SetMenuFiller(int id, std::function<void(wxMenu&)> fill)
{
    m_fillers[id] = std::move(fill);
}

void Ribbon::OnDropdownClicked(wxRibbonButtonBarEvent& event)
{
    std::unique_ptr<wxMenu> menu = CreateDropdownMenu(event.GetId());
    event.PopupMenu(menu.get());
    DismissFolded();
}

void Ribbon::DismissFolded()
{
    if (m_bar)
        m_bar->DismissExpandedPanel();
}

void Ribbon::HideTips()
{
    for (const auto& [id, buttons] : m_buttonBars)
        if (buttons->GetToolTip())
            buttons->UnsetToolTip();
}

void Ribbon::ShowDropdown(int id)
{
    wxRibbonButtonBar* buttons = FindButtonBar(id);
    if (!buttons)
        return;
    std::unique_ptr<wxMenu> menu = CreateDropdownMenu(id);
    // A panel folded into a drop-down hides the button: the list then opens
    // under the ribbon's page tabs.
    if (buttons->IsShownOnScreen())
        buttons->PopupMenu(menu.get(), buttons->GetItemRect(id).GetBottomLeft());
    else
        m_bar->PopupMenu(menu.get(), wxPoint(0, m_bar->GetClientSize().y));
    DismissFolded();
}

bool Ribbon::RunCanvasKey(int keyCode)
{
    if (keyCode < 'A' || keyCode > 'Z')
        return false;
    const CommandInfo* command = FindCanvasCommand(static_cast<char>(keyCode));
    if (!command)
        return false;
    const auto state = m_states.find(command->id);
    if (state != m_states.end() && !state->second.enabled)
        return true;
    if (command->kind == CommandKind::Dropdown) {
        ShowDropdown(command->id);
    } else {
        m_states.erase(command->id);
        SendCommand(command->id);
    }
    return true;
}

void Ribbon::OnFrameKey(wxKeyEvent& event)
{
    if (m_keyItem != 0) {
        OnRibbonKey(event);
        return;
    }
    if (event.GetModifiers() == wxMOD_NONE && dynamic_cast<CanvasWindow*>(wxWindow::FindFocus()) &&
        RunCanvasKey(event.GetKeyCode()))
        return;
    event.Skip();
}

void Ribbon::OnRibbonKey(wxKeyEvent& event)
{
    const bool plain = event.GetModifiers() == wxMOD_NONE;
    switch (event.GetKeyCode()) {
    case WXK_LEFT:
    case WXK_UP:
        MoveKeyboard(-1);
        break;
    case WXK_RIGHT:
    case WXK_DOWN:
        MoveKeyboard(1);
        break;
    case WXK_TAB:
        MoveKeyboard(event.ShiftDown() ? -1 : 1);
        break;
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
        SwitchPage(event.GetKeyCode() == WXK_PAGEUP ? -1 : 1);
        break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_SPACE:
        if (!plain) {
            event.Skip();
            return;
        }
        RunKeyboardItem();
        break;
    case WXK_ESCAPE:
    case WXK_F10:
        LeaveKeyboard(true);
        break;
    case WXK_SHIFT:
    case WXK_CONTROL:
    case WXK_ALT:
        event.Skip();  // the start of a combination
        return;
    default:
        // The frame's shortcuts still work; they run with the focus back
        // where it was.
        LeaveKeyboard(true);
        event.Skip();
        return;
    }
}

std::vector<int> Ribbon::PageButtons() const
{
    std::vector<int> ids;
    if (!m_bar || m_bar->GetActivePage() < 0)
        return ids;
    const wxRibbonPage* page = m_bar->GetPage(m_bar->GetActivePage());
    struct Placed {
        int x, y, id;
    };
    std::vector<Placed> placed;
    for (const auto& [id, buttons] : m_buttonBars) {
        bool onPage = false;
        for (const wxWindow* up = buttons; up && !onPage; up = up->GetParent())
            onPage = up == page;
        if (!onPage || !buttons->IsShownOnScreen())
            continue;
        const wxPoint at = buttons->ClientToScreen(buttons->GetItemRect(id).GetTopLeft());
        placed.push_back({at.x, at.y, id});
    }
    std::sort(placed.begin(), placed.end(),
              [](const Placed& a, const Placed& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    for (const Placed& p : placed)
        ids.push_back(p.id);
    return ids;
}

void Ribbon::FocusRibbon()
{
    if (!m_bar)
        return;
    const std::vector<int> ids = PageButtons();
    if (ids.empty())
        return;
    if (m_keyItem == 0)
        m_focusBefore = wxWindow::FindFocus();
    SetKeyboardItem(ids.front());
}

void Ribbon::SetKeyboardItem(int id)
{
    if (wxRibbonButtonBar* before = FindButtonBar(m_keyItem))
        static_cast<KeyedButtonBar*>(before)->Ring(0);
    m_keyItem = id;
    if (wxRibbonButtonBar* buttons = FindButtonBar(id)) {
        if (wxWindow::FindFocus() != buttons)
            buttons->SetFocus();
        static_cast<KeyedButtonBar*>(buttons)->Ring(id);
    }
}

void Ribbon::MoveKeyboard(int step)
{
    const std::vector<int> ids = PageButtons();
    if (ids.empty())
        return;
    const auto at = std::find(ids.begin(), ids.end(), m_keyItem);
    const int count = static_cast<int>(ids.size());
    const int index = at == ids.end() ? 0 : static_cast<int>(at - ids.begin());
    SetKeyboardItem(ids[(index + step + count) % count]);
}

void Ribbon::SwitchPage(int step)
{
    const int count = static_cast<int>(m_bar->GetPageCount());
    m_bar->SetActivePage(static_cast<size_t>((m_bar->GetActivePage() + step + count) % count));
    m_bar->Update();
    const std::vector<int> ids = PageButtons();
    if (!ids.empty())
        SetKeyboardItem(ids.front());
}

void Ribbon::LeaveKeyboard(bool restoreFocus)
{
    const int id = m_keyItem;
    m_keyItem = 0;
    if (wxRibbonButtonBar* buttons = FindButtonBar(id))
        static_cast<KeyedButtonBar*>(buttons)->Ring(0);
    if (restoreFocus && m_focusBefore)
        m_focusBefore->SetFocus();
    m_focusBefore = nullptr;
}

void Ribbon::RunKeyboardItem()
{
    const int id = m_keyItem;
    const CommandInfo* command = FindCommand(id);
    const auto state = m_states.find(id);
    if (!command || (state != m_states.end() && !state->second.enabled))
        return;
    // The command runs where the designer was working.
    LeaveKeyboard(true);
    if (command->kind == CommandKind::Dropdown) {
        ShowDropdown(id);
        return;
    }
    m_states.erase(id);
    SendCommand(id);
}

void Ribbon::OnButtonBarFocusLost(wxFocusEvent& event)
{
    event.Skip();
    // Moving between the ribbon's own bars keeps the keyboard in it.
    for (const auto& [id, buttons] : m_buttonBars)
        if (buttons == event.GetWindow())
            return;
    if (m_keyItem != 0)
        LeaveKeyboard(false);
}

std::vector<wxAcceleratorEntry> Ribbon::GetAcceleratorEntries()
{
    std::vector<wxAcceleratorEntry> entries;
    for (const CommandInfo& command : GetCommandTable()) {
        for (const Shortcut& shortcut : ParseShortcuts(command.shortcut)) {
            if (IsCanvasKey(shortcut))
                continue;
            const int flags = (shortcut.ctrl ? wxACCEL_CTRL : 0) | (shortcut.alt ? wxACCEL_ALT : 0) |
                              (shortcut.shift ? wxACCEL_SHIFT : 0);
            for (int code : KeyCodes(shortcut.key))
                entries.emplace_back(flags, code, command.id);
        }
    }
    return entries;
}

wxAcceleratorTable Ribbon::CreateAccelerators()
{
    const std::vector<wxAcceleratorEntry> entries = GetAcceleratorEntries();
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

}  // namespace fw
