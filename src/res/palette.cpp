// The standard 16-colour palette shared by every bitmap and icon, and pixel colour lookup.
#include <array>
#include <cassert>
#include <cstddef>

#include "res/types.h"

namespace res {

namespace {

constexpr std::array<Rgb, 16> kPalette = {{
    {0, 0, 0},        // 0 black
    {128, 0, 0},      // 1 maroon
    {0, 128, 0},      // 2 green
    {128, 128, 0},    // 3 olive
    {0, 0, 128},      // 4 navy
    {128, 0, 128},    // 5 purple
    {0, 128, 128},    // 6 teal
    {192, 192, 192},  // 7 light grey
    {128, 128, 128},  // 8 dark grey
    {255, 0, 0},      // 9 red
    {0, 255, 0},      // 10 lime
    {255, 255, 0},    // 11 yellow
    {0, 0, 255},      // 12 blue
    {255, 0, 255},    // 13 fuchsia
    {0, 255, 255},    // 14 aqua
    {255, 255, 255},  // 15 white
}};

std::size_t PixelOffset(int x, int y, int width, [[maybe_unused]] int height) {
    assert(x >= 0 && x < width && y >= 0 && y < height);
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

}  // namespace

// A 4-bit image cannot hold an index above 15; such a value is drawn black rather than read
// past the table.
Rgb PaletteColour(std::uint8_t index) {
    return index < kPalette.size() ? kPalette[index] : kPalette[0];
}

Rgb Bitmap::At(int x, int y) const {
    return PaletteColour(pixels[PixelOffset(x, y, width, height)]);
}

Rgb IconImage::At(int x, int y) const {
    return PaletteColour(pixels[PixelOffset(x, y, width, height)]);
}

}  // namespace res
