#include "model/ActiveDocument.h"

#include <filesystem>
#include <memory>
#include <unordered_map>

namespace fw {

namespace {
std::string g_activeDocumentPath;
// The answers kept while a FileLookupsRemembered lives.
std::unique_ptr<std::unordered_map<std::string, bool>> g_fileLookups;

std::string::size_type LastSeparator(const std::string& path)
{
    return path.find_last_of("/\\");
}
}  // namespace

void SetActiveDocumentPath(const std::string& path)
{
    g_activeDocumentPath = path;
}

const std::string& GetActiveDocumentPath()
{
    return g_activeDocumentPath;
}

FileLookupsRemembered::FileLookupsRemembered()
{
    g_fileLookups = std::make_unique<std::unordered_map<std::string, bool>>();
}

FileLookupsRemembered::~FileLookupsRemembered()
{
    g_fileLookups.reset();
}

bool IsFileOnDisk(const std::string& path)
{
    if (path.empty())
        return false;
    if (g_fileLookups) {
        if (auto known = g_fileLookups->find(path); known != g_fileLookups->end())
            return known->second;
    }
    std::error_code error;
    const bool file = std::filesystem::is_regular_file(path, error);
    if (g_fileLookups)
        g_fileLookups->emplace(path, file);
    return file;
}

std::string FolderOf(const std::string& path)
{
    auto separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

std::string FileNameOf(const std::string& path)
{
    auto separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace fw
