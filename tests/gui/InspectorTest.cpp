// The object inspector inside the whole application: its list and search,
// the text a dragged row carries, a property dropped on the canvas becoming
// a field with its label that reaches the saved file, and the extended model.

#include "app/AppSettings.h"
#include "app/CanvasWindow.h"
#include "app/CommandTable.h"
#include "app/FormwrightApp.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "model/FormDefinitionDocument.h"
#include "model/PropertyEntries.h"
#include "panes/ObjectInspectorWnd.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dnd.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <strings.h>
#include <vector>

using namespace fw;
using fw::test::AppJourney;
using fw::test::PumpEvents;
using fw::test::SendCommand;
using fw::test::WaitFor;

namespace {

class Inspector : public AppJourney {
protected:
    CObjectInspectorWnd& Pane() const { return *m_frame->GetInspector(); }

    // The list as the user sees it: localized name and internal name per row.
    std::vector<std::pair<std::string, std::string>> ShownRows() const
    {
        std::vector<std::pair<std::string, std::string>> rows;
        wxListCtrl* list = Pane().GetList();
        for (long i = 0; i < list->GetItemCount(); ++i)
            rows.emplace_back(list->GetItemText(i, 0).utf8_string(), list->GetItemText(i, 1).utf8_string());
        return rows;
    }

    // A row whose property the form does not show yet, as its drag text.
    std::string FreeProperty(const FormDefinitionDocument& doc, int skip = 0) const
    {
        const auto& rows = Pane().GetModel().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (!doc.GetCurrentForm()->ContainsProperty(rows[i].value) && skip-- == 0)
                return Pane().GetModel().GetDragText(static_cast<int>(i));
        return {};
    }

    int RowOf(const std::string& dragText) const
    {
        const auto& rows = Pane().GetModel().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (Pane().GetModel().GetDragText(static_cast<int>(i)) == dragText)
                return static_cast<int>(i);
        return -1;
    }

    // The client pixel of a paper point of the active view.
    wxPoint ClientPointOf(IntPoint paper) const
    {
        const CDiagramEditor& editor = m_frame->GetActiveFormView()->GetFormView().GetEditor();
        const IntRect at = editor.VirtualToScreen(IntRect{paper.x, paper.y, paper.x, paper.y});
        return {at.left, at.top};
    }

    // The property field and the label named `internal`, when the form has both.
    static std::pair<const CDiagramLinked*, const CDiagramStatic*> PairNamed(const CDiagramEntityContainer& form,
                                                                             const std::string& internal)
    {
        const CDiagramLinked* field = nullptr;
        const CDiagramStatic* label = nullptr;
        for (int i = 0; i < form.GetCount(); ++i) {
            const CDiagramEntity* element = form.GetAt(i);
            if (element->GetName() != internal)
                continue;
            if (auto* f = dynamic_cast<const CDiagramLinked*>(element))
                field = f;
            else if (auto* l = dynamic_cast<const CDiagramStatic*>(element))
                label = l;
        }
        return {field, label};
    }

    static void ExpectPairAt(const CDiagramEntityContainer& form, const PropertyEntryParts& parts, IntPoint paper)
    {
        const auto [field, label] = PairNamed(form, parts.internal);
        ASSERT_NE(field, nullptr) << parts.internal;
        ASSERT_NE(label, nullptr) << parts.internal;
        EXPECT_EQ(field->GetTitle(), parts.localized);
        EXPECT_EQ(label->GetTitle(), parts.localized);
        // Snapping may move the pair a little, never far.
        EXPECT_NEAR(label->GetLeft(), paper.x, 10);
        EXPECT_NEAR(label->GetTop(), paper.y, 10);
        EXPECT_NEAR(field->GetLeft(), label->GetLeft() + 150, 1);
        EXPECT_NEAR(field->GetRight() - field->GetLeft(), 100, 1);
        EXPECT_NEAR(label->GetRight() - label->GetLeft(), 140, 1);
    }
};

// ---------------------------------------------------------------------------

TEST_F(Inspector, ListsTheTypesPropertiesSortedUnderTheCaptionAndReadOnly)
{
    FormwrightDoc* doc = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(doc, nullptr);
    const std::vector<std::string>& entries = doc->GetModel().GetClassProperties();
    ASSERT_GT(entries.size(), 2u);

    EXPECT_EQ(Pane().GetCaption(), GetLocaleObjectType("PUMP"));
    EXPECT_EQ(Pane().GetCaptionLabel()->GetLabel().utf8_string(), Pane().GetCaption());
    const auto rows = ShownRows();
    ASSERT_EQ(rows.size(), entries.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PropertyEntryParts parts = SplitPropertyEntry(entries[i]);
        EXPECT_EQ(rows[i].first, parts.localized);
        EXPECT_EQ(rows[i].second, parts.internal);
        if (i > 0) {
            EXPECT_LE(strcasecmp(entries[i - 1].c_str(), entries[i].c_str()), 0) << "not sorted at " << i;
        }
    }
    EXPECT_FALSE(Pane().GetList()->HasFlag(wxLC_EDIT_LABELS));

    // Selecting a row shows its internal name as the description.
    Pane().GetList()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    PumpEvents(20);
    EXPECT_EQ(Pane().GetDescription()->GetLabel().utf8_string(), rows[1].second);

    // Another view of the same file leaves the list alone; closing empties it.
    SendCommand(*m_frame, ID_WINDOW_NEW);
    PumpEvents(50);
    EXPECT_EQ(ShownRows(), rows);
    doc->Modify(false);
    for (int i = 0; i < 2 && !m_frame->GetDocManager().GetDocumentsVector().empty(); ++i)
        SendCommand(*m_frame, ID_FILE_CLOSE);
    PumpEvents(50);
    ASSERT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    EXPECT_TRUE(Pane().GetCaption().empty());
    EXPECT_EQ(Pane().GetList()->GetItemCount(), 0);
}

TEST_F(Inspector, TypingFiltersTheListAndEnterCyclesThroughTheMatches)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    const auto all = ShownRows();
    wxTextCtrl* search = Pane().GetSearchBox();
    search->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == search; }));

    // Typed through the X server: every row whose name or internal name holds
    // "rat", in any case, in list order, and no other.
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& row : all)
        if (wxString::FromUTF8(row.first).Lower().Contains("rat") ||
            wxString::FromUTF8(row.second).Lower().Contains("rat"))
            expected.push_back(row);
    ASSERT_GE(expected.size(), 2u);
    ASSERT_LT(expected.size(), all.size());
    wxUIActionSimulator keys;
    keys.Text("RaT");
    ASSERT_TRUE(WaitFor([&] { return search->GetValue() == "RaT"; }));
    EXPECT_TRUE(WaitFor([&] { return ShownRows() == expected; })) << ShownRows().size();

    // Enter selects each listed row in turn and starts again at the top.
    for (int round = 0; round < 2; ++round)
        for (std::size_t row = 0; row < expected.size(); ++row) {
            keys.Char(WXK_RETURN);
            EXPECT_TRUE(WaitFor([&] { return Pane().GetSelectedRow() == static_cast<int>(row); }))
                << "round " << round << " row " << row;
        }

    search->SetValue(wxEmptyString);
    PumpEvents();
    EXPECT_EQ(ShownRows(), all);
}

TEST_F(Inspector, EditKeysWorkInsideTheSearchBox)
{
    FormwrightDoc* doc = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(doc, nullptr);
    const CDiagramEntityContainer& form = *doc->GetModel().GetCurrentForm();
    const int elements = form.GetCount();
    wxTextCtrl* search = Pane().GetSearchBox();
    search->SetValue("Pump*");
    search->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == search; }));
    search->SetSelection(0, 0);

    wxUIActionSimulator keys;
    keys.Char('a', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return search->GetStringSelection() == "Pump*"; }));
    keys.Char('c', wxMOD_CONTROL);
    PumpEvents(100);
    search->SetInsertionPointEnd();
    keys.Char('v', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return search->GetValue() == "Pump*Pump*"; })) << search->GetValue();
    search->SetSelection(0, 5);
    keys.Char('x', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return search->GetValue() == "Pump*"; })) << search->GetValue();
    // The form's own clipboard and selection commands did not run.
    EXPECT_EQ(form.GetCount(), elements);
    for (int i = 0; i < form.GetCount(); ++i)
        EXPECT_FALSE(form.GetAt(i)->IsSelected()) << i;
}

TEST_F(Inspector, ADroppedRowBecomesAFieldWithItsLabelThatReachesTheSavedFile)
{
    const std::string path = CopySample("PUMP_Main.xml");
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CDiagramEntityContainer& form = *doc->GetModel().GetCurrentForm();
    // The sample shows every plain property already; the internal ones are free.
    SendCommand(*m_frame, ID_VIEW_EXTEND_PROPERTIES);
    const std::string text = FreeProperty(doc->GetModel());
    ASSERT_FALSE(text.empty()) << "every property is on the form already";
    const PropertyEntryParts parts = SplitPropertyEntry(text);

    // The drag text is the name, ";" and the internal name, nothing more.
    const int row = RowOf(text);
    EXPECT_EQ(text, ShownRows()[row].first + ";" + ShownRows()[row].second);
    EXPECT_EQ(Pane().GetModel().GetDragText(-1), "");
    EXPECT_EQ(Pane().GetModel().GetDragText(Pane().GetList()->GetItemCount()), "");

    // The canvas takes text as the toolkit hands a drop over.
    CanvasWindow* canvas = m_frame->GetActiveFormView()->GetCanvas();
    auto* target = dynamic_cast<wxTextDropTarget*>(canvas->GetDropTarget());
    ASSERT_NE(target, nullptr);
    const IntPoint paper{300, 400};
    const wxPoint at = ClientPointOf(paper);
    EXPECT_EQ(target->OnDragOver(at.x, at.y, wxDragMove), wxDragCopy);
    const int before = form.GetCount();
    EXPECT_TRUE(target->OnDropText(at.x, at.y, wxString::FromUTF8(text)));
    ASSERT_TRUE(WaitFor([&] { return form.GetCount() == before + 2; }));
    ExpectPairAt(form, parts, paper);
    EXPECT_TRUE(doc->IsModified());

    // The same property again is refused with a message and adds nothing.
    wxDialog* refused = nullptr;
    {
        struct Answer : wxModalDialogHook {
            wxDialog** seen;
            explicit Answer(wxDialog** s) : seen(s) { Register(); }
            ~Answer() override { Unregister(); }
            int Enter(wxDialog* dialog) override
            {
                *seen = dialog;
                return wxID_OK;
            }
            void Exit(wxDialog*) override {}
        } answer(&refused);
        const wxPoint elsewhere = ClientPointOf({300, 480});
        EXPECT_TRUE(target->OnDropText(elsewhere.x, elsewhere.y, wxString::FromUTF8(text)));
        EXPECT_TRUE(WaitFor([&] { return refused != nullptr; }));
    }
    EXPECT_EQ(form.GetCount(), before + 2);

    SendCommand(*m_frame, ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    FormDefinitionDocument reread;
    ASSERT_TRUE(reread.ReadFile(path));
    ASSERT_NE(reread.GetCurrentForm(), nullptr);
    EXPECT_TRUE(reread.GetCurrentForm()->ContainsProperty(parts.internal));
    ExpectPairAt(*reread.GetCurrentForm(), parts, paper);
}

TEST_F(Inspector, ARowDraggedWithTheMouseOntoTheCanvasPlacesItsField)
{
    FormwrightDoc* doc = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(doc, nullptr);
    CDiagramEntityContainer& form = *doc->GetModel().GetCurrentForm();
    SendCommand(*m_frame, ID_VIEW_EXTEND_PROPERTIES);
    const std::string text = FreeProperty(doc->GetModel(), 1);
    ASSERT_FALSE(text.empty());
    const int row = RowOf(text);
    wxListCtrl* list = Pane().GetList();
    list->EnsureVisible(row);
    PumpEvents(50);
    wxRect item;
    ASSERT_TRUE(list->GetItemRect(row, item));
    const wxPoint from = list->ClientToScreen(wxPoint(item.x + 20, item.y + item.height / 2));
    const IntPoint paper{300, 460};
    const wxPoint to = m_frame->GetActiveFormView()->GetCanvas()->ClientToScreen(ClientPointOf(paper));

    // The drag runs its own loop, so the pointer is moved by another process.
    wxString script = wxString::Format("xdotool mousemove %d %d sleep 0.2 mousedown 1 sleep 0.2", from.x, from.y);
    // Small steps first, so the list sees a drag, then on to the canvas.
    for (int step = 1; step <= 12; ++step) {
        const wxPoint at = step <= 4 ? from + wxPoint(4 * step, step) : from + (to - from) * (step - 4) / 8;
        script += wxString::Format(" mousemove %d %d sleep 0.1", at.x, at.y);
    }
    script += " sleep 0.3 mouseup 1";
    const int before = form.GetCount();
    ASSERT_GT(wxExecute(script, wxEXEC_ASYNC), 0);
    ASSERT_TRUE(WaitFor([&] { return form.GetCount() == before + 2; }, 8000));
    ExpectPairAt(form, SplitPropertyEntry(text), paper);
}

TEST_F(Inspector, TheExtendedToggleAddsTheInternalPropertiesKeepsTheCaptionAndTicks)
{
    FormwrightDoc* pump = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(pump, nullptr);
    const std::string caption = Pane().GetCaption();
    const auto plain = ShownRows();
    EXPECT_FALSE(m_frame->GetCommandState(ID_VIEW_EXTEND_PROPERTIES).checked);

    SendCommand(*m_frame, ID_VIEW_EXTEND_PROPERTIES);
    EXPECT_TRUE(pump->GetModel().IsExtendedModel());
    EXPECT_TRUE(m_frame->GetCommandState(ID_VIEW_EXTEND_PROPERTIES).checked);
    EXPECT_EQ(Pane().GetCaption(), caption);
    const auto extended = ShownRows();
    EXPECT_GT(extended.size(), plain.size());
    for (const auto& row : plain)
        EXPECT_NE(std::find(extended.begin(), extended.end(), row), extended.end()) << row.second;
    EXPECT_NE(std::find_if(extended.begin(), extended.end(), [](const auto& row) { return row.second == "OBJ_ID"; }),
              extended.end());
    EXPECT_EQ(Pane().GetEntries(), pump->GetModel().GetClassProperties());

    SendCommand(*m_frame, ID_VIEW_EXTEND_PROPERTIES);
    EXPECT_FALSE(pump->GetModel().IsExtendedModel());
    EXPECT_FALSE(m_frame->GetCommandState(ID_VIEW_EXTEND_PROPERTIES).checked);
    EXPECT_EQ(ShownRows(), plain);
    EXPECT_EQ(Pane().GetCaption(), caption);
}

TEST_F(Inspector, ANameTheColumnCutsShowsInFullUnderTheMouse)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    wxListCtrl* list = Pane().GetList();
    ASSERT_GT(list->GetItemCount(), 1);
    long longest = 0, shortest = 0;
    for (long i = 1; i < list->GetItemCount(); ++i) {
        if (list->GetItemText(i, 1).length() > list->GetItemText(longest, 1).length())
            longest = i;
        if (list->GetItemText(i, 0).length() < list->GetItemText(shortest, 0).length())
            shortest = i;
    }
    const wxString full = list->GetItemText(longest, 1);
    ASSERT_GT(list->GetTextExtent(full).x, list->GetColumnWidth(1)) << full << " fits";

    auto tipAt = [list](long row, int column) {
        wxRect cell;
        list->GetSubItemRect(row, column, cell);
        const wxPoint screen = list->ClientToScreen(wxPoint(cell.x + cell.width / 2, cell.y + cell.height / 2));
        wxUIActionSimulator().MouseMove(screen);
        PumpEvents(100);
        wxWindow* under = wxFindWindowAtPoint(screen);
        return under ? under->GetToolTipText() : wxString("(no window)");
    };
    EXPECT_EQ(tipAt(longest, 1), full);
    // A name the column shows whole needs no tip.
    EXPECT_EQ(tipAt(shortest, 0), wxString());
}

}  // namespace
