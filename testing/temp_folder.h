#pragma once

// A fresh folder for one test, removed with all it holds (also folders a test
// closed) afterwards, and the small file helpers the tests of saving share.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace qm71::testing {

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() / ("qm71-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
        Open(path_);  // so that a test may write as an ordinary user
    }
    ~TempFolder() {
        Open(path_);
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_))
            if (std::filesystem::is_directory(e.symlink_status())) Open(e.path());
        std::filesystem::remove_all(path_);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    void Put(const std::string& name, const std::string& text, int mode = 0644) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
        std::filesystem::permissions(path_ / name, std::filesystem::perms(mode));
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

  private:
    static void Open(const std::filesystem::path& p) {
        std::filesystem::permissions(p, std::filesystem::perms(0755));
    }
    std::filesystem::path path_;
};

}  // namespace qm71::testing
