// The items of one switch with a picture per monitor.
#include "switching/monitor_items.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "imagelib/image_header.h"
#include "imagelib/orientation.h"

namespace {

// A file read through the file system in small pieces, as the header reader asks for them.
class FileSystemBytes final : public ByteSource {
public:
    FileSystemBytes(FileSystem& fileSystem, const std::string& path)
        : fileSystem(fileSystem), path(path) {
        Fill(0);
    }
    bool IsOpen() const { return open; }
    std::uint64_t Size() const override { return size; }
    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) override {
        if (offset >= size) {
            return 0;
        }
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
        if (offset < windowStart || offset - windowStart + count > window.size()) {
            if (count > kPieceBytes || !Fill(offset)) {
                return 0;
            }
            count = std::min(count, window.size());
        }
        std::copy_n(window.data() + (offset - windowStart), count, static_cast<char*>(out));
        return count;
    }

private:
    static constexpr std::size_t kPieceBytes = 16 * 1024;
    // Headers are short: a file whose header wanders further is left unknown.
    static constexpr int kMaxPieces = 8;

    bool Fill(std::uint64_t offset) {
        if (pieces++ >= kMaxPieces) {
            return false;
        }
        std::optional<FilePart> part = fileSystem.ReadFilePart(path, offset, kPieceBytes);
        if (!part) {
            return false;
        }
        open = true;
        size = part->fileSize;
        window = std::move(part->bytes);
        windowStart = offset;
        return true;
    }

    FileSystem& fileSystem;
    const std::string& path;
    bool open = false;
    std::uint64_t size = 0;
    std::string window;
    std::uint64_t windowStart = 0;
    int pieces = 0;
};

bool Fits(PictureShape shape, bool portraitMonitor) {
    return shape == (portraitMonitor ? PictureShape::Tall : PictureShape::Wide);
}

// The taken positions repeated over the monitors left without one.
void FillMonitors(std::vector<int>& positions, std::size_t monitors) {
    const std::size_t taken = positions.size();
    for (std::size_t i = taken; i < monitors && taken > 0; ++i) {
        positions.push_back(positions[i % taken]);
    }
}

}  // namespace

PictureShape ReadPictureShape(FileSystem& fileSystem, const std::string& path, int page,
                              int rotation, bool upright) {
    FileSystemBytes file(fileSystem, path);
    if (!file.IsOpen()) {
        return PictureShape::Unreadable;
    }
    const std::optional<ImageHeader> header = ReadImageHeader(file);
    // The header tells the first page only.
    if (!header || page != 0) {
        return PictureShape::Unknown;
    }
    const bool quarterTurn =
        (rotation == 1 || rotation == 2) != (upright && pixelops::SwapsSides(header->orientation));
    const bool tall = quarterTurn ? header->width > header->height : header->height > header->width;
    return tall ? PictureShape::Tall : PictureShape::Wide;
}

MonitorItems ChooseInOrder(std::vector<WallpaperEntry>& sequence, int start,
                           const std::vector<bool>& portraitMonitors, bool matchOrientation,
                           const ShapeOfItem& shapeOf) {
    const int n = static_cast<int>(sequence.size());
    MonitorItems set;
    if (n == 0) {
        return set;
    }
    start = start >= 0 && start < n ? start : 0;
    // Shapes by offset from start, read once each and moved along with their items.
    std::vector<std::optional<PictureShape>> shapes(static_cast<std::size_t>(n));
    const auto at = [&](int offset) { return static_cast<std::size_t>((start + offset) % n); };
    const auto shape = [&](int offset) {
        std::optional<PictureShape>& known = shapes[static_cast<std::size_t>(offset)];
        if (!known) {
            known = shapeOf(sequence[at(offset)]);
        }
        return *known;
    };
    int cursor = 0;
    // Beyond these, an unreadable item is taken like any other: its show fails and the loop
    // passes the set over, on the worker rather than with ever more reads here.
    int passable = kOrientationSearch;
    for (const bool portrait : portraitMonitors) {
        while (cursor < n && passable > 0 && shape(cursor) == PictureShape::Unreadable) {
            ++cursor;
            --passable;
        }
        if (cursor == n) {
            break;
        }
        const int searchEnd = std::min(n, cursor + kOrientationSearch);
        for (int offset = cursor; matchOrientation && offset < searchEnd; ++offset) {
            if (Fits(shape(offset), portrait)) {
                // Forward to the cursor; the items between keep their order behind it.
                for (int i = offset; i > cursor; --i) {
                    std::swap(sequence[at(i)], sequence[at(i - 1)]);
                    std::swap(shapes[static_cast<std::size_t>(i)],
                              shapes[static_cast<std::size_t>(i - 1)]);
                }
                break;
            }
        }
        set.positions.push_back(static_cast<int>(at(cursor)));
        ++cursor;
    }
    if (set.positions.empty()) {
        set.positions.push_back(start);
    }
    set.advance = cursor;
    FillMonitors(set.positions, portraitMonitors.size());
    return set;
}

MonitorItems ChooseAtRandom(const std::vector<WallpaperEntry>& sequence, int first,
                            const std::vector<bool>& portraitMonitors, bool matchOrientation,
                            const ShapeOfItem& shapeOf, const std::function<int()>& draw) {
    const int n = static_cast<int>(sequence.size());
    const std::size_t monitors = portraitMonitors.size();
    MonitorItems set;
    set.advance = static_cast<int>(monitors);
    if (n == 0 || monitors == 0) {
        return set;
    }
    first = first >= 0 && first < n ? first : 0;
    std::vector<int> chosen(monitors, -1);
    const auto taken = [&](int position) {
        return std::find(chosen.begin(), chosen.end(), position) != chosen.end();
    };
    const auto takenCount = [&] {
        return static_cast<int>(std::count_if(chosen.begin(), chosen.end(),
                                              [](int position) { return position >= 0; }));
    };
    const PictureShape firstShape = shapeOf(sequence[static_cast<std::size_t>(first)]);
    if (firstShape != PictureShape::Unreadable) {
        std::size_t to = 0;
        if (matchOrientation) {
            for (std::size_t m = 0; m < monitors; ++m) {
                if (Fits(firstShape, portraitMonitors[m])) {
                    to = m;
                    break;
                }
            }
        }
        chosen[to] = first;
    }
    for (std::size_t m = 0; m < monitors; ++m) {
        if (chosen[m] >= 0) {
            continue;
        }
        // Enough draws to pass over a few unreadable items and items of the set already.
        int searched = 0;
        for (int draws = 0; draws < 2 * kOrientationSearch; ++draws) {
            const int position = draw();
            if (position < 0 || position >= n || (taken(position) && takenCount() < n)) {
                continue;
            }
            const PictureShape found = shapeOf(sequence[static_cast<std::size_t>(position)]);
            if (found == PictureShape::Unreadable) {
                continue;
            }
            if (chosen[m] < 0 || Fits(found, portraitMonitors[m])) {
                chosen[m] = position;
            }
            if (!matchOrientation || Fits(found, portraitMonitors[m]) ||
                ++searched >= kOrientationSearch) {
                break;
            }
        }
    }
    // Monitors left without an item show the items taken again, in their order.
    std::vector<int> present;
    std::copy_if(chosen.begin(), chosen.end(), std::back_inserter(present),
                 [](int position) { return position >= 0; });
    if (present.empty()) {
        present.push_back(first);
    }
    std::size_t again = 0;
    for (int& position : chosen) {
        if (position < 0) {
            position = present[again++ % present.size()];
        }
    }
    set.positions = std::move(chosen);
    return set;
}
