#include "services/Recovery.h"
#include "services/Environment.h"
#include "services/RecoveryWriter.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace fw;

namespace {

constexpr std::time_t Day = 24 * 60 * 60;

class RecoveryTest : public ::testing::Test {
protected:
    std::string Folder() const { return m_scratch.Path() + "/state/recovery"; }

    static RecoveryRecord Record(const std::string& owner, const std::string& original)
    {
        RecoveryRecord record;
        record.original = original;
        record.name = original.substr(original.rfind('/') + 1);
        record.owner = owner;
        record.forms = 2;
        return record;
    }

    // An editor that wrote a copy and was killed: its lock file stays, held by nobody.
    std::string CopyOfKilledEditor(const std::string& original)
    {
        const std::string copy = Folder() + "/killed-copy.xml";
        const pid_t child = ::fork();
        if (child == 0) {
            RecoveryOwner owner(Folder());
            const bool written =
                owner.Start().empty() && WriteRecoveryCopy(copy, "<killed/>", Record(owner.Token(), original)).empty();
            ::_exit(written ? 0 : 1);  // no destructors: the lock file stays behind
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return copy;
    }

    static void Age(const std::string& path, std::time_t now, int days)
    {
        const utimbuf times{now - days * Day, now - days * Day};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }

    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder()))
            names.insert(entry.path().filename().string());
        return names;
    }

    test::ScratchDir m_scratch;
    test::ScopedEnv m_env;
};

TEST_F(RecoveryTest, FolderFollowsTheSettingThenTheStateHomeThenTheHomeFolder)
{
    m_env.Set("HOME", m_scratch.Path()).Set("FORMWRIGHT_CONFIG_FILE", "/nonexistent").Unset("FORMWRIGHT_RECOVERY_DIR");
    m_env.Set("XDG_STATE_HOME", "relative/is/ignored");
    EXPECT_EQ(RecoveryFolder(), m_scratch.Path() + "/.local/state/formwright/recovery");
    m_env.Set("XDG_STATE_HOME", "/var/state");
    EXPECT_EQ(RecoveryFolder(), "/var/state/formwright/recovery");
    m_env.Set("FORMWRIGHT_RECOVERY_DIR", "~/kept");
    EXPECT_EQ(RecoveryFolder(), m_scratch.Path() + "/kept");
}

TEST_F(RecoveryTest, CopyNamesNeverCollideAndTheFolderIsPrivate)
{
    RecoveryOwner first(Folder());
    RecoveryOwner second(Folder());
    ASSERT_EQ(first.Start(), "");
    ASSERT_EQ(second.Start(), "");
    EXPECT_NE(first.Token(), second.Token());
    // The same file name from two folders, and from two editors.
    std::set<std::string> paths{first.NewCopyPath("PUMP_Main.xml"), first.NewCopyPath("PUMP_Main.xml"),
                                second.NewCopyPath("PUMP_Main.xml")};
    EXPECT_EQ(paths.size(), 3u);
    for (const std::string& path : paths)
        EXPECT_EQ(path.rfind(Folder() + "/PUMP_Main.", 0), 0u) << path;
    // A long name is cut between characters, never inside one.
    const std::string name = first.NewCopyPath(std::string(119, 'a') + "\xc3\xa4\xc3\xa4.xml");
    EXPECT_NE(name.find(std::string(119, 'a') + "." + first.Token()), std::string::npos) << name;

    struct stat info {};
    ASSERT_EQ(::stat(Folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(RecoveryTest, RecordsKeepPathsWithLineBreaksAndRefuseOwnersThatLeaveTheFolder)
{
    RecoveryRecord record = Record("123-abc", "/forms/odd\nname\\x.xml");
    record.readInPart = true;
    record.diskStamp = FileStamp{true, 5, 77, 1234, 1700000000123456789LL};
    RecoveryRecord read;
    ASSERT_TRUE(ParseRecord(RecordText(record), read));
    EXPECT_EQ(read.original, record.original);
    EXPECT_EQ(read.name, "odd\nname\\x.xml");
    EXPECT_EQ(read.forms, 2);
    EXPECT_TRUE(read.readInPart);
    EXPECT_EQ(read.diskStamp, record.diskStamp);

    record.owner = "../../home/x";
    EXPECT_FALSE(ParseRecord(RecordText(record), read));
}

TEST_F(RecoveryTest, CopiesOfARunningEditorAreNeitherListedNorExpired)
{
    const std::time_t now = std::time(nullptr);
    RecoveryOwner running(Folder());
    ASSERT_EQ(running.Start(), "");
    const std::string copy = running.NewCopyPath("PUMP_Main.xml");
    ASSERT_EQ(WriteRecoveryCopy(copy, "<live/>", Record(running.Token(), "/forms/PUMP_Main.xml")), "");
    Age(copy, now, 40);

    RecoveryClaim claim(Folder(), now);
    EXPECT_TRUE(claim.Entries().empty());
    EXPECT_EQ(test::ReadFile(copy), "<live/>");
    // The user's work, readable by the user alone whatever the umask.
    struct stat info {};
    ASSERT_EQ(::stat(copy.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(RecoveryTest, CopiesOfAKilledEditorAreHeldByOneClaimAtATime)
{
    const std::string copy = CopyOfKilledEditor("/forms/PUMP_Main.xml");
    const std::time_t now = std::time(nullptr);
    {
        RecoveryClaim claim(Folder(), now);
        ASSERT_EQ(claim.Entries().size(), 1u);
        EXPECT_EQ(claim.Entries()[0].copyPath, copy);
        EXPECT_EQ(claim.Entries()[0].record.original, "/forms/PUMP_Main.xml");
        EXPECT_EQ(claim.Entries()[0].record.forms, 2);
        // Another editor starting meanwhile sees them as someone's.
        EXPECT_TRUE(RecoveryClaim(Folder(), now).Entries().empty());
    }
    // Left for later: the ended editor's lock is gone, and the next start offers them again.
    EXPECT_EQ(Names(), (std::set<std::string>{".lock", "killed-copy.xml", "killed-copy.xml.record"}));
    EXPECT_EQ(RecoveryClaim(Folder(), now).Entries().size(), 1u);
}

TEST_F(RecoveryTest, AnAdoptedCopyBelongsToItsNewEditor)
{
    CopyOfKilledEditor("/forms/PUMP_Main.xml");
    RecoveryOwner adopter(Folder());
    ASSERT_EQ(adopter.Start(), "");
    {
        RecoveryClaim claim(Folder(), std::time(nullptr));
        ASSERT_EQ(claim.Entries().size(), 1u);
        EXPECT_EQ(claim.Adopt(claim.Entries()[0], adopter.Token()), "");
    }
    EXPECT_TRUE(RecoveryClaim(Folder(), std::time(nullptr)).Entries().empty());
}

TEST_F(RecoveryTest, ExpiryRemovesOldCopiesAndRecordsWithoutACopy)
{
    const std::string old = CopyOfKilledEditor("/forms/PUMP_Old.xml");
    const std::string gone = Folder() + "/gone.xml";
    const std::string stray = Folder() + "/stray.xml";
    RecoveryRecord record;
    ASSERT_TRUE(ParseRecord(test::ReadFile(RecordPathOf(old)), record));
    ASSERT_EQ(WriteRecoveryCopy(gone, "", record), "");
    ::unlink(gone.c_str());
    ASSERT_EQ(WriteRecoveryCopy(stray, "<stray/>", record), "");
    ::unlink(RecordPathOf(stray).c_str());
    const std::time_t now = std::time(nullptr);
    Age(old, now, RecoveryKeepDays + 1);
    Age(stray, now, RecoveryKeepDays + 1);

    const std::string recent = Folder() + "/recent.xml";
    ASSERT_EQ(WriteRecoveryCopy(recent, "<recent/>", record), "");
    Age(recent, now, RecoveryKeepDays - 1);

    RecoveryClaim claim(Folder(), now);
    ASSERT_EQ(claim.Entries().size(), 1u);
    EXPECT_EQ(claim.Entries()[0].copyPath, recent);
    EXPECT_EQ(Names(), (std::set<std::string>{".lock", "recent.xml", "recent.xml.record", record.owner + ".lock"}));
}

TEST_F(RecoveryTest, TheWriterKeepsTheOrderOfWritesAndRemovals)
{
    const std::string copy = Folder() + "/copy.xml";
    std::filesystem::create_directories(Folder());
    RecoveryWriter writer;
    writer.Write(copy, "<first/>", Record("1-a", "/f/PUMP_Main.xml"));
    writer.Remove(copy);
    writer.Flush();
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(RecordPathOf(copy)));

    writer.Remove(copy);
    writer.Write(copy, "<second/>", Record("1-a", "/f/PUMP_Main.xml"));
    writer.Write(copy, "<third/>", Record("1-a", "/f/PUMP_Main.xml"));
    writer.Flush();
    EXPECT_EQ(test::ReadFile(copy), "<third/>");
    EXPECT_EQ(writer.LastError(), "");

    writer.Write(Folder() + "/no/such/folder.xml", "<x/>", Record("1-a", "/f/PUMP_Main.xml"));
    writer.Flush();
    EXPECT_NE(writer.LastError().find("no/such"), std::string::npos) << writer.LastError();
}

}  // namespace
