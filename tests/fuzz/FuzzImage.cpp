// The image decoders (BMP, JPEG, PNG, DDS by content): a decoded image is within the bounds and
// holds all its texels; anything else is a failure, never an abort.
#include <vector>

#include "platform/d3d9/Image.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    Image image;
    if (DecodeImageMemory(bytes, &image)) {
        FuzzCheck(image.width > 0 && image.height > 0 && image.width <= 4096 && image.height <= 4096, "bounded size");
        FuzzCheck(image.texels.size() == static_cast<std::size_t>(image.width) * image.height, "every texel");
        ApplyColourKey(&image, 0xFF000000u);
        HalveImage(image);
    }
    return 0;
}
