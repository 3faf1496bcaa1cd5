#pragma once
// Holds the bytes of a picture file. Decoding and drawing belong to the render
// layer, which works from the kept bytes so the file is read only once.

#include <memory>
#include <string>
#include <vector>

namespace fw {

class CPictureCtrl {
public:
    // Reads the whole file. On failure the holder is left empty, so an element
    // whose picture is missing shows no stale picture.
    bool Load(const std::string& path);
    bool IsLoaded() const { return m_data != nullptr; }
    const std::vector<unsigned char>& GetData() const;
    // Takes the other holder's bytes without reading anything; the bytes are
    // never changed, so copies of an element can share them.
    void Share(const CPictureCtrl& other) { m_data = other.m_data; }
    void Clear() { m_data.reset(); }

private:
    std::shared_ptr<const std::vector<unsigned char>> m_data;
};

}  // namespace fw
