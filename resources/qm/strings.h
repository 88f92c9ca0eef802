#pragma once

#include <string_view>

namespace qm71::qm {

// String table of the viewer, by resource id.
enum StringId : int {
    // Camera command texts, 32793..32821. A selector family's set texts follow
    // its query id in selector order and are reached from it by arithmetic.
    IDS_MODE_QUERY = 32793,
    IDS_SHUTTER_QUERY = 32797,
    IDS_EXPOSURE_QUERY = 32801,
    IDS_EXPOSURE_SET = 32802,
    IDS_TRIGGER_QUERY = 32803,
    IDS_GAIN_QUERY = 32807,
    IDS_GAIN_SET = 32808,
    IDS_BLACK_QUERY = 32809,
    IDS_BLACK_SET = 32810,
    IDS_BLACK_FACTORY = 32811,
    IDS_STROBE_QUERY = 32812,
    IDS_DEFECT_QUERY = 32815,
    IDS_RESET = 32818,
    IDS_SAVE = 32819,
    IDS_CAMERA_TITLE = 32820,
    IDS_IDENTITY_QUERY = 32821,
    IDS_BMP_FILTER = 32822,
};

// The text of a string id; empty for an id the table does not hold.
std::string_view ResourceString(int id);

}  // namespace qm71::qm
