#include "platform/mfc/AfxIcon.h"

#include <mutex>
#include <set>

namespace {

std::mutex g_iconMutex;
std::set<HICON>& LiveIcons()
{
    static std::set<HICON> icons;
    return icons;
}

}  // namespace

HICON AfxCreateIcon(int width, int height, const std::uint32_t* argb)
{
    if (width <= 0 || height <= 0 || !argb) {
        return nullptr;
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
    if (!pixbuf) {
        return nullptr;
    }
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y) {
        guchar* row = pixels + y * stride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = argb[y * width + x];
            row[x * 4 + 0] = static_cast<guchar>(c >> 16);
            row[x * 4 + 1] = static_cast<guchar>(c >> 8);
            row[x * 4 + 2] = static_cast<guchar>(c);
            row[x * 4 + 3] = static_cast<guchar>(c >> 24);
        }
    }
    std::lock_guard lock(g_iconMutex);
    LiveIcons().insert(pixbuf);
    return pixbuf;
}

GdkPixbuf* AfxIconPixbuf(HICON icon)
{
    std::lock_guard lock(g_iconMutex);
    return LiveIcons().count(icon) ? static_cast<GdkPixbuf*>(icon) : nullptr;
}
