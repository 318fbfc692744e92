// A command-line tool over the image library for timing whole runs beside other tools:
//   imagelib_tool make OUT.bmp WIDTH HEIGHT          writes a synthetic photograph
//   imagelib_tool resize IN OUT.bmp WIDTH HEIGHT METHOD [REPEAT]
// "resize" loads IN (a bitmap natively, any WIC format on Windows), resizes it to exactly
// WIDTH x HEIGHT, saves a bitmap, and prints the best time of each step over REPEAT runs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/synthetic_image.h"
#include "imagelib/dib.h"

#ifdef _WIN32
#include "imagelib/win32/process_image_library.h"
#else
#include "imagelib/bmp_decoder.h"
#include "imagelib/session_image_library.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

ImageLibrary& Library() {
#ifdef _WIN32
    return ProcessImageLibrary();
#else
    static BmpDecoder decoder;
    static SessionImageLibrary library(decoder);
    return library;
#endif
}

int Resize(const char* in, const char* out, int width, int height, int method, int repeat) {
    ImageLibrary& library = Library();
    double best[3] = {1e30, 1e30, 1e30};
    for (int run = 0; run < repeat; ++run) {
        const int s = library.cNewSession();
        Clock::time_point start = Clock::now();
        if (!library.cLoadImage(s, in, 0, 0, 0)) {
            std::fprintf(stderr, "cannot load %s\n", in);
            return 1;
        }
        const double load = MillisecondsSince(start);
        start = Clock::now();
        if (!library.cOpResize(s, width, height, 0, 1, method)) {
            std::fprintf(stderr, "cannot resize\n");
            return 1;
        }
        const double resize = MillisecondsSince(start);
        start = Clock::now();
        if (!library.cSave(s, out, kSaveBitmap, 0, 0, 0)) {
            std::fprintf(stderr, "cannot save %s\n", out);
            return 1;
        }
        const double save = MillisecondsSince(start);
        library.cDestroySession(s);
        best[0] = std::min(best[0], load);
        best[1] = std::min(best[1], resize);
        best[2] = std::min(best[2], save);
    }
    std::printf("load %.1f ms, resize %.1f ms, save %.1f ms, total %.1f ms\n", best[0], best[1],
                best[2], best[0] + best[1] + best[2]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "make") == 0) {
        const PixelImage image = SyntheticPhoto(static_cast<std::uint32_t>(std::atoi(argv[3])),
                                                static_cast<std::uint32_t>(std::atoi(argv[4])));
        return dib::SaveBitmapFile(image, argv[2]) ? 0 : 1;
    }
    if ((argc == 7 || argc == 8) && std::strcmp(argv[1], "resize") == 0) {
        return Resize(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]),
                      argc == 8 ? std::atoi(argv[7]) : 1);
    }
    std::fprintf(stderr,
                 "usage: imagelib_tool make OUT.bmp WIDTH HEIGHT\n"
                 "       imagelib_tool resize IN OUT.bmp WIDTH HEIGHT METHOD [REPEAT]\n");
    return 2;
}
