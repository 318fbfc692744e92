// The rows of the wallpaper list and the uniqueness index.
#include "list/wallpaper_rows.h"

#include <algorithm>
#include <utility>

#include "list/line_tokenizer.h"
#include "list/path_helpers.h"

int CompareRowNames(std::string_view x, std::string_view y) {
    const size_t dx = x.rfind('.');
    const size_t dy = y.rfind('.');
    if (dx == std::string_view::npos || dy == std::string_view::npos || dx + 1 == x.size() ||
        dy + 1 == y.size()) {
        return x.compare(y);
    }
    if (dx == dy) {
        int stems = x.substr(0, dx).compare(y.substr(0, dy));
        return stems != 0 ? stems : x.substr(dx + 1).compare(y.substr(dy + 1));
    }
    int common = x.substr(0, std::min(dx, dy)).compare(y.substr(0, std::min(dx, dy)));
    if (common != 0) {
        return common;
    }
    return dx < dy ? -1 : 1;
}

WallpaperRows::WallpaperRows(const AppSettings& settings, FileSystem& fileSystem, PathCase pathCase)
    : settings(settings), fileSystem(fileSystem), pathCase(pathCase) {}

WallpaperRows::Row WallpaperRows::MakeRow(const std::string& path) const {
    PathParts parts = SplitPath(path, pathCase.isLeadByte);
    Row row;
    row.name = IsFolderPath(path, fileSystem) ? "[" + parts.name + "]" : std::move(parts.name);
    row.folder = std::move(parts.folder);
    row.entry.path = path;
    return row;
}

void WallpaperRows::AddEntry(const std::string& path) {
    rows.push_back(MakeRow(path));
    Count(path);
    NotifyReset();
}

int WallpaperRows::InsertEntries(int before, const std::vector<std::string>& paths) {
    std::vector<Row> block;
    for (const std::string& path : paths) {
        if (!Contains(path)) {
            block.push_back(MakeRow(path));
            Count(path);
        }
    }
    if (block.empty()) {
        return 0;
    }
    auto position = before >= 0 && before < Count() ? rows.begin() + before : rows.end();
    rows.insert(position, std::make_move_iterator(block.begin()),
                std::make_move_iterator(block.end()));
    NotifyReset();
    return static_cast<int>(block.size());
}

void WallpaperRows::SortBy(int column, bool ascending) {
    // The folded keys are made once per row, not once per comparison.
    struct Keyed {
        std::string name;
        std::string folder;
        size_t row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        keyed.push_back({pathCase.lower(rows[i].name, pathCase.isLeadByte),
                         pathCase.lower(rows[i].folder, pathCase.isLeadByte), i});
    }
    const int sign = ascending ? 1 : -1;
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        int order = column == 0 ? CompareRowNames(a.name, b.name) : a.folder.compare(b.folder);
        if (order == 0) {
            order = column == 0 ? a.folder.compare(b.folder) : CompareRowNames(a.name, b.name);
        }
        return sign * order < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const Keyed& k : keyed) {
        sorted.push_back(std::move(rows[k.row]));
    }
    rows = std::move(sorted);
    NotifyReset();
}

void WallpaperRows::SetRow(int row, const std::string& name, const std::string& folder,
                           const WallpaperEntry& entry) {
    Row& target = rows.at(static_cast<size_t>(row));
    Uncount(target.entry.path);
    target.name = name;
    target.folder = folder;
    target.entry = entry;
    Count(entry.path);
    if (updateDepth > 0) {
        pendingReset = true;
    } else if (view != nullptr) {
        view->RowsUpdated(row, row);
    }
}

bool WallpaperRows::Contains(const std::string& path) const {
    if (!settings.enforceUniqueness) {
        return false;
    }
    return pathCounts.contains(pathCase.lower(path, pathCase.isLeadByte));
}

void WallpaperRows::RemoveRow(int row) {
    if (row < 0 || row >= Count()) {
        return;
    }
    auto position = rows.begin() + row;
    Uncount(position->entry.path);
    rows.erase(position);
    NotifyReset();
}

void WallpaperRows::RemoveSelected() {
    // One pass instead of a deletion per row: the same rows go, in linear time.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (row->selected) {
            Uncount(row->entry.path);
        }
    }
    auto removed =
        std::remove_if(rows.begin(), rows.end(), [](const Row& r) { return r.selected; });
    if (removed == rows.end()) {
        return;
    }
    rows.erase(removed, rows.end());
    NotifyReset();
}

void WallpaperRows::RemoveAll() {
    for (const Row& row : rows) {
        Uncount(row.entry.path);
    }
    rows.clear();
    NotifyReset();
}

int WallpaperRows::FirstSelected() const {
    auto found = std::find_if(rows.begin(), rows.end(), [](const Row& r) { return r.selected; });
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

int WallpaperRows::SelectedCount() const {
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const Row& r) { return r.selected; }));
}

void WallpaperRows::SetSelected(int row, bool selected) {
    if (row < 0 || row >= Count() || rows[static_cast<size_t>(row)].selected == selected) {
        return;
    }
    rows[static_cast<size_t>(row)].selected = selected;
    NotifyState(row);
}

void WallpaperRows::SelectOnly(int row) {
    for (int i = 0; i < Count(); ++i) {
        rows[static_cast<size_t>(i)].selected = i == row;
    }
    NotifyState(-1);
}

void WallpaperRows::SetDropHighlighted(int row, bool highlighted) {
    if (row < 0 || row >= Count() ||
        rows[static_cast<size_t>(row)].dropHighlighted == highlighted) {
        return;
    }
    rows[static_cast<size_t>(row)].dropHighlighted = highlighted;
    NotifyState(row);
}

void WallpaperRows::ShowRow(int row) {
    if (updateDepth > 0) {
        pendingVisibleRow = row;
    } else if (view != nullptr) {
        view->EnsureVisible(row);
    }
}

std::string WallpaperRows::SelectionText() const {
    std::string text;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].selected) {
            if (!text.empty()) {
                text += ' ';
            }
            text += std::to_string(i);
        }
    }
    return text;
}

void WallpaperRows::RestoreSelection(std::string_view text) {
    LineTokenizer tokenizer(text);
    for (int row = tokenizer.NextNumber(); row >= 0; row = tokenizer.NextNumber()) {
        SetSelected(row, true);
    }
    int first = FirstSelected();
    if (first >= 0) {
        ShowRow(first);
    }
}

int WallpaperRows::FindByName(std::string_view text, bool partial, bool wrap, int start) const {
    const int count = Count();
    if (text.empty() || count == 0) {
        return -1;
    }
    const std::string wanted = pathCase.lower(text, pathCase.isLeadByte);
    start = std::clamp(start, 0, count - 1);
    const int steps = wrap ? count : count - start;
    for (int step = 0; step < steps; ++step) {
        int row = (start + step) % count;
        std::string name = pathCase.lower(rows[static_cast<size_t>(row)].name, pathCase.isLeadByte);
        if (partial ? name.starts_with(wanted) : name == wanted) {
            return row;
        }
    }
    return -1;
}

void WallpaperRows::NoteSelectionFromView(int row, bool selected) {
    if (row == -1) {
        for (Row& r : rows) {
            r.selected = selected;
        }
    } else if (row >= 0 && row < Count()) {
        rows[static_cast<size_t>(row)].selected = selected;
    }
}

void WallpaperRows::BeginUpdate() {
    ++updateDepth;
}

void WallpaperRows::EndUpdate() {
    if (--updateDepth > 0) {
        return;
    }
    bool reset = std::exchange(pendingReset, false);
    int visibleRow = std::exchange(pendingVisibleRow, -1);
    if (view == nullptr) {
        return;
    }
    if (reset) {
        view->RowsReset();
    }
    if (visibleRow >= 0) {
        view->EnsureVisible(visibleRow);
    }
}

void WallpaperRows::Count(const std::string& path) {
    if (path == kPlaceholderPath) {
        return;
    }
    auto [position, inserted] =
        pathCounts.try_emplace(pathCase.lower(path, pathCase.isLeadByte), 0);
    if (!inserted) {
        ++position->second;
    }
}

void WallpaperRows::Uncount(const std::string& path) {
    if (path == kPlaceholderPath) {
        return;
    }
    auto position = pathCounts.find(pathCase.lower(path, pathCase.isLeadByte));
    if (position == pathCounts.end()) {
        return;
    }
    if (position->second > 0) {
        --position->second;
    } else {
        pathCounts.erase(position);
    }
}

void WallpaperRows::NotifyReset() {
    if (updateDepth > 0) {
        pendingReset = true;
    } else if (view != nullptr) {
        view->RowsReset();
    }
}

void WallpaperRows::NotifyState(int row) {
    if (updateDepth > 0) {
        pendingReset = true;
    } else if (view != nullptr) {
        view->RowStateChanged(row);
    }
}
