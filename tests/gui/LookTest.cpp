// How the application looks whatever the desktop: its icon on every window it
// opens.

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/statbmp.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace fw;
using fw::test::AppJourney;
using fw::test::DialogDriver;
using fw::test::PumpEvents;
using fw::test::SendCommand;
using fw::test::WaitFor;

namespace {

void ExpectAppIcon(const wxTopLevelWindow& window, const std::string& what)
{
    const wxIconBundle icons = window.GetIcons();
    EXPECT_TRUE(icons.GetIconOfExactSize(16).IsOk()) << what;
    EXPECT_TRUE(icons.GetIconOfExactSize(48).IsOk()) << what;
    EXPECT_TRUE(icons.GetIconOfExactSize(256).IsOk()) << what;
}

// The largest picture a window shows among its children.
int LargestPicture(const wxWindow& window)
{
    int largest = 0;
    for (const wxWindow* child : window.GetChildren()) {
        if (auto* picture = dynamic_cast<const wxStaticBitmap*>(child))
            largest = std::max(largest, picture->GetBitmap().GetWidth());
        largest = std::max(largest, LargestPicture(*child));
    }
    return largest;
}

class Look : public AppJourney {};

}  // namespace

TEST_F(Look, EveryWindowOfAJourneyCarriesTheApplicationIcon)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    ExpectAppIcon(*m_frame, "main window");

    // The about box and the help come up beside the main window, not modal.
    auto opened = [this](int command) -> wxTopLevelWindow* {
        SendCommand(*m_frame, command);
        wxTopLevelWindow* found = nullptr;
        WaitFor([&] {
            for (wxWindow* window : wxTopLevelWindows)
                if (window != m_frame && window->IsShown())
                    found = dynamic_cast<wxTopLevelWindow*>(window);
            return found != nullptr;
        });
        return found;
    };
    wxTopLevelWindow* about = opened(ID_APP_ABOUT);
    ASSERT_NE(about, nullptr);
    ExpectAppIcon(*about, "about");
    // It shows the icon large, not a stand-in for a missing image.
    EXPECT_EQ(LargestPicture(*about), 64);
    about->Close(true);
    PumpEvents(50);
    wxTopLevelWindow* help = opened(ID_HELP);
    ASSERT_NE(help, nullptr);
    ExpectAppIcon(*help, "help");
    help->Close(true);
    PumpEvents(50);

    std::vector<std::string> seen;
    auto look = [&seen](const char* what) {
        return [&seen, what](wxDialog& dialog) {
            seen.push_back(what);
            ExpectAppIcon(dialog, what);
            dialog.EndModal(wxID_CANCEL);
        };
    };
    DialogDriver driver({look("preview"), look("styles"), look("filters")});
    for (const char* name : {"preview", "styles", "filters"}) {
        ASSERT_TRUE(m_frame->ShowFormDialog(name)) << name;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"preview", "styles", "filters"}));
}
