// The dialog base, the start options and the object-class chooser as real
// windows: anchoring, scrolling, the remembered placement, and the answers
// the modal dialogs give.

#include "dialogs/BaseItfDialog.h"
#include "dialogs/ObjectClassDialog.h"
#include "dialogs/StartOptionsDialog.h"
#include "gui/GuiTestSupport.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/fileconf.h>
#include <wx/propgrid/manager.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <functional>

using namespace fw;
using fw::test::Click;
using fw::test::PumpEvents;
using fw::test::RunModal;
using fw::test::WaitFor;

namespace {

// A resizable dialog with a fixed, a moving, a growing and a half-following control.
class AnchoredDialog : public BaseItfDialog {
public:
    explicit AnchoredDialog(const std::string& placementName = "")
        : BaseItfDialog(nullptr, wxID_ANY, "Anchors", placementName)
    {
        SetClientSize(300, 200);
        m_fixed = new wxButton(this, wxID_ANY, "fixed", wxPoint(10, 10), wxSize(80, 30));
        m_mover = new wxButton(this, wxID_ANY, "mover", wxPoint(200, 150), wxSize(80, 30));
        m_grower = new wxButton(this, wxID_ANY, "grower", wxPoint(10, 50), wxSize(150, 90));
        m_half = new wxButton(this, wxID_ANY, "half", wxPoint(170, 50), wxSize(100, 30));
        AddAnchor(m_fixed, 0, 0, 0, 0);
        AddAnchor(m_mover, 1, 1, 0, 0);
        AddAnchor(m_grower, 0, 0, 1, 1);
        AddAnchor(m_half, 0.5, 0, 0.5, 0);
    }

    wxButton* m_fixed;
    wxButton* m_mover;
    wxButton* m_grower;
    wxButton* m_half;
};

// Every test gets a settings file of its own as the global settings.
class DialogBaseTest : public ::testing::Test {
protected:
    fw::test::ScopedSettingsFile m_settings{"dialogs"};
};

}  // namespace

TEST_F(DialogBaseTest, TheFirstSizeIsTheMinimumAndGrowingMovesAndResizesAnchoredControls)
{
    AnchoredDialog dialog;
    const wxSize first = dialog.GetSize();
    dialog.Show();
    PumpEvents(50);
    dialog.SetSize(100, 80);
    PumpEvents(50);
    EXPECT_GE(dialog.GetSize().x, first.x);
    EXPECT_GE(dialog.GetSize().y, first.y);

    dialog.SetClientSize(400, 260);  // grows by 100 x 60
    ASSERT_TRUE(WaitFor([&] { return dialog.GetClientSize() == wxSize(400, 260); }));
    PumpEvents(50);
    EXPECT_EQ(dialog.m_fixed->GetRect(), wxRect(10, 10, 80, 30));
    EXPECT_EQ(dialog.m_mover->GetRect(), wxRect(300, 210, 80, 30));
    EXPECT_EQ(dialog.m_grower->GetRect(), wxRect(10, 50, 250, 150));
    EXPECT_EQ(dialog.m_half->GetRect(), wxRect(220, 50, 150, 30));

    // Registered after the growth: placed by the same rule at once.
    auto* late = new wxButton(&dialog, wxID_ANY, "late", wxPoint(20, 160), wxSize(60, 25));
    dialog.AddAnchor(late, 1, 0, 0, 1);
    EXPECT_EQ(late->GetRect(), wxRect(120, 160, 60, 85));

    // Back to the first size: everything where it was registered.
    dialog.SetClientSize(300, 200);
    ASSERT_TRUE(WaitFor([&] { return dialog.GetClientSize() == wxSize(300, 200); }));
    PumpEvents(50);
    EXPECT_EQ(dialog.m_mover->GetRect(), wxRect(200, 150, 80, 30));
    EXPECT_EQ(dialog.m_grower->GetRect(), wxRect(10, 50, 150, 90));
}

TEST_F(DialogBaseTest, ContentThatDoesNotFitScrollsAndReturnsWhenItFits)
{
    AnchoredDialog dialog;
    dialog.Show();
    PumpEvents(50);
    // Smaller than the first size only when the minimum is lifted (a small screen).
    dialog.SetMinSize(wxDefaultSize);
    dialog.SetMinClientSize(wxDefaultSize);
    dialog.SetClientSize(300, 120);
    ASSERT_TRUE(WaitFor([&] { return dialog.GetClientSize() == wxSize(300, 120); }));
    dialog.ScrollContentTo(0, 60);
    EXPECT_EQ(dialog.GetScrollOffset(), wxPoint(0, 60));
    EXPECT_EQ(dialog.m_fixed->GetPosition(), wxPoint(10, -50));
    dialog.ScrollContentTo(0, 500);  // clamped to content - page
    EXPECT_EQ(dialog.GetScrollOffset(), wxPoint(0, 80));
    EXPECT_EQ(dialog.m_fixed->GetPosition(), wxPoint(10, -70));

    dialog.SetClientSize(300, 200);
    ASSERT_TRUE(WaitFor([&] { return dialog.GetClientSize() == wxSize(300, 200); }));
    PumpEvents(50);
    EXPECT_EQ(dialog.GetScrollOffset(), wxPoint(0, 0));
    EXPECT_EQ(dialog.m_fixed->GetPosition(), wxPoint(10, 10));
    EXPECT_EQ(dialog.m_mover->GetRect(), wxRect(200, 150, 80, 30));
}

TEST_F(DialogBaseTest, PlacementSurvivesARestartAndComesBackOntoTheDesktop)
{
    const wxRect moved(123, 87, 420, 310);
    {
        AnchoredDialog dialog("FD_TestDialog");
        dialog.Show();
        PumpEvents(50);
        dialog.SetSize(moved);
        ASSERT_TRUE(WaitFor([&] { return dialog.GetRect() == moved; }));
    }
    EXPECT_EQ(BaseItfDialog::ReadPlacementText("FD_TestDialog"), "123;87;420;310");

    AnchoredDialog again("FD_TestDialog");
    again.Show();
    EXPECT_TRUE(WaitFor([&] { return again.GetRect() == moved; }))
        << "at " << again.GetRect().x << "," << again.GetRect().y << " size " << again.GetRect().width << "x"
        << again.GetRect().height;
    // The controls follow the restored size.
    EXPECT_EQ(again.m_mover->GetPosition(), wxPoint(200, 150) + (again.GetClientSize() - wxSize(300, 200)));

    BaseItfDialog::WritePlacementText("FD_TestDialog", "-500;-400;420;310");
    AnchoredDialog off("FD_TestDialog");
    off.Show();
    EXPECT_TRUE(WaitFor([&] { return off.GetRect() == wxRect(0, 0, 420, 310); }))
        << "at " << off.GetPosition().x << "," << off.GetPosition().y;
}

TEST_F(DialogBaseTest, UnnamedOrNeverShownDialogStoresNothingAndEmptyTextDeletes)
{
    {
        AnchoredDialog unnamed;
        unnamed.Show();
        PumpEvents(20);
    }
    {
        AnchoredDialog hidden("FD_TestDialog");
    }
    EXPECT_FALSE(wxConfigBase::Get()->HasGroup("/LORVATH/Window"));

    BaseItfDialog::WritePlacementText("FD_TestDialog", "1;2;300;400");
    EXPECT_EQ(BaseItfDialog::ReadPlacementText("FD_TestDialog"), "1;2;300;400");
    BaseItfDialog::WritePlacementText("FD_TestDialog", "");
    EXPECT_FALSE(wxConfigBase::Get()->HasEntry("/LORVATH/Window/FD_TestDialog"));
}

TEST(StartOptions, OkAnswersTheChosenRadioButtonAndCancelKeepsTheChoice)
{
    {
        CFormDesignOptions untouched(nullptr);
        EXPECT_EQ(RunModal(untouched, [&] { Click(untouched.FindWindow(wxID_OK)); }), wxID_OK);
        EXPECT_EQ(untouched.GetChoice(), 0);
    }
    {
        CFormDesignOptions open(nullptr);
        EXPECT_EQ(RunModal(open,
                           [&] {
                               open.GetChoiceBox()->SetSelection(1);
                               Click(open.FindWindow(wxID_OK));
                           }),
                  wxID_OK);
        EXPECT_EQ(open.GetChoice(), 1);
    }
    CFormDesignOptions dialog(nullptr);
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           dialog.GetChoiceBox()->SetSelection(1);
                           Click(dialog.FindWindow(wxID_CANCEL));
                       }),
              wxID_CANCEL);
    EXPECT_EQ(dialog.GetChoice(), 0);
}

class ObjectClassChooserTest : public ::testing::Test {
protected:
    const std::vector<std::string> m_types = {"Pumpe;PUMP", "Artikel;ARTICLE", "Motor;MOTOR", "Ventil;VALVE",
                                              "Pumpenstation;PUMP_STATION"};

    static std::vector<std::string> Labels(CObjectClassList& dialog)
    {
        std::vector<std::string> labels;
        for (wxPropertyGridIterator it = dialog.GetList()->GetGrid()->GetIterator(); !it.AtEnd(); ++it)
            labels.push_back((*it)->GetLabel().ToStdString(wxConvUTF8));
        return labels;
    }
};

TEST_F(ObjectClassChooserTest, OpensSortedReadOnlyWithOkDisabledOkWithoutSelectionAnswersEmptyAndSearchFinds)
{
    CObjectClassList dialog(nullptr, m_types);
    const std::vector<std::string> expected = {"Artikel", "Motor", "Pumpe", "Pumpenstation", "Ventil"};
    EXPECT_EQ(Labels(dialog), expected);
    wxPGProperty* first = dialog.GetList()->GetGrid()->wxPropertyGridInterface::GetFirst();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetValueAsString(), "ARTICLE");
    EXPECT_EQ(first->GetHelpString(), "ARTICLE");
    EXPECT_TRUE(first->HasFlag(wxPG_PROP_READONLY));
    EXPECT_EQ(dialog.GetList()->GetSelection(), nullptr);
    EXPECT_FALSE(dialog.GetOkButton()->IsEnabled());
    EXPECT_EQ(RunModal(dialog, [&] { Click(dialog.GetOkButton()); }), wxID_OK);
    EXPECT_EQ(dialog.GetResult(), "");

    // The search matches internal names, finds a sole match again, and a miss changes nothing.
    dialog.GetSearchBox()->ChangeValue("valve");
    EXPECT_TRUE(dialog.Search());
    EXPECT_TRUE(dialog.Search());
    EXPECT_EQ(dialog.GetList()->GetSelection()->GetLabel(), "Ventil");
    dialog.GetSearchBox()->ChangeValue("nothing*");
    EXPECT_FALSE(dialog.Search());
    EXPECT_EQ(dialog.GetList()->GetSelection()->GetLabel(), "Ventil");
}

TEST_F(ObjectClassChooserTest, WildCardSearchSelectsAndOkAnswersTheInternalName)
{
    CObjectClassList dialog(nullptr, m_types);
    int rc = RunModal(dialog, [&] {
        dialog.GetSearchBox()->ChangeValue("pumpe*");
        wxCommandEvent enter(wxEVT_TEXT_ENTER, dialog.GetSearchBox()->GetId());
        enter.SetEventObject(dialog.GetSearchBox());
        dialog.GetSearchBox()->GetEventHandler()->ProcessEvent(enter);
        ASSERT_NE(dialog.GetList()->GetSelection(), nullptr);
        EXPECT_EQ(dialog.GetList()->GetSelection()->GetLabel(), "Pumpe");
        EXPECT_TRUE(dialog.GetOkButton()->IsEnabled());
        // Enter again moves on to the next match, then wraps back.
        dialog.GetSearchBox()->GetEventHandler()->ProcessEvent(enter);
        EXPECT_EQ(dialog.GetList()->GetSelection()->GetLabel(), "Pumpenstation");
        Click(dialog.GetOkButton());
    });
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(dialog.GetResult(), "PUMP_STATION");
}

TEST_F(ObjectClassChooserTest, ClickingAnItemEnablesOkAndDoubleClickChoosesIt)
{
    CObjectClassList dialog(nullptr, m_types);
    wxPropertyGrid* grid = dialog.GetList()->GetGrid();
    bool enabledAfterClick = false;
    wxTimer poll;
    int rc = RunModal(dialog, [&] {
        wxPGProperty* motor = grid->GetPropertyByLabel("Motor");
        ASSERT_NE(motor, nullptr);
        const wxRect row = grid->GetPropertyRect(motor, motor);
        // On the name column, away from the value's editor.
        const wxPoint target = grid->GetPanel()->ClientToScreen(wxPoint(row.x + 20, row.y + row.height / 2));
        wxUIActionSimulator mouse;
        mouse.MouseMove(target);
        mouse.MouseClick();
        poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (!dialog.GetOkButton()->IsEnabled())
                return;
            enabledAfterClick = true;
            poll.Stop();
            wxUIActionSimulator().MouseDblClick();
        });
        poll.Start(50);
    });
    EXPECT_TRUE(enabledAfterClick);
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(dialog.GetResult(), "MOTOR");
}

TEST_F(ObjectClassChooserTest, EscapeDoesNotCloseTheChooser)
{
    CObjectClassList dialog(nullptr, m_types);
    bool openAfterEscape = false;
    wxTimer later;
    int rc = RunModal(dialog, [&] {
        // With OK enabled, an Escape that got through would press it.
        dialog.GetSearchBox()->ChangeValue("motor");
        ASSERT_TRUE(dialog.Search());
        dialog.GetSearchBox()->SetFocus();
        wxUIActionSimulator().Char(WXK_ESCAPE);
        later.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            openAfterEscape = dialog.IsModal();
            if (openAfterEscape)
                Click(dialog.GetOkButton());
        });
        later.StartOnce(400);
    });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(dialog.GetResult(), "MOTOR");
}
