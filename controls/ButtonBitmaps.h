#pragma once
// Bitmaps of command buttons, looked up by resource name in resource packs.
//
// A pack is a folder of image files, each named after its resource (any case;
// png, bmp, ico, gif, jpg/jpeg or tif/tiff). The packs are the folders the
// environment lists as add-in libraries, in that order, at most 100 of them
// (a folder that cannot be read is skipped and takes no place), and after them
// always the shipped pack, dataDir()/resources: an add-in pack can replace a
// shipped bitmap, and no list can crowd the shipped ones out. When one folder
// holds a name in several formats, the first extension of the list above wins.

#include "services/Geometry.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace fw {

// A bitmap as it is drawn: the image file's bytes and its pixel size.
struct ButtonBitmap {
    std::vector<std::uint8_t> data;  // empty when there is none
    IntSize size{0, 0};              // 0 x 0 when the bytes do not decode
};

class ResourceLibraries {
public:
    static constexpr int MaxLibraries = 100;

    static ResourceLibraries& instance();

    // Forgets the scanned folders and the loaded bitmaps; the next lookup scans
    // again (tests change the folders).
    void Reload();

    // The packs in search order, the shipped one last.
    const std::vector<std::string>& Folders();

    // See LoadButtonBitmap; the answer is kept until Reload(), so repaints read
    // and decode nothing.
    const ButtonBitmap& Bitmap(const std::string& kind, const std::string& key);

private:
    ResourceLibraries() = default;

    // Upper-cased resource name -> file.
    using Pack = std::unordered_map<std::string, std::string>;

    void scan();

    bool m_scanned = false;
    std::vector<Pack> m_packs;
    std::vector<std::string> m_folders;  // of m_packs, in the same order
    std::map<std::string, ButtonBitmap> m_bitmaps;
};

// The image bytes of a button bitmap; empty when there is none. Kind "FILE"
// reads the file globalCfgPath()/Images/key. Any other kind names the resource
// key, or kind + "_" + key when kind is not empty, upper-cased, and the first
// pack holding it answers.
std::vector<std::uint8_t> LoadButtonBitmap(const std::string& kind, const std::string& key);

}  // namespace fw
