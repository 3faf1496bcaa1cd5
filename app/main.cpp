// The desktop editor's entry point.

#include "app/FileNames.h"
#include "app/FormwrightApp.h"

#include <wx/cmdline.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(fw::FormwrightApp);

namespace {

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

// True when `option` (or its short form, when it has one) comes before any "--".
bool Asks(int argc, char** argv, const char* option, const char* shortForm = nullptr)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], option) == 0 || (shortForm && std::strcmp(argv[i], shortForm) == 0))
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    // The paper has a fixed size: its scroll bars belong beside it, always
    // visible, not overlaid on the form and shown only near the pointer.
    setenv("GTK_OVERLAY_SCROLLING", "0", 0);
    // A file name given here may hold bytes that are not UTF-8 (nor in the
    // locale's encoding, which may be plain ASCII): convert each argument as
    // a file name, so that none of them arrives empty.
    std::vector<std::wstring> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(fw::FileNameFromBytes(argv[i]).ToStdWstring());
    std::vector<wchar_t*> pointers;
    for (std::wstring& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    int count = argc;

    // The help, the version and the lack of a desktop are answered before
    // the toolkit starts, since starting it needs a display.
    if (Asks(argc, argv, "--help", "-h")) {
        wxCmdLineParser parser(count, pointers.data());
        fw::DescribeCommandLine(parser);
        std::fputs(parser.GetUsageString().utf8_str().data(), stdout);
        return EXIT_SUCCESS;
    }
    if (Asks(argc, argv, "--version")) {
        std::puts("formwright " FORMWRIGHT_VERSION);
        return EXIT_SUCCESS;
    }
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        std::fputs("formwright: the editor needs a desktop (neither DISPLAY nor WAYLAND_DISPLAY is set); for a "
                   "look without one: xvfb-run -a formwright FILE --screenshot out.png\n",
                   stderr);
        return EXIT_FAILURE;
    }
    // A start that fails (a file that does not open, an unknown form or
    // dialog, no connection to the display) ends with status 1.
    const int code = wxEntry(count, pointers.data());
    return code < 0 ? EXIT_FAILURE : code;
}
