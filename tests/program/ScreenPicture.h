#pragma once
// Where the game's picture lies on the screen, read from a capture of the whole screen.
#include <functional>
#include <ostream>
#include <string>

#include "tests/support/ScreenCapture.h"

struct ScreenArea {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const ScreenArea&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ScreenArea& a);

class ScreenPicture {
public:
    // The smallest rectangle inside the area holding every pixel for which marks() holds (empty
    // when none does).
    static ScreenArea Bounds(const ScreenCapture& screen, const ScreenArea& area,
                             const std::function<bool(int x, int y)>& marks);
    // The picture inside the area: the bounds of every pixel that is not black.
    static ScreenArea PictureIn(const ScreenCapture& screen, const ScreenArea& area);
    // What is wrong with the picture shown full screen: it must be the 640x480 picture scaled
    // by the largest factor that fits, with black bars of equal size (within a pixel) around
    // it. Empty when nothing is.
    static std::string LetterboxFaults(const ScreenCapture& screen);
};
