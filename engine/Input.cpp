#include "engine/Input.h"

#include "engine/Application.h"
#include "engine/SceneControl.h"

Input* g_input = nullptr;
IDirectInput8A* g_directInput = nullptr;
IDirectInputDevice8A* g_joystick = nullptr;
KeyState g_joystickKeyStates[8] = {};
KeyState g_pauseKeyState = KeyState::Up;

namespace {

constexpr LONG kDeadZone = 100;
constexpr int kVirtualKeyS = 'S';

}  // namespace

BOOL EnumJoystickCallback(const DIDEVICEINSTANCEA* instance, LPVOID)
{
    if (FAILED(g_directInput->CreateDevice(instance->guidInstance, &g_joystick, nullptr))) {
        return DIENUM_CONTINUE;
    }
    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    if (SUCCEEDED(g_joystick->GetCapabilities(&caps))) {
        return DIENUM_STOP;
    }
    g_joystick->Release();
    g_joystick = nullptr;
    return DIENUM_CONTINUE;
}

BOOL EnumAxesCallback(const DIDEVICEOBJECTINSTANCEA* object, LPVOID)
{
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = object->dwType;
    range.diph.dwHow = DIPH_BYID;
    range.lMin = -1000;
    range.lMax = 1000;
    return SUCCEEDED(g_joystick->SetProperty(DIPROP_RANGE, &range.diph)) ? DIENUM_CONTINUE : DIENUM_STOP;
}

bool Input::Init()
{
    if (FAILED(DirectInput8Create(g_instance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                  reinterpret_cast<LPVOID*>(&g_directInput), nullptr))) {
        g_directInput = nullptr;
        return false;
    }
    if (FAILED(g_directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, EnumJoystickCallback, nullptr, DIEDFL_ALLDEVICES)) ||
        !g_joystick) {
        return true;  // keyboard only
    }
    if (FAILED(g_joystick->SetDataFormat(&c_dfDIJoystick2))) {
        return false;
    }
    if (FAILED(g_joystick->SetCooperativeLevel(g_mainWindow, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
        return false;
    }
    if (FAILED(g_joystick->EnumObjects(EnumAxesCallback, nullptr, DIDFT_AXIS))) {
        return false;
    }
    DIPROPDWORD mode{};
    mode.diph.dwSize = sizeof(DIPROPDWORD);
    mode.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    mode.diph.dwObj = 0;
    mode.diph.dwHow = DIPH_DEVICE;
    mode.dwData = DIPROPAXISMODE_ABS;
    if (FAILED(g_joystick->SetProperty(DIPROP_AXISMODE, &mode.diph))) {
        return false;
    }
    g_joystick->Acquire();
    return true;
}

void Input::UpdateKeyState(KeyState* state, bool released)
{
    switch (*state) {
    case KeyState::Up:
        *state = released ? KeyState::Up : KeyState::Pressed;
        break;
    case KeyState::Pressed:
    case KeyState::Held:
        *state = released ? KeyState::Released : KeyState::Held;
        break;
    case KeyState::Released:
        // A key let go and pressed again between two reads is still held, not a fresh press.
        *state = released ? KeyState::Up : KeyState::Held;
        break;
    }
}

void Input::ReadKeyboardKey(int virtualKey, KeyState* state)
{
    bool down = (GetKeyState(virtualKey) & 0x80) != 0;
    UpdateKeyState(state, !down);
}

void Input::PollJoystickKey(JoystickCode code, KeyState* state)
{
    if (!g_joystick) {
        return;
    }
    if (FAILED(g_joystick->Poll())) {
        // Regains the device, e.g. after the window came back to the foreground.
        g_joystick->Acquire();
        return;
    }
    DIJOYSTATE2 js{};
    if (FAILED(g_joystick->GetDeviceState(sizeof(js), &js))) {
        return;  // no sample: the key keeps its state
    }
    bool down;
    switch (code) {
    case JoystickCode::Up:
        down = js.lY < -kDeadZone;
        break;
    case JoystickCode::Down:
        down = js.lY > kDeadZone;
        break;
    case JoystickCode::Left:
        down = js.lX < -kDeadZone;
        break;
    case JoystickCode::Right:
        down = js.lX > kDeadZone;
        break;
    default: {
        int button = static_cast<int>(code);
        if (button < 0 || button >= 128) {
            return;
        }
        down = js.rgbButtons[button] != 0;
        break;
    }
    }
    UpdateKeyState(state, !down);
}

// While paused, S read on its own between frames; a fresh press ends the pause.
bool Input::ReadResumeKey()
{
    ReadKeyboardKey(kVirtualKeyS, &g_pauseKeyState);
    if (g_pauseKeyState != KeyState::Pressed) {
        return false;
    }
    if (g_sceneControl) {
        g_sceneControl->SetPaused(false);
    }
    return true;
}

void Input::ReadKeys(KeyState* left, KeyState* right, KeyState* up, KeyState* down, KeyState* z, KeyState* x,
                     KeyState* c, KeyState* v, KeyState* r, KeyState* s)
{
    if (g_sceneControl) {
        // S pressed: the game stands still from the end of this frame until S is pressed again
        // (no frame runs meanwhile, see RunFrame). The press is used up here, so that the key
        // reads as held, not pressed, once the game goes on.
        if (*s == KeyState::Pressed && !g_sceneControl->IsPaused()) {
            g_sceneControl->SetPaused(true);
            *s = KeyState::Held;
            g_pauseKeyState = KeyState::Held;
        }
        if (g_sceneControl->IsPaused()) {
            return;  // every key stays as it was
        }
        if (g_sceneControl->IsInputFrozen()) {
            for (KeyState* k : {left, right, up, down, z, x, r, s}) {
                *k = KeyState::Up;
            }
        }
    }

    ReadKeyboardKey(VK_LEFT, left);
    ReadKeyboardKey(VK_RIGHT, right);
    ReadKeyboardKey(VK_UP, up);
    ReadKeyboardKey(VK_DOWN, down);
    ReadKeyboardKey('Z', z);
    ReadKeyboardKey('X', x);
    ReadKeyboardKey('C', c);
    ReadKeyboardKey('V', v);
    ReadKeyboardKey('R', r);
    ReadKeyboardKey(kVirtualKeyS, s);

    if (!g_input) {
        return;
    }
    static constexpr JoystickCode kCodes[8] = {JoystickCode::Left, JoystickCode::Right,   JoystickCode::Up,
                                               JoystickCode::Down, JoystickCode::Button0, JoystickCode::Button1,
                                               JoystickCode::Button2, JoystickCode::Button3};
    for (int i = 0; i < 8; ++i) {
        g_input->PollJoystickKey(kCodes[i], &g_joystickKeyStates[i]);
    }
    KeyState* targets[8] = {left, right, up, down, z, x, c, v};
    for (int i = 0; i < 8; ++i) {
        if (g_joystickKeyStates[i] != KeyState::Up) {
            *targets[i] = g_joystickKeyStates[i];
        }
    }
}

bool Input::Release()
{
    if (g_joystick) {
        g_joystick->Unacquire();
        g_joystick->Release();
        g_joystick = nullptr;
    }
    if (g_directInput) {
        g_directInput->Release();
        g_directInput = nullptr;
    }
    return true;
}
