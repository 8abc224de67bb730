// Dialog templates 100 and 102 checked control by control against the layout tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "res/resources.h"

namespace {

using res::ControlKind;
using K = ControlKind;

// Style words written out from the layout tables, independent of the library's own constants.
constexpr std::uint32_t kGroupText = 0x50020000;   // child, visible, group, left text
constexpr std::uint32_t kEdit = 0x50810080;        // child, visible, border, tab stop, auto hscroll
constexpr std::uint32_t kCheck = 0x50010003;       // child, visible, tab stop, auto check box
constexpr std::uint32_t kPush = 0x50010000;        // child, visible, tab stop, push button
constexpr std::uint32_t kDefPush = 0x50010001;     // child, visible, tab stop, default push button
constexpr std::uint32_t kLamp = 0x5000000E;        // child, visible, bitmap static
constexpr std::uint32_t kBitButton = 0x50010080;   // child, visible, tab stop, bitmap push button
constexpr std::uint32_t kGroupBox = 0x50000007;    // child, visible, group box
constexpr std::uint32_t kDropList = 0x50210103;    // child, visible, vscroll, tab stop, sorted drop list
constexpr std::uint32_t kTabStopBit = 0x00010000;

struct Expected {
    int id;
    ControlKind kind;
    std::uint32_t style;
    std::string_view text;
    int x, y, cx, cy;
    int imageId;
    bool tabStop;
};

constexpr Expected kPanel[] = {
    {-1, K::StaticText, kGroupText, "D0", 151, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D1", 135, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D2", 120, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D3", 103, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D4", 87, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D5", 71, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D6", 55, 55, 12, 10, 0, false},
    {-1, K::StaticText, kGroupText, "D7", 39, 55, 12, 10, 0, false},
    {1033, K::Edit, kEdit, "", 175, 34, 37, 15, 0, true},
    {1032, K::AutoCheckBox, kCheck, "Continous", 235, 33, 58, 9, 0, true},
    {1021, K::PushButton, kPush, "Set Data", 235, 49, 35, 16, 0, true},
    {1043, K::AutoCheckBox, kCheck, "Continous", 283, 160, 58, 9, 0, true},
    {1042, K::PushButton, kPush, "Set Data", 283, 176, 35, 16, 0, true},
    {1, K::DefPushButton, kDefPush, "OK", 249, 209, 50, 14, 0, true},
    {2, K::PushButton, kPush, "Cancel", 309, 210, 50, 13, 0, true},
    {1022, K::BitmapStatic, kLamp, "", 40, 34, 8, 7, 129, false},
    {1023, K::BitmapStatic, kLamp, "", 55, 34, 8, 7, 129, false},
    {1024, K::BitmapStatic, kLamp, "", 71, 34, 8, 7, 129, false},
    {1025, K::BitmapStatic, kLamp, "", 87, 34, 8, 7, 129, false},
    {1026, K::BitmapStatic, kLamp, "", 103, 34, 8, 7, 129, false},
    {1027, K::BitmapStatic, kLamp, "", 119, 34, 8, 7, 129, false},
    {1028, K::BitmapStatic, kLamp, "", 135, 34, 8, 7, 129, false},
    {1029, K::BitmapStatic, kLamp, "", 151, 34, 8, 7, 129, false},
    {1012, K::BitmapButton, kBitButton, "Button0", 150, 45, 9, 8, 0, true},
    {1013, K::BitmapButton, kBitButton, "Button1", 135, 45, 9, 8, 0, true},
    {1014, K::BitmapButton, kBitButton, "Button2", 119, 45, 9, 8, 0, true},
    {1015, K::BitmapButton, kBitButton, "Button3", 103, 45, 9, 8, 0, true},
    {1016, K::BitmapButton, kBitButton, "Button4", 87, 45, 9, 8, 0, true},
    {1017, K::BitmapButton, kBitButton, "Button5", 70, 45, 9, 8, 0, true},
    {1018, K::BitmapButton, kBitButton, "Button6", 55, 45, 9, 8, 0, true},
    {1019, K::BitmapButton, kBitButton, "Button7", 39, 45, 9, 8, 0, true},
    {-1, K::StaticText, kGroupText, "Data Value", 175, 51, 39, 10, 0, false},
    {-1, K::GroupBox, kGroupBox, "Data", 17, 15, 329, 58, 0, false},
    {-1, K::GroupBox, kGroupBox, "Inputs", 17, 79, 329, 58, 0, false},
    {-1, K::GroupBox, kGroupBox, "Output", 17, 143, 330, 58, 0, false},
    {1030, K::BitmapStatic, kLamp, "", 69, 97, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Busy(11)", 34, 96, 31, 9, 0, false},
    {1031, K::BitmapStatic, kLamp, "", 116, 97, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Ack(10)", 81, 96, 31, 9, 0, false},
    {1034, K::BitmapStatic, kLamp, "", 163, 97, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "PEnd(12)", 128, 96, 31, 9, 0, false},
    {1035, K::BitmapStatic, kLamp, "", 212, 97, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Select(13)", 175, 96, 33, 9, 0, false},
    {1036, K::BitmapStatic, kLamp, "", 259, 97, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Error(15)", 224, 96, 31, 9, 0, false},
    {1037, K::BitmapStatic, kLamp, "", 72, 161, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "TriState", 37, 160, 31, 9, 0, false},
    {1038, K::BitmapStatic, kLamp, "", 119, 161, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Input(17)", 84, 160, 31, 9, 0, false},
    {1039, K::BitmapStatic, kLamp, "", 166, 161, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Init(16)", 131, 160, 31, 9, 0, false},
    {1040, K::BitmapStatic, kLamp, "", 215, 161, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Auto(14)", 178, 160, 33, 9, 0, false},
    {1041, K::BitmapStatic, kLamp, "", 262, 161, 8, 7, 129, false},
    {-1, K::StaticText, kGroupText, "Strobe(1)", 227, 160, 31, 9, 0, false},
    {1048, K::BitmapButton, kBitButton, "Button0", 261, 174, 9, 8, 0, true},
    {1049, K::BitmapButton, kBitButton, "Button1", 215, 174, 9, 8, 0, true},
    {1050, K::BitmapButton, kBitButton, "Button2", 165, 174, 9, 8, 0, true},
    {1051, K::BitmapButton, kBitButton, "Button3", 118, 174, 9, 8, 0, true},
    {1052, K::BitmapButton, kBitButton, "Button4", 71, 174, 9, 8, 0, true},
    {1046, K::DropDownList, kDropList, "", 273, 97, 67, 41, 0, true},
    {-1, K::StaticText, kGroupText, "Base Addr", 286, 86, 37, 8, 0, false},
};

constexpr Expected kAbout[] = {
    {-1, K::IconStatic, 0x50000003, "", 11, 17, 20, 20, 128, false},
    {-1, K::StaticText, 0x50020080, "Vellix Version 1.0", 40, 10, 119, 8, 0, false},
    {-1, K::StaticText, 0x50020000, "<second line>", 40, 25, 119, 8, 0, false},
    {1, K::DefPushButton, 0x50030001, "OK", 178, 7, 32, 14, 0, true},
};

// Compares a template's controls, in order, with the expected rows. A text of "<second line>"
// stands for the about box's free second line and is checked elsewhere.
void ExpectControls(const res::DialogTemplate& dialog, std::span<const Expected> expected) {
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Expected& want = expected[i];
        const res::ControlItem& got = dialog.controls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " \"" + std::string(want.text) + "\"");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.kind, want.kind);
        EXPECT_EQ(got.style, want.style) << std::hex << "got 0x" << got.style << ", want 0x" << want.style;
        if (want.text != "<second line>") {
            EXPECT_EQ(got.text, want.text);
        }
        EXPECT_EQ(std::tuple(got.rect.x, got.rect.y, got.rect.cx, got.rect.cy),
                  std::tuple(want.x, want.y, want.cx, want.cy));
        EXPECT_EQ(got.imageId, want.imageId);
        EXPECT_EQ((got.style & kTabStopBit) != 0, want.tabStop);
    }
}

TEST(PanelTemplate, FrameCaptionAndFont) {
    const res::DialogTemplate* panel = res::FindDialog(102);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->id, 102);
    EXPECT_EQ(panel->caption, "Vellix");
    // pop-up, visible, caption, system menu, modal frame, font given; no minimize or maximize box
    EXPECT_EQ(panel->style, 0x90C800C0u);
    EXPECT_EQ(panel->exStyle, 0x00040000u);
    EXPECT_EQ(std::tuple(panel->rect.x, panel->rect.y, panel->rect.cx, panel->rect.cy),
              std::tuple(0, 0, 366, 231));
    EXPECT_EQ(panel->fontName, "MS Sans Serif");
    EXPECT_EQ(panel->fontPoints, 8);
}

TEST(PanelTemplate, EveryControlInTemplateOrder) {
    const res::DialogTemplate* panel = res::FindDialog(102);
    ASSERT_NE(panel, nullptr);
    ExpectControls(*panel, kPanel);
}

TEST(PanelTemplate, AddressedIdsAreUnique) {
    const res::DialogTemplate* panel = res::FindDialog(102);
    ASSERT_NE(panel, nullptr);
    for (std::size_t i = 0; i < panel->controls.size(); ++i) {
        for (std::size_t j = i + 1; j < panel->controls.size(); ++j) {
            if (panel->controls[i].id == -1) continue;
            EXPECT_NE(panel->controls[i].id, panel->controls[j].id) << "controls #" << i + 1 << " and #" << j + 1;
        }
    }
}

TEST(AboutTemplate, SecondLineIsOneShortLine) {
    const res::DialogTemplate* about = res::FindDialog(100);
    ASSERT_NE(about, nullptr);
    ASSERT_GE(about->controls.size(), 3u);
    const std::string_view line = about->controls[2].text;
    EXPECT_FALSE(line.empty());
    EXPECT_EQ(line.find('\n'), std::string_view::npos);
    // The static that shows it is 119 dialog units wide, about 30 average characters.
    EXPECT_LE(line.size(), 30u);
}

TEST(AboutTemplate, FrameCaptionAndFont) {
    const res::DialogTemplate* about = res::FindDialog(100);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->id, 100);
    EXPECT_EQ(about->caption, "About Vellix");
    EXPECT_EQ(about->style, 0x80C800C0u);  // not visible at creation
    EXPECT_EQ(about->exStyle, 0u);
    EXPECT_EQ(std::tuple(about->rect.x, about->rect.y, about->rect.cx, about->rect.cy),
              std::tuple(0, 0, 217, 55));
    EXPECT_EQ(about->fontName, "MS Sans Serif");
    EXPECT_EQ(about->fontPoints, 8);
}

TEST(AboutTemplate, EveryControlInTemplateOrder) {
    const res::DialogTemplate* about = res::FindDialog(100);
    ASSERT_NE(about, nullptr);
    ExpectControls(*about, kAbout);
}

TEST(Templates, ImagesNamedByControlsExist) {
    for (int id : {100, 102}) {
        const res::DialogTemplate* dialog = res::FindDialog(id);
        ASSERT_NE(dialog, nullptr) << id;
        for (const res::ControlItem& control : dialog->controls) {
            if (control.kind == K::BitmapStatic) {
                EXPECT_NE(res::FindBitmap(control.imageId), nullptr) << control.id;
            }
            if (control.kind == K::IconStatic) {
                EXPECT_NE(res::FindIcon(control.imageId), nullptr) << control.id;
            }
        }
    }
}

}  // namespace
