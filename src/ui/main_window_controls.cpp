// Which of the main window's controls are enabled and what they show.
#include "ui/main_window_controls.h"

#include <string_view>

std::string FormatImageInfo(const std::string& format, const ImageInfo& image) {
    // The format comes from the string table; its conversions are replaced in order.
    std::string out;
    int number = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        char conversion = format[++i];
        if (conversion == 'd') {
            const int values[3] = {image.width, image.height, image.pages};
            out += number < 3 ? std::to_string(values[number]) : std::string();
            ++number;
        } else if (conversion == 's') {
            out += image.description;
        } else {
            out += conversion;
        }
    }
    return out;
}

ControlStates ComputeControlStates(const ControlInputs& in, const ControlTexts& texts) {
    ControlStates out;
    out.rotationIndex = in.rotationIndex;
    const ImageInfo* image = nullptr;
    if (in.selectedCount == 1 && in.entry != nullptr) {
        if (in.entryIsExistingFile && in.image) {
            image = &*in.image;
            out.infoText = FormatImageInfo(texts.imageInfoFormat, *image);
            if (in.previewEnabled && !in.initializing) {
                out.previewPath = in.entry->path;
            }
            if (image->pages == 1) {
                out.rotationIndex = in.entry->rotation;
                out.rotationEnabled = !in.switchingActive;
            } else {
                out.rotationIndex = 0;
            }
        } else {
            out.rotationIndex = 0;
            out.infoText = in.entryIsExistingFile ? texts.notAnImage : texts.folderSelected;
        }
    }
    if (!in.desktopPicture.empty()) {
        out.infoText +=
            (out.infoText.empty() ? "" : "\r\n") + std::string(kOnDesktopText) + in.desktopPicture;
    }
    if (image != nullptr) {
        out.pagesText = in.entry->pages;
        out.pagesEnabled = image->pages > 1 && !in.switchingActive;
    }
    out.removeEnabled = in.selectedCount > 0 && !in.switchingActive;
    if (in.switchingActive) {
        out.startStopText = kStopText;
    } else {
        out.startStopText = kStartSwitchingText;
        bool hasRows = in.rowCount > 0;
        out.startStopEnabled = (in.switchMode == 1 && hasRows) ||
                               (in.switchMode == 2 && hasRows && in.switchTimeCount > 0);
    }
    out.addEnabled = !in.switchingActive;
    out.tips = ComputeControlTips(in, out);
    return out;
}

ControlTips ComputeControlTips(const ControlInputs& in, const ControlStates& states) {
    ControlTips tips;
    if (in.switchingActive) {
        // Every list control waits for Stop; the button itself stays enabled.
        tips.add = kStopToEditTip;
        tips.remove = in.selectedCount > 0 ? kStopToEditTip : "";
        tips.rotation = in.selectedCount == 1 ? kStopToEditTip : "";
        tips.pages = in.selectedCount == 1 ? kStopToEditTip : "";
        return tips;
    }
    if (states.startStopEnabled == false) {
        if (in.switchMode != 1 && in.switchMode != 2) {
            tips.startStop = kOnlyAtStartupTip;
        } else if (in.rowCount == 0) {
            tips.startStop = kEmptyListTip;
        } else {
            tips.startStop = kNoTimesTip;
        }
    }
    if (in.selectedCount == 1 && in.entryIsExistingFile && in.image) {
        if (!states.rotationEnabled) {
            tips.rotation = kManyPagesTip;
        }
        if (!states.pagesEnabled) {
            tips.pages = kOnePageTip;
        }
    }
    return tips;
}

MenuStates ComputeMenuStates(bool switchingActive, int selectedCount, bool selectedIsExistingFile,
                             int rowCount) {
    MenuStates out;
    out.setSelectionEnabled = !switchingActive && selectedCount == 1 && selectedIsExistingFile;
    out.openListEnabled = !switchingActive;
    out.switchNowEnabled = rowCount > 0;
    return out;
}
