// A large generated form, and saves killed at any moment: the file on disk must
// always be the old one or the new one, whole.

#include "bench/FormGenerator.h"
#include "controls/DiagramStatic.h"
#include "controls/StandardControls.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fw;

namespace {

using Clock = std::chrono::steady_clock;

// Instrumented or unoptimised builds are several times slower; a smaller form
// keeps the kill test within its time budget there.
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
constexpr int LargeForm = 3000;
#else
constexpr int LargeForm = 20000;
#endif
constexpr int Kills = 20;
const std::string Marker = "KILL_";

class LargeForms : public ::testing::Test {
protected:
    LargeForms() { RegisterStandardControls(ElementFactory::Global()); }
    ~LargeForms() override { ElementFactory::Global().Clear(); }

    test::DemoModel m_model;
    test::ScratchDir m_dir;
};

// The number in the marker a killed child added, -1 when there is none.
// Fails the test when there is more than one, or elements were lost.
int VersionOf(const FormDefinitionDocument& doc, int baseCount)
{
    const CDiagramEntityContainer& form = *doc.GetMainForm();
    int version = -1;
    int markers = 0;
    for (int i = 0; i < form.GetCount(); ++i) {
        const std::string name = form.GetAt(i)->GetName();
        if (name.rfind(Marker, 0) == 0) {
            version = std::stoi(name.substr(Marker.size()));
            ++markers;
        }
    }
    EXPECT_LE(markers, 1);
    EXPECT_EQ(form.GetCount(), baseCount + markers) << "elements were lost or added";
    return version;
}

// Changes when a save renames, truncates or writes the file.
std::tuple<ino_t, off_t, long long> StateOf(const std::string& path)
{
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0)
        return {0, -1, 0};
    return {s.st_ino, s.st_size, s.st_mtim.tv_sec * 1000000000LL + s.st_mtim.tv_nsec};
}

// The temporary files of saves of `path` by name, with their sizes.
std::map<std::string, off_t> TempsOf(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string prefix = "." + file.filename().string() + ".";
    std::map<std::string, off_t> temps;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        const std::string name = entry.path().filename().string();
        struct stat s {};
        if (name.rfind(prefix, 0) == 0 && ::lstat(entry.path().c_str(), &s) == 0)
            temps[name] = s.st_size;
    }
    return temps;
}

// The child: saves the document with one more element, over and over,
// telling the parent when each save begins ('S') and ends ('D').
[[noreturn]] void SaveUntilKilled(FormDefinitionDocument& doc, const std::string& path, int version, int pipe)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    auto marker = std::make_unique<CDiagramStatic>();
    marker->SetRect(10, 10, 90, 28);
    marker->SetName(Marker + std::to_string(version));
    doc.GetMainForm()->Add(std::move(marker));
    for (int save = 0; save < 500; ++save) {
        if (::write(pipe, "S", 1) != 1)
            break;
        doc.WriteFile(path);
        if (::write(pipe, "D", 1) != 1)
            break;
    }
    ::_exit(0);
}

// Waits for the child's mark; false when the child went away first.
bool AwaitMark(int pipe, char wanted)
{
    char mark = 0;
    while (::read(pipe, &mark, 1) == 1)
        if (mark == wanted)
            return true;
    return false;
}

}  // namespace

TEST_F(LargeForms, KilledSaveLeavesTheOldOrTheNewFileWhole)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(m_dir.Put("PUMP_Source.xml", GenerateFormFile(LargeForm, 5))));
    ASSERT_TRUE(doc.WasReadWhole());
    const int baseCount = doc.GetMainForm()->GetCount();
    ASSERT_EQ(baseCount, GeneratedFormElementCount(LargeForm, 5));
    std::set<std::string> types;
    for (int i = 0; i < baseCount; ++i)
        types.insert(doc.GetMainForm()->GetAt(i)->GetType());
    EXPECT_EQ(types, (std::set<std::string>{"editbox", "static", "Image", "ImageButton", "button", "Table", "line",
                                            "rectangle", "ellipse"}))
        << "the saves cover every kind of element";
    const std::string path = m_dir.Path() + "/PUMP_Large.xml";
    doc.WriteFile(path);
    ASSERT_EQ(doc.GetWriteError(), "");

    // How long building the text and a whole save take here, to aim the kills.
    Clock::time_point start = Clock::now();
    const std::size_t bytes = doc.WriteToString().size();
    const Clock::duration build = Clock::now() - start;
    start = Clock::now();
    doc.WriteFile(path);
    const Clock::duration save = std::max(Clock::now() - start, build + std::chrono::milliseconds(1));
    ASSERT_GT(bytes, std::size_t{100000});

    const int seed = ::testing::UnitTest::GetInstance()->random_seed();
    std::mt19937 random(static_cast<unsigned>(seed));
    auto sleepUpTo = [&](Clock::duration span) {
        std::this_thread::sleep_for(Clock::duration(
            std::uniform_int_distribution<Clock::rep>(0, std::max<Clock::rep>(span.count(), 0))(random)));
    };

    int lastVersion = -1;
    int kept = 0;
    int replaced = 0;
    for (int attempt = 0; attempt < Kills; ++attempt) {
        SCOPED_TRACE("kill " + std::to_string(attempt) + " of a form with " + std::to_string(baseCount) +
                     " elements, --gtest_random_seed=" + std::to_string(seed));
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const auto before = StateOf(path);
        const auto tempsBefore = TempsOf(path);  // killed saves may have left some
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipe[0]);
            SaveUntilKilled(doc, path, attempt, pipe[1]);
        }
        ::close(pipe[1]);

        bool started = AwaitMark(pipe[0], 'S');
        switch (attempt % 4) {
        case 0:  // while the text is still being built
            sleepUpTo(build / 2);
            break;
        case 1: {  // the moment the new bytes reach the file system (the folder probe at the start writes none)
            const Clock::time_point giveUp = Clock::now() + save * 4 + std::chrono::seconds(1);
            auto written = [&] {
                for (const auto& [name, size] : TempsOf(path))
                    if (size > 0 && !tempsBefore.count(name))
                        return true;
                return StateOf(path) != before;
            };
            while (Clock::now() < giveUp && !written())
                ;
            break;
        }
        case 2:  // anywhere in the first save or the next
            sleepUpTo(save * 3 / 2);
            break;
        default:  // during a later save, once the first has finished
            started = started && AwaitMark(pipe[0], 'D');
            sleepUpTo(save / 2);
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(pipe[0]);
        EXPECT_TRUE(started) << "the child ended before saving";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;

        FormDefinitionDocument check;
        ASSERT_TRUE(check.ReadFile(path))
            << "the file has " << std::get<1>(StateOf(path)) << " of " << bytes << " bytes";
        ASSERT_TRUE(check.WasReadWhole());
        const int version = VersionOf(check, baseCount);
        ASSERT_TRUE(version == lastVersion || version == attempt)
            << "the file is version " << version << ", neither " << lastVersion << " nor " << attempt;
        (version == attempt ? replaced : kept) += 1;
        lastVersion = version;
    }
    // Otherwise the kills did not cover both sides of the rename.
    EXPECT_GT(kept, 0);
    EXPECT_GT(replaced, 0);

    // Whatever a killed save left behind, the next one works and cleans up.
    doc.WriteFile(path);
    EXPECT_EQ(doc.GetWriteError(), "");
    EXPECT_TRUE(TempsOf(path).empty());
    FormDefinitionDocument last;
    ASSERT_TRUE(last.ReadFile(path));
    EXPECT_TRUE(last.WasReadWhole());
    EXPECT_EQ(VersionOf(last, baseCount), -1);
}
