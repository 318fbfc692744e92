// The port to the system's lock-screen picture, which a program of the signed-in user may set on
// Windows 10 and later.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imagelib/image_library.h"

class LockScreen {
public:
    virtual ~LockScreen() = default;

    // True when the system lets this program set the lock-screen picture.
    virtual bool Available() = 0;
    // The folder the lock-screen pictures are written to; empty when there is none.
    virtual std::string Folder() = 0;
    // The names of the files in the folder.
    virtual std::vector<std::string> FileNames() = 0;
    // Writes the packed bitmap (as cGetDIB hands it out) as a JPEG of that quality (1 to 100).
    virtual bool WriteJpeg(const ByteArray& dib, const std::string& path, int quality) = 0;
    // Makes the file the lock-screen picture, waiting for the system at most the limit, or until
    // stopped() turns true: nothing when it was set, else why not, as the system words it.
    virtual std::optional<std::string> SetImage(const std::string& path,
                                                std::chrono::milliseconds limit,
                                                const std::function<bool()>& stopped) = 0;
    virtual void RemoveFile(const std::string& path) = 0;

protected:
    LockScreen() = default;
    LockScreen(const LockScreen&) = default;
    LockScreen& operator=(const LockScreen&) = default;
};
