#pragma once

#include <string>

namespace qm71 {

// What a program's information box says about it.
struct ProgramInfo {
    const char* icon;      // resource path of the program icon, e.g. ":/icons/qm.png"
    const char* product;   // the product line, e.g. "QM71 Kamera-Interface"
    const char* okButton;  // caption of the button that closes the box
};

// The "Info" box (template 100) of QM and QMDEMO without its widgets: the
// program's icon and product above the model family and the maker, the
// version line of this build, one button (id 1) that closes it with 1;
// Escape closes it with 2.
struct InfoBox {
    static constexpr int kVersionId = 1000;
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit InfoBox(const ProgramInfo& program);

    std::string icon;
    std::string product;
    std::string okButton;
    // "Version: " + the build date (Mmm dd yyyy, a day below 10 with a blank
    // before it, as the compiler writes it) + " " + the build time (hh:mm:ss).
    std::string version;
};

}  // namespace qm71
