// The string table: the application's title, the system-menu entry and the help text.
#include <span>

#include "res/catalog.h"
#include "res/resource.h"

namespace res {

namespace {

// Plain lines joined by '\n'; front-ends show it as is, so it stays short and unformatted.
constexpr std::string_view kHelp =
    "Vellix shows the three registers of a parallel port.\n"
    "Data: the lamps show what the data lines read back;\n"
    "the bit buttons below them compose a byte to write.\n"
    "Inputs: the lamps show the status lines.\n"
    "Output: lamps and bit buttons for the control lines.\n"
    "Continous writes every change of its row at once.\n"
    "Set Data writes the composed byte on demand.\n"
    "Data Value takes the data byte as two hex digits.\n"
    "Base Addr picks the port to work with.\n"
    "OK remembers that port for the next start.\n"
    "Shift+F10 or the menu key opens the window menu (About).";

constexpr StringEntry kStrings[] = {
    {AFX_IDS_APP_TITLE, "Vellix"},
    {IDS_ABOUT, "&About Vellix..."},
    {IDS_HELP, kHelp},
};

}  // namespace

std::span<const StringEntry> catalog::Strings() { return kStrings; }

}  // namespace res
