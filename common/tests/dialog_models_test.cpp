#include <gtest/gtest.h>

#include <climits>
#include <regex>
#include <tuple>

#include "common/colours_dialog_model.h"
#include "common/info_box.h"

namespace qm71 {
namespace {

struct Host final : ColoursHost {
    ColouringSettings settings{
        .lut = kInverse, .thresh = 300, .mitte = 20, .bg = 246, .mg = 100, .vg = 9};
    std::array<PaletteEntry, 256> palette = CreateDisplayPalette();
    int builds = 0;
    ColouringSettings& Colouring() override { return settings; }
    void BuildColorTable() override { ++builds; }
    const std::array<PaletteEntry, 256>& DisplayPalette() const override { return palette; }
};

using M = ColoursDialogModel;

// The lists show the stored colours (an unknown index as the band's default),
// the trackbars the values held to 0..255, the edits the values as stored.
// Every change goes into the settings at once and rebuilds the lookup; typed
// text is read as a signed number and kept as typed.
TEST(ColoursDialogModel, ShowsTheSettingsAndPassesEachChangeOn) {
    Host host;
    M model(host);
    EXPECT_EQ(model.Shown().item, (std::array{10, 8, 9}));
    EXPECT_EQ(model.Shown().text, (std::array<std::string, 2>{"300", "20"}));
    EXPECT_EQ(model.Shown().position, (std::array{255, 20}));
    EXPECT_EQ(host.builds, 1);
    EXPECT_EQ(std::pair(model.ItemColours()[9], model.ItemColours()[10]),
              std::pair(host.palette[9], host.palette[246]));
    const ColouringSettings& s = host.settings;
    model.ChooseItem(M::kBackground, 19);
    model.ChooseItem(M::kMiddle, 3);
    model.ChooseItem(M::kForeground, 10);
    model.ChooseItem(M::kForeground, -1);
    EXPECT_EQ(std::tuple(s.bg, s.mg, s.vg), std::tuple(255, 3, 246));
    EXPECT_EQ(model.Shown().item, (std::array{19, 3, 10}));
    const std::tuple<const char*, int, int> typed[] = {
        {"300", 300, 255}, {" -7x", -7, 0}, {"abc", 0, 0}, {"99999999999", INT_MAX, 255}};
    for (const auto& [text, value, position] : typed) {
        model.TypeText(M::kThresh, text);
        EXPECT_EQ(std::tuple(s.thresh, model.Shown().text[0], model.Shown().position[0]),
                  std::tuple(value, text, position));
    }
    model.MoveTrackbar(M::kMitte, 200);
    EXPECT_EQ(std::tuple(s.mitte, model.Shown().text[1], model.Shown().position[1]),
              std::tuple(200, "200", 200));
    EXPECT_EQ(host.builds, 1 + 3 + 4 + 1);
    EXPECT_EQ(s.lut, kInverse);
}

// Cancel takes back all three colours and nothing else; OK keeps everything
// and switches to threshold colouring. Both leave the lookup rebuilt.
TEST(ColoursDialogModel, CancelRestoresTheColoursOkSwitchesToThreshold) {
    for (const bool ok : {false, true}) {
        Host host;
        M model(host);
        for (const M::Band band : {M::kBackground, M::kMiddle, M::kForeground})
            model.ChooseItem(band, band + 1);
        model.TypeText(M::kThresh, "77");
        model.MoveTrackbar(M::kMitte, 5);
        const int builds = host.builds;
        EXPECT_EQ(ok ? model.Ok() : model.Cancel(), ok ? 1 : 2);
        const ColouringSettings& s = host.settings;
        EXPECT_EQ(std::tuple(s.lut, s.bg, s.mg, s.vg, s.thresh, s.mitte),
                  ok ? std::tuple(2, 1, 2, 3, 77, 5) : std::tuple(1, 246, 100, 9, 77, 5));
        EXPECT_EQ(host.builds, builds + 1);
    }
}

TEST(InfoBox, ShowsTheProgramAndTheBuildDateAndTime) {
    const InfoBox box({":/icons/x.png", "Produkt", "Ok"});
    EXPECT_EQ(std::tuple(box.icon, box.product, box.okButton),
              std::tuple(":/icons/x.png", "Produkt", "Ok"));
    const std::regex line(
        "Version: (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123]\\d \\d{4} "
        "[012]\\d:[0-5]\\d:[0-5]\\d");
    EXPECT_TRUE(std::regex_match(box.version, line)) << box.version;
}

}  // namespace
}  // namespace qm71
