// The application icon, 128: a D-sub connector shell (wider at the top) with two rows of pin
// holes and a fan of wires coloured red, yellow, blue, black and white in turn below it.
#include <span>
#include <string_view>

#include "res/catalog.h"
#include "res/pixmap.h"
#include "res/resource.h"

namespace res {

namespace {

using pixmap::Ink;
using pixmap::Paint;

// '.' is transparent; its colour index stays 0 so the masked pixels carry no stray colour.
constexpr Ink kLegend[] = {
    {'.', pixmap::kBlack, false},
    {'K', pixmap::kBlack},
    {'L', pixmap::kLightGrey},
    {'D', pixmap::kDarkGrey},
    {'W', pixmap::kWhite},
    {'R', pixmap::kRed},
    {'Y', pixmap::kYellow},
    {'B', pixmap::kBlue},
};

// 32 x 32: the connector shell with its recessed face and two rows of pin holes, above five
// wires fanning out downward.
constexpr std::string_view kIcon32Rows[] = {
    "................................",
    ".WWWWWWWWWWWWWWWWWWWWWWWWWWWWWD.",
    ".WLLLLLLLLLLLLLLLLLLLLLLLLLLLLD.",
    "..WLDDDDDDDDDDDDDDDDDDDDDDDWLD..",
    "..WLDLLLLLLLLLLLLLLLLLLLLLLWLD..",
    "..WLDLKLKLKLKLKLKLKLKLKLKLLWLD..",
    "...WLDLLLLLLLLLLLLLLLLLLLLWLD...",
    "...WLDLLLLLLLLLLLLLLLLLLLLWLD...",
    "...WLDLKLKLKLKLKLKLKLKLKLLWLD...",
    "....WLDLLLLLLLLLLLLLLLLLLWLD....",
    "....WLDLLLLLLLLLLLLLLLLLLWLD....",
    "....WLWWWWWWWWWWWWWWWWWWWWLD....",
    ".....WLLLLLLLLLLLLLLLLLLLLD.....",
    ".....DDDDDDDDDDDDDDDDDDDDDD.....",
    ".........RR.YY.BB.KK.WW.........",
    "........RR.YY..BB.KK.WW.........",
    "........RR.YY..BB.KK.WW.........",
    ".......RR..YY..BB.KK..WW........",
    ".......RR..YY..BB.KK..WW........",
    "......RR..YY...BB..KK..WW.......",
    "......RR..YY...BB..KK..WW.......",
    "......RR..YY...BB..KK..WW.......",
    ".....RR...YY...BB..KK...WW......",
    ".....RR...YY...BB..KK...WW......",
    "....RR...YY....BB...KK...WW.....",
    "....RR...YY....BB...KK...WW.....",
    "....RR...YY....BB...KK...WW.....",
    "...RR....YY....BB...KK....WW....",
    "...RR....YY....BB...KK....WW....",
    "..RR....YY.....BB....KK....WW...",
    "..RR....YY.....BB....KK....WW...",
    "..RR....YY.....BB....KK.....WW..",
};

// 16 x 16: the same picture reduced to single-pixel wires and holes.
constexpr std::string_view kIcon16Rows[] = {
    "WWWWWWWWWWWWWWWD",
    "WLLLLLLLLLLLLLLD",
    ".WLKLKLKLKLKLKD.",
    ".WLLLLLLLLLLLLD.",
    ".WLLKLKLKLKLKLD.",
    "..WLLLLLLLLLLD..",
    "..DDDDDDDDDDDD..",
    "...R.Y.B.K.W....",
    "...R.Y.B.K.W....",
    "..R..Y.B.K..W...",
    "..R.Y..B..K.W...",
    "..R.Y..B..K..W..",
    ".R..Y..B..K..W..",
    ".R..Y..B..K..W..",
    "R...Y..B..K...W.",
    "R...Y..B...K..W.",
};

// 60 x 32: the shell on its mounting plate, whose flanges left and right carry the screw holes,
// above ten wires in two turns of the colour sequence.
constexpr std::string_view kIcon60Rows[] = {
    "............................................................",
    "...........WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWD...........",
    "...........WLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLD...........",
    "WWWWWWWWWWWWWLDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDWLDWWWWWWWWWWWD",
    "WLLLLLLLLLLLWLDLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLWLDLLLLLLLLLLLD",
    "WLLLLLLLLLLLWLDLLKLKLKLKLKLKLKLKLKLKLKLKLKLLLWLDLLLLLLLLLLLD",
    "WLLDKKDLLLLLLWLDLLLLLLLLLLLLLLLLLLLLLLLLLLLLWLDLLLLLLDKKDLLD",
    "WLLKKKKLLLLLLWLDLLLLLLLLLLLLLLLLLLLLLLLLLLLLWLDLLLLLLKKKKLLD",
    "WLLKKKKLLLLLLWLDLLLLLLLLLLLLLLLLLLLLLLLLLLLLWLDLLLLLLKKKKLLD",
    "WLLDKKDLLLLLLWLDLLKLKLKLKLKLKLKLKLKLKLKLKLLLWLDLLLLLLDKKDLLD",
    "WLLLLLLLLLLLLLWLDLLLLLLLLLLLLLLLLLLLLLLLLLLWLDLLLLLLLLLLLLLD",
    "WLLLLLLLLLLLLLWLDLLLLLLLLLLLLLLLLLLLLLLLLLLWLDLLLLLLLLLLLLLD",
    "DDDDDDDDDDDDDDWLWWWWWWWWWWWWWWWWWWWWWWWWWWWWLDDDDDDDDDDDDDDD",
    "...............WLLLLLLLLLLLLLLLLLLLLLLLLLLLLD...............",
    "...............DDDDDDDDDDDDDDDDDDDDDDDDDDDDDD...............",
    "...............RR.YY.BB.KK.WW.RR.YY.BB.KK.WW................",
    "..............RR.YY..BB.KK.WW.RR.YY.BB..KK.WW...............",
    ".............RR..YY.BB.KK..WW.RR..YY.BB.KK..WW..............",
    "............RR..YY..BB.KK..WW.RR..YY.BB..KK..WW.............",
    "............RR.YY..BB..KK..WW.RR..YY..BB..KK.WW.............",
    "...........RR..YY..BB..KK..WW.RR..YY..BB..KK..WW............",
    "..........RR..YY..BB..KK..WW...RR..YY..BB..KK..WW...........",
    ".........RR..YY...BB..KK..WW...RR..YY..BB...KK..WW..........",
    "........RR...YY..BB...KK..WW...RR..YY...BB..KK...WW.........",
    ".......RR...YY...BB..KK...WW...RR...YY..BB...KK...WW........",
    ".......RR..YY...BB...KK...WW...RR...YY...BB...KK..WW........",
    "......RR...YY...BB...KK...WW...RR...YY...BB...KK...WW.......",
    ".....RR...YY...BB....KK...WW...RR...YY....BB...KK...WW......",
    "....RR...YY....BB...KK....WW...RR....YY...BB....KK...WW.....",
    "...RR....YY...BB....KK....WW...RR....YY....BB...KK....WW....",
    "..RR....YY....BB....KK....WW...RR....YY....BB....KK....WW...",
    "..RR....YY....BB....KK....WW....RR....YY....BB....KK....WW..",
};

constexpr auto kIcon32 = Paint<32>(kIcon32Rows, kLegend);
constexpr auto kIcon16 = Paint<16>(kIcon16Rows, kLegend);
constexpr auto kIcon60 = Paint<60>(kIcon60Rows, kLegend);

template <typename Image>
constexpr IconImage MakeImage(const Image& image) {
    return IconImage{Image::kWidth, Image::kHeight, image.pixels, image.opaque};
}

constexpr IconImage kAppImages[] = {
    MakeImage(kIcon32),
    MakeImage(kIcon16),
    MakeImage(kIcon60),
};

constexpr IconGroup kIcons[] = {
    {IDI_APP, kAppImages},
};

}  // namespace

std::span<const IconGroup> catalog::Icons() { return kIcons; }

}  // namespace res
