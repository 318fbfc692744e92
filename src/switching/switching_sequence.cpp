// The switching sequence and the choice of the next item to show.
#include "switching/switching_sequence.h"

#include <string>

#include "list/folder_scan.h"
#include "list/line_tokenizer.h"
#include "list/path_helpers.h"

std::vector<std::uint16_t> ParsePageList(std::string_view text) {
    std::vector<std::uint16_t> pages;
    LineTokenizer tokenizer(text);
    for (int page = tokenizer.NextNumber(); page >= 0; page = tokenizer.NextNumber()) {
        pages.push_back(static_cast<std::uint16_t>(page & 0xFFFF));
    }
    if (pages.empty()) {
        pages.push_back(0);
    }
    return pages;
}

std::vector<WallpaperEntry> BuildSequence(const WallpaperRows& rows, int includeSubfolders,
                                          FileSystem& fileSystem,
                                          mbcs::LeadBytePredicate isLeadByte) {
    std::vector<WallpaperEntry> sequence;
    for (int row = 0; row < rows.Count(); ++row) {
        const WallpaperEntry& entry = rows.EntryAt(row);
        if (IsExistingFile(entry.path, fileSystem)) {
            for (std::uint16_t page : ParsePageList(entry.pages)) {
                sequence.push_back({row, entry.rotation, std::to_string(page), entry.path});
            }
            continue;
        }
        std::vector<std::string> files;
        ScanFolder(entry.path, files, includeSubfolders == 1, fileSystem, isLeadByte);
        for (std::string& file : files) {
            sequence.push_back({row, 0, std::string(), std::move(file)});
        }
    }
    return sequence;
}

void SwitchToNext(SwitchState& state) {
    const int n = static_cast<int>(state.sequence.size());
    if (n == 0) {
        return;
    }
    state.host.ShowWaitCursor(true);
    int& nextIndex = state.settings.nextIndex;
    if (nextIndex < 0 || nextIndex >= n) {
        nextIndex = 0;
    }
    int lastTried = nextIndex;
    for (int attempt = 0; attempt < n; ++attempt) {
        lastTried = nextIndex;
        const WallpaperEntry& item = state.sequence[static_cast<size_t>(nextIndex)];
        if (state.host.RenderItem(item, ParsePageList(item.pages).front())) {
            break;
        }
        nextIndex = (nextIndex + 1) % n;
        state.host.OnItemFailed();
    }
    state.host.ShowSourceRow(state.sequence[static_cast<size_t>(lastTried)].index);
    if (state.settings.randomOrder && n >= 4) {
        int next = nextIndex;
        while (next == nextIndex) {
            next = RandomIndex(state.random, n);
        }
        nextIndex = next;
    } else {
        nextIndex = (nextIndex + 1) % n;
    }
    state.host.StoreNextIndex(nextIndex);
    state.host.ArmInterval();
    state.host.ShowWaitCursor(false);
}

void PrepareNextIndex(SwitchState& state, bool randomStart) {
    const int n = static_cast<int>(state.sequence.size());
    int& nextIndex = state.settings.nextIndex;
    if (randomStart && state.settings.randomOrder) {
        nextIndex = RandomIndex(state.random, n);
    }
    if (nextIndex < 0 || nextIndex >= n) {
        nextIndex = 0;
    }
}

void SwitchNow(SwitchState& state,
               const std::function<std::vector<WallpaperEntry>()>& buildSequence) {
    if (state.sequence.empty()) {
        state.sequence = buildSequence();
        PrepareNextIndex(state, false);
    }
    if (state.sequence.size() < 2) {
        return;
    }
    if (state.settings.randomOrder) {
        state.settings.nextIndex =
            RandomIndex(state.random, static_cast<int>(state.sequence.size()));
    }
    SwitchToNext(state);
}
