#pragma once
// The GTK window of a running dialog: builds the window and its controls from the template, gives
// each an HWND of the window layer, turns GTK's signals into the dialog's messages and runs the
// modal loop.
#include <memory>
#include <string>
#include <vector>

#include "platform/mfc/DialogFont.h"
#include "platform/mfc/DialogHostClient.h"
#include "platform/mfc/DialogTemplate.h"
#include "platform/mfc/SystemMenu.h"

// After the window layer's headers: GTK's TRUE and FALSE are macros.
#include <gtk/gtk.h>

class DialogHost {
public:
    DialogHost(DialogHostClient& dialog, const DialogTemplate& dialogTemplate, GtkWindow* owner);
    ~DialogHost();
    DialogHost(const DialogHost&) = delete;
    DialogHost& operator=(const DialogHost&) = delete;

    // Starts GTK once; false when no display can be opened.
    static bool EnsureToolkit();
    // The host of a dialog window, or null.
    static DialogHost* FromWindow(HWND window);
    // The GTK widget behind a dialog or control window, or null.
    static GtkWidget* WidgetOf(HWND window);

    HWND Window() const { return window_; }
    GtkWindow* Toplevel() const { return GTK_WINDOW(toplevel_); }
    // The window of the control with this id, or null.
    HWND ControlWindow(int id);
    // The windows of all controls, in the template's order.
    std::vector<HWND> ControlWindows() const;
    // The system menu's handle; revert restores its own items and returns null.
    HMENU GetSystemMenu(bool revert);
    // The drawing context while the dialog paints, else null.
    cairo_t* PaintContext() const { return paint_; }
    LRESULT DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FocusFirstTabStop();

    // Shows the dialog and runs its loop until End; returns the result End was given.
    int RunModal();
    void End(int result);

private:
    struct Control;

    void BuildControls(const DialogTemplate& dialogTemplate);
    void PlaceControls(const DialogTemplate& dialogTemplate);
    void SendCommand(int id, HWND control);
    Control* FindControl(int id);
    void SetIcon(WPARAM which, HICON icon);

    static LRESULT ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnClicked(GtkButton* button, gpointer control);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer host);
    static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer host);
    static gboolean OnState(GtkWidget*, GdkEventWindowState* event, gpointer host);
    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer host);

    DialogHostClient& dialog_;
    DialogFont font_;
    GtkWidget* toplevel_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    GtkWidget* menuButton_ = nullptr;
    std::unique_ptr<SystemMenu> menu_;
    HWND window_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    int defaultId_ = IDOK;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    cairo_t* paint_ = nullptr;
    GMainLoop* loop_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
    int suppressClicks_ = 0;  // BM_SETCHECK changes a state without a click
};
