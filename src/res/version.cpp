// The version block: numeric versions and the U.S. English string block.
#include "res/resources.h"

namespace res {

namespace {

constexpr VersionInfo kVersion = {
    {1, 0, 0, 1},               // file version
    {1, 0, 0, 1},               // product version
    "",                         // company name
    "VELLIX MFC Application",   // file description
    "1, 0, 0, 1",               // file version text
    "VELLIX",                   // internal name
    "",                         // legal copyright
    "",                         // legal trademarks
    "VELLIX.EXE",               // original file name
    "VELLIX Application",       // product name
    "1, 0, 0, 1",               // product version text
};

}  // namespace

const VersionInfo& Version() { return kVersion; }

}  // namespace res
