#include "tests/program/ScreenPicture.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

std::ostream& operator<<(std::ostream& out, const ScreenArea& a)
{
    return out << a.w << "x" << a.h << " at (" << a.x << ", " << a.y << ")";
}

ScreenArea ScreenPicture::Bounds(const ScreenCapture& screen, const ScreenArea& area,
                                 const std::function<bool(int x, int y)>& marks)
{
    int left = area.x + area.w, right = area.x - 1, top = area.y + area.h, bottom = area.y - 1;
    for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, screen.height); ++y) {
        for (int x = std::max(area.x, 0); x < std::min(area.x + area.w, screen.width); ++x) {
            if (marks(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < left ? ScreenArea{} : ScreenArea{left, top, right - left + 1, bottom - top + 1};
}

namespace {

// The bars are cleared to black; the picture's border (the side panels, the sky) is not.
bool Lit(std::uint32_t c)
{
    return ((c >> 16) & 255) >= 12 || ((c >> 8) & 255) >= 12 || (c & 255) >= 12;
}

}  // namespace

ScreenArea ScreenPicture::PictureIn(const ScreenCapture& screen, const ScreenArea& area)
{
    return Bounds(screen, area, [&](int x, int y) { return Lit(screen.At(x, y)); });
}

std::string ScreenPicture::LetterboxFaults(const ScreenCapture& screen)
{
    if (screen.width == 0) {
        return "the screen cannot be read; ";
    }
    // Rows and columns that are mostly lit are the picture's: a pointer drawn over a bar is not.
    std::vector<int> litInRow(screen.height), litInColumn(screen.width);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (Lit(screen.At(x, y))) {
                ++litInRow[y];
                ++litInColumn[x];
            }
        }
    }
    ScreenArea picture = Bounds(screen, ScreenArea{0, 0, screen.width, screen.height}, [&](int x, int y) {
        return litInRow[y] * 2 > screen.width && litInColumn[x] * 2 > screen.height;
    });
    double scale = std::min(screen.width / 640.0, screen.height / 480.0);
    int w = static_cast<int>(640 * scale + 0.5), h = static_cast<int>(480 * scale + 0.5);
    int top = picture.y, bottom = screen.height - picture.y - picture.h;
    int left = picture.x, right = screen.width - picture.x - picture.w;
    if (std::abs(picture.w - w) <= 1 && std::abs(picture.h - h) <= 1 && std::abs(top - bottom) <= 1 &&
        std::abs(left - right) <= 1) {
        return "";
    }
    std::ostringstream out;
    out << "picture " << picture << ", bars above " << top << " below " << bottom << " left " << left << " right "
        << right << " (expected " << w << "x" << h << " with equal bars); ";
    return out.str();
}
