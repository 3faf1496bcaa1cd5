#pragma once
// Command identifiers shared by the ribbon, the menus and the form view.
// Names the ribbon defines are kept; the others name what the command does.

namespace fw {

// Clipboard, undo, selection.
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int ID_EDIT_GROUP = 57645;
constexpr int ID_EDIT_UNGROUP = 57646;
constexpr int ID_SHOW_SELECTION_PROPERTIES = 32772;

// Creation tools.
constexpr int ID_TEXT_CTRL = 32858;
constexpr int ID_ADD_IMAGE = 32823;
constexpr int ID_TABLE = 32857;
constexpr int ID_ADD_LINE = 32878;
constexpr int ID_ADD_RECTANGLE = 32880;
constexpr int ID_ADD_ELLIPSE = 32879;
constexpr int ID_ADD_BUTTON = 32775;
constexpr int ID_SELECT_TOOL = 32819;
constexpr int ID_MULTIDRAW = 32821;

// Command buttons, one per kind.
constexpr int ID_ADD_CONTEXTMENU = 32850;
constexpr int ID_ADD_ATTACH = 32856;
constexpr int ID_ADD_ARTICLEDATA_FROM_LIST = 32875;
constexpr int ID_ADD_DOCVIEW = 32853;
constexpr int ID_DOCOPEN = 32854;
constexpr int ID_ADD_DETACH = 32851;
constexpr int ID_GRAPHIC_HIGHLIGHT = 32855;
constexpr int ID_LINK_OBJECT_FROM_DRAWING = 32877;
constexpr int ID_CHANGE_TBL_QUERY = 32871;
constexpr int ID_PRINT_TO_PDF = 32872;
constexpr int ID_INSERT_OBJECT = 32873;
constexpr int ID_OBJ_RELATION = 32874;
constexpr int ID_ADDIN = 32888;
constexpr int ID_CREATE_REPORT = 32889;

// Layout and z-order.
constexpr int ID_LEFT_ALIGN = 32808;
constexpr int ID_RIGHT_ALIGN = 32809;
constexpr int ID_TOP_ALIGN = 32810;
constexpr int ID_BOTTOM_ALIGN = 32811;
constexpr int ID_MAKE_SAME_SIZE = 32812;
constexpr int ID_MOVE_FORWARD = 32813;
constexpr int ID_MOVE_BACKWARD = 32814;
constexpr int ID_BRING_TO_FRONT = 32815;
constexpr int ID_SEND_TO_BACK = 32816;
constexpr int ID_LAYOUT_NO_EFFECT = 32817;
constexpr int ID_CENTRE_HORIZONTALLY = 32920;
constexpr int ID_CENTRE_VERTICALLY = 32921;
constexpr int ID_DISTRIBUTE_HORIZONTALLY = 32922;
constexpr int ID_DISTRIBUTE_VERTICALLY = 32923;
constexpr int ID_MAKE_SAME_WIDTH = 32924;
constexpr int ID_MAKE_SAME_HEIGHT = 32925;
constexpr int ID_CENTRE_IN_FORM = 32926;

// Display switches.
constexpr int ID_SHOW_GRID = 32804;
constexpr int ID_SNAP_TO_GRID = 32802;
constexpr int ID_SHOW_MARGINS = 32806;
constexpr int ID_RESTRAIN_TO_MARGINS = 32807;
constexpr int ID_SNAP_LINES = 32940;

// Zoom steps.
constexpr int ID_ZOOM_100 = 32784;
constexpr int ID_ZOOM_110 = 32785;
constexpr int ID_ZOOM_120 = 32786;
constexpr int ID_ZOOM_130 = 32787;
constexpr int ID_ZOOM_140 = 32788;
constexpr int ID_ZOOM_150 = 32789;
constexpr int ID_ZOOM_200 = 32790;
constexpr int ID_ZOOM_25 = 32783;
constexpr int ID_ZOOM_50 = 32782;
constexpr int ID_ZOOM_60 = 32781;
constexpr int ID_ZOOM_70 = 32780;
constexpr int ID_ZOOM_80 = 32791;
constexpr int ID_ZOOM_90 = 32778;
constexpr int ID_ZOOM_IN = 32799;
constexpr int ID_ZOOM_OUT = 32800;

// Tab order.
constexpr int ID_CALC_TABORDER_COORD = 32881;
constexpr int ID_CHECK_SHOW_TABORDER = 32882;
constexpr int ID_TABORDER_BY_CLICKS = 32950;

}  // namespace fw
