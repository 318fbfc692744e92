// The items of one switch when every monitor shows its own picture: one item per monitor, the
// monitors taken in OrderMonitors' order, and with "match orientation" a portrait monitor
// given a portrait image and a wide monitor a wide one.
//
// In order, a switch takes the next items of the sequence from the start position. An item whose
// file cannot be read is passed over before the show (one missing file would otherwise fail the
// whole set, losing the good pictures of the other monitors), up to kOrientationSearch of them
// per switch; an item whose file reads but does not render fails the show, and the loop then
// tries the next set. With orientation matching, a monitor takes the first item of its shape
// among the next kOrientationSearch items and moves it forward to its place, so the items it passed
// keep their order and come next; when none of them has the shape (or its shape is unknown) it
// takes the next item. The set uses up `advance` positions (the number of monitors when every file
// reads), and the next switch starts there, wrapping at the sequence's end, so the sequence is gone
// through once without repeats.
//
// In random order the first monitor that can take it gets the item drawn already (the one
// prepared ahead), and each further monitor draws at random, or deals from the deck without
// repeats; with orientation matching a monitor draws up to kOrientationSearch readable items
// and takes the first of its shape, else the first drawn (a monitor draws at most twice that).
// Draws it passes over are spent: in plain random order nothing is lost, and from the deck those
// cards come again in the next deck. An item drawn already for the set is drawn again while the
// sequence has other items.
//
// With fewer readable items than monitors, the items taken are shown again on the monitors left.
// A switch reads at most the monitors' count plus twice kOrientationSearch headers (in order),
// each a few small reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "list/file_system.h"
#include "list/wallpaper_entry.h"

inline constexpr int kOrientationSearch = 20;

enum class PictureShape {
    // The header does not tell (a format the reader does not know, or a later page).
    Unknown,
    // As wide as high or wider.
    Wide,
    // Higher than wide.
    Tall,
    // The file cannot be opened or read.
    Unreadable,
};

// The shape of that page of the item's file as shown, turned upright as the file records (when
// upright) and then by its rotation, from the image header alone: a few small reads through the
// file system, never a decode.
PictureShape ReadPictureShape(FileSystem& fileSystem, const std::string& path, int page,
                              int rotation, bool upright = true);

using ShapeOfItem = std::function<PictureShape(const WallpaperEntry& item)>;

struct MonitorItems {
    // Positions in the sequence, one per monitor in order.
    std::vector<int> positions;
    // In order: how many positions from the start the set used up (passed over ones included).
    int advance = 0;
    bool operator==(const MonitorItems&) const = default;
};

// The set in order from start. It may move items of the sequence forward (see above); an empty
// sequence gives an empty set. When no item can be read, the start item stands for the set, and
// the whole sequence is used up.
MonitorItems ChooseInOrder(std::vector<WallpaperEntry>& sequence, int start,
                           const std::vector<bool>& portraitMonitors, bool matchOrientation,
                           const ShapeOfItem& shapeOf);

// The set in random order: first is the item drawn already, draw gives further positions.
// advance is the number of monitors.
MonitorItems ChooseAtRandom(const std::vector<WallpaperEntry>& sequence, int first,
                            const std::vector<bool>& portraitMonitors, bool matchOrientation,
                            const ShapeOfItem& shapeOf, const std::function<int()>& draw);
