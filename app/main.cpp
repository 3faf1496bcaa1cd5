// The desktop editor's entry point.

#include "app/FormwrightApp.h"

#include <cstdlib>

wxIMPLEMENT_APP_NO_MAIN(fw::FormwrightApp);

int main(int argc, char** argv)
{
    // The paper has a fixed size: its scroll bars belong beside it, always
    // visible, not overlaid on the form and shown only near the pointer.
    setenv("GTK_OVERLAY_SCROLLING", "0", 0);
    return wxEntry(argc, argv);
}
