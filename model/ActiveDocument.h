#pragma once
// The path of the form file being edited or read, for elements that resolve
// file names against the form file's folder (pictures). The document sets it
// while it reads; the editor sets it when a view becomes active.

#include <string>

namespace fw {

void SetActiveDocumentPath(const std::string& path);
const std::string& GetActiveDocumentPath();
// While one lives, IsFileOnDisk remembers its answers: a form names the same
// picture for many elements. Held for one read only, as files change on disk.
class FileLookupsRemembered {
public:
    FileLookupsRemembered();
    ~FileLookupsRemembered();
    FileLookupsRemembered(const FileLookupsRemembered&) = delete;
    FileLookupsRemembered& operator=(const FileLookupsRemembered&) = delete;
};
// Whether the path names a regular file.
bool IsFileOnDisk(const std::string& path);

// The folder part of a path ("" when there is none); "\" and "/" both separate folders.
std::string FolderOf(const std::string& path);
// The file name and extension of a path, without its folders.
std::string FileNameOf(const std::string& path);

}  // namespace fw
