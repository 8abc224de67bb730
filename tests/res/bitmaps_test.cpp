// The palette and the four lamp and button images, each pixel checked against the drawing rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "res/resources.h"
#include "res/rgb_print.h"

namespace {

using res::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kDarkGrey{128, 128, 128};

TEST(Palette, StandardSixteenColours) {
    constexpr Rgb kExpected[16] = {
        {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(res::PaletteColour(static_cast<std::uint8_t>(i)), kExpected[i]) << "index " << i;
    }
}

TEST(Palette, IndexBeyondTableIsBlack) {
    for (int i : {16, 17, 128, 255}) {
        EXPECT_EQ(res::PaletteColour(static_cast<std::uint8_t>(i)), kBlack) << "index " << i;
    }
}

// Lamp: two-pixel bevel, white on top and left, dark grey on bottom and right (the dark edge
// wins at the top-right and bottom-left corners), around an 8 x 8 face.
Rgb Lamp(int x, int y, Rgb face) {
    if (y >= 10 || x >= 10) return kDarkGrey;
    if (y < 2 || x < 2) return kWhite;
    return face;
}

Rgb LampOn(int x, int y) { return Lamp(x, y, kYellow); }
Rgb LampOff(int x, int y) { return Lamp(x, y, kLightGrey); }

Rgb ButtonSet(int x, int y) {
    const bool dot = ((y == 3 || y == 7) && x >= 4 && x <= 6) || (y >= 4 && y <= 6 && x >= 3 && x <= 7);
    return dot ? kBlack : kLightGrey;
}

Rgb ButtonClear(int, int) { return kLightGrey; }

struct ImageRule {
    int id;
    int width, height;
    Rgb (*colourAt)(int x, int y);
};

constexpr ImageRule kImages[] = {
    {129, 12, 12, LampOn},
    {130, 12, 12, LampOff},
    {131, 11, 11, ButtonSet},
    {132, 11, 11, ButtonClear},
};

TEST(Bitmaps, EveryPixelFollowsItsRule) {
    for (const ImageRule& rule : kImages) {
        SCOPED_TRACE("bitmap " + std::to_string(rule.id));
        const res::Bitmap* bitmap = res::FindBitmap(rule.id);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->id, rule.id);
        ASSERT_EQ(bitmap->width, rule.width);
        ASSERT_EQ(bitmap->height, rule.height);
        ASSERT_EQ(bitmap->pixels.size(), static_cast<std::size_t>(rule.width * rule.height));
        for (int y = 0; y < rule.height; ++y) {
            for (int x = 0; x < rule.width; ++x) {
                EXPECT_EQ(bitmap->At(x, y), rule.colourAt(x, y)) << "pixel (" << x << "," << y << ")";
            }
        }
    }
}

TEST(Bitmaps, PixelsAreSixteenColourIndices) {
    for (const ImageRule& rule : kImages) {
        const res::Bitmap* bitmap = res::FindBitmap(rule.id);
        ASSERT_NE(bitmap, nullptr) << rule.id;
        for (std::uint8_t index : bitmap->pixels) EXPECT_LT(index, 16) << "bitmap " << rule.id;
    }
}

// The dot counts 3 + 3 * 5 + 3 black pixels; a shifted or missing row changes the sum.
TEST(Bitmaps, SetFaceDotHasTwentyOnePixels) {
    const res::Bitmap* set = res::FindBitmap(131);
    ASSERT_NE(set, nullptr);
    int black = 0;
    for (int y = 0; y < set->height; ++y) {
        for (int x = 0; x < set->width; ++x) black += set->At(x, y) == kBlack ? 1 : 0;
    }
    EXPECT_EQ(black, 21);
}

}  // namespace
