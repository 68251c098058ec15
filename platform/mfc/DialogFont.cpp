#include "platform/mfc/DialogFont.h"

#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>
#include <pango/pangocairo.h>

std::string DialogFont::Resolve(const char* name)
{
    std::string result = name ? name : "";
    if (!FcInit()) {
        return result;
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(result.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &status);
    FcChar8* family = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family) {
        result = reinterpret_cast<const char*>(family);
    }
    if (match) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return result;
}

DialogFont::DialogFont(const char* name, int points) : family_(Resolve(name)), points_(points)
{
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    double dpi = 96.0;
    if (GdkScreen* screen = gdk_screen_get_default()) {
        double r = gdk_screen_get_resolution(screen);
        if (r > 0) {
            dpi = r;
        }
    }
    pango_cairo_context_set_resolution(context, dpi);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, family_.c_str());
    pango_font_description_set_size(description, points_ * PANGO_SCALE);

    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    pango_layout_set_text(layout, letters, -1);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    if (width > 0) {
        baseX_ = (width / 26 + 1) / 2;  // the average over the 52 letters, rounded
    }
    PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
    if (metrics) {
        int h = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics));
        if (h > 0) {
            baseY_ = h;
        }
        pango_font_metrics_unref(metrics);
    }
    g_object_unref(layout);
    pango_font_description_free(description);
    g_object_unref(context);
}
