// How the application looks whatever the desktop: its icon on every window it
// opens, and the form drawn in its own light colours under a dark theme.

#include "app/CanvasWindow.h"
#include "app/CommandTable.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "controls/DiagramStatic.h"
#include "dialogs/FormPreviewDlg.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

using namespace fw;
using fw::test::AppJourney;
using fw::test::Capture;
using fw::test::DialogDriver;
using fw::test::PumpEvents;
using fw::test::SendCommand;
using fw::test::WaitFor;

namespace {

// Relative luminance, 0 for black and 1 for white.
double Luminance(unsigned char r, unsigned char g, unsigned char b)
{
    auto channel = [](unsigned char value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
}

double Contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The commonest colour of a part of the image (the paper under a few strokes)
// and the luminance of the darkest pixel there (the ink of a text).
struct Pixels {
    double ground = 0;
    double darkest = 1;
};

Pixels Measure(const wxImage& image, wxRect rect)
{
    rect.Intersect(wxRect(image.GetSize()));
    std::map<unsigned long, int> counts;
    Pixels found;
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y) {
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x) {
            const unsigned char r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
            ++counts[(static_cast<unsigned long>(r) << 16) | (g << 8) | b];
            found.darkest = std::min(found.darkest, Luminance(r, g, b));
        }
    }
    if (counts.empty())
        return {};
    const auto commonest = std::max_element(counts.begin(), counts.end(),
                                            [](const auto& a, const auto& b) { return a.second < b.second; });
    const unsigned long c = commonest->first;
    found.ground = Luminance(c >> 16, (c >> 8) & 0xff, c & 0xff);
    return found;
}

bool DarkThemeAsked()
{
    const char* theme = std::getenv("GTK_THEME");
    return theme && std::strstr(theme, ":dark");
}

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

// Runs as its own ctest entry with GTK_THEME=Adwaita:dark: the theme is read
// once, when the toolkit starts.
TEST_F(Look, UnderADarkThemeTheCanvasAndPreviewShowLightPaperAndReadableCaptions)
{
    if (!DarkThemeAsked())
        GTEST_SKIP() << "needs GTK_THEME=Adwaita:dark (the gui.LookDarkTheme entry)";
    const wxColour desktop = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    ASSERT_LT(Luminance(desktop.Red(), desktop.Green(), desktop.Blue()), 0.2) << "the theme is not dark";

    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    FormwrightView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    CanvasWindow* canvas = view->GetCanvas();
    canvas->Refresh();
    PumpEvents(100);
    const wxImage pixels = Capture(canvas, "dark-canvas");
    const CDiagramEditor& editor = view->GetFormView().GetEditor();
    const CDiagramEntityContainer& form = *editor.GetDiagramEntityContainer();

    int captions = 0;
    for (int i = 0; i < form.GetCount(); ++i) {
        const auto* text = dynamic_cast<const CDiagramStatic*>(form.GetAt(i));
        if (!text || text->GetTitle().empty())
            continue;
        const IntRect at = editor.VirtualToScreen(text->GetRect());
        const Pixels measured = Measure(pixels, wxRect(wxPoint(at.left, at.top), wxPoint(at.right, at.bottom)));
        EXPECT_GT(measured.ground, 0.7) << text->GetTitle() << ": the paper is dark";
        EXPECT_GE(Contrast(measured.ground, measured.darkest), 4.5) << text->GetTitle();
        ++captions;
    }
    EXPECT_GT(captions, 10);

    // The preview: its texts' windows, as the X server shows them.
    int texts = 0;
    DialogDriver driver({[&texts](wxDialog& dialog) {
        auto& preview = dynamic_cast<CFormPreviewDlg&>(dialog);
        const wxImage shown = Capture(&preview, "dark-preview");
        for (const CFormPreviewDlg::ChildWindow& child : preview.GetChildWindows()) {
            auto* text = dynamic_cast<wxStaticText*>(child.window);
            if (!text || text->GetLabel().empty() || !child.element)
                continue;
            const Pixels measured = Measure(shown, text->GetRect());
            EXPECT_GT(measured.ground, 0.7) << text->GetLabel() << ": the dialog is dark";
            EXPECT_GE(Contrast(measured.ground, measured.darkest), 4.5) << text->GetLabel();
            ++texts;
        }
        dialog.EndModal(wxID_CANCEL);
    }});
    ASSERT_TRUE(m_frame->ShowFormDialog("preview"));
    EXPECT_GT(texts, 10);
}
