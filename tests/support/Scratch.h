#pragma once
// Helpers for tests that touch files, the process environment or the shared
// object model; each puts back what it changed.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fw::test {

// A fresh folder under the temporary directory, removed with its contents.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes `text` to `name` below the folder (making folders) and answers the full path.
    std::string Put(const std::string& name, const std::string& text) const;
    // The names in the folder itself, hidden ones included, sorted.
    std::vector<std::string> Names() const;

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);  // "" when it cannot be read

// Files this process writes cannot grow past `bytes` while the scope lasts:
// a write beyond fails with "File too large", for root as well.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(unsigned long bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    unsigned long m_old;
    void (*m_oldHandler)(int);
};

// Sets or unsets process variables; the old values return, and the shared
// Environment re-reads them, when the scope ends.
class ScopedEnv {
public:
    ~ScopedEnv();

    ScopedEnv& Set(const char* name, const std::string& value);
    ScopedEnv& Unset(const char* name);

private:
    void Save(const char* name);
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

std::string DemoModelPath();

// Points the class factory at the shipped demo model; at the end the model is
// dropped and the factory follows the environment again.
class DemoModel {
public:
    DemoModel();
    ~DemoModel();
};

}  // namespace fw::test
