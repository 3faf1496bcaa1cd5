// Tab order by clicking in the running application: the shortcut starts it,
// real clicks number the fields, Esc ends it, one Undo takes the round back,
// and the numbers survive saving and reading the file again.

#include "app/CommandTable.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "editor/CommandIds.h"
#include "editor/TabOrderClicks.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "model/FormDefinitionDocument.h"

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

using namespace fw;
using fw::test::PumpEvents;
using fw::test::SendCommand;
using fw::test::WaitFor;

namespace {

class TabOrderJourney : public fw::test::AppJourney {
protected:
    CDiagramEditor& Editor() { return ActiveView()->GetFormView().GetEditor(); }

    static std::vector<std::string> Names(const CDiagramEntityContainer& form)
    {
        std::vector<std::string> names;
        for (const CDiagramEntity* field : TabSequence(form))
            names.push_back(field->GetName() + " " + std::to_string(field->GetTabIndex()));
        return names;
    }

    static void Press(int key, int modifiers = wxMOD_NONE)
    {
        wxUIActionSimulator().Char(key, modifiers);
        PumpEvents(100);
    }
};

TEST_F(TabOrderJourney, ClicksNumberTheFieldsEscEndsAndOneUndoTakesTheRoundBack)
{
    const std::string path = CopySample("PUMP_Main.xml");
    ASSERT_NE(Open(path), nullptr);
    CDiagramEntityContainer& form = *Editor().GetDiagramEntityContainer();
    const std::vector<std::string> before = Names(form);
    ASSERT_GE(before.size(), 4u);
    // The third, second and last fields, clicked in that order at their middles.
    const std::vector<CDiagramEntity*> sequence = TabSequence(form);
    std::vector<std::string> clicked;
    std::vector<IntPoint> middles;
    for (const CDiagramEntity* field : {sequence[2], sequence[1], sequence.back()}) {
        clicked.push_back(field->GetName());
        middles.push_back(
            {static_cast<int>((field->GetLeft() + field->GetRight()) / 2), static_cast<int>(field->GetTop()) + 5});
    }

    ActiveView()->GetCanvas()->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == ActiveView()->GetCanvas(); }));
    Press('t', wxMOD_CONTROL | wxMOD_SHIFT);
    ASSERT_TRUE(Editor().IsTabOrderClicking()) << "the shortcut starts it";
    EXPECT_TRUE(m_frame->GetCommandState(ID_TABORDER_BY_CLICKS).checked);
    EXPECT_TRUE(form.IsShowTabOrder());
    const IntRect place = sequence[2]->GetRect();
    for (const IntPoint& middle : middles)
        ClickOnPaper(middle);

    const std::vector<std::string> numbered = Names(form);
    ASSERT_EQ(numbered.size(), before.size());
    for (std::size_t i = 0; i < clicked.size(); ++i)
        EXPECT_EQ(numbered[i], clicked[i] + " " + std::to_string(i));
    EXPECT_EQ(sequence[2]->GetRect(), place) << "a click numbers, it does not move";
    EXPECT_EQ(Editor().GetSelectCount(), 0);

    Press(WXK_ESCAPE);
    EXPECT_FALSE(Editor().IsTabOrderClicking());
    EXPECT_FALSE(m_frame->GetCommandState(ID_TABORDER_BY_CLICKS).checked);
    Press('z', wxMOD_CONTROL);
    EXPECT_EQ(Names(form), before) << "one Undo takes the whole round back";
    Press('y', wxMOD_CONTROL);
    ASSERT_EQ(Names(form), numbered);

    SendCommand(*m_frame, ID_FILE_SAVE);
    FormDefinitionDocument reread;
    ASSERT_TRUE(reread.ReadFile(path));
    EXPECT_EQ(Names(*reread.GetMainForm()), numbered);
}

}  // namespace
