#include "viewer/core/bmp_export.h"

namespace qm71 {

static_assert(kBitmapPixelOffset == 1078);
static_assert(kBitmapFileSize == 6317110);

WriteResult SaveBitmap(const std::filesystem::path& target, const DisplayImage& image) {
    return WriteBitmapBlock(target, image.Block(), WriteMode::kReplace);
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
