// Writes the application icon into a hicolor theme tree for the desktop: 16 and 32 pixels as
// drawn in icon group 128, and 48 pixels as the 32-pixel picture scaled by 1.5, so that the
// picture fills the larger size like the others. PNG is written with stored (uncompressed)
// deflate blocks: the files are tiny and no compression library is needed.
//
// Usage: make_icons <theme dir>        writes <dir>/<n>x<n>/apps/vellix.png for n = 16, 32, 48
//        make_icons --rgba <n> <file>  writes the n-pixel icon as raw RGBA bytes, for checking
//                                      the PNG against what a real decoder reads from it
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "res/resources.h"

namespace {

struct Rgba {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;  // 4 per pixel, rows top to bottom
};

const res::IconImage* FindImage(int size)
{
    const res::IconGroup* icon = res::FindIcon(128);
    if (!icon)
        return nullptr;
    for (const res::IconImage& image : icon->images)
        if (image.width == size && image.height == size)
            return &image;
    return nullptr;
}

// The drawn image of that size, or for 48 the 32-pixel one scaled by nearest neighbour.
Rgba Render(int size)
{
    const res::IconImage* image = FindImage(size == 48 ? 32 : size);
    if (!image)
        return {};
    Rgba out{size, size, std::vector<std::uint8_t>(static_cast<std::size_t>(size * size * 4))};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int sx = x * image->width / size;
            int sy = y * image->height / size;
            std::uint8_t* p = &out.bytes[static_cast<std::size_t>((y * size + x) * 4)];
            if (image->IsOpaque(sx, sy)) {
                res::Rgb c = image->At(sx, sy);
                p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
            }  // else left fully transparent black
        }
    }
    return out;
}

std::uint32_t Crc32(std::string_view data, std::uint32_t crc = 0)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (unsigned char b : data)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(std::string_view data)
{
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBig32(std::string& s, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// A zlib stream of stored deflate blocks, each at most 65535 bytes.
std::string StoredZlib(std::string_view raw)
{
    std::string z = {0x78, 0x01};
    std::size_t at = 0;
    do {
        std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw.substr(at, n));
        at += n;
    } while (at < raw.size());
    PutBig32(z, Adler32(raw));
    return z;
}

void PutChunk(std::string& png, std::string_view type, std::string_view data)
{
    PutBig32(png, static_cast<std::uint32_t>(data.size()));
    std::string body(type);
    body.append(data);
    png.append(body);
    PutBig32(png, Crc32(body));
}

std::string EncodePng(const Rgba& img)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBig32(header, static_cast<std::uint32_t>(img.width));
    PutBig32(header, static_cast<std::uint32_t>(img.height));
    header += {8, 6, 0, 0, 0};  // 8 bits per channel, RGBA, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    std::string raw;
    for (int y = 0; y < img.height; ++y) {
        raw.push_back(0);  // no row filter
        raw.append(reinterpret_cast<const char*>(&img.bytes[static_cast<std::size_t>(y * img.width * 4)]),
                   static_cast<std::size_t>(img.width * 4));
    }
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", "");
    return png;
}

bool WriteFile(const std::filesystem::path& p, std::string_view bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--rgba") {
        Rgba img = Render(std::stoi(std::string(args[1])));
        if (img.bytes.empty())
            return 1;
        std::string_view bytes(reinterpret_cast<const char*>(img.bytes.data()), img.bytes.size());
        return WriteFile(std::string(args[2]), bytes) ? 0 : 1;
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: make_icons <theme dir> | make_icons --rgba <size> <file>\n");
        return 2;
    }
    for (int size : {16, 32, 48}) {
        Rgba img = Render(size);
        std::string n = std::to_string(size);
        std::filesystem::path file = std::filesystem::path(args[0]) / (n + "x" + n) / "apps" / "vellix.png";
        if (img.bytes.empty() || !WriteFile(file, EncodePng(img))) {
            std::fprintf(stderr, "make_icons: cannot make %s\n", file.c_str());
            return 1;
        }
    }
    return 0;
}
