// Undo and Redo in the running application: real keys on the canvas take one
// step back or forth each, the ribbon's buttons, their tips and the status
// bar follow, and the keys stay with a text field that has the focus.

#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "app/Ribbon.h"
#include "editor/CommandIds.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "panes/ObjectInspectorWnd.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <gtest/gtest.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

using namespace fw;
using fw::test::PumpEvents;
using fw::test::WaitFor;

namespace {

class UndoRedoJourney : public fw::test::AppJourney {
protected:
    void SetUp() override
    {
        AppJourney::SetUp();
        ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
        ASSERT_NE(ActiveView(), nullptr);
    }

    CDiagramEntityContainer& Form() { return *ActiveView()->GetFormView().GetEditor().GetDiagramEntityContainer(); }

    int CountNamed(const std::string& name)
    {
        int count = 0;
        for (int i = 0; i < Form().GetCount(); ++i)
            if (!Form().GetAt(i)->IsDependentPart() && equalsNoCase(Form().GetAt(i)->GetName(), name))
                ++count;
        return count;
    }
    bool Has(const std::string& name) { return CountNamed(name) > 0; }

    // The first two names that only one element carries.
    std::vector<std::string> TwoNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < Form().GetCount() && names.size() < 2; ++i)
            if (const CDiagramEntity* element = Form().GetAt(i);
                !element->IsDependentPart() && !element->GetName().empty() && CountNamed(element->GetName()) == 1)
                names.push_back(element->GetName());
        return names;
    }

    void Focus(wxWindow* window)
    {
        window->SetFocus();
        ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == window; }));
    }

    static void Press(int key, int modifiers = wxMOD_NONE)
    {
        wxUIActionSimulator().Char(key, modifiers);
        PumpEvents(100);
    }

    // Selects the element and deletes it with the Delete key on the canvas.
    void DeleteByKey(const std::string& name)
    {
        ASSERT_TRUE(ActiveView()->SelectByName(name));
        Focus(ActiveView()->GetCanvas());
        Press(WXK_DELETE);
        ASSERT_FALSE(Has(name));
    }

    bool Enabled(int id) const { return m_frame->GetCommandState(id).enabled; }
    wxString Status() const { return m_frame->GetStatusBar()->GetStatusText(MainFrame::HistoryStatusField); }
    // The tip's description, below its title line with the shortcut.
    wxString Description(int id) const { return m_frame->GetRibbon().GetDescription(id).AfterLast('\n'); }
};

TEST_F(UndoRedoJourney, CtrlZAndCtrlYTakeOneStepEachOnTheCanvasAndNoneInATextField)
{
    const std::vector<std::string> names = TwoNames();
    ASSERT_EQ(names.size(), 2u);
    const std::string& first = names[0];
    const std::string& second = names[1];
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
    DeleteByKey(first);
    DeleteByKey(second);
    const int steps = Form().GetUndoCount();
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));

    Press('z', wxMOD_CONTROL);
    EXPECT_TRUE(Has(second));
    EXPECT_FALSE(Has(first)) << "Ctrl+Z undid twice";
    EXPECT_EQ(Form().GetUndoCount(), steps - 1);
    EXPECT_TRUE(Enabled(ID_EDIT_REDO));
    Press('z', wxMOD_CONTROL);
    EXPECT_TRUE(Has(first));

    Press('y', wxMOD_CONTROL);
    EXPECT_FALSE(Has(first));
    EXPECT_TRUE(Has(second)) << "Ctrl+Y redid twice";
    EXPECT_TRUE(Enabled(ID_EDIT_REDO));
    Press('z', wxMOD_CONTROL | wxMOD_SHIFT);
    EXPECT_FALSE(Has(second));
    EXPECT_EQ(Form().GetUndoCount(), steps);
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));

    // With one step to undo and one to redo, the search box keeps the keys.
    Press('z', wxMOD_CONTROL);
    ASSERT_TRUE(Has(second));
    const int elements = Form().GetCount();
    Focus(m_frame->GetInspector()->GetSearchBox());
    for (int modifiers : {int(wxMOD_CONTROL), wxMOD_CONTROL | wxMOD_SHIFT})
        for (int key : {'y', 'z'})
            Press(key, modifiers);
    EXPECT_EQ(Form().GetCount(), elements);
    EXPECT_EQ(Form().GetUndoCount(), steps - 1);
    EXPECT_EQ(Form().GetRedoCount(), 1);
}

TEST_F(UndoRedoJourney, TheTipsAndTheStatusBarSayWhatUndoAndRedoWouldTake)
{
    EXPECT_EQ(Status(), "");
    CDiagramEntity* element = Form().GetAt(0);
    const IntRect was = element->GetRect();
    Form().Snapshot("Move");
    element->SetRect(was.left + 16, was.top, was.right + 16, was.bottom);
    PumpEvents(50);
    EXPECT_EQ(Status(), "Undo Move");
    EXPECT_EQ(Description(ID_EDIT_UNDO), "Undo Move");
    EXPECT_EQ(Description(ID_EDIT_REDO), wxString::FromUTF8(langStr("H_RIB_REDO")));

    Focus(ActiveView()->GetCanvas());
    Press('z', wxMOD_CONTROL);
    EXPECT_EQ(Status(), "Redo Move");
    EXPECT_EQ(Description(ID_EDIT_REDO), "Redo Move");
    EXPECT_EQ(Description(ID_EDIT_UNDO), wxString::FromUTF8(langStr("H_RIB_UNDO")));
}

}  // namespace
