#pragma once
// Game controllers, over SDL's joystick and game-controller support.
#include "platform/win32/Win32Com.h"
#include "platform/win32/Win32Types.h"

constexpr DWORD DIRECTINPUT_VERSION = 0x0800;

constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DI_NOEFFECT = S_FALSE;
constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_UNSUPPORTED = E_NOTIMPL;

constexpr DWORD DI8DEVCLASS_ALL = 0;
constexpr DWORD DI8DEVCLASS_GAMECTRL = 4;
constexpr DWORD DI8DEVTYPE_JOYSTICK = 0x14;
constexpr DWORD DI8DEVTYPE_GAMEPAD = 0x15;
constexpr DWORD DIEDFL_ALLDEVICES = 0x00000000;
constexpr DWORD DIEDFL_ATTACHEDONLY = 0x00000001;

constexpr BOOL DIENUM_STOP = 0;
constexpr BOOL DIENUM_CONTINUE = 1;

constexpr DWORD DISCL_EXCLUSIVE = 0x00000001;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x00000002;
constexpr DWORD DISCL_FOREGROUND = 0x00000004;
constexpr DWORD DISCL_BACKGROUND = 0x00000008;

// Object types: the low byte is the kind, bits 8..23 the instance number.
constexpr DWORD DIDFT_ALL = 0x00000000;
constexpr DWORD DIDFT_RELAXIS = 0x00000001;
constexpr DWORD DIDFT_ABSAXIS = 0x00000002;
constexpr DWORD DIDFT_AXIS = 0x00000003;
constexpr DWORD DIDFT_PSHBUTTON = 0x00000004;
constexpr DWORD DIDFT_BUTTON = 0x0000000C;
constexpr DWORD DIDFT_POV = 0x00000010;
constexpr DWORD DIDFT_MAKEINSTANCE(DWORD n) { return n << 8; }
constexpr DWORD DIDFT_GETINSTANCE(DWORD t) { return (t >> 8) & 0xFFFF; }

constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;
constexpr DWORD DIPH_BYID = 2;
constexpr DWORD DIPROPAXISMODE_ABS = 0;
constexpr DWORD DIPROPAXISMODE_REL = 1;

struct DIDEVICEINSTANCEA {
    DWORD dwSize;
    GUID guidInstance;
    GUID guidProduct;
    DWORD dwDevType;
    CHAR tszInstanceName[MAX_PATH];
    CHAR tszProductName[MAX_PATH];
};

struct DIDEVICEOBJECTINSTANCEA {
    DWORD dwSize;
    GUID guidType;
    DWORD dwOfs;
    DWORD dwType;
    DWORD dwFlags;
    CHAR tszName[MAX_PATH];
};

struct DIDEVCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwDevType;
    DWORD dwAxes;
    DWORD dwButtons;
    DWORD dwPOVs;
    DWORD dwFFSamplePeriod;
    DWORD dwFFMinTimeResolution;
    DWORD dwFirmwareRevision;
    DWORD dwHardwareRevision;
    DWORD dwFFDriverVersion;
};
static_assert(sizeof(DIDEVCAPS) == 44);
constexpr DWORD DIDC_ATTACHED = 0x00000001;

struct DIPROPHEADER {
    DWORD dwSize;
    DWORD dwHeaderSize;
    DWORD dwObj;
    DWORD dwHow;
};
struct DIPROPDWORD {
    DIPROPHEADER diph;
    DWORD dwData;
};
struct DIPROPRANGE {
    DIPROPHEADER diph;
    LONG lMin;
    LONG lMax;
};
static_assert(sizeof(DIPROPHEADER) == 16 && sizeof(DIPROPDWORD) == 20 && sizeof(DIPROPRANGE) == 24);

// The extended joystick state: six axes, two sliders, four hats, 128 buttons, then velocity,
// acceleration and force blocks (zero here).
struct DIJOYSTATE2 {
    LONG lX, lY, lZ, lRx, lRy, lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[128];
    LONG lVX, lVY, lVZ, lVRx, lVRy, lVRz;
    LONG rglVSlider[2];
    LONG lAX, lAY, lAZ, lARx, lARy, lARz;
    LONG rglASlider[2];
    LONG lFX, lFY, lFZ, lFRx, lFRy, lFRz;
    LONG rglFSlider[2];
};
static_assert(sizeof(DIJOYSTATE2) == 272);

struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;
    DWORD dwNumObjs;
    const void* rgodf;
};
// The one data format the devices here deliver: DIJOYSTATE2.
extern const DIDATAFORMAT c_dfDIJoystick2;

extern const IID IID_IDirectInput8A;
extern const GUID DIPROP_RANGE;
extern const GUID DIPROP_AXISMODE;

using LPDIENUMDEVICESCALLBACKA = BOOL (*)(const DIDEVICEINSTANCEA* instance, LPVOID context);
using LPDIENUMDEVICEOBJECTSCALLBACKA = BOOL (*)(const DIDEVICEOBJECTINSTANCEA* object, LPVOID context);

struct IDirectInputDevice8A : IUnknown {
    virtual HRESULT GetCapabilities(DIDEVCAPS* caps) = 0;
    virtual HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags) = 0;
    virtual HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    virtual HRESULT GetDeviceState(DWORD size, LPVOID data) = 0;
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT Poll() = 0;

protected:
    ~IDirectInputDevice8A() = default;
};
using LPDIRECTINPUTDEVICE8A = IDirectInputDevice8A*;

struct IDirectInput8A : IUnknown {
    virtual HRESULT CreateDevice(REFGUID instance, IDirectInputDevice8A** device, IUnknown* outer) = 0;
    virtual HRESULT EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                                DWORD flags) = 0;

protected:
    ~IDirectInput8A() = default;
};
using LPDIRECTINPUT8A = IDirectInput8A*;

HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid, LPVOID* out, IUnknown* outer);
