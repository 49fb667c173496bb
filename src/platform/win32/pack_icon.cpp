// Build step for the Windows program file: packs PNG pictures of one icon
// at several sizes into a single .ico file, each picture stored as the PNG
// itself (Windows reads PNG-compressed icon images since Vista).
//   pack_icon <out.ico> <png>...
// Runs where the build runs, on the output of render_artwork.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t bigEndian32(const std::string &bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

void putLittleEndian(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i, value >>= 8)
        out += static_cast<char>(value & 0xff);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fputs("usage: pack_icon <out.ico> <png>...\n", stderr);
        return 2;
    }
    const int count = argc - 2;
    std::string header, images;
    putLittleEndian(header, 0, 2); // reserved
    putLittleEndian(header, 1, 2); // an icon, not a cursor
    putLittleEndian(header, count, 2);
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string png{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        // The signature, then the IHDR chunk with width and height.
        const bool isPng = png.size() > 24 && png.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0
                           && png.compare(12, 4, "IHDR") == 0;
        const std::uint32_t width = isPng ? bigEndian32(png, 16) : 0;
        const std::uint32_t height = isPng ? bigEndian32(png, 20) : 0;
        if (width == 0 || height == 0 || width > 256 || height > 256) {
            std::fprintf(stderr, "pack_icon: %s is not a PNG picture of at most 256 x 256 pixels\n", argv[i]);
            return 1;
        }
        header += static_cast<char>(width & 0xff); // 256 is written as 0
        header += static_cast<char>(height & 0xff);
        putLittleEndian(header, 0, 2); // no palette, reserved
        putLittleEndian(header, 1, 2); // planes
        putLittleEndian(header, 32, 2); // bits per pixel
        putLittleEndian(header, static_cast<std::uint32_t>(png.size()), 4);
        putLittleEndian(header, static_cast<std::uint32_t>(6 + 16 * count + images.size()), 4);
        images += png;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << header << images;
    out.close();
    if (!out) {
        std::fprintf(stderr, "pack_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
