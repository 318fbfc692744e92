// Fuzzes one bundled decoder's path as Velumar takes it: the file's header read, the checks
// before decoding, the decoding library through our adapter, and the recorded orientation
// applied; a full decode, a scaled one, a thumbnail and the file's description. Each target is
// built for one format (FUZZ_FORMAT) and leaves other inputs alone, so its corpus stays on its
// decoder. The system's decoder is a stand-in that decodes nothing.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imagelib/image_header.h"
#include "imagelib/photo_decoder.h"

namespace {

class NoSystemDecoder final : public ImageDecoder {
public:
    std::optional<DecodedPage> DecodePage(const std::string&, int) override { return {}; }
    std::optional<DecodedPage> DecodeThumbnail(const std::string&, std::uint32_t, std::uint32_t,
                                               std::stop_token) override {
        return {};
    }
    std::optional<ImageFileInfo> ReadFileInfo(const std::string&) override { return {}; }
};

// No decode gives a picture beyond the pixel limit.
void CheckFits(const std::optional<DecodedPage>& page) {
    if (page && std::uint64_t{page->image.Width()} * page->image.Height() > kMaxPixels) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryBytes bytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::optional<ImageHeader> header = ReadImageHeader(bytes);
    // Pictures are kept to a megapixel: a few bytes can claim the pixel limit, and decoding that
    // much from nothing only makes each run slow (the limit itself is the header fuzzer's).
    if (!header || header->format != ImageFileFormat::FUZZ_FORMAT ||
        header->largestPixels > (std::uint64_t{1} << 20)) {
        return 0;
    }
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/velumar-photo-fuzz-" +
        std::to_string(getpid());
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    static NoSystemDecoder system;
    static PhotoDecoder decoder(system);
    CheckFits(decoder.DecodePage(path, 0));
    CheckFits(decoder.DecodePageAtLeast(path, 0, {64, 48}));
    CheckFits(decoder.DecodeThumbnail(path, 32, 24, {}));
    decoder.ReadFileInfo(path);
    return 0;
}
