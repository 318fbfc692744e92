// TEMPORARY until the headers branch merges.
#include "imagelib/orientation.h"
#include "imagelib/image_header.h"
namespace pixelops {
bool SwapsSides(int o) { return o >= 5 && o <= 8; }
ImageSize UprightSize(ImageSize s, int o) { return SwapsSides(o) ? ImageSize{s.height, s.width} : s; }
PixelImage Orient(PixelImage image, int) { return image; }
}
ImageFileFormat SniffFormat(std::string_view) { return ImageFileFormat::Other; }
