// The recovery folder holds, per kept file, "STEM.OWNER-N.xml" (the copy),
// "STEM.OWNER-N.xml.record" (its record) and, per running editor,
// "OWNER.lock", on which that editor holds an exclusive flock. ".lock" guards
// the bookkeeping: an editor creates and takes its own lock, and another one
// takes (and later removes) the locks of editors that ended, only while
// holding it, so two editors never both take the same ended editor's copies.

#include "services/Recovery.h"

#include "services/Environment.h"
#include "services/FileDescriptor.h"
#include "services/Guid.h"
#include "services/InputFile.h"
#include "services/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {

namespace {

constexpr std::string_view CopySuffix = ".xml";
constexpr std::string_view RecordSuffix = ".record";
constexpr std::string_view LockSuffix = ".lock";
// Room for the owner, the number and the suffixes within a file name's limit.
constexpr std::size_t MaxStemBytes = 120;
constexpr std::size_t MaxRecordBytes = 64 * 1024;

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Record values are one line each: backslashes and line breaks are escaped.
std::string Escape(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

// An owner names a file in the folder: nothing that could lead out of it.
bool IsOwnerName(std::string_view owner)
{
    return !owner.empty() && owner.size() < 64 && owner[0] != '.' &&
           owner.find_first_not_of("0123456789abcdefABCDEF-") == std::string_view::npos;
}

// The first `limit` bytes of `text`, not cutting a character in two.
std::string CutAtCharacter(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string MakeFolders(const std::string& folder)
{
    std::string path;
    for (std::size_t from = 0; from <= folder.size();) {
        std::size_t slash = folder.find('/', from + 1);
        if (slash == std::string::npos)
            slash = folder.size();
        path = folder.substr(0, slash);
        from = slash;
        if (path.empty() || path == "/")
            continue;
        // Copies hold the user's work: folders made here are the user's alone.
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            return format("cannot make %s: %s", path.c_str(), std::strerror(errno));
        if (slash == folder.size())
            break;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return format("%s is not a folder", folder.c_str());
    return std::string();
}

// Holds the folder's bookkeeping lock for as long as it lives.
class BookkeepingLock {
public:
    explicit BookkeepingLock(const std::string& folder)
        : m_fd(::open((folder + "/.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        if (m_fd.valid())
            while (::flock(m_fd.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    bool Held() const { return m_fd.valid(); }

private:
    FileDescriptor m_fd;
};

std::string LockPathOf(const std::string& folder, const std::string& owner)
{
    return folder + "/" + owner + std::string(LockSuffix);
}

std::time_t ModifiedAt(const std::string& path, bool& exists)
{
    struct stat info {};
    exists = ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    return exists ? info.st_mtime : 0;
}

// What writes of `path` left when killed before their rename (FileReplace
// names them ".NAME.XXXXXX.tmp"); only for files nobody writes any more.
void RemoveTemporaries(const std::string& folder, const std::vector<std::string>& names, const std::string& path)
{
    const std::string prefix = "." + path.substr(path.find_last_of('/') + 1) + ".";
    for (const std::string& name : names)
        if (name.size() == prefix.size() + 10 && startsWith(name, prefix) && EndsWith(name, ".tmp"))
            ::unlink((folder + "/" + name).c_str());
}

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

}  // namespace

std::string RecoveryFolder()
{
    return Environment::instance().recoveryDir();
}

std::string RecordText(const RecoveryRecord& record)
{
    std::string text = "original = " + Escape(record.original) + "\n";
    text += "name = " + Escape(record.name) + "\n";
    text += "owner = " + record.owner + "\n";
    text += format("forms = %d\nreadInPart = %d\n", record.forms, record.readInPart ? 1 : 0);
    const FileStamp& stamp = record.diskStamp;
    if (stamp.exists)
        text += format("diskStamp = %llu %llu %lld %lld\n", stamp.device, stamp.inode, stamp.size, stamp.modifiedNs);
    return text;
}

bool ParseRecord(std::string_view text, RecoveryRecord& record)
{
    record = RecoveryRecord();
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t mark = line.find(" = ");
        if (mark == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, mark);
        const std::string value = Unescape(line.substr(mark + 3));
        if (key == "original")
            record.original = value;
        else if (key == "name")
            record.name = value;
        else if (key == "owner")
            record.owner = value;
        else if (key == "forms")
            record.forms = toInt(value);
        else if (key == "readInPart")
            record.readInPart = value == "1";
        else if (key == "diskStamp") {
            FileStamp& stamp = record.diskStamp;
            stamp.exists = std::sscanf(value.c_str(), "%llu %llu %lld %lld", &stamp.device, &stamp.inode, &stamp.size,
                                       &stamp.modifiedNs) == 4;
        }
    }
    return IsOwnerName(record.owner) && !record.name.empty();
}

std::string RecordPathOf(const std::string& copyPath)
{
    return copyPath + std::string(RecordSuffix);
}

std::string WriteRecoveryCopy(const std::string& copyPath, std::string_view bytes, const RecoveryRecord& record)
{
    ReplaceOptions options;
    options.followLinks = false;
    // The mode of a new file then comes from the folder's own lock file (the
    // user's alone), not from the process's umask, which finding out would
    // change for a moment under the feet of every other thread.
    options.metadataFrom = copyPath.substr(0, copyPath.find_last_of('/')) + "/.lock";
    ReplaceResult written = ReplaceFile(RecordPathOf(copyPath), RecordText(record), options);
    if (written.ok())
        written = ReplaceFile(copyPath, bytes, options);
    return written.error;
}

void RemoveRecoveryCopy(const std::string& copyPath)
{
    ::unlink(copyPath.c_str());
    ::unlink(RecordPathOf(copyPath).c_str());
}

RecoveryOwner::RecoveryOwner(std::string folder) : m_folder(std::move(folder)) {}

RecoveryOwner::~RecoveryOwner()
{
    if (m_lock < 0)
        return;
    // Copies left now belong to an editor that ended: the next start offers them.
    BookkeepingLock guard(m_folder);
    ::unlink(LockPathOf(m_folder, m_token).c_str());
    ::close(m_lock);
}

std::string RecoveryOwner::Start()
{
    if (!m_token.empty())
        return std::string();
    if (std::string error = MakeFolders(m_folder); !error.empty())
        return error;
    BookkeepingLock guard(m_folder);
    if (!guard.Held())
        return format("cannot lock %s: %s", m_folder.c_str(), std::strerror(errno));
    // The process number alone comes back after a restart; the random part does not.
    std::string token = format("%d-%s", static_cast<int>(::getpid()), createGuid().substr(0, 8).c_str());
    std::transform(token.begin(), token.end(), token.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    const std::string path = LockPathOf(m_folder, token);
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return format("cannot make %s: %s", path.c_str(), std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        ::close(fd);
        return format("cannot lock %s: %s", path.c_str(), std::strerror(error));
    }
    m_lock = fd;
    m_token = token;
    return std::string();
}

std::string RecoveryOwner::NewCopyPath(const std::string& fileName)
{
    std::string stem = fileName.substr(0, fileName.rfind('.'));
    if (stem.empty())
        stem = "Untitled";
    return format("%s/%s.%s-%d%s", m_folder.c_str(), CutAtCharacter(stem, MaxStemBytes).c_str(), m_token.c_str(),
                  ++m_serial, std::string(CopySuffix).c_str());
}

RecoveryClaim::RecoveryClaim(std::string folder, std::time_t now, int keepDays) : m_folder(std::move(folder))
{
    struct stat info {};
    if (::stat(m_folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return;
    BookkeepingLock guard(m_folder);
    if (guard.Held())
        Collect(now, keepDays);
}

RecoveryClaim::~RecoveryClaim()
{
    if (m_held.empty())
        return;
    // The copies left keep naming their ended editor, whose missing lock
    // says so to the next editor that looks.
    BookkeepingLock guard(m_folder);
    for (const Held& held : m_held) {
        ::unlink(held.lockPath.c_str());
        ::close(held.fd);
    }
}

bool RecoveryClaim::TakeIfEnded(const std::string& owner)
{
    for (const Held& held : m_held)
        if (held.lockPath == LockPathOf(m_folder, owner))
            return true;
    if (!IsOwnerName(owner) || std::find(m_live.begin(), m_live.end(), owner) != m_live.end())
        return false;
    const std::string path = LockPathOf(m_folder, owner);
    const int fd = ::open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A lock that cannot be tried says nothing: its copies are left alone.
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_held.push_back({path, fd});
        return true;
    }
    if (fd >= 0)
        ::close(fd);
    m_live.push_back(owner);
    return false;
}

void RecoveryClaim::Collect(std::time_t now, int keepDays)
{
    const std::time_t oldest = now - static_cast<std::time_t>(keepDays) * 24 * 60 * 60;
    const std::vector<std::string> names = NamesIn(m_folder);
    auto removeDead = [&](const std::string& copy) {
        RemoveRecoveryCopy(copy);
        RemoveTemporaries(m_folder, names, copy);
        RemoveTemporaries(m_folder, names, RecordPathOf(copy));
    };
    for (const std::string& name : names) {
        if (name[0] == '.')
            continue;
        const std::string path = m_folder + "/" + name;
        if (EndsWith(name, LockSuffix)) {
            TakeIfEnded(name.substr(0, name.size() - LockSuffix.size()));
            continue;
        }
        bool exists = false;
        bool hasRecord = false;
        if (EndsWith(name, CopySuffix)) {
            // Every writer puts the record first, so no live editor has a copy without one.
            const std::time_t at = ModifiedAt(path, exists);
            ModifiedAt(RecordPathOf(path), hasRecord);
            if (exists && !hasRecord && at < oldest)
                removeDead(path);
            continue;
        }
        if (!EndsWith(name, std::string(CopySuffix) + std::string(RecordSuffix)))
            continue;
        RecoveryEntry entry;
        entry.copyPath = path.substr(0, path.size() - RecordSuffix.size());
        std::string text;
        std::string error;
        if (readInputFile(path, MaxRecordBytes, text, error) != InputFileStatus::Ok ||
            !ParseRecord(text, entry.record)) {
            // Nobody can say whose it is: only its age decides.
            if (ModifiedAt(path, hasRecord) < oldest && hasRecord)
                removeDead(entry.copyPath);
            continue;
        }
        if (!TakeIfEnded(entry.record.owner))
            continue;
        entry.savedAt = ModifiedAt(entry.copyPath, exists);
        if (!exists || entry.savedAt < oldest)
            removeDead(entry.copyPath);
        else
            m_entries.push_back(std::move(entry));
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.savedAt > b.savedAt; });
}

void RecoveryClaim::Discard(const RecoveryEntry& entry)
{
    RemoveRecoveryCopy(entry.copyPath);
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const RecoveryEntry& e) { return e.copyPath == entry.copyPath; }),
                    m_entries.end());
}

std::string RecoveryClaim::Adopt(const RecoveryEntry& entry, const std::string& owner)
{
    RecoveryRecord record = entry.record;
    record.owner = owner;
    ReplaceOptions options;
    options.followLinks = false;
    return ReplaceFile(RecordPathOf(entry.copyPath), RecordText(record), options).error;
}

}  // namespace fw
