#pragma once

#include <cstdint>
#include <deque>
#include <limits>

#include "platform/clock.h"
#include "platform/driver_channel.h"
#include "sim/card/card_options.h"
#include "sim/card/test_pattern.h"

namespace qm71::sim {

// The QM71 card with its camera, as far as the driver's requests can see it.
//
// Area camera (the default): the camera runs freely; frame k starts at
// k / fps seconds after the card was made and its rows arrive evenly during the
// first 15/16 of the frame period (the rest is blanking, so a host that keeps
// up catches every frame). ArmFrame waits for the next frame start; LineCount
// then reports the rows of that frame that have arrived. A rising edge on bit 0
// of TriggerControl starts a frame at once instead. The lines parameter
// (SetParameter 0x88E0) is kept but an area camera always delivers whole frames.
//
// Line camera (CardOptions::lineCamera): with the lines parameter 1 the camera
// is in trigger mode: each rising edge captures one line, which is there one
// line time (the frame's active time / rowsPerFrame) after the edge or after
// the line before it, whichever is later. LineCount reports the captured lines
// that are there and not yet read (at most one image's worth is kept), and
// each TransferLine delivers the oldest. Triggered lines are numbered in
// pictures of triggeredPictureLines lines, each picture with the next image
// number. With any other value of the lines parameter the camera runs freely
// like the area camera, an image of rowsPerFrame lines per period, and takes
// no notice of trigger edges. Changing the lines parameter drops the lines
// captured so far and starts a new triggered picture.
//
// fps = 0: an armed or triggered frame, or a triggered line, is there at once.
//
// Rows are delivered in the order the camera scans them (TestPattern::Scan):
// the row is the number of TransferLine calls since the frame was armed or
// triggered or since BeginReadout. A TransferLine for a
// row that has not arrived, with no destination, with a count of 0 or with more
// than one row's bytes writes nothing and fails. With stallAfterRows set, rows
// stop arriving once that many have been transferred in total.
class SimulatedCard final : public DriverChannel {
  public:
    SimulatedCard(Clock& clock, CardOptions options);

    bool Open() override;
    bool Command(DriverRequest& request) override;
    bool TransferLine(const LineRequest& request) override;
    void Close() override;

  private:
    using Duration = Clock::Duration;

    bool LineTriggerMode() const { return options_.lineCamera && linesParameter_ == 1; }
    void StartCapture(Duration start);
    void SoftwareTrigger();
    void DropTriggeredLines();
    // Rows there for the current capture or trigger queue. The clock is asked
    // only while fewer than `needed` rows are known to have arrived.
    long long RowsAvailable(long long needed = std::numeric_limits<long long>::max());
    std::uint16_t LineCount();

    Clock& clock_;
    CardOptions options_;
    TestPattern pattern_;
    Duration origin_;
    Duration period_{0};  // 0 when fps = 0
    Duration active_{0};  // part of the period in which rows arrive

    bool open_ = false;
    std::uint16_t triggerBits_ = 0;
    std::uint16_t linesParameter_ = 0;
    // BeginTable announces the entries; TableEntries beyond them are refused.
    std::size_t tableSize_ = 0;
    std::size_t tableLoaded_ = 0;

    // Area or free-running capture.
    bool armed_ = false;
    long long arrived_ = 0;  // rows of the capture known to have arrived
    Duration captureStart_{0};
    std::uint32_t captureNumber_ = 0;
    std::uint32_t nextNumber_ = 0;
    long long row_ = 0;

    // Line trigger mode: when each captured, unread line is there (in capture
    // order), when the last one captured is, and where the next line read
    // falls in its picture.
    Duration linePeriod_{0};
    std::deque<Duration> triggered_;
    Duration lastLineReady_{0};
    int pictureLines_ = 1;
    int pictureLine_ = 0;
    std::uint32_t triggeredPicture_ = 0;

    long long rowsTransferred_ = 0;
};

}  // namespace qm71::sim
