// The window tests' main: wx is started once for the whole program (an app
// object without a main loop of its own); each test pumps events itself.
// A warning or critical that GLib or GTK logs while a test runs fails it.

#include "gui/GuiTestSupport.h"

#include <glib.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Every message still reaches the console; a warning or worse also fails
// the test that is running.
GLogWriterOutput FailOnToolkitWarning(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data)
{
    if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) != 0 &&
        testing::UnitTest::GetInstance()->current_test_info() != nullptr) {
        const char* domain = "";
        const char* message = "";
        for (gsize i = 0; i < count; ++i) {
            if (std::string_view(fields[i].key) == "GLIB_DOMAIN" && fields[i].length < 0)
                domain = static_cast<const char*>(fields[i].value);
            else if (std::string_view(fields[i].key) == "MESSAGE" && fields[i].length < 0)
                message = static_cast<const char*>(fields[i].value);
        }
        ADD_FAILURE() << "toolkit warning: " << domain << ": " << message;
    }
    return g_log_writer_default(level, fields, count, data);
}

}  // namespace

TEST(ToolkitWarnings, FailTheTestThatIsRunning)
{
    EXPECT_NONFATAL_FAILURE(g_warning("a deliberate warning"), "a deliberate warning");
    EXPECT_NONFATAL_FAILURE(g_critical("a deliberate critical"), "a deliberate critical");
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    // As the editor itself runs: scroll bars beside the canvas, not overlaid.
    setenv("GTK_OVERLAY_SCROLLING", "0", 0);
    // The file dialogs store their state in GSettings: kept in memory, not in
    // the user's settings (nor failing where no session bus runs).
    setenv("GSETTINGS_BACKEND", "memory", 1);
    g_log_set_writer_func(FailOnToolkitWarning, nullptr, nullptr);
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "gui_tests: cannot start the window system (no display?)\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
