// The wallpaper list view (control 1000): a virtual report list that shows the row model.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "list/wallpaper_rows.h"

class CWallpaperListCtrl final : public RowsView {
public:
    CWallpaperListCtrl(const AppSettings& settings, FileSystem& fileSystem);
    CWallpaperListCtrl(const CWallpaperListCtrl&) = delete;
    CWallpaperListCtrl& operator=(const CWallpaperListCtrl&) = delete;
    ~CWallpaperListCtrl();

    // Takes over the dialog's list view: styles, columns and the model.
    void Attach(HWND listView);
    HWND Handle() const { return list; }

    // The list's notifications, seen before the parent handles them. True when the
    // notification is answered here, with its result; the parent still sees the others.
    bool OnNotify(const NMHDR& header, LRESULT& result);

    WallpaperRows rows;
    // A drag-reorder is in progress: the main window does not report selection changes.
    bool dragging = false;
    int dragSource = -1;
    // The row under the cursor, drawn drop-highlighted; -1 when none.
    int dropTarget = -1;
    // The direction of the next column sort.
    bool sortAscending = true;

    // RowsView
    void RowsReset() override;
    void RowsUpdated(int first, int last) override;
    void RowStateChanged(int row) override;
    void EnsureVisible(int row) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    // The list's own messages, before its default handling; true when they are done here.
    bool OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void BeginDrag(const NMLISTVIEW& start);
    void TrackDrag(POINT point);
    void AutoScroll();
    // Ends a drag; the row moves only with drop, else it was cancelled.
    void EndDrag(bool drop);
    void OnDropFiles(HDROP drop);
    bool OnDoubleClick();
    void ShowDragImage(POINT point);
    void HideDragImage();
    void CreateColumns();
    // The columns keep their share of the list at a new DPI.
    void RescaleColumns(int dpi);
    void PushSelection();
    bool OnGetDispInfo(NMLVDISPINFOW& info);
    int FindRowByName(const std::string& text, UINT flags, int startRow) const;

    HWND list = nullptr;
    POINT hotSpot{};
    HIMAGELIST dragImage = nullptr;
    UINT_PTR scrollTimer = 0;
    // The DPI the column widths are at.
    int columnsDpi = 96;
    // Set while the model's selection is copied into the control, whose echoes are ignored.
    bool pushing = false;
};
