#include "tests/support/ScreenPng.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <vector>

bool SaveScreenPng(const ScreenCapture& screen, const std::string& path)
{
    if (screen.width <= 0 || screen.height <= 0) {
        return false;
    }
    std::vector<guchar> rgb(static_cast<std::size_t>(screen.width) * screen.height * 3);
    for (std::size_t i = 0; i < screen.pixels.size(); ++i) {
        rgb[i * 3] = static_cast<guchar>(screen.pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<guchar>(screen.pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<guchar>(screen.pixels[i]);
    }
    GdkPixbuf* picture = gdk_pixbuf_new_from_data(rgb.data(), GDK_COLORSPACE_RGB, FALSE, 8, screen.width,
                                                  screen.height, screen.width * 3, nullptr, nullptr);
    bool saved = gdk_pixbuf_save(picture, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(picture);
    return saved;
}
