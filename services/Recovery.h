#pragma once
// Copies of files with unsaved changes, kept aside so that a crash or a
// killed editor loses no more than the last moments of work. Each copy has a
// small record beside it (the file it belongs to, the editor keeping it). A
// running editor holds a lock of its own; no other editor lists, restores or
// deletes the copies of an editor whose lock is held.

#include "services/FileReplace.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The "recoveryDir" setting (FORMWRIGHT_RECOVERY_DIR), else
// $XDG_STATE_HOME/formwright/recovery, else ~/.local/state/formwright/recovery.
std::string RecoveryFolder();

// Copies nobody restored or discarded go after this many days.
constexpr int RecoveryKeepDays = 30;

struct RecoveryRecord {
    std::string original;  // the file's path; empty for a file never saved
    std::string name;      // the file's name as the editor showed it
    std::string owner;     // the editor keeping the copy
    int forms = 0;
    bool readInPart = false;
    FileStamp diskStamp;  // the original as the editor last read or wrote it
};

std::string RecordText(const RecoveryRecord& record);
// False when the text lacks the owner or the name.
bool ParseRecord(std::string_view text, RecoveryRecord& record);

// The record that goes with a copy.
std::string RecordPathOf(const std::string& copyPath);

// Writes the record, then the copy, each whole or not at all: a copy is never
// without its record, even when the writer dies between the two. Answers
// the error; empty when both were written.
std::string WriteRecoveryCopy(const std::string& copyPath, std::string_view bytes, const RecoveryRecord& record);
// The copy first, then its record.
void RemoveRecoveryCopy(const std::string& copyPath);

// This editor's hold on the folder: its lock, taken on the first copy and
// held until it ends, and new copy names that no other copy has.
class RecoveryOwner {
public:
    explicit RecoveryOwner(std::string folder);
    ~RecoveryOwner();  // lets go of the lock and removes it
    RecoveryOwner(const RecoveryOwner&) = delete;
    RecoveryOwner& operator=(const RecoveryOwner&) = delete;

    // Makes the folder (private to the user) and takes the lock, once; the error, or empty.
    std::string Start();
    const std::string& Folder() const { return m_folder; }
    // Empty until Start() succeeded.
    const std::string& Token() const { return m_token; }
    // A path in the folder for a copy of the file called `fileName`.
    std::string NewCopyPath(const std::string& fileName);

private:
    std::string m_folder;
    std::string m_token;
    int m_lock = -1;
    int m_serial = 0;
};

// One copy found in the folder.
struct RecoveryEntry {
    std::string copyPath;
    std::time_t savedAt = 0;  // when the copy was last written
    RecoveryRecord record;
};

// The copies of editors that no longer run, held by this editor until it
// lets go (the end of its scope): an editor starting meanwhile sees them as
// live. Taking them also removes what has expired: copies older than
// `keepDays`, records without a copy, and the locks of ended editors.
class RecoveryClaim {
public:
    RecoveryClaim(std::string folder, std::time_t now, int keepDays = RecoveryKeepDays);
    ~RecoveryClaim();
    RecoveryClaim(const RecoveryClaim&) = delete;
    RecoveryClaim& operator=(const RecoveryClaim&) = delete;

    // Newest first.
    const std::vector<RecoveryEntry>& Entries() const { return m_entries; }
    void Discard(const RecoveryEntry& entry);
    // Hands the copy over to the editor `owner`, which keeps it from now on.
    // The error, or empty.
    std::string Adopt(const RecoveryEntry& entry, const std::string& owner);

private:
    struct Held {
        std::string lockPath;
        int fd;
    };
    // Whether the editor `owner` has ended; if so its lock is held here from now on.
    bool TakeIfEnded(const std::string& owner);
    void Collect(std::time_t now, int keepDays);

    std::string m_folder;
    std::vector<RecoveryEntry> m_entries;
    std::vector<Held> m_held;
    std::vector<std::string> m_live;
};

}  // namespace fw
