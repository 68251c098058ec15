#include <gtest/gtest.h>

#include <SDL.h>

#include <deque>
#include <functional>
#include <utility>

#include "engine/Application.h"
#include "engine/Input.h"
#include "game/scenes/SceneManager.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/engine/input/FakeJoystick.h"
#include "tests/support/TestWindow.h"

namespace {

// Delivers every queued message, as the main loop does before a frame.
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Key(int vk, bool down)
{
    Win32InjectKey(TestWindow(), vk, down);
    Pump();
}

struct Keys {
    KeyState left = KeyState::Up, right = KeyState::Up, up = KeyState::Up, down = KeyState::Up;
    KeyState z = KeyState::Up, x = KeyState::Up, c = KeyState::Up, v = KeyState::Up;
    KeyState r = KeyState::Up, s = KeyState::Up;
    void Read() { Input::ReadKeys(&left, &right, &up, &down, &z, &x, &c, &v, &r, &s); }
};

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(TestWindow(), nullptr);
        SetForegroundWindow(TestWindow());
        Pump();
        for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, int('Z'), int('X'), int('C'), int('V'), int('R'), int('S')}) {
            if (GetKeyState(vk) & 0x80) {
                Key(vk, false);
            }
        }
        g_mainWindow = TestWindow();
        g_instance = GetModuleHandleA(nullptr);
        g_sceneManager = new SceneManager;
        g_input = new Input;
        for (KeyState& k : g_joystickKeyStates) {
            k = KeyState::Up;
        }
    }
    void TearDown() override
    {
        g_input->Release();
        g_joystick = nullptr;
        delete g_input;
        g_input = nullptr;
        delete g_sceneManager;
        g_sceneManager = nullptr;
        SetClock(nullptr);
    }
    FakeJoystick pad;
};

TEST(KeyTransitionTest, EachPreviousStateAndSample)
{
    struct Case {
        KeyState before;
        bool released;
        KeyState after;
    };
    const Case cases[] = {
        {KeyState::Up, false, KeyState::Pressed},      {KeyState::Up, true, KeyState::Up},
        {KeyState::Pressed, false, KeyState::Held},    {KeyState::Pressed, true, KeyState::Released},
        {KeyState::Released, false, KeyState::Held},   {KeyState::Released, true, KeyState::Up},
        {KeyState::Held, false, KeyState::Held},       {KeyState::Held, true, KeyState::Released},
    };
    for (const Case& c : cases) {
        KeyState k = c.before;
        Input::UpdateKeyState(&k, c.released);
        EXPECT_EQ(k, c.after) << "from " << static_cast<int>(c.before) << (c.released ? " up" : " down");
    }
}

TEST_F(InputTest, KeyboardKeyGoesPressedHeldReleasedUp)
{
    Keys k;
    Key('Z', true);
    k.Read();
    EXPECT_EQ(k.z, KeyState::Pressed);
    k.Read();
    EXPECT_EQ(k.z, KeyState::Held);
    Key('Z', false);
    k.Read();
    EXPECT_EQ(k.z, KeyState::Released);
    k.Read();
    EXPECT_EQ(k.z, KeyState::Up);
    // Let go and pressed again before the next read: held, not a fresh press.
    Key('X', true);
    k.Read();
    Key('X', false);
    k.Read();
    EXPECT_EQ(k.x, KeyState::Released);
    Key('X', true);
    k.Read();
    EXPECT_EQ(k.x, KeyState::Held);
    EXPECT_EQ(k.left, KeyState::Up);
}

TEST_F(InputTest, EachGameKeyReadsItsOwnVirtualKey)
{
    const std::pair<int, KeyState Keys::*> table[] = {
        {VK_LEFT, &Keys::left}, {VK_RIGHT, &Keys::right}, {VK_UP, &Keys::up}, {VK_DOWN, &Keys::down},
        {'Z', &Keys::z},        {'X', &Keys::x},          {'C', &Keys::c},    {'V', &Keys::v},
        {'R', &Keys::r},
    };
    for (const auto& [vk, field] : table) {
        Keys k;
        Key(vk, true);
        k.Read();
        EXPECT_EQ(k.*field, KeyState::Pressed) << vk;
        int pressed = 0;
        for (KeyState Keys::*f : {&Keys::left, &Keys::right, &Keys::up, &Keys::down, &Keys::z, &Keys::x, &Keys::c,
                                  &Keys::v, &Keys::r, &Keys::s}) {
            pressed += k.*f != KeyState::Up;
        }
        EXPECT_EQ(pressed, 1) << vk;
        Key(vk, false);
    }
}

TEST_F(InputTest, ControllerDeadZoneAndButtons)
{
    g_joystick = &pad;
    struct Case {
        LONG x, y;
        BYTE button;  // value of button 0's byte
        bool left, right, up, down, fire;
    };
    const Case cases[] = {
        {0, 0, 0, false, false, false, false, false},
        {-100, 100, 0, false, false, false, false, false},  // the dead zone's edges are centred
        {100, -100, 0, false, false, false, false, false},
        {-101, 0, 0, true, false, false, false, false},
        {101, 0, 0, false, true, false, false, false},
        {0, -101, 0, false, false, true, false, false},
        {0, 101, 0, false, false, false, true, false},
        {-1000, 1000, 0x80, true, false, false, true, true},
        {0, 0, 0x01, false, false, false, false, true},  // any non-zero byte is down
    };
    for (const Case& c : cases) {
        for (KeyState& k : g_joystickKeyStates) {
            k = KeyState::Up;
        }
        pad.state = {};
        pad.state.lX = c.x;
        pad.state.lY = c.y;
        pad.state.rgbButtons[0] = c.button;
        Keys k;
        k.Read();
        EXPECT_EQ(k.left == KeyState::Pressed, c.left) << c.x << "," << c.y;
        EXPECT_EQ(k.right == KeyState::Pressed, c.right) << c.x << "," << c.y;
        EXPECT_EQ(k.up == KeyState::Pressed, c.up) << c.x << "," << c.y;
        EXPECT_EQ(k.down == KeyState::Pressed, c.down) << c.x << "," << c.y;
        EXPECT_EQ(k.z == KeyState::Pressed, c.fire) << int(c.button);
    }
}

TEST_F(InputTest, ControllerOverridesKeyboardOnlyWhereItReportsSomething)
{
    g_joystick = &pad;
    Keys k;
    // Stick pushed left, keyboard left up: the controller's state wins.
    pad.state.lX = -1000;
    k.Read();
    EXPECT_EQ(k.left, KeyState::Pressed);
    k.Read();
    EXPECT_EQ(k.left, KeyState::Held);
    // Stick centred and settled to Up: the keyboard arrow decides.
    pad.state.lX = 0;
    Key(VK_LEFT, true);
    k.Read();  // controller Released overrides the keyboard
    EXPECT_EQ(k.left, KeyState::Released);
    k.Read();  // controller Up: keyboard state (advanced from Released, key down) shows
    EXPECT_EQ(k.left, KeyState::Held);
    Key(VK_LEFT, false);

    // Buttons 0 to 3 stand for Z, X, C, V; R and S come from the keyboard only.
    Keys b;
    pad.state = {};
    for (int i = 0; i < 4; ++i) {
        pad.state.rgbButtons[i] = 0x80;
    }
    for (int i = 4; i < 128; ++i) {
        pad.state.rgbButtons[i] = 0x80;
    }
    b.Read();
    EXPECT_EQ(b.z, KeyState::Pressed);
    EXPECT_EQ(b.x, KeyState::Pressed);
    EXPECT_EQ(b.c, KeyState::Pressed);
    EXPECT_EQ(b.v, KeyState::Pressed);
    EXPECT_EQ(b.r, KeyState::Up);
    EXPECT_EQ(b.s, KeyState::Up);
}

TEST_F(InputTest, FailedPollReacquiresAndFailedReadKeepsTheState)
{
    g_joystick = &pad;
    pad.state.rgbButtons[0] = 0x80;
    Keys k;
    k.Read();
    ASSERT_EQ(g_joystickKeyStates[4], KeyState::Pressed);

    pad.pollFails = true;
    int before = pad.acquires;
    k.Read();
    EXPECT_EQ(g_joystickKeyStates[4], KeyState::Pressed);
    EXPECT_EQ(pad.acquires - before, 8);  // every key's poll tries to regain the device

    pad.pollFails = false;
    pad.readFails = true;
    pad.state.rgbButtons[0] = 0;
    k.Read();
    EXPECT_EQ(g_joystickKeyStates[4], KeyState::Pressed);
}

// The pause stands the reads still; S read on its own between frames ends it.
TEST_F(InputTest, SPausesTheReadsUntilSIsPressedAgain)
{
    Keys k;
    Key('S', true);
    k.Read();
    ASSERT_EQ(k.s, KeyState::Pressed);
    k.left = KeyState::Held;
    k.Read();  // the pause begins: nothing is read
    EXPECT_TRUE(g_sceneManager->IsPaused());
    EXPECT_EQ(k.s, KeyState::Held) << "the pausing press is used up";
    EXPECT_EQ(k.left, KeyState::Held);

    // While paused a read changes nothing, and S still down from the pausing press does not resume.
    Key(VK_DOWN, true);
    k.Read();
    EXPECT_EQ(k.down, KeyState::Up);
    EXPECT_FALSE(Input::ReadResumeKey());
    Key('S', false);
    EXPECT_FALSE(Input::ReadResumeKey());  // released
    EXPECT_FALSE(Input::ReadResumeKey());  // up
    EXPECT_TRUE(g_sceneManager->IsPaused());
    Key('S', true);
    EXPECT_TRUE(Input::ReadResumeKey());
    EXPECT_FALSE(g_sceneManager->IsPaused());

    // The keys are read again from where they stood; the resuming press does not pause again.
    k.Read();
    EXPECT_FALSE(g_sceneManager->IsPaused());
    EXPECT_EQ(k.s, KeyState::Held);
    EXPECT_EQ(k.down, KeyState::Pressed);
    EXPECT_EQ(k.left, KeyState::Released);
    k.Read();
    EXPECT_FALSE(g_sceneManager->IsPaused());
    Key('S', false);
    Key(VK_DOWN, false);
}

// The real path: a controller SDL knows, found by Init and read through DirectInput.
TEST_F(InputTest, VirtualControllerMovesAndFiresThroughInit)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* handle = SDL_JoystickOpen(index);
    ASSERT_NE(handle, nullptr);

    ASSERT_TRUE(g_input->Init());
    ASSERT_NE(g_joystick, nullptr);

    SDL_JoystickSetVirtualAxis(handle, 0, 32767);   // right
    SDL_JoystickSetVirtualAxis(handle, 1, -32768);  // up
    SDL_JoystickSetVirtualButton(handle, 0, 1);     // fire
    Keys k;
    k.Read();
    EXPECT_EQ(k.right, KeyState::Pressed);
    EXPECT_EQ(k.up, KeyState::Pressed);
    EXPECT_EQ(k.z, KeyState::Pressed);
    EXPECT_EQ(k.left, KeyState::Up);

    // A nudge inside the dead zone reads as centred.
    SDL_JoystickSetVirtualAxis(handle, 0, 3000);
    SDL_JoystickSetVirtualAxis(handle, 1, 0);
    SDL_JoystickSetVirtualButton(handle, 0, 0);
    k.Read();
    EXPECT_EQ(k.right, KeyState::Released);
    EXPECT_EQ(k.up, KeyState::Released);
    EXPECT_EQ(k.z, KeyState::Released);

    g_input->Release();
    SDL_JoystickClose(handle);
    SDL_JoystickDetachVirtual(index);
}

// A pad SDL has a mapping for: face buttons by position, and the d-pad steers like the stick.
TEST_F(InputTest, MappedPadDpadSteersAndFaceButtonsFire)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    SDL_Joystick* handle = SDL_JoystickOpen(index);
    ASSERT_TRUE(g_input->Init());

    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_Y, 1);
    Keys k;
    k.Read();
    EXPECT_EQ(k.left, KeyState::Pressed);
    EXPECT_EQ(k.down, KeyState::Pressed);
    EXPECT_EQ(k.right, KeyState::Up);
    EXPECT_EQ(k.v, KeyState::Pressed);  // north face button is button 3
    EXPECT_EQ(k.z, KeyState::Up);

    g_input->Release();
    SDL_JoystickClose(handle);
    SDL_JoystickDetachVirtual(index);
}

}  // namespace
