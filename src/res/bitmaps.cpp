// The lamp and bit-button images, 129 to 132, drawn as text: one character per pixel.
#include <span>
#include <string_view>

#include "res/catalog.h"
#include "res/pixmap.h"
#include "res/resource.h"

namespace res {

namespace {

using pixmap::Ink;
using pixmap::Paint;

constexpr Ink kLegend[] = {
    {'K', pixmap::kBlack},
    {'L', pixmap::kLightGrey},
    {'D', pixmap::kDarkGrey},
    {'Y', pixmap::kYellow},
    {'W', pixmap::kWhite},
};

// Lit lamp: an 8 x 8 yellow face in a two-pixel bevel, light on top and left, dark on bottom
// and right.
constexpr std::string_view kLampOnRows[] = {
    "WWWWWWWWWWDD",
    "WWWWWWWWWWDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "WWYYYYYYYYDD",
    "DDDDDDDDDDDD",
    "DDDDDDDDDDDD",
};

// Unlit lamp: the same bevel around a light grey face.
constexpr std::string_view kLampOffRows[] = {
    "WWWWWWWWWWDD",
    "WWWWWWWWWWDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "WWLLLLLLLLDD",
    "DDDDDDDDDDDD",
    "DDDDDDDDDDDD",
};

// Set face of a bit button: a black dot on light grey.
constexpr std::string_view kButtonSetRows[] = {
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLKKKLLLL",
    "LLLKKKKKLLL",
    "LLLKKKKKLLL",
    "LLLKKKKKLLL",
    "LLLLKKKLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
};

// Clear face of a bit button: plain light grey.
constexpr std::string_view kButtonClearRows[] = {
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
    "LLLLLLLLLLL",
};

constexpr auto kLampOn = Paint<12>(kLampOnRows, kLegend);
constexpr auto kLampOff = Paint<12>(kLampOffRows, kLegend);
constexpr auto kButtonSet = Paint<11>(kButtonSetRows, kLegend);
constexpr auto kButtonClear = Paint<11>(kButtonClearRows, kLegend);

template <typename Image>
constexpr Bitmap MakeBitmap(int id, const Image& image) {
    return Bitmap{id, Image::kWidth, Image::kHeight, image.pixels};
}

constexpr Bitmap kBitmaps[] = {
    MakeBitmap(IDB_LAMP_ON, kLampOn),
    MakeBitmap(IDB_LAMP_OFF, kLampOff),
    MakeBitmap(IDB_BUTTON_SET, kButtonSet),
    MakeBitmap(IDB_BUTTON_CLEAR, kButtonClear),
};

}  // namespace

std::span<const Bitmap> catalog::Bitmaps() { return kBitmaps; }

}  // namespace res
