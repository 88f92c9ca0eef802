#include "viewer/core/bmp_export.h"

namespace qm71 {

static_assert(kBitmapPixelOffset == 1078);
static_assert(kBitmapFileSize == 6317110);

WriteResult SaveBitmap(const std::filesystem::path& target, const DisplayImage& image) {
    const auto header =
        BitmapFileHeader(static_cast<std::uint32_t>(DisplayImage::kBlockSize), kBitmapPixelOffset);
    // Straight from the block: the frame loop runs on this thread, so nothing
    // changes it while it is written.
    const ByteSpan parts[] = {header, image.Block()};
    return WriteWholeFile(target, parts, WriteMode::kReplace);
}

std::string SaveFailureMessage(const std::filesystem::path& target, const WriteResult& result) {
    std::string text =
        "Die Datei \xE2\x80\x9E" + target.string() + "\xE2\x80\x9C konnte nicht gespeichert werden";
    if (!result.reason.empty()) text += ": " + result.reason;
    return text + ".";
}

bool SaveBitmapReporting(const std::filesystem::path& target, const DisplayImage& image,
                         Operator& op) {
    WriteResult result;
    {
        WaitCursor wait(op);
        result = SaveBitmap(target, image);
    }
    if (!result.ok()) op.Message(SaveFailureMessage(target, result));
    return result.ok();
}

std::filesystem::path WithDefaultExtension(std::filesystem::path typed) {
    // A trailing dot ("bild.") counts as no extension.
    if (!typed.filename().empty() && typed.extension().string().size() <= 1) {
        std::string name = typed.filename().string();
        if (!name.empty() && name.back() == '.') name.pop_back();
        typed.replace_filename(name + ".bmp");
    }
    return typed;
}

}  // namespace qm71
