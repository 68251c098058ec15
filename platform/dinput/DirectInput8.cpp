#include "platform/dinput/DirectInput8.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/dinput/JoystickDevice.h"

// Identifiers of this layer's own making; nothing outside the program sees them.
const IID IID_IDirectInput8A = {0x6d1c3a01, 0x5b2e, 0x4c11, {0x9a, 0x40, 0x1e, 0x77, 0x21, 0x0b, 0x3c, 0x01}};
const GUID DIPROP_RANGE = {0x6d1c3a02, 0x5b2e, 0x4c11, {0x9a, 0x40, 0x1e, 0x77, 0x21, 0x0b, 0x3c, 0x02}};
const GUID DIPROP_AXISMODE = {0x6d1c3a03, 0x5b2e, 0x4c11, {0x9a, 0x40, 0x1e, 0x77, 0x21, 0x0b, 0x3c, 0x03}};
const DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIDATAFORMAT), 0, DIDFT_ABSAXIS, sizeof(DIJOYSTATE2), 0, nullptr};

namespace {

constexpr DWORD kInstanceTag = 0x4a4c4453;  // the first word of every device instance identifier

// A device's instance identifier carries SDL's instance id, which stays the same while the
// device is plugged in even when device indices shift.
GUID InstanceGuid(SDL_JoystickID id)
{
    GUID g{};
    g.Data1 = kInstanceTag;
    std::memcpy(g.Data4, &id, sizeof(id));
    return g;
}

GUID ProductGuid(int index)
{
    SDL_JoystickGUID sdl = SDL_JoystickGetDeviceGUID(index);
    GUID g{};
    static_assert(sizeof(sdl.data) == sizeof(GUID));
    std::memcpy(&g, sdl.data, sizeof(GUID));
    return g;
}

bool EnsureJoysticks()
{
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_WasInit(SDL_INIT_GAMECONTROLLER) || SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

}  // namespace

HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out, IUnknown* outer)
{
    if (!out) {
        return DIERR_INVALIDPARAM;
    }
    *out = nullptr;
    if (!instance || outer) {
        return DIERR_INVALIDPARAM;
    }
    if (version != DIRECTINPUT_VERSION) {
        return DIERR_OLDDIRECTINPUTVERSION;
    }
    if (!(iid == IID_IDirectInput8A)) {
        return E_NOINTERFACE;
    }
    if (!EnsureJoysticks()) {
        return DIERR_NOTINITIALIZED;
    }
    *out = static_cast<IDirectInput8A*>(new DirectInput8);
    return DI_OK;
}

ULONG DirectInput8::AddRef()
{
    return ++refs_;
}

ULONG DirectInput8::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DirectInput8::EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, LPVOID context, DWORD)
{
    if (!callback) {
        return DIERR_INVALIDPARAM;
    }
    // Keyboards and mice are not devices of this layer; every class that includes game
    // controllers lists SDL's joysticks.
    if (deviceClass != DI8DEVCLASS_ALL && deviceClass != DI8DEVCLASS_GAMECTRL) {
        return DI_OK;
    }
    SDL_JoystickUpdate();
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        DIDEVICEINSTANCEA d{};
        d.dwSize = sizeof(d);
        d.guidInstance = InstanceGuid(SDL_JoystickGetDeviceInstanceID(i));
        d.guidProduct = ProductGuid(i);
        d.dwDevType = SDL_IsGameController(i) ? DI8DEVTYPE_GAMEPAD : DI8DEVTYPE_JOYSTICK;
        const char* name = SDL_IsGameController(i) ? SDL_GameControllerNameForIndex(i) : SDL_JoystickNameForIndex(i);
        std::snprintf(d.tszInstanceName, sizeof(d.tszInstanceName), "%s", name ? name : "Controller");
        std::snprintf(d.tszProductName, sizeof(d.tszProductName), "%s", name ? name : "Controller");
        if (callback(&d, context) == DIENUM_STOP) {
            break;
        }
    }
    return DI_OK;
}

HRESULT DirectInput8::CreateDevice(REFGUID instance, IDirectInputDevice8A** device, IUnknown* outer)
{
    if (!device) {
        return DIERR_INVALIDPARAM;
    }
    *device = nullptr;
    if (outer || instance.Data1 != kInstanceTag) {
        return outer ? DIERR_INVALIDPARAM : DIERR_DEVICENOTREG;
    }
    SDL_JoystickID id;
    std::memcpy(&id, instance.Data4, sizeof(id));
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != id) {
            continue;
        }
        SDL_GameController* controller = SDL_IsGameController(i) ? SDL_GameControllerOpen(i) : nullptr;
        SDL_Joystick* joystick = controller ? SDL_GameControllerGetJoystick(controller) : SDL_JoystickOpen(i);
        if (!joystick) {
            return DIERR_DEVICENOTREG;
        }
        *device = new JoystickDevice(joystick, controller);
        return DI_OK;
    }
    return DIERR_DEVICENOTREG;
}
