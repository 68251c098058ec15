#include "platform/mfc/MfcTestHooks.h"

#include "platform/mfc/DialogHost.h"

namespace {

MfcModalHook& Hook()
{
    static MfcModalHook hook;
    return hook;
}

}  // namespace

void MfcSetModalHook(MfcModalHook hook)
{
    Hook() = std::move(hook);
}

GtkWidget* MfcWidgetOf(HWND window)
{
    return DialogHost::WidgetOf(window);
}

namespace mfc {

void RunModalHook(CDialog& dialog)
{
    MfcModalHook hook = Hook();  // a copy: the hook may replace itself
    if (hook) {
        hook(dialog);
    }
}

}  // namespace mfc
