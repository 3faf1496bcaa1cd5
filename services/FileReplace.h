#pragma once
// Replacing a user's file so that it is always either the old file or the new
// one, whole: a uniquely named temporary file beside the real file (never
// one that exists already, never through a planted link), the old file's
// mode, owner and group, the bytes on disk before the rename, and one save
// at a time per folder.

#include <string>
#include <string_view>

namespace fw {

// What a file looked like when last seen, to tell whether it changed since.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;

    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of the file at `path` (links followed); `exists` false when there is none.
FileStamp StampOf(const std::string& path);

// Whether both paths name one existing file (a link, "./", another spelling).
bool IsSameFile(const std::string& a, const std::string& b);

// The file a save of `path` replaces: `path` with the links of its last part
// followed, also to a name that does not exist yet. `path` itself when the
// links go round in circles (the save then fails and says so).
std::string SaveTargetOf(const std::string& path);

// The file exists and its owner may not write it: its owner's write bit is
// clear (so also for root, whom the system lets write anyway), or this
// process may not write it.
bool IsReadOnlyFile(const std::string& path);

// Why no file can be created beside the save target of `path`; empty when
// one can. Tries with a uniquely named file and removes it at once.
std::string FolderRefusalOf(const std::string& path);

struct ReplaceOptions {
    // false: a link at `path` is replaced by the file rather than followed.
    bool followLinks = true;
    // Mode, owner and group for the new file; empty: those of the file it replaces.
    std::string metadataFrom;
};

struct ReplaceResult {
    // "cannot write PATH: reason"; empty when the file was replaced.
    std::string error;
    // The new file, as written.
    FileStamp stamp;

    bool ok() const { return error.empty(); }
};

// Replaces the file at `path` by `bytes`, whole or not at all, through a
// hidden ".NAME.XXXXXX.tmp" beside it; such files that earlier saves of the
// same file left when they were killed go too.
ReplaceResult ReplaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options = {});

struct BackupResult {
    std::string error;       // empty when the backup was made
    std::string backupPath;  // where the copy went
};

// Copies the file at `path` to PATH.bak beside its save target. An older
// PATH.bak is kept under the first free PATH.bak.N (N = 1, 2, ...).
BackupResult KeepBackupOf(const std::string& path);

}  // namespace fw
