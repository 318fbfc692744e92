// The lock-screen port over the Windows Runtime classes LockScreen and StorageFile, reached
// through combase.dll loaded at run time (so the program still starts on Windows 7, where they
// do not exist), and WIC for the JPEG.
#pragma once

#include <atomic>

#include "desktop/lock_screen.h"

class Win32LockScreen final : public LockScreen {
public:
    // The pictures are written into the folder (the local application-data folder of ours).
    explicit Win32LockScreen(std::string folder) : folder(std::move(folder)) {}

    // Asks the system for the class once; the answer is kept.
    bool Available() override;
    std::string Folder() override { return folder; }
    std::vector<std::string> FileNames() override;
    bool WriteJpeg(const ByteArray& dib, const std::string& path, int quality) override;
    std::optional<std::string> SetImage(const std::string& path, std::chrono::milliseconds limit,
                                        const std::function<bool()>& stopped) override;
    void RemoveFile(const std::string& path) override;

private:
    std::string folder;
    // 0 not asked yet, 1 available, 2 not.
    std::atomic<int> available{0};
};
