#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/atomic_file.h"
#include "testing/temp_folder.h"

namespace qm71 {

class AtomicFileTest : public ::testing::Test {
  protected:
    using Names = std::set<std::string>;

    // The names in a folder of `dir`, or in one given by its full path.
    Names InFolder(const std::filesystem::path& sub = {}) const {
        Names names;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path() / sub))
            names.insert(e.path().filename().string());
        return names;
    }
    static WriteResult Write(const std::filesystem::path& target, const std::string& text,
                             WriteMode mode = WriteMode::kReplace) {
        const ByteSpan parts[] = {std::as_bytes(std::span(text))};
        return WriteWholeFile(target, parts, mode);
    }

    testing::TempFolder dir;
};

}  // namespace qm71
