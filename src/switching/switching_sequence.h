// The switching sequence: the wallpaper list expanded into one item per page of every file and
// one item per file in every folder, and the choice of the next item to show.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "app/app_settings.h"
#include "list/file_system.h"
#include "list/wallpaper_rows.h"
#include "switching/random_source.h"

// The page numbers of a page-selection text (lowest 16 bits of each, 0 to 65535); page 0 when
// none. A page the file does not have makes its item fail and be passed over.
std::vector<std::uint16_t> ParsePageList(std::string_view text);

// One item per listed page of every file row and one per file found under every other row;
// each item's index is its row.
std::vector<WallpaperEntry> BuildSequence(const WallpaperRows& rows, int includeSubfolders,
                                          FileSystem& fileSystem,
                                          mbcs::LeadBytePredicate isLeadByte);

// What a switch does outside the sequence.
class SwitchHost {
public:
    // Prepares the desktop edge mask and renders the item's page as the wallpaper.
    virtual bool RenderItem(const WallpaperEntry& item, int page) = 0;
    // An item failed to show.
    virtual void OnItemFailed() = 0;
    // Selects only the row (none when it no longer exists) and scrolls it into view.
    virtual void ShowSourceRow(int row) = 0;
    virtual void StoreNextIndex(int nextIndex) = 0;
    // Restarts the interval count.
    virtual void ArmInterval() = 0;
    // The wait cursor is shown for the whole switch; false restores the cursor before it.
    virtual void ShowWaitCursor(bool wait) = 0;

protected:
    SwitchHost() = default;
    ~SwitchHost() = default;
};

struct SwitchState {
    std::vector<WallpaperEntry>& sequence;
    AppSettings& settings;
    RandomSource& random;
    SwitchHost& host;
};

// Shows the item at nextIndex, passing over items that fail (at most once through the
// sequence), then advances nextIndex in order or at random and stores it.
void SwitchToNext(SwitchState& state);

// Puts nextIndex in range before use: a random start in random order, else 0 when outside.
void PrepareNextIndex(SwitchState& state, bool randomStart);

// "Switch wallpaper now": builds the sequence when there is none, then switches when it has two
// or more items.
void SwitchNow(SwitchState& state,
               const std::function<std::vector<WallpaperEntry>()>& buildSequence);
