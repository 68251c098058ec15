#pragma once
// One game controller. With SDL's game-controller mapping the left stick is x/y, the face
// buttons (south, east, west, north) are buttons 0 to 3 and the d-pad is hat 0 and also drives
// x/y; an unmapped joystick reports its own axes, buttons and hats in order.
#include <SDL.h>

#include <atomic>

#include "platform/dinput/DInput.h"

class JoystickDevice : public IDirectInputDevice8A {
public:
    // Takes ownership of the opened SDL objects (controller may be null).
    JoystickDevice(SDL_Joystick* joystick, SDL_GameController* controller);
    virtual ~JoystickDevice();

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetCapabilities(DIDEVCAPS* caps) override;
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags) override;
    HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(DWORD size, LPVOID data) override;
    HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT Poll() override;

private:
    static constexpr int kAxes = 6;
    struct Range {
        LONG min = 0;
        LONG max = 65535;
    };

    int AxisCount() const;
    int ButtonCount() const;
    int HatCount() const;
    Sint16 RawAxis(int axis) const;
    bool RawButton(int button) const;
    Uint8 RawHat(int hat) const;
    LONG Scale(int axis, Sint16 raw) const;
    bool InForeground() const;
    void Sample();

    std::atomic<ULONG> refs_{1};
    SDL_Joystick* joystick_;
    SDL_GameController* controller_;
    Range ranges_[kAxes];
    bool relative_ = false;
    bool formatSet_ = false;
    HWND window_ = nullptr;
    DWORD cooperation_ = 0;
    bool acquired_ = false;
    DIJOYSTATE2 state_{};
    LONG lastAbsolute_[kAxes]{};
};
