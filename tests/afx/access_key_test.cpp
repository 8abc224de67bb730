// The access-key rule that every front-end reads control and menu texts with.
#include <gtest/gtest.h>

#include "afx/access_key.h"

namespace {

TEST(AccessKey, ParsesTheMarkerTheKeyAndWhereItStands)
{
    struct Case {
        const char* text;
        const char* shown;
        char key;
        int keyAt;
    };
    const Case cases[] = {
        {"&About Vellix...", "About Vellix...", 'a', 0},
        {"E&xit", "Exit", 'x', 1},
        {"Fish && &Chips", "Fish & Chips", 'c', 7},  // "&&" is one '&', not a key
        {"&&", "&", 0, -1},
        {"&A&B", "AB", 'a', 0},                      // the first key counts, the second marker goes
        {"Trailing&", "Trailing&", 0, -1},          // a marker with nothing after it is drawn
        {"&", "&", 0, -1},
        {"", "", 0, -1},
        {"Busy(11)", "Busy(11)", 0, -1},
        {"&\xE9t\xE9", "\xE9t\xE9", '\xE9', 0},     // a Latin-1 letter; tolower leaves it be
    };
    for (const Case& c : cases) {
        afx::AccessText t = afx::ParseAccessText(c.text);
        EXPECT_EQ(t.shown, c.shown) << c.text;
        EXPECT_EQ(t.key, c.key) << c.text;
        EXPECT_EQ(t.keyAt, c.keyAt) << c.text;
    }
}

TEST(AccessKey, ControlsShowTheirTextByKindAndStyle)
{
    struct Case {
        afx::Kind kind;
        DWORD style;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {afx::Kind::PushButton, 0, "&OK", "OK"},
        {afx::Kind::StaticText, 0, "Fish && &Chips", "Fish & Chips"},
        {afx::Kind::StaticText, SS_NOPREFIX, "A&B", "A&B"},
        {afx::Kind::StaticText, SS_NOPREFIX, "R&&D", "R&&D"},
        {afx::Kind::Edit, 0, "a&b", "a&b"},  // typed text is never read for keys
        {afx::Kind::GroupBox, 0, "Trailing&", "Trailing&"},
        {afx::Kind::AutoCheckBox, 0, "&Continous", "Continous"},
        // SS_NOPREFIX shares its bit with other kinds' styles; it means no-prefix on statics only.
        {afx::Kind::PushButton, SS_NOPREFIX, "&Set", "Set"},
    };
    for (const Case& c : cases) {
        afx::Window w;
        w.kind = c.kind;
        w.style = c.style;
        w.text = c.text;
        EXPECT_EQ(afx::ShownText(w), c.shown) << c.text;
    }
}

}  // namespace
