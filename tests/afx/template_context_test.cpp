// What the panel's template says of its controls to screen readers and to the terminal's hint
// line: labels, groups, the pin help of lamps and bit buttons and the states their images show.
#include <gtest/gtest.h>

#include "afx/gdi.h"
#include "afx/pin_help.h"
#include "afx/template_context.h"
#include "afx/window_factory.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

std::unique_ptr<afx::Window> Panel()
{
    const res::DialogTemplate* tmpl = res::FindDialog(IDD_PANEL);
    EXPECT_NE(tmpl, nullptr);
    return afx::CreateDialogWindow(*tmpl, "");
}

std::string TextOf(const afx::Window* w) { return w ? w->text : std::string("(none)"); }

TEST(TemplateContext, FieldsAreLabelledByTheStaticTextBesideThem)
{
    auto panel = Panel();
    const struct { int id; const char* label; } kCases[] = {
        {IDC_DATA_VALUE, "Data Value"},
        {IDC_BASE_ADDR, "Base Addr"},
        {IDC_CONT_DATA, "(none)"},  // check boxes and buttons carry their own text
        {IDC_DATA_BIT3, "(none)"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextOf(afx::LabelOf(*panel->Child(c.id))), c.label) << c.id;
}

TEST(TemplateContext, ControlsBelongToTheGroupBoxThatFramesThem)
{
    auto panel = Panel();
    const struct { int id; const char* group; } kCases[] = {
        {IDC_DATA_VALUE, "Data"},   {IDC_CONT_DATA, "Data"},   {IDC_SET_DATA, "Data"},
        {IDC_DATA_BIT7, "Data"},    {IDC_DATA_LAMP0, "Data"},  {IDC_LAMP_BUSY, "Inputs"},
        {IDC_BASE_ADDR, "Inputs"},  {IDC_CONT_CTRL, "Output"}, {IDC_SET_CTRL, "Output"},
        {IDC_CTRL_TRISTATE, "Output"}, {IDC_LAMP_STROBE, "Output"}, {IDOK, "(none)"},
        {IDCANCEL, "(none)"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextOf(afx::GroupOf(*panel->Child(c.id))), c.group) << c.id;
}

TEST(PinHelp, EveryLampAndBitButtonHasHelpThatFitsItsLine)
{
    auto panel = Panel();
    int covered = 0;
    for (const auto& c : panel->children) {
        bool line = c->kind == afx::Kind::BitmapStatic || c->kind == afx::Kind::BitmapButton;
        EXPECT_EQ(!afx::PinHelp(*c).empty(), line) << c->id;
        if (!line)
            continue;
        ++covered;
        // The terminal's narrowest main window, and a hint line narrower still.
        for (int width : {75, 60, 20}) {
            std::string s = afx::PinHelp(*c, width);
            EXPECT_LE(static_cast<int>(s.size()), width) << c->id;
            EXPECT_EQ(s.substr(0, 2), afx::PinHelp(*c).substr(0, 2)) << "starts with the line's name";
        }
        EXPECT_NE(afx::PinHelp(*c, 75).find("means"), std::string::npos) << afx::PinHelp(*c, 75);
    }
    EXPECT_EQ(covered, 31);
    EXPECT_EQ(afx::PinHelp(*panel->Child(IDC_LAMP_BUSY)), "Busy, pin 11, inverted by the port: lit means pin 11 is low");
    EXPECT_EQ(afx::PinHelp(*panel->Child(IDC_CTRL_STROBE)),
              "Strobe, pin 1, inverted by the port: set means pin 1 is driven high once written (control bit 0 clear)");
    EXPECT_EQ(afx::LineName(*panel->Child(IDC_DATA_BIT3)), "D3 bit button");
    EXPECT_EQ(afx::LineName(*panel->Child(IDC_LAMP_ACK)), "Ack lamp");
}

TEST(PinHelp, EachImageTellsItsState)
{
    auto panel = Panel();
    afx::Window& lamp = *panel->Child(IDC_LAMP_ACK);
    const struct { int bitmap; const char* word; bool on; } kCases[] = {
        {IDB_LAMP_ON, "lit", true},
        {IDB_LAMP_OFF, "unlit", false},
        {IDB_BUTTON_SET, "set", true},
        {IDB_BUTTON_CLEAR, "clear", false},
    };
    for (const auto& c : kCases) {
        CBitmap bmp;
        ASSERT_TRUE(bmp.LoadBitmap(static_cast<UINT>(c.bitmap)));
        lamp.image = bmp;
        EXPECT_EQ(afx::StateWord(lamp), c.word);
        EXPECT_EQ(afx::ShowsOn(lamp), c.on);
    }
    lamp.image = nullptr;
    EXPECT_EQ(afx::StateWord(lamp), "");
    EXPECT_FALSE(afx::ShowsOn(lamp));
}

}  // namespace
