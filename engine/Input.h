#pragma once
#include "engine/JoystickCode.h"
#include "engine/KeyState.h"
#include "platform/dinput/DInput.h"

// The ten game keys, read once per call from the keyboard and, on top of it, the first game
// controller found at start-up. The keys' states live in the callers; the controller's own eight
// states live here and advance on every read, whoever makes it.
class Input {
public:
    Input() = default;
    virtual ~Input() = default;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // Sets up DirectInput and the controller; true also when no controller exists.
    bool Init();
    // Advances the ten states in place; S toggles the pause (see the source).
    static void ReadKeys(KeyState* left, KeyState* right, KeyState* up, KeyState* down, KeyState* z, KeyState* x,
                         KeyState* c, KeyState* v, KeyState* r, KeyState* s);
    static void ReadKeyboardKey(int virtualKey, KeyState* state);
    void PollJoystickKey(JoystickCode code, KeyState* state);
    static void UpdateKeyState(KeyState* state, bool released);
    bool Release();
    // While the game is paused: reads S alone; true (and the pause ended) on a fresh press.
    static bool ReadResumeKey();
};

BOOL EnumJoystickCallback(const DIDEVICEINSTANCEA* instance, LPVOID context);
BOOL EnumAxesCallback(const DIDEVICEOBJECTINSTANCEA* object, LPVOID context);

extern Input* g_input;
extern IDirectInput8A* g_directInput;
extern IDirectInputDevice8A* g_joystick;
// Left, right, up, down, buttons 0 to 3.
extern KeyState g_joystickKeyStates[8];
// S as read while the game is paused.
extern KeyState g_pauseKeyState;
