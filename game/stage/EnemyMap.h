#pragma once
#include <cstdint>
#include <vector>

#include "engine/Task.h"

// The stage's script: reads its level's map file once, then releases one row of twelve cells
// every 32 px of the notional scroll (a little more than a second), creating the enemies, the
// warning banner and the boss and requesting music as the cells say.
class EnemyMap : public Task {
public:
    EnemyMap();
    void Exec() override;
    static EnemyMap* Create(int priority);

    void Load();
    // Replaces the queue with the bytes of "emap/emap<stage>_<level>.bin" in the current
    // folder; on any failure reports message 125 and leaves the queue empty.
    bool ReadFile(int stage, int level);
    void Scroll();
    // Codes 1..5 (enemy kinds), 0x40 (warning banner) and 0x70 (boss); nothing for others.
    void SpawnCell(std::uint8_t code, std::uint8_t param, float x);
    void RequestMusic(int param);

    // The factories the cells call. A kind that is not in the game yet has none; tests put
    // their own in to see what the map asks for.
    using KindFactory = Task* (*)(int priority, int param, float x, float y);
    using BossFactory = Task* (*)(int priority, int param);
    static KindFactory kindFactories[5];  // codes 1..5
    static BossFactory bossFactory;

    static constexpr int kCellsPerRow = 12;
    static constexpr float kRowPixels = 32.0f;
    static constexpr float kEntryY = -48.0f;

    float scrollSpeed = 32.0f;
    float scrollAccum = 0.0f;
    int phase = 0;  // 0 load, 1 scroll
    std::vector<std::uint8_t> queue;

private:
    using Handler = void (EnemyMap::*)();
    static const Handler kHandlers[2];
};
