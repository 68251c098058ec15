#pragma once
// A dialog's system menu: the GTK menu behind the header bar's menu button. Its handle is the
// HMENU the program appends to; each item sends its command to the window as WM_SYSCOMMAND.
#include "platform/mfc/MfcWin32.h"

// After the window layer's headers: GTK's TRUE and FALSE are macros.
#include <gtk/gtk.h>

class SystemMenu {
public:
    // The menu with the system's own item (close) for the window.
    explicit SystemMenu(HWND owner);
    ~SystemMenu();
    SystemMenu(const SystemMenu&) = delete;
    SystemMenu& operator=(const SystemMenu&) = delete;

    // The live menu behind a handle, or null.
    static SystemMenu* FromHandle(HMENU menu);
    HMENU Handle() { return reinterpret_cast<HMENU>(this); }
    GtkWidget* Widget() const { return menu_; }

    BOOL Append(UINT flags, UINT_PTR id, LPCSTR text);
    // Back to the system's own items.
    void Revert();

private:
    static void OnItem(GtkMenuItem* item, gpointer menu);

    HWND owner_;
    GtkWidget* menu_;
};
