#pragma once
#include <string>

#include "engine/Task.h"
#include "game/screens/ScreenKeys.h"

// A replay chooser that no scene opens: a two-entry prompt, then the names of the eight replay
// files "replay/rep00.rep" .. "rep07.rep" under the current folder. Nothing records replays and
// nothing plays them.
class ReplayList : public Task {
public:
    static constexpr int kSlots = 8;
    static constexpr int kNameBytes = 64;

    ReplayList();
    void Exec() override;

    int GetPhase() const { return phase; }
    int GetCursor() const { return cursor; }
    const char* GetName(int slot) const { return names[slot]; }

private:
    // "<current folder>/replay/repNN.rep", or empty when the folder's name does not fit.
    static std::string FileName(int slot);

    using Handler = void (ReplayList::*)();
    static const Handler kHandlers[4];

    void Prompt();
    void Load();
    void List();
    void Idle();
    void Choose();
    void DrawCursor() const;

    ScreenKeys keys;
    int cursor = 0;
    int phase = 0;
    char names[kSlots][kNameBytes] = {};
};
