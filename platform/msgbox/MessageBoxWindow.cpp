#include "platform/msgbox/MessageBoxWindow.h"

#include "platform/msgbox/MessageBoxProperty.h"

#include <algorithm>
#include <cstring>

#include <gdk/gdkx.h>

namespace {

// The widest the text runs before it wraps, in pixels: a line a reader takes in at a glance,
// narrower where the screen is.
constexpr int kLineWidth = 480;
// Room the box needs around its text: margins, the title bar, the button row and a window
// manager's frame.
constexpr int kSideRoom = 96;
constexpr int kTopAndBottomRoom = 200;
constexpr int kMargin = 20;

std::string ValidUtf8(const std::string& text)
{
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    std::string result = valid;
    g_free(valid);
    return result;
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(const std::string& caption, const std::string& text, unsigned long owner)
{
    std::string title = ValidUtf8(caption);
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* win = GTK_WINDOW(window_);
    gtk_window_set_title(win, title.c_str());
    gtk_window_set_resizable(win, FALSE);
    gtk_window_set_type_hint(win, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(win, GTK_WIN_POS_CENTER);

    // The caption is drawn by the box itself, in the same font as the text, also where no window
    // manager frames it.
    GtkWidget* header = gtk_header_bar_new();
    gtk_header_bar_set_title(GTK_HEADER_BAR(header), title.c_str());
    gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(header), TRUE);
    gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(header), ":close");
    gtk_window_set_titlebar(win, header);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(column), kMargin);
    gtk_container_add(GTK_CONTAINER(window_), column);

    label_ = gtk_label_new(ValidUtf8(text).c_str());
    GtkLabel* label = GTK_LABEL(label_);
    gtk_label_set_xalign(label, 0.0f);
    gtk_label_set_yalign(label, 0.0f);
    gtk_label_set_line_wrap(label, TRUE);
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
    // The messages are Japanese: the language picks Japanese forms of the shared characters.
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_language_new(pango_language_from_string("ja")));
    // A name broken across lines gets no hyphen that it does not have.
    pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
    gtk_label_set_attributes(label, attributes);
    pango_attr_list_unref(attributes);

    scroller_ = gtk_scrolled_window_new(nullptr, nullptr);
    GtkScrolledWindow* scroller = GTK_SCROLLED_WINDOW(scroller_);
    gtk_scrolled_window_set_policy(scroller, GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_propagate_natural_width(scroller, TRUE);
    gtk_scrolled_window_set_propagate_natural_height(scroller, TRUE);
    gtk_scrolled_window_set_overlay_scrolling(scroller, FALSE);  // a text that scrolls shows it does
    gtk_container_add(GTK_CONTAINER(scroller_), label_);
    gtk_box_pack_start(GTK_BOX(column), scroller_, TRUE, TRUE, 0);

    button_ = gtk_button_new_with_label("OK");
    gtk_widget_set_halign(button_, GTK_ALIGN_CENTER);
    gtk_widget_set_size_request(button_, 88, -1);
    gtk_widget_set_can_default(button_, TRUE);
    gtk_box_pack_start(GTK_BOX(column), button_, FALSE, FALSE, 0);
    gtk_window_set_default(win, button_);
    gtk_window_set_focus(win, button_);

    g_signal_connect(button_, "clicked", G_CALLBACK(OnClicked), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKey), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);

    loop_ = g_main_loop_new(nullptr, FALSE);
    // Everything but the window itself is shown now, so that the box's size is known before it
    // is placed.
    gtk_widget_show_all(header);
    gtk_widget_show_all(column);
    gtk_widget_realize(window_);
    SetOwner(owner);
    FitToScreen();
    PublishText();
}

MessageBoxWindow::~MessageBoxWindow()
{
    GdkDisplay* display = gtk_widget_get_display(window_);
    gtk_widget_destroy(window_);
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    gdk_display_flush(display);
    g_main_loop_unref(loop_);
}

void MessageBoxWindow::SetOwner(unsigned long owner)
{
    GdkDisplay* display = gtk_widget_get_display(window_);
    if (!owner || !GDK_IS_X11_DISPLAY(display)) {
        return;
    }
    // An owner that is gone (or never was) gives no window here, and the box stands alone.
    GdkWindow* foreign = gdk_x11_window_foreign_new_for_display(display, static_cast<::Window>(owner));
    if (!foreign) {
        return;
    }
    gdk_window_set_transient_for(gtk_widget_get_window(window_), foreign);
    g_object_set_data_full(G_OBJECT(window_), "message-box-owner", foreign, g_object_unref);
}

void MessageBoxWindow::FitToScreen()
{
    GdkDisplay* display = gtk_widget_get_display(window_);
    auto* owner = static_cast<GdkWindow*>(g_object_get_data(G_OBJECT(window_), "message-box-owner"));
    GdkMonitor* monitor = owner ? gdk_display_get_monitor_at_window(display, owner) : nullptr;
    if (!monitor) {
        monitor = gdk_display_get_primary_monitor(display);
    }
    if (!monitor) {
        monitor = gdk_display_get_monitor_at_point(display, 0, 0);
    }
    GdkRectangle area{0, 0, 640, 480};
    if (monitor) {
        gdk_monitor_get_workarea(monitor, &area);
    }

    // The label's limit is counted in its font's average character width.
    PangoContext* context = gtk_widget_get_pango_context(label_);
    PangoFontMetrics* metrics =
        pango_context_get_metrics(context, pango_context_get_font_description(context), nullptr);
    int charWidth = std::max(pango_font_metrics_get_approximate_char_width(metrics),
                             pango_font_metrics_get_approximate_digit_width(metrics));
    pango_font_metrics_unref(metrics);
    int width = std::min(kLineWidth, area.width - kSideRoom);
    int chars = charWidth > 0 ? width * PANGO_SCALE / charWidth : 40;
    gtk_label_set_max_width_chars(GTK_LABEL(label_), std::max(chars, 8));
    gtk_scrolled_window_set_max_content_height(GTK_SCROLLED_WINDOW(scroller_),
                                               std::max(area.height - kTopAndBottomRoom, 48));

    // Over the window the box belongs to, inside the screen's work area.
    if (owner) {
        GdkRectangle frame;
        gdk_window_get_frame_extents(owner, &frame);
        GtkRequisition size;
        gtk_widget_get_preferred_size(window_, nullptr, &size);
        int x = frame.x + (frame.width - size.width) / 2;
        int y = frame.y + (frame.height - size.height) / 2;
        x = std::clamp(x, area.x, std::max(area.x, area.x + area.width - size.width));
        y = std::clamp(y, area.y, std::max(area.y, area.y + area.height - size.height));
        gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_NONE);
        gtk_window_move(GTK_WINDOW(window_), x, y);
    }
}

void MessageBoxWindow::PublishText()
{
    GdkWindow* window = gtk_widget_get_window(window_);
    if (!window || !GDK_IS_X11_WINDOW(window)) {
        return;
    }
    const char* text = gtk_label_get_text(GTK_LABEL(label_));
    gdk_property_change(window, gdk_atom_intern_static_string(kMessageBoxTextProperty),
                        gdk_atom_intern_static_string("UTF8_STRING"), 8, GDK_PROP_MODE_REPLACE,
                        reinterpret_cast<const guchar*>(text), static_cast<gint>(std::strlen(text)));
}

void MessageBoxWindow::Run()
{
    gtk_widget_show_all(window_);
    gtk_window_present(GTK_WINDOW(window_));
    if (!closed_) {
        g_main_loop_run(loop_);
    }
}

void MessageBoxWindow::Close()
{
    closed_ = true;
    gtk_widget_hide(window_);
    if (g_main_loop_is_running(loop_)) {
        g_main_loop_quit(loop_);
    }
}

gboolean MessageBoxWindow::OnKey(GtkWidget*, GdkEventKey* event, gpointer box)
{
    switch (event->keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
    case GDK_KEY_Escape:
        static_cast<MessageBoxWindow*>(box)->Close();
        return TRUE;
    default:
        return FALSE;
    }
}

gboolean MessageBoxWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer box)
{
    static_cast<MessageBoxWindow*>(box)->Close();
    return TRUE;  // the box is destroyed by its owner, not by the click
}

void MessageBoxWindow::OnClicked(GtkButton*, gpointer box)
{
    static_cast<MessageBoxWindow*>(box)->Close();
}
