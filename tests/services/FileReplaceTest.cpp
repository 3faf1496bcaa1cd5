// Replacing files: links, planted names, ownership, failures and backups.

#include "services/FileReplace.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fw;
using fw::test::ReadFile;

namespace {

using Names = std::vector<std::string>;

class Replacing : public ::testing::Test {
protected:
    struct stat StatOf(const std::string& name, bool follow = true) const
    {
        struct stat info {};
        const std::string path = m_dir.Path() + "/" + name;
        EXPECT_EQ(follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info), 0) << path;
        return info;
    }

    test::ScratchDir m_dir;
};

TEST_F(Replacing, ALinkStaysALinkAndItsTargetIsWrittenAlsoWhenItDoesNotExistYet)
{
    const std::string real = m_dir.Put("forms/PUMP_Main.xml", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const std::string link = m_dir.Path() + "/PUMP_Link.xml";
    ASSERT_EQ(::symlink("forms/PUMP_Main.xml", link.c_str()), 0);
    const FileStamp before = StampOf(real);

    const ReplaceResult result = ReplaceFile(link, "new");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_TRUE(S_ISLNK(StatOf("PUMP_Link.xml", false).st_mode));
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_EQ(StatOf("forms/PUMP_Main.xml").st_mode & 07777, 0640u);
    EXPECT_EQ(result.stamp, StampOf(link));
    EXPECT_NE(result.stamp, before);

    // A link to a file still to be made: the file appears where it points.
    const std::string dangling = m_dir.Path() + "/PUMP_New.xml";
    ASSERT_EQ(::symlink("forms/PUMP_Made.xml", dangling.c_str()), 0);
    ASSERT_TRUE(ReplaceFile(dangling, "made").ok());
    EXPECT_TRUE(S_ISLNK(StatOf("PUMP_New.xml", false).st_mode));
    EXPECT_EQ(ReadFile(m_dir.Path() + "/forms/PUMP_Made.xml"), "made");
    EXPECT_EQ(m_dir.Names(), (Names{"PUMP_Link.xml", "PUMP_New.xml", "forms"}));
}

TEST_F(Replacing, APlantedTemporaryNameIsNeverOpenedAndAUsersOwnFileSurvives)
{
    const std::string victim = m_dir.Put("victim.txt", "precious");
    const std::string path = m_dir.Put("PUMP_Main.xml", "old");
    ASSERT_EQ(::symlink(victim.c_str(), (path + ".tmp").c_str()), 0);
    m_dir.Put("VALVE.xml.tmp", "the designer's own notes");
    m_dir.Put(".PUMP_Main.xml.Ab12Cd.tmp", "the rest of a save that was killed");

    ASSERT_TRUE(ReplaceFile(path, "new").ok());
    ASSERT_TRUE(ReplaceFile(m_dir.Path() + "/VALVE.xml", "valve").ok());
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_EQ(ReadFile(m_dir.Path() + "/VALVE.xml.tmp"), "the designer's own notes");
    EXPECT_EQ(m_dir.Names(), (Names{"PUMP_Main.xml", "PUMP_Main.xml.tmp", "VALVE.xml", "VALVE.xml.tmp", "victim.txt"}));
}

TEST_F(Replacing, AFailedWriteSaysWhyKeepsTheOldFileAndLeavesNothingBehind)
{
    const std::string path = m_dir.Put("PUMP_Main.xml", "old");
    {
        test::ScopedFileSizeLimit limit(4);
        EXPECT_EQ(ReplaceFile(path, "longer than four bytes").error, "cannot write " + path + ": File too large");
    }
    EXPECT_EQ(ReadFile(path), "old");

    // Replacing a pipe, a device or a folder would take it away from whoever uses it.
    const std::string pipe = m_dir.Path() + "/pipe.xml";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReplaceFile(pipe, "x").error, "cannot write " + pipe + ": it is not a regular file");
    EXPECT_TRUE(S_ISFIFO(StatOf("pipe.xml").st_mode));

    EXPECT_NE(FolderRefusalOf(m_dir.Path() + "/missing/PUMP_Main.xml"), "");
    EXPECT_EQ(FolderRefusalOf(path), "");
    EXPECT_EQ(m_dir.Names(), (Names{"PUMP_Main.xml", "pipe.xml"}));
}

TEST_F(Replacing, ASaveWaitsForTheOneInProgressInItsFolder)
{
    const std::string path = m_dir.Put("PUMP_Main.xml", "old");
    const int folder = ::open(m_dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    std::atomic<bool> done{false};
    std::thread save([&] {
        ReplaceFile(path, "new");
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done);
    EXPECT_EQ(ReadFile(path), "old");
    ::close(folder);
    save.join();
    EXPECT_EQ(ReadFile(path), "new");
}

TEST_F(Replacing, ModeOwnerAndGroupStay)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give files away";
    const struct passwd* nobody = ::getpwnam("nobody");
    const struct group* nogroup = ::getgrnam("nogroup");
    ASSERT_TRUE(nobody && nogroup);
    const std::string path = m_dir.Put("PUMP_Main.xml", "old");
    ASSERT_EQ(::chown(path.c_str(), nobody->pw_uid, nogroup->gr_gid), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);

    ASSERT_TRUE(ReplaceFile(path, "new").ok());
    const struct stat info = StatOf("PUMP_Main.xml");
    EXPECT_EQ(info.st_uid, nobody->pw_uid);
    EXPECT_EQ(info.st_gid, nogroup->gr_gid);
    EXPECT_EQ(info.st_mode & 07777, 0604u);

    // The backup is the file's as well, not the saver's.
    const BackupResult backup = KeepBackupOf(path);
    ASSERT_EQ(backup.error, "");
    EXPECT_EQ(StatOf("PUMP_Main.xml.bak").st_uid, nobody->pw_uid);
    EXPECT_EQ(StatOf("PUMP_Main.xml.bak").st_mode & 07777, 0604u);
}

TEST_F(Replacing, ReadOnlyIsTheOwnersWriteBitEvenForRoot)
{
    const std::string path = m_dir.Put("PUMP_Main.xml", "old");
    EXPECT_FALSE(IsReadOnlyFile(path));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(IsReadOnlyFile(path));
    ASSERT_EQ(::chmod(path.c_str(), 0466), 0);  // others may, its owner may not
    EXPECT_TRUE(IsReadOnlyFile(path));
    EXPECT_FALSE(IsReadOnlyFile(m_dir.Path() + "/missing.xml"));

    // Replacing it anyway keeps it read-only.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(ReplaceFile(path, "new").ok());
    EXPECT_EQ(StatOf("PUMP_Main.xml").st_mode & 07777, 0444u);
}

TEST_F(Replacing, EachBackupKeepsTheOneBeforeUnderTheNextFreeNumber)
{
    const std::string path = m_dir.Put("PUMP_Main.xml", "first");
    EXPECT_EQ(KeepBackupOf(path).backupPath, path + ".bak");
    ReplaceFile(path, "second");
    ASSERT_EQ(KeepBackupOf(path).error, "");
    ReplaceFile(path, "third");
    ASSERT_EQ(KeepBackupOf(path).error, "");
    EXPECT_EQ(ReadFile(path + ".bak"), "third");
    EXPECT_EQ(ReadFile(path + ".bak.2"), "second");
    EXPECT_EQ(ReadFile(path + ".bak.1"), "first");
    EXPECT_EQ(m_dir.Names(),
              (Names{"PUMP_Main.xml", "PUMP_Main.xml.bak", "PUMP_Main.xml.bak.1", "PUMP_Main.xml.bak.2"}));

    // A planted link as the backup is moved aside, never written through.
    const std::string victim = m_dir.Put("victim.txt", "precious");
    const std::string other = m_dir.Put("VALVE.xml", "valve");
    ASSERT_EQ(::symlink(victim.c_str(), (other + ".bak").c_str()), 0);
    ASSERT_EQ(KeepBackupOf(other).error, "");
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_EQ(ReadFile(other + ".bak"), "valve");
}

}  // namespace
