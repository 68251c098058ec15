#pragma once
#include <cstdint>
#include <functional>

#include "game/screens/ScreenKeys.h"

// The cursor of a menu and the slide that pushes the highlighted entry to the right after a move.
struct MenuCursor {
    // What the keys of a frame did.
    enum class Action { None, Chosen, Cancelled };
    // An entry's place on the screen and the top of its 160x48 cell in the texture.
    struct Entry {
        int x, y, srcY;
    };

    int cursor = 0;
    float slideOffset = -1.0f;
    float slideVelocity = -200.0f;  // -slideAccel / 2: at rest from the first frame
    float slideAccel = 400.0f;
    std::uint8_t chosen = 0;

    // Moves with wrap-around over the given number of entries and starts the slide.
    void Move(int delta, int entries);
    // Advances the slide by one frame.
    void Slide();
    // Z chooses the entry (the select sound and a small burst at the cursor; burstY is the
    // first entry's), up and down move with the cursor sound; X only reports the cancel.
    Action HandleKeys(const ScreenKeys& keys, int entries, float burstY);
    // The entries from the texture slot: the highlighted one pushed right by the slide (then
    // highlighted(offset) draws what goes with it), the others half transparent.
    void DrawEntries(const Entry* entries, int count, int slot,
                     const std::function<void(int offset)>& highlighted = {}) const;
};
