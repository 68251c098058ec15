#include "platform/mfc/DialogHost.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/mfc/AfxIcon.h"
#include "platform/mfc/AfxModuleState.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/Mnemonic.h"
#include "platform/win32/Win32HostedWindow.h"

struct DialogHost::Control {
    DialogHost* host;
    DialogItemKind kind;
    int id;
    DWORD style;
    HWND hwnd;
    GtkWidget* widget;
};

namespace {

std::map<HWND, DialogHost*>& Dialogs()
{
    static std::map<HWND, DialogHost*> dialogs;
    return dialogs;
}

std::map<HWND, GtkWidget*>& Widgets()
{
    static std::map<HWND, GtkWidget*> widgets;
    return widgets;
}

}  // namespace

bool DialogHost::EnsureToolkit()
{
    static int state = 0;  // 0 not tried, 1 running, -1 failed
    if (state == 0) {
        state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
        if (state < 0) {
            const char* display = std::getenv("DISPLAY");
            std::fprintf(stderr, "cannot open the display %s\n", display ? display : "(none)");
        }
    }
    return state > 0;
}

DialogHost* DialogHost::FromWindow(HWND window)
{
    auto it = Dialogs().find(window);
    return it == Dialogs().end() ? nullptr : it->second;
}

GtkWidget* DialogHost::WidgetOf(HWND window)
{
    auto it = Widgets().find(window);
    return it == Widgets().end() ? nullptr : it->second;
}

DialogHost::DialogHost(DialogHostClient& dialog, const DialogTemplate& dialogTemplate, GtkWindow* owner)
    : dialog_(dialog), font_(dialogTemplate.fontName, dialogTemplate.fontPoints)
{
    toplevel_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* win = GTK_WINDOW(toplevel_);
    gtk_window_set_title(win, dialogTemplate.caption);
    gtk_window_set_resizable(win, FALSE);
    gtk_window_set_modal(win, TRUE);
    if (owner) {
        gtk_window_set_transient_for(win, owner);
        gtk_window_set_position(win, GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
        gtk_window_set_position(win, GTK_WIN_POS_CENTER);
    }
    gtk_window_set_skip_taskbar_hint(win, (dialogTemplate.exStyle & WS_EX_APPWINDOW) || !owner ? FALSE : TRUE);

    // The dialog's font for every widget of this window.
    std::string name = "mfc-dialog-" + std::to_string(dialogTemplate.id);
    gtk_widget_set_name(toplevel_, name.c_str());
    static std::set<std::string> styled;  // one style rule per template, however often it runs
    if (styled.insert(name).second) {
        std::string css = "#" + name + ", #" + name + " * { font-family: \"" + font_.Family() +
                          "\"; font-size: " + std::to_string(font_.Points()) + "pt; }";
        GtkCssProvider* provider = gtk_css_provider_new();
        gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
        gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(toplevel_), GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        g_object_unref(provider);
    }

    // The caption: a header bar with the system menu behind the icon button and the close button.
    GtkWidget* header = gtk_header_bar_new();
    gtk_header_bar_set_title(GTK_HEADER_BAR(header), dialogTemplate.caption);
    gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(header), (dialogTemplate.style & WS_SYSMENU) ? TRUE : FALSE);
    gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(header), ":close");
    if (dialogTemplate.style & WS_SYSMENU) {
        menuButton_ = gtk_menu_button_new();
        gtk_header_bar_pack_start(GTK_HEADER_BAR(header), menuButton_);
    }
    gtk_window_set_titlebar(win, header);

    fixed_ = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(toplevel_), fixed_);

    Win32HostCallbacks callbacks;
    GtkWidget* top = toplevel_;
    GtkWidget* fixed = fixed_;
    callbacks.show = [top] {
        gtk_widget_show_all(top);
        gtk_window_present(GTK_WINDOW(top));
    };
    callbacks.hide = [top] { gtk_widget_hide(top); };
    callbacks.restore = [top] {
        gtk_widget_show_all(top);
        gtk_window_deiconify(GTK_WINDOW(top));
        gtk_window_present(GTK_WINDOW(top));
    };
    callbacks.minimize = [top] { gtk_window_iconify(GTK_WINDOW(top)); };
    callbacks.raise = [top] {
        gtk_window_present_with_time(GTK_WINDOW(top), GDK_CURRENT_TIME);
        if (GdkWindow* w = gtk_widget_get_window(top)) {
            gdk_window_raise(w);  // also where no window manager stacks windows
        }
    };
    callbacks.clientRect = [fixed] {
        GtkAllocation a;
        gtk_widget_get_allocation(fixed, &a);
        return RECT{0, 0, a.width, a.height};
    };
    window_ = Win32CreateHostedWindow(dialog_.WindowProcedure(), dialogTemplate.caption, false, std::move(callbacks));
    Dialogs()[window_] = this;
    Widgets()[window_] = toplevel_;
    if (menuButton_) {
        menu_ = std::make_unique<SystemMenu>(window_);
        gtk_menu_button_set_popup(GTK_MENU_BUTTON(menuButton_), menu_->Widget());
    }

    BuildControls(dialogTemplate);
    PlaceControls(dialogTemplate);

    g_signal_connect(toplevel_, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(toplevel_, "key-press-event", G_CALLBACK(OnKey), this);
    g_signal_connect(toplevel_, "window-state-event", G_CALLBACK(OnState), this);
    g_signal_connect_after(fixed_, "draw", G_CALLBACK(OnDraw), this);
}

DialogHost::~DialogHost()
{
    for (auto& c : controls_) {
        Widgets().erase(c->hwnd);
        Win32DestroyHostedWindow(c->hwnd);
    }
    Win32DestroyHostedWindow(window_);  // WM_DESTROY while the dialog is still known
    Dialogs().erase(window_);
    Widgets().erase(window_);
    menu_.reset();
    gtk_widget_destroy(toplevel_);
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }
}

void DialogHost::BuildControls(const DialogTemplate& dialogTemplate)
{
    GtkWidget* lastRadio = nullptr;
    for (const DialogItem& item : dialogTemplate.items) {
        GtkWidget* w = nullptr;
        std::string text = ToGtkMnemonic(item.text);
        switch (item.kind) {
        case DialogItemKind::GroupBox:
            w = gtk_frame_new(item.text);
            break;
        case DialogItemKind::AutoRadioButton:
            if (lastRadio && !(item.style & WS_GROUP)) {
                w = gtk_radio_button_new_with_mnemonic_from_widget(GTK_RADIO_BUTTON(lastRadio), text.c_str());
            } else {
                w = gtk_radio_button_new_with_mnemonic(nullptr, text.c_str());
            }
            break;
        case DialogItemKind::AutoCheckBox:
            w = gtk_check_button_new_with_mnemonic(text.c_str());
            break;
        case DialogItemKind::PushButton:
        case DialogItemKind::DefPushButton:
            w = gtk_button_new_with_mnemonic(text.c_str());
            break;
        case DialogItemKind::Text:
            w = gtk_label_new(item.text);
            gtk_label_set_xalign(GTK_LABEL(w), 0.0f);
            gtk_label_set_yalign(GTK_LABEL(w), 0.0f);
            gtk_label_set_line_wrap(GTK_LABEL(w), TRUE);
            break;
        case DialogItemKind::Icon: {
            GdkPixbuf* pixbuf = AfxIconPixbuf(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(item.iconId)));
            w = pixbuf ? gtk_image_new_from_pixbuf(pixbuf) : gtk_image_new();
            break;
        }
        }
        lastRadio = item.kind == DialogItemKind::AutoRadioButton ? w : nullptr;
        gtk_fixed_put(GTK_FIXED(fixed_), w, 0, 0);  // PlaceControls gives it its rectangle

        auto control = std::make_unique<Control>();
        control->host = this;
        control->kind = item.kind;
        control->id = item.id;
        control->style = item.style;
        control->widget = w;
        control->hwnd = Win32CreateHostedWindow(ControlProc, item.text, true, {});
        Widgets()[control->hwnd] = w;
        g_object_set_data(G_OBJECT(w), "mfc-control", control.get());
        if (GTK_IS_BUTTON(w)) {
            g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), control.get());
        }
        if (item.kind == DialogItemKind::DefPushButton) {
            gtk_widget_set_can_default(w, TRUE);
            gtk_window_set_default(GTK_WINDOW(toplevel_), w);
            defaultId_ = item.id;
        }
        controls_.push_back(std::move(control));
    }
}

// Places and sizes every control by its template rectangle. GTK's controls, drawn at the dialog's
// font, need more room than the template's rectangles give at that font's dialog units (a wider
// indicator, wider Japanese glyphs), and a fixed layout lets a control outgrow its rectangle. So
// the units are enlarged evenly, just enough that every control's natural size fits its
// rectangle: the dialog keeps the template's proportions and its font, and no control reaches
// past its group box, its neighbour or the dialog's edge.
void DialogHost::PlaceControls(const DialogTemplate& dialogTemplate)
{
    struct Natural {
        GtkWidget* widget;
        const DialogItem* item;
        int width;
    };
    std::vector<Natural> naturals;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        GtkWidget* w = controls_[i]->widget;
        gtk_widget_show_all(w);  // a hidden widget asks for no room
        int width = 0;
        gtk_widget_get_preferred_width(w, nullptr, &width);
        naturals.push_back({w, &dialogTemplate.items[i], width});
    }
    // Edges, not sizes, are converted, so that rectangles that meet in the template meet here.
    auto spanX = [this](const DialogItem& item) { return font_.ToPixelsX(item.x + item.cx) - font_.ToPixelsX(item.x); };
    auto spanY = [this](const DialogItem& item) { return font_.ToPixelsY(item.y + item.cy) - font_.ToPixelsY(item.y); };
    auto fits = [&] {
        for (const Natural& n : naturals) {
            if (n.item->kind == DialogItemKind::Icon) {
                continue;
            }
            int height = 0;
            gtk_widget_get_preferred_height_for_width(n.widget, spanX(*n.item), nullptr, &height);
            if (n.width > spanX(*n.item) || height > spanY(*n.item)) {
                return false;
            }
        }
        return true;
    };
    constexpr double kStep = 1.0 / 32, kLargest = 4.0;
    for (double scale = 1.0; !fits() && scale < kLargest;) {
        scale += kStep;
        font_.SetScale(scale);
    }

    gtk_widget_set_size_request(fixed_, font_.ToPixelsX(dialogTemplate.cx), font_.ToPixelsY(dialogTemplate.cy));
    for (const Natural& n : naturals) {
        const DialogItem& item = *n.item;
        if (item.kind != DialogItemKind::Icon) {  // an icon control takes the icon's own size
            gtk_widget_set_size_request(n.widget, spanX(item), spanY(item));
        }
        gtk_fixed_move(GTK_FIXED(fixed_), n.widget, font_.ToPixelsX(item.x), font_.ToPixelsY(item.y));
    }
}

DialogHost::Control* DialogHost::FindControl(int id)
{
    for (auto& c : controls_) {
        if (c->id == id && id != -1) {
            return c.get();
        }
    }
    return nullptr;
}

HWND DialogHost::ControlWindow(int id)
{
    Control* c = FindControl(id);
    return c ? c->hwnd : nullptr;
}

std::vector<HWND> DialogHost::ControlWindows() const
{
    std::vector<HWND> windows;
    for (const auto& c : controls_) {
        windows.push_back(c->hwnd);
    }
    return windows;
}

void DialogHost::SendCommand(int id, HWND control)
{
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void DialogHost::FocusFirstTabStop()
{
    for (auto& c : controls_) {
        if (c->style & WS_TABSTOP) {
            gtk_widget_grab_focus(c->widget);
            return;
        }
    }
}

LRESULT DialogHost::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    GtkWidget* w = WidgetOf(window);
    if (!w || !GTK_IS_TOGGLE_BUTTON(w)) {
        return 0;
    }
    auto* control = static_cast<Control*>(g_object_get_data(G_OBJECT(w), "mfc-control"));
    switch (message) {
    case BM_GETCHECK:
        return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w)) ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: {
        // A state set by the program is no click: no notification follows.
        if (control) {
            ++control->host->suppressClicks_;
        }
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), wParam == BST_CHECKED);
        if (control) {
            --control->host->suppressClicks_;
        }
        return 0;
    }
    default:
        return 0;
    }
}

void DialogHost::OnClicked(GtkButton* button, gpointer data)
{
    auto* control = static_cast<Control*>(data);
    if (control->host->suppressClicks_ > 0) {
        return;
    }
    // GTK also reports the radio button that a click in its group turned off; only the one
    // clicked tells the dialog.
    if (control->kind == DialogItemKind::AutoRadioButton && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button))) {
        return;
    }
    control->host->SendCommand(control->id, control->hwnd);
}

gboolean DialogHost::OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    auto* host = static_cast<DialogHost*>(data);
    SendMessageA(host->window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;  // the dialog ends itself; GTK must not destroy the window
}

gboolean DialogHost::OnKey(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto* host = static_cast<DialogHost*>(data);
    switch (event->keyval) {
    case GDK_KEY_Escape: {
        Control* cancel = host->FindControl(IDCANCEL);
        host->SendCommand(IDCANCEL, cancel ? cancel->hwnd : nullptr);
        return TRUE;
    }
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: {
        // A focused push button takes Enter itself; elsewhere Enter is the default button.
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(host->toplevel_));
        if (focus && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus)) {
            return FALSE;
        }
        Control* def = host->FindControl(host->defaultId_);
        host->SendCommand(host->defaultId_, def ? def->hwnd : nullptr);
        return TRUE;
    }
    case GDK_KEY_F1:
        host->SendCommand(static_cast<int>(ID_HELP), nullptr);
        return TRUE;
    default:
        return FALSE;
    }
}

gboolean DialogHost::OnState(GtkWidget*, GdkEventWindowState* event, gpointer data)
{
    auto* host = static_cast<DialogHost*>(data);
    if (event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) {
        Win32SetHostedIconic(host->window_, (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0);
    }
    return FALSE;
}

gboolean DialogHost::OnDraw(GtkWidget*, cairo_t* cr, gpointer data)
{
    auto* host = static_cast<DialogHost*>(data);
    cairo_t* previous = host->paint_;
    host->paint_ = cr;
    SendMessageA(host->window_, WM_PAINT, 0, 0);
    host->paint_ = previous;
    return FALSE;
}

HMENU DialogHost::GetSystemMenu(bool revert)
{
    if (!menu_) {
        return nullptr;
    }
    if (revert) {
        menu_->Revert();
        return nullptr;
    }
    return menu_->Handle();
}

void DialogHost::SetIcon(WPARAM which, HICON icon)
{
    (which == ICON_BIG ? bigIcon_ : smallIcon_) = icon;
    GList* list = nullptr;
    for (HICON i : {bigIcon_, smallIcon_}) {
        if (GdkPixbuf* p = AfxIconPixbuf(i)) {
            list = g_list_append(list, p);
        }
    }
    gtk_window_set_icon_list(GTK_WINDOW(toplevel_), list);
    g_list_free(list);
    if (menuButton_) {
        GdkPixbuf* p = AfxIconPixbuf(smallIcon_ ? smallIcon_ : bigIcon_);
        if (p) {
            GdkPixbuf* scaled = gdk_pixbuf_scale_simple(p, 16, 16, GDK_INTERP_BILINEAR);
            gtk_button_set_image(GTK_BUTTON(menuButton_), gtk_image_new_from_pixbuf(scaled));
            g_object_unref(scaled);
        }
    }
}

LRESULT DialogHost::DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessageA(window_, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(window_, SW_MINIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(window_, SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_CLOSE: {
        // Closing a dialog is its cancel command.
        Control* cancel = FindControl(IDCANCEL);
        SendCommand(IDCANCEL, cancel ? cancel->hwnd : nullptr);
        return 0;
    }
    case WM_SETICON: {
        HICON previous = wParam == ICON_BIG ? bigIcon_ : smallIcon_;
        SetIcon(wParam, reinterpret_cast<HICON>(lParam));
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_ICONERASEBKGND: {
        auto* cr = reinterpret_cast<cairo_t*>(wParam);
        if (!cr) {
            return 0;
        }
        GtkAllocation a;
        gtk_widget_get_allocation(fixed_, &a);
        gtk_render_background(gtk_widget_get_style_context(toplevel_), cr, 0, 0, a.width, a.height);
        return 1;
    }
    default:
        return 0;
    }
}

int DialogHost::RunModal()
{
    ShowWindow(window_, SW_SHOW);
    guint poll = g_timeout_add(
        50,
        [](gpointer) -> gboolean {
            Win32PollRemoteRequests();
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    guint hook = g_idle_add(
        [](gpointer data) -> gboolean {
            static_cast<DialogHost*>(data)->dialog_.OnModalLoopStarted();
            return G_SOURCE_REMOVE;
        },
        this);
    if (!ended_) {
        loop_ = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(loop_);
        g_main_loop_unref(loop_);
        loop_ = nullptr;
    }
    g_source_remove(poll);
    if (GSource* s = g_main_context_find_source_by_id(nullptr, hook)) {
        g_source_destroy(s);
    }
    ShowWindow(window_, SW_HIDE);
    return result_;
}

void DialogHost::End(int result)
{
    result_ = result;
    ended_ = true;
    if (loop_) {
        g_main_loop_quit(loop_);
    }
}
