// The fixture of every end-to-end test: a clean settings key and a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/velumar_driver.h"

namespace e2e {

class VelumarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path inside the test's own folder.
    std::string InFolder(const std::string& name) const { return folder + "\\" + name; }

    // Writes the list file "list.vlt" of these files of the folder, each unturned and with all its
    // pages, and makes it the program's list; its path.
    std::string UseListOf(const std::vector<std::string>& names) const;

    // No wallpaper bitmap yet, and switching that never starts by itself (not at start-up; at
    // intervals once started): the wallpaper changes only when the test asks.
    static void StartWithoutWallpaper();

    // Stores the main window's remembered rectangle, as the program stores it at Exit.
    static void StoreWindowRect(const RECT& rect);

    std::string folder;
};

}  // namespace e2e
