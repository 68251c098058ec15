#include "platform/mfc/MfcTestHooks.h"

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

namespace mfc {

void RunModalHook(CDialog& dialog)
{
    MfcModalHook hook = Hook();  // a copy: the hook may replace itself
    if (hook) {
        hook(dialog);
    }
}

}  // namespace mfc
