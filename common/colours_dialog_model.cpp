#include "common/colours_dialog_model.h"

#include <algorithm>

#include "common/leading_int.h"

namespace qm71 {

namespace {

constexpr std::array<int ColouringSettings::*, 3> kBands{
    &ColouringSettings::bg, &ColouringSettings::mg, &ColouringSettings::vg};
constexpr std::array<int, 3> kDefaults{kDefaultBg, kDefaultMg, kDefaultVg};
constexpr std::array<int ColouringSettings::*, 2> kValues{&ColouringSettings::thresh,
                                                          &ColouringSettings::mitte};

// Typed values are stored as typed, even beyond 0..255; the trackbar shows
// them held to its range.
int Position(int value) {
    return std::clamp(value, ColoursDialogModel::kTrackbarMin, ColoursDialogModel::kTrackbarMax);
}

}  // namespace

ColoursDialogModel::ColoursDialogModel(ColoursHost& host) : host_(host) {
    const ColouringSettings& s = host_.Colouring();
    for (std::size_t b = 0; b < kBands.size(); ++b) {
        const int index = s.*kBands[b];
        opened_[b] = index;
        // An index that names none of the twenty colours shows the band's
        // default; the stored value stays until the user picks a colour.
        view_.item[b] = ColourItem(IsColourIndex(index) ? index : kDefaults[b]);
    }
    for (std::size_t v = 0; v < kValues.size(); ++v) {
        view_.text[v] = std::to_string(s.*kValues[v]);
        view_.position[v] = Position(s.*kValues[v]);
    }
    host_.BuildColorTable();
}

std::array<PaletteEntry, kColourCount> ColoursDialogModel::ItemColours() const {
    std::array<PaletteEntry, kColourCount> colours;
    const auto& palette = host_.DisplayPalette();
    for (int item = 0; item < kColourCount; ++item)
        colours[static_cast<std::size_t>(item)] =
            palette[static_cast<std::size_t>(ColourIndexOfItem(item))];
    return colours;
}

void ColoursDialogModel::ChooseItem(Band band, int item) {
    if (item < 0 || item >= kColourCount) return;
    view_.item[band] = item;
    host_.Colouring().*kBands[band] = ColourIndexOfItem(item);
    host_.BuildColorTable();
}

void ColoursDialogModel::TypeText(Value value, std::string_view text) {
    const int typed = ParseLeadingInt(text);
    host_.Colouring().*kValues[value] = typed;
    view_.text[value] = text;
    view_.position[value] = Position(typed);
    host_.BuildColorTable();
}

void ColoursDialogModel::MoveTrackbar(Value value, int position) {
    const int held = Position(position);
    host_.Colouring().*kValues[value] = held;
    view_.text[value] = std::to_string(held);
    view_.position[value] = held;
    host_.BuildColorTable();
}

int ColoursDialogModel::Ok() {
    host_.Colouring().lut = kThreshold;
    host_.BuildColorTable();
    return kResultOk;
}

int ColoursDialogModel::Cancel() {
    ColouringSettings& s = host_.Colouring();
    for (std::size_t b = 0; b < kBands.size(); ++b) s.*kBands[b] = opened_[b];
    host_.BuildColorTable();
    return kResultCancel;
}

}  // namespace qm71
