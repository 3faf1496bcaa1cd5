// Recovery after a crash, with real editor processes: this program runs
// itself as a second editor (the disabled test below), edits a file there,
// kills it, and restores or discards what it left.

#include "app/Recovery.h"
#include "dialogs/RecoveryDialog.h"
#include "gui/AppFixture.h"

#include <wx/button.h>
#include <wx/infobar.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <utime.h>

extern char** environ;

namespace fw::test {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* ChildFile = "FORMWRIGHT_TEST_CHILD_FILE";
constexpr const char* ChildLog = "FORMWRIGHT_TEST_CHILD_LOG";
constexpr const char* ChildEdits = "FORMWRIGHT_TEST_CHILD_EDITS";
// The field the child moves right by one pixel per edit.
constexpr const char* MovedField = "NAME";

long long Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

struct Edit {
    long long left;
    long long at;
};

// What the child wrote: how many copies its start offered, and each edit.
struct ChildReport {
    int offered = -1;
    std::vector<Edit> edits;
};

ChildReport ReadReport(const std::string& log)
{
    ChildReport report;
    std::ifstream in(log);
    std::string word;
    while (in >> word) {
        if (word == "offered")
            in >> report.offered;
        else if (Edit edit{}; word == "edit" && in >> edit.left >> edit.at)
            report.edits.push_back(edit);
    }
    return report;
}

CDiagramEntity* FindElement(FormwrightDoc& doc, const std::string& name)
{
    CDiagramEntityContainer& form = *doc.GetModel().GetMainForm();
    for (int i = 0; i < form.GetCount(); ++i)
        if (form.GetAt(i)->GetName() == name)
            return form.GetAt(i);
    return nullptr;
}

// The editor started a second time, on the same display, with its output in a file.
class ChildEditor {
public:
    ChildEditor(const std::string& file, const std::string& log, int edits, const std::string& output)
    {
        ScopedEnv env;
        env.Set(ChildFile, file).Set(ChildLog, log).Set(ChildEdits, std::to_string(edits));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::string self = fs::read_symlink("/proc/self/exe").string();
        std::string filter = "--gtest_filter=Recovery.DISABLED_ChildEditsUntilKilled";
        std::string disabled = "--gtest_also_run_disabled_tests";
        char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
        if (posix_spawn(&m_pid, self.c_str(), &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildEditor() { Kill(); }

    bool Running() const { return m_pid > 0; }
    // As a crash ends it: no chance to tidy up.
    void Kill()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

}  // namespace

class Recovery : public AppJourney {
protected:
    void SetUp() override
    {
        // A child keeps the folder its parent gave it.
        if (!std::getenv(ChildLog))
            m_env.Set("FORMWRIGHT_RECOVERY_DIR", m_scratch.Path() + "/recovery");
        AppJourney::SetUp();
    }

    std::string Folder() const { return RecoveryFolder(); }

    std::vector<std::string> Copies() const
    {
        std::vector<std::string> copies;
        if (fs::is_directory(Folder()))
            for (const auto& entry : fs::directory_iterator(Folder()))
                if (entry.path().extension() == ".xml")
                    copies.push_back(entry.path().string());
        return copies;
    }

    // Starts a second editor on `file` and waits until it made `edits` edits
    // (0: edits without end, waits for 3.5 seconds of them).
    std::unique_ptr<ChildEditor> StartChild(const std::string& file, int edits)
    {
        m_log = m_scratch.Path() + "/child.log";
        m_output = m_scratch.Path() + "/child.out";
        auto child = std::make_unique<ChildEditor>(file, m_log, edits, m_output);
        EXPECT_TRUE(child->Running());
        const bool edited = WaitFor(
            [&] {
                const ChildReport report = ReadReport(m_log);
                if (edits > 0)
                    return static_cast<int>(report.edits.size()) >= edits;
                return report.edits.size() > 1 && report.edits.back().at - report.edits.front().at > 3'500'000'000LL;
            },
            60000);
        EXPECT_TRUE(edited) << "the second editor said:\n" << ReadFile(m_output);
        return child;
    }

    // Runs the start's offer, pressing `button` of the recovery dialog; the
    // steps after it answer what that button asks.
    int Offer(wxButton* (CRecoveryDialog::*button)() const, std::vector<DialogDriver::Step> after = {})
    {
        int rows = -1;
        std::vector<DialogDriver::Step> steps{[&rows, button](wxDialog& dialog) {
            auto& recovery = dynamic_cast<CRecoveryDialog&>(dialog);
            rows = recovery.GetList()->GetItemCount();
            Capture(&recovery, "recovery-dialog");
            wxButton* pressed = (recovery.*button)();
            wxCommandEvent press(wxEVT_BUTTON, pressed->GetId());
            press.SetEventObject(pressed);
            pressed->ProcessWindowEvent(press);
        }};
        steps.insert(steps.end(), after.begin(), after.end());
        DialogDriver driver(steps);
        OfferRecovery(*m_frame);
        PumpEvents(50);
        EXPECT_EQ(driver.Count(), static_cast<int>(steps.size()));
        return rows;
    }

    std::string m_log;
    std::string m_output;
};

// Not a test of its own: the second editor the tests below start.
TEST_F(Recovery, DISABLED_ChildEditsUntilKilled)
{
    const char* file = std::getenv(ChildFile);
    const char* log = std::getenv(ChildLog);
    ASSERT_TRUE(file && log);
    std::ofstream out(log);
    {
        // A start: whatever it would offer is counted and left alone.
        DialogDriver none({});
        OfferRecovery(*m_frame);
        out << "offered " << none.Count() << std::endl;
    }
    FormwrightDoc* doc = Open(file);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(ActiveView()->SelectByName(MovedField));
    CDEditor& editor = ActiveView()->GetFormView().GetEditor();
    editor.SetSnapToGrid(false);
    const int edits = std::atoi(std::getenv(ChildEdits));
    const auto end = Clock::now() + std::chrono::seconds(60);
    for (int done = 0; Clock::now() < end;) {
        if (edits == 0 || done < edits) {
            editor.OnKeyDown(EditorKey::Right, 0);
            out << "edit " << FindElement(*doc, MovedField)->GetLeft() << " " << Now() << std::endl;
            ++done;
        }
        PumpEvents(100);
    }
}

TEST_F(Recovery, AKilledEditorsFileIsRestoredWithEveryChangeUpToTwoSecondsBeforeTheKill)
{
    const std::string file = CopySample("PUMP_Main.xml");
    const std::string original = ReadFile(file);
    std::unique_ptr<ChildEditor> child = StartChild(file, 0);
    child->Kill();
    const long long killedAt = Now();
    ASSERT_FALSE(::testing::Test::HasFailure());

    const ChildReport report = ReadReport(m_log);
    EXPECT_EQ(report.offered, 0);
    long long kept = -1;
    for (const Edit& edit : report.edits)
        if (edit.at <= killedAt - 2'000'000'000LL)
            kept = edit.left;
    ASSERT_GE(kept, 0);
    EXPECT_EQ(ReadFile(file), original) << "a copy never replaces the file by itself";

    EXPECT_EQ(Offer(&CRecoveryDialog::GetRestoreButton), 1);
    FormwrightDoc* doc = m_frame->GetActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetFilename(), wxString::FromUTF8(file));
    EXPECT_TRUE(doc->IsModified());
    const long long restored = static_cast<long long>(FindElement(*doc, MovedField)->GetLeft());
    EXPECT_GE(restored, kept);
    EXPECT_LE(restored, report.edits.back().left);

    // A save writes it to its file, and its copy goes.
    ASSERT_TRUE(doc->Save());
    m_frame->GetRecovery().GetKeeper().Flush();
    EXPECT_NE(ReadFile(file).find("name=\"NAME\" pos=\"" + std::to_string(restored) + ",70\""), std::string::npos);
    EXPECT_TRUE(Copies().empty());
}

TEST_F(Recovery, AFileNeverSavedIsRestoredAsANewFileOfItsClass)
{
    // As an editor that was killed leaves it: its lock is gone with it.
    RecoveryRecord record;
    record.name = "VALVE_Main.xml";
    record.owner = "1-dead";
    record.forms = 2;
    fs::create_directories(Folder());
    const std::string copy = Folder() + "/VALVE_Main.1-dead-1.xml";
    ASSERT_EQ(WriteRecoveryCopy(copy, ReadFile(CopySample("VALVE_Main.xml")), record), "");

    EXPECT_EQ(Offer(&CRecoveryDialog::GetRestoreButton), 1);
    FormwrightDoc* doc = m_frame->GetActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->GetDocumentSaved());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetModel().GetObjectClass(), "VALVE");
    EXPECT_EQ(doc->GetUserReadableName(), "VALVE");
    EXPECT_EQ(doc->GetModel().GetFilteredForms().size(), 1u);
    // Kept by this editor now: another start leaves it alone.
    EXPECT_EQ(RecoveryClaim(Folder(), std::time(nullptr)).Entries().size(), 0u);
    EXPECT_TRUE(fs::exists(copy));
}

TEST_F(Recovery, DiscardDeletesTheCopiesAndOpensNothing)
{
    const std::string file = CopySample("PUMP_Main.xml");
    const std::string original = ReadFile(file);
    std::unique_ptr<ChildEditor> child = StartChild(file, 2);
    ASSERT_TRUE(WaitFor([&] { return Copies().size() == 1; }, 5000));
    child->Kill();

    EXPECT_EQ(Offer(&CRecoveryDialog::GetDiscardButton, {DialogDriver::Step::Answer(wxID_YES)}), 1);
    EXPECT_TRUE(Copies().empty());
    EXPECT_EQ(m_frame->GetActiveDocument(), nullptr);
    EXPECT_EQ(ReadFile(file), original);
    // Nothing is left to offer at the next start.
    DialogDriver none({});
    OfferRecovery(*m_frame);
    EXPECT_EQ(none.Count(), 0);
}

TEST_F(Recovery, TwoRunningEditorsLeaveEachOthersCopiesAlone)
{
    // This editor's file, with a change in its copy.
    FormwrightDoc* mine = Open(CopySample("VALVE_Main.xml"));
    ASSERT_NE(mine, nullptr);
    ASSERT_TRUE(ActiveView()->SelectByName(MovedField));
    ActiveView()->GetFormView().GetEditor().OnKeyDown(EditorKey::Down, 0);
    ASSERT_TRUE(mine->IsModified());
    ASSERT_TRUE(WaitFor([&] { return Copies().size() == 1; }, 5000));
    const std::string myCopy = Copies().front();

    // The other editor starts while this one runs, and offers nothing of it.
    std::unique_ptr<ChildEditor> child = StartChild(CopySample("PUMP_Main.xml"), 1);
    ASSERT_TRUE(WaitFor([&] { return Copies().size() == 2; }, 5000));
    EXPECT_EQ(ReadReport(m_log).offered, 0);
    std::string theirs = Copies()[0] == myCopy ? Copies()[1] : Copies()[0];
    const std::string theirBytes = ReadFile(theirs);

    // Nor does this one offer, or expire, the other's copy, however old it looks.
    const std::time_t longAgo = std::time(nullptr) - (RecoveryKeepDays + 10) * 24 * 60 * 60;
    const utimbuf times{longAgo, longAgo};
    ASSERT_EQ(::utime(theirs.c_str(), &times), 0);
    {
        DialogDriver none({});
        OfferRecovery(*m_frame);
        EXPECT_EQ(none.Count(), 0);
    }
    EXPECT_EQ(ReadFile(theirs), theirBytes);
    EXPECT_TRUE(fs::exists(myCopy));

    // Once it has ended, its copy is an old one of an editor that is gone.
    child->Kill();
    {
        DialogDriver none({});
        OfferRecovery(*m_frame);
        EXPECT_EQ(none.Count(), 0);
    }
    EXPECT_FALSE(fs::exists(theirs));
    EXPECT_TRUE(fs::exists(myCopy));
}

// A folder that cannot be made: the editor goes on without copies, and says so once.
class RecoveryFolderUnusable : public AppJourney {
protected:
    void SetUp() override
    {
        std::ofstream(m_scratch.Path() + "/taken") << "a file, not a folder";
        m_env.Set("FORMWRIGHT_RECOVERY_DIR", m_scratch.Path() + "/taken/recovery");
        AppJourney::SetUp();
    }
};

TEST_F(RecoveryFolderUnusable, TheDesignerIsToldThatNoCopiesAreKept)
{
    ASSERT_NE(Open(CopySample("VALVE_Main.xml")), nullptr);
    ASSERT_TRUE(ActiveView()->SelectByName(MovedField));
    ActiveView()->GetFormView().GetEditor().OnKeyDown(EditorKey::Down, 0);
    wxInfoBarGeneric* bar = ActiveView()->GetInfoBar();
    ASSERT_TRUE(WaitFor([&] { return bar->IsShown(); }, 5000));
    wxString shown;
    for (wxWindow* child : bar->GetChildren())
        if (auto* text = dynamic_cast<wxStaticText*>(child))
            shown += text->GetLabel();
    EXPECT_TRUE(shown.Contains("/taken/recovery")) << shown;
}

}  // namespace fw::test
