#include "app/Ribbon.h"

#include "app/CommandTable.h"
#include "app/Icons.h"
#include "app/VisualStyles.h"
#include "services/LanguageTable.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>

#include <algorithm>
#include <string>

namespace fw {

namespace {

constexpr int LargeIcon = 32;
constexpr int SmallIcon = 16;
constexpr int FirstListItem = 1;

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

Ribbon::Ribbon(wxWindow* parent, wxEvtHandler* commandTarget) : m_target(commandTarget), m_look(ID_VIEW_APPLOOK_DEFAULT)
{
    m_bar =
        new wxRibbonBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                        wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS | wxRIBBON_BAR_SHOW_TOGGLE_BUTTON);
    m_bar->SetArtProvider(CreateRibbonArt(m_look));
    Build();
    m_bar->Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &Ribbon::OnButtonClicked, this);
    m_bar->Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &Ribbon::OnDropdownClicked, this);
    m_bar->Bind(wxEVT_DESTROY, &Ribbon::OnBarDestroyed, this);
}

Ribbon::~Ribbon()
{
    // The bar belongs to its parent window and may outlive this helper.
    if (m_bar) {
        for (const auto& [id, buttons] : m_buttonBars)
            buttons->Unbind(wxEVT_MOTION, &Ribbon::OnButtonBarMotion, this);
        m_bar->Unbind(wxEVT_RIBBONBUTTONBAR_CLICKED, &Ribbon::OnButtonClicked, this);
        m_bar->Unbind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &Ribbon::OnDropdownClicked, this);
        m_bar->Unbind(wxEVT_DESTROY, &Ribbon::OnBarDestroyed, this);
    }
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
            buttons = new wxRibbonButtonBar(panel);
            buttons->Bind(wxEVT_MOTION, &Ribbon::OnButtonBarMotion, this);
        }
        const wxBitmap large = GetIcon(command.icon, LargeIcon, label);
        const wxBitmap small = GetIcon(command.icon, SmallIcon, label);
        // The theme's icons are grey already; a plain grey copy would not
        // look disabled, a paler one does.
        buttons->AddButton(command.id, label, large, small, Paler(large), Paler(small), ButtonKind(command.kind),
                           Text(command.descriptionKey));
        if (command.large)
            buttons->SetButtonMinSizeClass(command.id, wxRIBBON_BUTTONBAR_BUTTON_LARGE);
        else
            buttons->SetButtonMaxSizeClass(command.id, wxRIBBON_BUTTONBAR_BUTTON_MEDIUM);
        m_buttonBars[command.id] = buttons;
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
        const wxString text = wxString::FromUTF8(answered);
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
    return command ? Text(command->descriptionKey) : wxString();
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
    const std::vector<const CommandInfo*> items = GetMenuCommands(id);
    for (const CommandInfo* item : items) {
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
}

void Ribbon::SetMenuFiller(int id, std::function<void(wxMenu&)> fill)
{
    m_fillers[id] = std::move(fill);
}

void Ribbon::OnDropdownClicked(wxRibbonButtonBarEvent& event)
{
    std::unique_ptr<wxMenu> menu = CreateDropdownMenu(event.GetId());
    event.PopupMenu(menu.get());
}

std::vector<wxAcceleratorEntry> Ribbon::GetAcceleratorEntries()
{
    std::vector<wxAcceleratorEntry> entries;
    for (const CommandInfo& command : GetCommandTable()) {
        for (const Shortcut& shortcut : ParseShortcuts(command.shortcut)) {
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
