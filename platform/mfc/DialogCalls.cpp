// The Windows user calls of dialog programs, over the dialogs' GTK windows.
#include "platform/mfc/AfxIcon.h"
#include "platform/mfc/DialogHost.h"
#include "platform/mfc/MfcWin32.h"
#include "platform/mfc/SystemMenu.h"

void InitCommonControls()
{
    DialogHost::EnsureToolkit();
}

HWND GetDlgItem(HWND dialog, int id)
{
    DialogHost* host = DialogHost::FromWindow(dialog);
    return host ? host->ControlWindow(id) : nullptr;
}

HMENU GetSystemMenu(HWND window, BOOL revert)
{
    DialogHost* host = DialogHost::FromWindow(window);
    return host ? host->GetSystemMenu(revert != FALSE) : nullptr;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text)
{
    SystemMenu* systemMenu = SystemMenu::FromHandle(menu);
    return systemMenu ? systemMenu->Append(flags, id, text) : FALSE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    GdkPixbuf* pixbuf = AfxIconPixbuf(icon);
    auto* cr = static_cast<cairo_t*>(dc);
    if (!cr || !pixbuf) {
        return FALSE;
    }
    cairo_save(cr);
    gdk_cairo_set_source_pixbuf(cr, pixbuf, x, y);
    cairo_paint(cr);
    cairo_restore(cr);
    return TRUE;
}
