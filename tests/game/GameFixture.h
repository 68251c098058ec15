#pragma once
// The game's objects started as the program starts them, on a recording device, in a copy of the
// program folder; frames are run one at a time with keys injected into the window, and message
// boxes are captured.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/KeyState.h"
#include "game/scenes/SceneState.h"
#include "platform/win32/Win32Clock.h"

// One sprite as the recording device received it.
struct DrawnSprite {
    int slot;  // -1 when its texture is in no slot
    int x, y, w, h;
    int srcX, srcY;
    unsigned colour;
};

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Removes a data file from the copy before the game starts.
    void RemoveFile(const std::string& relative);
    // Window, strings and GameInit, as WinMain does them.
    void StartGame();
    // Takes the window's messages, then runs one drawn frame (nothing once the window is gone).
    void Frame();
    // Runs frames until the scene manager has entered the state; false after maxFrames.
    bool RunUntil(SceneState state, int maxFrames);
    // Runs frames until the window is gone; false after maxFrames.
    bool RunUntilClosed(int maxFrames);
    // A key pressed for one frame and released on the next.
    void Tap(int virtualKey);
    void KeyDown(int virtualKey);
    void KeyUp(int virtualKey);

    // The sprites of the last frame, in drawing order, and those from one slot.
    std::vector<DrawnSprite> Sprites() const;
    std::vector<DrawnSprite> SpritesFrom(int slot) const;
    // How many quads the last frame drew, without looking at the texture slots (safe while the
    // loader thread still fills them).
    int QuadsDrawn() const;
    int CurrentState() const;

    // Set before SetUp: draw with OpenGL on a private X display instead of recording.
    bool realDevice = false;

    std::filesystem::path folder;
    std::vector<std::string> boxes;
    // The states entered, in order, as frames ran.
    std::vector<int> statesEntered;
    bool closed = false;

private:
    std::filesystem::path previousFolder;
};
