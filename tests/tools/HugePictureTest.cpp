// A form whose picture is huge in pixels but small on disk is drawn by
// formwright-tool render in little memory: the picture's dimensions are read
// before its pixels, and it is never decoded past the pixel cap.

#include "tools/FormTool.h"

#include "support/Scratch.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace fw;

namespace {

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string typed = type + data;
    png += typed;
    PutBigEndian(png, Crc32(typed));
}

// A black PNG of one bit a pixel. Its rows, filter byte included, are all
// zero bytes, so the compressed stream is a zero followed by copies of the
// 258 bytes before, each 13 bits in the fixed code of the format.
std::string BlackPng(std::uint32_t width, std::uint32_t height)
{
    const std::uint64_t raw = static_cast<std::uint64_t>(height) * (1 + (width + 7) / 8);
    std::string stream = "\x78\x01";
    std::uint64_t bits = 0;
    int count = 0;
    auto put = [&](std::uint32_t value, int length, bool huffman) {
        for (int i = 0; i < length; ++i) {
            const int shift = huffman ? length - 1 - i : i;  // codes go out from their top bit
            bits |= static_cast<std::uint64_t>((value >> shift) & 1u) << count;
            if (++count == 8) {
                stream += static_cast<char>(bits);
                bits = 0;
                count = 0;
            }
        }
    };
    put(1, 1, false);    // the last block,
    put(1, 2, false);    // in the fixed code
    put(0x30, 8, true);  // literal 0
    std::uint64_t left = raw - 1;
    for (; left >= 258; left -= 258) {
        put(0xC5, 8, true);  // length 258
        put(0, 5, true);     // distance 1
    }
    for (; left > 0; --left)
        put(0x30, 8, true);
    put(0, 7, true);  // end of block
    if (count > 0)
        stream += static_cast<char>(bits);
    // Adler-32 of zero bytes: the first sum stays 1, the second counts them.
    PutBigEndian(stream, static_cast<std::uint32_t>((raw % 65521) << 16 | 1));

    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += std::string("\x01\x00\x00\x00\x00", 5);  // 1 bit, grey, no interlace
    std::string png = "\x89PNG\r\n\x1A\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", stream);
    PutChunk(png, "IEND", "");
    return png;
}

}  // namespace

TEST(HugePicture, RenderDrawsAFormWithAHugePictureInLittleMemory)
{
    test::ScratchDir dir;
    // 30000 x 30000 pixels: under a megabyte on disk, gigabytes decoded whole.
    dir.Put("huge.png", BlackPng(30000, 30000));
    dir.Put("small.png", BlackPng(16, 16));
    const std::string form = dir.Put("PUMP_Huge.xml", R"(<?xml version="1.0" encoding="utf-8" standalone="yes"?>
<?ORVANEX-application progid="Forms.OEF" version="0.1"?>
<FormDefinition><Styles/><Dialog title="EDIT_PUMP" size="700,600"><Controls>
<Image pos="10,10" size="600,500">huge.png</Image>
<Image pos="620,10" size="40,40">small.png</Image>
</Controls></Dialog></FormDefinition>
)");

    // In a child, whose peak memory is its own.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::ostringstream out;
        std::ostringstream err;
        ::_exit(RunFormTool({"render", form, "-o", dir.Path() + "/out.png"}, out, err));
    }
    int status = 0;
    struct rusage usage {};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_LT(usage.ru_maxrss, 300L * 1024) << "peak KB";

    // The small picture is drawn: the written one is a picture like any other.
    cairo_surface_t* drawn = cairo_image_surface_create_from_png((dir.Path() + "/out.png").c_str());
    ASSERT_EQ(cairo_surface_status(drawn), CAIRO_STATUS_SUCCESS);
    cairo_surface_flush(drawn);
    const unsigned char* pixels = cairo_image_surface_get_data(drawn);
    const auto centre =
        reinterpret_cast<const std::uint32_t*>(pixels + 30 * cairo_image_surface_get_stride(drawn))[640];
    EXPECT_EQ(centre & 0xFFFFFFu, 0u) << std::hex << centre;
    cairo_surface_destroy(drawn);
}
