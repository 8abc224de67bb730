// Turns images written as rows of characters into palette-index and mask arrays at compile time,
// so the pictures stay readable in the source and a mistyped row fails the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace res::pixmap {

// Palette indices the pictures use (standard 16-colour order).
inline constexpr std::uint8_t kBlack = 0;
inline constexpr std::uint8_t kLightGrey = 7;
inline constexpr std::uint8_t kDarkGrey = 8;
inline constexpr std::uint8_t kRed = 9;
inline constexpr std::uint8_t kYellow = 11;
inline constexpr std::uint8_t kBlue = 12;
inline constexpr std::uint8_t kWhite = 15;

// One character of a picture: the palette index it stands for and whether it is drawn.
struct Ink {
    char symbol;
    std::uint8_t index;
    bool opaque = true;
};

template <std::size_t W, std::size_t H>
struct Image {
    static constexpr int kWidth = static_cast<int>(W);
    static constexpr int kHeight = static_cast<int>(H);
    std::array<std::uint8_t, W * H> pixels{};
    std::array<std::uint8_t, W * H> opaque{};
};

// The throws below are never reached at run time: in a constant evaluation they stop the build.
template <std::size_t W, std::size_t H, std::size_t N>
consteval Image<W, H> Paint(const std::string_view (&rows)[H], const Ink (&legend)[N]) {
    Image<W, H> image;
    for (std::size_t y = 0; y < H; ++y) {
        if (rows[y].size() != W) throw "picture row has the wrong width";
        for (std::size_t x = 0; x < W; ++x) {
            const Ink* ink = nullptr;
            for (const Ink& candidate : legend) {
                if (candidate.symbol == rows[y][x]) ink = &candidate;
            }
            if (ink == nullptr) throw "picture uses a character missing from its legend";
            if (ink->index > 15) throw "palette index out of range";
            image.pixels[y * W + x] = ink->index;
            image.opaque[y * W + x] = ink->opaque ? 1 : 0;
        }
    }
    return image;
}

}  // namespace res::pixmap
