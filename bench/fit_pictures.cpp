// Draws the help's pictures of the fits: a portrait photograph-like picture (sky, ground and a
// striped kite near its top) and what each fit makes of it on a small wide display, as bitmaps.
//   fit_pictures OUT-FOLDER
// writes picture.bmp, fit_plain.bmp (fitted inside, bars in the desktop colour), fit_crop.bmp
// (filled, cropped around what matters) and fit_frame.bmp (fitted inside a blurred copy).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/one_picture_decoder.h"
#include "imagelib/dib.h"
#include "imagelib/session_image_library.h"

namespace {

constexpr std::uint32_t kWidth = 600;
constexpr std::uint32_t kHeight = 900;
constexpr int kDisplayWidth = 256;
constexpr int kDisplayHeight = 144;
constexpr ColorRef kDesktopColor = 0x5A4A3A;

std::uint8_t Clamp(int v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

PixelImage Picture() {
    PixelImage image = *PixelImage::Create(kWidth, kHeight, PixelFormat::Bgr24);
    std::uint32_t noise = 99;
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 29) - 4;
            int r, g, b;
            if (y < 620) {
                r = 40 + static_cast<int>(130 * y / 620);
                g = 90 + static_cast<int>(110 * y / 620);
                b = 170 + static_cast<int>(60 * y / 620);
            } else {
                r = 70;
                g = 125 - static_cast<int>((y - 620) / 8);
                b = 55;
            }
            // The kite: a diamond of red and yellow stripes around (430, 170), and its string.
            const int dx = static_cast<int>(x) - 430;
            const int dy = static_cast<int>(y) - 170;
            if (std::abs(dx) + std::abs(dy) < 60) {
                const bool red = ((dx + dy + 120) / 15) % 2 == 0;
                r = red ? 210 : 250;
                g = red ? 40 : 210;
                b = red ? 40 : 60;
            } else if (dy > 0 && dy < 400 && std::abs(dx + dy / 3) < 2) {
                r = g = b = 240;
            }
            std::uint8_t* pixel = image.Row(y) + std::size_t{x} * 3;
            pixel[0] = Clamp(b + grain);
            pixel[1] = Clamp(g + grain);
            pixel[2] = Clamp(r + grain);
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fit_pictures OUT-FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    OnePictureDecoder decoder(Picture());
    SessionImageLibrary library(decoder);
    if (!dib::SaveBitmapFile(decoder.picture, folder + "/picture.bmp")) {
        return 1;
    }
    const auto draw = [&](const char* name, auto fit) {
        const int session = library.cNewSession();
        const bool drawn =
            library.cLoadImage(session, "picture", 0, 0, 0) && fit(session) &&
            library.cSave(session, (folder + "/" + name).c_str(), kSaveBitmap, 0, 0, 0);
        library.cDestroySession(session);
        return drawn;
    };
    const bool drawn =
        draw("fit_plain.bmp",
             [&](int s) {
                 return library.cOpResize(s, kDisplayWidth, kDisplayHeight, 1, 1,
                                          kResizeAverageColors) &&
                        library.cOpPlaceOnColor(s, kDisplayWidth, kDisplayHeight, kDesktopColor);
             }) &&
        draw("fit_crop.bmp",
             [&](int s) {
                 return library.cOpResizeToCover(s, kDisplayWidth, kDisplayHeight,
                                                 kResizeAverageColors);
             }) &&
        draw("fit_frame.bmp", [&](int s) {
            return library.cOpResizeFramed(s, kDisplayWidth, kDisplayHeight, kResizeAverageColors);
        });
    return drawn ? 0 : 1;
}
