#include "sample/core/size_dialog_model.h"

#include <charconv>

#include "resources/sample/commands.h"

namespace qm71::sample {

SizeDialogModel::SizeDialogModel(SampleState& state) : state_(state) {
    state_.grabMode = 0;
}

std::string SizeDialogModel::WidthText() const {
    return std::to_string(state_.frameWidth & 0xFFFF);
}
std::string SizeDialogModel::HeightText() const {
    return std::to_string(state_.frameHeight & 0xFFFF);
}
std::string SizeDialogModel::IlutText() const {
    return std::to_string(state_.ilut & 0xFFFF);
}

int SizeDialogModel::CheckedAveragingId() const {
    return IDC_AVERAGING_FIRST + static_cast<int>(state_.averagingIndex);
}

void SizeDialogModel::ChooseAveraging(int id) {
    if (id >= IDC_AVERAGING_FIRST && id <= IDC_AVERAGING_FIRST + 9) {
        state_.averagingIndex = static_cast<std::uint32_t>(id - IDC_AVERAGING_FIRST);
    }
}

void SizeDialogModel::ToggleContrast() {
    state_.contrast = 1 - state_.contrast;
}

int SizeDialogModel::Accept(const std::string& width, const std::string& height,
                            const std::string& ilut) {
    state_.ilut = ParseFieldNumber(ilut);
    state_.frameWidth = ParseFieldNumber(width);
    state_.frameHeight = ParseFieldNumber(height);
    return 1;
}

std::uint32_t ParseFieldNumber(const std::string& text) {
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return 0;
    std::uint32_t value = 0;
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc{} && ptr == last ? value : 0;
}

}  // namespace qm71::sample
