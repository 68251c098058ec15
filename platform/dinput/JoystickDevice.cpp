#include "platform/dinput/JoystickDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "platform/win32/Win32Window.h"

namespace {

// Mapped controllers: the DirectInput axis slots in order X, Y, Z, Rx, Ry, Rz.
constexpr SDL_GameControllerAxis kControllerAxes[6] = {
    SDL_CONTROLLER_AXIS_LEFTX,       SDL_CONTROLLER_AXIS_LEFTY,  SDL_CONTROLLER_AXIS_TRIGGERLEFT,
    SDL_CONTROLLER_AXIS_RIGHTX,      SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
};
constexpr SDL_GameControllerButton kControllerButtons[] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDL_CONTROLLER_BUTTON_GUIDE,
};
// The state's axis fields in slot order, each with its offset in the data format, so that no axis
// is reached through another field's address.
struct AxisField {
    LONG DIJOYSTATE2::*field;
    DWORD offset;
    const char* name;
};
const AxisField kAxisFields[] = {
    {&DIJOYSTATE2::lX, offsetof(DIJOYSTATE2, lX), "X Axis"},
    {&DIJOYSTATE2::lY, offsetof(DIJOYSTATE2, lY), "Y Axis"},
    {&DIJOYSTATE2::lZ, offsetof(DIJOYSTATE2, lZ), "Z Axis"},
    {&DIJOYSTATE2::lRx, offsetof(DIJOYSTATE2, lRx), "X Rotation"},
    {&DIJOYSTATE2::lRy, offsetof(DIJOYSTATE2, lRy), "Y Rotation"},
    {&DIJOYSTATE2::lRz, offsetof(DIJOYSTATE2, lRz), "Z Rotation"},
};
constexpr int kControllerButtonCount = sizeof(kControllerButtons) / sizeof(kControllerButtons[0]);
constexpr DWORD kPovCentred = 0xFFFFFFFFu;

DWORD PovFromHat(Uint8 hat)
{
    switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return kPovCentred;
    }
}

}  // namespace

JoystickDevice::JoystickDevice(SDL_Joystick* joystick, SDL_GameController* controller)
    : joystick_(joystick), controller_(controller)
{
}

JoystickDevice::~JoystickDevice()
{
    if (controller_) {
        SDL_GameControllerClose(controller_);
    } else if (joystick_) {
        SDL_JoystickClose(joystick_);
    }
}

ULONG JoystickDevice::AddRef()
{
    return ++refs_;
}

ULONG JoystickDevice::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

int JoystickDevice::AxisCount() const
{
    return controller_ ? kAxes : std::min(kAxes, SDL_JoystickNumAxes(joystick_));
}

int JoystickDevice::ButtonCount() const
{
    return controller_ ? kControllerButtonCount : std::min(128, SDL_JoystickNumButtons(joystick_));
}

int JoystickDevice::HatCount() const
{
    return controller_ ? 1 : std::min(4, SDL_JoystickNumHats(joystick_));
}

Sint16 JoystickDevice::RawAxis(int axis) const
{
    return controller_ ? SDL_GameControllerGetAxis(controller_, kControllerAxes[axis])
                       : SDL_JoystickGetAxis(joystick_, axis);
}

bool JoystickDevice::RawButton(int button) const
{
    return controller_ ? SDL_GameControllerGetButton(controller_, kControllerButtons[button]) != 0
                       : SDL_JoystickGetButton(joystick_, button) != 0;
}

Uint8 JoystickDevice::RawHat(int hat) const
{
    if (!controller_) {
        return SDL_JoystickGetHat(joystick_, hat);
    }
    Uint8 v = SDL_HAT_CENTERED;
    if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_UP)) v |= SDL_HAT_UP;
    if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) v |= SDL_HAT_DOWN;
    if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) v |= SDL_HAT_LEFT;
    if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) v |= SDL_HAT_RIGHT;
    return v;
}

LONG JoystickDevice::Scale(int axis, Sint16 raw) const
{
    // SDL's -32768..32767 spread linearly over the axis range, rounded to nearest.
    const Range& r = ranges_[axis];
    double t = (static_cast<double>(raw) + 32768.0) / 65535.0;
    double v = r.min + t * (static_cast<double>(r.max) - r.min);
    return static_cast<LONG>(v < 0 ? v - 0.5 : v + 0.5);
}

HRESULT JoystickDevice::GetCapabilities(DIDEVCAPS* caps)
{
    if (!caps || caps->dwSize != sizeof(DIDEVCAPS)) {
        return DIERR_INVALIDPARAM;
    }
    std::memset(caps, 0, sizeof(DIDEVCAPS));
    caps->dwSize = sizeof(DIDEVCAPS);
    caps->dwFlags = SDL_JoystickGetAttached(joystick_) ? DIDC_ATTACHED : 0;
    caps->dwDevType = controller_ ? DI8DEVTYPE_GAMEPAD : DI8DEVTYPE_JOYSTICK;
    caps->dwAxes = static_cast<DWORD>(AxisCount());
    caps->dwButtons = static_cast<DWORD>(ButtonCount());
    caps->dwPOVs = static_cast<DWORD>(HatCount());
    return DI_OK;
}

HRESULT JoystickDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags)
{
    if (!callback) {
        return DIERR_INVALIDPARAM;
    }
    DWORD kind = flags & 0xFF;
    auto wants = [&](DWORD type) { return kind == DIDFT_ALL || (kind & type) != 0; };
    DIDEVICEOBJECTINSTANCEA o{};
    o.dwSize = sizeof(o);
    if (wants(DIDFT_AXIS)) {
        for (int i = 0; i < AxisCount(); ++i) {
            o.dwOfs = kAxisFields[i].offset;
            o.dwType = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(static_cast<DWORD>(i));
            std::snprintf(o.tszName, sizeof(o.tszName), "%s", kAxisFields[i].name);
            if (callback(&o, context) == DIENUM_STOP) {
                return DI_OK;
            }
        }
    }
    if (wants(DIDFT_BUTTON)) {
        for (int i = 0; i < ButtonCount(); ++i) {
            o.dwOfs = static_cast<DWORD>(offsetof(DIJOYSTATE2, rgbButtons) + i);
            o.dwType = DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(static_cast<DWORD>(i));
            std::snprintf(o.tszName, sizeof(o.tszName), "Button %d", i);
            if (callback(&o, context) == DIENUM_STOP) {
                return DI_OK;
            }
        }
    }
    if (wants(DIDFT_POV)) {
        for (int i = 0; i < HatCount(); ++i) {
            o.dwOfs = static_cast<DWORD>(offsetof(DIJOYSTATE2, rgdwPOV) + i * sizeof(DWORD));
            o.dwType = DIDFT_POV | DIDFT_MAKEINSTANCE(static_cast<DWORD>(i));
            std::snprintf(o.tszName, sizeof(o.tszName), "Hat Switch %d", i);
            if (callback(&o, context) == DIENUM_STOP) {
                return DI_OK;
            }
        }
    }
    return DI_OK;
}

HRESULT JoystickDevice::SetProperty(REFGUID property, const DIPROPHEADER* h)
{
    if (!h || h->dwHeaderSize != sizeof(DIPROPHEADER)) {
        return DIERR_INVALIDPARAM;
    }
    if (property == DIPROP_AXISMODE) {
        if (h->dwSize != sizeof(DIPROPDWORD) || h->dwHow != DIPH_DEVICE || h->dwObj != 0) {
            return DIERR_INVALIDPARAM;
        }
        DWORD mode = reinterpret_cast<const DIPROPDWORD*>(h)->dwData;
        if (mode != DIPROPAXISMODE_ABS && mode != DIPROPAXISMODE_REL) {
            return DIERR_INVALIDPARAM;
        }
        if (acquired_) {
            return DIERR_ACQUIRED;
        }
        relative_ = mode == DIPROPAXISMODE_REL;
        return DI_OK;
    }
    if (property == DIPROP_RANGE) {
        if (h->dwSize != sizeof(DIPROPRANGE)) {
            return DIERR_INVALIDPARAM;
        }
        const auto* r = reinterpret_cast<const DIPROPRANGE*>(h);
        if (r->lMin >= r->lMax) {
            return DIERR_INVALIDPARAM;
        }
        int first = 0;
        int last = AxisCount() - 1;
        if (h->dwHow == DIPH_BYID) {
            if ((h->dwObj & DIDFT_AXIS) == 0) {
                return DIERR_OBJECTNOTFOUND;
            }
            first = last = static_cast<int>(DIDFT_GETINSTANCE(h->dwObj));
        } else if (h->dwHow == DIPH_BYOFFSET) {
            auto* end = std::end(kAxisFields);
            auto* found = std::find_if(std::begin(kAxisFields), end, [&](const AxisField& a) { return a.offset == h->dwObj; });
            if (found == end) {
                return DIERR_OBJECTNOTFOUND;
            }
            first = last = static_cast<int>(found - std::begin(kAxisFields));
        } else if (h->dwHow != DIPH_DEVICE || h->dwObj != 0) {
            return DIERR_INVALIDPARAM;
        }
        if (first < 0 || last >= AxisCount()) {
            return DIERR_OBJECTNOTFOUND;
        }
        for (int i = first; i <= last; ++i) {
            ranges_[i] = {r->lMin, r->lMax};
        }
        return DI_OK;
    }
    return DIERR_UNSUPPORTED;
}

HRESULT JoystickDevice::SetDataFormat(const DIDATAFORMAT* format)
{
    if (acquired_) {
        return DIERR_ACQUIRED;
    }
    if (format != &c_dfDIJoystick2) {
        return DIERR_INVALIDPARAM;
    }
    formatSet_ = true;
    return DI_OK;
}

HRESULT JoystickDevice::SetCooperativeLevel(HWND window, DWORD flags)
{
    bool oneSharing = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    bool oneFocus = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    if (!oneSharing || !oneFocus || ((flags & DISCL_FOREGROUND) && (!window || !IsWindow(window)))) {
        return DIERR_INVALIDPARAM;
    }
    if (acquired_) {
        return DIERR_ACQUIRED;
    }
    window_ = window;
    cooperation_ = flags;
    return DI_OK;
}

bool JoystickDevice::InForeground() const
{
    return !(cooperation_ & DISCL_FOREGROUND) || GetForegroundWindow() == window_;
}

HRESULT JoystickDevice::Acquire()
{
    if (!formatSet_) {
        return DIERR_INVALIDPARAM;
    }
    if (acquired_) {
        return DI_NOEFFECT;
    }
    if (!InForeground() || !SDL_JoystickGetAttached(joystick_)) {
        return DIERR_OTHERAPPHASPRIO;
    }
    acquired_ = true;
    Sample();
    return DI_OK;
}

HRESULT JoystickDevice::Unacquire()
{
    if (!acquired_) {
        return DI_NOEFFECT;
    }
    acquired_ = false;
    return DI_OK;
}

void JoystickDevice::Sample()
{
    DIJOYSTATE2 s{};
    // A mapped pad's d-pad pushes the x/y axes to their ends, as pads do in their digital mode,
    // so that it steers wherever the stick does.
    Uint8 dpad = controller_ ? RawHat(0) : SDL_HAT_CENTERED;
    for (int i = 0; i < AxisCount(); ++i) {
        Sint16 raw = RawAxis(i);
        if (i == 0 && (dpad & (SDL_HAT_LEFT | SDL_HAT_RIGHT))) {
            raw = (dpad & SDL_HAT_LEFT) ? -32768 : 32767;
        } else if (i == 1 && (dpad & (SDL_HAT_UP | SDL_HAT_DOWN))) {
            raw = (dpad & SDL_HAT_UP) ? -32768 : 32767;
        }
        LONG absolute = Scale(i, raw);
        s.*kAxisFields[i].field = relative_ ? absolute - lastAbsolute_[i] : absolute;
        lastAbsolute_[i] = absolute;
    }
    for (int i = 0; i < ButtonCount(); ++i) {
        s.rgbButtons[i] = RawButton(i) ? 0x80 : 0;
    }
    for (int i = 0; i < 4; ++i) {
        s.rgdwPOV[i] = i < HatCount() ? PovFromHat(RawHat(i)) : kPovCentred;
    }
    state_ = s;
}

HRESULT JoystickDevice::Poll()
{
    if (!acquired_) {
        return DIERR_NOTACQUIRED;
    }
    if (!InForeground() || !SDL_JoystickGetAttached(joystick_)) {
        // Losing the foreground or the device takes the acquisition away.
        acquired_ = false;
        return DIERR_INPUTLOST;
    }
    if (controller_) {
        SDL_GameControllerUpdate();
    } else {
        SDL_JoystickUpdate();
    }
    Sample();
    return DI_OK;
}

HRESULT JoystickDevice::GetDeviceState(DWORD size, LPVOID data)
{
    if (!data || size != sizeof(DIJOYSTATE2)) {
        return DIERR_INVALIDPARAM;
    }
    if (!acquired_) {
        return DIERR_NOTACQUIRED;
    }
    std::memcpy(data, &state_, sizeof(DIJOYSTATE2));
    return DI_OK;
}
