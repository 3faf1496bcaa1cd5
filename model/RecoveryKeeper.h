#pragma once
// Keeps a recovery copy of every open file with unsaved changes: the whole
// file as a save would write it, serialised by the caller's thread and
// written by the copy writer's. Once the file has no unsaved changes (saved,
// or taken back to how it was saved) its copy goes.

#include "services/Recovery.h"
#include "services/RecoveryWriter.h"

#include <map>
#include <string>
#include <vector>

namespace fw {

class FormDefinitionDocument;

class RecoveryKeeper {
public:
    explicit RecoveryKeeper(std::string folder);
    // Finishes the writes asked for. Copies of files still open stay: the
    // editor ends without their changes saved.
    ~RecoveryKeeper();
    RecoveryKeeper(const RecoveryKeeper&) = delete;
    RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

    // What the editor knows of an open file beyond its content.
    struct FileFacts {
        std::string path;  // empty for a file never saved
        std::string name;  // as the editor shows it
        bool readInPart = false;
    };
    // One look at an open file: a new copy when it changed since the last
    // one, none once it has no unsaved changes.
    void Look(FormDefinitionDocument& doc, const FileFacts& facts);
    // The file was closed. With unsaved changes still (an end nobody
    // confirmed) its copy stays for the next start; without, it goes.
    void Forget(const FormDefinitionDocument& doc);
    // The file was restored from `copyPath`, which is its copy from now on.
    void Adopt(const FormDefinitionDocument& doc, const std::string& copyPath);

    // This editor's name on its copies; empty when the folder cannot be used.
    const std::string& Owner();
    const std::string& Folder() const { return m_owner.Folder(); }
    // The copy of an open file; empty when it has none.
    std::string CopyOf(const FormDefinitionDocument& doc) const;
    // Waits for the writes asked for so far.
    void Flush() { m_writer.Flush(); }
    std::string LastError() const;

private:
    struct Slot {
        std::string copyPath;
        std::vector<unsigned long long> stamp;
    };

    // Declared in this order so that the writer finishes before the lock goes.
    RecoveryOwner m_owner;
    std::string m_startError;
    bool m_started = false;
    RecoveryWriter m_writer;
    std::map<const FormDefinitionDocument*, Slot> m_slots;
};

}  // namespace fw
