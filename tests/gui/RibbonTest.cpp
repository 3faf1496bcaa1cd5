// The ribbon: the command table behind it, the buttons and lists it builds,
// clicks reaching the frame, states shown, visual styles and shortcuts.

#include "app/Ribbon.h"
#include "app/CommandTable.h"
#include "app/Icons.h"
#include "app/VisualStyles.h"
#include "controls/DiagramStatic.h"
#include "editor/CommandIds.h"
#include "editor/FormView.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "panes/ObjectInspectorWnd.h"
#include "services/LanguageTable.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>

using namespace fw;

namespace {

// --- the table, without a window ---------------------------------------------------

class CommandTableTest : public testing::Test {
protected:
    static LanguageTable Load(const char* language)
    {
        LanguageTable table;
        EXPECT_TRUE(table.load(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/lang/" + language + ".lang")) << language;
        return table;
    }
};

TEST_F(CommandTableTest, IdsAreUniqueAndEveryKeyHasTextsInBothLanguages)
{
    const LanguageTable english = Load("English");
    const LanguageTable german = Load("German");
    std::set<int> ids;
    for (const CommandInfo& command : GetCommandTable()) {
        EXPECT_TRUE(ids.insert(command.id).second) << "twice: " << command.id;
        EXPECT_EQ(FindCommand(command.id), &command);
        for (const char* key : {command.labelKey, command.descriptionKey, command.category, command.panel}) {
            if (*key == '\0')
                continue;
            EXPECT_TRUE(english.has(key)) << key;
            EXPECT_TRUE(german.has(key)) << key;
        }
        EXPECT_NE(*command.labelKey, '\0') << command.name;
        EXPECT_EQ(*command.category == '\0', *command.panel == '\0') << command.name;
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST_F(CommandTableTest, EveryFormViewCommandHasAPlace)
{
    for (int id : FormView::GetCommands()) {
        if (id == ID_LAYOUT_NO_EFFECT)
            continue;  // does nothing, so it gets no button
        const CommandInfo* command = FindCommand(id);
        ASSERT_NE(command, nullptr) << id;
        EXPECT_NE(*command->category, '\0') << command->name;
    }
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_APP_EXIT})
        EXPECT_STREQ(FindCommand(id)->panel, "PANEL_FILE") << id;
}

TEST_F(CommandTableTest, DropdownsListTheirEntriesInOrder)
{
    std::vector<int> kinds;
    for (const CommandInfo* item : GetMenuCommands(ID_ADD_BUTTON))
        kinds.push_back(item->id);
    std::vector<int> expected;
    for (const ButtonCommand& button : FormView::GetButtonCommands())
        expected.push_back(button.id);
    EXPECT_EQ(kinds, expected);

    std::vector<int> looks;
    for (const CommandInfo* item : GetMenuCommands(ID_VIEW_APPLOOK_MENU)) {
        looks.push_back(item->id);
        EXPECT_TRUE(IsValidLook(item->id)) << item->id;
    }
    EXPECT_TRUE(GetMenuCommands(0).empty());

    for (const CommandInfo& command : GetCommandTable()) {
        if (command.menu == 0)
            continue;
        const CommandInfo* owner = FindCommand(command.menu);
        ASSERT_NE(owner, nullptr) << command.name;
        EXPECT_EQ(owner->kind, CommandKind::Dropdown) << command.name;
    }
}

TEST_F(CommandTableTest, ShortcutsParseAndNoTwoCommandsShareOne)
{
    const std::vector<Shortcut> parsed = ParseShortcuts("Ctrl+Shift+G, Alt+Backspace");
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_TRUE(parsed[0].ctrl && parsed[0].shift && !parsed[0].alt);
    EXPECT_EQ(parsed[0].key, "G");
    EXPECT_TRUE(parsed[1].alt && !parsed[1].ctrl);
    EXPECT_EQ(parsed[1].key, "Backspace");
    EXPECT_TRUE(ParseShortcuts("Hyper+X").empty());
    EXPECT_TRUE(ParseShortcuts("Ctrl+F13").empty());
    EXPECT_TRUE(ParseShortcuts("Ctrl+Fx").empty());
    EXPECT_TRUE(ParseShortcuts("").empty());

    std::map<std::string, int> taken;
    for (const CommandInfo& command : GetCommandTable()) {
        if (*command.shortcut == '\0')
            continue;
        const std::vector<Shortcut> shortcuts = ParseShortcuts(command.shortcut);
        EXPECT_FALSE(shortcuts.empty()) << command.shortcut;
        for (const Shortcut& s : shortcuts) {
            const std::string combination =
                std::string(s.ctrl ? "C" : "") + (s.alt ? "A" : "") + (s.shift ? "S" : "") + "+" + s.key;
            const auto [at, fresh] = taken.emplace(combination, command.id);
            EXPECT_TRUE(fresh) << combination << " on " << at->second << " and " << command.id;
        }
    }
}

TEST_F(CommandTableTest, EveryIconNameIsInTheTheme)
{
    for (const CommandInfo& command : GetCommandTable()) {
        if (*command.icon == '\0')
            continue;
        EXPECT_FALSE(FindThemeIcon(command.icon, 32).empty()) << command.icon;
        EXPECT_FALSE(FindThemeIcon(command.icon, 16).empty()) << command.icon;
    }
    EXPECT_TRUE(FindThemeIcon("no-such-icon", 32).empty());
}

// --- the keyboard page of the help, in both languages ----------------------------

// The canvas editor's own keys (no commands of the table): how the page names
// them and what the window hands the editor.
struct EditorKeyName {
    unsigned modifiers;
    const char* nameKey;
    EditorKey key;
};

const EditorKeyName EditorKeys[] = {
    {Modifier::None, "KEY_TAB", EditorKey::Tab},           {Modifier::Shift, "KEY_TAB", EditorKey::Tab},
    {Modifier::None, "KEY_INS", EditorKey::Insert},        {Modifier::None, "KEY_ARROWS", EditorKey::Left},
    {Modifier::Shift, "KEY_ARROWS", EditorKey::Right},     {Modifier::None, "KEY_PAGEUP", EditorKey::PageUp},
    {Modifier::None, "KEY_PAGEDOWN", EditorKey::PageDown}, {Modifier::Ctrl, "KEY_PAGEUP", EditorKey::PageUp},
    {Modifier::Ctrl, "KEY_PAGEDOWN", EditorKey::PageDown}, {Modifier::None, "KEY_ESC", EditorKey::Escape},
    {Modifier::None, "KEY_KEYPAD_PLUS", EditorKey::Add},   {Modifier::None, "KEY_KEYPAD_MINUS", EditorKey::Subtract},
    {Modifier::None, "KEY_DEL", EditorKey::Delete},
};

std::string Shown(unsigned modifiers, const char* nameKey)
{
    std::string text;
    if (modifiers & Modifier::Ctrl)
        text += langStr("KEY_CTRL") + "+";
    if (modifiers & Modifier::Shift)
        text += langStr("KEY_SHIFT") + "+";
    return text + langStr(nameKey);
}

std::set<std::string> KeysOnPage(const std::string& page)
{
    std::ifstream in(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/help/" + page);
    EXPECT_TRUE(in) << page;
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> keys;
    const std::regex kbd("<kbd>([^<]*)</kbd>");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), kbd); it != std::sregex_iterator(); ++it)
        keys.insert((*it)[1]);
    return keys;
}

class KeyboardPageTest : public testing::TestWithParam<std::pair<const char*, const char*>> {
protected:
    void TearDown() override { LanguageTable::instance().loadLanguage("English"); }
};

TEST_P(KeyboardPageTest, ListsEveryWorkingShortcutAndNoOther)
{
    const auto [language, page] = GetParam();
    ASSERT_TRUE(LanguageTable::instance().loadLanguage(language));
    const std::set<std::string> listed = KeysOnPage(page);
    const std::vector<wxAcceleratorEntry> accelerators = Ribbon::GetAcceleratorEntries();
    std::set<std::string> working;
    for (const CommandInfo& command : GetCommandTable()) {
        for (const Shortcut& shortcut : ParseShortcuts(command.shortcut)) {
            const std::string text = ShortcutText(shortcut);
            EXPECT_EQ(listed.count(text), 1u) << "missing on " << page << ": " << text;
            // Working: a plain letter picks its command on the canvas, any
            // other combination is a frame shortcut.
            const int flags = (shortcut.ctrl ? wxACCEL_CTRL : 0) | (shortcut.alt ? wxACCEL_ALT : 0) |
                              (shortcut.shift ? wxACCEL_SHIFT : 0);
            const bool reaches =
                IsCanvasKey(shortcut)
                    ? FindCanvasCommand(shortcut.key[0]) == &command
                    : std::any_of(accelerators.begin(), accelerators.end(), [&](const wxAcceleratorEntry& entry) {
                          return entry.GetCommand() == command.id && entry.GetFlags() == flags;
                      });
            EXPECT_TRUE(reaches) << text;
            working.insert(text);
        }
    }
    test::EditorRig rig;
    rig.Put<CDiagramStatic>("a", 100, 100, 180, 140)->Select(true);
    for (const EditorKeyName& key : EditorKeys) {
        const std::string text = Shown(key.modifiers, key.nameKey);
        EXPECT_TRUE(rig.Key(key.key, key.modifiers)) << "the editor ignores " << text;
        EXPECT_EQ(listed.count(text), 1u) << "missing on " << page << ": " << text;
        working.insert(text);
    }
    for (const std::string& text : listed)
        EXPECT_EQ(working.count(text), 1u) << "listed on " << page << " but no key does it: " << text;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, KeyboardPageTest,
                         testing::Values(std::pair{"English", "keyboard.html"},
                                         std::pair{"German", "de/keyboard.html"}),
                         [](const auto& info) { return std::string(info.param.first); });

// --- the ribbon in a window -------------------------------------------------------

wxImage Capture(wxWindow* window, const wxRect& rect)
{
    window->Refresh();
    window->Update();
    test::PumpEvents(30);
    wxClientDC screen(window);
    wxBitmap bitmap(rect.width, rect.height, 24);
    {
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
    }
    return bitmap.ConvertToImage();
}

bool SamePixels(const wxImage& a, const wxImage& b)
{
    return a.GetSize() == b.GetSize() && std::memcmp(a.GetData(), b.GetData(), a.GetWidth() * a.GetHeight() * 3) == 0;
}

class RibbonTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "Ribbon", wxPoint(0, 0), wxSize(1500, 260));
        m_frame->Bind(wxEVT_MENU, [this](wxCommandEvent& event) { m_received.push_back(event.GetId()); });
        Build();
        m_frame->Show();
        m_frame->Raise();
        ASSERT_TRUE(test::WaitFor([this] { return m_frame->IsShownOnScreen(); }));
        Park();
    }

    void TearDown() override
    {
        m_ribbon.reset();
        m_frame->Destroy();
        test::PumpEvents();
        LanguageTable::instance().loadLanguage("English");
    }

    void Build()
    {
        if (m_ribbon)
            m_frame->GetSizer()->Clear(true);
        m_ribbon = std::make_unique<Ribbon>(m_frame, m_frame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_ribbon->GetBar(), 0, wxEXPAND);
        m_frame->SetSizer(sizer);
        m_frame->Layout();
    }

    // Shows the page of the command's button and answers the bar and the
    // button's rectangle on it.
    wxRibbonButtonBar* ShowButton(int id, wxRect& rect)
    {
        wxRibbonButtonBar* buttons = m_ribbon->FindButtonBar(id);
        if (!buttons)
            return nullptr;
        for (wxWindow* up = buttons; up; up = up->GetParent())
            if (auto* page = dynamic_cast<wxRibbonPage*>(up))
                m_ribbon->GetBar()->SetActivePage(page);
        m_frame->Layout();
        test::PumpEvents(50);
        rect = buttons->GetItemRect(id);
        return buttons;
    }

    void Click(wxRibbonButtonBar* buttons, const wxRect& rect)
    {
        wxUIActionSimulator mouse;
        mouse.MouseMove(buttons->ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 3)));
        test::PumpEvents(50);
        mouse.MouseClick();
        test::PumpEvents(100);
        Park();
    }

    // The pointer away from the ribbon, so no hover highlight shows in a capture.
    static void Park()
    {
        wxUIActionSimulator().MouseMove(1590, 1190);
        test::PumpEvents(100);
    }

    static std::function<CommandState(int)> AllEnabled(std::map<int, CommandState> except = {})
    {
        return [except](int id) {
            const auto found = except.find(id);
            return found == except.end() ? CommandState{} : found->second;
        };
    }

    wxFrame* m_frame = nullptr;
    std::unique_ptr<Ribbon> m_ribbon;
    std::vector<int> m_received;
};

TEST_F(RibbonTest, EveryCommandHasALabelledButtonOrListEntry)
{
    EXPECT_EQ(m_ribbon->GetBar()->GetPageCount(), 2u);
    for (const CommandInfo& command : GetCommandTable()) {
        if (*command.category == '\0')
            continue;
        const wxString label = m_ribbon->GetLabel(command.id);
        EXPECT_FALSE(label.empty()) << command.name;
        EXPECT_EQ(label.ToStdString(wxConvUTF8), langStr(command.labelKey)) << command.name;
        if (command.menu == 0) {
            wxRibbonButtonBar* buttons = m_ribbon->FindButtonBar(command.id);
            ASSERT_NE(buttons, nullptr) << command.name;
            EXPECT_NE(buttons->GetItemById(command.id), nullptr) << command.name;
        } else {
            const std::unique_ptr<wxMenu> menu = m_ribbon->CreateDropdownMenu(command.menu);
            const wxMenuItem* item = menu->FindItem(Ribbon::ListItemId(command.menu, command.id));
            ASSERT_NE(item, nullptr) << command.name;
            EXPECT_EQ(item->GetItemLabelText(), label) << command.name;
        }
    }
    EXPECT_TRUE(m_ribbon->GetLabel(ID_NEXT_PANE).empty()) << "keyboard only";
}

TEST_F(RibbonTest, GermanLabelsComeFromTheGermanTable)
{
    ASSERT_TRUE(LanguageTable::instance().loadLanguage("German"));
    Build();
    EXPECT_EQ(m_ribbon->GetLabel(ID_EDIT_PASTE), wxString::FromUTF8("Einfügen"));
    EXPECT_EQ(m_ribbon->GetLabel(ID_SHOW_GRID), wxString("Raster"));
    EXPECT_EQ(m_ribbon->GetLabel(ID_ADD_DETACH), wxString::FromUTF8("Katalog lösen"));
    EXPECT_EQ(m_ribbon->GetBar()->GetPage(0)->GetLabel(), wxString("Start"));
    EXPECT_EQ(m_ribbon->GetBar()->GetPage(1)->GetLabel(), wxString("Format"));
    EXPECT_EQ(m_ribbon->GetDescription(ID_EDIT_CUT).BeforeFirst('\n'), "Ausschneiden (Strg+X)");
    EXPECT_EQ(m_ribbon->GetDescription(ID_BRING_TO_FRONT).BeforeFirst('\n'), "In den Vordergrund (Strg+Umschalt+Plus)");
}

TEST_F(RibbonTest, StatesShowAsGreyedAndTickedButtonsAndOnlyAnEnabledOneSendsItsCommand)
{
    wxRect rect;
    wxRibbonButtonBar* buttons = ShowButton(ID_SHOW_GRID, rect);
    ASSERT_NE(buttons, nullptr);
    ASSERT_FALSE(rect.IsEmpty());
    m_ribbon->UpdateStates(AllEnabled());
    const wxImage plain = Capture(buttons, rect);

    m_ribbon->UpdateStates(AllEnabled({{ID_SHOW_GRID, {true, true}}}));
    const wxImage ticked = Capture(buttons, rect);
    EXPECT_FALSE(SamePixels(plain, ticked));

    m_ribbon->UpdateStates(AllEnabled({{ID_SHOW_GRID, {false, false}}}));
    const wxImage greyed = Capture(buttons, rect);
    EXPECT_FALSE(SamePixels(plain, greyed));
    EXPECT_FALSE(SamePixels(ticked, greyed));
    Click(buttons, rect);
    EXPECT_TRUE(m_received.empty()) << "a greyed button sends nothing";

    m_ribbon->UpdateStates(AllEnabled());
    EXPECT_TRUE(SamePixels(plain, Capture(buttons, rect)));

    // A click the frame ignores: the next answer, still unticked, shows again.
    Click(buttons, rect);
    EXPECT_EQ(m_received, std::vector<int>{ID_SHOW_GRID});
    m_ribbon->UpdateStates(AllEnabled());
    EXPECT_TRUE(SamePixels(plain, Capture(buttons, rect)));
}

TEST_F(RibbonTest, TipsNameTheShortcutBeforeTheAnsweredDescription)
{
    wxRect undo;
    wxRibbonButtonBar* buttons = ShowButton(ID_EDIT_UNDO, undo);
    ASSERT_NE(buttons, nullptr);
    const wxRect redo = buttons->GetItemRect(ID_EDIT_REDO);
    const wxString plainUndo = "Undo (Ctrl+Z)\n" + wxString::FromUTF8(langStr("H_RIB_UNDO"));
    auto hover = [buttons](const wxRect& rect) {
        wxUIActionSimulator().MouseMove(buttons->ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + 4)));
        test::PumpEvents(100);
    };
    EXPECT_EQ(m_ribbon->GetDescription(ID_SHOW_SELECTION_PROPERTIES).BeforeFirst('\n'),
              "Selection properties (Alt+Enter)");
    EXPECT_EQ(m_ribbon->GetDescription(ID_TEXT_CTRL).BeforeFirst('\n'), "Text (T)");
    EXPECT_EQ(m_ribbon->GetDescription(ID_CENTRE_IN_FORM).BeforeFirst('\n'), "Centre in form")
        << "a button without its label names itself";
    EXPECT_EQ(m_ribbon->GetDescription(ID_FILE_SAVE_AS), wxString::FromUTF8(langStr("H_RIB_SAVEAS")))
        << "no shortcut, no title line";

    m_ribbon->UpdateDescriptions([](int id) { return id == ID_EDIT_UNDO ? "Undo Move" : ""; });
    EXPECT_EQ(m_ribbon->GetDescription(ID_EDIT_UNDO), "Undo (Ctrl+Z)\nUndo Move");
    EXPECT_EQ(m_ribbon->GetDescription(ID_EDIT_REDO), "Redo (Ctrl+Y)\n" + wxString::FromUTF8(langStr("H_RIB_REDO")));
    hover(redo);
    hover(undo);
    EXPECT_TRUE(test::WaitFor([&] { return buttons->GetToolTipText() == "Undo (Ctrl+Z)\nUndo Move"; }))
        << buttons->GetToolTipText();

    // Answered while the tip is up, as after a click on the button.
    m_ribbon->UpdateDescriptions([](int) { return ""; });
    EXPECT_EQ(m_ribbon->GetDescription(ID_EDIT_UNDO), plainUndo);
    EXPECT_EQ(buttons->GetToolTipText(), plainUndo);
    Park();
}

TEST_F(RibbonTest, TipsAreTakenDownWhenADialogComesUp)
{
    wxRect rect;
    wxRibbonButtonBar* buttons = ShowButton(ID_FILE_OPEN, rect);
    ASSERT_NE(buttons, nullptr);
    wxUIActionSimulator().MouseMove(buttons->ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + 8)));
    ASSERT_TRUE(test::WaitFor([&] { return buttons->GetToolTip() != nullptr; }));

    wxDialog dialog(m_frame, wxID_ANY, "Dialog", wxPoint(900, 600), wxSize(200, 100));
    bool tipUp = true;
    dialog.CallAfter([&] {
        tipUp = buttons->GetToolTip() != nullptr;
        dialog.EndModal(wxID_OK);
    });
    dialog.ShowModal();
    EXPECT_FALSE(tipUp);
    Park();
}

TEST_F(RibbonTest, ListsShowTheAnsweredStatesAndSendTheChosenEntrysCommand)
{
    m_ribbon->UpdateStates(AllEnabled({{ID_VIEW_APPLOOK_BLACK, {true, true}}, {ID_ZOOM_200, {false, false}}}));
    const auto item = [](wxMenu& menu, int menuId, int id) {
        wxMenuItem* found = menu.FindItem(Ribbon::ListItemId(menuId, id));
        EXPECT_NE(found, nullptr) << id;
        return found;
    };
    const std::unique_ptr<wxMenu> looks = m_ribbon->CreateDropdownMenu(ID_VIEW_APPLOOK_MENU);
    EXPECT_TRUE(item(*looks, ID_VIEW_APPLOOK_MENU, ID_VIEW_APPLOOK_BLACK)->IsChecked());
    EXPECT_FALSE(item(*looks, ID_VIEW_APPLOOK_MENU, ID_VIEW_APPLOOK_DEFAULT)->IsChecked());
    const std::unique_ptr<wxMenu> zoom = m_ribbon->CreateDropdownMenu(ID_ZOOM_MENU);
    EXPECT_FALSE(item(*zoom, ID_ZOOM_MENU, ID_ZOOM_200)->IsEnabled());
    EXPECT_TRUE(item(*zoom, ID_ZOOM_MENU, ID_ZOOM_100)->IsEnabled());
    const std::unique_ptr<wxMenu> kinds = m_ribbon->CreateDropdownMenu(ID_ADD_BUTTON);
    EXPECT_EQ(kinds->GetMenuItemCount(), 14u);
    EXPECT_EQ(item(*kinds, ID_ADD_BUTTON, ID_ADD_DETACH)->GetItemLabelText(),
              wxString::FromUTF8(langStr("DETACH_CATALOG")));

    for (const auto& [menuId, id] : {std::pair{ID_ZOOM_MENU, ID_ZOOM_200}, std::pair{ID_ADD_BUTTON, ID_CREATE_REPORT},
                                     std::pair{ID_VIEW_APPLOOK_MENU, ID_VIEW_APPLOOK_SILVER}}) {
        const std::unique_ptr<wxMenu> menu = m_ribbon->CreateDropdownMenu(menuId);
        wxCommandEvent chosen(wxEVT_MENU, Ribbon::ListItemId(menuId, id));
        chosen.SetEventObject(menu.get());
        menu->ProcessEvent(chosen);
    }
    EXPECT_EQ(m_received, (std::vector<int>{ID_ZOOM_200, ID_CREATE_REPORT, ID_VIEW_APPLOOK_SILVER}));
    EXPECT_EQ(Ribbon::ListItemId(ID_ZOOM_MENU, ID_FILE_SAVE), wxNOT_FOUND);
    EXPECT_EQ(Ribbon::ListCommand(ID_ZOOM_MENU, 999), wxNOT_FOUND);
}

TEST_F(RibbonTest, VisualStylesRedrawTheRibbon)
{
    wxRibbonBar* bar = m_ribbon->GetBar();
    const wxRect whole(0, 0, bar->GetClientSize().x, bar->GetClientSize().y);
    const wxImage standard = Capture(bar, whole);

    m_ribbon->ApplyVisualStyle(ID_VIEW_APPLOOK_BLACK);
    EXPECT_EQ(m_ribbon->GetVisualStyle(), ID_VIEW_APPLOOK_BLACK);
    const wxImage black = Capture(bar, whole);
    EXPECT_FALSE(SamePixels(standard, black));
    m_ribbon->ApplyVisualStyle(ID_VIEW_APPLOOK_AQUA);
    EXPECT_FALSE(SamePixels(black, Capture(bar, whole)));

    m_ribbon->ApplyVisualStyle(211);  // no such style
    EXPECT_EQ(m_ribbon->GetVisualStyle(), ID_VIEW_APPLOOK_DEFAULT);
    EXPECT_TRUE(SamePixels(standard, Capture(bar, whole)));
    EXPECT_FALSE(IsValidLook(211));
    EXPECT_FALSE(IsValidLook(204));
}

TEST_F(RibbonTest, TheHelperOutlivesItsBar)
{
    m_ribbon->GetBar()->Destroy();
    EXPECT_EQ(m_ribbon->GetBar(), nullptr);
    EXPECT_EQ(m_ribbon->FindButtonBar(ID_FILE_SAVE), nullptr);
    m_ribbon->UpdateStates(AllEnabled());
    m_ribbon->ApplyVisualStyle(ID_VIEW_APPLOOK_BLUE);
    m_ribbon.reset();
}

TEST_F(RibbonTest, TheStandInIconIsDrawn)
{
    const wxBitmap icon = GetIcon("no-such-icon", 32, "Zoom");
    ASSERT_TRUE(icon.IsOk());
    EXPECT_EQ(icon.GetSize(), wxSize(32, 32));
    const wxImage image = icon.ConvertToImage();
    ASSERT_TRUE(image.HasAlpha());
    int opaque = 0;
    for (int i = 0; i < 32 * 32; ++i)
        opaque += image.GetAlpha()[i] > 128;
    EXPECT_GT(opaque, 32 * 32 / 2) << "a filled square";
    EXPECT_LT(opaque, 32 * 32) << "with rounded corners";
}

// --- shortcuts -------------------------------------------------------------------

class AcceleratorTest : public testing::Test {
protected:
    int CommandFor(int key, bool ctrl = false, bool shift = false, bool alt = false)
    {
        wxKeyEvent event(wxEVT_KEY_DOWN);
        event.m_keyCode = key;
        event.SetControlDown(ctrl);
        event.SetShiftDown(shift);
        event.SetAltDown(alt);
        return m_table.GetCommand(event);
    }

    wxAcceleratorTable m_table = Ribbon::CreateAccelerators();
};

TEST_F(AcceleratorTest, TheStandardAndViewKeysReachTheirCommands)
{
    EXPECT_EQ(CommandFor('S', true), 57603);
    EXPECT_EQ(CommandFor(WXK_INSERT, false, true), 57637);
    EXPECT_EQ(CommandFor('N', true), ID_FILE_NEW);
    EXPECT_EQ(CommandFor('O', true), ID_FILE_OPEN);
    EXPECT_EQ(CommandFor('Z', true), ID_EDIT_UNDO);
    EXPECT_EQ(CommandFor(WXK_BACK, false, false, true), ID_EDIT_UNDO);
    EXPECT_EQ(CommandFor('X', true), ID_EDIT_CUT);
    EXPECT_EQ(CommandFor(WXK_DELETE, false, true), ID_EDIT_CUT);
    EXPECT_EQ(CommandFor('C', true), ID_EDIT_COPY);
    EXPECT_EQ(CommandFor(WXK_INSERT, true), ID_EDIT_COPY);
    EXPECT_EQ(CommandFor('V', true), ID_EDIT_PASTE);
    EXPECT_EQ(CommandFor(WXK_F6), ID_NEXT_PANE);
    EXPECT_EQ(CommandFor(WXK_F6, false, true), ID_PREV_PANE);
    EXPECT_EQ(CommandFor('S'), wxNOT_FOUND) << "a plain S is typing";
    EXPECT_EQ(CommandFor('T'), wxNOT_FOUND) << "a tool's letter picks the tool on the canvas only";
    EXPECT_EQ(CommandFor(WXK_F10), ID_FOCUS_RIBBON);
    EXPECT_EQ(CommandFor('P', true), ID_FILE_PRINT);
    EXPECT_EQ(CommandFor(WXK_DELETE), wxNOT_FOUND) << "plain Delete belongs to the editor";
    EXPECT_EQ(CommandFor('0', true), ID_ZOOM_100);
    EXPECT_EQ(CommandFor('+', true), ID_ZOOM_IN);
    EXPECT_EQ(CommandFor(WXK_NUMPAD_ADD, true), ID_ZOOM_IN);
    EXPECT_EQ(CommandFor('-', true), ID_ZOOM_OUT);
    EXPECT_EQ(CommandFor('G', true), ID_SHOW_GRID);
    EXPECT_EQ(CommandFor('G', true, true), ID_SNAP_TO_GRID);
}

// --- the keyboard in the main window -----------------------------------------------

class KeyJourney : public test::AppJourney {
protected:
    void Type(int key, int modifiers = wxMOD_NONE)
    {
        m_keys.Char(key, modifiers);
        test::PumpEvents(80);
    }

    // Keys pressed once a list has come up (its loop holds the caller).
    void TypeInList(std::vector<int> keys)
    {
        m_listKeys = std::move(keys);
        m_listTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            for (int key : m_listKeys)
                wxUIActionSimulator().Char(key);
        });
        m_listTimer.StartOnce(400);
    }

    wxUIActionSimulator m_keys;
    std::vector<int> m_listKeys;
    wxTimer m_listTimer;
};

TEST_F(KeyJourney, ToolLettersWorkOnTheCanvasOnlyAndBOpensTheButtonList)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    FormView& view = ActiveView()->GetFormView();
    CanvasWindow* canvas = ActiveView()->GetCanvas();
    canvas->SetFocus();
    ASSERT_TRUE(test::WaitFor([&] { return wxWindow::FindFocus() == canvas; }));

    const std::pair<int, int> tools[] = {{'T', InsertKind::Text},      {'I', InsertKind::Image},
                                         {'G', InsertKind::Table},     {'L', InsertKind::Line},
                                         {'R', InsertKind::Rectangle}, {'E', InsertKind::Ellipse}};
    for (const auto& [letter, kind] : tools) {
        Type(letter);
        EXPECT_EQ(view.GetInsertKind(), kind) << static_cast<char>(letter);
        EXPECT_TRUE(view.GetEditor().IsDrawing()) << static_cast<char>(letter);
    }
    Type('S');
    EXPECT_FALSE(view.GetEditor().IsDrawing());
    EXPECT_TRUE(wxWindow::FindFocus() == canvas);

    TypeInList({WXK_DOWN, WXK_RETURN});
    Type('B');
    EXPECT_TRUE(test::WaitFor([&] { return view.GetEditor().IsDrawing(); })) << "no button kind was armed";
    EXPECT_EQ(view.GetInsertKind(), InsertKind::Button);

    // Anywhere else a letter is typing.
    wxTextCtrl* search = m_frame->GetInspector()->GetSearchBox();
    search->SetFocus();
    ASSERT_TRUE(test::WaitFor([&] { return wxWindow::FindFocus() == search; }));
    Type('T');
    EXPECT_EQ(search->GetValue().Lower(), "t");
    EXPECT_EQ(view.GetInsertKind(), InsertKind::Button);
}

TEST_F(KeyJourney, F10ReachesTheRibbonWhoseArrowsAndEnterRunACommandOnTheCanvas)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    FormView& view = ActiveView()->GetFormView();
    CanvasWindow* canvas = ActiveView()->GetCanvas();
    canvas->SetFocus();
    ASSERT_TRUE(test::WaitFor([&] { return wxWindow::FindFocus() == canvas; }));
    Ribbon& ribbon = m_frame->GetRibbon();

    Type(WXK_F10);
    ASSERT_TRUE(ribbon.HasKeyboardFocus());
    EXPECT_EQ(ribbon.GetKeyboardItem(), ID_FILE_NEW) << "the first button of the page";
    EXPECT_EQ(wxWindow::FindFocus(), ribbon.FindButtonBar(ID_FILE_NEW));
    Type(WXK_ESCAPE);
    EXPECT_FALSE(ribbon.HasKeyboardFocus());
    EXPECT_EQ(wxWindow::FindFocus(), canvas);

    Type(WXK_F10);
    for (int i = 0; i < 40 && ribbon.GetKeyboardItem() != ID_ADD_ELLIPSE; ++i)
        Type(WXK_RIGHT);
    ASSERT_EQ(ribbon.GetKeyboardItem(), ID_ADD_ELLIPSE);
    EXPECT_EQ(wxWindow::FindFocus(), ribbon.FindButtonBar(ID_ADD_ELLIPSE));
    Type(WXK_RETURN);
    EXPECT_EQ(view.GetInsertKind(), InsertKind::Ellipse);
    EXPECT_FALSE(ribbon.HasKeyboardFocus());
    EXPECT_EQ(wxWindow::FindFocus(), canvas) << "the command runs where the designer was";

    Type(WXK_F10);
    Type(WXK_PAGEDOWN);
    EXPECT_EQ(m_frame->GetRibbon().GetBar()->GetActivePage(), 1);
    EXPECT_EQ(FindCommand(ribbon.GetKeyboardItem())->category, std::string("CATEGORY_FORMATE"));
    Type(WXK_ESCAPE);
}

TEST_F(KeyJourney, CentreInFormOnTheRibbonCentresTheSelectionInOneStep)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    CDiagramEditor& editor = ActiveView()->GetFormView().GetEditor();
    CDiagramEntityContainer& form = *editor.GetDiagramEntityContainer();
    editor.SelectAll();
    wxRibbonButtonBar* buttons = m_frame->GetRibbon().FindButtonBar(ID_CENTRE_IN_FORM);
    ASSERT_NE(buttons, nullptr);
    m_frame->GetRibbon().GetBar()->SetActivePage(1);
    test::PumpEvents(100);
    const wxRect rect = buttons->GetItemRect(ID_CENTRE_IN_FORM);
    // A button without its label still shows its icon: strokes well apart
    // from the bar's colour at the corner.
    const wxImage face = Capture(buttons, rect);
    int strokes = 0;
    for (int y = 0; y < face.GetHeight(); ++y)
        for (int x = 0; x < face.GetWidth(); ++x)
            strokes += std::abs(face.GetRed(x, y) - face.GetRed(0, 0)) > 40;
    EXPECT_GT(strokes, 10) << "a blank button";
    m_keys.MouseMove(buttons->ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2)));
    test::PumpEvents(50);
    m_keys.MouseClick();
    test::PumpEvents(100);

    ASSERT_EQ(form.GetUndoCount(), 1);
    EXPECT_EQ(form.GetUndoName(), "Centre in form");
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* e = form.GetAt(i);
        left = std::min(left, e->GetLeft()), top = std::min(top, e->GetTop());
        right = std::max(right, e->GetRight()), bottom = std::max(bottom, e->GetBottom());
    }
    const IntSize paper = editor.GetVirtualSize();
    EXPECT_NEAR(left + right, paper.cx, 1.0);
    EXPECT_NEAR(top + bottom, paper.cy, 1.0);
}

class GermanKeyJourney : public KeyJourney {
protected:
    GermanKeyJourney() { m_language = "German"; }
};

// Panels folded into a drop-down on every page at this window width.
std::vector<std::string> FoldedPanels(MainFrame& frame, int width)
{
    frame.SetSize(width, 800);
    test::PumpEvents(100);
    wxRibbonBar* bar = frame.GetRibbon().GetBar();
    std::vector<std::string> folded;
    for (size_t p = 0; p < bar->GetPageCount(); ++p) {
        bar->SetActivePage(p);
        test::PumpEvents(50);
        for (wxWindow* child : bar->GetPage(p)->GetChildren()) {
            auto* panel = dynamic_cast<wxRibbonPanel*>(child);
            if (panel && panel->IsMinimised())
                folded.push_back(panel->GetLabel().utf8_string());
        }
    }
    bar->SetActivePage(size_t{0});
    return folded;
}

TEST_F(GermanKeyJourney, EveryPanelStaysOpenAt1366PixelsAndComesBackAfterANarrowerWindow)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    EXPECT_EQ(FoldedPanels(*m_frame, 1366), std::vector<std::string>{});
    EXPECT_FALSE(FoldedPanels(*m_frame, 900).empty()) << "a narrow window folds panels";

    // A folded panel opens as a drop-down that shows every button whole and
    // goes once a command is chosen.
    wxRibbonButtonBar* controls = m_frame->GetRibbon().FindButtonBar(ID_TEXT_CTRL);
    auto* panel = dynamic_cast<wxRibbonPanel*>(controls->GetParent());
    ASSERT_TRUE(panel && panel->IsMinimised());
    ASSERT_TRUE(panel->ShowExpanded());
    ASSERT_TRUE(test::WaitFor([&] { return controls->IsShownOnScreen() && panel->GetExpandedPanel(); }));
    EXPECT_TRUE(test::WaitFor([&] {
        return controls->GetClientRect().Contains(controls->GetItemRect(ID_ADD_ELLIPSE)) &&
               controls->GetClientRect().Contains(controls->GetItemRect(ID_MULTIDRAW));
    })) << controls->GetClientSize().x
        << " " << controls->GetItemRect(ID_MULTIDRAW).GetRight();
    const wxRect text = controls->GetItemRect(ID_TEXT_CTRL);
    m_keys.MouseMove(controls->ClientToScreen(wxPoint(text.x + text.width / 2, text.y + text.height / 2)));
    test::PumpEvents(50);
    m_keys.MouseClick();
    test::PumpEvents(100);
    EXPECT_EQ(ActiveView()->GetFormView().GetInsertKind(), InsertKind::Text);
    EXPECT_TRUE(test::WaitFor([&] { return panel->GetExpandedPanel() == nullptr; })) << "the drop-down stayed";

    // Widened while the drop-down is open.
    FoldedPanels(*m_frame, 900);
    ASSERT_TRUE(panel->ShowExpanded());
    ASSERT_TRUE(test::WaitFor([&] { return controls->IsShownOnScreen() && panel->GetExpandedPanel(); }));
    EXPECT_EQ(FoldedPanels(*m_frame, 1366), std::vector<std::string>{});
    EXPECT_EQ(panel->GetExpandedPanel(), nullptr);
    EXPECT_EQ(controls->GetParent(), panel);
    EXPECT_TRUE(controls->IsShownOnScreen());
    EXPECT_TRUE(controls->GetClientRect().Contains(controls->GetItemRect(ID_MULTIDRAW))) << "the panel came back empty";
}

}  // namespace
