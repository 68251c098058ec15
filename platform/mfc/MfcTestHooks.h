#pragma once
// Seams for tests of dialog programs: a function called once each modal dialog is up (it may
// click, read and end the dialog), and the GTK widgets behind windows.
#include <functional>

#include "platform/win32/Win32Types.h"

#include <gtk/gtk.h>

class CDialog;

using MfcModalHook = std::function<void(CDialog& dialog)>;
// Installs the hook (an empty function removes it).
void MfcSetModalHook(MfcModalHook hook);
// The GTK widget behind a dialog or one of its controls, or null.
GtkWidget* MfcWidgetOf(HWND window);

namespace mfc {
// Calls the installed hook, if any.
void RunModalHook(CDialog& dialog);
}  // namespace mfc
