// The pop-up help texts of the controls, shown when the user asks "What's this?" about one.
// The help file repeats each text on the page of its window; keep the two alike.
#include "ui/help_topics.h"

#include "ui/win32/res/resource.h"

namespace {

// Standard controls of the system's open dialog, which the preview panel extends.
constexpr unsigned kOpenFileNameBox = 1148;
constexpr unsigned kOpenFileTypeBox = 1136;
constexpr unsigned kOpenFileList = 1120;
constexpr unsigned kOpenLookInBox = 1137;

struct PopupText {
    unsigned controlId;
    std::string_view text;
};

constexpr PopupText kPopupTexts[] = {
    // Main window
    {IDC_WALLPAPER_LIST,
     "The wallpaper list: the image files and folders Velumar takes its wallpapers from. Drag "
     "a row to move it, drop files here to add them, click a column heading to sort, and "
     "double-click a row to open its file."},
    {IDC_PREVIEW_FRAME,
     "A small picture of the selected image, shown while \"Preview Selected Image\" is checked. "
     "Double-click it to open the image in its associated program."},
    {IDC_PREVIEW_CHECK,
     "Shows or hides the small picture of the selected image. Velumar remembers this choice."},
    {IDC_ROTATION,
     "Turns the selected image when it becomes the wallpaper: No Rotation, Counterclockwise, "
     "Clockwise or 180 Degrees. Available when one single-page image is selected and switching "
     "is stopped."},
    {IDC_ROTATE_LABEL,
     "Names the box below it, which sets how the selected image is turned when it becomes the "
     "wallpaper."},
    {IDC_REMOVE,
     "Removes the selected rows from the list and saves the list. The files themselves are not "
     "touched. Not available while switching runs."},
    {IDC_ADD_FILES,
     "Opens the \"Select File(s)\" dialog to add one or more files to the list, which is then "
     "saved. Not available while switching runs."},
    {IDC_ADD_FOLDER,
     "Adds one folder to the list as a single row, shown in brackets. Every image in the folder "
     "takes its turn as the wallpaper. Not available while switching runs."},
    {IDC_PAGES,
     "The pages of the selected multi-page image to show, as numbers separated by blanks; 0 is "
     "the first page. Each page takes its own turn; an empty box means the first page."},
    {IDC_PAGES_LABEL,
     "Names the box below it, which lists the pages of a multi-page image that Velumar "
     "shows."},
    {IDC_INFO,
     "Describes the selected row: the image's size in pixels, its number of pages and its file "
     "type, or \"Folder selected.\" or \"Not an image?\"."},
    {IDC_STARTSTOP,
     "Start Switching begins changing the wallpaper at the interval or the times set in "
     "Properties; Stop ends it. Not available when the wallpaper changes only at startup."},

    // General page
    {IDC_ONLY_AT_STARTUP,
     "Velumar changes the wallpaper once each time it starts, and the Start Switching button is "
     "not used."},
    {IDC_AT_INTERVALS,
     "After Start Switching, Velumar changes the wallpaper at once and then each time the "
     "switching rate has passed."},
    {IDC_RATE_GROUP,
     "Holds the time between two wallpaper changes, used with \"At regular time intervals\"."},
    {IDC_INTERVAL,
     "The time between two wallpaper changes as hours:minutes:seconds, for example 00:30:00 "
     "for half an hour. A shorter entry is read from the right: 5:00 is five minutes."},
    {IDC_AT_TIMES,
     "After Start Switching, Velumar changes the wallpaper at each time of day in the Switch "
     "Time List."},
    {IDC_TIME_LIST,
     "The times of day (HH:MM on a 24-hour clock) at which the wallpaper changes. Click a time "
     "to select it for Remove."},
    {IDC_ADD_TIME, "Opens the \"Enter Time of Day\" dialog to add a time to the list."},
    {IDC_REMOVE_TIME, "Removes the selected times from the list."},
    {IDC_START_AT_STARTUP,
     "Starts switching by itself each time Velumar starts, as if you had clicked Start "
     "Switching."},
    {IDC_HIDE_AT_STARTUP,
     "Starts Velumar with its window hidden. Double-click its icon in the notification area to "
     "show the window."},
    {IDC_ENFORCE_UNIQUE,
     "Refuses to add a file or folder that is already in the list; letter case does not "
     "count."},
    {IDC_INCLUDE_SUBFOLDERS,
     "For a folder in the list, also uses the files in all of its subfolders, not only those in "
     "the folder itself."},
    {IDC_RANDOMIZE, "Chooses the next wallpaper at random instead of in list order."},
    {IDC_TILE,
     "Asks Windows to tile the wallpaper, repeating it across the desktop. No mask is applied "
     "while this is checked."},
    {IDC_HOLD_FULLSCREEN,
     "Holds back timed changes while a program fills its whole screen (a game, a video, a "
     "presentation) or Windows says you are presenting or busy; the change that fell due happens "
     "when it is gone."},
    {IDC_NO_REPEATS,
     "With Randomize file selection, deals the wallpapers like a shuffled deck of cards: every "
     "file (and every chosen page) is shown once before any comes again, and a new round never "
     "starts with the one the last round ended with."},
    {IDC_UPRIGHT_PHOTOS,
     "Shows photos the way the camera or phone held them: a photo taken upright stands upright, "
     "as in Explorer and Photos, and counts as a portrait picture. Clear it if you had already "
     "turned such photos with an entry's rotation."},
    {IDC_HOLD_BATTERY,
     "Holds back timed changes while the computer runs on battery or Windows' battery saver is "
     "on; the change that fell due happens when it is plugged in again."},
    {IDC_LOCK_SCREEN,
     "Also sets every picture Velumar puts on the desktop as the lock-screen picture, made for "
     "the main monitor's full size as the Resizing page says and without a mask. Works on "
     "Windows 10 and 11; turning it off leaves the last picture on the lock screen."},
    {IDC_LOCK_SCREEN_NOTE,
     "Says why this Windows does not let Velumar set the lock screen, or why the last attempt "
     "failed. A failure never stops the wallpaper from changing."},
    {IDC_FAVOURITES,
     "How often favourites come: as often as the other pictures, three times as often in random "
     "order, or only favourites. With no favourite in the list, \"only favourites\" shows the "
     "whole list."},
    {IDC_HIDDEN_PICTURES,
     "Lists the pictures you chose never to show again, and shows the selected ones again."},
    {IDC_MIN_SIZE,
     "Skips a picture whose width and height are both below this percentage of its monitor's "
     "width and height, since it would be enlarged and blurred. 0 skips none."},
    {IDC_SHAPE,
     "Shows pictures of any shape, only landscape pictures (wider than tall) or only portrait "
     "pictures (taller than wide). Square pictures count as both."},
    // Hidden pictures dialog, opened from the General page
    {IDC_HIDDEN_LIST,
     "The pictures never shown again: the file's name (with its page, for a page after the "
     "first) and its folder. The files themselves are not touched."},
    {IDC_SHOW_AGAIN,
     "Takes the selected pictures off the list, so they take their turn as wallpapers again."},
    {IDC_CONTROL_ICON_TEXT,
     "Sets the colour of the captions under the desktop icons. Offered on Windows 2000 and "
     "earlier only."},
    {IDC_ICON_TEXT_GROUP,
     "Holds the colour and the background of the captions under the desktop icons."},
    {IDC_TEXT_COLOR,
     "Opens the colour dialog to choose the colour of the desktop icon captions. The square on "
     "the button shows the chosen colour."},
    {IDC_TRANSPARENT,
     "Removes the background behind the desktop icon captions, so the wallpaper shows "
     "through."},

    // Resizing page
    {IDC_REDUCE_LARGE,
     "Images larger than the display are reduced to fit it; smaller images keep their own "
     "pixel size."},
    {IDC_RESIZE_FILL, "Every image is enlarged or reduced to the size of the display."},
    {IDC_RESIZE_STANDARD,
     "Every image is resized to the standard size chosen in the list beside this option."},
    {IDC_STANDARD_SIZE,
     "The size, width x height in pixels, used by \"Resize all images to a standard size\"."},
    {IDC_RESIZE_CUSTOM, "Every image is resized to the width and height entered below."},
    {IDC_CUSTOM_WIDTH,
     "The width in pixels used by \"Resize all images to a custom size\". Enter a whole "
     "number."},
    {IDC_CUSTOM_HEIGHT,
     "The height in pixels used by \"Resize all images to a custom size\". Enter a whole "
     "number."},
    {IDC_REDUCTION_GROUP, "Holds the way pixels are combined when an image is made smaller."},
    {IDC_REDUCTION,
     "How an image is made smaller: Eliminate Pixels keeps one pixel of each group, Favor Black "
     "the darkest, Favor White the lightest, and Average Colors blends them, which suits "
     "photographs best."},
    {IDC_RESIZE_COVER,
     "Every image covers the whole display with its proportions kept; what overflows is cut "
     "off, at the side where the picture has the least detail, colour and skin tones."},
    {IDC_RESIZE_FRAMED,
     "Every image is shown whole, as large as fits the display; the empty bars around it are "
     "filled with a blurred, darkened copy of the same picture."},
    {IDC_RETAIN_ASPECT,
     "Keeps the image's proportions when it is resized, so it fits inside the target size "
     "without being stretched. Clear it to stretch images to exactly that size. Not used when "
     "filling with cropping or framing with a blurred copy: both always keep the proportions."},
    {IDC_PICTURE_COLOR,
     "Bars, the edge mask and the mask image fade into the colour of the picture's edges "
     "instead of the desktop colour. Your desktop colour setting is not changed."},

    // Keys page
    {IDC_NEXT_KEY,
     "The key that changes the wallpaper at once, as \"Switch wallpaper now\" does, from any "
     "program. Click the box and press the key; Backspace leaves no key."},
    {IDC_PREVIOUS_KEY,
     "The key that shows the wallpaper before the current one again, from any program. Click "
     "the box and press the key; Backspace leaves no key."},
    {IDC_PAUSE_KEY,
     "The key that pauses timed changes, or resumes them, from any program. Click the box and "
     "press the key; Backspace leaves no key."},
    {IDC_NEXT_KEY_TAKEN,
     "Says when another program already uses the key above (Velumar cannot use it then), or when "
     "the same key is chosen for another command."},
    {IDC_PREVIOUS_KEY_TAKEN,
     "Says when another program already uses the key above (Velumar cannot use it then), or when "
     "the same key is chosen for another command."},
    {IDC_PAUSE_KEY_TAKEN,
     "Says when another program already uses the key above (Velumar cannot use it then), or when "
     "the same key is chosen for another command."},
    {IDC_HIDE_KEY,
     "The key that hides the picture under the mouse pointer for good, as \"Never show this "
     "picture\" does, from any program. Click the box and press the key; Backspace leaves no "
     "key."},
    {IDC_FAVOURITE_KEY,
     "The key that makes the picture under the mouse pointer a favourite, or no longer one, from "
     "any program. Click the box and press the key; Backspace leaves no key."},
    {IDC_HIDE_KEY_TAKEN,
     "Says when another program already uses the key above (Velumar cannot use it then), or when "
     "the same key is chosen for another command."},
    {IDC_FAVOURITE_KEY_TAKEN,
     "Says when another program already uses the key above (Velumar cannot use it then), or when "
     "the same key is chosen for another command."},

    // Monitors page
    {IDC_MONITOR_GROUP, "Holds the choices for a desktop of more than one monitor."},
    {IDC_MONITOR_WHOLE,
     "Makes one picture for the whole desktop, sized for the main monitor, as with a single "
     "monitor."},
    {IDC_MONITOR_SAME,
     "Shows the same picture on every monitor, each copy sized, turned and masked for its own "
     "monitor."},
    {IDC_MONITOR_EACH,
     "Shows a different picture on each monitor: one change shows the next pictures of the "
     "list, one per monitor, from left to right, then top to bottom."},
    {IDC_MONITOR_SPAN,
     "Makes one picture that spans all monitors together, sized for the rectangle they cover."},
    {IDC_MATCH_ORIENTATION,
     "With a different picture on each monitor, gives a monitor that is taller than wide the "
     "next picture that is taller than wide, and a wide monitor the next wide picture."},

    // Masking page
    {IDC_EDGE_MASK,
     "Fades the edges of the wallpaper into the desktop background colour, over the "
     "percentages entered below."},
    {IDC_FILE_MASK,
     "Fades the wallpaper into the desktop background colour through a mask image: where the "
     "mask is white the picture shows, where it is black the background colour shows."},
    {IDC_NO_MASK, "Shows every wallpaper without any fading."},
    {IDC_EDGE_GROUP, "Holds the widths of the four fading bands, used with \"Edge Mask\"."},
    {IDC_MASK_LEFT,
     "Width of the fading band along the left edge, in percent of the width. 0 means no band; "
     "values above 50 count as 50 from the next start."},
    {IDC_MASK_RIGHT,
     "Width of the fading band along the right edge, in percent of the width. 0 means no band; "
     "values above 50 count as 50 from the next start."},
    {IDC_MASK_TOP,
     "Height of the fading band along the top edge, in percent of the height. 0 means no band; "
     "values above 50 count as 50 from the next start."},
    {IDC_MASK_BOTTOM,
     "Height of the fading band along the bottom edge, in percent of the height. 0 means no "
     "band; values above 50 count as 50 from the next start."},
    {IDC_FILE_GROUP, "Holds the mask image used with \"File Mask\"."},
    {IDC_MASK_FILE,
     "The path of the mask image. It is read as shades of gray and stretched to the size of the "
     "desktop, or of the picture when the option below is checked."},
    {IDC_MASK_BROWSE, "Opens a file dialog to choose the mask image."},
    {IDC_MASK_OUTLINE,
     "Applies the mask to the edges of each picture instead of the edges of the desktop, so a "
     "picture smaller than the desktop fades at its own borders."},

    // The open dialog's preview panel
    {IDC_PANEL_PREVIEW_CHECK,
     "Shows a small picture of the selected file in the frame below. Velumar remembers this "
     "choice."},
    {IDC_PANEL_PREVIEW_FRAME,
     "A small picture of the selected image, shown while \"Preview\" is checked."},
    {IDC_PANEL_INFO,
     "The selected file's size in pixels, number of pages and file type, or \"Not an image?\" "
     "when Velumar cannot read it."},

    // The open dialog's standard controls
    {kOpenFileNameBox,
     "The name of the file to add. Type a name, or select one or more files in the list above; "
     "several names appear here each in double quotes."},
    {kOpenFileTypeBox, "Chooses which files the list shows. Velumar lists all files."},
    {kOpenFileList,
     "The files and folders of the current folder. Select one or more files (hold down Ctrl or "
     "Shift to select several) and click Open to add them to the wallpaper list."},
    {kOpenLookInBox,
     "The folder whose contents the list shows. Choose another drive or folder here."},
};

}  // namespace

std::optional<std::string_view> PopupHelpText(unsigned contextNumber) {
    if (contextNumber < kControlHelpBase) {
        return std::nullopt;
    }
    unsigned controlId = contextNumber - kControlHelpBase;
    for (const PopupText& entry : kPopupTexts) {
        if (entry.controlId == controlId) {
            return entry.text;
        }
    }
    return std::nullopt;
}
