// Two editors on one display: a field copied in one is pasted, with its
// caption, in the other through the system clipboard. The test program
// starts itself again as the first editor, which copies and then keeps
// serving the clipboard until the second has pasted and saved.

#include "app/CommandTable.h"
#include "editor/CommandIds.h"
#include "gui/AppFixture.h"
#include "services/Xml.h"

#include <wx/clipbrd.h>

#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace fw;
using namespace fw::test;

namespace {

// Where the two editors leave word for each other.
const char* const SourceDirVariable = "FORMWRIGHT_TWO_EDITORS_DIR";

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

void Touch(const std::string& path)
{
    std::ofstream(path) << "done\n";
}

// The main form's "Property" elements named `name`, as "pos|labelPos".
std::vector<std::string> SavedFields(const std::string& path, const std::string& name)
{
    XmlDocument file;
    std::vector<std::string> found;
    if (!file.read(path))
        return found;
    const XmlElement* controls = file.getChild("FormDefinition")->getChild("Dialog")->getChild("Controls");
    for (int i = 0; controls && i < controls->getChildCount(); ++i) {
        const XmlElement* e = controls->getChildAt(i);
        if (e->getElementName() == "Property" && e->getAttributeValue("name") == std::string_view(name))
            found.push_back(std::string(e->getAttributeValue("pos").value_or("")) + "|" +
                            std::string(e->getAttributeValue("labelPos").value_or("")));
    }
    return found;
}

}  // namespace

class TwoEditors : public AppJourney {};

// The first editor's part; runs only when the test below starts it.
TEST_F(TwoEditors, SourceCopiesAFieldAndServesTheClipboardUntilThePasteIsSaved)
{
    const char* dir = std::getenv(SourceDirVariable);
    if (!dir)
        GTEST_SKIP() << "the first editor of TwoEditors.AFieldWithItsCaptionTravelsToAnotherEditor";
    DialogDriver noDialogs({});
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    ASSERT_TRUE(ActiveView()->SelectByName("ARTNO"));
    SendCommand(*m_frame, ID_EDIT_COPY);
    Touch(std::string(dir) + "/copied");
    EXPECT_TRUE(WaitFor([dir] { return Exists(std::string(dir) + "/saved"); }, 60000));
}

TEST_F(TwoEditors, AFieldWithItsCaptionTravelsToAnotherEditor)
{
    DialogDriver noDialogs({});
    if (wxTheClipboard->Open()) {
        wxTheClipboard->Clear();
        wxTheClipboard->Close();
    }
    const std::string target = CopySample("VALVE_Main.xml");
    ASSERT_NE(Open(target), nullptr);
    EXPECT_FALSE(WaitFor([this] { return m_frame->GetCommandState(ID_EDIT_PASTE).enabled; }, 700));

    const std::string dir = m_scratch.Path() + "/first-editor";
    std::filesystem::create_directories(dir);
    m_env.Set(SourceDirVariable, dir);
    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::string filter = "--gtest_filter=TwoEditors.SourceCopiesAFieldAndServesTheClipboardUntilThePasteIsSaved";
    char* argv[] = {self.data(), filter.data(), nullptr};
    pid_t source = 0;
    ASSERT_EQ(posix_spawn(&source, self.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = -1;
    auto ended = [&] { return waitpid(source, &status, WNOHANG) == source; };

    ASSERT_TRUE(WaitFor([&] { return Exists(dir + "/copied") || ended(); }, 60000));
    ASSERT_TRUE(Exists(dir + "/copied")) << "the first editor ended with status " << status;
    // The ribbon learns of the elements without fetching them.
    EXPECT_TRUE(WaitFor([this] { return m_frame->GetCommandState(ID_EDIT_PASTE).enabled; }, 5000));
    // A text editor gets the lines, the field's first.
    wxTextDataObject plain;
    if (wxTheClipboard->Open()) {
        EXPECT_TRUE(wxTheClipboard->GetData(plain));
        wxTheClipboard->Close();
    }
    EXPECT_TRUE(plain.GetText().StartsWith("style:<Style name=\"s4\"")) << plain.GetText();
    EXPECT_TRUE(plain.GetText().Contains("\neditbox:160.000000,54.000000,310.000000,74.000000,")) << plain.GetText();
    SendCommand(*m_frame, ID_EDIT_PASTE);
    SendCommand(*m_frame, ID_FILE_SAVE);
    Touch(dir + "/saved");
    if (!WaitFor(ended, 30000)) {
        kill(source, SIGKILL);
        waitpid(source, &status, 0);
        ADD_FAILURE() << "the first editor did not end";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first editor's status " << status;

    // Valve's own field, then the pump's, pasted 10 units off with its caption 130 to its left.
    EXPECT_EQ(SavedFields(target, "ARTNO"), (std::vector<std::string>{"140,44|20,44", "160,54|30,54"}));
}
