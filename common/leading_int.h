#pragma once

#include <string_view>

namespace qm71 {

// Decimal integer as strtol reads it: leading white space, optional sign,
// digits up to the first other character; no digits gives 0. Values beyond
// the int range saturate instead of overflowing. Edit fields and the camera's
// numeric replies are read this way.
int ParseLeadingInt(std::string_view text);

}  // namespace qm71
