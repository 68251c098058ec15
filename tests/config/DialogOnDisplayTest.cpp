// The dialogs on a real X server: their Japanese texts drawn readably (checked on a screenshot),
// pointer clicks on the controls, and the about item of the system menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "config/ConfigApp.h"
#include "config/Resource.h"
#include "platform/mfc/DialogTemplate.h"
#include "platform/mfc/MfcTestHooks.h"
#include "platform/win32/Win32HostedWindow.h"

#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>
#include "tests/config/ConfigTestSupport.h"
#include "tests/support/XvfbDisplay.h"

namespace {

// Dark pixels of a region: how many, and the columns of the leftmost and rightmost one.
struct Ink {
    int count = 0;
    int left = -1;
    int right = -1;
    int Width() const { return count ? right - left + 1 : 0; }
};

Ink MeasureInk(const guchar* pixels, int stride, int channels, int x0, int y0, int width, int height)
{
    Ink ink;
    for (int y = y0; y < y0 + height; ++y) {
        for (int x = x0; x < x0 + width; ++x) {
            const guchar* p = pixels + y * stride + x * channels;
            int luminance = (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
            if (luminance < 110) {
                ++ink.count;
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    }
    return ink;
}

// The label's own layout drawn dark on white: what a readable rendering of its text looks like.
Ink ReferenceInk(GtkLabel* label)
{
    PangoLayout* layout = gtk_label_get_layout(label);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w + 4, h + 4);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.18, 0.20, 0.21);
    cairo_move_to(cr, 2, 2);
    pango_cairo_show_layout(cr, layout);
    cairo_surface_flush(surface);
    // Cairo's RGB24 is native-endian 32-bit: blue, green, red, unused on this machine.
    std::vector<guchar> rgb(static_cast<std::size_t>((w + 4) * (h + 4) * 3));
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h + 4; ++y) {
        for (int x = 0; x < w + 4; ++x) {
            const unsigned char* p = data + y * stride + x * 4;
            guchar* q = &rgb[static_cast<std::size_t>((y * (w + 4) + x) * 3)];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return MeasureInk(rgb.data(), (w + 4) * 3, 3, 0, 0, w + 4, h + 4);
}

// The label that shows a control's text.
GtkLabel* TextOf(GtkWidget* control)
{
    GtkWidget* child = nullptr;
    if (GTK_IS_FRAME(control)) {
        child = gtk_frame_get_label_widget(GTK_FRAME(control));
    } else if (GTK_IS_BIN(control)) {
        child = gtk_bin_get_child(GTK_BIN(control));
    } else {
        child = control;
    }
    return GTK_IS_LABEL(child) ? GTK_LABEL(child) : nullptr;
}

void CollectLabels(GtkWidget* widget, std::vector<GtkLabel*>* labels)
{
    if (GTK_IS_LABEL(widget)) {
        labels->push_back(GTK_LABEL(widget));
    } else if (GTK_IS_FRAME(widget) || GTK_IS_BUTTON(widget)) {
        if (GtkLabel* l = TextOf(widget)) {
            labels->push_back(l);
        }
        if (GTK_IS_FRAME(widget)) {
            return;  // the controls inside a group box are its siblings here
        }
    } else if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* l = children; l; l = l->next) {
            CollectLabels(GTK_WIDGET(l->data), labels);
        }
        g_list_free(children);
    }
}

// Waits until the dialog is on the screen and has drawn itself anew, all of it sent to the server.
void WaitUntilDrawn(GtkWidget* top)
{
    IterateUntil([&] { return gtk_widget_get_mapped(top) && gtk_widget_get_window(top); });
    int draws = 0;
    gulong handler = g_signal_connect_after(top, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer count) -> gboolean {
        ++*static_cast<int*>(count);
        return FALSE;
    }), &draws);
    gtk_widget_queue_draw(top);
    IterateUntil([&] { return draws > 0; });
    g_signal_handler_disconnect(top, handler);
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    gdk_display_sync(gtk_widget_get_display(top));
}

// One line per text of the dialog: "text|<text>|<unknown glyphs>|<ink>|<reference ink>|<width>|<reference width>".
std::string MeasureTexts(CDialog& dialog, const std::string& screenshot)
{
    GtkWidget* top = MfcWidgetOf(dialog.m_hWnd);
    WaitUntilDrawn(top);
    GdkWindow* window = gtk_widget_get_window(top);
    int width = gdk_window_get_width(window);
    int height = gdk_window_get_height(window);
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(window, 0, 0, width, height);
    if (!shot) {
        return "no screenshot\n";
    }
    gdk_pixbuf_save(shot, screenshot.c_str(), "png", nullptr, nullptr);
    std::vector<GtkLabel*> labels;
    CollectLabels(gtk_bin_get_child(GTK_BIN(top)), &labels);
    std::ostringstream out;
    for (GtkLabel* label : labels) {
        GtkAllocation a;
        gtk_widget_get_allocation(GTK_WIDGET(label), &a);
        int x = 0, y = 0;
        gtk_widget_translate_coordinates(GTK_WIDGET(label), top, 0, 0, &x, &y);
        int x1 = std::clamp(x + a.width, 0, width), y1 = std::clamp(y + a.height, 0, height);
        x = std::clamp(x, 0, width);
        y = std::clamp(y, 0, height);
        Ink ink = MeasureInk(gdk_pixbuf_get_pixels(shot), gdk_pixbuf_get_rowstride(shot),
                             gdk_pixbuf_get_n_channels(shot), x, y, x1 - x, y1 - y);
        Ink reference = ReferenceInk(label);
        out << "text|" << gtk_label_get_text(label) << "|"
            << pango_layout_get_unknown_glyphs_count(gtk_label_get_layout(label)) << "|" << ink.count << "|"
            << reference.count << "|" << ink.Width() << "|" << reference.Width() << "\n";
    }
    g_object_unref(shot);
    return out.str();
}

// A rectangle of the client area, in pixels.
struct Box {
    int x, y, w, h;
    bool Contains(const Box& o) const { return o.x >= x && o.y >= y && o.x + o.w <= x + w && o.y + o.h <= y + h; }
    bool Overlaps(const Box& o) const { return o.x < x + w && x < o.x + o.w && o.y < y + h && y < o.y + o.h; }
};

std::string Describe(const Box& b)
{
    return std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.w) + "x" + std::to_string(b.h);
}

Box BoxIn(GtkWidget* widget, GtkWidget* client)
{
    GtkAllocation a;
    gtk_widget_get_allocation(widget, &a);
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(widget, client, 0, 0, &x, &y);
    return {x, y, a.width, a.height};
}

// The layout of a dialog on the screen against its template: one "bad|..." line for every control
// outside the dialog or its group box, every two controls that overlap, every control whose size
// or place is not its template rectangle's, and every text wider or taller than its control's room
// for it (the text measured with Pango at the label's own font; the room of a radio button or
// check box begins after its indicator). Also one "box|..." line per control for the record.
std::string CheckLayout(CDialog& dialog, const std::string& screenshot)
{
    const DialogTemplate* t = AfxFindDialogTemplate(dialog.m_nIDHelp);
    GtkWidget* top = MfcWidgetOf(dialog.m_hWnd);
    WaitUntilDrawn(top);
    if (GdkPixbuf* shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(top), 0, 0,
                                                     gdk_window_get_width(gtk_widget_get_window(top)),
                                                     gdk_window_get_height(gtk_widget_get_window(top)))) {
        gdk_pixbuf_save(shot, screenshot.c_str(), "png", nullptr, nullptr);
        g_object_unref(shot);
    }
    GtkWidget* client = gtk_bin_get_child(GTK_BIN(top));
    GList* children = gtk_container_get_children(GTK_CONTAINER(client));
    std::vector<GtkWidget*> widgets;
    for (GList* l = children; l; l = l->next) {
        widgets.push_back(GTK_WIDGET(l->data));
    }
    g_list_free(children);
    std::ostringstream out;
    std::string name = "dialog " + std::to_string(dialog.m_nIDHelp);
    if (!t || widgets.size() != t->items.size()) {
        return "bad|" + name + ": the controls are not the template's\n";
    }
    GtkAllocation clientArea;
    gtk_widget_get_allocation(client, &clientArea);
    Box dialogBox{0, 0, clientArea.width, clientArea.height};
    // Pixels per dialog unit, as the dialog's own size gives them.
    double perX = static_cast<double>(clientArea.width) / t->cx;
    double perY = static_cast<double>(clientArea.height) / t->cy;
    out << "client|" << name << "|" << Describe(dialogBox) << "\n";

    std::vector<Box> boxes;
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const DialogItem& item = t->items[i];
        Box b = BoxIn(widgets[i], client);
        boxes.push_back(b);
        std::string what = name + " \"" + item.text + "\" at " + Describe(b);
        out << "box|" << what << "\n";
        if (!dialogBox.Contains(b)) {
            out << "bad|" << what << " is not inside the dialog " << Describe(dialogBox) << "\n";
        }
        auto near = [](double pixels, int actual) { return std::abs(pixels - actual) <= 1.0; };
        bool placed = near(item.x * perX, b.x) && near(item.y * perY, b.y);
        bool sized = item.kind == DialogItemKind::Icon ||
                     (near((item.x + item.cx) * perX, b.x + b.w) && near((item.y + item.cy) * perY, b.y + b.h));
        if (!placed || !sized) {
            out << "bad|" << what << " is not its template rectangle " << item.x << "," << item.y << " " << item.cx
                << "x" << item.cy << "\n";
        }
        if (GtkLabel* label = TextOf(widgets[i])) {
            PangoLayout* layout = gtk_widget_create_pango_layout(GTK_WIDGET(label), gtk_label_get_text(label));
            int textW = 0, textH = 0;
            pango_layout_get_pixel_size(layout, &textW, &textH);
            g_object_unref(layout);
            Box room = BoxIn(GTK_WIDGET(label), client);
            out << "text|" << what << "|" << textW << "x" << textH << " in " << Describe(room) << "\n";
            if (!b.Contains(room) || textW > room.w || textH > room.h) {
                out << "bad|" << what << ": its text, " << textW << "x" << textH << ", has " << Describe(room)
                    << "\n";
            }
        }
    }
    auto within = [&](std::size_t inner, std::size_t outer) {
        const DialogItem& a = t->items[inner];
        const DialogItem& g = t->items[outer];
        return g.kind == DialogItemKind::GroupBox && a.x >= g.x && a.y >= g.y && a.x + a.cx <= g.x + g.cx &&
               a.y + a.cy <= g.y + g.cy;
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = 0; j < boxes.size(); ++j) {
            if (i == j) {
                continue;
            }
            std::string pair = name + " \"" + t->items[i].text + "\" and \"" + t->items[j].text + "\"";
            if (within(i, j)) {
                if (!boxes[j].Contains(boxes[i])) {
                    out << "bad|" << pair << ": not inside its group box\n";
                }
            } else if (i < j && !within(j, i) && boxes[i].Overlaps(boxes[j])) {
                out << "bad|" << pair << " overlap\n";
            }
        }
    }
    return out.str();
}

// A press and release of the first button in the middle of the control, as the pointer device
// sends them (XTest), so that they take the same way as a user's click.
void PointerClick(GtkWidget* control)
{
    GtkWidget* top = gtk_widget_get_toplevel(control);
    GtkAllocation a;
    gtk_widget_get_allocation(control, &a);
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(control, top, a.width / 2, a.height / 2, &x, &y);
    int originX = 0, originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(top), &originX, &originY);
    Display* xdisplay = gdk_x11_display_get_xdisplay(gtk_widget_get_display(top));
    XTestFakeMotionEvent(xdisplay, -1, originX + x, originY + y, CurrentTime);
    XTestFakeButtonEvent(xdisplay, 1, True, CurrentTime);
    XTestFakeButtonEvent(xdisplay, 1, False, CurrentTime);
    XFlush(xdisplay);
}

void PointerClick(CDialog& dialog, int id)
{
    PointerClick(MfcWidgetOf(dialog.GetDlgItem(id)->m_hWnd));
}

// The colour ("rrggbb") of a pixel of the client area, read back from the X server.
std::string ClientPixel(CDialog& dialog, int x, int y)
{
    GtkWidget* top = MfcWidgetOf(dialog.m_hWnd);
    GtkWidget* client = gtk_bin_get_child(GTK_BIN(top));
    int left = 0, topY = 0;
    gtk_widget_translate_coordinates(client, top, 0, 0, &left, &topY);
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(top), left + x, topY + y, 1, 1);
    if (!shot) {
        return "none";
    }
    const guchar* p = gdk_pixbuf_get_pixels(shot);
    char text[8];
    std::snprintf(text, sizeof(text), "%02x%02x%02x", p[0], p[1], p[2]);
    g_object_unref(shot);
    return text;
}

GtkMenuButton* SystemMenuButton(GtkWidget* top)
{
    GtkWidget* header = gtk_window_get_titlebar(GTK_WINDOW(top));
    GList* children = gtk_container_get_children(GTK_CONTAINER(header));
    GtkMenuButton* found = nullptr;
    for (GList* l = children; l; l = l->next) {
        if (GTK_IS_MENU_BUTTON(l->data)) {
            found = GTK_MENU_BUTTON(l->data);
        }
    }
    g_list_free(children);
    return found;
}

struct TextLine {
    std::string text;
    int unknown, ink, referenceInk, width, referenceWidth;
};

std::vector<TextLine> TextLines(const std::string& report)
{
    std::vector<TextLine> lines;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("text|", 0) != 0) {
            continue;
        }
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string part;
        while (std::getline(fields, part, '|')) {
            f.push_back(part);
        }
        if (f.size() == 7) {
            lines.push_back({f[1], std::stoi(f[2]), std::stoi(f[3]), std::stoi(f[4]), std::stoi(f[5]), std::stoi(f[6])});
        }
    }
    return lines;
}

void ExpectReadable(const std::vector<TextLine>& lines, const std::vector<std::string>& texts)
{
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        auto it = std::find_if(lines.begin(), lines.end(), [&](const TextLine& l) { return l.text == text; });
        ASSERT_NE(it, lines.end()) << "text not shown";
        EXPECT_EQ(it->unknown, 0) << "characters the font cannot draw";
        EXPECT_GT(it->referenceInk, 10);
        // Drawn whole and in the same glyphs: as much ink as the reference, as wide.
        EXPECT_GT(it->ink, it->referenceInk * 3 / 4);
        EXPECT_LT(it->ink, it->referenceInk * 4 / 3);
        EXPECT_NEAR(it->width, it->referenceWidth, 3);
    }
}

}  // namespace

TEST(ConfigOnDisplay, TextsAreReadableAndPointerClicksChangeWhatOkWrites)
{
    IsolateSharedFolder();
    ASSERT_TRUE(XvfbDisplay::Ensure());
    TempFolder folder;
    std::string ini = folder.Path() + "/Pellmoor.ini";
    std::string output = TEST_OUTPUT_DIR;

    bool aboutShown = false;
    ChildRun run = RunInChild([&] {
        return RunConfigTool(folder.Path(), [&](CDialog& dialog) -> std::string {
            GtkWidget* top = MfcWidgetOf(dialog.m_hWnd);
            // Should a click go astray, the dialog still ends (and the file shows it).
            g_timeout_add_seconds(30, [](gpointer w) -> gboolean {
                gtk_window_close(GTK_WINDOW(w));
                return G_SOURCE_REMOVE;
            }, top);
            if (dialog.m_nIDHelp == IDD_ABOUTBOX) {
                aboutShown = true;
                std::string notes = "about caption|" + std::string(gtk_window_get_title(GTK_WINDOW(top))) + "\n";
                notes += MeasureTexts(dialog, output + "/about-dialog.png");
                PointerClick(dialog, IDOK);
                return notes;
            }
            std::string notes = "caption|" + std::string(gtk_window_get_title(GTK_WINDOW(top))) + "\n";
            notes += MeasureTexts(dialog, output + "/settings-dialog.png");

            struct Step {
                int id;
                bool checked;
            };
            for (Step step : {Step{IDC_RADIO_FULLSCREEN, true}, Step{IDC_CHECK_DEVICECHECK, true},
                              Step{IDC_CHECK_FOG, false}}) {
                PointerClick(dialog, step.id);
                bool done = IterateUntil([&] { return IsChecked(dialog, step.id) == step.checked; });
                notes += "click " + std::to_string(step.id) + (done ? " took\n" : " lost\n");
            }
            // The about item at the end of the system menu opens the about box.
            GtkMenuButton* button = SystemMenuButton(top);
            GtkWidget* menu = button ? GTK_WIDGET(gtk_menu_button_get_popup(button)) : nullptr;
            if (menu) {
                PointerClick(GTK_WIDGET(button));
                IterateUntil([&] { return gtk_widget_get_mapped(menu); });
                GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
                GtkWidget* last = GTK_WIDGET(g_list_last(items)->data);
                g_list_free(items);
                notes += "menu item|" + std::string(gtk_menu_item_get_label(GTK_MENU_ITEM(last))) + "\n";
                PointerClick(last);
                IterateUntil([&] { return aboutShown; });
            }
            // While the window layer reports the dialog iconic, it paints the icon centred in its
            // client area; a point of the icon's blue tile shows it.
            RECT client;
            GetClientRect(dialog.m_hWnd, &client);
            int iconX = (client.right - 32 + 1) / 2, iconY = (client.bottom - 32 + 1) / 2;
            Win32SetHostedIconic(dialog.m_hWnd, true);
            WaitUntilDrawn(top);
            notes += "iconic paint|" + ClientPixel(dialog, iconX + 2, iconY + 16) + "\n";
            Win32SetHostedIconic(dialog.m_hWnd, false);
            WaitUntilDrawn(top);
            notes += "normal paint|" + ClientPixel(dialog, iconX + 2, iconY + 16) + "\n";

            PointerClick(dialog, IDOK);
            return notes;
        });
    });

    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.report.find("caption|Config\n"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("menu item|バージョン情報 Config(_A)...\n"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("about caption|バージョン情報 Config\n"), std::string::npos) << run.report;
    ExpectReadable(TextLines(run.report),
                   {"起動スクリーン設定", "ウィンドウ", "フルスクリーン", "デバイスチェック設定",
                    "デバイス詳細チェック(非推奨)", "フォグの有無", "フォグ", "OK", "キャンセル",
                    "Config Version 1.0", "Pellmoor の起動設定ツール"});
    for (int id : {IDC_RADIO_FULLSCREEN, IDC_CHECK_DEVICECHECK, IDC_CHECK_FOG}) {
        EXPECT_NE(run.report.find("click " + std::to_string(id) + " took"), std::string::npos) << run.report;
    }
    EXPECT_EQ(ReadFile(ini), std::optional<std::string>("[MODE]\nSCREEN_MODE=1\nDEVICECHECK=1\nFOG=0\n"));
    EXPECT_NE(run.report.find("result=0"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("iconic paint|2a5db0\n"), std::string::npos) << run.report;
    EXPECT_EQ(run.report.find("normal paint|2a5db0\n"), std::string::npos) << run.report;
}

TEST(ConfigOnDisplay, EveryControlKeepsToItsTemplateRectangle)
{
    IsolateSharedFolder();
    ASSERT_TRUE(XvfbDisplay::Ensure());
    TempFolder folder;
    std::string output = TEST_OUTPUT_DIR;
    ChildRun run = RunInChild([&] {
        return RunConfigTool(folder.Path(), [&](CDialog& dialog) -> std::string {
            if (dialog.m_nIDHelp == IDD_ABOUTBOX) {
                std::string notes = CheckLayout(dialog, output + "/about-layout.png");
                dialog.EndDialog(IDOK);
                return notes;
            }
            std::string notes = CheckLayout(dialog, output + "/config-dialog.png");
            SendMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            dialog.EndDialog(IDCANCEL);
            return notes;
        });
    });
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.report.find("client|dialog 102|"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("client|dialog 100|"), std::string::npos) << run.report;
    EXPECT_EQ(run.report.find("bad|"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find("result=0"), std::string::npos) << run.report;
}
