#include "resources/qm/strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qm71::qm {

namespace {
// Camera command texts end in a carriage return; "%d" is filled in by the sender.
constexpr std::array<std::pair<int, std::string_view>, 30> kStrings{{
    {32793, "MDE?\r"},  // the camera commands, 32793..32821
    {32794, "MDE TR\r"},
    {32795, "MDE CS\r"},
    {32796, "MDE CD\r"},
    {32797, "SHE?\r"},
    {32798, "SHE ON\r"},
    {32799, "SHE OF\r"},
    {32800, "SHE FC\r"},
    {32801, "EXE?\r"},
    {32802, "EXE %d\r"},
    {32803, "TRM?\r"},
    {32804, "TRM P\r"},
    {32805, "TRM N\r"},
    {32806, "TRE 1\r"},
    {32807, "GAE?\r"},
    {32808, "GAE %d\r"},
    {32809, "BKE?\r"},
    {32810, "BKE %d\r"},
    {32811, "BKF\r"},
    {32812, "STP?\r"},
    {32813, "STP P\r"},
    {32814, "STP N\r"},
    {32815, "DEF?\r"},
    {32816, "DEF ON\r"},
    {32817, "DEF OF\r"},
    {32818, "RST\r"},
    {32819, "SAV\r"},
    {32820, "Kameraeinstellungen: "},
    {32821, "IDN?\r"},
    {IDS_BMP_FILTER, "Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.* ||"},
}};
}  // namespace

std::string_view ResourceString(int id) {
    const auto it = std::find_if(kStrings.begin(), kStrings.end(),
                                 [id](const auto& entry) { return entry.first == id; });
    return it == kStrings.end() ? std::string_view{} : it->second;
}

}  // namespace qm71::qm
