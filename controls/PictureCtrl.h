#pragma once
// Holds the bytes of a picture file. Decoding and drawing belong to the render
// layer, which works from the kept bytes so the file is read only once.

#include <string>
#include <vector>

namespace fw {

class CPictureCtrl {
public:
    // Reads the whole file. On failure the holder is left empty, so an element
    // whose picture is missing shows no stale picture.
    bool Load(const std::string& path);
    bool IsLoaded() const { return m_loaded; }
    const std::vector<unsigned char>& GetData() const { return m_data; }
    void Clear();

private:
    std::vector<unsigned char> m_data;
    bool m_loaded = false;
};

}  // namespace fw
