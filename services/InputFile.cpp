#include "services/InputFile.h"

#include "services/FileDescriptor.h"
#include "services/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {

namespace {

const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a plain file";
}

std::string LimitText(std::size_t limit)
{
    constexpr std::size_t MB = std::size_t(1) << 20;
    return limit % MB == 0 ? format("%zu MB", limit / MB) : format("%zu bytes", limit);
}

}  // namespace

InputFileStatus readInputFile(const std::string& path, std::size_t limit, std::string& contents, std::string& error)
{
    contents.clear();
    error.clear();
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = format("cannot open %s: %s", path.c_str(), std::strerror(errno));
        return InputFileStatus::Unreadable;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        error = format("cannot read %s: %s", path.c_str(), std::strerror(errno));
        return InputFileStatus::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        const char* kind = KindOf(info.st_mode);
        error = format("%s: not a regular file (%s)", path.c_str(), kind);
        return InputFileStatus::Refused;
    }
    if (static_cast<unsigned long long>(info.st_size) > limit) {
        error = format("%s: larger than the limit of %s", path.c_str(), LimitText(limit).c_str());
        return InputFileStatus::Refused;
    }
    contents.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    // The file may grow while it is read: one byte past the limit is enough to
    // tell. Once the size it had is read, what follows comes through a small
    // buffer, so the usual file costs no second, larger copy.
    char more[4096];
    while (done <= limit) {
        const bool sized = done < contents.size();
        char* into = sized ? &contents[done] : more;
        const std::size_t room = sized ? contents.size() - done : sizeof more;
        const ssize_t n = ::read(fd.get(), into, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = format("cannot read %s: %s", path.c_str(), std::strerror(errno));
            contents.clear();
            return InputFileStatus::Unreadable;
        }
        if (n == 0)
            break;
        if (!sized)
            contents.append(more, static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    contents.resize(done);
    if (done > limit) {
        contents.clear();
        error = format("%s: larger than the limit of %s", path.c_str(), LimitText(limit).c_str());
        return InputFileStatus::Refused;
    }
    return InputFileStatus::Ok;
}

}  // namespace fw
