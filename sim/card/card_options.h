#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm71::sim {

// What the simulated card and the camera behind it do. The program sets the
// geometry of its camera; QM71_SIM adjusts the rest.
struct CardOptions {
    // Frames (or line images) per second. 0 = every row is there as soon as the
    // host asks, so acquisition runs as fast as the host can copy.
    double fps = 15;
    // What QueryBase reports.
    std::uint16_t reportedBase = 0x320;
    // What Download reports: error number (0 = loaded) and attempt count.
    int downloadError = 0;
    int downloadAttempts = 1;
    // After this many rows transferred in total the card delivers no more rows.
    // -1 = never.
    long long stallAfterRows = -1;
    // Software trigger edges are ignored.
    bool noTrigger = false;
    // Geometry: rows of a frame (lines of a line image) and bytes per row.
    int rowsPerFrame = 2056;
    int rowBytes = 3072;
    // A line camera: lines per acquisition 1 means one line per software
    // trigger; the scene passes it from the picture's bottom edge up.
    bool lineCamera = false;
    // Line camera in trigger mode: the triggered lines are numbered in pictures
    // of this many lines (0 = rowsPerFrame).
    int triggeredPictureLines = 0;
    // Every request is written to the trace stream (QM71_SIM=trace).
    bool trace = false;
    // Sensor noise of the card service's camera: each 10-bit sensor value
    // varies by up to this much from frame to frame (0 = none).
    int noise = 0;
};

// Options for the area camera of QM and the line camera of QMDEMO.
CardOptions AreaCameraOptions();
CardOptions LineCameraOptions();

// Reads comma-separated `key=value` items over `options`:
//   fps=N               frames per second, fractional allowed, 0 = as fast as the host copies
//   base=N              what QueryBase reports, decimal or 0x hex
//   download-error=E:A  Download reports error E after A attempts (0..255 each)
//   stall-after-rows=N  the card stops delivering after N rows in total
//   no-trigger[=0|1]    software trigger edges are ignored
//   trace[=0|1]         one line per driver request on standard error
//   noise=N             sensor noise of up to N (0..1023) of the 10-bit sensor values
// Blanks around items are ignored, empty items are skipped. All or nothing: on
// an unknown key or a bad value `options` is left exactly as it was, `error`
// names the key and the function returns false.
bool ParseCardOptions(std::string_view text, CardOptions& options, std::string& error);

// One line for the user, e.g. "simulated card (fps=15, base 0x320)".
std::string DescribeCardOptions(const CardOptions& options);

}  // namespace qm71::sim
