#include "services/FileReplace.h"

#include "services/FileDescriptor.h"
#include "services/InputFile.h"
#include "services/Strings.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fw {

namespace {

// As many as the system itself follows before it gives up with ELOOP.
constexpr int MaxLinkHops = 40;
// A save holds its folder's lock for as long as writing one file takes; one
// that is still held after this long belongs to something stuck.
constexpr auto LockPatience = std::chrono::seconds(20);
constexpr int MaxBackups = 10000;

std::string FolderPart(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NamePart(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CannotWrite(const std::string& path, const char* reason)
{
    return format("cannot write %s: %s", path.c_str(), reason);
}

// Follows the links of the last part of `path`; answers 0 or the system's error.
int ResolveLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int hops = 0; hops <= MaxLinkHops; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return 0;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0)
            return errno;
        if (length == 0 || static_cast<size_t>(length) >= link.size())
            return ENAMETOOLONG;
        link.resize(static_cast<size_t>(length));
        target = link[0] == '/' ? link : FolderPart(target) + "/" + link;
    }
    return ELOOP;
}

FileStamp StampFrom(const struct stat& info)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return stamp;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// An advisory lock on the folder, held by every save into it from the
// temporary file to the rename. The folder rather than a lock file: nothing
// is left behind, and it stays the same object while the files in it are
// replaced. A folder that cannot be opened or locked (no read permission, a
// file system without locks) is written without it.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (!m_fd.valid())
            return;
        const auto giveUp = std::chrono::steady_clock::now() + LockPatience;
        auto pause = std::chrono::milliseconds(1);
        while (::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                return;
            if (std::chrono::steady_clock::now() >= giveUp) {
                m_timedOut = true;
                return;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds(50));
        }
        m_held = true;
    }
    bool TimedOut() const { return m_timedOut; }
    bool Held() const { return m_held; }
    // The rename is on disk only once the folder is.
    void SyncFolder(const std::string& folder) const
    {
        if (m_fd.valid()) {
            (void)::fsync(m_fd.get());
            return;
        }
        const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fd.valid())
            (void)::fsync(fd.get());
    }

private:
    FileDescriptor m_fd;
    bool m_timedOut = false;
    bool m_held = false;
};

// Temporary files of `target` are named ".NAME.XXXXXX.tmp", with room for
// the dot, the random part and the suffix within a file name's limit.
std::string TempPrefixOf(const std::string& target)
{
    return "." + NamePart(target).substr(0, NAME_MAX - 16) + ".";
}
constexpr std::string_view TempSuffix = ".tmp";

bool IsTempOf(const std::string& prefix, std::string_view name)
{
    return name.size() == prefix.size() + 6 + TempSuffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.substr(name.size() - TempSuffix.size()) == TempSuffix;
}

// Removes what saves of `target` that died before their rename (killed, the
// power gone) left behind. Only under the folder's lock, which every save
// holds for as long as its temporary file exists.
void RemoveLeftovers(const std::string& target)
{
    const std::string folder = FolderPart(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = TempPrefixOf(target);
    while (const struct dirent* entry = ::readdir(dir)) {
        struct stat info {};
        const std::string path = folder + "/" + entry->d_name;
        if (IsTempOf(prefix, entry->d_name) && ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// A new, uniquely named hidden file beside `target`, removed again unless it
// was renamed into place.
class TempFile {
public:
    explicit TempFile(const std::string& target)
        : m_path(FolderPart(target) + "/" + TempPrefixOf(target) + "XXXXXX" + std::string(TempSuffix)),
          // Exclusive creation: an existing name, a planted link included, is never opened.
          m_fd(::mkostemps(m_path.data(), static_cast<int>(TempSuffix.size()), O_CLOEXEC | O_NOFOLLOW)),
          m_error(m_fd.valid() ? 0 : errno)
    {
        if (!m_fd.valid())
            m_path.clear();
    }
    ~TempFile()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int Error() const { return m_error; }
    int Fd() const { return m_fd.get(); }
    const std::string& Path() const { return m_path; }
    int Close() { return m_fd.close(); }
    // Renamed into place: nothing to remove.
    void Placed() { m_path.clear(); }

private:
    std::string m_path;
    FileDescriptor m_fd;
    int m_error = 0;
};

int WriteAll(int fd, std::string_view bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Renames `from` to `to` unless `to` exists; answers 0 or the system's error.
int MoveAside(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without the exclusive rename: a hard link fails just as well on an existing name.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    return ::unlink(from.c_str()) == 0 ? 0 : errno;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

FileStamp StampOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? StampFrom(info) : FileStamp{};
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    const FileStamp first = StampOf(a);
    const FileStamp second = StampOf(b);
    return first.exists && second.exists && first.device == second.device && first.inode == second.inode;
}

std::string SaveTargetOf(const std::string& path)
{
    std::string target;
    return ResolveLinks(path, target) == 0 ? target : path;
}

bool IsReadOnlyFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::string FolderRefusalOf(const std::string& path)
{
    std::string target;
    if (const int error = ResolveLinks(path, target))
        return CannotWrite(path, std::strerror(error));
    TempFile probe(target);
    return probe.Error() ? CannotWrite(path, std::strerror(probe.Error())) : std::string();
}

ReplaceResult ReplaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options)
{
    ReplaceResult result;
    auto fail = [&](int error) {
        result.error = CannotWrite(path, std::strerror(error));
        return result;
    };
    std::string target = path;
    if (options.followLinks)
        if (const int error = ResolveLinks(path, target))
            return fail(error);

    const std::string folder = FolderPart(target);
    FolderLock lock(folder);
    if (lock.TimedOut()) {
        result.error = CannotWrite(path, "another save into its folder does not finish");
        return result;
    }
    if (lock.Held())
        RemoveLeftovers(target);

    struct stat old {};
    const bool replacing = ::lstat(target.c_str(), &old) == 0;
    // A folder, a device or a pipe is not a form file to be replaced.
    if (replacing && !S_ISREG(old.st_mode) && !(S_ISLNK(old.st_mode) && !options.followLinks)) {
        result.error = CannotWrite(path, "it is not a regular file");
        return result;
    }
    const bool hasMetadata = options.metadataFrom.empty() ? replacing && S_ISREG(old.st_mode)
                                                          : ::stat(options.metadataFrom.c_str(), &old) == 0;

    TempFile temp(target);
    if (temp.Error())
        return fail(temp.Error());
    if (const int error = WriteAll(temp.Fd(), bytes))
        return fail(error);
    if (hasMetadata && ::fchown(temp.Fd(), old.st_uid, old.st_gid) != 0) {
        // Only root may give a file away; anyone else keeps going with their own.
    }
    // After the owner: a change of owner clears the set-id bits.
    if (::fchmod(temp.Fd(), hasMetadata ? old.st_mode & 07777 : NewFileMode()) != 0)
        return fail(errno);
    if (::fsync(temp.Fd()) != 0)
        return fail(errno);
    struct stat written {};
    if (::fstat(temp.Fd(), &written) != 0)
        return fail(errno);
    if (const int error = temp.Close())
        return fail(error);
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        return fail(errno);
    temp.Placed();
    lock.SyncFolder(folder);
    result.stamp = StampFrom(written);
    return result;
}

BackupResult KeepBackupOf(const std::string& path)
{
    BackupResult result;
    const std::string source = SaveTargetOf(path);
    result.backupPath = source + ".bak";
    std::string bytes;
    // The file was read once already, so it is within the limit of form files.
    if (readInputFile(source, FormFileLimit, bytes, result.error) != InputFileStatus::Ok)
        return result;
    struct stat existing {};
    if (::lstat(result.backupPath.c_str(), &existing) == 0) {
        int error = EEXIST;
        for (int n = 1; n <= MaxBackups && error == EEXIST; ++n)
            error = MoveAside(result.backupPath, format("%s.%d", result.backupPath.c_str(), n));
        if (error) {
            result.error =
                format("cannot keep the older backup %s: %s", result.backupPath.c_str(), std::strerror(error));
            return result;
        }
    }
    ReplaceOptions options;
    options.followLinks = false;
    options.metadataFrom = source;
    result.error = ReplaceFile(result.backupPath, bytes, options).error;
    return result;
}

}  // namespace fw
