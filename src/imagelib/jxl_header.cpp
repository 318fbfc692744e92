// The header of a JPEG XL file: the size and orientation at the start of the codestream, bare
// or inside the container's jxlc box or first jxlp boxes.
#include <algorithm>

#include "imagelib/header_reader.h"

namespace headers {

namespace {

// The size header and the orientation take far fewer bytes than this.
constexpr std::size_t kHeaderBytes = 64;
constexpr int kMaxBoxes = 4096;

// Reads fields least significant bit first, as the codestream stores them.
class BitReader {
public:
    explicit BitReader(const std::string& bytes) : bytes(bytes) {}

    bool Ok() const { return ok; }
    std::uint32_t Bits(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i, ++position) {
            if (position >= bytes.size() * 8) {
                ok = false;
                return 0;
            }
            value |= static_cast<std::uint32_t>(
                         static_cast<std::uint8_t>(bytes[position / 8]) >> (position % 8) & 1)
                     << i;
        }
        return value;
    }
    bool Bool() { return Bits(1) != 0; }
    // A side: a selector of four ranges, each a count of bits plus one.
    std::uint64_t Side() {
        static constexpr int kBits[] = {9, 13, 18, 30};
        return std::uint64_t{Bits(kBits[Bits(2)])} + 1;
    }

private:
    const std::string& bytes;
    std::size_t position = 0;
    bool ok = true;
};

// The first bytes of the codestream in the container's boxes; empty when there are none.
std::string ContainerCodestream(Reader& r) {
    std::string out;
    std::uint64_t at = 12;
    for (int n = 0; n < kMaxBoxes && out.size() < kHeaderBytes && r.Has(at, 8); ++n) {
        std::uint64_t size = r.U32(at, kBig);
        const std::string type = r.Text(at + 4, 4);
        std::uint64_t data = at + 8;
        if (size == 1) {
            size = r.U64(at + 8, kBig);
            data = at + 16;
        } else if (size == 0) {
            size = r.Size() - at;
        }
        if (!r.Ok() || size < data - at) {
            break;
        }
        // A box cut short still gives the bytes it has.
        const std::uint64_t end = size > r.Size() - at ? r.Size() : at + size;
        if (type == "jxlc" || type == "jxlp") {
            const std::uint64_t from = type == "jxlp" ? data + 4 : data;  // after its index
            if (from < end) {
                out += r.Text(from, static_cast<std::size_t>(
                                        std::min<std::uint64_t>(end - from, kHeaderBytes)));
            }
            if (type == "jxlc") {
                break;
            }
        }
        if (size > r.Size() - at) {
            break;
        }
        at += size;
    }
    return out;
}

}  // namespace

std::optional<ImageHeader> ReadJxl(Reader& r) {
    std::string codestream;
    if (r.Text(0, 2) == "\xFF\x0A") {
        codestream =
            r.Text(0, static_cast<std::size_t>(std::min<std::uint64_t>(r.Size(), kHeaderBytes)));
    } else {
        codestream = ContainerCodestream(r);
    }
    if (!r.Ok() || codestream.size() < 2 || codestream.compare(0, 2, "\xFF\x0A") != 0) {
        return std::nullopt;
    }
    BitReader bits(codestream);
    bits.Bits(16);
    const bool small = bits.Bool();
    const std::uint64_t height = small ? (bits.Bits(5) + 1) * 8 : bits.Side();
    const std::uint32_t ratio = bits.Bits(3);
    std::uint64_t width = 0;
    if (ratio == 0) {
        width = small ? (bits.Bits(5) + 1) * 8 : bits.Side();
    } else {
        // Fixed aspect ratios, numerator and denominator.
        static constexpr std::uint32_t kRatios[][2] = {{1, 1},  {12, 10}, {4, 3}, {3, 2},
                                                       {16, 9}, {5, 4},   {2, 1}};
        width = height * kRatios[ratio - 1][0] / kRatios[ratio - 1][1];
    }
    int orientation = 1;
    if (!bits.Bool() && bits.Bool()) {  // not all default, with the extra fields
        orientation = static_cast<int>(bits.Bits(3)) + 1;
    }
    if (!bits.Ok() || width > UINT32_MAX || height > UINT32_MAX) {
        return std::nullopt;
    }
    ImageHeader h = Page(ImageFileFormat::Jxl, static_cast<std::uint32_t>(width),
                         static_cast<std::uint32_t>(height), 24, ColorKind::Color);
    h.orientation = orientation;
    return h;
}

}  // namespace headers
