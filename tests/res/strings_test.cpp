// String table and lookups of IDs that do not exist.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "res/resource.h"
#include "res/resources.h"

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (true) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

TEST(Strings, AboutMenuEntry) { EXPECT_EQ(res::FindString(101), "&About Vellix..."); }

TEST(Strings, HelpIsShortPlainLines) {
    const std::string_view help = res::FindString(IDS_HELP);
    ASSERT_FALSE(help.empty());
    const std::vector<std::string_view> lines = Lines(help);
    EXPECT_GE(lines.size(), 2u);
    EXPECT_LE(lines.size(), 12u);
    for (std::string_view line : lines) {
        EXPECT_FALSE(line.empty()) << "blank line in help text";
        EXPECT_LE(line.size(), 60u) << line;
        for (char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "control character in: " << line;
    }
}

TEST(Strings, HelpNamesThePanelsControls) {
    const std::string_view help = res::FindString(IDS_HELP);
    for (std::string_view name : {"Data", "Inputs", "Output", "Continous", "Set Data", "Data Value", "Base Addr"}) {
        EXPECT_NE(help.find(name), std::string_view::npos) << name;
    }
}

TEST(Lookup, KnownIdsFindTheirOwnEntry) {
    for (int id : {100, 102}) {
        const res::DialogTemplate* dialog = res::FindDialog(id);
        ASSERT_NE(dialog, nullptr) << id;
        EXPECT_EQ(dialog->id, id);
    }
    for (int id : {129, 130, 131, 132}) {
        const res::Bitmap* bitmap = res::FindBitmap(id);
        ASSERT_NE(bitmap, nullptr) << id;
        EXPECT_EQ(bitmap->id, id);
    }
    const res::IconGroup* icon = res::FindIcon(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->id, 128);
    for (int id : {101, IDS_HELP}) EXPECT_FALSE(res::FindString(id).empty()) << id;
}

// Each lookup is tried with IDs of the other resource kinds and with IDs nothing uses. The help
// string's number comes from resource.h, so it is left out of the unknown ones.
TEST(Lookup, UnknownIdsFindNothing) {
    for (int id : {-1, 0, 1, 101, 103, 128, 129, 1033, 0xFFFF}) EXPECT_EQ(res::FindDialog(id), nullptr) << id;
    for (int id : {-1, 0, 100, 102, 128, 133, 1022}) EXPECT_EQ(res::FindBitmap(id), nullptr) << id;
    for (int id : {-1, 0, 100, 127, 129, 132}) EXPECT_EQ(res::FindIcon(id), nullptr) << id;
    for (int id : {-1, 0, 100, 102, 105, 128, 0x0010, 1046}) EXPECT_TRUE(res::FindString(id).empty()) << id;
}

}  // namespace
