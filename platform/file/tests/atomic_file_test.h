#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/atomic_file.h"
#include "testing/temp_folder.h"

namespace qm71 {

// A folder to write in, and what is in it afterwards.
class AtomicFileTest : public ::testing::Test {
  protected:
    using Names = std::set<std::string>;

    Names InFolder(const std::string& sub = {}) const {
        Names names;
        for (const auto& e : std::filesystem::directory_iterator(dir / sub))
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
