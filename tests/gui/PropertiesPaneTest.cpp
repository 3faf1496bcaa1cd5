// The properties pane in a running main frame: rows read from the real
// property grid, edits committed through the grid as a user commits them,
// and the canvas and undo reacting.

#include "app/AppSettings.h"
#include "app/CanvasWindow.h"
#include "app/FormwrightApp.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "app/Ribbon.h"
#include "controls/DiagramImage.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "dialogs/StyleNameDlg.h"
#include "editor/CommandIds.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "panes/PropertiesWnd.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/ribbon/bar.h>
#include <wx/propgrid/advprops.h>
#include <wx/propgrid/manager.h>
#include <wx/propgrid/props.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace fw;
using fw::test::AppJourney;
using fw::test::PumpEvents;
using fw::test::RunModal;
using fw::test::WaitFor;

namespace {

class PropertiesPane : public AppJourney {
protected:
    void SetUp() override
    {
        AppJourney::SetUp();

        m_doc = Open(CopySample("PUMP_Main.xml"));
        ASSERT_NE(m_doc, nullptr);
        m_pane = m_frame->GetPropertiesPane();
        ASSERT_NE(m_frame->GetActiveFormView(), nullptr);
    }

    CDEditor& Editor() { return m_frame->GetActiveFormView()->GetFormView().GetEditor(); }
    CDiagramEntityContainer& Form() { return *Editor().GetDiagramEntityContainer(); }

    template <class T> std::vector<CDiagramEntity*> ElementsOf()
    {
        std::vector<CDiagramEntity*> found;
        for (int i = 0; i < Form().GetCount(); ++i)
            if (dynamic_cast<T*>(Form().GetAt(i)) && !Form().GetAt(i)->IsDependentPart())
                found.push_back(Form().GetAt(i));
        return found;
    }

    // Selects the elements in the editor, which tells the pane.
    void Select(const std::vector<CDiagramEntity*>& elements)
    {
        Form().UnselectAll();
        for (CDiagramEntity* element : elements)
            element->Select(true);
        Editor().NotifySelection();
        PumpEvents(20);
    }

    wxPGProperty* Row(int id)
    {
        wxPGProperty* row = m_pane->FindRow(id);
        EXPECT_NE(row, nullptr) << "no row " << id;
        return row;
    }

    // Commits a value as the grid does after an edit: changing and changed events.
    void Commit(int id, const wxVariant& value)
    {
        wxPGProperty* row = Row(id);
        ASSERT_NE(row, nullptr);
        ASSERT_TRUE(m_pane->GetGrid()->ChangePropertyValue(row, value));
        PumpEvents(20);
    }

    // Selects the element and types a new left edge into its row, not confirmed.
    void TypeLeftUnconfirmed(CDiagramEntity* element, double left)
    {
        Select({element});
        wxPropertyGrid* grid = m_pane->GetGrid();
        ASSERT_TRUE(grid->SelectProperty(Row(4007), true));
        auto* field = dynamic_cast<wxTextCtrl*>(grid->GetEditorControl());
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == field; }));
        field->SelectAll();
        wxUIActionSimulator().Text(wxString::Format("%d", static_cast<int>(left)).utf8_str());
        PumpEvents(50);
    }

    static bool Bold(const wxPGProperty* row) { return row->HasFlag(wxPG_PROP_MODIFIED); }

    FormwrightDoc* m_doc = nullptr;
    CPropertiesWnd* m_pane = nullptr;
};

TEST_F(PropertiesPane, WithNothingSelectedTheGridShowsTheFormRows)
{
    Select({});
    EXPECT_EQ(m_pane->GetModeBox()->GetSelection(), 0);
    EXPECT_EQ(m_pane->GetModeBox()->GetCount(), 2u);
    EXPECT_TRUE(m_pane->GetShownText().StartsWith(langStr("PROPWND_FORMPROP")));
    EXPECT_TRUE(m_pane->GetGridManager()->HasFlag(wxPG_DESCRIPTION));

    const IntSize paper = Editor().GetVirtualSize();
    wxPGProperty* height = Row(4403);
    ASSERT_NE(height, nullptr);
    EXPECT_TRUE(wxDynamicCast(height, wxIntProperty));
    EXPECT_EQ(height->GetValue().GetLong(), paper.cy);
    EXPECT_EQ(height->GetLabel(), wxString::FromUTF8(langStr("T_PROP_HEIGHT")));
    EXPECT_EQ(height->GetHelpString(), wxString::FromUTF8(langStr("H_PROP_HEIGHT_FORM")));

    wxPGProperty* sizeable = Row(4415);
    ASSERT_NE(sizeable, nullptr);
    EXPECT_TRUE(wxDynamicCast(sizeable, wxBoolProperty));
    EXPECT_TRUE(sizeable->GetAttribute(wxPG_BOOL_USE_CHECKBOX).GetBool());
    EXPECT_EQ(sizeable->GetValue().GetBool(), Form().IsSizeable());

    // The type list offers the four kinds and takes typed text too.
    wxPGProperty* type = Row(4414);
    ASSERT_NE(type, nullptr);
    ASSERT_TRUE(wxDynamicCast(type, wxEditEnumProperty));
    wxArrayString kinds;
    for (const char* kind : {"OEF", "OCF", "SEF", "CUSTOM"})
        kinds.Add(kind);
    EXPECT_EQ(type->GetChoices().GetLabels(), kinds);
    Commit(4414, wxVariant("MYKIND"));
    EXPECT_EQ(Form().GetProgIdType(), "MYKIND");

    // A new help text reaches the form and shows in bold; the same text again marks nothing.
    EXPECT_FALSE(Bold(Row(4416)));
    Commit(4416, wxVariant("Pump help"));
    EXPECT_EQ(Form().GetHelp(), "Pump help");
    EXPECT_TRUE(Form().IsModified());
    EXPECT_TRUE(Bold(Row(4416)));
    EXPECT_FALSE(Bold(Row(4403)));

    Commit(4404, wxVariant(900L));
    EXPECT_EQ(Editor().GetVirtualSize().cx, 900);
    EXPECT_EQ(Editor().GetVirtualSize().cy, paper.cy);
}

TEST_F(PropertiesPane, AnEditedRowChangesTheElementRepaintsAndCtrlZTakesItBack)
{
    std::vector<CDiagramEntity*> texts = ElementsOf<CDiagramStatic>();
    ASSERT_FALSE(texts.empty());
    CDiagramEntity* text = texts.front();
    const double left = text->GetLeft();
    const double width = text->GetRight() - text->GetLeft();
    Select({text});

    EXPECT_EQ(m_pane->GetModeBox()->GetSelection(), 1);
    wxPGProperty* leftRow = Row(4007);
    ASSERT_NE(leftRow, nullptr);
    ASSERT_TRUE(wxDynamicCast(leftRow, wxFloatProperty));
    EXPECT_DOUBLE_EQ(leftRow->GetValue().GetDouble(), left);
    EXPECT_FALSE(Bold(leftRow));

    int paints = 0;
    CanvasWindow* canvas = m_frame->GetActiveFormView()->GetCanvas();
    canvas->SetPaintObserver([&paints](double) { ++paints; });
    Commit(4007, wxVariant(left + 37.0));
    EXPECT_DOUBLE_EQ(text->GetLeft(), left + 37.0);
    EXPECT_DOUBLE_EQ(text->GetRight() - text->GetLeft(), width);
    EXPECT_TRUE(Bold(Row(4007)));
    EXPECT_TRUE(WaitFor([&] { return paints > 0; }));
    canvas->SetPaintObserver({});

    // Ctrl+Z on the canvas restores the form from before the edit.
    canvas->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == canvas; }));
    wxUIActionSimulator input;
    input.Char('z', wxMOD_CONTROL);
    ASSERT_TRUE(WaitFor([&] {
        auto now = ElementsOf<CDiagramStatic>();
        return !now.empty() && now.front()->GetLeft() == left;
    }));
    EXPECT_DOUBLE_EQ(ElementsOf<CDiagramStatic>().front()->GetRight(), left + width);
}

TEST_F(PropertiesPane, AnIgnoredEditShowsTheModelValueAgain)
{
    // No element left to change: the edit is ignored and the row goes back.
    std::vector<CDiagramEntity*> texts = ElementsOf<CDiagramStatic>();
    ASSERT_FALSE(texts.empty());
    Select({texts.front()});
    const double left = texts.front()->GetLeft();
    m_pane->SetSelection(nullptr);
    Commit(4007, wxVariant(left + 50.0));
    EXPECT_DOUBLE_EQ(texts.front()->GetLeft(), left);
    EXPECT_DOUBLE_EQ(Row(4007)->GetValue().GetDouble(), left);
    EXPECT_FALSE(Bold(Row(4007)));
}

// A drag changes values only: the rows stay the ones built for the
// selection, and once the waiting events are done they show where it is.
TEST_F(PropertiesPane, ADraggedSelectionShowsItsPlaceWithoutRebuildingTheRows)
{
    std::vector<CDiagramEntity*> texts = ElementsOf<CDiagramStatic>();
    ASSERT_FALSE(texts.empty());
    // The largest, so that its middle is body rather than a handle.
    CDiagramEntity* text = *std::max_element(texts.begin(), texts.end(), [](auto* a, auto* b) {
        return a->GetRect().Normalized().Width() * a->GetRect().Normalized().Height() <
               b->GetRect().Normalized().Width() * b->GetRect().Normalized().Height();
    });
    Select({text});
    const double left = text->GetLeft();
    const int builds = m_pane->GetRowBuildCount();
    const wxString undoBefore = m_frame->GetRibbon().GetDescription(ID_EDIT_UNDO);

    CanvasWindow* canvas = m_frame->GetActiveFormView()->GetCanvas();
    const IntRect shown = Editor().VirtualToScreen(text->GetRect()).Normalized();
    const wxPoint grip = canvas->ClientToScreen(wxPoint((shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2));
    wxUIActionSimulator input;
    input.MouseMove(grip);
    PumpEvents(50);
    input.MouseDown();
    PumpEvents(50);
    for (int step = 1; step <= 4; ++step) {
        input.MouseMove(grip + wxSize(10 * step, 5 * step));
        PumpEvents(20);
    }
    EXPECT_NE(text->GetLeft(), left);
    EXPECT_DOUBLE_EQ(Row(4007)->GetValue().GetDouble(), text->GetLeft());
    EXPECT_DOUBLE_EQ(Row(4006)->GetValue().GetDouble(), text->GetTop());
    input.MouseMove(grip + wxSize(50, 30));
    PumpEvents(20);
    input.MouseUp();
    PumpEvents(100);

    EXPECT_EQ(Editor().GetInteractMode(), ModeNone);
    EXPECT_DOUBLE_EQ(Row(4007)->GetValue().GetDouble(), text->GetLeft());
    EXPECT_DOUBLE_EQ(Row(4006)->GetValue().GetDouble(), text->GetTop());
    EXPECT_FALSE(Bold(Row(4007)));
    EXPECT_EQ(m_pane->GetRowBuildCount(), builds);
    // The ribbon, left alone while the canvas held the mouse, offers the move for undoing.
    EXPECT_NE(m_frame->GetRibbon().GetDescription(ID_EDIT_UNDO), undoBefore);
}

TEST_F(PropertiesPane, PropertyFieldsGetASpinTabOrderAloneAndAMixedReadOnlyCheckTogether)
{
    std::vector<CDiagramEntity*> fields = ElementsOf<CDiagramLinked>();
    ASSERT_GE(fields.size(), 2u);
    Select({fields[0]});
    wxPGProperty* tab = Row(4012);
    ASSERT_NE(tab, nullptr);
    ASSERT_NE(tab->GetEditorClass(), nullptr);
    EXPECT_EQ(tab->GetEditorClass()->GetName(), "SpinCtrl");
    EXPECT_FALSE(tab->HasFlag(wxPG_PROP_READONLY));
    EXPECT_EQ(tab->GetValue().GetLong(), fields[0]->GetTabIndex());

    fields[0]->SetReadOnly(true);
    fields[1]->SetReadOnly(false);
    Select({fields[0], fields[1]});
    EXPECT_TRUE(Row(4012)->HasFlag(wxPG_PROP_READONLY));
    EXPECT_NE(Row(4012)->GetEditorClass()->GetName(), "SpinCtrl");

    wxPGProperty* readOnly = Row(4301);
    ASSERT_NE(readOnly, nullptr);
    ASSERT_TRUE(wxDynamicCast(readOnly, wxBoolProperty));
    EXPECT_FALSE(readOnly->GetValue().GetBool());
    EXPECT_EQ(readOnly->GetHelpString(), wxString::FromUTF8(langStr("MSG_MULTIPLE_BOOLVALUES")));
    Commit(4301, wxVariant(true));
    EXPECT_TRUE(fields[0]->IsReadOnly());
    EXPECT_TRUE(fields[1]->IsReadOnly());
    EXPECT_TRUE(Row(4301)->GetValue().GetBool());
}

TEST_F(PropertiesPane, TheImagePathChoosesAFileWithTheImageFilter)
{
    std::vector<CDiagramEntity*> images = ElementsOf<CDiagramImage>();
    ASSERT_FALSE(images.empty());
    Select({images.front()});
    wxPGProperty* path = Row(4501);
    ASSERT_NE(path, nullptr);
    ASSERT_TRUE(wxDynamicCast(path, wxFileProperty));
    const wxString wildcard = path->GetAttribute(wxPG_FILE_WILDCARD).GetString();
    EXPECT_TRUE(wildcard.StartsWith("(*.bmp)|*.bmp|"));
    EXPECT_TRUE(wildcard.EndsWith("|*.tif")) << wildcard;
    EXPECT_EQ(path->GetValue().GetString(), wxString::FromUTF8(images.front()->GetImagePath()));

    Commit(4501, wxVariant("valve.png"));
    EXPECT_EQ(images.front()->GetImagePath(), m_scratch.Path() + "/valve.png");
}

TEST_F(PropertiesPane, TheModeBoxRebuildsAndANameWithALocalTitleUpdatesTheTitleRow)
{
    std::vector<CDiagramEntity*> fields = ElementsOf<CDiagramLinked>();
    ASSERT_FALSE(fields.empty());
    Select({fields[0]});
    ASSERT_NE(m_pane->FindRow(4000), nullptr);

    auto choose = [this](int index) {
        m_pane->GetModeBox()->SetSelection(index);
        wxCommandEvent event(wxEVT_CHOICE, m_pane->GetModeBox()->GetId());
        event.SetInt(index);
        event.SetEventObject(m_pane->GetModeBox());
        m_pane->GetModeBox()->GetEventHandler()->ProcessEvent(event);
    };
    choose(0);
    EXPECT_NE(m_pane->FindRow(4403), nullptr);
    EXPECT_EQ(m_pane->FindRow(4000), nullptr);
    choose(1);
    EXPECT_EQ(m_pane->FindRow(4403), nullptr);
    ASSERT_NE(m_pane->FindRow(4000), nullptr);

    // "Local name;internal name": the internal name brings its local title along.
    const std::vector<std::string>& entries = m_doc->GetModel().GetClassProperties();
    ASSERT_FALSE(entries.empty());
    const std::string& entry = entries.back();
    const std::string local = entry.substr(0, entry.find(';'));
    const std::string internal = entry.substr(entry.find(';') + 1);
    if (fields[0]->GetName() == internal)
        GTEST_SKIP() << "the field already has that name";
    Commit(4001, wxVariant(wxString::FromUTF8(internal)));
    EXPECT_EQ(fields[0]->GetName(), internal);
    EXPECT_EQ(fields[0]->GetTitle(), local);
    EXPECT_EQ(Row(4000)->GetValueAsString(), wxString::FromUTF8(local));
    EXPECT_TRUE(Bold(Row(4000)));
}

// The frame's shortcuts must not reach the form while a text field has the
// focus: the pane's editor and a dialog's field each get their own edit.
TEST_F(PropertiesPane, EditKeysInATextFieldEditTheTextNotTheForm)
{
    std::vector<CDiagramEntity*> texts = ElementsOf<CDiagramStatic>();
    ASSERT_FALSE(texts.empty());
    CDiagramEntity* text = texts.front();
    const int elements = Form().GetCount();
    Select({text});
    const double moved = text->GetLeft() + 37.0;
    Commit(4007, wxVariant(moved));

    wxPropertyGrid* grid = m_pane->GetGrid();
    ASSERT_TRUE(grid->SelectProperty(Row(4007), true));
    auto* field = dynamic_cast<wxTextCtrl*>(grid->GetEditorControl());
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == field; }));
    const wxString value = field->GetValue();
    auto press = [](int key) {
        wxUIActionSimulator().Char(key, wxMOD_CONTROL);
        PumpEvents(100);
    };
    field->SetSelection(0, 0);
    press('a');
    EXPECT_EQ(field->GetStringSelection(), value);
    EXPECT_EQ(Editor().GetSelectCount(), 1);
    press('x');
    EXPECT_TRUE(WaitFor([&] { return field->IsEmpty(); })) << field->GetValue();
    press('v');
    press('v');
    EXPECT_TRUE(WaitFor([&] { return field->GetValue() == value + value; })) << field->GetValue();
    press('z');
    EXPECT_EQ(Form().GetCount(), elements);
    EXPECT_DOUBLE_EQ(text->GetLeft(), moved) << "the canvas undo ran";
    field->ChangeValue(value);

    // A dialog over the frame: its field takes the keys, the form stays.
    CStyleNameDlg dialog(m_frame);
    dialog.SetInitialName("Head");
    wxString typed;
    RunModal(dialog, [&] {
        wxTextCtrl* name = dialog.GetNameField();
        WaitFor([&] { return wxWindow::FindFocus() == name; });
        name->SetSelection(0, 0);
        press('a');
        press('c');
        name->SetInsertionPointEnd();
        press('v');
        press('z');
        typed = name->GetValue();
        dialog.EndModal(wxID_CANCEL);
    });
    EXPECT_EQ(typed, "HeadHead");
    EXPECT_EQ(Form().GetCount(), elements);
    EXPECT_EQ(Editor().GetSelectCount(), 1);
    EXPECT_DOUBLE_EQ(text->GetLeft(), moved);
}

// A value typed into a row and left by clicking another element on the canvas
// goes to the element it was typed for, not to the new selection, and is kept.
TEST_F(PropertiesPane, AValueTypedAndLeftByAClickOnTheCanvasIsKept)
{
    std::vector<CDiagramEntity*> texts = ElementsOf<CDiagramStatic>();
    ASSERT_GE(texts.size(), 2u);
    CDiagramEntity* typedFor = texts[0];
    CDiagramEntity* clicked = texts[1];
    const double clickedLeft = clicked->GetLeft();
    const double wanted = typedFor->GetLeft() + 23.0;
    ASSERT_NO_FATAL_FAILURE(TypeLeftUnconfirmed(typedFor, wanted));

    wxUIActionSimulator input;
    CanvasWindow* canvas = m_frame->GetActiveFormView()->GetCanvas();
    const IntRect shown = Editor().VirtualToScreen(clicked->GetRect()).Normalized();
    input.MouseMove(canvas->ClientToScreen(wxPoint((shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2)));
    PumpEvents(50);
    input.MouseClick();
    PumpEvents(200);

    EXPECT_TRUE(clicked->IsSelected());
    EXPECT_DOUBLE_EQ(typedFor->GetLeft(), wanted);
    EXPECT_DOUBLE_EQ(clicked->GetLeft(), clickedLeft);
    EXPECT_TRUE(WaitFor([&] { return Row(4007)->GetValue().GetDouble() == clickedLeft; }))
        << Row(4007)->GetValue().GetDouble() << " " << typedFor->GetLeft() << " " << clicked->GetLeft() << " "
        << Editor().GetSelectCount();
}

// A ribbon command changes the selection while a value is still being typed:
// the value goes to the element it was typed for.
TEST_F(PropertiesPane, AValueTypedBeforeARibbonCommandIsKept)
{
    std::vector<CDiagramEntity*> texts = ElementsOf<CDiagramStatic>();
    ASSERT_FALSE(texts.empty());
    CDiagramEntity* typedFor = texts[0];
    const double wanted = typedFor->GetLeft() + 17.0;
    ASSERT_NO_FATAL_FAILURE(TypeLeftUnconfirmed(typedFor, wanted));

    wxCommandEvent selectAll(wxEVT_MENU, ID_EDIT_SELECT_ALL);
    selectAll.SetEventObject(m_frame->GetRibbon().GetBar());
    m_frame->ProcessWindowEvent(selectAll);
    PumpEvents(200);

    EXPECT_GT(Editor().GetSelectCount(), 1);
    EXPECT_DOUBLE_EQ(typedFor->GetLeft(), wanted);
}

// What the pane says about a row: its cut label in full under the mouse, its
// help in the description area until the pane shows other rows.
TEST_F(PropertiesPane, ACutLabelShowsInFullAsATipAndTheDescriptionGoesWithItsRows)
{
    Select({});
    wxPropertyGrid* grid = m_pane->GetGrid();
    auto description = [this] {
        wxString text;
        for (wxWindow* child : m_pane->GetGridManager()->GetChildren())
            if (auto* label = dynamic_cast<wxStaticText*>(child))
                text += label->GetLabel();
        return text;
    };
    // Labels get a narrow column, too narrow for "Height".
    grid->SetSplitterPosition(grid->FromDIP(36));
    PumpEvents(50);
    wxPGProperty* height = Row(4403);
    ASSERT_NE(height, nullptr);
    const wxRect row = grid->GetPropertyRect(height, height);
    const wxPoint label = grid->CalcScrolledPosition(wxPoint(grid->FromDIP(30), row.y + row.height / 2));
    wxUIActionSimulator input;
    input.MouseMove(grid->ClientToScreen(wxPoint(grid->GetClientSize().x - 10, label.y)));
    PumpEvents(50);
    input.MouseMove(grid->ClientToScreen(label));
    EXPECT_TRUE(WaitFor([&] { return grid->GetToolTipText() == height->GetLabel(); })) << grid->GetToolTipText();

    input.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return description().Contains(height->GetHelpString()); })) << description();
    Select({ElementsOf<CDiagramStatic>().at(0)});
    EXPECT_EQ(description(), wxString());
}

}  // namespace

namespace {

TEST_F(PropertiesPane, TypingInTheSearchBoxFiltersTheRowsAcrossSelectionsAndMixedValuesShowBlank)
{
    std::vector<CDiagramEntity*> fields = ElementsOf<CDiagramLinked>();
    ASSERT_GE(fields.size(), 2u);
    ASSERT_NE(fields[0]->GetRect().top, fields[1]->GetRect().top);
    Select({fields[0], fields[1]});
    const wxArrayString all = wxSplit(m_pane->GetShownText(), '\n');

    // Disagreeing values show blank, not the mark the model keeps.
    for (int id : {4001, 4006}) {
        ASSERT_NE(Row(id), nullptr);
        EXPECT_TRUE(Row(id)->IsValueUnspecified()) << id;
        EXPECT_EQ(Row(id)->GetValueAsString(), "") << id;
    }

    // The rows in view: each holds the typed text in its label or value, in any case.
    const auto rowsInView = [this] {
        wxArrayString rows;
        for (const wxString& line : wxSplit(m_pane->GetShownText(), '\n'))
            if (line.Contains(": "))
                rows.Add(line);
        return rows;
    };
    wxTextCtrl* search = m_pane->GetSearchBox();
    search->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == search; }));
    wxUIActionSimulator keys;
    keys.Text("tOP");
    ASSERT_TRUE(WaitFor([&] { return search->GetValue() == "tOP"; }));
    PumpEvents(20);
    const wxString top = wxString::FromUTF8(langStr("T_PROP_TOP"));
    EXPECT_EQ(rowsInView(), wxArrayString(1, top + ": "));

    // The filter stays for the next selection; its value shows again.
    Select({fields[0]});
    EXPECT_EQ(rowsInView(), wxArrayString(1, top + ": " + wxString::Format("%d", fields[0]->GetRect().top)));
    search->SetValue(wxEmptyString);
    PumpEvents(20);
    Select({fields[0], fields[1]});
    EXPECT_EQ(wxSplit(m_pane->GetShownText(), '\n'), all);

    // A value typed over the blank reaches both.
    Commit(4006, wxVariant(40.0));
    EXPECT_EQ(fields[0]->GetRect().top, 40);
    EXPECT_EQ(fields[1]->GetRect().top, 40);
}

}  // namespace
