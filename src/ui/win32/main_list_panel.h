// The main window's list panel: the wallpaper list view with the rotation, pages, information
// and thumbnail controls beside it, the list file it shows, the list commands, and the refresh
// of every control that depends on the selection.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/app_settings.h"
#include "imagelib/image_library.h"
#include "list/file_system.h"
#include "list/wallpaper_entry.h"
#include "ui/main_window_controls.h"
#include "ui/win32/dialog_items.h"
#include "ui/win32/disabled_tips.h"
#include "ui/win32/image_preview_wnd.h"
#include "ui/win32/wallpaper_list_ctrl.h"

class CDialog;

// What the list panel asks of the rest of the main window.
class ListPanelHost {
public:
    virtual bool SwitchingActive() = 0;
    // Another list file is shown: the title follows, and what was rendered ahead goes.
    virtual void ListFileChanged() = 0;
    // The path of the picture on the desktop (the main monitor's); empty when none is known.
    virtual std::string PictureOnDesktop() = 0;

protected:
    ListPanelHost() = default;
    ~ListPanelHost() = default;
};

class CListPanel {
public:
    CListPanel(HINSTANCE instance, AppSettings& settings, FileSystem& fileSystem,
               ImageLibrary& library);
    CListPanel(const CListPanel&) = delete;
    CListPanel& operator=(const CListPanel&) = delete;

    // Takes over the window's list, its neighbours and the thumbnail pane, and loads the list
    // file; from then on a change of the rows is the user's.
    void Attach(const CDialog& window, ListPanelHost& host);

    // The commands.
    void OnOpenList();
    void OnAddFiles();
    void OnAddFolder();
    void OnRemoveSelection();
    void OpenSelectedFile();
    void OnPreviewClicked();
    // The rotation list and the pages edit; changes made by the refresh itself are ignored.
    void OnRotationCommand(int code);
    void OnPagesCommand(int code);
    // The list view's notifications; true with a result when answered.
    bool OnNotify(const NMHDR& header, LRESULT& result);

    // Recomputes every control that depends on the selection and the switching state.
    void Refresh();
    MenuStates Menu() const;
    // The one selected entry with the rotation and page the controls show for it.
    struct Choice {
        WallpaperEntry entry;
        int page = 0;
    };
    std::optional<Choice> SelectedChoice();
    // Switched to an item of that row: only it is selected and scrolled into view.
    void ShowSourceRow(int row);
    // The tick's tail: a drag or drop since the last tick marks the list modified, and a
    // selection change made meanwhile refreshes the controls.
    void FinishTick();

    // Saves a changed list before the window ends: when that fails, asks whether to try again
    // or to leave without saving; a list that could not be read is saved beside its file.
    void SaveBeforeEnding();
    // Saves a changed list without asking (the session ends).
    void SaveIfModified();
    // The window goes: a changed list is saved and the rows let go.
    void Close();

    const std::string& ListName() const { return listName; }
    const WallpaperRows& Rows() const { return listCtrl.rows; }
    CImagePreviewWnd& Preview() { return preview; }

private:
    // Writes all rows to a list file; a failed write leaves the list marked modified.
    bool SaveList(const std::string& path);
    // Saves after a command; a change that could not be saved is marked modified.
    void SaveAfterCommand(bool changed);
    // Makes path the current list file and appends its entries to the rows.
    void LoadList(const std::string& path);
    void TakeListChanges();
    void NoteRowChange();
    void ReadControls();
    void WriteControls();
    bool Ended() const;

    HINSTANCE instance;
    AppSettings& settings;
    FileSystem& fileSystem;
    ImageLibrary& library;
    const CDialog* window = nullptr;
    ListPanelHost* host = nullptr;
    WindowItems items;
    CWallpaperListCtrl listCtrl;
    CImagePreviewWnd preview;
    CDisabledTips tips;
    ControlTexts controlTexts;

    // The values of the controls beside the list, and what the controls showed when last read
    // or written.
    int rotationIndex = -1;
    std::string pagesText;
    std::string infoText;
    int previewEnabled = 0;
    struct Shown {
        int rotationIndex = -1;
        std::string pagesText;
        std::string infoText;
        int previewEnabled = 0;
    } shown;

    std::string listName;
    bool listModified = false;
    // The current list file exists but could not be read: it is never written over.
    bool listUnreadable = false;
    // A selection change waits for the next tick's refresh.
    bool selectionChanged = false;
    // Until attached, and while a command rebuilds the rows or the refresh writes the controls,
    // the changes the controls report are not the user's.
    bool attached = false;
    bool rebuildingRows = false;
    bool writingControls = false;
};
