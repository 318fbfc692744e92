// The rules of the list view's direct manipulation: where a dragged row is over, the move of a
// dragged row to its target, and the order of names when sorting.
#pragma once

#include <string_view>

#include "list/wallpaper_rows.h"

// Where the cursor is during a drag, from the list's hit test (flags and row).
enum class DragHit { OnRow, Above, Below, Elsewhere };
DragHit ClassifyDragHit(unsigned hitFlags, int row);

// A drag started on one row only; a multi-selection is not dragged.
inline bool CanStartDrag(int selectedCount) {
    return selectedCount == 1;
}

// Ends a drag of row source released over target (-1: over no row). The row's texts and entry
// move to the target, the rows between shift by one, and only the target is selected. Returns
// whether the list counts as changed: whenever a row was under the cursor, itself included.
bool FinishDrag(WallpaperRows& rows, int source, int target);

// The direction of a column click's sort: one flag serves both columns, the first click sorts
// ascending and each further click, on either header, the other way round.
inline bool TakeSortDirection(bool& sortAscending) {
    bool ascending = sortAscending;
    sortAscending = !sortAscending;
    return ascending;
}
