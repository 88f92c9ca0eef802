#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/colour_table.h"
#include "common/colours_host.h"

namespace qm71 {

// The "Farben" dialog without its widgets: colours of the three threshold
// bands, the threshold and the width of the middle band. Every change goes
// straight into the host's settings and recomputes the lookup, so the picture
// shows it at once. OK switches to threshold colouring; Cancel (and Escape)
// puts back the three colours the dialog opened with and keeps the threshold
// and the width as they were last set.
class ColoursDialogModel {
  public:
    // The three colour lists (controls 1027, 1029, 1028).
    enum Band : int { kBackground, kMiddle, kForeground };
    // The two values, each with an edit and a trackbar (1001/1000, 1003/1002).
    enum Value : int { kThresh, kMitte };

    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;
    static constexpr int kTrackbarMin = 0;
    static constexpr int kTrackbarMax = 255;
    static constexpr int kTickInterval = 16;

    // What the controls show, by Band and by Value.
    struct View {
        std::array<int, 3> item{};  // selected item of each list, 0..19
        std::array<std::string, 2> text;
        std::array<int, 2> position{};  // trackbar positions
    };

    // Opening: remembers the colours for Cancel, shows the settings and
    // builds the lookup from them.
    explicit ColoursDialogModel(ColoursHost& host);

    const View& Shown() const { return view_; }
    // The colours of the twenty items, the same in each list: item k is
    // colour index ColourIndexOfItem(k) of the display palette.
    std::array<PaletteEntry, kColourCount> ItemColours() const;

    // The user's actions. Each one leaves the new state in Shown().
    void ChooseItem(Band band, int item);  // an item outside 0..19 is ignored
    void TypeText(Value value, std::string_view text);
    void MoveTrackbar(Value value, int position);
    int Ok();
    int Cancel();

  private:
    ColoursHost& host_;
    std::array<int, 3> opened_;  // bg, mg, vg at opening
    View view_;
};

}  // namespace qm71
