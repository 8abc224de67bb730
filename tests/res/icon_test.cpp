// Icon group 128: image sizes, palette range, masks, and the colours the picture is made of.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resources.h"
#include "res/rgb_print.h"

namespace {

using res::Rgb;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kDarkGrey{128, 128, 128};

bool IsGrey(Rgb c) { return c == kLightGrey || c == kDarkGrey; }
bool IsWireColour(Rgb c) { return c == kRed || c == kYellow || c == kBlue; }

struct Size {
    int width, height;
};

constexpr Size kSizes[] = {{32, 32}, {16, 16}, {60, 32}};

const res::IconGroup& AppIcon() {
    const res::IconGroup* icon = res::FindIcon(128);
    EXPECT_NE(icon, nullptr);
    static const res::IconGroup kEmpty{0, {}};
    return icon != nullptr ? *icon : kEmpty;
}

std::string Name(const res::IconImage& image) {
    return std::to_string(image.width) + "x" + std::to_string(image.height);
}

TEST(AppIcon, ThreeImagesOfTheStatedSizes) {
    const res::IconGroup& icon = AppIcon();
    EXPECT_EQ(icon.id, 128);
    ASSERT_EQ(icon.images.size(), std::size(kSizes));
    for (std::size_t i = 0; i < std::size(kSizes); ++i) {
        const res::IconImage& image = icon.images[i];
        EXPECT_EQ(image.width, kSizes[i].width) << "image " << i;
        EXPECT_EQ(image.height, kSizes[i].height) << "image " << i;
        const auto area = static_cast<std::size_t>(kSizes[i].width * kSizes[i].height);
        EXPECT_EQ(image.pixels.size(), area) << "image " << i;
        EXPECT_EQ(image.opaque.size(), area) << "image " << i;
    }
}

TEST(AppIcon, SixteenColourPixelsAndTwoValuedMask) {
    for (const res::IconImage& image : AppIcon().images) {
        SCOPED_TRACE(Name(image));
        int opaque = 0;
        int transparent = 0;
        for (std::uint8_t index : image.pixels) EXPECT_LT(index, 16);
        for (std::uint8_t bit : image.opaque) {
            EXPECT_TRUE(bit == 0 || bit == 1) << int{bit};
            (bit != 0 ? opaque : transparent) += 1;
        }
        EXPECT_GT(opaque, 0);
        EXPECT_GT(transparent, 0);
    }
}

TEST(AppIcon, DrawnColoursAppearInEveryImage) {
    struct Wanted {
        const char* name;
        bool (*matches)(Rgb);
    };
    const Wanted kWanted[] = {
        {"red", [](Rgb c) { return c == kRed; }},     {"yellow", [](Rgb c) { return c == kYellow; }},
        {"blue", [](Rgb c) { return c == kBlue; }},   {"black", [](Rgb c) { return c == kBlack; }},
        {"white", [](Rgb c) { return c == kWhite; }}, {"grey", IsGrey},
    };
    for (const res::IconImage& image : AppIcon().images) {
        for (const Wanted& wanted : kWanted) {
            bool found = false;
            for (int y = 0; y < image.height; ++y) {
                for (int x = 0; x < image.width; ++x) found = found || (image.IsOpaque(x, y) && wanted.matches(image.At(x, y)));
            }
            EXPECT_TRUE(found) << Name(image) << " has no drawn " << wanted.name << " pixel";
        }
    }
}

// Masked pixels must not carry colour: where the mask is clear, the colour index stays 0.
TEST(AppIcon, TransparentPixelsCarryNoColour) {
    for (const res::IconImage& image : AppIcon().images) {
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if (!image.IsOpaque(x, y)) {
                    EXPECT_EQ(image.At(x, y), kBlack) << Name(image) << " (" << x << "," << y << ")";
                }
            }
        }
    }
}

// The shell sits on top: the first drawn row holds no wire colour. The wires reach the bottom
// edge: read left to right, the colour runs of the last row go red, yellow, blue, black, white,
// and start again.
TEST(AppIcon, ShellAboveFanOfWiresInColourOrder) {
    const Rgb kOrder[] = {kRed, kYellow, kBlue, kBlack, kWhite};
    for (const res::IconImage& image : AppIcon().images) {
        SCOPED_TRACE(Name(image));
        int top = 0;
        while (top < image.height) {
            bool drawn = false;
            for (int x = 0; x < image.width; ++x) drawn = drawn || image.IsOpaque(x, top);
            if (drawn) break;
            ++top;
        }
        ASSERT_LT(top, image.height);
        for (int x = 0; x < image.width; ++x) {
            if (image.IsOpaque(x, top)) {
                EXPECT_FALSE(IsWireColour(image.At(x, top))) << "x " << x;
            }
        }

        const int bottom = image.height - 1;
        std::vector<Rgb> runs;
        for (int x = 0; x < image.width; ++x) {
            if (!image.IsOpaque(x, bottom)) continue;
            const Rgb c = image.At(x, bottom);
            const bool continues = x > 0 && image.IsOpaque(x - 1, bottom) && image.At(x - 1, bottom) == c;
            if (!continues) runs.push_back(c);
        }
        ASSERT_GE(runs.size(), std::size(kOrder));
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i], kOrder[i % std::size(kOrder)]) << "wire " << i;
        }
    }
}

// Only the wide image shows the mounting flanges: grey plates at both outer edges of the upper
// half, each with a black screw hole.
TEST(AppIcon, WideImageShowsFlangesWithScrewHoles) {
    const res::IconGroup& icon = AppIcon();
    ASSERT_EQ(icon.images.size(), 3u);
    const res::IconImage& wide = icon.images[2];
    ASSERT_EQ(wide.width, 60);
    const int kEdge = 8;
    for (const int from : {0, wide.width - kEdge}) {
        bool grey = false;
        bool hole = false;
        for (int y = 0; y < wide.height / 2; ++y) {
            for (int x = from; x < from + kEdge; ++x) {
                if (!wide.IsOpaque(x, y)) continue;
                grey = grey || IsGrey(wide.At(x, y));
                hole = hole || wide.At(x, y) == kBlack;
            }
        }
        EXPECT_TRUE(grey) << "flange at column " << from;
        EXPECT_TRUE(hole) << "screw hole at column " << from;
    }
}

}  // namespace
