// The rows of the wallpaper list: each row's column texts, entry, selection and drop
// highlight, and the uniqueness index. The list view only shows this model.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/app_settings.h"
#include "base/mbcs.h"
#include "base/utf8.h"
#include "list/file_system.h"
#include "list/wallpaper_entry.h"

// How paths are split and folded for sorting, searching and the uniqueness index. Paths are
// UTF-8, which needs no lead-byte rule; the Windows program folds case through the system's
// table, the portable default folds the common alphabets.
struct PathCase {
    mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes;
    std::string (*lower)(std::string_view, mbcs::LeadBytePredicate) = utf8::FoldCase;
};

// What a view of the rows is told; it reads everything else from the model.
class RowsView {
public:
    // Rows were added, removed or reordered: take the count, texts and states afresh.
    virtual void RowsReset() = 0;
    // The texts of rows first to last changed.
    virtual void RowsUpdated(int first, int last) = 0;
    // The selected or drop-highlighted state of a row changed; -1 for any number of rows.
    virtual void RowStateChanged(int row) = 0;
    // Scroll so the row is fully visible.
    virtual void EnsureVisible(int row) = 0;

protected:
    RowsView() = default;
    ~RowsView() = default;
};

// The list's order of two names (already folded to one case): by the part before the last dot
// first, then by the extension, so a.jpg comes before a.png and both before a.b.jpg. Negative,
// zero or positive.
int CompareRowNames(std::string_view x, std::string_view y);

class WallpaperRows {
public:
    struct Row {
        std::string name;
        std::string folder;
        WallpaperEntry entry;
        bool selected = false;
        bool dropHighlighted = false;
    };

    WallpaperRows(const AppSettings& settings, FileSystem& fileSystem, PathCase pathCase);
    WallpaperRows(const WallpaperRows&) = delete;
    WallpaperRows& operator=(const WallpaperRows&) = delete;

    void SetView(RowsView* rowsView) { view = rowsView; }

    int Count() const { return static_cast<int>(rows.size()); }
    const Row& RowAt(int row) const { return rows.at(static_cast<size_t>(row)); }

    // Appends a row for path with rotation 0 and no pages; a folder's name is shown in brackets.
    void AddEntry(const std::string& path);
    // Inserts rows for the paths as one block before a row (appended when before is not a row),
    // in their order, passing over every path Contains holds for; each inserted path counts at
    // once, so one given twice is inserted once under the uniqueness rule. Returns how many.
    int InsertEntries(int before, const std::vector<std::string>& paths);
    // Sorts the rows by a column (0 "Filename", any other "Folder") with the list's comparison;
    // selection and drop highlight stay with their rows.
    void SortBy(int column, bool ascending);
    // Rewrites a row's texts and copies all fields of entry into the row's entry.
    void SetRow(int row, const std::string& name, const std::string& folder,
                const WallpaperEntry& entry);
    WallpaperEntry& EntryAt(int row) { return rows.at(static_cast<size_t>(row)).entry; }
    const WallpaperEntry& EntryAt(int row) const { return rows.at(static_cast<size_t>(row)).entry; }
    // Whether a row holds path (in any letter case); always false unless uniqueness is enforced.
    bool Contains(const std::string& path) const;
    void RemoveRow(int row);
    void RemoveSelected();
    void RemoveAll();

    int FirstSelected() const;
    int SelectedCount() const;
    bool IsSelected(int row) const { return RowAt(row).selected; }
    void SetSelected(int row, bool selected);
    void SelectOnly(int row);
    void SetDropHighlighted(int row, bool highlighted);
    void ShowRow(int row);
    // Selected row numbers in ascending order, separated by one blank.
    std::string SelectionText() const;
    // Selects the rows a selection text names and shows the lowest selected row.
    void RestoreSelection(std::string_view text);

    // The first row from start on whose name equals text, or starts with it when partial, in
    // any letter case; the search goes round to the first row when wrap is set. -1 when none.
    int FindByName(std::string_view text, bool partial, bool wrap, int start) const;

    // A selection change the view made itself (the user clicked): recorded, not echoed back.
    // Row -1 stands for every row.
    void NoteSelectionFromView(int row, bool selected);

    // Between these, the view is told nothing; at the end it is reset once.
    void BeginUpdate();
    void EndUpdate();

    // Number of rows holding each folded path, minus one.
    const std::unordered_map<std::string, int>& PathCounts() const { return pathCounts; }

    // Set by a drag-reorder or a drop; the main window takes it over on its timer.
    bool changed = false;

private:
    Row MakeRow(const std::string& path) const;
    void Count(const std::string& path);
    void Uncount(const std::string& path);
    void NotifyReset();
    void NotifyState(int row);

    const AppSettings& settings;
    FileSystem& fileSystem;
    PathCase pathCase;
    RowsView* view = nullptr;
    std::vector<Row> rows;
    std::unordered_map<std::string, int> pathCounts;
    int updateDepth = 0;
    bool pendingReset = false;
    int pendingVisibleRow = -1;
};

// Holds back view updates for a scope: many rows change, the view is reset once.
class RowsUpdateScope {
public:
    explicit RowsUpdateScope(WallpaperRows& rows) : rows(rows) { rows.BeginUpdate(); }
    ~RowsUpdateScope() { rows.EndUpdate(); }
    RowsUpdateScope(const RowsUpdateScope&) = delete;
    RowsUpdateScope& operator=(const RowsUpdateScope&) = delete;

private:
    WallpaperRows& rows;
};
