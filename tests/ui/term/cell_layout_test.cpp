// The cell layout of the real dialog templates: every text whole, nothing overlapping, the
// template's order kept, and the whole panel inside an 80 x 24 terminal.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "afx/window_factory.h"
#include "res/resource.h"
#include "res/resources.h"
#include "ui/term/cell_layout.h"

namespace {

using ui::term::Cell;
using ui::term::CellLayout;
using ui::term::DisplayText;
using ui::term::LayOut;

std::unique_ptr<afx::Window> Panel() { return afx::CreateDialogWindow(*res::FindDialog(IDD_PANEL), " - simulated port"); }
std::unique_ptr<afx::Window> About() { return afx::CreateDialogWindow(*res::FindDialog(IDD_ABOUT), ""); }

// A text box of ten lines nine units apart over an OK button, as the framework builds one.
struct TextBox {
    std::vector<std::string> lines;
    std::vector<res::ControlItem> items;
    res::DialogTemplate tmpl{};
    TextBox()
    {
        for (int i = 0; i < 10; ++i)
            lines.push_back("Line number " + std::to_string(i) + " of a help text that is long enough");
        for (std::size_t i = 0; i < lines.size(); ++i)
            items.push_back({-1, res::ControlKind::StaticText, WS_CHILD | WS_VISIBLE, lines[i],
                             {12, 10 + static_cast<int>(i) * 9, 220, 8}, 0});
        items.push_back({IDOK, res::ControlKind::DefPushButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP, "OK", {95, 108, 50, 14}, 0});
        tmpl = {0, "help", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {0, 0, 244, 130}, "MS Sans Serif", 8, items};
    }
};

int NeededWidth(const afx::Window& c)
{
    int text = static_cast<int>(DisplayText(c).size());
    switch (c.kind) {
    case afx::Kind::StaticText: return text;
    case afx::Kind::PushButton:
    case afx::Kind::DefPushButton:
    case afx::Kind::AutoCheckBox: return text + 4;
    case afx::Kind::GroupBox: return text + 6;
    case afx::Kind::BitmapButton: return 3;
    default: return 1;
    }
}

bool Inside(const Cell& inner, const Cell& outer)
{
    return inner.col > outer.col && inner.col + inner.width < outer.col + outer.width && inner.row > outer.row &&
           inner.row + inner.height < outer.row + outer.height;
}

bool Overlap(const Cell& a, const Cell& b)
{
    return a.col < b.col + b.width && b.col < a.col + a.width && a.row < b.row + b.height && b.row < a.row + a.height;
}

// Everything a readable layout must be, whatever the room.
void ExpectReadable(const afx::Window& top, const CellLayout& l)
{
    ASSERT_EQ(l.cells.size(), top.children.size());
    for (std::size_t i = 0; i < l.cells.size(); ++i) {
        const afx::Window& c = *top.children[i];
        const Cell& a = l.cells[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + c.text + "\"");
        EXPECT_GE(a.width, NeededWidth(c)) << "its text is cut";
        EXPECT_GE(a.col, 0);
        EXPECT_GE(a.row, 0);
        EXPECT_LE(a.col + a.width, l.width);
        EXPECT_LE(a.row + a.height, l.height);
        for (std::size_t j = i + 1; j < l.cells.size(); ++j) {
            const afx::Window& d = *top.children[j];
            const Cell& b = l.cells[j];
            bool framed = (c.kind == afx::Kind::GroupBox && Inside(b, a)) || (d.kind == afx::Kind::GroupBox && Inside(a, b));
            EXPECT_TRUE(framed || !Overlap(a, b)) << "overlaps \"" << d.text << "\"";
            // Side by side on one row, they keep the template's order.
            if (a.row == b.row && c.kind != afx::Kind::GroupBox && d.kind != afx::Kind::GroupBox && c.rect.x != d.rect.x) {
                EXPECT_EQ(a.col < b.col, c.rect.x < d.rect.x) << "order against \"" << d.text << "\"";
            }
        }
    }
}

struct Room {
    const char* name;
    int cols, rows;
};

void PrintTo(const Room& r, std::ostream* os) { *os << r.cols << " x " << r.rows; }

class PanelLayout : public ::testing::TestWithParam<Room> {};

TEST_P(PanelLayout, KeepsEveryTextWholeAndEveryControlApart)
{
    auto panel = Panel();
    CellLayout l = LayOut(*panel, GetParam().cols, GetParam().rows);
    ASSERT_TRUE(l.fits);
    EXPECT_LE(l.width, GetParam().cols);
    EXPECT_LE(l.height, GetParam().rows);
    ExpectReadable(*panel, l);

    // Each data bit reads top to bottom: lamp over the middle of its button, label under it.
    for (int bit = 0; bit < 8; ++bit) {
        SCOPED_TRACE("data bit " + std::to_string(bit));
        auto index = [&](int id) {
            for (std::size_t i = 0; i < panel->children.size(); ++i)
                if (panel->children[i]->id == id)
                    return i;
            return std::size_t{0};
        };
        const Cell& lamp = l.cells[index(IDC_DATA_LAMP0 - bit)];
        const Cell& button = l.cells[index(IDC_DATA_BIT0 + bit)];
        const Cell& label = l.cells[static_cast<std::size_t>(bit)];  // "D0" .. "D7" lead the template
        ASSERT_EQ(panel->children[static_cast<std::size_t>(bit)]->text, "D" + std::to_string(bit));
        EXPECT_EQ(lamp.col, button.col + 1);
        EXPECT_EQ(label.col, lamp.col);
        EXPECT_LT(lamp.row, button.row);
        EXPECT_LT(button.row, label.row);
    }
}

// The main window gets the terminal less its caption line and its line of key hints.
INSTANTIATE_TEST_SUITE_P(Rooms, PanelLayout,
                         ::testing::Values(Room{"Terminal80x24", 80, 22}, Room{"Terminal100x30", 100, 28},
                                           Room{"Terminal200x60", 200, 58}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PanelLayoutSize, TheLeastRoomIsExactAndFitsAnEightyByTwentyFourTerminal)
{
    auto panel = Panel();
    CellLayout least = LayOut(*panel, 1, 1);
    ASSERT_FALSE(least.fits);
    EXPECT_LE(least.width, 80);
    EXPECT_LE(least.height + 1, 24) << "with the caption line";
    CellLayout exact = LayOut(*panel, least.width, least.height);
    ASSERT_TRUE(exact.fits);
    ExpectReadable(*panel, exact);
    EXPECT_FALSE(LayOut(*panel, least.width - 1, least.height).fits);
    EXPECT_FALSE(LayOut(*panel, least.width, least.height - 1).fits);
}

TEST(PanelLayoutSize, ARoomyTerminalGetsTheClassicScaleAndNoMore)
{
    auto panel = Panel();
    CellLayout l = LayOut(*panel, 300, 100);
    ASSERT_TRUE(l.fits);
    EXPECT_LE(l.width, 366 / 4 + 1);
    EXPECT_LE(l.height, 231 / 9 + 1);
    EXPECT_GE(l.width, 366 / 4 - 1);
}

TEST(OtherLayouts, TheAboutBoxAndATextBoxAreReadable)
{
    auto about = About();
    CellLayout a = LayOut(*about, 78, 22);
    ASSERT_TRUE(a.fits);
    ExpectReadable(*about, a);

    TextBox box;
    auto help = afx::CreateDialogWindow(box.tmpl, "");
    CellLayout h = LayOut(*help, 78, 22);
    ASSERT_TRUE(h.fits);
    ExpectReadable(*help, h);
    // Lines of text follow one another without blank rows between them, and start in one column.
    for (std::size_t i = 1; i < box.lines.size(); ++i) {
        EXPECT_EQ(h.cells[i].row, h.cells[i - 1].row + 1) << "line " << i;
        EXPECT_EQ(h.cells[i].col, h.cells[0].col);
    }
}

TEST(OtherLayouts, ControlsThatAreNotVisibleTakeNoCells)
{
    auto panel = Panel();
    panel->children[0]->style &= ~WS_VISIBLE;
    CellLayout l = LayOut(*panel, 80, 22);
    EXPECT_EQ(l.cells[0].width, 0);
    EXPECT_EQ(l.cells[0].height, 0);
}

}  // namespace
