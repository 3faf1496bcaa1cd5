// Zoom in the running application: Ctrl and the wheel zoom around the
// mouse, the status bar shows the zoom, and a click on it returns to 100 %.

#include "app/CommandTable.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>

using namespace fw;
using fw::test::PumpEvents;
using fw::test::SendCommand;
using fw::test::WaitFor;

namespace {

using ZoomJourney = fw::test::AppJourney;

TEST_F(ZoomJourney, CtrlWheelZoomsAroundTheMouseAndAClickOnTheStatusZoomReturnsTo100)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    SendCommand(*m_frame, ID_VIEW_STATUS_BAR);
    m_frame->SetSize(900, 700);  // the paper of 720 x 650 then outgrows the window
    PumpEvents(100);
    CanvasWindow* canvas = ActiveView()->GetCanvas();
    CDiagramEditor& editor = ActiveView()->GetFormView().GetEditor();
    wxStatusBar* bar = m_frame->GetStatusBar();
    ASSERT_TRUE(bar->IsShown());
    const int field = MainFrame::ZoomStatusField;
    ASSERT_TRUE(WaitFor([&] { return bar->GetStatusText(field) == "100 %"; }));

    // Two notches up with Ctrl, the mouse over the canvas: 120 %.
    const wxPoint mouse(300, 200);
    auto paperUnderMouse = [&](int axis) {
        const int scroll = axis == 0 ? editor.GetHScrollPos() : editor.GetVScrollPos();
        return ((axis == 0 ? mouse.x : mouse.y) + scroll) / editor.GetZoom();
    };
    const double x = paperUnderMouse(0);
    const double y = paperUnderMouse(1);
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetEventObject(canvas);
    wheel.SetPosition(mouse);
    wheel.SetControlDown(true);
    wheel.m_wheelRotation = 240;
    wheel.m_wheelDelta = 120;
    wheel.m_linesPerAction = 3;
    canvas->GetEventHandler()->ProcessEvent(wheel);
    PumpEvents(100);
    EXPECT_NEAR(editor.GetZoom(), 1.2, 1e-9);
    EXPECT_GT(editor.GetHScrollPos(), 0);
    EXPECT_GT(editor.GetVScrollPos(), 0);
    EXPECT_EQ(canvas->GetScrollPos(wxHORIZONTAL), editor.GetHScrollPos());
    // Within a pixel of where it was.
    EXPECT_NEAR(paperUnderMouse(0), x, 1 / 1.2);
    EXPECT_NEAR(paperUnderMouse(1), y, 1 / 1.2);
    EXPECT_TRUE(WaitFor([&] { return bar->GetStatusText(field) == "120 %"; })) << bar->GetStatusText(field);

    // A real click on the zoom field.
    wxRect rect;
    ASSERT_TRUE(bar->GetFieldRect(field, rect));
    wxUIActionSimulator input;
    input.MouseMove(bar->ClientToScreen(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2)));
    PumpEvents(30);
    input.MouseClick();
    PumpEvents(100);
    EXPECT_EQ(editor.GetZoom(), 1.0);
    EXPECT_TRUE(WaitFor([&] { return bar->GetStatusText(field) == "100 %"; })) << bar->GetStatusText(field);
}

}  // namespace
