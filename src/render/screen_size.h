// A size in physical pixels.
#pragma once

struct ScreenSize {
    int width = 0;
    int height = 0;
};
