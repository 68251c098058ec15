// Image decoding for the texture loader: BMP through SDL, JPEG through libjpeg, PNG through libpng,
// DDS (uncompressed and DXT1/3/5) by hand.
#include <SDL.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/d3d9/Image.h"
#include "platform/win32/RegularFile.h"

namespace {

// No image of the game comes near these; a header claiming more is not believed. The side bound
// keeps a texture and its mip chain within a few hundred MiB, the file bound keeps the read short.
constexpr unsigned kMaxImageSide = 4096;
constexpr std::size_t kMaxImageFileBytes = 64u << 20;
// Deflate packs at most 1032 bytes into one, and a PNG row holds at least one bit a pixel.
constexpr std::uint64_t kMaxPngPixelsPerByte = 1032 * 8;

bool SideFits(std::uint64_t width, std::uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

std::uint32_t Read32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool DecodeBmp(const std::vector<unsigned char>& bytes, Image* out)
{
    // The information header's width and (signed, negative for top-down) height, checked before
    // the loader allocates a surface of that size.
    if (bytes.size() < 26) {
        return false;
    }
    std::uint32_t infoSize = Read32(&bytes[14]);
    std::int64_t width = 0, height = 0;
    if (infoSize == 12) {
        width = bytes[18] | (bytes[19] << 8);
        height = bytes[20] | (bytes[21] << 8);
    } else {
        width = static_cast<std::int32_t>(Read32(&bytes[18]));
        height = static_cast<std::int32_t>(Read32(&bytes[22]));
    }
    if (!SideFits(width < 0 ? -width : width, height < 0 ? -height : height)) {
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* loaded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (!loaded) {
        return false;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) {
        return false;
    }
    out->width = static_cast<unsigned>(argb->w);
    out->height = static_cast<unsigned>(argb->h);
    out->texels.resize(static_cast<std::size_t>(out->width) * out->height);
    SDL_LockSurface(argb);
    for (unsigned y = 0; y < out->height; ++y) {
        std::memcpy(&out->At(0, y), static_cast<const unsigned char*>(argb->pixels) + y * argb->pitch, out->width * 4);
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return out->width > 0 && out->height > 0;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

bool DecodeJpeg(const std::vector<unsigned char>& bytes, Image* out)
{
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegFail;
    error.manager.output_message = [](j_common_ptr) {};  // failures are results, not messages
    std::vector<unsigned char> row;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!SideFits(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out->width = info.output_width;
    out->height = info.output_height;
    out->texels.assign(static_cast<std::size_t>(out->width) * out->height, 0);
    row.resize(static_cast<std::size_t>(out->width) * 3);
    while (info.output_scanline < info.output_height) {
        unsigned y = info.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        if (error.manager.num_warnings > 0) {
            // Data that ended early or is corrupt: the rest would be made up, not decoded.
            jpeg_destroy_decompress(&info);
            return false;
        }
        for (unsigned x = 0; x < out->width; ++x) {
            const unsigned char* p = &row[x * 3];
            out->At(x, y) = 0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out->width > 0 && out->height > 0;
}

bool DecodePng(const std::vector<unsigned char>& bytes, Image* out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        return false;
    }
    if (!SideFits(image.width, image.height) ||
        static_cast<std::uint64_t>(image.width) * image.height > bytes.size() * kMaxPngPixelsPerByte) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;  // little-endian ARGB words
    out->width = image.width;
    out->height = image.height;
    out->texels.resize(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, out->texels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return out->width > 0 && out->height > 0;
}

std::uint32_t Expand565(std::uint32_t c)
{
    std::uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return ((r * 255 + 15) / 31) << 16 | ((g * 255 + 31) / 63) << 8 | ((b * 255 + 15) / 31);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int wa, int wb, int total)
{
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        std::uint32_t ca = (a >> shift) & 255, cb = (b >> shift) & 255;
        result |= ((ca * wa + cb * wb) / total) << shift;
    }
    return result;
}

// Decodes one 4x4 colour block; alpha comes separately for DXT3/5.
void DecodeColourBlock(const unsigned char* block, bool dxt1, std::uint32_t colours[16])
{
    std::uint32_t c0 = block[0] | (block[1] << 8), c1 = block[2] | (block[3] << 8);
    std::uint32_t palette[4] = {Expand565(c0) | 0xFF000000u, Expand565(c1) | 0xFF000000u, 0, 0};
    if (!dxt1 || c0 > c1) {
        palette[2] = Mix(palette[0], palette[1], 2, 1, 3) | 0xFF000000u;
        palette[3] = Mix(palette[0], palette[1], 1, 2, 3) | 0xFF000000u;
    } else {
        palette[2] = Mix(palette[0], palette[1], 1, 1, 2) | 0xFF000000u;
        palette[3] = 0;  // transparent black
    }
    std::uint32_t bits = Read32(block + 4);
    for (int i = 0; i < 16; ++i) {
        colours[i] = palette[(bits >> (2 * i)) & 3];
    }
}

void DecodeDxt5Alpha(const unsigned char* block, std::uint32_t alphas[16])
{
    std::uint32_t a[8] = {block[0], block[1]};
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i) {
            a[i + 1] = ((7 - i) * a[0] + i * a[1]) / 7;
        }
    } else {
        for (int i = 1; i < 5; ++i) {
            a[i + 1] = ((5 - i) * a[0] + i * a[1]) / 5;
        }
        a[6] = 0;
        a[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) {
        bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
    }
    for (int i = 0; i < 16; ++i) {
        alphas[i] = a[(bits >> (3 * i)) & 7];
    }
}

int MaskShift(std::uint32_t mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::uint32_t MaskChannel(std::uint32_t value, std::uint32_t mask)
{
    if (!mask) {
        return 0;
    }
    std::uint32_t max = mask >> MaskShift(mask);
    return ((value & mask) >> MaskShift(mask)) * 255 / max;
}

bool DecodeDds(const std::vector<unsigned char>& bytes, Image* out)
{
    if (bytes.size() < 128) {
        return false;
    }
    const unsigned char* h = bytes.data();
    unsigned height = Read32(h + 12), width = Read32(h + 16);
    std::uint32_t pfFlags = Read32(h + 80), fourCC = Read32(h + 84), bitCount = Read32(h + 88);
    std::uint32_t rMask = Read32(h + 92), gMask = Read32(h + 96), bMask = Read32(h + 100), aMask = Read32(h + 104);
    if (!SideFits(width, height)) {
        return false;
    }
    const unsigned char* data = h + 128;
    std::size_t available = bytes.size() - 128;
    // Each branch checks that the file holds the texels its header claims before any is made.
    if (pfFlags & 0x4) {  // compressed
        int kind = fourCC == 0x31545844 ? 1 : fourCC == 0x33545844 ? 3 : fourCC == 0x35545844 ? 5 : 0;
        if (!kind) {
            return false;
        }
        std::size_t blockSize = kind == 1 ? 8 : 16;
        unsigned bw = (width + 3) / 4, bh = (height + 3) / 4;
        if (available < blockSize * bw * bh) {
            return false;
        }
        out->width = width;
        out->height = height;
        out->texels.assign(static_cast<std::size_t>(width) * height, 0);
        for (unsigned by = 0; by < bh; ++by) {
            for (unsigned bx = 0; bx < bw; ++bx) {
                const unsigned char* block = data + (static_cast<std::size_t>(by) * bw + bx) * blockSize;
                std::uint32_t colours[16], alphas[16];
                DecodeColourBlock(block + (kind == 1 ? 0 : 8), kind == 1, colours);
                for (int i = 0; i < 16; ++i) {
                    alphas[i] = colours[i] >> 24;
                }
                if (kind == 3) {
                    for (int i = 0; i < 16; ++i) {
                        alphas[i] = ((block[i / 2] >> (4 * (i & 1))) & 15) * 17;
                    }
                } else if (kind == 5) {
                    DecodeDxt5Alpha(block, alphas);
                }
                for (int i = 0; i < 16; ++i) {
                    unsigned x = bx * 4 + i % 4, y = by * 4 + i / 4;
                    if (x < width && y < height) {
                        out->At(x, y) = (colours[i] & 0xFFFFFFu) | (alphas[i] << 24);
                    }
                }
            }
        }
        return true;
    }
    if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
        return false;
    }
    std::size_t bytesPerTexel = bitCount / 8, pitch = width * bytesPerTexel;
    if (available < pitch * height) {
        return false;
    }
    out->width = width;
    out->height = height;
    out->texels.assign(static_cast<std::size_t>(width) * height, 0);
    bool hasAlpha = (pfFlags & 0x1) && aMask;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            const unsigned char* p = data + y * pitch + x * bytesPerTexel;
            std::uint32_t v = 0;
            for (std::size_t b = 0; b < bytesPerTexel; ++b) {
                v |= static_cast<std::uint32_t>(p[b]) << (8 * b);
            }
            std::uint32_t a = hasAlpha ? MaskChannel(v, aMask) : 255;
            out->At(x, y) = a << 24 | MaskChannel(v, rMask) << 16 | MaskChannel(v, gMask) << 8 | MaskChannel(v, bMask);
        }
    }
    return true;
}

}  // namespace

static bool DecodeKnownFormat(const std::vector<unsigned char>& bytes, Image* out);

bool DecodeImageMemory(const std::vector<unsigned char>& bytes, Image* out)
{
    *out = Image{};
    try {
        if (DecodeKnownFormat(bytes, out)) {
            return true;
        }
    } catch (const std::bad_alloc&) {
        // Too little memory for an image within the bounds is a failed load like any other.
    }
    *out = Image{};
    return false;
}

static bool DecodeKnownFormat(const std::vector<unsigned char>& bytes, Image* out)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return DecodeBmp(bytes, out);
    }
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return DecodeJpeg(bytes, out);
    }
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
        return DecodePng(bytes, out);
    }
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0) {
        return DecodeDds(bytes, out);
    }
    return false;
}

bool DecodeImageFile(const std::string& hostPath, Image* out)
{
    *out = Image{};
    std::vector<unsigned char> bytes;
    return ReadRegularFile(hostPath, kMaxImageFileBytes, &bytes) && DecodeImageMemory(bytes, out);
}

void ApplyColourKey(Image* image, std::uint32_t colourKey)
{
    if (colourKey == 0) {
        return;  // a key of 0 means no key
    }
    for (auto& texel : image->texels) {
        if (texel == colourKey) {
            texel = 0;
        }
    }
}

unsigned NextPowerOfTwo(unsigned value)
{
    unsigned p = 1;
    while (p < value) {
        p <<= 1;
    }
    return p;
}

Image StretchImage(const Image& source, unsigned width, unsigned height)
{
    if (source.width == width && source.height == height) {
        return source;
    }
    Image out;
    out.width = width;
    out.height = height;
    out.texels.resize(static_cast<std::size_t>(width) * height);
    float sx = static_cast<float>(source.width) / width, sy = static_cast<float>(source.height) / height;
    for (unsigned y = 0; y < height; ++y) {
        float fy = std::clamp((y + 0.5f) * sy - 0.5f, 0.0f, static_cast<float>(source.height - 1));
        unsigned y0 = static_cast<unsigned>(fy), y1 = std::min(y0 + 1, source.height - 1);
        float ty = fy - y0;
        for (unsigned x = 0; x < width; ++x) {
            float fx = std::clamp((x + 0.5f) * sx - 0.5f, 0.0f, static_cast<float>(source.width - 1));
            unsigned x0 = static_cast<unsigned>(fx), x1 = std::min(x0 + 1, source.width - 1);
            float tx = fx - x0;
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                auto c = [&](unsigned px, unsigned py) { return static_cast<float>((source.At(px, py) >> shift) & 255); };
                float top = c(x0, y0) + (c(x1, y0) - c(x0, y0)) * tx;
                float bottom = c(x0, y1) + (c(x1, y1) - c(x0, y1)) * tx;
                result |= static_cast<std::uint32_t>(top + (bottom - top) * ty + 0.5f) << shift;
            }
            out.At(x, y) = result;
        }
    }
    return out;
}

Image HalveImage(const Image& source)
{
    Image out;
    out.width = std::max(1u, source.width / 2);
    out.height = std::max(1u, source.height / 2);
    out.texels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (unsigned y = 0; y < out.height; ++y) {
        for (unsigned x = 0; x < out.width; ++x) {
            unsigned x0 = std::min(x * 2, source.width - 1), x1 = std::min(x * 2 + 1, source.width - 1);
            unsigned y0 = std::min(y * 2, source.height - 1), y1 = std::min(y * 2 + 1, source.height - 1);
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                std::uint32_t sum = ((source.At(x0, y0) >> shift) & 255) + ((source.At(x1, y0) >> shift) & 255) +
                                    ((source.At(x0, y1) >> shift) & 255) + ((source.At(x1, y1) >> shift) & 255);
                result |= ((sum + 2) / 4) << shift;
            }
            out.At(x, y) = result;
        }
    }
    return out;
}
