#include "model/ActiveDocument.h"

namespace fw {

namespace {
std::string g_activeDocumentPath;

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
