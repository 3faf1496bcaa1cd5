#include "controls/PictureCtrl.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fw {

bool CPictureCtrl::Load(const std::string& path)
{
    Clear();
    std::error_code error;
    // A folder opens as a stream on Linux but yields no bytes; refuse it up front.
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        auto data = std::make_shared<std::vector<unsigned char>>(std::istreambuf_iterator<char>(in),
                                                                 std::istreambuf_iterator<char>());
        if (in.bad())
            return false;
        m_data = std::move(data);
        return true;
    } catch (const std::exception&) {
        // Out of memory for a huge file: the picture simply stays empty.
        Clear();
        return false;
    }
}

const std::vector<unsigned char>& CPictureCtrl::GetData() const
{
    static const std::vector<unsigned char> none;
    return m_data ? *m_data : none;
}

}  // namespace fw
