// Lets GoogleTest print colours as (r,g,b) in failure messages.
#pragma once

#include <ostream>

#include "res/types.h"

namespace res {

inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << '(' << int{c.r} << ',' << int{c.g} << ',' << int{c.b} << ')';
}

}  // namespace res
