#include "editor/FormView.h"

#include "controls/DiagramButton.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramImage.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "controls/DiagramTable.h"
#include "editor/CommandIds.h"
#include "editor/EditorHost.h"
#include "model/DiagramEntityContainer.h"
#include "model/FormDefinitionDocument.h"
#include "model/PropertyEntries.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

constexpr IntSize NoLimit{-1, -1};
constexpr IntSize TextButtonMinimum{1, 1};
constexpr IntRect DroppedFieldRect{0, 0, 100, 20};
constexpr IntRect DroppedLabelRect{0, 0, 140, 27};
const char* const DroppedStyle = "s4";
const char* const UndoStepKey = "H_RIB_UNDO_STEP";
const char* const RedoStepKey = "H_RIB_REDO_STEP";
const char* const HistorySeparator = " \u00b7 ";

struct ZoomStep {
    int id;
    double zoom;
};

const ZoomStep ZoomSteps[] = {
    {ID_ZOOM_100, 1.0}, {ID_ZOOM_110, 1.1}, {ID_ZOOM_120, 1.2}, {ID_ZOOM_130, 1.3}, {ID_ZOOM_140, 1.4},
    {ID_ZOOM_150, 1.5}, {ID_ZOOM_200, 2.0}, {ID_ZOOM_25, 0.25}, {ID_ZOOM_50, 0.5},  {ID_ZOOM_60, 0.6},
    {ID_ZOOM_70, 0.7},  {ID_ZOOM_80, 0.8},  {ID_ZOOM_90, 0.9},
};

const ButtonCommand* FindButton(int id)
{
    for (const ButtonCommand& button : FormView::GetButtonCommands())
        if (button.id == id)
            return &button;
    return nullptr;
}

const ZoomStep* FindZoom(int id)
{
    for (const ZoomStep& step : ZoomSteps)
        if (step.id == id)
            return &step;
    return nullptr;
}

// Numbering by clicks goes on through the commands that change only the
// view, and through undo and redo, after which the round starts over. Every
// other command ends the round before it runs.
bool KeepsTabOrderRound(int id)
{
    static const int goOnThrough[] = {ID_EDIT_UNDO,
                                       ID_EDIT_REDO,
                                       ID_ZOOM_IN,
                                       ID_ZOOM_OUT,
                                       ID_SHOW_GRID,
                                       ID_SNAP_TO_GRID,
                                       ID_SNAP_LINES,
                                       ID_SHOW_MARGINS,
                                       ID_RESTRAIN_TO_MARGINS,
                                       ID_MULTIDRAW,
                                       ID_CHECK_SHOW_TABORDER,
                                       ID_TABORDER_BY_CLICKS};
    return FindZoom(id) || std::find(std::begin(goOnThrough), std::end(goOnThrough), id) != std::end(goOnThrough);
}

// The tool each plain insert command arms, for its check mark.
int InsertKindOf(int id)
{
    switch (id) {
    case ID_TEXT_CTRL:
        return InsertKind::Text;
    case ID_ADD_IMAGE:
        return InsertKind::Image;
    case ID_TABLE:
        return InsertKind::Table;
    case ID_ADD_LINE:
        return InsertKind::Line;
    case ID_ADD_RECTANGLE:
        return InsertKind::Rectangle;
    case ID_ADD_ELLIPSE:
        return InsertKind::Ellipse;
    case ID_ADD_BUTTON:
        return InsertKind::Button;
    default:
        return InsertKind::None;
    }
}

// A step of the history as the designer reads it: its name put into the
// text of `patternKey` ("Undo %s"); `unnamed` while the step has no name.
std::string NameStep(const char* patternKey, const std::string& name, const std::string& unnamed)
{
    return name.empty() ? unnamed : replaceAll(langStr(patternKey), "%s", name);
}

// The elements in list order with their tab indices; captions go with their
// fields, and a copy of the form places them differently.
std::vector<std::string> TabOrderPrint(const CDiagramEntityContainer& form)
{
    std::vector<std::string> print;
    for (int i = 0; i < form.GetCount(); ++i)
        if (const CDiagramEntity* e = form.GetAt(i); !e->IsDependentPart())
            print.push_back(std::to_string(e->GetTabIndex()) + " " + e->GetString());
    return print;
}

// Whether numbering by position would change the order or a tab index: the
// calculation runs on a copy first, so that an unchanged form takes no step.
bool TabOrderWouldChange(const CDiagramEntityContainer& form)
{
    const std::unique_ptr<CDiagramEntityContainer> trial = form.Clone();
    trial->CalcTabOrderByPosition();
    return TabOrderPrint(*trial) != TabOrderPrint(form);
}

}  // namespace

FormView::FormView(FormDefinitionDocument& document) : m_document(document) {}

FormView::~FormView() = default;

const std::vector<ButtonCommand>& FormView::GetButtonCommands()
{
    static const std::vector<ButtonCommand> buttons = {
        {ID_ADD_CONTEXTMENU, "ContextMenu", "CONTEXT_MENU", "OPEN_CONTEXTMENU", CDiagramButton::ImageButtonType},
        {ID_ADD_ATTACH, "CatAttach", "ATTACH_CATALOG", "ATTACHCATALOG", CDiagramButton::ImageButtonType},
        {ID_ADD_ARTICLEDATA_FROM_LIST, "ArticleFromList", "ARTICLE_FROM_LIST", "ARTICLEFROMLIST",
         CDiagramButton::ImageButtonType},
        {ID_ADD_DOCVIEW, "DocView", "VIEW_DOCUMENT", "VIEWDOCUMENT", CDiagramButton::ImageButtonType},
        {ID_DOCOPEN, "DocOpen", "OPEN_DOCUMENT", "OPENDOCUMENT", CDiagramButton::ImageButtonType},
        {ID_ADD_DETACH, "CatDetach", "DETACH_CATALOG", "DETACHCATALOG", CDiagramButton::ImageButtonType},
        {ID_GRAPHIC_HIGHLIGHT, "GraphicHighlight", "HIGHLIGHT_GRAPHIC", "ZOOM_ALL_ELEMENT",
         CDiagramButton::ImageButtonType},
        {ID_LINK_OBJECT_FROM_DRAWING, "LinkObjectsFromDrawing", "RIBTT_ASSIGNOBJECTS", "LINK_OBJECT",
         CDiagramButton::ImageButtonType},
        {ID_CHANGE_TBL_QUERY, "ChangeTblQuery", "FD_CHANGE_TBL_QUERY", "", CDiagramButton::TextButtonType},
        {ID_PRINT_TO_PDF, "PrintToPdf", "BUTTON_PRINT", "SMALL_PRINT", CDiagramButton::ImageButtonType},
        {ID_INSERT_OBJECT, "InsertObject", "OBJECT_INSERT", "INSERT_SINGLE_OBJECT", CDiagramButton::ImageButtonType},
        {ID_OBJ_RELATION, "ObjRelation", "OBJECT_RELATION", "OBJRELATION", CDiagramButton::ImageButtonType},
        {ID_ADDIN, "AddIn", "T_RIB_ADDIN", "", CDiagramButton::TextButtonType},
        {ID_CREATE_REPORT, "Report", "lt3712", "", CDiagramButton::TextButtonType},
    };
    return buttons;
}

const std::vector<int>& FormView::GetCommands()
{
    static const std::vector<int> commands = [] {
        std::vector<int> ids = {ID_EDIT_COPY,
                                ID_EDIT_CUT,
                                ID_EDIT_PASTE,
                                ID_EDIT_UNDO,
                                ID_EDIT_REDO,
                                ID_EDIT_SELECT_ALL,
                                ID_SHOW_SELECTION_PROPERTIES,
                                ID_TEXT_CTRL,
                                ID_ADD_IMAGE,
                                ID_TABLE,
                                ID_ADD_LINE,
                                ID_ADD_RECTANGLE,
                                ID_ADD_ELLIPSE,
                                ID_ADD_BUTTON,
                                ID_SELECT_TOOL,
                                ID_MULTIDRAW};
        for (const ButtonCommand& button : GetButtonCommands())
            ids.push_back(button.id);
        for (int id : {ID_CENTRE_HORIZONTALLY, ID_CENTRE_VERTICALLY, ID_DISTRIBUTE_HORIZONTALLY,
                       ID_DISTRIBUTE_VERTICALLY, ID_MAKE_SAME_WIDTH, ID_MAKE_SAME_HEIGHT, ID_CENTRE_IN_FORM})
            ids.push_back(id);
        for (int id : {ID_LEFT_ALIGN, ID_RIGHT_ALIGN, ID_TOP_ALIGN, ID_BOTTOM_ALIGN, ID_MAKE_SAME_SIZE, ID_MOVE_FORWARD,
                       ID_MOVE_BACKWARD, ID_BRING_TO_FRONT, ID_SEND_TO_BACK, ID_LAYOUT_NO_EFFECT, ID_SHOW_GRID,
                       ID_SNAP_TO_GRID, ID_SNAP_LINES, ID_SHOW_MARGINS, ID_RESTRAIN_TO_MARGINS})
            ids.push_back(id);
        for (const ZoomStep& step : ZoomSteps)
            ids.push_back(step.id);
        for (int id : {ID_ZOOM_IN, ID_ZOOM_OUT, ID_CALC_TABORDER_COORD, ID_CHECK_SHOW_TABORDER, ID_TABORDER_BY_CLICKS})
            ids.push_back(id);
        return ids;
    }();
    return commands;
}

bool FormView::HasCommand(int id) const
{
    const std::vector<int>& commands = GetCommands();
    return std::find(commands.begin(), commands.end(), id) != commands.end();
}

void FormView::OnInitialUpdate(EditorHost* host, PropertiesPane* pane, int screenDpi)
{
    CDiagramEntityContainer* form = m_document.GetCurrentForm();
    if (m_editor.GetHost()) {
        m_editor.Clear();
        // The paper it already has is no edit (SetVirtualSize marks only a change).
        if (m_editor.GetDiagramEntityContainer() && form)
            m_editor.SetVirtualSize(form->GetPaper());
        return;
    }

    m_editor.Create(host, form);
    m_editor.ShowGrid(false);
    m_editor.SetGridColor(EditorColour::System(SysColor::DkShadow3D));
    CDiagramEntityContainer* shown = m_editor.GetDiagramEntityContainer();
    if (shown) {
        m_editor.SetVirtualSize(shown->GetPaper());
        m_editor.SetPaperResize(true);
    }
    m_editor.ShowMargins(true);
    m_editor.SetRestraints(RestraintMargins);
    m_screenDpi = screenDpi;
    m_document.RefreshLists(false);
    m_editor.SetPropertiesPane(pane);
    if (form)
        m_editor.SetDiagramEntityContainer(form);
    m_editor.NotifySelection();
}

void FormView::OnCurrentFormChanged()
{
    m_editor.EndTabOrderClicks();
    m_editor.SetDiagramEntityContainer(m_document.GetCurrentForm());
    if (EditorHost* host = m_editor.GetHost())
        host->Invalidate();
}

void FormView::ArmTool(std::unique_ptr<CDiagramEntity> prototype, int insertKind)
{
    // A tool and numbering by clicks both want the clicks: the newer wins.
    m_editor.EndTabOrderClicks();
    m_editor.StartDrawingObject(std::move(prototype));
    m_insertKind = insertKind;
}

bool FormView::InsertButton(const ButtonCommand& button)
{
    const bool image = std::string(button.type) == CDiagramButton::ImageButtonType;
    auto prototype = std::make_unique<CDiagramButton>();
    prototype->InitButton(button.kind, langStr(button.captionKey), button.imageKey, button.type,
                          image ? CDiagramButton::ImageButtonSize : NoLimit,
                          image ? CDiagramButton::ImageButtonSize : TextButtonMinimum);
    ArmTool(std::move(prototype), InsertKind::Button);
    return true;
}

bool FormView::OnCommand(int id)
{
    m_editor.EndNudges();
    if (!KeepsTabOrderRound(id))
        m_editor.EndTabOrderClicks();
    if (const ButtonCommand* button = FindButton(id))
        return InsertButton(*button);
    if (const ZoomStep* step = FindZoom(id)) {
        m_editor.SetZoom(step->zoom);
        return true;
    }

    switch (id) {
    case ID_EDIT_COPY:
        m_editor.Copy();
        return true;
    case ID_EDIT_CUT:
        m_editor.Cut();
        return true;
    case ID_EDIT_PASTE:
        m_editor.Paste();
        return true;
    case ID_EDIT_UNDO:
        m_editor.Undo();
        return true;
    case ID_EDIT_REDO:
        m_editor.Redo();
        return true;
    case ID_EDIT_SELECT_ALL:
        m_editor.SelectAll();
        return true;
    case ID_SHOW_SELECTION_PROPERTIES:
        m_editor.NotifySelection();
        return true;

    case ID_TEXT_CTRL: {
        auto text = std::make_unique<CDiagramStatic>();
        text->SetStyleContainer(&m_document.GetStyles());
        text->SetStyle(m_document.GetStyles().Find("s4"));
        ArmTool(std::move(text), InsertKind::Text);
        return true;
    }
    case ID_ADD_IMAGE: {
        auto image = std::make_unique<CDiagramImage>();
        image->SetAttribute("transColor", "");
        ArmTool(std::move(image), InsertKind::Image);
        return true;
    }
    case ID_TABLE: {
        auto table = std::make_unique<CDiagramTable>();
        table->InitTable();
        ArmTool(std::move(table), InsertKind::Table);
        return true;
    }
    case ID_ADD_LINE:
        ArmTool(std::make_unique<CDiagramGraphicLine>(), InsertKind::Line);
        return true;
    case ID_ADD_RECTANGLE:
        ArmTool(std::make_unique<CDiagramGraphicRectangle>(), InsertKind::Rectangle);
        return true;
    case ID_ADD_ELLIPSE:
        ArmTool(std::make_unique<CDiagramGraphicEllipse>(), InsertKind::Ellipse);
        return true;
    case ID_ADD_BUTTON:
        // Only opens the gallery; the kinds arm the tool.
        return true;
    case ID_SELECT_TOOL:
        ArmTool(nullptr, InsertKind::None);
        return true;
    case ID_MULTIDRAW:
        m_editor.SetMultidraw(!m_editor.IsMultidraw());
        m_insertKind = InsertKind::None;
        return true;

    case ID_LEFT_ALIGN:
        m_editor.AlignLeft();
        return true;
    case ID_RIGHT_ALIGN:
        m_editor.AlignRight();
        return true;
    case ID_TOP_ALIGN:
        m_editor.AlignTop();
        return true;
    case ID_BOTTOM_ALIGN:
        m_editor.AlignBottom();
        return true;
    case ID_MAKE_SAME_SIZE:
        m_editor.MakeSameSize();
        return true;
    case ID_CENTRE_HORIZONTALLY:
        m_editor.CentreHorizontally();
        return true;
    case ID_CENTRE_VERTICALLY:
        m_editor.CentreVertically();
        return true;
    case ID_DISTRIBUTE_HORIZONTALLY:
        m_editor.DistributeHorizontally();
        return true;
    case ID_DISTRIBUTE_VERTICALLY:
        m_editor.DistributeVertically();
        return true;
    case ID_MAKE_SAME_WIDTH:
        m_editor.MakeSameWidth();
        return true;
    case ID_MAKE_SAME_HEIGHT:
        m_editor.MakeSameHeight();
        return true;
    case ID_CENTRE_IN_FORM:
        m_editor.CentreInForm();
        return true;
    case ID_MOVE_FORWARD:
        m_editor.MoveForward();
        return true;
    case ID_MOVE_BACKWARD:
        m_editor.MoveBackward();
        return true;
    case ID_BRING_TO_FRONT:
        m_editor.BringToFront();
        return true;
    case ID_SEND_TO_BACK:
        m_editor.SendToBack();
        return true;
    case ID_LAYOUT_NO_EFFECT:
        return true;

    case ID_SHOW_GRID:
        m_editor.ShowGrid(!m_editor.IsGridVisible());
        return true;
    case ID_SNAP_TO_GRID:
        m_editor.SetSnapToGrid(!m_editor.GetSnapToGrid());
        return true;
    case ID_SNAP_LINES:
        m_editor.SetSnapLines(!m_editor.GetSnapLines());
        return true;
    case ID_SHOW_MARGINS:
        m_editor.ShowMargins(!m_editor.IsMarginsVisible());
        return true;
    case ID_RESTRAIN_TO_MARGINS:
        m_editor.SetRestraints(m_editor.GetRestraints() == RestraintMargins ? RestraintNone : RestraintMargins);
        return true;
    case ID_ZOOM_IN:
        m_editor.StepZoom(1);
        return true;
    case ID_ZOOM_OUT:
        m_editor.StepZoom(-1);
        return true;

    case ID_CALC_TABORDER_COORD:
        CalcTabOrderFromCoordinates();
        return true;
    case ID_CHECK_SHOW_TABORDER:
        m_editor.SetShowTabOrder(!m_editor.IsShowTabOrder());
        return true;
    case ID_TABORDER_BY_CLICKS:
        if (m_editor.IsTabOrderClicking()) {
            m_editor.EndTabOrderClicks();
        } else {
            m_insertKind = InsertKind::None;
            m_editor.StartTabOrderClicks();
        }
        return true;
    default:
        return false;
    }
}

CommandState FormView::GetCommandState(int id) const
{
    CommandState state;
    CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    const int selected = m_editor.GetSelectCount();
    const bool armed = m_editor.IsDrawing();

    switch (id) {
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
        state.enabled = selected > 0;
        break;
    case ID_EDIT_PASTE:
        state.enabled = form && form->CanPaste();
        break;
    case ID_EDIT_UNDO:
        state.enabled = form && form->GetUndoCount() > 0;
        break;
    case ID_EDIT_REDO:
        state.enabled = form && form->GetRedoCount() > 0;
        break;
    case ID_EDIT_SELECT_ALL:
    case ID_LAYOUT_NO_EFFECT:
        state.enabled = form && form->GetCount() > 0;
        break;
    case ID_SHOW_SELECTION_PROPERTIES:
    case ID_MOVE_FORWARD:
    case ID_MOVE_BACKWARD:
    case ID_BRING_TO_FRONT:
    case ID_SEND_TO_BACK:
        state.enabled = selected == 1;
        break;
    case ID_LEFT_ALIGN:
    case ID_RIGHT_ALIGN:
    case ID_TOP_ALIGN:
    case ID_BOTTOM_ALIGN:
    case ID_MAKE_SAME_SIZE:
    case ID_CENTRE_HORIZONTALLY:
    case ID_CENTRE_VERTICALLY:
    case ID_MAKE_SAME_WIDTH:
    case ID_MAKE_SAME_HEIGHT:
        state.enabled = selected > 1;
        break;
    case ID_DISTRIBUTE_HORIZONTALLY:
    case ID_DISTRIBUTE_VERTICALLY:
        state.enabled = selected > 2;
        break;
    case ID_CENTRE_IN_FORM:
        state.enabled = selected > 0;
        break;

    case ID_TEXT_CTRL:
    case ID_ADD_IMAGE:
    case ID_TABLE:
    case ID_ADD_LINE:
    case ID_ADD_RECTANGLE:
    case ID_ADD_ELLIPSE:
    case ID_ADD_BUTTON:
        state.checked = armed && m_insertKind == InsertKindOf(id);
        break;
    case ID_SELECT_TOOL:
        state.checked = !armed;
        break;
    case ID_MULTIDRAW:
        state.checked = m_editor.IsMultidraw();
        break;

    case ID_SHOW_GRID:
        state.checked = m_editor.IsGridVisible();
        break;
    case ID_SNAP_TO_GRID:
        state.checked = m_editor.GetSnapToGrid();
        break;
    case ID_SNAP_LINES:
        state.checked = m_editor.GetSnapLines();
        break;
    case ID_SHOW_MARGINS:
        state.checked = m_editor.IsMarginsVisible();
        break;
    case ID_RESTRAIN_TO_MARGINS:
        state.checked = m_editor.GetRestraints() == RestraintMargins;
        break;

    case ID_CHECK_SHOW_TABORDER:
        // While numbering by clicks, every number shows anyway.
        state.enabled = !m_editor.IsTabOrderClicking();
        state.checked = m_editor.IsShowTabOrder();
        break;
    case ID_TABORDER_BY_CLICKS:
        state.checked = m_editor.IsTabOrderClicking();
        state.enabled = state.checked || (form && !TabSequence(*form).empty());
        break;
    default:
        break;
    }
    return state;
}

std::string FormView::GetCommandDescription(int id) const
{
    const CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    if (!form)
        return {};
    if (id == ID_EDIT_UNDO && form->GetUndoCount() > 0)
        return NameStep(UndoStepKey, form->GetUndoName(), {});
    if (id == ID_EDIT_REDO && form->GetRedoCount() > 0)
        return NameStep(RedoStepKey, form->GetRedoName(), {});
    return {};
}

std::string FormView::GetHistoryStatus() const
{
    const CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    std::string status;
    if (form && form->GetUndoCount() > 0)
        status = NameStep(UndoStepKey, form->GetUndoName(), langStr("T_RIB_UNDO"));
    if (form && form->GetRedoCount() > 0) {
        if (!status.empty())
            status += HistorySeparator;
        status += NameStep(RedoStepKey, form->GetRedoName(), langStr("T_RIB_REDO"));
    }
    return status;
}

std::string FormView::GetZoomStatus() const
{
    return std::to_string(RoundEdge(m_editor.GetZoom() * 100)) + " %";
}

IntRect FormView::GetPrintRect(int printerDpi, double& scale) const
{
    scale = m_screenDpi > 0 ? static_cast<double>(printerDpi) / m_screenDpi : 1.0;
    const IntSize paper = m_editor.GetVirtualSize();
    return {0, 0, static_cast<int>(std::trunc(paper.cx * scale)), static_cast<int>(std::trunc(paper.cy * scale))};
}

bool FormView::ArmPropertyPair(const std::string& text)
{
    CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    const PropertyEntryParts parts = SplitPropertyEntry(text);
    if (form->ContainsProperty(parts.internal)) {
        if (EditorHost* host = m_editor.GetHost())
            host->ShowMessage(langStr("MSG_PROP_ALREADY_PRESENT"), langStr("MSG_TILTLE_PROP_INFO"));
        return false;
    }

    CEntityStyleContainer& styles = m_document.GetStyles();
    auto field = std::make_unique<CDiagramLinked>();
    field->SetObjectClass(m_document.GetObjectClass());
    field->SetGenericXml(true);
    field->SetRect(DroppedFieldRect);
    field->SetTitle(parts.localized);
    field->SetName(parts.internal);
    field->SetStyleContainer(&styles);
    field->SetStyle(styles.Find(DroppedStyle));
    field->SetTabIndex(form->GetNextTabIndex(true));

    auto label = std::make_unique<CDiagramStatic>();
    label->SetRect(DroppedLabelRect);
    label->SetTitle(parts.localized);
    label->SetName(parts.internal);
    label->SetGenericXml(true);
    label->SetDependentPart(true);
    label->SetStyleContainer(&styles);
    label->SetStyle(styles.Find(DroppedStyle));
    field->AdoptLabel(std::move(label));

    m_editor.EndTabOrderClicks();
    m_editor.StartDrawingPair(std::move(field), replaceAll(langStr("STEP_DROP"), "%s", parts.localized));
    m_insertKind = InsertKind::Text;
    return true;
}

bool FormView::SelectByName(const std::string& name)
{
    CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    for (int i = 0; form && i < form->GetCount(); ++i) {
        CDiagramEntity* element = form->GetAt(i);
        if (!element->IsDependentPart() && equalsNoCase(element->GetName(), name)) {
            m_editor.EndTabOrderClicks();
            m_editor.SelectOnly(element);
            return true;
        }
    }
    return false;
}

bool FormView::OnDropProperty(IntPoint clientPoint, const std::string& text)
{
    CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    if (!m_editor.GetHost() || !form)
        return false;
    const bool armed = ArmPropertyPair(text);
    const int before = form->GetCount();
    // The drop ends as a click at the drop point, as the mouse would give it.
    m_editor.OnLButtonDown(clientPoint, Modifier::None);
    m_editor.OnLButtonUp(clientPoint, Modifier::None);
    return armed && form->GetCount() > before;
}

bool FormView::CalcTabOrderFromCoordinates()
{
    EditorHost* host = m_editor.GetHost();
    CDiagramEntityContainer* form = m_editor.GetDiagramEntityContainer();
    if (!host || !form)
        return false;
    if (!host->AskYesNo(langStr("MSG_CONFIRM_CALC_TABORDER_COORDS"), langStr("MSG_TITLE_CONFIRMATION")))
        return false;
    if (TabOrderWouldChange(*form)) {
        form->Snapshot(langStr("STEP_TAB_ORDER"));
        form->CalcTabOrderByPosition();
        host->Invalidate();
    }
    return true;
}

}  // namespace fw
