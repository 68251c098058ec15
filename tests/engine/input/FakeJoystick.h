#pragma once
#include "platform/dinput/DInput.h"

// A controller whose state the test sets; it can also be made to fail its poll or its read.
class FakeJoystick : public IDirectInputDevice8A {
public:
    DIJOYSTATE2 state{};
    bool pollFails = false;
    bool readFails = false;
    int acquires = 0;
    int polls = 0;

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT GetCapabilities(DIDEVCAPS*) override { return DI_OK; }
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return DI_OK; }
    HRESULT SetProperty(REFGUID, const DIPROPHEADER*) override { return DI_OK; }
    HRESULT Acquire() override
    {
        ++acquires;
        return DI_OK;
    }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT GetDeviceState(DWORD, LPVOID data) override
    {
        if (readFails) {
            return DIERR_INPUTLOST;
        }
        *static_cast<DIJOYSTATE2*>(data) = state;
        return DI_OK;
    }
    HRESULT SetDataFormat(const DIDATAFORMAT*) override { return DI_OK; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DI_OK; }
    HRESULT Poll() override
    {
        ++polls;
        return pollFails ? DIERR_NOTACQUIRED : DI_OK;
    }
};
