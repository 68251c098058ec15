#include "tests/support/ScreenCapture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

ScreenCapture ScreenCapture::Take()
{
    ScreenCapture capture;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return capture;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image) {
        capture.width = attributes.width;
        capture.height = attributes.height;
        capture.pixels.resize(static_cast<std::size_t>(capture.width) * capture.height);
        for (int y = 0; y < capture.height; ++y) {
            for (int x = 0; x < capture.width; ++x) {
                capture.pixels[static_cast<std::size_t>(y) * capture.width + x] =
                    0xFF000000u | static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return capture;
}
