#pragma once

#include <string>
#include <string_view>

namespace qm71 {

// The programs' texts are UTF-8; the wide Win32 calls take UTF-16.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace qm71
