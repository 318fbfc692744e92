// The header of an AVIF or HEIF file: the boxes of its meta box that describe the primary
// item (its size, its rotation and mirroring, an alpha item beside it), no pixel data.
#include <algorithm>
#include <map>
#include <type_traits>
#include <vector>

#include "imagelib/header_reader.h"

namespace headers {

namespace {

// More boxes, items or associations than any real file carries mean a hostile one.
constexpr int kMaxBoxes = 65536;
constexpr std::size_t kMaxEntries = 65536;
// Items an image's size may be looked for through (a derived item, then its source).
constexpr int kMaxSourceHops = 4;

struct Box {
    std::string type;
    std::uint64_t data = 0;  // after the header
    std::uint64_t size = 0;  // of the data
    std::uint64_t End() const { return data + size; }
};

// Hands each box in [begin, end) to visit until it returns false (when it returns anything);
// false when a box does not fit or there are too many.
template <typename Visit>
bool WalkBoxes(Reader& r, std::uint64_t begin, std::uint64_t end, Visit visit) {
    std::uint64_t at = begin;
    for (int n = 0; at < end; ++n) {
        if (n == kMaxBoxes || end - at < 8) {
            return false;
        }
        std::uint64_t size = r.U32(at, kBig);
        Box box{r.Text(at + 4, 4), at + 8, 0};
        if (size == 1) {
            size = r.U64(at + 8, kBig);
            box.data = at + 16;
        } else if (size == 0) {
            size = end - at;  // to the end of the enclosing box
        }
        if (!r.Ok() || size < box.data - at || size > end - at) {
            return false;
        }
        box.size = size - (box.data - at);
        if constexpr (std::is_same_v<decltype(visit(box)), bool>) {
            if (!visit(box)) {
                return r.Ok();
            }
        } else {
            visit(box);
        }
        if (!r.Ok()) {
            return false;
        }
        at += size;
    }
    return true;
}

// An orientation as a mirroring left-right (first) and then clockwise quarter turns.
struct Transform {
    bool mirror = false;
    int turns = 0;

    void Turn(int clockwise) { turns = (turns + clockwise) % 4; }
    void Mirror() {
        mirror = !mirror;
        turns = (4 - turns) % 4;
    }
    int Exif() const {
        static constexpr int kPlain[] = {1, 6, 3, 8};
        static constexpr int kMirrored[] = {2, 7, 4, 5};
        return mirror ? kMirrored[turns] : kPlain[turns];
    }
};

bool IsAlphaType(const std::string& auxType) {
    return auxType == "urn:mpeg:mpegB:cicp:systems:auxiliary:alpha" ||
           auxType == "urn:mpeg:hevc:2015:auxid:1";
}

struct Meta {
    std::optional<std::uint32_t> primary;
    std::map<std::uint32_t, std::string> itemTypes;
    std::vector<Box> properties;
    std::map<std::uint32_t, std::vector<std::uint32_t>> associations;  // 1-based indices
    std::vector<std::pair<std::uint32_t, std::uint32_t>> alphaFor;     // auxl: from, to
    std::map<std::uint32_t, std::uint32_t> firstSource;                // dimg: from, first to

    bool TooMany() const {
        return itemTypes.size() > kMaxEntries || associations.size() > kMaxEntries ||
               alphaFor.size() > kMaxEntries || firstSource.size() > kMaxEntries;
    }
};

// The version of a full box; a box too short to have one fails the reader.
std::uint32_t Version(Reader& r, const Box& box) {
    if (box.size < 4) {
        r.Fail();
        return 0;
    }
    return r.U8(box.data);
}

void ReadItemInfo(Reader& r, const Box& iinf, Meta& meta) {
    const std::uint64_t children = iinf.data + (Version(r, iinf) == 0 ? 6 : 8);
    if (children > iinf.End()) {
        r.Fail();
        return;
    }
    const bool ok = WalkBoxes(r, children, iinf.End(), [&](const Box& infe) {
        if (infe.type != "infe") {
            return;
        }
        const std::uint32_t version = Version(r, infe);
        if (version < 2) {
            return;  // older entries carry no item type
        }
        if (meta.TooMany()) {
            r.Fail();
            return;
        }
        const std::uint64_t idBytes = version == 2 ? 2 : 4;
        if (infe.size < 4 + idBytes + 2 + 4) {
            r.Fail();
            return;
        }
        const std::uint32_t id =
            idBytes == 2 ? r.U16(infe.data + 4, kBig) : r.U32(infe.data + 4, kBig);
        meta.itemTypes[id] = r.Text(infe.data + 4 + idBytes + 2, 4);
    });
    if (!ok) {
        r.Fail();
    }
}

void ReadReferences(Reader& r, const Box& iref, Meta& meta) {
    const std::uint64_t idBytes = Version(r, iref) == 0 ? 2 : 4;
    const auto id = [&](std::uint64_t at) {
        return idBytes == 2 ? r.U16(at, kBig) : r.U32(at, kBig);
    };
    const bool ok = WalkBoxes(r, iref.data + 4, iref.End(), [&](const Box& ref) {
        if (ref.type != "auxl" && ref.type != "dimg") {
            return;
        }
        const std::uint32_t from = id(ref.data);
        const std::uint32_t count = r.U16(ref.data + idBytes, kBig);
        if (ref.size < idBytes + 2 + count * idBytes || meta.TooMany()) {
            r.Fail();
            return;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t to = id(ref.data + idBytes + 2 + i * idBytes);
            if (ref.type == "auxl") {
                meta.alphaFor.emplace_back(from, to);
            } else if (i == 0) {
                meta.firstSource.emplace(from, to);
            }
        }
    });
    if (!ok) {
        r.Fail();
    }
}

void ReadAssociations(Reader& r, const Box& ipma, Meta& meta) {
    const std::uint32_t version = Version(r, ipma);
    const bool wideIndex = (r.U8(ipma.data + 3) & 1) != 0;
    const std::uint32_t count = r.U32(ipma.data + 4, kBig);
    std::uint64_t at = ipma.data + 8;
    for (std::uint32_t i = 0; i < count && r.Ok(); ++i) {
        const std::uint64_t idBytes = version < 1 ? 2 : 4;
        if (at + idBytes + 1 > ipma.End()) {
            r.Fail();
            return;
        }
        const std::uint32_t id = idBytes == 2 ? r.U16(at, kBig) : r.U32(at, kBig);
        const std::uint32_t n = r.U8(at + idBytes);
        at += idBytes + 1;
        const std::uint64_t entryBytes = wideIndex ? 2 : 1;
        if (at + n * entryBytes > ipma.End() || meta.associations.size() >= kMaxEntries) {
            r.Fail();
            return;
        }
        std::vector<std::uint32_t>& indices = meta.associations[id];
        for (std::uint32_t k = 0; k < n; ++k, at += entryBytes) {
            // The top bit marks an essential property.
            indices.push_back(wideIndex ? r.U16(at, kBig) & 0x7FFF : r.U8(at) & 0x7Fu);
        }
    }
}

std::optional<Meta> ReadMeta(Reader& r, const Box& metaBox) {
    Meta meta;
    const bool ok = WalkBoxes(r, metaBox.data + 4, metaBox.End(), [&](const Box& box) {
        if (box.type == "pitm") {
            meta.primary =
                Version(r, box) == 0 ? r.U16(box.data + 4, kBig) : r.U32(box.data + 4, kBig);
            if (box.size < (Version(r, box) == 0 ? 6u : 8u)) {
                r.Fail();
            }
        } else if (box.type == "iinf") {
            ReadItemInfo(r, box, meta);
        } else if (box.type == "iref") {
            ReadReferences(r, box, meta);
        } else if (box.type == "iprp") {
            const bool whole = WalkBoxes(r, box.data, box.End(), [&](const Box& child) {
                if (child.type == "ipco") {
                    const bool fits = WalkBoxes(r, child.data, child.End(), [&](const Box& p) {
                        meta.properties.push_back(p);
                    });
                    if (!fits) {
                        r.Fail();
                    }
                } else if (child.type == "ipma") {
                    ReadAssociations(r, child, meta);
                }
            });
            if (!whole) {
                r.Fail();
            }
        }
    });
    if (!ok || !r.Ok() || meta.TooMany() || !meta.primary ||
        meta.itemTypes.count(*meta.primary) == 0) {
        return std::nullopt;
    }
    return meta;
}

// The properties of an item in the order they are listed; empty when an index points nowhere.
std::optional<std::vector<Box>> PropertiesOf(const Meta& meta, std::uint32_t item) {
    std::vector<Box> out;
    const auto found = meta.associations.find(item);
    if (found == meta.associations.end()) {
        return out;
    }
    for (std::uint32_t index : found->second) {
        if (index == 0) {
            continue;
        }
        if (index > meta.properties.size()) {
            return std::nullopt;
        }
        out.push_back(meta.properties[index - 1]);
    }
    return out;
}

bool HasAlphaItem(Reader& r, const Meta& meta) {
    for (const auto& [from, to] : meta.alphaFor) {
        if (to != *meta.primary) {
            continue;
        }
        const std::optional<std::vector<Box>> props = PropertiesOf(meta, from);
        for (const Box& p : props ? *props : std::vector<Box>{}) {
            if (p.type == "auxC" && p.size > 4) {
                const std::string text = r.Text(
                    p.data + 4, static_cast<std::size_t>(std::min<std::uint64_t>(p.size - 4, 64)));
                if (IsAlphaType(text.substr(0, text.find('\0')))) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace

std::optional<ImageHeader> ReadIsobmff(Reader& r, ImageFileFormat format) {
    std::optional<Meta> meta;
    // The walk stops at the meta box: a file cut after it still has its header.
    WalkBoxes(r, 0, r.Size(), [&](const Box& box) {
        if (box.type != "meta") {
            return true;
        }
        meta = ReadMeta(r, box);
        return false;
    });
    if (!meta || !r.Ok()) {
        return std::nullopt;
    }

    std::optional<std::vector<Box>> primaryProps = PropertiesOf(*meta, *meta->primary);
    if (!primaryProps) {
        return std::nullopt;
    }
    Transform transform;
    for (const Box& p : *primaryProps) {
        if (p.type == "irot" && p.size >= 1) {
            transform.Turn((4 - (r.U8(p.data) & 3)) % 4);  // irot turns anticlockwise
        } else if (p.type == "imir" && p.size >= 1) {
            // Axis 0 is vertical (left and right swap); axis 1 horizontal (top and bottom).
            transform.Mirror();
            if ((r.U8(p.data) & 1) != 0) {
                transform.Turn(2);
            }
        }
    }
    // The size from the item's own ispe, or from the item it is derived from.
    std::uint32_t item = *meta->primary;
    std::optional<std::vector<Box>> props = primaryProps;
    for (int hop = 0; props && hop <= kMaxSourceHops; ++hop) {
        for (const Box& p : *props) {
            if (p.type == "ispe" && p.size >= 12) {
                const std::uint32_t width = r.U32(p.data + 4, kBig);
                const std::uint32_t height = r.U32(p.data + 8, kBig);
                if (!r.Ok() || width == 0 || height == 0) {
                    return std::nullopt;
                }
                ImageHeader h =
                    Page(format, width, height, HasAlphaItem(r, *meta) ? 32 : 24, ColorKind::Color);
                h.orientation = transform.Exif();
                return r.Ok() ? std::optional(h) : std::nullopt;
            }
        }
        const auto source = meta->firstSource.find(item);
        if (source == meta->firstSource.end()) {
            break;
        }
        item = source->second;
        props = PropertiesOf(*meta, item);
    }
    return std::nullopt;
}

}  // namespace headers
