// Plain data shapes of the resource script: dialog templates, images, icons, strings.
// Nothing here has behaviour; the framework and the front-ends read these tables.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace res {

// Kinds of control that the templates use.
enum class ControlKind {
    StaticText,     // left-aligned static text
    GroupBox,       // framed group with a title
    BitmapStatic,   // static showing a bitmap (lamps)
    IconStatic,     // static showing an icon
    PushButton,
    DefPushButton,  // the dialog's default push button
    BitmapButton,   // push button that shows only its image (bit buttons)
    AutoCheckBox,
    Edit,
    DropDownList,   // drop-down list without edit field
};

struct Rect {
    int x, y, cx, cy;  // dialog units
};

struct ControlItem {
    int id;                 // -1 (0xFFFF) for controls never addressed
    ControlKind kind;
    std::uint32_t style;    // full window style word as in the template
    std::string_view text;  // caption text; empty for none
    Rect rect;
    int imageId;            // bitmap or icon resource shown at creation, 0 for none
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    std::uint32_t style;
    std::uint32_t exStyle;
    Rect rect;
    std::string_view fontName;
    int fontPoints;
    std::span<const ControlItem> controls;  // template order = creation order = tab order
};

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(Rgb, Rgb) = default;
};

// A 16-colour image: one palette index per pixel, rows top to bottom.
struct Bitmap {
    int id;
    int width, height;
    std::span<const std::uint8_t> pixels;  // width * height palette indices, 0..15
    Rgb At(int x, int y) const;
};

// One image of an icon group: colour pixels plus a transparency mask.
struct IconImage {
    int width, height;
    std::span<const std::uint8_t> pixels;   // palette indices, 0..15
    std::span<const std::uint8_t> opaque;   // 1 where the pixel is drawn, 0 where transparent
    Rgb At(int x, int y) const;
    bool IsOpaque(int x, int y) const { return opaque[static_cast<std::size_t>(y * width + x)] != 0; }
};

struct IconGroup {
    int id;
    std::span<const IconImage> images;  // 32x32, 16x16, 60x32
};

struct StringEntry {
    int id;
    std::string_view text;
};

// The standard 16-colour palette of the bitmaps and icons.
Rgb PaletteColour(std::uint8_t index);

}  // namespace res
