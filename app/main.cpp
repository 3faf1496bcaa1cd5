// The desktop editor's entry point.

#include "app/FileNames.h"
#include "app/FormwrightApp.h"

#include <cstdlib>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(fw::FormwrightApp);

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
    return wxEntry(count, pointers.data());
}
