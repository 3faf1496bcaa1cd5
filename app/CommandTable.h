#pragma once
// Every command the ribbon offers: where it sits, its label and description
// keys, its icon and shortcut. Toolkit-free, so the table can be checked
// without a window; the ribbon builder turns it into wx controls.

#include <string>
#include <vector>

namespace fw {

enum class CommandKind {
    Button,    // runs once
    Toggle,    // shows a ticked state
    Dropdown,  // opens a menu (the button kinds, the zoom steps)
};

struct CommandInfo {
    int id;
    const char* name;            // ribbon name, e.g. "ID_EDIT_PASTE"
    const char* labelKey;        // language key of the label
    const char* descriptionKey;  // "" for an empty description
    const char* category;        // language key of the ribbon category
    const char* panel;           // language key of the panel
    const char* icon;            // icon name in the icon theme ("" none)
    CommandKind kind;
    const char* shortcut;   // e.g. "Ctrl+N"; several separated by ", "; "" none
    int menu = 0;           // the drop-down that lists it; 0 when it has a button
    bool large = false;     // a large button (the panel's main command)
    bool iconOnly = false;  // a small button without its label (the tip names it)
};

// One key combination of a shortcut text such as "Ctrl+Shift+G".
struct Shortcut {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    std::string key;  // "A".."Z", "0".."9", "F1".."F12", "Ins", "Del", "Backspace", "Plus", "Minus"
};

// A plain letter is typing everywhere but on the canvas: there it picks a
// tool, so it never becomes a frame-wide accelerator.
bool IsCanvasKey(const Shortcut& shortcut);

// The whole table in ribbon order.
const std::vector<CommandInfo>& GetCommandTable();
// The entry of a command, or none.
const CommandInfo* FindCommand(int id);
// The commands a drop-down lists, in table order.
std::vector<const CommandInfo*> GetMenuCommands(int menuId);
// The key combinations of a shortcut text; empty when the text is empty or
// names a key this parser does not know.
std::vector<Shortcut> ParseShortcuts(const std::string& text);
// The command a plain letter runs while the canvas has the focus, or none.
const CommandInfo* FindCanvasCommand(char letter);
// A key combination as the designer reads it, with the modifier and key
// names of the language in use ("Strg+Entf" in German).
std::string ShortcutText(const Shortcut& shortcut);
// The first combination of a command's shortcut as ShortcutText gives it;
// "" when the command has none.
std::string FirstShortcutText(const CommandInfo& command);

// What the shortcut of an edit command does while a text field has the
// focus: the field's own edit, never the form's.
enum class TextEdit { None, Cut, Copy, Paste, SelectAll, Undo, Redo };
TextEdit TextEditOf(int commandId);

// Commands the main frame itself answers.
constexpr int ID_WINDOW_MANAGER = 156;
constexpr int ID_VIEW_PROPERTIESWND = 150;
constexpr int ID_VIEW_INSPECTORWND = 32839;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_VIEW_EXTEND_PROPERTIES = 32870;
constexpr int ID_ADDSTYLE = 32838;
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP = 57670;
constexpr int ID_WINDOW_NEW = 57648;
constexpr int ID_SHOWFILTER = 32836;
constexpr int ID_FORM_PREVIEW = 32876;
// Visual styles: 205 .. 210 and 215 .. 219; 219 is the default.
constexpr int ID_VIEW_APPLOOK_FIRST = 205;
constexpr int ID_VIEW_APPLOOK_LAST = 219;
constexpr int ID_VIEW_APPLOOK_DEFAULT = 219;
constexpr int ID_VIEW_APPLOOK_CLASSIC = 205;
constexpr int ID_VIEW_APPLOOK_FLAT = 206;
constexpr int ID_VIEW_APPLOOK_ROUNDED = 207;
constexpr int ID_VIEW_APPLOOK_GRADIENT = 208;
constexpr int ID_VIEW_APPLOOK_STUDIO = 209;
constexpr int ID_VIEW_APPLOOK_STUDIO_LIGHT = 210;
constexpr int ID_VIEW_APPLOOK_BLUE = 215;
constexpr int ID_VIEW_APPLOOK_BLACK = 216;
constexpr int ID_VIEW_APPLOOK_SILVER = 217;
constexpr int ID_VIEW_APPLOOK_AQUA = 218;
// Keyboard only: move the focus between the form and the docked panes, and
// into the ribbon; print the form.
constexpr int ID_NEXT_PANE = 32900;
constexpr int ID_PREV_PANE = 32901;
constexpr int ID_FOCUS_RIBBON = 32905;
constexpr int ID_FILE_PRINT = 5010;  // the toolkit's own print command
// The drop-downs that only open a list (zoom steps, visual styles).
constexpr int ID_ZOOM_MENU = 32902;
constexpr int ID_VIEW_APPLOOK_MENU = 32903;
// The recently opened files; the frame fills its list when it opens.
constexpr int ID_FILE_RECENT = 32904;

}  // namespace fw
