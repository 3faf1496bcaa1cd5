#include "editor/FormView.h"

#include "controls/DiagramButton.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "controls/StandardControls.h"
#include "editor/CommandIds.h"
#include "editor/HeadlessHost.h"
#include "editor/TabOrderClicks.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"
#include "support/RecordingPane.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <set>

using namespace fw;
using fw::test::RecordingPane;

namespace {

// A document with a 500 x 300 main form shown in a view on a headless window.
class FormViewTest : public ::testing::Test {
protected:
    FormViewTest()
    {
        doc.GetStyles().CreateDefaults();
        form().SetPaper({500, 300});
        view.OnInitialUpdate(&host, &pane, 120);
        host.Attach(&editor());
    }

    CDiagramEntityContainer& form() { return *doc.GetMainForm(); }
    CDEditor& editor() { return view.GetEditor(); }
    CDiagramEntity* Last() { return form().GetAt(form().GetCount() - 1); }
    bool Checked(int id) const { return view.GetCommandState(id).checked; }
    bool Enabled(int id) const { return view.GetCommandState(id).enabled; }

    void Drag(IntPoint from, IntPoint to)
    {
        editor().OnLButtonDown(from, Modifier::None);
        editor().OnMouseMove(to, Modifier::None);
        editor().OnLButtonUp(to, Modifier::None);
    }
    void Click(IntPoint at) { Drag(at, at); }

    CDiagramStatic* AddText(const std::string& name, double left, double top)
    {
        auto text = std::make_unique<CDiagramStatic>();
        text->SetName(name);
        text->SetRect(left, top, left + 50, top + 20);
        CDiagramStatic* raw = text.get();
        form().Add(std::move(text));
        return raw;
    }
    // A property field with its caption right after it in the list.
    CDiagramLinked* AddField(const std::string& name, double left, double top, int tabIndex)
    {
        auto field = std::make_unique<CDiagramLinked>();
        field->SetName(name);
        field->SetRect(left, top, left + 100, top + 20);
        field->SetTabIndex(tabIndex);
        field->AdoptLabel(test::EditorRig::MakeLabel(name + ".label", left, top + 30, left + 60, top + 50));
        return static_cast<CDiagramLinked*>(form().AddWithDependent(std::move(field)));
    }

    FormDefinitionDocument doc;
    HeadlessHost host;
    RecordingPane pane;
    FormView view{doc};  // last: goes first, while the host and pane still stand
};

TEST_F(FormViewTest, FirstShowingAppliesTheFormViewSettings)
{
    EXPECT_EQ(editor().GetHost(), &host);
    EXPECT_EQ(editor().GetDiagramEntityContainer(), doc.GetCurrentForm());
    EXPECT_EQ(editor().GetPropertiesPane(), &pane);
    EXPECT_FALSE(editor().IsGridVisible());
    EXPECT_FALSE(editor().GetGridColor().rgb.has_value());
    EXPECT_EQ(editor().GetGridColor().system, SysColor::DkShadow3D);
    EXPECT_TRUE(editor().GetPaperResize());
    EXPECT_TRUE(editor().IsMarginsVisible());
    EXPECT_EQ(editor().GetRestraints(), RestraintMargins);
    EXPECT_EQ(editor().GetVirtualSize(), (IntSize{500, 300}));
    EXPECT_FALSE(form().IsModified()) << "setting the paper must not leave the form modified";
    EXPECT_EQ(view.GetScreenDpi(), 120);
    // Nothing selected: the pane shows the form.
    ASSERT_FALSE(pane.calls.empty());
    EXPECT_EQ(pane.calls.back(), "ShowFormProperties");
    EXPECT_EQ(pane.editor, &editor());

    double scale = 0;
    EXPECT_EQ(view.GetPrintRect(300, scale), (IntRect{0, 0, 1250, 750}));
    EXPECT_DOUBLE_EQ(scale, 2.5);
}

TEST_F(FormViewTest, ShowingAgainClearsTheEditorAndKeepsTheModifiedFlag)
{
    editor().SetZoom(2.0);
    view.OnCommand(ID_ADD_LINE);
    form().SetModified(true);

    view.OnInitialUpdate(&host, &pane, 96);

    EXPECT_DOUBLE_EQ(editor().GetZoom(), 1.0);
    EXPECT_FALSE(editor().IsDrawing());
    EXPECT_EQ(editor().GetDrawingObject(), nullptr);
    EXPECT_TRUE(form().IsModified());
    EXPECT_EQ(view.GetScreenDpi(), 120) << "the resolution is taken at the first showing only";

    HeadlessHost otherHost;
    FormView second{doc};
    second.OnInitialUpdate(&otherHost, &pane, 96);
    EXPECT_TRUE(form().IsModified()) << "a second window on the file keeps its edits unsaved";

    form().SetModified(false);
    editor().SetVirtualSize(form().GetPaper());
    EXPECT_FALSE(form().IsModified()) << "the paper it already has is no edit";
    editor().SetVirtualSize({300, 200});
    EXPECT_TRUE(form().IsModified());
}

TEST_F(FormViewTest, SwitchingTheCurrentFormReattachesAndKeepsTabNumbersShown)
{
    view.OnCommand(ID_CHECK_SHOW_TABORDER);
    ASSERT_TRUE(doc.AddForm("STATE:EQUAL:1"));
    doc.SelectForm("STATE:EQUAL:1", false);

    view.OnCurrentFormChanged();

    CDiagramEntityContainer* filtered = doc.GetCurrentForm();
    ASSERT_NE(filtered, &form());
    EXPECT_EQ(editor().GetDiagramEntityContainer(), filtered);
    EXPECT_TRUE(filtered->IsShowTabOrder());
}

// --- creation tools ------------------------------------------------------

struct ToolCase {
    int id;
    const char* type;
    int insertKind;
};

// Names the case in test listings.
void PrintTo(const ToolCase& tool, std::ostream* os)
{
    *os << tool.type;
}

class FormViewTool : public FormViewTest, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(FormViewTool, ArmsPlacesOneCopyAndDisarms)
{
    const ToolCase& tool = GetParam();
    // Every button kind ticks the gallery's item.
    const int item = tool.insertKind == InsertKind::Button ? ID_ADD_BUTTON : tool.id;
    ASSERT_TRUE(view.OnCommand(tool.id));
    EXPECT_TRUE(editor().IsDrawing());
    EXPECT_EQ(view.GetInsertKind(), tool.insertKind);
    EXPECT_TRUE(Checked(item));
    EXPECT_FALSE(Checked(ID_SELECT_TOOL));
    EXPECT_FALSE(Checked(ID_CALC_TABORDER_COORD)) << "numbering by position is no placing tool";
    for (int other :
         {ID_TEXT_CTRL, ID_ADD_IMAGE, ID_TABLE, ID_ADD_LINE, ID_ADD_RECTANGLE, ID_ADD_ELLIPSE, ID_ADD_BUTTON})
        if (other != item) {
            EXPECT_FALSE(Checked(other)) << other;
        }

    Drag({100, 80}, {160, 120});

    ASSERT_EQ(form().GetCount(), 1);
    EXPECT_EQ(Last()->GetType(), tool.type);
    EXPECT_EQ(Last()->GetRect(), (IntRect{100, 80, 160, 120}));
    EXPECT_NE(Last(), editor().GetDrawingObject()) << "a copy is placed, never the prototype";
    EXPECT_FALSE(editor().IsDrawing());
    EXPECT_FALSE(Checked(item));
    EXPECT_TRUE(Checked(ID_SELECT_TOOL));
}

INSTANTIATE_TEST_SUITE_P(InsertCommands, FormViewTool,
                         ::testing::Values(ToolCase{ID_TEXT_CTRL, "static", InsertKind::Text},
                                           ToolCase{ID_ADD_IMAGE, "Image", InsertKind::Image},
                                           ToolCase{ID_TABLE, "Table", InsertKind::Table},
                                           ToolCase{ID_ADD_LINE, "line", InsertKind::Line},
                                           ToolCase{ID_ADD_RECTANGLE, "rectangle", InsertKind::Rectangle},
                                           ToolCase{ID_ADD_ELLIPSE, "ellipse", InsertKind::Ellipse},
                                           ToolCase{ID_ADDIN, "button", InsertKind::Button}),
                         [](const ::testing::TestParamInfo<ToolCase>& info) { return std::to_string(info.param.id); });

// Whatever a command places, the file keeps: written and read back, the form
// holds the same kinds. (An image waits for its picture, which the save asks for.)
TEST_F(FormViewTest, EveryPlacingCommandMakesAnElementTheFileKeeps)
{
    ElementFactory::Global().Clear();
    RegisterStandardControls(ElementFactory::Global());
    int placed = 0;
    for (int id : FormView::GetCommands()) {
        view.OnCommand(ID_SELECT_TOOL);
        if (id == ID_ADD_IMAGE || !view.OnCommand(id) || !editor().IsDrawing())
            continue;
        Click({10 + placed % 12 * 40, 10 + placed / 12 * 40});
        ++placed;
    }
    ASSERT_EQ(form().GetCount(), placed);
    std::multiset<std::string> kinds;
    for (int i = 0; i < form().GetCount(); ++i)
        kinds.insert(form().GetAt(i)->GetType());

    fw::test::ScratchDir scratch;
    const std::string path = scratch.Path() + "/placed.xml";
    doc.SetObjectClass("PUMP");
    doc.WriteFile(path);
    FormDefinitionDocument back;
    ASSERT_TRUE(back.ReadFile(path));
    std::multiset<std::string> read;
    for (int i = 0; i < back.GetMainForm()->GetCount(); ++i)
        read.insert(back.GetMainForm()->GetAt(i)->GetType());
    EXPECT_EQ(read, kinds);
}

TEST_F(FormViewTest, PrototypesCarryTheirSetUp)
{
    view.OnCommand(ID_TEXT_CTRL);
    Click({40, 40});
    EXPECT_EQ(Last()->GetStyleName(), "s4");
    EXPECT_EQ(Last()->GetStyleContainer(), &doc.GetStyles());

    view.OnCommand(ID_ADD_IMAGE);
    Click({40, 80});
    EXPECT_EQ(Last()->GetAttributes().count("transColor"), 1u);
    EXPECT_EQ(Last()->GetAttribute("transColor"), "");

    view.OnCommand(ID_TABLE);
    Click({40, 120});
    EXPECT_FALSE(Last()->GetAttributes().empty()) << "a new table starts with its settings";
}

TEST_F(FormViewTest, ImageButtonIsPlacedAtItsFixedSizeByAClick)
{
    view.OnCommand(ID_ADD_CONTEXTMENU);
    EXPECT_TRUE(Checked(ID_ADD_BUTTON));
    Click({50, 60});

    ASSERT_EQ(form().GetCount(), 1);
    auto* button = dynamic_cast<CDiagramButton*>(Last());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetType(), "ImageButton");
    EXPECT_EQ(button->GetName(), "ContextMenu");
    EXPECT_EQ(button->GetTitle(), langStr("CONTEXT_MENU"));
    EXPECT_EQ(button->GetImageKey(), "OPEN_CONTEXTMENU");
    EXPECT_EQ(button->GetRect(), (IntRect{50, 60, 74, 86}));

    // Dragged larger, it still keeps 24 x 26.
    view.OnCommand(ID_OBJ_RELATION);
    Drag({200, 100}, {300, 200});
    EXPECT_EQ(Last()->GetRect(), (IntRect{200, 100, 224, 126}));

    // Clicked near the right margin, it moves in rather than stick out.
    view.OnCommand(ID_OBJ_RELATION);
    Click({490, 50});
    EXPECT_EQ(Last()->GetRect(), (IntRect{469, 50, 493, 76}));

    // A text button has no picture and takes any size.
    view.OnCommand(ID_CREATE_REPORT);
    Drag({20, 20}, {400, 250});
    EXPECT_EQ(Last()->GetName(), "Report");
    EXPECT_EQ(static_cast<CDiagramButton*>(Last())->GetImageKey(), "");
    EXPECT_EQ(Last()->GetRect(), (IntRect{20, 20, 400, 250}));
}

TEST_F(FormViewTest, ChoosingAButtonKindReplacesTheArmedPrototype)
{
    view.OnCommand(ID_ADD_LINE);
    view.OnCommand(ID_ADD_DOCVIEW);

    ASSERT_NE(editor().GetDrawingObject(), nullptr);
    EXPECT_EQ(editor().GetDrawingObject()->GetName(), "DocView");
    EXPECT_FALSE(Checked(ID_ADD_LINE));
    EXPECT_TRUE(Checked(ID_ADD_BUTTON));

    Click({100, 100});
    ASSERT_EQ(form().GetCount(), 1);
    EXPECT_EQ(Last()->GetType(), "ImageButton");
    EXPECT_EQ(Last()->GetName(), "DocView");
}

TEST_F(FormViewTest, MultidrawKeepsTheToolUntilTheSelectionToolIsChosen)
{
    view.OnCommand(ID_MULTIDRAW);
    EXPECT_TRUE(Checked(ID_MULTIDRAW));
    view.OnCommand(ID_ADD_RECTANGLE);

    Drag({20, 20}, {60, 60});
    Drag({100, 20}, {140, 60});
    EXPECT_EQ(form().GetCount(), 2);
    EXPECT_TRUE(editor().IsDrawing());
    EXPECT_TRUE(Checked(ID_ADD_RECTANGLE));

    // Switching multidraw forgets which tool was armed, though it stays armed.
    view.OnCommand(ID_MULTIDRAW);
    EXPECT_FALSE(Checked(ID_MULTIDRAW));
    EXPECT_EQ(view.GetInsertKind(), InsertKind::None);
    EXPECT_FALSE(Checked(ID_ADD_RECTANGLE));

    view.OnCommand(ID_SELECT_TOOL);
    EXPECT_FALSE(editor().IsDrawing());
    EXPECT_TRUE(Checked(ID_SELECT_TOOL));
    Click({300, 200});
    EXPECT_EQ(form().GetCount(), 2);
}

// Whatever the restraint, what the editor writes the reader takes back.
TEST_F(FormViewTest, ElementsPushedIntoTheCornerSurviveSavingAndReading)
{
    view.OnCommand(ID_RESTRAIN_TO_MARGINS);
    ASSERT_EQ(editor().GetRestraints(), RestraintNone);
    CDiagramStatic* dragged = AddText("dragged", 100, 100);
    Drag({110, 110}, {0, 0});
    CDiagramStatic* keyed = AddText("keyed", 2, 2);
    editor().SelectOnly(keyed);
    for (EditorKey key : {EditorKey::Left, EditorKey::Left, EditorKey::Up, EditorKey::Up})
        editor().OnKeyDown(key, Modifier::None);
    view.OnCommand(ID_ADD_RECTANGLE);
    Click({0, 0});
    EXPECT_EQ(dragged->GetRect(), (IntRect{1, 1, 51, 21}));
    EXPECT_EQ(keyed->GetRect(), (IntRect{1, 1, 51, 21}));
    EXPECT_EQ(Last()->GetRect(), (IntRect{1, 1, 101, 61}));

    ElementFactory::Global().Clear();
    RegisterStandardControls(ElementFactory::Global());
    test::ScratchDir dir;
    FormDefinitionDocument reread;
    ASSERT_TRUE(reread.ReadFile(dir.Put("PUMP_Main.xml", doc.WriteToString())));
    EXPECT_EQ(reread.GetMainForm()->GetCount(), 3);
    ElementFactory::Global().Clear();
}

TEST_F(FormViewTest, PressOutsideTheMarginsPlacesNothing)
{
    view.OnCommand(ID_ADD_ELLIPSE);
    Click({3, 3});
    EXPECT_EQ(form().GetCount(), 0);
    EXPECT_FALSE(editor().IsDrawing());
}

// --- enabled and checked states -----------------------------------------------

TEST_F(FormViewTest, StatesFollowSelectionClipboardAndUndo)
{
    EXPECT_FALSE(Enabled(ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(Enabled(ID_LAYOUT_NO_EFFECT));
    CDiagramStatic* a = AddText("a", 20, 20);
    CDiagramStatic* b = AddText("b", 40, 60);
    EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL));
    EXPECT_TRUE(Enabled(ID_LAYOUT_NO_EFFECT));

    for (int id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_SHOW_SELECTION_PROPERTIES, ID_MOVE_FORWARD, ID_LEFT_ALIGN,
                   ID_MAKE_SAME_SIZE, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_CENTRE_IN_FORM})
        EXPECT_FALSE(Enabled(id)) << id;

    a->Select(true);
    for (int id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_SHOW_SELECTION_PROPERTIES, ID_MOVE_FORWARD, ID_MOVE_BACKWARD,
                   ID_BRING_TO_FRONT, ID_SEND_TO_BACK})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(ID_CENTRE_IN_FORM));
    for (int id : {ID_LEFT_ALIGN, ID_RIGHT_ALIGN, ID_TOP_ALIGN, ID_BOTTOM_ALIGN, ID_MAKE_SAME_SIZE,
                   ID_CENTRE_HORIZONTALLY, ID_CENTRE_VERTICALLY, ID_MAKE_SAME_WIDTH, ID_MAKE_SAME_HEIGHT})
        EXPECT_FALSE(Enabled(id)) << id;

    view.OnCommand(ID_EDIT_SELECT_ALL);
    for (int id : {ID_LEFT_ALIGN, ID_MAKE_SAME_SIZE, ID_CENTRE_HORIZONTALLY, ID_CENTRE_VERTICALLY, ID_MAKE_SAME_WIDTH,
                   ID_MAKE_SAME_HEIGHT})
        EXPECT_TRUE(Enabled(id)) << id;
    // Two have no inner gap to share; a third makes one.
    EXPECT_FALSE(Enabled(ID_DISTRIBUTE_HORIZONTALLY));
    AddText("c", 60, 100)->Select(true);
    EXPECT_TRUE(Enabled(ID_DISTRIBUTE_HORIZONTALLY));
    EXPECT_TRUE(Enabled(ID_DISTRIBUTE_VERTICALLY));
    form().GetAt(2)->Select(false);
    EXPECT_FALSE(Enabled(ID_SHOW_SELECTION_PROPERTIES));
    EXPECT_FALSE(Enabled(ID_BRING_TO_FRONT));

    view.OnCommand(ID_LEFT_ALIGN);
    EXPECT_EQ(a->GetLeft(), b->GetLeft());
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));

    view.OnCommand(ID_EDIT_COPY);
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
}

TEST_F(FormViewTest, UndoAndRedoNameTheStepTheyWouldTake)
{
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_UNDO), "") << "nothing to undo keeps the plain description";
    EXPECT_EQ(view.GetHistoryStatus(), "");

    CDiagramStatic* text = AddText("a", 20, 20);
    form().Snapshot("Move");
    text->SetRect(30, 20, 80, 40);
    form().Snapshot("Width");
    text->SetRect(30, 20, 90, 40);
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_UNDO), "Undo Width");
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_REDO), "");
    EXPECT_EQ(view.GetHistoryStatus(), "Undo Width");

    view.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_UNDO), "Undo Move");
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_REDO), "Redo Width");
    EXPECT_EQ(view.GetHistoryStatus(), "Undo Move \u00b7 Redo Width");
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_COPY), "");

    // A step without a name: the plain description, the bare command in the status.
    form().Snapshot();
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_UNDO), "");
    EXPECT_EQ(view.GetHistoryStatus(), "Undo");
    view.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(view.GetHistoryStatus(), "Undo Move \u00b7 Redo");

    ASSERT_TRUE(LanguageTable::instance().loadLanguage("German"));
    EXPECT_EQ(view.GetCommandDescription(ID_EDIT_UNDO), "Move r\u00fcckg\u00e4ngig machen");
    LanguageTable::instance().loadLanguage("English");
}

TEST_F(FormViewTest, DisplaySwitchesToggleAndShowTheirState)
{
    struct Switch {
        int id;
        bool (*on)(const CDEditor&);
    };
    const Switch switches[] = {
        {ID_SHOW_GRID, [](const CDEditor& e) { return e.IsGridVisible(); }},
        {ID_SNAP_TO_GRID, [](const CDEditor& e) { return e.GetSnapToGrid(); }},
        {ID_SHOW_MARGINS, [](const CDEditor& e) { return e.IsMarginsVisible(); }},
        {ID_RESTRAIN_TO_MARGINS, [](const CDEditor& e) { return e.GetRestraints() == RestraintMargins; }},
        {ID_CHECK_SHOW_TABORDER, [](const CDEditor& e) { return e.IsShowTabOrder(); }},
    };
    for (const Switch& s : switches) {
        const bool before = s.on(editor());
        EXPECT_EQ(Checked(s.id), before) << s.id;
        view.OnCommand(s.id);
        EXPECT_EQ(s.on(editor()), !before) << s.id;
        EXPECT_EQ(Checked(s.id), !before) << s.id;
        view.OnCommand(s.id);
        EXPECT_EQ(s.on(editor()), before) << s.id;
    }
    view.OnCommand(ID_RESTRAIN_TO_MARGINS);
    EXPECT_EQ(editor().GetRestraints(), RestraintNone);

    view.OnCommand(ID_CHECK_SHOW_TABORDER);
    EXPECT_TRUE(form().IsShowTabOrder()) << "the form's fields paint their numbers";
    view.OnCommand(ID_CHECK_SHOW_TABORDER);
    EXPECT_FALSE(form().IsShowTabOrder());
}

TEST_F(FormViewTest, CommandTableHoldsEveryIdOnce)
{
    const std::vector<int>& ids = FormView::GetCommands();
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    for (const ButtonCommand& button : FormView::GetButtonCommands())
        EXPECT_TRUE(view.HasCommand(button.id)) << button.id;
    EXPECT_FALSE(view.HasCommand(ID_EDIT_GROUP)) << "grouping belongs to the editor's own menu";
    EXPECT_FALSE(view.OnCommand(12345));
}

// --- zoom -----------------------------------------------------------------------

TEST_F(FormViewTest, ZoomCommandsSetStepsAndRespectTheLimits)
{
    view.OnCommand(ID_ZOOM_25);
    EXPECT_DOUBLE_EQ(editor().GetZoom(), 0.25);
    view.OnCommand(ID_ZOOM_200);
    EXPECT_DOUBLE_EQ(editor().GetZoom(), 2.0);

    view.OnCommand(ID_ZOOM_100);
    view.OnCommand(ID_ZOOM_IN);
    EXPECT_NEAR(editor().GetZoom(), 1.1, 1e-9);
    view.OnCommand(ID_ZOOM_OUT);
    view.OnCommand(ID_ZOOM_OUT);
    EXPECT_NEAR(editor().GetZoom(), 0.9, 1e-9);

    editor().SetZoom(9.95);
    view.OnCommand(ID_ZOOM_IN);
    EXPECT_DOUBLE_EQ(editor().GetZoom(), 10.0);

    editor().SetZoomMin(0.5);
    editor().SetZoom(0.55);
    view.OnCommand(ID_ZOOM_OUT);
    EXPECT_DOUBLE_EQ(editor().GetZoom(), 0.5);
}

// --- tab order from coordinates ------------------------------------------------------

TEST_F(FormViewTest, TabOrderFollowsRowsThenColumns)
{
    AddText("text", 300, 200);
    CDiagramLinked* right = AddField("right", 200, 10, 0);
    CDiagramLinked* left = AddField("left", 10, 10, 1);
    CDiagramLinked* below = AddField("below", 10, 40, 2);
    form().SetModified(false);
    const int undo = form().GetUndoCount();
    host.QueueQuestionAnswer(true);

    ASSERT_TRUE(view.OnCommand(ID_CALC_TABORDER_COORD));
    EXPECT_EQ(form().GetUndoCount(), undo + 1);
    EXPECT_EQ(form().GetUndoName(), "Tab order");

    ASSERT_EQ(host.GetQuestions().size(), 1u);
    EXPECT_EQ(host.GetQuestions()[0].first, langStr("MSG_CONFIRM_CALC_TABORDER_COORDS"));
    EXPECT_EQ(host.GetQuestions()[0].second, langStr("MSG_TITLE_CONFIRMATION"));
    EXPECT_EQ(left->GetTabIndex(), 0);
    EXPECT_EQ(right->GetTabIndex(), 1);
    EXPECT_EQ(below->GetTabIndex(), 2);
    const int n = form().GetCount();
    ASSERT_EQ(n, 7);
    EXPECT_EQ(form().GetAt(0)->GetName(), "text");
    EXPECT_EQ(form().GetAt(n - 3), left);
    EXPECT_EQ(form().GetAt(n - 2), right);
    EXPECT_EQ(form().GetAt(n - 1), below);
    EXPECT_TRUE(form().IsModified());
    EXPECT_EQ(form().GetNextTabIndex(false), 3);

    host.QueueQuestionAnswer(true);
    ASSERT_TRUE(view.OnCommand(ID_CALC_TABORDER_COORD));
    EXPECT_EQ(form().GetUndoCount(), undo + 1) << "numbering an ordered form again changes nothing";
    view.OnCommand(ID_EDIT_UNDO);
    std::vector<std::string> fields;
    for (int i = 0; i < form().GetCount(); ++i)
        if (!form().GetAt(i)->IsDependentPart() && form().GetAt(i)->TakesPartInTabOrder())
            fields.push_back(form().GetAt(i)->GetName() + " " + std::to_string(form().GetAt(i)->GetTabIndex()));
    EXPECT_EQ(fields, (std::vector<std::string>{"right 0", "left 1", "below 2"})) << "undo restores the old order";
}

TEST_F(FormViewTest, FieldsSharingATruncatedCornerAreNumberedInListOrder)
{
    CDiagramLinked* first = AddField("first", 10.6, 20.2, 5);
    CDiagramLinked* second = AddField("second", 10.2, 20.9, 0);
    host.QueueQuestionAnswer(true);

    EXPECT_TRUE(view.CalcTabOrderFromCoordinates());

    // Left with its old number, the second would share 0 with the first.
    EXPECT_EQ(first->GetTabIndex(), 0);
    EXPECT_EQ(second->GetTabIndex(), 1);
    EXPECT_EQ(form().FindIndex(second), form().FindIndex(first) + 1);
    EXPECT_EQ(Last(), second);
}

// Declined, or on a form without fields, numbering changes nothing.
TEST_F(FormViewTest, DecliningTheQuestionOrAFormWithoutFieldsChangesNothing)
{
    CDiagramStatic* text = AddText("text", 100, 100);
    CDiagramLinked* right = AddField("right", 200, 10, 0);
    CDiagramLinked* left = AddField("left", 10, 10, 1);
    form().SetModified(false);
    host.QueueQuestionAnswer(false);
    EXPECT_FALSE(view.CalcTabOrderFromCoordinates());
    EXPECT_EQ(host.GetQuestions().size(), 1u);
    EXPECT_EQ(right->GetTabIndex(), 0);
    EXPECT_EQ(left->GetTabIndex(), 1);
    EXPECT_EQ(form().GetAt(1), right);
    EXPECT_FALSE(form().IsModified());

    form().Remove(right);
    form().Remove(left);
    CDiagramStatic* above = AddText("above", 10, 10);
    form().SetNextTabIndex(4);
    form().SetModified(false);
    host.QueueQuestionAnswer(true);
    EXPECT_TRUE(view.CalcTabOrderFromCoordinates());
    EXPECT_EQ(form().GetNextTabIndex(false), 4);
    EXPECT_EQ(form().GetAt(0), text);
    EXPECT_EQ(form().GetAt(1), above);
    EXPECT_FALSE(form().IsModified());
}

}  // namespace

// --- tab order by clicking -------------------------------------------------------

class TabOrderClicksTest : public FormViewTest {
protected:
    // The fields in tab order, each as "name number".
    std::vector<std::string> Numbers() const
    {
        std::vector<std::string> numbers;
        for (const CDiagramEntity* field : TabSequence(*doc.GetMainForm()))
            numbers.push_back(field->GetName() + " " + std::to_string(field->GetTabIndex()));
        return numbers;
    }
    using Order = std::vector<std::string>;
    // Undo puts copies in place of the elements: look them up again after it.
    CDiagramEntity* Named(const std::string& name)
    {
        for (CDiagramEntity* field : TabSequence(form()))
            if (field->GetName() == name)
                return field;
        return nullptr;
    }
};

TEST_F(TabOrderClicksTest, ClickedFieldsLeadInTurnAndTheRoundIsOneNamedStep)
{
    CDiagramStatic* text = AddText("text", 300, 200);
    CDiagramLinked* a = AddField("a", 10, 10, 0);
    AddField("b", 10, 60, 1);
    AddField("c", 10, 110, 2);
    AddField("d", 10, 160, 3);
    a->Select(true);
    form().SetModified(false);
    const int undo = form().GetUndoCount();

    ASSERT_TRUE(view.OnCommand(ID_TABORDER_BY_CLICKS));
    EXPECT_TRUE(Checked(ID_TABORDER_BY_CLICKS));
    EXPECT_TRUE(form().IsShowTabOrder()) << "every field shows its number";
    EXPECT_FALSE(Enabled(ID_CHECK_SHOW_TABORDER));
    EXPECT_EQ(editor().GetSelectCount(), 0);

    Click({50, 120});                                   // c
    Drag({50, 20}, {200, 250});                         // a, dragged: numbered, not moved
    Click({310, 210});                                  // a text: no field
    Click({30, 200});                                   // d's caption
    editor().OnRButtonDown({50, 170}, Modifier::None);  // d, right button
    editor().OnRButtonUp({50, 170}, Modifier::None);

    EXPECT_EQ(Numbers(), (Order{"c 0", "a 1", "b 2", "d 3"})) << "the rest keep their order behind the clicked";
    EXPECT_EQ(a->GetRect(), (IntRect{10, 10, 110, 30}));
    EXPECT_EQ(editor().GetSelectCount(), 0);
    EXPECT_TRUE(host.GetShownMenus().empty()) << "no menu while numbering";
    EXPECT_FALSE(text->IsSelected());
    EXPECT_TRUE(form().IsModified());
    EXPECT_EQ(form().GetUndoCount(), undo + 1);
    EXPECT_EQ(form().GetUndoName(), "Tab order by clicking");

    EXPECT_TRUE(editor().OnKeyDown(EditorKey::Escape, Modifier::None));
    EXPECT_FALSE(editor().IsTabOrderClicking());
    EXPECT_FALSE(form().IsShowTabOrder()) << "the numbers hide again as they were";
    Click({50, 170});
    EXPECT_TRUE(editor().GetSelectedObject() && editor().GetSelectedObject()->GetName() == "d");
    EXPECT_EQ(Numbers(), (Order{"c 0", "a 1", "b 2", "d 3"}));

    view.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Numbers(), (Order{"a 0", "b 1", "c 2", "d 3"}));
}

TEST_F(TabOrderClicksTest, ClickingAnEarlierFieldAgainContinuesAfterIt)
{
    AddField("a", 10, 10, 0);
    AddField("b", 10, 60, 1);
    AddField("c", 10, 110, 7);
    AddField("d", 10, 160, 7);
    view.OnCommand(ID_TABORDER_BY_CLICKS);

    Click({50, 120});  // c
    Click({50, 20});   // a
    // Clicked first, a field keeps its number: the form stays as it is.
    const int undo = form().GetUndoCount();
    Click({50, 120});
    EXPECT_EQ(form().GetUndoCount(), undo);
    EXPECT_EQ(Numbers(), (Order{"c 0", "a 1", "b 2", "d 3"}));
    Click({50, 170});  // d comes right after c

    EXPECT_EQ(Numbers(), (Order{"c 0", "d 1", "a 2", "b 3"}));
    EXPECT_EQ(form().GetUndoCount(), undo) << "still the round's one step";
    // The list follows the numbers, as the file writes it.
    EXPECT_EQ(Last()->GetName(), "b");
}

TEST_F(TabOrderClicksTest, UndoInTheMiddleStartsTheRoundOverAndAPaneStepSplitsIt)
{
    AddField("a", 10, 10, 0);
    AddField("b", 10, 60, 1);
    AddField("c", 10, 110, 2);
    view.OnCommand(ID_TABORDER_BY_CLICKS);
    const int undo = form().GetUndoCount();

    Click({50, 120});  // c
    view.OnCommand(ID_EDIT_UNDO);
    Click({50, 70});  // b: first again, not second
    EXPECT_EQ(Numbers(), (Order{"b 0", "a 1", "c 2"}));
    EXPECT_EQ(form().GetUndoCount(), undo + 1);

    form().Snapshot("Width");
    Named("b")->SetRect(10, 60, 150, 80);
    Click({50, 120});  // c, after the other step: a step of its own
    EXPECT_EQ(Numbers(), (Order{"b 0", "c 1", "a 2"}));
    EXPECT_EQ(form().GetUndoCount(), undo + 3);
    view.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Numbers(), (Order{"b 0", "a 1", "c 2"}));
    EXPECT_EQ(Named("b")->GetRect().right, 150) << "the other step stays";
}

TEST_F(TabOrderClicksTest, EditingKeysAndCommandsEndTheRoundFirstViewCommandsDoNot)
{
    AddField("a", 10, 10, 0);
    AddField("b", 10, 60, 1);
    view.OnCommand(ID_TABORDER_BY_CLICKS);
    Click({50, 70});  // b
    const int undo = form().GetUndoCount();

    // Tab selects the first field once the round is over: b, numbered 0.
    EXPECT_TRUE(editor().OnKeyDown(EditorKey::Tab, Modifier::None));
    EXPECT_FALSE(editor().IsTabOrderClicking());
    ASSERT_EQ(editor().GetSelectCount(), 1);
    EXPECT_EQ(editor().GetSelectedObject()->GetName(), "b");
    EXPECT_EQ(Numbers(), (Order{"b 0", "a 1"}));
    EXPECT_EQ(form().GetUndoCount(), undo) << "the round's step stays one step";

    const std::pair<EditorKey, unsigned> keys[] = {
        {EditorKey::A, Modifier::Ctrl}, {EditorKey::Down, Modifier::None}, {EditorKey::Delete, Modifier::None}};
    for (const auto& [key, modifiers] : keys) {
        view.OnCommand(ID_TABORDER_BY_CLICKS);
        editor().OnKeyDown(key, modifiers);
        EXPECT_FALSE(editor().IsTabOrderClicking()) << static_cast<int>(key);
        editor().UnselectAll();
    }
    EXPECT_EQ(form().GetCount(), 4) << "with nothing selected, Delete deleted nothing";

    view.OnCommand(ID_TABORDER_BY_CLICKS);
    view.OnCommand(ID_SHOW_GRID);
    view.OnCommand(ID_ZOOM_IN);
    editor().OnKeyDown(EditorKey::C, Modifier::None);
    EXPECT_TRUE(editor().IsTabOrderClicking());
    view.OnCommand(ID_EDIT_SELECT_ALL);
    EXPECT_FALSE(editor().IsTabOrderClicking());
    EXPECT_EQ(editor().GetSelectCount(), 4);
}

TEST_F(TabOrderClicksTest, ToolsAndTheRoundTakeTurnsAndAFormWithoutFieldsHasNone)
{
    EXPECT_FALSE(Enabled(ID_TABORDER_BY_CLICKS));
    AddField("a", 10, 10, 0);
    EXPECT_TRUE(Enabled(ID_TABORDER_BY_CLICKS));

    view.OnCommand(ID_ADD_RECTANGLE);
    view.OnCommand(ID_TABORDER_BY_CLICKS);
    EXPECT_FALSE(editor().IsDrawing()) << "the round disarms the tool";
    EXPECT_FALSE(Checked(ID_ADD_RECTANGLE));
    view.OnCommand(ID_ADD_RECTANGLE);
    EXPECT_FALSE(editor().IsTabOrderClicking()) << "a tool ends the round";
    EXPECT_TRUE(editor().IsDrawing());

    view.OnCommand(ID_TABORDER_BY_CLICKS);
    view.OnCommand(ID_TABORDER_BY_CLICKS);
    EXPECT_FALSE(editor().IsTabOrderClicking()) << "the button ends it as well";
    view.OnCommand(ID_CHECK_SHOW_TABORDER);
    view.OnCommand(ID_TABORDER_BY_CLICKS);
    view.OnCommand(ID_TABORDER_BY_CLICKS);
    EXPECT_TRUE(form().IsShowTabOrder()) << "numbers shown before stay shown";
}
