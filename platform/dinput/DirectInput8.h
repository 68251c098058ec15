#pragma once
// The input object: enumerates SDL's joysticks as game controllers and opens them as devices.
#include <atomic>

#include "platform/dinput/DInput.h"

class DirectInput8 : public IDirectInput8A {
public:
    DirectInput8() = default;
    virtual ~DirectInput8() = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateDevice(REFGUID instance, IDirectInputDevice8A** device, IUnknown* outer) override;
    HRESULT EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, LPVOID context, DWORD flags) override;

private:
    std::atomic<ULONG> refs_{1};
};
