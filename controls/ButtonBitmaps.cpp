#include "controls/ButtonBitmaps.h"

#include "controls/PictureCtrl.h"
#include "render/ImageSize.h"
#include "services/Collection.h"
#include "services/Environment.h"
#include "services/Strings.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>

namespace fw {

namespace {

namespace fs = std::filesystem;

// In order of preference when a pack holds one name in several formats.
constexpr std::array<const char*, 8> ImageExtensions = {".png", ".bmp",  ".ico", ".gif",
                                                        ".jpg", ".jpeg", ".tif", ".tiff"};

// The place of an extension in the list above; -1 for a file that is no image.
int ExtensionRank(std::string extension)
{
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (std::size_t i = 0; i < ImageExtensions.size(); ++i)
        if (extension == ImageExtensions[i])
            return static_cast<int>(i);
    return -1;
}

// False when the folder cannot be listed.
bool ReadPackFolder(const std::string& folder, std::unordered_map<std::string, std::string>& files)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return false;
    std::vector<fs::path> paths;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        if (it->is_regular_file(error))
            paths.push_back(it->path());
    }
    // Sorted, so a name that differs only in case picks the same file every run.
    std::sort(paths.begin(), paths.end());
    std::unordered_map<std::string, int> ranks;
    for (const fs::path& path : paths) {
        const int rank = ExtensionRank(path.extension().string());
        if (rank < 0)
            continue;
        const std::string name = toUpper(path.stem().string());
        auto known = ranks.find(name);
        if (known != ranks.end() && known->second <= rank)
            continue;
        ranks[name] = rank;
        files[name] = path.string();
    }
    return true;
}

std::vector<std::string> AddInFolders()
{
    std::vector<std::string> folders;
    Collection<std::string> listed;
    try {
        Environment::instance().getDllFiles(listed);
    } catch (const std::exception&) {
        // Out of memory while listing: go on with the folders listed so far.
    }
    for (std::size_t i = 0; i < listed.count(); ++i)
        folders.push_back(*listed.at(i));
    listed.deleteAll();
    return folders;
}

std::vector<std::uint8_t> ReadImageFile(const std::string& path)
{
    CPictureCtrl file;
    if (!file.Load(path))
        return {};
    return file.GetData();
}

}  // namespace

ResourceLibraries& ResourceLibraries::instance()
{
    static ResourceLibraries libraries;
    return libraries;
}

void ResourceLibraries::Reload()
{
    m_scanned = false;
    m_packs.clear();
    m_folders.clear();
    m_bitmaps.clear();
}

void ResourceLibraries::scan()
{
    if (m_scanned)
        return;
    m_scanned = true;
    auto add = [this](const std::string& folder) {
        Pack pack;
        if (!ReadPackFolder(folder, pack))
            return;
        m_folders.push_back(folder);
        m_packs.push_back(std::move(pack));
    };
    for (const std::string& folder : AddInFolders()) {
        if (m_packs.size() >= static_cast<std::size_t>(MaxLibraries))
            break;
        add(folder);
    }
    add(Environment::instance().dataDir() + "/resources");
}

const std::vector<std::string>& ResourceLibraries::Folders()
{
    scan();
    return m_folders;
}

const ButtonBitmap& ResourceLibraries::Bitmap(const std::string& kind, const std::string& key)
{
    scan();
    std::string cacheKey = kind;
    cacheKey += '\0';
    cacheKey += key;
    auto cached = m_bitmaps.find(cacheKey);
    if (cached != m_bitmaps.end())
        return cached->second;

    ButtonBitmap bitmap;
    if (kind == "FILE") {
        // Keys may be written with either separator.
        bitmap.data = ReadImageFile(Environment::instance().globalCfgPath() + "/Images/" + replaceAll(key, "\\", "/"));
    } else {
        const std::string name = toUpper(kind.empty() ? key : kind + "_" + key);
        for (const Pack& pack : m_packs) {
            auto found = pack.find(name);
            if (found == pack.end())
                continue;
            bitmap.data = ReadImageFile(found->second);
            // A file gone since the scan is no hit; a later pack may have one.
            if (!bitmap.data.empty())
                break;
        }
    }
    bitmap.size = ImageDataSize(bitmap.data);
    return m_bitmaps.emplace(std::move(cacheKey), std::move(bitmap)).first->second;
}

std::vector<std::uint8_t> LoadButtonBitmap(const std::string& kind, const std::string& key)
{
    return ResourceLibraries::instance().Bitmap(kind, key).data;
}

}  // namespace fw
