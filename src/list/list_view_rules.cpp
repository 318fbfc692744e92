// The rules of the list view's direct manipulation: where a dragged row is over, the move of a
// dragged row to its target, and the order of names when sorting.
#include "list/list_view_rules.h"

namespace {

// Hit-test flags as the list view reports them.
constexpr unsigned kOnItem = 0x0E;  // LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON
constexpr unsigned kAbove = 0x08;   // LVHT_ABOVE, the same bit as the state icon
constexpr unsigned kBelow = 0x10;   // LVHT_BELOW

}  // namespace

DragHit ClassifyDragHit(unsigned hitFlags, int row) {
    // LVHT_ABOVE shares its bit with the state icon: only a row number tells them apart.
    if (row >= 0 && (hitFlags & kOnItem) != 0) {
        return DragHit::OnRow;
    }
    if (row < 0 && (hitFlags & kAbove) != 0) {
        return DragHit::Above;
    }
    if ((hitFlags & kBelow) != 0) {
        return DragHit::Below;
    }
    return DragHit::Elsewhere;
}

bool FinishDrag(WallpaperRows& rows, int source, int target) {
    if (target < 0 || target >= rows.Count()) {
        return false;
    }
    rows.SetDropHighlighted(target, false);
    if (target == source || source < 0 || source >= rows.Count()) {
        return true;
    }
    const WallpaperRows::Row moved = rows.RowAt(source);
    if (target < source) {
        for (int i = source - 1; i >= target; --i) {
            const WallpaperRows::Row& row = rows.RowAt(i);
            rows.SetRow(i + 1, row.name, row.folder, row.entry);
        }
    } else {
        for (int i = source + 1; i <= target; ++i) {
            const WallpaperRows::Row& row = rows.RowAt(i);
            rows.SetRow(i - 1, row.name, row.folder, row.entry);
        }
    }
    rows.SetRow(target, moved.name, moved.folder, moved.entry);
    rows.SelectOnly(target);
    return true;
}
