#include "common/info_box.h"

namespace qm71 {

namespace {
// The moment this file was compiled stands for the build; nothing else in
// the programs reads it.
constexpr char kBuildDate[] = __DATE__;
constexpr char kBuildTime[] = __TIME__;
}  // namespace

InfoBox::InfoBox(const ProgramInfo& program)
    : icon(program.icon),
      product(program.product),
      okButton(program.okButton),
      version(std::string("Version: ") + kBuildDate + ' ' + kBuildTime) {}

}  // namespace qm71
