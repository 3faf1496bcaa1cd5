#include "app/CommandTable.h"

#include "editor/CommandIds.h"
#include "services/LanguageTable.h"

#include <cctype>

namespace fw {

namespace {

constexpr const char* Home = "CATEGORY_HOME";
constexpr const char* Format = "CATEGORY_FORMATE";

constexpr CommandKind Btn = CommandKind::Button;
constexpr CommandKind Tgl = CommandKind::Toggle;
constexpr CommandKind Drop = CommandKind::Dropdown;

// Ribbon order: categories, then panels, then buttons; drop-down items follow
// their drop-down. The keyboard-only commands come last.
const std::vector<CommandInfo> Commands = {
    // Home / File: the ribbon has no application button, so the file commands
    // open the first page.
    {ID_FILE_NEW, "ID_FILE_NEW", "T_RIB_NEW", "H_RIB_NEW", Home, "PANEL_FILE", "document-new", Btn, "Ctrl+N", 0, true},
    {ID_FILE_OPEN, "ID_FILE_OPEN", "T_RIB_OPEN", "H_RIB_OPEN", Home, "PANEL_FILE", "document-open", Btn, "Ctrl+O", 0,
     true},
    {ID_FILE_RECENT, "ID_FILE_RECENT", "T_RIB_RECENT", "H_RIB_RECENT", Home, "PANEL_FILE", "document-open-recent", Drop,
     ""},
    {ID_FILE_SAVE, "ID_FILE_SAVE", "T_RIB_SAVE", "H_RIB_SAVE", Home, "PANEL_FILE", "document-save", Btn, "Ctrl+S"},
    {ID_FILE_SAVE_AS, "ID_FILE_SAVE_AS", "T_RIB_SAVEAS", "H_RIB_SAVEAS", Home, "PANEL_FILE", "document-save-as", Btn,
     ""},
    {ID_FILE_CLOSE, "ID_FILE_CLOSE", "T_RIB_CLOSE", "H_RIB_CLOSE", Home, "PANEL_FILE", "document-close", Btn, ""},
    {ID_APP_EXIT, "ID_APP_EXIT", "T_RIB_EXIT", "H_RIB_EXIT", Home, "PANEL_FILE", "application-exit", Btn, ""},

    // Home / Clipboard
    {ID_EDIT_PASTE, "ID_EDIT_PASTE", "T_RIB_PASTE", "H_RIB_PASTE", Home, "PANEL_CLIPBOARD", "edit-paste", Btn,
     "Ctrl+V, Shift+Ins", 0, true},
    {ID_EDIT_CUT, "ID_EDIT_CUT", "T_RIB_CUT", "H_RIB_CUT", Home, "PANEL_CLIPBOARD", "edit-cut", Btn,
     "Ctrl+X, Shift+Del"},
    {ID_EDIT_COPY, "ID_EDIT_COPY", "T_RIB_COPY", "H_RIB_COPY", Home, "PANEL_CLIPBOARD", "edit-copy", Btn,
     "Ctrl+C, Ctrl+Ins"},
    {ID_EDIT_UNDO, "ID_EDIT_UNDO", "T_RIB_UNDO", "H_RIB_UNDO", Home, "PANEL_CLIPBOARD", "edit-undo", Btn,
     "Ctrl+Z, Alt+Backspace"},
    {ID_EDIT_REDO, "ID_EDIT_REDO", "T_RIB_REDO", "H_RIB_REDO", Home, "PANEL_CLIPBOARD", "edit-redo", Btn,
     "Ctrl+Y, Ctrl+Shift+Z"},
    {ID_EDIT_SELECT_ALL, "ID_EDIT_SELECT_ALL", "T_RIB_SELECTALL", "H_RIB_SELECTALL", Home, "PANEL_CLIPBOARD",
     "edit-select-all", Btn, "Ctrl+A"},

    // Home / Controls: the selection tool first, then the creation tools.
    {ID_SELECT_TOOL, "ID_SELECT_TOOL", "T_RIB_SELECT_TOOL", "H_RIB_SELECT_TOOL", Home, "PANEL_CONTROLS", "tool-pointer",
     Tgl, "S", 0, true},
    {ID_TEXT_CTRL, "ID_TEXT_CTRL", "T_RIB_TEXT", "H_RIB_TEXT", Home, "PANEL_CONTROLS", "draw-text", Tgl, "T"},
    {ID_ADD_IMAGE, "ID_ADD_IMAGE", "T_RIB_IMAGE", "H_RIB_IMAGE", Home, "PANEL_CONTROLS", "insert-image", Tgl, "I"},
    {ID_TABLE, "ID_TABLE", "T_RIB_TABLE", "H_RIB_TABLE", Home, "PANEL_CONTROLS", "insert-table", Tgl, "G"},
    {ID_ADD_BUTTON, "ID_ADD_BUTTON", "T_RIB_BUTTON", "H_RIB_BUTTON", Home, "PANEL_CONTROLS", "insert-button", Drop,
     "B"},
    {ID_ADD_CONTEXTMENU, "ID_ADD_CONTEXTMENU", "CONTEXT_MENU", "", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_ADD_ATTACH, "ID_ADD_ATTACH", "ATTACH_CATALOG", "", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_ADD_ARTICLEDATA_FROM_LIST, "ID_ADD_ARTICLEDATA_FROM_LIST", "ARTICLE_FROM_LIST", "H_ARTICLE_FROM_LIST", Home,
     "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_ADD_DOCVIEW, "ID_ADD_DOCVIEW", "VIEW_DOCUMENT", "", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_DOCOPEN, "ID_DOCOPEN", "OPEN_DOCUMENT", "", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_ADD_DETACH, "ID_ADD_DETACH", "DETACH_CATALOG", "", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_GRAPHIC_HIGHLIGHT, "ID_GRAPHIC_HIGHLIGHT", "HIGHLIGHT_GRAPHIC", "", Home, "PANEL_CONTROLS", "", Btn, "",
     ID_ADD_BUTTON},
    {ID_LINK_OBJECT_FROM_DRAWING, "ID_LINK_OBJECT_FROM_DRAWING", "TITLE_ASSIGN_OBJS", "", Home, "PANEL_CONTROLS", "",
     Btn, "", ID_ADD_BUTTON},
    {ID_CHANGE_TBL_QUERY, "ID_CHANGE_TBL_QUERY", "FD_CHANGE_TBL_QUERY", "FD_CHANGE_TBL_QUERY", Home, "PANEL_CONTROLS",
     "", Btn, "", ID_ADD_BUTTON},
    {ID_PRINT_TO_PDF, "ID_PRINT_TO_PDF", "T_RIB_PRINTTOPDF", "H_RIP_PRINTTOPDF", Home, "PANEL_CONTROLS", "", Btn, "",
     ID_ADD_BUTTON},
    {ID_INSERT_OBJECT, "ID_INSERT_OBJECT", "OBJECT_INSERT", "H_INSERT_NEW_OBJECT", Home, "PANEL_CONTROLS", "", Btn, "",
     ID_ADD_BUTTON},
    {ID_OBJ_RELATION, "ID_OBJ_RELATION", "OBJECT_RELATION", "H_OBJECT_RELATION", Home, "PANEL_CONTROLS", "", Btn, "",
     ID_ADD_BUTTON},
    {ID_ADDIN, "ID_ADDIN", "T_RIB_ADDIN", "H_RIB_ADDIN", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_CREATE_REPORT, "ID_CREATE_REPORT", "lt3712", "lt3712", Home, "PANEL_CONTROLS", "", Btn, "", ID_ADD_BUTTON},
    {ID_ADD_LINE, "ID_ADD_LINE", "T_RIB_LINE", "H_RIB_LINE", Home, "PANEL_CONTROLS", "draw-line", Tgl, "L"},
    {ID_ADD_RECTANGLE, "ID_ADD_RECTANGLE", "T_RIB_RECTANGLE", "H_RIB_RECTANGLE", Home, "PANEL_CONTROLS",
     "draw-rectangle", Tgl, "R"},
    {ID_ADD_ELLIPSE, "ID_ADD_ELLIPSE", "T_RIB_ELLIPSE", "H_RIB_ELLIPSE", Home, "PANEL_CONTROLS", "draw-ellipse", Tgl,
     "E"},
    {ID_MULTIDRAW, "ID_MULTIDRAW", "T_RIB_MULTIDRAW", "H_RIB_MULTIDRAW", Home, "PANEL_CONTROLS",
     "view-multiple-objects", Tgl, ""},

    // Home / Filter, Test
    {ID_SHOWFILTER, "ID_SHOWFILTER", "T_RIB_SHOWFILTER", "H_RIB_SHOWFILTER", Home, "PANEL_FILTER", "view-filter", Btn,
     "", 0, true},
    {ID_FORM_PREVIEW, "ID_FORM_PREVIEW", "T_RIB_FORMPREVIEW", "H_RIB_FORMPREVIEW", Home, "PANEL_TEST", "view-preview",
     Btn, "", 0, true},

    // Home / Window: windows, panes and the visual style.
    {ID_WINDOW_NEW, "ID_WINDOW_NEW", "T_RIB_NEWWINDOW", "H_RIB_NEWWINDOW", Home, "PANEL_WINDOW", "window-new", Btn, "",
     0, true},
    {ID_WINDOW_MANAGER, "ID_WINDOW_MANAGER", "T_RIB_WINDOW_MANAGER", "H_RIB_WINDOW_MANAGER", Home, "PANEL_WINDOW",
     "window", Btn, ""},
    {ID_VIEW_PROPERTIESWND, "ID_VIEW_PROPERTIESWND", "T_RIB_VIEW_PROPWND", "H_RIB_VIEW_PROPWND", Home, "PANEL_WINDOW",
     "document-properties", Tgl, ""},
    {ID_VIEW_INSPECTORWND, "ID_VIEW_INSPECTORWND", "T_RIB_VIEWOBJPROPWND", "H_RIB_VIEWOBJPROPWND", Home, "PANEL_WINDOW",
     "view-list-tree", Tgl, ""},
    {ID_VIEW_STATUS_BAR, "ID_VIEW_STATUS_BAR", "T_RIB_STATUSBAR", "H_RIB_STATUSBAR", Home, "PANEL_WINDOW",
     "view-split-top-bottom", Tgl, ""},
    {ID_VIEW_EXTEND_PROPERTIES, "ID_VIEW_EXTEND_PROPERTIES", "T_RIB_VIEW_INTERNALPROP", "H_RIB_VIEW_INTERNALPROP", Home,
     "PANEL_WINDOW", "view-hidden", Tgl, ""},

    {ID_VIEW_APPLOOK_MENU, "ID_VIEW_APPLOOK_MENU", "T_RIB_APPLOOK", "H_RIB_APPLOOK", Home, "PANEL_WINDOW",
     "color-management", Drop, ""},
    {ID_VIEW_APPLOOK_CLASSIC, "ID_VIEW_APPLOOK_CLASSIC", "T_RIB_APPLOOK_CLASSIC", "H_RIB_APPLOOK_ITEM", Home,
     "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_FLAT, "ID_VIEW_APPLOOK_FLAT", "T_RIB_APPLOOK_FLAT", "H_RIB_APPLOOK_ITEM", Home, "PANEL_WINDOW", "",
     Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_ROUNDED, "ID_VIEW_APPLOOK_ROUNDED", "T_RIB_APPLOOK_ROUNDED", "H_RIB_APPLOOK_ITEM", Home,
     "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_GRADIENT, "ID_VIEW_APPLOOK_GRADIENT", "T_RIB_APPLOOK_GRADIENT", "H_RIB_APPLOOK_ITEM", Home,
     "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_STUDIO, "ID_VIEW_APPLOOK_STUDIO", "T_RIB_APPLOOK_STUDIO", "H_RIB_APPLOOK_ITEM", Home,
     "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_STUDIO_LIGHT, "ID_VIEW_APPLOOK_STUDIO_LIGHT", "T_RIB_APPLOOK_STUDIO_LIGHT", "H_RIB_APPLOOK_ITEM",
     Home, "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_BLUE, "ID_VIEW_APPLOOK_BLUE", "T_RIB_APPLOOK_BLUE", "H_RIB_APPLOOK_ITEM", Home, "PANEL_WINDOW", "",
     Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_BLACK, "ID_VIEW_APPLOOK_BLACK", "T_RIB_APPLOOK_BLACK", "H_RIB_APPLOOK_ITEM", Home, "PANEL_WINDOW",
     "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_SILVER, "ID_VIEW_APPLOOK_SILVER", "T_RIB_APPLOOK_SILVER", "H_RIB_APPLOOK_ITEM", Home,
     "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_AQUA, "ID_VIEW_APPLOOK_AQUA", "T_RIB_APPLOOK_AQUA", "H_RIB_APPLOOK_ITEM", Home, "PANEL_WINDOW", "",
     Tgl, "", ID_VIEW_APPLOOK_MENU},
    {ID_VIEW_APPLOOK_DEFAULT, "ID_VIEW_APPLOOK_DEFAULT", "T_RIB_APPLOOK_DEFAULT", "H_RIB_APPLOOK_ITEM", Home,
     "PANEL_WINDOW", "", Tgl, "", ID_VIEW_APPLOOK_MENU},

    // Home / Help
    {ID_HELP, "ID_HELP", "T_RIB_HELP", "H_RIB_HELP", Home, "PANEL_HELP", "help-contents", Btn, "F1"},
    {ID_APP_ABOUT, "ID_APP_ABOUT", "T_RIB_ABOUT", "H_RIB_ABOUT", Home, "PANEL_HELP", "help-about", Btn, ""},

    // Format / View: zoom, grid and margins.
    {ID_ZOOM_MENU, "ID_ZOOM_MENU", "T_RIB_ZOOM", "H_RIB_ZOOM", Format, "PANEL_VIEW", "zoom", Drop, "", 0, true},
    {ID_ZOOM_25, "ID_ZOOM_25", "T_RIB_ZOOM_25", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_50, "ID_ZOOM_50", "T_RIB_ZOOM_50", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_60, "ID_ZOOM_60", "T_RIB_ZOOM_60", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_70, "ID_ZOOM_70", "T_RIB_ZOOM_70", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_80, "ID_ZOOM_80", "T_RIB_ZOOM_80", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_90, "ID_ZOOM_90", "T_RIB_ZOOM_90", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_100, "ID_ZOOM_100", "T_RIB_ZOOM_100", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "Ctrl+0",
     ID_ZOOM_MENU},
    {ID_ZOOM_110, "ID_ZOOM_110", "T_RIB_ZOOM_110", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_120, "ID_ZOOM_120", "T_RIB_ZOOM_120", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_130, "ID_ZOOM_130", "T_RIB_ZOOM_130", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_140, "ID_ZOOM_140", "T_RIB_ZOOM_140", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_150, "ID_ZOOM_150", "T_RIB_ZOOM_150", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_200, "ID_ZOOM_200", "T_RIB_ZOOM_200", "H_RIB_ZOOM_STEP", Format, "PANEL_VIEW", "", Btn, "", ID_ZOOM_MENU},
    {ID_ZOOM_IN, "ID_ZOOM_IN", "T_RIB_ZOOM_IN", "H_RIB_ZOOM_IN", Format, "PANEL_VIEW", "zoom-in", Btn, "Ctrl+Plus"},
    {ID_ZOOM_OUT, "ID_ZOOM_OUT", "T_RIB_ZOOM_OUT", "H_RIB_ZOOM_OUT", Format, "PANEL_VIEW", "zoom-out", Btn,
     "Ctrl+Minus"},
    {ID_SHOW_GRID, "ID_SHOW_GRID", "T_RIB_GRID", "H_RIB_GRID", Format, "PANEL_VIEW", "view-grid", Tgl, "Ctrl+G"},
    {ID_SNAP_TO_GRID, "ID_SNAP_TO_GRID", "T_RIB_SNAP", "H_RIB_SNAP", Format, "PANEL_VIEW", "snap", Tgl, "Ctrl+Shift+G"},
    {ID_SNAP_LINES, "ID_SNAP_LINES", "T_RIB_SNAP_LINES", "H_RIB_SNAP_LINES", Format, "PANEL_VIEW",
     "snap-bounding-box-edges", Tgl, ""},
    {ID_SHOW_MARGINS, "ID_SHOW_MARGINS", "T_RIB_MARGINS", "H_RIB_MARGINS", Format, "PANEL_VIEW", "trim-margins", Tgl,
     "Ctrl+Shift+M"},
    {ID_RESTRAIN_TO_MARGINS, "ID_RESTRAIN_TO_MARGINS", "T_RIB_RESTRAIN", "H_RIB_RESTRAIN", Format, "PANEL_VIEW",
     "snap-page", Tgl, ""},
    {ID_SHOW_SELECTION_PROPERTIES, "ID_SHOW_SELECTION_PROPERTIES", "T_RIB_SELECTION_PROPS", "H_RIB_SELECTION_PROPS",
     Format, "PANEL_VIEW", "view-form", Btn, "Alt+Enter"},

    // Format / Align, Size, Arrange
    {ID_LEFT_ALIGN, "ID_LEFT_ALIGN", "T_RIB_LEFT_ALIGN", "H_RIB_LEFT_ALIGN", Format, "PANEL_ALIGN",
     "align-horizontal-left", Btn, ""},
    {ID_RIGHT_ALIGN, "ID_RIGHT_ALIGN", "T_RIB_RIGHT_ALIGN", "H_RIB_RIGHT_ALIGN", Format, "PANEL_ALIGN",
     "align-horizontal-right", Btn, ""},
    {ID_TOP_ALIGN, "ID_TOP_ALIGN", "T_RIB_TOP_ALIGN", "H_RIB_TOP_ALIGN", Format, "PANEL_ALIGN", "align-vertical-top",
     Btn, ""},
    {ID_BOTTOM_ALIGN, "ID_BOTTOM_ALIGN", "T_RIB_BOTTOM_ALIGN", "H_RIB_BOTTOM_ALIGN", Format, "PANEL_ALIGN",
     "align-vertical-bottom", Btn, ""},
    // Centring, spreading and centring on the paper sit as small buttons
    // beside the edges, so the page keeps its width.
    {ID_CENTRE_HORIZONTALLY, "ID_CENTRE_HORIZONTALLY", "T_RIB_CENTRE_HORIZONTALLY", "H_RIB_CENTRE_HORIZONTALLY", Format,
     "PANEL_ALIGN", "align-horizontal-center", Btn, "", 0, false, true},
    {ID_CENTRE_VERTICALLY, "ID_CENTRE_VERTICALLY", "T_RIB_CENTRE_VERTICALLY", "H_RIB_CENTRE_VERTICALLY", Format,
     "PANEL_ALIGN", "align-vertical-center", Btn, "", 0, false, true},
    {ID_CENTRE_IN_FORM, "ID_CENTRE_IN_FORM", "T_RIB_CENTRE_IN_FORM", "H_RIB_CENTRE_IN_FORM", Format, "PANEL_ALIGN",
     "snap-bounding-box-center", Btn, "", 0, false, true},
    {ID_DISTRIBUTE_HORIZONTALLY, "ID_DISTRIBUTE_HORIZONTALLY", "T_RIB_DISTRIBUTE_HORIZONTALLY",
     "H_RIB_DISTRIBUTE_HORIZONTALLY", Format, "PANEL_ALIGN", "distribute-horizontal-gaps", Btn, "", 0, false, true},
    {ID_DISTRIBUTE_VERTICALLY, "ID_DISTRIBUTE_VERTICALLY", "T_RIB_DISTRIBUTE_VERTICALLY", "H_RIB_DISTRIBUTE_VERTICALLY",
     Format, "PANEL_ALIGN", "distribute-vertical-gaps", Btn, "", 0, false, true},
    {ID_MAKE_SAME_SIZE, "ID_MAKE_SAME_SIZE", "T_RIB_SAMESIZE", "H_RIB_SAMESIZE", Format, "PANEL_SIZE",
     "transform-scale", Btn, "", 0, true},
    {ID_MAKE_SAME_WIDTH, "ID_MAKE_SAME_WIDTH", "T_RIB_SAME_WIDTH", "H_RIB_SAME_WIDTH", Format, "PANEL_SIZE",
     "zoom-fit-width", Btn, "", 0, false, true},
    {ID_MAKE_SAME_HEIGHT, "ID_MAKE_SAME_HEIGHT", "T_RIB_SAME_HEIGHT", "H_RIB_SAME_HEIGHT", Format, "PANEL_SIZE",
     "zoom-fit-height", Btn, "", 0, false, true},
    {ID_BRING_TO_FRONT, "ID_BRING_TO_FRONT", "T_RIB_BRING_TO_FRONT", "H_RIB_BRING_TO_FRONT", Format, "PANEL_ARRANGE",
     "object-order-front", Btn, "Ctrl+Shift+Plus"},
    {ID_MOVE_FORWARD, "ID_MOVE_FORWARD", "T_RIB_MOVE_FORWARD", "H_RIB_MOVE_FORWARD", Format, "PANEL_ARRANGE",
     "object-order-raise", Btn, ""},
    {ID_MOVE_BACKWARD, "ID_MOVE_BACKWARD", "T_RIB_MOVE_BACKWARD", "H_RIB_MOVE_BACKWARD", Format, "PANEL_ARRANGE",
     "object-order-lower", Btn, ""},
    {ID_SEND_TO_BACK, "ID_SEND_TO_BACK", "T_RIB_SEND_TO_BACK", "H_RIB_SEND_TO_BACK", Format, "PANEL_ARRANGE",
     "object-order-back", Btn, "Ctrl+Shift+Minus"},

    // Format / Style, Tab order
    {ID_ADDSTYLE, "ID_ADDSTYLE", "T_RIB_TEXTSTYLE", "H_RIB_TEXTSTYLE", Format, "PANEL_STYLE", "format-text-color", Btn,
     "", 0, true},
    {ID_CALC_TABORDER_COORD, "ID_CALC_TABORDER_COORD", "T_RIB_CALC_TABORDER_COORD", "H_RIB_CALC_TABORDER_COORD", Format,
     "PANEL_TABORDER", "view-sort-ascending", Btn, "", 0, true},
    {ID_CHECK_SHOW_TABORDER, "ID_CHECK_SHOW_TABORDER", "T_RIB_SHOW_TABORDER", "H_RIB_SHOW_TABORDER", Format,
     "PANEL_TABORDER", "format-list-ordered", Tgl, "", 0, true},
    {ID_TABORDER_BY_CLICKS, "ID_TABORDER_BY_CLICKS", "T_RIB_TABORDER_BY_CLICKS", "H_RIB_TABORDER_BY_CLICKS", Format,
     "PANEL_TABORDER", "view-sort", Tgl, "Ctrl+Shift+T", 0, false, true},

    // Keyboard only.
    {ID_NEXT_PANE, "ID_NEXT_PANE", "T_RIB_NEXT_PANE", "H_RIB_NEXT_PANE", "", "", "", Btn, "F6"},
    {ID_PREV_PANE, "ID_PREV_PANE", "T_RIB_PREV_PANE", "H_RIB_PREV_PANE", "", "", "", Btn, "Shift+F6"},
    {ID_FOCUS_RIBBON, "ID_FOCUS_RIBBON", "T_RIB_FOCUS_RIBBON", "H_RIB_FOCUS_RIBBON", "", "", "", Btn, "F10"},
    {ID_FILE_PRINT, "ID_FILE_PRINT", "T_RIB_PRINT", "H_RIB_PRINT", "", "", "", Btn, "Ctrl+P"},
};

bool IsKnownKey(const std::string& key)
{
    if (key.size() == 1)
        return std::isupper(static_cast<unsigned char>(key[0])) || std::isdigit(static_cast<unsigned char>(key[0]));
    if (key.size() >= 2 && key.size() <= 3 && key[0] == 'F' &&
        key.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int n = std::stoi(key.substr(1));
        return n >= 1 && n <= 12;
    }
    return key == "Ins" || key == "Del" || key == "Backspace" || key == "Plus" || key == "Minus" || key == "Enter";
}

// One combination such as "Ctrl+Shift+G"; false when a part is unknown.
bool ParseOne(const std::string& text, Shortcut& out)
{
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        const std::string part = text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        if (plus == std::string::npos) {
            out.key = part;
            return IsKnownKey(part);
        }
        if (part == "Ctrl")
            out.ctrl = true;
        else if (part == "Alt")
            out.alt = true;
        else if (part == "Shift")
            out.shift = true;
        else
            return false;
        start = plus + 1;
    }
}

}  // namespace

const std::vector<CommandInfo>& GetCommandTable()
{
    return Commands;
}

const CommandInfo* FindCommand(int id)
{
    for (const CommandInfo& command : Commands)
        if (command.id == id)
            return &command;
    return nullptr;
}

std::vector<const CommandInfo*> GetMenuCommands(int menuId)
{
    std::vector<const CommandInfo*> items;
    if (menuId == 0)
        return items;
    for (const CommandInfo& command : Commands)
        if (command.menu == menuId)
            items.push_back(&command);
    return items;
}

std::vector<Shortcut> ParseShortcuts(const std::string& text)
{
    std::vector<Shortcut> shortcuts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t comma = text.find(", ", start);
        const std::string one = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        Shortcut shortcut;
        if (!ParseOne(one, shortcut))
            return {};
        shortcuts.push_back(shortcut);
        if (comma == std::string::npos)
            break;
        start = comma + 2;
    }
    return shortcuts;
}

bool IsCanvasKey(const Shortcut& shortcut)
{
    return !shortcut.ctrl && !shortcut.alt && !shortcut.shift && shortcut.key.size() == 1 &&
           std::isupper(static_cast<unsigned char>(shortcut.key[0]));
}

const CommandInfo* FindCanvasCommand(char letter)
{
    const char key[] = {static_cast<char>(std::toupper(static_cast<unsigned char>(letter))), '\0'};
    for (const CommandInfo& command : Commands)
        for (const Shortcut& shortcut : ParseShortcuts(command.shortcut))
            if (IsCanvasKey(shortcut) && shortcut.key == key)
                return &command;
    return nullptr;
}

std::string ShortcutText(const Shortcut& shortcut)
{
    // Key names that differ between keyboards; letters, digits, F-keys,
    // Plus and Minus read the same everywhere.
    static const std::pair<const char*, const char*> Named[] = {
        {"Del", "KEY_DEL"}, {"Ins", "KEY_INS"}, {"Backspace", "KEY_BACKSPACE"}, {"Enter", "KEY_ENTER"}};
    std::string text;
    if (shortcut.ctrl)
        text += langStr("KEY_CTRL") + "+";
    if (shortcut.alt)
        text += langStr("KEY_ALT") + "+";
    if (shortcut.shift)
        text += langStr("KEY_SHIFT") + "+";
    for (const auto& [key, nameKey] : Named)
        if (shortcut.key == key)
            return text + langStr(nameKey);
    return text + shortcut.key;
}

std::string FirstShortcutText(const CommandInfo& command)
{
    const std::vector<Shortcut> shortcuts = ParseShortcuts(command.shortcut);
    return shortcuts.empty() ? std::string() : ShortcutText(shortcuts.front());
}

TextEdit TextEditOf(int commandId)
{
    switch (commandId) {
    case ID_EDIT_CUT:
        return TextEdit::Cut;
    case ID_EDIT_COPY:
        return TextEdit::Copy;
    case ID_EDIT_PASTE:
        return TextEdit::Paste;
    case ID_EDIT_SELECT_ALL:
        return TextEdit::SelectAll;
    case ID_EDIT_UNDO:
        return TextEdit::Undo;
    case ID_EDIT_REDO:
        return TextEdit::Redo;
    default:
        return TextEdit::None;
    }
}

}  // namespace fw
