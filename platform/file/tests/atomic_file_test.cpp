#include "platform/file/tests/atomic_file_test.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;

TEST_F(AtomicFileTest, TheNameGetsAllPartsAndNothingElseIsLeft) {
    dir.Put("plain", "an older and longer text");
    const std::string head = "BM", body(70000, 'b');
    const ByteSpan parts[] = {std::as_bytes(std::span(head)), std::as_bytes(std::span(body))};
    for (const char* name : {"plain", "fresh"}) {
        const WriteResult r = WriteWholeFile(dir / name, parts, WriteMode::kReplace);
        ASSERT_TRUE(r.ok() && r.reason.empty()) << name << ": " << r.reason;
        EXPECT_EQ(dir.Get(name), head + body) << name;
    }
    ASSERT_TRUE(WriteWholeFile(dir / "empty", {}, WriteMode::kReplace).ok());
    // kCreateNew takes only a free name.
    ASSERT_TRUE(Write(dir / "00000001.bmp", "first", WriteMode::kCreateNew).ok());
    EXPECT_EQ(Write(dir / "00000001.bmp", "second", WriteMode::kCreateNew).status,
              WriteStatus::kNameTaken);
    EXPECT_EQ(dir.Get("00000001.bmp") + dir.Get("empty"), "first");
    EXPECT_EQ(InFolder(), (Names{"00000001.bmp", "empty", "fresh", "plain"}));
}

TEST_F(AtomicFileTest, FailureKeepsTheOldFileLeavesNoTemporaryAndSaysWhy) {
    dir.Put("plain", "old");
    fs::create_directory(dir / "folder");
    for (const fs::path& target :
         {dir / "plain/x", dir / "missing/x", dir / "folder", dir.Path() / ""}) {
        for (WriteMode mode : {WriteMode::kReplace, WriteMode::kCreateNew}) {
            const WriteResult r = Write(target, "new", mode);
            EXPECT_EQ(r.status, mode == WriteMode::kCreateNew && target == dir / "folder"
                                    ? WriteStatus::kNameTaken
                                    : WriteStatus::kFailed)
                << target;
            EXPECT_EQ(r.reason.empty(), r.status != WriteStatus::kFailed) << target;
        }
    }
    EXPECT_EQ(dir.Get("plain"), "old");
    EXPECT_EQ(InFolder(), (Names{"folder", "plain"}));
}

}  // namespace
}  // namespace qm71
